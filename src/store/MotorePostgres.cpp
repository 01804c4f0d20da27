// The register on a PostgreSQL server, through libpqxx. Statements arrive in the system's dialect
// and are translated here: "?" parameters become "$1", "$2"..., LIKE becomes ILIKE (the system's
// LIKE never regarded case); "COLLATE NOCASE" works as written, through the collation of that name
// the schema makes on the server. Names are folded to lower case by the server and reported in
// upper case, as the tables were always named.

#include <libpq-fe.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <pqxx/pqxx>

#include "common/ErroreSistema.h"
#include "common/Errori.h"
#include "store/Motore.h"

namespace fcl {
namespace {

std::string Maiuscolo(std::string_view s) {
  std::string t(s);
  std::transform(t.begin(), t.end(), t.begin(), [](unsigned char c) { return std::toupper(c); });
  return t;
}

bool CarattereNome(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The statement in the server's dialect, outside quoted text: "?" -> "$n", LIKE -> ILIKE, and
// the names in brackets ("AS [Partita Iva]") in double quotes.
std::string Traduci(std::string_view sql) {
  std::string out;
  out.reserve(sql.size() + 16);
  int n = 0;
  for (std::size_t i = 0; i < sql.size(); ++i) {
    const char c = sql[i];
    if (c == '[') {
      const std::size_t fine = sql.find(']', i + 1);
      if (fine == std::string_view::npos) {
        out += c;
        continue;
      }
      out += '"';
      out.append(sql.substr(i + 1, fine - i - 1));
      out += '"';
      i = fine;
    } else if (c == '\'' || c == '"') {
      const std::size_t fine = sql.find(c, i + 1);
      const std::size_t a = fine == std::string_view::npos ? sql.size() : fine + 1;
      out.append(sql.substr(i, a - i));
      i = a - 1;
    } else if (c == '?') {
      out += '$' + std::to_string(++n);
    } else if ((c == 'L' || c == 'l') && (i == 0 || !CarattereNome(sql[i - 1])) &&
               i + 4 <= sql.size() && Maiuscolo(sql.substr(i, 4)) == "LIKE" &&
               (i + 4 == sql.size() || !CarattereNome(sql[i + 4]))) {
      out += "ILIKE";
      i += 3;
    } else {
      out += c;
    }
  }
  return out;
}

using Parametri = std::vector<std::optional<std::string>>;

std::string TestoDoppio(double x) {
  char b[32];
  const auto r = std::to_chars(b, b + sizeof b, x);
  return std::string(b, r.ptr);
}

Parametri InTesto(const std::vector<Valore>& valori) {
  Parametri p;
  p.reserve(valori.size());
  for (const Valore& v : valori) {
    if (EnNull(v)) {
      p.emplace_back(std::nullopt);
    } else if (const auto* n = std::get_if<std::int64_t>(&v)) {
      p.emplace_back(std::to_string(*n));
    } else if (const auto* x = std::get_if<double>(&v)) {
      p.emplace_back(TestoDoppio(*x));
    } else if (const auto* s = std::get_if<std::string>(&v)) {
      p.emplace_back(*s);
    } else if (const auto* d = std::get_if<Data>(&v)) {
      p.emplace_back(d->Iso());
    }
  }
  return p;
}

// Type identifiers of the server's catalogue.
enum : pqxx::oid {
  kBool = 16,
  kInt8 = 20,
  kInt2 = 21,
  kInt4 = 23,
  kText = 25,
  kFloat4 = 700,
  kFloat8 = 701,
  kBpchar = 1042,
  kVarchar = 1043,
  kDate = 1082,
  kNumeric = 1700
};

TipoCampo TipoDaOid(pqxx::oid oid) {
  switch (oid) {
    case kDate:
      return TipoCampo::Data;
    case kFloat4:
    case kFloat8:
    case kNumeric:
      return TipoCampo::Doppio;
    case kInt2:
    case kInt4:
    case kInt8:
    case kBool:
      return TipoCampo::Intero;
    case kText:
    case kVarchar:
    case kBpchar:
      return TipoCampo::Testo;
    default:
      return TipoCampo::Altro;
  }
}

template <typename T>
std::optional<T> Numero(std::string_view s) {
  T v{};
  const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  if (r.ec != std::errc() || r.ptr != s.data() + s.size()) return std::nullopt;
  return v;
}

class CursorePg : public Cursore {
 public:
  explicit CursorePg(pqxx::result r) : r_(std::move(r)) {}

  bool Passo() override { return ++riga_ < static_cast<long>(r_.size()); }
  int NumeroColonne() const override { return static_cast<int>(r_.columns()); }
  // A name the server folded to lower case comes back in upper case, as the tables name it; a
  // quoted alias ("Partita Iva") as written.
  std::string NomeColonna(int i) const override {
    const std::string nome = r_.column_name(static_cast<pqxx::row::size_type>(i));
    const bool piegato = std::none_of(nome.begin(), nome.end(),
                                      [](unsigned char c) { return std::isupper(c) || c == ' '; });
    return piegato ? Maiuscolo(nome) : nome;
  }
  TipoCampo TipoDichiarato(int i) const override {
    return TipoDaOid(r_.column_type(static_cast<pqxx::row::size_type>(i)));
  }

  Valore Colonna(int i, TipoCampo tipo) const override {
    const auto campo =
        r_[static_cast<pqxx::result::size_type>(riga_)][static_cast<pqxx::row::size_type>(i)];
    if (campo.is_null()) return std::monostate{};
    const std::string_view testo(campo.c_str(), campo.size());
    switch (r_.column_type(static_cast<pqxx::row::size_type>(i))) {
      case kBool:
        return static_cast<std::int64_t>(testo == "t" ? 1 : 0);
      case kInt2:
      case kInt4:
      case kInt8:
        if (const auto n = Numero<long long>(testo)) {
          if (tipo == TipoCampo::Doppio) return static_cast<double>(*n);
          if (tipo == TipoCampo::Data) return Data::DaSeriale(*n);
          return static_cast<std::int64_t>(*n);
        }
        break;
      case kFloat4:
      case kFloat8:
      case kNumeric:
        if (const auto x = Numero<double>(testo)) {
          if (tipo == TipoCampo::Data) return Data::DaSeriale(static_cast<long long>(*x));
          return *x;
        }
        break;
      default:
        break;
    }
    std::string s(testo);
    if (tipo == TipoCampo::Data) {
      if (auto d = Data::DaTesto(s)) return *d;
    }
    return s;
  }

 private:
  pqxx::result r_;
  long riga_ = -1;
};

// The connection parameters as libpq will use them: those given, then libpq's defaults (the
// environment's PGHOST, PGDATABASE..., then its built-in ones).
std::map<std::string, std::string> ParametriEffettivi(const std::string& connessione) {
  std::map<std::string, std::string> p;
  if (PQconninfoOption* d = PQconndefaults()) {
    for (PQconninfoOption* o = d; o->keyword != nullptr; ++o) {
      if (o->val != nullptr && *o->val != '\0') p[o->keyword] = o->val;
    }
    PQconninfoFree(d);
  }
  char* errore = nullptr;
  if (PQconninfoOption* dati = PQconninfoParse(connessione.c_str(), &errore)) {
    for (PQconninfoOption* o = dati; o->keyword != nullptr; ++o) {
      if (o->val != nullptr && *o->val != '\0') p[o->keyword] = o->val;
    }
    PQconninfoFree(dati);
  }
  PQfreemem(errore);
  if (p["dbname"].empty()) p["dbname"] = p["user"];
  return p;
}

std::string ServerDi(std::map<std::string, std::string>& p) {
  std::string host =
      p["host"].empty() ? (p["hostaddr"].empty() ? "localhost" : p["hostaddr"]) : p["host"];
  if (!p["port"].empty() && p["port"] != "5432") host += ":" + p["port"];
  return host;
}

// What a failed connection means for the user, from libpq's text.
std::string SpiegazioneCollegamento(std::string_view testo) {
  auto contiene = [&](std::string_view s) { return testo.find(s) != std::string_view::npos; };
  if (contiene("password authentication failed") || contiene("no password supplied") ||
      contiene("authentication failed") || contiene("no pg_hba.conf entry"))
    return "il server ha rifiutato l'accesso: controllare l'utente (Server_Utente) e la password "
           "(nel file delle password .pgpass), e che il server consenta l'accesso da questa "
           "postazione";
  if (contiene("does not exist"))
    return "il database o l'utente non esiste sul server: controllare i nomi nella "
           "configurazione (Server_Connessione o Server_Nome e Server_Utente)";
  if (contiene("timeout expired") || contiene("Connection refused") ||
      contiene("No such file or directory") || contiene("could not translate host name") ||
      contiene("No route to host") || contiene("Network is unreachable") ||
      contiene("could not connect"))
    return "il server non risponde: controllare che sia acceso e raggiungibile in rete, e il nome "
           "del server e la porta nella configurazione";
  if (contiene("too many") || contiene("remaining connection slots"))
    return "il server ha raggiunto il numero massimo di collegamenti; riprovare tra poco o "
           "rivolgersi all'amministratore del server";
  if (contiene("SSL") || contiene("certificate"))
    return "il collegamento protetto (SSL) non è riuscito: controllare sslmode e i certificati";
  return "collegamento non riuscito; controllare la configurazione del server e riprovare";
}

// What a refused statement means for the user, by its SQLSTATE.
std::string SpiegazioneStato(const std::string& stato) {
  if (stato == "23505")
    return "un dato con lo stesso codice è già registrato; controllare il codice e riprovare";
  if (stato == "23502") return "manca un dato obbligatorio; completare i dati e riprovare";
  if (stato == "23503")
    return "il dato è collegato ad altri dati dell'archivio che mancano o che ne dipendono";
  if (stato == "40001" || stato == "40P01")
    return "l'operazione si è incrociata con quella di un'altra postazione e non è stata "
           "registrata; riprovare";
  if (stato == "55P03")
    return "il dato è in uso da un'altra postazione; attendere che finisca e riprovare";
  if (stato == "42501")
    return "l'utente del server non ha i permessi necessari sul database; rivolgersi "
           "all'amministratore del server";
  if (stato == "53100") return "spazio insufficiente sul server; rivolgersi all'amministratore";
  if (stato == "53200") return "memoria insufficiente sul server; riprovare";
  if (stato.rfind("57P", 0) == 0 || stato.rfind("08", 0) == 0)
    return "il collegamento con il server si è interrotto e l'operazione non è stata registrata; "
           "riprovare";
  if (stato.rfind("42", 0) == 0)
    return "l'archivio sul server non ha la struttura attesa o l'operazione non è valida; "
           "riprovare e, se si ripete, rivolgersi all'assistenza";
  if (stato.rfind("22", 0) == 0)
    return "un dato non è valido per l'archivio; controllare i dati e riprovare";
  return "operazione non riuscita; riprovare e, se si ripete, rivolgersi all'assistenza";
}

std::string PrimaRiga(std::string_view testo) {
  const auto fine = testo.find('\n');
  return std::string(testo.substr(0, fine));
}

class MotorePostgres;

class RipetibilePg : public Ripetibile {
 public:
  RipetibilePg(MotorePostgres& m, std::string nome) : m_(m), nome_(std::move(nome)) {}
  void Esegui(const std::vector<Valore>& valori) override;

 private:
  MotorePostgres& m_;
  std::string nome_;
};

class MotorePostgres : public Motore {
 public:
  explicit MotorePostgres(std::string connessione) : connessione_(std::move(connessione)) {
    auto p = ParametriEffettivi(connessione_);
    server_ = ServerDi(p);
    database_ = p["dbname"];
    Collega();
  }
  ~MotorePostgres() override = default;

  TipoArchivio Tipo() const override { return TipoArchivio::Postgres; }

  std::unique_ptr<Cursore> Interroga(std::string_view sql,
                                     const std::vector<Valore>& parametri) override {
    return std::make_unique<CursorePg>(Diretta(Traduci(sql), InTesto(parametri)));
  }

  std::int64_t Esegui(std::string_view sql, const std::vector<Valore>& parametri) override {
    const auto r = Diretta(Traduci(sql), InTesto(parametri));
    // Back to a savepoint, the transaction takes statements again.
    if (Maiuscolo(sql.substr(0, 11)) == "ROLLBACK TO") fallita_ = false;
    return static_cast<std::int64_t>(r.affected_rows());
  }

  std::unique_ptr<Ripetibile> Prepara(std::string_view sql) override {
    const std::string nome = "fcl_" + std::to_string(++preparate_);
    Protetto([&] { conn_->prepare(nome, Traduci(sql)); });
    return std::make_unique<RipetibilePg>(*this, nome);
  }

  void EseguiPreparata(const std::string& nome, const std::vector<Valore>& valori) {
    const Parametri testi = InTesto(valori);
    Protetto([&] { tx_->exec_prepared(nome, pqxx::prepare::make_dynamic_params(testi)); });
  }

  bool EsisteTabella(std::string_view tabella) override {
    return Diretta(
               "SELECT 1 FROM information_schema.tables WHERE table_schema = current_schema() "
               "AND upper(table_name) = upper($1)",
               {std::string(tabella)})
               .size() > 0;
  }

  std::vector<Colonna> Colonne(std::string_view tabella) override {
    std::vector<Colonna> colonne;
    const auto r = Diretta(
        "SELECT column_name, data_type FROM information_schema.columns WHERE table_schema = "
        "current_schema() AND upper(table_name) = upper($1) ORDER BY ordinal_position",
        {std::string(tabella)});
    for (const auto& riga : r)
      colonne.push_back({Maiuscolo(riga[0].c_str()), TipoDaDichiarato(riga[1].c_str())});
    return colonne;
  }

  void Inizia() override {
    Diretta("BEGIN", {});
    inTransazione_ = true;
    fallita_ = false;
  }
  void Conferma() override {
    // A COMMIT that fails ends the transaction all the same: the server has rolled it back.
    if (persa_) {
      persa_ = false;
      throw ErroreDatabase(MessaggioPersa());
    }
    // The server answers the COMMIT of a transaction in which a statement failed with a silent
    // rollback: that is told as the failure it is.
    if (fallita_) {
      Annulla();
      throw ErroreDatabase(
          "Errore del database: un'operazione della transazione non è riuscita e nulla è stato "
          "registrato; riprovare e, se si ripete, rivolgersi all'assistenza");
    }
    inTransazione_ = false;
    Diretta("COMMIT", {});
  }
  void Annulla() override {
    fallita_ = false;
    if (persa_) {
      persa_ = false;
      return;
    }
    if (!inTransazione_) return;
    inTransazione_ = false;
    Diretta("ROLLBACK", {});
  }
  bool InTransazione() const override { return inTransazione_ || persa_; }

  std::string_view ColonnaIdentita() const override { return "ctid"; }

  Valore Inserisci(std::string_view tabella, const std::vector<std::string>& nomi,
                   const std::vector<Valore>& valori) override {
    std::string elenco;
    std::string segnaposto;
    for (std::size_t i = 0; i < nomi.size(); ++i) {
      elenco += (i ? ", " : "") + NomeSqlVerificato(nomi[i]);
      segnaposto += (i ? ", $" : "$") + std::to_string(i + 1);
    }
    const std::string t = NomeSqlVerificato(tabella);
    const auto r = Diretta(nomi.empty() ? "INSERT INTO " + t + " DEFAULT VALUES RETURNING ctid"
                                        : "INSERT INTO " + t + " (" + elenco + ") VALUES (" +
                                              segnaposto + ") RETURNING ctid",
                           InTesto(valori));
    return std::string(r[0][0].c_str());
  }

  Valore Aggiorna(std::string_view tabella, const std::vector<std::string>& nomi,
                  const std::vector<Valore>& valori, const Valore& identita) override {
    std::string assegnazioni;
    for (std::size_t i = 0; i < nomi.size(); ++i)
      assegnazioni += (i ? ", " : "") + NomeSqlVerificato(nomi[i]) + " = $" + std::to_string(i + 1);
    Parametri p = InTesto(valori);
    p.emplace_back(ValoreComeTesto(identita));
    const auto r =
        Diretta("UPDATE " + NomeSqlVerificato(tabella) + " SET " + assegnazioni +
                    " WHERE ctid = $" + std::to_string(p.size()) + "::tid RETURNING ctid",
                p);
    if (r.empty()) throw ErroreConflitto();
    return std::string(r[0][0].c_str());
  }

  void Elimina(std::string_view tabella, const Valore& identita) override {
    if (Diretta("DELETE FROM " + NomeSqlVerificato(tabella) + " WHERE ctid = $1::tid",
                {ValoreComeTesto(identita)})
            .affected_rows() == 0)
      throw ErroreConflitto();
  }

  std::string Descrizione() const override {
    return "database " + database_ + " sul server " + server_;
  }
  std::unique_ptr<Motore> Nuova(Database::Modo) const override {
    return std::make_unique<MotorePostgres>(connessione_);
  }

 private:
  friend class RipetibilePg;

  // Connects (again, after a dropped connection) and sets up the session.
  void Collega() {
    if (conn_) return;
    try {
      auto conn = std::make_unique<pqxx::connection>(ConTempoMassimo(connessione_));
      auto tx = std::make_unique<pqxx::nontransaction>(*conn, "fiscolario");
      tx->exec(
          "SET DateStyle TO ISO, DMY; SET client_encoding TO 'UTF8'; "
          "SET application_name TO 'fiscolario'; SET lock_timeout TO '15s'");
      conn_ = std::move(conn);
      tx_ = std::move(tx);
    } catch (const pqxx::failure& e) {
      throw ErroreDatabase("Impossibile collegarsi al " + Descrizione() + ": " +
                           SpiegazioneCollegamento(e.what()) + kDettaglioAssistenza +
                           "PostgreSQL, " + PrimaRiga(e.what()) + ". Nulla è stato registrato.");
    }
  }

  // libpq waits for an unreachable server as long as the network does; the program gives up
  // after 10 seconds unless the connection string or PGCONNECT_TIMEOUT says otherwise.
  static std::string ConTempoMassimo(const std::string& c) {
    if (c.find("connect_timeout") != std::string::npos || std::getenv("PGCONNECT_TIMEOUT"))
      return c;
    if (c.rfind("postgresql://", 0) == 0 || c.rfind("postgres://", 0) == 0)
      return c + (c.find('?') == std::string::npos ? "?" : "&") + "connect_timeout=10";
    return c + (c.empty() ? "" : " ") + "connect_timeout=10";
  }

  pqxx::result Diretta(const std::string& sql, const Parametri& parametri) {
    pqxx::result r;
    Protetto([&] { r = tx_->exec_params(sql, pqxx::prepare::make_dynamic_params(parametri)); });
    return r;
  }

  // Runs `azione` on the connection, reconnecting first when the last one dropped outside a
  // transaction. A dropped connection ends the transaction (the server rolls it back): the
  // connection is let go, the user told, and the next operation connects again.
  template <typename F>
  void Protetto(F&& azione) {
    // The statements of a transaction whose connection dropped are not run on a new connection
    // (they would be saved without the ones before): they fail until the transaction ends.
    if (persa_) throw ErroreDatabase(MessaggioPersa());
    Collega();
    try {
      azione();
    } catch (const pqxx::broken_connection& e) {
      Abbandona();
      throw ErroreDatabase("Errore del database: " + SpiegazioneStato("08006") +
                           kDettaglioAssistenza + "PostgreSQL, " + PrimaRiga(e.what()));
    } catch (const pqxx::sql_error& e) {
      const std::string stato = e.sqlstate();
      if (inTransazione_) fallita_ = true;
      if (stato.rfind("57P", 0) == 0 || stato.rfind("08", 0) == 0) Abbandona();
      throw ErroreDatabase("Errore del database: " + SpiegazioneStato(stato) +
                           kDettaglioAssistenza + "PostgreSQL " + stato + ", " +
                           PrimaRiga(e.what()));
    } catch (const pqxx::failure& e) {
      if (!conn_ || !conn_->is_open()) Abbandona();
      throw ErroreDatabase("Errore del database: " + SpiegazioneStato("") + kDettaglioAssistenza +
                           "PostgreSQL, " + PrimaRiga(e.what()));
    }
  }

  static std::string MessaggioPersa() {
    return "Errore del database: " + SpiegazioneStato("08006");
  }

  void Abbandona() {
    persa_ = inTransazione_;
    inTransazione_ = false;
    tx_.reset();
    conn_.reset();
  }

  std::string connessione_;
  std::string server_;
  std::string database_;
  std::unique_ptr<pqxx::connection> conn_;
  std::unique_ptr<pqxx::nontransaction> tx_;
  bool inTransazione_ = false;
  bool persa_ = false;    // the connection dropped inside a transaction not yet ended
  bool fallita_ = false;  // a statement of the open transaction failed (since its last savepoint)
  int preparate_ = 0;
};

void RipetibilePg::Esegui(const std::vector<Valore>& valori) { m_.EseguiPreparata(nome_, valori); }

}  // namespace

std::unique_ptr<Motore> ApriMotorePostgres(const std::string& connessione) {
  return std::make_unique<MotorePostgres>(connessione);
}

}  // namespace fcl
