#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "common/Valore.h"

namespace fcl {

// The small field routines shared by every part of the system: values to text and dates, dates as
// typed, quoting for statements, fixed-width formatting, letters-only names, the file-in-use test.
// All texts are UTF-8.

// Removes blanks (spaces and tabs) on both sides / on the left / on the right.
std::string Rifila(std::string_view s);
std::string RifilaSinistra(std::string_view s);
std::string RifilaDestra(std::string_view s);

// Database value -> text: empty for Null, otherwise the value as text trimmed of blanks.
std::string CampoTesto(const Valore& v);

// Database value -> date: date zero when CampoTesto is empty or the value is not a date.
Data CampoData(const Valore& v);

// Value -> "dd/mm/yyyy"; empty when the value is empty, not a date, or a date in 1899.
std::string FormatoData(const Valore& v);

// A date as typed: Vuota (0), NonValida (1) or Valida (2) with its "dd/mm/yyyy" form and the date
// itself. This one routine decides whether a typed date is a date, and what is stored is the date
// it gives: digits dd mm yy or dd mm yyyy (any other character ignored; 30-99 is 19yy, 00-29 is
// 20yy), a day that exists in that month of that year (29 February only in a leap year), a year
// from 1900 to 9999 (1899 is where date zero, "no date", lies). Seven digits, a ninth digit or
// year 0000 are no date.
inline constexpr int kPrimoAnnoData = 1900;
struct DataAnalizzata {
  enum Esito { Vuota = 0, NonValida = 1, Valida = 2 } esito = Vuota;
  std::string normalizzata;
  Data data;  // date zero unless Valida
};
DataAnalizzata AnalizzaData(std::string_view testo);

// "\"" + text + "\"".
std::string TraVirgolette(std::string_view testo);
// "'" + text + "'", nothing else changed.
std::string TraApici(std::string_view testo);
// Every apostrophe doubled.
std::string RaddoppiaApici(std::string_view testo);

// Upper-cases and trims `testo` in place, then returns at most 20 of its letters A-Z.
std::string SoloLettere(std::string& testo);

// The value's text with everything from the first comma dropped, right-aligned in `larghezza`
// with `riempimento`. A text longer than the width is returned unchanged; callers that place it
// into a field cut it there.
std::string AllineaDestra(std::string_view valore, std::size_t larghezza, char riempimento);

// True when the value is "0" or blank ("00" is not zero).
bool ZeroOVuoto(std::string_view valore);

// A date for a record field: "00000000" for the empty text; ddmmyyyy for a valid date written
// d/m/yyyy or dd/mm/yyyy; nullopt for a text that is no valid date (the caller reports it).
std::optional<std::string> DataGGMMAAAA(std::string_view valore);

// True when another process holds a lock on the file or it cannot be opened for writing. A file
// that does not exist is not in use.
bool FileAperto(const std::filesystem::path& percorso);

}  // namespace fcl
