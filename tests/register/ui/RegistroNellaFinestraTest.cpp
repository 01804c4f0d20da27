// The register as the user meets it: in the main window on a 1366x768 screen (the suite's offscreen
// screen), with the real message boxes where their number matters.

#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "InterazioneRegistrata.h"
#include "common/Contesto.h"
#include "common/RoutineCampi.h"
#include "common/ui/Impostazioni.h"
#include "common/ui/InterazioneQt.h"
#include "common/ui/ListaVista.h"
#include "common/ui/RoutineCampiQt.h"
#include "register/ui/FOPC.h"
#include "shell/ui/FinestraPrincipale.h"
#include "store/Database.h"
#include "store/Schema.h"

namespace fcl {
namespace {

// True when the whole widget is on screen: shown, and not cut by a scroll area or the window.
bool TuttoVisibile(const QWidget* w) {
  return w->isVisible() && w->visibleRegion().boundingRect() == w->rect() &&
         w->window()->rect().contains(QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size()));
}

// Records at the moment the box is shown which field has the focus and whether it is in sight.
class InterazioneCheGuarda : public test::InterazioneRegistrata {
 public:
  std::string campo;
  bool visibile = false;
  void Messaggio(std::string_view testo, std::string_view titolo, Icona icona) override {
    QWidget* fuoco = QApplication::focusWidget();
    campo = fuoco ? fuoco->objectName().toStdString() : "";
    visibile = fuoco && TuttoVisibile(fuoco);
    InterazioneRegistrata::Messaggio(testo, titolo, icona);
  }
};

class RegistroNellaFinestraTest : public ::testing::Test {
 protected:
  RegistroNellaFinestraTest() : db(Database::InMemoria()) {
    CreaSchema(db);
    db.Esegui(
        "INSERT INTO COPE (OCOD, ORAG, ODES, OSTP, OSCOM, OSPRO, OPIVA) VALUES "
        "('01234567897', 'ALFA SERVIZI', 'ALFA SERVIZI', '1', 'MILANO', 'MI', '01234567897'), "
        "('02468130162', 'BETA', 'BETA', '1', 'ROMA', 'RM', '02468130162')");
    db.Esegui(
        "INSERT INTO COPE (OCOD, OCOG, ONOME, ODES, OSTP, OPIVA) VALUES "
        "('RSSMRA80A01H501U', 'ROSSI', 'MARIO', 'ROSSI MARIO', '0', '11223344556')");
    ctx.connessioneDb = &db;
    ctx.interazione = &ui;
    Impostazioni().clear();  // a first start
  }

  // The main window as main() builds it, after "Entra".
  void Apri() {
    FinestraPrincipale::Comandi c;
    c.creaRegistro = [this](FinestraPrincipale&) { return new FOPC(ctx); };
    c.backup = [this](std::string_view) { ++backup; };
    c.esci = [this] { ++uscite; };
    fa = std::make_unique<FinestraPrincipale>(ctx, std::move(c));
    fa->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(fa.get()));
    fa->Entra();
    QApplication::processEvents();
    registro = qobject_cast<FOPC*>(fa->Registro());
    ASSERT_NE(registro, nullptr);
  }

  QLineEdit* Casella(const char* nome) { return registro->findChild<QLineEdit*>(nome); }
  QPushButton* Pulsante(const char* nome) { return registro->findChild<QPushButton*>(nome); }
  // The input a user would type: a new company with its code only.
  void NuovoConCodice(const char* codice) {
    registro->Aggiungi();
    Casella("tocod")->setText(codice);
  }

  Database db;
  InterazioneCheGuarda ui;
  Contesto ctx;
  std::unique_ptr<FinestraPrincipale> fa;
  FOPC* registro = nullptr;
  int backup = 0;
  int uscite = 0;
};

