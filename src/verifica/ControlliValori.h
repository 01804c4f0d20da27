#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "verifica/Rilievo.h"
#include "verifica/Tracciato.h"

namespace fcl {

// The checks of single values of the communication file: the codice fiscale and partita IVA
// algorithms, dates, and each format class of the elements and of the positional fields. Values
// are the file's own Windows-1252 bytes; messages are Italian UTF-8 texts that quote the value.

// A defect of one value: the rule it breaks and the message for the user.
struct Difetto {
  Regola regola;
  std::string messaggio;
};

// The check letter of a person's codice fiscale from its first 15 characters (upper case; the
// letters of an omocodia code count as they are), or '\0' when a character is not A-Z or 0-9.
char CarattereControlloCF(std::string_view primi15);

// The check digit of a partita IVA (or numeric codice fiscale) from its first 10 digits, -1 when
// they are not 10 digits.
int CifraControlloPI(std::string_view primi10);

// True for an existing date written ddmmyyyy (years 1800-2099).
bool DataValida(std::string_view ggmmaaaa);

// A codice fiscale without padding: 16 characters of a person (structure, month, day, check
// letter, omocodia allowed) or 11 digits with their check digit. Appends what is wrong.
void ControllaCodiceFiscale(std::string_view cf, std::vector<Difetto>& difetti);

// A partita IVA without padding: 11 digits with their check digit; an office code (digits 8-10)
// outside 001-100, 120, 121, 888, 999 is an Avvertimento.
void ControllaPartitaIva(std::string_view pi, std::vector<Difetto>& difetti);

// The 16-character value of an element by its class.
void ControllaValore(ClasseFormato classe, std::string_view valore, std::vector<Difetto>& difetti);

// A positional field, `testo` being exactly its width.
void ControllaPosizionale(const CampoPosizionale& campo, std::string_view testo,
                          std::vector<Difetto>& difetti);

// Lower-case letters and bytes outside ASCII in a text: the Avvertimenti of text fields.
void ControllaCaratteriTesto(std::string_view testo, std::vector<Difetto>& difetti);

// Helpers shared with the check of the records.
bool Vuoto(std::string_view testo);                 // only blanks (or nothing)
bool SoloCifre(std::string_view testo);             // at least one character, all digits
std::string_view Rifilato(std::string_view testo);  // without blanks on either side
std::string Citazione(std::string_view testo);      // «text», trimmed, in UTF-8

}  // namespace fcl
