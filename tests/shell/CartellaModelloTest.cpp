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

// The program folder chosen at start: only the per-user default folder is made from the skeleton;
// a folder given on the command line or a portable folder is left as it is.
TEST_F(CartellaModelloTest, SoloLaCartellaPredefinitaDellUtenteRiceveIlModello) {
  const fs::path data = dir / "data";
  EXPECT_EQ(RisolviCartellaProgramma(data, bin), data);
  EXPECT_FALSE(fs::exists(data));

  const fs::path portatile = dir / "portatile";
  fs::create_directories(portatile);
  test::ScriviFile(portatile / "configurazione.ini", "");
  EXPECT_EQ(RisolviCartellaProgramma(std::nullopt, portatile), portatile);
  EXPECT_FALSE(fs::exists(portatile / "Stampe"));

  const fs::path utente = dir / "xdg" / "fiscolario";
  EXPECT_EQ(RisolviCartellaProgramma(std::nullopt, bin), utente);
  EXPECT_EQ(test::LeggiFile(utente / "Stampe" / "base_RIEP.pdf"), "%PDF-1.4 frontespizio\n");
  EXPECT_EQ(test::LeggiFile(utente / "configurazione.ini"), "[opzioni]\nTipoDb=\nPCDirF=\n");
}

}  // namespace
}  // namespace fcl
