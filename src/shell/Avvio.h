#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "common/Contesto.h"
#include "store/Database.h"

namespace fcl {

inline constexpr const char* kVersionePgm = "Versione 1.0 - Monoutente";
inline constexpr const char* kVersionePgmServer = "Versione 1.0 - Multiutente";
inline constexpr const char* kReleasePgm = "Release Giugno 2016";

// Resolves the program folder: the given one (--cartella or FISCOLARIO_DIR) when there is one;
// else the executable's folder when it holds configurazione.ini (a portable install); else
// $XDG_DATA_HOME/fiscolario (~/.local/share/fiscolario). Whichever it is, it is created when
// missing and completed with what it lacks of the program's skeleton (see CartellaModello.h;
// throws ErroreFile when it cannot). Without a skeleton the folder is left as it is.
std::filesystem::path RisolviCartellaProgramma(const std::optional<std::filesystem::path>& data,
                                               const std::filesystem::path& cartellaEseguibile);

// The database file of a program folder: DataBase/FCL2013.mdb.
std::filesystem::path FileDatabase(const std::filesystem::path& cartellaProgramma);

// The connection string the link marker carries for the database of a program folder.
std::string StringaConnessione(const std::filesystem::path& cartellaProgramma);

// True when the configuration puts the register on a PostgreSQL server ([opzioni] TipoDb=P).
bool ArchivioSulServer(const Configurazione& c);
// The server's connection string from the configuration (Server_Connessione, or Server_Nome,
// Server_Utente, Server_Password; see store/Server.h).
std::string ConnessioneServer(const Configurazione& c);

// Opens ConnessioneDb on the program folder's database and moves it into `db`.
// - On a server (ArchivioSulServer): connects, and prepares an empty database with the tables and
//   the reference data (PreparaArchivioServer); a server that cannot be reached, refuses the login
//   or holds a database that is not ours throws ErroreDatabase naming host and database.
// - Missing (or empty): created whole in a temporary file beside it, with every table and the
//   built-in reference data, then put in place; the user is told with a notice.
// - Present: opened only when it is an SQLite database that passes the integrity check and holds
//   COPE and CTAB; a reference table that is missing is added with its data. A damaged file, any
//   other file or a read-only file throws ErroreDatabase with an Italian message and is never
//   written to.
// - An Access (Jet) file, as the Windows installation left it: converted once into this system's
//   database, the original kept unchanged beside it (MigrazioneJet.h), and the user told with a
//   notice; one that cannot be converted throws ErroreDatabase and is left as it was.
void ConnessioneDb(Contesto& ctx, std::optional<Database>& db);

// The first-start import: when COPE is empty and the marker of last year's edition (FSYSNEV.DLL)
// leads to a readable database, its operators and commitment rows are copied. Silent when there is
// nothing to copy.
void ImportaPrimoAvvio(Contesto& ctx);

// The start-up sequence of the program, up to the main window: reads the configuration, opens (or
// creates) the database, writes the link marker, upgrades an older database once (the CTAB row
// REL/002 records it), copies operators from a linked database into an empty register, and sets
// the process-wide texts. The database opened is moved into `db`, which the caller keeps for the
// life of the context. Throws ErroreDatabase when the database cannot be opened; a marker that
// cannot be written is only reported.
void Avvia(Contesto& ctx, std::optional<Database>& db);

}  // namespace fcl
