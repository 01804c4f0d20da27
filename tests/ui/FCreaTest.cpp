#include "communication/ui/FCrea.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "InterazioneRegistrata.h"
#include "common/ui/InterazioneQt.h"
#include "common/Contesto.h"
#include "common/RoutineCampi.h"

namespace fcl {
namespace {

class FCreaTest : public ::testing::Test {
 protected:
  FCreaTest() {
    ctx.interazione = &ui;
    ctx.annoRiferimento = "2025";
    ctx.operatoreCorrente.codiceFiscale = "RSSMRA80A01H501U";
    ctx.operatoreCorrente.nomeVisualizzato = "ROSSIMARIO";
    ctx.totaliImport.righePerQuadro[FE] = 3;
    ctx.totaliImport.righeTotali = 3;
  }
  test::InterazioneRegistrata ui;
  Contesto ctx;
};

TEST_F(FCreaTest, TipologiaDiDatiSecondoIQuadriCompilati) {
  struct Case {
    std::string_view nome;
    std::vector<std::pair<Quadro, int>> righe;
    QString tipo;
    bool avviso;  // both kinds filled: the user is told that aggregated data win
  } const kCases[] = {
      {"solo TU", {{TU, 2}}, "2=Dati ANALITICI", false},
      {"solo FA", {{FA, 1}}, "1=Dati AGGREGATI", false},
      {"FA e FE", {{FA, 1}, {FE, 4}}, "1=Dati AGGREGATI", true},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.nome);
    ui.voci.clear();
    ctx.totaliImport = {};
    for (const auto& [quadro, n] : c.righe) ctx.totaliImport.righePerQuadro[quadro] = n;
    FCrea f(ctx);
    EXPECT_EQ(f.findChild<QComboBox*>("Combo1")->currentText(), c.tipo);
    ASSERT_EQ(ui.voci.size(), c.avviso ? 1u : 0u);
    if (c.avviso) {
      EXPECT_EQ(ui.voci[0].titolo, "Tipo di comunicazione");
      EXPECT_EQ(ui.voci[0].testo.rfind("Attenzione: sono stati compilati sia i dati AGGREGATI", 0),
                0u);
    }
    for (int q = FA; q <= TU; ++q) {
      auto* rr = f.findChild<QLineEdit*>(QStringLiteral("RR%1").arg(q));
      ASSERT_NE(rr, nullptr) << q;
      const int n = ctx.totaliImport.righePerQuadro[static_cast<std::size_t>(q)];
      EXPECT_EQ(rr->isHidden(), n < 1) << q;
      EXPECT_EQ(rr->text(), n < 1 ? QString() : QString::number(n)) << q;
    }
    EXPECT_EQ(f.findChild<QLineEdit*>("AA1")->text(), "2025");
  }
}

TEST_F(FCreaTest, RiquadroDeiProtocolliEControlli) {
  FCrea f(ctx);
  f.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
  auto* tipo = f.findChild<QComboBox*>("CmbTI");
  auto* riquadro = f.findChild<QGroupBox*>("FNprot");
  auto* telematico = f.findChild<QLineEdit*>("PROTO0");
  auto* documento = f.findChild<QLineEdit*>("PROTO1");
  EXPECT_TRUE(riquadro->isHidden());

  struct Case {
    int indice;
    bool riquadro;
    std::string titolo;  // the notice of the type chosen, none for an ordinary sending
  } const kCases[] = {
      {1, true, "Attenzione Sostituzione"},
      {2, true, "Attenzione Annullamento"},
      {0, false, ""},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.indice);
    ui.voci.clear();
    telematico->setText("  123 ");
    tipo->setCurrentIndex(c.indice);
    emit tipo->activated(c.indice);
    EXPECT_EQ(!riquadro->isHidden(), c.riquadro);
    if (c.titolo.empty()) {
      EXPECT_TRUE(ui.voci.empty());
    } else {
      ASSERT_EQ(ui.voci.size(), 1u);
      EXPECT_EQ(ui.voci[0].titolo, c.titolo);
      EXPECT_EQ(ui.voci[0].icona, Icona::Informazione);
      EXPECT_EQ(QApplication::focusWidget(), telematico);
    }
    EXPECT_EQ(telematico->text(), "123");
  }

