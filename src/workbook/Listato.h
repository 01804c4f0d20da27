#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "common/Contesto.h"
#include "workbook/CelleRiga.h"

namespace fcl {

// What the check listing prints in the heading of every page.
struct IntestazioneListato {
  std::filesystem::path percorsoListato;         // the PDF to write
  std::filesystem::path percorsoCartellaLavoro;  // printed as "Archivio base dati: ..."
  std::string nomeOperatore;                     // already upper-cased and trimmed
  std::string annoRiferimento;
  std::filesystem::path cartellaProgramma;  // where Stampe/base.pdf lives
};

// A row of the listing to mark once the communication written from the run has been checked.
struct RigaSegnata {
  std::string foglio;   // the sheet's name
  long long riga = 0;   // the row on the sheet (1-based)
  bool errore = false;  // false: a warning
};

// One sheet of the workbook as the listing needs it: which template page, and for FR which of the
// two layouts the row cells follow (the listing prints each FR field at the same place in both).
struct FoglioListato {
  Quadro quadro = FA;
  std::string nome;
  bool layoutFRCorrente = true;
};

// The check listing of a workbook run, as the run drives it. The run calls, in order:
// Inizia once the listing path is chosen and free; NuovoFoglio at the start of each recognised
// sheet (the next row opens a new page, so every sheet starts on its own page); Riga for every data
// row, before the row is encoded, with the cells after the upper-casing of the quadro's columns;
// Completa at the end of the walk, only when at least one row was read (a run without rows writes
// no listing file). The listing decides its own page breaks within a sheet.
//
// An implementation that cannot write its file throws ErroreFile; the run reports it and ends.
class Listato {
 public:
  virtual ~Listato() = default;

  // Before Inizia: the pages' contents are written compressed (a file several times smaller, the
  // same pages) or as they are (the default). A listing that writes no file ignores it.
  virtual void ComprimiPagine(bool /*comprimi*/) {}

  virtual void Inizia(const IntestazioneListato& intestazione) = 0;
  virtual void NuovoFoglio(const FoglioListato& foglio) = 0;
  // `riga` is the row's number on the sheet (1-based).
  virtual void Riga(int riga, const CelleRiga& celle) = 0;
  virtual void Completa() = 0;
  // The run failed or was stopped before Completa: the unfinished listing leaves nothing behind
  // (an earlier listing under the same name stays as it was).
  virtual void Abbandona() noexcept {}

  // After Completa: marks rows of the written listing (errors and warnings in two colours) and
  // prints `nota` at the foot of the pages that have marks. Rows the listing never printed are
  // passed over. Throws ErroreFile when the listing cannot be rewritten; it is then left as it was.
  // A listing that writes no file marks nothing.
  virtual void SegnaRighe(const std::vector<RigaSegnata>& /*righe*/, std::string_view /*nota*/) {}
};

}  // namespace fcl
