#pragma once

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include "common/Contesto.h"

class QAction;
class QCloseEvent;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QProgressBar;
class QToolBar;

namespace fcl {

class FINI;
class FinestraRegistro;

// The main window FA, "FISCOLARIO - Comunicazione Polivalente" (the class has a longer name because
// fcl::FA is the number of quadro FA): the frame of the application, with the
// menu (Funzioni, Help, Esci), the toolbar of the operators register ("Aggiungi Soggetto",
// "Elimina Soggetto") and the client area where the welcome window and then the register work.
//
// The windows that the menu opens and that belong to other parts of the program are plugged in
// through `Comandi`: the desktop's main sets them. A menu command whose hook is not set is shown
// disabled. The window does not own the context.
class FinestraPrincipale : public QMainWindow {
  Q_OBJECT

 public:
  struct Comandi {
    // Creates the operators register for the client area (the main window places and owns it).
    std::function<FinestraRegistro*(FinestraPrincipale&)> creaRegistro;
    // Shows the backup window modally in mode "S" (save) or "R" (restore).
    std::function<void(std::string_view modoBackup)> backup;
    // The operator imports from ORSA and from VELA.
    std::function<void()> importaOrsa;
    std::function<void()> importaVela;
    // Loads the ATECO 2007 table of activity codes from a file the user chooses.
    std::function<void()> importaAteco;
    // Ends the program at once; by default leaves the event loop without asking any window.
    std::function<void()> esci;
  };

  explicit FinestraPrincipale(Contesto& ctx, Comandi comandi = {}, QWidget* genitore = nullptr);
  ~FinestraPrincipale() override;

  Comandi& ComandiFA() { return comandi_; }

  // Enables the two toolbar buttons; `chiamante` names who asks and changes nothing.
  void ImpostaTB2(std::string_view chiamante);

  // The toolbar commands "ADD" and "ELI".
  void Aggiungi();
  void Elimina();

  // The menu commands.
  void Salva();
  void Ripristina();
  void OPEORSA_Click();
  void OPEvela_Click();
  void ImportaAteco();
  // The register, when open, fills its list again.
  void RicaricaRegistro();
  void TrasferisciArchivio();
  // "Fatture elettroniche -> foglio...": the shown operator's invoices into a workbook for review.
  void FattureElettroniche();
  // Opens the first of `nomiFile` that exists in the program folder's Help (the first one when none
  // does, so that the user is told which document is missing).
  void ApriDocumentoHelp(std::initializer_list<std::string_view> nomiFile);
  void Versione();
  void AssistenzaRemota();
  // Ends the program; unsaved input of the register is asked about first ("Annulla" stays).
  void Esci();

  // "Entra" of the welcome window: toolbar on, welcome closed, register open.
  void Entra();
  // Opens the register filling the client area (and following its size), or does nothing when no
  // hook is set.
  void ApriRegistro();
  // Takes the register away, after asking whether its unsaved input may go (unless `chiedi` is
  // false: the caller asked already). False when the user kept the input: the register stays.
  bool ChiudiRegistro(bool chiedi = true);
  FinestraRegistro* Registro() const;

  // FormAttiva: "FOPC" once the register has opened; nothing clears it.
  const std::string& FormAttiva() const { return formAttiva_; }
  void ImpostaFormAttiva(std::string nome) { formAttiva_ = std::move(nome); }
  // ModoBackup of the last backup command: "S" or "R".
  const std::string& ModoBackup() const { return modoBackup_; }

  QMdiArea* AreaClient() const { return area_; }
  QMenu* MenuFunzioni() const { return funzioni_; }
  QMenu* MenuHelp() const { return help_; }
  QToolBar* BarraStrumenti() const { return tb2_; }
  QAction* AzioneAggiungi() const { return add_; }
  QAction* AzioneElimina() const { return eli_; }
  // A menu item by its control name ("salva", "ripristina", "OpeORSA", "OpeVELA", "ateco",
  // "documentazione", "ISTR", "fbase", "contatti", "versione", "ASSR", "Esci").
  QAction* Azione(std::string_view nome) const;
  FINI* Benvenuto() const;

 protected:
  // Closing the main window asks about unsaved input like Esci; size, position and state are
  // remembered for the next start.
  void closeEvent(QCloseEvent* evento) override;

 private:
  void CreaMenu();
  void CreaBarraStrumenti();
  void AggiornaMenu();
  void RiapriRegistro();
  // The size and position of the last run, or the first-start placement: centred, maximised on a
  // screen too small for the register.
  void Colloca();
  void Centra();
  void Ricorda();
  QAction* Voce(QMenu* menu, const char* nome, const char* testo, int icona,
                void (FinestraPrincipale::*comando)());

  Contesto& ctx_;
  Comandi comandi_;
  std::string formAttiva_;
  std::string modoBackup_;

  QMdiArea* area_;
  QMenu* funzioni_ = nullptr;
  QMenu* help_ = nullptr;
  QToolBar* tb2_ = nullptr;
  QAction* add_ = nullptr;
  QAction* eli_ = nullptr;
  QProgressBar* avanzamento_ = nullptr;
  QPointer<QMdiSubWindow> benvenuto_;
  QPointer<QMdiSubWindow> registroSub_;
  QPointer<FinestraRegistro> registro_;
};

}  // namespace fcl
