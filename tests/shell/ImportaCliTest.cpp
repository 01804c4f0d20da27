// `importa vela|orsa` of the command line, run in-process on a program folder.

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "CartellaTemporanea.h"
#include "Comandi.h"
#include "shell/Marcatori.h"
#include "store/Database.h"

namespace fcl {
namespace {

struct Esito {
  int codice;
  std::string out;
  std::string err;
};

class ImportaCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("XDG_DATA_HOME", (dir / "xdg").c_str(), 1);
    prog = dir / "prog";
    std::filesystem::create_directories(prog / "SYSTEM");
    test::ScriviFile(prog / "configurazione.ini", "[opzioni]\nTipoDb=A\nPCDirF= PGM\n");
    const auto orsa = dir / "orsa.db";
    Database d(orsa, Database::Modo::Creazione);
    d.Esegui("CREATE TABLE OPE (OCF Text, ORAG Text, OPIVA Text, OLOCA Text, OPR Text)");
    d.Esegui(
        "INSERT INTO OPE VALUES ('RSSMRA80A01H501U', 'ROSSI MARIO', '', 'ROMA', 'RM'), "
        "('11111111111', 'GAMMA SRL', '11111111111', 'NAPOLI', 'NA')");
    ScriviFileMarcatore(prog / "SYSTEM" / "FSYSORS.DLL",
                        {"Data Source=" + orsa.string(), "A", "/orsa"});
  }
  Esito Cli(std::vector<std::string> argomenti) {
    argomenti.insert(argomenti.begin(), {"fiscolario-cli", "--cartella", prog.string()});
    std::vector<const char*> argv;
    for (const auto& a : argomenti) argv.push_back(a.c_str());
    std::ostringstream out, err;
    const int codice = EseguiCli(static_cast<int>(argv.size()), argv.data(), out, err,
                                 std::filesystem::temp_directory_path());
    return {codice, out.str(), err.str()};
  }
  std::int64_t Operatori() {
    Database db(prog / "DataBase" / "FCL2013.mdb", Database::Modo::SolaLettura);
    return std::get<std::int64_t>(db.Scalare("SELECT count(*) FROM COPE"));
  }

  test::CartellaTemporanea dir;
  std::filesystem::path prog;
};

TEST_F(ImportaCliTest, SenzaSiSiFermaAllaDomandaConSiCopiaEUnaSecondaVoltaNonAggiunge) {
  auto e = Cli({"importa", "orsa"});
  EXPECT_EQ(e.codice, 1);
  EXPECT_NE(e.err.find("Copia Operatori: Questa procedura copia gli OPERATORI di ORSA"),
            std::string::npos)
      << e.err;
  EXPECT_EQ(Operatori(), 0);

  e = Cli({"importa", "orsa", "--si"});
  EXPECT_EQ(e.codice, 0) << e.err;
  EXPECT_EQ(e.out, "Operatori aggiunti: 2; già presenti: 0\n");
  EXPECT_EQ(Operatori(), 2);

  e = Cli({"importa", "orsa", "--si"});
  EXPECT_EQ(e.codice, 0) << e.err;
  EXPECT_EQ(e.out, "Operatori aggiunti: 0; già presenti: 2\n");
}

TEST_F(ImportaCliTest, CollegamentoAVelaMancanteEsceConIlMessaggio) {
  const auto e = Cli({"importa", "vela", "--si"});
  EXPECT_EQ(e.codice, 1);
  EXPECT_NE(e.err.find("Il programma VELA non è aggiornato alla versione collegata con "
                       "FISCOLARIO. Aggiornare VELA e riprovare"),
            std::string::npos)
      << e.err;
  EXPECT_EQ(e.out, "");
}

}  // namespace
}  // namespace fcl
