#include "store/Database.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "common/Errori.h"
#include "store/Motore.h"

namespace fcl {

bool NomeSql(std::string_view nome) {
  return !nome.empty() && std::all_of(nome.begin(), nome.end(),
                                      [](unsigned char c) { return std::isalnum(c) || c == '_'; });
}

std::string NomeSqlVerificato(std::string_view nome) {
  if (!NomeSql(nome))
    throw ErroreDatabase("Errore del database: nome non valido " + std::string(nome));
  return std::string(nome);
}

Database::Database(std::unique_ptr<Motore> motore, std::filesystem::path file)
    : motore_(std::move(motore)), file_(std::move(file)) {}

Database::Database(const std::filesystem::path& file, Modo modo)
    : motore_(ApriMotoreSqlite(file, modo)), file_(file) {}

Database Database::InMemoria() { return Database(MotoreSqliteInMemoria(), ":memory:"); }

Database Database::Server(const std::string& connessione) {
  return Database(ApriMotorePostgres(connessione));
}

Database::Database(Database&& altro) noexcept = default;
Database& Database::operator=(Database&& altro) noexcept = default;
Database::~Database() = default;

TipoArchivio Database::Tipo() const { return motore_->Tipo(); }

Database Database::Nuova(Modo modo) const { return Database(motore_->Nuova(modo), file_); }

std::int64_t Database::Esegui(std::string_view sql, const std::vector<Valore>& parametri) {
  return motore_->Esegui(sql, parametri);
}

Valore Database::Scalare(std::string_view sql, const std::vector<Valore>& parametri) {
  auto cursore = motore_->Interroga(sql, parametri);
  if (!cursore->Passo() || cursore->NumeroColonne() == 0) return std::monostate{};
  return cursore->Colonna(0, TipoCampo::Altro);
}

bool Database::EsisteTabella(std::string_view tabella) { return motore_->EsisteTabella(tabella); }

std::vector<Colonna> Database::Colonne(std::string_view tabella) {
  return motore_->Colonne(tabella);
}

std::unique_ptr<Cursore> Database::Interroga(std::string_view sql,
                                             const std::vector<Valore>& parametri) {
  return motore_->Interroga(sql, parametri);
}

std::unique_ptr<Ripetibile> Database::Prepara(std::string_view sql) {
  return motore_->Prepara(sql);
}

bool Database::InTransazione() const { return motore_->InTransazione(); }

std::string Database::Descrizione() const { return motore_->Descrizione(); }

sqlite3* Database::Handle() const { return motore_->HandleSqlite(); }

PuntoDiRipristino::PuntoDiRipristino(Database& db) : db_(db) { db_.Esegui("SAVEPOINT riga"); }

PuntoDiRipristino::~PuntoDiRipristino() {
  try {
    if (!confermato_) db_.Esegui("ROLLBACK TO riga");
    db_.Esegui("RELEASE riga");
  } catch (...) {
    // The transaction rolls back as a whole when this fails.
  }
}

Transazione::Transazione(Database& db) : db_(db) { db_.Interno().Inizia(); }

Transazione::~Transazione() {
  if (attiva_) {
    try {
      db_.Interno().Annulla();
    } catch (...) {
      // A failed rollback leaves the engine to roll back when the connection closes (a server
      // rolls back a transaction whose connection dropped).
    }
  }
}

void Transazione::Conferma() {
  db_.Interno().Conferma();
  attiva_ = false;
}

}  // namespace fcl
