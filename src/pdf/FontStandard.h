#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace fcl {

// One of the standard PDF fonts as the writer uses it: the names written into the file, the line
// metrics and the width of every character code. No font program is ever embedded; viewers draw
// these fonts from their own built-in sets, so the widths here only serve to align and wrap text.
struct FontStandard {
  std::string chiave;       // upper-cased resource name, with the encoding it identifies the font
  std::string nomeRisorsa;  // after /Name and in the Tf operator: "Arial,Bold", "MACTimesNewRoman"
  std::string nomeBase;     // after /BaseFont: "Arial,Bold"
  bool simbolico = false;   // Symbol and ZapfDingbats: no /Encoding entry
  int altezza = 0;          // line height, thousandths of the size
  int discesa = 0;          // baseline to bottom of the line slot, negative
  int codifica = 0;         // 1 Macintosh, anything else Windows
  const std::array<std::uint16_t, 256>* larghezze = nullptr;

  // The font that SetFont selects for a name ("Arial", "Times", "Helvetica", "Courier New"...,
  // blanks and case ignored; any other name is drawn with the Arial metrics), a style (bit 1 bold,
  // bit 2 italic; the other bits do not change the font) and an encoding.
  static FontStandard Risolvi(std::string_view nome, long stile, long codifica);

  // Sum of the widths of the characters of a Windows-1252 text, in thousandths of the size.
  long long Larghezza(std::string_view cp1252) const {
    long long w = 0;
    for (const char c : cp1252) w += (*larghezze)[static_cast<unsigned char>(c)];
    return w;
  }
  int LarghezzaCarattere(unsigned char c) const { return (*larghezze)[c]; }
};

}  // namespace fcl
