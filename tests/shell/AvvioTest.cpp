#include "shell/Avvio.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <memory>

#include <unistd.h>

#include "CartellaTemporanea.h"
#include "InterazioneRegistrata.h"
#include "common/Errori.h"
#include "common/RoutineCampi.h"
#include "shell/Marcatori.h"
#include "store/DatiRiferimento.h"
#include "store/Recordset.h"
#include "store/Schema.h"

namespace fcl {
namespace {

// One start of the program on a folder: its context, its database and what it told the user.
struct Avvio {
  test::InterazioneRegistrata ui;
  Contesto ctx;
  std::optional<Database> db;
};

std::chrono::system_clock::time_point Il15Giugno2016() {
  std::tm tm{};
  tm.tm_year = 2016 - 1900;
  tm.tm_mon = 5;
  tm.tm_mday = 15;
  tm.tm_hour = 10;
  tm.tm_isdst = -1;
  return std::chrono::system_clock::from_time_t(std::mktime(&tm));
}

std::int64_t Conta(Database& db, const std::string& sql, const std::vector<Valore>& p = {}) {
  return std::get<std::int64_t>(db.Scalare(sql, p));
}

class AvvioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Nothing of a test may reach the real ~/.local/share.
    ::setenv("XDG_DATA_HOME", (dir / "xdg").c_str(), 1);
    prog = dir / "prog";
    std::filesystem::create_directories(prog);
    test::ScriviFile(prog / "configurazione.ini", "[opzioni]\nTipoDb=A\nPCDirF= PGM\n");
  }

  std::unique_ptr<Avvio> Avvia(const std::filesystem::path& cartella) {
    auto a = std::make_unique<Avvio>();
    a->ctx.cartellaProgramma = cartella;
    a->ctx.interazione = &a->ui;
    a->ctx.adesso = Il15Giugno2016;
    fcl::Avvia(a->ctx, a->db);
    return a;
  }
  std::unique_ptr<Avvio> Avvia() { return Avvia(prog); }

  std::filesystem::path FileDb() const { return prog / "DataBase" / "FCL2013.mdb"; }

  test::CartellaTemporanea dir;
  std::filesystem::path prog;
};

