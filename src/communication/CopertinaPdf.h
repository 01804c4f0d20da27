#pragma once

#include <filesystem>
#include <memory>

#include "common/Interazione.h"
#include "communication/Copertina.h"

namespace fcl {

class PdfWriter;

// The cover of a communication drawn as a PDF over the two pages of Stampe/base_RIEP.pdf: page 1
// the frontispiece (what record B carries), page 2 the summary (the totals of record E). The file
// appears under its name only at Completa.
class CopertinaPdf : public Copertina {
 public:
  CopertinaPdf(std::filesystem::path cartellaProgramma, Interazione& ui);
  ~CopertinaPdf() override;

  void Inizia(const std::filesystem::path& percorso, const std::string& autore) override;
  void Pagina1(const DatiFrontespizio& dati) override;
  void Pagina2(const DatiRiepilogo& dati) override;
  void Completa() override;
  void Abbandona() noexcept override;

 private:
  void ImportaModello(long pagina);
  void Celle(float inizio, float y, const std::string& codice);
  void DataInParti(const std::string& data, float x1, float x2, float x3, float y);

  std::filesystem::path modello_;
  Interazione& ui_;
  std::unique_ptr<PdfWriter> writer_;
  std::filesystem::path percorso_;
};

}  // namespace fcl
