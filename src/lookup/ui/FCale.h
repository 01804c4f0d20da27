#pragma once

#include <QDialog>

#include <string>

#include "common/Valore.h"
#include "lookup/Calendario.h"

class QLabel;
class QListWidget;
class QScrollBar;
class QToolButton;

namespace fcl {

class GrigliaGiorni;

// The date picker "Seleziona una data": one month as a grid of days, Monday first, opened on
// today's month with today's day framed. A click on a day shows its date below the grid; a
// double-click chooses it; Enter or Space choose the date shown (nothing when no day was clicked);
// Esc and the close box choose nothing. The month moves with the arrows, the month list and the
// year bar (1500-2500); a click on the year goes back to the current year.
class FCale : public QDialog {
  Q_OBJECT

 public:
  FCale(const Data& oggi, QWidget* genitore = nullptr);

  // Places the window just below `casella` (above it when there is no room), inside the screen.
  void AccantoA(QWidget* casella);

  // The chosen date, "dd/mm/yyyy", or empty (DataScelta).
  const std::string& DataScelta() const { return dataScelta_; }

  const Calendario& Cal() const { return calendario_; }
  GrigliaGiorni* Griglia() const { return pctCAL_; }
  QLabel* MyDate() const { return myDate_; }
  QLabel* EtichettaMese() const { return lblMESE_; }
  QLabel* EtichettaAnno() const { return lblANNO_; }
  QListWidget* ListaMesi() const { return lstMESI_; }
  QScrollBar* BarraAnno() const { return vScroll1_; }
  QToolButton* MesePrecedente() const { return command2_; }
  QToolButton* MeseSuccessivo() const { return command3_; }

 protected:
  void keyPressEvent(QKeyEvent* evento) override;
  bool eventFilter(QObject* oggetto, QEvent* evento) override;
  void resizeEvent(QResizeEvent* evento) override;

 private:
  void Disegna();
  void ScegliMese(int indice);
  void CambiaAnno(int anno);
  void MostraListaMesi();
  void Clic(int cella);
  void Chiudi(const std::string& data);

  Calendario calendario_;
  int annoCorrente_;
  std::string dataScelta_;
  bool caricamento_ = true;

  QToolButton* command2_;
  QToolButton* command3_;
  QToolButton* cmdMESI_;
  QLabel* lblMESE_;
  QLabel* lblANNO_;
  QScrollBar* vScroll1_;
  QListWidget* lstMESI_;
  GrigliaGiorni* pctCAL_;
  QLabel* myDate_;
  QLabel* label1_;
};

}  // namespace fcl