TEST_F(AvvioTest, PrimoAvvioCreaTuttoEIlSecondoNonAlteraIlDatabase) {
  {
    auto a = Avvia();
    Database& db = *a->db;
    EXPECT_EQ(a->ctx.connessioneDb, &db);
    ASSERT_EQ(a->ui.Testi("avviso").size(), 1u);
    EXPECT_EQ(a->ui.Testi("avviso")[0], "Creato il database " + FileDb().string() +
                                            " con tutte le tabelle e i dati di riferimento.");
    for (const char* t : {"COPE", "CTAB", "T_COMUNI", "T_COMUNICF", "ATECO2007"})
      EXPECT_TRUE(db.EsisteTabella(t)) << t;
    EXPECT_EQ(db.Colonne("COPE").size(), 32u);
    EXPECT_EQ(Conta(db, "SELECT count(*) FROM COPE"), 0);
    EXPECT_EQ(Conta(db, "SELECT count(*) FROM T_COMUNI"),
              static_cast<std::int64_t>(RigheComuniIncorporate()));
    EXPECT_EQ(ValoreComeTesto(db.Scalare("SELECT DES FROM CTAB WHERE TIPO='REL' AND COD='002'")),
              "15/06/2016");
    EXPECT_EQ(Conta(db, "SELECT count(*) FROM CTAB WHERE TIPO='REL' AND COD='003'"), 1);
    EXPECT_EQ(Conta(db, "SELECT count(*) FROM CTAB"), 2);

    EXPECT_EQ(a->ctx.fileIni, prog / "configurazione.ini");
    EXPECT_EQ(a->ctx.stringaConnessione,
              "provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + FileDb().string());
    EXPECT_EQ(a->ctx.versionePgm, "Versione 1.0 - Monoutente");
    EXPECT_EQ(a->ctx.releasePgm, "Release Giugno 2016");
    EXPECT_EQ(a->ctx.annoRiferimento, "2015");
    EXPECT_EQ(a->ctx.configurazione.pcDirF, prog.string());

    const auto marcatore = LeggiFileMarcatore(prog / "SYSTEM" / "FSYSNEV13.DLL");
    ASSERT_TRUE(marcatore);
    EXPECT_EQ(marcatore->stringaConnessione, a->ctx.stringaConnessione);
    EXPECT_EQ(marcatore->tipoDb, "A");
    EXPECT_EQ(marcatore->cartella, prog.string());
    EXPECT_TRUE(std::filesystem::is_directory(prog / "SYSTEM32"));
  }
  const std::string prima = test::LeggiFile(FileDb());
  std::filesystem::remove(prog / "SYSTEM" / "FSYSNEV13.DLL");
  {
    auto a = Avvia();
    EXPECT_TRUE(a->ui.voci.empty());
  }
  EXPECT_EQ(test::LeggiFile(FileDb()), prima);
  EXPECT_TRUE(
      std::filesystem::exists(prog / "SYSTEM" / "FSYSNEV13.DLL"));  // rewritten at every start
  EXPECT_FALSE(std::filesystem::exists(FileDb().string() + ".creazione"));
}

TEST_F(AvvioTest, UnServerIrraggiungibileFermaLAvvioSenzaScrivereNulla) {
  test::ScriviFile(prog / "configurazione.ini",
                   "[opzioni]\nTipoDb=P\nPCDirF=PGM\nServer_Connessione=host=" +
                       (dir / "nessuno").string() + " port=1 dbname=studio\n");
  try {
    Avvia();
    FAIL() << "l'avvio doveva fermarsi";
  } catch (const ErroreDatabase& e) {
    EXPECT_NE(std::string(e.what()).find("Impossibile collegarsi al database studio sul server " +
                                         (dir / "nessuno").string() + ":1"),
              std::string::npos)
        << e.what();
  }
  EXPECT_FALSE(std::filesystem::exists(prog / "DataBase"));
  EXPECT_FALSE(std::filesystem::exists(prog / "SYSTEM" / "FSYSNEV13.DLL"));
}

TEST_F(AvvioTest, SulServerMarcatoreSenzaPasswordEAvvisoSeLaConfigurazioneELeggibile) {
  const char* server = std::getenv("FCL_PG_CONNESSIONE");
  if (server == nullptr) GTEST_SKIP() << "FCL_PG_CONNESSIONE non impostata: nessun server di prova";
  const std::string nome = "fcl_avvio_" + std::to_string(::getpid());
  Database::Server(server).Esegui("CREATE DATABASE " + nome);
  const std::string connessione = std::string(server) + " dbname=" + nome;
  test::ScriviFile(prog / "configurazione.ini", "[opzioni]\nTipoDb=P\nPCDirF=PGM\n"
                                                "Server_Connessione=" +
                                                    connessione + " password=segreta\n");
  std::filesystem::permissions(prog / "configurazione.ini",
                               std::filesystem::perms::owner_read |
                                   std::filesystem::perms::owner_write |
                                   std::filesystem::perms::group_read |
                                   std::filesystem::perms::others_read);
  {
    auto a = Avvia();
    EXPECT_EQ(a->ctx.versionePgm, "Versione 1.0 - Multiutente");
    EXPECT_EQ(a->db->Tipo(), TipoArchivio::Postgres);
    const auto avvisi = a->ui.Testi("avviso");
    ASSERT_EQ(avvisi.size(), 2u);
    EXPECT_NE(avvisi[0].find("contiene la password del server ed è leggibile da altri utenti"),
              std::string::npos);
    EXPECT_NE(avvisi[1].find("Preparato l'archivio di FISCOLARIO nel database " + nome), std::string::npos);
    const auto marcatore = LeggiFileMarcatore(prog / "SYSTEM" / "FSYSNEV13.DLL");
    ASSERT_TRUE(marcatore);
    EXPECT_EQ(marcatore->tipoDb, "P");
    EXPECT_EQ(marcatore->stringaConnessione.find("segreta"), std::string::npos);
    EXPECT_NE(marcatore->stringaConnessione.find("dbname='" + nome + "'"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(FileDb()));
  }
  // Readable only by its owner: no warning; the database is ready: no notice.
  std::filesystem::permissions(prog / "configurazione.ini",
                               std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  EXPECT_TRUE(Avvia()->ui.Testi("avviso").empty());
  Database::Server(server).Esegui("DROP DATABASE " + nome + " WITH (FORCE)");
}

TEST_F(AvvioTest, SenzaConfigurazioneIlMarcatoreVaNellaCartellaDiSistema) {
  std::filesystem::remove(prog / "configurazione.ini");
  auto a = Avvia();
  EXPECT_TRUE(a->ctx.configurazione.pcDirF.empty());
  const auto marcatore = LeggiFileMarcatore(dir / "xdg" / "SYSTEM" / "FSYSNEV13.DLL");
  ASSERT_TRUE(marcatore);
  EXPECT_EQ(marcatore->tipoDb, "");
}

TEST_F(AvvioTest, UnoSchemaVecchioVieneAggiornatoUnaVolta) {
  std::filesystem::create_directories(FileDb().parent_path());
  {
    Database vecchio(FileDb(), Database::Modo::Creazione);
    vecchio.Esegui(
        "CREATE TABLE COPE (OCOD Text (16), ORAG Text (70), OCOG Text (50), ONOME Text (50), OSEX "
        "Text (1), "
        "ONDT Date, ONCOM Text (50), ONPRO Text (2), OSCOM Text (50), OSPRO Text (2), OSTP Text "
        "(1), "
        "OPIVA Text (11), ODES Text (120), OATT Text (10), OATTD Text (255), OTEL Text (30), OFAX "
        "Text (30), "
        "OPOSTA Text (100), OSTCCF Text (16), OSTCCDCARICA Text (50))");
    vecchio.Esegui("CREATE TABLE CTAB (TIPO Text (10), COD Text (50), DES Text (255))");
    vecchio.Esegui(
        "INSERT INTO COPE (OCOD, ORAG, OSTCCF) VALUES ('01234567890', 'ALFA', 'RSSMRA80A01H501U')");
  }
  {
    auto a = Avvia();
    Database& db = *a->db;
    EXPECT_TRUE(a->ui.Testi("avviso").empty());
    const auto colonne = db.Colonne("COPE");
    ASSERT_EQ(colonne.size(), 32u);
    EXPECT_EQ(colonne[19].nome, "OSTCCDCARICA");
    EXPECT_EQ(colonne[20].nome, "OSTCDTINI");
    EXPECT_EQ(colonne.back().nome, "OSTCSPRO");
    EXPECT_EQ(ValoreComeTesto(db.Scalare("SELECT OSTCCF FROM COPE")), "RSSMRA80A01H501U");
    EXPECT_EQ(Conta(db, "SELECT count(*) FROM CTAB WHERE TIPO='REL' AND COD='002'"), 1);
    // The reference tables the old file lacked are added with their data.
    EXPECT_EQ(Conta(db, "SELECT count(*) FROM T_COMUNI"),
              static_cast<std::int64_t>(RigheComuniIncorporate()));
    // Take a column away again: a second start must not add it back, as it runs no ALTER TABLE.
    db.Esegui("ALTER TABLE COPE DROP COLUMN OSTCSPRO");
  }
  auto a = Avvia();
  EXPECT_EQ(a->db->Colonne("COPE").size(), 31u);
  EXPECT_EQ(Conta(*a->db, "SELECT count(*) FROM CTAB WHERE TIPO='REL'"), 2);
}

// A database of an earlier version, whose codes were saved with blanks or in lower case: the
// upgrade stores them as the register does, once; a code that would then meet another operator's
// is set aside in a backup file, told, never merged nor lost.
TEST_F(AvvioTest, CodiciConSpaziOMinuscoleCorrettiUnaVolta) {
  {
    auto a = Avvia();
    Database& db = *a->db;
    db.Esegui("DELETE FROM CTAB WHERE TIPO='REL' AND COD='003'");  // as an earlier version left it
    db.Esegui(
        "INSERT INTO COPE (OCOD, ORAG, ODES) VALUES ('RSSMRA80A01H501U ', NULL, 'ROSSI MARIO'), "
        "(' bnclgu70a01f205x', NULL, 'BIANCHI LUIGI'), ('PF0', 'PRIMA', 'PRIMA'), "
        "('pf0', 'SECONDA', 'SECONDA'), ('01234567890', 'ALFA', 'ALFA')");
    db.Esegui(
        "INSERT INTO CTAB VALUES ('ITT', 'RSSMRA80A01H501U ', 'IMPEGNO ROSSI'), "
        "('ITT', 'pf0', 'IMPEGNO SECONDA'), ('ITT', 'PF0', 'IMPEGNO PRIMA'), "
        "('ITT', '01234567890', 'IMPEGNO ALFA'), ('ITT', '01234567890 ', 'IMPEGNO DOPPIO')");
  }
  auto a = Avvia();
  Database& db = *a->db;
  Recordset rs(db, "SELECT OCOD, ODES FROM COPE ORDER BY OCOD", {}, Recordset::Modo::SolaLettura);
  std::vector<std::string> codici;
  for (; !rs.Eof(); rs.MoveNext()) codici.push_back(ValoreComeTesto(rs["OCOD"]));
  EXPECT_EQ(codici, (std::vector<std::string>{"01234567890", "BNCLGU70A01F205X", "PF0",
                                              "RSSMRA80A01H501U"}));
  EXPECT_EQ(ValoreComeTesto(db.Scalare("SELECT ORAG FROM COPE WHERE OCOD='PF0'")), "PRIMA");
  Recordset itt(db, "SELECT COD, DES FROM CTAB WHERE TIPO='ITT' ORDER BY COD", {},
                Recordset::Modo::SolaLettura);
  std::vector<std::string> impegni;
  for (; !itt.Eof(); itt.MoveNext())
    impegni.push_back(ValoreComeTesto(itt["COD"]) + "=" + ValoreComeTesto(itt["DES"]));
  EXPECT_EQ(impegni, (std::vector<std::string>{"01234567890=IMPEGNO ALFA", "PF0=IMPEGNO PRIMA",
                                               "RSSMRA80A01H501U=IMPEGNO ROSSI"}));
  // The operator set aside, with its commitment row, in a backup file of the program folder.
  const auto accantonato = prog / "CODICE_DOPPIO_PF0_1.FCL";
  const std::string b = "\xA6";
  const std::string contenuto = test::LeggiFile(accantonato);
  EXPECT_EQ(contenuto.rfind(b + "COPE" + b + "pf0" + b + "SECONDA" + b, 0), 0u) << contenuto;
  EXPECT_NE(contenuto.find(b + "CTAB" + b + "ITT" + b + "pf0" + b + "IMPEGNO SECONDA\r\n"),
            std::string::npos);
  const auto avvisi = a->ui.Testi("avviso");
  ASSERT_EQ(avvisi.size(), 2u);
  EXPECT_EQ(avvisi[0],
            "Il codice fiscale \"pf0\" dell'operatore SECONDA non può essere corretto in \"PF0\" "
            "perché questo codice è già di un altro operatore. I suoi dati sono stati tolti "
            "dall'elenco e salvati nel file " +
                accantonato.string() +
                ": per usarli al posto di quelli dell'altro operatore, ripristinare quel file.");
  EXPECT_EQ(avvisi[1],
            "I dati di impegno alla trasmissione registrati con il codice \"01234567890 \" "
            "(\"IMPEGNO DOPPIO\") sono stati tolti: l'operatore \"01234567890\" ha già i suoi.");
  EXPECT_EQ(Conta(db, "SELECT count(*) FROM CTAB WHERE TIPO='REL' AND COD='003'"), 1);

  // Once only.
  const std::string prima = test::LeggiFile(FileDb());
  a.reset();
  auto b2 = Avvia();
  EXPECT_TRUE(b2->ui.Testi("avviso").empty());
  b2.reset();
  EXPECT_EQ(test::LeggiFile(FileDb()), prima);
}

TEST_F(AvvioTest, UnDatabasePresenteMaIlleggibileNonVieneMaiToccato) {
  std::string danneggiato;
  {
    test::CartellaTemporanea altro;
    std::filesystem::create_directories(altro / "p");
    Avvia(altro / "p");
    danneggiato = test::LeggiFile(altro / "p" / "DataBase" / "FCL2013.mdb");
  }
  // Page 3 onwards overwritten: the header still says SQLite.
  for (std::size_t i = 2 * 4096; i < danneggiato.size() && i < 6 * 4096; ++i)
    danneggiato[i] = '\x55';
  std::string estraneo;
  {
    test::CartellaTemporanea altro;
    Database e(altro / "e.db", Database::Modo::Creazione);
    e.Esegui("CREATE TABLE CLIENTI (NOME TEXT)");
    estraneo = test::LeggiFile(altro / "e.db");
  }
  struct Case {
    std::string_view nome;
    std::string contenuto;
    std::string_view messaggio;
  } const kCases[] = {
      {"Access", std::string("\0\1\0\0Standard Jet DB\0\1\0\0\0", 24) + std::string(4000, '\0'),
       "è in formato Access (Jet) ma non si può convertire: il file è danneggiato o non contiene "
       "le tabelle COPE e CTAB di FISCOLARIO. Il file non è stato modificato."},
      {"testo", "questo non è un database\r\n",
       "il formato non è riconosciuto o il file è danneggiato."},
      {"SQLite danneggiato", danneggiato, "è danneggiato ("},
      {"SQLite di un altro programma", estraneo,
       "mancano le tabelle COPE e CTAB. Il file non è stato modificato."},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.nome);
    std::filesystem::create_directories(FileDb().parent_path());
    test::ScriviFile(FileDb(), c.contenuto);
    try {
      Avvia();
      ADD_FAILURE() << "started on an unreadable database";
    } catch (const ErroreDatabase& e) {
      EXPECT_NE(std::string(e.what()).find(c.messaggio), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find(FileDb().string()), std::string::npos) << e.what();
    }
    EXPECT_EQ(test::LeggiFile(FileDb()), c.contenuto);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(FileDb().parent_path()),
                            std::filesystem::directory_iterator()),
              1);
  }
}

