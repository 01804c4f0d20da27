#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include "InterazioneRegistrata.h"
#include "common/RoutineFinestre.h"
#include "common/ui/ColoriFocus.h"
#include "common/ui/RoutineCampiQt.h"

namespace fcl {
namespace {

const QColor kGialloChiaro(255, 255, 192);

// Records, at the moment the box is on screen, the colours and the focus of one field.
class InterazioneOsservata : public test::InterazioneRegistrata {
 public:
  QWidget* campo = nullptr;
  QColor sfondo;
  QColor testo;
  bool fuoco = false;
  void Messaggio(std::string_view t, std::string_view titolo, Icona icona) override {
    sfondo = campo->palette().color(QPalette::Base);
    testo = campo->palette().color(QPalette::Text);
    fuoco = campo->hasFocus();
    // The box takes the focus away from the field, as a real one would.
    QApplication::focusWidget()->clearFocus();
    InterazioneRegistrata::Messaggio(t, titolo, icona);
  }
};

class CampiTest : public ::testing::Test {
 protected:
  CampiTest() {
    auto* colonna = new QVBoxLayout(&finestra);
    data = new QLineEdit(&finestra);
    altra = new QLineEdit(&finestra);
    colonna->addWidget(data);
    colonna->addWidget(altra);
    ColoriFocus::Installa(&finestra);
    finestra.show();
    finestra.activateWindow();
    QApplication::setActiveWindow(&finestra);
    ui.campo = data;
  }
  QWidget finestra;
  QLineEdit* data;
  QLineEdit* altra;
  InterazioneOsservata ui;
};

TEST_F(CampiTest, ColoriDelFuoco) {
  altra->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(data->palette().color(QPalette::Base), QColor(Qt::white));
  data->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(data->palette().color(QPalette::Base), kGialloChiaro);
  altra->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(data->palette().color(QPalette::Base), QColor(Qt::white));
  EXPECT_EQ(altra->palette().color(QPalette::Base), kGialloChiaro);
}

TEST_F(CampiTest, ErroreCampoRossoConMessaggioCentratoPoiColoreDelFuoco) {
  altra->setFocus();
  ErroreCampo(ui, data, "Partita Iva Errata");
  ASSERT_EQ(ui.voci.size(), 1u);
  EXPECT_EQ(ui.voci[0].titolo, "Errore");
  EXPECT_EQ(ui.voci[0].testo, std::string(41, ' ') + "Partita Iva Errata" + std::string(41, ' '));
  // While the message is on screen: red with white text, focus on the field (and the red stays
  // though the box took the focus).
  EXPECT_EQ(ui.sfondo, QColor(255, 0, 0));
  EXPECT_EQ(ui.testo, QColor(Qt::white));
  EXPECT_TRUE(ui.fuoco);
  EXPECT_EQ(data->palette().color(QPalette::Base), kGialloChiaro);
  EXPECT_EQ(data->palette().color(QPalette::Text), QApplication::palette().color(QPalette::Text));
  EXPECT_TRUE(data->hasFocus());
}

TEST_F(CampiTest, ControllaDataNormalizzaOSegnalaLErrore) {
  struct Caso {
    const char* digitato;
    bool valida;
    const char* risultato;
  } const kCasi[] = {
      {"010215", true, "01/02/2015"},
      {"01.02.2015", true, "01/02/2015"},
      {"31042015", false, "31042015"},
      {"fine mese", false, "fine mese"},
      {"", false, ""},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.digitato);
    ui.voci.clear();
    data->setText(QString::fromUtf8(c.digitato));
    EXPECT_EQ(ControllaData(ui, data), c.valida);
    EXPECT_EQ(data->text(), QString::fromUtf8(c.risultato));
    if (c.valida) {
      EXPECT_TRUE(ui.voci.empty());
    } else {
      ASSERT_EQ(ui.voci.size(), 1u);
      EXPECT_EQ(ui.voci[0].testo, std::string(42, ' ') + "Data non valida" + std::string(42, ' '));
    }
  }
}

TEST(PulisciForm, SvuotaCaselleEDeselezionaCheckBox) {
  QWidget finestra;
  auto* testo = new QLineEdit(QStringLiteral("abc"), &finestra);
  auto* note = new QPlainTextEdit(QStringLiteral("note"), &finestra);
  auto* scelta = new QCheckBox(&finestra);
  scelta->setChecked(true);
  auto* combo = new QComboBox(&finestra);
  combo->addItems({QStringLiteral("PF"), QStringLiteral("PNF")});
  combo->setCurrentIndex(1);
  auto* numero = new QSpinBox(&finestra);
  numero->setValue(7);
  auto* interna = new QWidget(&finestra);
  auto* annidata = new QLineEdit(QStringLiteral("xyz"), interna);
  PulisciForm(&finestra);
  EXPECT_TRUE(testo->text().isEmpty());
  EXPECT_TRUE(annidata->text().isEmpty());
  EXPECT_TRUE(note->toPlainText().isEmpty());
  EXPECT_FALSE(scelta->isChecked());
  EXPECT_EQ(combo->currentIndex(), 1);  // not a text box
  EXPECT_EQ(numero->value(), 7);
}

}  // namespace
}  // namespace fcl
