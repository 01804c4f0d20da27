#pragma once

#include <array>
#include <string>

namespace fcl {

// The 25 cells A..Y of one data row as the run reads them: each cell as text, trimmed. Index 0 is
// column A, 24 is column Y.
inline constexpr int kColonneRiga = 25;
using CelleRiga = std::array<std::string, kColonneRiga>;

// "A" for index 0 ... "Y" for index 24.
inline char LetteraColonna(int indice) { return static_cast<char>('A' + indice); }

}  // namespace fcl
