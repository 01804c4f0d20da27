// `elabora CF FOGLIO [--listato PDF] [--listato-compresso] [--senza-zeri]`: the workbook run for
// one operator. Writes FCLtemp.TXT in the program folder and prints the import totals on stdout,
// one "name<TAB>value" line each. The listing goes to --listato (its pages compressed with
// --listato-compresso), or to the default name in the current folder. Exit 1 when the operator is
// unknown, the run fails or reads no row, or a cell could not be encoded (the messages on stderr).

#include <CLI/CLI.hpp>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Comandi.h"
#include "register/CaricaOperatoreCorrente.h"
#include "workbook/DefinizioneQuadro.h"
#include "fatture/SorgenteDati.h"
#include "workbook/ElaboraCartella.h"
#include "workbook/ListatoPdf.h"

namespace fcl {
namespace {

struct OpzioniElabora {
  std::string codice;
  std::vector<std::string> sorgente;  // a workbook, or invoices (folders, .zip, .xml, .p7m)
  std::string registrazioni;
  std::string listato;
  bool listatoCompresso = false;
  bool senzaZeri = false;
};

void StampaTotali(std::ostream& out, const TotaliImport& t, int celleErrate) {
  for (std::string_view nome : {"FA", "SA", "BL", "FE", "FR", "NE", "NR", "DF", "FN", "SE", "TU"})
    out << nome << '\t' << t.righePerQuadro[TrovaQuadro(nome)->numero] << '\n';
  out << "Totale righe\t" << t.righeTotali << '\n';
  out << "Documenti riepilogativi FE\t" << t.documentiRiepilogativiFE << '\n';
  out << "Documenti riepilogativi FR\t" << t.documentiRiepilogativiFR << '\n';
  out << "BL colonna L\t" << t.contatoriBL[0] << '\n';
  out << "BL colonna M\t" << t.contatoriBL[1] << '\n';
  out << "BL colonna N\t" << t.contatoriBL[2] << '\n';
  out << "Errori\t" << celleErrate << '\n';
}

int Elabora(AmbienteCli& a, const OpzioniElabora& o) {
  Contesto& ctx = a.Avvia();
  if (!CaricaOperatoreCorrente(ctx, o.codice)) {
    ctx.Ui().Messaggio("Operatore " + o.codice + " non presente in archivio", kTitoloApplicazione,
                       Icona::Critico);
    return 1;
  }
  // The save dialog of the command line proposes the default name in the current folder.
  ctx.totaliImport.cartellaUscita = std::filesystem::current_path();
  if (!o.listato.empty()) a.interazione.file.push_back(std::filesystem::path(o.listato));

  // The source: a workbook, or the year's electronic invoices of the operator.
  RichiestaSorgente sorgente;
  for (const std::string& p : o.sorgente) sorgente.percorsi.emplace_back(p);
  sorgente.fatture = OpzioniOperatore(ctx, ctx.annoRiferimento, o.registrazioni);
  ListatoPdf listato;
  listato.ComprimiPagine(o.listatoCompresso);
  const InterazioneCli::PagineInVista pagine(a.interazione,
                                             [&listato] { return listato.Pagine(); });
  const RisultatoElaborazione r =
      ElaboraCartella(ctx, sorgente.percorsi.front(), !o.senzaZeri, listato,
                      ApriSorgenteFn(sorgente, &ctx.Ui()));
  if (r.esito != EsitoElaborazione::Completata) return 1;
  StampaTotali(a.out, ctx.totaliImport, r.celleErrate);
  if (ctx.totaliImport.erroreData) {
    ctx.Ui().Messaggio("Correggere gli errori evidenziati", "Errori nei dati", Icona::Critico);
    return 1;
  }
  return 0;
}

}  // namespace

void RegistraElabora(CLI::App& app, AmbienteCli& amb, CorpoComando& corpo) {
  auto* cmd = app.add_subcommand(
      "elabora", "Elabora il foglio Excel di un operatore: listato, file FCLtemp.TXT, totali");
  auto o = std::make_shared<OpzioniElabora>();
  cmd->add_option("CF", o->codice, "Codice fiscale dell'operatore")->required();
  cmd->add_option("SORGENTE", o->sorgente,
                  "Cartella di lavoro (.xls, .xlsx, .ods), oppure fatture elettroniche: cartelle, "
                  "archivi .zip, file .xml e .xml.p7m")
      ->required();
  cmd->add_option("--registrazioni", o->registrazioni,
                  "Elenco CSV delle date di registrazione delle fatture elettroniche");
  cmd->add_option("--listato", o->listato, "PDF del listato di controllo");
  cmd->add_flag("--listato-compresso", o->listatoCompresso,
                "Listato di controllo con le pagine compresse (file più piccolo)");
  cmd->add_flag("--senza-zeri", o->senzaZeri, "Non aggiungere gli zeri non significativi");
  cmd->callback([&corpo, o] { corpo = [o](AmbienteCli& a) { return Elabora(a, *o); }; });
  (void)amb;
}

}  // namespace fcl
