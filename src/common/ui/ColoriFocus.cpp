#include "common/ui/ColoriFocus.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "common/RoutineFinestre.h"

namespace fcl {
namespace {

constexpr const char* kFiltro = "fclColoriFocus";

QColor ColoreQt(const Colore& c) { return QColor(c.rosso, c.verde, c.blu); }

bool InErrore(QObject* oggetto) { return oggetto->property("fclErroreCampo").toBool(); }

bool ECasella(QWidget* w) {
  if (auto* linea = qobject_cast<QLineEdit*>(w)) {
    // The line edit inside a combo or spin box is coloured through its owner.
    QWidget* padre = linea->parentWidget();
    return !qobject_cast<QComboBox*>(padre) && !qobject_cast<QAbstractSpinBox*>(padre);
  }
  if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->isEditable();
  return qobject_cast<QTextEdit*>(w) || qobject_cast<QPlainTextEdit*>(w);
}

}  // namespace

ColoriFocus::ColoriFocus(QObject* genitore) : QObject(genitore) {}

void ColoriFocus::ImpostaSfondo(QWidget* casella, const QColor& colore) {
  QPalette tavolozza = casella->palette();
  tavolozza.setColor(QPalette::Base, colore);
  casella->setPalette(tavolozza);
  if (auto* combo = qobject_cast<QComboBox*>(casella); combo && combo->lineEdit())
    combo->lineEdit()->setPalette(tavolozza);
}

void ColoriFocus::InstallaSu(QWidget* casella) {
  if (!casella || casella->property(kFiltro).toBool()) return;
  casella->setProperty(kFiltro, true);
  auto* filtro = new ColoriFocus(casella);
  casella->installEventFilter(filtro);
  if (auto* combo = qobject_cast<QComboBox*>(casella); combo && combo->lineEdit())
    combo->lineEdit()->installEventFilter(filtro);
  ImpostaSfondo(casella, ColoreQt(casella->hasFocus() ? kColoreFocus : kColoreNormale));
  // A text the program writes into a box the user is not typing in (a list click fills the
  // detail) shows its beginning: a long description would otherwise show only its tail.
  if (auto* linea = qobject_cast<QLineEdit*>(casella)) {
    QObject::connect(linea, &QLineEdit::textChanged, filtro, [linea] {
      if (!linea->isModified() && !linea->hasFocus()) linea->setCursorPosition(0);
    });
  }
}

void ColoriFocus::Installa(QWidget* finestra) {
  if (!finestra) return;
  if (ECasella(finestra)) InstallaSu(finestra);
  for (QWidget* figlio : finestra->findChildren<QWidget*>()) {
    if (ECasella(figlio)) InstallaSu(figlio);
  }
}

bool ColoriFocus::eventFilter(QObject* oggetto, QEvent* evento) {
  if (evento->type() == QEvent::FocusIn || evento->type() == QEvent::FocusOut) {
    auto* casella = qobject_cast<QWidget*>(parent());
    if (casella && !InErrore(casella)) {
      ImpostaSfondo(casella,
                    ColoreQt(evento->type() == QEvent::FocusIn ? kColoreFocus : kColoreNormale));
    }
  }
  return QObject::eventFilter(oggetto, evento);
}

}  // namespace fcl
