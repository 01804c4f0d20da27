#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>

namespace fcl {

// The registration dates of the invoices, from a list the user exports from the VAT registers
// (a CSV file with a header: partita_iva or codice_fiscale of the counterpart, numero,
// data_documento, data_registrazione; UTF-8 with or without BOM or Windows-1252, ';' or ','). An
// electronic invoice carries no registration date: without this list the document date stands in
// for it and the row is marked "presunta".
class Registrazioni {
 public:
  Registrazioni() = default;
  // Reads the list. Throws Errore naming the file and the line when a required column is missing
  // or a date cannot be read.
  explicit Registrazioni(const std::filesystem::path& file);

  // The registration date (yyyymmdd) of the invoice of counterpart `controparte` (partita IVA or
  // codice fiscale), number `numero` and date `data` (yyyymmdd); 0 when the list does not have it.
  int Data(std::string_view controparte, std::string_view numero, int data) const;
  bool Vuota() const { return date_.empty(); }

  // A date written dd/mm/yyyy (or d/m/yyyy, dd-mm-yyyy, dd.mm.yyyy) or yyyy-mm-dd as yyyymmdd; 0
  // when it is no valid date.
  static int LeggiData(std::string_view testo);

 private:
  static std::string Chiave(std::string_view controparte, std::string_view numero, int data);
  std::unordered_map<std::string, int> date_;
};

}  // namespace fcl
