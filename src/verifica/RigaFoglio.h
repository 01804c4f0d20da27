#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "verifica/Rilievo.h"
#include "verifica/Tracciato.h"

namespace fcl {

class PosizioniSorgente;

// Numbers the rows of each quadro while the check walks the detail records, the way the workbook
// run wrote them, so that a finding on an element leads back to the sheet row it came from: the
// n-th row of a quadro in the file is the n-th data row of the quadro's sheet.
//
// What it relies on (true of the files our creation writes):
// - the rows of a sheet fill consecutive records of its quadro, a fixed number of rows a record
//   (FA 3, SA 10, BL 1, FE 6, FR 6, NE 10, NR 10, DF 10, FN 3, SE 3, TU 3), and the element code
//   carries the row within the record (BL: every record is one row);
// - every data row takes its place in the record even when it writes no element, so a later row
//   keeps its number; a group of rows that wrote nothing at all leaves a record without elements,
//   which is taken as a row group of the quadro of the record before it (a sheet whose first rows
//   wrote nothing is therefore counted one group short);
// - a record that reached 75 elements goes on in the next record with the same row number: a record
//   is taken as such a continuation when the record before it holds 75 elements of the same quadro
//   and its first element does not come before the last one of that record (same or later row;
//   same row: same or later field, "+" elements included);
// - a quadro's records are not interleaved with another quadro's (each sheet is written whole).
// A file from another program that numbers its modules otherwise still gets row numbers, but they
// need not match any sheet.
class RigaFoglio {
 public:
  // A detail record begins.
  void InizioRecord();
  // An element of the current record: quadro index (Tracciato), row within the record (1 for BL),
  // field key. Returns the row's number within its quadro (1-based).
  long long Elemento(int quadro, int rigo, int chiave);
  // The current record ended holding `elementi` elements.
  void FineRecord(int elementi);

 private:
  static constexpr std::size_t kQuadri = 12;
  std::array<long long, kQuadri> gruppo_{};  // index of the current row group, per quadro
  std::array<bool, kQuadri> visto_{};
  bool inizio_ = false;           // no element yet in the current record
  bool precedentePieno_ = false;  // the previous record held 75 elements
  int ultimoQuadro_ = -1;         // quadro, row and field of the last element seen
  int ultimoRigo_ = 0;
  int ultimaChiave_ = 0;
};

// The first data row of each sheet of our workbook, as the workbook run found it.
struct PrimeRigheFogli {
  int bl = 5;                 // 7 when cell A5 of the BL sheet reads "PERSONE FISICHE"
  bool frPrecedente = false;  // the FR sheet follows the earlier layout (C3 not "DAT...")
  // The rows came from electronic invoices: a finding names the invoice instead of the cell.
  const PosizioniSorgente* posizioni = nullptr;
  int PrimaRiga(std::string_view quadro) const;
};

// A cell of the workbook: sheet name, row, column letter (empty when the finding is about the row).
struct CellaFoglio {
  std::string foglio;
  long long riga = 0;
  std::string colonna;
};

// Where a finding on a detail record lies in the workbook; nullopt for findings that are not about
// a row of a quadro (records A, B, E, Z, the frame of a record).
std::optional<CellaFoglio> CellaNelFoglio(const Rilievo& rilievo,
                                          const PrimeRigheFogli& prime = {});

}  // namespace fcl