  // A substitution needs both protocols: the empty document protocol is refused on its box,
  // even with the telematic one filled, and nothing is created.
  tipo->setCurrentIndex(1);
  emit tipo->activated(1);
  telematico->setText("13021812345678901");
  documento->clear();
  ui.voci.clear();
  QTest::mouseClick(f.findChild<QPushButton*>("Cmd_Crea"), Qt::LeftButton);
  ASSERT_EQ(ui.Testi().size(), 1u);
  EXPECT_EQ(Rifila(ui.Testi().front()), "Indicare il protocollo da sostitutire o annullare");
  EXPECT_EQ(ui.voci.back().titolo, "Errore");
  EXPECT_EQ(QApplication::focusWidget(), documento);
  EXPECT_EQ(f.Esito().stato, EsitoCreazione::Stato::ErroreCampo);
  EXPECT_TRUE(f.isVisible());

  // The year is checked first, on its own box.
  f.findChild<QLineEdit*>("AA1")->clear();
  ui.voci.clear();
  QTest::mouseClick(f.findChild<QPushButton*>("Cmd_Crea"), Qt::LeftButton);
  ASSERT_EQ(ui.Testi().size(), 1u);
  EXPECT_EQ(Rifila(ui.Testi().front()), "Anno di riferimento non indicato");
  EXPECT_EQ(QApplication::focusWidget(), f.findChild<QLineEdit*>("AA1"));
}

TEST_F(FCreaTest, DisposizioneOrdinataInOgniStato) {
  FCrea f(ctx);
  f.show();
  QApplication::processEvents();
  auto* tipo = f.findChild<QComboBox*>("CmbTI");
  auto* riquadro = f.findChild<QGroupBox*>("FNprot");
  const auto x = [&f](const char* nome) {
    return f.findChild<QWidget*>(nome)->mapTo(&f, QPoint(0, 0)).x();
  };
  // Year, type of sending, kind of data and period start at the same place.
  EXPECT_EQ(x("Combo1"), x("AA1"));
  EXPECT_EQ(x("CmbTI"), x("AA1"));
  EXPECT_EQ(x("TRimestre"), x("AA1"));
  const QSize iniziale = f.size();

  // The protocols' frame adds its rows, and takes them away again without a gap.
  for (int indice : {1, 0, 2, 0}) {
    SCOPED_TRACE(indice);
    tipo->setCurrentIndex(indice);
    emit tipo->activated(indice);
    QApplication::processEvents();
    EXPECT_EQ(riquadro->isVisible(), indice != 0);
    if (indice == 0) {
      EXPECT_EQ(f.size(), iniziale);
    } else {
      EXPECT_GT(f.height(), iniziale.height());
      EXPECT_GE(f.height(), f.sizeHint().height());
      EXPECT_EQ(x("Combo1"), x("AA1"));
    }
  }
}

TEST_F(FCreaTest, UnErroreUnMessaggio) {
  // The real message boxes, counted as they open; each is closed as a user would.
  InterazioneQt qt;
  ctx.interazione = &qt;
  int aperti = 0;
  QTimer chiudi;
  chiudi.setInterval(10);
  QObject::connect(&chiudi, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      ++aperti;
      box->button(QMessageBox::Ok)->click();
    }
  });
  chiudi.start();
  FCrea f(ctx);
  f.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
  auto* anno = f.findChild<QLineEdit*>("AA1");
  auto* periodo = f.findChild<QLineEdit*>("TRimestre");
  struct Case {
    const char* nome;
    const char* annoScritto;
  } const kCases[] = {{"anno vuoto", ""}, {"anno vuoto di nuovo", "  "}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.nome);
    aperti = 0;
    anno->setFocus();
    anno->clear();
    QTest::keyClicks(anno, c.annoScritto);
    // Leaving the box shows nothing; the creation refuses the year once.
    QTest::keyClick(anno, Qt::Key_Tab);
    QTest::qWait(50);
    EXPECT_EQ(aperti, 0);
    QTest::mouseClick(f.findChild<QPushButton*>("Cmd_Crea"), Qt::LeftButton);
    QTest::qWait(100);
    EXPECT_EQ(aperti, 1);
    EXPECT_EQ(f.Esito().stato, EsitoCreazione::Stato::ErroreCampo);
    // The box took the focus and gave it back to the year: still one box.
    periodo->setFocus();
    QTest::qWait(100);
    EXPECT_EQ(aperti, 1);
  }
  ctx.interazione = &ui;
}

}  // namespace
}  // namespace fcl
