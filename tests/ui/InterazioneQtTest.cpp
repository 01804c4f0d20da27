#include <QAbstractButton>
#include <QMainWindow>
#include <QMessageBox>
#include <QProgressBar>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

#include "AiutoTest.h"
#include "common/ui/InterazioneQt.h"

namespace fcl {
namespace {

TEST(InterazioneQt, FiltriDeiDialoghiInMaiuscoloEMinuscolo) {
  struct Caso {
    std::string_view filtro;
    std::string qt;
    std::string estensione;
  } const kCasi[] = {
      {"File Excel (*.XLS)|*.XLS", "File Excel (*.XLS *.xls)", "XLS"},
      {"Backup (*.fcl)|*.fcl|Tutti i file (*.*)|*.*", "Backup (*.FCL *.fcl);;Tutti i file (*.*)",
       "fcl"},
      {"Cartelle di lavoro (*.xls;*.xlsx;*.ods)|*.xls;*.xlsx;*.ods",
       "Cartelle di lavoro (*.XLS *.xls *.XLSX *.xlsx *.ODS *.ods)", "xls"},
      {"PDF|*.PDF", "PDF (*.PDF *.pdf)", "PDF"},
      {"", "", ""},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.filtro);
    EXPECT_EQ(InterazioneQt::FiltroQt(c.filtro), c.qt);
    EXPECT_EQ(InterazioneQt::EstensionePredefinita(c.filtro), c.estensione);
  }
}

TEST(InterazioneQt, DomandaConPulsantiItalianiEIconaTitoloETesto) {
  InterazioneQt ui;
  struct Caso {
    const char* premere;
    Risposta attesa;
  } const kCasi[] = {{"Sì", Risposta::Si}, {"No", Risposta::No}};
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.premere);
    QStringList pulsanti;
    QString titolo;
    QString testo;
    QMessageBox::Icon icona = QMessageBox::NoIcon;
    test::QuandoSiApre([&](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      ASSERT_NE(box, nullptr);
      titolo = box->windowTitle();
      testo = box->text();
      icona = box->icon();
      for (QAbstractButton* b : box->buttons()) {
        pulsanti << b->text();
        if (b->text() == QString::fromUtf8(c.premere)) b->click();
      }
    });
    EXPECT_EQ(ui.Chiedi("Confermi?", "Richiesta conferma", Pulsanti::SiNo, Icona::Informazione,
                        Risposta::No),
              c.attesa);
    pulsanti.sort();
    EXPECT_EQ(pulsanti, (QStringList{QStringLiteral("No"), QStringLiteral("Sì")}));
    EXPECT_EQ(titolo, QStringLiteral("Richiesta conferma"));
    EXPECT_EQ(testo, QStringLiteral("Confermi?"));
    EXPECT_EQ(icona, QMessageBox::Information);
  }

  // A message without a title of its own shows the application's.
  QString titolo;
  test::QuandoSiApre([&](QWidget* w) {
    titolo = w->windowTitle();
    QTest::keyClick(w, Qt::Key_Escape);
  });
  ui.Messaggio("Fatto", "", Icona::Nessuna);
  EXPECT_EQ(titolo, QStringLiteral("FISCOLARIO"));
}

TEST(InterazioneQt, AvanzamentoEAvvisiSullaBarraDiStato) {
  QMainWindow finestra;
  auto* barra = new QProgressBar(&finestra);
  finestra.statusBar()->addPermanentWidget(barra);
  barra->hide();
  finestra.show();
  InterazioneQt ui(&finestra);
  ui.ImpostaBarraStato(finestra.statusBar(), barra);

  ui.Avanzamento("Foglio FE", 5, 10);
  EXPECT_TRUE(barra->isVisible());
  EXPECT_EQ(barra->value(), 5);
  EXPECT_EQ(barra->maximum(), 10);
  EXPECT_EQ(finestra.statusBar()->currentMessage(), QStringLiteral("Foglio FE"));
  ui.Avanzamento("Foglio FE", 10, 10);
  EXPECT_FALSE(barra->isVisible());
  ui.Avviso("Creato il database");
  EXPECT_EQ(finestra.statusBar()->currentMessage(), QStringLiteral("Creato il database"));

  // A window that shows its own progress takes the reports instead.
  std::vector<long long> valori;
  ui.avanzamento = [&](std::string_view, long long v, long long) { valori.push_back(v); };
  ui.Avanzamento("Importazione modelli", 3, 0);
  EXPECT_EQ(valori, (std::vector<long long>{3}));
  EXPECT_FALSE(barra->isVisible());
}

}  // namespace
}  // namespace fcl
