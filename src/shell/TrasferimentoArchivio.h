#pragma once

#include <string>
#include <vector>

#include "common/Contesto.h"
#include "store/Server.h"

namespace fcl {

struct EsitoTrasferimento {
  std::string server;  // "database D sul server H"
  std::vector<TabellaTrasferita> tabelle;
};

// Moves the embedded register of the program folder (DataBase/FCL2013.mdb) to a PostgreSQL server:
// opens it as the start does (created or converted when needed), connects to `connessione`
// (empty: the server of the configuration), prepares the server database and copies the register
// into it in one transaction (TrasferisciArchivio), counts verified. The embedded database is only
// read. Throws ErroreDatabase when the server cannot be reached, holds operators already or is not
// ours; nothing is written then. Returns the server and the tables copied with their rows.
EsitoTrasferimento TrasferisciArchivioSulServer(Contesto& ctx, const std::string& connessione);

// The summary for the user: the server, then each table with its rows.
std::string RiepilogoTrasferimento(const EsitoTrasferimento& esito);

}  // namespace fcl
