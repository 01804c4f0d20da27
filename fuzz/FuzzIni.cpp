// Fuzz target of the configuration file reader: the input is configurazione.ini. Every key the
// program reads is read, plus a section and key taken from the input itself; values must come
// back as valid UTF-8 within the length the program keeps.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "SupportoFuzz.h"
#include "shell/LeggiIni.h"

namespace {

void Controlla(const std::string& valore) {
  if (!fcl::fuzz::Utf8Valido(valore)) std::abort();
  std::size_t caratteri = 0;
  for (unsigned char c : valore) caratteri += (c & 0xC0) != 0x80;
  if (caratteri > fcl::kLunghezzaMassimaIni) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
  const std::string_view ingresso = fcl::fuzz::Vista(dati, dimensione);
  const auto file = fcl::fuzz::ScriviTemporaneo("configurazione.ini", ingresso);

  const auto configurazione = fcl::LeggiConfigurazione(file, "/opt/fiscolario");
  for (const auto* v : {&configurazione.log, &configurazione.pc, &configurazione.tipoDb,
                        &configurazione.debug, &configurazione.serverUtente,
                        &configurazione.serverPassword, &configurazione.serverNome,
                        &configurazione.pcDirF})
    if (!fcl::fuzz::Utf8Valido(*v)) std::abort();

  Controlla(fcl::LeggiIni(file, "opzioni", "PCDirF"));
  Controlla(fcl::LeggiIni(file, "OPZIONI", "tipodb"));
  Controlla(fcl::LeggiIni(file, "connessione", "log"));
  // A section and a key named by the input: the first "[...]" and the text after it up to "=".
  const std::size_t a = ingresso.find('[');
  const std::size_t b = ingresso.find(']', a == std::string_view::npos ? 0 : a);
  if (a != std::string_view::npos && b != std::string_view::npos) {
    const std::string_view sezione = ingresso.substr(a + 1, b - a - 1);
    std::size_t k = ingresso.find('\n', b);
    const std::size_t uguale = k == std::string_view::npos ? k : ingresso.find('=', k);
    if (uguale != std::string_view::npos)
      Controlla(fcl::LeggiIni(file, sezione, ingresso.substr(k + 1, uguale - k - 1)));
  }
  return 0;
}
