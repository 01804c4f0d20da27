#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/Valore.h"

struct sqlite3;

namespace fcl {

// Declared kind of a column, as the system's routines need it: backup formats double-precision
// columns and dates in their own way, restore converts by it.
enum class TipoCampo { Testo, Intero, Doppio, Data, Altro };

struct Colonna {
  std::string nome;
  TipoCampo tipo = TipoCampo::Testo;
};

// Where the register lives: the embedded SQLite file of the program folder, or a PostgreSQL
// server shared by the workstations of a studio.
enum class TipoArchivio { Sqlite, Postgres };

// A table or column name as statements may hold it: letters, digits and "_" only (a name that
// comes from a file or is put together by the program is checked before it reaches a statement).
bool NomeSql(std::string_view nome);
// `nome` when NomeSql; otherwise throws ErroreDatabase.
std::string NomeSqlVerificato(std::string_view nome);

class Motore;
class Cursore;
class Ripetibile;

// The one open database connection: an SQLite file or a PostgreSQL server, behind one interface.
// Statements are written once, in the dialect the system has always used ("?" parameters,
// "COLLATE NOCASE" code comparisons, LIKE without regard to case), and take their values as bound
// parameters, never spliced into the text; the server's engine translates them. Every failure
// throws ErroreDatabase with a message for the user.
class Database {
 public:
  enum class Modo { LetturaScrittura, Creazione, SolaLettura };

  // Opens `file`. Modo::Creazione creates it when missing. A file that is not an SQLite database
  // throws ErroreDatabase and is left untouched.
  Database(const std::filesystem::path& file, Modo modo);
  // A private database in memory (tests).
  static Database InMemoria();
  // Connects to a PostgreSQL server with a libpq connection string or URI ("host=... dbname=...",
  // "postgresql://..."); what it leaves out comes from libpq's defaults (PGHOST, PGDATABASE,
  // ~/.pgpass...). A server that cannot be reached or refuses the login throws ErroreDatabase
  // naming host and database.
  static Database Server(const std::string& connessione);

  Database(Database&& altro) noexcept;
  Database& operator=(Database&& altro) noexcept;
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;
  ~Database();

  TipoArchivio Tipo() const;

  // A further connection to the same database (a file opened in `modo`; the same server), for a
  // run of its own beside this one.
  Database Nuova(Modo modo) const;

  // Runs a statement that returns no rows; returns the number of rows it changed.
  std::int64_t Esegui(std::string_view sql, const std::vector<Valore>& parametri = {});

  // Runs a statement and returns the first column of its first row (Null when there is none).
  Valore Scalare(std::string_view sql, const std::vector<Valore>& parametri = {});

  bool EsisteTabella(std::string_view tabella);
  // The table's columns in the order the table defines them; empty when the table does not exist.
  std::vector<Colonna> Colonne(std::string_view tabella);

  // Runs a statement and hands its rows one at a time (the store's result sets).
  std::unique_ptr<Cursore> Interroga(std::string_view sql, const std::vector<Valore>& parametri);
  // Prepares a statement to be run for many rows of text values.
  std::unique_ptr<Ripetibile> Prepara(std::string_view sql);
  // True while a transaction is open on this connection.
  bool InTransazione() const;

  // The file of an SQLite database; empty on a server.
  const std::filesystem::path& File() const { return file_; }
  // What the connection reaches, for messages: the file, or the database and its server.
  std::string Descrizione() const;
  // The SQLite handle; nullptr on a server.
  sqlite3* Handle() const;
  // The engine behind the connection (the store's own routines).
  Motore& Interno() { return *motore_; }

 private:
  explicit Database(std::unique_ptr<Motore> motore, std::filesystem::path file = {});
  std::unique_ptr<Motore> motore_;
  std::filesystem::path file_;
};

// A part of a transaction that can be given up alone (a savepoint): on destruction its changes are
// undone unless Conferma() was called; the transaction goes on either way.
class PuntoDiRipristino {
 public:
  explicit PuntoDiRipristino(Database& db);
  ~PuntoDiRipristino();
  PuntoDiRipristino(const PuntoDiRipristino&) = delete;
  PuntoDiRipristino& operator=(const PuntoDiRipristino&) = delete;
  void Conferma() { confermato_ = true; }

 private:
  Database& db_;
  bool confermato_ = false;
};

// A transaction that rolls back on destruction unless Conferma() was called.
class Transazione {
 public:
  explicit Transazione(Database& db);
  ~Transazione();
  Transazione(const Transazione&) = delete;
  Transazione& operator=(const Transazione&) = delete;
  void Conferma();

 private:
  Database& db_;
  bool attiva_ = true;
};

}  // namespace fcl
