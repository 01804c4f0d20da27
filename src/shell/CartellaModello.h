#pragma once

#include <filesystem>
#include <optional>
#include <vector>

namespace fcl {

// The installed skeleton of a program folder and the copy of it into a user's own program folder.
//
// An installed Fiscolario keeps its read-only resources (the print templates in Stampe/, the guide
// and the blank workbook in Help/, the example in esempio/ and a configurazione.ini with empty
// values) in <prefix>/share/fiscolario. The per-user program folder is made from it on the first
// start and completed at every later start with what it lacks, so a newer package brings its new
// files; a file the user already has is never replaced.

// The skeleton folder: <executable folder>/../share/fiscolario when it exists (a relocated
// install), else the data folder fixed when the program was built. nullopt when neither holds a
// skeleton (a program run from its build tree).
std::optional<std::filesystem::path> TrovaCartellaModello(
    const std::filesystem::path& cartellaEseguibile);

// Creates `cartella` when missing and copies into it every file of `modello` (sub-folders included)
// that it does not already have. Each file is written whole or not at all. Returns the copied
// files, relative to `cartella`, in a stable order. Throws ErroreFile when a folder cannot be made
// or a file cannot be read or written; what was copied before stays in place.
std::vector<std::filesystem::path> CompletaCartellaProgramma(const std::filesystem::path& cartella,
                                                             const std::filesystem::path& modello);

}  // namespace fcl
