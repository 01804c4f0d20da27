#include "store/Schema.h"

#include <string>
#include <utility>

#include "common/Errori.h"

namespace fcl {

namespace {

// A table's definition in the engine's words: on a PostgreSQL server "Text (16)" is varchar(16)
// and "Date" date (same tables, same columns in the same order); the server folds the unquoted
// names to lower case.
std::string Tipi(const Database& db, std::string sql) {
  if (db.Tipo() != TipoArchivio::Postgres) return sql;
  for (const auto& [da, a] :
       {std::pair<std::string, std::string>{" Text (", " varchar("}, {" Date,", " date,"}}) {
    for (auto i = sql.find(da); i != std::string::npos; i = sql.find(da, i + a.size()))
      sql.replace(i, da.size(), a);
  }
  return sql;
}

}  // namespace

void CreaSchema(Database& db) {
  // The code comparisons name the collation NOCASE, SQLite's own; the server gets one that compares
  // letters without regard to case in the same way.
  if (db.Tipo() == TipoArchivio::Postgres)
    db.Esegui(
        "CREATE COLLATION IF NOT EXISTS nocase (provider = icu, locale = 'und-u-ks-level2', "
        "deterministic = false)");
  db.Esegui(Tipi(db, R"(CREATE TABLE IF NOT EXISTS COPE (
    OCOD Text (16) NOT NULL UNIQUE,
    ORAG Text (70),
    OCOG Text (50),
    ONOME Text (50),
    OSEX Text (1),
    ONDT Date,
    ONCOM Text (50),
    ONPRO Text (2),
    OSCOM Text (50),
    OSPRO Text (2),
    OSTP Text (1),
    OPIVA Text (11),
    ODES Text (120),
    OATT Text (10),
    OATTD Text (255),
    OTEL Text (30),
    OFAX Text (30),
    OPOSTA Text (100),
    OSTCCF Text (16),
    OSTCCDCARICA Text (50),
    OSTCDTINI Text (50),
    OSTCDTFINE Text (50),
    OSTCTP Text (1),
    OSTCCOG Text (50),
    OSTCNOME Text (50),
    OSTCSEX Text (50),
    OSTCNDT Text (50),
    OSTCNCOM Text (50),
    OSTCNPRO Text (50),
    OSTCRAG Text (50),
    OSTCSCOM Text (50),
    OSTCSPRO Text (50)))"));
  db.Esegui(
      Tipi(db, "CREATE TABLE IF NOT EXISTS CTAB (TIPO Text (10), COD Text (50), DES Text (255))"));
  db.Esegui("CREATE INDEX IF NOT EXISTS CTAB_TIPO_COD ON CTAB (TIPO, COD)");
  CreaIndiciCodici(db);
  db.Esegui(Tipi(
      db, "CREATE TABLE IF NOT EXISTS T_COMUNI (COMUNE Text (60), PRO Text (2), CAB Text (5))"));
  db.Esegui("CREATE INDEX IF NOT EXISTS T_COMUNI_COMUNE ON T_COMUNI (COMUNE COLLATE NOCASE)");
  db.Esegui(Tipi(db,
                 "CREATE TABLE IF NOT EXISTS T_COMUNICF (DESCRIZION Text (60), CD_PROV Text (2), "
                 "KEY_TAB Text (4))"));
  db.Esegui(
      "CREATE INDEX IF NOT EXISTS T_COMUNICF_DESCRIZION ON T_COMUNICF (DESCRIZION COLLATE NOCASE)");
  db.Esegui(
      Tipi(db, "CREATE TABLE IF NOT EXISTS ATECO2007 (CODICE Text (10), DESCRIZIONE Text (255))"));
  db.Esegui("CREATE INDEX IF NOT EXISTS ATECO2007_CODICE ON ATECO2007 (CODICE)");
}

void CreaIndiciCodici(Database& db) {
  db.Esegui("CREATE INDEX IF NOT EXISTS COPE_OCOD_NOCASE ON COPE (OCOD COLLATE NOCASE)");
  db.Esegui("CREATE INDEX IF NOT EXISTS CTAB_TIPO_COD_NOCASE ON CTAB (TIPO, COD COLLATE NOCASE)");
}

void AggiornaStruttura(Database& db) {
  // A server's tables are made by this version, with every column.
  if (db.Tipo() == TipoArchivio::Postgres) return;
  static constexpr const char* kIstruzioni[] = {
      "ALTER TABLE COPE ADD COLUMN OSTCCF Text (16); ",
      "ALTER TABLE COPE ADD COLUMN OSTCCDCARICA Text (50); ",
      "ALTER TABLE COPE ADD COLUMN OSTCDTINI Text (50); ",
      "ALTER TABLE COPE ADD COLUMN OSTCDTFINE Text (50); ",
      "ALTER TABLE COPE ADD COLUMN OSTCTP Text (1); ",
      "ALTER TABLE COPE ADD COLUMN OSTCCOG Text (50); ",
      "ALTER TABLE COPE ADD COLUMN OSTCNOME Text (50); ",
      "ALTER TABLE COPE ADD COLUMN OSTCSEX Text (50); ",
      "ALTER TABLE COPE ADD COLUMN OSTCNDT Text (50); ",
      "ALTER TABLE COPE ADD COLUMN OSTCNCOM Text (50); ",
      "ALTER TABLE COPE ADD COLUMN OSTCNPRO Text (50); ",
      "ALTER TABLE COPE ADD COLUMN OSTCRAG Text (50); ",
      "ALTER TABLE COPE ADD COLUMN OSTCSCOM Text (50); ",
      "ALTER TABLE COPE ADD COLUMN OSTCSPRO Text (50); ",
  };
  for (const char* sql : kIstruzioni) {
    try {
      db.Esegui(sql);
    } catch (const ErroreDatabase&) {
      // The column is already there: the next statement still runs.
    }
  }
}

}  // namespace fcl
