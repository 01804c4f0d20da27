#include "workbook/CodificaRiga.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "Record.h"
#include "workbook/DefinizioneQuadro.h"

namespace fcl {
namespace {

using test::Dx;
using test::Sx;
using Campi = std::vector<std::pair<std::string, std::string>>;

CelleRiga Cel(std::initializer_list<std::pair<char, std::string>> celle) {
  CelleRiga r;
  for (const auto& [c, v] : celle) r[c - 'A'] = v;
  return r;
}

struct Esito {
  Campi campi;
  std::string segnalate;  // letters of the columns reported
  TotaliImport totali;
};

Esito Codifica(std::string_view quadro, const CelleRiga& celle, bool zeri = true,
               bool frCorrente = true) {
  const DefinizioneQuadro* q = TrovaQuadro(quadro);
  EXPECT_NE(q, nullptr);
  std::vector<std::string> righe;
  RecordDettaglio record("RSSMRA80A01H501U", [&](std::string_view r) { righe.emplace_back(r); });
  Esito e;
  record.InizioFoglio(q->tipoRecord, q->righePerRecord);
  CelleRiga c = celle;
  CodificaRiga(*q, frCorrente, c, zeri, record, e.totali,
               [&](int colonna, std::string_view) { e.segnalate += LetteraColonna(colonna); });
  record.FineFoglio();
  EXPECT_EQ(righe.size(), 1u);
  if (!righe.empty()) e.campi = test::Campi(righe[0]);
  return e;
}

// Each quadro's column table: which columns are written, under which code, with which value.
TEST(CodificaRiga, TabellaDelleColonneDiOgniQuadro) {
  const std::string pi = "12345678901";
  const std::string cf = "RSSMRA80A01H501U";
  struct Caso {
    std::string_view nome;
    std::string_view quadro;
    CelleRiga celle;
    Campi attesi;
    bool zeri = true;
    bool frCorrente = true;
    std::string segnalate = "";
  } const kCasi[] = {
      {"FA completa: A vince su B e C; importi NU+; Q mai",
       "FA",
       Cel({{'A', pi},
            {'B', cf},
            {'C', "1"},
            {'D', "3"},
            {'E', "2"},
            {'F', "A"},
            {'G', "1234,99"},
            {'H', "-50"},
            {'I', "0"},
            {'J', "0,4"},
            {'P', "7"},
            {'Q', "999"},
            {'Y', "5"}}),
       {{"FA001001", pi + "     "},
        {"FA001004", Dx("3")},
        {"FA001005", Dx("2")},
        {"FA001006", Sx("A")},
        {"FA001007", Dx("1234")},
        {"FA001010", Dx("0")},
        {"FA001016", Dx("7")}}},
      {"FA senza A: B scritto, C no", "FA", Cel({{'B', cf}, {'C', "1"}}), {{"FA001002", cf}}},
      {"FA senza A e B, C=1", "FA", Cel({{'C', "1"}}), {{"FA001003", Dx("1")}}},
      {"FA C diverso da 1 non scritto", "FA", Cel({{'C', "X"}}), {}},
      {"FA A=0: A saltata, B no perche' A non e' vuota", "FA", Cel({{'A', "0"}, {'B', cf}}), {}},
      {"FA PI corta con zeri", "FA", Cel({{'A', "123"}}), {{"FA001001", "00000000123     "}}},
      {"FA PI corta senza zeri", "FA", Cel({{'A', "123"}}), {{"FA001001", Sx("123")}}, false},
      {"SA",
       "SA",
       Cel({{'A', "123"}, {'B', "5"}, {'C', "0"}, {'D', "A"}, {'E', "9"}}),
       {{"SA001001", Sx("00000000123")}, {"SA001002", Dx("5")}, {"SA001004", Dx("A")}}},
      {"SA CF11 lungo 16 e importo negativo non scritto",
       "SA",
       Cel({{'A', cf}, {'B', "-3"}}),
       {{"SA001001", cf}}},
      {"BL codici fissi",
       "BL",
       Cel({{'A', "ROSSI"}, {'B', "MARIO"}, {'C', "05/03/1970"}, {'D', "PARIGI"}, {'E', "EE"},
            {'F', "29"},    {'I', "4"},     {'K', "FR123"},      {'L', "X"},      {'M', "1"},
            {'N', "0"},     {'O', "1000"},  {'P', "220"},        {'Q', "1"},      {'R', "2"},
            {'S', "3"},     {'T', "4"},     {'U', "5"},          {'V', "6"},      {'W', "7"},
            {'X', "8"},     {'Y', "9"}}),
       {{"BL001001", Sx("ROSSI")},  {"BL001002", Sx("MARIO")}, {"BL001003", Dx("05031970")},
        {"BL001004", Sx("PARIGI")}, {"BL001005", Sx("EE")},    {"BL001006", Dx("29")},
        {"BL001009", Dx("004")},    {"BL002001", Sx("FR123")}, {"BL002002", Dx("1")},
        {"BL002003", Dx("1")},      {"BL003001", Dx("1000")},  {"BL003002", Dx("220")},
        {"BL004001", Dx("1")},      {"BL004002", Dx("2")},     {"BL005001", Dx("3")},
        {"BL005002", Dx("4")},      {"BL006001", Dx("5")},     {"BL006002", Dx("6")},
        {"BL007001", Dx("7")},      {"BL008001", Dx("8")},     {"BL008002", Dx("9")}}},
      {"BL codice Stato senza zeri",
       "BL",
       Cel({{'G', "ACME"}, {'I', "4"}}),
       {{"BL001007", Sx("ACME")}, {"BL001009", Dx("4")}},
       false},
      {"FE",
       "FE",
       Cel({{'A', pi},
            {'B', cf},
            {'C', "X"},
            {'D', "1"},
            {'E', "A"},
            {'F', "si"},
            {'G', "31/12/2013"},
            {'H', "1/2/2013"},
            {'I', "FATTURA-NUMERO-12345"},
            {'J', "1234,99"},
            {'K', "250"},
            {'L', "1"},
            {'M', "1"}}),
       {{"FE001001", pi + "     "},
        {"FE001002", cf},
        {"FE001003", Dx("1")},
        {"FE001004", Dx("1")},
        {"FE001005", Sx("A")},
        {"FE001006", Dx("1")},
        {"FE001007", Dx("31122013")},
        {"FE001008", Dx("01022013")},
        {"FE001009", "FATTURA-NUMERO-1"},
        {"FE001010", Dx("1234")},
        {"FE001011", Dx("250")},
        {"FE001012", Dx("1")}}},
      {"FR, intestazione C3 con data",
       "FR",
       Cel({{'A', "123"},
            {'B', "1"},
            {'C', "01/01/2013"},
            {'D', "02/01/2013"},
            {'E', "1"},
            {'F', "1"},
            {'G', "1"},
            {'H', "100"},
            {'I', "22"},
            {'J', "1"},
            {'K', "9"}}),
       {{"FR001001", "00000000123     "},
        {"FR001002", Dx("1")},
        {"FR001003", Dx("01012013")},
        {"FR001004", Dx("02012013")},
        {"FR001005", Dx("1")},
        {"FR001006", Dx("1")},
        {"FR001007", Dx("1")},
        {"FR001008", Dx("100")},
        {"FR001009", Dx("22")},
        {"FR001010", Dx("1")}}},
      {"FR, intestazione precedente: C-E caselle, F-G date, PI mai con zeri",
       "FR",
       Cel({{'A', "123"},
            {'B', "1"},
            {'C', "1"},
            {'D', "1"},
            {'E', "1"},
            {'F', "01/01/2013"},
            {'G', "02/01/2013"},
            {'H', "100"},
            {'I', "22"},
            {'J', "1"}}),
       {{"FR001001", Sx("123")},
        {"FR001002", Dx("1")},
        {"FR001005", Dx("1")},
        {"FR001006", Dx("1")},
        {"FR001007", Dx("1")},
        {"FR001003", Dx("01012013")},
        {"FR001004", Dx("02012013")},
        {"FR001008", Dx("100")},
        {"FR001009", Dx("22")},
        {"FR001010", Dx("1")}},
       true,
       false},
      {"NE",
       "NE",
       Cel({{'A', pi},
            {'B', cf},
            {'C', "01/03/2013"},
            {'D', "02/03/2013"},
            {'E', "NC/1"},
            {'F', "100"},
            {'G', "22"},
            {'H', "1"},
            {'I', "5"}}),
       {{"NE001001", pi + "     "},
        {"NE001002", cf},
        {"NE001003", Dx("01032013")},
        {"NE001004", Dx("02032013")},
        {"NE001005", Sx("NC/1")},
        {"NE001006", Dx("100")},
        {"NE001007", Dx("22")},
        {"NE001008", Dx("1")}}},
      {"NR",
       "NR",
       Cel({{'A', pi},
            {'B', "01/03/2013"},
            {'C', "02/03/2013"},
            {'D', "100"},
            {'E', "22"},
            {'F', "1"},
            {'G', "5"}}),
       {{"NR001001", pi + "     "},
        {"NR001002", Dx("01032013")},
        {"NR001003", Dx("02032013")},
        {"NR001004", Dx("100")},
        {"NR001005", Dx("22")},
        {"NR001006", Dx("1")}}},
      {"DF",
       "DF",
       Cel({{'A', "12345"}, {'B', "01/03/2013"}, {'C', "100"}, {'D', "A"}, {'E', "1"}, {'F', "5"}}),
       {{"DF001001", Sx("00000012345")},
        {"DF001002", Dx("01032013")},
        {"DF001003", Dx("100")},
        {"DF001004", Sx("A")},
        {"DF001005", Dx("1")}}},
      {"FN: K e L date, M testo, continuazione del testo lungo",
       "FN",
       Cel({{'A', "DUPONT"},
            {'B', "JEAN"},
            {'C', "01/01/1960"},
            {'D', "LIONE"},
            {'E', "EE"},
            {'F', "29"},
            {'I', "4"},
            {'J', "VIA DEI MILLE 123"},
            {'K', "01/03/2013"},
            {'L', "02/03/2013"},
            {'M', "FT1"},
            {'N', "A"},
            {'O', "1000"},
            {'P', "200"},
            {'Q', "1"},
            {'R', "9"}}),
       {{"FN001001", Sx("DUPONT")},
        {"FN001002", Sx("JEAN")},
        {"FN001003", Dx("01011960")},
        {"FN001004", Sx("LIONE")},
        {"FN001005", Sx("EE")},
        {"FN001006", Dx("029")},
        {"FN001009", Dx("004")},
        {"FN001010", "VIA DEI MILLE 12"},
        {"FN001010", Sx("+3")},
        {"FN001011", Dx("01032013")},
        {"FN001012", Dx("02032013")},
        {"FN001013", Sx("FT1")},
        {"FN001014", Sx("A")},
        {"FN001015", Dx("1000")},
        {"FN001016", Dx("200")},
        {"FN001017", Dx("1")}}},
      {"SE: K testo, L e M date",
       "SE",
       Cel({{'G', "ACME SPA"},
            {'H', "SAN MARINO"},
            {'I', "37"},
            {'J', "VIA ROMA 1"},
            {'K', "SM12345"},
            {'L', "01/03/2013"},
            {'M', "02/03/2013"},
            {'N', "F/1"},
            {'O', "10"},
            {'P', "2"},
            {'Q', "1"}}),
       {{"SE001007", Sx("ACME SPA")},
        {"SE001008", Sx("SAN MARINO")},
        {"SE001009", Dx("037")},
        {"SE001010", Sx("VIA ROMA 1")},
        {"SE001011", Sx("SM12345")},
        {"SE001012", Dx("01032013")},
        {"SE001013", Dx("02032013")},
        {"SE001014", Sx("F/1")},
        {"SE001015", Dx("10")},
        {"SE001016", Dx("2")},
        {"SE001017", Dx("1")}}},
      {"TU",
       "TU",
       Cel({{'A', "SMITH"},
            {'B', "JOHN"},
            {'C', "01/01/1970"},
            {'D', "LONDRA"},
            {'E', "EE"},
            {'F', "LONDRA"},
            {'G', "31"},
            {'H', "BAKER ST 1"},
            {'I', "01/03/2013"},
            {'J', "02/03/2013"},
            {'K', "R/1"},
            {'L', "1200"},
            {'M', "264"},
            {'N', "1"},
            {'O', "9"}}),
       {{"TU001001", Sx("SMITH")},
        {"TU001002", Sx("JOHN")},
        {"TU001003", Dx("01011970")},
        {"TU001004", Sx("LONDRA")},
        {"TU001005", Sx("EE")},
        {"TU001006", Sx("LONDRA")},
        {"TU001007", Dx("031")},
        {"TU001008", Sx("BAKER ST 1")},
        {"TU001009", Dx("01032013")},
        {"TU001010", Dx("02032013")},
        {"TU001011", Sx("R/1")},
        {"TU001012", Dx("1200")},
        {"TU001013", Dx("264")},
        {"TU001014", Dx("1")}}},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.nome);
    const Esito e = Codifica(c.quadro, c.celle, c.zeri, c.frCorrente);
    EXPECT_EQ(e.campi, c.attesi);
    EXPECT_EQ(e.segnalate, c.segnalate);
  }
}

// Cells that cannot be encoded are reported and write nothing; the rest of the row is written.
TEST(CodificaRiga, CelleNonCodificabiliSegnalateENonScritte) {
  struct Caso {
    std::string_view nome;
    std::string_view quadro;
    CelleRiga celle;
    std::string segnalate;
    Campi attesi;
    bool zeri = true;
  } const kCasi[] = {
      {"data inesistente e testo non data",
       "FE",
       Cel({{'G', "31/04/2013"}, {'H', "fine mese"}, {'J', "10"}}),
       "GH",
       {{"FE001010", Dx("10")}}},
      {"data con anno a due cifre",
       "NR",
       Cel({{'B', "1/2/13"}, {'D', "10"}}),
       "B",
       {{"NR001004", Dx("10")}}},
      {"importi negativi nei quadri analitici e in BL",
       "FE",
       Cel({{'J', "-50"}, {'K', "-0,5"}}),
       "JK",
       {}},
      {"importo negativo BL",
       "BL",
       Cel({{'A', "ROSSI"}, {'O', "-1"}}),
       "O",
       {{"BL001001", Sx("ROSSI")}}},
      {"importi non numerici", "NE", Cel({{'F', "cento"}, {'G', "12a"}}), "FG", {}},
      {"importo non numerico in FA",
       "FA",
       Cel({{'B', "X"}, {'D', "tre"}}),
       "D",
       {{"FA001002", Sx("X")}}},
      {"importo di 17 cifre",
       "FN",
       Cel({{'O', "12345678901234567"}, {'P', "1234567890123456"}}),
       "O",
       {{"FN001016", Dx("1234567890123456")}}},
      {"codici Stato lunghi o non numerici", "SE", Cel({{'F', "1234"}, {'I', "ABC"}}), "FI", {}},
      {"codice Stato lungo anche senza zeri",
       "TU",
       Cel({{'G', "1234"}, {'A', "X"}}),
       "G",
       {{"TU001001", Sx("X")}},
       false},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.nome);
    const Esito e = Codifica(c.quadro, c.celle, c.zeri);
    EXPECT_EQ(e.segnalate, c.segnalate);
    EXPECT_EQ(e.campi, c.attesi);
  }
}

