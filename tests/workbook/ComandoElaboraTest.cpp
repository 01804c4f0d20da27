// `fiscolario-cli elabora` on a small database and the .xls fixtures.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "CartellaTemporanea.h"
#include "Comandi.h"
#include "Record.h"
#include "store/Database.h"

namespace fcl {
namespace {

const std::filesystem::path kDati = std::filesystem::path(FCL_SOURCE_DIR) / "tests/workbook/data";

class ComandoElaboraTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Esegui({"operatori"}), 0) << err;  // creates the database
    Database db(cartella / "DataBase" / "FCL2013.mdb", Database::Modo::LetturaScrittura);
    db.Esegui(
        "INSERT INTO COPE (OCOD, OPIVA, ORAG, OSTP) VALUES (?, ?, ?, '1')",
        {std::string("01234567890"), std::string("01234567890"), std::string("ALFA BETA SRL")});
  }

  int Esegui(std::vector<std::string> argomenti) {
    argomenti.insert(argomenti.begin(),
                     {"fiscolario-cli", "--cartella", cartella.Percorso().string()});
    std::vector<const char*> argv;
    for (const auto& a : argomenti) argv.push_back(a.c_str());
    std::ostringstream o, e;
    // Run as from the build tree: the program folder receives the build's templates.
    const int rc = EseguiCli(static_cast<int>(argv.size()), argv.data(), o, e, FCL_CARTELLA_CLI);
    out = o.str();
    err = e.str();
    return rc;
  }

  test::CartellaTemporanea cartella;
  std::string out, err;
};

TEST_F(ComandoElaboraTest, StampaITotaliEScriveIlFileIntermedio) {
  ASSERT_EQ(Esegui({"elabora", "01234567890", (kDati / "elabora.xls").string(), "--listato",
                    (cartella / "L.PDF").string()}),
            0)
      << err;
  EXPECT_EQ(out,
            "FA\t4\nSA\t0\nBL\t1\nFE\t2\nFR\t0\nNE\t0\nNR\t0\nDF\t0\nFN\t0\nSE\t0\nTU\t0\n"
            "Totale righe\t7\nDocumenti riepilogativi FE\t1\nDocumenti riepilogativi FR\t0\n"
            "BL colonna L\t1\nBL colonna M\t0\nBL colonna N\t0\nErrori\t0\n");
  const auto righe = test::Righe(test::LeggiFile(cartella / "FCLtemp.TXT"));
  ASSERT_EQ(righe.size(), 4u);
  EXPECT_EQ(test::Campi(righe[1]).front().second, "00987654321     ");

  // Without the zero padding the short VAT number is written as read.
  ASSERT_EQ(Esegui({"elabora", "01234567890", (kDati / "elabora.xls").string(), "--senza-zeri",
                    "--listato", (cartella / "L.PDF").string()}),
            0)
      << err;
  EXPECT_EQ(test::Campi(test::Righe(test::LeggiFile(cartella / "FCLtemp.TXT"))[1]).front().second,
            test::Sx("987654321     "));
}

TEST_F(ComandoElaboraTest, ErroriNeiDatiEsconoConUno) {
  EXPECT_EQ(Esegui({"elabora", "01234567890", (kDati / "elabora_errori.xls").string(), "--listato",
                    (cartella / "L.PDF").string()}),
            1);
  EXPECT_NE(err.find("Foglio FE, riga 4, colonna G: Errore DATA: 31/04/2013 - Quadro FE\n"),
            std::string::npos)
      << err;
  EXPECT_NE(err.find("Foglio FE, riga 4, colonna J: importo negativo non ammesso: -50"),
            std::string::npos)
      << err;
  EXPECT_NE(err.find("Errori nei dati: Correggere gli errori evidenziati\n"), std::string::npos)
      << err;
  EXPECT_NE(out.find("Errori\t2\n"), std::string::npos) << out;
}

TEST_F(ComandoElaboraTest, OperatoreOFoglioSbagliati) {
  EXPECT_EQ(Esegui({"elabora", "XXX", (kDati / "elabora.xls").string()}), 1);
  EXPECT_NE(err.find("Operatore XXX non presente in archivio"), std::string::npos) << err;
  EXPECT_EQ(Esegui({"elabora", "01234567890", (cartella / "manca.xls").string(), "--listato",
                    (cartella / "L.PDF").string()}),
            1);
  EXPECT_NE(err.find("ERRORE "), std::string::npos) << err;
  EXPECT_FALSE(std::filesystem::exists(cartella / "FCLtemp.TXT"));
  EXPECT_EQ(Esegui({"elabora", "01234567890"}), 2);
}

}  // namespace
}  // namespace fcl
