#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "verifica/RigaFoglio.h"
#include "verifica/Rilievo.h"
#include "verifica/VerificaComunicazione.h"

namespace fcl {

// The findings of a check as Italian text for the user: one line per finding, then the summary.

// One finding on one line (UTF-8, no line end), e.g.
// "ERRORE record 5 (D, modulo 3), quadro FE riga 8 (rigo 2 del modulo), campo FE002001 Codice
// fiscale della controparte, posizione 114: Codice fiscale «...» errato: ...".
// With the first rows of the workbook's sheets, a finding on a row names its cell instead:
// "..., foglio FE riga 11 colonna B, campo ...".
std::string RigaRilievo(const Rilievo& rilievo, const PrimeRigheFogli* prime = nullptr);

// "N errori, M avvertimenti" (singular for 1: "1 errore, 1 avvertimento").
std::string RiepilogoVerifica(long long errori, long long avvertimenti);

// The whole report: a heading naming the file, a line per finding kept, a line for the findings
// not kept, the summary. Lines end with "\n".
std::string TestoRapportoVerifica(const EsitoVerifica& esito, const std::filesystem::path& file,
                                  const PrimeRigheFogli* prime = nullptr);

// The report beside the communication file: its name without extension + "_VERIFICA.TXT".
std::filesystem::path PercorsoRapportoVerifica(const std::filesystem::path& comunicazione);

// Writes the report beside the communication file (whole or not at all, Windows-1252 with CR LF
// like the other files of the system) and returns its path. Throws ErroreFile on failure.
std::filesystem::path ScriviRapportoVerifica(const EsitoVerifica& esito,
                                             const std::filesystem::path& comunicazione,
                                             const PrimeRigheFogli* prime = nullptr);

}  // namespace fcl
