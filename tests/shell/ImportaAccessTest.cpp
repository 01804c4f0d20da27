// The operator imports from sibling databases in Access format, on a real Access 97 file (the
// public Northwind sample) whose tables were given the sibling programs' names in place.

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "AccessRinominato.h"
#include "CampioniAccess.h"
#include "CartellaTemporanea.h"
#include "InterazioneRegistrata.h"
#include "common/RoutineCampi.h"
#include "shell/Avvio.h"
#include "shell/ImportaOperatori.h"
#include "shell/Marcatori.h"
#include "store/Recordset.h"
#include "store/Schema.h"

namespace fcl {
namespace {

const std::filesystem::path kNwind = test::CartellaCampioniAccess() / "nwind.mdb";

// VELA and last year's edition keep COPE and CTAB: Employees and Shippers take their names.
const std::vector<test::Ridenominazione> kVela = {
    {"Employees",
     "COPE",
     {{"EmployeeID", "OCOD"},
      {"LastName", "OCOG"},
      {"FirstName", "ONOME"},
      {"Title", "ORAG"},
      {"TitleOfCourtesy", "OSEX"},
      {"BirthDate", "ONDT"},
      {"Address", "ONCOM"},
      {"Region", "ONPRO"},
      {"PostalCode", "OSCOM"},
      {"Extension", "OSPRO"},
      {"ReportsTo", "OSTP"},
      {"Country", "ODES"}}},
    {"Shippers", "CTAB", {{"ShipperID", "COD"}, {"CompanyName", "DES"}, {"Phone", "TIPO"}}},
};
// ORSA keeps OPE: Customers takes its name.
const std::vector<test::Ridenominazione> kOrsa = {
    {"Customers",
     "OPE",
     {{"CustomerID", "OCF"},
      {"CompanyName", "ORAG"},
      {"PostalCode", "OPIVA"},
      {"Country", "OLOCA"},
      {"Region", "OPR"}}},
};

std::int64_t Conta(Database& db, const std::string& sql) {
  return std::get<std::int64_t>(db.Scalare(sql));
}

class ImportaAccessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FCL_SALTA_SENZA_CAMPIONI_ACCESS();
    ::setenv("XDG_DATA_HOME", (dir / "xdg").c_str(), 1);
    prog = dir / "prog";
    std::filesystem::create_directories(prog / "SYSTEM");
    test::ScriviFile(prog / "configurazione.ini", "[opzioni]\nPCDirF=PGM\n");
  }

