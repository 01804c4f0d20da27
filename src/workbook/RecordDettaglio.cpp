#include "workbook/RecordDettaglio.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "common/CodiceProduttore.h"
#include "common/Cp1252.h"
#include "common/RoutineCampi.h"

namespace fcl {
namespace {

constexpr std::size_t kPrimoCampo = 90;
constexpr std::size_t kUltimoCampo = 1866;  // the 75th field
constexpr std::size_t kLarghezzaCampo = 24;
constexpr std::size_t kLarghezzaValore = 16;
constexpr std::size_t kLarghezzaSeguito = 15;

}  // namespace

RecordDettaglio::RecordDettaglio(std::string_view codiceFiscaleOperatore, Scrittore scrivi)
    : codiceFiscale_(Utf8ToCp1252(codiceFiscaleOperatore)), scrivi_(std::move(scrivi)) {
  buffer_.fill(' ');
  buffer_[kLunghezza] = '\r';
  buffer_[kLunghezza + 1] = '\n';
}

void RecordDettaglio::Piazza(std::size_t posizione, std::string_view testo, std::size_t larghezza) {
  char* inizio = buffer_.data() + posizione - 1;
  std::fill(inizio, inizio + larghezza, ' ');
  std::copy_n(testo.data(), std::min(testo.size(), larghezza), inizio);
}

void RecordDettaglio::Intestazione() {
  buffer_[0] = tipo_;
  Piazza(2, codiceFiscale_, 16);
  Piazza(74, kCodiceProduttore, 11);
}

void RecordDettaglio::InizioFoglio(char tipoRecord, int righePerRecord) {
  tipo_ = tipoRecord;
  righePerRecord_ = righePerRecord;
  std::fill(buffer_.begin(), buffer_.begin() + kLunghezza, ' ');
  prossimaPosizione_ = kFresco;
  rigaNelRecord_ = 0;
}

void RecordDettaglio::NuovaRiga() {
  buffer_[0] = tipo_;
  if (prossimaPosizione_ == kFresco) Intestazione();
  if (++rigaNelRecord_ > righePerRecord_) {
    ScriviRecord();
    NuovoRecord();
    rigaNelRecord_ = 1;
  }
}

void RecordDettaglio::NuovoRecord() {
  std::fill(buffer_.begin(), buffer_.begin() + kLunghezza, ' ');
  Intestazione();
  prossimaPosizione_ = kFresco;
}

void RecordDettaglio::ScriviRecord() {
  ++contatoreModuli_;
  char modulo[16];
  const auto r = std::to_chars(modulo, modulo + sizeof modulo, contatoreModuli_);
  const auto cifre = static_cast<std::size_t>(r.ptr - modulo);
  if (cifre < 8) {
    std::memmove(modulo + 8 - cifre, modulo, cifre);
    std::memset(modulo, '0', 8 - cifre);
  }
  Piazza(18, std::string_view(modulo, std::max<std::size_t>(cifre, 8)), 8);
  buffer_[kLunghezza - 1] = 'A';
  scrivi_(std::string_view(buffer_.data(), buffer_.size()));
}

void RecordDettaglio::PiazzaCampo(std::string_view codice, std::string_view valore) {
  prossimaPosizione_ += kLarghezzaCampo;
  if (prossimaPosizione_ > kUltimoCampo) {  // the record already holds 75 fields
    ScriviRecord();
    NuovoRecord();
    prossimaPosizione_ = kPrimoCampo;
  }
  Piazza(prossimaPosizione_, codice, 8);
  Piazza(prossimaPosizione_ + 8, valore, kLarghezzaValore);
}

void RecordDettaglio::Campo(std::string_view codice, std::string_view valoreUtf8, bool continua) {
  std::string& valore = valore_;
  valore.clear();
  AggiungiCp1252(valoreUtf8, valore);
  // A cell may hold line breaks (Alt+Enter) or other control characters: each becomes a blank, so
  // that the record stays one line of printable characters and no position moves.
  for (char& c : valore)
    if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F') c = ' ';
  if (valore.size() <= kLarghezzaValore || !continua) {
    PiazzaCampo(codice, std::string_view(valore).substr(0, kLarghezzaValore));
    return;
  }
  // Chunk 1 is characters 1-16, then 15 at a time after a "+"; a chunk whose first 15 characters
  // are blank ends the value.
  std::size_t inizio = 0;
  bool primo = true;
  while (inizio < valore.size()) {
    const std::string_view resto = std::string_view(valore).substr(inizio);
    if (Rifila(resto.substr(0, kLarghezzaSeguito)).empty()) break;
    const std::size_t larghezza = primo ? kLarghezzaValore : kLarghezzaSeguito;
    const std::string pezzo = Rifila(resto.substr(0, larghezza));
    PiazzaCampo(codice, primo ? pezzo : "+" + pezzo);
    inizio += larghezza;
    primo = false;
  }
}

void RecordDettaglio::FineFoglio() { ScriviRecord(); }

}  // namespace fcl
