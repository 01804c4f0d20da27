#include "store/Recordset.h"

#include <gtest/gtest.h>

#include "CartellaTemporanea.h"
#include "common/Errori.h"
#include "common/RoutineCampi.h"
#include "store/Database.h"
#include "store/Schema.h"

namespace fcl {
namespace {

class RecordsetTest : public ::testing::Test {
 protected:
  void SetUp() override { CreaSchema(db); }
  Database db = Database::InMemoria();
};

TEST_F(RecordsetTest, TrovaOCreaPerChiave) {
  for (int giro = 0; giro < 2; ++giro) {
    Recordset rs(db, "SELECT * From COPE where OCOD=?", {std::string("RSSMRA80A01H501U")});
    if (rs.RecordCount() == 0) rs.AddNew();
    rs.Imposta("OCOD", std::string("RSSMRA80A01H501U"));
    rs.Imposta("ocog", std::string(giro == 0 ? "ROSSI" : "D'ANGELO"));
    rs.Imposta("ONDT", Data{1980, 1, 1});
    rs.Update();
  }
  Recordset rs(db, "SELECT * From COPE", {}, Recordset::Modo::SolaLettura);
  ASSERT_EQ(rs.RecordCount(), 1u);
  EXPECT_EQ(CampoTesto(rs["OCOG"]), "D'ANGELO");
  EXPECT_EQ(std::get<Data>(rs["ondt"]), (Data{1980, 1, 1}));
  EXPECT_TRUE(EnNull(rs["ORAG"]));
}

TEST_F(RecordsetTest, UnApiceNelValoreNonAlteraLIstruzione) {
  db.Esegui("INSERT INTO COPE (OCOD) VALUES ('A')");
  Recordset rs(db, "SELECT * From COPE WHERE OCOD=?", {std::string("A' OR '1'='1")});
  EXPECT_EQ(rs.RecordCount(), 0u);
}

TEST_F(RecordsetTest, FindUgualeELikeDalRecordCorrente) {
  for (const char* c : {"ROMA", "ROMANO CANAVESE", "ROMANO D'EZZELINO", "MILANO", "L'AQUILA"})
    db.Esegui("INSERT INTO T_COMUNI (COMUNE, PRO) VALUES (?, 'XX')", {std::string(c)});
  Recordset rs(db, "SELECT * From T_COMUNI ORDER BY T_COMUNI.COMUNE");
  EXPECT_TRUE(rs.Find("COMUNE LIKE 'ROMAN%'"));
  EXPECT_EQ(CampoTesto(rs["COMUNE"]), "ROMANO CANAVESE");
  rs.MoveNext();
  EXPECT_TRUE(rs.Find("COMUNE LIKE 'rom%'"));
  EXPECT_EQ(CampoTesto(rs["COMUNE"]), "ROMANO D'EZZELINO");
  rs.MoveFirst();
  EXPECT_TRUE(rs.Find("COMUNE ='L''AQUILA'"));
  rs.MoveFirst();
  EXPECT_FALSE(rs.Find("COMUNE = 'TORINO'"));
  EXPECT_TRUE(rs.Eof());
}

TEST_F(RecordsetTest, DeleteEColonneInOrdine) {
  const auto colonne = db.Colonne("COPE");
  ASSERT_EQ(colonne.size(), 32u);
  EXPECT_EQ(colonne.front().nome, "OCOD");
  EXPECT_EQ(colonne[5].tipo, TipoCampo::Data);
  EXPECT_EQ(colonne.back().nome, "OSTCSPRO");
  db.Esegui("INSERT INTO CTAB VALUES ('ITT','A','x'), ('ITT','B','y')");
  Recordset rs(db, "SELECT * FROM CTAB WHERE TIPO=?", {std::string("ITT")});
  rs.Delete();
  EXPECT_EQ(std::get<std::int64_t>(db.Scalare("SELECT count(*) FROM CTAB")), 1);
}

TEST(Schema, AggiornaStrutturaAggiungeSoloLeColonneMancanti) {
  Database db = Database::InMemoria();
  db.Esegui("CREATE TABLE COPE (OCOD Text (16), ORAG Text (70), OSTCCF Text (16))");
  db.Esegui("INSERT INTO COPE VALUES ('X', 'ALFA', 'CF')");
  AggiornaStruttura(db);
  const auto colonne = db.Colonne("COPE");
  EXPECT_EQ(colonne.size(), 3u + 13u);
  EXPECT_EQ(ValoreComeTesto(db.Scalare("SELECT OSTCCF FROM COPE")), "CF");
}

TEST(Database, UnFileCheNonEDatabaseRestaIntatto) {
  test::CartellaTemporanea dir;
  const auto f = dir / "FCL2013.mdb";
  test::ScriviFile(f, std::string("Standard Jet DB\0\0\0\0 not sqlite", 31));
  const std::string prima = test::LeggiFile(f);
  EXPECT_THROW(Database(f, Database::Modo::LetturaScrittura), ErroreDatabase);
  EXPECT_EQ(test::LeggiFile(f), prima);
}

}  // namespace
}  // namespace fcl
