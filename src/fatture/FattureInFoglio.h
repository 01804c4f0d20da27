#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "fatture/RiepilogoFatture.h"

namespace fcl {

struct Contesto;

// "Fatture elettroniche -> foglio": the current operator's invoices written into a workbook of the
// blank workbook's layout for review, with the report NAME_FATTURE.csv beside it. One procedure
// for the command line and the window.
struct RichiestaFattureInFoglio {
  std::vector<std::filesystem::path> sorgente;  // folders, .zip, .xml, .xml.p7m
  std::filesystem::path foglio;                 // the workbook to write (.xlsx)
  std::string anno;                             // empty: the program's reference year
  std::filesystem::path registrazioni;          // optional list of registration dates
  bool sovrascrivi = false;  // replace an existing workbook (it may hold the user's corrections)
};

struct EsitoFattureInFoglio {
  // Empty when both files were written; otherwise why nothing was written.
  std::string errore;
  RiepilogoFatture riepilogo;
  std::filesystem::path rapporto;
  bool esisteGia = false;  // refused only because the workbook exists (the window may ask)
};

// Checks first (the sources are invoices, neither file would replace a program's file, a source or
// the list of registrations, names fit the volume, the workbook does not exist unless
// `sovrascrivi`), then reads the invoices and writes the workbook and the report, each whole or not
// at all. `avanza` hears the files read so far. Throws Errore when the sources cannot be read or a
// file cannot be written.
EsitoFattureInFoglio FattureInFoglio(const Contesto& ctx, const RichiestaFattureInFoglio& r,
                                     const std::function<void(long long)>& avanza = {});

}  // namespace fcl
