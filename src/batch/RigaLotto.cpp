#include "batch/RigaLotto.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "common/Cp1252.h"
#include "common/Interazione.h"
#include "common/RoutineCampi.h"
#include "communication/CopertinaPdf.h"
#include "communication/CreaComunicazione.h"
#include "communication/NomiFileComunicazione.h"
#include "communication/VerificaCreazione.h"
#include "fatture/SorgenteDati.h"
#include "register/CaricaOperatoreCorrente.h"
#include "store/Database.h"
#include "store/Registro.h"
#include "workbook/ElaboraCartella.h"
#include "workbook/ListatoPdf.h"

namespace fcl {

std::string_view EsitoPerRiepilogo(StatoRiga stato) {
  switch (stato) {
    case StatoRiga::Creata:
      return "creata";
    case StatoRiga::CreataConErrori:
      return "creata_con_errori";
    default:
      return "non_creata";
  }
}

std::string_view DidascaliaStato(StatoRiga stato) {
  switch (stato) {
    case StatoRiga::InAttesa:
      return "in attesa";
    case StatoRiga::InCorso:
      return "in corso";
    case StatoRiga::Creata:
      return "creata";
    case StatoRiga::CreataConErrori:
      return "con errori";
    case StatoRiga::NonCreata:
      break;
  }
  return "non creata";
}

namespace {

// A row stopped by the user: thrown from the progress report, caught by the run that reports it.
class ErroreInterruzione : public Errore {
 public:
  ErroreInterruzione() : Errore("Elaborazione interrotta dall'utente") {}
};

// The interaction of one row: messages are kept for the row's outcome, questions take the answer
// of the options, the listing goes where the batch puts the operator's files.
class InterazioneRiga : public Interazione {
 public:
  InterazioneRiga(const OpzioniLotto& o, std::filesystem::path cartella, const RichiestaStop& stop,
                  const std::function<void(long long)>& avanzamento)
      : opzioni_(o), cartella_(std::move(cartella)), stop_(stop), avanzamento_(avanzamento) {}

  struct Voce {
    std::string testo;
    std::string titolo;
    Icona icona;
  };

  void Messaggio(std::string_view testo, std::string_view titolo, Icona icona) override {
    messaggi.push_back({std::string(testo), std::string(titolo), icona});
  }
  Risposta Chiedi(std::string_view testo, std::string_view titolo, Pulsanti, Icona,
                  Risposta) override {
    const bool si = titolo == kTitoloVerifica ? opzioni_.conservaConErrori : opzioni_.sovrascrivi;
    if (!si) domandaRifiutata = std::string(testo);
    return si ? Risposta::Si : Risposta::No;
  }
  std::optional<std::filesystem::path> ScegliFileDaAprire(std::string_view, std::string_view,
                                                          const std::filesystem::path&) override {
    return std::nullopt;
  }
  std::optional<std::filesystem::path> ScegliFileDaSalvare(std::string_view, std::string_view,
                                                           const std::filesystem::path&,
                                                           std::string_view nome) override {
    return cartella_ / std::string(nome);
  }
  void Avanzamento(std::string_view didascalia, long long valore, long long) override {
    if (stop_.interrompi) {
      interrotta = true;
      throw ErroreInterruzione();
    }
    if (avanzamento_ && didascalia.starts_with("Foglio ")) avanzamento_(valore);
  }
  void Avviso(std::string_view testo) override {
    messaggi.push_back({std::string(testo), {}, Icona::Nessuna});
  }

  std::vector<Voce> messaggi;
  std::optional<std::string> domandaRifiutata;
  bool interrotta = false;

