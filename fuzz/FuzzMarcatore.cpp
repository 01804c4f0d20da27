// Fuzz target of the link markers: the input is a marker file. It is read and unscrambled; a
// marker that reads is written back and must read back the same. Codifica itself must undo what
// it did, or refuse with ErroreCodifica.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "SupportoFuzz.h"
#include "shell/Codifica.h"
#include "shell/Marcatori.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
  const std::string_view ingresso = fcl::fuzz::Vista(dati, dimensione);
  const auto file = fcl::fuzz::ScriviTemporaneo("FSYSNEV13.DLL", ingresso);

  const auto letto = fcl::LeggiFileMarcatore(file);
  if (letto) {
    for (const auto* v : {&letto->stringaConnessione, &letto->tipoDb, &letto->cartella})
      if (!fcl::fuzz::Utf8Valido(*v)) std::abort();
    const auto copia = fcl::fuzz::CartellaProcesso() / "copia" / "FSYSNEV13.DLL";
    try {
      fcl::ScriviFileMarcatore(copia, *letto);
      const auto riletto = fcl::LeggiFileMarcatore(copia);
      if (!riletto || riletto->stringaConnessione != letto->stringaConnessione ||
          riletto->tipoDb != letto->tipoDb || riletto->cartella != letto->cartella)
        std::abort();
    } catch (const fcl::ErroreCodifica&) {
      // A value the scheme cannot hold (a control character, a long text): refused, not written.
    }
  }

  for (int chiave : fcl::kChiaviMarcatore) {
    try {
      const std::string scritto = fcl::Codifica(ingresso, fcl::ModoCodifica::Scrivi, chiave);
      if (fcl::Codifica(scritto, fcl::ModoCodifica::Leggi, chiave) != ingresso) std::abort();
    } catch (const fcl::ErroreCodifica&) {
    }
    try {
      const std::string letta = fcl::Codifica(ingresso, fcl::ModoCodifica::Leggi, chiave);
      if (fcl::Codifica(letta, fcl::ModoCodifica::Scrivi, chiave) != ingresso) std::abort();
    } catch (const fcl::ErroreCodifica&) {
    }
  }
  return 0;
}
