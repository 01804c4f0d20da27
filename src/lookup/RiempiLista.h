#pragma once

#include <string>
#include <string_view>

#include "common/ListaDati.h"
#include "store/Database.h"

namespace fcl {

// Fills a list from a statement (the system's `SqlCorrente`): runs it read-only on `db`, takes the
// result's columns with the alignment of their declared type (double-precision numbers right, dates
// centred, the rest left) and hands columns and rows to ListaDati::Riempi with the filter text.
// A statement that fails throws ErroreDatabase and leaves the list as it was.
void RiempiLista(ListaDati& lista, Database& db, std::string_view sql, std::string& testoRicerca);

}  // namespace fcl
