// bench_registro sqlite|postgres [SOGGETTI]
//
// Fills a new register with SOGGETTI operators (default 10000) through the register's own save,
// then times what a user waits for: the register list filled as the window fills it (query, rows
// and the list's model), and the save of one operator (read, checks, version check, write), each
// the median of several runs. On postgres the server is FCL_PG_CONNESSIONE (a database of its own
// is made and dropped); run it beside a server, e.g. scripts/con-postgres.sh
// build/default/bench/...
#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "common/Contesto.h"
#include "common/Interazione.h"
#include "common/ui/ListaVista.h"
#include "register/RegistroOperatori.h"
#include "store/Consultazioni.h"
#include "store/Database.h"
#include "store/DatiRiferimento.h"
#include "store/Schema.h"
#include "store/Server.h"

namespace {

using Orologio = std::chrono::steady_clock;

class InterazioneMuta : public fcl::Interazione {
 public:
  void Messaggio(std::string_view, std::string_view, fcl::Icona) override {}
  fcl::Risposta Chiedi(std::string_view, std::string_view, fcl::Pulsanti, fcl::Icona,
                       fcl::Risposta) override {
    return fcl::Risposta::Si;
  }
  std::optional<std::filesystem::path> ScegliFileDaAprire(std::string_view, std::string_view,
                                                          const std::filesystem::path&) override {
    return std::nullopt;
  }
  std::optional<std::filesystem::path> ScegliFileDaSalvare(std::string_view, std::string_view,
                                                           const std::filesystem::path&,
                                                           std::string_view) override {
    return std::nullopt;
  }
  void Avanzamento(std::string_view, long long, long long) override {}
  void Avviso(std::string_view) override {}
};

// A valid VAT number (also the operator's code) from a sequence number.
std::string PartitaIva(int n) {
  std::string base = std::to_string(100000000 + n);
  base.insert(0, 10 - std::min<std::size_t>(10, base.size()), '0');
  int somma = 0;
  for (int i = 0; i < 10; ++i) {
    int d = base[i] - '0';
    if (i % 2 == 1) d = d * 2 > 9 ? d * 2 - 9 : d * 2;
    somma += d;
  }
  return base.substr(0, 10) + static_cast<char>('0' + (10 - somma % 10) % 10);
}

fcl::DatiOperatore Societa(int n) {
  fcl::DatiOperatore d;
  d.tocod = d.toPIVA = PartitaIva(n);
  d.torag = "SOCIETA DI PROVA NUMERO " + std::to_string(n) + " SRL";
  d.vOSCOM = "ROMA";
  d.vOSPRO = "RM";
  d.vOATT = "41.20.00";
  return d;
}

double Mediana(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double Secondi(Orologio::time_point da) {
  return std::chrono::duration<double>(Orologio::now() - da).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || (std::string(argv[1]) != "sqlite" && std::string(argv[1]) != "postgres")) {
    std::fprintf(stderr, "uso: bench_registro sqlite|postgres [SOGGETTI]\n");
    return 2;
  }
  const bool server = std::string(argv[1]) == "postgres";
  const int soggetti = argc > 2 ? std::atoi(argv[2]) : 10000;
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);

  const char* admin = std::getenv("FCL_PG_CONNESSIONE");
  const std::string nomeDb = "fcl_bench_" + std::to_string(::getpid());
  const auto cartella = std::filesystem::temp_directory_path() / nomeDb;
  std::optional<fcl::Database> db;
  if (server) {
    if (admin == nullptr) {
      std::fprintf(stderr, "FCL_PG_CONNESSIONE non impostata\n");
      return 2;
    }
    fcl::Database::Server(admin).Esegui("CREATE DATABASE " + nomeDb);
    db.emplace(fcl::Database::Server(std::string(admin) + " dbname=" + nomeDb));
    fcl::PreparaArchivioServer(*db);
  } else {
    std::filesystem::create_directories(cartella);
    db.emplace(cartella / "FCL2013.mdb", fcl::Database::Modo::Creazione);
    fcl::Transazione tr(*db);
    fcl::CreaSchema(*db);
    fcl::CaricaDatiRiferimento(*db);
    tr.Conferma();
  }
  InterazioneMuta ui;
  fcl::Contesto ctx;
  ctx.connessioneDb = &*db;
  ctx.interazione = &ui;

  auto inizio = Orologio::now();
  for (int n = 0; n < soggetti; ++n) {
    fcl::DatiOperatore d = Societa(n);
    fcl::AggiornaOperatore(ctx, d);
  }
  const double riempimento = Secondi(inizio);

  std::vector<double> liste;
  for (int giro = 0; giro < 5; ++giro) {
    fcl::ListaVista lista;
    std::string ricerca;
    inizio = Orologio::now();
    lista.RiempiLista(*db, fcl::kElencoSoggetti, ricerca);
    liste.push_back(Secondi(inizio));
  }

  std::vector<double> salvataggi;
  for (int giro = 0; giro < 21; ++giro) {
    inizio = Orologio::now();
    fcl::DatiOperatore d;
    fcl::LeggiOperatore(ctx, PartitaIva(soggetti / 2), d);
    d.vOTEL = std::to_string(giro);
    fcl::AggiornaOperatore(ctx, d);
    salvataggi.push_back(Secondi(inizio));
  }

  std::printf("motore %s, %d soggetti\n", argv[1], soggetti);
  std::printf("  riempimento dell'archivio  %8.2f s (%.2f ms a soggetto)\n", riempimento,
              1000 * riempimento / soggetti);
  std::printf("  elenco dei soggetti        %8.1f ms (mediana di %zu)\n", 1000 * Mediana(liste),
              liste.size());
  std::printf(
      "  salvataggio di un soggetto %8.2f ms (mediana di %zu: lettura, controlli, scrittura)\n",
      1000 * Mediana(salvataggi), salvataggi.size());
  db.reset();
  if (server) {
    fcl::Database::Server(admin).Esegui("DROP DATABASE " + nomeDb + " WITH (FORCE)");
  } else {
    std::filesystem::remove_all(cartella);
  }
  return 0;
}
