// Writes a set of electronic invoices for the benchmark of the invoice source:
//   genera-fatture DIR N
// DIR/cartella/ holds N invoices of the operator 02468130162 (issued and received, one credit note
// in seven, a fifth signed as .xml.p7m with a throwaway certificate, one in two hundred with an
// attachment of 256 KB), DIR/fatture.zip the same files in one archive, DIR/piano/ every invoice as
// plain XML (what the Python peer parses: it has no CMS of its own).
#include <openssl/bio.h>
#include <openssl/cms.h>
#include <openssl/evp.h>
#include <openssl/x509.h>
#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

EVP_PKEY* chiave = nullptr;
X509* certificato = nullptr;

void Certificato() {
  chiave = EVP_RSA_gen(2048);
  certificato = X509_new();
  X509_set_version(certificato, 2);
  ASN1_INTEGER_set(X509_get_serialNumber(certificato), 1);
  X509_gmtime_adj(X509_getm_notBefore(certificato), 0);
  X509_gmtime_adj(X509_getm_notAfter(certificato), 3600L * 24 * 365);
  X509_set_pubkey(certificato, chiave);
  X509_NAME* nome = X509_get_subject_name(certificato);
  X509_NAME_add_entry_by_txt(nome, "CN", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>("Banco di prova"), -1, -1, 0);
  X509_set_issuer_name(certificato, nome);
  X509_sign(certificato, chiave, EVP_sha256());
}

std::string Firma(const std::string& xml) {
  BIO* in = BIO_new_mem_buf(xml.data(), static_cast<int>(xml.size()));
  CMS_ContentInfo* cms = CMS_sign(certificato, chiave, nullptr, in, CMS_BINARY);
  BIO_free(in);
  BIO* out = BIO_new(BIO_s_mem());
  i2d_CMS_bio(out, cms);
  CMS_ContentInfo_free(cms);
  char* dati = nullptr;
  const long n = BIO_get_mem_data(out, &dati);
  std::string der(dati, static_cast<std::size_t>(n));
  BIO_free(out);
  return der;
}

std::string Partita(int n) {
  // 7 digits, office 001, Luhn check digit.
  char b[16];
  std::snprintf(b, sizeof b, "%07d001", n % 10000000);
  int s = 0;
  for (int i = 0; i < 10; ++i) {
    int d = b[i] - '0';
    if (i % 2 == 1) {
      d *= 2;
      if (d > 9) d -= 9;
    }
    s += d;
  }
  return std::string(b) + static_cast<char>('0' + (10 - s % 10) % 10);
}

std::string Soggetto(const std::string& tag, const std::string& pi, const std::string& nome) {
  return "<" + tag + "><DatiAnagrafici><IdFiscaleIVA><IdPaese>IT</IdPaese><IdCodice>" + pi +
         "</IdCodice></IdFiscaleIVA><Anagrafica><Denominazione>" + nome +
         "</Denominazione></Anagrafica>" +
         (tag == "CedentePrestatore" ? "<RegimeFiscale>RF01</RegimeFiscale>" : "") +
         "</DatiAnagrafici><Sede><Indirizzo>VIA ROMA</Indirizzo><NumeroCivico>1</NumeroCivico>"
         "<CAP>20100</CAP><Comune>MILANO</Comune><Provincia>MI</Provincia><Nazione>IT</Nazione>"
         "</Sede></" +
         tag + ">";
}

