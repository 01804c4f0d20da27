#pragma once

#include <optional>
#include <string>

#include "register/DatiOperatore.h"
#include "shell/ui/FinestraRegistro.h"

class QCheckBox;
class QLabel;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSplitter;
class QTabWidget;

namespace fcl {

struct Contesto;
class ListaVista;

// "Elenco Soggetti Obbligati": the list of operators beside the detail of the selected one, with
// the frame of the subject bound to communicate and the commitment to transmit.
class FOPC : public FinestraRegistro {
  Q_OBJECT
 public:
  explicit FOPC(Contesto& ctx, QWidget* genitore = nullptr);

  void Aggiungi() override;
  void Elimina() override;
  // Fills the list again; unsaved input on screen stays as it is.
  void Ricarica() override;
  // Unsaved input (a new operator, or changes to the one shown) is asked about: "Sì" saves it (a
  // failed check keeps it, with its field shown), "No" drops it, "Annulla" keeps it.
  bool LasciaDati() override;
  // True when the detail differs from what was last shown.
  bool Modificato() const;

  // Refill the list and show the selected operator (or the one to reselect after a save).
  void Lista();
  // Save; true when the checks passed. The list is refilled on the saved operator.
  bool Conferma();
  ListaVista* ListaOperatori() const { return lista_; }
  QLineEdit* Filtro() const { return filtro_; }
  QTabWidget* Schede() const { return schede_; }

 protected:
  // Key up in the seat municipality: completion from the municipality list.
  bool eventFilter(QObject* oggetto, QEvent* evento) override;
  // The first showing puts the focus where the work starts.
  void showEvent(QShowEvent* evento) override;

 private:
  void ClicLista();
  // The list keeps the rows where the filter's text is part of the code, VAT number or name.
  void Filtra();
  // Enter in the filter: the first row still shown is selected (unless the selected one still is).
  void PrimaVisibile();
  void NuovoSoggetto();
  void Dettaglio();
  DatiOperatore LeggiForm() const;
  void MostraForm(const DatiOperatore& d);
  void AggiornaTipo();
  void AggiornaGrassetto();
  void CopiaInTutti();
  // A new operator typed with the code of a deleted one gets the commitment data kept for it.
  void RiprendiImpegno();
  void ElaboraExcel();
  QLineEdit* Casella(const std::string& nome) const;
  QPushButton* Bottone(const char* nome) const;

  Contesto& ctx_;
  ListaVista* lista_;
  QLineEdit* filtro_;
  QLabel* conteggio_;
  std::optional<std::string> versione_;  // the stored rows as opened (see DatiOperatore)
  bool conflitto_ = false;  // the last save was refused: another workstation changed the operator
  QSplitter* divisore_;
  QTabWidget* schede_;
  QWidget* dettaglio_;
  DatiOperatore mostrato_;
  bool aperta_ = false;
  QRadioButton* o1_;
  QRadioButton* o2_;
  QRadioButton* tcpf_;
  QRadioButton* tcpnf_;
  QRadioButton* itt1_;
  QRadioButton* itt2_;
  QGroupBox* fpf_;
  QGroupBox* fpnf_;
  QGroupBox* fostcpf_;
  QGroupBox* frame4_;
};

}  // namespace fcl
