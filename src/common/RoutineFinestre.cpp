#include "common/RoutineFinestre.h"

#include "common/Cp1252.h"

namespace fcl {

std::string CentraMessaggio(std::string_view messaggio) {
  const std::size_t lunghezza = LunghezzaUtf8(messaggio);
  if (lunghezza >= 50) return std::string(messaggio);
  // 50 - length / 2, halves to the even neighbour (42.5 -> 42, 43.5 -> 44).
  std::size_t blank = 50 - lunghezza / 2;
  if (lunghezza % 2 == 1 && blank % 2 == 1) --blank;  // x.5: the lower one when it is even
  const std::string margine(blank, ' ');
  return margine + std::string(messaggio) + margine;
}

bool ConfermaSovrascrittura(const std::filesystem::path& percorso, Interazione& ui) {
  std::error_code ec;
  if (!std::filesystem::exists(percorso, ec)) return false;
  const Risposta r =
      ui.Chiedi("Il file " + percorso.string() + " esiste già. Vuoi sovrascriverlo?",
                "Crea Coomunicazioni", Pulsanti::SiNo, Icona::Informazione, Risposta::Si);
  return r == Risposta::No;
}

}  // namespace fcl
