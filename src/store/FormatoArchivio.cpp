#include "store/FormatoArchivio.h"

#include <array>
#include <fstream>
#include <string_view>

namespace fcl {

FormatoArchivio RiconosciFormato(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return FormatoArchivio::Mancante;
  if (!std::filesystem::is_regular_file(file, ec)) return FormatoArchivio::Sconosciuto;
  std::ifstream in(file, std::ios::binary);
  if (!in) return FormatoArchivio::Sconosciuto;
  std::array<char, 32> testa{};
  in.read(testa.data(), testa.size());
  const auto letti = static_cast<std::size_t>(in.gcount());
  if (letti == 0) return FormatoArchivio::Vuoto;
  const std::string_view s(testa.data(), letti);
  // The SQLite header string, NUL included.
  if (s.substr(0, 16) == std::string_view("SQLite format 3\0", 16)) return FormatoArchivio::Sqlite;
  // Jet 3/4 (.mdb) and ACE (.accdb) pages start with 00 01 00 00 and the engine's name.
  if (s.size() >= 19 &&
      (s.substr(4, 15) == "Standard Jet DB" || s.substr(4, 15) == "Standard ACE DB"))
    return FormatoArchivio::Jet;
  return FormatoArchivio::Sconosciuto;
}

}  // namespace fcl
