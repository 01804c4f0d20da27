#pragma once

#include <QWidget>

namespace fcl {

// What the main window asks of the operators register that works in its client area: the two
// toolbar commands. The register's window derives from this class; the main window creates it
// through FinestraPrincipale::Comandi::creaRegistro, places it, and deletes it when it closes it.
class FinestraRegistro : public QWidget {
 public:
  using QWidget::QWidget;

  // "Aggiungi Soggetto": prepare the window for a new operator.
  virtual void Aggiungi() = 0;
  // "Elimina Soggetto": delete the shown operator after confirmation.
  virtual void Elimina() = 0;
  // Fill the list again (after an import has added operators); by default nothing to do.
  virtual void Ricarica() {}
};

}  // namespace fcl
