#pragma once

#include <cstdint>
#include <filesystem>
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

// The one open database connection (an SQLite file). Owns the sqlite3 handle; closes it on
// destruction. Statements take their values as bound parameters ("?"), never spliced into the text.
// Every failure throws ErroreDatabase with the engine's message.
class Database {
 public:
  enum class Modo { LetturaScrittura, Creazione, SolaLettura };

  // Opens `file`. Modo::Creazione creates it when missing. A file that is not an SQLite database
  // throws ErroreDatabase and is left untouched.
  Database(const std::filesystem::path& file, Modo modo);
  // A private database in memory (tests).
  static Database InMemoria();

  Database(Database&& altro) noexcept;
  Database& operator=(Database&& altro) noexcept;
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;
  ~Database();

  // Runs a statement that returns no rows; returns the number of rows it changed.
  std::int64_t Esegui(std::string_view sql, const std::vector<Valore>& parametri = {});

  // Runs a statement and returns the first column of its first row (Null when there is none).
  Valore Scalare(std::string_view sql, const std::vector<Valore>& parametri = {});

  bool EsisteTabella(std::string_view tabella);
  // The table's columns in the order the table defines them; empty when the table does not exist.
  std::vector<Colonna> Colonne(std::string_view tabella);

  const std::filesystem::path& File() const { return file_; }
  sqlite3* Handle() const { return db_; }

 private:
  Database() = default;
  sqlite3* db_ = nullptr;
  std::filesystem::path file_;
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
