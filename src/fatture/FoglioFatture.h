#pragma once

#include <filesystem>

namespace fcl {

class CartellaFatture;

// Writes the rows of the invoices into a workbook of the blank workbook's layout (its sheets,
// headings, formats and validation), so that the user can look, complete and correct in a
// spreadsheet, then run the main road on it: read back, the workbook gives the run the same
// cells as the invoices did. The cells the user must look at (a presumed registration date, a
// foreign state's code or a birth date to complete) are filled yellow; the instructions sheet says
// so. Written whole or not at all; throws ErroreFile on failure.
void ScriviFoglioFatture(CartellaFatture& fatture, const std::filesystem::path& destinazione);

}  // namespace fcl
