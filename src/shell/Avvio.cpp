#include "shell/Avvio.h"

#include <cstdlib>
#include <ctime>

#include "common/Errori.h"
#include "store/Recordset.h"
#include "store/Schema.h"

namespace fcl {

std::filesystem::path RisolviCartellaProgramma(const std::optional<std::filesystem::path>& data,
                                               const std::filesystem::path& cartellaEseguibile) {
  if (data && !data->empty()) return std::filesystem::absolute(*data);
  if (const char* env = std::getenv("FISCOLARIO_DIR"); env != nullptr && *env != '\0')
    return std::filesystem::absolute(env);
  if (std::filesystem::exists(cartellaEseguibile / "configurazione.ini")) return cartellaEseguibile;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg != '\0')
    return std::filesystem::path(xdg) / "fiscolario";
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home ? home : ".") / ".local" / "share" / "fiscolario";
}

void Avvia(Contesto& ctx, std::optional<Database>& db) {
  const auto& cartella = ctx.cartellaProgramma;
  ctx.fileIni = cartella / "configurazione.ini";
  const auto fileDb = cartella / "DataBase" / "FCL2013.mdb";
  ctx.stringaConnessione = "provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + fileDb.string();
  ctx.versionePgm = "Versione 1.0 - Monoutente";

  const bool nuovo = !std::filesystem::exists(fileDb);
  std::filesystem::create_directories(fileDb.parent_path());
  db.emplace(fileDb, Database::Modo::Creazione);
  ctx.connessioneDb = &*db;
  if (nuovo) {
    CreaSchema(*db);
    ctx.Ui().Avviso("Creato il database " + fileDb.string());
  }

  Recordset rel(*db, "SELECT * FROM CTAB WHERE TIPO='REL' AND COD='002' ");
  if (rel.RecordCount() == 0) {
    AggiornaStruttura(*db);
    rel.AddNew();
    rel.Imposta("TIPO", std::string("REL"));
    rel.Imposta("COD", std::string("002"));
    const std::time_t t = std::chrono::system_clock::to_time_t(ctx.adesso());
    std::tm tm{};
    localtime_r(&t, &tm);
    rel.Imposta("DES", Data{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday}.Testo());
    rel.Update();
  }

  ctx.releasePgm = "Release Giugno 2016";
  const std::time_t t = std::chrono::system_clock::to_time_t(ctx.adesso());
  std::tm tm{};
  localtime_r(&t, &tm);
  ctx.annoRiferimento = std::to_string(tm.tm_year + 1900 - 1);
}

}  // namespace fcl
