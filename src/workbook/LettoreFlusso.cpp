#include "workbook/LettoreFlusso.h"

#include <utility>

#include "workbook/ErroriCartella.h"

namespace fcl {

void LettoreFlusso::Azzera(int foglio) {
  foglio_ = 0;
  Ricomincia(foglio);
  foglio_ = foglio;
  finePrecedente_ = 0;
  blocco_.inizio = 1;
  blocco_.quante = 0;
  fineFoglio_ = false;
}

void LettoreFlusso::Aggiungi(BloccoRighe&& blocco) {
  Intestazione& intestazione = intestazioni_[foglio_];
  if (!intestazione.completa) {
    for (long long r = blocco.inizio; r <= blocco.Fine() && r <= kRigheTenute; ++r)
      intestazione.righe[r] = blocco.celle;
    if (blocco.Fine() >= kRigheTenute) intestazione.completa = true;
  }
  finePrecedente_ = blocco_.Fine();
  std::swap(blocco_, blocco);
}

void LettoreFlusso::Concludi() {
  fineFoglio_ = true;
  intestazioni_[foglio_].completa = true;
}

const std::vector<Cella>& LettoreFlusso::Riga(int foglio, int riga) {
  if (riga < 1) return vuota_;
  if (riga <= kRigheTenute) {
    const auto it = intestazioni_.find(foglio);
    if (it != intestazioni_.end() && it->second.completa) {
      const auto r = it->second.righe.find(riga);
      return r == it->second.righe.end() ? vuota_ : r->second;
    }
  }
  if (foglio != foglio_) Azzera(foglio);
  for (;;) {
    if (riga > blocco_.Fine()) {
      if (fineFoglio_) return vuota_;
      BloccoRighe& prossimo = prossimo_;
      if (!Prossimo(prossimo)) {
        Concludi();
        continue;
      }
      if (prossimo.inizio <= blocco_.Fine()) {
        throw errori_cartella::Danneggiata(percorso_, "la riga " + std::to_string(prossimo.inizio) +
                                                          " del foglio " + std::to_string(foglio) +
                                                          " compare dopo la riga " +
                                                          std::to_string(blocco_.Fine()));
      }
      Aggiungi(std::move(prossimo));
      continue;
    }
    if (riga >= blocco_.inizio) {
      return blocco_.celle;
    }
    if (riga > finePrecedente_) return vuota_;
    Azzera(foglio);
  }
}

}  // namespace fcl
