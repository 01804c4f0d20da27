#include "store/Database.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <utility>

#include "common/Errori.h"
#include "store/ErroreSqlite.h"
#include "store/Istruzione.h"

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

Istruzione::Istruzione(Database& db, std::string_view sql, const std::vector<Valore>& parametri)
    : db_(db) {
  if (sqlite3_prepare_v2(db.Handle(), sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr) !=
      SQLITE_OK)
    ErroreSqlite(db.Handle());
  if (stmt_ == nullptr) return;
  const int attesi = sqlite3_bind_parameter_count(stmt_);
  if (attesi != static_cast<int>(parametri.size())) {
    sqlite3_finalize(stmt_);
    throw ErroreDatabase(
        "Errore del database: errore interno del programma; rivolgersi all'assistenza" +
        std::string(kDettaglioAssistenza) + "parametri attesi " + std::to_string(attesi) +
        ", dati " + std::to_string(parametri.size()));
  }
  for (int i = 0; i < attesi; ++i) {
    const Valore& v = parametri[static_cast<std::size_t>(i)];
    int rc = SQLITE_OK;
    if (EnNull(v)) {
      rc = sqlite3_bind_null(stmt_, i + 1);
    } else if (const auto* n = std::get_if<std::int64_t>(&v)) {
      rc = sqlite3_bind_int64(stmt_, i + 1, *n);
    } else if (const auto* x = std::get_if<double>(&v)) {
      rc = sqlite3_bind_double(stmt_, i + 1, *x);
    } else if (const auto* s = std::get_if<std::string>(&v)) {
      rc = sqlite3_bind_text(stmt_, i + 1, s->data(), static_cast<int>(s->size()), SQLITE_TRANSIENT);
    } else if (const auto* d = std::get_if<Data>(&v)) {
      const std::string iso = d->Iso();
      rc = sqlite3_bind_text(stmt_, i + 1, iso.data(), static_cast<int>(iso.size()), SQLITE_TRANSIENT);
    }
    if (rc != SQLITE_OK) {
      sqlite3_finalize(stmt_);
      stmt_ = nullptr;
      ErroreSqlite(db.Handle());
    }
  }
}

Istruzione::~Istruzione() { sqlite3_finalize(stmt_); }

bool Istruzione::Passo() {
  if (stmt_ == nullptr) return false;
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  ErroreSqlite(db_.Handle());
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
      if (tipo == TipoCampo::Data) return Data::DaSeriale(static_cast<long long>(sqlite3_column_double(stmt_, i)));
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

Database::Database(const std::filesystem::path& file, Modo modo) : file_(file) {
  int flags = SQLITE_OPEN_FULLMUTEX;
  switch (modo) {
    case Modo::LetturaScrittura:
      flags |= SQLITE_OPEN_READWRITE;
      break;
    case Modo::Creazione:
      flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
      break;
    case Modo::SolaLettura:
      flags |= SQLITE_OPEN_READONLY;
      break;
  }
  if (sqlite3_open_v2(file.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
    const std::string causa = CausaSqlite(db_);
    sqlite3_close(db_);
    db_ = nullptr;
    throw ErroreDatabase("Impossibile aprire il database " + file.string() + ": " + causa);
  }
  sqlite3_busy_timeout(db_, 5000);
  sqlite3_extended_result_codes(db_, 1);
  // Reading the schema proves that the file is a database; a damaged file or another kind of file
  // fails here, before anything is written to it.
  try {
    Scalare("SELECT count(*) FROM sqlite_master");
    Esegui("PRAGMA foreign_keys = ON");
  } catch (const ErroreDatabase&) {
    // A database that another program holds locked is no damaged file: it says so.
    const int codice = sqlite3_errcode(db_) & 0xff;
    const std::string causa = CausaSqlite(db_);
    sqlite3_close(db_);
    db_ = nullptr;
    if (codice == SQLITE_BUSY || codice == SQLITE_LOCKED)
      throw ErroreDatabase("Il database " + file.string() +
                           " è bloccato da un altro programma che lo sta usando: chiudere l'altro "
                           "programma e riprovare. Il file non è stato modificato.");
    throw ErroreDatabase("Il file " + file.string() +
                         " non è un database di FISCOLARIO leggibile: " + causa);
  }
}

Database Database::InMemoria() {
  Database db;
  if (sqlite3_open_v2(":memory:", &db.db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
      SQLITE_OK)
    ErroreSqlite(db.db_);
  db.file_ = ":memory:";
  return db;
}

Database::Database(Database&& altro) noexcept
    : db_(std::exchange(altro.db_, nullptr)), file_(std::move(altro.file_)) {}

Database& Database::operator=(Database&& altro) noexcept {
  if (this != &altro) {
    sqlite3_close_v2(db_);
    db_ = std::exchange(altro.db_, nullptr);
    file_ = std::move(altro.file_);
  }
  return *this;
}

Database::~Database() { sqlite3_close_v2(db_); }

std::int64_t Database::Esegui(std::string_view sql, const std::vector<Valore>& parametri) {
  Istruzione ist(*this, sql, parametri);
  while (ist.Passo()) {
  }
  return sqlite3_changes64(db_);
}

Valore Database::Scalare(std::string_view sql, const std::vector<Valore>& parametri) {
  Istruzione ist(*this, sql, parametri);
  if (!ist.Passo() || ist.NumeroColonne() == 0) return std::monostate{};
  return ist.Colonna(0, TipoCampo::Altro);
}

bool Database::EsisteTabella(std::string_view tabella) {
  const Valore n = Scalare("SELECT count(*) FROM sqlite_master WHERE type='table' AND name=? COLLATE NOCASE",
                           {std::string(tabella)});
  return std::get<std::int64_t>(n) > 0;
}

std::vector<Colonna> Database::Colonne(std::string_view tabella) {
  std::vector<Colonna> colonne;
  Istruzione ist(*this, "SELECT name, type FROM pragma_table_info(?) ORDER BY cid",
                 {std::string(tabella)});
  while (ist.Passo()) {
    colonne.push_back({ValoreComeTesto(ist.Colonna(0, TipoCampo::Testo)),
                       TipoDaDichiarato(ValoreComeTesto(ist.Colonna(1, TipoCampo::Testo)))});
  }
  return colonne;
}

Transazione::Transazione(Database& db) : db_(db) { db_.Esegui("BEGIN IMMEDIATE"); }

Transazione::~Transazione() {
  if (attiva_) {
    try {
      db_.Esegui("ROLLBACK");
    } catch (...) {
      // A failed rollback leaves SQLite to roll back when the connection closes.
    }
  }
}

void Transazione::Conferma() {
  db_.Esegui("COMMIT");
  attiva_ = false;
}

}  // namespace fcl
