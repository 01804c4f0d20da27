// Fuzz target of the check of a communication file: the input is a file made by another program.
// The check streams it and reports findings; it must never fail on the content.

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "SupportoFuzz.h"
#include "verifica/VerificaComunicazione.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
  std::istringstream in(std::string(fcl::fuzz::Vista(dati, dimensione)));
  const auto esito = fcl::VerificaComunicazione(in, 50);
  // Every finding is counted, kept or not.
  if (esito.errori < 0 || esito.avvertimenti < 0 || esito.nonConservati < 0) std::abort();
  if (static_cast<long long>(esito.rilievi.size()) + esito.nonConservati !=
      esito.errori + esito.avvertimenti)
    std::abort();
  // The limit bounds the findings kept on ordinary records; those on the file as a whole and on
  // its first records A, B, E and Z are kept besides.
  std::size_t ordinari = 0;
  for (const auto& r : esito.rilievi) {
    if (r.record > esito.record) std::abort();  // a finding on a line that was never read
    if (r.record != 0 && r.tipoRecord != 'A' && r.tipoRecord != 'B' && r.tipoRecord != 'E' &&
        r.tipoRecord != 'Z')
      ++ordinari;
  }
  if (ordinari > 50) std::abort();
  return 0;
}
