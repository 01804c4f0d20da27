#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include "AiutoTest.h"
#include "CartellaTemporanea.h"
#include "InterazioneRegistrata.h"
#include "common/Contesto.h"
#include "shell/ui/FINI.h"
#include "shell/ui/FVer.h"
#include "shell/ui/FinestraPrincipale.h"
#include "shell/ui/FinestraRegistro.h"

namespace fcl {
namespace {

// A register that counts the toolbar commands it receives.
class RegistroFinto : public FinestraRegistro {
 public:
  int aggiunte = 0;
  int eliminazioni = 0;
  int ricariche = 0;
  void Aggiungi() override { ++aggiunte; }
  void Elimina() override { ++eliminazioni; }
  void Ricarica() override { ++ricariche; }
};

class DocumentiRegistrati : public ApriDocumento {
 public:
  std::vector<std::filesystem::path> aperti;
  void Apri(const std::filesystem::path& p) override { aperti.push_back(p); }
};

class ShellTest : public ::testing::Test {
 protected:
  ShellTest() {
    ctx.interazione = &ui;
    ctx.apriDocumento = &documenti;
    ctx.cartellaProgramma = cartella.Percorso();
    ctx.versionePgm = "Versione 1.0 - Monoutente";
    ctx.releasePgm = "Release Giugno 2016";
  }

  FinestraPrincipale::Comandi ConRegistro() {
    FinestraPrincipale::Comandi c;
    c.creaRegistro = [this](FinestraPrincipale&) {
      ++registriCreati;
      ultimo = new RegistroFinto;
      return ultimo;
    };
    c.backup = [this](std::string_view modo) { backup.emplace_back(modo); };
    c.esci = [this] { ++uscite; };
    return c;
  }

