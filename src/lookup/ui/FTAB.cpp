#include "lookup/ui/FTAB.h"

#include <QLineEdit>

#include "common/ui/Stringhe.h"

namespace fcl {

FTAB::FTAB(Database& db, Elenco elenco, const std::string& seme, QWidget* genitore)
    : FinestraRicerca(db, std::move(elenco), genitore) {
  if (!seme.empty()) Ricerca()->setText(QTesto(seme));
  Riempi();
}

void FTAB::Scelta(const std::vector<std::string>& valori) {
  risultato_ = valori;
  accept();
}

}  // namespace fcl
