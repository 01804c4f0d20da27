#pragma once

// Internal to the store: what an engine (the embedded SQLite file, a PostgreSQL server) does for
// the Database in front of it. Statements come in one dialect, SQLite's as the system writes it
// ("?" parameters, "COLLATE NOCASE" comparisons, LIKE without regard to case); an engine that
// speaks another translates it. Included only by the store's .cpp files.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/Valore.h"
#include "store/Database.h"

struct sqlite3;

namespace fcl {

// A statement being run: its rows one at a time.
class Cursore {
 public:
  virtual ~Cursore() = default;
  // Advances to the next row; false when done.
  virtual bool Passo() = 0;
  virtual int NumeroColonne() const = 0;
  virtual std::string NomeColonna(int i) const = 0;
  // The declared kind of a result column.
  virtual TipoCampo TipoDichiarato(int i) const = 0;
  // The column's value, converted by the declared kind (a DATE column gives a Data).
  virtual Valore Colonna(int i, TipoCampo tipo) const = 0;
};

// A statement prepared once and run for many rows (the reference tables hold thousands).
class Ripetibile {
 public:
  virtual ~Ripetibile() = default;
  virtual void Esegui(const std::vector<Valore>& valori) = 0;
};

class Motore {
 public:
  virtual ~Motore() = default;

  virtual TipoArchivio Tipo() const = 0;
  virtual std::unique_ptr<Cursore> Interroga(std::string_view sql,
                                             const std::vector<Valore>& parametri) = 0;
  // Runs a statement that returns no rows; returns the number of rows it changed.
  virtual std::int64_t Esegui(std::string_view sql, const std::vector<Valore>& parametri) = 0;
  virtual std::unique_ptr<Ripetibile> Prepara(std::string_view sql) = 0;

  virtual bool EsisteTabella(std::string_view tabella) = 0;
  virtual std::vector<Colonna> Colonne(std::string_view tabella) = 0;

  virtual void Inizia() = 0;
  virtual void Conferma() = 0;
  virtual void Annulla() = 0;
  virtual bool InTransazione() const = 0;

  // The identity of a table's rows, for result sets that write their rows back: the pseudo-column
  // read along with the rows ("rowid", "ctid") and the statements that use it. Each returns the
  // identity the row has afterwards; an update or delete that finds no row with that identity (the
  // row was changed or deleted by another connection meanwhile) throws ErroreConflitto.
  virtual std::string_view ColonnaIdentita() const = 0;
  virtual Valore Inserisci(std::string_view tabella, const std::vector<std::string>& nomi,
                           const std::vector<Valore>& valori) = 0;
  virtual Valore Aggiorna(std::string_view tabella, const std::vector<std::string>& nomi,
                          const std::vector<Valore>& valori, const Valore& identita) = 0;
  virtual void Elimina(std::string_view tabella, const Valore& identita) = 0;

  // The SQLite handle, for the store's routines that only read SQLite files; nullptr on a server.
  virtual sqlite3* HandleSqlite() const { return nullptr; }
  // What the connection reaches, for messages: the file, or "database D sul server H".
  virtual std::string Descrizione() const = 0;
  // A further connection to the same database (`modo` applies to a file).
  virtual std::unique_ptr<Motore> Nuova(Database::Modo modo) const = 0;
};

std::unique_ptr<Motore> ApriMotoreSqlite(const std::filesystem::path& file, Database::Modo modo);
std::unique_ptr<Motore> MotoreSqliteInMemoria();
std::unique_ptr<Motore> ApriMotorePostgres(const std::string& connessione);

TipoCampo TipoDaDichiarato(std::string_view dichiarato);

}  // namespace fcl
