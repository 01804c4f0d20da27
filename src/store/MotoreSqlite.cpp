#include "store/Motore.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <utility>

#include "common/Errori.h"
#include "store/ErroreSqlite.h"
#include "store/Istruzione.h"
#include "store/Recordset.h"

namespace fcl {

TipoCampo TipoDaDichiarato(std::string_view dichiarato) {
  std::string t(dichiarato);
  std::transform(t.begin(), t.end(), t.begin(), [](unsigned char c) { return std::toupper(c); });
  if (t.find("DATE") != std::string::npos) return TipoCampo::Data;
  if (t.find("DOUBLE") != std::string::npos || t.find("REAL") != std::string::npos ||
      t.find("FLOA") != std::string::npos)
    return TipoCampo::Doppio;
  if (t.find("INT") != std::string::npos) return TipoCampo::Intero;
  if (t.find("TEXT") != std::string::npos || t.find("CHAR") != std::string::npos || t.empty())
    return TipoCampo::Testo;
  return TipoCampo::Altro;
}

// Binds `parametri` to the statement's "?" in order.
void Lega(sqlite3* db, sqlite3_stmt* stmt, const std::vector<Valore>& parametri) {
  for (std::size_t k = 0; k < parametri.size(); ++k) {
    const int i = static_cast<int>(k);
    const Valore& v = parametri[k];
    int rc = SQLITE_OK;
    if (EnNull(v)) {
      rc = sqlite3_bind_null(stmt, i + 1);
    } else if (const auto* n = std::get_if<std::int64_t>(&v)) {
      rc = sqlite3_bind_int64(stmt, i + 1, *n);
    } else if (const auto* x = std::get_if<double>(&v)) {
      rc = sqlite3_bind_double(stmt, i + 1, *x);
    } else if (const auto* s = std::get_if<std::string>(&v)) {
      rc = sqlite3_bind_text(stmt, i + 1, s->data(), static_cast<int>(s->size()), SQLITE_TRANSIENT);
    } else if (const auto* d = std::get_if<Data>(&v)) {
      const std::string iso = d->Iso();
      rc = sqlite3_bind_text(stmt, i + 1, iso.data(), static_cast<int>(iso.size()),
                             SQLITE_TRANSIENT);
    }
    if (rc != SQLITE_OK) ErroreSqlite(db);
  }
}

Istruzione::Istruzione(Database& db, std::string_view sql, const std::vector<Valore>& parametri)
    : Istruzione(HandleRichiesto(db), sql, parametri) {}

sqlite3* Istruzione::HandleRichiesto(Database& db) {
  if (db.Handle() == nullptr)
    throw ErroreDatabase(
        "Errore del database: errore interno del programma; rivolgersi all'assistenza" +
        std::string(kDettaglioAssistenza) + "istruzione SQLite su " + db.Descrizione());
  return db.Handle();
}

Istruzione::Istruzione(sqlite3* db, std::string_view sql, const std::vector<Valore>& parametri)
    : db_(db) {
  if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr) !=
      SQLITE_OK)
    ErroreSqlite(db);
  if (stmt_ == nullptr) return;
  const int attesi = sqlite3_bind_parameter_count(stmt_);
  if (attesi != static_cast<int>(parametri.size())) {
    sqlite3_finalize(stmt_);
    throw ErroreDatabase(
        "Errore del database: errore interno del programma; rivolgersi all'assistenza" +
        std::string(kDettaglioAssistenza) + "parametri attesi " + std::to_string(attesi) +
        ", dati " + std::to_string(parametri.size()));
  }
  try {
    Lega(db, stmt_, parametri);
  } catch (...) {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    throw;
  }
}

Istruzione::~Istruzione() { sqlite3_finalize(stmt_); }

bool Istruzione::Passo() {
  if (stmt_ == nullptr) return false;
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  ErroreSqlite(db_);
}

int Istruzione::NumeroColonne() const { return stmt_ ? sqlite3_column_count(stmt_) : 0; }

std::string Istruzione::NomeColonna(int i) const {
  const char* n = sqlite3_column_name(stmt_, i);
  return n ? n : "";
}

TipoCampo Istruzione::TipoDichiarato(int i) const {
  const char* d = sqlite3_column_decltype(stmt_, i);
  return d ? TipoDaDichiarato(d) : TipoCampo::Altro;
}

