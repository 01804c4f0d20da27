#include "lookup/RicercaTabella.h"

#include <gtest/gtest.h>

#include "common/Errori.h"
#include "lookup/RiempiLista.h"
#include "store/Schema.h"

namespace fcl {
namespace {

std::vector<std::string> Localita(const ListaDati& l) {
  std::vector<std::string> v;
  for (const auto& r : l.Righe()) v.push_back(r.celle[1]);
  return v;
}

class RicercaTabellaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CreaSchema(db);
    for (const auto& [comune, pro, cab] :
         {std::tuple{"ROMANO DI LOMBARDIA", "BG", ""}, std::tuple{"MILANO", "MI", "01600"},
          std::tuple{"ROMA", "RM", "03200"}, std::tuple{"ADRIA", "RO", ""},
          std::tuple{"TORINO", "TO", ""}}) {
      db.Esegui("INSERT INTO T_COMUNI (COMUNE, PRO, CAB) VALUES (?, ?, ?)",
                {std::string(comune), std::string(pro), std::string(cab)});
    }
  }
  Database db = Database::InMemoria();
};

TEST_F(RicercaTabellaTest, ElenchiDeiDueTipi) {
  const auto comuni = PreparaElenco("COMUN");
  ASSERT_TRUE(comuni.has_value());
  EXPECT_EQ(comuni->titolo, " Elenco Comuni");
  EXPECT_EQ(comuni->nomiColonne, (std::vector<std::string>{"Localita", "Provincia"}));
  EXPECT_FALSE(PreparaElenco("ALTRO").has_value());
  const auto attivita = ElencoAttivita();
  EXPECT_EQ(attivita.titolo, "Ricerca Codici Attività ATECO 2007");
  EXPECT_EQ(attivita.nomiColonne, (std::vector<std::string>{"Codice", "Descrizione"}));
}

TEST_F(RicercaTabellaTest, CercaFiltraUnaVoltaEResetMostraTutto) {
  RicercaTabella r(db, *PreparaElenco("COMUN"));
  r.Lista();  // the opening list: every row, in name order
  EXPECT_EQ(Localita(r.Dati()),
            (std::vector<std::string>{"ADRIA", "MILANO", "ROMA", "ROMANO DI LOMBARDIA", "TORINO"}));
  std::vector<std::string> titoli;
  for (const auto& c : r.Dati().Colonne()) titoli.push_back(c.titolo);
  EXPECT_EQ(titoli, (std::vector<std::string>{" ", "Localita", "Provincia", "Cab"}));

  EXPECT_FALSE(r.Cerca(""));  // an empty search box does nothing
  EXPECT_EQ(r.Dati().Righe().size(), 5u);

  EXPECT_TRUE(r.Cerca("rom"));
  EXPECT_EQ(Localita(r.Dati()), (std::vector<std::string>{"ROMA", "ROMANO DI LOMBARDIA"}));
  EXPECT_EQ(r.Scegli(1), (std::vector<std::string>{"ROMANO DI LOMBARDIA", "BG"}));
  EXPECT_EQ(r.Scegli(std::nullopt), (std::vector<std::string>{"", ""}));

  // The filter was consumed: a new fill (Reset) shows every row again.
  r.Reset();
  EXPECT_EQ(r.Dati().Righe().size(), 5u);
  EXPECT_TRUE(r.Cerca("RO"));  // also ADRIA, through its province
  EXPECT_EQ(Localita(r.Dati()), (std::vector<std::string>{"ADRIA", "ROMA", "ROMANO DI LOMBARDIA"}));
}

TEST_F(RicercaTabellaTest, TabellaAtecoVuotaEPoiCaricata) {
  RicercaTabella r(db, ElencoAttivita());
  r.Lista();
  EXPECT_TRUE(r.TabellaVuota());
  EXPECT_TRUE(r.Dati().Righe().empty());
  db.Esegui(
      "INSERT INTO ATECO2007 (CODICE, DESCRIZIONE) VALUES ('01.11.10', 'Coltivazione di "
      "cereali'), ('10.71.10', 'Produzione di prodotti di panetteria freschi')");
  r.Cerca("panetteria");
  EXPECT_FALSE(r.TabellaVuota());
  EXPECT_EQ(r.Scegli(0),
            (std::vector<std::string>{"10.71.10", "Produzione di prodotti di panetteria freschi"}));
}

TEST(RiempiLista, AllineamentiPerTipoDichiaratoEStatementErrato) {
  Database db = Database::InMemoria();
  db.Esegui("CREATE TABLE T (NOME TEXT, IMPORTO DOUBLE, DataOp DATE, N INTEGER)");
  db.Esegui("INSERT INTO T VALUES ('a', 1500.5, '2015-11-05', 7)");
  ListaDati l;
  std::string filtro;
  RiempiLista(l, db, "SELECT NOME, IMPORTO, DataOp, N FROM T", filtro);
  const auto& c = l.Colonne();
  ASSERT_EQ(c.size(), 6u);
  EXPECT_EQ(c[1].allineamento, ListaDati::Allineamento::Sinistra);
  EXPECT_EQ(c[2].allineamento, ListaDati::Allineamento::Destra);
  EXPECT_EQ(c[3].allineamento, ListaDati::Allineamento::Centro);
  EXPECT_EQ(c[4].allineamento, ListaDati::Allineamento::Sinistra);
  EXPECT_EQ(l.Righe()[0].celle,
            (std::vector<std::string>{"", "a", "1.501", "05/11/2015", "7", "20151105"}));

  EXPECT_THROW(RiempiLista(l, db, "SELECT * FROM NESSUNA", filtro), ErroreDatabase);
  EXPECT_EQ(l.Righe().size(), 1u);  // the list stays as it was
}

}  // namespace
}  // namespace fcl
