#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "workbook/LettoreCartella.h"

namespace fcl {

// The cells of a .xls workbook that FreeXL does not read right: formula cells (FreeXL skips them,
// so their computed value would be lost) and boolean and error cells (FreeXL turns them into the
// numbers 1 and 0). They are read here from the BIFF8 records of the workbook stream (FORMULA
// with its STRING, BOOLERR), with the date formats of the cell styles, and laid over FreeXL's
// cells. Only columns A-Y are kept. Workbooks older than BIFF8 (Excel 95) are left to FreeXL.
class CelleCalcolateXls {
 public:
  // Reads the workbook at `percorso`; throws ErroreCartella when its structure is damaged.
  explicit CelleCalcolateXls(const std::filesystem::path& percorso);

  // Lays the cells of row `riga` (from 1) of the sheet named `foglio` over `celle` (25 cells).
  void Sovrapponi(const std::string& foglio, int riga, std::vector<Cella>& celle) const;

  // How many cells were found, over all sheets.
  std::size_t Quante() const { return quante_; }

 private:
  using Riga = std::vector<std::pair<std::uint16_t, Cella>>;
  std::map<std::string, std::unordered_map<std::uint32_t, Riga>> fogli_;
  std::size_t quante_ = 0;
};

}  // namespace fcl
