#include "fatture/LettoreFatturaXml.h"

#include <expat.h>

#include <array>
#include <cstring>
#include <string>
#include <unordered_map>

#include "fatture/ErroreFattura.h"

namespace fcl {
namespace {

// The largest file read (an invoice with its attachments; the exchange system takes files of a
// few MB): anything beyond is refused without being read on.
constexpr std::uint64_t kLimiteFile = 256ull << 20;
// The longest value kept of a field; a longer one is cut (no field of an invoice is near it).
constexpr std::size_t kLimiteValore = 1024;
constexpr std::size_t kBlocco = 1 << 16;

enum Campo {
  kCedente = 0,       // + offset of the party's field
  kCessionario = 16,  // + offset of the party's field
  kTipo = 32,
  kDivisa,
  kData,
  kNumero,
  kImponibile,
  kImposta,
  kNatura,
};
enum CampoSoggetto {
  kIdPaese,
  kIdCodice,
  kCodiceFiscale,
  kDenominazione,
  kNome,
  kCognome,
  kIndirizzo,
  kNumeroCivico,
  kComune,
  kNazione,
};

const std::unordered_map<std::string, int>& Campi() {
  static const std::unordered_map<std::string, int> kCampi = [] {
    std::unordered_map<std::string, int> m;
    const std::pair<const char*, int> soggetto[] = {
        {"/DatiAnagrafici/IdFiscaleIVA/IdPaese", kIdPaese},
        {"/DatiAnagrafici/IdFiscaleIVA/IdCodice", kIdCodice},
        {"/DatiAnagrafici/CodiceFiscale", kCodiceFiscale},
        {"/DatiAnagrafici/Anagrafica/Denominazione", kDenominazione},
        {"/DatiAnagrafici/Anagrafica/Nome", kNome},
        {"/DatiAnagrafici/Anagrafica/Cognome", kCognome},
        {"/Sede/Indirizzo", kIndirizzo},
        {"/Sede/NumeroCivico", kNumeroCivico},
        {"/Sede/Comune", kComune},
        {"/Sede/Nazione", kNazione},
    };
    for (const auto& [p, c] : soggetto) {
      m[std::string("FatturaElettronicaHeader/CedentePrestatore") + p] = kCedente + c;
      m[std::string("FatturaElettronicaHeader/CessionarioCommittente") + p] = kCessionario + c;
    }
    const std::string doc = "FatturaElettronicaBody/DatiGenerali/DatiGeneraliDocumento/";
    m[doc + "TipoDocumento"] = kTipo;
    m[doc + "Divisa"] = kDivisa;
    m[doc + "Data"] = kData;
    m[doc + "Numero"] = kNumero;
    const std::string riepilogo = "FatturaElettronicaBody/DatiBeniServizi/DatiRiepilogo/";
    m[riepilogo + "ImponibileImporto"] = kImponibile;
    m[riepilogo + "Imposta"] = kImposta;
    m[riepilogo + "Natura"] = kNatura;
    return m;
  }();
  return kCampi;
}

constexpr std::string_view kCorpo = "FatturaElettronicaBody";
constexpr std::string_view kRiepilogo = "FatturaElettronicaBody/DatiBeniServizi/DatiRiepilogo";
constexpr std::string_view kAllegato = "FatturaElettronicaBody/Allegati/Attachment";

std::string_view Locale(const char* nome) {
  std::string_view n(nome);
  const auto dp = n.rfind(':');
  return dp == std::string_view::npos ? n : n.substr(dp + 1);
}

std::string Rifilato(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return std::string(s);
}

// A decimal amount ("1234.56", "-7", "0.125") in cents, rounded half away from zero past the
// second decimal; false when the text is no decimal number.
bool Centesimi(std::string_view t, long long& centesimi) {
  bool negativo = false;
  if (!t.empty() && (t[0] == '-' || t[0] == '+')) {
    negativo = t[0] == '-';
    t.remove_prefix(1);
  }
  if (t.empty()) return false;
  long long intero = 0;
  std::size_t i = 0;
  int cifre = 0;
  for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i, ++cifre) {
    if (cifre >= 15) return false;
    intero = intero * 10 + (t[i] - '0');
  }
  long long decimali = 0;
  int nDecimali = 0;
  bool arrotonda = false;
  if (i < t.size() && t[i] == '.') {
    ++i;
    const std::size_t inizio = i;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
      if (nDecimali < 2) {
        decimali = decimali * 10 + (t[i] - '0');
        ++nDecimali;
      } else if (nDecimali == 2) {
        arrotonda = t[i] >= '5';
        ++nDecimali;
      }
    }
    if (i == inizio) return false;
  }
  if (i != t.size() || (cifre == 0 && nDecimali == 0)) return false;
  while (nDecimali < 2) {
    decimali *= 10;
    ++nDecimali;
  }
  centesimi = intero * 100 + decimali + (arrotonda ? 1 : 0);
  if (negativo) centesimi = -centesimi;
  return true;
}

