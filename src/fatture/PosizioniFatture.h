#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/PosizioniSorgente.h"
#include "fatture/RiepilogoFatture.h"

namespace fcl {

// What a reading of invoices keeps beyond its rows: the files met (for naming a row by its
// invoice), the place of every row, the report line of every file and invoice (spooled to a
// temporary file as they come, so memory does not grow with them) and the totals. Shared by the
// reader and by the run that names rows after the reader is gone.
class PosizioniFatture : public PosizioniSorgente {
 public:
  explicit PosizioniFatture(std::vector<std::filesystem::path> origini);
  ~PosizioniFatture() override;

  // A file met: its index.
  std::uint32_t NuovoFile(const std::string& nome);
  const std::string& NomeFile(std::uint32_t indice) const;
  // A row of quadro `q` (index in RiepilogoFatture::kQuadri): its 1-based number in the quadro.
  long long NuovaRiga(std::size_t q, std::uint32_t file, std::uint16_t posizione,
                      std::uint16_t fattureNelFile);
  // One line of the report: the fields after "file".
  void Rapporto(const std::string& file, const std::vector<std::string>& campi);

  RiepilogoFatture& Riepilogo() { return riepilogo_; }
  const RiepilogoFatture& Riepilogo() const { return riepilogo_; }

  // The report beside the listing (or the workbook): NAME_FATTURE.csv, "_LISTATO.PDF" left out.
  static std::filesystem::path PercorsoRapporto(const std::filesystem::path& listato);
  // Writes the report whole (";", UTF-8 with BOM), its totals at the end.
  void ScriviRapporto(const std::filesystem::path& percorso) const;

  std::string Posizione(std::string_view foglio, long long riga) const override;
  std::vector<std::filesystem::path> Origini() const override { return origini_; }
  std::vector<std::filesystem::path> FileDelListato(
      const std::filesystem::path& listato) const override;
  void Concludi(const std::filesystem::path& listato, Interazione& ui) const override;

 private:
  struct Posto {
    std::uint32_t file;
    std::uint16_t posizione;
    std::uint16_t fatture;
  };
  std::vector<std::filesystem::path> origini_;
  std::vector<std::string> file_;
  std::array<std::vector<Posto>, 6> righe_;
  std::FILE* rapporto_ = nullptr;
  RiepilogoFatture riepilogo_;
};

}  // namespace fcl