// At the size the program opens with on 1366x768 (maximised), on a large screen and on a window
// made smaller by the user, the register fills the client area and every button of the detail is
// in sight without scrolling; it fills it again after a backup or restore.
TEST_F(RegistroNellaFinestraTest, RiempieLAreaEIPulsantiSonoSempreInVista) {
  Apri();
  EXPECT_TRUE(fa->isMaximized()) << "first start on a 1366x768 screen";
  registro->ListaOperatori()->SelezionaRiga("01234567897", "Codice_Fiscale");  // a company
  auto controlla = [&] {
    QApplication::processEvents();
    QMdiSubWindow* sub = fa->AreaClient()->subWindowList().front();
    EXPECT_EQ(sub->geometry(), fa->AreaClient()->viewport()->rect());
    for (const char* nome : {"Cmd_Conferma", "Command1", "CmdCopiaITT", "RLOC", "rOATT"}) {
      SCOPED_TRACE(nome);
      EXPECT_TRUE(TuttoVisibile(Pulsante(nome)));
    }
    for (auto* scorrimento : registro->findChildren<QScrollArea*>()) {
      if (!scorrimento->isVisible()) continue;
      SCOPED_TRACE(scorrimento->objectName().toStdString());
      EXPECT_FALSE(scorrimento->verticalScrollBar()->isVisible());
      EXPECT_FALSE(scorrimento->horizontalScrollBar()->isVisible());
    }
  };
  {
    SCOPED_TRACE("1366x768, massimizzata");
    controlla();
  }
  fa->showNormal();
  struct Dimensione {
    const char* nome;
    QSize dimensione;
    bool senzaScorrimento;
  } const kDimensioni[] = {{"1920x1080", {1920, 1040}, true}, {"1024x560", {1024, 560}, false}};
  for (const auto& d : kDimensioni) {
    SCOPED_TRACE(d.nome);
    fa->resize(d.dimensione);
    QApplication::processEvents();
    QMdiSubWindow* sub = fa->AreaClient()->subWindowList().front();
    EXPECT_EQ(sub->geometry(), fa->AreaClient()->viewport()->rect());
    for (const char* nome : {"Cmd_Conferma", "Command1", "CmdCopiaITT"}) {
      SCOPED_TRACE(nome);
      EXPECT_TRUE(TuttoVisibile(Pulsante(nome)));
    }
    if (d.senzaScorrimento) controlla();
  }
  fa->showMaximized();
  ctx.operatoreCorrente.codiceFiscale = "01234567897";
  for (const char* voce : {"salva", "ripristina"}) {
    SCOPED_TRACE(voce);
    fa->Azione(voce)->trigger();
    registro = qobject_cast<FOPC*>(fa->Registro());
    ASSERT_NE(registro, nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(fa->AreaClient()->subWindowList().size(), 1);
    registro->ListaOperatori()->SelezionaRiga("01234567897", "Codice_Fiscale");
    controlla();
  }
  EXPECT_EQ(backup, 2);
}

// Every check of a save (and the two of "Elabora file Excel") shows its field: its page chosen
// and the field scrolled into sight before the message, on a window small enough to scroll.
TEST_F(RegistroNellaFinestraTest, IlCampoInErroreEInVista) {
  Apri();
  fa->showNormal();
  fa->resize(900, 420);
  QApplication::processEvents();
  struct Caso {
    const char* campo;
    std::string messaggio;
    bool personaFisica;
    std::vector<std::pair<const char*, const char*>> valori;
    const char* pulsante = "Cmd_Conferma";
  };
  const std::vector<std::pair<const char*, const char*>> societa = {
      {"tocod", "03456789012"}, {"torag", "GAMMA"}, {"vOSCOM", "TORINO"}, {"vOSPRO", "TO"}};
  const std::vector<std::pair<const char*, const char*>> persona = {
      {"tocod", "VRDLCU70M15A794Y"}, {"vOCOG", "VERDI"},    {"vONOME", "LUCA"}, {"vOSEX", "M"},
      {"vONDT", "15/08/1970"},       {"vONCOM", "BERGAMO"}, {"vONPRO", "BG"}};
  auto senza = [](std::vector<std::pair<const char*, const char*>> v, const char* campo) {
    std::erase_if(v, [&](const auto& p) { return std::string(p.first) == campo; });
    return v;
  };
  auto con = [](std::vector<std::pair<const char*, const char*>> v,
                std::vector<std::pair<const char*, const char*>> altri) {
    v.insert(v.end(), altri.begin(), altri.end());
    return v;
  };
  const Caso kCasi[] = {
      {"tocod", "Codice Fiscale non indicato.", false, senza(societa, "tocod")},
      {"torag", "Ragione Sociale Soggetto - campo non valido.", false, senza(societa, "torag")},
      {"vOSCOM", "Indicare il comune della sede legale", false, senza(societa, "vOSCOM")},
      {"vOSPRO", "Indicare la provincia della sede legale", false, senza(societa, "vOSPRO")},
      {"vOCOG", "Indicare il cognome", true, senza(persona, "vOCOG")},
      {"vONOME", "Indicare il nome", true, senza(persona, "vONOME")},
      {"vOSEX", "Indicare il sesso", true, senza(persona, "vOSEX")},
      {"vONDT", "Indicare la data di nascita", true, senza(persona, "vONDT")},
      {"vONCOM", "Indicare il comune di nascita", true, senza(persona, "vONCOM")},
      {"vONPRO", "Indicare la provincia di nascita", true, senza(persona, "vONPRO")},
      {"vITTDATA", "Indicare la data dell'impegno", false,
       con(societa, {{"vITTCF", "BNCLRA70A41F205X"}})},
      {"toPIVA", "Partita IVA obbligatoria", false, societa, "Command1"},
      {"vOATT", "Codice Attività ATECO obbligatorio", false,
       con(societa, {{"toPIVA", "03456789012"}}), "Command1"},
  };
  for (const Caso& c : kCasi) {
    SCOPED_TRACE(c.campo);
    registro->Aggiungi();
    registro->findChild<QRadioButton*>(c.personaFisica ? "o2" : "o1")->click();
    for (const auto& [nome, valore] : c.valori) Casella(nome)->setText(valore);
    // The user looks at another page, scrolled to its end.
    registro->Schede()->setCurrentIndex(std::string(c.campo) == "vITTDATA" ? 1 : 2);
    ui.voci.clear();
    QTest::mouseClick(Pulsante(c.pulsante), Qt::LeftButton);
    ASSERT_EQ(ui.Testi().size(), 1u);
    EXPECT_EQ(Rifila(ui.Testi().front()), c.messaggio);
    EXPECT_EQ(ui.campo, c.campo);
    EXPECT_TRUE(ui.visibile);
    // No answer to a question is left over: the form is dropped for the next case.
    ui.risposte = {Risposta::No};
  }
}

// A wrong VAT number, a wrong date: leaving the field shows one real box each.
TEST_F(RegistroNellaFinestraTest, UnSoloMessaggioPerErrore) {
  InterazioneQt qt;
  ctx.interazione = &qt;
  Apri();
  qt.ImpostaGenitore(fa.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(fa.get()));
  std::vector<std::string> scatole;
  QTimer chiudi;
  chiudi.setInterval(20);
  QObject::connect(&chiudi, &QTimer::timeout, [&] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(w);
      if (!box || !box->isVisible()) continue;
      scatole.push_back(Rifila(box->text().toStdString()));
      box->accept();
    }
  });
  chiudi.start();
  struct Caso {
    const char* campo;
    const char* testo;
    const char* messaggio;
    bool personaFisica;
  } const kCasi[] = {{"toPIVA", "0123", "Partita Iva Errata", false},
                     {"vONDT", "32/13/1980", "Data non valida", true},
                     {"vITTDATA", "31/02/2026", "Data non valida", false}};
  for (const Caso& c : kCasi) {
    SCOPED_TRACE(c.campo);
    registro->Aggiungi();
    registro->findChild<QRadioButton*>(c.personaFisica ? "o2" : "o1")->click();
    QLineEdit* campo = Casella(c.campo);
    MostraCampo(campo);
    fa->activateWindow();  // given back by the last box
    ASSERT_TRUE(QTest::qWaitForWindowActive(fa.get()));
    campo->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), campo);
    QTest::keyClicks(campo, c.testo);
    scatole.clear();
    QTest::keyClick(campo, Qt::Key_Tab);
    QTest::qWait(300);
    EXPECT_EQ(scatole, std::vector<std::string>{c.messaggio});
    // The form is dropped for the next case without a question.
    campo->clear();
    Casella("tocod")->clear();
    registro->findChild<QRadioButton*>("o1")->click();
  }
}

