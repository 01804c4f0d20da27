#pragma once

#include <functional>
#include <optional>

#include "common/Contesto.h"

namespace fcl {

// What an operator import did: how many operators it added, how many were already present, how
// many commitment rows (CTAB type "ITT") it copied, how many source rows it could not copy and how
// many it left out because the register would refuse their code.
struct EsitoImportazione {
  int aggiunti = 0;
  int presenti = 0;
  int impegni = 0;
  int falliti = 0;
  int esclusi = 0;
};

// The import from VELA: its operators (COPE, same layout as ours) not yet present are added,
// operators already present stay as they are, and each VELA commitment row replaces ours for the
// same code. Codes are normalised and compared without case; a code the register would refuse
// (empty, too long, characters other than letters and digits) is left out and named in a notice.
// A failed link is told to the user unless ctx.importSilenzioso is set; the user confirms the
// copy. A row that cannot be copied is skipped and counted, and the user hears of such rows
// through a notice. The linked tables are read as LettoreTabella reads another program's file
// (real tables only, bounded): past its limits nothing is copied and the user is told why. nullopt
// when the link failed, the user said No or nothing could be copied. At the end `ricaricaLista`
// (the operators register refilling its list) is called when given.
std::optional<EsitoImportazione> OPEvela_Click(Contesto& ctx,
                                               const std::function<void()>& ricaricaLista = {});

// The import from ORSA: its operators (table OPE: OCF, ORAG, OPIVA, OLOCA, OPR) not yet present
// are added with no surname, first name or birth date; CTAB is not touched. The failed link is
// always told. Otherwise as OPEvela_Click.
std::optional<EsitoImportazione> OPEORSA_Click(Contesto& ctx,
                                               const std::function<void()>& ricaricaLista = {});

}  // namespace fcl
