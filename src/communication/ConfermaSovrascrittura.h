#pragma once

#include <filesystem>

namespace fcl {

class Interazione;

// Asks before an existing file is overwritten ("Il file ... esiste già. Vuoi sovrascriverlo?").
// True when the user refuses; false when the file does not exist or the user agrees.
bool ConfermaSovrascrittura(Interazione& ui, const std::filesystem::path& percorso);

}  // namespace fcl
