#include "CartellaTemporanea.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fcl::test {

std::string LeggiFile(const std::filesystem::path& percorso) {
  std::ifstream in(percorso, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + percorso.string());
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void ScriviFile(const std::filesystem::path& percorso, std::string_view byte) {
  std::ofstream out(percorso, std::ios::binary | std::ios::trunc);
  out.write(byte.data(), static_cast<std::streamsize>(byte.size()));
  if (!out) throw std::runtime_error("cannot write " + percorso.string());
}

}  // namespace fcl::test
