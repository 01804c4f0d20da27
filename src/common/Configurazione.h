#pragma once

#include <string>

namespace fcl {

// The values of configurazione.ini as the program keeps them: each one cut to the length it uses
// (empty when the file, the section or the key is missing). Only tipoDb (written into the link
// marker) and pcDirF (the root of the marker folder) change what the program does; the others are
// read and kept for completeness.
struct Configurazione {
  std::string log;             // [connessione] log
  std::string pc;              // [opzioni] PC, 1 character
  std::string tipoDb;          // [opzioni] TipoDb, 1 character
  std::string debug;           // [opzioni] debug, 1 character
  std::string serverUtente;    // [opzioni] Server_Utente, 10 characters
  std::string serverPassword;  // [opzioni] Server_Password, 10 characters
  std::string serverNome;      // [opzioni] Server_Nome, 20 characters
  // [opzioni] PCDirF, 150 characters, trimmed; "PGM" is already replaced by the program folder.
  std::string pcDirF;
};

}  // namespace fcl
