#include "common/Valore.h"

#include <charconv>
#include <cstdio>

#include "common/FormatoItaliano.h"

namespace fcl {
namespace {

bool Bisestile(int anno) { return (anno % 4 == 0 && anno % 100 != 0) || anno % 400 == 0; }

int GiorniMese(int anno, int mese) {
  static constexpr int kGiorni[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return mese == 2 && Bisestile(anno) ? 29 : kGiorni[mese - 1];
}

// Days from 1970-01-01 of a proleptic Gregorian date (Howard Hinnant's algorithm).
long long GiorniDaEpoca(int y, int m, int d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

Data DataDaEpoca(long long z) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int y = static_cast<int>(yoe + era * 400 + (m <= 2));
  return Data{y, m, d};
}

const long long kEpocaZero = GiorniDaEpoca(1899, 12, 30);

// Reads 1..maxCifre digits into `n`; returns the position after them, or npos.
std::size_t Cifre(std::string_view t, std::size_t i, std::size_t minCifre, std::size_t maxCifre,
                  int& n) {
  std::size_t j = i;
  while (j < t.size() && j - i < maxCifre && t[j] >= '0' && t[j] <= '9') ++j;
  if (j - i < minCifre) return std::string_view::npos;
  std::from_chars(t.data() + i, t.data() + j, n);
  return j;
}

}  // namespace

bool Data::Valida() const {
  return anno >= 1 && anno <= 9999 && mese >= 1 && mese <= 12 && giorno >= 1 &&
         giorno <= GiorniMese(anno, mese);
}

std::string Data::Testo() const {
  if (anno >= 0 && anno <= 9999 && mese >= 0 && mese <= 99 && giorno >= 0 && giorno <= 99) {
    // Every date of a workbook comes here: the digits by hand, as printf would write them.
    const char testo[10] = {static_cast<char>('0' + giorno / 10),
                            static_cast<char>('0' + giorno % 10),
                            '/',
                            static_cast<char>('0' + mese / 10),
                            static_cast<char>('0' + mese % 10),
                            '/',
                            static_cast<char>('0' + anno / 1000),
                            static_cast<char>('0' + anno / 100 % 10),
                            static_cast<char>('0' + anno / 10 % 10),
                            static_cast<char>('0' + anno % 10)};
    return std::string(testo, sizeof testo);
  }
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", giorno, mese, anno);
  return buf;
}

std::string Data::Iso() const {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", anno, mese, giorno);
  return buf;
}

long long Data::Seriale() const { return GiorniDaEpoca(anno, mese, giorno) - kEpocaZero; }

Data Data::DaSeriale(long long giorni) { return DataDaEpoca(giorni + kEpocaZero); }

std::optional<Data> Data::DaTesto(std::string_view t) {
  Data d;
  std::size_t i = 0;
  if (t.size() == 10 && t[4] == '-' && t[7] == '-') {
    i = Cifre(t, 0, 4, 4, d.anno);
    if (i != 4 || Cifre(t, 5, 2, 2, d.mese) != 7 || Cifre(t, 8, 2, 2, d.giorno) != 10)
      return std::nullopt;
    return d.Valida() ? std::optional<Data>(d) : std::nullopt;
  }
  i = Cifre(t, 0, 1, 2, d.giorno);
  if (i == std::string_view::npos || i >= t.size() || t[i] != '/') return std::nullopt;
  i = Cifre(t, i + 1, 1, 2, d.mese);
  if (i == std::string_view::npos || i >= t.size() || t[i] != '/') return std::nullopt;
  i = Cifre(t, i + 1, 4, 4, d.anno);
  if (i != t.size()) return std::nullopt;
  return d.Valida() ? std::optional<Data>(d) : std::nullopt;
}

std::string ValoreComeTesto(const Valore& v) {
  struct Visitatore {
    std::string operator()(std::monostate) const { return {}; }
    std::string operator()(std::int64_t n) const { return std::to_string(n); }
    std::string operator()(double x) const { return NumeroItaliano(x); }
    std::string operator()(const std::string& s) const { return s; }
    std::string operator()(const Data& d) const { return d.Testo(); }
  };
  return std::visit(Visitatore{}, v);
}

}  // namespace fcl
