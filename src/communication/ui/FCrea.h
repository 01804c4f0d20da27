#pragma once

#include <QDialog>

#include <array>

#include "common/ui/CorsaSeparata.h"

#include "communication/CreaComunicazione.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace fcl {

struct Contesto;
class Listato;

// "Crea Comunicazione (da spedire con ENTRATEL o FILEINTERNET) ": the last window of the main
// road. It shows what the workbook run found (rows per quadro under their legends), asks for the
// year, the type of sending (with the protocols of a substitution or cancellation), the kind of
// data and the month or quarter, and on "CREA COMUNICAZIONE" runs the creation. A refused field
// is shown on its box; a creation that stops leaves the window open for another try; a completed
// one closes it (the creation has opened the listing and the cover). The creation goes on its own
// thread: the window stays live and "Interrompi" stops it with every file as it was; the window
// cannot be closed while it runs.
//
// `listato` is the check listing of the run, kept alive by the caller until this window closes:
// the check of the written file marks in it the rows it finds wrong.
class FCrea : public QDialog {
  Q_OBJECT
 public:
  FCrea(Contesto& ctx, Listato* listato = nullptr, QWidget* genitore = nullptr);

  // "CREA COMUNICAZIONE": the creation with the window's choices.
  void Crea();
  // How the last creation ended (Interrotta before any).
  const EsitoCreazione& Esito() const { return esito_; }
  // "Interrompi": the creation in progress stops at its next record or step.
  void Interrompi();
  bool InCorso() const { return corsa_.InCorso(); }

  // Closing waits for the end of a creation.
  void reject() override;

 private:
  void TipoInvioScelto(int indice);
  void MostraAvanzamento(std::string_view didascalia, long long valore, long long massimo);
  QWidget* CampoDi(CampoCreazione campo) const;

  Contesto& ctx_;
  Listato* listato_;
  EsitoCreazione esito_;
  CorsaSeparata corsa_;

  QLineEdit* aa1_;
  QComboBox* cmbTI_;
  QGroupBox* fnProt_;
  std::array<QLineEdit*, 2> proto_{};
  QComboBox* combo1_;
  QLineEdit* trimestre_;
  QLabel* label16_;
  QProgressBar* pb1_;
  QLineEdit* perc_;
  QPushButton* cmdCrea_;
  QPushButton* bInterrompi_;
};

}  // namespace fcl
