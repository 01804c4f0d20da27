#pragma once

#include <string>

#include "workbook/DefinizioneQuadro.h"

namespace fcl {

// The value of one field computed from its cell text by the column's class.
struct ValoreCampo {
  // What is wrong with a cell that cannot be encoded; the field is then not written and the run
  // blocks the creation.
  enum class Problema { Nessuno, Data, NonNumerico, Negativo, TroppoLungo };

  std::string valore;  // UTF-8; empty: the column writes nothing
  Problema problema = Problema::Nessuno;
};

// Computes the field value of a cell that passed the skip rule (not empty, not "0"). `cella` is the
// row cell itself: CF11 and CC replace it with its zero-padded form when `zeri` is on, and the
// rest of the row sees the replacement.
//
// Amounts (NU, NUPositivo, CC) must read as numbers with the decimal comma; they are written as
// their whole part without sign or thousands dots, at most 16 digits (3 for a country code). A
// negative amount is refused (amounts are positive; NUPositivo instead leaves a value of 0 or
// less unwritten). A date must be d/m/yyyy or dd/mm/yyyy and a real date.
ValoreCampo CalcolaValore(ClasseValore classe, std::string& cella, bool zeri);

}  // namespace fcl
