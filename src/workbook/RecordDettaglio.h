#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace fcl {

// Composes the detail records C and D of a workbook run in one fixed buffer and hands every
// finished record to `scrivi` as one line: the 1898 characters (Windows-1252, one byte each), then
// CR LF. Frame: type at 1, operator fiscal code at 2-17, module number at 18-25 (8 digits),
// producer code at 74-84, up to 75 fields of 24 characters (8-character code, 16-character value)
// at 90-1889, "A" at 1898.
//
// A record holds a fixed number of rows of its quadro; it is written out when the next row does
// not fit, when a 76th field arrives (the row goes on in a new record with the same row number) and
// at the end of the sheet. Module numbers run 1, 2, 3 ... over the whole run, across quadri.
// A failure of `scrivi` propagates unchanged.
class RecordDettaglio {
 public:
  static constexpr std::size_t kLunghezza = 1898;
  using Scrittore = std::function<void(std::string_view riga)>;

  RecordDettaglio(std::string_view codiceFiscaleOperatore, Scrittore scrivi);

  // A new sheet: blank record, no field, row-in-record 0. The module counter goes on.
  void InizioFoglio(char tipoRecord, int righePerRecord);
  // A new data row of the sheet; writes out the record when it already holds its rows.
  void NuovaRiga();
  // Number of the current row within the record (1...), for the field codes.
  int RigaNelRecord() const { return rigaNelRecord_; }
  // Places a field. A value longer than 16 characters is cut to 16, or with `continua` goes on in
  // further fields under the same code, 15 characters each after a "+".
  void Campo(std::string_view codice, std::string_view valoreUtf8, bool continua);
  // End of a sheet that had rows: writes out the current record.
  void FineFoglio();

  int Moduli() const { return contatoreModuli_; }

 private:
  void Piazza(std::size_t posizione, std::string_view testo, std::size_t larghezza);
  void PiazzaCampo(std::string_view codice, std::string_view valore);
  void Intestazione();
  void NuovoRecord();
  void ScriviRecord();

  static constexpr std::size_t kFresco = 66;

  std::string codiceFiscale_;  // Windows-1252
  std::string valore_;         // the field being placed, Windows-1252
  Scrittore scrivi_;
  std::array<char, kLunghezza + 2> buffer_;
  char tipo_ = 'C';
  int righePerRecord_ = 1;
  std::size_t prossimaPosizione_ = kFresco;
  int rigaNelRecord_ = 0;
  int contatoreModuli_ = 0;
};

}  // namespace fcl