  test::CartellaTemporanea cartella;
  test::InterazioneRegistrata ui;
  DocumentiRegistrati documenti;
  Contesto ctx;
  int registriCreati = 0;
  RegistroFinto* ultimo = nullptr;
  std::vector<std::string> backup;
  int uscite = 0;
};

TEST_F(ShellTest, CaricamentoMenuEBarraStrumenti) {
  FinestraPrincipale fa(ctx);
  EXPECT_EQ(fa.windowTitle(), QStringLiteral("FISCOLARIO - Comunicazione Polivalente"));
  struct Voce {
    const char* nome;
    const char* testo;
  } const kVoci[] = {{"salva", "Salva"},
                     {"ripristina", "Ripristina"},
                     {"OpeORSA", "Import Operatori da ORSA (Antiriciclaggio)"},
                     {"OpeVELA", "Import Operatori da VELA (Comunicazione Rapporti)"},
                     {"ateco", "Importa tabella attività ATECO..."},
                     {"ImportaElenco", "Importa soggetti da elenco..."},
                     {"ElaborazioneMultipla", "Elaborazione multipla..."},
                     {"documentazione", "Documentazione"},
                     {"ISTR", "Istruzioni Modello Polivalente"},
                     {"fbase", "Foglio EXCEL Base"},
                     {"contatti", "Contatti"},
                     {"versione", "Versione"},
                     {"ASSR", "Assistenza Remota"}};
  for (const auto& v : kVoci) {
    SCOPED_TRACE(v.nome);
    QAction* a = fa.Azione(v.nome);
    ASSERT_NE(a, nullptr);
    // The caption as the system has it, with its mnemonic.
    EXPECT_EQ(QString(a->text()).remove(QLatin1Char('&')), QString::fromUtf8(v.testo));
    EXPECT_EQ(a->text().count(QLatin1Char('&')), 1) << a->text().toStdString();
    EXPECT_FALSE(a->icon().isNull());
  }
  // One mnemonic a letter within each menu.
  for (const char* menu : {"funzioni", "help"}) {
    SCOPED_TRACE(menu);
    QString lettere;
    for (const QAction* a : fa.findChild<QMenu*>(menu)->actions()) {
      if (a->isSeparator()) continue;
      const qsizetype i = a->text().indexOf(QLatin1Char('&'));
      ASSERT_GE(i, 0) << a->text().toStdString();
      const QChar c = a->text().at(i + 1).toLower();
      EXPECT_FALSE(lettere.contains(c)) << a->text().toStdString();
      lettere += c;
    }
  }
  EXPECT_EQ(fa.Azione("Esci")->text().remove(QLatin1Char('&')), QStringLiteral("Esci"));
  EXPECT_EQ(fa.AzioneAggiungi()->text(), QStringLiteral("Aggiungi Soggetto"));
  EXPECT_EQ(fa.AzioneAggiungi()->toolTip(), QStringLiteral("Aggiungi all'archivio "));
  EXPECT_EQ(fa.AzioneElimina()->text(), QStringLiteral("Elimina Soggetto"));
  EXPECT_EQ(fa.AzioneElimina()->toolTip(),
            QStringLiteral("Elimina dall'archivio anagrafico o Storico"));

  // Disabled until "Entra"; the welcome window is in the client area, top left.
  EXPECT_FALSE(fa.AzioneAggiungi()->isEnabled());
  EXPECT_FALSE(fa.AzioneElimina()->isEnabled());
  ASSERT_NE(fa.Benvenuto(), nullptr);
  EXPECT_EQ(fa.Benvenuto()->windowTitle(), QStringLiteral("Benvenuto"));
  EXPECT_EQ(fa.AreaClient()->subWindowList().size(), 1);
  EXPECT_EQ(fa.AreaClient()->subWindowList().front()->pos(), QPoint(0, 0));
  const auto etichette = fa.Benvenuto()->findChildren<QLabel*>();
  QStringList testi;
  for (const QLabel* e : etichette) testi << e->text();
  EXPECT_TRUE(testi.contains(QStringLiteral("Fiscolario -  Comunicazione Polivalente ")));
  EXPECT_TRUE(testi.contains(QStringLiteral("Versione 1.0 - Monoutente")));
  EXPECT_TRUE(testi.contains(QStringLiteral("Release Giugno 2016")));

  // Commands without their window yet are disabled rather than silent.
  fa.MenuFunzioni()->aboutToShow();
  EXPECT_FALSE(fa.Azione("salva")->isEnabled());
  EXPECT_FALSE(fa.Azione("OpeVELA")->isEnabled());
  EXPECT_FALSE(fa.Azione("ateco")->isEnabled());
}

TEST_F(ShellTest, ImportazioniChiamanoILoroComandiEIlRegistroSiRicarica) {
  std::vector<std::string> chiamate;
  FinestraPrincipale::Comandi c = ConRegistro();
  FinestraPrincipale* principale = nullptr;
  c.importaVela = [&] {
    chiamate.emplace_back("vela");
    principale->RicaricaRegistro();
  };
  c.importaOrsa = [&] { chiamate.emplace_back("orsa"); };
  c.importaAteco = [&] { chiamate.emplace_back("ateco"); };
  FinestraPrincipale fa(ctx, std::move(c));
  principale = &fa;
  fa.RicaricaRegistro();  // no register yet: nothing to reload
  fa.Entra();
  fa.MenuFunzioni()->aboutToShow();
  for (const char* nome : {"OpeVELA", "OpeORSA", "ateco"}) {
    SCOPED_TRACE(nome);
    ASSERT_TRUE(fa.Azione(nome)->isEnabled());
    fa.Azione(nome)->trigger();
  }
  EXPECT_EQ(chiamate, (std::vector<std::string>{"vela", "orsa", "ateco"}));
  ASSERT_NE(ultimo, nullptr);
  EXPECT_EQ(ultimo->ricariche, 1);
  EXPECT_EQ(registriCreati, 1);  // the same register, its list filled again
}

TEST_F(ShellTest, EntraAbilitaLaBarraChiudeIlBenvenutoEApreIlRegistro) {
  FinestraPrincipale fa(ctx, ConRegistro());
  fa.show();
  // "ELI" before the register was ever opened does nothing.
  fa.Elimina();
  EXPECT_EQ(registriCreati, 0);

  QTest::mouseClick(fa.Benvenuto()->Entra(), Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_TRUE(fa.AzioneAggiungi()->isEnabled());
  EXPECT_TRUE(fa.AzioneElimina()->isEnabled());
  EXPECT_EQ(fa.Benvenuto(), nullptr);
  EXPECT_EQ(registriCreati, 1);
  EXPECT_EQ(fa.FormAttiva(), "FOPC");
  ASSERT_NE(fa.Registro(), nullptr);

  fa.AzioneAggiungi()->trigger();
  fa.AzioneElimina()->trigger();
  fa.AzioneElimina()->trigger();
  EXPECT_EQ(ultimo->aggiunte, 1);
  EXPECT_EQ(ultimo->eliminazioni, 2);
}

TEST_F(ShellTest, SalvaSoloConUnOperatoreERipristinaRiapronoIlRegistro) {
  FinestraPrincipale fa(ctx, ConRegistro());
  fa.Salva();  // no operator: nothing at all
  EXPECT_TRUE(backup.empty());

  fa.Entra();
  ASSERT_EQ(registriCreati, 1);
  ctx.operatoreCorrente.codiceFiscale = "RSSMRA80A01H501U";
  fa.Azione("salva")->trigger();
  EXPECT_EQ(backup, (std::vector<std::string>{"S"}));
  EXPECT_EQ(fa.ModoBackup(), "S");
  EXPECT_EQ(registriCreati, 2);  // closed and opened again, reloaded from the database

  fa.Azione("ripristina")->trigger();
  EXPECT_EQ(backup, (std::vector<std::string>{"S", "R"}));
  EXPECT_EQ(registriCreati, 3);
  QApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(fa.AreaClient()->subWindowList().size(), 1);
}

TEST_F(ShellTest, DocumentiAssistenzaEdEsci) {
  FinestraPrincipale fa(ctx, ConRegistro());
  fa.Azione("documentazione")->trigger();
  fa.Azione("ISTR")->trigger();
  fa.Azione("fbase")->trigger();
  const auto help = cartella.Percorso() / "Help";
  EXPECT_EQ(documenti.aperti,
            (std::vector<std::filesystem::path>{help / "FISCOLARIO 2013.pdf",
                                                help / "Istruzioni+al+modello+polivalente.pdf",
                                                help / "FISCOLARIO 2013.xls"}));
  // The blank workbook as the program folder is delivered with it.
  std::filesystem::create_directories(help);
  test::ScriviFile(help / "Comunicazione polivalente - foglio base.xlsx", "x");
  fa.Azione("fbase")->trigger();
  EXPECT_EQ(documenti.aperti.back(), help / "Comunicazione polivalente - foglio base.xlsx");

  fa.Azione("ASSR")->trigger();  // no remote-assistance program in the folder
  ASSERT_EQ(ui.Testi().size(), 1u);
  EXPECT_EQ(ui.Testi()[0].rfind("Errore lancio ASSISTENZA: ", 0), 0u);
  EXPECT_NE(ui.Testi()[0].find("A.EXE"), std::string::npos);

  fa.Azione("Esci")->trigger();
  EXPECT_EQ(uscite, 1);
}

TEST_F(ShellTest, FinestraVersioneSenzaContattiInventati) {
  // A fresh installation names no contact: version, licence and the guide, no phone, no address.
  {
    FVer ver(ctx);
    EXPECT_EQ(ver.windowTitle(), QStringLiteral("FISCOLARIO - Versione"));
    EXPECT_EQ(ver.findChild<QLabel*>("Versione")->text(), "Versione 1.0 - Monoutente");
    EXPECT_EQ(ver.findChild<QLabel*>("Nrel")->text(), "Release Giugno 2016");
    EXPECT_TRUE(ver.findChild<QLabel*>("Licenza")->text().startsWith("Licenza d'uso riservata"));
    EXPECT_EQ(ver.findChild<QLabel*>("Label1"), nullptr);
    EXPECT_EQ(ver.MailTecnico(), nullptr);
    EXPECT_EQ(ver.MailCommerciale(), nullptr);
    for (const QLabel* l : ver.findChildren<QLabel*>()) {
      EXPECT_FALSE(l->text().contains('@')) << l->text().toStdString();
      EXPECT_FALSE(l->text().contains(QStringLiteral("+39"))) << l->text().toStdString();
    }
    QTest::mouseClick(ver.Guida(), Qt::LeftButton);
    EXPECT_EQ(documenti.aperti,
              std::vector<std::filesystem::path>{cartella.Percorso() / "Help" / "index.html"});
  }

  // The contacts that the distributor wrote, only those: the phone is left out here.
  ctx.fileIni = cartella.Percorso() / "configurazione.ini";
  test::ScriviFile(ctx.fileIni,
                   "[opzioni]\nTipoDb=\n[contatti]\nDistributore = Studio Bianchi s.r.l.\n"
                   "Centralino=\nUfficioTecnico=assistenza@studiobianchi.it\n");
  FVer ver(ctx);
  EXPECT_EQ(ver.findChild<QLabel*>("Label1")->text(), "Contatti ");
  EXPECT_EQ(ver.findChild<QLabel*>("Distributore")->text(), "Studio Bianchi s.r.l.");
  EXPECT_EQ(ver.findChild<QLabel*>("Label13"), nullptr);
  EXPECT_EQ(ver.MailCommerciale(), nullptr);
  ASSERT_NE(ver.MailTecnico(), nullptr);
  EXPECT_EQ(ver.MailTecnico()->text(), "assistenza@studiobianchi.it");
  std::vector<QUrl> aperti;
  ver.apriUrl = [&](const QUrl& u) { aperti.push_back(u); };
  ver.show();
  QTest::mouseClick(ver.MailTecnico(), Qt::LeftButton);
  ASSERT_EQ(aperti.size(), 1u);
  EXPECT_EQ(aperti[0].scheme(), QStringLiteral("mailto"));
  EXPECT_EQ(aperti[0].path(), ver.MailTecnico()->text());
  EXPECT_EQ(
      aperti[0].toString(QUrl::FullyEncoded),
      QStringLiteral("mailto:") + ver.MailTecnico()->text() +
          QStringLiteral("?subject=Utente%20FISCOLARIO%20-%20Comunicazione%20Contratti%20di%20"
                         "Leasing"));
  QTest::mouseClick(ver.Chiudi(), Qt::LeftButton);
  EXPECT_FALSE(ver.isVisible());

  // From the main menu, both Contatti and Versione show it modally.
  FinestraPrincipale fa(ctx);
  for (const char* voce : {"contatti", "versione"}) {
    SCOPED_TRACE(voce);
    bool visto = false;
    test::QuandoSiApre([&](QWidget* w) {
      visto = qobject_cast<FVer*>(w) != nullptr;
      w->close();
    });
    fa.Azione(voce)->trigger();
    EXPECT_TRUE(visto);
  }
}

}  // namespace
}  // namespace fcl
