#include "shell/TabellaAteco.h"

#include <gtest/gtest.h>

#include "CartellaTemporanea.h"
#include "common/Errori.h"
#include "store/Recordset.h"
#include "store/Schema.h"

namespace fcl {
namespace {

std::vector<std::string> Ateco(Database& db) {
  std::vector<std::string> v;
  Recordset rs(db, "SELECT CODICE || '=' || DESCRIZIONE FROM ATECO2007 ORDER BY rowid", {},
               Recordset::Modo::SolaLettura);
  for (; !rs.Eof(); rs.MoveNext()) v.push_back(ValoreComeTesto(rs[0]));
  return v;
}

TEST(TabellaAteco, DaCartellaDiLavoroODaCsv) {
  Database db = Database::InMemoria();
  CreaSchema(db);
  EXPECT_EQ(
      CaricaTabellaAteco(db, std::filesystem::path(FCL_SOURCE_DIR) / "tests/shell/data/ateco.xlsx"),
      4u);
  const std::vector<std::string> attese = {
      "A=AGRICOLTURA, SILVICOLTURA E PESCA",
      "01=COLTIVAZIONI AGRICOLE E PRODUZIONE DI PRODOTTI ANIMALI, CACCIA E SERVIZI CONNESSI",
      "01.11.10=Coltivazione di cereali (escluso il riso)",
      "96.09.05=Organizzazione di feste e cerimonie"};
  EXPECT_EQ(Ateco(db), attese);

  EXPECT_EQ(
      CaricaTabellaAteco(db, std::filesystem::path(FCL_SHARED_DIR) / "data" / "ateco2007.csv"),
      3138u);

  // A workbook without the two columns changes nothing.
  test::CartellaTemporanea dir;
  test::ScriviFile(dir / "rotto.xlsx", std::string("PK\x03\x04", 4) + "non un archivio zip");
  EXPECT_THROW(CaricaTabellaAteco(db, dir / "rotto.xlsx"), Errore);
  EXPECT_EQ(std::get<std::int64_t>(db.Scalare("SELECT count(*) FROM ATECO2007")), 3138);
}

}  // namespace
}  // namespace fcl
