#pragma once

#include "store/Database.h"

namespace fcl {

// The tables of the system's database, created in the column order that backup files rely on
// (values travel by column position): COPE, CTAB and the reference tables T_COMUNI, T_COMUNICF and
// ATECO2007. CreaSchema makes every missing table; existing tables are left as they are.
void CreaSchema(Database& db);

// The indexes of the operator codes as every lookup compares them (without regard to case), so
// that finding an operator stays one index step however many there are. Made with the schema and
// by the upgrade of the stored codes; existing indexes are left as they are.
void CreaIndiciCodici(Database& db);

// The one-time upgrade of an older database: adds the OSTC columns to COPE, one statement each,
// ignoring the failure of a statement (typically because the column is already there).
void AggiornaStruttura(Database& db);

}  // namespace fcl
