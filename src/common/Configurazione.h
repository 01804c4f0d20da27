#pragma once

#include <string>

namespace fcl {

// The values of configurazione.ini as the program keeps them: each one cut to the length it uses
// (empty when the file, the section or the key is missing). tipoDb "P" puts the register on a
// PostgreSQL server (the Server_ keys say which); pcDirF is the root of the marker folder.
struct Configurazione {
  std::string log;             // [connessione] log
  std::string pc;              // [opzioni] PC, 1 character
  std::string tipoDb;          // [opzioni] TipoDb, 1 character
  std::string debug;           // [opzioni] debug, 1 character
  std::string serverUtente;    // [opzioni] Server_Utente, 10 characters
  std::string serverPassword;  // [opzioni] Server_Password, 10 characters
  std::string serverNome;      // [opzioni] Server_Nome, 20 characters
  // [opzioni] Server_Connessione: the server's libpq connection string or URI, whole.
  std::string serverConnessione;
  // [opzioni] PCDirF, 150 characters, trimmed; "PGM" is already replaced by the program folder.
  std::string pcDirF;
};

}  // namespace fcl
