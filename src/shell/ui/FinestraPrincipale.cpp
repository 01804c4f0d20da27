#include "shell/ui/FinestraPrincipale.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

#include "batch/ui/FElencoSoggetti.h"
#include "common/ErroreSistema.h"
#include "common/Errori.h"
#include "fatture/FattureInFoglio.h"
#include "batch/ui/FLotto.h"
#include "common/ui/Icone.h"
#include "common/ui/Impostazioni.h"
#include "common/ui/InterazioneQt.h"
#include "common/ui/Mnemonici.h"
#include "common/ui/Stringhe.h"
#include "shell/TrasferimentoArchivio.h"
#include "shell/ui/FINI.h"
#include "shell/ui/FVer.h"
#include "shell/ui/FinestraRegistro.h"

namespace fcl {

FinestraPrincipale::FinestraPrincipale(Contesto& ctx, Comandi comandi, QWidget* genitore)
    : QMainWindow(genitore), ctx_(ctx), comandi_(std::move(comandi)) {
  setObjectName(QStringLiteral("FA"));
  setWindowTitle(QStringLiteral("FISCOLARIO - Comunicazione Polivalente"));
  setWindowIcon(IconaApplicazione());

  area_ = new QMdiArea(this);
  area_->setObjectName(QStringLiteral("AreaClient"));
  QLinearGradient sfondo(0, 0, 0, 1);
  sfondo.setCoordinateMode(QGradient::StretchToDeviceMode);
  sfondo.setColorAt(0, QColor(0xe4, 0xea, 0xf2));
  sfondo.setColorAt(1, QColor(0xc9, 0xd4, 0xe3));
  area_->setBackground(sfondo);
  setCentralWidget(area_);

  CreaMenu();
  CreaBarraStrumenti();

  avanzamento_ = new QProgressBar(this);
  avanzamento_->setMaximumWidth(240);
  avanzamento_->hide();
  statusBar()->addPermanentWidget(avanzamento_);
  if (auto* ui = dynamic_cast<InterazioneQt*>(ctx_.interazione)) {
    ui->ImpostaGenitore(this);
    ui->ImpostaBarraStato(statusBar(), avanzamento_);
  }

  Colloca();

  // The buttons wait for "Entra" (or the register's first request).
  add_->setEnabled(false);
  eli_->setEnabled(false);

  auto* fini = new FINI(ctx_.versionePgm, ctx_.releasePgm);
  connect(fini, &FINI::entra, this, &FinestraPrincipale::Entra);
  benvenuto_ =
      area_->addSubWindow(fini, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  benvenuto_->setWindowIcon(IconaApplicazione());
  benvenuto_->adjustSize();
  benvenuto_->move(0, 0);
  benvenuto_->show();
}

FinestraPrincipale::~FinestraPrincipale() {
  if (isVisible()) Ricorda();
}

void FinestraPrincipale::Colloca() {
  Impostazioni impostazioni;
  if (restoreGeometry(impostazioni.value(QStringLiteral("principale/geometria")).toByteArray()))
    return;
  Centra();
  // The register wants about 1180x780 points: a smaller screen gets the window maximised.
  QScreen* schermo = screen() ? screen() : QGuiApplication::primaryScreen();
  if (!schermo) return;
  const QRect area = schermo->availableGeometry();
  if (area.width() < 1180 + 100 || area.height() < 780 + 100)
    setWindowState(windowState() | Qt::WindowMaximized);
}

void FinestraPrincipale::Ricorda() {
  Impostazioni impostazioni;
  impostazioni.setValue(QStringLiteral("principale/geometria"), saveGeometry());
}

void FinestraPrincipale::closeEvent(QCloseEvent* evento) {
  if (registro_ && !registro_->LasciaDati()) {
    evento->ignore();
    return;
  }
  Ricorda();
  QMainWindow::closeEvent(evento);
}

void FinestraPrincipale::Centra() {
  QScreen* schermo = screen() ? screen() : QGuiApplication::primaryScreen();
  if (!schermo) return;
  const QRect area = schermo->availableGeometry();
  resize(std::min(1180, area.width() * 92 / 100), std::min(780, area.height() * 90 / 100));
  move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
}

QAction* FinestraPrincipale::Voce(QMenu* menu, const char* nome, const char* testo, int icona,
                                  void (FinestraPrincipale::*comando)()) {
  QAction* a = menu->addAction(IconaMenu(icona), QString::fromUtf8(testo));
  a->setObjectName(QString::fromUtf8(nome));
  connect(a, &QAction::triggered, this, comando);
  return a;
}

void FinestraPrincipale::CreaMenu() {
  funzioni_ = menuBar()->addMenu(QStringLiteral("&Funzioni"));
  funzioni_->setObjectName(QStringLiteral("funzioni"));
  Voce(funzioni_, "salva", "Salva", 1, &FinestraPrincipale::Salva);
  Voce(funzioni_, "ripristina", "Ripristina", 2, &FinestraPrincipale::Ripristina);
  funzioni_->addSeparator();
  Voce(funzioni_, "OpeORSA", "Import Operatori da ORSA (Antiriciclaggio)", 14,
       &FinestraPrincipale::OPEORSA_Click);
  Voce(funzioni_, "OpeVELA", "Import Operatori da VELA (Comunicazione Rapporti)", 14,
       &FinestraPrincipale::OPEvela_Click);
  Voce(funzioni_, "ateco", "Importa tabella attività ATECO...", 14,
       &FinestraPrincipale::ImportaAteco);
  // Many operators at once: the register from a client list, and the batch of communications.
  funzioni_->addSeparator();
  QAction* elenco =
      funzioni_->addAction(IconaMenu(14), QStringLiteral("Importa soggetti da elenco..."));
  elenco->setObjectName(QStringLiteral("ImportaElenco"));
  connect(elenco, &QAction::triggered, this, [this] {
    if (ImportaSoggettiDaElenco(ctx_, this)) RicaricaRegistro();
  });
  QAction* multipla =
      funzioni_->addAction(IconaMenu(14), QStringLiteral("Elaborazione multipla..."));
  multipla->setObjectName(QStringLiteral("ElaborazioneMultipla"));
  connect(multipla, &QAction::triggered, this, [this] {
    FLotto finestra(ctx_, this);
    finestra.exec();
  });
  QAction* fatture = funzioni_->addAction(
      IconaMenu(14), QStringLiteral("Fatture elettroniche \u2192 foglio..."));
  fatture->setObjectName(QStringLiteral("FattureInFoglio"));
  connect(fatture, &QAction::triggered, this, [this] { FattureElettroniche(); });
  // The studio edition: the embedded register moved to the PostgreSQL server of the configuration.
  funzioni_->addSeparator();
  QAction* trasferisci = funzioni_->addAction(
      IconaMenu(14), QStringLiteral("Trasferisci l'archivio sul server..."));
  trasferisci->setObjectName(QStringLiteral("TrasferisciArchivio"));
  connect(trasferisci, &QAction::triggered, this, [this] { TrasferisciArchivio(); });
  connect(funzioni_, &QMenu::aboutToShow, this, &FinestraPrincipale::AggiornaMenu);

  help_ = menuBar()->addMenu(QStringLiteral("&Help"));
  help_->setObjectName(QStringLiteral("help"));
  QAction* doc = help_->addAction(IconaMenu(15), QStringLiteral("Documentazione"));
  doc->setObjectName(QStringLiteral("documentazione"));
  connect(doc, &QAction::triggered, this, [this] {
    ApriDocumentoHelp({"FISCOLARIO 2013.pdf", "index.html"});
  });
  QAction* istr = help_->addAction(IconaMenu(15), QStringLiteral("Istruzioni Modello Polivalente"));
  istr->setObjectName(QStringLiteral("ISTR"));
  connect(istr, &QAction::triggered, this,
          [this] { ApriDocumentoHelp({"Istruzioni+al+modello+polivalente.pdf"}); });
  QAction* fbase = help_->addAction(IconaMenu(14), QStringLiteral("Foglio EXCEL Base"));
  fbase->setObjectName(QStringLiteral("fbase"));
  // The blank workbook: the historical name, or the one the program folder is delivered with.
  connect(fbase, &QAction::triggered, this, [this] {
    ApriDocumentoHelp({"FISCOLARIO 2013.xls", "Comunicazione polivalente - foglio base.xlsx"});
  });
  help_->addSeparator();
  Voce(help_, "contatti", "Contatti", 13, &FinestraPrincipale::Versione);
  Voce(help_, "versione", "Versione", 12, &FinestraPrincipale::Versione);
  help_->addSeparator();
  Voce(help_, "ASSR", "Assistenza Remota", 11, &FinestraPrincipale::AssistenzaRemota);

  // F1: the user guide of the Help folder.
  auto* guida = new QAction(this);
  guida->setObjectName(QStringLiteral("guida"));
  guida->setShortcut(QKeySequence::HelpContents);
  guida->setShortcutContext(Qt::ApplicationShortcut);
  connect(guida, &QAction::triggered, this, [this] {
    ApriDocumentoHelp({"index.html", "FISCOLARIO 2013.pdf"});
  });
  addAction(guida);

  QAction* esci = menuBar()->addAction(QStringLiteral("&Esci"));
  esci->setObjectName(QStringLiteral("Esci"));
  connect(esci, &QAction::triggered, this, &FinestraPrincipale::Esci);
  // Every item can be chosen from the keyboard, also those added later.
  for (QMenu* menu : {funzioni_, help_}) {
    AssegnaMnemonici(menu);
    connect(menu, &QMenu::aboutToShow, menu, [menu] { AssegnaMnemonici(menu); });
  }
  AggiornaMenu();
}

void FinestraPrincipale::CreaBarraStrumenti() {
  tb2_ = addToolBar(QStringLiteral("Soggetti"));
  tb2_->setObjectName(QStringLiteral("TB2"));
  tb2_->setMovable(false);
  tb2_->setIconSize(QSize(24, 24));
  tb2_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  add_ = tb2_->addAction(IconaAggiungiSoggetto(), QStringLiteral("Aggiungi Soggetto"));
  add_->setObjectName(QStringLiteral("ADD"));
  add_->setToolTip(QStringLiteral("Aggiungi all'archivio "));
  eli_ = tb2_->addAction(IconaEliminaSoggetto(), QStringLiteral("Elimina Soggetto"));
  eli_->setObjectName(QStringLiteral("ELI"));
  eli_->setToolTip(QStringLiteral("Elimina dall'archivio anagrafico o Storico"));
  connect(add_, &QAction::triggered, this, &FinestraPrincipale::Aggiungi);
  connect(eli_, &QAction::triggered, this, &FinestraPrincipale::Elimina);
}

void FinestraPrincipale::AggiornaMenu() {
  for (const char* nome : {"salva", "ripristina"}) {
    if (QAction* a = Azione(nome)) a->setEnabled(static_cast<bool>(comandi_.backup));
  }
  if (QAction* a = Azione("OpeORSA")) a->setEnabled(static_cast<bool>(comandi_.importaOrsa));
  if (QAction* a = Azione("OpeVELA")) a->setEnabled(static_cast<bool>(comandi_.importaVela));
  if (QAction* a = Azione("ateco")) a->setEnabled(static_cast<bool>(comandi_.importaAteco));
}

QAction* FinestraPrincipale::Azione(std::string_view nome) const {
  return findChild<QAction*>(QTesto(nome));
}

FINI* FinestraPrincipale::Benvenuto() const {
  return benvenuto_ ? qobject_cast<FINI*>(benvenuto_->widget()) : nullptr;
}

FinestraRegistro* FinestraPrincipale::Registro() const { return registro_; }

void FinestraPrincipale::ImpostaTB2(std::string_view) {
  add_->setEnabled(true);
  eli_->setEnabled(true);
}

void FinestraPrincipale::Aggiungi() {
  if (formAttiva_ == "FOPC" && registro_) registro_->Aggiungi();
  ImpostaTB2("ADD");
}

void FinestraPrincipale::Elimina() {
  if (formAttiva_ == "FOPC" && registro_) registro_->Elimina();
}

void FinestraPrincipale::Entra() {
  ImpostaTB2("FINI");
  if (benvenuto_) benvenuto_->close();  // deleted on close
  benvenuto_.clear();
  ApriRegistro();
}

void FinestraPrincipale::ApriRegistro() {
  if (!comandi_.creaRegistro) {
    ctx_.Ui().Avviso("L'archivio dei soggetti non è disponibile in questa versione.");
    return;
  }
  FinestraRegistro* registro = comandi_.creaRegistro(*this);
  if (!registro) return;
  registro_ = registro;
  // The application's one working window: maximised in the client area without a frame of its
  // own (nothing to close, move or shrink), so it follows the main window's size.
  registroSub_ = area_->addSubWindow(registro, Qt::SubWindow | Qt::FramelessWindowHint);
  registroSub_->setWindowIcon(IconaApplicazione());
  registroSub_->setSystemMenu(nullptr);
  registroSub_->showMaximized();
  formAttiva_ = "FOPC";
}

bool FinestraPrincipale::ChiudiRegistro(bool chiedi) {
  if (registro_ && chiedi && !registro_->LasciaDati()) return false;
  // The register refuses a close of its own: it is taken away here.
  delete registroSub_.data();
  registroSub_.clear();
  registro_.clear();
  return true;
}

void FinestraPrincipale::RiapriRegistro() {
  if (formAttiva_ != "FOPC") return;
  ChiudiRegistro(false);  // asked before the backup window opened
  if (!registro_) ApriRegistro();
}

void FinestraPrincipale::Salva() {
  // Only with an operator shown in the register.
  if (ctx_.operatoreCorrente.codiceFiscale.empty() || !comandi_.backup) return;
  // The backup reads the database: unsaved input is saved first, or dropped, or the command waits.
  if (registro_ && !registro_->LasciaDati()) return;
  modoBackup_ = "S";
  comandi_.backup(modoBackup_);
  RiapriRegistro();
}

void FinestraPrincipale::Ripristina() {
  if (!comandi_.backup) return;
  if (registro_ && !registro_->LasciaDati()) return;
  modoBackup_ = "R";
  comandi_.backup(modoBackup_);
  RiapriRegistro();
}

void FinestraPrincipale::OPEORSA_Click() {
  if (comandi_.importaOrsa) comandi_.importaOrsa();
}

void FinestraPrincipale::OPEvela_Click() {
  if (comandi_.importaVela) comandi_.importaVela();
}

void FinestraPrincipale::ImportaAteco() {
  if (comandi_.importaAteco) comandi_.importaAteco();
}

void FinestraPrincipale::FattureElettroniche() {
  Interazione& ui = ctx_.Ui();
  constexpr std::string_view kTitolo = "Fatture elettroniche";
  if (ctx_.operatoreCorrente.codiceFiscale.empty()) {
    ui.Messaggio("Scegliere prima il soggetto nell'archivio dei soggetti: le sue fatture sono "
                 "riconosciute dalla sua partita IVA.",
                 kTitolo, Icona::Informazione);
    return;
  }
  if (registro_ && !registro_->LasciaDati()) return;
  const Risposta dove = ui.Chiedi(
      "Le fatture elettroniche sono in una cartella?\n(Sì: scegliere la cartella; No: scegliere "
      "un archivio .zip o un file .xml o .p7m)",
      kTitolo, Pulsanti::SiNoAnnulla, Icona::Domanda, Risposta::Si);
  if (dove == Risposta::Annulla) return;
  const std::filesystem::path casa = PercorsoStd(QDir::homePath());
  const auto sorgente =
      dove == Risposta::Si
          ? ui.ScegliCartella("Indica la cartella delle fatture elettroniche", casa)
          : ui.ScegliFileDaAprire("Indica le fatture elettroniche",
                                  "Fatture elettroniche (*.ZIP;*.XML;*.P7M)|*.ZIP;*.XML;*.P7M",
                                  casa);
  if (!sorgente) return;
  const auto foglio = ui.ScegliFileDaSalvare(
      "Foglio delle fatture elettroniche", "Excel 2007 (*.XLSX)|*.XLSX", sorgente->parent_path(),
      "FATTURE_" + ctx_.operatoreCorrente.codiceFiscale + "_" + ctx_.annoRiferimento + ".xlsx");
  if (!foglio) return;
  RichiestaFattureInFoglio r;
  r.sorgente = {*sorgente};
  r.foglio = *foglio;
  r.anno = ctx_.annoRiferimento;
  EsitoFattureInFoglio e;
  try {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    e = FattureInFoglio(ctx_, r);
    QApplication::restoreOverrideCursor();
    if (e.esisteGia) {
      if (ui.Chiedi("Il file " + foglio->string() +
                        " esiste già e potrebbe contenere correzioni: sostituirlo?",
                    kTitolo, Pulsanti::SiNo, Icona::Esclamazione, Risposta::No) != Risposta::Si)
        return;
      r.sovrascrivi = true;
      QApplication::setOverrideCursor(Qt::WaitCursor);
      e = FattureInFoglio(ctx_, r);
      QApplication::restoreOverrideCursor();
    }
  } catch (const std::exception& errore) {
    QApplication::restoreOverrideCursor();
    ui.Messaggio(TestoPerUtente(errore), kTitolo, Icona::Critico);
    return;
  }
  if (!e.errore.empty()) {
    ui.Messaggio(e.errore, kTitolo, Icona::Critico);
    return;
  }
  ui.Messaggio(e.riepilogo.Testo() + "Foglio: " + foglio->string() +
                   "\nRapporto: " + e.rapporto.string(),
               kTitolo, Icona::Informazione);
  if (ctx_.apriDocumento) ctx_.apriDocumento->Apri(*foglio);
}

void FinestraPrincipale::TrasferisciArchivio() {
  if (ctx_.Ui().Chiedi(
          "L'archivio dei soggetti di questa cartella (DataBase/FCL2013.mdb) sarà copiato nel "
          "database PostgreSQL indicato in configurazione.ini (TipoDb=P), che deve essere vuoto. "
          "L'archivio locale non sarà modificato. Procedere?",
          "Trasferimento dell'archivio sul server", Pulsanti::SiNo, Icona::Domanda,
          Risposta::No) != Risposta::Si)
    return;
  try {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const EsitoTrasferimento esito = TrasferisciArchivioSulServer(ctx_, "");
    QApplication::restoreOverrideCursor();
    ctx_.Ui().Messaggio(RiepilogoTrasferimento(esito) +
                            "\nRiavviare FISCOLARIO per lavorare sull'archivio del server.",
                        "Trasferimento dell'archivio sul server", Icona::Informazione);
  } catch (const Errore& e) {
    QApplication::restoreOverrideCursor();
    ctx_.Ui().Messaggio(e.what(), "Trasferimento dell'archivio sul server", Icona::Critico);
  }
}

void FinestraPrincipale::RicaricaRegistro() {
  if (registro_) registro_->Ricarica();
}

void FinestraPrincipale::ApriDocumentoHelp(std::initializer_list<std::string_view> nomiFile) {
  if (!ctx_.apriDocumento || nomiFile.size() == 0) return;
  const auto help = ctx_.cartellaProgramma / "Help";
  std::filesystem::path percorso = help / std::string(*nomiFile.begin());
  for (const auto nome : nomiFile) {
    std::error_code ec;
    if (std::filesystem::exists(help / std::string(nome), ec)) {
      percorso = help / std::string(nome);
      break;
    }
  }
  ctx_.apriDocumento->Apri(percorso);
}

void FinestraPrincipale::Versione() {
  FVer finestra(ctx_, this);
  finestra.exec();
}

void FinestraPrincipale::AssistenzaRemota() {
  const auto programma = ctx_.cartellaProgramma / "A.EXE";
  const QString percorso = QPercorso(programma);
  const QFileInfo info(percorso);
  std::string errore;
  if (!info.exists()) {
    errore = "impossibile trovare il file " + programma.string();
  } else if (info.isExecutable()) {
    if (!QProcess::startDetached(percorso, {}, QPercorso(ctx_.cartellaProgramma)))
      errore = "impossibile avviare " + programma.string();
  } else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(percorso))) {
    errore = "nessun programma apre " + programma.string();
  }
  if (!errore.empty())
    ctx_.Ui().Messaggio("Errore lancio ASSISTENZA: " + errore, kTitoloApplicazione, Icona::Nessuna);
}

void FinestraPrincipale::Esci() {
  if (registro_ && !registro_->LasciaDati()) return;
  if (isVisible()) Ricorda();
  if (comandi_.esci) {
    comandi_.esci();
  } else {
    QCoreApplication::exit(0);
  }
}

}  // namespace fcl