// Windows-1252 bytes 0x80-0x9F; -1 where the code page leaves a byte undefined.
constexpr std::array<int, 32> kCp1252Alto = {
    0x20AC, -1,     0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, -1,     0x017D, -1,     -1,     0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, -1,     0x017E, 0x0178};

bool NomeCodifica(std::string_view nome, std::string_view atteso) {
  if (nome.size() != atteso.size()) return false;
  for (std::size_t i = 0; i < nome.size(); ++i) {
    char c = nome[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != atteso[i]) return false;
  }
  return true;
}

}  // namespace

LettoreFatturaXml::LettoreFatturaXml() : parser_(XML_ParserCreate(nullptr)) {
  if (parser_ == nullptr) throw std::bad_alloc();
}

LettoreFatturaXml::~LettoreFatturaXml() { XML_ParserFree(parser_); }

void LettoreFatturaXml::Prepara() {
  XML_ParserReset(parser_, nullptr);
  XML_SetUserData(parser_, this);
  XML_SetElementHandler(parser_, &InizioC, &FineC);
  XML_SetCharacterDataHandler(parser_, &CaratteriC);
  XML_SetStartDoctypeDeclHandler(parser_, &DoctypeC);
  XML_SetUnknownEncodingHandler(
      parser_, [](void* d, const XML_Char* n, XML_Encoding* i) { return CodificaC(d, n, i); },
      this);
  XML_SetParamEntityParsing(parser_, XML_PARAM_ENTITY_PARSING_NEVER);
#ifdef FCL_EXPAT_RIANALISI_DIFFERITA
  // Attachments are skipped at the exact end of their start tag: Expat must report a tag as soon
  // as it has its ">".
  XML_SetReparseDeferralEnabled(parser_, XML_FALSE);
#endif
  risultato_ = {};
  percorso_.clear();
  lunghezze_.clear();
  campo_ = -1;
  valore_.clear();
  corrente_ = {};
  cedente_ = {};
  cessionario_ = {};
  radiceVista_ = false;
  fermato_ = false;
  motivoArresto_.clear();
  codificaIgnota_.clear();
  dati_ = 0;
  fineAllegato_ = 0;
  allegatoAperto_ = false;
  salta_ = false;
  byteLetti_ = 0;
}

LettoreFatturaXml::Risultato LettoreFatturaXml::Leggi(const Fonte& fonte) {
  Prepara();
  // One block for every file this reader reads: no allocation nor clearing per file.
  if (blocco_.size() < kBlocco) blocco_.resize(kBlocco);
  for (;;) {
    const std::size_t n = fonte(blocco_.data(), kBlocco);
    byteLetti_ += n;
    if (byteLetti_ > kLimiteFile)
      throw ErroreFattura("il file supera " + std::to_string(kLimiteFile >> 20) +
                          " MB e non viene letto");
    if (!Dai(std::string_view(blocco_.data(), n), n == 0)) break;
    if (n == 0) break;
  }
  return std::move(risultato_);
}

LettoreFatturaXml::Risultato LettoreFatturaXml::Leggi(std::string_view byte) {
  Prepara();
  if (byte.size() > kLimiteFile)
    throw ErroreFattura("il file supera " + std::to_string(kLimiteFile >> 20) +
                        " MB e non viene letto");
  if (Dai(byte, false)) Dai({}, true);
  return std::move(risultato_);
}

