#pragma once

#include <QDialog>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "batch/ElencoLotto.h"
#include "batch/Lotto.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;

namespace fcl {

struct Contesto;

// "Elaborazione multipla": the communications of many operators in one run. The user picks a list
// (the CSV of the `lotto` command) or a folder of workbooks, each matched to an operator by the
// fiscal code or VAT number in its file name (the files matched to nobody are listed, never
// guessed), sets the options common to every row and starts. The rows run on threads of their
// own (Lotto) while the table shows each row's state and message and the bar the rows ended;
// "Interrompi" stops starting rows. At the end the summary RIEPILOGO_LOTTO.csv is written into
// the output folder, which "Apri cartella risultati" opens. The window cannot be closed while rows
// run without the question; after a Yes it closes once the running rows have ended.
class FLotto : public QDialog {
  Q_OBJECT
 public:
  explicit FLotto(Contesto& ctx, QWidget* genitore = nullptr);
  ~FLotto() override;

  // The rows the window would run, from the chosen list or folder (the table shows them); false,
  // with the reason shown, when the source cannot be used.
  bool CaricaRighe();
  // "Avvia": loads the rows and starts the batch off the UI thread.
  void Avvia();
  void Interrompi();
  bool InCorso() const { return lotto_ != nullptr; }

  void reject() override;

 private:
  void ScegliSorgente();
  void ScegliUscita();
  void RigaCambiata(std::size_t indice, const EsitoRiga& esito);
  void Concluso();
  void MostraRiga(int riga, const RigaElenco& r, const EsitoRiga& e);
  std::filesystem::path Uscita() const;

  Contesto& ctx_;
  std::vector<RigaElenco> righe_;
  std::unique_ptr<Lotto> lotto_;
  std::thread filo_;
  std::size_t finite_ = 0;
  bool chiudiAllaFine_ = false;

  QRadioButton* daElenco_;
  QRadioButton* daCartella_;
  QLineEdit* sorgente_;
  QLineEdit* uscita_;
  QLineEdit* anno_;
  QComboBox* dati_;
  QCheckBox* sovrascrivi_;
  QCheckBox* conserva_;
  QSpinBox* processi_;
  QLabel* etichettaNonAbbinati_;
  QListWidget* nonAbbinati_;
  QTableWidget* tabella_;
  QProgressBar* avanzamento_;
  QLabel* stato_;
  QPushButton* avvia_;
  QPushButton* interrompi_;
  QPushButton* apriCartella_;
  QPushButton* chiudi_;
};

}  // namespace fcl
