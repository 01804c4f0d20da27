#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace fcl {

// One record of the communication file being composed: 1898 single-byte (Windows-1252) characters,
// blank at the start, with "A" at position 1898 as every record ends. Values are placed by 1-based
// position and width: at most `larghezza` characters of the value are copied from `posizione`, and
// a shorter value leaves the rest of the field as it was (blanks, or zeros written there first).
class RecordComunicazione {
 public:
  static constexpr std::size_t kLunghezza = 1898;

  // A blank record whose position 1 holds `tipo` ("A", "B", "E", "Z").
  explicit RecordComunicazione(char tipo);

  // Places a UTF-8 value (converted to Windows-1252; a character it cannot hold becomes "?").
  void Poni(std::size_t posizione, std::size_t larghezza, std::string_view valoreUtf8);
  // Places a count right-aligned in `cifre` characters, padded on the left with "0".
  void PoniConteggio(std::size_t posizione, std::size_t cifre, long long conteggio);

  // The 1898 bytes.
  const std::string& Testo() const { return testo_; }

 private:
  std::string testo_;
};

// `conteggio` right-aligned in `cifre` characters with leading "0" (a longer number is kept whole).
std::string Conteggio(long long conteggio, std::size_t cifre);

}  // namespace fcl
