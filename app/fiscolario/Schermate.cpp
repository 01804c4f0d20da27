// Takes pictures of the desktop windows for the documentation, on a throw-away program folder:
//
//   fiscolario-schermate OUTPUT_FOLDER
//
// Run it under a display (xvfb-run -s "-screen 0 1366x768x24" ...): each picture's name ends with
// the screen's size. The reference tables come from the built-in data or, when the database has
// none, from the shared data folder.

#include <QApplication>
#include <QComboBox>
#include <QMdiArea>
#include <QRadioButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>
#include <QDir>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "common/Contesto.h"
#include "common/ui/ApriDocumentoQt.h"
#include "common/ui/Icone.h"
#include "common/ui/InterazioneQt.h"
#include "common/ui/ListaVista.h"
#include "common/ui/Stringhe.h"
#include "lookup/RicercaTabella.h"
#include "lookup/ui/FCale.h"
#include "lookup/ui/FTAB.h"
#include "lookup/ui/FTABSG.h"
#include "lookup/ui/GrigliaGiorni.h"
#include "communication/ui/FCrea.h"
#include "register/ui/FOPC.h"
#include "shell/Avvio.h"
#include "shell/ui/FVer.h"
#include "shell/ui/FinestraPrincipale.h"
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

 private:
  std::optional<std::filesystem::path> Prossimo() {
    if (file.empty()) return std::nullopt;
    auto f = file.front();
    file.erase(file.begin());
    return f;
  }
  fcl::Interazione& desktop_;
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

void Attendi() {
  for (int i = 0; i < 5; ++i) {
    QApplication::processEvents();
    QTest::qWait(30);
  }
}

