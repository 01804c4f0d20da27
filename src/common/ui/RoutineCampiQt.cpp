#include "common/ui/RoutineCampiQt.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextEdit>

#include <ctime>
#include <vector>

#include "common/RoutineCampi.h"
#include "common/RoutineFinestre.h"
#include "common/ui/ColoriFocus.h"
#include "common/ui/Stringhe.h"
#include "lookup/RicercaTabella.h"
#include "lookup/ui/FCale.h"
#include "lookup/ui/FTAB.h"

namespace fcl {
namespace {

void Colori(QWidget* campo, const Colore& sfondo, const QColor& testo) {
  ColoriFocus::ImpostaSfondo(campo, QColor(sfondo.rosso, sfondo.verde, sfondo.blu));
  QPalette tavolozza = campo->palette();
  tavolozza.setColor(QPalette::Text, testo);
  campo->setPalette(tavolozza);
}

void Fuoco(QWidget* campo) {
  MostraCampo(campo);
  if (campo->isEnabled() && campo->focusPolicy() != Qt::NoFocus)
    campo->setFocus(Qt::OtherFocusReason);
}

}  // namespace

void MostraCampo(QWidget* campo) {
  if (!campo) return;
  // Outermost first: the page holding the field is shown before a scroll area inside it moves.
  std::vector<QWidget*> antenati;
  for (QWidget* w = campo->parentWidget(); w && !w->isWindow(); w = w->parentWidget())
    antenati.insert(antenati.begin(), w);
  for (std::size_t i = 0; i < antenati.size(); ++i) {
    QWidget* figlio = i + 1 < antenati.size() ? antenati[i + 1] : campo;
    if (auto* pile = qobject_cast<QStackedWidget*>(antenati[i])) {
      if (pile->indexOf(figlio) >= 0) {
        // A tab widget's pages live in its stack: the tab is chosen through the tab widget.
        if (auto* schede = qobject_cast<QTabWidget*>(pile->parentWidget()))
          schede->setCurrentWidget(figlio);
        else
          pile->setCurrentWidget(figlio);
      }
    }
  }
  for (QWidget* w : antenati) {
    if (auto* scorrimento = qobject_cast<QScrollArea*>(w)) {
      // The page just shown has its geometry only after its layout ran.
      if (QWidget* contenuto = scorrimento->widget(); contenuto && contenuto->layout())
        contenuto->layout()->activate();
      scorrimento->ensureWidgetVisible(campo);
    }
  }
}

void ErroreCampo(Interazione& ui, QWidget* campo, std::string_view messaggio) {
  // The message box takes the focus from the field, and a check hooked to the field's leaving
  // would run again and show its box a second time: while the field's error is shown, a second
  // error on it is the same one.
  if (campo && campo->property("fclErroreCampo").toBool()) return;
  if (campo) {
    campo->setProperty("fclErroreCampo", true);
    Colori(campo, kColoreErrore,
           QColor(kColoreTestoErrore.rosso, kColoreTestoErrore.verde, kColoreTestoErrore.blu));
    Fuoco(campo);
  }
  ui.Messaggio(CentraMessaggio(messaggio), kTitoloErroreCampo, Icona::Nessuna);
  if (campo) {
    campo->setProperty("fclErroreCampo", false);
    Colori(campo, kColoreFocus, QApplication::palette().color(QPalette::Text));
    Fuoco(campo);
  }
}

bool ControllaData(Interazione& ui, QLineEdit* casella) {
  const auto analisi = AnalizzaData(TestoStd(casella->text()));
  if (analisi.esito == DataAnalizzata::Valida) {
    casella->setText(QTesto(analisi.normalizzata));
    return true;
  }
  ErroreCampo(ui, casella, kDataNonValida);
  return false;
}

bool ScegliData(QLineEdit* casella, const Data& oggi) {
  FCale calendario(oggi, casella->window());
  calendario.AccantoA(casella);
  calendario.exec();
  const std::string scelta = calendario.DataScelta();
  if (scelta.empty()) return false;
  casella->setText(QTesto(scelta));
  return true;
}

bool ScegliData(QLineEdit* casella, const Contesto& ctx) { return ScegliData(casella, Oggi(ctx)); }

bool ScegliLocalita(QLineEdit* comune, QLineEdit* provincia, std::string_view tipo, Database& db) {
  const auto elenco = PreparaElenco(tipo);
  if (!elenco) return false;
  FTAB finestra(db, *elenco, TestoStd(comune->text()), comune->window());
  finestra.exec();
  const auto& risultato = finestra.RisultatoScelta();
  bool scelto = false;
  if (!risultato.empty() && !Rifila(risultato[0]).empty()) {
    comune->setText(QTesto(risultato[0]));
    scelto = true;
  }
  if (risultato.size() > 1 && !Rifila(risultato[1]).empty()) {
    provincia->setText(QTesto(risultato[1]));
    scelto = true;
  }
  return scelto;
}

void PulisciForm(QWidget* finestra) {
  for (QLineEdit* casella : finestra->findChildren<QLineEdit*>()) {
    QWidget* padre = casella->parentWidget();
    if (qobject_cast<QComboBox*>(padre) || qobject_cast<QAbstractSpinBox*>(padre)) continue;
    casella->clear();
  }
  for (QTextEdit* casella : finestra->findChildren<QTextEdit*>()) casella->clear();
  for (QPlainTextEdit* casella : finestra->findChildren<QPlainTextEdit*>()) casella->clear();
  for (QCheckBox* casella : finestra->findChildren<QCheckBox*>()) casella->setChecked(false);
}

Data Oggi(const Contesto& ctx) {
  const std::time_t t = std::chrono::system_clock::to_time_t(ctx.adesso());
  std::tm tm{};
  localtime_r(&t, &tm);
  return Data{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
}

}  // namespace fcl
