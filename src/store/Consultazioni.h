#pragma once

// The statements of the lists the windows and the command line show, in one place: the columns'
// titles are the aliases in brackets, the same on every engine.

namespace fcl {

// The register list: code, VAT number, name, by company name.
inline constexpr const char* kElencoSoggetti =
    "SELECT COPE.Ocod AS [Codice_Fiscale], COPE.oPIVA AS [Partita Iva], COPE.ODES as [Ragione "
    "Sociale]  FROM COPE ORDER BY COPE.ORAG";

}  // namespace fcl
