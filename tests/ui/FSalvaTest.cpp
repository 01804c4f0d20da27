#include "backup/ui/FSalva.h"

#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "CartellaTemporanea.h"
#include "InterazioneRegistrata.h"
#include "common/Contesto.h"
#include "common/RoutineCampi.h"
#include "store/Database.h"
#include "store/Schema.h"

namespace fcl {
namespace {

class FSalvaTest : public ::testing::Test {
 protected:
  FSalvaTest() {
    CreaSchema(db);
    db.Esegui(
        "INSERT INTO COPE (OCOD, ORAG, ODES, OSTP) VALUES ('02468130162', 'ALFA S.R.L.', "
        "'ALFA S.R.L.', '1')");
    db.Esegui(
        "INSERT INTO CTAB (TIPO, COD, DES) VALUES ('ITT', '02468130162', 'VRDLCU70M15A794Y')");
    ctx.connessioneDb = &db;
    ctx.interazione = &ui;
    ctx.cartellaProgramma = dir.Percorso();
    ctx.operatoreCorrente.codiceFiscale = "02468130162";
    ctx.operatoreCorrente.nomeVisualizzato = "ALFA S.R.L.";
  }

  std::string Ragione() {
    return ValoreComeTesto(db.Scalare("SELECT ORAG FROM COPE WHERE OCOD='02468130162'"));
  }

