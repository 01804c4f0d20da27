// The reading of Access databases, on public sample files that nobody on this project wrote.

#include "shell/LeggiArchivioJet.h"

#include <gtest/gtest.h>

#include <fstream>

#include "CampioniAccess.h"
#include "CartellaTemporanea.h"
#include "common/RoutineCampi.h"
#include "shell/ArchivioCollegato.h"
#include "store/Recordset.h"

namespace fcl {
namespace {

const std::filesystem::path kMdb = test::CartellaCampioniAccess();

// One row as "NAME=kind:value" pairs, so that the kind read (Integer, Float, Date, text, Null)
// is checked along with the value.
std::string Riga(Recordset& rs) {
  std::string r;
  for (std::size_t i = 0; i < rs.NumeroCampi(); ++i) {
    const Valore& v = rs[i];
    r += rs.NomeCampo(i) + "=";
    if (EnNull(v))
      r += "Null";
    else if (const auto* d = std::get_if<Data>(&v))
      r += "D:" + d->Testo();
    else if (std::holds_alternative<std::int64_t>(v))
      r += "I:" + ValoreComeTesto(v);
    else if (const auto* x = std::get_if<double>(&v))
      r += "F:" + std::to_string(*x);
    else
      r += "[" + ValoreComeTesto(v) + "]";
    r += " ";
  }
  return r;
}

TEST(LeggiArchivioJetTest, LeggeTabelleDiFileAccessVeriConTipiENull) {
  FCL_SALTA_SENZA_CAMPIONI_ACCESS();
  struct Case {
    const char* file;
    const char* tabella;
    std::size_t righe;
    const char* ordine;  // the column that orders the rows
    std::string primaRiga;
  } const kCases[] = {
      {"nwind.mdb", "Shippers", 3, "ShipperID",
       "ShipperID=I:1 CompanyName=[Speedy Express] Phone=[(503) 555-9831] "},
      {"nwind.mdb", "Orders", 830, "OrderID",
       "OrderID=I:10248 CustomerID=[VINET] EmployeeID=I:5 OrderDate=D:04/08/1994 "
       "RequiredDate=D:01/09/1994 ShippedDate=D:16/08/1994 ShipVia=I:3 Freight=F:32.380000 "
       "ShipName=[Vins et alcools Chevalier] ShipAddress=[59 rue de l'Abbaye] ShipCity=[Reims] "
       "ShipRegion=Null ShipPostalCode=[51100] ShipCountry=[France] "},
      {"DateTestDatabase.mdb", "DateTest", 6, "IDCol",
       "IDCol=I:1 DateTimeCol=D:02/12/2021 DateCol=D:02/12/2021 TimeCol=D:02/12/2021 "
       "LongTextCol=[Hello] ShortTextCol=[Hello] "},
      {"ASampleDatabase.accdb", "Asset Items", 65, "\"Asset No\"",
       "Asset No=[30050] Asset Category=[Computer Hardware] Make=[GEO Rocket] Model=[220ZX] "
       "Description=[Computer] Owner=[Sales] Serial No=[344-667] Acquired=D:02/09/1997 "
       "Cost=F:1995.500000 Warranty=I:12 Tax Scale=[A] Supplier No=[44577] Comments=Null "},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.file) + " " + c.tabella);
    auto db = LeggiArchivioJet(kMdb / c.file, {c.tabella, "NESSUNA"});
    ASSERT_TRUE(db);
    EXPECT_FALSE(db->EsisteTabella("NESSUNA"));
    Recordset rs(*db, std::string("SELECT * FROM \"") + c.tabella + "\" ORDER BY " + c.ordine, {},
                 Recordset::Modo::SolaLettura);
    EXPECT_EQ(rs.RecordCount(), c.righe);
    EXPECT_EQ(Riga(rs), c.primaRiga);
  }
  // Accented texts arrive as UTF-8.
  auto db = LeggiArchivioJet(kMdb / "nwind.mdb", {"orders"});
  ASSERT_TRUE(db);
  EXPECT_EQ(ValoreComeTesto(db->Scalare("SELECT ShipName FROM Orders WHERE OrderID=10332")),
            "Mère Paillarde");
}

TEST(LeggiArchivioJetTest, FileNonLeggibileOSenzaLeTabelleEUnCollegamentoFallito) {
  FCL_SALTA_SENZA_CAMPIONI_ACCESS();
  test::CartellaTemporanea dir;
  // The first 64 KiB of a real Access file: the signature is there, the tables are not whole.
  {
    std::ifstream in(kMdb / "nwind.mdb", std::ios::binary);
    std::string testa(65536, '\0');
    in.read(testa.data(), static_cast<std::streamsize>(testa.size()));
    test::ScriviFile(dir / "tronco.mdb", testa);
  }
  test::ScriviFile(dir / "testo.mdb", "Standard Jet DB ma non un database");
  struct Case {
    std::filesystem::path file;
    std::vector<std::string> tabelle;
  } const kCases[] = {
      {kMdb / "nwind.mdb", {"COPE", "CTAB"}},  // none of the tables asked for
      {dir / "tronco.mdb", {"Orders"}},
      {dir / "testo.mdb", {"COPE"}},
      {dir / "manca.mdb", {"COPE"}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.file.string());
    EXPECT_FALSE(LeggiArchivioJet(c.file, c.tabelle));
  }
  // The sibling imports see an Access file without their tables as a failed link.
  EXPECT_FALSE(ApriDatabaseCollegato(kMdb / "nwind.mdb"));
}

}  // namespace
}  // namespace fcl
