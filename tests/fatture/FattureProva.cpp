#include "FattureProva.h"

#include <openssl/bio.h>
#include <openssl/cms.h>
#include <openssl/evp.h>
#include <openssl/x509.h>
#include <zip.h>

#include <fstream>
#include <memory>
#include <stdexcept>

#include "common/Cp1252.h"

namespace fcl::test {
namespace {

std::string Soggetto(const SoggettoProva& s, const std::string& tag) {
  std::string x = "<" + tag + "><DatiAnagrafici>";
  if (!s.codice.empty())
    x += "<IdFiscaleIVA><IdPaese>" + s.paese + "</IdPaese><IdCodice>" + s.codice +
         "</IdCodice></IdFiscaleIVA>";
  if (!s.cf.empty()) x += "<CodiceFiscale>" + s.cf + "</CodiceFiscale>";
  x += "<Anagrafica>";
  if (!s.denominazione.empty())
    x += "<Denominazione>" + s.denominazione + "</Denominazione>";
  else
    x += "<Nome>" + s.nome + "</Nome><Cognome>" + s.cognome + "</Cognome>";
  x += "</Anagrafica>";
  if (tag == "CedentePrestatore") x += "<RegimeFiscale>RF01</RegimeFiscale>";
  x += "</DatiAnagrafici><Sede><Indirizzo>" + s.indirizzo +
       "</Indirizzo><NumeroCivico>1</NumeroCivico><CAP>20100</CAP><Comune>" + s.comune +
       "</Comune><Nazione>" + s.nazione + "</Nazione></Sede></" + tag + ">";
  return x;
}

struct Chiavi {
  EVP_PKEY* chiave = nullptr;
  X509* certificato = nullptr;
};

const Chiavi& Certificato() {
  static const Chiavi kChiavi = [] {
    Chiavi c;
    c.chiave = EVP_RSA_gen(2048);
    c.certificato = X509_new();
    X509_set_version(c.certificato, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(c.certificato), 1);
    X509_gmtime_adj(X509_getm_notBefore(c.certificato), 0);
    X509_gmtime_adj(X509_getm_notAfter(c.certificato), 3600L * 24 * 365);
    X509_set_pubkey(c.certificato, c.chiave);
    X509_NAME* nome = X509_get_subject_name(c.certificato);
    X509_NAME_add_entry_by_txt(nome, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("Firma di prova"), -1, -1, 0);
    X509_set_issuer_name(c.certificato, nome);
    X509_sign(c.certificato, c.chiave, EVP_sha256());
    return c;
  }();
  return kChiavi;
}

}  // namespace

SoggettoProva Operatore() {
  SoggettoProva s;
  s.codice = kOperatore;
  s.cf = kOperatore;
  s.denominazione = "ALFA BETA COSTRUZIONI S.R.L.";
  return s;
}

SoggettoProva Azienda(int n) {
  static const char* kPartite[] = {"00743110157", "86334519757", "02342520158", "01234567897"};
  SoggettoProva s;
  s.codice = kPartite[n % 4];
  s.denominazione = "AZIENDA " + std::to_string(n);
  return s;
}

std::string Xml(const FatturaProva& f) {
  const std::string p = f.prefisso.empty() ? "" : f.prefisso + ":";
  std::string x = "<?xml version=\"1.0\" encoding=\"" + f.codifica + "\"?>\n";
  x += "<" + p + "FatturaElettronica versione=\"FPR12\" xmlns" +
       (f.prefisso.empty() ? "" : ":" + f.prefisso) +
       "=\"http://ivaservizi.agenziaentrate.gov.it/docs/xsd/fatture/v1.2\">";
  x += "<FatturaElettronicaHeader><DatiTrasmissione><IdTrasmittente><IdPaese>IT</IdPaese>"
       "<IdCodice>01234567890</IdCodice></IdTrasmittente><ProgressivoInvio>00001"
       "</ProgressivoInvio><FormatoTrasmissione>FPR12</FormatoTrasmissione>"
       "<CodiceDestinatario>0000000</CodiceDestinatario></DatiTrasmissione>";
  x += Soggetto(f.cedente, "CedentePrestatore") +
       Soggetto(f.cessionario, "CessionarioCommittente") + "</FatturaElettronicaHeader>";
  for (const CorpoProva& c : f.corpi) {
    x += "<FatturaElettronicaBody><DatiGenerali><DatiGeneraliDocumento><TipoDocumento>" + c.tipo +
         "</TipoDocumento><Divisa>" + c.divisa + "</Divisa><Data>" + c.data + "</Data><Numero>" +
         c.numero + "</Numero></DatiGeneraliDocumento></DatiGenerali>";
    x += "<DatiBeniServizi><DettaglioLinee><NumeroLinea>1</NumeroLinea><Descrizione>Opera "
         "è finita</Descrizione><PrezzoUnitario>1.00</PrezzoUnitario><PrezzoTotale>1.00"
         "</PrezzoTotale><AliquotaIVA>22.00</AliquotaIVA></DettaglioLinee>";
    for (const RiepilogoProva& r : c.riepiloghi) {
      x += "<DatiRiepilogo><AliquotaIVA>" + std::string(r.natura.empty() ? "22.00" : "0.00") +
           "</AliquotaIVA>";
      if (!r.natura.empty()) x += "<Natura>" + r.natura + "</Natura>";
      x += "<ImponibileImporto>" + r.imponibile + "</ImponibileImporto><Imposta>" + r.imposta +
           "</Imposta></DatiRiepilogo>";
    }
    x += "</DatiBeniServizi>";
    if (c.allegato > 0) {
      x += "<Allegati><NomeAttachment>a.pdf</NomeAttachment><Attachment>";
      std::string b64;
      for (std::size_t i = 0; i < c.allegato; ++i) {
        b64 += "QUJDRA=="[i % 4];
        if (i % 76 == 75) b64 += '\n';
      }
      x += b64 + "</Attachment></Allegati>";
    }
    x += "</FatturaElettronicaBody>";
  }
  x += "</" + p + "FatturaElettronica>\n";
  std::string uscita;
  if (f.codifica == "windows-1252" || f.codifica == "ISO-8859-1")
    uscita = Utf8ToCp1252(x);
  else
    uscita = x;
  return (f.bom ? "\xEF\xBB\xBF" : "") + uscita;
}

std::string Firma(const std::string& contenuto, FormaP7m forma) {
  const Chiavi& c = Certificato();
  BIO* in = BIO_new_mem_buf(contenuto.data(), static_cast<int>(contenuto.size()));
  CMS_ContentInfo* cms = CMS_sign(c.certificato, c.chiave, nullptr, in, CMS_BINARY);
  BIO_free(in);
  if (cms == nullptr) throw std::runtime_error("CMS_sign");
  BIO* out = BIO_new(BIO_s_mem());
  i2d_CMS_bio(out, cms);
  CMS_ContentInfo_free(cms);
  char* dati = nullptr;
  const long n = BIO_get_mem_data(out, &dati);
  std::string der(dati, static_cast<std::size_t>(n));
  BIO_free(out);
  if (forma == FormaP7m::Der) return der;
  std::string b64(4 * ((der.size() + 2) / 3) + 1, '\0');
  b64.resize(static_cast<std::size_t>(EVP_EncodeBlock(
      reinterpret_cast<unsigned char*>(b64.data()),
      reinterpret_cast<const unsigned char*>(der.data()), static_cast<int>(der.size()))));
  if (forma == FormaP7m::Base64Unica) return b64;
  std::string righe;
  for (std::size_t i = 0; i < b64.size(); i += 64) righe += b64.substr(i, 64) + "\r\n";
  return righe;
}

std::string Zip(const std::vector<std::pair<std::string, std::string>>& voci, bool memorizzate) {
  zip_error_t errore;
  zip_error_init(&errore);
  zip_source_t* memoria = zip_source_buffer_create(nullptr, 0, 0, &errore);
  zip_source_keep(memoria);
  zip_t* z = zip_open_from_source(memoria, ZIP_TRUNCATE, &errore);
  // The entries' bytes are read by zip_close: they stay in `voci` until then, and libzip never
  // owns them (an empty entry's buffer would otherwise not be freed).
  for (const auto& [nome, byte] : voci) {
    zip_source_t* s = zip_source_buffer(z, byte.data(), byte.size(), 0);
    const zip_int64_t i = zip_file_add(z, nome.c_str(), s, ZIP_FL_ENC_UTF_8);
    if (memorizzate) zip_set_file_compression(z, static_cast<zip_uint64_t>(i), ZIP_CM_STORE, 0);
  }
  zip_close(z);
  zip_source_open(memoria);
  zip_source_seek(memoria, 0, SEEK_END);
  const zip_int64_t n = zip_source_tell(memoria);
  zip_source_seek(memoria, 0, SEEK_SET);
  std::string dati(static_cast<std::size_t>(n), '\0');
  zip_source_read(memoria, dati.data(), static_cast<zip_uint64_t>(n));
  zip_source_close(memoria);
  zip_source_free(memoria);
  return dati;
}

void Scrivi(const std::filesystem::path& file, const std::string& byte) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << byte;
}

}  // namespace fcl::test
