#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "common/Interazione.h"

namespace fcl {

// The parts of the input windows' shared routines that need no screen: the colours of input boxes,
// the centring of a field error's message, the question before overwriting a file.

// An RGB colour.
struct Colore {
  int rosso = 0;
  int verde = 0;
  int blu = 0;
  friend bool operator==(const Colore&, const Colore&) = default;
};

// Background of an input box while it has the focus (light yellow) and afterwards (white); a box in
// error is red with white text while its message is on screen.
inline constexpr Colore kColoreFocus{255, 255, 192};
inline constexpr Colore kColoreNormale{255, 255, 255};
inline constexpr Colore kColoreErrore{255, 0, 0};
inline constexpr Colore kColoreTestoErrore{255, 255, 255};

// Title of the message box of a field error.
inline constexpr std::string_view kTitoloErroreCampo = "Errore";
// Message of a date box whose text is no date.
inline constexpr std::string_view kDataNonValida = "Data non valida";

// A field error's message as the box shows it: a message shorter than 50 characters is surrounded
// on both sides by 50 - length / 2 blanks (rounded to the nearest whole number, halves to the even
// one), so that short messages sit in the middle of a box of constant width.
std::string CentraMessaggio(std::string_view messaggio);

// Before a file is written over: false when no file exists at `percorso`; otherwise asks whether to
// overwrite it and returns true when the user refuses.
bool ConfermaSovrascrittura(const std::filesystem::path& percorso, Interazione& ui);

}  // namespace fcl
