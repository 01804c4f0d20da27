#include "workbook/AnalizzatoreXml.h"

#include <expat.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <new>

#include "common/Cp1252.h"
#include "workbook/ErroriCartella.h"

namespace fcl {
namespace {

constexpr std::size_t kBlocco = 1 << 16;
constexpr std::size_t kBloccoMassimo = 1 << 20;
constexpr char kSeparatore = '|';

// Expat scans an unfinished token (a tag with its attributes, a comment) again from its start
// with every block it is given, so a token of N bytes costs N * N / block. No workbook writes a
// token of megabytes: a part in which no element starts or ends and no text is read for this much
// input is refused; until then the block doubles while no event comes, so few scans are made.
constexpr std::uint64_t kSenzaEventiMassimo = 4ull << 20;

// The direct scan of the rows leaves to Expat a row longer than a block, so that Expat sees a
// long token from about where it starts and its limit on tokens works as without the scanner.
constexpr std::size_t kRigaMassima = kBlocco;
constexpr std::size_t kInvalido = std::string_view::npos;
constexpr std::size_t kIncompleto = std::string_view::npos - 1;
const std::string kUriXml = "http://www.w3.org/XML/1998/namespace";

// Blanks the scanner takes as they are; a carriage return (which XML turns into a line feed) is
// left to Expat.
bool SpazioXml(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// The ASCII characters of the names the scanner takes: bit 1 may start a name, bit 2 may follow.
constexpr std::array<unsigned char, 256> kNome = [] {
  std::array<unsigned char, 256> t{};
  for (int c = 0; c < 256; ++c) {
    const bool inizio = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    const bool seguito = inizio || (c >= '0' && c <= '9') || c == '-' || c == '.';
    t[static_cast<std::size_t>(c)] =
        static_cast<unsigned char>((inizio ? 1 : 0) | (seguito ? 2 : 0));
  }
  return t;
}();
// ASCII characters that stand for themselves: in an attribute value (bit 1: not a quote, "&" or
// "<") and in text (bit 2: not "<", "&" or "]"). Blanks and control characters are in neither.
constexpr std::array<unsigned char, 256> kSemplice = [] {
  std::array<unsigned char, 256> t{};
  for (int c = 0x20; c < 0x80; ++c) {
    const bool valore = c != '"' && c != '\'' && c != '&' && c != '<';
    const bool testo = c != '<' && c != '&' && c != ']';
    t[static_cast<std::size_t>(c)] = static_cast<unsigned char>((valore ? 1 : 0) | (testo ? 2 : 0));
  }
  return t;
}();
inline bool SemplicePerValore(char c) {
  return (kSemplice[static_cast<unsigned char>(c)] & 1) != 0;
}
inline bool SemplicePerTesto(char c) { return (kSemplice[static_cast<unsigned char>(c)] & 2) != 0; }
// Two names (never empty): most differ in length or in their first letter, told without memcmp.
inline bool StessoNome(std::string_view a, std::string_view b) {
  return a.size() == b.size() && a[0] == b[0] && a == b;
}
inline bool InizioNome(char c) { return (kNome[static_cast<unsigned char>(c)] & 1) != 0; }
inline bool CarattereNome(char c) { return (kNome[static_cast<unsigned char>(c)] & 2) != 0; }

bool CarattereXml(char32_t cp) {
  return cp == 0x9 || cp == 0xA || cp == 0xD || (cp >= 0x20 && cp <= 0xD7FF) ||
         (cp >= 0xE000 && cp <= 0xFFFD) || (cp >= 0x10000 && cp <= 0x10FFFF);
}

// A UTF-8 sequence at b[pos] of a character that XML allows: its length, kIncompleto when the
// buffer ends inside it, kInvalido otherwise.
std::size_t Utf8Xml(std::string_view b, std::size_t pos) {
  const auto c0 = static_cast<unsigned char>(b[pos]);
  std::size_t n = 0;
  char32_t cp = 0;
  if (c0 >= 0xC2 && c0 <= 0xDF) {
    n = 2;
    cp = c0 & 0x1F;
  } else if ((c0 & 0xF0) == 0xE0) {
    n = 3;
    cp = c0 & 0x0F;
  } else if (c0 >= 0xF0 && c0 <= 0xF4) {
    n = 4;
    cp = c0 & 0x07;
  } else {
    return kInvalido;
  }
  for (std::size_t k = 1; k < n; ++k) {
    if (pos + k >= b.size()) return kIncompleto;
    const auto c = static_cast<unsigned char>(b[pos + k]);
    if ((c & 0xC0) != 0x80) return kInvalido;
    cp = (cp << 6) | (c & 0x3F);
  }
  if ((n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000) || !CarattereXml(cp)) return kInvalido;
  return n;
}

}  // namespace

const char* AnalizzatoreXml::Attributi::Valore(std::string_view nome) const {
  for (const char** a = coppie_; a[0] != nullptr; a += 2) {
    if (nome == a[0]) return a[1];
  }
  return nullptr;
}

AnalizzatoreXml::AnalizzatoreXml(std::unique_ptr<VoceZip> sorgente)
    : sorgente_(std::move(sorgente)), parser_(XML_ParserCreateNS(nullptr, kSeparatore)) {
  if (parser_ == nullptr) throw std::bad_alloc();
  XML_SetUserData(parser_, this);
  XML_SetElementHandler(parser_, &InizioC, &FineC);
  XML_SetCharacterDataHandler(parser_, &CaratteriC);
  // The parts of a workbook never carry a document type; one that does is refused, so no entity
  // declared in it can expand.
  XML_SetStartDoctypeDeclHandler(parser_, &DoctypeC);
#ifdef FCL_EXPAT_RIANALISI_DIFFERITA
  // Expat 2.6 and later put off scanning an unfinished token again until enough input came.
  XML_SetReparseDeferralEnabled(parser_, XML_TRUE);
#endif
}

AnalizzatoreXml::~AnalizzatoreXml() { XML_ParserFree(parser_); }

std::string_view AnalizzatoreXml::Locale(std::string_view nome) {
  const auto barra = nome.rfind(kSeparatore);
  return barra == std::string_view::npos ? nome : nome.substr(barra + 1);
}

void AnalizzatoreXml::Sospendi() {
  if (pausaChiesta_) return;
  pausaChiesta_ = true;
  if (fase_ != Fase::Diretta) XML_StopParser(parser_, XML_TRUE);
}

void AnalizzatoreXml::ScansioneDiretta(std::string contenitore, std::string riga) {
  contenitore_ = std::move(contenitore);
  riga_ = std::move(riga);
  XML_SetNamespaceDeclHandler(parser_, &InizioSpazioC, &FineSpazioC);
  XML_SetXmlDeclHandler(parser_, &DichiarazioneC);
}

void AnalizzatoreXml::InizioSpazioC(void* dati, const char* prefisso, const char* uri) {
  auto* self = static_cast<AnalizzatoreXml*>(dati);
  self->spazi_.emplace_back(prefisso ? prefisso : "", uri ? uri : "");
}

void AnalizzatoreXml::FineSpazioC(void* dati, const char* prefisso) {
  auto* self = static_cast<AnalizzatoreXml*>(dati);
  const std::string_view p = prefisso ? prefisso : "";
  for (auto it = self->spazi_.rbegin(); it != self->spazi_.rend(); ++it) {
    if (it->first == p) {
      self->spazi_.erase(std::next(it).base());
      break;
    }
  }
}

void AnalizzatoreXml::DichiarazioneC(void* dati, const char*, const char* codifica, int) {
  auto* self = static_cast<AnalizzatoreXml*>(dati);
  if (codifica == nullptr) return;
  std::string c(codifica);
  for (char& ch : c)
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 32);
  if (c != "UTF-8") self->codificaUtf8_ = false;
}

void AnalizzatoreXml::Danneggiato(const std::string& dettaglio) const {
  throw errori_cartella::Danneggiata(sorgente_->Percorso(), sorgente_->Nome() + ": " + dettaglio);
}

void AnalizzatoreXml::OltreILimiti(const std::string& dettaglio) const {
  throw errori_cartella::OltreILimiti(sorgente_->Percorso(), dettaglio);
}

void AnalizzatoreXml::Ferma(std::exception_ptr errore) {
  if (!errore_) errore_ = errore;
  XML_StopParser(parser_, XML_FALSE);
}

void AnalizzatoreXml::InizioC(void* dati, const char* nome, const char** attributi) {
  auto* self = static_cast<AnalizzatoreXml*>(dati);
  self->evento_ = true;
  if (self->errore_) return;
  if (self->fase_ == Fase::Cerca && !self->contenitore_.empty() &&
      Locale(nome) == self->contenitore_) {
    self->fineContenitore_ = static_cast<std::uint64_t>(XML_GetCurrentByteIndex(self->parser_)) +
                             static_cast<std::uint64_t>(XML_GetCurrentByteCount(self->parser_));
  }
  try {
    self->Inizio(nome, Attributi(attributi));
  } catch (...) {
    self->Ferma(std::current_exception());
  }
}

void AnalizzatoreXml::FineC(void* dati, const char* nome) {
  auto* self = static_cast<AnalizzatoreXml*>(dati);
  self->evento_ = true;
  if (self->errore_) return;
  if (self->fase_ == Fase::Cerca && !self->contenitore_.empty() &&
      Locale(nome) == self->contenitore_) {
    self->fineContenitore_ = 0;  // an empty container: nothing to scan
    self->fase_ = Fase::SoloExpat;
  }
  try {
    self->Fine(nome);
  } catch (...) {
    self->Ferma(std::current_exception());
  }
}

void AnalizzatoreXml::CaratteriC(void* dati, const char* testo, int lunghezza) {
  auto* self = static_cast<AnalizzatoreXml*>(dati);
  self->evento_ = true;
  if (self->errore_) return;
  try {
    self->Caratteri(std::string_view(testo, static_cast<std::size_t>(lunghezza)));
  } catch (...) {
    self->Ferma(std::current_exception());
  }
}

void AnalizzatoreXml::DoctypeC(void* dati, const char*, const char*, const char*, int) {
  auto* self = static_cast<AnalizzatoreXml*>(dati);
  try {
    self->Danneggiato("dichiarazione DOCTYPE non ammessa");
  } catch (...) {
    self->Ferma(std::current_exception());
  }
}

void AnalizzatoreXml::ControllaStato(int stato) {
  if (stato != XML_STATUS_ERROR) return;
  finito_ = true;
  if (errore_) std::rethrow_exception(errore_);
  const XML_Error codice = XML_GetErrorCode(parser_);
  Danneggiato("XML non valido alla riga " + std::to_string(XML_GetCurrentLineNumber(parser_)) +
              ": " + XML_ErrorString(codice));
}

bool AnalizzatoreXml::Avanza() {
  if (!contenitore_.empty()) return AvanzaConScansione();
  if (finito_) return false;
  for (;;) {
    pausaChiesta_ = false;
    evento_ = false;
    XML_Status stato;
    std::size_t letti = 0;
    if (inPausa_) {
      inPausa_ = false;
      stato = XML_ResumeParser(parser_);
    } else {
      if (datiFiniti_) {
        finito_ = true;
        return false;
      }
      void* blocco = XML_GetBuffer(parser_, static_cast<int>(blocco_));
      if (blocco == nullptr) throw std::bad_alloc();
      try {
        letti = sorgente_->Leggi(static_cast<char*>(blocco), blocco_);
      } catch (...) {
        finito_ = true;
        throw;
      }
      datiFiniti_ = letti == 0;
      stato = XML_ParseBuffer(parser_, static_cast<int>(letti), datiFiniti_);
    }
    ControllaStato(stato);
    if (evento_) {
      senzaEventi_ = 0;
      blocco_ = kBlocco;
    } else {
      senzaEventi_ += letti;
      blocco_ = std::min(blocco_ * 2, kBloccoMassimo);
      if (senzaEventi_ > kSenzaEventiMassimo) {
        finito_ = true;
        Danneggiato("un tag o un commento XML supera " + std::to_string(kSenzaEventiMassimo >> 20) +
                    " MB");
      }
    }
    if (stato == XML_STATUS_SUSPENDED) {
      inPausa_ = true;
      return true;
    }
  }
}

// ------------------------------------------------------------------------------------------
// Parsing with the direct scan of the rows. Expat gets the part up to the container's start tag,
// the scanner the rows it can vouch for (with the same events), Expat whatever follows: the line
// feeds of the rows it did not see are given to it as blanks, so its line numbers stay right.

bool AnalizzatoreXml::Rifornisci() {
  if (datiFiniti_) return false;
  attesa_.erase(0, posizione_);
  posizione_ = 0;
  const std::size_t prima = attesa_.size();
  const std::size_t blocco = fase_ == Fase::Diretta ? kBlocco : blocco_;
  attesa_.resize(prima + blocco);
  std::size_t letti = 0;
  try {
    letti = sorgente_->Leggi(attesa_.data() + prima, blocco);
  } catch (...) {
    finito_ = true;
    throw;
  }
  attesa_.resize(prima + letti);
  if (letti == 0) datiFiniti_ = true;
  return letti > 0;
}

std::string_view AnalizzatoreXml::ProssimoPezzo(bool& ultimo) {
  ultimo = false;
  for (;;) {
    const std::string_view b(attesa_);
    if (fase_ == Fase::Cerca) {
      const std::string marca = "<" + contenitore_;
      const std::size_t p = b.find(marca, posizione_);
      if (p != std::string_view::npos) {
        const std::size_t q = b.find('>', p);
        if (q != std::string_view::npos) {
          const std::string_view pezzo = b.substr(posizione_, q + 1 - posizione_);
          posizione_ = q + 1;
          return pezzo;
        }
        if (b.size() - p < 4096 && Rifornisci()) continue;
        fase_ = Fase::SoloExpat;  // a start tag this long is Expat's to judge
        continue;
      } else if (!datiFiniti_ && b.size() - posizione_ > marca.size()) {
        // All but the bytes that may begin the tag.
        const std::size_t fine = b.size() - (marca.size() - 1);
        const std::string_view pezzo = b.substr(posizione_, fine - posizione_);
        posizione_ = fine;
        return pezzo;
      }
    }
    if (posizione_ < b.size() && (fase_ != Fase::Cerca || datiFiniti_)) {
      // After the scanner, Expat gets the row it left in a block of the usual size first, so
      // that a long token is measured from about where it starts, as without the scanner.
      const std::size_t n = std::exchange(bloccoCorto_, false) ? kBlocco : b.size() - posizione_;
      const std::string_view pezzo = b.substr(posizione_, n);
      posizione_ += pezzo.size();
      return pezzo;
    }
    if (datiFiniti_) {
      if (posizione_ < b.size()) {
        const std::string_view pezzo = b.substr(posizione_);
        posizione_ = b.size();
        return pezzo;
      }
      ultimo = true;
      return {};
    }
    Rifornisci();
  }
}

bool AnalizzatoreXml::AvanzaConScansione() {
  if (finito_) return false;
  for (;;) {
    pausaChiesta_ = false;
    evento_ = false;
    if (fase_ == Fase::Diretta) {
      Passo passo;
      try {
        passo = PassoDiretto();
      } catch (...) {
        finito_ = true;
        throw;
      }
      if (passo == Passo::Riga) return true;
      // Expat goes on from the first byte the scanner left, after the line feeds it took.
      fase_ = Fase::SoloExpat;
      attesa_ = std::string(lineeNascoste_, '\n') + attesa_.substr(posizione_);
      posizione_ = 0;
      bloccoCorto_ = true;
      continue;
    }
    XML_Status stato;
    std::size_t letti = 0;
    if (inPausa_) {
      inPausa_ = false;
      stato = XML_ResumeParser(parser_);
    } else {
      if (finaleDato_) {
        finito_ = true;
        return false;
      }
      bool ultimo = false;
      const std::string_view pezzo = ProssimoPezzo(ultimo);
      letti = pezzo.size();
      finaleDato_ = ultimo;
      stato = XML_Parse(parser_, pezzo.data(), static_cast<int>(pezzo.size()), ultimo);
      dati_ += pezzo.size();
    }
    ControllaStato(stato);
    if (evento_) {
      senzaEventi_ = 0;
      blocco_ = kBlocco;
    } else {
      senzaEventi_ += letti;
      blocco_ = std::min(blocco_ * 2, kBloccoMassimo);
      if (senzaEventi_ > kSenzaEventiMassimo) {
        finito_ = true;
        Danneggiato("un tag o un commento XML supera " + std::to_string(kSenzaEventiMassimo >> 20) +
                    " MB");
      }
    }
    if (stato == XML_STATUS_SUSPENDED) {
      inPausa_ = true;
      return true;
    }
    if (fase_ == Fase::Cerca && fineContenitore_ != 0 && fineContenitore_ == dati_) {
      fase_ = codificaUtf8_ ? Fase::Diretta : Fase::SoloExpat;
    }
  }
}

AnalizzatoreXml::Passo AnalizzatoreXml::PassoDiretto() {
  for (;;) {
    const std::string_view b(attesa_);
    std::size_t i = posizione_;
    while (i < b.size() && SpazioXml(b[i])) ++i;
    if (i > posizione_) {
      const std::string_view spazi = b.substr(posizione_, i - posizione_);
      lineeNascoste_ += static_cast<std::size_t>(std::count(spazi.begin(), spazi.end(), '\n'));
      posizione_ = i;
      Caratteri(spazi);
    }
    if (i >= b.size()) {
      if (!Rifornisci()) return Passo::Uscita;
      continue;
    }
    std::size_t linee = 0;
    if (const std::size_t letta = RigaDiretta(b, i, linee)) {
      lineeNascoste_ += linee;
      posizione_ = letta;
      if (pausaChiesta_) return Passo::Riga;
      continue;
    }
    const std::size_t fine = Elemento<false>(b, i);
    if (fine == kIncompleto) {
      if (b.size() - i > kRigaMassima || !Rifornisci()) return Passo::Uscita;
      continue;
    }
    if (fine == kInvalido) return Passo::Uscita;
    Elemento<true>(b, i);
    lineeNascoste_ +=
        static_cast<std::size_t>(std::count(b.begin() + static_cast<std::ptrdiff_t>(i),
                                            b.begin() + static_cast<std::ptrdiff_t>(fine), '\n'));
    posizione_ = fine;
    if (pausaChiesta_) return Passo::Riga;
  }
}

const std::string& AnalizzatoreXml::NomeEsteso(std::string_view locale) {
  for (const auto& [l, esteso] : nomi_)
    if (l == locale) return esteso;
  std::string esteso(locale);
  for (auto it = spazi_.rbegin(); it != spazi_.rend(); ++it) {
    if (it->first.empty()) {
      if (!it->second.empty()) esteso = it->second + kSeparatore + esteso;
      break;
    }
  }
  nomi_.emplace_back(std::string(locale), std::move(esteso));
  return nomi_.back().second;
}

// 0: the reference at b[pos] is read (into `uscita` when given) and pos is past it; 1: the buffer
// ends inside it; 2: not one the scanner knows.
int AnalizzatoreXml::Entita(std::string_view b, std::size_t& pos, std::string* uscita) const {
  std::size_t j = pos + 1;
  while (j < b.size() && j - pos <= 12 && b[j] != ';') ++j;
  if (j >= b.size()) return j - pos <= 12 ? 1 : 2;
  if (b[j] != ';') return 2;
  const std::string_view nome = b.substr(pos + 1, j - pos - 1);
  char32_t cp = 0;
  if (nome == "lt") {
    cp = '<';
  } else if (nome == "gt") {
    cp = '>';
  } else if (nome == "amp") {
    cp = '&';
  } else if (nome == "quot") {
    cp = '"';
  } else if (nome == "apos") {
    cp = '\'';
  } else if (nome.size() >= 2 && nome[0] == '#') {
    const bool esadecimale = nome[1] == 'x';
    const std::string_view cifre = nome.substr(esadecimale ? 2 : 1);
    if (cifre.empty() || cifre.size() > 8) return 2;
    for (const char c : cifre) {
      int v = 0;
      if (c >= '0' && c <= '9')
        v = c - '0';
      else if (esadecimale && c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
      else if (esadecimale && c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
      else
        return 2;
      cp = cp * (esadecimale ? 16 : 10) + static_cast<char32_t>(v);
    }
    if (!CarattereXml(cp)) return 2;
  } else {
    return 2;
  }
  if (uscita) AggiungiUtf8(cp, *uscita);
  pos = j + 1;
  return 0;
}

// Character data from b[pos] to the next "<": the position of that "<", kIncompleto or
// kInvalido. With Consegna the handler gets the text.
template <bool Consegna>
bool AnalizzatoreXml::Testo(std::string_view b, std::size_t& pos) {
  std::size_t i = pos;
  bool conEntita = false;
  std::size_t piano = i;
  if constexpr (Consegna) testo_.clear();
  for (;;) {
    if (i >= b.size()) {
      pos = kIncompleto;
      return false;
    }
    const char c = b[i];
    const auto u = static_cast<unsigned char>(c);
    if (c == '<') break;
    if (c == '&') {
      if constexpr (Consegna) testo_.append(b.data() + piano, i - piano);
      conEntita = true;
      const int esito = Entita(b, i, Consegna ? &testo_ : nullptr);
      if (esito != 0) {
        pos = esito == 1 ? kIncompleto : kInvalido;
        return false;
      }
      piano = i;
      continue;
    }
    if (c == ']') {
      if (i + 2 >= b.size()) {
        pos = kIncompleto;
        return false;
      }
      if (b[i + 1] == ']' && b[i + 2] == '>') {
        pos = kInvalido;
        return false;
      }
    }
    if (u >= 0x80) {
      const std::size_t n = Utf8Xml(b, i);
      if (n == kIncompleto || n == kInvalido) {
        pos = n;
        return false;
      }
      i += n;
      continue;
    }
    if (u < 0x20 && c != '\t' && c != '\n') {
      pos = kInvalido;
      return false;
    }
    ++i;
  }
  if constexpr (Consegna) {
    if (conEntita) {
      testo_.append(b.data() + piano, i - piano);
      if (!testo_.empty()) Caratteri(testo_);
    } else if (i > pos) {
      Caratteri(b.substr(pos, i - pos));
    }
  }
  pos = i;
  return true;
}

// One `riga_` element from b[pos] (its "<"): the position after its end tag, kIncompleto or
// kInvalido. Only with Consegna do the handlers get its events; the scanner first checks the whole
// element without them.
template <bool Consegna>
std::size_t AnalizzatoreXml::Elemento(std::string_view b, std::size_t pos) {
  pila_.clear();
  struct Chiave {
    std::string_view uri, locale;
  };
  Chiave chiavi[32];
  for (;;) {
    if (pos >= b.size()) return kIncompleto;
    if (b[pos] != '<') {
      if (!Testo<Consegna>(b, pos)) return pos;
      continue;
    }
    if (pos + 1 >= b.size()) return kIncompleto;
    if (b[pos + 1] == '/') {
      std::size_t i = pos + 2;
      while (i < b.size() && CarattereNome(b[i])) ++i;
      if (i >= b.size()) return kIncompleto;
      const std::string_view nome = b.substr(pos + 2, i - pos - 2);
      while (i < b.size() && SpazioXml(b[i])) ++i;
      if (i >= b.size()) return kIncompleto;
      if (b[i] != '>' || pila_.empty() || pila_.back() != nome) return kInvalido;
      pila_.pop_back();
      if constexpr (Consegna) Fine(NomeEsteso(nome));
      pos = i + 1;
      if (pila_.empty()) return pos;
      continue;
    }
    std::size_t i = pos + 1;
    if (!InizioNome(b[i])) return kInvalido;  // a comment, a CDATA section, a non-ASCII name ...
    while (i < b.size() && CarattereNome(b[i])) ++i;
    if (i >= b.size()) return kIncompleto;
    const std::string_view nome = b.substr(pos + 1, i - pos - 1);
    if ((pila_.empty() && nome != riga_) || pila_.size() >= 64) return kInvalido;
    if constexpr (Consegna) {
      valori_.clear();
      nomiAttributi_.clear();
      attributi_.clear();
    }
    int quanti = 0;
    bool vuoto = false;
    for (;;) {
      const std::size_t primaDegliSpazi = i;
      while (i < b.size() && SpazioXml(b[i])) ++i;
      if (i >= b.size()) return kIncompleto;
      if (b[i] == '>') {
        ++i;
        break;
      }
      if (b[i] == '/') {
        if (i + 1 >= b.size()) return kIncompleto;
        if (b[i + 1] != '>') return kInvalido;
        i += 2;
        vuoto = true;
        break;
      }
      // An attribute, after at least one blank: [prefix:]name, "=", a quoted value.
      if (i == primaDegliSpazi || !InizioNome(b[i]) || quanti == 32) return kInvalido;
      const std::size_t inizioNome = i;
      std::size_t duePunti = std::string_view::npos;
      while (i < b.size() && CarattereNome(b[i])) ++i;
      if (i < b.size() && b[i] == ':') {
        duePunti = i++;
        if (i >= b.size()) return kIncompleto;
        if (!InizioNome(b[i])) return kInvalido;
        while (i < b.size() && CarattereNome(b[i])) ++i;
      }
      if (i >= b.size()) return kIncompleto;
      Chiave chiave{{}, b.substr(inizioNome, i - inizioNome)};
      if (duePunti != std::string_view::npos) {
        const std::string_view prefisso = b.substr(inizioNome, duePunti - inizioNome);
        chiave.locale = b.substr(duePunti + 1, i - duePunti - 1);
        if (prefisso == "xmlns") return kInvalido;  // a declaration: left to Expat
        if (prefisso == "xml") {
          chiave.uri = kUriXml;
        } else {
          for (auto it = spazi_.rbegin(); it != spazi_.rend() && chiave.uri.empty(); ++it)
            if (it->first == prefisso) chiave.uri = it->second;
          if (chiave.uri.empty()) return kInvalido;  // an unbound prefix
        }
      } else if (chiave.locale == "xmlns") {
        return kInvalido;
      }
      for (int k = 0; k < quanti; ++k)
        if (chiavi[k].uri == chiave.uri && chiavi[k].locale == chiave.locale) return kInvalido;
      chiavi[quanti++] = chiave;
      while (i < b.size() && SpazioXml(b[i])) ++i;
      if (i >= b.size()) return kIncompleto;
      if (b[i] != '=') return kInvalido;
      ++i;
      while (i < b.size() && SpazioXml(b[i])) ++i;
      if (i >= b.size()) return kIncompleto;
      const char virgolette = b[i];
      if (virgolette != '"' && virgolette != '\'') return kInvalido;
      ++i;
      if constexpr (Consegna) {
        attributi_.emplace_back(nomiAttributi_.size(), valori_.size());
        if (!chiave.uri.empty()) {
          nomiAttributi_.append(chiave.uri);
          nomiAttributi_.push_back(kSeparatore);
        }
        nomiAttributi_.append(chiave.locale);
        nomiAttributi_.push_back('\0');
      }
      for (;;) {
        // A run of plain characters at once.
        const std::size_t corsa = i;
        while (i < b.size()) {
          const auto u = static_cast<unsigned char>(b[i]);
          if (b[i] == virgolette || b[i] == '&' || b[i] == '<' || u < 0x20 || u >= 0x80) break;
          ++i;
        }
        if constexpr (Consegna) valori_.append(b.data() + corsa, i - corsa);
        if (i >= b.size()) return kIncompleto;
        const char c = b[i];
        const auto u = static_cast<unsigned char>(c);
        if (c == virgolette) {
          ++i;
          break;
        }
        if (c == '&') {
          const int esito = Entita(b, i, Consegna ? &valori_ : nullptr);
          if (esito != 0) return esito == 1 ? kIncompleto : kInvalido;
          continue;
        }
        // Blanks other than the space are normalised in a value: left to Expat.
        if (c == '<' || u < 0x20) return kInvalido;
        std::size_t n = 1;
        if (u >= 0x80) {
          n = Utf8Xml(b, i);
          if (n == kIncompleto || n == kInvalido) return n;
        }
        if constexpr (Consegna) valori_.append(b.data() + i, n);
        i += n;
      }
      if constexpr (Consegna) valori_.push_back('\0');
    }
    pila_.push_back(nome);
    if constexpr (Consegna) {
      coppie_.clear();
      for (const auto& [n, v] : attributi_) {
        coppie_.push_back(nomiAttributi_.data() + n);
        coppie_.push_back(valori_.data() + v);
      }
      coppie_.push_back(nullptr);
      Inizio(NomeEsteso(nome), Attributi(coppie_.data()));
    }
    if (vuoto) {
      pila_.pop_back();
      if constexpr (Consegna) Fine(NomeEsteso(nome));
      if (pila_.empty()) return i;
    }
    pos = i;
  }
}

std::size_t AnalizzatoreXml::RigaDiretta(std::string_view, std::size_t, std::size_t&) { return 0; }

// The cursor reads a block that is the whole of a std::string, so the byte after it is the
// string's NUL: a NUL is no name character, blank, quote or delimiter, so every loop stops on it
// (and gives the row back) without testing the bounds.

void AnalizzatoreXml::Cursore::Spazi() {
  const char* const b = b_.data();
  while (SpazioXml(b[i_])) linee_ += b[i_++] == '\n';
}

bool AnalizzatoreXml::Cursore::Apertura(std::string_view& nome, bool& vuoto) {
  quanti_ = 0;
  const char* const b = b_.data();
  std::size_t i = i_;
  if (b[i] != '<' || !InizioNome(b[i + 1])) return false;
  i += 2;
  while (CarattereNome(b[i])) ++i;
  if (b[i] == ':') return false;
  nome = b_.substr(i_ + 1, i - i_ - 1);
  std::size_t linee = 0;
  for (;;) {
    const std::size_t primaDegliSpazi = i;
    while (SpazioXml(b[i])) linee += b[i++] == '\n';
    if (b[i] == '>' || (b[i] == '/' && b[i + 1] == '>')) {
      vuoto = b[i] == '/';
      i_ = i + (vuoto ? 2 : 1);
      linee_ += linee;
      return true;
    }
    // An attribute, after at least one blank: [prefix:]name, "=", a quoted value.
    if (i == primaDegliSpazi || !InizioNome(b[i]) || quanti_ == 16) return false;
    const std::size_t inizioNome = i;
    while (CarattereNome(b[i])) ++i;
    Attributo a{{}, b_.substr(inizioNome, i - inizioNome), {}};
    if (b[i] == ':') {
      const std::string_view prefisso = a.locale;
      const std::size_t inizioLocale = ++i;
      if (!InizioNome(b[i])) return false;
      while (CarattereNome(b[i])) ++i;
      a.locale = b_.substr(inizioLocale, i - inizioLocale);
      if (prefisso == "xml") {
        a.uri = kUriXml;
      } else if (prefisso != "xmlns") {
        for (auto it = xml_.spazi_.rbegin(); it != xml_.spazi_.rend() && a.uri.empty(); ++it)
          if (it->first == prefisso) a.uri = it->second;
      }
      if (a.uri.empty()) return false;  // a declaration, or an unbound prefix
    } else if (a.locale == "xmlns") {
      return false;
    }
    for (int k = 0; k < quanti_; ++k)
      if (StessoNome(attributi_[k].locale, a.locale) && attributi_[k].uri == a.uri) return false;
    while (SpazioXml(b[i])) linee += b[i++] == '\n';
    if (b[i] != '=') return false;
    ++i;
    while (SpazioXml(b[i])) linee += b[i++] == '\n';
    if (b[i] != '"' && b[i] != '\'') return false;
    const char virgolette = b[i++];
    const std::size_t inizioValore = i;
    for (;;) {
      while (SemplicePerValore(b[i])) ++i;
      const char c = b[i];
      const auto u = static_cast<unsigned char>(c);
      if (c == virgolette) {
        break;
      } else if (c == '"' || c == '\'') {
        ++i;  // the other quote
      } else if (u < 0x80) {
        return false;  // a reference, "<", a blank that XML normalises, or the end of the block
      } else {
        const std::size_t n = Utf8Xml(b_, i);
        if (n == kIncompleto || n == kInvalido) return false;
        i += n;
      }
    }
    a.valore = b_.substr(inizioValore, i - inizioValore);
    ++i;
    attributi_[quanti_++] = a;
  }
}

std::optional<std::string_view> AnalizzatoreXml::Cursore::Valore(std::string_view locale) const {
  for (int k = 0; k < quanti_; ++k)
    if (attributi_[k].uri.empty() && StessoNome(attributi_[k].locale, locale))
      return attributi_[k].valore;
  return std::nullopt;
}

bool AnalizzatoreXml::Cursore::Chiusura(std::string_view nome) {
  const char* const b = b_.data();
  if (b[i_] != '<' || b[i_ + 1] != '/' || b_.substr(i_ + 2, nome.size()) != nome) return false;
  std::size_t i = i_ + 2 + nome.size();
  std::size_t linee = 0;
  while (SpazioXml(b[i])) linee += b[i++] == '\n';
  if (b[i] != '>') return false;
  i_ = i + 1;
  linee_ += linee;
  return true;
}

std::optional<bool> AnalizzatoreXml::Cursore::Fine(std::string_view nome) {
  Spazi();
  if (!Segue("</")) return false;
  if (!Chiusura(nome)) return std::nullopt;
  return true;
}

bool AnalizzatoreXml::Cursore::Testo(std::string_view& testo) {
  const char* const b = b_.data();
  std::size_t i = i_;
  std::size_t linee = 0;
  for (;;) {
    while (SemplicePerTesto(b[i])) ++i;
    const char c = b[i];
    const auto u = static_cast<unsigned char>(c);
    if (c == '<') {
      break;
    } else if (c == '\t' || c == '\n') {
      linee += c == '\n';
      ++i;
    } else if (u < 0x80) {
      return false;  // a reference, "]" (perhaps of "]]>"), a control character or the end
    } else {
      const std::size_t n = Utf8Xml(b_, i);
      if (n == kIncompleto || n == kInvalido) return false;
      i += n;
    }
  }
  testo = b_.substr(i_, i - i_);
  i_ = i;
  linee_ += linee;
  return true;
}

void AnalizzatoreXml::LeggiTutto() {
  while (Avanza()) {
  }
}

}  // namespace fcl
