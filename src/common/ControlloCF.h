#pragma once

#include <string_view>

namespace fcl {

// Checks the form of a fiscal code or VAT number as typed. 0 when accepted; for an 11-character text,
// 1 when it holds a letter; for any other text the character code of the check letter that its first
// 15 characters require (so a 16-character code with a wrong last letter gives the right one).
// The text is taken as single-byte characters (Windows-1252).
int ControlloCF(std::string_view testo);

}  // namespace fcl
