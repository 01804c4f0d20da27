#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace fcl {

// A colour of the PDF writer, resolved from one of the colour texts the callers pass: "#RRGGBB",
// "%N" (ink percentage of grey), "@C;M;Y;K" or "@R;G;B", or one of the 34 colour names ("Blue",
// "black", " Black "...; case and surrounding blanks do not matter). `componenti` is the text the
// colour operators are written with ("0 0 1" for blue).
struct ColorePdf {
  std::string testo;                  // the text as the caller gave it
  int rosso = 0, verde = 0, blu = 0;  // 0-255
  std::string componenti;             // "r g b", each component / 255 in the writer's number format

  // Resolves a colour text; nullopt when it is empty or names no colour (the writer then ignores
  // it: it draws no patterns, so a pattern name could only produce a broken file).
  static std::optional<ColorePdf> Da(std::string_view testo);
};

}  // namespace fcl
