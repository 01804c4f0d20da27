#pragma once

#include <cstddef>
#include <filesystem>

#include "store/Database.h"

namespace fcl {

// Loads the ATECO 2007 table from the file the user names, chosen by its content: a workbook (.xls,
// .xlsx, .ods: the first sheet) or a CSV file, each with a code and a description column as ISTAT
// publishes them. Replaces the table's content in one transaction and returns the number of codes.
// Throws Errore with an Italian message for a file that cannot be read or holds no recognisable
// table of codes; the table is then left as it was.
std::size_t CaricaTabellaAteco(Database& db, const std::filesystem::path& file);

}  // namespace fcl
