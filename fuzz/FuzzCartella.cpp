// Fuzz target of the workbook readers: the input becomes a workbook file, opened with
// ApriCartella (the format is chosen by content) and read the way the run reads it: every
// sheet's name, rows in order until the data ends, the heading rows again, every cell through
// TestoCella. A bad workbook must end in ErroreCartella; anything else escaping is a finding.
//
// FCL_FUZZ_FORMATO picks how an input that is not already a whole file is wrapped, so that the
// mutations land on the part each reader parses rather than on a container's checksums:
//   1 (.xls)        an input without the compound-file signature is the Workbook stream (BIFF8)
//                   of a compound file made around it;
//   2 (.xlsx/.ods)  an input not starting with "PK" is a list of parts (SupportoFuzz.h), zipped
//                   stored so that their bytes reach the XML parser unchanged.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "SupportoFuzz.h"
#include "workbook/FileComposto.h"
#include "workbook/LettoreCartella.h"

#ifndef FCL_FUZZ_FORMATO
#error "FCL_FUZZ_FORMATO must be 1 (.xls) or 2 (zip formats)"
#endif

namespace {

using fcl::Cella;

bool RigaVuota(const std::vector<Cella>& riga) {
  for (const auto& c : riga)
    if (c.tipo != Cella::Tipo::Vuota) return false;
  return true;
}

void Controlla(const std::vector<Cella>& riga) {
  if (riga.size() != 25) std::abort();  // the readers promise 25 cells
  for (const auto& c : riga) {
    const std::string testo = fcl::TestoCella(c);
    if (!fcl::fuzz::Utf8Valido(testo)) std::abort();
  }
}

void Leggi(const std::filesystem::path& percorso) {
  auto lettore = fcl::ApriCartella(percorso);
  const int fogli = lettore->NumeroFogli();
  for (int f = 1; f <= fogli && f <= 32; ++f) {
    try {
      if (!fcl::fuzz::Utf8Valido(lettore->NomeFoglio(f))) std::abort();
      int vuote = 0;
      for (int r = 1; r <= 2000 && vuote < 4; ++r) {
        const auto& riga = lettore->Riga(f, r);
        Controlla(riga);
        vuote = RigaVuota(riga) ? vuote + 1 : 0;
      }
      // The run goes back to the headings (rows 3 and 5) while it walks the data.
      Controlla(lettore->Riga(f, 5));
      Controlla(lettore->Riga(f, 3));
      Controlla(lettore->Riga(f, 6));
    } catch (const fcl::ErroreCartella&) {
      // A damaged sheet: the next one may still read.
    }
  }
}

// With FCL_FUZZ_SENZA_FREEXL=1 in the environment, inputs that ApriCartella would hand to FreeXL
// (a compound file whose workbook stream is not Excel 97-2003, or is named "Book") are skipped,
// so that a run measures this system's own readers while a FreeXL finding stays open.
[[maybe_unused]] bool PerFreeXL(std::string_view file) {
  static const bool salta = [] {
    const char* v = std::getenv("FCL_FUZZ_SENZA_FREEXL");
    return v != nullptr && std::string_view(v) == "1";
  }();
  if (!salta) return false;
  const fcl::FileComposto composto{std::string(file)};
  if (!composto.Valido()) return false;
  if (!composto.Contiene("Workbook")) return composto.Contiene("Book");
  const auto flusso = composto.Flusso("Workbook");
  if (!flusso) return false;
  return !(flusso->size() >= 8 && (*flusso)[0] == '\x09' && (*flusso)[1] == '\x08' &&
           (*flusso)[4] == '\x00' && (*flusso)[5] == '\x06');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
  const std::string_view ingresso = fcl::fuzz::Vista(dati, dimensione);
  std::filesystem::path percorso;
#if FCL_FUZZ_FORMATO == 1
  if (ingresso.starts_with("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")) {
    if (PerFreeXL(ingresso)) return -1;
    percorso = fcl::fuzz::ScriviTemporaneo("cartella.xls", ingresso);
  } else {
    const std::string composto = fcl::fuzz::CompostoConFlusso("Workbook", ingresso);
    if (composto.empty() || PerFreeXL(composto)) return -1;
    percorso = fcl::fuzz::ScriviTemporaneo("cartella.xls", composto);
  }
#else
  if (ingresso.starts_with("PK")) {
    percorso = fcl::fuzz::ScriviTemporaneo("cartella.zip", ingresso);
  } else {
    percorso = fcl::fuzz::CartellaProcesso() / "cartella.zip";
    if (!fcl::fuzz::ScriviZip(percorso, fcl::fuzz::Parti(ingresso))) return -1;
  }
#endif
  try {
    Leggi(percorso);
  } catch (const fcl::ErroreCartella& e) {
    if (std::string(e.what()).empty()) std::abort();  // the user would see no reason
  }
  return 0;
}
