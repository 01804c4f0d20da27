#pragma once

#include <vector>

#include "workbook/LettoreCartella.h"

namespace fcl {

// Columns A to Y: the only ones a reader keeps.
inline constexpr int kColonneLette = 25;

// One row of a streamed sheet, or several identical rows in a run (an .ods row repeated N times),
// with its 25 cells.
struct BloccoRighe {
  long long inizio = 0;  // first row, from 1
  long long quante = 1;  // rows in the run
  std::vector<Cella> celle = std::vector<Cella>(kColonneLette);

  long long Fine() const { return inizio + quante - 1; }
};

}  // namespace fcl
