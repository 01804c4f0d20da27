#include "store/ErroreSqlite.h"

#include <sqlite3.h>

#include "common/ErroreSistema.h"
#include "common/Errori.h"

namespace fcl {

std::string SpiegazioneSqlite(int codiceEsteso, int errnoSistema) {
  const std::string sistema =
      errnoSistema != 0 ? " (" + CausaSistema(errnoSistema) + ")" : std::string();
  switch (codiceEsteso) {
    case SQLITE_CONSTRAINT_PRIMARYKEY:
    case SQLITE_CONSTRAINT_UNIQUE:
      return "un dato con lo stesso codice è già registrato; controllare il codice e riprovare";
    case SQLITE_CONSTRAINT_NOTNULL:
      return "manca un dato obbligatorio; completare i dati e riprovare";
    case SQLITE_CONSTRAINT_FOREIGNKEY:
      return "il dato è collegato ad altri dati dell'archivio che mancano o che ne dipendono";
    case SQLITE_READONLY_DBMOVED:
      return "il file del database è stato spostato o sostituito mentre il programma lo usava; "
             "chiudere e riaprire il programma";
    default:
      break;
  }
  switch (codiceEsteso & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return "il database è in uso da un altro programma (o da un'altra finestra di FISCOLARIO); "
             "chiudere l'altro programma o attendere che finisca, poi riprovare";
    case SQLITE_READONLY:
      return "il database non può essere modificato: il file o la sua cartella sono di sola "
             "lettura; consentire la scrittura e riprovare";
    case SQLITE_FULL:
      return "spazio insufficiente sul disco; liberare spazio e riprovare";
    case SQLITE_IOERR:
      return "errore di lettura o scrittura del database sul disco" + sistema +
             "; controllare il disco e riprovare";
    case SQLITE_CANTOPEN:
      return "il file del database non si apre" + sistema +
             "; controllare che la cartella DataBase esista e sia accessibile";
    case SQLITE_PERM:
    case SQLITE_AUTH:
      return "accesso al database non consentito; controllare i permessi del file";
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      return "il file del database è danneggiato o non è un database; ripristinare una copia di "
             "sicurezza o rivolgersi all'assistenza";
    case SQLITE_NOMEM:
      return "memoria insufficiente; chiudere altri programmi e riprovare";
    case SQLITE_TOOBIG:
      return "un dato è troppo grande per essere registrato";
    case SQLITE_CONSTRAINT:
      return "un dato non rispetta le regole dell'archivio; controllare i dati e riprovare";
    case SQLITE_PROTOCOL:
    case SQLITE_INTERRUPT:
    case SQLITE_ABORT:
      return "l'operazione è stata interrotta; riprovare";
    case SQLITE_SCHEMA:
    case SQLITE_ERROR:
      return "l'archivio non ha la struttura attesa o l'operazione non è valida; riprovare e, se "
             "si ripete, rivolgersi all'assistenza";
    default:
      return "operazione non riuscita; riprovare e, se si ripete, rivolgersi all'assistenza";
  }
}

std::string CausaSqlite(sqlite3* db) {
  if (db == nullptr)
    return SpiegazioneSqlite(SQLITE_NOMEM) + kDettaglioAssistenza + "SQLite " +
           std::to_string(SQLITE_NOMEM);
  const int codice = sqlite3_extended_errcode(db);
  // The engine's own text names the failure ("database is locked", "UNIQUE constraint failed:
  // COPE.OCOD"); it never carries the statement.
  return SpiegazioneSqlite(codice, sqlite3_system_errno(db)) + kDettaglioAssistenza + "SQLite " +
         std::to_string(codice) + ", " + sqlite3_errmsg(db);
}

std::string MessaggioErroreSqlite(sqlite3* db) { return "Errore del database: " + CausaSqlite(db); }

void ErroreSqlite(sqlite3* db) { throw ErroreDatabase(MessaggioErroreSqlite(db)); }

}  // namespace fcl
