// `fatture CF SORGENTE... --foglio OUT.xlsx [--anno AAAA] [--registrazioni FILE.csv]
// [--sovrascrivi]`: the operator's electronic invoices (folders, .zip archives, .xml and .xml.p7m
// files) written as rows into a workbook of the blank workbook's layout, for the user to review,
// complete and correct before running `crea` on it. The report OUT_FATTURE.csv goes beside the
// workbook; the totals and both paths are printed on stdout. Without --anno the invoices of the
// program's reference year are taken. An existing workbook (which may hold the user's
// corrections) is replaced only with --sovrascrivi. Exit 1 when the operator is unknown, the
// sources cannot be read or a file cannot be written (nothing is then written half).

#include <CLI/CLI.hpp>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Comandi.h"
#include "fatture/FattureInFoglio.h"
#include "register/CaricaOperatoreCorrente.h"

namespace fcl {
namespace {

struct OpzioniComandoFatture {
  std::string codice;
  std::vector<std::string> sorgente;
  std::string foglio;
  std::string anno;
  std::string registrazioni;
  bool sovrascrivi = false;
};

int Fatture(AmbienteCli& a, const OpzioniComandoFatture& o) {
  Contesto& ctx = a.Avvia();
  if (!CaricaOperatoreCorrente(ctx, o.codice)) {
    ctx.Ui().Messaggio("Operatore " + o.codice + " non presente in archivio", kTitoloApplicazione,
                       Icona::Critico);
    return 1;
  }
  RichiestaFattureInFoglio r;
  r.sorgente.assign(o.sorgente.begin(), o.sorgente.end());
  r.foglio = o.foglio;
  r.anno = o.anno;
  r.registrazioni = o.registrazioni;
  r.sovrascrivi = o.sovrascrivi;
  const EsitoFattureInFoglio e = FattureInFoglio(ctx, r, [&a](long long file) {
    if (file % 64 == 0) a.interazione.Avanzamento("Fatture elettroniche: file letti", file, 0);
  });
  a.interazione.ChiudiAvanzamento();
  if (!e.errore.empty()) {
    ctx.Ui().Messaggio(e.errore, kTitoloApplicazione, Icona::Critico);
    return 1;
  }
  a.out << e.riepilogo.Testo() << r.foglio.string() << '\n' << e.rapporto.string() << '\n';
  return 0;
}

}  // namespace

void RegistraFatture(CLI::App& app, AmbienteCli& amb, CorpoComando& corpo) {
  auto* cmd = app.add_subcommand(
      "fatture", "Scrive le fatture elettroniche di un operatore in un foglio Excel da rivedere");
  auto o = std::make_shared<OpzioniComandoFatture>();
  cmd->add_option("CF", o->codice, "Codice fiscale dell'operatore")->required();
  cmd->add_option("SORGENTE", o->sorgente,
                  "Fatture elettroniche: cartelle, archivi .zip, file .xml e .xml.p7m")
      ->required();
  cmd->add_option("--foglio", o->foglio, "Cartella di lavoro da scrivere (.xlsx)")->required();
  cmd->add_option("--anno", o->anno,
                  "Anno di riferimento (senza: l'anno di riferimento del programma)");
  cmd->add_option("--registrazioni", o->registrazioni,
                  "Elenco CSV delle date di registrazione (partita_iva o codice_fiscale, "
                  "numero, data_documento, data_registrazione)");
  cmd->add_flag("--sovrascrivi", o->sovrascrivi, "Sostituisce una cartella di lavoro esistente");
  cmd->callback([&corpo, o] { corpo = [o](AmbienteCli& a) { return Fatture(a, *o); }; });
  (void)amb;
}

}  // namespace fcl
