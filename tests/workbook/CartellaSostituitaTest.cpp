// A workbook replaced while the run reads it: the reader keeps the file it opened, so a new file
// renamed over the old name (what a spreadsheet program's save does) changes nothing of what it
// reads, even when a sheet is read again from its start. A file rewritten in place may be read as
// damaged, but never crashes the reader.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CartellaTemporanea.h"
#include "common/Errori.h"
#include "workbook/LettoreCartella.h"

namespace fcl {
namespace {

const std::filesystem::path kDati = FCL_TEST_DATA_DIR;
constexpr int kRighe = 40;

// Every sheet's name and first rows, cells as the run reads them; an error ends the text.
std::string Contenuto(LettoreCartella& l, int daFoglio = 1) {
  std::string s;
  try {
    for (int f = daFoglio; f <= l.NumeroFogli(); ++f) {
      s += "[" + l.NomeFoglio(f) + "]\n";
      for (int r = 1; r <= kRighe; ++r) {
        for (const Cella& c : l.Riga(f, r)) s += TestoCella(c) + "|";
        s += "\n";
      }
    }
  } catch (const ErroreCartella& e) {
    s += "ERRORE " + std::to_string(e.Numero()) + " - " + e.what();
  }
  return s;
}

TEST(CartellaSostituita, IlLettoreTieneIlFileAperto) {
  for (const std::string estensione : {".xls", ".xlsx", ".ods"}) {
    SCOPED_TRACE(estensione);
    test::CartellaTemporanea dir;
    const auto lavoro = dir / ("lavoro" + estensione);
    const auto nuovo = dir / ("nuovo" + estensione);
    std::filesystem::copy_file(kDati / ("campione" + estensione), lavoro);
    std::string atteso;
    {
      auto l = ApriCartella(lavoro);
      atteso = Contenuto(*l);
    }
    ASSERT_EQ(atteso.find("ERRORE"), std::string::npos) << atteso;

    struct Case {
      std::string_view nome;
      bool rinomina;  // false: rewritten in place, same file
    } const kCases[] = {{"sostituita con rename", true}, {"riscritta sul posto", false}};
    for (const Case& c : kCases) {
      SCOPED_TRACE(c.nome);
      std::filesystem::remove(lavoro);
      std::filesystem::copy_file(kDati / ("campione" + estensione), lavoro);
      auto l = ApriCartella(lavoro);
      ASSERT_FALSE(l->NomeFoglio(1).empty());
      for (const Cella& cella : l->Riga(1, 1)) (void)TestoCella(cella);
      // Another workbook under the same name, then everything read again from the first sheet.
      const std::string altro = test::LeggiFile(kDati / ("duefogli" + estensione));
      if (c.rinomina) {
        test::ScriviFile(nuovo, altro);
        std::filesystem::rename(nuovo, lavoro);
      } else {
        test::ScriviFile(lavoro, altro);
      }
      const std::string letto = Contenuto(*l);
      if (c.rinomina) {
        EXPECT_EQ(letto, atteso);
      } else if (letto != atteso) {
        // Read from a file that changed under it: only a clear error is acceptable.
        EXPECT_NE(letto.find("ERRORE "), std::string::npos) << letto;
      }
    }
  }
}

}  // namespace
}  // namespace fcl
