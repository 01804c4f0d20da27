// The conversion of the Access database left by the Windows installation, on a real Access 97
// file (the public Northwind sample) whose tables were given our names in place.

#include "shell/MigrazioneJet.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <memory>

#include "AccessRinominato.h"
#include "CampioniAccess.h"
#include "CartellaTemporanea.h"
#include "InterazioneRegistrata.h"
#include "common/Errori.h"
#include "common/RoutineCampi.h"
#include "shell/Avvio.h"
#include "store/DatiRiferimento.h"
#include "store/FormatoArchivio.h"
#include "store/Recordset.h"

namespace fcl {
namespace {

const std::filesystem::path kNwind = test::CartellaCampioniAccess() / "nwind.mdb";

// Employees becomes the operators, Shippers the code table. Texts, a memo, whole numbers, dates
// and Nulls of Access all land in our columns; Title of courtesy and Photo have no column of ours.
const test::Ridenominazione kImpiegati = {"Employees",
                                          "COPE",
                                          {{"EmployeeID", "OCOD"},
                                           {"LastName", "OCOG"},
                                           {"FirstName", "ONOME"},
                                           {"Title", "ORAG"},
                                           {"BirthDate", "ONDT"},
                                           {"HireDate", "OSTCNDT"},
                                           {"Address", "OSCOM"},
                                           {"City", "ODES"},
                                           {"Region", "ONPRO"},
                                           {"PostalCode", "OPIVA"},
                                           {"Country", "OSPRO"},
                                           {"HomePhone", "OTEL"},
                                           {"Extension", "OFAX"},
                                           {"Notes", "OATTD"},
                                           {"ReportsTo", "OSTCTP"}}};
const test::Ridenominazione kSpedizionieri = {
    "Shippers", "CTAB", {{"ShipperID", "COD"}, {"CompanyName", "DES"}, {"Phone", "TIPO"}}};

std::chrono::system_clock::time_point Il15Giugno2016() {
  std::tm tm{};
  tm.tm_year = 2016 - 1900;
  tm.tm_mon = 5;
  tm.tm_mday = 15;
  tm.tm_hour = 10;
  tm.tm_isdst = -1;
  return std::chrono::system_clock::from_time_t(std::mktime(&tm));
}

struct Avvio {
  test::InterazioneRegistrata ui;
  Contesto ctx;
  std::optional<Database> db;
};

std::vector<std::string> FileNellaCartella(const std::filesystem::path& cartella) {
  std::vector<std::string> nomi;
  for (const auto& voce : std::filesystem::directory_iterator(cartella))
    nomi.push_back(voce.path().filename().string());
  std::sort(nomi.begin(), nomi.end());
  return nomi;
}

class MigrazioneJetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FCL_SALTA_SENZA_CAMPIONI_ACCESS();
    ::setenv("XDG_DATA_HOME", (dir / "xdg").c_str(), 1);
    prog = dir / "prog";
    std::filesystem::create_directories(prog / "DataBase");
    test::ScriviFile(prog / "configurazione.ini", "[opzioni]\nPCDirF=PGM\n");
  }

  std::unique_ptr<Avvio> Avvia() {
    auto a = std::make_unique<Avvio>();
    a->ctx.cartellaProgramma = prog;
    a->ctx.interazione = &a->ui;
    a->ctx.adesso = Il15Giugno2016;
    fcl::Avvia(a->ctx, a->db);
    return a;
  }

  std::filesystem::path FileDb() const { return prog / "DataBase" / "FCL2013.mdb"; }
  std::filesystem::path Originale(const std::string& suffisso = "") const {
    return prog / "DataBase" / ("FCL2013.access-20160615" + suffisso + ".mdb");
  }

  test::CartellaTemporanea dir;
  std::filesystem::path prog;
};

