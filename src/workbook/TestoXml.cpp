#include "workbook/TestoXml.h"

#include <charconv>
#include <cstdint>
#include <cmath>

#include "common/Valore.h"

namespace fcl {
namespace {

std::string_view Rifila(std::string_view s) {
  while (!s.empty() &&
         (s.front() == ' ' || s.front() == '\t' || s.front() == '\n' || s.front() == '\r'))
    s.remove_prefix(1);
  while (!s.empty() &&
         (s.back() == ' ' || s.back() == '\t' || s.back() == '\n' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

int Esadecimale(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void AggiungiUtf8(std::string& s, unsigned codice) {
  if (codice < 0x80) {
    s += static_cast<char>(codice);
  } else if (codice < 0x800) {
    s += static_cast<char>(0xC0 | (codice >> 6));
    s += static_cast<char>(0x80 | (codice & 0x3F));
  } else {
    s += static_cast<char>(0xE0 | (codice >> 12));
    s += static_cast<char>(0x80 | ((codice >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (codice & 0x3F));
  }
}

// Reads "HH:MM:SS(.fff)" at the start of `t` as a fraction of a day.
std::optional<double> FrazioneDaOra(std::string_view t) {
  if (t.size() < 5 || t[2] != ':') return std::nullopt;
  int ore = 0, minuti = 0;
  double secondi = 0;
  if (std::from_chars(t.data(), t.data() + 2, ore).ptr != t.data() + 2) return std::nullopt;
  if (std::from_chars(t.data() + 3, t.data() + 5, minuti).ptr != t.data() + 5) return std::nullopt;
  if (t.size() > 5) {
    if (t[5] != ':') return std::nullopt;
    std::string_view resto = t.substr(6);
    while (!resto.empty() && (resto.back() == 'Z' || resto.back() == 'z')) resto.remove_suffix(1);
    const auto [fine, err] = std::from_chars(resto.data(), resto.data() + resto.size(), secondi);
    if (err != std::errc() || fine != resto.data() + resto.size()) return std::nullopt;
  }
  if (ore > 23 || minuti > 59 || secondi < 0 || secondi >= 61) return std::nullopt;
  return (ore * 3600.0 + minuti * 60.0 + secondi) / 86400.0;
}

// A plain decimal ("45658", "100.37", "-2.5") of at most 15 digits, as nearly every number cell
// holds: its digits make a whole number below 2^53, and one division by an exact power of ten
// rounds it correctly, so the result is the one from_chars gives. nullopt for any other text.
std::optional<double> DecimaleSemplice(std::string_view t) {
  static constexpr double kPotenze[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  const bool negativo = !t.empty() && t.front() == '-';
  if (negativo) t.remove_prefix(1);
  std::uint64_t cifre = 0;
  int quante = 0, decimali = -1;
  for (std::size_t i = 0; i < t.size(); ++i) {
    const char c = t[i];
    if (c >= '0' && c <= '9') {
      cifre = cifre * 10 + static_cast<std::uint64_t>(c - '0');
      if (++quante > 15) return std::nullopt;
      if (decimali >= 0) ++decimali;
    } else if (c == '.' && decimali < 0 && i > 0 && i + 1 < t.size()) {
      decimali = 0;
    } else {
      return std::nullopt;
    }
  }
  if (quante == 0) return std::nullopt;
  const double n = static_cast<double>(cifre) / kPotenze[decimali < 0 ? 0 : decimali];
  return negativo ? -n : n;
}

}  // namespace

std::string DecodificaEscapeX(std::string_view testo) {
  if (testo.find("_x") == std::string_view::npos) return std::string(testo);
  std::string out;
  out.reserve(testo.size());
  for (std::size_t i = 0; i < testo.size();) {
    if (testo[i] == '_' && i + 6 < testo.size() && testo[i + 1] == 'x' && testo[i + 6] == '_') {
      unsigned codice = 0;
      bool valido = true;
      for (std::size_t k = i + 2; k < i + 6; ++k) {
        const int h = Esadecimale(testo[k]);
        if (h < 0) {
          valido = false;
          break;
        }
        codice = codice * 16 + static_cast<unsigned>(h);
      }
      if (valido) {
        AggiungiUtf8(out, codice);
        i += 7;
        continue;
      }
    }
    out += testo[i++];
  }
  return out;
}

std::optional<long long> LeggiIntero(std::string_view testo) {
  const std::string_view t = Rifila(testo);
  long long n = 0;
  const auto [fine, err] = std::from_chars(t.data(), t.data() + t.size(), n);
  if (t.empty() || err != std::errc() || fine != t.data() + t.size()) return std::nullopt;
  return n;
}

std::optional<double> LeggiDecimale(std::string_view testo) {
  std::string_view t = Rifila(testo);
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  if (const auto semplice = DecimaleSemplice(t)) return semplice;
  double n = 0;
  const auto [fine, err] = std::from_chars(t.data(), t.data() + t.size(), n);
  if (t.empty() || err != std::errc() || fine != t.data() + t.size() || !std::isfinite(n))
    return std::nullopt;
  return n;
}

std::optional<long long> ColonnaDiRiferimento(std::string_view riferimento) {
  long long colonna = 0;
  std::size_t i = 0;
  for (; i < riferimento.size(); ++i) {
    char c = riferimento[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c < 'A' || c > 'Z') break;
    if (colonna < 1'000'000'000) colonna = colonna * 26 + (c - 'A' + 1);
  }
  if (i == 0) return std::nullopt;
  return colonna;
}

std::optional<double> SerialeDaIso(std::string_view testo) {
  const std::string_view t = Rifila(testo);
  if (t.size() < 10 || t[4] != '-' || t[7] != '-') return std::nullopt;
  const auto data = Data::DaTesto(t.substr(0, 10));
  if (!data) return std::nullopt;
  double seriale = static_cast<double>(data->Seriale());
  if (t.size() > 10) {
    if (t[10] != 'T' && t[10] != ' ') return std::nullopt;
    const auto frazione = FrazioneDaOra(t.substr(11));
    if (!frazione) return std::nullopt;
    seriale += *frazione;
  }
  return seriale;
}

std::optional<double> FrazioneDaDurata(std::string_view testo) {
  std::string_view t = Rifila(testo);
  bool negativa = false;
  if (!t.empty() && t.front() == '-') {
    negativa = true;
    t.remove_prefix(1);
  }
  if (t.size() < 2 || t[0] != 'P') return std::nullopt;
  t.remove_prefix(1);
  double secondi = 0;
  bool tempo = false;
  while (!t.empty()) {
    if (t.front() == 'T') {
      tempo = true;
      t.remove_prefix(1);
      continue;
    }
    double n = 0;
    const auto [fine, err] = std::from_chars(t.data(), t.data() + t.size(), n);
    if (err != std::errc() || fine == t.data() + t.size()) return std::nullopt;
    const char unita = *fine;
    t.remove_prefix(static_cast<std::size_t>(fine - t.data()) + 1);
    if (unita == 'D' && !tempo)
      secondi += n * 86400;
    else if (unita == 'H' && tempo)
      secondi += n * 3600;
    else if (unita == 'M' && tempo)
      secondi += n * 60;
    else if (unita == 'S' && tempo)
      secondi += n;
    else
      return std::nullopt;
  }
  return (negativa ? -secondi : secondi) / 86400.0;
}

}  // namespace fcl
