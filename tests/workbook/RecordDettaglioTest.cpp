#include "workbook/RecordDettaglio.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Record.h"
#include "common/CodiceProduttore.h"
#include "workbook/CodificaRiga.h"
#include "workbook/DefinizioneQuadro.h"

namespace fcl {
namespace {

using test::Dx;
using test::Sx;

class RecordDettaglioTest : public ::testing::Test {
 protected:
  RecordDettaglio record{"12345678901", [this](std::string_view r) { righe.emplace_back(r); }};
  std::vector<std::string> righe;
};

TEST_F(RecordDettaglioTest, CorniceDelRecord) {
  record.InizioFoglio('D', 6);
  record.NuovaRiga();
  record.Campo("FE001009", "N1", false);
  record.FineFoglio();
  ASSERT_EQ(righe.size(), 1u);
  const std::string& r = righe[0];
  ASSERT_EQ(r.size(), 1900u);
  std::string atteso(1898, ' ');
  atteso.replace(0, 1, "D");
  atteso.replace(1, 11, "12345678901");  // an 11-character code leaves 13-17 blank
  atteso.replace(17, 8, "00000001");
  atteso.replace(73, 11, kCodiceProduttore);
  atteso.replace(89, 24, "FE001009N1              ");
  atteso.replace(1897, 1, "A");
  EXPECT_EQ(r, atteso + "\r\n");
}

// A record holds the quadro's rows; module numbers go on across sheets.
TEST_F(RecordDettaglioTest, RighePerRecordENumeroModuli) {
  record.InizioFoglio('C', 3);
  for (int i = 0; i < 4; ++i) {
    record.NuovaRiga();
    record.Campo("FA00" + std::to_string(record.RigaNelRecord()) + "001", "X", false);
  }
  record.FineFoglio();
  record.InizioFoglio('C', 10);
  record.NuovaRiga();
  record.FineFoglio();
  ASSERT_EQ(righe.size(), 3u);
  EXPECT_EQ(test::Campi(righe[0]),
            (std::vector<std::pair<std::string, std::string>>{
                {"FA001001", Sx("X")}, {"FA002001", Sx("X")}, {"FA003001", Sx("X")}}));
  EXPECT_EQ(test::Campi(righe[1]),
            (std::vector<std::pair<std::string, std::string>>{{"FA001001", Sx("X")}}));
  for (std::size_t i = 0; i < righe.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(righe[i].substr(17, 8), "0000000" + std::to_string(i + 1));
    EXPECT_EQ(righe[i][0], 'C');
    EXPECT_EQ(righe[i].substr(1, 16), "12345678901     ");
  }
  EXPECT_TRUE(test::Campi(righe[2]).empty());  // a row without fields still makes its record
}

// NE: 10 rows of 8 fields; the 76th field (row 10, field 4) opens a new record at 90 with the same
// row number; the 11th row opens a third one.
TEST_F(RecordDettaglioTest, SettantaseiesimoCampoApreUnNuovoModulo) {
  const DefinizioneQuadro& ne = *TrovaQuadro("NE");
  TotaliImport t;
  record.InizioFoglio('D', ne.righePerRecord);
  for (int i = 0; i < 11; ++i) {
    CelleRiga c{
        "12345678901", "RSSMRA80A01H501U", "01/03/2013", "02/03/2013", "NC1", "100", "22", "1"};
    CodificaRiga(ne, true, c, true, record, t, [](int, std::string_view) { FAIL(); });
  }
  record.FineFoglio();
  ASSERT_EQ(righe.size(), 3u);
  const auto primo = test::Campi(righe[0]);
  ASSERT_EQ(primo.size(), 75u);
  EXPECT_EQ(primo.back().first, "NE010003");
  EXPECT_EQ(righe[0].substr(1865, 24), "NE010003" + Dx("01032013"));
  const auto secondo = test::Campi(righe[1]);
  ASSERT_EQ(secondo.size(), 5u);
  EXPECT_EQ(righe[1].substr(89, 24), "NE010004" + Dx("02032013"));
  EXPECT_EQ(secondo.back().first, "NE010008");
  const auto terzo = test::Campi(righe[2]);
  ASSERT_EQ(terzo.size(), 8u);
  EXPECT_EQ(terzo.front().first, "NE001001");
  EXPECT_EQ(righe[2].substr(17, 8), "00000003");
}

TEST_F(RecordDettaglioTest, ContinuazioneDeiTestiLunghi) {
  using Campi = std::vector<std::pair<std::string, std::string>>;
  struct Caso {
    std::string_view nome;
    std::string valore;
    Campi attesi;
  } const kCasi[] = {
      {"16 caratteri: un campo", "ABCDEFGHIJKLMNOP", {{"FN001010", "ABCDEFGHIJKLMNOP"}}},
      {"40 caratteri: tre campi",
       "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd",
       {{"FN001010", "ABCDEFGHIJKLMNOP"},
        {"FN001010", "+QRSTUVWXYZ01234"},
        {"FN001010", Sx("+56789abcd")}}},
      {"31 caratteri: due campi",
       "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234",
       {{"FN001010", "ABCDEFGHIJKLMNOP"}, {"FN001010", "+QRSTUVWXYZ01234"}}},
      {"17-31 vuoti: il valore finisce",
       "ABCDEFGHIJKLMNOP" + std::string(15, ' ') + "XYZ",
       {{"FN001010", "ABCDEFGHIJKLMNOP"}}},
      {"lo spazio al bordo di un pezzo si perde",
       "VIA GIUSEPPE GA RIBALDI",
       {{"FN001010", Sx("VIA GIUSEPPE GA")}, {"FN001010", Sx("+RIBALDI")}}},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.nome);
    righe.clear();
    record.InizioFoglio('D', 3);
    record.NuovaRiga();
    record.Campo("FN001010", c.valore, true);
    record.FineFoglio();
    ASSERT_EQ(righe.size(), 1u);
    EXPECT_EQ(test::Campi(righe[0]), c.attesi);
  }
  // Without continuation (FA ... DF) a long value is cut to 16.
  righe.clear();
  record.InizioFoglio('D', 6);
  record.NuovaRiga();
  record.Campo("FE001009", "ABCDEFGHIJKLMNOPQRST", false);
  record.FineFoglio();
  EXPECT_EQ(test::Campi(righe[0]), (Campi{{"FE001009", "ABCDEFGHIJKLMNOP"}}));
}

// Characters outside ASCII take one byte each in Windows-1252, so positions hold.
TEST_F(RecordDettaglioTest, CaratteriWindows1252) {
  record.InizioFoglio('D', 3);
  record.NuovaRiga();
  record.Campo("FN001001", "CITTÀ", false);
  record.Campo("FN001002", "NIÑO", false);
  record.FineFoglio();
  ASSERT_EQ(righe[0].size(), 1900u);
  EXPECT_EQ(righe[0].substr(97, 16), Sx("CITT\xC0"));
  EXPECT_EQ(righe[0].substr(121, 16), Sx("NI\xD1O"));
}

}  // namespace
}  // namespace fcl
