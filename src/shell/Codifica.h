#pragma once

#include <string>
#include <string_view>

#include "common/Errori.h"

namespace fcl {

// The character shift that scrambles each line of a link marker. Works on single-byte
// (Windows-1252) text: in mode Scrivi the byte at 1-based position i becomes code + key + i, in
// mode Leggi code - key - i. A shifted code outside 0..255 cannot be held in one byte: Codifica
// then throws ErroreCodifica instead of writing a wrong byte (Scrivi: the text is too long or holds
// high characters; Leggi: the marker was not written by this scheme).
enum class ModoCodifica { Scrivi, Leggi };

class ErroreCodifica : public Errore {
 public:
  using Errore::Errore;
};

std::string Codifica(std::string_view testo, ModoCodifica modo, int chiave);

}  // namespace fcl
