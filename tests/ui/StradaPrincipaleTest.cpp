// The main road in the windows, as a user walks it: a natural person with an intermediary typed
// into the register and saved, "Elabora file Excel", the workbook window, the creation window;
// the communication file is then compared byte for byte with the one the command line writes for
// the same operator and workbook. The overwrite questions of the creation window are tested on
// the same program folder.

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <thread>

#include "CartellaTemporanea.h"
#include "Comandi.h"
#include "InterazioneRegistrata.h"
#include "common/Contesto.h"
#include "common/RoutineCampi.h"
#include "common/ui/ListaVista.h"
#include "communication/ui/FCrea.h"
#include "register/ui/FOPC.h"
#include "shell/Avvio.h"
#include "store/Database.h"
#include "workbook/LettoreCartella.h"
#include "workbook/ListatoPdf.h"
#include "workbook/ui/FImport.h"

namespace fcl {
namespace {

using test::LeggiFile;

constexpr const char* kCF = "RSSMRA80A01H501U";

class DocumentiAperti : public ApriDocumento {
 public:
  std::vector<std::filesystem::path> aperti;
  void Apri(const std::filesystem::path& p) override { aperti.push_back(p); }
};

// Runs `azione` on the top-level window named `nome` as soon as it is shown (a modal window runs
// its own event loop, so the test acts from a timer). A window still open after the action is a
// failure and is closed, so that a broken window cannot hang the test. The timer is returned so
// that a test expecting no window can stop it.
QPointer<QTimer> QuandoAppare(const char* nome, std::function<void(QDialog&)> azione) {
  auto* timer = new QTimer;
  timer->setInterval(20);
  QObject::connect(timer, &QTimer::timeout, [timer, nome, azione] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* d = qobject_cast<QDialog*>(w);
      if (!d || !d->isVisible() || d->objectName() != QLatin1String(nome)) continue;
      timer->stop();
      timer->deleteLater();
      azione(*d);
      if (d->isVisible()) {
        ADD_FAILURE() << nome << " still open after the action";
        d->reject();
      }
      return;
    }
  });
  timer->start();
  return timer;
}

std::filesystem::path CartellaDiLavoro() {
  return std::filesystem::path(FCL_SOURCE_DIR) / "resources" / "esempio" / "ESEMPIO_ANALITICO.xlsx";
}

// Keeps the text a label shows each time it appears.
class OsservaComparsa : public QObject {
 public:
  OsservaComparsa(QLabel* etichetta, QString& testo) : etichetta_(etichetta), testo_(testo) {
    etichetta_->installEventFilter(this);
  }
  ~OsservaComparsa() override { etichetta_->removeEventFilter(this); }
  bool eventFilter(QObject* oggetto, QEvent* evento) override {
    if (oggetto == etichetta_ && evento->type() == QEvent::Show) testo_ = etichetta_->text();
    return false;
  }

 private:
  QLabel* etichetta_;
  QString& testo_;
};

// Every file under `cartella` (hidden temporary files too) with its bytes.
std::map<std::filesystem::path, std::string> FileSotto(const std::filesystem::path& cartella) {
  std::map<std::filesystem::path, std::string> file;
  for (const auto& voce : std::filesystem::recursive_directory_iterator(cartella))
    if (voce.is_regular_file()) file[voce.path()] = LeggiFile(voce.path());
  return file;
}

// The files (hidden temporary ones too) directly in `cartella`.
std::size_t QuantiFile(const std::filesystem::path& cartella) {
  std::size_t n = 0;
  for (const auto& voce : std::filesystem::directory_iterator(cartella))
    n += voce.is_regular_file() ? 1 : 0;
  return n;
}

