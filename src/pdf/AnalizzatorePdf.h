#pragma once

#include <cstddef>
#include <string_view>

#include "pdf/OggettoPdf.h"

namespace fcl {

// Reads PDF values from a span of bytes (a template file, or the decoded data of an object
// stream), from a position on. Every read is bounds-checked and nesting is limited, so damaged or
// hostile bytes end in ErroreModelloPdf, never in a read outside the span or a deep recursion.
class AnalizzatorePdf {
 public:
  AnalizzatorePdf(std::string_view dati, std::size_t posizione = 0)
      : dati_(dati), pos_(posizione) {}

  std::size_t Posizione() const { return pos_; }
  void Posiziona(std::size_t posizione) { pos_ = posizione; }
  bool Fine() const { return pos_ >= dati_.size(); }

  // Skips blanks, line ends and comments.
  void SaltaSpazi();
  // A value: number, name, string, array, dictionary, reference "N G R", true/false/null.
  OggettoPdf Valore();
  // When the next token is the keyword `parola`, consumes it and returns true.
  bool Parola(std::string_view parola);
  // A non-negative whole number (object numbers, offsets); throws when there is none.
  long long Intero();

 private:
  OggettoPdf Valore(int profondita);
  OggettoPdf Numero();
  OggettoPdf NomeLetto();
  OggettoPdf StringaLetterale();
  OggettoPdf StringaEsadecimale();

  std::string_view dati_;
  std::size_t pos_;
};

}  // namespace fcl
