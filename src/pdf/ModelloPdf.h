#pragma once

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "pdf/LettorePdf.h"

namespace fcl {

// One template file in a writer's cache: its reader, the state of each of its pages, and the
// numbers given in the output to the template objects copied so far, so that an object shared by
// several pages (a font) is copied once per writer.
//
// Importing a page is done in two steps so that a damaged template never leaves half an import in
// the output: Prepara reads everything and builds the bytes of every object to write (throwing
// ErroreModelloPdf on any problem, with nothing changed); the writer writes them and calls
// Conferma, which records the copies and marks the page imported.
class ModelloPdf {
 public:
  // Progress of a page whose content is split into several streams: (stream, streams), called
  // before each stream is merged.
  using AvanzamentoFlussi = std::function<void(int contatore, int flussi)>;

  enum class Stato { DaImportare, Importata, Fallita };
  struct Pagina {
    int oggetto = 0;  // object number in the template
    Stato stato = Stato::DaImportare;
    double larghezza = 0, altezza = 0;  // points, from the MediaBox, once imported
  };

  struct PaginaPreparata {
    std::vector<std::pair<int, std::string>> oggetti;  // output number, bytes between the
                                                       // "N 0 obj" line and "endobj"
    int numeroForma = 0;
    std::string corpoForma;
    double larghezza = 0, altezza = 0;
    std::vector<std::pair<int, int>> nuoveCopie;  // template number -> output number
    // Copies that are plain standard fonts (no metrics, no embedded program, no differences):
    // "BaseFont/encoding" (encoding empty for a font without one) -> output number. A writer
    // that needs the same font later uses the copy instead of writing a second object.
    std::vector<std::pair<std::string, int>> fontStandard;
  };

  // Without a reader (a file that could not be read) the template has no pages.
  ModelloPdf(std::string chiave, std::unique_ptr<LettorePdf> lettore);

  const std::string& Chiave() const { return chiave_; }
  int NumeroPagine() const { return static_cast<int>(pagine_.size()); }
  int VersioneMinore() const { return lettore_ ? lettore_->VersioneMinore() : 3; }
  Pagina& PaginaN(int n) { return pagine_.at(static_cast<std::size_t>(n - 1)); }

  // Builds the form object of page n (1-based) and the copies of the objects its resources need,
  // numbered from `primoNumero` on (the form object takes the last number).
  PaginaPreparata Prepara(int n, int primoNumero, const AvanzamentoFlussi& avanzamento);
  void Conferma(int n, const PaginaPreparata& preparata);

 private:
  std::string chiave_;
  std::unique_ptr<LettorePdf> lettore_;
  std::vector<Pagina> pagine_;
  std::unordered_map<int, int> copie_;
};

}  // namespace fcl
