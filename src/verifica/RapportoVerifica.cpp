#include "verifica/RapportoVerifica.h"

#include <optional>

#include "common/Cp1252.h"
#include "common/PosizioniSorgente.h"
#include "common/ScritturaAtomica.h"
#include "verifica/Tracciato.h"

namespace fcl {

std::string RigaRilievo(const Rilievo& r, const PrimeRigheFogli* prime) {
  std::string riga = r.gravita == Gravita::Errore ? "ERRORE" : "AVVERTIMENTO";
  if (r.record == 0) {
    riga += " file";
  } else {
    riga += " record " + std::to_string(r.record);
    if (r.tipoRecord != ' ') {
      riga += " (";
      riga += r.tipoRecord;
      if (r.modulo > 0 && (r.tipoRecord == 'C' || r.tipoRecord == 'D'))
        riga += ", modulo " + std::to_string(r.modulo);
      riga += ")";
    }
  }
  const std::optional<CellaFoglio> cella =
      prime != nullptr ? CellaNelFoglio(r, *prime) : std::nullopt;
  const std::string fattura = cella && prime->posizioni != nullptr
                                  ? prime->posizioni->Posizione(cella->foglio, cella->riga)
                                  : std::string();
  if (!fattura.empty()) {
    riga += ", quadro " + r.quadro + ", " + fattura;
  } else if (cella) {
    riga += ", foglio " + cella->foglio + " riga " + std::to_string(cella->riga);
    if (!cella->colonna.empty()) riga += " colonna " + cella->colonna;
  } else if (!r.quadro.empty() && r.quadro != "TA") {
    riga += ", quadro " + r.quadro;
    if (r.rigaQuadro > 0) {
      riga += " riga " + std::to_string(r.rigaQuadro);
      if (r.rigo > 0) riga += " (rigo " + std::to_string(r.rigo) + " del modulo)";
    }
  }
  if (!r.campo.empty()) {
    riga += ", campo " + r.campo;
    const std::string_view descrizione = DescrizioneCampo(r.campo);
    if (!descrizione.empty()) riga += " " + std::string(descrizione);
  }
  if (r.posizione > 0) riga += ", posizione " + std::to_string(r.posizione);
  riga += ": " + r.messaggio;
  return riga;
}

std::string RiepilogoVerifica(long long errori, long long avvertimenti) {
  return std::to_string(errori) + (errori == 1 ? " errore, " : " errori, ") +
         std::to_string(avvertimenti) + (avvertimenti == 1 ? " avvertimento" : " avvertimenti");
}

std::string TestoRapportoVerifica(const EsitoVerifica& esito, const std::filesystem::path& file,
                                  const PrimeRigheFogli* prime) {
  std::string testo = "Verifica del file " + file.filename().string() + " (" +
                      std::to_string(esito.record) + " record)\n";
  if (esito.rilievi.empty() && esito.nonConservati == 0)
    testo += "Nessun rilievo: il file rispetta il tracciato pubblicato.\n";
  for (const Rilievo& r : esito.rilievi) testo += RigaRilievo(r, prime) + "\n";
  if (esito.nonConservati > 0)
    testo += "... e altri " + std::to_string(esito.nonConservati) +
             (esito.nonConservati == 1 ? " rilievo non elencato\n" : " rilievi non elencati\n");
  testo += RiepilogoVerifica(esito.errori, esito.avvertimenti) + "\n";
  return testo;
}

std::filesystem::path PercorsoRapportoVerifica(const std::filesystem::path& comunicazione) {
  std::filesystem::path p = comunicazione;
  p.replace_filename(comunicazione.stem().string() + "_VERIFICA.TXT");
  return p;
}

std::filesystem::path ScriviRapportoVerifica(const EsitoVerifica& esito,
                                             const std::filesystem::path& comunicazione,
                                             const PrimeRigheFogli* prime) {
  const std::filesystem::path percorso = PercorsoRapportoVerifica(comunicazione);
  std::string testo;
  for (const char c : TestoRapportoVerifica(esito, comunicazione, prime)) {
    if (c == '\n') testo += '\r';
    testo += c;
  }
  ScritturaAtomica scrittura(percorso);
  scrittura.Scrivi(Utf8ToCp1252(testo));
  scrittura.Conferma();
  return percorso;
}

}  // namespace fcl
