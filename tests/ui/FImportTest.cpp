#include "workbook/ui/FImport.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "CartellaTemporanea.h"
#include "InterazioneRegistrata.h"
#include "common/Contesto.h"
#include "common/ui/Stringhe.h"
#include "workbook/ListatoNullo.h"

namespace fcl {
namespace {

class DocumentiAperti : public ApriDocumento {
 public:
  std::vector<std::filesystem::path> aperti;
  void Apri(const std::filesystem::path& p) override { aperti.push_back(p); }
};

// Records the folder each file dialog opens in.
class InterazioneCartelle : public test::InterazioneRegistrata {
 public:
  std::vector<std::filesystem::path> cartelle;
  std::optional<std::filesystem::path> ScegliFileDaAprire(
      std::string_view titolo, std::string_view filtro,
      const std::filesystem::path& cartella) override {
    cartelle.push_back(cartella);
    return InterazioneRegistrata::ScegliFileDaAprire(titolo, filtro, cartella);
  }
  std::optional<std::filesystem::path> ScegliFileDaSalvare(std::string_view titolo,
                                                           std::string_view filtro,
                                                           const std::filesystem::path& cartella,
                                                           std::string_view nome) override {
    cartelle.push_back(cartella);
    return InterazioneRegistrata::ScegliFileDaSalvare(titolo, filtro, cartella, nome);
  }
};

// Records what the window asked of the listing's pages before each run.
class ListatoCompressione : public ListatoNullo {
 public:
  std::vector<bool> compresso;
  void ComprimiPagine(bool comprimi) override { compresso.push_back(comprimi); }
};

class FImportTest : public ::testing::Test {
 protected:
  FImportTest() {
    ctx.interazione = &ui;
    ctx.apriDocumento = &documenti;
    ctx.cartellaProgramma = dir.Percorso();
    ctx.operatoreCorrente.codiceFiscale = "RSSMRA80A01H501U";
    ctx.operatoreCorrente.nomeVisualizzato = "ROSSIMARIO";
  }
  static std::filesystem::path Esempio() {
    return std::filesystem::path(FCL_SOURCE_DIR) / "resources" / "esempio" /
           "ESEMPIO_ANALITICO.xlsx";
  }
  test::CartellaTemporanea dir;
  InterazioneCartelle ui;
  DocumentiAperti documenti;
  Contesto ctx;
  ListatoCompressione listato;
};

TEST_F(FImportTest, SceltaDelFoglioEdElaborazione) {
  FImport f(ctx, listato);
  f.show();
  EXPECT_EQ(f.windowTitle(), "Crea Comunicazione - Selezione Foglio Base");
  EXPECT_EQ(f.findChild<QLabel*>("vRAG")->text(), "ROSSIMARIO");
  EXPECT_TRUE(f.findChild<QCheckBox*>("vSiZ")->isChecked());
  auto* compresso = f.findChild<QCheckBox*>("vListatoCompresso");
  EXPECT_FALSE(compresso->isChecked());
  auto* didascalia = f.findChild<QLabel*>("Label2");
  auto* riga = f.findChild<QLineEdit*>("PERC");
  auto* apri = f.findChild<QPushButton*>("rfbase");

  // The open dialog cancelled: nothing happens. Before any run it opens in the user's home.
  QTest::mouseClick(apri, Qt::LeftButton);
  EXPECT_EQ(ui.cartelle, std::vector<std::filesystem::path>{PercorsoStd(QDir::homePath())});
  ASSERT_EQ(ui.voci.size(), 1u);
  EXPECT_EQ(ui.voci[0].tipo, "apri");
  EXPECT_EQ(ui.voci[0].titolo, "Indica il foglio excel da importare");
  EXPECT_TRUE(didascalia->isHidden());
  EXPECT_TRUE(f.isVisible());

  // The listing dialog cancelled: the run ends, the window stays for another try.
  ui.voci.clear();
  ui.file = {Esempio(), std::nullopt};
  QTest::mouseClick(apri, Qt::LeftButton);
  EXPECT_EQ(f.findChild<QLineEdit*>("tfbase")->text(), "ESEMPIO_ANALITICO.xlsx");
  ASSERT_EQ(ui.voci.size(), 2u);
  EXPECT_EQ(ui.voci[1].tipo, "salva");
  EXPECT_EQ(ui.voci[1].testo, "FCL_ROSSIMARIO_LISTATO.PDF");
  // The listing is proposed beside the workbook, not in the folder the program started from.
  EXPECT_EQ(ui.cartelle.back(), Esempio().parent_path());
  EXPECT_EQ(f.Risultato().esito, EsitoElaborazione::Annullata);
  EXPECT_TRUE(didascalia->isHidden());  // nothing was read: no row shown
  EXPECT_TRUE(riga->isHidden());
  EXPECT_TRUE(f.isVisible());
  EXPECT_TRUE(apri->isEnabled());
  EXPECT_EQ(listato.compresso, std::vector<bool>{false});

  // "Listato compresso" ticked: the listing of the next run is asked for compressed pages.
  compresso->setChecked(true);

  // A complete run shows the sheet and the row, then closes the window.
  ui.voci.clear();
  ui.file = {Esempio(), dir / "FCL_ROSSIMARIO_LISTATO.PDF"};
  ui.cartelle.clear();
  QTest::mouseClick(apri, Qt::LeftButton);
  EXPECT_EQ(ui.cartelle,
            (std::vector<std::filesystem::path>{Esempio().parent_path(), Esempio().parent_path()}));
  EXPECT_TRUE(ui.Testi().empty()) << ui.Testi().front();
  EXPECT_EQ(f.Risultato().esito, EsitoElaborazione::Completata);
  EXPECT_EQ(listato.compresso, (std::vector<bool>{false, true}));
  EXPECT_EQ(f.result(), QDialog::Accepted);
  EXPECT_FALSE(f.isVisible());
  EXPECT_TRUE(didascalia->text().startsWith("Foglio ")) << didascalia->text().toStdString();
  EXPECT_GT(riga->text().toInt(), 3);
  EXPECT_GT(ctx.totaliImport.righeTotali, 0);
  EXPECT_TRUE(std::filesystem::exists(dir / "FCLtemp.TXT"));
  EXPECT_EQ(ctx.totaliImport.cartellaUscita, dir.Percorso());  // the next run starts there
}

TEST_F(FImportTest, IstruzioniApreLaGuida) {
  FImport f(ctx, listato);
  QTest::mouseClick(f.findChild<QPushButton*>("Command1"), Qt::LeftButton);
  EXPECT_EQ(documenti.aperti, std::vector<std::filesystem::path>{dir / "Help" / "index.html"});
}

}  // namespace
}  // namespace fcl
