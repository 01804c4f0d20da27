#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace fcl {

// Number formatting and parsing under the Italian conventions, never through the process locale.

// Up to 15 significant digits, decimal comma, no thousands separator, no trailing zero decimals:
// 1234.5 -> "1234,5", 12 -> "12", 0.1 + 0.2 -> "0,3".
std::string NumeroItaliano(double valore);

// The pattern "#########.##": at most two decimals, a decimal comma always present, no leading zero:
// 1234.5 -> "1234,5", 12 -> "12,", 0 -> ",", 0.5 -> ",5".
std::string NumeroDueDecimali(double valore);

// Adds "." every three digits of the whole part of a number text ("1234567,5" -> "1.234.567,5").
std::string ConSeparatoreMigliaia(std::string_view numero);

// Reads a number written with a decimal comma (an optional sign, digits, an optional comma and
// decimals; a "." is taken as a thousands separator only in groups of three). Surrounding blanks are
// ignored. nullopt when the text is not such a number.
std::optional<double> LeggiNumeroItaliano(std::string_view testo);

}  // namespace fcl
