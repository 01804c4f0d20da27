#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Valore.h"
#include "store/Database.h"

namespace fcl {

// The lines of a backup file. A line is the separator, the table name, then for every column of the
// row, in the table's own column order, the separator followed by the column's value text:
//
//   ¦COPE¦RSSMRA80A01H501U¦ROSSI MARIO¦...      (Windows-1252, "¦" is byte 166, lines end CR LF)
//
// The first byte of each line is that line's separator, so files whose lines use "#" read the same.
//
// Value text by column kind: a double-precision number with at most two decimals and a decimal
// comma ("#########.##": 12 -> "12,", 0 -> ","), a date as dd/mm/yyyy, any other value as its
// text. A Null is the empty text in every column, as in the files other programs of the family
// write and read; read back, an empty value in a column that is not text is Null again (never 0 or
// date zero, which are written as "," and "30/12/1899"), in a text column the empty text. Text
// columns keep their value as stored, blanks included: the commitment record of the code table is
// positional, and trimming its leading blanks would move its fields.
//
// Escapes. Older files carry values verbatim, so a separator or a line break inside a value broke
// the line. Values are now written with a backslash escape, and only these sequences are read as
// escapes:
//
//   \\  backslash        \|  "¦"          \r  CR          \n  LF
//   \uXXXX, \UXXXXXXXX   a character that Windows-1252 cannot hold (hexadecimal code point)
//   \N  as the whole value: Null (read only: files written by earlier versions of this system
//       carry it for a Null text column; a reader of the other programs would take it as text)
//
// Any other backslash reads as itself, so "C:\Dati" or "A\B" in an older file comes back unchanged.
// The trade-off: an older file whose value holds one of the sequences above (a value like
// "C:\nuovi" or "\\server") reads with the escape applied. Operator and code-table data (codes,
// names, addresses, telephone numbers, e-mail addresses, the commitment record) do not hold such
// text in practice, and everything else in an older file reads exactly as before. "#" inside a
// value needs no escape: this system always writes "¦".

inline constexpr char kSeparatoreBackup = '\xA6';  // "¦" in Windows-1252
inline constexpr char kSeparatoreAlternativo = '#';

// A value of a line after decoding: nullopt is Null.
using CampoRiga = std::optional<std::string>;

// A line split into its pieces: piece 1 is the table name, piece k from 2 on the value of column
// k - 2. Values are UTF-8, escapes decoded.
struct RigaBackup {
  std::string tabella;
  std::vector<CampoRiga> valori;
};

// The value text of a database value for a column of the given kind, escaped (UTF-8).
std::string CampoBackup(const Valore& valore, TipoCampo tipo);

// A whole table line in Windows-1252, with "¦" as separator and without the line end.
std::string RigaTabella(std::string_view tabella, const std::vector<std::string>& campi);

// Splits a line (Windows-1252, without its line end) at its first byte and decodes its values.
RigaBackup SpezzaRiga(std::string_view riga);

// Escape and unescape of one value (UTF-8); DecodificaCampo gives nullopt for "\N".
std::string CodificaTesto(std::string_view testo);
CampoRiga DecodificaCampo(std::string_view campo);

// A value of a line converted for its column at restore, or the reason it does not fit.
struct ValoreRipristinato {
  Valore valore;
  std::string errore;  // empty when the value fits; otherwise why, in Italian
};
ValoreRipristinato ValoreDaCampo(const CampoRiga& campo, TipoCampo tipo);

}  // namespace fcl
