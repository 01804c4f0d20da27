#include "shell/CorreggiCodiciOperatori.h"

#include <memory>
#include <string>
#include <vector>

#include "backup/Backup.h"
#include "common/CodiceOperatore.h"
#include "common/Errori.h"
#include "common/RoutineCampi.h"
#include "common/ScritturaAtomica.h"
#include "store/Recordset.h"
#include "store/Schema.h"

namespace fcl {
namespace {

struct Codice {
  std::int64_t rowid = 0;
  std::string codice;
  std::string descrizione;
};

std::vector<Codice> Leggi(Database& db, const char* sql) {
  std::vector<Codice> codici;
  Recordset rs(db, sql, {}, Recordset::Modo::SolaLettura);
  for (; !rs.Eof(); rs.MoveNext())
    codici.push_back({std::get<std::int64_t>(rs[0]), ValoreComeTesto(rs[1]), CampoTesto(rs[2])});
  return codici;
}

bool Occupato(Database& db, const char* tabella, const char* colonna, const char* tipo,
              const std::string& codice, std::int64_t rowid) {
  std::string sql = std::string("SELECT count(*) FROM ") + tabella + " WHERE " + colonna + "=?" +
                    std::string(kConfrontaCodice) + " AND rowid<>?";
  if (tipo != nullptr) sql += std::string(" AND TIPO='") + tipo + "'";
  return std::get<std::int64_t>(db.Scalare(sql, {codice, rowid})) > 0;
}

// A free name in the program folder for the rows set aside.
std::filesystem::path NomeAccantonato(const Contesto& ctx, const std::string& codice) {
  std::string nome;
  for (const char c : codice) nome += (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ? c : '_';
  if (nome.size() > 20) nome.resize(20);
  for (int n = 1;; ++n) {
    auto file =
        ctx.cartellaProgramma / ("CODICE_DOPPIO_" + nome + "_" + std::to_string(n) + ".FCL");
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) return file;
  }
}

}  // namespace

void CorreggiCodiciOperatori(Contesto& ctx) {
  Database& db = ctx.Db();
  std::vector<std::string> avvisi;
  std::vector<std::unique_ptr<ScritturaAtomica>> file;
  Transazione tr(db);
  CreaIndiciCodici(db);
  for (const Codice& o : Leggi(db, "SELECT rowid, OCOD, ODES FROM COPE WHERE OCOD IS NOT NULL")) {
    const std::string giusto = NormalizzaCodice(o.codice);
    if (giusto == o.codice) continue;
    if (!giusto.empty() && !Occupato(db, "COPE", "OCOD", nullptr, giusto, o.rowid)) {
      db.Esegui("UPDATE COPE SET OCOD=? WHERE rowid=?", {giusto, o.rowid});
      // Its commitment row was saved with the same code.
      db.Esegui(
          "UPDATE CTAB SET COD=? WHERE TIPO='ITT' AND COD=? AND NOT EXISTS (SELECT 1 FROM "
          "CTAB WHERE TIPO='ITT' AND COD=?" +
              std::string(kConfrontaCodice) + ")",
          {giusto, o.codice, giusto});
      continue;
    }
    // Set aside whole: its row and the code-table rows saved with exactly its code.
    std::size_t righe = 0;
    std::string byte = RigheBackupDove(db, "COPE", "rowid", o.rowid, false);
    byte += RigheBackupDove(db, "CTAB", "COD", o.codice, false, &righe);
    auto scrittura = std::make_unique<ScritturaAtomica>(NomeAccantonato(ctx, giusto));
    scrittura->Scrivi(byte);
    scrittura->Prepara();
    db.Esegui("DELETE FROM COPE WHERE rowid=?", {o.rowid});
    db.Esegui("DELETE FROM CTAB WHERE COD=?", {o.codice});
    avvisi.push_back(
        "Il codice fiscale " + CodiceNelMessaggio(o.codice) + " dell'operatore " + o.descrizione +
        (giusto.empty() ? std::string(" è vuoto")
                        : " non può essere corretto in " + CodiceNelMessaggio(giusto) +
                              " perché questo codice è già di un altro operatore") +
        ". I suoi dati sono stati tolti dall'elenco e salvati nel file " +
        scrittura->Destinazione().string() +
        (giusto.empty() ? std::string(".")
                        : ": per usarli al posto di quelli dell'altro operatore, ripristinare "
                          "quel file."));
    file.push_back(std::move(scrittura));
  }
  for (const Codice& c :
       Leggi(db, "SELECT rowid, COD, DES FROM CTAB WHERE TIPO='ITT' AND COD IS NOT NULL")) {
    const std::string giusto = NormalizzaCodice(c.codice);
    if (giusto == c.codice) continue;
    if (!giusto.empty() && !Occupato(db, "CTAB", "COD", "ITT", giusto, c.rowid)) {
      db.Esegui("UPDATE CTAB SET COD=? WHERE rowid=?", {giusto, c.rowid});
      continue;
    }
    db.Esegui("DELETE FROM CTAB WHERE rowid=?", {c.rowid});
    avvisi.push_back("I dati di impegno alla trasmissione registrati con il codice " +
                     CodiceNelMessaggio(c.codice) + " (\"" + c.descrizione +
                     "\") sono stati tolti: l'operatore " + CodiceNelMessaggio(giusto) +
                     " ha già i suoi.");
  }
  // The files first: a database change without its file would lose the rows set aside.
  for (auto& f : file) f->Conferma();
  tr.Conferma();
  for (const auto& a : avvisi) ctx.Ui().Avviso(a);
}

}  // namespace fcl