  std::filesystem::path Access(const std::string& nome,
                               const std::vector<test::Ridenominazione>& tabelle) {
    const auto file = dir / nome;
    test::ScriviFile(file, test::RinominaInAccess97(test::LeggiFile(kNwind), tabelle));
    return file;
  }
  void Marcatore(std::string_view nome, const std::filesystem::path& file) {
    ScriviFileMarcatore(
        prog / "SYSTEM" / std::string(nome),
        {"provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + file.string(), "A", "/x"});
  }

  test::CartellaTemporanea dir;
  std::filesystem::path prog;
};

TEST_F(ImportaAccessTest, PrimoAvvioEVelaCopianoGliOperatoriDaUnArchivioAccess) {
  const auto vela = Access("vela.mdb", kVela);
  const std::string velaPrima = test::LeggiFile(vela);
  Marcatore(kMarcatorePrecedente, vela);
  Marcatore(kMarcatoreVela, vela);

  test::InterazioneRegistrata ui;
  Contesto ctx;
  ctx.cartellaProgramma = prog;
  ctx.interazione = &ui;
  std::optional<Database> db;
  Avvia(ctx, db);
  // The first start copied the operators of last year's edition.
  ASSERT_EQ(Conta(*db, "SELECT count(*) FROM COPE"), 9);
  {
    Recordset rs(*db, "SELECT * FROM COPE WHERE OCOD='5'", {}, Recordset::Modo::SolaLettura);
    ASSERT_EQ(rs.RecordCount(), 1u);
    EXPECT_EQ(ValoreComeTesto(rs["OCOG"]), "Buchanan");
    EXPECT_EQ(ValoreComeTesto(rs["ORAG"]), "Sales Manager");
    EXPECT_EQ(CampoData(rs["ONDT"]), (Data{1955, 3, 4}));
    EXPECT_EQ(ValoreComeTesto(rs["ONCOM"]), "14 Garrett Hill");
    EXPECT_TRUE(EnNull(rs["ONPRO"]));
    EXPECT_EQ(ValoreComeTesto(rs["ODES"]), "UK");
    EXPECT_EQ(ValoreComeTesto(rs["OPIVA"]), "");
    EXPECT_EQ(ValoreComeTesto(rs["OSEX"]), "Mr.");
    EXPECT_EQ(ValoreComeTesto(rs["OSTP"]), "2");  // an Access number
  }

  // VELA's import on the same file: everyone is already there and stays as it is.
  db->Esegui("UPDATE COPE SET ORAG='CAMBIATO' WHERE OCOD='1'");
  db->Esegui("DELETE FROM COPE WHERE OCOD='9'");
  ui.voci.clear();
  auto esito = OPEvela_Click(ctx);
  ASSERT_TRUE(esito);
  EXPECT_EQ(esito->aggiunti, 1);
  EXPECT_EQ(esito->presenti, 8);
  EXPECT_EQ(esito->impegni, 0);  // no commitment rows in that CTAB
  EXPECT_EQ(esito->falliti, 0);
  EXPECT_EQ(ValoreComeTesto(db->Scalare("SELECT ORAG FROM COPE WHERE OCOD='1'")), "CAMBIATO");
  EXPECT_EQ(ValoreComeTesto(db->Scalare("SELECT OCOG FROM COPE WHERE OCOD='9'")), "Dodsworth");
  EXPECT_EQ(ui.Testi("domanda").size(), 1u);
  EXPECT_TRUE(ui.Testi("avviso").empty());
  EXPECT_EQ(test::LeggiFile(vela), velaPrima);  // only read
}

TEST_F(ImportaAccessTest, OrsaCopiaIClientiDaUnArchivioAccess) {
  const auto orsa = Access("orsa.mdb", kOrsa);
  Marcatore(kMarcatoreOrsa, orsa);
  test::InterazioneRegistrata ui;
  Contesto ctx;
  ctx.cartellaProgramma = prog;
  ctx.configurazione.pcDirF = prog.string();
  ctx.interazione = &ui;
  Database db = Database::InMemoria();
  CreaSchema(db);
  db.Esegui("INSERT INTO COPE (OCOD, ORAG) VALUES ('ALFKI', 'NOSTRO')");
  ctx.connessioneDb = &db;

  auto esito = OPEORSA_Click(ctx);
  ASSERT_TRUE(esito);
  EXPECT_EQ(esito->aggiunti, 90);
  EXPECT_EQ(esito->presenti, 1);
  EXPECT_EQ(esito->falliti, 0);
  EXPECT_EQ(ValoreComeTesto(db.Scalare("SELECT ORAG FROM COPE WHERE OCOD='ALFKI'")), "NOSTRO");
  struct Case {
    const char* ocod;
    const char* orag;
    const char* opiva;  // "" for unset
    const char* oscom;
    const char* ospro;  // "" for Null
  } const kCases[] = {
      {"ANATR", "Ana Trujillo Emparedados y helados", "05021", "Mexico", ""},
      {"GREAL", "Great Lakes Food Market", "97403", "USA", "OR"},
      {"HUNGO", "Hungry Owl All-Night Grocers", "", "Ireland", "Co. Cork"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.ocod);
    Recordset rs(db, std::string("SELECT * FROM COPE WHERE OCOD='") + c.ocod + "'", {},
                 Recordset::Modo::SolaLettura);
    ASSERT_EQ(rs.RecordCount(), 1u);
    EXPECT_EQ(ValoreComeTesto(rs["ORAG"]), c.orag);
    EXPECT_EQ(ValoreComeTesto(rs["ODES"]), c.orag);
    EXPECT_EQ(EnNull(rs["OPIVA"]), *c.opiva == '\0');
    EXPECT_EQ(ValoreComeTesto(rs["OPIVA"]), c.opiva);
    EXPECT_EQ(ValoreComeTesto(rs["OSCOM"]), c.oscom);
    EXPECT_EQ(ValoreComeTesto(rs["OSPRO"]), c.ospro);
    EXPECT_EQ(ValoreComeTesto(rs["OCOG"]), "");
    EXPECT_TRUE(CampoData(rs["ONDT"]).Zero());
  }
  auto seconda = OPEORSA_Click(ctx);
  ASSERT_TRUE(seconda);
  EXPECT_EQ(seconda->aggiunti, 0);
  EXPECT_EQ(Conta(db, "SELECT count(*) FROM COPE"), 91);
}

}  // namespace
}  // namespace fcl
