#pragma once

#include "common/Contesto.h"
#include "store/Database.h"

namespace fcl {

// The first-start copy: the operators of a linked database (COPE, same layout as ours) into this
// system's COPE, found or added by their code (normalised, compared without case), and the linked
// commitment rows (CTAB type "ITT") in place of ours. The linked tables are read as
// LettoreTabella reads another program's file (real tables only, bounded). A code the register
// would refuse (empty, "../../..", 5,000 characters) is not copied and is named in a notice; a
// column the linked table lacks is skipped, a row that fails is skipped and the rest goes on,
// and the user hears of such rows through a notice. A linked table past the reader's limits copies
// nothing (one transaction) and says why. Returns the number of operators stored.
int CopiaOperatoriCollegati(Contesto& ctx, Database& origine);

}  // namespace fcl