// The program's reader, that stops before the `ferma`-th row it is asked for and waits there until
// the run is asked to stop (at most ten seconds): the window's run is then caught in the middle of
// its walk, with the listing and the intermediate file half written.
class LettoreCheAspetta : public LettoreCartella {
 public:
  LettoreCheAspetta(std::unique_ptr<LettoreCartella> lettore, const Contesto& ctx, int ferma)
      : lettore_(std::move(lettore)), ctx_(ctx), ferma_(ferma) {}
  int NumeroFogli() override { return lettore_->NumeroFogli(); }
  std::string NomeFoglio(int foglio) override { return lettore_->NomeFoglio(foglio); }
  const std::vector<Cella>& Riga(int foglio, int riga) override {
    if (++lette_ == ferma_) {
      const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(10);
      while (!ctx_.Ui().InterruzioneRichiesta() && std::chrono::steady_clock::now() < limite)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return lettore_->Riga(foglio, riga);
  }

 private:
  std::unique_ptr<LettoreCartella> lettore_;
  const Contesto& ctx_;
  int ferma_;
  int lette_ = 0;
};

// Questions answered as InterazioneRegistrata does, after `allaDomanda` has seen the question.
class InterazioneConDomanda : public test::InterazioneRegistrata {
 public:
  std::function<void(std::string_view testo)> allaDomanda;
  Risposta Chiedi(std::string_view testo, std::string_view titolo, Pulsanti pulsanti, Icona icona,
                  Risposta predefinita) override {
    if (allaDomanda) allaDomanda(testo);
    return InterazioneRegistrata::Chiedi(testo, titolo, pulsanti, icona, predefinita);
  }
};

class StradaPrincipaleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(Programma() / "Stampe");
    std::filesystem::create_directories(UscitaUi());
    std::filesystem::create_directories(UscitaCli());
    // The printed forms' templates, drawn at build time, so that the cover's progress shows.
    for (const char* modello : {"base.pdf", "base_RIEP.pdf"}) {
      std::error_code ec;
      std::filesystem::copy_file(std::filesystem::path(FCL_STAMPE_DIR) / modello,
                                 Programma() / "Stampe" / modello, ec);
    }
    ctx.cartellaProgramma = Programma();
    ctx.interazione = &ui;
    ctx.apriDocumento = &documenti;
    Avvia(ctx, db);
    ui.voci.clear();
  }

  std::filesystem::path Programma() const { return dir_ / "programma"; }
  std::filesystem::path UscitaUi() const { return dir_ / "finestre"; }
  std::filesystem::path UscitaCli() const { return dir_ / "riga-di-comando"; }
  std::filesystem::path ListatoUi() const { return UscitaUi() / "FCL_ROSSIMARIO_LISTATO.PDF"; }
  std::filesystem::path ComunicazioneUi() const { return UscitaUi() / "FCL_ROSSIMARIO.TXT"; }

  // The register: a natural person with an intermediary who prepared the communication, saved.
  void RegistraOperatore(FOPC& f, const char* partitaIva = "01234567897") {
    f.Aggiungi();
    f.findChild<QRadioButton*>("o2")->click();
    const std::pair<const char*, const char*> valori[] = {{"tocod", "rssmra80a01h501u"},
                                                          {"toPIVA", partitaIva},
                                                          {"vOCOG", "Rossi"},
                                                          {"vONOME", "Mario"},
                                                          {"vOSEX", "M"},
                                                          {"vONDT", "01/01/1980"},
                                                          {"vONCOM", "Roma"},
                                                          {"vONPRO", "RM"},
                                                          {"vOATT", "692011"},
                                                          {"vITTCF", "VRDLCU70M15A794Y"},
                                                          {"vITTCAF", "2"},
                                                          {"vITTDATA", "20/01/2026"}};
    for (const auto& [nome, valore] : valori) {
      auto* casella = f.findChild<QLineEdit*>(nome);
      casella->setFocus();
      QTest::keyClicks(casella, valore);
    }
    f.findChild<QRadioButton*>("vITT2")->click();
    QTest::mouseClick(f.findChild<QPushButton*>("Cmd_Conferma"), Qt::LeftButton);
  }

  // The communication the command line writes for the same operator and workbook.
  std::string ComunicazioneDaRigaDiComando() {
    const std::string cartella = Programma().string();
    const std::string foglio = CartellaDiLavoro().string();
    const std::string listato = (UscitaCli() / "FCL_ROSSIMARIO_LISTATO.PDF").string();
    const char* argv[] = {
        "fiscolario-cli", "--cartella", cartella.c_str(), "crea",      kCF,
        foglio.c_str(),   "--anno",     "2025",           "--listato", listato.c_str()};
    std::ostringstream out;
    std::ostringstream err;
    const int codice = EseguiCli(static_cast<int>(std::size(argv)), argv, out, err,
                                 std::filesystem::path(FCL_SOURCE_DIR) / "build-inesistente");
    EXPECT_EQ(codice, 0) << err.str();
    return LeggiFile(UscitaCli() / "FCL_ROSSIMARIO.TXT");
  }

  test::CartellaTemporanea dir_;
  InterazioneConDomanda ui;
  DocumentiAperti documenti;
  Contesto ctx;
  std::optional<Database> db;
};

