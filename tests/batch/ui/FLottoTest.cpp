// The batch window driven as a user drives it: a folder of workbooks matched to operators by the
// codes in their names (one matched to nobody), "Avvia", the table filled live off the UI thread,
// the summary written; and "Interrompi", after which no new row starts.

#include "batch/ui/FLotto.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <sstream>

#include "CartellaTemporanea.h"
#include "Comandi.h"
#include "InterazioneRegistrata.h"
#include "common/Contesto.h"
#include "store/Database.h"

namespace fcl {
namespace {

using test::CartellaTemporanea;

const std::filesystem::path kEsempio =
    std::filesystem::path(FCL_SOURCE_DIR) / "resources" / "esempio" / "ESEMPIO_ANALITICO.xlsx";

class FLottoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string cartella = (dir_ / "programma").string();
    const char* argv[] = {"fiscolario-cli", "--cartella", cartella.c_str(), "operatori"};
    std::ostringstream out, err;
    // As from the build tree: the program folder receives the build's templates.
    ASSERT_EQ(EseguiCli(4, argv, out, err, std::filesystem::path(FCL_CLI).parent_path()), 0);
    db_.emplace(dir_ / "programma" / "DataBase" / "FCL2013.mdb", Database::Modo::LetturaScrittura);
    for (const char* cf : {"02468130162", "01357913571"}) {
      db_->Esegui(
          "INSERT INTO COPE (OCOD, ORAG, OSCOM, OSPRO, OSTP, OPIVA, ODES, OATT) VALUES "
          "(?, 'SOCIETA', 'BERGAMO', 'BG', '1', ?, 'SOCIETA', '412000')",
          {std::string(cf), std::string(cf)});
      db_->Esegui("INSERT INTO CTAB (TIPO, COD, DES) VALUES ('ITT', ?, ?)",
                  {std::string(cf), std::string("VRDLCU70M15A794Y     220/01/2026   ")});
    }
    ctx_.cartellaProgramma = dir_ / "programma";
    ctx_.connessioneDb = &*db_;
    ctx_.interazione = &ui_;
    ctx_.annoRiferimento = "2025";
    std::filesystem::create_directories(dir_ / "fogli");
    for (const char* nome :
         {"clienti_02468130162_2025.xlsx", "FE-01357913571.xlsx", "sconosciuto.xlsx"})
      std::filesystem::copy_file(kEsempio, dir_ / "fogli" / nome);
  }

  // Waits, processing events, until the window is no longer running (at most a minute).
  static void AttendiFine(FLotto& f) {
    for (int i = 0; i < 6000 && f.InCorso(); ++i) QTest::qWait(10);
  }

  CartellaTemporanea dir_;
  std::optional<Database> db_;
  test::InterazioneRegistrata ui_;
  Contesto ctx_;
};

TEST_F(FLottoTest, CartellaDiFogliAbbinataEDElaborata) {
  FLotto f(ctx_);
  f.show();
  for (auto* r : f.findChildren<QRadioButton*>())
    if (r->text().contains(QStringLiteral("Cartella"))) r->setChecked(true);
  f.findChild<QLineEdit*>("sorgente")->setText(QString::fromStdString((dir_ / "fogli").string()));
  f.findChild<QLineEdit*>("uscita")->setText(QString::fromStdString((dir_ / "uscita").string()));
  QTest::mouseClick(f.findChild<QPushButton*>("avvia"), Qt::LeftButton);
  EXPECT_TRUE(f.InCorso());
  EXPECT_TRUE(f.findChild<QPushButton*>("interrompi")->isEnabled());
  AttendiFine(f);
  ASSERT_FALSE(f.InCorso());

  auto* nonAbbinati = f.findChild<QListWidget*>("nonAbbinati");
  ASSERT_EQ(nonAbbinati->count(), 1);
  EXPECT_TRUE(nonAbbinati->item(0)->text().startsWith(QStringLiteral("sconosciuto.xlsx")));
  auto* t = f.findChild<QTableWidget*>("tabella");
  ASSERT_EQ(t->rowCount(), 2);
  // Files in name order: FE-01357913571 before clienti_02468130162.
  EXPECT_EQ(t->item(0, 1)->text(), QStringLiteral("01357913571"));
  EXPECT_EQ(t->item(1, 1)->text(), QStringLiteral("02468130162"));
  for (int r = 0; r < 2; ++r)
    EXPECT_EQ(t->item(r, 4)->text(), QStringLiteral("creata"))
        << t->item(r, 5)->text().toStdString();
  EXPECT_EQ(f.findChild<QProgressBar*>("avanzamento")->value(), 2);
  EXPECT_TRUE(std::filesystem::exists(dir_ / "uscita" / "RIEPILOGO_LOTTO.csv"));
  EXPECT_TRUE(std::filesystem::exists(dir_ / "uscita" / "02468130162" / "FCL_SOCIETA.TXT"));
  EXPECT_TRUE(f.findChild<QPushButton*>("apriCartella")->isEnabled());
  EXPECT_TRUE(f.findChild<QLabel*>("stato")->text().startsWith(QStringLiteral("2 create")));
}

