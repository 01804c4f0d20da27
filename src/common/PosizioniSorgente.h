#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace fcl {

class Interazione;

// What a source of rows that is not a workbook (the year's electronic invoices) tells the run
// about itself. The run reads such a source through the same sheets and rows as a workbook; this
// hook names a row by where it came from (the invoice file, and the invoice's place in it) in the
// messages of the run and in the check's findings, and writes the source's own report when the
// walk completes. It outlives the reader: the creation that follows the run still names rows.
class PosizioniSorgente {
 public:
  virtual ~PosizioniSorgente() = default;

  // Where the data row `riga` of sheet `foglio` came from ("fattura FILE, n. 12 del 03/02/2025");
  // empty for a row the source did not give.
  virtual std::string Posizione(std::string_view foglio, long long riga) const = 0;
  // The files of the source as given (folders, archives, files): never replaced by a file the run
  // writes.
  virtual std::vector<std::filesystem::path> Origini() const = 0;
  // The files the source writes named after the check listing `listato` (its report).
  virtual std::vector<std::filesystem::path> FileDelListato(
      const std::filesystem::path& listato) const = 0;
  // The walk completed with the listing `listato`: writes the report (whole or not at all) and
  // tells the user the totals. Throws ErroreFile when the report cannot be written.
  virtual void Concludi(const std::filesystem::path& listato, Interazione& ui) const = 0;
};

}  // namespace fcl
