#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <istream>
#include <vector>

#include "verifica/Rilievo.h"

namespace fcl {

// The result of the check of a communication file.
struct EsitoVerifica {
  // The findings kept, in file order (by record; findings on the whole file last).
  // Of a long file only the first `limite` findings are kept, plus every finding on the file as a
  // whole and on its first record A, B, E and Z; the counts below cover all of them.
  std::vector<Rilievo> rilievi;
  long long errori = 0;
  long long avvertimenti = 0;
  long long nonConservati = 0;  // findings counted but not kept
  long long record = 0;         // lines read
};

// Findings kept by default: enough for any file a user would fix by hand.
inline constexpr std::size_t kLimiteRilievi = 1000;

// Checks a communication file against the published layout, streaming: every finding goes to
// `ricevi` as soon as it is known (in file order, except the findings that need the whole file,
// which come at the end). Returns the number of lines read. Throws ErroreFile when the stream
// fails.
long long VerificaComunicazione(std::istream& in,
                                const std::function<void(const Rilievo&)>& ricevi);

// The same, keeping at most `limite` findings (0: all of them).
EsitoVerifica VerificaComunicazione(std::istream& in, std::size_t limite = kLimiteRilievi);

// The same on a file. Throws ErroreFile with an Italian message naming the file when it does not
// exist, is not a regular file or cannot be read.
EsitoVerifica VerificaComunicazione(const std::filesystem::path& file,
                                    std::size_t limite = kLimiteRilievi);

}  // namespace fcl
