// Takes pictures of the desktop windows for the documentation, on a throw-away program folder:
//
//   fiscolario-schermate OUTPUT_FOLDER
//
// The windows are shown and driven as a user does (clicks on their buttons, modal windows opened
// by the program's own commands) and never moved or resized here: the pictures are of the screen,
// window manager frames included, so run it on a display with a window manager, for instance
//   Xvfb :57 -screen 0 1366x768x24 & DISPLAY=:57 openbox & DISPLAY=:57 fiscolario-schermate DIR
// Each picture's name ends with the screen's size in pixels. The settings of the windows start
// empty (a first start). The reference tables come from the built-in data or, when the database
// has none, from the shared data folder.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <iostream>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/Contesto.h"
#include "common/ui/ApriDocumentoQt.h"
#include "common/ui/Icone.h"
#include "common/ui/InterazioneQt.h"
#include "common/ui/ListaVista.h"
#include "common/ui/Stringhe.h"
#include "communication/ui/FCrea.h"
#include "lookup/RicercaTabella.h"
#include "lookup/ui/FCale.h"
#include "lookup/ui/FTAB.h"
#include "lookup/ui/FTABSG.h"
#include "lookup/ui/GrigliaGiorni.h"
#include "register/ui/FOPC.h"
#include "shell/Avvio.h"
#include "shell/ui/FINI.h"
#include "shell/ui/FVer.h"
#include "shell/ui/FinestraPrincipale.h"
#include "shell/ui/TraduzioneQt.h"
#include "store/Database.h"
#include "workbook/ListatoPdf.h"
#include "workbook/ui/FImport.h"

namespace {

// The interaction of the pictures of a run: the file dialogs answered from a list, messages and
// questions printed (and answered Yes) instead of shown, progress passed to the desktop's one.
class InterazioneScriptata : public fcl::Interazione {
 public:
  explicit InterazioneScriptata(fcl::Interazione& desktop) : desktop_(desktop) {}
  std::vector<std::filesystem::path> file;

  void Messaggio(std::string_view testo, std::string_view titolo, fcl::Icona) override {
    std::cerr << titolo << ": " << testo << '\n';
  }
  fcl::Risposta Chiedi(std::string_view testo, std::string_view titolo, fcl::Pulsanti, fcl::Icona,
                       fcl::Risposta) override {
    std::cerr << titolo << ": " << testo << " Sì\n";
    return fcl::Risposta::Si;
  }
  std::optional<std::filesystem::path> ScegliFileDaAprire(std::string_view, std::string_view,
                                                          const std::filesystem::path&) override {
    return Prossimo();
  }
  std::optional<std::filesystem::path> ScegliFileDaSalvare(std::string_view, std::string_view,
                                                           const std::filesystem::path&,
                                                           std::string_view) override {
    return Prossimo();
  }
  void Avanzamento(std::string_view d, long long v, long long m) override {
    desktop_.Avanzamento(d, v, m);
  }
  void Avviso(std::string_view testo) override { std::cerr << testo << '\n'; }

  // Asked by a run on its own thread before each row. At the `riga`-th row of the next run the run
  // waits there, as behind a slow disk, until Riprendi: its window is pictured while it is really
  // half-way. 0: no stop.
  bool InterruzioneRichiesta() const override {
    std::unique_lock<std::mutex> blocco(mutex_);
    if (fermaAllaRiga_ > 0 && ++righe_ == fermaAllaRiga_) {
      inPausa_ = true;
      ripresa_.wait(blocco, [this] { return !inPausa_; });
    }
    return false;
  }
  void FermaAllaRiga(int riga) {
    std::lock_guard<std::mutex> blocco(mutex_);
    fermaAllaRiga_ = riga;
    righe_ = 0;
  }
  bool InPausa() const {
    std::lock_guard<std::mutex> blocco(mutex_);
    return inPausa_;
  }
  void Riprendi() {
    {
      std::lock_guard<std::mutex> blocco(mutex_);
      inPausa_ = false;
      fermaAllaRiga_ = 0;
    }
    ripresa_.notify_all();
  }

