#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// The bounds of a backup file that is read. A backup holds one operator: its COPE line (32 values
// of at most 255 characters, under 10 KB even with every character escaped) and its few code-table
// lines, a few KB in all. A file or a line beyond these bounds is no backup of this system, or a
// damaged one, and is refused whole before anything is read into memory or changed.
inline constexpr std::uintmax_t kDimensioneMassimaBackup = 4u << 20;   // 4 MB
inline constexpr std::size_t kLunghezzaMassimaRigaBackup = 64u << 10;  // 64 KB

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
// equals `codice` (without regard to case), columns in the table's order. `righe` receives the
// number of rows. `tabella` and `colonnaCodice` are the program's own names (letters, digits, "_"),
// never user text.
std::string RigheBackup(Database& db, std::string_view tabella, std::string_view colonnaCodice,
                        std::string_view codice, std::size_t* righe = nullptr);
// The same for the rows whose `colonna` equals `valore` (compared as an operator's code when
// `codiceOperatore`; the start-up upgrade sets aside single rows by their rowid).
std::string RigheBackupDove(Database& db, std::string_view tabella, std::string_view colonna,
                            const Valore& valore, bool codiceOperatore,
                            std::size_t* righe = nullptr);

// Writes the backup file of operator `codice` to `file` (an existing file is replaced) and shows
// "Creazione file di BackUP terminata". When no COPE row has that code, says so and writes nothing:
// returns false. Throws ErroreFile / ErroreDatabase when the file or the database fails.
bool SalvaOperatore(Contesto& ctx, std::string_view codice, const std::filesystem::path& file);

// The first line of a backup file, as the backup window shows it before the restore.
struct IntestazioneBackup {
  std::string primoValore;    // piece 2 of the first line: the operator code
  std::string secondoValore;  // piece 3: the company name (empty when the line has none)
  std::string codice;         // the code restored: piece 2, trimmed and upper-cased

  // The label of the window: the two values separated by a blank.
  std::string Etichetta() const { return primoValore + " " + secondoValore; }
};

// Reads the first line of `file`. nullopt when it does not begin with "¦COPE¦" or "#COPE#" (the
// caller shows kMessaggioNonBackup). Throws ErroreFile when the file cannot be read or is larger
// than kDimensioneMassimaBackup, ErroreRigaBackup (naming the line) when the file is damaged:
// a line longer than kLunghezzaMassimaRigaBackup, a last line without its line end (every line
// this system writes ends CR LF, so the file was cut short), a first line whose operator code is
// empty, blank or one the register would refuse (common/CodiceOperatore.h).
std::optional<IntestazioneBackup> LeggiIntestazioneBackup(const std::filesystem::path& file);

// Restores the backup file `file`: validates it (not a backup file: kMessaggioNonBackup is shown
// and false returned; a damaged one throws as LeggiIntestazioneBackup does, before anything is
// written), writes the safety copy, replaces the operator's COPE rows and updates or adds its CTAB
// rows in one transaction, then shows "Ripristino terminato". The operator code is normalised and
// compared without case: a file of "pf0" restores the operator PF0, and a COPE line of another
// operator than the first line's is refused. Throws ErroreRigaBackup for a line that does not fit
// (nothing changed), ErroreFile / ErroreDatabase for other failures.
bool RipristinaBackup(Contesto& ctx, const std::filesystem::path& file);

}  // namespace fcl
