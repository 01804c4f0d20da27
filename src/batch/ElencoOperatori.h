#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "common/Contesto.h"
#include "register/DatiOperatore.h"

namespace fcl {

// The register to and from a client list: one CSV row per operator, one column per field of the
// register's window, under the names of kColonneOperatori (the guide's table lists them).

struct ColonnaOperatore {
  std::string_view nome;         // column name in the list
  std::string_view descrizione;  // what it holds, for the guide and the messages
};
// In the order the export writes them.
extern const std::vector<ColonnaOperatore> kColonneOperatori;

// A refused row of an import: its line in the file and why.
struct RigaRifiutata {
  std::size_t linea = 0;
  std::string codiceFiscale;
  std::string motivo;
};

struct EsitoImportaElenco {
  std::size_t aggiunti = 0;
  std::size_t aggiornati = 0;
  std::size_t invariati = 0;  // already in the register, left as they were (no `aggiorna`)
  std::vector<RigaRifiutata> rifiutati;
};

// Imports the operators of a client list (the conventions of LeggiTabellaCsv; column codice_fiscale
// required). Each row goes through the register's own save (AggiornaOperatore: normalisation,
// checks and messages, COPE and commitment rows in one transaction of its own); the dates that
// the window checks on leaving their box (date of birth, commitment date) are checked and
// normalised as there. A row that fails is refused with its line and reason and changes nothing;
// an operator already in the register is left as it is unless `aggiorna`. Throws Errore when the
// file cannot be read or lacks the codice_fiscale column (nothing imported).
EsitoImportaElenco ImportaElencoOperatori(Contesto& ctx, const std::filesystem::path& file,
                                          bool aggiorna);

// Writes the whole register, one row per operator in the order of the fiscal code, with every
// column of kColonneOperatori (';', UTF-8 with BOM), whole or not at all. Returns the rows written.
std::size_t EsportaElencoOperatori(Contesto& ctx, const std::filesystem::path& file);

}  // namespace fcl
