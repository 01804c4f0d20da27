#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "workbook/LettoreCartella.h"

namespace fcl {

// Reads the older binary Excel workbooks (Excel 5.0/95 and before, BIFF 2-7: the "Book" stream
// of a compound file) through FreeXL; Excel 97-2003 workbooks go to LettoreBiff8. FreeXL parses
// the whole workbook when it opens it; cells are then fetched one by one, only those of the row
// asked for and only columns A-Y. Date cells, which FreeXL hands back as "YYYY-MM-DD" text, become
// date serials again. Every FreeXL call is checked: a cell outside the sheet is empty.
// FreeXL 1.0.6 skips formula cells and reads boolean and error cells as the numbers 1 and 0.
class LettoreXls : public LettoreCartella {
 public:
  explicit LettoreXls(const std::filesystem::path& percorso);
  ~LettoreXls() override;
  LettoreXls(const LettoreXls&) = delete;
  LettoreXls& operator=(const LettoreXls&) = delete;

  int NumeroFogli() override { return static_cast<int>(nomi_.size()); }
  std::string NomeFoglio(int foglio) override;
  const std::vector<Cella>& Riga(int foglio, int riga) override;

 private:
  void Seleziona(int foglio);

  std::filesystem::path percorso_;
  const void* handle_ = nullptr;
  std::vector<std::string> nomi_;
  int foglioAttivo_ = 0;
  unsigned righeFoglio_ = 0;
  unsigned short colonneFoglio_ = 0;
  int foglioRiga_ = 0;
  int numeroRiga_ = 0;
  std::vector<Cella> riga_;
};

}  // namespace fcl
