#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "common/Contesto.h"
#include "store/Database.h"

namespace fcl {

// The database of a sibling program (VELA, ORSA, or last year's edition of this program), found
// through its link marker and opened read-only, with the three values the marker carried.
struct ArchivioCollegato {
  Database connessione;  // ConnessioneCollegata
  std::string stringaConnessione;
  std::string tipoDb;
  std::string cartella;
};

// The file named by "Data Source=" in a connection string (up to the next ";"), any case; empty
// when there is none.
std::filesystem::path DataSource(std::string_view stringaConnessione);

// Opens a linked database read-only, chosen by the file's signature: an SQLite file is opened as it
// is, with its values limited in length (LimitaValori; read its tables with LettoreTabella); of an
// Access (Jet/ACE) file the tables COPE, CTAB and OPE are read into a database in memory, a table
// of more rows than LettoreTabella would read making the file unreadable.
// A missing, damaged or unknown file gives nullopt. This is the one place where a further format is
// added.
std::optional<Database> ApriDatabaseCollegato(const std::filesystem::path& file);

// Reads the marker `marcatore` ("FSYSVEL.DLL", "FSYSORS.DLL" or "FSYSNEV.DLL") in the marker folder
// and opens the database it names. nullopt when the marker is missing or unreadable or the database
// cannot be opened; the caller chooses what to tell the user. With `motivo`, it receives why (an
// Italian sentence naming the marker or the database), or stays empty when the marker is missing.
std::optional<ArchivioCollegato> ApriArchivioCollegato(const Contesto& ctx,
                                                       std::string_view marcatore,
                                                       std::string* motivo = nullptr);

}  // namespace fcl
