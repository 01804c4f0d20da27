#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "AiutoTest.h"
#include "common/ui/ListaVista.h"
#include "common/ui/RoutineCampiQt.h"
#include "lookup/ui/FTAB.h"
#include "lookup/ui/FTABSG.h"
#include "store/Schema.h"

namespace fcl {
namespace {

std::vector<std::string> Localita(const ListaVista& l) {
  std::vector<std::string> v;
  for (const auto& r : l.Dati().Righe()) v.push_back(r.celle[1]);
  return v;
}

class RicercaTest : public ::testing::Test {
 protected:
  RicercaTest() {
    CreaSchema(db);
    for (const auto& [comune, pro] :
         {std::pair{"MILANO", "MI"}, std::pair{"ROMA", "RM"},
          std::pair{"ROMANO DI LOMBARDIA", "BG"}, std::pair{"TORINO", "TO"}}) {
      db.Esegui("INSERT INTO T_COMUNI (COMUNE, PRO, CAB) VALUES (?, ?, '')",
                {std::string(comune), std::string(pro)});
    }
  }
  void CaricaAteco() {
    db.Esegui(
        "INSERT INTO ATECO2007 (CODICE, DESCRIZIONE) VALUES ('01.11.10', 'Coltivazione di "
        "cereali'), ('10.71.10', 'Produzione di prodotti di panetteria freschi'), ('47.24.10', "
        "'Commercio al dettaglio di pane')");
  }
  Database db = Database::InMemoria();
};

TEST_F(RicercaTest, ComuniConIlSemeCercaEScelta) {
  QWidget finestra;
  auto* comune = new QLineEdit(QStringLiteral("ROM"), &finestra);
  auto* provincia = new QLineEdit(QStringLiteral("XX"), &finestra);
  std::vector<std::string> primaLista;
  QString seme;
  test::QuandoSiApre([&](QWidget* w) {
    auto* ftab = qobject_cast<FTAB*>(w);
    ASSERT_NE(ftab, nullptr);
    EXPECT_EQ(ftab->windowTitle(), QStringLiteral("Ricerca Tabelle"));
    EXPECT_EQ(ftab->Titolo()->text(), QStringLiteral(" Elenco Comuni"));
    seme = ftab->Ricerca()->text();
    primaLista = Localita(*ftab->Lista());  // the seed is searched at once
    ftab->Lista()->SelezionaRiga("ROMANO DI LOMBARDIA", "Localita");
    ftab->Lista()->setFocus();
    QTest::keyClick(ftab->Lista(), Qt::Key_Return);
  });
  EXPECT_TRUE(ScegliLocalita(comune, provincia, "COMUN", db));
  EXPECT_EQ(seme, QStringLiteral("ROM"));
  EXPECT_EQ(primaLista, (std::vector<std::string>{"ROMA", "ROMANO DI LOMBARDIA"}));
  EXPECT_EQ(comune->text(), QStringLiteral("ROMANO DI LOMBARDIA"));
  EXPECT_EQ(provincia->text(), QStringLiteral("BG"));
}

TEST_F(RicercaTest, ComuniLaPrimaListaParteDaQuantoScritto) {
  const std::vector<std::string> tutti = {"MILANO", "ROMA", "ROMANO DI LOMBARDIA", "TORINO"};
  struct Caso {
    const char* seme;
    std::vector<std::string> lista;
    std::string selezionato;
  } const kCasi[] = {
      {"", tutti, "MILANO"},
      {"  ", tutti, "MILANO"},
      {"rom", {"ROMA", "ROMANO DI LOMBARDIA"}, "ROMA"},
      {"lombardia", {"ROMANO DI LOMBARDIA"}, "ROMANO DI LOMBARDIA"},
      {"Roma ", {"ROMA", "ROMANO DI LOMBARDIA"}, "ROMA"},  // the row equal to the text
      {"ROMANO", {"ROMANO DI LOMBARDIA"}, "ROMANO DI LOMBARDIA"},
      {"NAPOLI", tutti, "MILANO"},  // contained nowhere: the whole list, the text kept
  };
  for (const Caso& c : kCasi) {
    SCOPED_TRACE(c.seme);
    FTAB ftab(db, *PreparaElenco("COMUN"), c.seme);
    EXPECT_EQ(Localita(*ftab.Lista()), c.lista);
    EXPECT_EQ(ftab.Ricerca()->text(), QString::fromUtf8(c.seme).trimmed());
    EXPECT_EQ(ftab.Lista()->LeggiSelezione({"Localita"}),
              (std::vector<std::string>{c.selezionato}));
    EXPECT_TRUE(ftab.Avviso()->isHidden());
  }
  // "Cerca" with another text: again on the row equal to it.
  FTAB ftab(db, *PreparaElenco("COMUN"), "");
  ftab.Ricerca()->setText(QStringLiteral("roma"));
  QTest::mouseClick(ftab.BottoneCerca(), Qt::LeftButton);
  EXPECT_EQ(ftab.Lista()->LeggiSelezione({"Localita"}), std::vector<std::string>{"ROMA"});
}

TEST_F(RicercaTest, ComuniChiudereOEscLascianoLeCaselle) {
  struct Caso {
    const char* nome;
    std::function<void(FTAB*)> chiudi;
  } const kCasi[] = {
      {"Chiudi", [](FTAB* f) { QTest::mouseClick(f->BottoneChiudi(), Qt::LeftButton); }},
      {"Esc sulla lista", [](FTAB* f) { QTest::keyClick(f->Lista(), Qt::Key_Escape); }},
      {"Esc su un pulsante", [](FTAB* f) { QTest::keyClick(f->BottoneReset(), Qt::Key_Escape); }},
      {"clic sullo sfondo",
       [](FTAB* f) { QTest::mouseClick(f, Qt::LeftButton, {}, QPoint(2, 2)); }},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.nome);
    QWidget finestra;
    auto* comune = new QLineEdit(QStringLiteral("Roma"), &finestra);
    auto* provincia = new QLineEdit(QStringLiteral("RM"), &finestra);
    test::QuandoSiApre([&](QWidget* w) { c.chiudi(qobject_cast<FTAB*>(w)); });
    EXPECT_FALSE(ScegliLocalita(comune, provincia, "COMUN", db));
    EXPECT_EQ(comune->text(), QStringLiteral("Roma"));
    EXPECT_EQ(provincia->text(), QStringLiteral("RM"));
  }
}

TEST_F(RicercaTest, ResetSvuotaLaRicercaEMostraTutto) {
  FTAB ftab(db, *PreparaElenco("COMUN"), "");
  ftab.Ricerca()->setText(QStringLiteral("milano"));
  QTest::keyClick(ftab.Ricerca(), Qt::Key_Return);  // Enter in the search box searches
  EXPECT_EQ(Localita(*ftab.Lista()), (std::vector<std::string>{"MILANO"}));
  EXPECT_EQ(ftab.RisultatoScelta(), (std::vector<std::string>{""}));  // no row chosen
  QTest::mouseClick(ftab.BottoneReset(), Qt::LeftButton);
  EXPECT_TRUE(ftab.Ricerca()->text().isEmpty());
  EXPECT_EQ(ftab.Lista()->Dati().Righe().size(), 4u);
  // An empty search box: "Cerca" does nothing.
  ftab.Lista()->OrdinaColonna(1);
  QTest::mouseClick(ftab.BottoneCerca(), Qt::LeftButton);
  EXPECT_EQ(Localita(*ftab.Lista()),
            (std::vector<std::string>{"TORINO", "ROMANO DI LOMBARDIA", "ROMA", "MILANO"}));
}

TEST_F(RicercaTest, AttivitaEscChiudiEScelta) {
  CaricaAteco();
  struct Caso {
    const char* nome;
    std::function<void(FTABSG*)> azione;
    std::optional<std::pair<std::string, std::string>> atteso;
  } const kCasi[] = {
      {"Esc: nessuna scelta, le caselle restano",
       [](FTABSG* f) { QTest::keyClick(f->Lista(), Qt::Key_Escape); }, std::nullopt},
      {"Chiudi: scelta vuota, la casella si svuota",
       [](FTABSG* f) { QTest::mouseClick(f->BottoneChiudi(), Qt::LeftButton); },
       std::pair{std::string(), std::string()}},
      {"Spazio sulla lista dopo la ricerca",
       [](FTABSG* f) {
         f->Ricerca()->setText(QStringLiteral("pane"));
         QTest::mouseClick(f->BottoneCerca(), Qt::LeftButton);
         f->Lista()->SelezionaRiga("47.24.10", "Codice");
         QTest::keyClick(f->Lista(), Qt::Key_Space);
       },
       std::pair{std::string("47.24.10"), std::string("Commercio al dettaglio di pane")}},
      {"doppio clic",
       [](FTABSG* f) {
         ListaVista* l = f->Lista();
         const QRect r = l->visualRect(l->model()->index(1, 1));
         QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, r.center());
         QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, r.center());
       },
       std::pair{std::string("10.71.10"),
                 std::string("Produzione di prodotti di panetteria freschi")}},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.nome);
    test::QuandoSiApre([&](QWidget* w) {
      auto* f = qobject_cast<FTABSG*>(w);
      ASSERT_NE(f, nullptr);
      EXPECT_FALSE(f->Avviso()->isVisible());
      c.azione(f);
    });
    const auto scelta = FTABSG::ScegliAttivita(db, nullptr);
    ASSERT_EQ(scelta.has_value(), c.atteso.has_value());
    if (scelta) {
      EXPECT_EQ(scelta->codice, c.atteso->first);
      EXPECT_EQ(scelta->descrizione, c.atteso->second);
    }
  }
}

TEST_F(RicercaTest, AttivitaConLaTabellaVuotaSpiegaComeCaricarla) {
  FTABSG f(db);
  f.show();
  EXPECT_TRUE(f.Avviso()->isVisible());
  // The desktop user is sent to the menu item, not to a command line.
  EXPECT_TRUE(f.Avviso()->text().contains(
      QStringLiteral("menu Funzioni \u2192 Importa tabella attività ATECO...")))
      << f.Avviso()->text().toStdString();
  EXPECT_FALSE(f.Avviso()->text().contains(QStringLiteral("fiscolario-cli")));
  EXPECT_EQ(f.Titolo()->text(), QStringLiteral("Ricerca Codici Attività ATECO 2007"));
  // Enter with no row chooses nothing and keeps the window open.
  QTest::keyClick(f.Lista(), Qt::Key_Return);
  EXPECT_TRUE(f.isVisible());
  EXPECT_FALSE(f.Risultato().has_value());
  CaricaAteco();
  QTest::mouseClick(f.BottoneReset(), Qt::LeftButton);
  EXPECT_FALSE(f.Avviso()->isVisible());
  EXPECT_EQ(f.Lista()->Dati().Righe().size(), 3u);
}

}  // namespace
}  // namespace fcl