// The intermediary's fiscal code is checked when the field is left, as the VAT number is: a wrong
// code is told once, on its field, and does not block the save, which keeps the code as typed
// (upper case) for the check of the written file to name.
TEST_F(RegistroNellaFinestraTest, CodiceFiscaleIntermediarioErratoAvvisaSenzaBloccare) {
  Apri();
  ASSERT_TRUE(QTest::qWaitForWindowActive(fa.get()));
  struct Caso {
    const char* digitato;
    const char* registrato;
    bool errato;
  } const kCasi[] = {
      {"VRDLCU70M15A794Y", "VRDLCU70M15A794Y", false},   // right
      {"vrdlcu70m15a794y ", "VRDLCU70M15A794Y", false},  // typed in lower case, a blank after
      {"VRDLCU70M15A794Z", "VRDLCU70M15A794Z", true},    // wrong check letter
      {"01234567897", "01234567897", false},             // a company's code, right
      {"0123456789A", "0123456789A", true},              // 11 characters with a letter
      // 11 digits are taken as they are, as for the VAT number: the check of the written file
      // names a wrong check digit.
      {"01234567891", "01234567891", false},
      {"VRDLCU70M15", "VRDLCU70M15", true},  // cut short
  };
  int n = 0;
  for (const Caso& c : kCasi) {
    SCOPED_TRACE(c.digitato);
    const std::string codice = "0345678901" + std::to_string(n++);
    registro->Aggiungi();
    for (const auto& [nome, valore] :
         std::initializer_list<std::pair<const char*, std::string>>{{"tocod", codice},
                                                                    {"torag", "GAMMA"},
                                                                    {"vOSCOM", "TORINO"},
                                                                    {"vOSPRO", "TO"},
                                                                    {"vITTDATA", "15/01/2026"}})
      Casella(nome)->setText(QString::fromStdString(valore));
    QLineEdit* campo = Casella("vITTCF");
    MostraCampo(campo);
    campo->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), campo);
    ui.voci.clear();
    QTest::keyClicks(campo, c.digitato);
    QTest::keyClick(campo, Qt::Key_Tab);
    QApplication::processEvents();
    if (c.errato) {
      ASSERT_EQ(ui.Testi().size(), 1u);
      EXPECT_EQ(Rifila(ui.Testi().front()), "Codice Fiscale Intermediario Errato");
      EXPECT_EQ(ui.voci.front().titolo, "Errore");
      EXPECT_EQ(ui.campo, "vITTCF");  // the field in error, in sight, has the focus
      EXPECT_TRUE(ui.visibile);
      EXPECT_EQ(QApplication::focusWidget(), campo);
    } else {
      EXPECT_TRUE(ui.voci.empty()) << ui.voci.front().testo;
    }
    EXPECT_EQ(campo->text().toStdString(), c.registrato);

    // The save goes through: no other message, the operator and its commitment written with the
    // code as shown.
    ui.voci.clear();
    QTest::mouseClick(Pulsante("Cmd_Conferma"), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_TRUE(ui.voci.empty()) << ui.voci.front().testo;
    EXPECT_EQ(ValoreComeTesto(db.Scalare("SELECT COUNT(*) FROM COPE WHERE OCOD=?", {codice})), "1");
    EXPECT_NE(
        ValoreComeTesto(db.Scalare("SELECT DES FROM CTAB WHERE TIPO='ITT' AND COD=?", {codice}))
            .find(c.registrato),
        std::string::npos);
    registro->ListaOperatori()->SelezionaRiga(codice, "Codice_Fiscale");
    QApplication::processEvents();
    EXPECT_EQ(Casella("vITTCF")->text().toStdString(), c.registrato);
  }
}