TEST(CodificaRiga, ImportiConSeparatoreDelleMigliaiaScrittiSoloCifre) {
  const Esito e = Codifica("FE", Cel({{'J', "1.234.567,89"}, {'K', "+22"}}));
  EXPECT_EQ(e.campi, (Campi{{"FE001010", Dx("1234567")}, {"FE001011", Dx("22")}}));
}

// Amounts as number cells give them: the whole part, zeros before it kept; an amount of zero is
// written as 0, but not where only positive amounts go.
TEST(CodificaRiga, ImportiComeLiScrivonoLeCelleNumeriche) {
  EXPECT_EQ(Codifica("FE", Cel({{'J', "100,37"}, {'K', "007,5"}})).campi,
            (Campi{{"FE001010", Dx("100")}, {"FE001011", Dx("007")}}));
  EXPECT_EQ(Codifica("FE", Cel({{'J', "1234567890123456,999999999999999"}})).campi,
            (Campi{{"FE001010", Dx("1234567890123456")}}));
  EXPECT_EQ(Codifica("FE", Cel({{'J', "0,00"}})).campi, (Campi{{"FE001010", Dx("0")}}));
  EXPECT_EQ(Codifica("FA", Cel({{'B', "X"}, {'D', "0,00"}, {'E', "0,5"}})).campi,
            (Campi{{"FA001002", Sx("X")}, {"FA001005", Dx("0")}}));
}

