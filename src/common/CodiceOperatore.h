#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace fcl {

// The rules of an operator code (COPE.OCOD, and COD of its commitment row): the code is the
// operator's fiscal code, 16 characters for a person, 11 digits otherwise. Every place that stores
// a code (the register's save, the imports from VELA, ORSA and last year's edition, a restore)
// stores it normalised, and every place that looks one up normalises what it looks for and
// compares without regard to case (statements end their code comparison with kConfrontaCodice),
// so "pf0 " typed, pasted or imported is the operator PF0 and never a second one.

inline constexpr std::size_t kLunghezzaMassimaCodice = 16;

// A code comparison in a statement: "WHERE OCOD=?" + kConfrontaCodice.
inline constexpr std::string_view kConfrontaCodice = " COLLATE NOCASE";

// The code as it is stored: blanks removed on both sides, upper case.
std::string NormalizzaCodice(std::string_view codice);

// Why a normalised code cannot be an operator's code (empty, longer than 16 characters, a
// character other than a letter A-Z or a digit), in Italian; nullopt when it can.
std::optional<std::string> DifettoCodice(std::string_view normalizzato);

// The code as a message names it: in quotes, cut to its first 20 characters (with the length)
// when longer, "(vuoto)" when empty.
std::string CodiceNelMessaggio(std::string_view codice);

}  // namespace fcl
