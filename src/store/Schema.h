#pragma once

#include "store/Database.h"

namespace fcl {

// The tables of the system's database, created in the column order that backup files rely on
// (values travel by column position): COPE, CTAB and the reference tables T_COMUNI, T_COMUNICF and
// ATECO2007. CreaSchema makes every missing table; existing tables are left as they are.
void CreaSchema(Database& db);

// The one-time upgrade of an older database: adds the OSTC columns to COPE, one statement each,
// ignoring the failure of a statement (typically because the column is already there).
void AggiornaStruttura(Database& db);

}  // namespace fcl
