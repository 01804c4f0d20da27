#pragma once

#include <string_view>

namespace fcl {

// The support offices shown in the version window. Placeholders until the distributor's own
// contacts are known: the domain is a reserved example domain, so no mail reaches a stranger.
inline constexpr std::string_view kCentralino = "+39 06 0000 0000";
inline constexpr std::string_view kMailUfficioTecnico = "assistenza@fiscolario.example";
inline constexpr std::string_view kMailUfficioCommerciale = "commerciale@fiscolario.example";

// Subject of the message started from the version window.
inline constexpr std::string_view kOggettoMail =
    "Utente FISCOLARIO - Comunicazione Contratti di Leasing";

}  // namespace fcl
