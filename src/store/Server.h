#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "store/Database.h"

namespace fcl {

// The libpq connection string of the register's server, from the configuration: `connessione`
// (Server_Connessione: a connection string or URI) when given; else built from `nome` (host, or
// host:port), `utente` and `password`, leaving out what is empty so that libpq's defaults apply
// (PGHOST, PGUSER, ~/.pgpass, PGSERVICE...).
std::string ConnessioneServer(const std::string& connessione, const std::string& nome,
                              const std::string& utente, const std::string& password);

// The same connection string without its password (for the link markers and messages): the
// password belongs in libpq's password file.
std::string ConnessioneSenzaPassword(const std::string& connessione);

// True when the connection string carries a password.
bool ConnessioneConPassword(const std::string& connessione);

// Makes a server database ready for the program, once per database and safely when several
// workstations start at once (under an advisory lock of the database, in one transaction): an empty
// database receives the tables and the built-in reference data; one of ours is left as it is; one
// that holds other tables but not the register's throws ErroreDatabase ("non è un archivio di
// FISCOLARIO") and is not written. Returns true when the tables were made.
bool PreparaArchivioServer(Database& db);

struct TabellaTrasferita {
  std::string tabella;
  std::int64_t righe = 0;
};

// Copies the register of an embedded database (`origine`) into the server database `server`
// (already prepared) in one transaction: the operators (COPE), the program's table of codes
// (CTAB, but for the upgrade marks the server keeps of its own), and the reference tables
// (T_COMUNI, T_COMUNICF, ATECO2007, which replace the server's). The rows on the server are
// counted against the source's before the transaction is confirmed. A server that already holds
// operators is refused with ErroreDatabase: nothing is merged by accident. On any failure nothing
// is written.
std::vector<TabellaTrasferita> TrasferisciArchivio(Database& origine, Database& server);

}  // namespace fcl
