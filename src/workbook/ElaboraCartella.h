#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "common/Contesto.h"
#include "workbook/LettoreCartella.h"
#include "workbook/Listato.h"

namespace fcl {

// The intermediate file of detail records, in the program folder.
inline constexpr std::string_view kFileIntermedio = "FCLtemp.TXT";

// Opens a workbook for reading (ApriCartella in the program; an in-memory workbook in tests).
using ApriCartellaFn =
    std::function<std::unique_ptr<LettoreCartella>(const std::filesystem::path& percorso)>;

enum class EsitoElaborazione {
  Completata,  // the walk ended and read rows: the creation may follow unless erroreData is set
  Vuota,       // the walk ended without a data row (the user was told)
  Annullata,   // the listing dialog was cancelled
  Interrotta,  // the user stopped the walk ("Interrompi"): nothing written, every file as it was
  Fallita,     // the workbook, the listing or the intermediate file failed (the user was told)
};

struct RisultatoElaborazione {
  EsitoElaborazione esito = EsitoElaborazione::Fallita;
  int celleErrate = 0;  // cells reported as not encodable (dates, amounts, error values)
};

// nullopt when the listing `listato` and every file named after it (FileDelListato) may be written;
// otherwise the message that says why not: one of them would replace a file of the program
// (FileProtetti: configuration, DataBase folder, intermediate file) or the workbook of the run
// (ctx.totaliImport.percorsoCartellaLavoro), or its name is too long for its volume. Both the run
// and the creation ask before writing anything.
std::optional<std::string> ControllaFileDelListato(const Contesto& ctx,
                                                   const std::filesystem::path& listato);

// The message for a second run that would write the intermediate file `file` while another run
// holds it.
std::string MessaggioIntermedioInUso(const std::filesystem::path& file);

// The open dialog of the workbook to read; nullopt when the user cancels.
std::optional<std::filesystem::path> ScegliCartellaLavoro(Interazione& ui,
                                                          const std::filesystem::path& cartella);

// The workbook run for the current operator of `ctx`: resets the import totals, asks where to save
// the check listing (proposing "FCL_<name letters>_LISTATO.PDF"; the operator's name is left
// upper-cased and trimmed), refuses a listing that would replace a file of the program or the
// workbook, or whose name is too long for the volume (ControllaFileDelListato; the run fails with
// the message, nothing written), a listing open in another program and a run while another one
// holds the intermediate file (its lock is then kept in ctx.totaliImport.bloccoIntermedio), removes
// the temporary files that killed runs left in the listing's folder
// (ScritturaAtomica::RimuoviAbbandonati), then walks the sheets from
// the second, by name, until a missing or unrecognised sheet. Every data row is listed and
// encoded into the intermediate file (ctx.PercorsoFileIntermedio(): FCLtemp.TXT in the program
// folder unless the context names another). `aggiungiZeri` pads VAT numbers, short fiscal codes
// and country codes with leading zeros. Before every row, and before the files are put in place,
// the walk stops when the user asked it to (Interazione::InterruzioneRichiesta): the outcome is
// Interrotta, nothing is shown, and the listing and the intermediate file are left as they were.
//
// The workbook is only read. The intermediate file is replaced only when the walk completes (empty
// when no row was read); a run that fails reports why through ctx.Ui(), leaves the previous file as it
// was, and leaves totals that offer no creation (no rows, erroreData set). A cell that cannot be
// encoded is reported with its sheet, row and column and sets erroreData; the walk goes on.
RisultatoElaborazione ElaboraCartella(Contesto& ctx, const std::filesystem::path& cartellaLavoro,
                                      bool aggiungiZeri, Listato& listato,
                                      const ApriCartellaFn& apri);

}  // namespace fcl
