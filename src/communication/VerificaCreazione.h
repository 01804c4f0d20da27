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

// Where the user corrects what a finding on record A or B comes from: a field of the register
// ("nel registro dei soggetti, ...") or a choice of the creation window; empty for the findings
// that come from the rows of the workbook (the sheet, row and column name them).
std::string OrigineRilievo(const Rilievo& rilievo);

// The question asked when the check found errors; true when the user keeps the file anyway. It
// names where each error is corrected: the register's field, the creation window, or the sheet,
// row and column of the workbook.
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
