#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "common/Contesto.h"

namespace fcl {

// Link markers: small files through which the programs of the family tell each other where their
// databases lie. They live in CartellaMarcatori()/SYSTEM; each holds four lines, each scrambled by
// Codifica with its own key, in Windows-1252 with CR LF line ends:
//   1 the connection string of the program's database, 2 the database type (TipoDb),
//   3 the program folder, 4 empty.
inline constexpr std::array<int, 4> kChiaviMarcatore = {12, 27, 19, 33};

inline constexpr std::string_view kMarcatoreProprio = "FSYSNEV13.DLL";   // written at every start
inline constexpr std::string_view kMarcatorePrecedente = "FSYSNEV.DLL";  // first-start import
inline constexpr std::string_view kMarcatoreVela = "FSYSVEL.DLL";
inline constexpr std::string_view kMarcatoreOrsa = "FSYSORS.DLL";

// The three values a marker carries (UTF-8).
struct ContenutoMarcatore {
  std::string stringaConnessione;
  std::string tipoDb;
  std::string cartella;
};

// The root of the marker folder. With PCDirF set it is that folder (a relative one is taken from
// the program folder), and its SYSTEM and SYSTEM32 folders are created when missing; otherwise it
// is the stand-in for the system directory, $XDG_DATA_HOME or ~/.local/share.
std::filesystem::path CartellaMarcatori(const Contesto& ctx);

// Writes a marker file whole or not at all. Throws ErroreCodifica when a value holds a character
// that Windows-1252 cannot hold, a control character, or is too long for the scrambling (the file
// is then left as it was), ErroreFile when the file cannot be written.
void ScriviFileMarcatore(const std::filesystem::path& file, const ContenutoMarcatore& contenuto);

// A line of a marker is a few dozen characters (the scrambling cannot hold more than 255): a marker
// whose first three lines are not all within this many bytes is refused without being read further,
// whatever the size of the file.
inline constexpr std::size_t kMassimoRigaMarcatore = 4096;

// What reading a marker file gave: its values, or why not.
struct LetturaMarcatore {
  std::optional<ContenutoMarcatore> contenuto;
  bool mancante = false;  // there is no file by that name
  std::string motivo;     // why an existing marker could not be read (Italian, names the file)
};

// Reads and unscrambles lines 1-3 of a marker file. Only a regular file is opened (a folder, a
// pipe or a device is refused without waiting on it), and at most three lines of
// kMassimoRigaMarcatore bytes are read. Refused: fewer than three lines, a longer line, a line
// not scrambled by this scheme.
LetturaMarcatore LeggiMarcatore(const std::filesystem::path& file);

// The values of LeggiMarcatore; nullopt when the marker is missing or could not be read.
std::optional<ContenutoMarcatore> LeggiFileMarcatore(const std::filesystem::path& file);

// Writes the program's own marker FSYSNEV13.DLL (StringaConnessione, TipoDb, program folder). A
// marker that cannot be written does not stop the program: the user is told why through a notice
// and false is returned.
bool ScriviMarcatore(Contesto& ctx);

}  // namespace fcl
