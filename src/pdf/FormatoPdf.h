#pragma once

#include <string>
#include <string_view>

namespace fcl {

// How the PDF writer puts numbers, strings and names into a file. Nothing here depends on the
// process locale.

// A number rounded to three decimals (halves away from zero), taken as a single-precision value and
// written in plain decimal form with a point: 0.5, -2.835, 842, 28.346. Never "-0", never an
// exponent.
std::string NumeroPdf(double valore);

// Appends NumeroPdf(valore) to `uscita` without a temporary string.
void AggiungiNumeroPdf(std::string& uscita, double valore);
// Room enough for any text NumeroPdf gives (the widest, -340282346638528859811704183484516925440,
// has 40).
inline constexpr std::size_t kNumeroMassimo = 48;

// A literal string: "(" + value + ")" with backslash, "(", ")", CR and LF escaped.
std::string StringaPdf(std::string_view valore);
void AggiungiStringaPdf(std::string& uscita, std::string_view valore);
// Writes it at `w`, which has room for 2 * valore.size() + 2 bytes; returns the end.
char* ScriviStringaPdf(char* w, std::string_view valore);

// A name without its "/": bytes that a PDF name cannot hold as they are (blanks, delimiters, "#",
// controls, bytes above 126) are written as #xx.
std::string NomePdf(std::string_view nome);
void AggiungiNomePdf(std::string& uscita, std::string_view nome);

}  // namespace fcl