Valore Istruzione::Colonna(int i, TipoCampo tipo) const {
  switch (sqlite3_column_type(stmt_, i)) {
    case SQLITE_NULL:
      return std::monostate{};
    case SQLITE_INTEGER:
      if (tipo == TipoCampo::Doppio) return static_cast<double>(sqlite3_column_int64(stmt_, i));
      if (tipo == TipoCampo::Data) return Data::DaSeriale(sqlite3_column_int64(stmt_, i));
      return static_cast<std::int64_t>(sqlite3_column_int64(stmt_, i));
    case SQLITE_FLOAT:
      if (tipo == TipoCampo::Data)
        return Data::DaSeriale(static_cast<long long>(sqlite3_column_double(stmt_, i)));
      return sqlite3_column_double(stmt_, i);
    default: {
      const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i));
      std::string s(p ? p : "", static_cast<std::size_t>(sqlite3_column_bytes(stmt_, i)));
      if (tipo == TipoCampo::Data) {
        if (auto d = Data::DaTesto(s)) return *d;
      }
      return s;
    }
  }
}

namespace {

// An Istruzione seen as a cursor of the engine interface.
class CursoreSqlite : public Cursore {
 public:
  CursoreSqlite(sqlite3* db, std::string_view sql, const std::vector<Valore>& parametri)
      : ist_(db, sql, parametri) {}
  bool Passo() override { return ist_.Passo(); }
  int NumeroColonne() const override { return ist_.NumeroColonne(); }
  std::string NomeColonna(int i) const override { return ist_.NomeColonna(i); }
  TipoCampo TipoDichiarato(int i) const override { return ist_.TipoDichiarato(i); }
  Valore Colonna(int i, TipoCampo tipo) const override { return ist_.Colonna(i, tipo); }

 private:
  Istruzione ist_;
};

class RipetibileSqlite : public Ripetibile {
 public:
  RipetibileSqlite(sqlite3* db, std::string_view sql) : db_(db) {
    if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr) !=
        SQLITE_OK)
      ErroreSqlite(db);
  }
  ~RipetibileSqlite() override { sqlite3_finalize(stmt_); }
  RipetibileSqlite(const RipetibileSqlite&) = delete;
  RipetibileSqlite& operator=(const RipetibileSqlite&) = delete;

  void Esegui(const std::vector<Valore>& valori) override {
    sqlite3_reset(stmt_);
    Lega(db_, stmt_, valori);
    if (sqlite3_step(stmt_) != SQLITE_DONE) ErroreSqlite(db_);
  }

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

std::string Virgolettato(std::string_view nome) { return "\"" + std::string(nome) + "\""; }

class MotoreSqlite : public Motore {
 public:
  MotoreSqlite(sqlite3* db, std::filesystem::path file) : db_(db), file_(std::move(file)) {}
  ~MotoreSqlite() override { sqlite3_close_v2(db_); }
  MotoreSqlite(const MotoreSqlite&) = delete;
  MotoreSqlite& operator=(const MotoreSqlite&) = delete;

  TipoArchivio Tipo() const override { return TipoArchivio::Sqlite; }

  std::unique_ptr<Cursore> Interroga(std::string_view sql,
                                     const std::vector<Valore>& parametri) override {
    return std::make_unique<CursoreSqlite>(db_, sql, parametri);
  }

  std::int64_t Esegui(std::string_view sql, const std::vector<Valore>& parametri) override {
    Istruzione ist(db_, sql, parametri);
    while (ist.Passo()) {
    }
    return sqlite3_changes64(db_);
  }

  std::unique_ptr<Ripetibile> Prepara(std::string_view sql) override {
    return std::make_unique<RipetibileSqlite>(db_, sql);
  }

  bool EsisteTabella(std::string_view tabella) override {
    Istruzione ist(
        db_, "SELECT count(*) FROM sqlite_master WHERE type='table' AND name=? COLLATE NOCASE",
        {std::string(tabella)});
    return ist.Passo() && std::get<std::int64_t>(ist.Colonna(0, TipoCampo::Intero)) > 0;
  }

  std::vector<Colonna> Colonne(std::string_view tabella) override {
    std::vector<Colonna> colonne;
    Istruzione ist(db_, "SELECT name, type FROM pragma_table_info(?) ORDER BY cid",
                   {std::string(tabella)});
    while (ist.Passo()) {
      colonne.push_back({ValoreComeTesto(ist.Colonna(0, TipoCampo::Testo)),
                         TipoDaDichiarato(ValoreComeTesto(ist.Colonna(1, TipoCampo::Testo)))});
    }
    return colonne;
  }

