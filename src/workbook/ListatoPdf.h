#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "workbook/Listato.h"

namespace fcl {

class PdfWriter;

// The check listing drawn as a PDF: every quadro on its own pages over the page of Stampe/base.pdf
// whose number is the quadro number, 29 rows a page, "N  di T" at the foot of every page. The file
// is written whole at Completa or not at all; the pages' contents are Flate-compressed when asked
// (ComprimiPagine), a page at a time.
class ListatoPdf : public Listato {
 public:
  ListatoPdf();
  ~ListatoPdf() override;

  void ComprimiPagine(bool comprimi) override { compresso_ = comprimi; }
  void Inizia(const IntestazioneListato& intestazione) override;
  void NuovoFoglio(const FoglioListato& foglio) override;
  void Riga(int riga, const CelleRiga& celle) override;
  void Completa() override;
  void Abbandona() noexcept override;
  // Rewrites the listing: every page imported from the written file, with the marks drawn over.
  void SegnaRighe(const std::vector<RigaSegnata>& righe, std::string_view nota) override;

  // Pages written so far (the total once Completa has run).
  long Pagine() const { return pagine_; }

 private:
  // A run of consecutive rows of one sheet, printed one after the other from `pagina` on.
  struct Tratto {
    std::string foglio;
    long long primaRiga = 0;
    long long righe = 0;
    long pagina = 0;
    int linea = 0;  // line of the first row on its page (0-based)
  };
  struct Posizione {
    long pagina = 0;
    float y = 0;  // top of the row's boxes
  };

  void NuovaPagina();
  void ControllaInizio();
  std::optional<Posizione> PosizioneRiga(std::string_view foglio, long long riga) const;

  std::unique_ptr<PdfWriter> writer_;
  IntestazioneListato intestazione_;
  FoglioListato foglio_;
  bool compresso_ = false;
  long pagine_ = 0;
  float rigaCorrente_ = 0;      // baseline of the last row, in cm; 0 asks for a new page
  bool fontRiga_ = false;       // the font and colour of the rows are set on the current page
  std::string importo_;         // the amount of the current cell as printed
  std::vector<Tratto> tratti_;  // where the rows are, for the marks: one entry per sheet as a rule
};

// An amount as the listing prints it: rounded to a whole number with "." every three digits, empty
// for zero; a text that is not a number comes back unchanged.
std::string ImportoListato(std::string_view cella);

// The name line of a BL, FN, SE or TU row, already cut to its length; empty for other quadri.
std::string RigaNominativoListato(Quadro quadro, const CelleRiga& celle);

}  // namespace fcl