 private:
  const OpzioniLotto& opzioni_;
  std::filesystem::path cartella_;
  const RichiestaStop& stop_;
  const std::function<void(long long)>& avanzamento_;
};

// A message on one line, for the summary.
std::string SuUnaRiga(std::string_view testo) {
  std::string s;
  for (const char c : testo) {
    if (c == '\r' || c == '\n' || c == '\t') {
      if (!s.empty() && s.back() != ' ') s += ' ';
    } else if (c != ' ' || (!s.empty() && s.back() != ' ')) {
      s += c;
    }
  }
  return Rifila(s);
}

// The reason a row stopped: the last message that stopped it (a critical or plain box), else the
// last message at all.
std::string Motivo(const InterazioneRiga& ui) {
  for (auto it = ui.messaggi.rbegin(); it != ui.messaggi.rend(); ++it)
    if (it->icona == Icona::Critico || it->icona == Icona::Nessuna) return SuUnaRiga(it->testo);
  return ui.messaggi.empty() ? std::string() : SuUnaRiga(ui.messaggi.back().testo);
}

const std::string& Scegli(const std::string& cella, const std::string& opzione) {
  return cella.empty() ? opzione : cella;
}

bool CodiceCartella(std::string_view cf) {
  return !cf.empty() && std::all_of(cf.begin(), cf.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
  });
}

EsitoRiga NonCreata(EsitoRiga e, std::string messaggio) {
  e.stato = StatoRiga::NonCreata;
  e.messaggio = std::move(messaggio);
  return e;
}

EsitoRiga Esegui(const Contesto& base, const RigaElenco& r, const OpzioniLotto& o,
                 const std::filesystem::path& intermedio, const RichiestaStop& stop,
                 const std::function<void(long long)>& avanzamento) {
  EsitoRiga esito;
  esito.codiceFiscale = MaiuscoloUtf8(Rifila(r.codiceFiscale));
  const std::string& cf = esito.codiceFiscale;
  if (cf.empty()) return NonCreata(esito, "Codice Fiscale non indicato.");
  // The code names the operator's folder: only letters and digits, as fiscal codes are.
  if (!CodiceCartella(cf))
    return NonCreata(esito, "Il codice fiscale " + cf +
                                " contiene caratteri diversi da lettere e cifre: la riga non è "
                                "stata elaborata.");

  // The choices: the row's cell, else the batch's option, else the creation's default.
  SceltaCreazione scelta;
  scelta.anno = Scegli(r.valori.anno, o.comuni.anno);
  if (scelta.anno.empty()) scelta.anno = base.annoRiferimento;
  const std::string& tipo = Scegli(r.valori.tipo, o.comuni.tipo);
  if (!tipo.empty() && tipo != "0" && tipo != "1" && tipo != "2")
    return NonCreata(esito, "Tipo di invio \"" + tipo +
                                "\" non valido: indicare 0 (ordinario), 1 (sostitutivo) o 2 "
                                "(annullamento).");
  scelta.tipoInvio = tipo.empty() ? TipoInvio::Ordinario : static_cast<TipoInvio>(tipo[0] - '0');
  scelta.protocollo = Scegli(r.valori.protocollo, o.comuni.protocollo);
  scelta.protocolloDocumento = Scegli(r.valori.protocolloDocumento, o.comuni.protocolloDocumento);
  const std::string& dati = Scegli(r.valori.dati, o.comuni.dati);
  if (!dati.empty() && dati != "1" && dati != "2")
    return NonCreata(esito, "Tipologia di dati \"" + dati +
                                "\" non valida: indicare 1 (aggregati) o 2 (analitici).");
  scelta.periodo = Scegli(r.valori.periodo, o.comuni.periodo);

  // A context of the row's own over a connection of its own.
  Database db = base.connessioneDb->Nuova(Database::Modo::SolaLettura);
  const std::filesystem::path cartella = o.uscita / cf;
  InterazioneRiga ui(o, cartella, stop, avanzamento);
  Contesto ctx;
  ctx.cartellaProgramma = base.cartellaProgramma;
  ctx.fileIni = base.fileIni;
  ctx.configurazione = base.configurazione;
  ctx.stringaConnessione = base.stringaConnessione;
  ctx.versionePgm = base.versionePgm;
  ctx.releasePgm = base.releasePgm;
  ctx.annoRiferimento = base.annoRiferimento;
  ctx.adesso = base.adesso;
  ctx.connessioneDb = &db;
  ctx.interazione = &ui;
  ctx.apriDocumento = nullptr;  // nothing is opened in the middle of a batch
  ctx.fileIntermedio = intermedio;

  if (!CaricaOperatoreCorrente(ctx, cf))
    return NonCreata(esito, "Operatore " + cf + " non presente in archivio");
  esito.denominazione =
      CampoTesto(DenominazioneOperatore(db, ctx.operatoreCorrente.codiceFiscaleDigitato));
  if (Rifila(esito.denominazione).empty())
    esito.denominazione = ctx.operatoreCorrente.nomeVisualizzato;
  esito.denominazione = Rifila(esito.denominazione);
  if (r.foglio.empty()) return NonCreata(esito, "Foglio Excel non indicato.");

  std::error_code ec;
  std::filesystem::create_directories(cartella, ec);
  if (ec)
    return NonCreata(esito,
                     "Impossibile creare la cartella " + cartella.string() + ": " + ec.message());

  // The workbook run, as `crea` does it.
  ctx.totaliImport.cartellaUscita = cartella;
  ListatoPdf listato;
  listato.ComprimiPagine(o.listatoCompresso);
  // The row's source: a workbook, or a folder or archive of the client's electronic invoices.
  RichiestaSorgente sorgente;
  sorgente.percorsi = {r.percorsoFoglio};
  sorgente.fatture = OpzioniOperatore(ctx, scelta.anno);
  const RisultatoElaborazione re = ElaboraCartella(ctx, r.percorsoFoglio, !o.senzaZeri, listato,
                                                   ApriSorgenteFn(sorgente, &ui));
  esito.righeLette = ctx.totaliImport.righeTotali;
  if (ui.interrotta) return NonCreata(esito, "Elaborazione interrotta dall'utente.");
  if (re.esito != EsitoElaborazione::Completata) return NonCreata(esito, Motivo(ui));
  if (ctx.totaliImport.erroreData) {
    // The first cell in error, and how many more.
    std::string m = "Correggere gli errori evidenziati";
    if (!ui.messaggi.empty()) m += ": " + SuUnaRiga(ui.messaggi.front().testo);
    if (re.celleErrate == 2) m += " (e un'altra cella)";
    if (re.celleErrate > 2) m += " (e altre " + std::to_string(re.celleErrate - 1) + " celle)";
    return NonCreata(esito, m);
  }
  if (ctx.totaliImport.righeTotali <= 0) return NonCreata(esito, Motivo(ui));

  scelta.tipoDati =
      !dati.empty() ? static_cast<TipoDati>(dati[0] - '0') : ScegliTipoDati(ctx.totaliImport, ui);
  AvvisoTipoInvio(scelta.tipoInvio, ui);
  ui.messaggi.clear();
  CopertinaPdf copertina(ctx.cartellaProgramma, ui);
  const EsitoCreazione e = CreaComunicazione(ctx, scelta, copertina, &listato);
  esito.erroriVerifica = e.erroriVerifica;
  esito.avvertimentiVerifica = e.avvertimentiVerifica;
  if (ui.interrotta) return NonCreata(esito, "Elaborazione interrotta dall'utente.");
  switch (e.stato) {
    case EsitoCreazione::Stato::Creata: {
      esito.fileComunicazione = e.fileComunicazione;
      esito.stato = e.erroriVerifica > 0 ? StatoRiga::CreataConErrori : StatoRiga::Creata;
      std::vector<std::string> note;
      if (e.erroriVerifica > 0 || e.avvertimentiVerifica > 0)
        note.push_back("Verifica: " + std::to_string(e.erroriVerifica) + " errori, " +
                       std::to_string(e.avvertimentiVerifica) + " avvertimenti" +
                       (e.fileVerifica.empty() ? std::string()
                                               : " (" + e.fileVerifica.filename().string() + ")"));
      if (!e.quadriEsclusi.empty()) {
        std::string q;
        for (const std::string& s : e.quadriEsclusi) q += (q.empty() ? "" : ", ") + s;
        note.push_back("Quadri compilati non inclusi: " + q);
      }
      for (const std::string& n : note)
        esito.messaggio += (esito.messaggio.empty() ? "" : "; ") + n;
      return esito;
    }
    case EsitoCreazione::Stato::ErroreCampo:
      return NonCreata(esito, SuUnaRiga(e.messaggio));
    case EsitoCreazione::Stato::Fermata:
      return NonCreata(esito, "Elaborazione interrotta dall'utente.");
    case EsitoCreazione::Stato::Interrotta:
      if (ui.domandaRifiutata && !e.messaggio.empty())
        return NonCreata(esito, SuUnaRiga(e.messaggio));
      if (ui.domandaRifiutata)
        return NonCreata(
            esito, "Il file " +
                       RicavaNomiFile(ctx.totaliImport.percorsoListato)->comunicazione.string() +
                       " esiste già e non è stato sostituito (scegliere di "
                       "sovrascrivere).");
      return NonCreata(esito, e.messaggio.empty() ? Motivo(ui) : SuUnaRiga(e.messaggio));
    case EsitoCreazione::Stato::Fallita:
      break;
  }
  return NonCreata(esito, SuUnaRiga(e.messaggio));
}

}  // namespace

EsitoRiga EseguiRigaLotto(const Contesto& base, const RigaElenco& riga, const OpzioniLotto& opzioni,
                          const std::filesystem::path& intermedio, const RichiestaStop& stop,
                          const std::function<void(long long righe)>& avanzamento) {
  EsitoRiga esito;
  try {
    esito = Esegui(base, riga, opzioni, intermedio, stop, avanzamento);
  } catch (const std::exception& e) {
    esito.codiceFiscale = MaiuscoloUtf8(Rifila(riga.codiceFiscale));
    esito = NonCreata(esito, SuUnaRiga(e.what()));
  }
  std::error_code ec;
  std::filesystem::remove(intermedio, ec);
  // A row that wrote nothing leaves no empty folder behind (remove takes only an empty one).
  if (esito.stato == StatoRiga::NonCreata && !esito.codiceFiscale.empty() &&
      esito.codiceFiscale.find_first_of("/.") == std::string::npos)
    std::filesystem::remove(opzioni.uscita / esito.codiceFiscale, ec);
  return esito;
}

}  // namespace fcl
