#include "pdf/AnalizzatorePdf.h"

#include <cctype>

#include "pdf/ErroreModelloPdf.h"

namespace fcl {

namespace {

constexpr int kProfonditaMassima = 100;

bool Spazio(char c) {
  return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}
bool Delimitatore(char c) {
  return c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' || c == '{' ||
         c == '}' || c == '/' || c == '%';
}
bool Cifra(char c) { return c >= '0' && c <= '9'; }
int Esa(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

[[noreturn]] void Danneggiato(std::string_view cosa) {
  throw ErroreModelloPdf("file PDF danneggiato (" + std::string(cosa) + ")");
}

}  // namespace

void AnalizzatorePdf::SaltaSpazi() {
  while (pos_ < dati_.size()) {
    const char c = dati_[pos_];
    if (Spazio(c)) {
      ++pos_;
    } else if (c == '%') {
      while (pos_ < dati_.size() && dati_[pos_] != '\n' && dati_[pos_] != '\r') ++pos_;
    } else {
      break;
    }
  }
}

bool AnalizzatorePdf::Parola(std::string_view parola) {
  SaltaSpazi();
  if (dati_.substr(pos_, parola.size()) != parola) return false;
  const std::size_t dopo = pos_ + parola.size();
  if (dopo < dati_.size() && !Spazio(dati_[dopo]) && !Delimitatore(dati_[dopo])) return false;
  pos_ = dopo;
  return true;
}

long long AnalizzatorePdf::Intero() {
  SaltaSpazi();
  long long n = 0;
  std::size_t cifre = 0;
  while (pos_ < dati_.size() && Cifra(dati_[pos_])) {
    if (n > 1'000'000'000'000LL) Danneggiato("numero troppo grande");
    n = n * 10 + (dati_[pos_] - '0');
    ++pos_;
    ++cifre;
  }
  if (cifre == 0) Danneggiato("numero atteso");
  return n;
}

OggettoPdf AnalizzatorePdf::Valore() { return Valore(0); }

OggettoPdf AnalizzatorePdf::Valore(int profondita) {
  if (profondita > kProfonditaMassima) Danneggiato("annidamento eccessivo");
  SaltaSpazi();
  if (pos_ >= dati_.size()) Danneggiato("fine inattesa");
  const char c = dati_[pos_];
  using T = OggettoPdf::Tipo;
  if (c == '/') return NomeLetto();
  if (c == '(') return StringaLetterale();
  if (c == '<') {
    if (pos_ + 1 < dati_.size() && dati_[pos_ + 1] == '<') {
      pos_ += 2;
      OggettoPdf d;
      d.tipo = T::Dizionario;
      while (true) {
        SaltaSpazi();
        if (pos_ + 1 < dati_.size() && dati_[pos_] == '>' && dati_[pos_ + 1] == '>') {
          pos_ += 2;
          return d;
        }
        if (pos_ >= dati_.size() || dati_[pos_] != '/') Danneggiato("dizionario");
        OggettoPdf chiave = NomeLetto();
        SaltaSpazi();
        OggettoPdf valore;
        // A key without a value before ">>" is taken as null.
        if (!(pos_ + 1 < dati_.size() && dati_[pos_] == '>' && dati_[pos_ + 1] == '>'))
          valore = Valore(profondita + 1);
        if (d.Cerca(chiave.testo) == nullptr) {  // the first of repeated keys counts
          d.chiavi.push_back(std::move(chiave.testo));
          d.elementi.push_back(std::move(valore));
        }
      }
    }
    return StringaEsadecimale();
  }
  if (c == '[') {
    ++pos_;
    OggettoPdf a;
    a.tipo = T::Array;
    while (true) {
      SaltaSpazi();
      if (pos_ >= dati_.size()) Danneggiato("array non chiuso");
      if (dati_[pos_] == ']') {
        ++pos_;
        return a;
      }
      a.elementi.push_back(Valore(profondita + 1));
    }
  }
  if (Cifra(c) || c == '-' || c == '+' || c == '.') {
    OggettoPdf n = Numero();
    // "N G R": a reference.
    if (Cifra(c) && n.testo.find('.') == std::string::npos) {
      const std::size_t salvata = pos_;
      SaltaSpazi();
      if (pos_ < dati_.size() && Cifra(dati_[pos_])) {
        OggettoPdf g = Numero();
        if (g.testo.find('.') == std::string::npos && Parola("R")) {
          const auto num = n.Intero(), gen = g.Intero();
          if (!num || !gen) Danneggiato("riferimento");
          OggettoPdf r;
          r.tipo = T::Riferimento;
          r.numero = static_cast<int>(*num);
          r.generazione = static_cast<int>(*gen);
          return r;
        }
      }
      pos_ = salvata;
    }
    return n;
  }
  // A bare word: true, false, null, or a keyword where a value was expected.
  const std::size_t inizio = pos_;
  while (pos_ < dati_.size() && !Spazio(dati_[pos_]) && !Delimitatore(dati_[pos_])) ++pos_;
  if (pos_ == inizio) Danneggiato("carattere inatteso");
  OggettoPdf p;
  p.testo = std::string(dati_.substr(inizio, pos_ - inizio));
  if (p.testo == "null") {
    p.tipo = T::Nullo;
  } else if (p.testo == "true" || p.testo == "false") {
    p.tipo = T::Booleano;
  } else if (p.testo == "endobj" || p.testo == "stream" || p.testo == "endstream" ||
             p.testo == "obj" || p.testo == "R") {
    Danneggiato("valore mancante");
  } else {
    p.tipo = T::Parola;
  }
  return p;
}

OggettoPdf AnalizzatorePdf::Numero() {
  const std::size_t inizio = pos_;
  if (pos_ < dati_.size() && (dati_[pos_] == '-' || dati_[pos_] == '+')) ++pos_;
  bool cifre = false;
  while (pos_ < dati_.size() && (Cifra(dati_[pos_]) || dati_[pos_] == '.')) {
    cifre = cifre || Cifra(dati_[pos_]);
    ++pos_;
  }
  OggettoPdf n;
  n.tipo = OggettoPdf::Tipo::Numero;
  n.testo = cifre ? std::string(dati_.substr(inizio, pos_ - inizio)) : "0";
  return n;
}

OggettoPdf AnalizzatorePdf::NomeLetto() {
  ++pos_;  // the "/"
  std::string nome;
  while (pos_ < dati_.size() && !Spazio(dati_[pos_]) && !Delimitatore(dati_[pos_])) {
    char c = dati_[pos_++];
    if (c == '#' && pos_ + 1 < dati_.size() && Esa(dati_[pos_]) >= 0 && Esa(dati_[pos_ + 1]) >= 0) {
      c = static_cast<char>(Esa(dati_[pos_]) * 16 + Esa(dati_[pos_ + 1]));
      pos_ += 2;
    }
    nome.push_back(c);
  }
  return OggettoPdf::Nome(std::move(nome));
}

OggettoPdf AnalizzatorePdf::StringaLetterale() {
  const std::size_t inizio = pos_;
  ++pos_;
  int livello = 1;
  while (pos_ < dati_.size() && livello > 0) {
    const char c = dati_[pos_++];
    if (c == '\\') {
      if (pos_ < dati_.size()) ++pos_;
    } else if (c == '(') {
      ++livello;
    } else if (c == ')') {
      --livello;
    }
  }
  if (livello > 0) Danneggiato("stringa non chiusa");
  OggettoPdf s;
  s.tipo = OggettoPdf::Tipo::Stringa;
  s.testo = std::string(dati_.substr(inizio, pos_ - inizio));
  return s;
}

OggettoPdf AnalizzatorePdf::StringaEsadecimale() {
  const std::size_t inizio = pos_;
  ++pos_;
  while (pos_ < dati_.size() && dati_[pos_] != '>') {
    if (Esa(dati_[pos_]) < 0 && !Spazio(dati_[pos_])) Danneggiato("stringa esadecimale");
    ++pos_;
  }
  if (pos_ >= dati_.size()) Danneggiato("stringa esadecimale non chiusa");
  ++pos_;
  OggettoPdf s;
  s.tipo = OggettoPdf::Tipo::Stringa;
  s.testo = std::string(dati_.substr(inizio, pos_ - inizio));
  return s;
}

}  // namespace fcl
