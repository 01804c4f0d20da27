#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "batch/OpzioniLotto.h"
#include "common/Errori.h"

namespace fcl {

class Database;

// The list of a batch cannot be used at all (unreadable, a required column missing): nothing runs.
class ErroreElenco : public Errore {
 public:
  using Errore::Errore;
};

// One row of a batch: an operator and its workbook, with the choices its cells set.
struct RigaElenco {
  std::size_t riga = 0;       // line of the list (or position in the folder), for the summary
  std::string codiceFiscale;  // as written
  std::string foglio;         // as written
  std::filesystem::path percorsoFoglio;  // relative paths taken from the list's folder
  ValoriCreazione valori;
};

// Reads the list of a batch: a CSV file with a header (UTF-8 with or without BOM, or Windows-1252;
// ';' or ','; quoted fields), columns codice_fiscale and foglio required, anno, tipo, protocollo,
// protocollo_documento, dati, periodo optional, names matched without regard to case, blanks and
// underscores. Throws ErroreElenco with the reason when the file cannot be read or lacks a
// required column.
std::vector<RigaElenco> LeggiElenco(const std::filesystem::path& elenco);

// The rows of a folder of workbooks (.xls, .xlsx, .ods), each matched to the operator of the
// register whose fiscal code or VAT number appears in its file name (letters and digits taken as
// runs, case ignored). A file that matches no operator, or more than one, is not guessed: it goes
// to `nonAbbinati` with the reason.
struct ElencoDaCartella {
  std::vector<RigaElenco> righe;
  std::vector<std::pair<std::filesystem::path, std::string>> nonAbbinati;
};
ElencoDaCartella AbbinaCartella(Database& db, const std::filesystem::path& cartella);

}  // namespace fcl