TEST_F(MigrazioneJetTest, IlDatabaseAccessDiventaSqliteConTutteLeRigheEL_OriginaleResta) {
  const std::string access =
      test::RinominaInAccess97(test::LeggiFile(kNwind), {kImpiegati, kSpedizionieri});
  test::ScriviFile(FileDb(), access);
  {
    auto a = Avvia();
    ASSERT_EQ(a->ui.voci.size(), 1u);
    EXPECT_EQ(a->ui.Testi("avviso")[0],
              "Il database " + FileDb().string() +
                  " era in formato Access (Jet): è stato convertito nel formato di FISCOLARIO "
                  "riportando 9 operatori e 3 righe della tabella dei codici. L'originale è "
                  "conservato senza modifiche in " +
                  Originale().string() + ".");
    Database& db = *a->db;
    EXPECT_EQ(a->ctx.connessioneDb, &db);
    EXPECT_EQ(db.Colonne("COPE").size(), 32u);
    EXPECT_EQ(std::get<std::int64_t>(db.Scalare("SELECT count(*) FROM T_COMUNI")),
              static_cast<std::int64_t>(RigheComuniIncorporate()));

    Recordset rs(db, "SELECT * FROM COPE ORDER BY CAST(OCOD AS INTEGER)", {},
                 Recordset::Modo::SolaLettura);
    ASSERT_EQ(rs.RecordCount(), 9u);
    // The first operator, and the two whose Access row holds Nulls: no region (UK staff), no
    // manager (the vice president).
    struct Case {
      const char* ocod;
      const char* ocog;
      const char* onome;
      Data ondt;
      const char* ostcndt;  // an Access date in a text column of ours
      const char* onpro;    // "" for Null
      const char* ostctp;   // an Access number in a text column of ours; "" for Null
      const char* otel;
    } const kCases[] = {
        {"1", "Davolio", "Nancy", {1948, 12, 8}, "01/05/1992", "WA", "2", "(206) 555-9857"},
        {"2", "Fuller", "Andrew", {1952, 2, 19}, "14/08/1992", "WA", "", "(206) 555-9482"},
        {"5", "Buchanan", "Steven", {1955, 3, 4}, "17/10/1993", "", "2", "(71) 555-4848"},
    };
    for (const auto& c : kCases) {
      SCOPED_TRACE(c.ocod);
      ASSERT_TRUE(rs.Find(std::string("OCOD = '") + c.ocod + "'"));
      EXPECT_EQ(ValoreComeTesto(rs["OCOG"]), c.ocog);
      EXPECT_EQ(ValoreComeTesto(rs["ONOME"]), c.onome);
      ASSERT_TRUE(std::holds_alternative<Data>(rs["ONDT"]));
      EXPECT_EQ(std::get<Data>(rs["ONDT"]), c.ondt);
      EXPECT_EQ(ValoreComeTesto(rs["OSTCNDT"]), c.ostcndt);
      EXPECT_EQ(EnNull(rs["ONPRO"]), *c.onpro == '\0');
      EXPECT_EQ(ValoreComeTesto(rs["ONPRO"]), c.onpro);
      EXPECT_EQ(EnNull(rs["OSTCTP"]), *c.ostctp == '\0');
      EXPECT_EQ(ValoreComeTesto(rs["OSTCTP"]), c.ostctp);
      EXPECT_EQ(ValoreComeTesto(rs["OTEL"]), c.otel);
      // Columns Access did not have stay empty.
      EXPECT_TRUE(EnNull(rs["OSTCCF"]));
      EXPECT_TRUE(EnNull(rs["OPOSTA"]));
      rs.MoveFirst();
    }
    // A memo longer than a text column arrives whole.
    const std::string note = ValoreComeTesto(db.Scalare("SELECT OATTD FROM COPE WHERE OCOD='1'"));
    EXPECT_EQ(note.rfind("Education includes a BA in psychology", 0), 0u) << note;
    EXPECT_GT(note.size(), 150u);

    Recordset ctab(db, "SELECT * FROM CTAB WHERE TIPO <> 'REL' ORDER BY COD", {},
                   Recordset::Modo::SolaLettura);
    ASSERT_EQ(ctab.RecordCount(), 3u);
    EXPECT_EQ(ValoreComeTesto(ctab["TIPO"]), "(503) 555-9831");
    EXPECT_EQ(ValoreComeTesto(ctab["COD"]), "1");
    EXPECT_EQ(ValoreComeTesto(ctab["DES"]), "Speedy Express");
    // The original had no upgrade mark: the start-up stored it as on any older database.
    EXPECT_EQ(ValoreComeTesto(db.Scalare("SELECT DES FROM CTAB WHERE TIPO='REL' AND COD='002'")),
              "15/06/2016");
  }
  EXPECT_EQ(RiconosciFormato(FileDb()), FormatoArchivio::Sqlite);
  EXPECT_EQ(test::LeggiFile(Originale()), access);
  EXPECT_EQ(FileNellaCartella(prog / "DataBase"),
            (std::vector<std::string>{"FCL2013.access-20160615.mdb", "FCL2013.mdb"}));

  // A second start finds this system's database and converts nothing.
  const std::string convertito = test::LeggiFile(FileDb());
  {
    auto a = Avvia();
    EXPECT_TRUE(a->ui.voci.empty());
    EXPECT_EQ(std::get<std::int64_t>(a->db->Scalare("SELECT count(*) FROM COPE")), 9);
  }
  EXPECT_EQ(test::LeggiFile(FileDb()), convertito);
  EXPECT_EQ(test::LeggiFile(Originale()), access);
  EXPECT_EQ(FileNellaCartella(prog / "DataBase").size(), 2u);
}

