#include "shell/CartellaModello.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "CartellaTemporanea.h"
#include "common/Errori.h"
#include "shell/Avvio.h"

namespace fcl {
namespace {

namespace fs = std::filesystem;

// An installed tree under a temporary prefix: bin/ for the executables and the skeleton in
// share/fiscolario, as `cmake --install` lays them out.
class CartellaModelloTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bin = dir / "prefisso" / "bin";
    modello = dir / "prefisso" / "share" / "fiscolario";
    fs::create_directories(bin);
    for (const auto& [nome, byte] : kFileModello) {
      fs::create_directories((modello / nome).parent_path());
      test::ScriviFile(modello / nome, byte);
    }
    ::setenv("XDG_DATA_HOME", (dir / "xdg").c_str(), 1);
    ::unsetenv("FISCOLARIO_DIR");
  }
  void TearDown() override { ::unsetenv("XDG_DATA_HOME"); }

  static constexpr std::pair<const char*, std::string_view> kFileModello[] = {
      {"configurazione.ini", "[opzioni]\nTipoDb=\nPCDirF=\n"},
      {"Stampe/base.pdf", "%PDF-1.4 listato\n"},
      {"Stampe/base_RIEP.pdf", "%PDF-1.4 frontespizio\n"},
      {"Help/index.html", "<html>guida</html>"},
      {"Help/img/principale.png", std::string_view("\x89PNG\r\n\x1a\n\0\0", 10)},
      {"esempio/SAVE_ESEMPIO_ALFABETA.FCL", "COPE|...\r\n"},
  };

  test::CartellaTemporanea dir;
  fs::path bin;
  fs::path modello;
};

TEST_F(CartellaModelloTest, LaPrimaPartenzaCopiaTuttoIlModelloByteAByte) {
  const fs::path utente = dir / "utente" / "fiscolario";
  const auto copiati = CompletaCartellaProgramma(utente, modello);

  ASSERT_EQ(copiati.size(), std::size(kFileModello));
  for (const auto& [nome, byte] : kFileModello) {
    SCOPED_TRACE(nome);
    EXPECT_EQ(test::LeggiFile(utente / nome), byte);
  }
  // No temporary file of the atomic writes is left behind.
  int voci = 0;
  for (const auto& e : fs::recursive_directory_iterator(utente)) voci += e.is_regular_file();
  EXPECT_EQ(voci, static_cast<int>(std::size(kFileModello)));
}

TEST_F(CartellaModelloTest, IFileDellUtenteNonVengonoMaiSostituiti) {
  const fs::path utente = dir / "utente";
  fs::create_directories(utente / "Stampe");
  test::ScriviFile(utente / "configurazione.ini", "[opzioni]\nTipoDb=B\nPCDirF=PGM\n");
  test::ScriviFile(utente / "Stampe" / "base.pdf", "modello personale");
  // A folder where the skeleton has a file, and a link: both belong to the user.
  fs::create_directories(utente / "Help" / "index.html");
  fs::create_symlink(dir / "altrove.pdf", utente / "Stampe" / "base_RIEP.pdf");

  const auto copiati = CompletaCartellaProgramma(utente, modello);

  EXPECT_EQ(copiati, (std::vector<fs::path>{"Help/img/principale.png",
                                            "esempio/SAVE_ESEMPIO_ALFABETA.FCL"}));
  EXPECT_EQ(test::LeggiFile(utente / "configurazione.ini"), "[opzioni]\nTipoDb=B\nPCDirF=PGM\n");
  EXPECT_EQ(test::LeggiFile(utente / "Stampe" / "base.pdf"), "modello personale");
  EXPECT_TRUE(fs::is_directory(utente / "Help" / "index.html"));
  EXPECT_TRUE(fs::is_symlink(utente / "Stampe" / "base_RIEP.pdf"));
  EXPECT_FALSE(fs::exists(dir / "altrove.pdf"));

  // A later start finds nothing more to copy; a file the user deleted comes back.
  EXPECT_TRUE(CompletaCartellaProgramma(utente, modello).empty());
  fs::remove(utente / "esempio" / "SAVE_ESEMPIO_ALFABETA.FCL");
  EXPECT_EQ(CompletaCartellaProgramma(utente, modello),
            std::vector<fs::path>{"esempio/SAVE_ESEMPIO_ALFABETA.FCL"});
}

TEST_F(CartellaModelloTest, UnaCartellaCheNonSiPuoCreareEUnErrore) {
  test::ScriviFile(dir / "occupato", "un file, non una cartella");
  EXPECT_THROW(CompletaCartellaProgramma(dir / "occupato", modello), ErroreFile);
  EXPECT_THROW(CompletaCartellaProgramma(dir / "occupato" / "sotto", modello), ErroreFile);
  EXPECT_EQ(test::LeggiFile(dir / "occupato"), "un file, non una cartella");
}

