#include "store/LettoreTabella.h"

#include <gtest/gtest.h>

#include <functional>

#include "common/Errori.h"

namespace fcl {
namespace {

std::string Messaggio(const std::function<void()>& f) {
  try {
    f();
  } catch (const ErroreDatabase& e) {
    return e.what();
  }
  return "";
}

TEST(LettoreTabella, RigaPerRigaSoloLeColonneChieste) {
  Database db = Database::InMemoria();
  db.Esegui("CREATE TABLE Cope (ocod Text, ORAG Text, ONDT Date, ALTRA Text)");
  db.Esegui("INSERT INTO Cope VALUES ('A', 'UNO', '1980-01-02', 'X'), ('B', NULL, NULL, 'Y')");
  LettoreTabella t(db, "COPE", {"OCOD", "ORAG", "ONDT", "MANCA"});
  EXPECT_TRUE(t.Ha("ocod"));
  EXPECT_FALSE(t.Ha("MANCA"));
  EXPECT_FALSE(t.Ha("ALTRA"));  // not asked for
  ASSERT_TRUE(t.Avanza());
  EXPECT_EQ(ValoreComeTesto(t["OCOD"]), "A");
  EXPECT_EQ(std::get<Data>(t["ONDT"]), (Data{1980, 1, 2}));
  ASSERT_TRUE(t.Avanza());
  EXPECT_TRUE(EnNull(t["ORAG"]));
  EXPECT_FALSE(t.Avanza());
  EXPECT_EQ(t.Righe(), 2u);
  EXPECT_EQ(Messaggio([&] { (void)t["MANCA"]; }),
            "La tabella COPE dell'archivio collegato non ha la colonna MANCA.");
}

// What a hostile file may hold instead of a table, or beyond what a register needs.
TEST(LettoreTabella, SoloTabelleVereEEntroILimiti) {
  Database db = Database::InMemoria();
  db.Esegui(
      "CREATE VIEW COPE AS WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n) SELECT "
      "x AS OCOD FROM n");
  db.Esegui("CREATE TABLE OPE (OCF Text, NOTA Text)");
  db.Esegui(
      "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n LIMIT 11) INSERT INTO OPE "
      "SELECT printf('%016d', x), hex(zeroblob(50)) FROM n");
  EXPECT_EQ(Messaggio([&] { LettoreTabella(db, "COPE", {"OCOD"}); }),
            "L'archivio collegato non ha la tabella COPE.");
  EXPECT_EQ(Messaggio([&] { LettoreTabella(db, "CTAB", {"COD"}); }),
            "L'archivio collegato non ha la tabella CTAB.");

  struct Caso {
    const char* nome;
    LettoreTabella::Limiti limiti;
    int lunghezza;      // of any value, bytes
    std::size_t lette;  // rows read before the stop
    std::string messaggio;
  } const kCasi[] = {
      {"righe",
       {10, 1u << 20},
       1000,
       0,
       "La tabella OPE dell'archivio collegato ha più di 10 righe: non è un archivio di "
       "operatori."},
      {"byte",
       {100, 1000},
       1000,
       8,
       "La tabella OPE dell'archivio collegato contiene più di 1000 byte di dati: non è un "
       "archivio di operatori."},
      {"valore troppo lungo",
       {100, 1u << 20},
       99,
       0,
       "La tabella OPE dell'archivio collegato contiene un valore più lungo di 99 byte: non è un "
       "archivio di operatori."},
      {"entro i limiti", {11, 1u << 20}, 1000, 11, ""},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.nome);
    LimitaValori(db, c.lunghezza);
    std::size_t lette = 0;
    EXPECT_EQ(Messaggio([&] {
                LettoreTabella t(db, "OPE", {"OCF", "NOTA"}, c.limiti);
                while (t.Avanza()) ++lette;
              }),
              c.messaggio);
    EXPECT_EQ(lette, c.lette);
  }
}

}  // namespace
}  // namespace fcl
