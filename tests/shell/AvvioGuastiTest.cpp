// The database at start-up when another program holds it locked, or when it or its folder cannot
// be written: the start stops with a message that says which, and the file is never touched.

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <memory>

#include "CartellaTemporanea.h"
#include "Guasti.h"
#include "InterazioneRegistrata.h"
#include "common/Errori.h"
#include "shell/Avvio.h"

namespace fcl {
namespace {

class AvvioGuastiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("XDG_DATA_HOME", (dir / "xdg").c_str(), 1);
    std::filesystem::create_directories(Programma());
    test::ScriviFile(Programma() / "configurazione.ini", "[opzioni]\nTipoDb=A\nPCDirF= PGM\n");
    Avvia();  // the first start makes the database
    contenuto = test::LeggiFile(FileDb());
  }

  std::filesystem::path Programma() const { return dir / "prog"; }
  std::filesystem::path FileDb() const { return FileDatabase(Programma()); }

  // Starts the program on the folder; the text of the ErroreDatabase it stops with, or "".
  std::string Avvia() {
    test::InterazioneRegistrata ui;
    Contesto ctx;
    std::optional<Database> db;
    ctx.cartellaProgramma = Programma();
    ctx.interazione = &ui;
    try {
      fcl::Avvia(ctx, db);
    } catch (const ErroreDatabase& e) {
      return e.what();
    }
    return {};
  }

  test::CartellaTemporanea dir;
  std::string contenuto;
};

// Another program (or another copy of this one) in the middle of an exclusive transaction.
TEST_F(AvvioGuastiTest, DatabaseBloccatoDaUnAltroProgramma) {
  sqlite3* altro = nullptr;
  ASSERT_EQ(sqlite3_open(FileDb().c_str(), &altro), SQLITE_OK);
  ASSERT_EQ(
      sqlite3_exec(altro, "BEGIN EXCLUSIVE; UPDATE CTAB SET DES = DES;", nullptr, nullptr, nullptr),
      SQLITE_OK);
  const std::string errore = Avvia();
  EXPECT_NE(errore.find("Il database " + FileDb().string() + " è bloccato da un altro programma"),
            std::string::npos)
      << errore;
  EXPECT_NE(errore.find("Il file non è stato modificato."), std::string::npos) << errore;
  sqlite3_exec(altro, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(altro);
  EXPECT_EQ(test::LeggiFile(FileDb()), contenuto);
  // Once the other program lets go, the start works.
  EXPECT_EQ(Avvia(), "");
}

TEST_F(AvvioGuastiTest, DatabaseOCartellaDiSolaLettura) {
  for (const bool cartella : {false, true}) {
    SCOPED_TRACE(cartella ? "cartella DataBase" : "file del database");
    test::SolaLettura solaLettura(cartella ? FileDb().parent_path() : FileDb());
    if (!solaLettura.Motivo().empty()) GTEST_SKIP() << solaLettura.Motivo();
    RecordProperty(cartella ? "sola_lettura_cartella" : "sola_lettura_file", solaLettura.Come());
    const std::string errore = Avvia();
    solaLettura.Ripristina();
    EXPECT_NE(errore.find("Il database " + FileDb().string() + " è di sola lettura"),
              std::string::npos)
        << errore;
    EXPECT_EQ(test::LeggiFile(FileDb()), contenuto);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(FileDb().parent_path()),
                            std::filesystem::directory_iterator()),
              1);
  }
}

}  // namespace
}  // namespace fcl
