#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace fcl {

// The rows of an import left out because their code is not one the register would take (empty,
// too long, characters other than letters and digits: common/CodiceOperatore.h), gathered so that
// the user is told which ones, in one notice at the end.
class CodiciEsclusi {
 public:
  void Aggiungi(std::string_view codice);
  std::size_t Numero() const { return numero_; }

  // "<origine>: N operatori non copiati perché il codice fiscale non è valido (ammesse solo
  // lettere e cifre, al massimo 16): "...", "..." e altri M." — the first few codes named, each cut
  // short; `uno` and `molti` are what was left out ("operatore non copiato", "operatori non
  // copiati").
  std::string Avviso(std::string_view origine, std::string_view uno, std::string_view molti) const;

 private:
  static constexpr std::size_t kNominati = 10;
  std::vector<std::string> nominati_;
  std::size_t numero_ = 0;
};

}  // namespace fcl
