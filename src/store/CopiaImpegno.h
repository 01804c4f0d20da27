#pragma once

#include "common/Contesto.h"
#include "store/RecordImpegno.h"

namespace fcl {

// "Copia in tutti": gives every operator of COPE, the current one included, one ITT row whose DES
// is the commitment record built from `impegno` (the values shown for the current operator). Asks
// for confirmation first; returns false when the user answers No. Runs in one transaction, so a
// failing statement leaves every commitment row as it was and throws ErroreDatabase. An operator
// that had more than one ITT row is left with exactly one.
bool CopiaImpegno(Contesto& ctx, const RecordImpegno& impegno);

}  // namespace fcl
