#include "common/Cp1252.h"

#include <array>
#include <cstdint>

namespace fcl {
namespace {

// Code points of bytes 0x80..0x9F in Windows-1252; 0 marks the five bytes that hold no character.
constexpr std::array<char32_t, 32> kAlti = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// True when `cp`, decoded from a lead byte and `seguito` continuation bytes, is a well-formed
// UTF-8 sequence: the shortest form of a scalar value.
bool Corretto(char32_t cp, int seguito) {
  static constexpr char32_t kMinimo[] = {0, 0x80, 0x800, 0x10000};
  return cp >= kMinimo[seguito] && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
}

// Decodes one code point at `i`, advancing it; returns U+FFFD for a malformed sequence.
char32_t Decodifica(std::string_view s, std::size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i++]);
  if (b0 < 0x80) return b0;
  int seguito = 0;
  char32_t cp = 0;
  if ((b0 & 0xE0) == 0xC0) {
    seguito = 1;
    cp = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    seguito = 2;
    cp = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    seguito = 3;
    cp = b0 & 0x07;
  } else {
    return 0xFFFD;
  }
  for (int k = 0; k < seguito; ++k) {
    if (i >= s.size()) return 0xFFFD;
    const auto b = static_cast<unsigned char>(s[i]);
    if ((b & 0xC0) != 0x80) return 0xFFFD;
    cp = (cp << 6) | (b & 0x3F);
    ++i;
  }
  // An overlong form ("\xC0\xAF" for "/"), a surrogate or a code point beyond U+10FFFF is not
  // UTF-8: it never decodes to the character it imitates.
  if (!Corretto(cp, seguito)) return 0xFFFD;
  return cp;
}

}  // namespace

void AggiungiUtf8(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

void AggiungiCp1252(std::string_view utf8, std::string& out) {
  std::size_t i = 0;
  while (i < utf8.size()) {
    // A run of ASCII goes over as it is, in one append.
    std::size_t fine = i;
    while (fine < utf8.size() && static_cast<unsigned char>(utf8[fine]) < 0x80) ++fine;
    if (fine > i) {
      out.append(utf8.data() + i, fine - i);
      i = fine;
      if (i == utf8.size()) break;
    }
    const char32_t cp = Decodifica(utf8, i);
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
      out += static_cast<char>(cp);
      continue;
    }
    char c = '?';
    for (std::size_t k = 0; k < kAlti.size(); ++k) {
      if (kAlti[k] != 0 && kAlti[k] == cp) {
        c = static_cast<char>(0x80 + k);
        break;
      }
    }
    out += c;
  }
}

std::string Utf8ToCp1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  AggiungiCp1252(utf8, out);
  return out;
}

std::string Cp1252ToUtf8(std::string_view cp1252) {
  std::string out;
  out.reserve(cp1252.size() + cp1252.size() / 8);
  for (const char ch : cp1252) {
    const auto b = static_cast<unsigned char>(ch);
    if (b < 0x80) {
      out += ch;
    } else if (b < 0xA0) {
      const char32_t cp = kAlti[b - 0x80];
      AggiungiUtf8(cp == 0 ? U'?' : cp, out);
    } else {
      AggiungiUtf8(b, out);
    }
  }
  return out;
}

bool Utf8Valido(std::string_view testo) {
  for (std::size_t i = 0; i < testo.size();) {
    const auto b = static_cast<unsigned char>(testo[i]);
    std::size_t seguito = 0;
    if (b < 0x80)
      seguito = 0;
    else if (b >= 0xC2 && b <= 0xDF)
      seguito = 1;
    else if ((b & 0xF0) == 0xE0)
      seguito = 2;
    else if (b >= 0xF0 && b <= 0xF4)
      seguito = 3;
    else
      return false;
    if (i + seguito >= testo.size() && seguito > 0) return false;
    char32_t cp = seguito == 0 ? b : b & (0x3F >> seguito);
    for (std::size_t k = 1; k <= seguito; ++k) {
      const auto c = static_cast<unsigned char>(testo[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (c & 0x3F);
    }
    if (!Corretto(cp, static_cast<int>(seguito))) return false;
    i += seguito + 1;
  }
  return true;
}

std::size_t LunghezzaUtf8(std::string_view utf8) {
  std::size_t n = 0;
  for (const char ch : utf8) {
    if ((static_cast<unsigned char>(ch) & 0xC0) != 0x80) ++n;
  }
  return n;
}

std::string PrimiCaratteriUtf8(std::string_view utf8, std::size_t n) {
  std::size_t i = 0;
  std::size_t contati = 0;
  while (i < utf8.size() && contati < n) {
    Decodifica(utf8, i);
    ++contati;
  }
  return std::string(utf8.substr(0, i));
}

std::string MaiuscoloUtf8(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    if (b < 0x80) {
      out.push_back(b >= 'a' && b <= 'z' ? static_cast<char>(b - 32) : static_cast<char>(b));
      ++i;
      continue;
    }
    char32_t cp = Decodifica(utf8, i);
    if (cp >= U'a' && cp <= U'z') {
      cp -= 32;
    } else if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7) {
      cp -= 32;  // à..þ -> À..Þ
    } else if (cp == 0xFF) {
      cp = 0x178;
    } else if (cp == 0x161 || cp == 0x17E || cp == 0x153) {
      cp -= 1;  // š ž œ
    }
    AggiungiUtf8(cp, out);
  }
  return out;
}

}  // namespace fcl
