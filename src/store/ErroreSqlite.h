#pragma once

#include <string>

#include "common/ErroreSistema.h"

struct sqlite3;

namespace fcl {

// What an SQLite result code (extended or primary) means for the user, in Italian, with what to
// do: "il database è in uso da un altro programma; chiuderlo e riprovare". `errnoSistema` is the
// operating system's error behind an I/O failure (0 when none), told through CausaSistema.
std::string SpiegazioneSqlite(int codiceEsteso, int errnoSistema = 0);

// Why the last operation on connection `db` failed: the explanation, then on a second line the
// engine's code and text for support. Never the statement.
std::string CausaSqlite(sqlite3* db);
// The message of a failed database operation: "Errore del database: " + CausaSqlite(db).
std::string MessaggioErroreSqlite(sqlite3* db);

// Throws ErroreDatabase with MessaggioErroreSqlite(db).
[[noreturn]] void ErroreSqlite(sqlite3* db);

}  // namespace fcl
