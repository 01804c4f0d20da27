#pragma once

#include <filesystem>
#include <optional>
#include <vector>

namespace fcl {

// The two files a creation writes, named after the check listing of the workbook run.
struct NomiFileComunicazione {
  std::filesystem::path comunicazione;  // "..._LISTATO.PDF" -> "....TXT"
  std::filesystem::path copertina;      // "..._LISTATO.PDF" -> "..._FRONTESPIZIO.PDF"
  // The listing's name does not hold "_LISTATO.PDF" (the user typed another name): both names were
  // made from the listing's name without its extension, so that neither can be the listing itself.
  bool ricavati = false;
};

// Derives the names from the listing path: every "_LISTATO.PDF" of the file name (exact case) is
// replaced; a name without it keeps its stem and takes ".TXT" and "_FRONTESPIZIO.PDF" (with
// "_COMUNICAZIONE.TXT" when the listing itself ends in ".TXT"). The folder is the listing's.
// nullopt when there is no listing path.
std::optional<NomiFileComunicazione> RicavaNomiFile(const std::filesystem::path& listato);

// Every file a run and its creation write named after the listing: the listing itself, the
// communication, the cover and the check's report beside the communication (its stem +
// "_VERIFICA.TXT"). Empty when there is no listing path.
std::vector<std::filesystem::path> FileDelListato(const std::filesystem::path& listato);

}  // namespace fcl
