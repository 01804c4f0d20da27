#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace fcl::test {

// Helpers for byte-exact checks of fixed-width records (1898 single-byte characters).

// The characters at 1-based `posizione`, `larghezza` of them.
inline std::string Campo(const std::string& record, std::size_t posizione, std::size_t larghezza) {
  return record.substr(posizione - 1, larghezza);
}

// A record written out by hand: 1898 blanks with each text put at its 1-based position and "A" at
// 1898. The texts are written whole, as the field must read.
inline std::string RecordAtteso(
    std::initializer_list<std::pair<std::size_t, std::string_view>> campi) {
  std::string r(1898, ' ');
  for (const auto& [posizione, testo] : campi) r.replace(posizione - 1, testo.size(), testo);
  r[1897] = 'A';
  return r;
}

// The first position where two records differ (1-based), 0 when equal: a readable failure.
inline std::size_t PrimaDifferenza(const std::string& a, const std::string& b) {
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
    if (a[i] != b[i]) return i + 1;
  return a.size() == b.size() ? 0 : std::min(a.size(), b.size()) + 1;
}

}  // namespace fcl::test
