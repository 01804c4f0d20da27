// `lotto ELENCO [--uscita DIR] [--processi N] [--anno AAAA] [--tipo 0|1|2] [--protocollo P]
// [--protocollo-documento D] [--dati 1|2] [--periodo MM] [--senza-zeri] [--listato-compresso]
// [--sovrascrivi] [--conserva-con-errori]`: the main road of `crea` for every row of a client list,
// up to N rows at a time (default: the cores of the machine), one folder per operator under DIR
// (default: the list's folder), then DIR/RIEPILOGO_LOTTO.csv and the short table on stdout. On a
// terminal the progress line shows the rows ended, running and waiting with the time left.
//
// Ctrl+C (SIGINT) or SIGTERM stops starting rows and lets the running ones end; a second one stops
// those too (what they had begun to write is removed). The summary is written in every case.
// Exit 0 when every row was created without errors, 1 otherwise, 2 when the list cannot be used.

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <thread>

#include "Comandi.h"
#include "batch/ElencoLotto.h"
#include "batch/Lotto.h"

namespace fcl {
namespace {

struct OpzioniComando {
  std::string elenco;
  std::string uscita;
  int processi = 0;
  OpzioniLotto lotto;
};

std::string Durata(std::chrono::steady_clock::duration d) {
  const long long s = std::chrono::duration_cast<std::chrono::seconds>(d).count();
  char b[32];
  if (s >= 3600)
    std::snprintf(b, sizeof b, "%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
  else
    std::snprintf(b, sizeof b, "%lld:%02lld", s / 60, s % 60);
  return b;
}

void MostraAvanzamento(std::ostream& err, const Lotto::Conteggio& c) {
  err << "\rLotto: " << c.finite << " finite, " << c.inCorso << " in corso, " << c.inAttesa
      << " in attesa";
  if (c.finite > 0 && (c.inCorso + c.inAttesa) > 0)
    err << " - tempo stimato " << Durata(c.restante);
  err << " (trascorso " << Durata(c.trascorso) << ")\x1b[K" << std::flush;
}

int EseguiLotto(AmbienteCli& a, OpzioniComando& o) {
  const std::filesystem::path elenco(o.elenco);
  std::vector<RigaElenco> righe;
  try {
    righe = LeggiElenco(elenco);
  } catch (const ErroreElenco& e) {
    a.err << e.what() << '\n';
    return 2;
  }
  Contesto& ctx = a.Avvia();
  OpzioniLotto opzioni = o.lotto;
  opzioni.uscita = !o.uscita.empty()          ? std::filesystem::path(o.uscita)
                   : elenco.has_parent_path() ? elenco.parent_path()
                                              : std::filesystem::path(".");
  opzioni.processi = o.processi > 0
                         ? o.processi
                         : std::max(1, static_cast<int>(std::thread::hardware_concurrency()));

  Lotto lotto(ctx, std::move(righe), opzioni);
  const bool terminale = &a.err == &std::cerr && ::isatty(STDERR_FILENO) != 0;

  // SIGINT and SIGTERM are taken by this thread only (the rows' threads inherit the mask), so that
  // a stop never lands in the middle of a row's writing.
  // SIGUSR1 comes from the batch's thread when it ends, so that the end is seen at once and not
  // at the next turn of the wait.
  sigset_t segnali;
  sigemptyset(&segnali);
  sigaddset(&segnali, SIGINT);
  sigaddset(&segnali, SIGTERM);
  sigaddset(&segnali, SIGUSR1);
  // They stay blocked for the rest of the process: the batch is the last thing the command does,
  // and a Ctrl+C that comes after its end (while the summary is written, or as the process exits)
  // is dropped, never taken by the default action that would end the process half-way.
  pthread_sigmask(SIG_BLOCK, &segnali, nullptr);

  std::exception_ptr errore;
  std::atomic<bool> finito{false};
  const pthread_t principale = pthread_self();
  std::thread esecuzione([&] {
    try {
      lotto.Esegui();
    } catch (...) {
      errore = std::current_exception();
    }
    finito = true;
    pthread_kill(principale, SIGUSR1);
  });
  int stop = 0;
  auto ultimo = std::chrono::steady_clock::now() - std::chrono::seconds(1);
  while (!finito) {
    const timespec attesa{0, 100'000'000};
    const int segnale = sigtimedwait(&segnali, nullptr, &attesa);
    if (segnale > 0 && segnale != SIGUSR1) {
      ++stop;
      if (terminale) a.err << '\n';
      if (stop == 1) {
        lotto.Interrompi();
        a.err << "Interruzione richiesta: nessuna nuova riga viene avviata, quelle in corso "
                 "terminano (ripetere per interromperle).\n";
      } else {
        lotto.Annulla();
        a.err << "Interruzione delle righe in corso.\n";
      }
    }
    if (terminale && std::chrono::steady_clock::now() - ultimo >= std::chrono::milliseconds(500)) {
      MostraAvanzamento(a.err, lotto.Conta());
      ultimo = std::chrono::steady_clock::now();
    }
  }
  esecuzione.join();
  const timespec zero{0, 0};
  while (sigtimedwait(&segnali, nullptr, &zero) > 0) {
  }
  if (terminale) {
    MostraAvanzamento(a.err, lotto.Conta());
    a.err << '\n';
  }
  if (errore) std::rethrow_exception(errore);

  const std::filesystem::path riepilogo = lotto.ScriviRiepilogo();
  const std::vector<EsitoRiga> esiti = lotto.Esiti();
  a.out << TabellaRiepilogoBreve(lotto.Righe(), esiti) << "Riepilogo: " << riepilogo.string()
        << '\n';
  for (const EsitoRiga& e : esiti)
    if (e.stato != StatoRiga::Creata) return 1;
  return 0;
}

}  // namespace

void RegistraLotto(CLI::App& app, AmbienteCli& amb, CorpoComando& corpo) {
  auto* cmd = app.add_subcommand(
      "lotto",
      "Crea le comunicazioni di tutti gli operatori di un elenco CSV (codice_fiscale, foglio)");
  auto o = std::make_shared<OpzioniComando>();
  cmd->add_option("ELENCO", o->elenco,
                  "File CSV con le colonne codice_fiscale e foglio (facoltative: anno, tipo, "
                  "protocollo, protocollo_documento, dati, periodo)")
      ->required();
  cmd->add_option("--uscita", o->uscita,
                  "Cartella dei risultati, una sottocartella per operatore (predefinita: quella "
                  "dell'elenco)");
  cmd->add_option("--processi", o->processi,
                  "Righe elaborate contemporaneamente (predefinito: i processori della macchina)")
      ->check(CLI::Range(1, 256));
  ValoriCreazione& v = o->lotto.comuni;
  cmd->add_option("--anno", v.anno, "Anno di riferimento");
  cmd->add_option("--tipo", v.tipo,
                  "Tipologia di invio: 0 ordinario, 1 sostitutivo, 2 annullamento")
      ->check(CLI::IsMember({"0", "1", "2"}));
  cmd->add_option("--protocollo", v.protocollo, "Protocollo telematico da sostituire/annullare");
  cmd->add_option("--protocollo-documento", v.protocolloDocumento,
                  "Protocollo documento da sostituire/annullare");
  cmd->add_option("--dati", v.dati, "Tipologia di dati: 1 aggregati, 2 analitici")
      ->check(CLI::IsMember({"1", "2"}));
  cmd->add_option("--periodo", v.periodo, "Mese/Trimestre di riferimento");
  cmd->add_flag("--senza-zeri", o->lotto.senzaZeri, "Non aggiungere gli zeri non significativi");
  cmd->add_flag("--listato-compresso", o->lotto.listatoCompresso,
                "Listato di controllo con le pagine compresse (file più piccolo)");
  cmd->add_flag("--sovrascrivi", o->lotto.sovrascrivi,
                "Sostituisce le comunicazioni già esistenti");
  cmd->add_flag("--conserva-con-errori", o->lotto.conservaConErrori,
                "Conserva le comunicazioni anche se la verifica del tracciato trova errori");
  cmd->callback([&corpo, o] { corpo = [o](AmbienteCli& a) { return EseguiLotto(a, *o); }; });
  (void)amb;
}

}  // namespace fcl