TEST_F(MigrazioneJetTest, OperatoriSenzaCodiceOConCodiceRipetutoSonoNominatiEL_OriginaleResta) {
  // Here the manager's number is the operator code: one row has none, most repeat one. Names
  // are matched whatever their case.
  const test::Ridenominazione impiegati = {
      "Employees", "Cope", {{"ReportsTo", "OCOD"}, {"LastName", "Ocog"}, {"FirstName", "onome"}}};
  const std::string access =
      test::RinominaInAccess97(test::LeggiFile(kNwind), {impiegati, kSpedizionieri});
  test::ScriviFile(FileDb(), access);
  // Names already taken beside the database are never overwritten.
  test::ScriviFile(Originale(), "altro");
  test::ScriviFile(Originale("-2"), "altro ancora");

  const EsitoMigrazione esito = MigraDatabaseJet(FileDb(), Data{2016, 6, 15});
  EXPECT_EQ(esito.operatori, 2);
  EXPECT_EQ(esito.righeTabella, 3);
  EXPECT_EQ(esito.originale, Originale("-3"));
  EXPECT_EQ(esito.scartati.size(), 7u);
  const std::string messaggio = MessaggioMigrazione(FileDb(), esito);
  EXPECT_NE(messaggio.find("riportando 2 operatori e 3 righe della tabella dei codici. Non sono "
                           "stati riportati 7 operatori: "),
            std::string::npos)
      << messaggio;
  EXPECT_NE(messaggio.find("Fuller Andrew (senza codice)"), std::string::npos) << messaggio;
  EXPECT_NE(messaggio.find("2 (codice ripetuto)"), std::string::npos) << messaggio;
  EXPECT_NE(messaggio.find("5 (codice ripetuto)"), std::string::npos) << messaggio;

  EXPECT_EQ(test::LeggiFile(Originale("-3")), access);
  EXPECT_EQ(test::LeggiFile(Originale()), "altro");
  EXPECT_EQ(test::LeggiFile(Originale("-2")), "altro ancora");
  Database db(FileDb(), Database::Modo::SolaLettura);
  EXPECT_EQ(std::get<std::int64_t>(db.Scalare("SELECT count(*) FROM COPE")), 2);
}

TEST_F(MigrazioneJetTest, UnFileAccessIlleggibileOSenzaLeTabelleVieneRifiutatoSenzaToccarlo) {
  const std::string nwind = test::LeggiFile(kNwind);
  struct Case {
    std::string_view nome;
    std::string contenuto;
  } const kCases[] = {
      {"Access senza COPE e CTAB", nwind},
      {"Access con COPE senza CTAB", test::RinominaInAccess97(nwind, {kImpiegati})},
      {"Access troncato",
       test::RinominaInAccess97(nwind, {kImpiegati, kSpedizionieri}).substr(0, 64 * 1024)},
      {"Access danneggiato",
       [&] {
         std::string s = test::RinominaInAccess97(nwind, {kImpiegati, kSpedizionieri});
         for (std::size_t i = 2048; i < s.size(); ++i) s[i] = static_cast<char>(i * 7);
         return s;
       }()},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.nome);
    test::ScriviFile(FileDb(), c.contenuto);
    try {
      Avvia();
      ADD_FAILURE() << "started on an Access file that cannot be converted";
    } catch (const ErroreDatabase& e) {
      EXPECT_EQ(std::string(e.what()),
                "Il database " + FileDb().string() +
                    " è in formato Access (Jet) ma non si può convertire: il file è danneggiato o "
                    "non contiene le tabelle COPE e CTAB di FISCOLARIO. Il file non è stato "
                    "modificato.");
    }
    EXPECT_EQ(test::LeggiFile(FileDb()), c.contenuto);
    EXPECT_EQ(FileNellaCartella(prog / "DataBase"), std::vector<std::string>{"FCL2013.mdb"});
  }
}

TEST(NomeOriginaleJetTest, AccantoAlDatabaseConLaDataEUnNumeroSeOccupato) {
  test::CartellaTemporanea dir;
  const auto file = dir / "FCL2013.mdb";
  EXPECT_EQ(NomeOriginaleJet(file, Data{2026, 1, 5}), dir / "FCL2013.access-20260105.mdb");
  test::ScriviFile(dir / "FCL2013.access-20260105.mdb", "x");
  EXPECT_EQ(NomeOriginaleJet(file, Data{2026, 1, 5}), dir / "FCL2013.access-20260105-2.mdb");
}

}  // namespace
}  // namespace fcl
