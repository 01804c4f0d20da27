#include "shell/Avvio.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>

#include "common/ErroreSistema.h"
#include "common/Errori.h"
#include "common/ScritturaAtomica.h"
#include "shell/ArchivioCollegato.h"
#include "shell/CartellaModello.h"
#include "shell/CopiaOperatoriCollegati.h"
#include "shell/CorreggiCodiciOperatori.h"
#include "shell/LeggiIni.h"
#include "shell/Marcatori.h"
#include "shell/MigrazioneJet.h"
#include "store/DatiRiferimento.h"
#include "store/FormatoArchivio.h"
#include "store/Registro.h"
#include "store/Schema.h"
#include "store/Server.h"

namespace fcl {
namespace {

const std::string kNonModificato = " Il file non è stato modificato.";

std::tm Oggi(const Contesto& ctx) {
  const std::time_t t = std::chrono::system_clock::to_time_t(ctx.adesso());
  std::tm tm{};
  localtime_r(&t, &tm);
  return tm;
}

// Builds the new database beside its final name and renames it into place only when it is
// complete, so an interrupted creation never leaves a half-made database behind.
void CreaDatabase(const std::filesystem::path& file) {
  std::filesystem::create_directories(file.parent_path());
  const auto temporaneo = std::filesystem::path(file.string() + ".creazione");
  std::error_code ec;
  std::filesystem::remove(temporaneo, ec);
  try {
    Database nuovo(temporaneo, Database::Modo::Creazione);
    Transazione tr(nuovo);
    CreaSchema(nuovo);
    CaricaDatiRiferimento(nuovo);
    tr.Conferma();
  } catch (...) {
    std::filesystem::remove(temporaneo, ec);
    throw;
  }
  std::filesystem::rename(temporaneo, file, ec);
  if (ec) {
    std::filesystem::remove(temporaneo, ec);
    throw ErroreFile("Impossibile creare il database " + file.string() + ": " +
                     CausaSistema(ec, Accesso::Scrittura));
  }
}

// Checks an existing SQLite database before anything is written to it.
void VerificaDatabase(Database& db, const std::filesystem::path& file) {
  const std::string esito = ControlloIntegrita(db);
  if (esito != "ok")
    throw ErroreDatabase("Il database " + file.string() + " è danneggiato (" + esito + ")." +
                         kNonModificato);
  if (!db.EsisteTabella("COPE") || !db.EsisteTabella("CTAB"))
    throw ErroreDatabase("Il file " + file.string() +
                         " non è un database di FISCOLARIO: mancano le tabelle COPE e CTAB." +
                         kNonModificato);
  if (::access(file.c_str(), W_OK) != 0 || ::access(file.parent_path().c_str(), W_OK) != 0)
    throw ErroreDatabase("Il database " + file.string() +
                         " è di sola lettura: FISCOLARIO non può registrarvi i dati. Consentire la "
                         "scrittura sul file e sulla sua cartella e riavviare il programma.");
}

// A database made before the reference tables existed receives the missing ones with their data.
void CompletaTabelleRiferimento(Database& db) {
  const bool comuni = db.EsisteTabella("T_COMUNI");
  const bool luoghi = db.EsisteTabella("T_COMUNICF");
  const bool ateco = db.EsisteTabella("ATECO2007");
  if (comuni && luoghi && ateco) return;
  Transazione tr(db);
  CreaSchema(db);
  if (!comuni) CaricaTabellaComuni(db);
  if (!luoghi) CaricaTabellaLuoghiNascita(db);
  tr.Conferma();
}

// The CTAB rows REL/<release> record the one-time upgrades that have run on this database.
bool Aggiornato(Contesto& ctx, const char* release) { return AggiornamentoEseguito(ctx.Db(), release); }

void SegnaAggiornato(Contesto& ctx, const char* release) {
  const std::tm oggi = Oggi(ctx);
  SegnaAggiornamento(ctx.Db(), release, Data{oggi.tm_year + 1900, oggi.tm_mon + 1, oggi.tm_mday}.Testo());
}

// The program folder chosen at start, before it is completed.
std::filesystem::path SceltaCartellaProgramma(const std::optional<std::filesystem::path>& data,
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

}  // namespace

std::filesystem::path RisolviCartellaProgramma(const std::optional<std::filesystem::path>& data,
                                               const std::filesystem::path& cartellaEseguibile) {
  const std::filesystem::path cartella = SceltaCartellaProgramma(data, cartellaEseguibile);
  // Whichever way it was chosen, the folder is made (and completed) from the program's skeleton,
  // so that the prints find their templates and F1 its guide.
  if (const auto modello = TrovaCartellaModello(cartellaEseguibile)) {
    std::error_code ec;
    if (!std::filesystem::equivalent(cartella, *modello, ec))
      CompletaCartellaProgramma(cartella, *modello);
  }
  return cartella;
}

std::filesystem::path FileDatabase(const std::filesystem::path& cartellaProgramma) {
  return cartellaProgramma / "DataBase" / "FCL2013.mdb";
}

std::string StringaConnessione(const std::filesystem::path& cartellaProgramma) {
  return "provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + FileDatabase(cartellaProgramma).string();
}

bool ArchivioSulServer(const Configurazione& c) { return c.tipoDb == "P" || c.tipoDb == "p"; }

std::string ConnessioneServer(const Configurazione& c) {
  return ConnessioneServer(c.serverConnessione, c.serverNome, c.serverUtente, c.serverPassword);
}

namespace {

// A password of the server in a configuration file that other users of the computer can read.
void AvvisaPasswordLeggibile(Contesto& ctx) {
  const Configurazione& c = ctx.configurazione;
  if (c.serverPassword.empty() && !ConnessioneConPassword(ConnessioneServer(c))) return;
  struct stat st {};
  if (::stat(ctx.fileIni.c_str(), &st) != 0 || (st.st_mode & (S_IRGRP | S_IROTH)) == 0) return;
  ctx.Ui().Avviso("Il file " + ctx.fileIni.string() +
                  " contiene la password del server ed è leggibile da altri utenti di questo "
                  "computer: renderlo leggibile solo al proprio utente (chmod 600) oppure togliere "
                  "la password e scriverla nel file delle password di PostgreSQL (~/.pgpass).");
}

}  // namespace

void ConnessioneDb(Contesto& ctx, std::optional<Database>& db) {
  if (ArchivioSulServer(ctx.configurazione)) {
    Database server = Database::Server(ConnessioneServer(ctx.configurazione));
    if (PreparaArchivioServer(server))
      ctx.Ui().Avviso("Preparato l'archivio di FISCOLARIO nel " + server.Descrizione() +
                      ", con tutte le tabelle e i dati di riferimento.");
    db.emplace(std::move(server));
    ctx.connessioneDb = &*db;
    return;
  }
  const auto file = FileDatabase(ctx.cartellaProgramma);
  switch (RiconosciFormato(file)) {
    case FormatoArchivio::Mancante:
    case FormatoArchivio::Vuoto:
      // An empty file holds nothing to keep: it is replaced like a missing one.
      CreaDatabase(file);
      ctx.Ui().Avviso("Creato il database " + file.string() +
                      " con tutte le tabelle e i dati di riferimento.");
      break;
    case FormatoArchivio::Jet: {
      // The database left by the Windows installation: converted once, the original kept.
      const std::tm oggi = Oggi(ctx);
      const auto esito =
          MigraDatabaseJet(file, Data{oggi.tm_year + 1900, oggi.tm_mon + 1, oggi.tm_mday});
      ctx.Ui().Avviso(MessaggioMigrazione(file, esito));
      break;
    }
    case FormatoArchivio::Sconosciuto:
      throw ErroreDatabase("Il file " + file.string() +
                           " non è un database di FISCOLARIO leggibile: il formato non è "
                           "riconosciuto o il file è danneggiato." +
                           kNonModificato);
    case FormatoArchivio::Sqlite:
      break;
  }
  Database aperto(file, Database::Modo::LetturaScrittura);
  VerificaDatabase(aperto, file);
  CompletaTabelleRiferimento(aperto);
  db.emplace(std::move(aperto));
  ctx.connessioneDb = &*db;
}

void ImportaPrimoAvvio(Contesto& ctx) {
  if (NumeroOperatori(ctx.Db()) != 0) return;
  auto collegato = ApriArchivioCollegato(ctx, kMarcatorePrecedente);
  if (!collegato) return;
  CopiaOperatoriCollegati(ctx, collegato->connessione);
}

void Avvia(Contesto& ctx, std::optional<Database>& db) {
  const auto& cartella = ctx.cartellaProgramma;
  ctx.fileIni = cartella / "configurazione.ini";
  ctx.configurazione = LeggiConfigurazione(ctx.fileIni, cartella);
  const bool server = ArchivioSulServer(ctx.configurazione);
  if (server) AvvisaPasswordLeggibile(ctx);
  // The marker tells the sibling programs where the register is; never the server's password.
  ctx.stringaConnessione = server ? ConnessioneSenzaPassword(ConnessioneServer(ctx.configurazione))
                                  : StringaConnessione(cartella);
  ctx.versionePgm = server ? kVersionePgmServer : kVersionePgm;
  // The temporary files that killed runs left in the program's folders (their writers are gone).
  ScritturaAtomica::RimuoviAbbandonati(cartella, true);
  ScritturaAtomica::RimuoviAbbandonati(cartella / "DataBase", true);

  ConnessioneDb(ctx, db);
  ScriviMarcatore(ctx);

  ctx.releasePgm = kReleasePgm;
  ctx.annoRiferimento = std::to_string(Oggi(ctx).tm_year + 1900 - 1);
  // A server's tables are made current when they are made (PreparaArchivioServer); operators come
  // to a server by the transfer of an embedded register, not from the first start's import.
  if (server) return;

  if (!Aggiornato(ctx, "002")) {
    AggiornaStruttura(*db);
    SegnaAggiornato(ctx, "002");
  }
  // Operator codes stored with blanks around them or in lower case, once.
  if (!Aggiornato(ctx, "003")) {
    try {
      CorreggiCodiciOperatori(ctx);
      SegnaAggiornato(ctx, "003");
    } catch (const ErroreFile& e) {
      ctx.Ui().Avviso(std::string("Correzione dei codici fiscali rinviata al prossimo avvio: ") +
                      e.what());
    }
  }

  ImportaPrimoAvvio(ctx);
}

}  // namespace fcl
