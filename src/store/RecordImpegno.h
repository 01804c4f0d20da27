#pragma once

#include <string>
#include <string_view>

namespace fcl {

// The commitment record: the 35-character DES of a CTAB row of type "ITT", one per operator, with
// the data of the intermediary who commits to transmit the communication. Each value is written
// from its first position and cut to its width; the rest stays blank:
//
//   1-16  intermediary's fiscal code       17-21  registration number of the assistance centre
//   22    who prepared it: "1" taxpayer, "2" sender, anything else not stated
//   23-32 date of the commitment dd/mm/yyyy  33-35 blank
//
// Positions count characters, not bytes, so a stray accented letter does not shift the fields.
struct RecordImpegno {
  static constexpr std::size_t kLunghezza = 35;

  std::string intermediarioCF;
  std::string numeroIscrizioneCaf;
  std::string codicePredisposizione = "0";
  std::string dataImpegno;

  // The 35 characters.
  std::string Costruisci() const;
  // The fields of a DES by their positions (a shorter text gives blanks; each field is trimmed).
  static RecordImpegno Leggi(std::string_view des);
};

}  // namespace fcl
