#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fcl::test {

// The non-positional fields of a detail record line, in order: (8-character code, 16-character
// value) for every field slot at 90 + 24 (n - 1) that is not blank.
inline std::vector<std::pair<std::string, std::string>> Campi(std::string_view riga) {
  std::vector<std::pair<std::string, std::string>> campi;
  for (std::size_t p = 89; p + 24 <= 1889; p += 24) {
    const std::string_view campo = riga.substr(p, 24);
    if (campo.find_first_not_of(' ') == std::string_view::npos) continue;
    campi.emplace_back(std::string(campo.substr(0, 8)), std::string(campo.substr(8, 16)));
  }
  return campi;
}

// A value right-aligned in 16 / left-aligned in 16, as a field slot holds it.
inline std::string Dx(std::string_view v) {
  return std::string(16 - v.size(), ' ') + std::string(v);
}
inline std::string Sx(std::string_view v) {
  return std::string(v) + std::string(16 - v.size(), ' ');
}

// Splits the bytes of an intermediate file into its lines (without CR LF); every line must end with
// CR LF, otherwise the remainder is returned as a last line for the test to reject.
inline std::vector<std::string> Righe(std::string_view file) {
  std::vector<std::string> righe;
  while (!file.empty()) {
    const auto fine = file.find("\r\n");
    if (fine == std::string_view::npos) {
      righe.emplace_back(file);
      break;
    }
    righe.emplace_back(file.substr(0, fine));
    file.remove_prefix(fine + 2);
  }
  return righe;
}

}  // namespace fcl::test
