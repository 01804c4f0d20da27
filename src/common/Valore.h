#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace fcl {

// A calendar date. The default value is "date zero", 30/12/1899, the day that the platform's date
// type counts from: the system stores it for a date that is not there and shows it as empty.
struct Data {
  int anno = 1899;
  int mese = 12;
  int giorno = 30;

  friend bool operator==(const Data&, const Data&) = default;

  bool Zero() const { return anno == 1899 && mese == 12 && giorno == 30; }
  bool Valida() const;

  // "dd/mm/yyyy".
  std::string Testo() const;
  // "yyyy-mm-dd", the form the database stores.
  std::string Iso() const;

  // Days since 30/12/1899 (the serial of spreadsheet dates in the 1900 system) and back.
  long long Seriale() const;
  static Data DaSeriale(long long giorni);

  // Reads "dd/mm/yyyy" (also "d/m/yyyy") or "yyyy-mm-dd"; nullopt when the text is no valid date.
  static std::optional<Data> DaTesto(std::string_view testo);
};

// A value read from or written to the database: Null, a whole number, a number, a text or a date.
using Valore = std::variant<std::monostate, std::int64_t, double, std::string, Data>;

inline bool EnNull(const Valore& v) { return std::holds_alternative<std::monostate>(v); }

// The value as text under the Italian conventions: numbers with a decimal comma and no thousands
// separator (up to 15 significant digits), dates as dd/mm/yyyy, Null as the empty text.
std::string ValoreComeTesto(const Valore& v);

}  // namespace fcl
