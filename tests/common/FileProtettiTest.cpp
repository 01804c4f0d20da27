#include "common/FileProtetti.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "CartellaTemporanea.h"
#include "common/Contesto.h"

namespace fcl {
namespace {

using test::CartellaTemporanea;
using test::ScriviFile;

class FileProtettiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(programma_ / "DataBase");
    std::filesystem::create_directories(uscita_);
    ScriviFile(programma_ / "configurazione.ini", "[opzioni]\n");
    ScriviFile(programma_ / "DataBase" / "FCL2013.mdb", "SQLite format 3");
    ScriviFile(uscita_ / "foglio.xlsx", "PK");
    ctx_.cartellaProgramma = programma_;
    ctx_.fileIni = programma_ / "configurazione.ini";
  }

  CartellaTemporanea dir_;
  std::filesystem::path programma_ = dir_ / "programma";
  std::filesystem::path uscita_ = dir_ / "uscita";
  Contesto ctx_;
};

TEST_F(FileProtettiTest, RiconosceIFileDelProgrammaComunqueScritti) {
  const auto db = programma_ / "DataBase" / "FCL2013.mdb";
  std::filesystem::create_symlink(db, uscita_ / "collegamento.PDF");
  std::filesystem::create_directory_symlink(programma_ / "DataBase", uscita_ / "cartella");
  std::filesystem::create_hard_link(programma_ / "configurazione.ini", uscita_ / "copia.ini");

  FileProtetti protetti(ctx_);
  protetti.Aggiungi(uscita_ / "foglio.xlsx", "è il foglio Excel da elaborare");

  const std::string kDatabase = "si trova nella cartella del database del programma";
  const std::string kIni = "è il file di configurazione del programma";
  struct Case {
    std::string_view nome;
    std::filesystem::path uscita;
    std::optional<std::string> motivo;
  } const kCases[] = {
      {"database", db, kDatabase},
      {"altro file nella cartella DataBase", programma_ / "DataBase" / "X_LISTATO.PDF", kDatabase},
      {"file nuovo in una sottocartella di DataBase", programma_ / "DataBase" / "nuova" / "X.PDF",
       kDatabase},
      {"con .. e .", uscita_ / ".." / "programma" / "." / "DataBase" / "FCL2013.mdb", kDatabase},
      {"collegamento simbolico al database", uscita_ / "collegamento.PDF", kDatabase},
      {"cartella collegata a DataBase", uscita_ / "cartella" / "X.PDF", kDatabase},
      {"configurazione", programma_ / "configurazione.ini", kIni},
      {"collegamento fisico alla configurazione", uscita_ / "copia.ini", kIni},
      {"file intermedio", programma_ / "FCLtemp.TXT", "è il file intermedio del programma"},
      {"foglio in lettura", uscita_ / "foglio.xlsx", "è il foglio Excel da elaborare"},
      {"foglio scritto da un'altra cartella", programma_ / ".." / "uscita" / "foglio.xlsx",
       "è il foglio Excel da elaborare"},
      {"listato qualsiasi", uscita_ / "FCL_X_LISTATO.PDF", std::nullopt},
      {"nella cartella del programma", programma_ / "FCL_X_LISTATO.PDF", std::nullopt},
      {"nome simile al database fuori da DataBase", programma_ / "FCL2013.mdb", std::nullopt},
      {"cartella DataBase2", programma_ / "DataBase2" / "X.PDF", std::nullopt},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.nome);
    EXPECT_EQ(protetti.Motivo(c.uscita), c.motivo);
  }
}

TEST_F(FileProtettiTest, PercorsoRelativoDallaCartellaCorrente) {
  const auto prima = std::filesystem::current_path();
  std::filesystem::current_path(programma_ / "DataBase");
  const auto motivo = FileProtetti(ctx_).Motivo("FCL2013.mdb");
  std::filesystem::current_path(prima);
  EXPECT_EQ(motivo, "si trova nella cartella del database del programma");
}

}  // namespace
}  // namespace fcl
