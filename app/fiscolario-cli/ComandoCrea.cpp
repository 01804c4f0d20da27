// `crea CF FOGLIO --anno AAAA [--tipo 0|1|2] [--protocollo P] [--protocollo-documento D]
// [--dati 1|2] [--periodo MM] [--listato PDF] [--listato-compresso] [--senza-zeri] [--sovrascrivi]
// [--conserva-con-errori]`: the whole main road for one operator, the workbook run and then the
// creation of the communication file and its cover. Prints the paths of the communication file, the
// listing and the cover on stdout, one a line. The written file is checked against the published
// layout: its report is written beside it (NAME_VERIFICA.TXT), the rows with findings are marked in
// the listing, and a file with errors is kept only with --conserva-con-errori (otherwise exit 1,
// nothing written but the report). --listato-compresso writes the listing's pages compressed.
// Without --dati the kind of data follows the workbook (aggregated when both kinds were filled,
// with the notice on stderr). Without --sovrascrivi an existing communication file is kept: both
// questions are printed on stderr, answered No, and the command fails. Exit 1 when the operator is
// unknown, the run fails, reads no row or finds errors, a choice is refused or the writing fails.

#include <CLI/CLI.hpp>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Comandi.h"
#include "common/InterazioneSostitutiva.h"
#include "communication/CopertinaPdf.h"
#include "communication/CreaComunicazione.h"
#include "communication/VerificaCreazione.h"
#include "register/CaricaOperatoreCorrente.h"
#include "fatture/SorgenteDati.h"
#include "workbook/ElaboraCartella.h"
#include "workbook/ListatoPdf.h"

namespace fcl {
namespace {

struct OpzioniCrea {
  std::string codice;
  std::vector<std::string> sorgente;  // a workbook, or invoices (folders, .zip, .xml, .p7m)
  std::string registrazioni;
  std::string anno;
  int tipo = 0;
  std::string protocollo;
  std::string protocolloDocumento;
  int dati = 0;  // 0: as the workbook says
  std::string periodo;
  std::string listato;
  bool listatoCompresso = false;
  bool senzaZeri = false;
  bool sovrascrivi = false;
  bool conservaConErrori = false;
};

// The command line's interaction during the creation: the check's question is answered by its own
// flag; every other call goes to the command's interaction.
class InterazioneCreazione : public InterazioneSostitutiva {
 public:
  InterazioneCreazione(Contesto& ctx, InterazioneCli& cli, bool conservaConErrori)
      : InterazioneSostitutiva(ctx), cli_(cli), conserva_(conservaConErrori) {}

  Risposta Chiedi(std::string_view testo, std::string_view titolo, Pulsanti pulsanti, Icona icona,
                  Risposta predefinita) override {
    if (titolo != kTitoloVerifica) return cli_.Chiedi(testo, titolo, pulsanti, icona, predefinita);
    const Risposta prima = cli_.rispostaDomande;
    cli_.rispostaDomande = conserva_ ? Risposta::Si : Risposta::No;
    const Risposta r = cli_.Chiedi(testo, titolo, pulsanti, icona, predefinita);
    cli_.rispostaDomande = prima;
    return r;
  }

