// Writes the blank workbook the user fills for the communication: an ISTRUZIONI sheet, then one
// sheet per quadro named as the run recognises it, with a title, the field codes and the column
// headings above the first data row, the columns formatted for what they hold (VAT numbers and
// fiscal codes as text so that leading zeros stay, amounts and dates as numbers) and data
// validation that warns about values the encoder would refuse or misread. The layout is the
// workbook subsystem's (ModelloFoglioBase), shared with the workbook written from invoices.
//
// Usage: genera-cartella-vuota FILE.xlsx
#include <cstdio>
#include <exception>

#include "workbook/ModelloFoglioBase.h"
#include "workbook/ScrittoreFoglioBase.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "Uso: genera-cartella-vuota FILE.xlsx\n");
    return 2;
  }
  try {
    fcl::ScrittoreFoglioBase scrittore(argv[1], false);
    scrittore.Istruzioni();
    for (const fcl::QuadroBase& quadro : fcl::QuadriFoglioBase()) scrittore.Foglio(quadro);
    scrittore.Chiudi();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
