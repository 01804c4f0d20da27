// Fuzz target of the Flate decoder of the template reader: any input must give a result or
// nullopt, within the limit, and agree with zlib on what zlib can decode.

#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "SupportoFuzz.h"
#include "pdf/Inflate.h"

namespace {

// zlib's raw inflate of everything after the two header bytes, up to `limite` bytes of output.
// nullopt when zlib does not reach the end of the final block.
std::optional<std::string> Zlib(std::string_view dati, std::size_t limite) {
  if (dati.size() < 2) return std::nullopt;
  z_stream z{};
  if (inflateInit2(&z, -15) != Z_OK) std::abort();
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(dati.data() + 2));
  z.avail_in = static_cast<uInt>(dati.size() - 2);
  std::string uscita;
  char blocco[16384];
  int esito = Z_OK;
  while (esito == Z_OK) {
    z.next_out = reinterpret_cast<Bytef*>(blocco);
    z.avail_out = sizeof blocco;
    esito = inflate(&z, Z_NO_FLUSH);
    uscita.append(blocco, sizeof blocco - z.avail_out);
    if (uscita.size() > limite) break;
    if (esito == Z_BUF_ERROR && z.avail_in == 0) break;
    if (esito == Z_BUF_ERROR && z.avail_out != 0) break;
    if (esito == Z_BUF_ERROR) esito = Z_OK;
  }
  inflateEnd(&z);
  if (esito != Z_STREAM_END || uscita.size() > limite) return std::nullopt;
  return uscita;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
  const std::string_view ingresso = fcl::fuzz::Vista(dati, dimensione);
  constexpr std::size_t kLimite = 1u << 20;
  const auto nostro = fcl::InflateFlate(ingresso, kLimite);
  if (nostro && nostro->size() > kLimite) std::abort();
  const auto riferimento = Zlib(ingresso, kLimite);
  // Valid DEFLATE both decoders finish must decode to the same bytes.
  if (nostro && riferimento && *nostro != *riferimento) std::abort();
  if (riferimento && !nostro) std::abort();
  return 0;
}