  void Inizia() override { Esegui("BEGIN IMMEDIATE", {}); }
  void Conferma() override { Esegui("COMMIT", {}); }
  void Annulla() override { Esegui("ROLLBACK", {}); }
  bool InTransazione() const override { return sqlite3_get_autocommit(db_) == 0; }

  std::string_view ColonnaIdentita() const override { return "rowid"; }

  Valore Inserisci(std::string_view tabella, const std::vector<std::string>& nomi,
                   const std::vector<Valore>& valori) override {
    std::string elenco;
    std::string segnaposto;
    for (const auto& n : nomi) {
      elenco += (elenco.empty() ? "" : ", ") + Virgolettato(n);
      segnaposto += segnaposto.empty() ? "?" : ", ?";
    }
    const std::string t(tabella);
    Esegui(nomi.empty() ? "INSERT INTO " + t + " DEFAULT VALUES"
                        : "INSERT INTO " + t + " (" + elenco + ") VALUES (" + segnaposto + ")",
           valori);
    return static_cast<std::int64_t>(sqlite3_last_insert_rowid(db_));
  }

  Valore Aggiorna(std::string_view tabella, const std::vector<std::string>& nomi,
                  const std::vector<Valore>& valori, const Valore& identita) override {
    std::string assegnazioni;
    for (const auto& n : nomi)
      assegnazioni += (assegnazioni.empty() ? "" : ", ") + Virgolettato(n) + " = ?";
    std::vector<Valore> tutti = valori;
    tutti.push_back(identita);
    if (Esegui("UPDATE " + std::string(tabella) + " SET " + assegnazioni + " WHERE rowid = ?",
               tutti) == 0)
      throw ErroreConflitto();
    return identita;
  }

  void Elimina(std::string_view tabella, const Valore& identita) override {
    Esegui("DELETE FROM " + std::string(tabella) + " WHERE rowid = ?", {identita});
  }

  sqlite3* HandleSqlite() const override { return db_; }
  std::string Descrizione() const override { return file_.string(); }
  std::unique_ptr<Motore> Nuova(Database::Modo modo) const override {
    return ApriMotoreSqlite(file_, modo);
  }

 private:
  sqlite3* db_;
  std::filesystem::path file_;
};

}  // namespace

std::unique_ptr<Motore> ApriMotoreSqlite(const std::filesystem::path& file, Database::Modo modo) {
  int flags = SQLITE_OPEN_FULLMUTEX;
  switch (modo) {
    case Database::Modo::LetturaScrittura:
      flags |= SQLITE_OPEN_READWRITE;
      break;
    case Database::Modo::Creazione:
      flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
      break;
    case Database::Modo::SolaLettura:
      flags |= SQLITE_OPEN_READONLY;
      break;
  }
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(file.c_str(), &db, flags, nullptr) != SQLITE_OK) {
    const std::string causa = CausaSqlite(db);
    sqlite3_close(db);
    throw ErroreDatabase("Impossibile aprire il database " + file.string() + ": " + causa);
  }
  sqlite3_busy_timeout(db, 5000);
  sqlite3_extended_result_codes(db, 1);
  auto motore = std::make_unique<MotoreSqlite>(db, file);
  // Reading the schema proves that the file is a database; a damaged file or another kind of file
  // fails here, before anything is written to it.
  try {
    motore->Esegui("SELECT count(*) FROM sqlite_master", {});
    motore->Esegui("PRAGMA foreign_keys = ON", {});
  } catch (const ErroreDatabase&) {
    // A database that another program holds locked is no damaged file: it says so.
    const int codice = sqlite3_errcode(db) & 0xff;
    const std::string causa = CausaSqlite(db);
    if (codice == SQLITE_BUSY || codice == SQLITE_LOCKED)
      throw ErroreDatabase("Il database " + file.string() +
                           " è bloccato da un altro programma che lo sta usando: chiudere l'altro "
                           "programma e riprovare. Il file non è stato modificato.");
    throw ErroreDatabase("Il file " + file.string() +
                         " non è un database di FISCOLARIO leggibile: " + causa);
  }
  return motore;
}

std::unique_ptr<Motore> MotoreSqliteInMemoria() {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
      SQLITE_OK) {
    sqlite3_close(db);
    throw ErroreDatabase(MessaggioErroreSqlite(nullptr));
  }
  sqlite3_extended_result_codes(db, 1);
  return std::make_unique<MotoreSqlite>(db, ":memory:");
}

}  // namespace fcl
