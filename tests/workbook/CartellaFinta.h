#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "workbook/LettoreCartella.h"

namespace fcl::test {

// A workbook in memory for the run's tests: named sheets of rows of cells. Rows not set are empty;
// asking for a sheet index that does not exist throws like a real reader. Optionally fails when a
// given row is read, like a workbook damaged halfway.
class CartellaFinta : public LettoreCartella {
 public:
  struct Foglio {
    std::string nome;
    std::map<int, std::vector<Cella>> righe;

    // Sets cells of row `riga` from pairs ("A", value); a value is a text cell unless it is made
    // with one of the helpers below.
    Foglio& Riga(int riga, std::initializer_list<std::pair<std::string_view, Cella>> celle) {
      auto& r = righe[riga];
      r.resize(25);
      for (const auto& [colonna, cella] : celle) r[colonna[0] - 'A'] = cella;
      return *this;
    }
  };

  static Cella T(std::string testo) { return {Cella::Tipo::Testo, 0, std::move(testo)}; }
  static Cella N(double n) { return {Cella::Tipo::Numero, n, {}}; }
  static Cella D(double seriale) { return {Cella::Tipo::Data, seriale, {}}; }
  static Cella E(std::string codice) { return {Cella::Tipo::Errore, 0, std::move(codice)}; }

  Foglio& Aggiungi(std::string nome) {
    fogli.push_back({std::move(nome), {}});
    return fogli.back();
  }

  int NumeroFogli() override { return static_cast<int>(fogli.size()); }
  std::string NomeFoglio(int foglio) override {
    if (foglio < 1 || foglio > NumeroFogli())
      throw ErroreCartella(9, "Indice non incluso nell'intervallo");
    return fogli[foglio - 1].nome;
  }
  const std::vector<Cella>& Riga(int foglio, int riga) override {
    if (foglio == foglioGuasto && riga == rigaGuasta)
      throw ErroreCartella(1004, "Cartella danneggiata");
    righeLette.emplace_back(foglio, riga);
    const auto& f = fogli.at(foglio - 1);
    const auto it = f.righe.find(riga);
    if (it != f.righe.end()) return it->second;
    vuota_.assign(25, Cella{});
    return vuota_;
  }

  std::vector<Foglio> fogli;
  std::vector<std::pair<int, int>> righeLette;
  int foglioGuasto = 0;
  int rigaGuasta = 0;

 private:
  std::vector<Cella> vuota_;
};

}  // namespace fcl::test
