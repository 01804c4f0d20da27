#include "common/FormatoItaliano.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace fcl {
namespace {

std::string_view Rifila(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// A value with at most two decimals below 10^13 (an amount, a count, a date serial), written by
// hand: it is the double nearest to c/100 for a whole c of at most 15 digits, so rounding it to 15
// significant digits, as %.15g does, gives c/100 exactly. False for any other value.
bool DueDecimali(double valore, std::string& s) {
  if (!(std::fabs(valore) < 1e13)) return false;
  const double centesimi = std::round(valore * 100);
  if (centesimi / 100 != valore) return false;
  auto n = static_cast<long long>(centesimi);
  char buf[24];
  char* p = buf + sizeof buf;
  const bool negativo = n < 0;
  if (negativo) n = -n;
  const int decimi = static_cast<int>(n / 10 % 10), unita = static_cast<int>(n % 10);
  if (unita != 0) *--p = static_cast<char>('0' + unita);
  if (decimi != 0 || unita != 0) *--p = static_cast<char>('0' + decimi);
  if (p != buf + sizeof buf) *--p = ',';
  long long intero = n / 100;
  do {
    *--p = static_cast<char>('0' + intero % 10);
    intero /= 10;
  } while (intero != 0);
  if (negativo) *--p = '-';
  s.assign(p, static_cast<std::size_t>(buf + sizeof buf - p));
  return true;
}

}  // namespace

std::string NumeroItaliano(double valore) {
  if (std::isnan(valore) || std::isinf(valore)) return "0";
  if (std::string s; DueDecimali(valore, s)) return s;
  char buf[64];
  // 15 significant digits without trailing zeros, exactly as printf's %.15g writes them (but
  // several times faster: every number cell of a run goes through here); exponent form for very
  // large or very small values, which we expand by hand.
  const auto fine =
      std::to_chars(buf, buf + sizeof buf, valore, std::chars_format::general, 15).ptr;
  std::string s(buf, fine);
  const auto e = s.find('e');
  if (e != std::string::npos) {
    // Expand "d.ddde+XX" to plain digits, keeping the 15 significant digits and no more.
    std::string segno;
    std::string mantissa = s.substr(0, e);
    if (mantissa[0] == '-') {
      segno = "-";
      mantissa.erase(0, 1);
    }
    const int esponente = std::stoi(s.substr(e + 1));
    std::string cifre;
    for (const char c : mantissa)
      if (c != '.') cifre += c;
    const int punto = 1 + esponente;  // digits before the decimal point
    if (punto <= 0) {
      s = segno + "0." + std::string(static_cast<std::size_t>(-punto), '0') + cifre;
    } else if (static_cast<std::size_t>(punto) >= cifre.size()) {
      s = segno + cifre + std::string(static_cast<std::size_t>(punto) - cifre.size(), '0');
    } else {
      s = segno + cifre.substr(0, static_cast<std::size_t>(punto)) + "." + cifre.substr(static_cast<std::size_t>(punto));
    }
  }
  if (s == "-0") s = "0";
  for (char& c : s) {
    if (c == '.') c = ',';
  }
  return s;
}

std::string NumeroDueDecimali(double valore) {
  if (std::isnan(valore) || std::isinf(valore)) valore = 0;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.2f", valore);
  std::string s = buf;
  bool negativo = false;
  if (!s.empty() && s[0] == '-') {
    negativo = true;
    s.erase(0, 1);
  }
  while (s.back() == '0') s.pop_back();  // trailing decimal zeros; the '.' stops it
  const auto punto = s.find('.');
  s[punto] = ',';
  if (s.compare(0, 2, "0,") == 0) s.erase(0, 1);
  if (negativo && s != ",") s.insert(0, "-");
  return s;
}

std::string ConSeparatoreMigliaia(std::string_view numero) {
  std::size_t inizio = (!numero.empty() && (numero[0] == '-' || numero[0] == '+')) ? 1 : 0;
  std::size_t fine = numero.find(',');
  if (fine == std::string_view::npos) fine = numero.size();
  std::string out(numero.substr(0, inizio));
  const std::size_t cifre = fine - inizio;
  for (std::size_t k = 0; k < cifre; ++k) {
    if (k > 0 && (cifre - k) % 3 == 0) out += '.';
    out += numero[inizio + k];
  }
  out += numero.substr(fine);
  return out;
}

std::optional<double> LeggiNumeroItaliano(std::string_view testo) {
  std::string_view t = Rifila(testo);
  if (t.empty()) return std::nullopt;
  std::string pulito;
  std::size_t i = 0;
  if (t[0] == '-' || t[0] == '+') {
    if (t[0] == '-') pulito += '-';
    i = 1;
  }
  const std::size_t virgola = t.find(',');
  const std::string_view intera = t.substr(i, virgola == std::string_view::npos ? t.npos : virgola - i);
  // The whole part: digits, with "." allowed only between groups of three digits.
  std::size_t gruppo = 0;
  bool conPunti = intera.find('.') != std::string_view::npos;
  if (intera.empty() && virgola == std::string_view::npos) return std::nullopt;
  for (std::size_t k = 0; k < intera.size(); ++k) {
    const char c = intera[k];
    if (c >= '0' && c <= '9') {
      pulito += c;
      ++gruppo;
    } else if (c == '.' && conPunti) {
      if (gruppo == 0 || (k != intera.find('.') && gruppo != 3) || gruppo > 3) return std::nullopt;
      gruppo = 0;
    } else {
      return std::nullopt;
    }
  }
  if (conPunti && gruppo != 3) return std::nullopt;
  if (virgola != std::string_view::npos) {
    const std::string_view dec = t.substr(virgola + 1);
    if (dec.empty() && intera.empty()) return std::nullopt;
    pulito += '.';
    for (const char c : dec) {
      if (c < '0' || c > '9') return std::nullopt;
      pulito += c;
    }
  }
  double valore = 0;
  const auto [fine, err] = std::from_chars(pulito.data(), pulito.data() + pulito.size(), valore);
  if (err != std::errc() || fine != pulito.data() + pulito.size()) return std::nullopt;
  return valore;
}

}  // namespace fcl
