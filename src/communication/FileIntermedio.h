#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace fcl {

// Name of the intermediate file that the workbook run leaves in the program folder.
inline constexpr std::string_view kNomeFileIntermedio = "FCLtemp.TXT";

// What the copy of the intermediate file found.
struct ConteggioDettaglio {
  long long recordC = 0;  // lines beginning with "C"
  long long recordD = 0;  // lines beginning with "D"
  long long copiati = 0;  // records handed on (those of the kind asked for)
};

// Reads the intermediate file of the workbook run and hands on, in file order, every detail record
// of type `tipo` ('C' or 'D'), renumbered 1, 2, 3 ... at positions 18-25. The file is checked whole
// as it is read: every line must be 1898 characters ended by CR LF, begin with "C" or "D", end with
// "A", and carry `codiceFiscale` at 2-17 (a file left by a run for another operator is refused). A
// file that cannot be read or breaks a rule throws ErroreFile naming the file and the line; the
// caller, writing atomically, then leaves nothing behind.
ConteggioDettaglio CopiaRecordDettaglio(const std::filesystem::path& file,
                                        std::string_view codiceFiscale, char tipo,
                                        const std::function<void(std::string_view record)>& scrivi);

}  // namespace fcl
