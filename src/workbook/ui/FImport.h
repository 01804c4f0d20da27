#pragma once

#include <QDialog>

#include <filesystem>

#include "common/ui/CorsaSeparata.h"

#include "workbook/ElaboraCartella.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace fcl {

struct Contesto;
class Listato;

// "Crea Comunicazione - Selezione Foglio Base": the workbook window of the main road. The user
// picks the workbook (.xls, .xlsx, .ods) or the year's electronic invoices (a .zip, .xml or .p7m
// file, or a folder through "Cartella di fatture..."), the run asks where to save the check listing and walks
// the sheets while the window shows the sheet and the row being read (the listing's pages
// compressed when "Listato compresso" is ticked); a run that reached the end
// (rows read, or none with its message) closes the window. A run stopped early (listing dialog
// cancelled, workbook unreadable, listing in use, "Interrompi") leaves the window open for
// another try. The run goes on its own thread: the window stays live and "Interrompi" stops it
// with every file as it was; the window cannot be closed while it runs.
//
// The window does not own the listing: the register keeps it alive until the creation window
// has used it. The results are in ctx.totaliImport after the window closes.
class FImport : public QDialog {
  Q_OBJECT
 public:
  // `apri` opens the workbook; empty: the program's readers.
  FImport(Contesto& ctx, Listato& listato, ApriCartellaFn apri = {}, QWidget* genitore = nullptr);

  // "Apri Foglio Excel Base": the open dialog, then the run on the chosen workbook.
  void ScegliFoglio();
  // "Cartella di fatture...": the folder dialog, then the run on the invoices in the folder.
  void ScegliCartellaFatture();
  // The run on `cartellaLavoro`, as when it is chosen in the dialog.
  void Elabora(const std::filesystem::path& cartellaLavoro);
  // "Istruzioni": the user guide of the Help folder.
  void Istruzioni();
  // "Interrompi": the run in progress stops at its next row.
  void Interrompi();
  bool InCorso() const { return corsa_.InCorso(); }

  // How the last run ended (Fallita before any run).
  const RisultatoElaborazione& Risultato() const { return risultato_; }

  // Closing waits for the end of a run (the run reports through this window).
  void reject() override;

 private:
  Contesto& ctx_;
  Listato& listato_;
  ApriCartellaFn apri_;
  RisultatoElaborazione risultato_;
  CorsaSeparata corsa_;

  QLineEdit* tfbase_;
  QCheckBox* vSiZ_;
  QCheckBox* vCompresso_;
  QLabel* label2_;
  QLineEdit* perc_;
  QPushButton* rfbase_;
  QPushButton* rfatture_;
  QPushButton* bAnnulla_;
  QPushButton* bInterrompi_;
};

}  // namespace fcl
