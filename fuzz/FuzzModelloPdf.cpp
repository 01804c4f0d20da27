// Fuzz target of the template PDF reader: the input is a template file. It is indexed (cross
// references, page tree), every page is imported the way the writer imports it (resources copied,
// content streams decoded and merged into one form) and confirmed, and the inherited attributes
// and the stream decoding are exercised on every object. A bad template must end in
// ErroreModelloPdf; anything else escaping is a finding.

#include <cstdint>
#include <memory>
#include <string>

#include "SupportoFuzz.h"
#include "pdf/ErroreModelloPdf.h"
#include "pdf/LettorePdf.h"
#include "pdf/ModelloPdf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
  std::unique_ptr<fcl::LettorePdf> lettore;
  try {
    lettore = std::make_unique<fcl::LettorePdf>(std::string(fcl::fuzz::Vista(dati, dimensione)));
  } catch (const fcl::ErroreModelloPdf&) {
    return 0;
  }
  if (lettore->Cifrato()) return 0;
  // The objects the cross references name, each read and decoded on its own.
  try {
    for (int n = 0; n < 64; ++n) {
      if (!lettore->Esiste(n)) continue;
      try {
        const auto oggetto = lettore->Oggetto(n);
        if (oggetto.haFlusso) lettore->Decodifica(oggetto);
      } catch (const fcl::ErroreModelloPdf&) {
      }
    }
    for (int pagina : lettore->Pagine()) {
      try {
        lettore->Ereditato(pagina, "MediaBox");
        lettore->Ereditato(pagina, "Resources");
      } catch (const fcl::ErroreModelloPdf&) {
      }
    }
  } catch (const fcl::ErroreModelloPdf&) {
  }

  fcl::ModelloPdf modello("modello.pdf", std::move(lettore));
  int numero = 10;
  for (int n = 1; n <= modello.NumeroPagine() && n <= 16; ++n) {
    try {
      const auto preparata = modello.Prepara(n, numero, [](int, int) {});
      modello.Conferma(n, preparata);
      if (modello.PaginaN(n).stato != fcl::ModelloPdf::Stato::Importata) std::abort();
      numero = preparata.numeroForma + 1;
    } catch (const fcl::ErroreModelloPdf&) {
    }
  }
  return 0;
}
