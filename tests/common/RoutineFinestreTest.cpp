#include "common/RoutineFinestre.h"

#include <gtest/gtest.h>

#include "CartellaTemporanea.h"
#include "InterazioneRegistrata.h"

namespace fcl {
namespace {

TEST(CentraMessaggio, UnMessaggioCortoSiCentraConMezzaLunghezzaDiBlank) {
  struct Caso {
    std::string messaggio;
    std::size_t blank;  // on each side
  } const kCasi[] = {
      {"Data non valida", 42},           // 50 - 7.5 -> 42 (halves to the even one)
      {"Partita Iva Errata", 41},        // 50 - 9
      {"Partita IVA obbligatoria", 38},  // 50 - 12
      {std::string(13, 'x'), 44},        // 50 - 6.5 -> 44
      {std::string(49, 'x'), 26},        // 50 - 24.5 -> 26
      {"", 50},
      {"Attività", 46},  // characters, not bytes: 50 - 4
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.messaggio);
    const std::string margine(c.blank, ' ');
    EXPECT_EQ(CentraMessaggio(c.messaggio), margine + c.messaggio + margine);
  }
  const std::string lungo(50, 'y');
  EXPECT_EQ(CentraMessaggio(lungo), lungo);
  EXPECT_EQ(CentraMessaggio(lungo + "z"), lungo + "z");
}

TEST(ConfermaSovrascrittura, ChiedeSoloPerUnFileCheEsiste) {
  test::CartellaTemporanea cartella;
  const auto file = cartella / "COMUNICAZIONE.TXT";
  test::InterazioneRegistrata ui;

  EXPECT_FALSE(ConfermaSovrascrittura(file, ui));
  EXPECT_TRUE(ui.voci.empty());

  test::ScriviFile(file, "x");
  ui.risposte = {Risposta::Si, Risposta::No};
  EXPECT_FALSE(ConfermaSovrascrittura(file, ui));
  EXPECT_TRUE(ConfermaSovrascrittura(file, ui));
  ASSERT_EQ(ui.voci.size(), 2u);
  EXPECT_EQ(ui.voci[0].tipo, "domanda");
  EXPECT_EQ(ui.voci[0].testo, "Il file " + file.string() + " esiste già. Vuoi sovrascriverlo?");
  EXPECT_EQ(ui.voci[0].titolo, "Crea Coomunicazioni");
  EXPECT_EQ(ui.voci[0].icona, Icona::Informazione);
}

}  // namespace
}  // namespace fcl
