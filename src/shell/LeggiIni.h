#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "common/Configurazione.h"

namespace fcl {

// Reading configurazione.ini the way the program always has: key by key, an empty text for a
// missing file, section or key, and at most 127 characters of a value. Section and key names are
// matched without regard to case; the first occurrence of a key wins; blanks around a value and a
// pair of quotes around it are dropped; a line is never continued onto the next. A value that is
// not valid UTF-8 is read as Windows-1252 (a file written on Windows).
inline constexpr std::size_t kLunghezzaMassimaIni = 127;

// `massimo` characters of the value at most (the server's connection string has no limit of its
// own).
std::string LeggiIni(const std::filesystem::path& fileIni, std::string_view sezione,
                     std::string_view chiave, std::size_t massimo = kLunghezzaMassimaIni);

// Every key of the configuration, each cut to the length the program uses; PCDirF trimmed, and
// "PGM" (exactly, upper case) replaced by the program folder.
Configurazione LeggiConfigurazione(const std::filesystem::path& fileIni,
                                   const std::filesystem::path& cartellaProgramma);

}  // namespace fcl
