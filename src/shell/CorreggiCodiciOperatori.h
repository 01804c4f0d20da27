#pragma once

#include "common/Contesto.h"

namespace fcl {

// The one-time upgrade of the operator codes already stored (recorded by the CTAB row REL/003):
// a code saved with blanks around it or in lower case (older saves trimmed only the left side,
// older imports kept the source's case) could never be opened again, because every lookup trims
// and compares without case. Each such code of COPE, and of the commitment rows (CTAB "ITT"), is
// stored normalised (common/CodiceOperatore.h).
//
// When the normalised code is already another operator's, the two cannot both stay: the one whose
// code was already right is the one the user has been seeing and keeps its place; the other (its
// COPE row and its CTAB rows with the same code) is written to a backup file in the program folder,
// "CODICE_DOPPIO_<code>_<n>.FCL", then taken out of the database, and the user is told which file
// holds it (restoring that file puts it in place of the first). A commitment row whose code meets
// another's is dropped, its content named in the notice. Nothing is lost and nothing is silent.
// Runs in one transaction: when a file cannot be written, nothing changes and the upgrade is tried
// again at the next start.
void CorreggiCodiciOperatori(Contesto& ctx);

}  // namespace fcl
