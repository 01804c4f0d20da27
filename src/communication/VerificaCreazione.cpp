#include "communication/VerificaCreazione.h"

#include <exception>
#include <map>
#include <utility>

#include "common/ErroreSistema.h"
#include "verifica/RapportoVerifica.h"
#include "verifica/Tracciato.h"

namespace fcl {

namespace {

constexpr std::size_t kRilieviNeiMessaggi = 10;

// The first findings of one severity, one a line, and how many more there are.
std::string Elenco(const EsitoVerifica& v, const PrimeRigheFogli& prime, Gravita gravita,
                   std::string_view fine) {
  std::string testo;
  std::size_t elencati = 0;
  for (const Rilievo& r : v.rilievi) {
    if (r.gravita != gravita) continue;
    if (elencati == kRilieviNeiMessaggi) break;
    testo += "- " + RigaRilievo(r, &prime);
    if (const std::string origine = OrigineRilievo(r); !origine.empty())
      testo += " (da correggere " + origine + ")";
    testo += std::string(fine);
    ++elencati;
  }
  const long long totale = gravita == Gravita::Errore ? v.errori : v.avvertimenti;
  if (totale > static_cast<long long>(elencati))
    testo += "... e altri " + std::to_string(totale - static_cast<long long>(elencati)) +
             std::string(fine);
  return testo;
}

}  // namespace

std::string OrigineRilievo(const Rilievo& r) {
  constexpr std::string_view kRegistro = "nel registro dei soggetti (Elenco Soggetti Obbligati)";
  constexpr std::string_view kFinestra = "nella finestra Crea Comunicazione";
  const auto con = [&r](std::string_view dove, std::string_view gruppo) {
    std::string testo(dove);
    if (!gruppo.empty()) testo += ", " + std::string(gruppo);
    const std::string_view campo = DescrizioneCampo(r.campo);
    if (!campo.empty()) testo += ": " + std::string(campo);
    return testo;
  };
  switch (r.regola) {
    case Regola::Intermediario:
    case Regola::TipoFornitore:
    case Regola::FornitoreA:
      return con(kRegistro, "impegno alla trasmissione telematica");
    case Regola::DatiContribuente:
    case Regola::TipoSoggetto:
      return con(kRegistro, "dati del soggetto");
    case Regola::SoggettoTenuto:
    case Regola::DatiSoggettoTenuto:
      return con(kRegistro, "soggetto tenuto alla comunicazione");
    case Regola::TipoComunicazione:
    case Regola::Protocollo:
    case Regola::TipologiaDati:
    case Regola::MeseTrimestre:
      return con(kFinestra, "");
    default:
      break;
  }
  if (r.tipoRecord == 'A') return con(kRegistro, "");
  if (r.tipoRecord != 'B' || r.campo.size() < 2 || r.campo[0] != 'B') return {};
  int n = 0;
  for (std::size_t i = 1; i < r.campo.size(); ++i) {
    if (r.campo[i] < '0' || r.campo[i] > '9') return {};
    n = n * 10 + (r.campo[i] - '0');
  }
  if (n == 2 || (n >= 27 && n <= 38)) return con(kRegistro, "dati del soggetto");
  if (n >= 41 && n <= 51) return con(kRegistro, "soggetto tenuto alla comunicazione");
  if (n >= 52 && n <= 56) return con(kRegistro, "impegno alla trasmissione telematica");
  if ((n >= 8 && n <= 14) || n == 39 || n == 40) return con(kFinestra, "");
  return {};  // the quadro boxes follow the rows of the sheets
}

PrimeRigheFogli PrimeRighe(const TotaliImport& totali) {
  return PrimeRigheFogli{totali.primaRigaBL, totali.frPrecedente, totali.posizioni.get()};
}

bool ConservaConErrori(Interazione& ui, const EsitoVerifica& v, const PrimeRigheFogli& prime,
                       const std::filesystem::path& rapporto) {
  std::string testo = "La verifica della comunicazione ha trovato " +
                      RiepilogoVerifica(v.errori, v.avvertimenti) +
                      ". Con questi errori l'Agenzia delle Entrate scarterebbe il file:\r\n \r\n" +
                      Elenco(v, prime, Gravita::Errore, "\r\n") + " \r\n";
  // Where the errors are corrected: the register, the creation window, the workbook.
  bool registro = false;
  bool finestra = false;
  bool foglio = false;
  for (const Rilievo& r : v.rilievi) {
    if (r.gravita != Gravita::Errore) continue;
    const std::string origine = OrigineRilievo(r);
    if (origine.empty())
      foglio = true;
    else
      (origine.find("registro") != std::string::npos ? registro : finestra) = true;
  }
  std::string dove;
  const auto aggiungi = [&dove](std::string_view parte) {
    if (!dove.empty()) dove += ", ";
    dove += parte;
  };
  if (registro) aggiungi("i dati del soggetto nel registro dei soggetti");
  if (finestra) aggiungi("le scelte della finestra Crea Comunicazione");
  if (foglio || dove.empty())
    aggiungi(prime.posizioni != nullptr ? "le fatture elettroniche (o il foglio scritto da esse)"
                                        : "il foglio Excel");
  if (const auto ultima = dove.rfind(", "); ultima != std::string::npos)
    dove.replace(ultima, 2, " e ");
  testo += "Tutti i rilievi sono nel rapporto " + rapporto.string() +
           " e le righe sono segnate nel listato di controllo.\r\n \r\n"
           "Conservare comunque la comunicazione? (No: il file non viene salvato; correggere " +
           dove + ", poi creare di nuovo la comunicazione)";
  return ui.Chiedi(testo, kTitoloVerifica, Pulsanti::SiNo, Icona::Critico, Risposta::No) ==
         Risposta::Si;
}

std::string RiepilogoPerCompletamento(const EsitoVerifica& v, const PrimeRigheFogli& prime,
                                      const std::filesystem::path& rapporto) {
  std::string m = "\r Verifica del tracciato: " + RiepilogoVerifica(v.errori, v.avvertimenti);
  if (v.errori == 0 && v.avvertimenti == 0) return m + ".\r  ";
  m += " (rapporto: " + (rapporto.empty() ? std::string("non scritto") : rapporto.string()) +
       ")\r";
  if (v.avvertimenti > 0) {
    m += " Avvertimenti da controllare:\r" + Elenco(v, prime, Gravita::Avvertimento, "\r");
  }
  return m + "  ";
}

std::vector<RigaSegnata> RigheDaSegnare(const EsitoVerifica& v, const PrimeRigheFogli& prime) {
  std::map<std::pair<std::string, long long>, bool> righe;  // (sheet, row) -> an error
  for (const Rilievo& r : v.rilievi) {
    const std::optional<CellaFoglio> cella = CellaNelFoglio(r, prime);
    if (!cella) continue;
    bool& errore = righe[{cella->foglio, cella->riga}];
    errore = errore || r.gravita == Gravita::Errore;
  }
  std::vector<RigaSegnata> elenco;
  elenco.reserve(righe.size());
  for (const auto& [dove, errore] : righe) elenco.push_back({dove.first, dove.second, errore});
  return elenco;
}

std::filesystem::path ConcludiVerifica(Interazione& ui, const EsitoVerifica& v,
                                       const PrimeRigheFogli& prime,
                                       const std::filesystem::path& comunicazione,
                                       Listato* listato) {
  std::filesystem::path rapporto;
  try {
    rapporto = ScriviRapportoVerifica(v, comunicazione, &prime);
  } catch (const std::exception& e) {
    ui.Messaggio("Il rapporto della verifica non è stato scritto: " + TestoPerUtente(e),
                 kTitoloVerifica, Icona::Esclamazione);
  }
  if (listato == nullptr) return rapporto;
  const std::vector<RigaSegnata> righe = RigheDaSegnare(v, prime);
  if (righe.empty()) return rapporto;
  try {
    listato->SegnaRighe(righe, "Righe segnate dalla verifica della comunicazione: in rosso gli "
                               "errori, in arancione gli avvertimenti - dettagli nel rapporto " +
                                   PercorsoRapportoVerifica(comunicazione).filename().string());
  } catch (const std::exception& e) {
    ui.Messaggio("Le righe con rilievi non sono state segnate nel listato: " + TestoPerUtente(e),
                 kTitoloVerifica, Icona::Esclamazione);
  }
  return rapporto;
}

}  // namespace fcl
