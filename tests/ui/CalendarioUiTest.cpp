#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include "AiutoTest.h"
#include "common/ui/RoutineCampiQt.h"
#include "lookup/ui/FCale.h"
#include "lookup/ui/GrigliaGiorni.h"

namespace fcl {
namespace {

void Clic(FCale& c, int giorno, bool doppio = false) {
  const QPoint centro = c.Griglia()->RettangoloCella(c.Cal().Scostamento() + giorno - 1).center();
  if (doppio)
    QTest::mouseDClick(c.Griglia(), Qt::LeftButton, {}, centro);
  else
    QTest::mouseClick(c.Griglia(), Qt::LeftButton, {}, centro);
}

TEST(FCale, AperturaEMesi) {
  FCale c(Data{2016, 2, 10});
  c.show();
  EXPECT_EQ(c.windowTitle(), QStringLiteral("Seleziona una data"));
  EXPECT_EQ(c.EtichettaMese()->text(), QStringLiteral("Febbraio"));
  EXPECT_EQ(c.EtichettaAnno()->text(), QStringLiteral("2016"));
  EXPECT_EQ(c.EtichettaAnno()->toolTip(), QStringLiteral("Riporta all'Anno Corrente"));
  EXPECT_EQ(c.MesePrecedente()->toolTip(), QStringLiteral("Decrementa Mesi"));
  EXPECT_EQ(c.MeseSuccessivo()->toolTip(), QStringLiteral("Incrementa Mesi"));
  EXPECT_EQ(c.BarraAnno()->minimum(), 1500);
  EXPECT_EQ(c.BarraAnno()->maximum(), 2500);
  EXPECT_EQ(c.ListaMesi()->count(), 12);
  EXPECT_EQ(c.ListaMesi()->item(0)->text(), QStringLiteral("Gennaio"));
  EXPECT_TRUE(c.MyDate()->text().isEmpty());
  EXPECT_EQ(c.Griglia()->Cornice(), 9);  // February 2016 starts on Monday: the 10th is cell 9

  // A click shows the date and moves the frame; a month later the frame is back on the 10th.
  Clic(c, 15);
  EXPECT_EQ(c.MyDate()->text(), QStringLiteral("15/02/2016"));
  EXPECT_EQ(c.Griglia()->Cornice(), 14);
  QTest::mouseClick(c.MesePrecedente(), Qt::LeftButton);
  EXPECT_EQ(c.EtichettaMese()->text(), QStringLiteral("Gennaio"));
  EXPECT_EQ(c.Griglia()->Cornice(), 4 + 10 - 1);  // 1 January 2016 is a Friday
  QTest::mouseClick(c.MesePrecedente(), Qt::LeftButton);
  EXPECT_EQ(c.EtichettaMese()->text(), QStringLiteral("Dicembre"));
  EXPECT_EQ(c.EtichettaAnno()->text(), QStringLiteral("2015"));
  EXPECT_EQ(c.BarraAnno()->value(), 2015);
  QTest::mouseClick(c.MeseSuccessivo(), Qt::LeftButton);
  EXPECT_EQ(c.EtichettaAnno()->text(), QStringLiteral("2016"));

  // The month list: shown by a click on the month's name, hidden after a choice.
  QTest::mouseClick(c.EtichettaMese(), Qt::LeftButton);
  EXPECT_TRUE(c.ListaMesi()->isVisible());
  c.ListaMesi()->setCurrentRow(7);
  QTest::keyClick(c.ListaMesi(), Qt::Key_Return);
  EXPECT_FALSE(c.ListaMesi()->isVisible());
  EXPECT_TRUE(c.isVisible());  // Enter in the list chooses the month, not the date
  EXPECT_EQ(c.EtichettaMese()->text(), QStringLiteral("Agosto"));

  // The year bar, and a click on the year back to the current one.
  c.BarraAnno()->setValue(1999);
  EXPECT_EQ(c.EtichettaAnno()->text(), QStringLiteral("1999"));
  EXPECT_EQ(c.Cal().Anno(), 1999);
  QTest::mouseClick(c.EtichettaAnno(), Qt::LeftButton);
  EXPECT_EQ(c.Cal().Anno(), 2016);
  EXPECT_EQ(c.BarraAnno()->value(), 2016);

  // A click on an empty cell does nothing.
  QTest::mouseClick(c.Griglia(), Qt::LeftButton, {}, c.Griglia()->RettangoloCella(36).center());
  EXPECT_EQ(c.MyDate()->text(), QStringLiteral("15/02/2016"));
}

TEST(FCale, TastiEDoppioClic) {
  struct Caso {
    const char* nome;
    std::function<void(FCale&)> azione;
    std::string atteso;
  } const kCasi[] = {
      {"Invio senza clic: niente", [](FCale& c) { QTest::keyClick(c.Griglia(), Qt::Key_Return); },
       ""},
      {"clic e Invio",
       [](FCale& c) {
         Clic(c, 29);
         QTest::keyClick(c.Griglia(), Qt::Key_Enter);
       },
       "29/02/2016"},
      {"clic e Spazio",
       [](FCale& c) {
         Clic(c, 1);
         QTest::keyClick(c.Griglia(), Qt::Key_Space);
       },
       "01/02/2016"},
      {"clic ed Esc: niente",
       [](FCale& c) {
         Clic(c, 3);
         QTest::keyClick(c.Griglia(), Qt::Key_Escape);
       },
       ""},
      {"doppio clic nel mese dopo",
       [](FCale& c) {
         QTest::mouseClick(c.MeseSuccessivo(), Qt::LeftButton);
         Clic(c, 31, true);
       },
       "31/03/2016"},
      {"chiusura della finestra: niente",
       [](FCale& c) {
         Clic(c, 3);
         c.close();
       },
       ""},
  };
  for (const auto& k : kCasi) {
    SCOPED_TRACE(k.nome);
    FCale c(Data{2016, 2, 10});
    c.show();
    k.azione(c);
    EXPECT_FALSE(c.isVisible());
    EXPECT_EQ(c.DataScelta(), k.atteso);
  }
}

TEST(FCale, ScegliDataScriveSoloUnaDataScelta) {
  QWidget finestra;
  auto* casella = new QLineEdit(QStringLiteral("01/01/2000"), &finestra);
  finestra.show();
  test::QuandoSiApre([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
  EXPECT_FALSE(ScegliData(casella, Data{2016, 2, 10}));
  EXPECT_EQ(casella->text(), QStringLiteral("01/01/2000"));

  test::QuandoSiApre([](QWidget* w) {
    auto* c = qobject_cast<FCale*>(w);
    ASSERT_NE(c, nullptr);
    Clic(*c, 15, true);
  });
  EXPECT_TRUE(ScegliData(casella, Data{2016, 2, 10}));
  EXPECT_EQ(casella->text(), QStringLiteral("15/02/2016"));
}

}  // namespace
}  // namespace fcl