// A dialog over the main window, as the user sees it: the main window dimmed a little, the dialog
// centred with a soft shadow.
QPixmap SopraPrincipale(const QPixmap& principale, const QPixmap& dialogo) {
  QPixmap risultato = principale;
  QPainter p(&risultato);
  p.fillRect(risultato.rect(), QColor(0, 0, 0, 40));
  const QPoint origine((risultato.width() - dialogo.width()) / 2,
                       (risultato.height() - dialogo.height()) / 2);
  p.setRenderHint(QPainter::Antialiasing);
  for (int i = 8; i > 0; --i) {
    QPainterPath ombra;
    ombra.addRoundedRect(QRectF(origine.x() - i + 3, origine.y() - i + 5, dialogo.width() + 2 * i,
                                dialogo.height() + 2 * i),
                         i, i);
    p.fillPath(ombra, QColor(0, 0, 0, 10));
  }
  p.drawPixmap(origine, dialogo);
  p.setPen(QColor(0x8a, 0x96, 0xa8));
  p.drawRect(QRect(origine, dialogo.size()).adjusted(0, 0, -1, -1));
  return risultato;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::cerr << "Uso: fiscolario-schermate CARTELLA\n";
    return 2;
  }
  QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
  QTranslator traduzioneQt;
  if (traduzioneQt.load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"),
                        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&traduzioneQt);
  QApplication::setWindowIcon(fcl::IconaApplicazione());

  const QDir uscita(QString::fromLocal8Bit(argv[1]));
  QDir().mkpath(uscita.absolutePath());
  const QSize schermo = QApplication::primaryScreen()->size();
  const QString suffisso = QStringLiteral("-%1x%2.png").arg(schermo.width()).arg(schermo.height());
  auto salva = [&](const QPixmap& pm, const char* nome) {
    const QString file = uscita.filePath(QString::fromUtf8(nome) + suffisso);
    if (!pm.save(file)) std::cerr << "Impossibile scrivere " << file.toStdString() << '\n';
    std::cout << file.toStdString() << '\n';
  };

  QTemporaryDir temporanea;
  // Link markers and everything else stay in the throw-away folder.
  setenv("XDG_DATA_HOME", QDir(temporanea.path()).filePath(QStringLiteral("xdg")).toLocal8Bit(), 1);

  fcl::InterazioneQt interazione;
  fcl::ApriDocumentoQt apriDocumento(&interazione);
  fcl::Contesto ctx;
  ctx.interazione = &interazione;
  ctx.apriDocumento = &apriDocumento;
  ctx.cartellaProgramma = fcl::PercorsoStd(temporanea.path()) / "programma";
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

  fcl::FinestraPrincipale principale(ctx);
  principale.show();
  Attendi();
  const QPixmap fondo = principale.grab();
  salva(fondo, "principale-benvenuto");
  {
    // The Help menu open, drawn where it opens.
    QMenuBar* barra = principale.menuBar();
    const QRect voce = barra->actionGeometry(principale.MenuHelp()->menuAction());
    const QPoint punto = barra->mapTo(&principale, voce.bottomLeft());
    principale.MenuHelp()->popup(principale.mapToGlobal(punto));
    Attendi();
    QPixmap conMenu = fondo;
    QPainter p(&conMenu);
    p.drawPixmap(punto, principale.MenuHelp()->grab());
    p.end();
    principale.MenuHelp()->hide();
    salva(conMenu, "principale-menu-help");
  }

  {
    fcl::FVer versione(ctx.versionePgm, ctx.releasePgm, &principale);
    versione.show();
    Attendi();
    salva(SopraPrincipale(fondo, versione.grab()), "versione");
  }
  {
    fcl::FTAB comuni(*db, *fcl::PreparaElenco("COMUN"), "ROM", &principale);
    comuni.show();
    comuni.Cerca();
    comuni.Lista()->SelezionaRiga("ROMANO DI LOMBARDIA", "Localita");
    comuni.Lista()->setFocus();
    Attendi();
    salva(comuni.grab(), "ricerca-comuni");
    salva(SopraPrincipale(fondo, comuni.grab()), "principale-ricerca-comuni");
  }
  {
    fcl::FTABSG vuota(*db, &principale);
    vuota.show();
    Attendi();
    salva(vuota.grab(), "ricerca-attivita-vuota");
  }
  if (Vuota(*db, "ATECO2007"))
    Carica(*db, dati + "ateco2007.csv", "INSERT INTO ATECO2007 (CODICE, DESCRIZIONE) VALUES (?, ?)",
           2);
  {
    fcl::FTABSG attivita(*db, &principale);
    attivita.show();
    attivita.Ricerca()->setText(QStringLiteral("panetteria"));
    attivita.Cerca();
    Attendi();
    salva(attivita.grab(), "ricerca-attivita");
  }
  {
    fcl::FCale calendario(fcl::Data{2016, 2, 10}, &principale);
    calendario.show();
    Attendi();
    const QRect cella = calendario.Griglia()->RettangoloCella(calendario.Cal().Scostamento() + 14);
    QTest::mouseClick(calendario.Griglia(), Qt::LeftButton, {}, cella.center());
    Attendi();
    salva(calendario.grab(), "calendario");
    salva(SopraPrincipale(fondo, calendario.grab()), "principale-calendario");
  }
  // After "Entra": the toolbar is on and the register opens in the client area.
  principale.Entra();
  Attendi();
  salva(principale.grab(), "principale-dopo-entra");

  // The register with a company and a natural person with an intermediary.
  InterazioneScriptata scriptata(interazione);
  ctx.interazione = &scriptata;
  principale.ComandiFA().creaRegistro = [&ctx](fcl::FinestraPrincipale&) {
    return new fcl::FOPC(ctx);
  };
  principale.setGeometry(QApplication::primaryScreen()->availableGeometry());
  principale.ApriRegistro();
  principale.statusBar()->clearMessage();
  auto* registro = qobject_cast<fcl::FOPC*>(principale.Registro());
  if (!registro) return 1;
  if (auto* sub = registro->parentWidget()) {
    sub->resize(principale.AreaClient()->size());
    sub->move(0, 0);
  }
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
  registro->Conferma();
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
  registro->Conferma();
  // The detail scrolled down to the commitment frame.
  auto mostraImpegno = [&] {
    if (auto* scorrimento = registro->findChild<QScrollArea*>())
      scorrimento->ensureWidgetVisible(registro->findChild<QWidget*>(QStringLiteral("CmdCopiaITT")));
    Attendi();
  };
  mostraImpegno();
  salva(principale.grab(), "registro-persona");
  registro->ListaOperatori()->SelezionaRiga("01234567890", "Codice_Fiscale");
  if (auto* scorrimento = registro->findChild<QScrollArea*>())
    scorrimento->ensureWidgetVisible(registro->findChild<QWidget*>(QStringLiteral("tocod")));
  Attendi();
  salva(principale.grab(), "registro-societa");
  mostraImpegno();
  salva(principale.grab(), "registro-societa-impegno");
  registro->ListaOperatori()->SelezionaRiga("RSSMRA80A01H501U", "Codice_Fiscale");
  Attendi();

  // The workbook window during a run, caught from a timer while the run repaints the window.
  const auto uscitaTemp = fcl::PercorsoStd(temporanea.path()) / "uscita";
  std::filesystem::create_directories(uscitaTemp);
  const auto esempio =
      std::filesystem::path(FCL_SOURCE_DIR) / "resources" / "esempio" / "ESEMPIO_ANALITICO.xlsx";
  scriptata.file = {esempio, uscitaTemp / "FCL_ROSSIMARIO_LISTATO.PDF"};
  fcl::ListatoPdf listato;
  {
    fcl::FImport importa(ctx, listato, {}, &principale);
    importa.show();
    Attendi();
    bool presa = false;
    QTimer scatto;
    scatto.setInterval(0);
    QObject::connect(&scatto, &QTimer::timeout, [&] {
      auto* riga = importa.findChild<QLineEdit*>(QStringLiteral("PERC"));
      if (presa || !riga || riga->isHidden() || riga->text().toInt() < 12) return;
      presa = true;
      salva(SopraPrincipale(principale.grab(), importa.grab()), "importazione-in-corso");
    });
    scatto.start();
    importa.ScegliFoglio();
    scatto.stop();
    if (!presa) std::cerr << "Nessuna immagine della finestra durante l'elaborazione\n";
  }
  {
    fcl::FCrea crea(ctx, &listato, &principale);
    crea.show();
    crea.findChild<QComboBox*>(QStringLiteral("CmbTI"))->setCurrentIndex(1);
    emit crea.findChild<QComboBox*>(QStringLiteral("CmbTI"))->activated(1);
    crea.findChild<QLineEdit*>(QStringLiteral("PROTO0"))->setText(QStringLiteral("13021812345678901"));
    crea.findChild<QLineEdit*>(QStringLiteral("PROTO1"))->setText(QStringLiteral("000012"));
    crea.adjustSize();
    Attendi();
    salva(SopraPrincipale(principale.grab(), crea.grab()), "crea-comunicazione");
  }
  ctx.interazione = &interazione;
  return 0;
}
