#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "common/Contesto.h"
#include "verifica/RigaFoglio.h"
#include "verifica/VerificaComunicazione.h"
#include "workbook/Listato.h"

namespace fcl {

// The check that closes every creation: the file just written is read back and checked against
// the published layout before it is kept, so that the user learns of a rejection before sending.

inline constexpr std::string_view kTitoloVerifica = "Verifica della comunicazione";

// Where the rows of the last workbook run began on their sheets.
PrimeRigheFogli PrimeRighe(const TotaliImport& totali);

// The question asked when the check found errors; true when the user keeps the file anyway.
bool ConservaConErrori(Interazione& ui, const EsitoVerifica& verifica,
                       const PrimeRigheFogli& prime, const std::filesystem::path& rapporto);

// The lines added to the completion message: the summary of the check, the warnings (the first
// few) and where the report is.
std::string RiepilogoPerCompletamento(const EsitoVerifica& verifica, const PrimeRigheFogli& prime,
                                      const std::filesystem::path& rapporto);

// The sheet rows of the findings, for the listing's marks (one entry per row, the worst finding).
std::vector<RigaSegnata> RigheDaSegnare(const EsitoVerifica& verifica,
                                        const PrimeRigheFogli& prime);

// Writes the report beside the communication file and marks the listing's rows. A failure of
// either is told to the user and does not undo the creation. Returns the report's path, empty when
// it could not be written.
std::filesystem::path ConcludiVerifica(Interazione& ui, const EsitoVerifica& verifica,
                                       const PrimeRigheFogli& prime,
                                       const std::filesystem::path& comunicazione,
                                       Listato* listato);

}  // namespace fcl
