#pragma once

#include <string>
#include <string_view>

namespace fcl {

// The cleaning that records A and B receive before they are written, on their Windows-1252 bytes,
// one character for one so that no position moves: the characters ( ) < > [ ] ; | , and the double
// quote become blanks; à ò è é ì lose their accent; then every letter is upper-cased, accented ones
// included (ù becomes Ù).
std::string PulCar(std::string_view recordCp1252);

}  // namespace fcl
