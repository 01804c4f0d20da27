#include "shell/TabellaAteco.h"

#include <gtest/gtest.h>

#include "AtecoGenerato.h"
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

  // A CSV of ISTAT's size and shape replaces it.
  test::CartellaTemporanea dir;
  const auto istat = test::GeneraAteco(45);
  test::ScriviFile(dir / "ateco2007.csv", istat.csv);
  EXPECT_EQ(CaricaTabellaAteco(db, dir / "ateco2007.csv"), istat.voci);

  // A workbook without the two columns changes nothing.
  test::ScriviFile(dir / "rotto.xlsx", std::string("PK\x03\x04", 4) + "non un archivio zip");
  EXPECT_THROW(CaricaTabellaAteco(db, dir / "rotto.xlsx"), Errore);
  EXPECT_EQ(std::get<std::int64_t>(db.Scalare("SELECT count(*) FROM ATECO2007")),
            static_cast<std::int64_t>(istat.voci));
}

}  // namespace
}  // namespace fcl
