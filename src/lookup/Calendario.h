#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "common/Valore.h"

namespace fcl {

// The month grid of the date picker, without the window: the month and year shown, the 37 day
// cells (seven a row, Monday first), the cell framed for the day remembered at opening, and the
// moves between months within the years 1500 to 2500.
class Calendario {
 public:
  static constexpr int kCelle = 37;
  static constexpr int kAnnoMinimo = 1500;
  static constexpr int kAnnoMassimo = 2500;

  // Shows `oggi`'s month and remembers its day.
  explicit Calendario(const Data& oggi);

  int Anno() const { return anno_; }
  int Mese() const { return mese_; }  // 1-12
  int GiornoRicordato() const { return giornoRicordato_; }

  // Days of the month shown, and the weekday of its first day counted from Monday = 0.
  int GiorniNelMese() const;
  int Scostamento() const;
  // The day in each cell; 0 for an empty cell.
  std::array<int, kCelle> Celle() const;
  // The day in `cella`, nullopt when the cell is empty or out of the grid.
  std::optional<int> GiornoDellaCella(int cella) const;
  // The date of a cell holding a day, "dd/mm/yyyy"; empty for an empty cell.
  std::string DataDellaCella(int cella) const;
  // The cell framed when the month is drawn: the remembered day's place, which may be the empty
  // cell after the last day when the month is shorter.
  int CellaCornice() const;

  // The year is kept within 1500..2500; the month within 1..12.
  void ImpostaAnno(int anno);
  void ImpostaMese(int mese);
  // From December to January of the next year (not past 2500); from January to December of the
  // year before (not before 1500).
  void MeseSuccessivo();
  void MesePrecedente();

  // The month names, January first, as the picker lists them ("Gennaio" … "Dicembre").
  static const std::array<std::string_view, 12>& NomiMesi();

 private:
  int anno_;
  int mese_;
  int giornoRicordato_;
};

}  // namespace fcl
