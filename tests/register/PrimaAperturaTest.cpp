#include "register/PrimaApertura.h"

#include <gtest/gtest.h>

#include <ctime>

#include "CartellaTemporanea.h"
#include "common/Errori.h"

namespace fcl {
namespace {

std::chrono::system_clock::time_point Mezzogiorno(int anno, int mese, int giorno) {
  std::tm tm{};
  tm.tm_year = anno - 1900;
  tm.tm_mon = mese - 1;
  tm.tm_mday = giorno;
  tm.tm_hour = 12;
  tm.tm_isdst = -1;
  return std::chrono::system_clock::from_time_t(std::mktime(&tm));
}

TEST(PrimaAperturaTest, ImportaUnaVoltaSolaEScriveIlMarcatore) {
  test::CartellaTemporanea dir;
  Contesto ctx;
  ctx.cartellaProgramma = dir.Percorso();
  ctx.adesso = [] { return Mezzogiorno(2026, 3, 5); };
  int importazioni = 0;
  bool silenziosoDurante = false;
  const auto importa = [&] {
    ++importazioni;
    silenziosoDurante = ctx.importSilenzioso;
  };

  EXPECT_TRUE(ImportaAllaPrimaApertura(ctx, importa));
  EXPECT_EQ(importazioni, 1);
  EXPECT_TRUE(silenziosoDurante);
  EXPECT_TRUE(ctx.importSilenzioso);  // stays set for the rest of the run
  EXPECT_EQ(test::LeggiFile(dir / "ckimpope.txt"), "fatto 05/03/2026\r\n");

  // Every later opening (a new run too) finds the marker.
  Contesto altro;
  altro.cartellaProgramma = dir.Percorso();
  EXPECT_FALSE(ImportaAllaPrimaApertura(altro, importa));
  EXPECT_EQ(importazioni, 1);
  EXPECT_FALSE(altro.importSilenzioso);
}

TEST(PrimaAperturaTest, MarcatoreNonScrivibileSegnalatoConErrore) {
  test::CartellaTemporanea dir;
  Contesto ctx;
  ctx.cartellaProgramma = dir / "manca";  // a folder that does not exist
  int importazioni = 0;
  EXPECT_THROW(ImportaAllaPrimaApertura(ctx, [&] { ++importazioni; }), ErroreFile);
  EXPECT_EQ(importazioni, 1);
  EXPECT_FALSE(std::filesystem::exists(dir / "manca" / "ckimpope.txt"));
}

}  // namespace
}  // namespace fcl
