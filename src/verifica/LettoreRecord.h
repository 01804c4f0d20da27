#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <vector>

namespace fcl {

// One line of a communication file as read: its bytes without the line end (at most the first
// kMassimoConservato of them; `lunghezza` tells the real length) and how it ended.
struct RigaLetta {
  std::string testo;
  std::size_t lunghezza = 0;  // bytes before the line end, CR excluded
  bool cr = false;            // the line ended with CR LF
  bool lf = false;            // the line ended with LF (false only for a last line without end)
};

// Reads a communication file line by line through a fixed buffer, so that a file of any size (or
// a file without line ends at all) is read with bounded memory. A line is what precedes LF; a CR
// right before the LF belongs to the line end. Throws ErroreFile when the stream fails.
class LettoreRecord {
 public:
  static constexpr std::size_t kMassimoConservato = 1900;

  explicit LettoreRecord(std::istream& in);

  // The next line; false at the end of the input.
  bool Prossima(RigaLetta& riga);

 private:
  bool Riempi();

  std::istream& in_;
  std::vector<char> buffer_;
  std::size_t inizio_ = 0;
  std::size_t fine_ = 0;
};

}  // namespace fcl