TEST_F(StradaPrincipaleTest, DalRegistroAllaComunicazioneComeLaRigaDiComando) {
  FOPC f(ctx);
  f.resize(1100, 700);
  f.show();
  RegistraOperatore(f);
  ASSERT_TRUE(ui.voci.empty()) << ui.voci.front().testo;
  EXPECT_EQ(f.ListaOperatori()->LeggiSelezione({"Codice_Fiscale"}).front(), kCF);
  EXPECT_EQ(ctx.operatoreCorrente.nomeVisualizzato, "ROSSIMARIO");
  EXPECT_EQ(ctx.operatoreCorrente.intermediarioCF, "VRDLCU70M15A794Y");
  EXPECT_EQ(ctx.operatoreCorrente.codicePredisposizione, "2");

  // The workbook window: the workbook in the open dialog, the listing in the save dialog.
  ui.file = {CartellaDiLavoro(), ListatoUi()};
  bool importVisto = false;
  bool creaVisto = false;
  QuandoAppare("FImport", [&](QDialog& d) {
    importVisto = true;
    EXPECT_EQ(d.findChild<QLabel*>("vSO")->text(), kCF);
    EXPECT_TRUE(d.findChild<QWidget*>("PERC")->isHidden());
    QTest::mouseClick(d.findChild<QPushButton*>("rfbase"), Qt::LeftButton);
  });
  QString didascaliaCopertina;
  QuandoAppare("FCrea", [&](QDialog& d) {
    creaVisto = true;
    // The cover's progress caption, caught when the creation shows it on the window.
    auto* label16 = d.findChild<QLabel*>("Label16");
    EXPECT_TRUE(label16->isHidden());
    OsservaComparsa osserva(label16, didascaliaCopertina);
    EXPECT_EQ(d.findChild<QComboBox*>("Combo1")->currentText(), "2=Dati ANALITICI");
    EXPECT_TRUE(d.findChild<QWidget*>("RR2")->isHidden());  // no FA row
    EXPECT_FALSE(d.findChild<QLineEdit*>("RR5")->text().isEmpty());
    auto* anno = d.findChild<QLineEdit*>("AA1");
    anno->clear();
    QTest::keyClicks(anno, "2025");
    QTest::mouseClick(d.findChild<QPushButton*>("Cmd_Crea"), Qt::LeftButton);
  });
  QTest::mouseClick(f.findChild<QPushButton*>("Command1"), Qt::LeftButton);

  EXPECT_EQ(didascaliaCopertina, "Elaborazione FRONTESPIZIO e RIEPILOGO ........ ");
  EXPECT_TRUE(importVisto);
  ASSERT_TRUE(creaVisto);
  EXPECT_GT(ctx.totaliImport.righeTotali, 0);
  EXPECT_EQ(ctx.totaliImport.percorsoListato, ListatoUi());
  // Open dialog, save dialog, then only the completion message of the creation.
  EXPECT_TRUE(ui.Testi("domanda").empty()) << ui.Testi("domanda").front();
  ASSERT_EQ(ui.Testi().size(), 1u);
  EXPECT_NE(ui.Testi().front().find(" COMUNICAZIONE FISCOLARIO creata."), std::string::npos);
  EXPECT_EQ(documenti.aperti, (std::vector<std::filesystem::path>{
                                  ListatoUi(), UscitaUi() / "FCL_ROSSIMARIO_FRONTESPIZIO.PDF"}));

  const std::string dallaFinestra = LeggiFile(ComunicazioneUi());
  ASSERT_FALSE(dallaFinestra.empty());
  const std::string dallaRigaDiComando = ComunicazioneDaRigaDiComando();
  EXPECT_EQ(dallaFinestra.size(), dallaRigaDiComando.size());
  EXPECT_TRUE(dallaFinestra == dallaRigaDiComando) << "the two communication files differ";
}

