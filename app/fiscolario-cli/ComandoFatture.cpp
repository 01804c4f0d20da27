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
#include "common/FileProtetti.h"
#include "common/ScritturaAtomica.h"
#include "fatture/CartellaFatture.h"
#include "fatture/FoglioFatture.h"
#include "fatture/SorgenteDati.h"
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
  std::vector<std::filesystem::path> percorsi(o.sorgente.begin(), o.sorgente.end());
  if (!SorgenteDiFatture(percorsi)) {
    ctx.Ui().Messaggio("Il file " + percorsi.front().string() +
                           " è una cartella di lavoro, non fatture elettroniche: elaborarlo con "
                           "crea o elabora",
                       kTitoloApplicazione, Icona::Critico);
    return 1;
  }
  const std::filesystem::path foglio = o.foglio;
  const std::filesystem::path rapporto = PosizioniFatture::PercorsoRapporto(foglio);
  FileProtetti protetti(ctx);
  for (const auto& p : percorsi) protetti.Aggiungi(p, "è tra le fatture elettroniche da leggere");
  if (!o.registrazioni.empty())
    protetti.Aggiungi(o.registrazioni, "è l'elenco delle registrazioni");
  for (const auto& file : {foglio, rapporto}) {
    if (const auto motivo = protetti.Motivo(file)) {
      ctx.Ui().Messaggio("Il file " + file.string() + " non può essere scritto: " + *motivo,
                         kTitoloApplicazione, Icona::Critico);
      return 1;
    }
    if (const auto lungo = ScritturaAtomica::ControllaNome(file)) {
      ctx.Ui().Messaggio(*lungo, kTitoloApplicazione, Icona::Critico);
      return 1;
    }
  }
  std::error_code ec;
  if (!o.sovrascrivi && std::filesystem::exists(foglio, ec)) {
    ctx.Ui().Messaggio("Il file " + foglio.string() +
                           " esiste già e non è stato sostituito (potrebbe contenere correzioni): "
                           "indicare un altro nome o --sovrascrivi",
                       kTitoloApplicazione, Icona::Critico);
    return 1;
  }

  const OpzioniFatture opzioni = OpzioniOperatore(
      ctx, o.anno.empty() ? ctx.annoRiferimento : o.anno, o.registrazioni);
  CartellaFatture fatture(percorsi, opzioni, [&a](long long file) {
    if (file % 64 == 0) a.interazione.Avanzamento("Fatture elettroniche: file letti", file, 0);
  });
  a.interazione.ChiudiAvanzamento();
  ScriviFoglioFatture(fatture, foglio);
  fatture.Dati().ScriviRapporto(rapporto);
  a.out << fatture.Riepilogo().Testo() << foglio.string() << '\n' << rapporto.string() << '\n';
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
