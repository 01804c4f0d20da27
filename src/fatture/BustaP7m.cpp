#include "fatture/BustaP7m.h"

#include <openssl/bio.h>
#include <openssl/cms.h>
#include <openssl/err.h>
#include <openssl/evp.h>

#include <memory>

#include "fatture/ErroreFattura.h"

namespace fcl {
namespace {

constexpr int kLivelliMassimi = 4;

struct LiberaBio {
  void operator()(BIO* b) const { BIO_free(b); }
};
struct LiberaCms {
  void operator()(CMS_ContentInfo* c) const { CMS_ContentInfo_free(c); }
};
using Bio = std::unique_ptr<BIO, LiberaBio>;
using Cms = std::unique_ptr<CMS_ContentInfo, LiberaCms>;

bool Base64(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' ||
         c == '/' || c == '=';
}

bool Spazio(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The base64 text decoded, line breaks and blanks ignored, PEM armour lines ("-----BEGIN ...")
// left out; nullopt-like empty result when a character is not base64.
bool DecodificaBase64(std::string_view testo, std::string& der) {
  std::string pulito;
  pulito.reserve(testo.size());
  std::size_t i = 0;
  while (i < testo.size()) {
    if (testo[i] == '-') {  // an armour line
      const auto fine = testo.find('\n', i);
      i = fine == std::string_view::npos ? testo.size() : fine + 1;
      continue;
    }
    const char c = testo[i++];
    if (Spazio(c)) continue;
    if (!Base64(c)) return false;
    pulito += c;
  }
  if (pulito.empty() || pulito.size() % 4 != 0) return false;
  der.assign(pulito.size() / 4 * 3, '\0');
  const int n = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(der.data()),
                                reinterpret_cast<const unsigned char*>(pulito.data()),
                                static_cast<int>(pulito.size()));
  if (n < 0) return false;
  std::size_t lunghezza = static_cast<std::size_t>(n);
  // EVP_DecodeBlock counts the padding as bytes of zeros.
  if (pulito.ends_with("=="))
    lunghezza -= 2;
  else if (pulito.ends_with("="))
    lunghezza -= 1;
  der.resize(lunghezza);
  return true;
}

std::string UnLivello(std::string_view busta) {
  std::string der;
  std::string_view byte = busta;
  if (byte.empty() || static_cast<unsigned char>(byte[0]) != 0x30) {
    if (!DecodificaBase64(busta, der))
      throw ErroreFattura("il file .p7m non è una busta firmata (né DER né base64)");
    byte = der;
  }
  Bio in(BIO_new_mem_buf(byte.data(), static_cast<int>(byte.size())));
  if (!in) throw std::bad_alloc();
  Cms cms(d2i_CMS_bio(in.get(), nullptr));
  ERR_clear_error();
  if (!cms) throw ErroreFattura("il file .p7m è danneggiato: la busta firmata non è leggibile");
  if (OBJ_obj2nid(CMS_get0_type(cms.get())) != NID_pkcs7_signed)
    throw ErroreFattura("il file .p7m non contiene dati firmati");
  if (CMS_is_detached(cms.get()))
    throw ErroreFattura("il file .p7m non contiene la fattura (firma separata dal documento)");
  Bio out(BIO_new(BIO_s_mem()));
  if (!out) throw std::bad_alloc();
  const int ok = CMS_verify(cms.get(), nullptr, nullptr, nullptr, out.get(),
                            CMS_NO_SIGNER_CERT_VERIFY | CMS_BINARY);
  ERR_clear_error();
  if (ok != 1)
    throw ErroreFattura(
        "la firma del file .p7m non corrisponde al contenuto: file alterato o danneggiato");
  char* dati = nullptr;
  const long n = BIO_get_mem_data(out.get(), &dati);
  return std::string(dati, static_cast<std::size_t>(n));
}

}  // namespace

bool SembraP7m(std::string_view inizio) {
  if (inizio.empty()) return false;
  if (static_cast<unsigned char>(inizio[0]) == 0x30) return true;
  std::size_t i = 0;
  while (i < inizio.size() && Spazio(inizio[i])) ++i;
  // base64 of a DER SEQUENCE begins with "MI" (long form length) or "MC"/"MD"..., or armour.
  return inizio.substr(i).starts_with("MI") || inizio.substr(i).starts_with("-----BEGIN");
}

std::string ContenutoP7m(std::string_view busta) {
  std::string contenuto = UnLivello(busta);
  for (int livello = 1; livello < kLivelliMassimi && SembraP7m(contenuto); ++livello)
    contenuto = UnLivello(contenuto);
  return contenuto;
}

}  // namespace fcl
