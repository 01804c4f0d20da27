#pragma once

#include "workbook/Listato.h"

namespace fcl {

// A listing that prints nothing: for runs that need only the intermediate file and the totals.
class ListatoNullo : public Listato {
 public:
  void Inizia(const IntestazioneListato&) override {}
  void NuovoFoglio(const FoglioListato&) override {}
  void Riga(int, const CelleRiga&) override {}
  void Completa() override {}
};

}  // namespace fcl
