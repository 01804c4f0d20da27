#include "communication/ConfermaSovrascrittura.h"

#include <string>

#include "common/Interazione.h"

namespace fcl {

bool ConfermaSovrascrittura(Interazione& ui, const std::filesystem::path& percorso) {
  std::error_code ec;
  if (!std::filesystem::exists(percorso, ec)) return false;
  const Risposta r =
      ui.Chiedi("Il file " + percorso.string() + " esiste già. Vuoi sovrascriverlo?",
                "Crea Coomunicazioni", Pulsanti::SiNo, Icona::Informazione, Risposta::Si);
  return r == Risposta::No;
}

}  // namespace fcl
