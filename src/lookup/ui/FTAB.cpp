#include "lookup/ui/FTAB.h"

#include <QLineEdit>

#include "common/Cp1252.h"
#include "common/RoutineCampi.h"
#include "common/ui/ListaVista.h"
#include "common/ui/Stringhe.h"

namespace fcl {

FTAB::FTAB(Database& db, Elenco elenco, const std::string& seme, QWidget* genitore)
    : FinestraRicerca(db, std::move(elenco), genitore) {
  const std::string testo = Rifila(seme);
  if (testo.empty()) {
    Riempi();
    return;
  }
  // What the user typed narrows the first list to the rows that contain it, on the row equal to
  // it when there is one; a text that no row contains opens the whole list (the text stays in
  // the search box).
  Ricerca()->setText(QTesto(testo));
  Cerca();
  if (Lista()->Dati().Righe().empty()) Riempi();
}

void FTAB::DopoRiempimento() {
  // After every fill, the municipality equal to the searched text is the row selected.
  const std::string testo = MaiuscoloUtf8(Rifila(TestoStd(Ricerca()->text())));
  if (!testo.empty()) Lista()->SelezionaRiga(testo, "Localita");
}

void FTAB::Scelta(const std::vector<std::string>& valori) {
  risultato_ = valori;
  accept();
}

}  // namespace fcl
