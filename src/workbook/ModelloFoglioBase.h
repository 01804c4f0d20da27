#pragma once

#include <span>
#include <string>
#include <string_view>

namespace fcl {

// The layout of the blank workbook the user fills for the communication: an instructions sheet,
// then one sheet per quadro named as the run recognises it, each with a title in row 1, the field
// codes in the row above the headings and the headings in the row above the first data row. The
// blank workbook, the workbook written from electronic invoices and the rows the invoices present
// to the run all follow this one table, so that what one writes the run reads back unchanged.

// What a column holds, which decides its format and its validation.
enum class ClasseColonnaBase {
  PartitaIva,  // 11 digits, as text
  Codice,      // fiscal code or VAT number, up to 16 characters, as text
  Testo,
  Leasing,  // a code A-E
  Importo,  // an amount in euro, positive
  Numero,   // a count of operations
  Casella,  // a flag: 1
  Data,
  Paese,  // a foreign country code, 1-999
};

struct ColonnaBase {
  std::string_view intestazione;
  ClasseColonnaBase classe;
};

struct QuadroBase {
  std::string_view nome;
  std::string_view titolo;
  int primaRiga;                    // first data row, from 1
  std::string_view prefissoCodice;  // field codes "FA001" + 3 digits; empty for BL (own codes)
  std::span<const ColonnaBase> colonne;
};

// The quadro sheets in their order (FA, SA, BL, FE, FR, NE, NR, DF, FN, SE, TU).
std::span<const QuadroBase> QuadriFoglioBase();
// The sheet of `nome`, or nullptr.
const QuadroBase* QuadroFoglioBase(std::string_view nome);
// The field code shown above column `colonna` (0-based) of the quadro ("FE001007", "BL002001").
std::string_view CodiceColonnaBase(const QuadroBase& quadro, int colonna, char (&buffer)[9]);
// The name of the first sheet and its lines of instructions.
inline constexpr std::string_view kFoglioIstruzioni = "ISTRUZIONI";
std::span<const std::string_view> IstruzioniFoglioBase();
// The title of a quadro sheet as row 1 shows it ("Quadro FE - ... (dati dalla riga 4)").
std::string TitoloFoglioBase(const QuadroBase& quadro);
// The note of row 2 of the BL sheet (empty for the other sheets).
std::string_view NotaFoglioBase(const QuadroBase& quadro);

}  // namespace fcl
