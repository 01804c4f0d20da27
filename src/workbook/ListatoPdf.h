#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "workbook/Listato.h"

namespace fcl {

class PdfWriter;

// The check listing drawn as a PDF: every quadro on its own pages over the page of Stampe/base.pdf
// whose number is the quadro number, 29 rows a page, "N  di T" at the foot of every page. The file
// is written whole at Completa or not at all.
class ListatoPdf : public Listato {
 public:
  ListatoPdf();
  ~ListatoPdf() override;

  void Inizia(const IntestazioneListato& intestazione) override;
  void NuovoFoglio(const FoglioListato& foglio) override;
  void Riga(int riga, const CelleRiga& celle) override;
  void Completa() override;

  // Pages written so far (the total once Completa has run).
  long Pagine() const { return pagine_; }

 private:
  void NuovaPagina();
  void ControllaInizio();

  std::unique_ptr<PdfWriter> writer_;
  IntestazioneListato intestazione_;
  FoglioListato foglio_;
  long pagine_ = 0;
  float rigaCorrente_ = 0;  // baseline of the last row, in cm; 0 asks for a new page
};

// An amount as the listing prints it: rounded to a whole number with "." every three digits, empty
// for zero; a text that is not a number comes back unchanged.
std::string ImportoListato(std::string_view cella);

// The name line of a BL, FN, SE or TU row, already cut to its length; empty for other quadri.
std::string RigaNominativoListato(Quadro quadro, const CelleRiga& celle);

}  // namespace fcl
