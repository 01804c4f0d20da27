#pragma once

#include <string_view>

#include "common/Contesto.h"

namespace fcl {

// Fills `ctx.operatoreCorrente` from the database for the operator whose fiscal code is `cf`
// (trimmed, upper-cased: codes are stored in upper case): fiscal code, display name (the company
// name, or surname immediately followed by first name), fiscal code and VAT number as typed, and
// the commitment data of the operator's "ITT" row in CTAB (intermediary 1-16, assistance centre
// number 17-21, who prepared the communication at 22, commitment date 23-32). Without an
// intermediary the who-prepared code is "0". Returns false, leaving the current operator empty,
// when no operator has that code. Database failures throw ErroreDatabase.
bool CaricaOperatoreCorrente(Contesto& ctx, std::string_view cf);

}  // namespace fcl
