// Faults of the disk under ScritturaAtomica: a disk that fills up during the writing or at the
// confirmation, a disk with no room at all, a folder that cannot be written. The earlier file stays
// as it was, no temporary file is left, and the message names the file and the cause in Italian.

#include <gtest/gtest.h>

#include <functional>

#include "CartellaTemporanea.h"
#include "Guasti.h"
#include "common/Errori.h"
#include "common/ScritturaAtomica.h"

namespace fcl {
namespace {

using test::CartellaTemporanea;
using test::LeggiFile;
using test::ScriviFile;

std::vector<std::string> NomiNellaCartella(const std::filesystem::path& cartella) {
  std::vector<std::string> nomi;
  for (const auto& e : std::filesystem::directory_iterator(cartella))
    nomi.push_back(e.path().filename().string());
  std::sort(nomi.begin(), nomi.end());
  return nomi;
}

// Writes `byte` bytes in pieces of 1900 (as the communication file goes) and confirms.
void ScriviTutto(const std::filesystem::path& f, std::size_t byte) {
  ScritturaAtomica w(f);
  const std::string record(1898, 'R');
  for (std::size_t n = 0; n < byte; n += 1900) {
    w.Scrivi(record);
    w.Scrivi("\r\n");
  }
  w.Conferma();
}

// Runs `scrivi` expecting an ErroreFile; returns its text.
std::string ErroreDi(const std::function<void()>& scrivi) {
  try {
    scrivi();
  } catch (const ErroreFile& e) {
    return e.what();
  }
  ADD_FAILURE() << "nessun errore";
  return {};
}

TEST(GuastiScrittura, DiscoPienoDuranteOAllaConferma) {
  struct Case {
    std::string_view nome;
    rlim_t limite;     // largest file the "disk" lets grow
    std::size_t byte;  // bytes written
    std::string_view azione;
  } const kCases[] = {
      // Past the stdio buffer the failure shows while writing ...
      {"durante la scrittura", 64 * 1024, 1024 * 1024, "Impossibile scrivere il file "},
      // ... below it, only when the buffer is flushed at the confirmation.
      {"alla conferma", 1000, 3800, "Impossibile scrivere il file "},
      {"nemmeno un byte", 0, 1900, "Impossibile scrivere il file "},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.nome);
    CartellaTemporanea dir;
    const auto f = dir / "FCL_ROSSI.TXT";
    ScriviFile(f, "comunicazione precedente");
    std::string messaggio;
    {
      test::LimiteDimensioneFile limite(c.limite);
      messaggio = ErroreDi([&] { ScriviTutto(f, c.byte); });
    }
    EXPECT_EQ(messaggio.rfind(std::string(c.azione) + f.string() + ": ", 0), 0u) << messaggio;
    EXPECT_NE(messaggio.find("il file supera la dimensione consentita dal sistema"),
              std::string::npos)
        << messaggio;
    EXPECT_EQ(LeggiFile(f), "comunicazione precedente");
    EXPECT_EQ(NomiNellaCartella(dir.Percorso()), std::vector<std::string>{"FCL_ROSSI.TXT"});
  }
}

TEST(GuastiScrittura, DiscoSenzaSpazio) {
  CartellaTemporanea dir;
  const auto disco = dir / "disco";
  std::filesystem::create_directories(disco);
  test::DiscoPiccolo piccolo(disco, 64 * 1024);
  if (!piccolo.Motivo().empty()) GTEST_SKIP() << piccolo.Motivo();
  const auto f = disco / "FCL_ROSSI.TXT";
  ScriviFile(f, "comunicazione precedente");
  piccolo.Riempi(8 * 1024);
  const std::string messaggio = ErroreDi([&] { ScriviTutto(f, 64 * 1024); });
  EXPECT_EQ(messaggio.rfind("Impossibile scrivere il file " + f.string() + ": ", 0), 0u)
      << messaggio;
  EXPECT_NE(messaggio.find("spazio insufficiente sul disco"), std::string::npos) << messaggio;
  EXPECT_EQ(LeggiFile(f), "comunicazione precedente");
  EXPECT_EQ(NomiNellaCartella(disco), (std::vector<std::string>{".riempimento", "FCL_ROSSI.TXT"}));
}

TEST(GuastiScrittura, CartellaDiSolaLettura) {
  CartellaTemporanea dir;
  const auto f = dir / "FCL_ROSSI.TXT";
  ScriviFile(f, "comunicazione precedente");
  test::SolaLettura solaLettura(dir.Percorso());
  if (!solaLettura.Motivo().empty()) GTEST_SKIP() << solaLettura.Motivo();
  RecordProperty("cartella", solaLettura.Come());
  const std::string messaggio = ErroreDi([&] { ScriviTutto(f, 1900); });
  solaLettura.Ripristina();
  EXPECT_EQ(messaggio.rfind("Impossibile creare il file " + f.string() + ": ", 0), 0u) << messaggio;
  EXPECT_NE(messaggio.find("scrittura non consentita nella cartella o sul file"), std::string::npos)
      << messaggio;
  EXPECT_EQ(LeggiFile(f), "comunicazione precedente");
  EXPECT_EQ(NomiNellaCartella(dir.Percorso()), std::vector<std::string>{"FCL_ROSSI.TXT"});
}

// Root, whom no permission stops, still meets a path through a regular file.
TEST(GuastiScrittura, PercorsoAttraversoUnFile) {
  CartellaTemporanea dir;
  ScriviFile(dir / "non-cartella", "x");
  const auto f = dir / "non-cartella" / "FCL_ROSSI.TXT";
  const std::string messaggio = ErroreDi([&] { ScriviTutto(f, 1900); });
  EXPECT_EQ(messaggio.rfind("Impossibile creare il file " + f.string() + ": ", 0), 0u) << messaggio;
  EXPECT_NE(messaggio.find("il percorso non è una cartella"), std::string::npos) << messaggio;
  EXPECT_EQ(LeggiFile(dir / "non-cartella"), "x");
}

}  // namespace
}  // namespace fcl
