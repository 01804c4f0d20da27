#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "workbook/VoceZip.h"

namespace fcl {

// The shared strings of a .xlsx (xl/sharedStrings.xml), held compactly in one buffer: a sheet
// cell of type "s" names one by its index. Rich text keeps the text of its runs, without the
// phonetic guides. Read once when the workbook opens.
class TestiCondivisi {
 public:
  // Reads the part; throws ErroreCartella when it is damaged or too large.
  void Leggi(std::unique_ptr<VoceZip> parte);

  std::size_t Quanti() const { return inizi_.size(); }
  // The string at `indice` (from 0); the caller checks the index against Quanti().
  std::string_view Testo(std::size_t indice) const;

  // Whether the most shared strings a workbook may hold (kTestiCondivisiMassimi) are read; the
  // caller checks it before each Aggiungi, which throws std::length_error beyond it.
  bool Pieni() const;
  void Aggiungi(std::string_view testo);

 private:
  std::string testi_;
  std::vector<std::uint32_t> inizi_;
};

}  // namespace fcl