// The register cannot be closed, and input not saved is never dropped without the question.
TEST_F(RegistroNellaFinestraTest, IlRegistroNonSiPerde) {
  Apri();
  QMdiSubWindow* sub = fa->AreaClient()->subWindowList().front();
  EXPECT_FALSE(sub->windowFlags().testFlag(Qt::WindowCloseButtonHint));
  sub->close();
  registro->close();
  QApplication::processEvents();
  EXPECT_EQ(fa->Registro(), registro);
  EXPECT_TRUE(registro->isVisible());

  const std::string domanda =
      "I dati del soggetto 01234567897 sono stati modificati.\nSalvare le modifiche?";
  struct Caso {
    std::string nome;
    std::function<void()> azione;
    Risposta risposta;
    bool inputResta;
  };
  const Caso kCasi[] = {
      {"Aggiungi Soggetto, Annulla", [&] { fa->AzioneAggiungi()->trigger(); }, Risposta::Annulla,
       true},
      {"Aggiungi Soggetto, No", [&] { fa->AzioneAggiungi()->trigger(); }, Risposta::No, false},
      {"altro soggetto della lista, Annulla",
       [&] { registro->ListaOperatori()->SelezionaRiga("02468130162", "Codice_Fiscale"); },
       Risposta::Annulla, true},
      {"Ripristina, Annulla", [&] { fa->Azione("ripristina")->trigger(); }, Risposta::Annulla,
       true},
      {"Esci, Annulla", [&] { fa->Azione("Esci")->trigger(); }, Risposta::Annulla, true},
      {"chiusura della finestra principale, Annulla", [&] { fa->close(); }, Risposta::Annulla,
       true},
  };
  for (const Caso& c : kCasi) {
    SCOPED_TRACE(c.nome);
    registro->ListaOperatori()->SelezionaRiga("02468130162", "Codice_Fiscale");
    registro->ListaOperatori()->SelezionaRiga("01234567897", "Codice_Fiscale");
    ASSERT_EQ(Casella("tocod")->text(), "01234567897");
    Casella("vOTEL")->setText("02 1234567");
    ui.voci.clear();
    ui.risposte = {c.risposta};
    c.azione();
    ASSERT_EQ(ui.Testi("domanda"), std::vector<std::string>{domanda});
    EXPECT_EQ(Casella("vOTEL")->text() == "02 1234567", c.inputResta);
    EXPECT_TRUE(fa->isVisible());
    EXPECT_EQ(fa->Registro(), registro);
    if (c.inputResta) {
      EXPECT_EQ(registro->ListaOperatori()->LeggiSelezione({"Codice_Fiscale"}).front(),
                "01234567897");
      Casella("vOTEL")->clear();  // back as stored: the next case starts clean
    }
  }
  EXPECT_EQ(backup, 0);
  EXPECT_EQ(uscite, 0);

  // "Sì" saves before the list moves to the operator chosen.
  Casella("vOTEL")->setText("02 7654321");
  ui.voci.clear();
  ui.risposte = {Risposta::Si};
  registro->ListaOperatori()->SelezionaRiga("02468130162", "Codice_Fiscale");
  EXPECT_EQ(ui.Testi("domanda").size(), 1u);
  EXPECT_EQ(Casella("tocod")->text(), "02468130162");
  EXPECT_EQ(ValoreComeTesto(db.Scalare("SELECT OTEL FROM COPE WHERE OCOD='01234567897'")),
            "02 7654321");

  // A half-typed new operator: "Sì" runs the checks, whose failure keeps the input and the program.
  NuovoConCodice("03456789012");
  ui.voci.clear();
  ui.risposte = {Risposta::Si};
  fa->Azione("Esci")->trigger();
  EXPECT_EQ(ui.Testi("domanda"),
            std::vector<std::string>{
                "Il nuovo soggetto 03456789012 non è stato registrato.\nSalvare le modifiche?"});
  EXPECT_EQ(Rifila(ui.Testi().front()), "Ragione Sociale Soggetto - campo non valido.");
  EXPECT_EQ(uscite, 0);
  EXPECT_EQ(Casella("tocod")->text(), "03456789012");

  // Nothing typed: no question at all.
  ui.risposte = {Risposta::No};
  registro->ListaOperatori()->SelezionaRiga("01234567897", "Codice_Fiscale");
  ASSERT_EQ(Casella("tocod")->text(), "01234567897");
  ui.voci.clear();
  fa->Azione("Esci")->trigger();
  EXPECT_TRUE(ui.voci.empty());
  EXPECT_EQ(uscite, 1);
}

