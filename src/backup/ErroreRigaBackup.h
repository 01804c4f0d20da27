#pragma once

#include <string>
#include <utility>

#include "common/ErroreSistema.h"
#include "common/Errori.h"

namespace fcl {

// A line of a backup file that does not fit the database: an unknown table, more values than the
// table has columns, a value its column cannot take, a row the database refuses. The restore that
// meets it is rolled back whole; the text names the line (1-based, as counted in the file) and the
// table, in Italian.
class ErroreRigaBackup : public Errore {
 public:
  ErroreRigaBackup(std::size_t riga, std::string tabella, const std::string& dettaglio)
      : Errore(Testo(riga, tabella, dettaglio)), riga_(riga), tabella_(std::move(tabella)) {}

  std::size_t Riga() const { return riga_; }
  const std::string& Tabella() const { return tabella_; }

 private:
  static std::string Testo(std::size_t riga, const std::string& tabella,
                           const std::string& dettaglio) {
    std::string t = "Riga " + std::to_string(riga) + " del file di backUp";
    if (!tabella.empty()) t += " (tabella " + tabella + ")";
    return PrimaDelDettaglio(t + ": " + dettaglio,
                             ". Ripristino annullato: l'archivio non è stato modificato.");
  }

  std::size_t riga_;
  std::string tabella_;
};

}  // namespace fcl
