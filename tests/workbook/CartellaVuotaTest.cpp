// The blank workbook of the Help folder: the sheets the run looks for, in order, with headings
// above each quadro's first data row and nothing from that row on.
#include <gtest/gtest.h>

#include <string>

#include "workbook/LettoreCartella.h"

namespace fcl {
namespace {

TEST(CartellaVuota, FogliIntestazioniERigheVuote) {
  auto lettore = ApriCartella(FCL_CARTELLA_VUOTA);
  struct Case {
    const char* nome;
    int primaRiga;
    const char* intestazioneA;
    const char* intestazioneUltima;
    int ultimaColonna;
  } const kCases[] = {
      {"FA", 4, "Partita IVA", "Passive: imposta note credito", 16},
      {"SA", 3, "Codice fiscale", "Noleggio/leasing (A-E)", 4},
      {"BL", 5, "Cognome", "Passive: imposta note var.", 25},
      {"FE", 4, "Partita IVA", "Importo > 999.999 (conferma)", 12},
      {"FR", 4, "Partita IVA", "Importo > 999.999 (conferma)", 10},
      {"NE", 4, "Partita IVA", "Importo > 999.999 (conferma)", 8},
      {"NR", 4, "Partita IVA", "Importo > 999.999 (conferma)", 6},
      {"DF", 4, "Codice fiscale", "Importo > 999.999 (conferma)", 5},
      {"FN", 4, "Cognome", "Importo > 999.999 (conferma)", 17},
      {"SE", 4, "Cognome", "Importo > 999.999 (conferma)", 17},
      {"TU", 4, "Cognome", "Importo > 999.999 (conferma)", 14},
  };
  ASSERT_EQ(lettore->NumeroFogli(), 12);
  EXPECT_EQ(lettore->NomeFoglio(1), "ISTRUZIONI");
  EXPECT_FALSE(TestoCella(lettore->Riga(1, 1)[0]).empty());
  int foglio = 2;
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.nome);
    EXPECT_EQ(lettore->NomeFoglio(foglio), c.nome);
    const auto& intestazioni = lettore->Riga(foglio, c.primaRiga - 1);
    EXPECT_EQ(TestoCella(intestazioni[0]), c.intestazioneA);
    EXPECT_EQ(TestoCella(intestazioni[static_cast<std::size_t>(c.ultimaColonna - 1)]),
              c.intestazioneUltima);
    for (int r = c.primaRiga; r < c.primaRiga + 200; ++r) {
      for (const auto& cella : lettore->Riga(foglio, r)) EXPECT_EQ(TestoCella(cella), "") << r;
    }
    ++foglio;
  }
  // BL is the company variant: A5 is no "PERSONE FISICHE", so its data start at row 5.
  EXPECT_NE(TestoCella(lettore->Riga(4, 5)[0]), "PERSONE FISICHE");
  // The FR sheet follows the current layout: C3 begins with "DAT".
  EXPECT_EQ(TestoCella(lettore->Riga(6, 3)[2]).substr(0, 3), "Dat");
}

}  // namespace
}  // namespace fcl
