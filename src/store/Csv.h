#pragma once

// Internal to the store: a reader of delimited text as spreadsheets and ISTAT write it (fields
// quoted with double quotes when they hold the separator, a quote doubled inside a quoted field, CR
// LF or LF line ends). Used for the reference data built into the program and for the ATECO import.

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

 private:
  std::string_view testo_;
  char separatore_;
  std::size_t pos_ = 0;
  std::size_t riga_ = 0;
  std::size_t rigaSuccessiva_ = 1;
};

}  // namespace fcl
