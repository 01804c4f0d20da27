#pragma once

#include <functional>
#include <string_view>

#include "common/Contesto.h"
#include "workbook/CelleRiga.h"
#include "workbook/DefinizioneQuadro.h"
#include "workbook/RecordDettaglio.h"

namespace fcl {

// Told of a cell that cannot be encoded: its column (0 = A) and what is wrong, in Italian.
using SegnalaCella = std::function<void(int colonna, std::string_view descrizione)>;

// Encodes one data row of `quadro` into `record`: opens the row in the record, then writes each
// column of the quadro's table (of the current or earlier FR layout) that passes the skip rule and
// its condition, raises the import counters of the columns written, and reports through `segnala`
// every cell whose value cannot be encoded (that field is not written). `celle` are the row cells
// after the upper-casing; zero-padding replaces cells in place.
void CodificaRiga(const DefinizioneQuadro& quadro, bool layoutFRCorrente, CelleRiga& celle,
                  bool zeri, RecordDettaglio& record, TotaliImport& totali,
                  const SegnalaCella& segnala);

}  // namespace fcl
