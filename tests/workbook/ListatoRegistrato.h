#pragma once

#include <string>
#include <vector>

#include "workbook/Listato.h"

namespace fcl::test {

// A listing that records what the run asked it to print.
class ListatoRegistrato : public Listato {
 public:
  struct RigaListata {
    std::string foglio;
    int riga;
    CelleRiga celle;
  };

  void Inizia(const IntestazioneListato& i) override {
    ++inizi;
    intestazione = i;
  }
  void NuovoFoglio(const FoglioListato& f) override { fogli.push_back(f); }
  void Riga(int riga, const CelleRiga& celle) override {
    righe.push_back({fogli.empty() ? std::string() : fogli.back().nome, riga, celle});
  }
  void Completa() override { ++completamenti; }

  int inizi = 0;
  int completamenti = 0;
  IntestazioneListato intestazione;
  std::vector<FoglioListato> fogli;
  std::vector<RigaListata> righe;
};

}  // namespace fcl::test
