#include "backup/FormatoBackup.h"

#include <cmath>
#include <cstdio>

#include "common/Cp1252.h"
#include "common/FormatoItaliano.h"
#include "common/RoutineCampi.h"

namespace fcl {
namespace {

constexpr std::string_view kBarraUtf8 = "\xC2\xA6";  // "¦" as UTF-8
constexpr std::string_view kNull = "\\N";

// Length of the UTF-8 sequence that starts at `i` (1 for a byte that starts no valid sequence).
std::size_t LunghezzaCarattere(std::string_view s, std::size_t i, char32_t& cp) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  std::size_t n = 1;
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  if ((b0 & 0xE0) == 0xC0) {
    n = 2;
    cp = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    n = 3;
    cp = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    n = 4;
    cp = b0 & 0x07;
  } else {
    cp = 0xFFFD;
    return 1;
  }
  if (i + n > s.size()) {
    cp = 0xFFFD;
    return 1;
  }
  for (std::size_t k = 1; k < n; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) {
      cp = 0xFFFD;
      return 1;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  return n;
}

// The code point of `cifre` hexadecimal digits at `i`, or nullopt.
std::optional<char32_t> Esadecimale(std::string_view s, std::size_t i, std::size_t cifre) {
  if (i + cifre > s.size()) return std::nullopt;
  char32_t cp = 0;
  for (std::size_t k = 0; k < cifre; ++k) {
    const char c = s[i + k];
    int v = 0;
    if (c >= '0' && c <= '9') {
      v = c - '0';
    } else if (c >= 'A' && c <= 'F') {
      v = c - 'A' + 10;
    } else if (c >= 'a' && c <= 'f') {
      v = c - 'a' + 10;
    } else {
      return std::nullopt;
    }
    cp = cp * 16 + static_cast<char32_t>(v);
  }
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
  return cp;
}

bool Vuoto(std::string_view s) { return RifilaSinistra(s).empty(); }

}  // namespace

std::string CodificaTesto(std::string_view testo) {
  std::string out;
  out.reserve(testo.size() + 8);
  std::size_t i = 0;
  while (i < testo.size()) {
    char32_t cp = 0;
    const std::size_t n = LunghezzaCarattere(testo, i, cp);
    const std::string_view carattere = testo.substr(i, n);
    i += n;
    if (cp == U'\\') {
      out += "\\\\";
    } else if (carattere == kBarraUtf8) {
      out += "\\|";
    } else if (cp == U'\r') {
      out += "\\r";
    } else if (cp == U'\n') {
      out += "\\n";
    } else if (cp != 0xFFFD && (cp == U'?' || Utf8ToCp1252(carattere) != "?")) {
      out += carattere;
    } else {
      // Not in Windows-1252 (or not valid UTF-8): its code point, so it survives the file.
      char buf[16];
      if (cp <= 0xFFFF) {
        std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(cp));
      } else {
        std::snprintf(buf, sizeof buf, "\\U%08X", static_cast<unsigned>(cp));
      }
      out += buf;
    }
  }
  return out;
}

CampoRiga DecodificaCampo(std::string_view campo) {
  if (campo == kNull) return std::nullopt;
  std::string out;
  out.reserve(campo.size());
  for (std::size_t i = 0; i < campo.size(); ++i) {
    const char c = campo[i];
    if (c != '\\' || i + 1 >= campo.size()) {
      out += c;
      continue;
    }
    const char dopo = campo[i + 1];
    switch (dopo) {
      case '\\':
        out += '\\';
        ++i;
        continue;
      case '|':
        out += kBarraUtf8;
        ++i;
        continue;
      case 'r':
        out += '\r';
        ++i;
        continue;
      case 'n':
        out += '\n';
        ++i;
        continue;
      case 'u':
      case 'U': {
        const std::size_t cifre = dopo == 'u' ? 4 : 8;
        if (const auto cp = Esadecimale(campo, i + 2, cifre)) {
          AggiungiUtf8(*cp, out);
          i += 1 + cifre;
          continue;
        }
        break;
      }
      default:
        break;
    }
    out += c;  // a backslash that starts no escape reads as itself
  }
  return out;
}

