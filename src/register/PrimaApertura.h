#pragma once

#include <functional>
#include <string_view>

#include "common/Contesto.h"

namespace fcl {

// The marker of the first opening of the operators register, in the program folder.
inline constexpr std::string_view kFilePrimaApertura = "ckimpope.txt";

// The first opening of the operators register: when the program folder holds no "ckimpope.txt",
// sets ctx.importSilenzioso (a missing VELA is no news on a first start), runs `importaVela` and
// then writes the marker, one line "fatto " + today's date (dd/mm/yyyy, CR LF), whole or not at
// all. Returns true when the import ran. Later openings find the marker and do nothing.
//
// The marker is written even when the import found nothing to copy or was declined, so the
// question comes once; a marker that cannot be written throws ErroreFile (the import may then be
// offered again at the next opening, which copies nothing twice).
bool ImportaAllaPrimaApertura(Contesto& ctx, const std::function<void()>& importaVela);

}  // namespace fcl
