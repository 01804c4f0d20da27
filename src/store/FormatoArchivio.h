#pragma once

#include <filesystem>

namespace fcl {

// What a database file holds, told by its first bytes alone (the file is only read): an SQLite
// database, an Access (Jet or ACE) database, or something else. Lets the start-up and the linked
// databases choose how to open a file, and refuse one without ever writing to it.
enum class FormatoArchivio { Mancante, Vuoto, Sqlite, Jet, Sconosciuto };

FormatoArchivio RiconosciFormato(const std::filesystem::path& file);

}  // namespace fcl
