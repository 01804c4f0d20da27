#include "lookup/RicercaTabella.h"

#include "lookup/RiempiLista.h"
#include "store/Consultazioni.h"

namespace fcl {

std::optional<Elenco> PreparaElenco(std::string_view tipo) {
  if (tipo == "COMUN") {
    return Elenco{
        kElencoComuni,
        std::string(kTitoloComuni),
        {"Localita", "Provincia"}};
  }
  return std::nullopt;
}

Elenco ElencoAttivita() {
  return Elenco{
      kElencoAteco,
      "Ricerca Codici Attività ATECO 2007",
      {"Codice", "Descrizione"}};
}

RicercaTabella::RicercaTabella(Database& db, Elenco elenco) : db_(db), elenco_(std::move(elenco)) {
  if (elenco_.nomiColonne.empty()) elenco_.nomiColonne = {"Codice", "Descrizione"};
}

void RicercaTabella::Lista() { RiempiLista(lista_, db_, elenco_.sql, testoRicerca_); }

bool RicercaTabella::Cerca(std::string_view testo) {
  if (testo.empty()) return false;
  testoRicerca_ = std::string(testo);
  Lista();
  return true;
}

void RicercaTabella::Reset() { Lista(); }

std::vector<std::string> RicercaTabella::Scegli(std::optional<std::size_t> riga) const {
  return lista_.LeggiSelezione(riga, elenco_.nomiColonne);
}

}  // namespace fcl
