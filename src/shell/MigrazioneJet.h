#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "common/Valore.h"

namespace fcl {

// What the conversion of an Access database did: the rows brought over, where the original was
// kept, and the operators that could not be brought over (no code, or a code met before), each
// named by its code or, lacking one, by its name.
struct EsitoMigrazione {
  int operatori = 0;
  int righeTabella = 0;
  std::filesystem::path originale;
  std::vector<std::string> scartati;
};

// The name beside `file` under which the original Access database is kept: "FCL2013.access-
// AAAAMMGG.mdb", then "-2", "-3"… when a file of that name is already there (never overwritten).
std::filesystem::path NomeOriginaleJet(const std::filesystem::path& file, const Data& oggi);

// Turns the Access (Jet) database left at `file` by the Windows installation into this system's
// database. Every row of its COPE and CTAB is read (through LeggiArchivioJet), the new database is
// made whole in a temporary file beside it (every table, the reference data, those rows with the
// columns both sides have, in one transaction) and only then put in place; the original file is
// first given its second name (NomeOriginaleJet) and its bytes are never touched. A file that
// cannot be read as Access, or lacks COPE or CTAB, or a folder that cannot be written, throws
// ErroreDatabase with an Italian message; then nothing was changed on disk.
EsitoMigrazione MigraDatabaseJet(const std::filesystem::path& file, const Data& oggi);

// The notice that tells the user what the conversion did.
std::string MessaggioMigrazione(const std::filesystem::path& file, const EsitoMigrazione& esito);

}  // namespace fcl