// Counters rise once per row whose column is written; "0" writes and counts nothing.
TEST(CodificaRiga, Contatori) {
  EXPECT_EQ(Codifica("FE", Cel({{'C', "X"}})).totali.documentiRiepilogativiFE, 1);
  EXPECT_EQ(Codifica("FE", Cel({{'C', "0"}})).totali.documentiRiepilogativiFE, 0);
  EXPECT_EQ(Codifica("FR", Cel({{'B', "1"}}), true, false).totali.documentiRiepilogativiFR, 1);
  EXPECT_EQ(Codifica("FR", Cel({{'B', "1"}})).totali.documentiRiepilogativiFR, 1);
  const auto bl = Codifica("BL", Cel({{'L', "1"}, {'N', "X"}})).totali.contatoriBL;
  EXPECT_EQ(bl, (std::array<int, 3>{1, 0, 1}));
}

// Zero-padding replaces the row cell itself (what the rest of the row sees).
TEST(CodificaRiga, IlRiempimentoConZeriSostituisceLaCella) {
  const DefinizioneQuadro* q = TrovaQuadro("FN");
  RecordDettaglio record("X", [](std::string_view) {});
  record.InizioFoglio('D', 3);
  TotaliImport t;
  CelleRiga c = Cel({{'F', "4"}, {'I', "37,0"}});
  CodificaRiga(*q, true, c, true, record, t, [](int, std::string_view) {});
  EXPECT_EQ(c[5], "004");
  EXPECT_EQ(c[8], "037");
  CelleRiga d = Cel({{'A', "12345"}});
  CodificaRiga(*TrovaQuadro("DF"), true, d, true, record, t, [](int, std::string_view) {});
  EXPECT_EQ(d[0], "00000012345");
}

TEST(DefinizioneQuadro, NomiRiconosciutiEsattamente) {
  for (std::string_view nome : {"FA", "SA", "BL", "FE", "FR", "NE", "NR", "DF", "FN", "SE", "TU"}) {
    SCOPED_TRACE(nome);
    ASSERT_NE(TrovaQuadro(nome), nullptr);
    EXPECT_EQ(TrovaQuadro(nome)->nome, nome);
  }
  for (std::string_view nome : {"fa", "FA ", " FA", "TA", "", "Foglio1"}) {
    SCOPED_TRACE(nome);
    EXPECT_EQ(TrovaQuadro(nome), nullptr);
  }
}

}  // namespace
}  // namespace fcl
