#pragma once

#include <filesystem>
#include <optional>
#include <vector>

namespace fcl {

// The installed skeleton of a program folder and the copy of it into a user's own program folder.
//
// An installed Fiscolario keeps its read-only resources (the print templates in Stampe/, the guide
// and the blank workbook in Help/, the example in esempio/ and a configurazione.ini with empty
// values) in <prefix>/share/fiscolario; a build tree draws the same skeleton in <build>/programma.
// Every program folder, however it was chosen (--cartella, FISCOLARIO_DIR, a portable folder, the
// per-user default), is made from it on the first start and completed at every later start with
// what it lacks, so a newer package brings its new files; a file the user already has is never
// replaced.

// The skeleton folder: <executable folder>/../share/fiscolario when it exists (a relocated
// install); for a program run from inside its build tree, <build>/programma; else the data folder
// fixed when the program was built. nullopt when none holds a skeleton.
std::optional<std::filesystem::path> TrovaCartellaModello(
    const std::filesystem::path& cartellaEseguibile);

// Creates `cartella` when missing and copies into it every file of the skeleton's entries
// (configurazione.ini, Stampe/, Help/, esempio/, sub-folders included) that it does not already
// have; nothing else in `modello` is copied. Each file is written whole or not at all. Returns the
// copied files, relative to `cartella`, in a stable order. Throws ErroreFile when a folder cannot
// be made or a file cannot be read or written; what was copied before stays in place.
std::vector<std::filesystem::path> CompletaCartellaProgramma(const std::filesystem::path& cartella,
                                                             const std::filesystem::path& modello);

}  // namespace fcl
