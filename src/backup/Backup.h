#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "common/Contesto.h"
#include "store/Database.h"

namespace fcl {

// Backup and restore of one operator: its COPE row and its CTAB rows (COD = the operator's code)
// saved to a backup file ("SAVE_" ... ".FCL", lines of FormatoBackup.h) and restored from it. Both
// the backup window (mode "S" and "R") and the command line call these operations; every message
// and progress report goes through the context's Interazione.
//
// Files are written whole or not at all. A restore first writes the safety copy of the operator's
// rows as they stand ("BFRR_" + code + "_" + yyyymmdd + ".VEL" in the program folder), then deletes
// the operator's COPE rows and applies the file line by line, all in one transaction: a line that
// does not fit rolls everything back (ErroreRigaBackup names it) and the database is as before; the
// safety copy stays. Code-table rows are updated or added, never deleted.

inline constexpr std::string_view kMessaggioNonBackup =
    "Il file indicato non è un file di backUp di FISCOLARIO. Operazione annullata";
inline constexpr std::string_view kMessaggioBackupCreato = "Creazione file di BackUP terminata";
inline constexpr std::string_view kMessaggioRipristinoTerminato = "Ripristino terminato";

// Texts of the file dialogs of the backup window.
inline constexpr std::string_view kTitoloDialogoSalva = "Indica dove salvare il file di backUp";
inline constexpr std::string_view kTitoloDialogoRipristina =
    "Indica il file di backUp da ripristinare";
inline constexpr std::string_view kFiltroBackup = "BackUp FISCOLARIO (*.FCL)|*.FCL";

// The progress bar of a backup or restore counts to this and starts again at 1.
inline constexpr long long kMassimoAvanzamentoBackup = 1000;

// The local date of `adesso` as yyyymmdd.
std::string DataAAAAMMGG(std::chrono::system_clock::time_point adesso);

// "SAVE_" + the operator name's letters (SoloLettere) + "_" + yyyymmdd + ".FCL".
std::string DefaultNomeBackup(std::string nomeOperatore,
                              std::chrono::system_clock::time_point adesso);

// The safety copy of a restore: the program folder + "BFRR_" + code + "_" + yyyymmdd + ".VEL". A
// character of the code that cannot be part of a file name ("/", "\", control characters) becomes
// "_", so a code read from a file can never point outside the program folder.
std::filesystem::path PercorsoCopiaSicurezza(const Contesto& ctx, std::string_view codice);

// The table lines (Windows-1252, each ending CR LF) of the rows of `tabella` whose `colonnaCodice`
// equals `codice`, columns in the table's order. `righe` receives the number of rows. `tabella` and
// `colonnaCodice` are the program's own names (letters, digits, "_"), never user text.
std::string RigheBackup(Database& db, std::string_view tabella, std::string_view colonnaCodice,
                        std::string_view codice, std::size_t* righe = nullptr);

// Writes the backup file of operator `codice` to `file` (an existing file is replaced) and shows
// "Creazione file di BackUP terminata". When no COPE row has that code, says so and writes nothing:
// returns false. Throws ErroreFile / ErroreDatabase when the file or the database fails.
bool SalvaOperatore(Contesto& ctx, std::string_view codice, const std::filesystem::path& file);

// The first line of a backup file, as the backup window shows it before the restore.
struct IntestazioneBackup {
  std::string primoValore;    // piece 2 of the first line: the operator code
  std::string secondoValore;  // piece 3: the company name (empty when the line has none)
  std::string codice;         // the code restored: piece 2, trimmed

  // The label of the window: the two values separated by a blank.
  std::string Etichetta() const { return primoValore + " " + secondoValore; }
};

// Reads the first line of `file`. nullopt when it does not begin with "¦COPE¦" or "#COPE#" (the
// caller shows kMessaggioNonBackup). Throws ErroreFile when the file cannot be read.
std::optional<IntestazioneBackup> LeggiIntestazioneBackup(const std::filesystem::path& file);

// Restores the backup file `file`: validates it (not a backup file: kMessaggioNonBackup is shown
// and false returned), writes the safety copy, replaces the operator's COPE rows and updates or
// adds its CTAB rows in one transaction, then shows "Ripristino terminato". Throws ErroreRigaBackup
// for a line that does not fit (nothing changed), ErroreFile / ErroreDatabase for other failures.
bool RipristinaBackup(Contesto& ctx, const std::filesystem::path& file);

}  // namespace fcl
