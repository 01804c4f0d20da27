#include "lookup/ui/FTABSG.h"

namespace fcl {

FTABSG::FTABSG(Database& db, QWidget* genitore) : FinestraRicerca(db, ElencoAttivita(), genitore) {
  Riempi();
}

void FTABSG::Chiudi() {
  scelta_ = SceltaAttivita{};
  reject();
}

void FTABSG::Scelta(const std::vector<std::string>& valori) {
  scelta_ = SceltaAttivita{valori.size() > 0 ? valori[0] : std::string(),
                           valori.size() > 1 ? valori[1] : std::string()};
  accept();
}

void FTABSG::DopoRiempimento() {
  if (DatiRicerca().TabellaVuota()) MostraAvviso(std::string(kAtecoVuotaFinestre));
}

std::optional<SceltaAttivita> FTABSG::ScegliAttivita(Database& db, QWidget* genitore) {
  FTABSG finestra(db, genitore);
  finestra.exec();
  return finestra.Risultato();
}

}  // namespace fcl
