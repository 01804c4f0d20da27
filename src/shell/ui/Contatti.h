#pragma once

#include <string_view>

namespace fcl {

// Subject of the message started from the version window.
inline constexpr std::string_view kOggettoMail =
    "Utente FISCOLARIO - Comunicazione Contratti di Leasing";

// The terms of use, as the package's copyright file states them.
inline constexpr std::string_view kLicenza =
    "Licenza d'uso riservata: le condizioni sono quelle concordate con chi distribuisce il "
    "programma.";
inline constexpr std::string_view kLicenzaDati =
    "Comuni e luoghi di nascita: dati ANPR, Agenzia delle Entrate e ISTAT (licenze Creative "
    "Commons Attribuzione); fonti e attribuzione nel file LICENZE.md della documentazione.";

}  // namespace fcl
