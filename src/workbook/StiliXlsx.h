#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "workbook/VoceZip.h"

namespace fcl {

// Which cell styles of a .xlsx (xl/styles.xml, the cellXfs list) show a number as a date or a
// time: a number in such a cell is a date serial. Built-in formats 14-22 and 45-47 are dates and
// times; a custom format is one when its code holds d, m, y, h or s outside quotes and brackets.
class StiliXlsx {
 public:
  void Leggi(std::unique_ptr<VoceZip> parte);

  // Whether style `indice` (the s attribute of a cell) is a date or time style; false for an
  // index that does not exist.
  bool Data(long long indice) const {
    return indice >= 0 && static_cast<std::size_t>(indice) < data_.size() &&
           data_[static_cast<std::size_t>(indice)];
  }

  static bool FormatoIncorporatoData(long long id);
  static bool CodiceFormatoData(std::string_view codice);

  void AggiungiStile(bool data) { data_.push_back(data); }

 private:
  std::vector<bool> data_;
};

}  // namespace fcl