// Tab goes from each box to its button and then to the next box.
TEST_F(RegistroNellaFinestraTest, OrdineDelTasto) {
  Apri();
  ASSERT_TRUE(QTest::qWaitForWindowActive(fa.get()));
  struct Caso {
    int pagina;
    bool personaFisica;
    std::vector<const char*> ordine;
  } const kCasi[] = {
      {0, false, {"vOSCOM", "RLOC", "vOSPRO", "vOPOSTA"}},
      {0, true, {"vONDT", "rdata", "vONCOM", "rloca1", "vONPRO"}},
      {0, false, {"vOATT", "vOATTD", "rOATT", "CmdCopiaITT", "Cmd_Conferma", "Command1"}},
      {1, false, {"vOSTCDTINI", "rdata2", "vOSTCDTFINE", "rdata3", "TCPF"}},
      {1, false, {"vOSTCNDT", "RDATA4", "vOSTCNCOM", "RLOCA2", "vOSTCNPRO"}},
      {2, false, {"vITTCAF", "vITT1"}},
      {2, false, {"vITTDATA", "rDI", "CmdCopiaITT"}},
  };
  for (const Caso& c : kCasi) {
    SCOPED_TRACE(c.ordine.front());
    registro->findChild<QRadioButton*>(c.personaFisica ? "o2" : "o1")->click();
    registro->Schede()->setCurrentIndex(c.pagina);
    auto* primo = registro->findChild<QWidget*>(c.ordine.front());
    primo->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), primo);
    for (std::size_t i = 1; i < c.ordine.size(); ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      ASSERT_NE(QApplication::focusWidget(), nullptr);
      EXPECT_EQ(QApplication::focusWidget()->objectName().toStdString(), c.ordine[i]);
    }
  }
}

