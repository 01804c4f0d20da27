#include "batch/ElencoOperatori.h"

#include <optional>

#include "common/CodiceOperatore.h"
#include "common/Cp1252.h"
#include "common/Errori.h"
#include "common/RoutineCampi.h"
#include "common/RoutineFinestre.h"
#include "common/ScritturaAtomica.h"
#include "register/RegistroOperatori.h"
#include "store/Csv.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/Registro.h"

namespace fcl {

const std::vector<ColonnaOperatore> kColonneOperatori = {
    {"codice_fiscale", "codice fiscale del soggetto (obbligatorio)"},
    {"partita_iva", "partita IVA"},
    {"tipo_soggetto", "PF persona fisica, PNF persona non fisica (vuoto: PNF)"},
    {"ragione_sociale", "denominazione o ragione sociale (PNF)"},
    {"comune_sede", "comune della sede legale (PNF)"},
    {"provincia_sede", "provincia della sede legale (PNF)"},
    {"cognome", "cognome (PF)"},
    {"nome", "nome (PF)"},
    {"sesso", "sesso, M o F (PF)"},
    {"data_nascita", "data di nascita gg/mm/aaaa (PF)"},
    {"comune_nascita", "comune di nascita (PF)"},
    {"provincia_nascita", "provincia di nascita (PF)"},
    {"email", "indirizzo di posta elettronica"},
    {"telefono", "telefono"},
    {"fax", "fax"},
    {"codice_ateco", "codice attività ATECO"},
    {"descrizione_ateco", "descrizione dell'attività"},
    {"tenuto_codice_fiscale", "soggetto tenuto alla comunicazione: codice fiscale"},
    {"tenuto_codice_carica", "soggetto tenuto: codice carica"},
    {"tenuto_data_inizio", "soggetto tenuto: data inizio procedura"},
    {"tenuto_data_fine", "soggetto tenuto: data fine procedura"},
    {"tenuto_tipo", "soggetto tenuto: PF o PNF (vuoto: PF)"},
    {"tenuto_cognome", "soggetto tenuto PF: cognome"},
    {"tenuto_nome", "soggetto tenuto PF: nome"},
    {"tenuto_sesso", "soggetto tenuto PF: sesso"},
    {"tenuto_data_nascita", "soggetto tenuto PF: data di nascita"},
    {"tenuto_comune_nascita", "soggetto tenuto PF: comune di nascita"},
    {"tenuto_provincia_nascita", "soggetto tenuto PF: provincia di nascita"},
    {"tenuto_ragione_sociale", "soggetto tenuto PNF: denominazione"},
    {"tenuto_comune_sede", "soggetto tenuto PNF: comune della sede legale"},
    {"tenuto_provincia_sede", "soggetto tenuto PNF: provincia della sede legale"},
    {"impegno_codice_fiscale", "impegno alla trasmissione: codice fiscale dell'intermediario"},
    {"impegno_numero_caf", "impegno: numero di iscrizione all'albo del C.A.F."},
    {"impegno_predisposta",
     "impegno: comunicazione predisposta dal 1 contribuente, 2 da chi "
     "effettua l'invio"},
    {"impegno_data", "impegno: data dell'impegno gg/mm/aaaa"},
};

namespace {

// The text boxes of the window behind each column (the three choices are handled apart).
std::string* Casella(DatiOperatore& d, std::string_view colonna) {
  struct Voce {
    std::string_view colonna;
    std::string DatiOperatore::*campo;
  };
  static constexpr Voce kVoci[] = {
      {"codice_fiscale", &DatiOperatore::tocod},
      {"partita_iva", &DatiOperatore::toPIVA},
      {"ragione_sociale", &DatiOperatore::torag},
      {"comune_sede", &DatiOperatore::vOSCOM},
      {"provincia_sede", &DatiOperatore::vOSPRO},
      {"cognome", &DatiOperatore::vOCOG},
      {"nome", &DatiOperatore::vONOME},
      {"sesso", &DatiOperatore::vOSEX},
      {"data_nascita", &DatiOperatore::vONDT},
      {"comune_nascita", &DatiOperatore::vONCOM},
      {"provincia_nascita", &DatiOperatore::vONPRO},
      {"email", &DatiOperatore::vOPOSTA},
      {"telefono", &DatiOperatore::vOTEL},
      {"fax", &DatiOperatore::vOFAX},
      {"codice_ateco", &DatiOperatore::vOATT},
      {"descrizione_ateco", &DatiOperatore::vOATTD},
      {"tenuto_codice_fiscale", &DatiOperatore::vOSTCCF},
      {"tenuto_codice_carica", &DatiOperatore::vOSTCCDCARICA},
      {"tenuto_data_inizio", &DatiOperatore::vOSTCDTINI},
      {"tenuto_data_fine", &DatiOperatore::vOSTCDTFINE},
      {"tenuto_cognome", &DatiOperatore::vOSTCCOG},
      {"tenuto_nome", &DatiOperatore::vOSTCNOME},
      {"tenuto_sesso", &DatiOperatore::vOSTCSEX},
      {"tenuto_data_nascita", &DatiOperatore::vOSTCNDT},
      {"tenuto_comune_nascita", &DatiOperatore::vOSTCNCOM},
      {"tenuto_provincia_nascita", &DatiOperatore::vOSTCNPRO},
      {"tenuto_ragione_sociale", &DatiOperatore::vOSTCRAG},
      {"tenuto_comune_sede", &DatiOperatore::vOSTCSCOM},
      {"tenuto_provincia_sede", &DatiOperatore::vOSTCSPRO},
      {"impegno_codice_fiscale", &DatiOperatore::vITTCF},
      {"impegno_numero_caf", &DatiOperatore::vITTCAF},
      {"impegno_data", &DatiOperatore::vITTDATA},
  };
  for (const Voce& v : kVoci)
    if (v.colonna == colonna) return &(d.*v.campo);
  return nullptr;
}

std::string Maiuscolo(std::string_view s) { return MaiuscoloUtf8(Rifila(s)); }

// The values of one row into the window's values; the reason when a choice holds a value the
// window does not offer or a date its box would refuse.
std::optional<std::string> Compila(const TabellaCsv& t, const TabellaCsv::Riga& r,
                                   DatiOperatore& d) {
  for (const ColonnaOperatore& c : kColonneOperatori)
    if (std::string* casella = Casella(d, c.nome))
      *casella = TabellaCsv::Campo(r, t.Colonna(c.nome));

  const std::string tipo = Maiuscolo(TabellaCsv::Campo(r, t.Colonna("tipo_soggetto")));
  if (tipo != "" && tipo != "PF" && tipo != "PNF")
    return "tipo_soggetto \"" + tipo + "\" non valido: indicare PF o PNF";
  d.personaFisica = tipo == "PF";
  const std::string tenuto = Maiuscolo(TabellaCsv::Campo(r, t.Colonna("tenuto_tipo")));
  if (tenuto != "" && tenuto != "PF" && tenuto != "PNF")
    return "tenuto_tipo \"" + tenuto + "\" non valido: indicare PF o PNF";
  d.tenutoPersonaFisica = tenuto != "PNF";
  const std::string chi = Rifila(TabellaCsv::Campo(r, t.Colonna("impegno_predisposta")));
  if (chi != "" && chi != "1" && chi != "2")
    return "impegno_predisposta \"" + chi +
           "\" non valido: indicare 1 (dal contribuente) o 2 (da chi effettua l'invio)";
  d.vITT1 = chi == "1";
  d.vITT2 = chi == "2";

  // The boxes that check their date when the user leaves them: a valid date is normalised as
  // there; a wrong date of birth is left to the register's own check and message, a wrong
  // commitment date (which the save does not check) is refused as its box refuses it.
  d.vONDT = Rifila(d.vONDT);
  if (const DataAnalizzata a = AnalizzaData(d.vONDT); a.esito == DataAnalizzata::Valida)
    d.vONDT = a.normalizzata;
  d.vITTDATA = Rifila(d.vITTDATA);
  if (!d.vITTDATA.empty()) {
    const DataAnalizzata a = AnalizzaData(d.vITTDATA);
    if (a.esito != DataAnalizzata::Valida) return "impegno_data: " + std::string(kDataNonValida);
    d.vITTDATA = a.normalizzata;
  }
  return std::nullopt;
}

}  // namespace

EsitoImportaElenco ImportaElencoOperatori(Contesto& ctx, const std::filesystem::path& file,
                                          bool aggiorna) {
  const TabellaCsv t = LeggiTabellaCsv(file);
  if (!t.Colonna("codice_fiscale"))
    throw Errore("Il file " + file.string() +
                 " non ha la colonna obbligatoria codice_fiscale: la prima riga deve nominare "
                 "le colonne. Nessun soggetto è stato importato.");
  EsitoImportaElenco esito;
  for (const TabellaCsv::Riga& r : t.righe) {
    DatiOperatore d;
    RigaRifiutata rifiuto{
        r.linea, Maiuscolo(TabellaCsv::Campo(r, t.Colonna("codice_fiscale"))), {}};
    if (auto motivo = Compila(t, r, d)) {
      rifiuto.motivo = *motivo;
      esito.rifiutati.push_back(std::move(rifiuto));
      continue;
    }
    try {
      // The code as the save will store it (leading blanks off, upper case).
      const std::string codice = NormalizzaCodice(d.tocod);
      const bool presente = !codice.empty() && OperatorePresente(ctx.Db(), codice);
      if (presente && !aggiorna) {
        ++esito.invariati;
        continue;
      }
      const EsitoControllo c = AggiornaOperatore(ctx, d);
      if (!c.Superato()) {
        rifiuto.motivo = c.messaggio;
        esito.rifiutati.push_back(std::move(rifiuto));
        continue;
      }
      ++(presente ? esito.aggiornati : esito.aggiunti);
    } catch (const std::exception& e) {
      rifiuto.motivo = e.what();
      esito.rifiutati.push_back(std::move(rifiuto));
    }
  }
  return esito;
}

std::size_t EsportaElencoOperatori(Contesto& ctx, const std::filesystem::path& file) {
  const std::vector<std::string> codici = CodiciOperatori(ctx.Db());
  std::string testo = "\xEF\xBB\xBF";
  std::vector<std::string> intestazione;
  for (const ColonnaOperatore& c : kColonneOperatori) intestazione.emplace_back(c.nome);
  testo += RigaCsv(intestazione, ';');
  for (const std::string& codice : codici) {
    DatiOperatore d;
    LeggiOperatore(ctx, codice, d);
    std::vector<std::string> campi;
    for (const ColonnaOperatore& c : kColonneOperatori) {
      if (const std::string* casella = Casella(d, c.nome)) {
        campi.push_back(*casella);
      } else if (c.nome == "tipo_soggetto") {
        campi.emplace_back(d.personaFisica ? "PF" : "PNF");
      } else if (c.nome == "tenuto_tipo") {
        campi.emplace_back(d.tenutoPersonaFisica ? "PF" : "PNF");
      } else if (c.nome == "impegno_predisposta") {
        campi.emplace_back(d.vITT1 ? "1" : d.vITT2 ? "2" : "");
      } else {
        campi.emplace_back();
      }
    }
    testo += RigaCsv(campi, ';');
  }
  ScritturaAtomica out(file);
  out.Scrivi(testo);
  out.Conferma();
  return codici.size();
}

}  // namespace fcl