 private:
  std::optional<std::filesystem::path> Prossimo() {
    if (file.empty()) return std::nullopt;
    auto f = file.front();
    file.erase(file.begin());
    return f;
  }
  fcl::Interazione& desktop_;
  mutable std::mutex mutex_;
  mutable std::condition_variable ripresa_;
  int fermaAllaRiga_ = 0;
  mutable int righe_ = 0;
  mutable bool inPausa_ = false;
};

// Types `valori` into the register's boxes, by name.
void Riempi(fcl::FOPC& registro,
            std::initializer_list<std::pair<const char*, const char*>> valori) {
  for (const auto& [nome, valore] : valori)
    registro.findChild<QLineEdit*>(QString::fromLatin1(nome))->setText(QString::fromUtf8(valore));
}

// The fields of one CSV line (commas, double-quoted fields with doubled quotes).
std::vector<std::string> Campi(const std::string& riga) {
  std::vector<std::string> campi(1);
  bool virgolette = false;
  for (std::size_t i = 0; i < riga.size(); ++i) {
    const char c = riga[i];
    if (virgolette) {
      if (c == '"' && i + 1 < riga.size() && riga[i + 1] == '"') {
        campi.back() += '"';
        ++i;
      } else if (c == '"') {
        virgolette = false;
      } else {
        campi.back() += c;
      }
    } else if (c == '"') {
      virgolette = true;
    } else if (c == ',') {
      campi.emplace_back();
    } else if (c != '\r') {
      campi.back() += c;
    }
  }
  return campi;
}

void Carica(fcl::Database& db, const std::string& file, const char* sql, std::size_t colonne) {
  std::ifstream in(file);
  if (!in) {
    std::cerr << "Dati non trovati: " << file << '\n';
    return;
  }
  fcl::Transazione t(db);
  std::string riga;
  std::getline(in, riga);  // header
  while (std::getline(in, riga)) {
    const auto c = Campi(riga);
    if (c.size() < colonne) continue;
    std::vector<fcl::Valore> valori(c.begin(), c.begin() + static_cast<std::ptrdiff_t>(colonne));
    db.Esegui(sql, valori);
  }
  t.Conferma();
}

bool Vuota(fcl::Database& db, const char* tabella) {
  return std::get<std::int64_t>(db.Scalare(std::string("SELECT COUNT(*) FROM ") + tabella)) == 0;
}

void Attendi(int ms = 150) {
  for (int i = 0; i < 5; ++i) {
    QApplication::processEvents();
    QTest::qWait(ms / 5);
  }
}

// The whole screen as the user sees it, window manager frames included.
QPixmap Schermo() { return QApplication::primaryScreen()->grabWindow(0); }

// Runs `apri`, which shows a modal window the way the program does (exec()); once that window is on
// screen `quando` runs on it (pictures, a user's clicks), then the window is closed unless it
// closed itself.
void MentreAperta(const std::function<void()>& apri, const std::function<void(QWidget&)>& quando) {
  bool fatto = false;
  QTimer attesa;
  attesa.setInterval(50);
  QObject::connect(&attesa, &QTimer::timeout, [&] {
    QWidget* modale = QApplication::activeModalWidget();
    if (fatto || !modale || !modale->isVisible()) return;
    fatto = true;
    attesa.stop();
    Attendi(300);
    QPointer<QWidget> finestra = modale;
    quando(*modale);
    if (finestra && finestra->isVisible()) finestra->close();
  });
  attesa.start();
  apri();
  if (!fatto) std::cerr << "Nessuna finestra si è aperta\n";
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::cerr << "Uso: fiscolario-schermate CARTELLA\n";
    return 2;
  }
  QApplication::setApplicationName(QStringLiteral("Fiscolario"));
  QApplication::setApplicationDisplayName(QStringLiteral("FISCOLARIO"));
  QApplication::setWindowIcon(fcl::IconaApplicazione());
  QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
  fcl::InstallaTraduzioneQt(app);

