#pragma once

#include <QWidget>

class QCloseEvent;

namespace fcl {

// What the main window asks of the operators register that works in its client area: the two
// toolbar commands, and whether the input shown may go. The register's window derives from this
// class; the main window creates it through FinestraPrincipale::Comandi::creaRegistro, places it,
// and deletes it when it replaces it.
//
// The register is the application's working window: it never closes on its own (a close request
// from its frame or a shortcut is refused); only the main window takes it away, after asking
// LasciaDati().
class FinestraRegistro : public QWidget {
 public:
  using QWidget::QWidget;

  // "Aggiungi Soggetto": prepare the window for a new operator.
  virtual void Aggiungi() = 0;
  // "Elimina Soggetto": delete the shown operator after confirmation.
  virtual void Elimina() = 0;
  // Fill the list again (after an import has added operators); by default nothing to do.
  virtual void Ricarica() {}
  // Called before the shown input would be dropped (the register replaced, the program ended):
  // true when it may go (nothing unsaved, saved, or the user chose not to save); false keeps it.
  virtual bool LasciaDati() { return true; }

 protected:
  void closeEvent(QCloseEvent* evento) override;
};

}  // namespace fcl
