#include "shell/ui/FinestraRegistro.h"

#include <QCloseEvent>

namespace fcl {

void FinestraRegistro::closeEvent(QCloseEvent* evento) { evento->ignore(); }

}  // namespace fcl
