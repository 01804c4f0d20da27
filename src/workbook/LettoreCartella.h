#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/Errori.h"

namespace fcl {

class PosizioniSorgente;

// One cell as the workbook holds it. Dates are numbers (days since 30/12/1899) marked as dates by
// the cell's number format; an error value (#N/A, #DIV/0!) is its own kind.
struct Cella {
  enum class Tipo { Vuota, Numero, Data, Testo, Booleano, Errore };
  Tipo tipo = Tipo::Vuota;
  double numero = 0;  // Numero, Data (serial), Booleano (0/1)
  std::string testo;  // Testo (UTF-8), Errore ("#N/A")
};

// A workbook that cannot be read: not a workbook, damaged, password-protected. `what()` is the text
// shown after "ERRORE ", the number and " - ".
class ErroreCartella : public Errore {
 public:
  ErroreCartella(int numero, const std::string& descrizione)
      : Errore(descrizione), numero_(numero) {}
  int Numero() const { return numero_; }

 private:
  int numero_;
};

// The most rows and columns a sheet can have: 16,777,216 rows in the newest spreadsheet programs
// (1,048,576 in most), 16,384 columns (XFD). A reader refuses a workbook with data beyond them,
// so every row past kRigheMassimeFoglio reads empty.
inline constexpr int kRigheMassimeFoglio = 1 << 24;
inline constexpr int kColonneMassimeFoglio = 1 << 14;

// Reads a workbook without ever changing it. Sheets and rows are numbered from 1, columns from 1
// (A) to 25 (Y). Rows are best read in increasing order: the readers stream the sheet, so reading
// an earlier row restarts the sheet from its beginning; no sheet is held whole in memory.
class LettoreCartella {
 public:
  virtual ~LettoreCartella() = default;

  virtual int NumeroFogli() = 0;
  // The sheet's name; throws ErroreCartella when the index does not exist.
  virtual std::string NomeFoglio(int foglio) = 0;
  // Columns 1..25 of a row (always 25 cells; those beyond the sheet's data are Vuota). The cells
  // stay valid until the next call of Riga on the same reader. Throws ErroreCartella when the
  // sheet does not exist or the part of the file holding the row is damaged.
  virtual const std::vector<Cella>& Riga(int foglio, int riga) = 0;
  // For a source that only looks like a workbook (the year's electronic invoices): the names of
  // its rows and its report, kept by the run for its messages and the creation's check. nullptr
  // for a workbook.
  virtual std::shared_ptr<const PosizioniSorgente> Posizioni() const { return nullptr; }
};

// Opens a .xls, .xlsx or .ods workbook, chosen by the file's content (not its name).
// Throws ErroreCartella when the file is missing, not a workbook, damaged or protected.
std::unique_ptr<LettoreCartella> ApriCartella(const std::filesystem::path& percorso);

// A cell as text, the way the run reads every cell: numbers with a decimal comma and no thousands
// separator (up to 15 significant digits), dates dd/mm/yyyy, booleans "VERO"/"FALSO", text as is,
// empty for an empty cell, the error's own text ("#N/A") for an error value. Not trimmed.
std::string TestoCella(const Cella& cella);

}  // namespace fcl
