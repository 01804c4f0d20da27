#pragma once

// Delimited text as spreadsheets and ISTAT write it (fields quoted with double quotes when they
// hold the separator, a quote doubled inside a quoted field, CR LF or LF line ends): the low-level
// reader used for the reference data built into the program and the ATECO import, and the client
// lists (a header row naming the columns, then one row per record) read and written by the batch
// and the register's import and export.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fcl {

class Csv {
 public:
  Csv(std::string_view testo, char separatore) : testo_(testo), separatore_(separatore) {}

  // The next record's fields; false at the end of the text. Blank lines give one empty field.
  bool Prossima(std::vector<std::string>& campi);
  // 1-based number of the line where the record returned last began.
  std::size_t Riga() const { return riga_; }
  // True when the text ended inside a quoted field (its closing quote is missing).
  bool VirgoletteAperte() const { return aperte_; }

 private:
  std::string_view testo_;
  char separatore_;
  std::size_t pos_ = 0;
  std::size_t riga_ = 0;
  std::size_t rigaSuccessiva_ = 1;
  bool aperte_ = false;
};

// The separator of a delimited text, told from its first line outside quotes: the most frequent of
// ';', ',' and TAB; ',' when the line holds none.
char SeparatoreCsv(std::string_view testo);

// The bytes of a text file as UTF-8: a UTF-8 byte-order mark is dropped; a text that is not valid
// UTF-8 is taken as Windows-1252 (what a spreadsheet writes as "CSV" on Windows).
std::string TestoUtf8DaFile(std::string byte);

// A client list: the header's column names and the rows under it, decoded to UTF-8.
struct TabellaCsv {
  struct Riga {
    std::size_t linea = 0;  // 1-based line of the file where the row begins
    std::vector<std::string> campi;
  };
  std::vector<std::string> intestazione;
  std::vector<Riga> righe;  // blank rows left out
  char separatore = ';';

  // The column whose header matches `nome` without regard to case, blanks and underscores
  // ("Codice Fiscale", "CODICE_FISCALE", "codicefiscale" are one name); nullopt when none.
  std::optional<std::size_t> Colonna(std::string_view nome) const;
  // The row's field in `colonna` (empty when the row is shorter or there is no such column).
  static const std::string& Campo(const Riga& riga, std::optional<std::size_t> colonna);
};

// A column name reduced for matching: lower case, blanks and underscores left out.
std::string NomeColonnaCsv(std::string_view nome);

// Reads a client list from text already decoded. Throws Errore (naming `origine`) when the text has
// no header row or ends inside a quoted field.
TabellaCsv AnalizzaTabellaCsv(std::string_view testo, std::string_view origine);
// Reads a client list from a file (UTF-8 with or without BOM, or Windows-1252; ';' or ',' told
// from the header). Throws ErroreFile when the file cannot be read, Errore as above.
TabellaCsv LeggiTabellaCsv(const std::filesystem::path& file);

// One field as written into a delimited file: quoted (quotes doubled) when it holds the separator,
// a quote or a line break, or begins or ends with a blank; as it is otherwise.
std::string CampoCsv(std::string_view valore, char separatore);
// A whole line: the fields joined by the separator, ended by CR LF.
std::string RigaCsv(const std::vector<std::string>& campi, char separatore);

}  // namespace fcl