TEST_F(StradaPrincipaleTest, ErroriNelFoglioNonPortanoAllaCreazione) {
  FOPC f(ctx);
  f.show();
  RegistraOperatore(f);
  ui.file = {
      std::filesystem::path(FCL_SOURCE_DIR) / "tests" / "workbook" / "data" / "elabora_errori.xls",
      ListatoUi()};
  QuandoAppare("FImport", [](QDialog& d) {
    QTest::mouseClick(d.findChild<QPushButton*>("rfbase"), Qt::LeftButton);
  });
  QTest::mouseClick(f.findChild<QPushButton*>("Command1"), Qt::LeftButton);

  EXPECT_TRUE(ctx.totaliImport.erroreData);
  ASSERT_FALSE(ui.voci.empty());
  EXPECT_EQ(ui.voci.back().testo, "Correggere gli errori evidenziati");
  EXPECT_EQ(ui.voci.back().titolo, "Errori nei dati");
  EXPECT_EQ(ui.voci.back().icona, Icona::Critico);
  for (QWidget* w : QApplication::topLevelWidgets())
    EXPECT_NE(w->objectName(), "FCrea") << "the creation window opened";
  EXPECT_FALSE(std::filesystem::exists(ComunicazioneUi()));
}

TEST_F(StradaPrincipaleTest, ComunicazioneConErroriNonConservataLasciaLaFinestraAperta) {
  FOPC f(ctx);
  f.show();
  RegistraOperatore(f, "01234567890");  // wrong check digit: the check of the file finds it
  ui.file = {CartellaDiLavoro(), ListatoUi()};
  ui.risposte = {Risposta::No};  // do not keep a file the Agency would reject
  bool apertaDopo = false;
  QuandoAppare("FImport", [](QDialog& d) {
    QTest::mouseClick(d.findChild<QPushButton*>("rfbase"), Qt::LeftButton);
  });
  QuandoAppare("FCrea", [&](QDialog& d) {
    QTest::mouseClick(d.findChild<QPushButton*>("Cmd_Crea"), Qt::LeftButton);
    apertaDopo = d.isVisible();
    d.reject();  // the user closes it
  });
  QTest::mouseClick(f.findChild<QPushButton*>("Command1"), Qt::LeftButton);

  EXPECT_TRUE(apertaDopo);
  ASSERT_EQ(ui.Testi("domanda").size(), 1u);
  EXPECT_NE(ui.Testi("domanda").front().find("Conservare comunque la comunicazione?"),
            std::string::npos);
  EXPECT_TRUE(ui.risposte.empty());
  EXPECT_FALSE(std::filesystem::exists(ComunicazioneUi()));
  EXPECT_TRUE(documenti.aperti.empty());
}

TEST_F(StradaPrincipaleTest, DatiMancantiFermanoPrimaDellaFinestraDelFoglio) {
  FOPC f(ctx);
  f.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
  struct Case {
    const char* casella;
    std::string messaggio;
  } const kCases[] = {
      {"toPIVA", "Partita IVA obbligatoria"},
      {"vOATT", "Codice Attività ATECO obbligatorio"},
      {"vOCOG", "Indicare il cognome"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.casella);
    RegistraOperatore(f);
    f.findChild<QLineEdit*>(c.casella)->clear();
    ui.voci.clear();
    bool aperta = false;
    QPointer<QTimer> attesa = QuandoAppare("FImport", [&](QDialog& d) {
      aperta = true;
      d.reject();
    });
    QTest::mouseClick(f.findChild<QPushButton*>("Command1"), Qt::LeftButton);
    delete attesa.data();
    EXPECT_FALSE(aperta);
    ASSERT_FALSE(ui.Testi().empty());
    EXPECT_EQ(Rifila(ui.Testi().front()), c.messaggio);
    EXPECT_EQ(QApplication::focusWidget(), f.findChild<QLineEdit*>(c.casella));
  }
}