TEST_F(CartellaModelloTest, IlModelloSiTrovaAccantoAllaCartellaBin) {
  EXPECT_EQ(TrovaCartellaModello(bin), modello.lexically_normal());
  // A share/fiscolario folder without its configuration is no skeleton.
  fs::remove(modello / "configurazione.ini");
  EXPECT_NE(TrovaCartellaModello(bin), std::optional<fs::path>(modello.lexically_normal()));
}

// The program folder chosen at start, however it is chosen, is made or completed from the skeleton:
// what it lacks is copied, what it has stays.
TEST_F(CartellaModelloTest, OgniCartellaDelProgrammaRiceveIlModello) {
  const fs::path portatile = dir / "portatile";
  struct Caso {
    const char* nome;
    std::optional<fs::path> data;  // --cartella
    const char* ambiente;          // FISCOLARIO_DIR
    fs::path eseguibile;
    fs::path attesa;
  } const kCasi[] = {
      {"--cartella", dir / "data", nullptr, bin, dir / "data"},
      {"FISCOLARIO_DIR", std::nullopt, "ambiente", bin, dir / "ambiente"},
      {"portatile", std::nullopt, nullptr, portatile, portatile},
      {"predefinita", std::nullopt, nullptr, bin, dir / "xdg" / "fiscolario"},
  };
  // The portable program finds the skeleton beside its own folder, as an installed one does.
  fs::create_directories(portatile);
  fs::create_directory_symlink(modello.parent_path(), dir / "share");
  test::ScriviFile(portatile / "configurazione.ini", "[opzioni]\nPCDirF=PGM\n");
  const fs::path corrente = fs::current_path();
  fs::current_path(dir.Percorso());
  for (const Caso& c : kCasi) {
    SCOPED_TRACE(c.nome);
    if (c.ambiente != nullptr) ::setenv("FISCOLARIO_DIR", c.ambiente, 1);
    if (c.attesa != portatile) {
      fs::create_directories(c.attesa / "Stampe");
      test::ScriviFile(c.attesa / "Stampe" / "base.pdf", "modello personale");
    }
    EXPECT_EQ(RisolviCartellaProgramma(c.data, c.eseguibile), c.attesa);
    ::unsetenv("FISCOLARIO_DIR");
    EXPECT_EQ(test::LeggiFile(c.attesa / "Stampe" / "base_RIEP.pdf"), "%PDF-1.4 frontespizio\n");
    EXPECT_EQ(test::LeggiFile(c.attesa / "Help" / "index.html"), "<html>guida</html>");
    if (c.attesa == portatile) {
      EXPECT_EQ(test::LeggiFile(portatile / "configurazione.ini"), "[opzioni]\nPCDirF=PGM\n");
      EXPECT_EQ(test::LeggiFile(portatile / "Stampe" / "base.pdf"), "%PDF-1.4 listato\n");
    } else {
      EXPECT_EQ(test::LeggiFile(c.attesa / "configurazione.ini"), "[opzioni]\nTipoDb=\nPCDirF=\n");
      EXPECT_EQ(test::LeggiFile(c.attesa / "Stampe" / "base.pdf"), "modello personale");
    }
  }
  fs::current_path(corrente);
}

// Only the skeleton's own entries are handed on: a build tree's skeleton that was used as a program
// folder keeps its database and working files to itself.
TEST_F(CartellaModelloTest, SoloLeVociDelModelloVengonoCopiate) {
  test::ScriviFile(modello / "FCLtemp.TXT", "righe");
  fs::create_directories(modello / "DataBase");
  test::ScriviFile(modello / "DataBase" / "FCL2013.mdb", "SQLite format 3");
  const fs::path cartella = dir / "nuova";
  EXPECT_EQ(CompletaCartellaProgramma(cartella, modello).size(), std::size(kFileModello));
  EXPECT_FALSE(fs::exists(cartella / "FCLtemp.TXT"));
  EXPECT_FALSE(fs::exists(cartella / "DataBase"));
}

// A program run from inside its build tree takes the skeleton the build drew in programma/.
TEST(CartellaModello, DallAlberoDiCompilazioneIlModelloEQuelloDellaCompilazione) {
  const fs::path build = FCL_CARTELLA_BUILD_PROVA;
  if (!fs::exists(build / "programma" / "configurazione.ini"))
    GTEST_SKIP() << "cartella programma della compilazione non generata";
  EXPECT_EQ(TrovaCartellaModello(build / "app" / "fiscolario-cli"), build / "programma");
  EXPECT_EQ(TrovaCartellaModello(build / "tests" / "shell" / ".." / "shell"), build / "programma");
  test::CartellaTemporanea altrove;
  EXPECT_NE(TrovaCartellaModello(altrove.Percorso()), std::optional<fs::path>(build / "programma"));
}

}  // namespace
}  // namespace fcl
