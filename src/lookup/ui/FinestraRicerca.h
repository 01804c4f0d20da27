#pragma once

#include <QDialog>

#include <memory>
#include <optional>
#include <string>

#include "lookup/RicercaTabella.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace fcl {

class ListaVista;

// The form that the two lookup windows share ("Ricerca Tabelle"): a title box, the search box,
// "Cerca", "Reset", "Chiudi" and the list. It runs the search (RicercaTabella) and the keys:
// Esc closes without a choice; Enter or Space on the list or the window chooses the selected row;
// Enter in the search box searches; a click on the window's background is "Chiudi". What a choice
// or "Chiudi" hands back is the subclass's business.
//
// A statement that fails is told inside the window (the list stays as it was).
class FinestraRicerca : public QDialog {
  Q_OBJECT

 public:
  FinestraRicerca(Database& db, Elenco elenco, QWidget* genitore);
  ~FinestraRicerca() override;

  // The controls, for the windows' keys and for tests.
  QLineEdit* Ricerca() const { return ricerca_; }
  QLineEdit* Titolo() const { return vtabella_; }
  QPushButton* BottoneCerca() const { return bCerca_; }
  QPushButton* BottoneReset() const { return bAnnullaCerca_; }
  QPushButton* BottoneChiudi() const { return bAnnulla_; }
  ListaVista* Lista() const { return listV_; }
  QLabel* Avviso() const { return avviso_; }
  const RicercaTabella& DatiRicerca() const { return *ricercaTabella_; }

  // "Cerca", "Reset", "Chiudi".
  void Cerca();
  void Reset();
  virtual void Chiudi();

 protected:
  // Fills the list (with the pending filter); called at opening and by Cerca and Reset.
  void Riempi();
  // A row chosen (double-click, Enter, Space): `valori` under the list's choice titles.
  virtual void Scelta(const std::vector<std::string>& valori) = 0;
  // Shows or hides the notice above the list.
  void MostraAvviso(const std::string& testo);
  virtual void DopoRiempimento() {}

  void keyPressEvent(QKeyEvent* evento) override;
  bool eventFilter(QObject* oggetto, QEvent* evento) override;
  void mousePressEvent(QMouseEvent* evento) override;

 private:
  void Scegli();

  std::unique_ptr<RicercaTabella> ricercaTabella_;
  QLineEdit* vtabella_;
  QLineEdit* ricerca_;
  QPushButton* bCerca_;
  QPushButton* bAnnullaCerca_;
  QPushButton* bAnnulla_;
  ListaVista* listV_;
  QLabel* avviso_;
};

}  // namespace fcl
