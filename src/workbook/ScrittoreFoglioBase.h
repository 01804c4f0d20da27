#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "workbook/LettoreCartella.h"
#include "workbook/ModelloFoglioBase.h"

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace fcl {

// Writes a workbook in the blank workbook's layout (ModelloFoglioBase): the instructions sheet,
// then every quadro sheet with its title, field codes, headings, column formats and data
// validation, and, when given, data rows under the headings. A workbook without rows is the blank
// workbook of the Help folder.
//
// The rows are written as the run reads them back: Testo cells as text, Numero cells as numbers in
// the format of their column, Data cells as dates (dd/mm/yyyy). A cell may be highlighted (a
// yellow fill) for the user to review. Rows are streamed to the disk as they come (constant
// memory), so the sheets and their rows must be written in order.
//
// The file is written whole or not at all: libxlsxwriter writes a temporary file in the system's
// temporary folder, and Chiudi() copies it through ScritturaAtomica to the destination. A failure
// throws ErroreFile naming the file; the destination is then left as it was.
class ScrittoreFoglioBase {
 public:
  // `memoriaCostante`: rows streamed to the disk (text cells inline); otherwise the workbook is
  // built in memory with a table of shared strings, as spreadsheet programs write it.
  explicit ScrittoreFoglioBase(std::filesystem::path destinazione, bool memoriaCostante = true);
  ~ScrittoreFoglioBase();
  ScrittoreFoglioBase(const ScrittoreFoglioBase&) = delete;
  ScrittoreFoglioBase& operator=(const ScrittoreFoglioBase&) = delete;

  // The instructions sheet, with `aggiunte` lines after the usual ones.
  void Istruzioni(const std::vector<std::string>& aggiunte = {});
  // The next quadro sheet (in the order of QuadriFoglioBase()).
  void Foglio(const QuadroBase& quadro);
  // The next data row of the current sheet: cells of columns A... (Vuota cells are not written);
  // bit k of `evidenziate` highlights column k.
  void Riga(const std::vector<Cella>& celle, std::uint32_t evidenziate = 0);
  // Writes the workbook and puts it in place.
  void Chiudi();

 private:
  lxw_format* Formato();
  lxw_format* FormatoDi(ClasseColonnaBase classe) const;
  void Convalida(lxw_worksheet* foglio, unsigned prima, unsigned short colonna,
                 ClasseColonnaBase classe);
  [[noreturn]] void Fallisci(const std::string& dettaglio) const;

  std::filesystem::path destinazione_;
  std::filesystem::path temporaneo_;
  lxw_workbook* cartella_ = nullptr;
  lxw_worksheet* foglio_ = nullptr;
  const QuadroBase* quadro_ = nullptr;
  unsigned rigaCorrente_ = 0;
  lxw_format* titolo_ = nullptr;
  lxw_format* intestazione_ = nullptr;
  lxw_format* codice_ = nullptr;
  lxw_format* testo_ = nullptr;
  lxw_format* data_ = nullptr;
  lxw_format* importo_ = nullptr;
  lxw_format* intero_ = nullptr;
  lxw_format* istruzione_ = nullptr;
  lxw_format* testoEvidenziato_ = nullptr;
  lxw_format* dataEvidenziata_ = nullptr;
  lxw_format* numeroEvidenziato_ = nullptr;
};

}  // namespace fcl
