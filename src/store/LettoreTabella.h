#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/Valore.h"
#include "store/Database.h"

namespace fcl {

class Istruzione;

// Reads one table of a database that another program wrote (VELA's, ORSA's, last year's edition's,
// reached through a link marker) one row at a time, holding only the current row. Such a file is
// not trusted: only a real table is read (a view, or a virtual table, could compute rows without
// end), only the columns asked for (so a table of thousands of computed columns costs nothing), and
// no more than a set number of rows and of bytes (far beyond any register of operators). Beyond
// them reading stops with ErroreDatabase naming the table and the limit; the caller decides what
// was copied. Values longer than the connection allows fail the same way (see LimitaValori).
class LettoreTabella {
 public:
  struct Limiti {
    std::size_t righe = 100'000;
    std::size_t byte = 64u << 20;
  };

  // Throws ErroreDatabase when the database holds no real table of that name (any case).
  LettoreTabella(Database& db, std::string_view tabella, const std::vector<std::string>& colonne,
                 Limiti limiti);
  LettoreTabella(Database& db, std::string_view tabella, const std::vector<std::string>& colonne)
      : LettoreTabella(db, tabella, colonne, Limiti{}) {}
  ~LettoreTabella();
  LettoreTabella(const LettoreTabella&) = delete;
  LettoreTabella& operator=(const LettoreTabella&) = delete;

  // Moves to the next row; false after the last one.
  bool Avanza();

  // Whether the table has the column (asked for in the constructor).
  bool Ha(std::string_view colonna) const;
  // The column's value in the current row. Throws ErroreDatabase for a column the table lacks.
  const Valore& operator[](std::string_view colonna) const;

  // The number of rows read so far.
  std::size_t Righe() const { return righe_; }

 private:
  Database& db_;
  std::string TroppeRighe() const;

  std::string tabella_;
  Limiti limiti_;
  std::vector<std::string> nomi_;  // the columns read, as asked
  std::vector<Valore> valori_;
  std::vector<TipoCampo> tipi_;
  std::unique_ptr<Istruzione> istruzione_;
  std::size_t righe_ = 0;
  std::size_t byte_ = 0;
};

// The longest value (text or blob, in bytes) that a connection to another program's database may
// give; a longer one fails the statement that meets it.
inline constexpr int kLunghezzaMassimaValoreCollegato = 64 * 1024;
void LimitaValori(Database& db, int lunghezzaMassima = kLunghezzaMassimaValoreCollegato);

}  // namespace fcl
