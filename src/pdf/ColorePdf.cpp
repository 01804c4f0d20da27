#include "pdf/ColorePdf.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <utility>
#include <vector>

#include "pdf/FormatoPdf.h"

namespace fcl {

namespace {

constexpr std::pair<std::string_view, std::string_view> kNomi[] = {
    {"BLACK", "#000000"},     {"GRAY", "#808080"},        {"SILVER", "#C0C0C0"},
    {"WHITE", "#FFFFFF"},     {"MAROON", "#800000"},      {"RED", "#FF0000"},
    {"PURPLE", "#800080"},    {"FUCHSIA", "#FF00FF"},     {"MAGENTA", "#FF00FF"},
    {"GREEN", "#008000"},     {"LIME", "#00FF00"},        {"OLIVE", "#808000"},
    {"YELLOW", "#FFFF00"},    {"NAVY", "#000080"},        {"BLUE", "#0000FF"},
    {"TEAL", "#008080"},      {"AQUA", "#00FFFF"},        {"CYAN", "#00FFFF"},
    {"ORANGE", "#FF7F00"},    {"AZURE", "#F0FFFF"},       {"GOLD", "#FFD700"},
    {"LIGHTBLUE", "#ADD8E6"}, {"LIGHTCYAN", "#E0FFFF"},   {"LIGHTGREEN", "#90EE90"},
    {"LIGHTPINK", "#FFB6C1"}, {"LIGHTYELLOW", "#FFFFE0"}, {"TOMATO", "#FF6347"},
    {"VIOLET", "#EE82EE"},    {"PINK", "#FFC0CB"},        {"IVORY", "#FFFFF0"},
    {"DARKGRAY", "#A9A9A9"},  {"DARKCYAN", "#008B8B"},    {"DARKBLUE", "#00008B"},
    {"BROWN", "#A52A2A"},     {"BEIGE", "#F5F5DC"},
};

std::string_view Rifila(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

std::string Maiuscolo(std::string_view s) {
  std::string m(s);
  for (char& c : m) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return m;
}

int Esadecimale(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<double> Numero(std::string_view s) {
  std::string t(Rifila(s));
  std::replace(t.begin(), t.end(), ',', '.');
  if (!t.empty() && t.front() == '+') t.erase(0, 1);
  double v = 0;
  const auto r = std::from_chars(t.data(), t.data() + t.size(), v);
  if (t.empty() || r.ec != std::errc() || r.ptr != t.data() + t.size()) return std::nullopt;
  return v;
}

int Limita(double v) { return static_cast<int>(std::clamp(v, 0.0, 255.0)); }

// One colour without the "name;colour" form: nullopt when it is no colour.
std::optional<std::array<int, 3>> Semplice(std::string_view testo) {
  const std::string m = Maiuscolo(Rifila(testo));
  if (m.empty()) return std::nullopt;
  std::string_view hex = m;
  for (const auto& [nome, valore] : kNomi)
    if (m == nome) hex = valore;
  if (hex.front() == '#') {
    if (hex.size() < 7) return std::nullopt;
    std::array<int, 3> c{};
    for (int i = 0; i < 3; ++i) {
      const int a = Esadecimale(hex[1 + 2 * i]), b = Esadecimale(hex[2 + 2 * i]);
      if (a < 0 || b < 0) return std::nullopt;
      c[i] = a * 16 + b;
    }
    return c;
  }
  if (m.front() == '%') {
    const auto n = Numero(std::string_view(m).substr(1));
    if (!n) return std::nullopt;
    const int livello = Limita(255 - std::trunc(*n * 255 / 100));
    return std::array<int, 3>{livello, livello, livello};
  }
  if (m.front() == '@') {
    std::vector<double> v;
    std::string_view resto = std::string_view(m).substr(1);
    while (true) {
      const auto p = resto.find(';');
      const auto n = Numero(resto.substr(0, p));
      if (!n) return std::nullopt;
      v.push_back(*n);
      if (p == std::string_view::npos) break;
      resto.remove_prefix(p + 1);
    }
    if (v.size() == 4) {
      auto canale = [&](double x) {
        return Limita(std::round(std::fabs(100 - (x + v[3])) * 2.55));
      };
      return std::array<int, 3>{canale(v[0]), canale(v[1]), canale(v[2])};
    }
    if (v.size() == 3) return std::array<int, 3>{Limita(v[0]), Limita(v[1]), Limita(v[2])};
    return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace

std::optional<ColorePdf> ColorePdf::Da(std::string_view testo) {
  // "name;colour": the part before ";" counts when it is a colour; otherwise it would name a
  // pattern.
  const std::string_view t = Rifila(testo);
  const auto c = Semplice(!t.empty() && t.front() == '@' ? t : t.substr(0, t.find(';')));
  if (!c) return std::nullopt;
  ColorePdf colore;
  colore.testo = std::string(testo);
  colore.rosso = (*c)[0];
  colore.verde = (*c)[1];
  colore.blu = (*c)[2];
  for (int i = 0; i < 3; ++i) {
    if (i > 0) colore.componenti.push_back(' ');
    AggiungiNumeroPdf(colore.componenti, (*c)[i] / 255.0);
  }
  return colore;
}

}  // namespace fcl