TEST_F(StradaPrincipaleTest, ComunicazioneEsistenteSovrascrittaSoloSeConfermata) {
  FOPC f(ctx);
  f.show();
  RegistraOperatore(f);
  ui.file = {CartellaDiLavoro(), ListatoUi()};
  QuandoAppare("FImport", [](QDialog& d) {
    QTest::mouseClick(d.findChild<QPushButton*>("rfbase"), Qt::LeftButton);
  });
  QuandoAppare("FCrea", [](QDialog& d) {
    QTest::mouseClick(d.findChild<QPushButton*>("Cmd_Crea"), Qt::LeftButton);
  });
  QTest::mouseClick(f.findChild<QPushButton*>("Command1"), Qt::LeftButton);
  const std::string creata = LeggiFile(ComunicazioneUi());
  ASSERT_FALSE(creata.empty());

  const std::string nome = ComunicazioneUi().string();
  const std::string sovrascrivere = "Il file " + nome + " esiste già. Vuoi sovrascriverlo?";
  const std::string sostituire = "Il file " + nome + " esiste già. Vuoi sostituirlo?";
  struct Case {
    std::string_view nome;
    std::vector<Risposta> risposte;
    std::vector<std::string> domande;
    bool sovrascritto;
  } const kCases[] = {
      {"No e No: il file resta", {Risposta::No, Risposta::No}, {sovrascrivere, sostituire}, false},
      {"No e poi Sì", {Risposta::No, Risposta::Si}, {sovrascrivere, sostituire}, true},
      {"Sì alla prima", {Risposta::Si}, {sovrascrivere}, true},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.nome);
    test::ScriviFile(ComunicazioneUi(), "VECCHIO");
    ui.voci.clear();
    ui.risposte.assign(c.risposte.begin(), c.risposte.end());
    FCrea crea(ctx);
    crea.show();
    QTest::mouseClick(crea.findChild<QPushButton*>("Cmd_Crea"), Qt::LeftButton);
    EXPECT_EQ(ui.Testi("domanda"), c.domande);
    if (c.domande.size() == 2) {
      EXPECT_EQ(ui.voci[0].titolo, "Crea Coomunicazioni");
      EXPECT_EQ(ui.voci[0].icona, Icona::Informazione);
      EXPECT_EQ(ui.voci[1].titolo, "Crea Comunicazione");
      EXPECT_EQ(ui.voci[1].icona, Icona::Critico);
    }
    EXPECT_TRUE(ui.risposte.empty());
    EXPECT_EQ(LeggiFile(ComunicazioneUi()), c.sovrascritto ? creata : "VECCHIO");
    // A creation that stops keeps the window open for another try.
    EXPECT_EQ(crea.isVisible(), !c.sovrascritto);
  }
}

