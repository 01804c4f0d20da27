#pragma once

#include <string>

#include "register/DatiOperatore.h"
#include "shell/ui/FinestraRegistro.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

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
  void Ricarica() override { Lista(); }

  // Refill the list and show the selected operator (or the one to reselect after a save).
  void Lista();
  // Save; true when the checks passed. The list is refilled on the saved operator.
  bool Conferma();
  ListaVista* ListaOperatori() const { return lista_; }

 protected:
  // Key up in the seat municipality: completion from the municipality list.
  bool eventFilter(QObject* oggetto, QEvent* evento) override;

 private:
  void ClicLista();
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

  Contesto& ctx_;
  ListaVista* lista_;
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
