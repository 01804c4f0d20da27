#include "store/Server.h"

#include <libpq-fe.h>

#include "common/Errori.h"
#include "store/DatiRiferimento.h"
#include "store/Motore.h"
#include "store/Recordset.h"
#include "store/Schema.h"

namespace fcl {
namespace {

// A value of a keyword/value connection string, quoted as libpq reads it.
std::string Citato(const std::string& valore) {
  std::string out = "'";
  for (const char c : valore) {
    if (c == '\'' || c == '\\') out += '\\';
    out += c;
  }
  return out + "'";
}

// The keywords a connection string sets, in order, with their values.
std::vector<std::pair<std::string, std::string>> Voci(const std::string& connessione) {
  std::vector<std::pair<std::string, std::string>> voci;
  char* errore = nullptr;
  PQconninfoOption* opzioni = PQconninfoParse(connessione.c_str(), &errore);
  if (opzioni == nullptr) {
    const std::string causa = errore ? errore : "";
    PQfreemem(errore);
    throw ErroreDatabase("La stringa di connessione al server (Server_Connessione) non è valida: " +
                         causa.substr(0, causa.find('\n')));
  }
  for (PQconninfoOption* o = opzioni; o->keyword != nullptr; ++o) {
    if (o->val != nullptr && *o->val != '\0') voci.emplace_back(o->keyword, o->val);
  }
  PQconninfoFree(opzioni);
  return voci;
}

// The lock that makes the workstations starting at once prepare the database one at a time.
constexpr std::int64_t kBloccoSchema = 0x46434c0001;  // "FCL" 1

const char* const kTabelleRiferimento[] = {"T_COMUNI", "T_COMUNICF", "ATECO2007"};

std::int64_t Conta(Database& db, const std::string& tabella, const std::string& condizione = "") {
  return std::get<std::int64_t>(db.Scalare("SELECT count(*) FROM " + tabella +
                                           (condizione.empty() ? "" : " WHERE " + condizione)));
}

// Copies every row of `tabella` that satisfies `condizione`, column by column by name.
void CopiaRighe(Database& da, Database& a, const std::string& tabella,
                const std::string& condizione) {
  const auto colonne = a.Colonne(tabella);
  std::string nomi;
  std::string segnaposto;
  for (const auto& c : colonne) {
    nomi += (nomi.empty() ? "" : ", ") + c.nome;
    segnaposto += segnaposto.empty() ? "?" : ", ?";
  }
  const auto inserisci =
      a.Prepara("INSERT INTO " + tabella + " (" + nomi + ") VALUES (" + segnaposto + ")");
  Recordset righe(da,
                  "SELECT * FROM " + tabella + (condizione.empty() ? "" : " WHERE " + condizione),
                  {}, Recordset::Modo::SolaLettura);
  std::vector<Valore> valori(colonne.size());
  for (; !righe.Eof(); righe.MoveNext()) {
    for (std::size_t i = 0; i < colonne.size(); ++i) {
      const auto j = righe.Indice(colonne[i].nome);
      valori[i] = j ? righe[*j] : Valore{};
    }
    inserisci->Esegui(valori);
  }
}

}  // namespace

std::string ConnessioneServer(const std::string& connessione, const std::string& nome,
                              const std::string& utente, const std::string& password) {
  if (!connessione.empty()) {
    Voci(connessione);  // a string libpq cannot read is told now, naming the key
    return connessione;
  }
  std::string c;
  auto aggiungi = [&](const char* chiave, const std::string& valore) {
    if (valore.empty()) return;
    c += (c.empty() ? "" : " ") + std::string(chiave) + "=" + Citato(valore);
  };
  std::string host = nome;
  std::string porta;
  // "server:5432"; a socket folder ("/var/run/postgresql") or an IPv6 address in brackets stays
  // whole.
  if (const auto dp = host.rfind(':'); dp != std::string::npos &&
                                       host.find('/') == std::string::npos &&
                                       host.find(']') == std::string::npos) {
    porta = host.substr(dp + 1);
    host.resize(dp);
  }
  aggiungi("host", host);
  aggiungi("port", porta);
  aggiungi("user", utente);
  aggiungi("password", password);
  return c;
}

std::string ConnessioneSenzaPassword(const std::string& connessione) {
  std::string c;
  for (const auto& [chiave, valore] : Voci(connessione)) {
    if (chiave == "password") continue;
    c += (c.empty() ? "" : " ") + chiave + "=" + Citato(valore);
  }
  return c;
}

bool ConnessioneConPassword(const std::string& connessione) {
  for (const auto& voce : Voci(connessione))
    if (voce.first == "password") return true;
  return false;
}

bool PreparaArchivioServer(Database& db) {
  Transazione tr(db);
  db.Esegui("SELECT pg_advisory_xact_lock(?)", {kBloccoSchema});
  if (db.EsisteTabella("COPE") && db.EsisteTabella("CTAB")) {
    tr.Conferma();
    return false;
  }
  const std::int64_t tabelle = std::get<std::int64_t>(db.Scalare(
      "SELECT count(*) FROM information_schema.tables WHERE table_schema = current_schema()"));
  if (tabelle > 0)
    throw ErroreDatabase(
        "Il " + db.Descrizione() +
        " non è un archivio di FISCOLARIO: contiene altre tabelle e non quelle dei "
        "soggetti (COPE e CTAB). Indicare nella configurazione un database vuoto o "
        "quello di FISCOLARIO. Nulla è stato scritto.");
  CreaSchema(db);
  CaricaDatiRiferimento(db);
  // The one-time upgrades of older embedded databases have nothing to do on tables made now.
  for (const char* release : {"002", "003"})
    db.Esegui("INSERT INTO CTAB (TIPO, COD, DES) VALUES ('REL', ?, 'archivio sul server')",
              {std::string(release)});
  tr.Conferma();
  return true;
}

std::vector<TabellaTrasferita> TrasferisciArchivio(Database& origine, Database& server) {
  Transazione tr(server);
  server.Esegui("SELECT pg_advisory_xact_lock(?)", {kBloccoSchema});
  if (const auto n = Conta(server, "COPE"); n > 0)
    throw ErroreDatabase("Il " + server.Descrizione() + " contiene già " + std::to_string(n) +
                         (n == 1 ? " soggetto" : " soggetti") +
                         ": il trasferimento si fa solo verso un archivio vuoto, per non mescolare "
                         "due archivi. Nulla è stato scritto.");
  std::vector<TabellaTrasferita> esito;
  const std::string nonAggiornamenti = "TIPO IS NULL OR TIPO <> 'REL'";
  server.Esegui("DELETE FROM CTAB WHERE " + nonAggiornamenti);
  CopiaRighe(origine, server, "COPE", "");
  CopiaRighe(origine, server, "CTAB", nonAggiornamenti);
  esito.push_back({"COPE", Conta(origine, "COPE")});
  esito.push_back({"CTAB", Conta(origine, "CTAB", nonAggiornamenti)});
  for (const char* tabella : kTabelleRiferimento) {
    if (!origine.EsisteTabella(tabella)) continue;
    server.Esegui("DELETE FROM " + std::string(tabella));
    CopiaRighe(origine, server, tabella, "");
    esito.push_back({tabella, Conta(origine, tabella)});
  }
  for (const auto& t : esito) {
    const std::int64_t copiate =
        Conta(server, t.tabella, t.tabella == "CTAB" ? nonAggiornamenti : std::string());
    if (copiate != t.righe)
      throw ErroreDatabase("Trasferimento non riuscito: la tabella " + t.tabella + " ha " +
                           std::to_string(copiate) + " righe sul server invece di " +
                           std::to_string(t.righe) + ". Nulla è stato scritto.");
  }
  tr.Conferma();
  return esito;
}

}  // namespace fcl