TEST_F(AvvioTest, UnFileVuotoVieneSostituitoDaUnDatabaseNuovo) {
  std::filesystem::create_directories(FileDb().parent_path());
  test::ScriviFile(FileDb(), "");
  auto a = Avvia();
  EXPECT_EQ(a->ui.Testi("avviso").size(), 1u);
  EXPECT_TRUE(a->db->EsisteTabella("COPE"));
}

TEST_F(AvvioTest, UnMarcatoreNonScrivibileNonFermaLAvvio) {
  const auto lunga = dir / "prog" / std::string(150, 'p');
  std::filesystem::create_directories(lunga);
  test::ScriviFile(lunga / "configurazione.ini", "[opzioni]\nPCDirF=PGM\n");
  auto a = Avvia(lunga);
  ASSERT_TRUE(a->db);
  const auto avvisi = a->ui.Testi("avviso");
  ASSERT_EQ(avvisi.size(), 2u);
  EXPECT_NE(avvisi[1].find("FSYSNEV13.DLL non è stato scritto"), std::string::npos) << avvisi[1];
  EXPECT_EQ(a->ctx.annoRiferimento, "2015");
}

class PrimoAvvioTest : public AvvioTest {
 protected:
  // Last year's database: an older COPE without several columns, CTAB with commitment rows.
  std::filesystem::path DatabaseCollegato() {
    const auto file = dir / "nev" / "FCL2013.mdb";
    std::filesystem::create_directories(file.parent_path());
    Database d(file, Database::Modo::Creazione);
    d.Esegui(
        "CREATE TABLE COPE (OCOD Text (16), ORAG Text (70), OCOG Text (50), ONOME Text (50), "
        "ONDT Date, OPIVA Text (11))");
    d.Esegui("CREATE TABLE CTAB (TIPO Text (10), COD Text (50), DES Text (255))");
    const std::vector<std::vector<Valore>> operatori = {
        {std::string("RSSMRA80A01H501U "), std::monostate{}, std::string(" ROSSI "),
         std::string("MARIO"), Data{1980, 1, 1}, std::string("")},
        {std::string("01234567890"), std::string(" ALFA SRL "), std::monostate{}, std::monostate{},
         std::monostate{}, std::string("01234567890")},
        {std::string("D'ANGELO"), std::string("APICE"), std::monostate{}, std::monostate{},
         std::monostate{}, std::monostate{}},
        {std::string("01234567890"), std::string("ALFA DOPPIA"), std::monostate{}, std::monostate{},
         std::monostate{}, std::string("01234567890")},
        {std::string("  "), std::string("SENZA CODICE"), std::monostate{}, std::monostate{},
         std::monostate{}, std::monostate{}},
    };
    for (const auto& o : operatori) d.Esegui("INSERT INTO COPE VALUES (?, ?, ?, ?, ?, ?)", o);
    d.Esegui(
        "INSERT INTO CTAB VALUES ('ITT', ' 01234567890 ', 'IMPEGNO ALFA'), ('ITT', 'D''ANGELO', "
        "'X'), "
        "('REL', '002', '01/01/2015')");
    return file;
  }
  void ScriviMarcatoreNev(const std::filesystem::path& db) {
    ScriviFileMarcatore(
        prog / "SYSTEM" / "FSYSNEV.DLL",
        {"provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + db.string(), "A", "/nev"});
  }
};

TEST_F(PrimoAvvioTest, CopiaGliOperatoriELImpegnoDallArchivioDellAnnoPrima) {
  ScriviMarcatoreNev(DatabaseCollegato());
  auto a = Avvia();
  Database& db = *a->db;
  // The creation of the database, then the codes the register would refuse, named.
  EXPECT_EQ(a->ui.Testi("avviso"),
            (std::vector<std::string>{
                a->ui.Testi("avviso")[0],
                "Copia degli operatori dall'archivio collegato: 2 operatori non copiati perché il "
                "codice fiscale non è valido (ammesse solo lettere e cifre, al massimo 16): "
                "\"D'ANGELO\", (vuoto).",
                "Copia degli operatori dall'archivio collegato: 1 riga di impegno non copiata "
                "perché il codice fiscale non è valido (ammesse solo lettere e cifre, al massimo "
                "16): \"D'ANGELO\"."}));
  Recordset rs(db, "SELECT * FROM COPE ORDER BY OCOD", {}, Recordset::Modo::SolaLettura);
  ASSERT_EQ(rs.RecordCount(), 2u);
  EXPECT_EQ(ValoreComeTesto(rs["OCOD"]), "01234567890");
  EXPECT_EQ(ValoreComeTesto(rs["ORAG"]), "ALFA DOPPIA");  // a code met twice updates its row
  EXPECT_EQ(ValoreComeTesto(rs["OPIVA"]), "01234567890");
  rs.MoveNext();
  EXPECT_EQ(ValoreComeTesto(rs["OCOD"]), "RSSMRA80A01H501U");
  EXPECT_EQ(ValoreComeTesto(rs["OCOG"]), "ROSSI");
  EXPECT_TRUE(EnNull(rs["ORAG"]));
  EXPECT_EQ(std::get<Data>(rs["ONDT"]), (Data{1980, 1, 1}));

  Recordset itt(db, "SELECT * FROM CTAB WHERE TIPO='ITT' ORDER BY COD", {},
                Recordset::Modo::SolaLettura);
  ASSERT_EQ(itt.RecordCount(), 1u);
  EXPECT_EQ(ValoreComeTesto(itt["COD"]), "01234567890");
  EXPECT_EQ(ValoreComeTesto(itt["DES"]), "IMPEGNO ALFA");
  EXPECT_EQ(Conta(db, "SELECT count(*) FROM CTAB WHERE TIPO='REL'"), 2);  // ours, not the link's
}

// A hostile last-year database reached through the marker: the start ends at once, nothing is
// copied, the program folder stays small, and the user is told why.
TEST_F(PrimoAvvioTest, UnArchivioCollegatoOstileNonFermaLAvvio) {
  struct Caso {
    std::string nome;
    std::vector<std::string> sql;
    std::string causa;
  } const kCasi[] = {
      {"COPE vista senza fine",
       {"CREATE VIEW COPE AS WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n) "
        "SELECT printf('A%015d', x) AS OCOD, hex(zeroblob(10000)) AS ORAG FROM n",
        "CREATE TABLE CTAB (TIPO Text, COD Text, DES Text)"},
       "L'archivio collegato non ha la tabella COPE."},
      {"CTAB vista senza fine",
       {"CREATE TABLE COPE (OCOD Text, ORAG Text)", "INSERT INTO COPE VALUES ('ALFA', 'A')",
        "CREATE VIEW CTAB AS WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n) "
        "SELECT 'ITT' AS TIPO, printf('A%015d', x) AS COD, 'X' AS DES FROM n"},
       ""},
      {"troppe righe",
       {"CREATE TABLE COPE (OCOD Text, ORAG Text)",
        "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n LIMIT 100001) "
        "INSERT INTO COPE SELECT printf('A%015d', x), 'X' FROM n"},
       "La tabella COPE dell'archivio collegato ha più di 100000 righe"},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.nome);
    test::CartellaTemporanea p;
    prog = p.Percorso();
    test::ScriviFile(prog / "configurazione.ini", "[opzioni]\nPCDirF=PGM\n");
    const auto collegato = p / "collegato.mdb";
    {
      Database d(collegato, Database::Modo::Creazione);
      for (const auto& sql : c.sql) d.Esegui(sql);
    }
    ScriviMarcatoreNev(collegato);
    auto a = Avvia();
    const auto avvisi = a->ui.Testi("avviso");
    if (c.causa.empty()) {
      // A CTAB that is no table has no commitment rows: the operators are copied.
      EXPECT_EQ(Conta(*a->db, "SELECT count(*) FROM COPE"), 1);
      EXPECT_EQ(Conta(*a->db, "SELECT count(*) FROM CTAB WHERE TIPO='ITT'"), 0);
      EXPECT_EQ(avvisi.size(), 1u);
    } else {
      EXPECT_EQ(Conta(*a->db, "SELECT count(*) FROM COPE"), 0);
      ASSERT_EQ(avvisi.size(), 2u);
      EXPECT_EQ(avvisi[1].rfind(
                    "Copia degli operatori dall'archivio collegato non riuscita: " + c.causa, 0),
                0u)
          << avvisi[1];
      EXPECT_NE(avvisi[1].find("Nessun operatore è stato copiato."), std::string::npos);
    }
    std::uintmax_t byte = 0;
    for (const auto& f : std::filesystem::recursive_directory_iterator(prog))
      if (f.is_regular_file()) byte += f.file_size();
    EXPECT_LT(byte, 8u << 20);  // the database with its reference data, nothing more
  }
}

TEST_F(PrimoAvvioTest, ConOperatoriGiaPresentiIlMarcatoreNonELetto) {
  {
    auto a = Avvia();
    a->db->Esegui("INSERT INTO COPE (OCOD, ORAG) VALUES ('99999999999', 'NOSTRO')");
  }
  ScriviMarcatoreNev(DatabaseCollegato());
  auto a = Avvia();
  EXPECT_EQ(Conta(*a->db, "SELECT count(*) FROM COPE"), 1);
  EXPECT_EQ(Conta(*a->db, "SELECT count(*) FROM CTAB WHERE TIPO='ITT'"), 0);
}

TEST_F(PrimoAvvioTest, UnCollegamentoNonApribileSaltaLaCopiaInSilenzio) {
  struct Case {
    std::string_view nome;
    std::string contenuto;  // of the linked file; empty: no file
  } const kCases[] = {
      {"archivio mancante", ""},
      {"archivio Access", std::string("\0\1\0\0Standard Jet DB\0", 20) + std::string(2000, '\0')},
      {"file qualsiasi", "nulla di utile"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.nome);
    test::CartellaTemporanea p;
    prog = p.Percorso();
    test::ScriviFile(prog / "configurazione.ini", "[opzioni]\nPCDirF=PGM\n");
    const auto collegato = p / "collegato.mdb";
    if (!c.contenuto.empty()) test::ScriviFile(collegato, c.contenuto);
    ScriviMarcatoreNev(collegato);
    auto a = Avvia();
    EXPECT_EQ(Conta(*a->db, "SELECT count(*) FROM COPE"), 0);
    EXPECT_EQ(a->ui.Testi("avviso").size(), 1u);
  }
}

}  // namespace
}  // namespace fcl
