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
  if (esito.rilievi.size() > 50 + 16) std::abort();
  if (esito.errori < 0 || esito.avvertimenti < 0) std::abort();
  return 0;
}