bool LettoreFatturaXml::Dai(std::string_view blocco, bool ultimo) {
  std::size_t pos = 0;
  while (pos < blocco.size()) {
    if (salta_) {
      // The text of an attachment: nothing up to the next "<" is given to Expat.
      const void* lt = std::memchr(blocco.data() + pos, '<', blocco.size() - pos);
      if (lt == nullptr) return true;
      pos = static_cast<std::size_t>(static_cast<const char*>(lt) - blocco.data());
      salta_ = false;
    }
    // Up to the end of the next possible start tag of an attachment, so that Expat's report of
    // the element comes exactly there.
    static constexpr std::string_view kSegno = "Attachment>";
    const std::string_view resto = blocco.substr(pos);
    const auto trovato = resto.find(kSegno);
    const std::size_t fine =
        trovato == std::string_view::npos ? blocco.size() : pos + trovato + kSegno.size();
    allegatoAperto_ = false;
    if (!Analizza(blocco.data() + pos, fine - pos, false)) return false;
    pos = fine;
    if (allegatoAperto_ && fineAllegato_ == dati_) salta_ = true;
  }
  if (ultimo) return Analizza(blocco.data() + blocco.size(), 0, true);
  return true;
}

bool LettoreFatturaXml::Analizza(const char* dati, std::size_t n, bool ultimo) {
  const XML_Status stato =
      XML_Parse(parser_, dati, static_cast<int>(n), ultimo ? XML_TRUE : XML_FALSE);
  dati_ += n;
  if (stato == XML_STATUS_ERROR) {
    if (fermato_) {
      if (!motivoArresto_.empty()) throw ErroreFattura(motivoArresto_);
      return false;
    }
    ErroreExpat();
  }
  return !fermato_;
}

void LettoreFatturaXml::ErroreExpat() {
  const XML_Error codice = XML_GetErrorCode(parser_);
  if (codice == XML_ERROR_UNKNOWN_ENCODING || codice == XML_ERROR_INCORRECT_ENCODING)
    throw ErroreFattura("codifica dei caratteri " +
                        (codificaIgnota_.empty() ? std::string("dichiarata") : codificaIgnota_) +
                        " non supportata o non rispettata");
  if (codice == XML_ERROR_NO_ELEMENTS && !radiceVista_)
    throw ErroreFattura("il file è vuoto o non contiene XML");
  throw ErroreFattura("XML non ben formato alla riga " +
                      std::to_string(XML_GetCurrentLineNumber(parser_)) + ", colonna " +
                      std::to_string(XML_GetCurrentColumnNumber(parser_) + 1));
}

void LettoreFatturaXml::Ferma(std::string motivo) {
  if (fermato_) return;
  fermato_ = true;
  motivoArresto_ = std::move(motivo);
  XML_StopParser(parser_, XML_FALSE);
}

void LettoreFatturaXml::InizioC(void* dati, const char* nome, const char**) {
  static_cast<LettoreFatturaXml*>(dati)->Inizio(Locale(nome));
}

void LettoreFatturaXml::FineC(void* dati, const char*) {
  static_cast<LettoreFatturaXml*>(dati)->Fine();
}

void LettoreFatturaXml::CaratteriC(void* dati, const char* testo, int lunghezza) {
  auto* self = static_cast<LettoreFatturaXml*>(dati);
  if (self->campo_ < 0) return;
  const std::size_t spazio = kLimiteValore - std::min(kLimiteValore, self->valore_.size());
  self->valore_.append(testo, std::min(spazio, static_cast<std::size_t>(lunghezza)));
}

void LettoreFatturaXml::DoctypeC(void* dati, const char*, const char*, const char*, int) {
  static_cast<LettoreFatturaXml*>(dati)->Ferma(
      "dichiarazione DOCTYPE non ammessa in una fattura elettronica");
}

int LettoreFatturaXml::CodificaC(void* dati, const char* nome, void* info) {
  auto* self = static_cast<LettoreFatturaXml*>(dati);
  const std::string_view n(nome == nullptr ? "" : nome);
  if (!NomeCodifica(n, "windows-1252") && !NomeCodifica(n, "cp1252")) {
    self->codificaIgnota_ = std::string(n.substr(0, 40));
    return XML_STATUS_ERROR;
  }
  auto* codifica = static_cast<XML_Encoding*>(info);
  for (int b = 0; b < 256; ++b)
    codifica->map[b] = b >= 0x80 && b < 0xA0 ? kCp1252Alto[static_cast<std::size_t>(b - 0x80)] : b;
  codifica->data = nullptr;
  codifica->convert = nullptr;
  codifica->release = nullptr;
  return XML_STATUS_OK;
}

