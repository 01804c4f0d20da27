#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fcl {

// Small conversions of the texts found in workbook XML parts.

// Decodes the "_xHHHH_" escapes that spreadsheet files use for control characters ("_x000D_" is a
// carriage return; "_x005F_" escapes a literal underscore) into UTF-8.
std::string DecodificaEscapeX(std::string_view testo);

// A whole number, surrounding blanks allowed; nullopt otherwise.
std::optional<long long> LeggiIntero(std::string_view testo);
// A number as XML writes it ("1234.5", "-1E-3"); nullopt otherwise.
std::optional<double> LeggiDecimale(std::string_view testo);

// The column of a cell reference ("B12" -> 2, "AA3" -> 27); nullopt when it starts with no letter.
// Values beyond the last column are capped, never overflow.
std::optional<long long> ColonnaDiRiferimento(std::string_view riferimento);

// An ISO 8601 date or date and time ("2013-03-05", "2013-03-05T10:30:00Z") as the serial number of
// a spreadsheet date (days since 30/12/1899, the time as a fraction); nullopt when not such a text.
std::optional<double> SerialeDaIso(std::string_view testo);
// An ISO 8601 duration "PT10H30M15S" (as .ods writes times) as a fraction of a day.
std::optional<double> FrazioneDaDurata(std::string_view testo);

}  // namespace fcl
