#pragma once

// Internal to the store: a prepared SQLite statement with RAII and value conversion. Included only
// by the store's .cpp files, so sqlite3.h stays out of the public headers.

#include <sqlite3.h>

#include <string_view>
#include <vector>

#include "common/Valore.h"
#include "store/Database.h"

namespace fcl {

class Istruzione {
 public:
  Istruzione(sqlite3* db, std::string_view sql, const std::vector<Valore>& parametri = {});
  // On the connection of an SQLite database (a server's connection throws ErroreDatabase).
  Istruzione(Database& db, std::string_view sql, const std::vector<Valore>& parametri = {});
  ~Istruzione();
  Istruzione(const Istruzione&) = delete;
  Istruzione& operator=(const Istruzione&) = delete;

  // Advances to the next row; false when done.
  bool Passo();
  int NumeroColonne() const;
  std::string NomeColonna(int i) const;
  // The declared kind of a result column that comes straight from a table column.
  TipoCampo TipoDichiarato(int i) const;
  // The column's value, converted by the declared kind (a DATE column gives a Data).
  Valore Colonna(int i, TipoCampo tipo) const;

 private:
  static sqlite3* HandleRichiesto(Database& db);
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

TipoCampo TipoDaDichiarato(std::string_view dichiarato);

}  // namespace fcl
