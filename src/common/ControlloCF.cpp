#include "common/ControlloCF.h"

#include <string>

#include "common/Cp1252.h"

namespace fcl {
namespace {

char Maiuscola(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

// 1-based position of `c` in `tabella`, 0 when absent.
int Posizione(std::string_view tabella, char c) {
  const auto p = tabella.find(c);
  return p == std::string_view::npos ? 0 : static_cast<int>(p) + 1;
}

}  // namespace

int ControlloCF(std::string_view testoUtf8) {
  const std::string testo = Utf8ToCp1252(testoUtf8);
  if (testo.size() == 11) {
    for (const char c : testo) {
      const char m = Maiuscola(c);
      if (m >= 'A' && m <= 'Z') return 1;
    }
    return 0;
  }
  std::string cf;
  for (const char c : testo) cf += Maiuscola(c);
  cf += std::string(16, ' ');
  cf.resize(16);

  static constexpr std::string_view kCifrePari = "0123456789";
  static constexpr std::string_view kLetterePari = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  static constexpr std::string_view kCifreDispari = "10   2 3 4   5 6 7 8 9    ";
  static constexpr std::string_view kLettereDispari = "BAKPLCQDREVOSFTGUHMINJWZYX";

  int s = 0;
  for (int pos = 1; pos <= 15; ++pos) {
    const char c = cf[pos - 1];
    const bool cifra = c >= '0' && c <= '9';
    const bool lettera = c >= 'A' && c <= 'Z';
    if (pos % 2 == 0) {
      if (cifra) s += Posizione(kCifrePari, c);
      if (lettera) s += Posizione(kLetterePari, c);
    } else {
      if (cifra) s += Posizione(kCifreDispari, c);
      if (lettera) s += Posizione(kLettereDispari, c);
    }
  }
  const int atteso = 65 + (s - 15) % 26;  // C++ remainder takes the sign of the dividend
  return static_cast<unsigned char>(cf[15]) == atteso ? 0 : atteso;
}

}  // namespace fcl
