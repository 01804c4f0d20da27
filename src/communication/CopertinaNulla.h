#pragma once

#include "communication/Copertina.h"

namespace fcl {

// A cover that draws and writes nothing: the creation with no cover PDF (tests, and until a real
// cover is wired in).
class CopertinaNulla : public Copertina {
 public:
  void Inizia(const std::filesystem::path&, const std::string&) override {}
  void Pagina1(const DatiFrontespizio&) override {}
  void Pagina2(const DatiRiepilogo&) override {}
  void Completa() override {}
  void Abbandona() noexcept override {}
};

}  // namespace fcl
