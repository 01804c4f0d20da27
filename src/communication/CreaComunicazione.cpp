#include "communication/CreaComunicazione.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <optional>

#include "common/BloccoFile.h"
#include "common/ErroreSistema.h"
#include "common/Errori.h"
#include "common/NomiFileComunicazione.h"
#include "common/RoutineCampi.h"
#include "common/ScritturaAtomica.h"
#include "communication/ConfermaSovrascrittura.h"
#include "communication/FileIntermedio.h"
#include "communication/PianoComunicazione.h"
#include "communication/RigaOperatore.h"
#include "communication/TracciatoComunicazione.h"
#include "communication/VerificaCreazione.h"
#include "verifica/RapportoVerifica.h"
#include "workbook/ElaboraCartella.h"

namespace fcl {

namespace {

constexpr std::string_view kCrLf = "\r\n";

bool SoloCifre(std::string_view t) {
  return std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
}

EsitoCreazione ErroreDiCampo(CampoCreazione campo, std::string_view messaggio) {
  EsitoCreazione e;
  e.stato = EsitoCreazione::Stato::ErroreCampo;
  e.campo = campo;
  e.messaggio = messaggio;
  return e;
}

EsitoCreazione Interruzione(std::string messaggio = {}) {
  EsitoCreazione e;
  e.stato = EsitoCreazione::Stato::Interrotta;
  e.messaggio = std::move(messaggio);
  return e;
}

// The checks of the window's fields, in the order the user meets them.
std::optional<EsitoCreazione> ControllaCampi(const SceltaCreazione& s, const TotaliImport& totali) {
  if (s.anno.empty()) return ErroreDiCampo(CampoCreazione::Anno, kAnnoNonIndicato);
  if (s.tipoInvio != TipoInvio::Ordinario) {
    struct Protocollo {
      CampoCreazione campo;
      const std::string& testo;
      std::size_t cifre;
      std::string_view nonValido;
    } const kProtocolli[] = {
        {CampoCreazione::Protocollo, s.protocollo, 17, kProtocolloNonValido},
        {CampoCreazione::ProtocolloDocumento, s.protocolloDocumento, 6,
         kProtocolloDocumentoNonValido},
    };
    for (const Protocollo& p : kProtocolli) {
      const std::string t = Rifila(p.testo);
      if (t.empty()) return ErroreDiCampo(p.campo, kProtocolloNonIndicato);
      // Protocols are numbers, written right-aligned over zeros.
      if (!SoloCifre(t) || t.size() > p.cifre) return ErroreDiCampo(p.campo, p.nonValido);
    }
  }
  if (s.tipoInvio != TipoInvio::Annullamento) {
    // One kind of data per file: a kind without a filled quadro would give a file without data.
    bool compilato = false;
    for (int q = FA; q <= TU; ++q)
      if (totali.righePerQuadro[static_cast<std::size_t>(q)] > 0 &&
          QuadroAggregato(q) == (s.tipoDati == TipoDati::Aggregati))
        compilato = true;
    if (!compilato)
      return ErroreDiCampo(CampoCreazione::TipoDati,
                           s.tipoDati == TipoDati::Aggregati
                               ? "Non risultano quadri compilati per la tipologia DATI AGGREGATI: "
                                 "scegliere la tipologia DATI ANALITICI"
                               : "Non risultano quadri compilati per la tipologia DATI ANALITICI: "
                                 "scegliere la tipologia DATI AGGREGATI");
  }
  return std::nullopt;
}

std::string MessaggioCompletamento(const std::string& codiceFiscale, const OperatoreCorrente& op,
                                   const EsitoCreazione& e) {
  const char cr = '\r';
  std::string m = " COMUNICAZIONE FISCOLARIO creata.";
  m += cr;
  m += "  ";
  m += cr;
  m += " Soggetto: " + codiceFiscale + " " + op.nomeVisualizzato;
  m += cr;
  m += "  ";
  m += cr;
  m += " File:  " + e.fileComunicazione.string() + "   ";
  m += cr;
  m += "  ";
  m += cr;
  m += "  ";
  if (e.nomiRicavati) {
    m += cr;
    m += " Il nome del listato non termina con _LISTATO.PDF: comunicazione e frontespizio prendono "
         "il nome del listato.";
    m += cr;
    m += " Frontespizio:  " + e.fileCopertina.string();
    m += cr;
    m += "  ";
  }
  if (!e.quadriEsclusi.empty()) {
    std::string elenco;
    for (const std::string& q : e.quadriEsclusi) elenco += (elenco.empty() ? "" : ", ") + q;
    m += cr;
    m += " ATTENZIONE: quadri compilati ma NON inclusi nella comunicazione (una tipologia di dati "
         "esclude l'altra): " +
         elenco;
    m += cr;
    m += "  ";
  }
  return m;
}

}  // namespace

EsitoCreazione CreaComunicazione(Contesto& ctx, const SceltaCreazione& sceltaDigitata,
                                 Copertina& copertina, Listato* listato) {
  Interazione& ui = ctx.Ui();
  const OperatoreCorrente& op = ctx.operatoreCorrente;
  const TotaliImport& totali = ctx.totaliImport;

  // Blanks around the year or the month would shift them in their fields.
  SceltaCreazione scelta = sceltaDigitata;
  scelta.anno = Rifila(scelta.anno);
  scelta.periodo = Rifila(scelta.periodo);

  if (auto errore = ControllaCampi(scelta, totali)) return *errore;

  // The centre's registration number goes into a numeric field when there is an intermediary.
  if (!Rifila(op.intermediarioCF).empty() && !SoloCifre(Rifila(op.numeroIscrizioneCaf))) {
    const std::string m = "Il Numero Iscrizione C.A.F. dei dati di impegno alla trasmissione (" +
                          Rifila(op.numeroIscrizioneCaf) +
                          ") deve contenere solo cifre: correggerlo nei dati del soggetto.";
    ui.Messaggio(m, "Errore", Icona::Critico);
    return Interruzione(m);
  }

  const auto nomi = RicavaNomiFile(totali.percorsoListato);
  if (!nomi) return Interruzione();
  // The run checked these names already; a listing path set by other means is checked here.
  if (const auto errore = ControllaFileDelListato(ctx, totali.percorsoListato)) {
    ui.Messaggio(*errore, "Errore stampa documento", Icona::Critico);
    return Interruzione(*errore);
  }
  const std::filesystem::path intermedio =
      scelta.fileIntermedio.empty() ? ctx.PercorsoFileIntermedio() : scelta.fileIntermedio;
  // The run's lock on its intermediate file, or one taken now for the time of the creation.
  std::unique_ptr<BloccoFile> blocco;
  if (!totali.bloccoIntermedio || totali.bloccoIntermedio->File() != intermedio) {
    blocco = BloccoFile::Prova(intermedio);
    if (!blocco) {
      const std::string m = MessaggioIntermedioInUso(intermedio);
      ui.Messaggio(m, kTitoloApplicazione, Icona::Critico);
      return Interruzione(m);
    }
  }

  if (ConfermaSovrascrittura(ui, nomi->comunicazione)) {
    const Risposta r =
        ui.Chiedi("Il file " + nomi->comunicazione.string() + " esiste già. Vuoi sostituirlo?",
                  "Crea Comunicazione", Pulsanti::SiNo, Icona::Critico, Risposta::Si);
    if (r != Risposta::Si) return Interruzione();
  }

  if (FileAperto(nomi->copertina)) {
    const std::string m = "Il documento: " + nomi->copertina.string() +
                          "\r\n \r\nrisulta aperto: chiudere il documento e riprovare";
    ui.Messaggio(m, "Errore stampa documento RIEPILOGO", Icona::Critico);
    return Interruzione(m);
  }

  const PianoComunicazione piano = PianificaComunicazione(totali, scelta);
  const std::string codiceFiscale = Rifila(op.codiceFiscale);
  EsitoCreazione esito;
  EsitoVerifica verifica;
  bool scartata = false;
  const PrimeRigheFogli prime = PrimeRighe(totali);
  esito.fileComunicazione = nomi->comunicazione;
  esito.fileCopertina = nomi->copertina;
  esito.nomiRicavati = nomi->ricavati;
  esito.quadriEsclusi = piano.quadriEsclusi;

  try {
    const std::optional<RigaOperatore> riga = LeggiRigaOperatore(ctx.Db(), codiceFiscale);
    if (!riga) {
      const std::string m = "Il soggetto " + codiceFiscale +
                            " non risulta nell'archivio dei soggetti: la comunicazione non è "
                            "stata creata.";
      ui.Messaggio(m, kTitoloApplicazione, Icona::Critico);
      return Interruzione(m);
    }

    ui.ControllaInterruzione();
    copertina.Inizia(nomi->copertina, op.nomeVisualizzato);
    // The file appears under its name only once complete: until then an earlier file stays.
    ScritturaAtomica file(nomi->comunicazione);
    auto scrivi = [&file, &ui](std::string_view record) {
      ui.ControllaInterruzione();
      file.Scrivi(record);
      file.Scrivi(kCrLf);
    };

    scrivi(ComponiRecordA(op, *riga));
    scrivi(ComponiRecordB(op, *riga, scelta, piano));

    ui.Avanzamento(kDidascaliaCopertina, 0, 0);
    copertina.Pagina1(DatiFrontespizio{*riga, op, scelta, piano});

    if (piano.tipoDettaglio != 0) {
      const ConteggioDettaglio conto =
          CopiaRecordDettaglio(intermedio, codiceFiscale, piano.tipoDettaglio, scrivi);
      // Quadri of the kind written were filled exactly when the run left records of that kind;
      // otherwise the intermediate file is not the one of this run.
      const bool quadri =
          std::any_of(piano.quadro.begin(), piano.quadro.end(), [](bool b) { return b; });
      if (quadri != (conto.copiati > 0))
        throw ErroreFile(
            "Il file intermedio " + intermedio.string() +
            " non corrisponde ai quadri elaborati: elaborare di nuovo il foglio Excel.");
      (piano.tipoDettaglio == 'C' ? esito.recordC : esito.recordD) = conto.copiati;
    }
    if (piano.recordE) scrivi(ComponiRecordE(codiceFiscale, piano.campiTA));
    scrivi(ComponiRecordZ(esito.recordC, esito.recordD, piano.recordE ? 1 : 0));

    // The file as written is checked against the published layout before it is kept.
    ui.ControllaInterruzione();
    file.Prepara();
    verifica = VerificaComunicazione(file.Temporaneo());
    ui.ControllaInterruzione();
    esito.erroriVerifica = verifica.errori;
    esito.avvertimentiVerifica = verifica.avvertimenti;
    if (verifica.errori > 0 &&
        !ConservaConErrori(ui, verifica, prime, PercorsoRapportoVerifica(nomi->comunicazione))) {
      copertina.Abbandona();
      scartata = true;
    } else {
      ui.Avanzamento(kDidascaliaCopertina, 0, 0);
      copertina.Pagina2(DatiRiepilogo{codiceFiscale, piano});
      // The last point where the run may stop: the cover and the file go into place together.
      ui.ControllaInterruzione();
      copertina.Completa();
      file.Conferma();
    }
  } catch (const ErroreInterruzione&) {
    copertina.Abbandona();
    esito.stato = EsitoCreazione::Stato::Fermata;
    return esito;
  } catch (const std::exception& e) {
    copertina.Abbandona();
    esito.stato = EsitoCreazione::Stato::Fallita;
    esito.messaggio = "Errore CREA Comunicazione: " + TestoPerUtente(e);
    ui.Messaggio(esito.messaggio, kTitoloApplicazione, Icona::Nessuna);
    return esito;
  }

  // The report beside the file (also when the file was discarded: it says what to correct) and
  // the marks on the listing's rows.
  esito.fileVerifica = ConcludiVerifica(ui, verifica, prime, nomi->comunicazione, listato);
  if (scartata) {
    esito.stato = EsitoCreazione::Stato::Interrotta;
    esito.messaggio = "La comunicazione non è stata salvata: correggere gli errori segnalati";
    if (!esito.fileVerifica.empty()) esito.messaggio += " (" + esito.fileVerifica.string() + ")";
    esito.messaggio += " e crearla di nuovo.";
    ui.Messaggio(esito.messaggio, kTitoloVerifica, Icona::Informazione);
    return esito;
  }

  esito.stato = EsitoCreazione::Stato::Creata;
  esito.messaggio = MessaggioCompletamento(codiceFiscale, op, esito) +
                    RiepilogoPerCompletamento(verifica, prime, esito.fileVerifica);
  ui.Messaggio(esito.messaggio, "Crea comunicazione", Icona::Informazione);

  if (ctx.apriDocumento != nullptr) {
    std::error_code ec;
    if (std::filesystem::exists(totali.percorsoListato, ec))
      ctx.apriDocumento->Apri(totali.percorsoListato);
    if (std::filesystem::exists(esito.fileCopertina, ec))
      ctx.apriDocumento->Apri(esito.fileCopertina);
  }
  return esito;
}

TipoDati ScegliTipoDati(const TotaliImport& totali, Interazione& ui) {
  bool aggregati = false;
  bool analitici = false;
  for (int q = FA; q <= TU; ++q) {
    if (totali.righePerQuadro[static_cast<std::size_t>(q)] < 1) continue;
    (QuadroAggregato(q) ? aggregati : analitici) = true;
  }
  if (aggregati && analitici) {
    ui.Messaggio(
        "Attenzione: sono stati compilati sia i dati AGGREGATI che i dati ANALITICI. \r\n \r\n"
        "Non possono essere comunicate entrambe le tipologie di dati: viene impostata tipologia "
        "DATI AGGREGATI.\r\n \r\n"
        "In caso di comunicazione dei dati in forma AGGREGATA, i quadri FE, FR, NE, NR, DF, FN e "
        "SE non possono essere compilati\r\n \r\n"
        "In caso di comunicazione dei dati in forma ANALITICA, i quadri FA e SA non possono essere "
        "compilati ",
        "Tipo di comunicazione", Icona::Informazione);
  }
  return analitici && !aggregati ? TipoDati::Analitici : TipoDati::Aggregati;
}

void AvvisoTipoInvio(TipoInvio tipo, Interazione& ui) {
  if (tipo == TipoInvio::Annullamento) {
    ui.Messaggio(
        "Attenzione: Indicare i protocolli della comunicazione da annullare. \r\n \r\n"
        "La comunicazione annullata NON sarà più disponibile.",
        "Attenzione Annullamento", Icona::Informazione);
  } else if (tipo == TipoInvio::Sostitutivo) {
    ui.Messaggio(
        "Attenzione: Indicare i protocolli della comunicazione da sostituire. \r\n \r\n"
        "La sostituzione è COMPLETA: la trasmissione opera una sostituzione INTEGRALE \r\n"
        "di quanto precedentemente inviato. Verificare quindi di aver inserito TUTTE le "
        "Operazioni/Note \r\n"
        "anche se già comunicate (tranne quelle che si intendono cancellare).\r\n \r\n"
        "La comunicazione sostituita NON sarà più disponibile.",
        "Attenzione Sostituzione", Icona::Informazione);
  }
}

}  // namespace fcl
