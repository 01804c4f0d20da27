#include "store/CopiaImpegno.h"

#include <gtest/gtest.h>

#include "InterazioneRegistrata.h"
#include "common/RoutineCampi.h"
#include "store/Recordset.h"
#include "store/Schema.h"

namespace fcl {
namespace {

class CopiaImpegnoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CreaSchema(db);
    ctx.connessioneDb = &db;
    ctx.interazione = &ui;
    // A fiscal code with an apostrophe must go through every statement intact.
    for (const char* cod : {"RSSMRA80A01H501U", "01234567890", "D'ANGELO"})
      db.Esegui("INSERT INTO COPE (OCOD) VALUES (?)", {std::string(cod)});
    db.Esegui(
        "INSERT INTO CTAB VALUES ('ITT', '01234567890', 'VECCHIO'), ('ITT', 'D''ANGELO', 'UNO'), "
        "('ITT', 'D''ANGELO', 'DUE'), ('ITT', 'ALTRO', 'ORFANO'), ('REL', '002', '01/01/2016')");
  }

  // The ITT rows by code, in code order.
  std::vector<std::pair<std::string, std::string>> RigheItt() {
    std::vector<std::pair<std::string, std::string>> r;
    Recordset rs(db, "SELECT * FROM CTAB WHERE TIPO='ITT' ORDER BY COD, DES", {},
                 Recordset::Modo::SolaLettura);
    for (; !rs.Eof(); rs.MoveNext())
      r.emplace_back(ValoreComeTesto(rs["COD"]), ValoreComeTesto(rs["DES"]));
    return r;
  }

  Database db = Database::InMemoria();
  test::InterazioneRegistrata ui;
  Contesto ctx;
};

TEST_F(CopiaImpegnoTest, OgniOperatoreHaUnaSolaRigaItt) {
  const RecordImpegno impegno{"01234567890", "1234567", "0", "15/06/2016"};
  ASSERT_TRUE(CopiaImpegno(ctx, impegno));

  ASSERT_EQ(ui.voci.size(), 1u);
  EXPECT_EQ(ui.voci[0].tipo, "domanda");
  EXPECT_EQ(
      ui.voci[0].testo,
      "Questa procedura COPIA i dati di impegno alla trasmissione da  questo operatore a tutti gli "
      "altri. Confermi? ");
  EXPECT_EQ(ui.voci[0].titolo, "Copia dati");
  EXPECT_EQ(ui.voci[0].icona, Icona::Informazione);

  const std::string des =
      "01234567890     123450"
      "15/06/2016"
      "   ";
  const std::vector<std::pair<std::string, std::string>> attese = {
      {"01234567890", des}, {"ALTRO", "ORFANO"}, {"D'ANGELO", des}, {"RSSMRA80A01H501U", des}};
  EXPECT_EQ(RigheItt(), attese);
  EXPECT_EQ(des[21], '0');
  EXPECT_EQ(ValoreComeTesto(db.Scalare("SELECT DES FROM CTAB WHERE TIPO='REL'")), "01/01/2016");
}

TEST_F(CopiaImpegnoTest, LaRispostaNoNonCambiaNulla) {
  const auto prima = RigheItt();
  ui.risposte.push_back(Risposta::No);
  EXPECT_FALSE(CopiaImpegno(ctx, {"01234567890", "", "1", ""}));
  EXPECT_EQ(RigheItt(), prima);
}

}  // namespace
}  // namespace fcl
