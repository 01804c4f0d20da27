// The run over real .xls files through the workbook readers.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CartellaTemporanea.h"
#include "InterazioneRegistrata.h"
#include "ListatoRegistrato.h"
#include "Record.h"
#include "workbook/ElaboraCartella.h"

namespace fcl {
namespace {

using test::Dx;
using test::Sx;
using Campi = std::vector<std::pair<std::string, std::string>>;

const std::filesystem::path kDati = std::filesystem::path(FCL_SOURCE_DIR) / "tests/workbook/data";

TEST(ElaboraCartellaReale, FileXlsLettoECodificatoSenzaToccarlo) {
  test::CartellaTemporanea cartella;
  test::InterazioneRegistrata ui;
  test::ListatoRegistrato listato;
  Contesto ctx;
  ctx.cartellaProgramma = cartella.Percorso();
  ctx.interazione = &ui;
  ctx.operatoreCorrente.codiceFiscale = "01234567890";
  ctx.operatoreCorrente.nomeVisualizzato = "Alfa Beta srl";
  ui.file.push_back(cartella / "L.PDF");
  const auto foglio = kDati / "elabora.xls";
  const std::string prima = test::LeggiFile(foglio);
  const auto modificato = std::filesystem::last_write_time(foglio);

  const auto r = ElaboraCartella(ctx, foglio, true, listato,
                                 [](const std::filesystem::path& p) { return ApriCartella(p); });

  EXPECT_EQ(r.esito, EsitoElaborazione::Completata);
  EXPECT_EQ(ui.Testi(), std::vector<std::string>{});
  EXPECT_EQ(test::LeggiFile(foglio), prima);
  EXPECT_EQ(std::filesystem::last_write_time(foglio), modificato);

  const auto& t = ctx.totaliImport;
  EXPECT_EQ(t.righePerQuadro[FA], 4);
  EXPECT_EQ(t.righePerQuadro[FE], 2);
  EXPECT_EQ(t.righePerQuadro[BL], 1);
  EXPECT_EQ(t.righePerQuadro[SA], 0);  // after the unrecognised "Note"
  EXPECT_EQ(t.righeTotali, 7);
  EXPECT_EQ(t.documentiRiepilogativiFE, 1);
  EXPECT_EQ(t.contatoriBL, (std::array<int, 3>{1, 0, 0}));
  EXPECT_FALSE(t.erroreData);

  const std::string file = test::LeggiFile(cartella / "FCLtemp.TXT");
  const auto righe = test::Righe(file);
  ASSERT_EQ(righe.size(), 4u);
  ASSERT_EQ(file.size(), 4u * 1900);
  for (std::size_t i = 0; i < righe.size(); ++i) {
    SCOPED_TRACE(i);
    ASSERT_EQ(righe[i].size(), 1898u);
    EXPECT_EQ(righe[i].substr(0, 25), std::string(i < 2    ? "C"
                                                  : i == 2 ? "D"
                                                           : "C") +
                                          "01234567890     0000000" + std::to_string(i + 1));
    EXPECT_EQ(righe[i][1897], 'A');
  }
  EXPECT_EQ(test::Campi(righe[0]), (Campi{{"FA001001", "01234567890     "},
                                          {"FA001004", Dx("3")},
                                          {"FA001007", Dx("1234")},
                                          {"FA002002", "RSSMRA80A01H501U"},
                                          {"FA002005", Dx("2")},
                                          {"FA002012", Dx("500")},
                                          {"FA003003", Dx("1")},
                                          {"FA003007", Dx("10")}}));
  EXPECT_EQ(test::Campi(righe[1]),
            (Campi{{"FA001001", "00987654321     "}, {"FA001008", Dx("22")}}));
  EXPECT_EQ(test::Campi(righe[2]), (Campi{{"FE001001", "01234567890     "},
                                          {"FE001003", Dx("1")},
                                          {"FE001007", Dx("05032013")},
                                          {"FE001008", Dx("01022013")},
                                          {"FE001009", Sx("FT 1/2013")},
                                          {"FE001010", Dx("1234")},
                                          {"FE001011", Dx("271")},
                                          {"FE002001", "12345678901     "},
                                          {"FE002007", Dx("31122013")},
                                          {"FE002010", Dx("100")}}));
  EXPECT_EQ(test::Campi(righe[3]), (Campi{{"BL001001", Sx("ROSSI")},
                                          {"BL001002", Sx("MARIO")},
                                          {"BL001003", Dx("05031970")},
                                          {"BL001004", Sx("PARIGI")},
                                          {"BL001005", Sx("EE")},
                                          {"BL001006", Dx("29")},
                                          {"BL002002", Dx("1")},
                                          {"BL003001", Dx("1000")}}));

  // The listing sees the cells as read (dates dd/mm/yyyy, decimal comma), upper-cased by quadro.
  ASSERT_EQ(listato.righe.size(), 7u);
  EXPECT_EQ(listato.righe[0].celle[6], "1234,99");
  EXPECT_EQ(listato.righe[4].celle[6], "05/03/2013");
  EXPECT_EQ(listato.righe[6].riga, 7);
  EXPECT_EQ(listato.righe[6].celle[0], "ROSSI");
}

// The template rows of an .ods saved by LibreOffice carry formulas whose result is "": the walk
// ends at the first of them, with no cell reported as an error value.
TEST(ElaboraCartellaReale, OdsConFormuleDalRisultatoVuoto) {
  test::CartellaTemporanea cartella;
  test::InterazioneRegistrata ui;
  test::ListatoRegistrato listato;
  Contesto ctx;
  ctx.cartellaProgramma = cartella.Percorso();
  ctx.interazione = &ui;
  ctx.operatoreCorrente.codiceFiscale = "01234567890";
  ctx.operatoreCorrente.nomeVisualizzato = "Alfa Beta srl";
  ui.file.push_back(cartella / "L.PDF");

  const auto r = ElaboraCartella(ctx, kDati / "formule-vuote.ods", true, listato,
                                 [](const std::filesystem::path& p) { return ApriCartella(p); });

  EXPECT_EQ(r.esito, EsitoElaborazione::Completata);
  EXPECT_EQ(ctx.totaliImport.righePerQuadro[FA], 2);
  EXPECT_EQ(ctx.totaliImport.righeTotali, 2);
  EXPECT_EQ(r.celleErrate, 0);
  for (const auto& testo : ui.Testi()) EXPECT_EQ(testo.find("errore"), std::string::npos) << testo;
}

}  // namespace
}  // namespace fcl