// Part of a name, a fiscal code or a VAT number narrows the list; the detail stays as it was.
TEST_F(RegistroNellaFinestraTest, FiltroDellaLista) {
  Apri();
  ListaVista* lista = registro->ListaOperatori();
  auto visibili = [&] {
    std::vector<std::string> codici;
    for (std::size_t r = 0; r < lista->Dati().Righe().size(); ++r)
      if (!lista->isRowHidden(static_cast<int>(r), QModelIndex()))
        codici.push_back(lista->Dati().LeggiSelezione(r, {"Codice_Fiscale"}).front());
    return codici;
  };
  lista->SelezionaRiga("02468130162", "Codice_Fiscale");
  struct Caso {
    const char* testo;
    std::vector<std::string> codici;
  } const kCasi[] = {
      {"ross", {"RSSMRA80A01H501U"}},
      {"servizi", {"01234567897"}},
      {"0246", {"02468130162"}},
      {"11223344", {"RSSMRA80A01H501U"}},
      {"  Beta ", {"02468130162"}},
      {"nessuno", {}},
      {"", {"RSSMRA80A01H501U", "01234567897", "02468130162"}},
  };
  for (const Caso& c : kCasi) {
    SCOPED_TRACE(c.testo);
    registro->Filtro()->clear();
    QTest::keyClicks(registro->Filtro(), c.testo);
    EXPECT_EQ(visibili(), c.codici);
    EXPECT_EQ(Casella("tocod")->text(), "02468130162");
  }
  // Enter in the filter takes the first row left and moves to the list.
  ASSERT_TRUE(QTest::qWaitForWindowActive(fa.get()));
  registro->Filtro()->setFocus();
  QTest::keyClicks(registro->Filtro(), "alfa");
  QTest::keyClick(registro->Filtro(), Qt::Key_Return);
  EXPECT_EQ(Casella("tocod")->text(), "01234567897");
  EXPECT_EQ(QApplication::focusWidget(), lista);
  // A list filled again after a save keeps the filter.
  Casella("vOTEL")->setText("1");
  ASSERT_TRUE(registro->Conferma());
  EXPECT_EQ(visibili(), std::vector<std::string>{"01234567897"});
}

// Size, position and the splitter come back at the next start; the first start on a small
// screen is maximised.
TEST_F(RegistroNellaFinestraTest, FinestraRicordaDimensioniEDivisore) {
  Apri();
  EXPECT_TRUE(fa->isMaximized());
  fa->showNormal();
  fa->setGeometry(100, 80, 1000, 600);
  auto* divisore = registro->findChild<QSplitter*>("Divisore");
  divisore->setSizes({300, 690});
  emit divisore->splitterMoved(300, 1);
  const QList<int> misure = divisore->sizes();
  QApplication::processEvents();
  const QRect geometria = fa->geometry();
  fa.reset();

  Apri();
  EXPECT_FALSE(fa->isMaximized());
  EXPECT_EQ(fa->geometry(), geometria);
  EXPECT_EQ(registro->findChild<QSplitter*>("Divisore")->sizes(), misure);
}

}  // namespace
}  // namespace fcl
