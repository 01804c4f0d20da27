#include "common/CodiceOperatore.h"

#include <algorithm>

#include "common/Cp1252.h"
#include "common/RoutineCampi.h"

namespace fcl {

std::string NormalizzaCodice(std::string_view codice) { return MaiuscoloUtf8(Rifila(codice)); }

std::optional<std::string> DifettoCodice(std::string_view normalizzato) {
  if (normalizzato.empty()) return "Codice Fiscale non indicato.";
  if (normalizzato.size() > kLunghezzaMassimaCodice)
    return "Codice Fiscale non valido: ha più di " + std::to_string(kLunghezzaMassimaCodice) +
           " caratteri.";
  const bool ammesso = std::all_of(normalizzato.begin(), normalizzato.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
  });
  if (!ammesso) return std::string("Codice Fiscale non valido: sono ammesse solo lettere e cifre.");
  return std::nullopt;
}

std::string CodiceNelMessaggio(std::string_view codice) {
  if (Rifila(codice).empty()) return "(vuoto)";
  constexpr std::size_t kMostrati = 20;
  // Control characters would break the message's line: shown as "?".
  auto visibile = [](std::string t) {
    for (char& c : t)
      if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    return t;
  };
  const std::size_t n = LunghezzaUtf8(codice);
  if (n <= kMostrati) return "\"" + visibile(std::string(codice)) + "\"";
  return "\"" + visibile(PrimiCaratteriUtf8(codice, kMostrati)) + "...\" (" + std::to_string(n) +
         " caratteri)";
}

}  // namespace fcl
