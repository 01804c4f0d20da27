#pragma once

#include "common/Contesto.h"
#include "store/Database.h"

namespace fcl {

// The first-start copy: the operators of a linked database (COPE, same layout as ours) into this
// system's COPE, found or added by their trimmed code, and the linked commitment rows (CTAB type
// "ITT") in place of ours. A column the linked table lacks is skipped, a row that fails is skipped
// and the rest goes on; rows without a code are not copied. The user hears only of rows that could
// not be copied (a notice). Returns the number of operators stored.
int CopiaOperatoriCollegati(Contesto& ctx, Database& origine);

}  // namespace fcl
