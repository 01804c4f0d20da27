#pragma once

#include <string>
#include <string_view>

namespace fcl {

// Conversions at the file boundary. Core strings are UTF-8; every file that the system writes for
// the Agenzia or for a backup is Windows-1252. A character that Windows-1252 cannot hold becomes
// "?"; invalid UTF-8 bytes become "?" too, so a conversion never fails.
std::string Utf8ToCp1252(std::string_view utf8);
std::string Cp1252ToUtf8(std::string_view cp1252);
// Utf8ToCp1252 appended to `out`, for a caller that reuses its buffer.
void AggiungiCp1252(std::string_view utf8, std::string& out);

// True when the bytes are well-formed UTF-8 (a file of unknown encoding is read as Windows-1252
// otherwise).
bool Utf8Valido(std::string_view testo);

// Appends the UTF-8 bytes of one code point.
void AggiungiUtf8(char32_t cp, std::string& out);

// Number of characters (code points) of a UTF-8 text.
std::size_t LunghezzaUtf8(std::string_view utf8);

// The first `n` characters of a UTF-8 text (never cuts a character in two).
std::string PrimiCaratteriUtf8(std::string_view utf8, std::size_t n);

// Upper case of a UTF-8 text: ASCII letters and the accented Latin-1 letters.
std::string MaiuscoloUtf8(std::string_view utf8);

}  // namespace fcl
