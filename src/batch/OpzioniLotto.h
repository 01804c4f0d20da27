#pragma once

#include <filesystem>
#include <string>

namespace fcl {

// The choices of a creation that a row of a batch may set, as text; empty when not given (the
// command line's option then applies, else the creation's default).
struct ValoriCreazione {
  std::string anno;
  std::string tipo;  // "0" ordinary, "1" substitution, "2" cancellation
  std::string protocollo;
  std::string protocolloDocumento;
  std::string dati;  // "1" aggregated, "2" analytical; empty: as the workbook says
  std::string periodo;
};

// What applies to every row of a batch.
struct OpzioniLotto {
  std::filesystem::path uscita;  // one folder per operator is made under it
  ValoriCreazione comuni;        // the command line's (or the window's) choices
  bool senzaZeri = false;
  bool listatoCompresso = false;  // the check listings' pages compressed
  bool sovrascrivi = false;
  bool conservaConErrori = false;
  int processi = 1;  // rows run at the same time
};

}  // namespace fcl
