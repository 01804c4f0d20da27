#pragma once

#include <string_view>

#include "verifica/Rilievo.h"

namespace fcl {

// The severity of each rule of the check and a short name for it (used by tests and by anyone who
// filters findings). The table lives in Regole.cpp.
Gravita GravitaRegola(Regola regola);
std::string_view NomeRegola(Regola regola);

}  // namespace fcl