TEST_F(FLottoTest, InterrompiNonAvviaAltreRighe) {
  FLotto f(ctx_);
  f.show();
  for (auto* r : f.findChildren<QRadioButton*>())
    if (r->text().contains(QStringLiteral("Cartella"))) r->setChecked(true);
  f.findChild<QLineEdit*>("sorgente")->setText(QString::fromStdString((dir_ / "fogli").string()));
  f.findChild<QLineEdit*>("uscita")->setText(QString::fromStdString((dir_ / "uscita").string()));
  f.findChild<QSpinBox*>()->setValue(1);
  QTest::mouseClick(f.findChild<QPushButton*>("avvia"), Qt::LeftButton);
  QTest::mouseClick(f.findChild<QPushButton*>("interrompi"), Qt::LeftButton);
  AttendiFine(f);
  ASSERT_FALSE(f.InCorso());
  auto* t = f.findChild<QTableWidget*>("tabella");
  EXPECT_EQ(t->item(1, 4)->text(), QStringLiteral("non creata"));
  EXPECT_TRUE(t->item(1, 5)->text().contains(QStringLiteral("interrotto")));
  EXPECT_TRUE(std::filesystem::exists(dir_ / "uscita" / "RIEPILOGO_LOTTO.csv"));
}

// Closing the window while rows run asks first. No: the window stays and the rows go on. Yes: no
// new row starts, the running one ends, the summary is written and the window closes; no file is
// left half-written.
TEST_F(FLottoTest, ChiudereDuranteLElaborazioneChiede) {
  // Enough operators that the run is still going when the answers come.
  for (int i = 0; i < 30; ++i) {
    // A VAT number with its check digit, so that every row is created whole.
    std::string cf = std::to_string(9000000000LL + i);
    int somma = 0;
    for (std::size_t k = 0; k < cf.size(); ++k) {
      int c = cf[k] - '0';
      if (k % 2 == 1) c = c * 2 > 9 ? c * 2 - 9 : c * 2;
      somma += c;
    }
    cf += static_cast<char>('0' + (10 - somma % 10) % 10);
    db_->Esegui(
        "INSERT INTO COPE (OCOD, ORAG, OSCOM, OSPRO, OSTP, OPIVA, ODES, OATT) VALUES "
        "(?, 'SOCIETA', 'BERGAMO', 'BG', '1', ?, 'SOCIETA', '412000')",
        {cf, cf});
    std::filesystem::copy_file(kEsempio, dir_ / "fogli" / ("FE_" + cf + ".xlsx"));
  }
  FLotto f(ctx_);
  f.show();
  for (auto* r : f.findChildren<QRadioButton*>())
    if (r->text().contains(QStringLiteral("Cartella"))) r->setChecked(true);
  f.findChild<QLineEdit*>("sorgente")->setText(QString::fromStdString((dir_ / "fogli").string()));
  f.findChild<QLineEdit*>("uscita")->setText(QString::fromStdString((dir_ / "uscita").string()));
  f.findChild<QSpinBox*>()->setValue(1);
  auto* avanzamento = f.findChild<QProgressBar*>("avanzamento");

  // Answers the question with `risposta` as soon as it is shown; counts the questions.
  int domande = 0;
  QMessageBox::StandardButton risposta = QMessageBox::No;
  QTimer rispondi;
  rispondi.setInterval(10);
  QObject::connect(&rispondi, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    ++domande;
    EXPECT_TRUE(box->text().startsWith(QStringLiteral("L'elaborazione è in corso")));
    box->button(risposta)->click();
  });
  rispondi.start();

  QTest::mouseClick(f.findChild<QPushButton*>("avvia"), Qt::LeftButton);
  ASSERT_TRUE(f.InCorso());
  f.close();
  EXPECT_EQ(domande, 1);
  EXPECT_TRUE(f.isVisible());
  ASSERT_TRUE(f.InCorso());
  EXPECT_TRUE(f.findChild<QPushButton*>("interrompi")->isEnabled());
  // The rows go on: another one ends.
  const int dopoNo = avanzamento->value();
  for (int i = 0; i < 3000 && f.InCorso() && avanzamento->value() <= dopoNo; ++i) QTest::qWait(10);
  EXPECT_GT(avanzamento->value(), dopoNo);
  ASSERT_TRUE(f.InCorso()) << "the batch ended before the second question";

  risposta = QMessageBox::Yes;
  f.close();
  EXPECT_EQ(domande, 2);
  AttendiFine(f);
  ASSERT_FALSE(f.InCorso());
  QApplication::processEvents();
  EXPECT_FALSE(f.isVisible());
  EXPECT_EQ(f.result(), QDialog::Rejected);

  // Rows after the one running were not started; the summary tells every row.
  auto* t = f.findChild<QTableWidget*>("tabella");
  ASSERT_EQ(t->rowCount(), 32);
  int create = 0, interrotte = 0;
  for (int r = 0; r < t->rowCount(); ++r) {
    if (t->item(r, 4)->text() == QStringLiteral("non creata")) {
      EXPECT_TRUE(t->item(r, 5)->text().contains(QStringLiteral("interrotto")))
          << t->item(r, 5)->text().toStdString();
      ++interrotte;
    } else {
      ++create;
    }
  }
  EXPECT_GT(create, 0);
  EXPECT_GT(interrotte, 0);
  EXPECT_TRUE(std::filesystem::exists(dir_ / "uscita" / "RIEPILOGO_LOTTO.csv"));
  // Every operator's folder holds its four files whole; no temporary file, no working folder.
  for (const auto& e : std::filesystem::recursive_directory_iterator(dir_ / "uscita")) {
    const std::string nome = e.path().filename().string();
    EXPECT_NE(nome[0], '.') << e.path();
    if (e.is_directory()) {
      EXPECT_EQ(std::distance(std::filesystem::directory_iterator(e.path()), {}), 4) << e.path();
    }
  }
}

}  // namespace
}  // namespace fcl
