#include "common/ScritturaAtomica.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "CartellaTemporanea.h"
#include "common/Errori.h"

namespace fcl {
namespace {

using test::CartellaTemporanea;
using test::LeggiFile;
using test::ScriviFile;

TEST(ScritturaAtomica, SostituisceSoloAllaConferma) {
  CartellaTemporanea dir;
  const auto f = dir / "out.txt";
  ScriviFile(f, "vecchio");
  {
    ScritturaAtomica w(f);
    w.Scrivi("nuovo");
    EXPECT_EQ(LeggiFile(f), "vecchio");
    w.Conferma();
  }
  EXPECT_EQ(LeggiFile(f), "nuovo");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Percorso()), {}), 1);
}

TEST(ScritturaAtomica, SenzaConfermaNonLasciaNulla) {
  CartellaTemporanea dir;
  const auto f = dir / "out.txt";
  ScriviFile(f, "vecchio");
  {
    ScritturaAtomica w(f);
    w.Scrivi("parziale");
  }
  EXPECT_EQ(LeggiFile(f), "vecchio");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Percorso()), {}), 1);
}

TEST(ScritturaAtomica, CartellaNonScrivibile) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes everywhere";
  CartellaTemporanea dir;
  std::filesystem::permissions(dir.Percorso(), std::filesystem::perms::owner_read |
                                                   std::filesystem::perms::owner_exec);
  EXPECT_THROW(ScritturaAtomica(dir / "x.txt"), ErroreFile);
}

}  // namespace
}  // namespace fcl
