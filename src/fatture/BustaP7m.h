#pragma once

#include <string>
#include <string_view>

namespace fcl {

// The content of a signed electronic invoice (.p7m: CMS signed data, CAdES), taken out with
// OpenSSL's CMS functions. The envelope may be DER or base64 (with or without line breaks, with or
// without PEM armour lines). The signature is verified against the content: the digest of the
// content must be the one signed and the signature must match the signer's certificate carried in
// the envelope, so that a tampered or damaged file is refused. The signer's certificate chain is
// not checked (no trusted list is at hand). An envelope inside an envelope (a file signed twice)
// is opened in turn, up to a few levels.
//
// Throws ErroreFattura saying what is wrong: not a signed envelope, no content inside, the
// signature does not match the content.
std::string ContenutoP7m(std::string_view busta);

// Whether the bytes look like a signed envelope: DER (a SEQUENCE) or base64 of one.
bool SembraP7m(std::string_view inizio);

}  // namespace fcl
