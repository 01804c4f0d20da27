#pragma once

#include <span>
#include <string_view>

#include "common/Contesto.h"

namespace fcl {

// How a cell text becomes the 16-character value of a field.
enum class ClasseValore {
  PI,           // VAT number: first 11 characters (zero-padded to 11 with the option) + 5 blanks
  PISenzaZeri,  // as PI, never zero-padded (column A of the earlier FR layout)
  CF,           // fiscal code: first 16 characters
  CF11,         // fiscal code or VAT number: shorter than 11 and the option on -> zero-padded to 11
  TX,           // text as it is
  NU,           // amount, decimals dropped, right-aligned in 16; never negative
  NUPositivo,   // as NU, written only when above 0 (FA and SA)
  CB,           // flag: 15 blanks and "1", whatever the mark
  CBTesto,      // 15 blanks and the text (SA column D, the leasing code)
  DT,           // date: 8 blanks and ddmmyyyy
  CC,           // country code: 3 digits (zero-padded to 3 with the option), then as NU
};

// When a column is written besides the skip rule (a zero or an empty cell is never written).
enum class Condizione {
  Sempre,
  SeAVuota,       // FA column B: only without a VAT number in A
  SeABVuoteEUno,  // FA column C: only with A and B empty, and the cell exactly "1"
};

// Import counters raised by a row whose column is written.
enum class Contatore { Nessuno, RiepilogativiFE, RiepilogativiFR, BL1, BL2, BL3 };

struct ColonnaQuadro {
  int colonna;  // 0 = A ... 24 = Y
  int campo;    // field number within the row (001...); 0 with a fixed code
  ClasseValore classe;
  std::string_view codiceFisso;  // BL: the whole 8-character field code
  Condizione condizione = Condizione::Sempre;
  Contatore contatore = Contatore::Nessuno;
};

// A recognised sheet: its quadro, where its rows start, the record they go into and the table of
// its encoded columns.
struct DefinizioneQuadro {
  std::string_view nome;  // the sheet name, also the prefix of the field codes
  Quadro numero;
  char tipoRecord;  // 'C' aggregated, 'D' analytical
  int primaRiga;    // first data row (BL: 7 when A5 reads PERSONE FISICHE)
  int righePerRecord;
  bool continuazione;  // long values go on in "+" fields instead of being cut to 16
  int primaMaiuscola;  // columns upper-cased before listing and encoding (-1: none)
  int ultimaMaiuscola;
  std::string_view codiceTA;  // the TA code that receives the sheet's row count
  std::span<const ColonnaQuadro> colonne;
  std::span<const ColonnaQuadro> colonneLayoutPrecedente;  // FR only: the earlier layout

  // The last column the quadro encodes (index).
  int UltimaColonna() const;
};

// The quadro of a sheet name, compared exactly; nullptr for a name that is not a quadro.
const DefinizioneQuadro* TrovaQuadro(std::string_view nomeFoglio);

// The 15 codes of the TA table, in the order of the totals record.
std::span<const std::string_view> CodiciTA();

}  // namespace fcl
