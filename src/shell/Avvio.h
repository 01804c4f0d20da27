#pragma once

#include <filesystem>
#include <optional>

#include "common/Contesto.h"
#include "store/Database.h"

namespace fcl {

// Resolves the program folder: the given one (--cartella or FISCOLARIO_DIR) when there is one;
// else the executable's folder when it holds configurazione.ini (a portable install); else
// $XDG_DATA_HOME/fiscolario (~/.local/share/fiscolario).
std::filesystem::path RisolviCartellaProgramma(const std::optional<std::filesystem::path>& data,
                                               const std::filesystem::path& cartellaEseguibile);

// The start-up sequence of the program, up to the main window: reads the configuration, opens (or
// creates) the database, writes the link marker, upgrades an older database once, copies operators
// from a linked database into an empty register, and sets the process-wide texts. The database
// opened is moved into `db`, which the caller keeps for the life of the context.
void Avvia(Contesto& ctx, std::optional<Database>& db);

}  // namespace fcl