std::string CampoBackup(const Valore& valore, TipoCampo tipo) {
  // Null is the empty text in every column, as the files users exchange carry it; "\N" is only
  // read, from files this system wrote before.
  if (EnNull(valore)) return std::string();
  switch (tipo) {
    case TipoCampo::Testo:
      // As stored, blanks included.
      return CodificaTesto(ValoreComeTesto(valore));
    case TipoCampo::Doppio:
      if (const auto* x = std::get_if<double>(&valore)) return NumeroDueDecimali(*x);
      if (const auto* n = std::get_if<std::int64_t>(&valore))
        return NumeroDueDecimali(static_cast<double>(*n));
      break;
    case TipoCampo::Data:
      if (const auto* d = std::get_if<Data>(&valore)) return d->Testo();
      break;
    case TipoCampo::Intero:
    case TipoCampo::Altro:
      break;
  }
  return CodificaTesto(CampoTesto(valore));
}

std::string RigaTabella(std::string_view tabella, const std::vector<std::string>& campi) {
  std::string riga;
  riga += kSeparatoreBackup;
  riga += Utf8ToCp1252(tabella);
  for (const auto& campo : campi) {
    riga += kSeparatoreBackup;
    riga += Utf8ToCp1252(campo);
  }
  return riga;
}

RigaBackup SpezzaRiga(std::string_view riga) {
  RigaBackup esito;
  if (riga.empty()) return esito;
  const char separatore = riga[0];
  std::vector<std::string_view> pezzi;
  std::size_t inizio = 1;
  while (true) {
    const std::size_t fine = riga.find(separatore, inizio);
    pezzi.push_back(riga.substr(inizio, fine == std::string_view::npos ? fine : fine - inizio));
    if (fine == std::string_view::npos) break;
    inizio = fine + 1;
  }
  esito.tabella = Cp1252ToUtf8(pezzi[0]);
  for (std::size_t k = 1; k < pezzi.size(); ++k)
    esito.valori.push_back(DecodificaCampo(Cp1252ToUtf8(pezzi[k])));
  return esito;
}

ValoreRipristinato ValoreDaCampo(const CampoRiga& campo, TipoCampo tipo) {
  if (!campo) return {std::monostate{}, {}};
  const std::string& testo = *campo;
  if (tipo == TipoCampo::Testo || tipo == TipoCampo::Altro) return {testo, {}};
  // A blank value in a column that is not text is what a Null was written as.
  if (Vuoto(testo)) return {std::monostate{}, {}};
  const std::string t = Rifila(testo);
  switch (tipo) {
    case TipoCampo::Data: {
      // "00:00:00" and "0.00.00" are how date zero was written as text by earlier versions.
      if (t == "00:00:00" || t == "0.00.00" || t == "00.00.00") return {Data{}, {}};
      if (const auto d = Data::DaTesto(t)) return {*d, {}};
      return {{}, "non è una data"};
    }
    case TipoCampo::Doppio: {
      if (t == ",") return {0.0, {}};
      if (const auto x = LeggiNumeroItaliano(t)) return {*x, {}};
      return {{}, "non è un numero"};
    }
    case TipoCampo::Intero: {
      if (t == ",") return {std::int64_t{0}, {}};
      const auto x = LeggiNumeroItaliano(t);
      if (x && std::nearbyint(*x) == *x && std::fabs(*x) < 9.0e15)
        return {static_cast<std::int64_t>(*x), {}};
      return {{}, "non è un numero intero"};
    }
    case TipoCampo::Testo:
    case TipoCampo::Altro:
      break;
  }
  return {testo, {}};
}

}  // namespace fcl
