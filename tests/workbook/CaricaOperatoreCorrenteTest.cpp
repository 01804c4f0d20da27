#include "register/CaricaOperatoreCorrente.h"

#include <gtest/gtest.h>

#include "InterazioneRegistrata.h"
#include "store/Database.h"
#include "store/Schema.h"

namespace fcl {
namespace {

class CaricaOperatoreCorrenteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CreaSchema(db);
    ctx.connessioneDb = &db;
    ctx.interazione = &ui;
  }
  void Operatore(const std::string& cf, const std::string& piva, const std::string& rag,
                 const std::string& cog, const std::string& nome) {
    db.Esegui("INSERT INTO COPE (OCOD, OPIVA, ORAG, OCOG, ONOME) VALUES (?, ?, ?, ?, ?)",
              {cf, piva, rag, cog, nome});
  }
  void Impegno(const std::string& cf, const std::string& des) {
    db.Esegui("INSERT INTO CTAB (TIPO, COD, DES) VALUES ('ITT', ?, ?)", {cf, des});
  }

  Database db = Database::InMemoria();
  test::InterazioneRegistrata ui;
  Contesto ctx;
};

TEST_F(CaricaOperatoreCorrenteTest, SocietaConIntermediario) {
  Operatore("01234567890", " 01234567890", "  ALFA BETA SRL ", "", "");
  Impegno("01234567890", "RSSMRA80A01H501U12345215/03/2014   ");
  ASSERT_TRUE(CaricaOperatoreCorrente(ctx, " 01234567890 "));
  const auto& o = ctx.operatoreCorrente;
  EXPECT_EQ(o.codiceFiscale, "01234567890");
  EXPECT_EQ(o.codiceFiscaleDigitato, "01234567890");
  EXPECT_EQ(o.partitaIvaDigitata, " 01234567890");
  EXPECT_EQ(o.nomeVisualizzato, "ALFA BETA SRL");
  EXPECT_EQ(o.intermediarioCF, "RSSMRA80A01H501U");
  EXPECT_EQ(o.numeroIscrizioneCaf, "12345");
  EXPECT_EQ(o.codicePredisposizione, "2");
  EXPECT_EQ(o.dataImpegno, "15/03/2014");
}

TEST_F(CaricaOperatoreCorrenteTest, PersonaFisicaECasiDellImpegno) {
  struct Caso {
    std::string_view nome;
    std::optional<std::string> des;
    std::string intermediario, caf, chi, data;
  } const kCasi[] = {
      {"senza riga ITT", std::nullopt, "", "", "0", ""},
      {"intermediario di 11 caratteri, scelta 1", "01234567890          101/02/2014", "01234567890",
       "", "1", "01/02/2014"},
      {"posizioni in caratteri, non in byte", "RSSMR\u00c080A01H501U12345101/02/2014",
       "RSSMR\u00c080A01H501U", "12345", "1", "01/02/2014"},
      {"senza intermediario la scelta non vale", std::string(16, ' ') + "     1          ", "", "",
       "0", ""},
      {"scelta diversa da 1 e 2", "RSSMRA80A01H501U     X01/02/2014", "RSSMRA80A01H501U", "", "0",
       "01/02/2014"},
      {"record corto", "RSSMRA80A01H", "RSSMRA80A01H", "", "0", ""},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.nome);
    db.Esegui("DELETE FROM COPE");
    db.Esegui("DELETE FROM CTAB");
    Operatore("RSSMRA80A01H501U", "", "", " ROSSI ", " MARIO ");
    if (c.des) Impegno("RSSMRA80A01H501U", *c.des);
    ASSERT_TRUE(CaricaOperatoreCorrente(ctx, "rssmra80a01h501u"));
    const auto& o = ctx.operatoreCorrente;
    EXPECT_EQ(o.nomeVisualizzato, "ROSSIMARIO");
    EXPECT_EQ(o.intermediarioCF, c.intermediario);
    EXPECT_EQ(o.numeroIscrizioneCaf, c.caf);
    EXPECT_EQ(o.codicePredisposizione, c.chi);
    EXPECT_EQ(o.dataImpegno, c.data);
  }
}

TEST_F(CaricaOperatoreCorrenteTest, OperatoreAssente) {
  ctx.operatoreCorrente.codiceFiscale = "VECCHIO";
  EXPECT_FALSE(CaricaOperatoreCorrente(ctx, "X' OR '1'='1"));
  EXPECT_EQ(ctx.operatoreCorrente.codiceFiscale, "");
}

}  // namespace
}  // namespace fcl
