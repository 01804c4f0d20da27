#include "common/ui/DopoIlClic.h"

#include <QApplication>
#include <QThread>

namespace fcl {

void AttendiFineDoppioClic(const QElapsedTimer& dalClic) {
  if (!dalClic.isValid()) return;
  const qint64 intervallo = QApplication::doubleClickInterval();
  for (qint64 trascorso = dalClic.elapsed(); trascorso < intervallo;
       trascorso = dalClic.elapsed()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, static_cast<int>(intervallo - trascorso));
    QThread::msleep(10);
  }
  QCoreApplication::processEvents();
}

}  // namespace fcl
