#pragma once

#include <filesystem>
#include <map>
#include <vector>

#include "workbook/BloccoRighe.h"
#include "workbook/LettoreCartella.h"

namespace fcl {

// The row logic shared by the readers that stream a sheet (.xlsx, .ods). A reader supplies the
// rows of one sheet in order, a block at a time; this class answers Riga() from the last block
// read, reads on for a later row, and starts the sheet again for an earlier one. Rows never
// supplied are empty. The first rows of each sheet (the headings above the data, which the run
// looks at again while it walks the data) are kept, so going back to them costs nothing.
class LettoreFlusso : public LettoreCartella {
 public:
  explicit LettoreFlusso(std::filesystem::path percorso) : percorso_(std::move(percorso)) {}
  // The cells stay valid until the next call.
  const std::vector<Cella>& Riga(int foglio, int riga) override;

 protected:
  // Positions a fresh reader at the start of the sheet (1-based). Throws ErroreCartella when the
  // sheet does not exist.
  virtual void Ricomincia(int foglio) = 0;
  // The next block of the sheet positioned by Ricomincia, replacing `blocco` whole (which holds the
  // block read two calls before, for a reader that fills its cells again); false at the end of the
  // sheet.
  virtual bool Prossimo(BloccoRighe& blocco) = 0;
  // Forgets the sheet being read (a derived reader whose stream moved elsewhere calls it).
  void Dimentica() { foglio_ = 0; }

  const std::filesystem::path percorso_;

 private:
  static constexpr int kRigheTenute = 10;

  struct Intestazione {
    bool completa = false;
    std::map<long long, std::vector<Cella>> righe;
  };

  void Azzera(int foglio);
  void Aggiungi(BloccoRighe&& blocco);
  void Concludi();

  const std::vector<Cella> vuota_ = std::vector<Cella>(kColonneLette);
  int foglio_ = 0;                // sheet positioned, 0 none
  long long finePrecedente_ = 0;  // last row of the block before the current one
  BloccoRighe blocco_;            // the block last read (quante 0 before the first)
  BloccoRighe prossimo_;          // the block before it, handed to Prossimo to be replaced
  bool fineFoglio_ = false;
  std::map<int, Intestazione> intestazioni_;
};

}  // namespace fcl
