#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "batch/ElencoLotto.h"
#include "batch/OpzioniLotto.h"
#include "common/Contesto.h"

namespace fcl {

// Where a row of a batch stands.
enum class StatoRiga { InAttesa, InCorso, Creata, CreataConErrori, NonCreata };

// The summary's word for a finished row (creata, creata_con_errori, non_creata) and the window's
// caption for every state (in attesa, in corso, creata, con errori, non creata).
std::string_view EsitoPerRiepilogo(StatoRiga stato);
std::string_view DidascaliaStato(StatoRiga stato);

// What a row of a batch came to.
struct EsitoRiga {
  StatoRiga stato = StatoRiga::InAttesa;
  std::string codiceFiscale;
  std::string denominazione;
  int righeLette = 0;
  long long erroriVerifica = 0;
  long long avvertimentiVerifica = 0;
  std::filesystem::path fileComunicazione;  // empty when none was written
  std::string messaggio;                    // why it was not created, or what to look at
};

// The stop requests a batch passes to its rows: `fermaRighe` stops starting rows (read by the
// batch), `interrompi` also stops the running ones at their next progress report, removing what
// they had begun to write.
struct RichiestaStop {
  std::atomic<bool> fermaRighe{false};
  std::atomic<bool> interrompi{false};
};

// Runs one row: the whole main road of the `crea` command for its operator, with a context, a
// database connection (read only, on the register of `base`), an interaction and the intermediate
// file `intermedio` of its own, so that rows can run side by side on threads. The check listing,
// the communication file, the cover and the check report go into uscita/<codice fiscale>/ with the
// names the workbook run proposes. Every question is answered from the options (overwrite with
// `sovrascrivi`, keep a file the check refuses with `conservaConErrori`): never a prompt. Never
// throws: whatever stops the row is its outcome's message. `avanzamento` (may be empty) hears the
// workbook rows read so far.
EsitoRiga EseguiRigaLotto(const Contesto& base, const RigaElenco& riga, const OpzioniLotto& opzioni,
                          const std::filesystem::path& intermedio, const RichiestaStop& stop,
                          const std::function<void(long long righe)>& avanzamento = {});

}  // namespace fcl
