#include "common/ui/Mnemonici.h"

#include <QAction>
#include <QMenu>

namespace fcl {
namespace {

bool Adatta(QChar c) { return c.unicode() < 128 && c.isLetterOrNumber(); }

// The letter of the item's own mnemonic, or a null character.
QChar Mnemonico(const QString& testo) {
  for (qsizetype i = 0; i + 1 < testo.size(); ++i) {
    if (testo[i] != QLatin1Char('&')) continue;
    if (testo[i + 1] == QLatin1Char('&')) {
      ++i;  // "&&" is a plain ampersand
      continue;
    }
    return testo[i + 1].toLower();
  }
  return {};
}

}  // namespace

void AssegnaMnemonici(QMenu* menu) {
  if (!menu) return;
  const QList<QAction*> voci = menu->actions();
  QString prese;
  for (const QAction* a : voci)
    if (const QChar c = Mnemonico(a->text()); !c.isNull()) prese += c;
  for (QAction* a : voci) {
    const QString testo = a->text();
    if (a->isSeparator() || testo.isEmpty() || testo.contains(QLatin1Char('&'))) continue;
    qsizetype scelta = -1;
    for (qsizetype i = 0; i < testo.size() && scelta < 0; ++i)
      if (Adatta(testo[i]) && (i == 0 || !testo[i - 1].isLetterOrNumber()) &&
          !prese.contains(testo[i].toLower()))
        scelta = i;
    for (qsizetype i = 0; i < testo.size() && scelta < 0; ++i)
      if (Adatta(testo[i]) && !prese.contains(testo[i].toLower())) scelta = i;
    if (scelta < 0) continue;
    prese += testo[scelta].toLower();
    a->setText(testo.left(scelta) + QLatin1Char('&') + testo.mid(scelta));
  }
}

}  // namespace fcl