TEST_F(StradaPrincipaleTest, CorseInterrotteDallaFinestraLascianoOgniFileComEra) {
  // A first complete road leaves a listing, an intermediate file, a communication, its cover and
  // its report; the communication is kept although the check finds the wrong VAT number, so that
  // the creation below stops at the question while both of its files are half written.
  FOPC f(ctx);
  f.show();
  RegistraOperatore(f, "01234567890");
  ui.file = {CartellaDiLavoro(), ListatoUi()};
  QuandoAppare("FImport", [](QDialog& d) {
    QTest::mouseClick(d.findChild<QPushButton*>("rfbase"), Qt::LeftButton);
  });
  QuandoAppare("FCrea", [](QDialog& d) {
    QTest::mouseClick(d.findChild<QPushButton*>("Cmd_Crea"), Qt::LeftButton);
  });
  QTest::mouseClick(f.findChild<QPushButton*>("Command1"), Qt::LeftButton);
  ASSERT_TRUE(std::filesystem::exists(ComunicazioneUi()));
  ASSERT_TRUE(std::filesystem::exists(Programma() / "FCLtemp.TXT"));
  const auto prima = FileSotto(dir_.Percorso());

  {
    // The workbook run, stopped in the middle of its walk with "Interrompi".
    SCOPED_TRACE("foglio");
    ListatoPdf listato;
    FImport finestra(
        ctx, listato,
        [this](const std::filesystem::path& p) {
          return std::make_unique<LettoreCheAspetta>(ApriCartella(p), ctx, 15);
        },
        &f);
    finestra.show();
    ui.voci.clear();
    ui.file = {ListatoUi()};
    bool chiusa = false;
    std::size_t fileDuranteLaCorsa = 0;
    QTimer interrompi;
    interrompi.setInterval(10);
    QObject::connect(&interrompi, &QTimer::timeout, [&] {
      auto* pulsante = finestra.findChild<QPushButton*>("bInterrompi");
      if (pulsante->isHidden() || finestra.findChild<QLineEdit*>("PERC")->text().isEmpty()) return;
      interrompi.stop();
      // The window cannot be closed while the run goes on.
      finestra.close();
      chiusa = !finestra.isVisible();
      fileDuranteLaCorsa = QuantiFile(Programma());
      QTest::mouseClick(pulsante, Qt::LeftButton);
    });
    interrompi.start();
    finestra.Elabora(CartellaDiLavoro());
    EXPECT_FALSE(chiusa);
    // The intermediate file was being written beside the earlier one.
    EXPECT_EQ(fileDuranteLaCorsa, QuantiFile(Programma()) + 1);
    EXPECT_EQ(finestra.Risultato().esito, EsitoElaborazione::Interrotta);
    EXPECT_TRUE(finestra.isVisible());
    EXPECT_TRUE(finestra.findChild<QPushButton*>("bInterrompi")->isHidden());
    EXPECT_TRUE(finestra.findChild<QPushButton*>("rfbase")->isEnabled());
    EXPECT_EQ(ui.Testi(), std::vector<std::string>{"Elaborazione interrotta: il listato di "
                                                   "controllo e il file intermedio sono rimasti "
                                                   "come erano."});
    EXPECT_TRUE(ctx.totaliImport.erroreData);  // nothing of the stopped run is offered to create
    finestra.reject();
    EXPECT_FALSE(finestra.isVisible());
  }
  EXPECT_TRUE(FileSotto(dir_.Percorso()) == prima) << "a file changed";

  {
    // The creation, stopped while it asks whether to keep the file with errors.
    SCOPED_TRACE("creazione");
    ui.file = {CartellaDiLavoro(), ListatoUi()};
    QuandoAppare("FImport", [](QDialog& d) {
      QTest::mouseClick(d.findChild<QPushButton*>("rfbase"), Qt::LeftButton);
    });
    std::map<std::filesystem::path, std::string> primaDellaCreazione;
    std::size_t fileDuranteLaCorsa = 0;
    bool apertaDopo = false;
    QuandoAppare("FCrea", [&](QDialog& d) {
      primaDellaCreazione = FileSotto(dir_.Percorso());
      ui.voci.clear();
      ui.allaDomanda = [&](std::string_view domanda) {
        // The overwrite question first; then the check's, with both files half written.
        if (domanda.find("Conservare comunque") == std::string_view::npos) return;
        fileDuranteLaCorsa = QuantiFile(UscitaUi());
        QTest::mouseClick(d.findChild<QPushButton*>("bInterrompi"), Qt::LeftButton);
      };
      QTest::mouseClick(d.findChild<QPushButton*>("Cmd_Crea"), Qt::LeftButton);
      ui.allaDomanda = nullptr;
      apertaDopo = d.isVisible();
      d.reject();
    });
    QTest::mouseClick(f.findChild<QPushButton*>("Command1"), Qt::LeftButton);
    EXPECT_TRUE(apertaDopo);
    ASSERT_FALSE(primaDellaCreazione.empty());
    EXPECT_EQ(fileDuranteLaCorsa, QuantiFile(UscitaUi()) + 2);  // the file and its cover
    ASSERT_EQ(ui.Testi("domanda").size(), 2u);
    EXPECT_NE(ui.Testi("domanda").back().find("Conservare comunque"), std::string::npos);
    EXPECT_EQ(ui.Testi(), std::vector<std::string>{
                              "Creazione interrotta: nessun file è stato scritto; la "
                              "comunicazione, il frontespizio e il listato di controllo sono "
                              "rimasti come erano."});
    EXPECT_TRUE(FileSotto(dir_.Percorso()) == primaDellaCreazione) << "a file changed";
    EXPECT_TRUE(documenti.aperti.size() == 2u) << "documents opened by the stopped creation";
  }
}

}  // namespace
}  // namespace fcl
