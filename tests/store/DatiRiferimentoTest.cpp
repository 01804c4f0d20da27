#include "store/DatiRiferimento.h"

#include <gtest/gtest.h>

#include <set>

#include "AtecoGenerato.h"
#include "CampioniAccess.h"
#include "CartellaTemporanea.h"
#include "common/Errori.h"
#include "common/RoutineCampi.h"
#include "store/Csv.h"
#include "store/FormatoArchivio.h"
#include "store/Recordset.h"
#include "store/Schema.h"

namespace fcl {
namespace {

// The tables built into the program, as generated from the pinned npm packages.
const std::filesystem::path kGenerati =
    std::filesystem::path(FCL_SOURCE_DIR) / "resources" / "dati-riferimento";

std::vector<std::string> Colonna(Database& db, const std::string& sql,
                                 const std::vector<Valore>& p = {}) {
  std::vector<std::string> v;
  Recordset rs(db, sql, p, Recordset::Modo::SolaLettura);
  for (; !rs.Eof(); rs.MoveNext()) v.push_back(ValoreComeTesto(rs[0]));
  return v;
}

// The rows of a CSV, header left out, each joined with "|".
std::set<std::string> RigheCsv(const std::filesystem::path& file, std::size_t colonne) {
  const std::string testo = test::LeggiFile(file);
  Csv csv(testo, ',');
  std::vector<std::string> campi;
  csv.Prossima(campi);
  std::set<std::string> righe;
  while (csv.Prossima(campi)) {
    std::string r;
    for (std::size_t i = 0; i < colonne && i < campi.size(); ++i) r += (i ? "|" : "") + campi[i];
    righe.insert(r);
  }
  return righe;
}

class DatiRiferimentoTest : public ::testing::Test {
 protected:
  void SetUp() override { CreaSchema(db); }
  Database db = Database::InMemoria();
};

TEST_F(DatiRiferimentoTest, ComuniELuoghiDiNascitaIncorporati) {
  CaricaDatiRiferimento(db);
  EXPECT_EQ(RigheComuniIncorporate(), 7896u);
  EXPECT_EQ(std::get<std::int64_t>(db.Scalare("SELECT count(*) FROM T_COMUNI")), 7896);
  EXPECT_EQ(std::get<std::int64_t>(db.Scalare("SELECT count(*) FROM T_COMUNICF")),
            static_cast<std::int64_t>(RigheComuniCFIncorporate()));
  EXPECT_EQ(std::get<std::int64_t>(db.Scalare(
                "SELECT count(*) FROM T_COMUNI WHERE CAB <> '' OR PRO NOT GLOB '[A-Z][A-Z]'")),
            0);

  const std::vector<std::string> roma = {"ROMA|RM",
                                         "ROMAGNANO AL MONTE|SA",
                                         "ROMAGNANO SESIA|NO",
                                         "ROMAGNESE|PV",
                                         "ROMANA|SS",
                                         "ROMANENGO|CR",
                                         "ROMANO CANAVESE|TO",
                                         "ROMANO D'EZZELINO|VI",
                                         "ROMANO DI LOMBARDIA|BG",
                                         "ROMANS D'ISONZO|GO"};
  EXPECT_EQ(
      Colonna(db, "SELECT COMUNE || '|' || PRO FROM T_COMUNI WHERE COMUNE LIKE ? ORDER BY COMUNE",
              {std::string("roma%")}),
      roma);

  struct Case {
    std::string_view luogo;
    std::string atteso;  // CD_PROV|KEY_TAB
  } const kCases[] = {
      {"ROMA", "RM|H501"},
      {"ROMANIA", "EE|Z129"},
      {"CAMPOSPINOSO", "PV|B567"},     // former name of a current municipality
      {"ROMANO CANAVESE", "TO|H511"},  // current name and province
      {"ABBAZIA", "FU|A009"},          // a place of the former province of Fiume
      {"L'AQUILA", "AQ|A345"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.luogo);
    EXPECT_EQ(Colonna(db, "SELECT CD_PROV || '|' || KEY_TAB FROM T_COMUNICF WHERE DESCRIZION = ?",
                      {std::string(c.luogo)}),
              std::vector<std::string>{c.atteso});
  }
  EXPECT_EQ(std::get<std::int64_t>(db.Scalare(
                "SELECT count(*) FROM T_COMUNICF WHERE KEY_TAB NOT GLOB '[A-Z][0-9][0-9][0-9]' "
                "OR (KEY_TAB GLOB 'Z*') <> (CD_PROV = 'EE')")),
            0);
  EXPECT_GT(
      std::get<std::int64_t>(db.Scalare("SELECT count(*) FROM T_COMUNICF WHERE CD_PROV = 'EE'")),
      200);

  // The updatable result set over the municipalities finds by prefix, as the register does.
  Recordset comuni(db, "SELECT * From T_COMUNI ORDER BY T_COMUNI.COMUNE");
  ASSERT_TRUE(comuni.Find("COMUNE LIKE 'ROMANO%'"));
  EXPECT_EQ(CampoTesto(comuni["COMUNE"]), "ROMANO CANAVESE");
}

TEST_F(DatiRiferimentoTest, ComuniELuoghiDiNascitaComeNeiFileGenerati) {
  CaricaDatiRiferimento(db);
  // The tables hold exactly the rows of the files generated from the packages: none lost, cut or
  // mangled on the way into the program (quotes, apostrophes, accents, bilingual names).
  struct Case {
    const char* file;
    std::size_t colonne;
    const char* sql;
  } const kCases[] = {
      {"T_COMUNI.csv", 2, "SELECT COMUNE || '|' || PRO FROM T_COMUNI"},
      {"T_COMUNICF.csv", 3,
       "SELECT DESCRIZION || '|' || CD_PROV || '|' || KEY_TAB FROM T_COMUNICF"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.file);
    const auto attese = RigheCsv(kGenerati / c.file, c.colonne);
    const auto nostre = Colonna(db, c.sql);
    EXPECT_EQ(nostre.size(), attese.size());
    EXPECT_EQ(std::set<std::string>(nostre.begin(), nostre.end()), attese);
  }
}

TEST_F(DatiRiferimentoTest, AtecoDaUnFileComeQuelloIstat) {
  test::CartellaTemporanea dir;
  const auto prima = test::GeneraAteco(45);
  const auto seconda = test::GeneraAteco(47);
  ASSERT_GT(prima.voci, 3000u);
  test::ScriviFile(dir / "ateco.csv", prima.csv);
  test::ScriviFile(dir / "ateco_agg.csv", seconda.csv);
  EXPECT_EQ(ImportaAteco(db, dir / "ateco.csv"), prima.voci);
  EXPECT_EQ(std::get<std::int64_t>(db.Scalare("SELECT count(*) FROM ATECO2007")),
            static_cast<std::int64_t>(prima.voci));
  EXPECT_EQ(
      Colonna(db,
              "SELECT DESCRIZIONE FROM ATECO2007 WHERE CODICE IN ('01.11.10', '01.12') "
              "ORDER BY CODICE"),
      (std::vector<std::string>{"Sottocategoria 01.11.10, n.c.a.", "Classe 01.12 (\"tipo\" 2)"}));
  EXPECT_EQ(Colonna(db, "SELECT CODICE FROM ATECO2007 ORDER BY rowid LIMIT 3"),
            (std::vector<std::string>{"A", "01", "01.1"}));
  // A second file replaces the first.
  EXPECT_EQ(ImportaAteco(db, dir / "ateco_agg.csv"), seconda.voci);
  EXPECT_EQ(std::get<std::int64_t>(db.Scalare("SELECT count(*) FROM ATECO2007")),
            static_cast<std::int64_t>(seconda.voci));
}

TEST_F(DatiRiferimentoTest, AtecoConPuntoEVirgolaEWindows1252) {
  test::CartellaTemporanea dir;
  const auto f = dir / "ateco.csv";
  test::ScriviFile(f,
                   "Classificazione ATECO 2007;;\r\n"
                   "Codice Ateco 2007;Titolo Ateco 2007;Note\r\n"
                   "A;AGRICOLTURA, SILVICOLTURA E PESCA;\r\n"
                   "01.11.10;\"Coltivazione di cereali; escluso il riso\";x\r\n"
                   ";;\r\n"
                   "96.09.05;Organizzazione di feste e cerimonie, attivit\xE0 varie;\r\n");
  EXPECT_EQ(ImportaAteco(db, f), 3u);
  EXPECT_EQ(
      Colonna(db, "SELECT CODICE || '=' || DESCRIZIONE FROM ATECO2007 ORDER BY rowid"),
      (std::vector<std::string>{"A=AGRICOLTURA, SILVICOLTURA E PESCA",
                                "01.11.10=Coltivazione di cereali; escluso il riso",
                                "96.09.05=Organizzazione di feste e cerimonie, attività varie"}));
}

TEST_F(DatiRiferimentoTest, AtecoIllegibileLasciaLaTabellaComEra) {
  db.Esegui("INSERT INTO ATECO2007 VALUES ('01.11.10', 'PRIMA')");
  test::CartellaTemporanea dir;
  struct Case {
    std::string_view nome;
    std::string contenuto;
    std::string_view messaggio;
  } const kCases[] = {
      {"senza intestazione", "01.11.10,Cereali\n",
       "non ha le colonne del codice e della descrizione"},
      {"colonne con altri nomi", "CAP,COMUNE\n00100,ROMA\n",
       "non ha le colonne del codice e della descrizione"},
      {"vuoto", "", "non ha le colonne del codice e della descrizione"},
      {"solo intestazione", "CODICE,DESCRIZIONE\n", "non contiene codici ATECO"},
      {"codice sbagliato", "CODICE,DESCRIZIONE\nA,Agricoltura\n01.1.10,Cereali\n",
       "riga 3: \"01.1.10\" non è un codice ATECO"},
      {"codice ripetuto", "CODICE,DESCRIZIONE\n01,X\n01,Y\n", "riga 3: il codice 01 è ripetuto"},
      {"cartella di lavoro", std::string("PK\x03\x04", 4) + "resto",
       "è una cartella di lavoro: salvarlo in formato CSV"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.nome);
    const auto f = dir / "ateco.csv";
    test::ScriviFile(f, c.contenuto);
    try {
      ImportaAteco(db, f);
      ADD_FAILURE() << "accepted";
    } catch (const Errore& e) {
      EXPECT_NE(std::string(e.what()).find(c.messaggio), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find("La tabella ATECO non è stata modificata."),
                std::string::npos);
    }
    EXPECT_EQ(Colonna(db, "SELECT CODICE || DESCRIZIONE FROM ATECO2007"),
              std::vector<std::string>{"01.11.10PRIMA"});
  }
  EXPECT_THROW(ImportaAteco(db, dir / "manca.csv"), ErroreFile);
}

TEST(FormatoArchivio, RiconosciutoDaiPrimiByte) {
  test::CartellaTemporanea dir;
  {
    Database s(dir / "s.db", Database::Modo::Creazione);
    s.Esegui("CREATE TABLE T (A)");
  }
  test::ScriviFile(dir / "vuoto", "");
  test::ScriviFile(dir / "testo", "SQLite format 2 e altro");
  struct Case {
    std::filesystem::path file;
    FormatoArchivio atteso;
  } const kCases[] = {
      {dir / "manca", FormatoArchivio::Mancante},     {dir / "vuoto", FormatoArchivio::Vuoto},
      {dir / "s.db", FormatoArchivio::Sqlite},        {dir / "testo", FormatoArchivio::Sconosciuto},
      {dir.Percorso(), FormatoArchivio::Sconosciuto},  // a folder
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.file.string());
    EXPECT_EQ(RiconosciFormato(c.file), c.atteso);
  }
}

TEST(FormatoArchivio, FileAccessVeriDiOgniVersione) {
  FCL_SALTA_SENZA_CAMPIONI_ACCESS();
  for (const char* file : {"nwind.mdb", "DateTestDatabase.mdb", "ASampleDatabase.accdb"}) {
    SCOPED_TRACE(file);
    EXPECT_EQ(RiconosciFormato(test::CartellaCampioniAccess() / file), FormatoArchivio::Jet);
  }
}

}  // namespace
}  // namespace fcl
