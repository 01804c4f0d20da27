#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "store/Database.h"

namespace fcl {

// Reads tables of an Access (Jet 3/4, ACE) database, read-only, into a private database in memory
// with the same table and column names, so that the code written for SQLite reads them unchanged.
// Texts and memos become Text, whole numbers Integer, other numbers Double, dates Date (date zero
// for a time without a day; a date Data cannot hold stays text), empty values Null; binary and OLE
// columns are left out. Every table of `tabelle` that the file holds is read whole; a table it
// lacks is simply absent. nullopt when the file cannot be opened as an Access database, holds none
// of `tabelle`, or a table cannot be read to its end (never a part of a table), or a table has more
// than `righeMassime` rows.
std::optional<Database> LeggiArchivioJet(const std::filesystem::path& file,
                                         const std::vector<std::string>& tabelle,
                                         std::size_t righeMassime = SIZE_MAX);

}  // namespace fcl
