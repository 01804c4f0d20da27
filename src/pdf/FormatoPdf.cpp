#include "pdf/FormatoPdf.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace fcl {

void AggiungiNumeroPdf(std::string& uscita, double valore) {
  double arrotondato = std::round(valore * 1000.0) / 1000.0;
  // A value a float cannot hold is written as 0, as an infinity is.
  if (!(std::fabs(arrotondato) <= std::numeric_limits<float>::max())) arrotondato = 0;
  float f = static_cast<float>(arrotondato);
  if (f == 0.0f) f = 0.0f;  // no negative zero
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, f, std::chars_format::fixed, 3);
  char* fine = r.ptr;
  // Trailing zeros and a bare point go away: "842.000" -> "842", "0.500" -> "0.5".
  while (fine > buf && fine[-1] == '0') --fine;
  if (fine > buf && fine[-1] == '.') --fine;
  std::string_view testo(buf, static_cast<std::size_t>(fine - buf));
  if (testo == "-0") testo = "0";
  uscita.append(testo);
}

std::string NumeroPdf(double valore) {
  std::string s;
  AggiungiNumeroPdf(s, valore);
  return s;
}

char* ScriviStringaPdf(char* w, std::string_view valore) {
  // The escape of each byte that needs one; any other byte is copied as it is.
  static constexpr auto kFuga = [] {
    std::array<char, 256> f{};
    f['\\'] = '\\';
    f['('] = '(';
    f[')'] = ')';
    f['\r'] = 'r';
    f['\n'] = 'n';
    return f;
  }();
  *w++ = '(';
  const char* p = valore.data();
  const char* const fine = p + valore.size();
  const char* inizio = p;
  for (; p != fine; ++p) {
    const char fuga = kFuga[static_cast<unsigned char>(*p)];
    if (fuga == 0) continue;
    w = std::copy(inizio, p, w);
    *w++ = '\\';
    *w++ = fuga;
    inizio = p + 1;
  }
  w = std::copy(inizio, fine, w);
  *w++ = ')';
  return w;
}

void AggiungiStringaPdf(std::string& s, std::string_view valore) {
  const std::size_t prima = s.size();
  s.resize(prima + 2 * valore.size() + 2);
  s.resize(static_cast<std::size_t>(ScriviStringaPdf(s.data() + prima, valore) - s.data()));
}

std::string StringaPdf(std::string_view valore) {
  std::string s;
  s.reserve(valore.size() + 2);
  AggiungiStringaPdf(s, valore);
  return s;
}

void AggiungiNomePdf(std::string& s, std::string_view nome) {
  static constexpr std::string_view kDelimitatori = "()<>[]{}/%#";
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char c : nome) {
    const auto b = static_cast<unsigned char>(c);
    if (b <= 32 || b >= 127 || kDelimitatori.find(c) != std::string_view::npos) {
      s.push_back('#');
      s.push_back(kHex[b >> 4]);
      s.push_back(kHex[b & 15]);
    } else {
      s.push_back(c);
    }
  }
}

std::string NomePdf(std::string_view nome) {
  std::string s;
  s.reserve(nome.size());
  AggiungiNomePdf(s, nome);
  return s;
}

}  // namespace fcl
