// The client lists as spreadsheets write them: both separators, UTF-8 with and without BOM and
// Windows-1252, quoted fields holding separators, quotes and line breaks, headers matched without
// regard to case, blanks and underscores; and the fields written back so that they read the same.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CartellaTemporanea.h"
#include "common/Errori.h"
#include "store/Csv.h"

namespace fcl {
namespace {

using test::CartellaTemporanea;
using test::ScriviFile;

struct Caso {
  std::string_view nome;
  std::string byte;
  char separatore;
  std::vector<std::vector<std::string>> righe;  // every row under the header
  std::vector<std::size_t> linee;
};

TEST(TabellaCsvTest, SeparatoriCodificheBomVirgolette) {
  const Caso casi[] = {
      {"punto e virgola UTF-8",
       "Codice Fiscale;FOGLIO\r\nRSSMRA80A01H501U;a.xlsx\r\n02468130162;b.ods\r\n",
       ';',
       {{"RSSMRA80A01H501U", "a.xlsx"}, {"02468130162", "b.ods"}},
       {2, 3}},
      {"virgola con BOM e accenti",
       "\xEF\xBB\xBF"
       "codice_fiscale,foglio,denominazione\n02468130162,x.xlsx,Società Più\n",
       ',',
       {{"02468130162", "x.xlsx", "Società Più"}},
       {2}},
      {"Windows-1252",
       "codice_fiscale;foglio;nota\r\n02468130162;x.xlsx;Societ\xE0 \x80 5\r\n",
       ';',
       {{"02468130162", "x.xlsx", "Società € 5"}},
       {2}},
      {"virgolette con separatore, virgolette e a capo",
       "codice_fiscale,foglio,nota\n"
       "\"02468130162\",\"dir, con virgola/x.xlsx\",\"dice \"\"sì\"\"\nsu due righe\"\n"
       "\n"
       "01357913571,y.xls,\n",
       ',',
       {{"02468130162", "dir, con virgola/x.xlsx", "dice \"sì\"\nsu due righe"},
        {"01357913571", "y.xls", ""}},
       {2, 5}},
      {"separatore tra virgolette nell'intestazione",
       "\"codice;fiscale\",foglio,x\nA,\"B;C\",D\n",
       ',',
       {{"A", "B;C", "D"}},
       {2}},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    CartellaTemporanea dir;
    ScriviFile(dir / "elenco.csv", c.byte);
    const TabellaCsv t = LeggiTabellaCsv(dir / "elenco.csv");
    EXPECT_EQ(t.separatore, c.separatore);
    ASSERT_EQ(t.righe.size(), c.righe.size());
    for (std::size_t i = 0; i < t.righe.size(); ++i) {
      EXPECT_EQ(t.righe[i].campi, c.righe[i]);
      EXPECT_EQ(t.righe[i].linea, c.linee[i]);
    }
  }
}

TEST(TabellaCsvTest, NomiDiColonnaSenzaMaiuscoleSpaziETrattini) {
  const TabellaCsv t =
      AnalizzaTabellaCsv(" Codice Fiscale ;FOGLIO;protocollo_documento;Protocollo\n", "x");
  EXPECT_EQ(t.Colonna("codice_fiscale"), 0u);
  EXPECT_EQ(t.Colonna("foglio"), 1u);
  EXPECT_EQ(t.Colonna("Protocollo Documento"), 2u);
  EXPECT_EQ(t.Colonna("protocollo"), 3u);
  EXPECT_EQ(t.Colonna("anno"), std::nullopt);
  const TabellaCsv::Riga corta{2, {"X"}};
  EXPECT_EQ(TabellaCsv::Campo(corta, t.Colonna("foglio")), "");
}

TEST(TabellaCsvTest, FileSenzaIntestazioneOVirgoletteAperte) {
  const struct {
    std::string_view testo;
    std::string_view messaggio;
  } casi[] = {
      {"", "Il file e.csv è vuoto: la prima riga deve contenere i nomi delle colonne."},
      {"\r\n \r\n", "Il file e.csv è vuoto: la prima riga deve contenere i nomi delle colonne."},
      {"a;b\n1;\"aperta\n2;3\n", "Il file e.csv ha un campo tra virgolette non chiuso (riga 2)."},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.testo);
    try {
      AnalizzaTabellaCsv(c.testo, "e.csv");
      ADD_FAILURE() << "accepted";
    } catch (const Errore& e) {
      EXPECT_EQ(e.what(), c.messaggio);
    }
  }
  EXPECT_THROW(LeggiTabellaCsv("/percorso/inesistente.csv"), ErroreFile);
}

TEST(TabellaCsvTest, CampiScrittiSiRileggonoUguali) {
  const std::vector<std::string> campi = {
      "semplice", "con;separatore", "con \"virgolette\"", "a\r\ncapo", " spazi ", "", "Società"};
  EXPECT_EQ(RigaCsv({"a", "b;c", "d\"e"}, ';'), "a;\"b;c\";\"d\"\"e\"\r\n");
  for (const char sep : {';', ','}) {
    const std::string testo =
        RigaCsv({"h1", "h2", "h3", "h4", "h5", "h6", "h7"}, sep) + RigaCsv(campi, sep);
    const TabellaCsv t = AnalizzaTabellaCsv(testo, "x");
    ASSERT_EQ(t.righe.size(), 1u);
    EXPECT_EQ(t.righe[0].campi, campi);
  }
}

}  // namespace
}  // namespace fcl
