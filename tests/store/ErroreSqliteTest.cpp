#include "store/ErroreSqlite.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>

#include "CartellaTemporanea.h"
#include "common/Errori.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/Schema.h"

namespace fcl {
namespace {

TEST(ErroreSqlite, OgniCodiceSpiegatoInItaliano) {
  struct Caso {
    int codice;
    std::string_view atteso;
  } const kCasi[] = {
      {SQLITE_BUSY, "il database è in uso da un altro programma"},
      {SQLITE_LOCKED, "il database è in uso da un altro programma"},
      {SQLITE_READONLY, "sola lettura"},
      {SQLITE_FULL, "spazio insufficiente sul disco"},
      {SQLITE_IOERR_WRITE, "errore di lettura o scrittura del database sul disco"},
      {SQLITE_CANTOPEN, "il file del database non si apre"},
      {SQLITE_CORRUPT, "danneggiato"},
      {SQLITE_NOTADB, "danneggiato o non è un database"},
      {SQLITE_CONSTRAINT_UNIQUE, "un dato con lo stesso codice è già registrato"},
      {SQLITE_CONSTRAINT_NOTNULL, "manca un dato obbligatorio"},
      {SQLITE_NOMEM, "memoria insufficiente"},
      {SQLITE_ERROR, "rivolgersi all'assistenza"},
      {12345, "operazione non riuscita"},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.codice);
    EXPECT_NE(SpiegazioneSqlite(c.codice).find(c.atteso), std::string::npos)
        << SpiegazioneSqlite(c.codice);
  }
  // Behind an I/O failure, the system's cause in Italian.
  EXPECT_NE(SpiegazioneSqlite(SQLITE_CANTOPEN, EACCES).find("accesso non consentito"),
            std::string::npos);
}

// A statement that fails tells what happened and what to do, with the engine's code and text on a
// second line; the statement itself (a whole INSERT with every column of COPE) never shows.
TEST(ErroreSqlite, IlMessaggioNonContieneL_Istruzione) {
  test::CartellaTemporanea dir;
  const auto file = dir / "prova.mdb";
  {
    Database db(file, Database::Modo::Creazione);
    CreaSchema(db);
    db.Esegui("INSERT INTO COPE (OCOD, OCOG) VALUES (?, ?)",
              {std::string("RSSMRA80A01H501U"), std::string("ROSSI")});
  }
  Database db(file, Database::Modo::LetturaScrittura);
  Database altra(file, Database::Modo::LetturaScrittura);
  sqlite3_busy_timeout(db.Handle(), 0);
  struct Caso {
    std::string_view nome;
    std::function<void()> fai;
    std::string_view atteso;
  } const kCasi[] = {
      {"codice ripetuto nel registro",
       [&] {
         Recordset rs(db, "SELECT * From COPE WHERE OCOD=?", {std::string("NESSUNO")});
         rs.AddNew();
         rs.Imposta("OCOD", std::string("RSSMRA80A01H501U"));
         rs.Imposta("OCOG", std::string("BIANCHI"));
         rs.Update();
       },
       "Errore del database: un dato con lo stesso codice è già registrato; controllare il "
       "codice e riprovare\nDettaglio per l'assistenza: SQLite 2067, UNIQUE constraint failed: "
       "COPE.OCOD"},
      {"dato obbligatorio",
       [&] { db.Esegui("INSERT INTO COPE (OCOG) VALUES (?)", {std::string("VERDI")}); },
       "Errore del database: manca un dato obbligatorio"},
      {"database bloccato da un altro programma",
       [&] {
         altra.Esegui("BEGIN IMMEDIATE");
         try {
           Transazione t(db);
         } catch (...) {
           altra.Esegui("ROLLBACK");
           throw;
         }
         altra.Esegui("ROLLBACK");
       },
       "Errore del database: il database è in uso da un altro programma"},
      {"database di sola lettura",
       [&] {
         Database sola(file, Database::Modo::SolaLettura);
         sola.Esegui("DELETE FROM COPE");
       },
       "Errore del database: il database non può essere modificato"},
      {"colonna che il programma crede esista",
       [&] { db.Scalare("SELECT NONESISTE FROM COPE WHERE OCOD = ?", {std::string("X")}); },
       "Errore del database: l'archivio non ha la struttura attesa"},
      {"campo sconosciuto del recordset",
       [&] {
         Recordset rs(db, "SELECT * From COPE");
         rs.Imposta("NONESISTE", std::string("X"));
       },
       "Errore del database: errore interno del programma; rivolgersi all'assistenza\n"
       "Dettaglio per l'assistenza: campo inesistente NONESISTE"},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.nome);
    std::string messaggio;
    try {
      c.fai();
      ADD_FAILURE() << "nessun errore";
    } catch (const ErroreDatabase& e) {
      messaggio = e.what();
    }
    EXPECT_EQ(messaggio.rfind(c.atteso, 0), 0u) << messaggio;
    const auto a = messaggio.find('\n');
    ASSERT_NE(a, std::string::npos) << messaggio;
    EXPECT_EQ(messaggio.find('\n', a + 1), std::string::npos) << messaggio;
    EXPECT_EQ(messaggio.substr(a, 29), "\nDettaglio per l'assistenza: ");
    for (const char* sql : {"INSERT", "SELECT", "BEGIN", "DELETE", "UPDATE", "VALUES", "?"})
      EXPECT_EQ(messaggio.find(sql), std::string::npos) << sql << " in " << messaggio;
  }
  // Nothing was changed by the failures.
  EXPECT_EQ(std::get<std::int64_t>(db.Scalare("SELECT count(*) FROM COPE")), 1);
}

}  // namespace
}  // namespace fcl
