#include "store/Schema.h"

#include "common/Errori.h"

namespace fcl {

namespace {

// The tables on a PostgreSQL server: the same tables and columns in the same order, in the
// server's types, and the collation NOCASE that the code comparisons name (ASCII letters compared
// without regard to case, as SQLite's NOCASE). The server folds the unquoted names to lower case.
void CreaSchemaServer(Database& db) {
  db.Esegui(
      "CREATE COLLATION IF NOT EXISTS nocase (provider = icu, locale = 'und-u-ks-level2', "
      "deterministic = false)");
  db.Esegui(R"(CREATE TABLE IF NOT EXISTS COPE (
    OCOD varchar(16) NOT NULL UNIQUE,
    ORAG varchar(70),
    OCOG varchar(50),
    ONOME varchar(50),
    OSEX varchar(1),
    ONDT date,
    ONCOM varchar(50),
    ONPRO varchar(2),
    OSCOM varchar(50),
    OSPRO varchar(2),
    OSTP varchar(1),
    OPIVA varchar(11),
    ODES varchar(120),
    OATT varchar(10),
    OATTD varchar(255),
    OTEL varchar(30),
    OFAX varchar(30),
    OPOSTA varchar(100),
    OSTCCF varchar(16),
    OSTCCDCARICA varchar(50),
    OSTCDTINI varchar(50),
    OSTCDTFINE varchar(50),
    OSTCTP varchar(1),
    OSTCCOG varchar(50),
    OSTCNOME varchar(50),
    OSTCSEX varchar(50),
    OSTCNDT varchar(50),
    OSTCNCOM varchar(50),
    OSTCNPRO varchar(50),
    OSTCRAG varchar(50),
    OSTCSCOM varchar(50),
    OSTCSPRO varchar(50)))");
  db.Esegui("CREATE TABLE IF NOT EXISTS CTAB (TIPO varchar(10), COD varchar(50), DES varchar(255))");
  db.Esegui("CREATE INDEX IF NOT EXISTS CTAB_TIPO_COD ON CTAB (TIPO, COD)");
  CreaIndiciCodici(db);
  db.Esegui(
      "CREATE TABLE IF NOT EXISTS T_COMUNI (COMUNE varchar(60), PRO varchar(2), CAB varchar(5))");
  db.Esegui("CREATE INDEX IF NOT EXISTS T_COMUNI_COMUNE ON T_COMUNI (upper(COMUNE))");
  db.Esegui(
      "CREATE TABLE IF NOT EXISTS T_COMUNICF (DESCRIZION varchar(60), CD_PROV varchar(2), "
      "KEY_TAB varchar(4))");
  db.Esegui("CREATE INDEX IF NOT EXISTS T_COMUNICF_DESCRIZION ON T_COMUNICF (upper(DESCRIZION))");
  db.Esegui("CREATE TABLE IF NOT EXISTS ATECO2007 (CODICE varchar(10), DESCRIZIONE varchar(255))");
  db.Esegui("CREATE INDEX IF NOT EXISTS ATECO2007_CODICE ON ATECO2007 (CODICE)");
}

}  // namespace

void CreaSchema(Database& db) {
  if (db.Tipo() == TipoArchivio::Postgres) return CreaSchemaServer(db);
  db.Esegui(R"(CREATE TABLE IF NOT EXISTS COPE (
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
    OSTCSPRO Text (50)))");
  db.Esegui("CREATE TABLE IF NOT EXISTS CTAB (TIPO Text (10), COD Text (50), DES Text (255))");
  db.Esegui("CREATE INDEX IF NOT EXISTS CTAB_TIPO_COD ON CTAB (TIPO, COD)");
  CreaIndiciCodici(db);
  db.Esegui("CREATE TABLE IF NOT EXISTS T_COMUNI (COMUNE Text (60), PRO Text (2), CAB Text (5))");
  db.Esegui("CREATE INDEX IF NOT EXISTS T_COMUNI_COMUNE ON T_COMUNI (COMUNE COLLATE NOCASE)");
  db.Esegui(
      "CREATE TABLE IF NOT EXISTS T_COMUNICF (DESCRIZION Text (60), CD_PROV Text (2), KEY_TAB Text (4))");
  db.Esegui("CREATE INDEX IF NOT EXISTS T_COMUNICF_DESCRIZION ON T_COMUNICF (DESCRIZION COLLATE NOCASE)");
  db.Esegui("CREATE TABLE IF NOT EXISTS ATECO2007 (CODICE Text (10), DESCRIZIONE Text (255))");
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