std::string Fattura(int i) {
  const std::string op = "02468130162";
  const std::string altra = Partita(1000 + i % 5000);
  const bool emessa = i % 2 == 0;
  const std::string tipo = i % 7 == 3 ? "TD04" : "TD01";
  char data[16];
  std::snprintf(data, sizeof data, "2025-%02d-%02d", 1 + i % 12, 1 + i % 28);
  const long long centesimi = 10000 + (i * 7919LL) % 5000000;
  char imponibile[32], imposta[32];
  std::snprintf(imponibile, sizeof imponibile, "%lld.%02lld", centesimi / 100, centesimi % 100);
  std::snprintf(imposta, sizeof imposta, "%lld.%02lld", centesimi * 22 / 10000,
                centesimi * 22 / 100 % 100);
  std::string x =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<p:FatturaElettronica versione=\"FPR12\" "
      "xmlns:ds=\"http://www.w3.org/2000/09/xmldsig#\" "
      "xmlns:p=\"http://ivaservizi.agenziaentrate.gov.it/docs/xsd/fatture/v1.2\">"
      "<FatturaElettronicaHeader><DatiTrasmissione><IdTrasmittente><IdPaese>IT</IdPaese>"
      "<IdCodice>01234567890</IdCodice></IdTrasmittente><ProgressivoInvio>" +
      std::to_string(i) +
      "</ProgressivoInvio><FormatoTrasmissione>FPR12</FormatoTrasmissione>"
      "<CodiceDestinatario>0000000</CodiceDestinatario></DatiTrasmissione>" +
      Soggetto("CedentePrestatore", emessa ? op : altra,
               emessa ? "ALFA BETA COSTRUZIONI S.R.L." : "FORNITORE " + std::to_string(i)) +
      Soggetto("CessionarioCommittente", emessa ? altra : op,
               emessa ? "CLIENTE " + std::to_string(i) : "ALFA BETA COSTRUZIONI S.R.L.") +
      "</FatturaElettronicaHeader><FatturaElettronicaBody><DatiGenerali>"
      "<DatiGeneraliDocumento><TipoDocumento>" +
      tipo + "</TipoDocumento><Divisa>EUR</Divisa><Data>" + data + "</Data><Numero>" +
      std::to_string(i) +
      "/2025</Numero><ImportoTotaleDocumento>0.00</ImportoTotaleDocumento>"
      "</DatiGeneraliDocumento></DatiGenerali><DatiBeniServizi>";
  for (int l = 1; l <= 3; ++l)
    x += "<DettaglioLinee><NumeroLinea>" + std::to_string(l) +
         "</NumeroLinea><Descrizione>Fornitura di materiale edile, lotto " + std::to_string(l) +
         "</Descrizione><Quantita>1.00</Quantita><PrezzoUnitario>1.00</PrezzoUnitario>"
         "<PrezzoTotale>1.00</PrezzoTotale><AliquotaIVA>22.00</AliquotaIVA></DettaglioLinee>";
  x += std::string("<DatiRiepilogo><AliquotaIVA>22.00</AliquotaIVA><ImponibileImporto>") +
       imponibile + "</ImponibileImporto><Imposta>" + imposta +
       "</Imposta><EsigibilitaIVA>I</EsigibilitaIVA></DatiRiepilogo></DatiBeniServizi>"
       "<DatiPagamento><CondizioniPagamento>TP02</CondizioniPagamento><DettaglioPagamento>"
       "<ModalitaPagamento>MP05</ModalitaPagamento><ImportoPagamento>1.00</ImportoPagamento>"
       "</DettaglioPagamento></DatiPagamento>";
  if (i % 200 == 7) {
    x += "<Allegati><NomeAttachment>fattura.pdf</NomeAttachment><FormatoAttachment>PDF"
         "</FormatoAttachment><Attachment>";
    std::string b64;
    b64.reserve(262144 + 4096);
    unsigned s = static_cast<unsigned>(i);
    static const char kB64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (int k = 0; k < 262144; ++k) {
      s = s * 1103515245u + 12345u;
      b64 += kB64[(s >> 16) & 63];
      if (k % 76 == 75) b64 += '\n';
    }
    x += b64 + "</Attachment></Allegati>";
  }
  return x + "</FatturaElettronicaBody></p:FatturaElettronica>\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "Uso: genera-fatture DIR N\n");
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  const int n = std::atoi(argv[2]);
  std::filesystem::create_directories(dir / "cartella");
  std::filesystem::create_directories(dir / "piano");
  Certificato();
  int errore = 0;
  zip_t* z = zip_open((dir / "fatture.zip").c_str(), ZIP_CREATE | ZIP_TRUNCATE, &errore);
  if (z == nullptr) return 1;
  for (int i = 0; i < n; ++i) {
    const std::string xml = Fattura(i);
    const bool firmata = i % 5 == 1;
    char nome[64];
    std::snprintf(nome, sizeof nome, "IT02468130162_%06d.xml%s", i, firmata ? ".p7m" : "");
    const std::string byte = firmata ? Firma(xml) : xml;
    std::ofstream(dir / "cartella" / nome, std::ios::binary) << byte;
    char piano[64];
    std::snprintf(piano, sizeof piano, "IT02468130162_%06d.xml", i);
    std::ofstream(dir / "piano" / piano, std::ios::binary) << xml;
    // The archive is written when it is closed: its entries wait in memory (a few hundred MB).
    auto* copia = static_cast<char*>(std::malloc(byte.size()));
    std::copy(byte.begin(), byte.end(), copia);
    zip_source_t* s = zip_source_buffer(z, copia, byte.size(), 1);
    zip_file_add(z, (std::string("2025/") + nome).c_str(), s, ZIP_FL_ENC_UTF_8);
  }
  if (zip_close(z) != 0) return 1;
  return 0;
}