  test::CartellaTemporanea dir;
  Database db = Database::InMemoria();
  test::InterazioneRegistrata ui;
  Contesto ctx;
};

TEST_F(FSalvaTest, SalvataggioERipristinoDallaFinestra) {
  const auto file = dir / "copia.FCL";
  {
    ui.file = {file};
    FSalva f(ctx, "S");
    f.show();
    EXPECT_EQ(f.findChild<QLabel*>("Label1")->text(), "CREA ARCHIVIO DI BACKUP");
    EXPECT_TRUE(f.findChild<QPushButton*>("Bconferma")->isHidden());
    ASSERT_TRUE(f.ScegliFile());
    ASSERT_EQ(ui.voci.size(), 1u);
    EXPECT_EQ(ui.voci[0].tipo, "salva");
    EXPECT_EQ(ui.voci[0].titolo, "Indica dove salvare il file di backUp");
    EXPECT_EQ(ui.voci[0].testo.rfind("SAVE_ALFASRL_", 0), 0u);  // the proposed name
    EXPECT_EQ(f.findChild<QLabel*>("Label2")->text(), "ALFA S.R.L.");
    EXPECT_TRUE(f.findChild<QProgressBar*>("PBar1")->isHidden());
    QTest::mouseClick(f.findChild<QPushButton*>("Bconferma"), Qt::LeftButton);
    // The completion message says where the file went.
    EXPECT_EQ(ui.Testi(), std::vector<std::string>{"Creazione file di BackUP terminata\n\nFile di "
                                                   "backup: " +
                                                   file.string()});
    EXPECT_FALSE(f.findChild<QProgressBar*>("PBar1")->isHidden());
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_FALSE(f.isVisible());
  }
  ASSERT_EQ(test::LeggiFile(file).substr(0, 6),
            "\xA6"
            "COPE\xA6");

  // The operator changes; the restore brings the saved row back.
  db.Esegui("UPDATE COPE SET ORAG='CAMBIATA' WHERE OCOD='02468130162'");
  ui.voci.clear();
  ui.file = {file};
  FSalva f(ctx, "R");
  f.show();
  EXPECT_EQ(f.findChild<QLabel*>("Label1")->text(), "RIPRISTINA ARCHIVIO DI BACKUP");
  EXPECT_TRUE(f.findChild<QLabel*>("Label3")->isHidden());
  ASSERT_TRUE(f.ScegliFile());
  EXPECT_EQ(ui.voci[0].titolo, "Indica il file di backUp da ripristinare");
  EXPECT_EQ(f.findChild<QLabel*>("Label2")->text(), "02468130162 ALFA S.R.L.");
  EXPECT_FALSE(f.findChild<QLabel*>("Label3")->isHidden());
  EXPECT_EQ(Ragione(), "CAMBIATA");  // nothing happens before Conferma
  QTest::mouseClick(f.findChild<QPushButton*>("Bconferma"), Qt::LeftButton);
  EXPECT_EQ(ui.Testi(), std::vector<std::string>{"Ripristino terminato"});
  EXPECT_EQ(Ragione(), "ALFA S.R.L.");
  EXPECT_EQ(f.result(), QDialog::Accepted);
}

// Records, with each message, whether the second click of a double click had already come.
class InterazioneDoppioClic : public test::InterazioneRegistrata {
 public:
  bool secondoClic = false;
  std::vector<bool> secondoClicPrima;
  void Messaggio(std::string_view testo, std::string_view titolo, Icona icona) override {
    secondoClicPrima.push_back(secondoClic);
    InterazioneRegistrata::Messaggio(testo, titolo, icona);
  }
};

TEST_F(FSalvaTest, DoppioClicSuConfermaNonChiudeIlMessaggio) {
  for (const char* modo : {"S", "R"}) {
    SCOPED_TRACE(modo);
    InterazioneDoppioClic doppio;
    ctx.interazione = &doppio;
    doppio.file = {dir / "doppio.FCL"};
    FSalva f(ctx, modo);
    f.show();
    ASSERT_TRUE(f.ScegliFile());
    auto* conferma = f.findChild<QPushButton*>("Bconferma");
    // The second click comes a moment after the first, well within a double click: the result
    // message must not be up yet, or that click would dismiss it unread.
    QTimer::singleShot(QApplication::doubleClickInterval() / 4, [&] {
      if (conferma->isVisible()) QTest::mouseClick(conferma, Qt::LeftButton);
      doppio.secondoClic = true;
    });
    QTest::mouseClick(conferma, Qt::LeftButton);
    EXPECT_EQ(doppio.secondoClicPrima, std::vector<bool>{true});
    EXPECT_EQ(f.result(), QDialog::Accepted);
  }
  ctx.interazione = &ui;
}

TEST_F(FSalvaTest, LaFinestraCresceConCioCheMostra) {
  ui.file = {dir / "copia.FCL", dir / "copia.FCL"};
  {
    FSalva f(ctx, "S");
    f.show();
    ASSERT_TRUE(f.ScegliFile());
    QTest::mouseClick(f.findChild<QPushButton*>("Bconferma"), Qt::LeftButton);
  }
  FSalva f(ctx, "R");
  f.show();
  const int prima = f.height();
  ASSERT_TRUE(f.ScegliFile());
  QApplication::processEvents();
  // The restore's question and, after "Conferma", the bar: the window grows to hold them whole.
  EXPECT_GT(f.height(), prima);
  EXPECT_GE(f.width(), 440);  // never narrower than the operator's line
  auto* percorso = f.findChild<QLabel*>("LabelFile");
  EXPECT_TRUE(percorso->isVisible());
  EXPECT_EQ(percorso->text().toStdString(), "File: " + (dir / "copia.FCL").string());
  EXPECT_GE(f.height(), f.layout()->minimumSize().height());
  for (auto* l : f.findChildren<QLabel*>()) {
    if (!l->isVisible()) continue;
    EXPECT_GE(l->height(), l->minimumSizeHint().height()) << l->objectName().toStdString();
  }
}

TEST_F(FSalvaTest, FileNonValidoOAnnullato) {
  const auto estraneo = dir / "estraneo.FCL";
  test::ScriviFile(estraneo, "una riga qualsiasi\r\n");
  struct Case {
    std::string_view nome;
    const char* modo;
    std::optional<std::filesystem::path> file;
    std::vector<std::string> messaggi;
    bool chiusa;  // the window closed itself; otherwise only "Chiudi" is left
  } const kCases[] = {
      {"salvataggio annullato", "S", std::nullopt, {}, false},
      {"ripristino annullato", "R", std::nullopt, {}, false},
      {"non è un backup",
       "R",
       estraneo,
       {"Il file indicato non è un file di backUp di FISCOLARIO. Operazione annullata"},
       true},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.nome);
    ui.voci.clear();
    ui.file = {c.file};
    FSalva f(ctx, c.modo);
    f.show();
    EXPECT_FALSE(f.ScegliFile());
    EXPECT_EQ(ui.Testi(), c.messaggi);
    EXPECT_EQ(f.Chiusa(), c.chiusa);
    EXPECT_EQ(f.isVisible(), !c.chiusa);
    EXPECT_TRUE(f.findChild<QPushButton*>("Bconferma")->isHidden());
    EXPECT_EQ(Ragione(), "ALFA S.R.L.");
  }
}

}  // namespace
}  // namespace fcl
