#pragma once

// The statements of the lists the windows and the command line show, in one place: the columns'
// titles are the aliases in brackets, the same on every engine.

namespace fcl {

// The register list: code, VAT number, name, by company name.
inline constexpr const char* kElencoSoggetti =
    "SELECT COPE.Ocod AS [Codice_Fiscale], COPE.oPIVA AS [Partita Iva], COPE.ODES as [Ragione "
    "Sociale]  FROM COPE ORDER BY COPE.ORAG";

// The municipalities' lookup.
inline constexpr const char* kElencoComuni =
    "SELECT T_COMUNI.COMUNE as [Localita],T_COMUNI.PRO as [Provincia], T_COMUNI.CAB as [Cab] FROM "
    "T_COMUNI ORDER BY T_COMUNI.COMUNE ";

// The ATECO 2007 activities' lookup.
inline constexpr const char* kElencoAteco =
    "SELECT CODICE  as [Codice], DESCRIZIONE as [Descrizione] FROM ATECO2007 ORDER BY CODICE";

}  // namespace fcl