 private:
  InterazioneCli& cli_;
  bool conserva_;
};

// The documents are not opened from the command line: their paths are printed at the end.
class NessunaApertura : public ApriDocumento {
 public:
  void Apri(const std::filesystem::path&) override {}
};

int Crea(AmbienteCli& a, const OpzioniCrea& o) {
  Contesto& ctx = a.Avvia();
  if (!CaricaOperatoreCorrente(ctx, o.codice)) {
    ctx.Ui().Messaggio("Operatore " + o.codice + " non presente in archivio", kTitoloApplicazione,
                       Icona::Critico);
    return 1;
  }

  // The workbook run, as `elabora` does it.
  ctx.totaliImport.cartellaUscita = std::filesystem::current_path();
  if (!o.listato.empty()) a.interazione.file.push_back(std::filesystem::path(o.listato));
  // The source: a workbook, or the year's electronic invoices of the operator.
  RichiestaSorgente sorgente;
  for (const std::string& p : o.sorgente) sorgente.percorsi.emplace_back(p);
  sorgente.fatture = OpzioniOperatore(ctx, o.anno, o.registrazioni);
  ListatoPdf listato;
  listato.ComprimiPagine(o.listatoCompresso);
  const InterazioneCli::PagineInVista pagine(a.interazione,
                                             [&listato] { return listato.Pagine(); });
  const RisultatoElaborazione r =
      ElaboraCartella(ctx, sorgente.percorsi.front(), !o.senzaZeri, listato,
                      ApriSorgenteFn(sorgente, &ctx.Ui()));
  if (r.esito != EsitoElaborazione::Completata) return 1;
  if (ctx.totaliImport.erroreData) {
    ctx.Ui().Messaggio("Correggere gli errori evidenziati", "Errori nei dati", Icona::Critico);
    return 1;
  }
  if (ctx.totaliImport.righeTotali <= 0) return 1;

  // The creation window's choices.
  SceltaCreazione scelta;
  scelta.anno = o.anno;
  scelta.tipoInvio = static_cast<TipoInvio>(o.tipo);
  scelta.protocollo = o.protocollo;
  scelta.protocolloDocumento = o.protocolloDocumento;
  scelta.tipoDati =
      o.dati != 0 ? static_cast<TipoDati>(o.dati) : ScegliTipoDati(ctx.totaliImport, ctx.Ui());
  scelta.periodo = o.periodo;
  AvvisoTipoInvio(scelta.tipoInvio, ctx.Ui());

  a.interazione.rispostaDomande = o.sovrascrivi ? Risposta::Si : Risposta::No;
  NessunaApertura nessuna;
  ApriDocumento* apertura = ctx.apriDocumento;
  ctx.apriDocumento = &nessuna;
  InterazioneCreazione interazione(ctx, a.interazione, o.conservaConErrori);
  CopertinaPdf copertina(ctx.cartellaProgramma, ctx.Ui());
  const EsitoCreazione e = CreaComunicazione(ctx, scelta, copertina, &listato);
  ctx.apriDocumento = apertura;

  switch (e.stato) {
    case EsitoCreazione::Stato::Creata:
      a.out << e.fileComunicazione.string() << '\n'
            << ctx.totaliImport.percorsoListato.string() << '\n'
            << e.fileCopertina.string() << '\n';
      return 0;
    case EsitoCreazione::Stato::ErroreCampo:
      // The window shows it on its field; here it is the message of a field error.
      ctx.Ui().Messaggio(e.messaggio, "Errore", Icona::Critico);
      return 1;
    case EsitoCreazione::Stato::Interrotta:
    case EsitoCreazione::Stato::Fallita:
    case EsitoCreazione::Stato::Fermata:
      break;
  }
  return 1;
}

}  // namespace

void RegistraCrea(CLI::App& app, AmbienteCli& amb, CorpoComando& corpo) {
  auto* cmd = app.add_subcommand(
      "crea",
      "Elabora il foglio Excel di un operatore e crea la comunicazione con il frontespizio");
  auto o = std::make_shared<OpzioniCrea>();
  cmd->add_option("CF", o->codice, "Codice fiscale dell'operatore")->required();
  cmd->add_option("SORGENTE", o->sorgente,
                  "Cartella di lavoro (.xls, .xlsx, .ods), oppure fatture elettroniche: cartelle, "
                  "archivi .zip, file .xml e .xml.p7m")
      ->required();
  cmd->add_option("--registrazioni", o->registrazioni,
                  "Elenco CSV delle date di registrazione delle fatture elettroniche");
  cmd->add_option("--anno", o->anno, "Anno di riferimento")->required();
  cmd->add_option("--tipo", o->tipo,
                  "Tipologia di invio: 0 ordinario, 1 sostitutivo, 2 annullamento")
      ->check(CLI::IsMember({0, 1, 2}));
  cmd->add_option("--protocollo", o->protocollo, "Protocollo telematico da sostituire/annullare");
  cmd->add_option("--protocollo-documento", o->protocolloDocumento,
                  "Protocollo documento da sostituire/annullare");
  cmd->add_option("--dati", o->dati, "Tipologia di dati: 1 aggregati, 2 analitici")
      ->check(CLI::IsMember({1, 2}));
  cmd->add_option("--periodo", o->periodo, "Mese/Trimestre di riferimento");
  cmd->add_option("--listato", o->listato, "PDF del listato di controllo");
  cmd->add_flag("--listato-compresso", o->listatoCompresso,
                "Listato di controllo con le pagine compresse (file più piccolo)");
  cmd->add_flag("--senza-zeri", o->senzaZeri, "Non aggiungere gli zeri non significativi");
  cmd->add_flag("--sovrascrivi", o->sovrascrivi, "Sostituisce una comunicazione già esistente");
  cmd->add_flag("--conserva-con-errori", o->conservaConErrori,
                "Conserva la comunicazione anche se la verifica del tracciato trova errori");
  cmd->callback([&corpo, o] { corpo = [o](AmbienteCli& a) { return Crea(a, *o); }; });
  (void)amb;
}

}  // namespace fcl
