#pragma once

#include <filesystem>
#include <string>

namespace fcl {

// What the reading of invoices needs to know: whose they are (the operator's partita IVA and
// codice fiscale tell issued from received), the reference year (0: every year) and the optional
// list of registration dates.
struct OpzioniFatture {
  std::string partitaIva;
  std::string codiceFiscale;
  int anno = 0;
  std::filesystem::path registrazioni;
};

}  // namespace fcl
