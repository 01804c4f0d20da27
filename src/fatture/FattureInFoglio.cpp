#include "fatture/FattureInFoglio.h"

#include "common/Contesto.h"
#include "common/FileProtetti.h"
#include "common/ScritturaAtomica.h"
#include "fatture/CartellaFatture.h"
#include "fatture/FoglioFatture.h"
#include "fatture/SorgenteDati.h"

namespace fcl {

EsitoFattureInFoglio FattureInFoglio(const Contesto& ctx, const RichiestaFattureInFoglio& r,
                                     const std::function<void(long long)>& avanza) {
  EsitoFattureInFoglio e;
  if (r.sorgente.empty()) {
    e.errore = "Indicare le fatture elettroniche da leggere";
    return e;
  }
  if (!SorgenteDiFatture(r.sorgente)) {
    e.errore = "Il file " + r.sorgente.front().string() +
               " è una cartella di lavoro, non fatture elettroniche: elaborarlo con crea o "
               "elabora";
    return e;
  }
  e.rapporto = PosizioniFatture::PercorsoRapporto(r.foglio);
  FileProtetti protetti(ctx);
  for (const auto& p : r.sorgente) protetti.Aggiungi(p, "è tra le fatture elettroniche da leggere");
  if (!r.registrazioni.empty())
    protetti.Aggiungi(r.registrazioni, "è l'elenco delle registrazioni");
  for (const auto& file : {r.foglio, e.rapporto}) {
    if (const auto motivo = protetti.Motivo(file)) {
      e.errore = "Il file " + file.string() + " non può essere scritto: " + *motivo;
      return e;
    }
    if (const auto lungo = ScritturaAtomica::ControllaNome(file)) {
      e.errore = *lungo;
      return e;
    }
  }
  std::error_code ec;
  if (!r.sovrascrivi && std::filesystem::exists(r.foglio, ec)) {
    e.esisteGia = true;
    e.errore = "Il file " + r.foglio.string() +
               " esiste già e non è stato sostituito (potrebbe contenere correzioni): indicare "
               "un altro nome o --sovrascrivi";
    return e;
  }
  const OpzioniFatture opzioni =
      OpzioniOperatore(ctx, r.anno.empty() ? ctx.annoRiferimento : r.anno, r.registrazioni);
  CartellaFatture fatture(r.sorgente, opzioni, avanza);
  ScriviFoglioFatture(fatture, r.foglio);
  fatture.Dati().ScriviRapporto(e.rapporto);
  e.riepilogo = fatture.Riepilogo();
  return e;
}

}  // namespace fcl