void LettoreFatturaXml::Inizio(std::string_view nome) {
  if (!radiceVista_) {
    radiceVista_ = true;
    risultato_.radice = std::string(nome.substr(0, 80));
    if (nome != kRadiceFattura) Ferma({});
    lunghezze_.push_back(0);
    return;
  }
  if (lunghezze_.size() > 64) {
    Ferma("elementi annidati oltre ogni fattura reale");
    return;
  }
  lunghezze_.push_back(percorso_.size());
  if (lunghezze_.size() > 2) percorso_ += '/';
  percorso_ += nome;
  campo_ = -1;
  if (lunghezze_.size() == 2 && percorso_ == kCorpo) {
    corrente_ = {};
  } else if (percorso_ == kRiepilogo) {
    imponibileRiga_ = 0;
    impostaRiga_ = 0;
    naturaRiga_.clear();
    ++corrente_.righeRiepilogo;
  } else if (percorso_ == kAllegato) {
    allegatoAperto_ = true;
    fineAllegato_ = static_cast<std::uint64_t>(XML_GetCurrentByteIndex(parser_)) +
                    static_cast<std::uint64_t>(XML_GetCurrentByteCount(parser_));
  } else if (percorso_.size() > 20) {
    const auto& campi = Campi();
    if (const auto it = campi.find(percorso_); it != campi.end()) {
      campo_ = it->second;
      valore_.clear();
    }
  }
}

void LettoreFatturaXml::Fine() {
  if (lunghezze_.empty()) return;
  if (campo_ >= 0) {
    const std::string v = Rifilato(valore_);
    const int c = campo_;
    campo_ = -1;
    if (c < kTipo) {
      SoggettoFattura& s = c < kCessionario ? cedente_ : cessionario_;
      switch (c % 16) {
        case kIdPaese:
          s.idPaese = v;
          break;
        case kIdCodice:
          s.idCodice = v;
          break;
        case kCodiceFiscale:
          s.codiceFiscale = v;
          break;
        case kDenominazione:
          s.denominazione = v;
          break;
        case kNome:
          s.nome = v;
          break;
        case kCognome:
          s.cognome = v;
          break;
        case kIndirizzo:
          s.indirizzo = v;
          break;
        case kNumeroCivico:
          s.numeroCivico = v;
          break;
        case kComune:
          s.comune = v;
          break;
        case kNazione:
          s.nazione = v;
          break;
        default:
          break;
      }
    } else {
      switch (c) {
        case kTipo:
          corrente_.tipoDocumento = v;
          break;
        case kDivisa:
          corrente_.divisa = v;
          break;
        case kData:
          corrente_.data = v;
          break;
        case kNumero:
          corrente_.numero = v;
          break;
        case kImponibile:
        case kImposta: {
          long long centesimi = 0;
          if (!Centesimi(v, centesimi)) {
            if (corrente_.importoErrato.empty()) corrente_.importoErrato = v.substr(0, 40);
          } else {
            (c == kImponibile ? imponibileRiga_ : impostaRiga_) = centesimi;
          }
          break;
        }
        case kNatura:
          naturaRiga_ = v;
          break;
        default:
          break;
      }
    }
  } else if (percorso_ == kRiepilogo) {
    corrente_.imponibile += imponibileRiga_;
    corrente_.imposta += impostaRiga_;
    if (naturaRiga_.starts_with("N5")) corrente_.naturaN5 = true;
    if (naturaRiga_.starts_with("N6")) corrente_.naturaN6 = true;
    if (naturaRiga_.starts_with("N1") || naturaRiga_.starts_with("N2"))
      corrente_.naturaEsclusa = true;
  } else if (lunghezze_.size() == 2 && percorso_ == kCorpo) {
    corrente_.cedente = cedente_;
    corrente_.cessionario = cessionario_;
    corrente_.posizione = static_cast<int>(risultato_.fatture.size()) + 1;
    risultato_.fatture.push_back(std::move(corrente_));
    corrente_ = {};
  }
  percorso_.resize(lunghezze_.back());
  lunghezze_.pop_back();
}

}  // namespace fcl