  const QDir uscita(QString::fromLocal8Bit(argv[1]));
  QDir().mkpath(uscita.absolutePath());
  // Named after the screen's pixels (a scale factor of 2 on 2732x1536 gives 2732x1536).
  QScreen* schermo = QApplication::primaryScreen();
  const QSize pixel = schermo->size() * schermo->devicePixelRatio();
  const QString suffisso = QStringLiteral("-%1x%2.png").arg(pixel.width()).arg(pixel.height());
  auto salva = [&](const QPixmap& pm, const char* nome) {
    const QString file = uscita.filePath(QString::fromUtf8(nome) + suffisso);
    if (!pm.save(file)) std::cerr << "Impossibile scrivere " << file.toStdString() << '\n';
    std::cout << file.toStdString() << '\n';
  };

  // Named like a user's folder: its path shows in the pictures (the workbook of the creation
  // window), and a build tree's path would say nothing to a reader of the guide.
  QTemporaryDir temporanea(QDir::tempPath() + QStringLiteral("/studio-XXXXXX"));
  // Link markers, settings and everything else stay in the throw-away folder: the main window
  // opens as at a user's first start.
  setenv("XDG_DATA_HOME", QDir(temporanea.path()).filePath(QStringLiteral("xdg")).toLocal8Bit(), 1);
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                     QDir(temporanea.path()).filePath(QStringLiteral("impostazioni")));

  fcl::InterazioneQt interazione;
  fcl::ApriDocumentoQt apriDocumento(&interazione);
  fcl::Contesto ctx;
  ctx.interazione = &interazione;
  ctx.apriDocumento = &apriDocumento;
  ctx.cartellaProgramma = fcl::PercorsoStd(temporanea.path()) / "programma";
  // The same day in every picture of the calendar.
  ctx.adesso = [] {
    std::tm tm{};
    tm.tm_year = 2026 - 1900;
    tm.tm_mon = 0;
    tm.tm_mday = 20;
    tm.tm_hour = 12;
    return std::chrono::system_clock::from_time_t(std::mktime(&tm));
  };
  std::filesystem::create_directories(ctx.cartellaProgramma);
  // The printed forms' templates drawn by the build, so that the run writes a real listing.
  std::filesystem::create_directories(ctx.cartellaProgramma / "Stampe");
  for (const char* modello : {"base.pdf", "base_RIEP.pdf"}) {
    std::error_code ec;
    std::filesystem::copy_file(std::filesystem::path(FCL_STAMPE_DIR) / modello,
                               ctx.cartellaProgramma / "Stampe" / modello, ec);
  }
  std::optional<fcl::Database> db;
  fcl::Avvia(ctx, db);

  const std::string dati = std::string(FCL_SHARED_DIR) + "/data/";
  if (Vuota(*db, "T_COMUNI"))
    Carica(*db, dati + "comuni.csv", "INSERT INTO T_COMUNI (COMUNE, PRO, CAB) VALUES (?, ?, ?)", 3);

  // The main window as the desktop's main builds it, shown as it opens.
  fcl::FinestraPrincipale::Comandi comandi;
  comandi.creaRegistro = [&ctx](fcl::FinestraPrincipale&) { return new fcl::FOPC(ctx); };
  fcl::FinestraPrincipale principale(ctx, std::move(comandi));
  principale.show();
  if (!QTest::qWaitForWindowExposed(&principale)) return 1;
  Attendi(800);  // the window manager maximises it
  salva(Schermo(), "principale-benvenuto");
  {
    // The Help menu, opened with a click on the menu bar.
    QMenuBar* barra = principale.menuBar();
    const QRect voce = barra->actionGeometry(principale.MenuHelp()->menuAction());
    QTest::mouseClick(barra, Qt::LeftButton, {}, voce.center());
    Attendi(300);
    salva(Schermo(), "principale-menu-help");
    principale.MenuHelp()->hide();
    Attendi();
  }
  MentreAperta([&] { principale.Azione("versione")->trigger(); },
               [&](QWidget& w) { salva(w.grab(), "versione"); });

  // "Entra": the register opens in the client area, empty.
  QTest::mouseClick(principale.Benvenuto()->Entra(), Qt::LeftButton);
  Attendi(400);
  salva(Schermo(), "principale-dopo-entra");
  auto* registro = qobject_cast<fcl::FOPC*>(principale.Registro());
  if (!registro) return 1;
  auto clic = [&](const char* nome) {
    QTest::mouseClick(registro->findChild<QPushButton*>(QString::fromLatin1(nome)), Qt::LeftButton);
  };

  // The activity lookup from its button, before and after the ATECO table is loaded.
  MentreAperta([&] { clic("rOATT"); },
               [&](QWidget& w) { salva(w.grab(), "ricerca-attivita-vuota"); });
  if (Vuota(*db, "ATECO2007"))
    Carica(*db, dati + "ateco2007.csv", "INSERT INTO ATECO2007 (CODICE, DESCRIZIONE) VALUES (?, ?)",
           2);
  MentreAperta([&] { clic("rOATT"); },
               [&](QWidget& w) {
                 auto& attivita = static_cast<fcl::FTABSG&>(w);
                 attivita.Ricerca()->setText(QStringLiteral("panetteria"));
                 attivita.Cerca();
                 Attendi();
                 salva(w.grab(), "ricerca-attivita");
               });

  // A company with the subject bound to communicate and an intermediary, then a natural person.
  registro->Aggiungi();
  Riempi(*registro, {{"tocod", "01234567890"},
                     {"toPIVA", "01234567890"},
                     {"torag", "ALFA SERVIZI SRL"},
                     {"vOSCOM", "MILANO"},
                     {"vOSPRO", "MI"},
                     {"vOPOSTA", "amministrazione@alfaservizi.example"},
                     {"vOATT", "692011"},
                     {"vOATTD", "SERVIZI FORNITI DA DOTTORI COMMERCIALISTI"},
                     {"vOSTCCF", "BNCLRA70A41F205X"},
                     {"vOSTCCDCARICA", "1"},
                     {"vOSTCCOG", "BIANCHI"},
                     {"vOSTCNOME", "LAURA"},
                     {"vOSTCSEX", "F"},
                     {"vOSTCNDT", "01/01/1970"},
                     {"vOSTCNCOM", "MILANO"},
                     {"vOSTCNPRO", "MI"},
                     {"vITTCF", "VRDLCU70M15A794Y"},
                     {"vITTDATA", "15/01/2026"}});
  registro->findChild<QRadioButton*>(QStringLiteral("vITT1"))->click();
  clic("Cmd_Conferma");
  registro->Aggiungi();
  registro->findChild<QRadioButton*>(QStringLiteral("o2"))->click();
  Riempi(*registro, {{"tocod", "RSSMRA80A01H501U"},
                     {"toPIVA", "01234567890"},
                     {"vOCOG", "ROSSI"},
                     {"vONOME", "MARIO"},
                     {"vOSEX", "M"},
                     {"vONDT", "01/01/1980"},
                     {"vONCOM", "ROMA"},
                     {"vONPRO", "RM"},
                     {"vOATT", "692011"},
                     {"vOATTD", "SERVIZI FORNITI DA DOTTORI COMMERCIALISTI"},
                     {"vITTCF", "VRDLCU70M15A794Y"},
                     {"vITTCAF", "2"},
                     {"vITTDATA", "20/01/2026"}});
  registro->findChild<QRadioButton*>(QStringLiteral("vITT2"))->click();
  clic("Cmd_Conferma");
  Attendi();
  salva(Schermo(), "registro-persona");

  // The calendar beside the date of birth, a day clicked; the municipalities' lookup.
  MentreAperta([&] { clic("rdata"); },
               [&](QWidget& w) {
                 auto& calendario = static_cast<fcl::FCale&>(w);
                 const QRect cella =
                     calendario.Griglia()->RettangoloCella(calendario.Cal().Scostamento() + 14);
                 QTest::mouseClick(calendario.Griglia(), Qt::LeftButton, {}, cella.center());
                 Attendi();
                 salva(w.grab(), "calendario");
                 salva(Schermo(), "principale-calendario");
               });
  // It opens on the municipality typed in the field.
  MentreAperta([&] { clic("rloca1"); },
               [&](QWidget& w) {
                 salva(w.grab(), "ricerca-comuni");
                 salva(Schermo(), "principale-ricerca-comuni");
               });

  // The company, its first page and the page of the commitment.
  registro->ListaOperatori()->SelezionaRiga("01234567890", "Codice_Fiscale");
  Attendi();
  salva(Schermo(), "registro-societa");
  QTabBar* schede = registro->Schede()->tabBar();
  QTest::mouseClick(schede, Qt::LeftButton, {}, schede->tabRect(2).center());
  Attendi();
  salva(Schermo(), "registro-societa-impegno");
  // A save with the company name emptied, pressed while the commitment page is shown: the first
  // page comes back with the field in red under its message.
  auto* ragione = registro->findChild<QLineEdit*>(QStringLiteral("torag"));
  const QString nome = ragione->text();
  ragione->clear();
  MentreAperta([&] { clic("Cmd_Conferma"); },
               [&](QWidget&) { salva(Schermo(), "registro-campo-in-errore"); });
  ragione->setText(nome);
  QTest::mouseClick(schede, Qt::LeftButton, {}, schede->tabRect(0).center());

  // "Elabora file Excel" for the natural person: the workbook window during the run, then the
  // creation window with a substitution's protocols. The file dialogs are answered from a list.
  registro->ListaOperatori()->SelezionaRiga("RSSMRA80A01H501U", "Codice_Fiscale");
  Attendi();
  InterazioneScriptata scriptata(interazione);
  ctx.interazione = &scriptata;
  // The example workbook where a user keeps the client's papers, and the listing beside it.
  const auto documenti = fcl::PercorsoStd(temporanea.path()) / "Documenti" / "Clienti 2025";
  std::filesystem::create_directories(documenti);
  const auto esempio = documenti / "ROSSI_MARIO_2025.xlsx";
  std::filesystem::copy_file(
      std::filesystem::path(FCL_SOURCE_DIR) / "resources" / "esempio" / "ESEMPIO_ANALITICO.xlsx",
      esempio);
  scriptata.file = {esempio, documenti / "FCL_ROSSIMARIO_LISTATO.PDF"};
  // The workbook window half-way through the run: the run waits at a row of its second sheet
  // while the screen is taken, then goes on to its end.
  bool presa = false;
  QTimer scatto;
  scatto.setInterval(20);
  QObject::connect(&scatto, &QTimer::timeout, [&] {
    if (presa || !scriptata.InPausa()) return;
    presa = true;
    Attendi(300);  // the progress of the rows read so far reaches the window
    salva(Schermo(), "importazione-in-corso");
    scriptata.Riprendi();
  });
  std::set<QString> viste;
  QTimer finestre;
  finestre.setInterval(50);
  QObject::connect(&finestre, &QTimer::timeout, [&] {
    QWidget* modale = QApplication::activeModalWidget();
    if (!modale || !modale->isVisible() || viste.count(modale->objectName())) return;
    viste.insert(modale->objectName());
    Attendi(300);
    if (modale->objectName() == QLatin1String("FImport")) {
      scriptata.FermaAllaRiga(14);
      scatto.start();
      QTest::mouseClick(modale->findChild<QPushButton*>(QStringLiteral("rfbase")), Qt::LeftButton);
    } else if (modale->objectName() == QLatin1String("FCrea")) {
      scatto.stop();
      auto* tipo = modale->findChild<QComboBox*>(QStringLiteral("CmbTI"));
      tipo->setCurrentIndex(1);
      emit tipo->activated(1);
      modale->findChild<QLineEdit*>(QStringLiteral("PROTO0"))
          ->setText(QStringLiteral("13021812345678901"));
      modale->findChild<QLineEdit*>(QStringLiteral("PROTO1"))->setText(QStringLiteral("000012"));
      Attendi(300);
      salva(Schermo(), "crea-comunicazione");
      modale->close();
    }
  });
  finestre.start();
  clic("Command1");
  finestre.stop();
  scatto.stop();
  scriptata.Riprendi();
  if (!presa) std::cerr << "Nessuna immagine della finestra durante l'elaborazione\n";
  ctx.interazione = &interazione;
  return 0;
}
