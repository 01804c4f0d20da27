#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "fatture/OpzioniFatture.h"
#include "fatture/PosizioniFatture.h"
#include "fatture/RaccoltaFatture.h"
#include "fatture/Registrazioni.h"
#include "workbook/LettoreCartella.h"

namespace fcl {

// The year's electronic invoices presented to the run as a workbook in the blank workbook's
// layout: the instructions sheet, then the sheets FA ... TU with their titles, field codes and
// headings, the invoices' rows under the headings of FE, FR, NE, NR, FN and SE. So the run, the
// check listing, the creation and the check work on invoices as on a workbook, and a workbook
// written from these rows reads back the same.
//
// The invoices are read whole when the reader is made: every file is walked (RaccoltaFatture),
// every invoice goes through the rules (RegoleFattura), the repeats of an invoice already taken
// (same direction, counterpart, type, number and date) are named and left out. The rows are
// spooled to temporary files, one per quadro, and read back in order, so memory does not grow
// with the rows; what stays in memory is a few dozen bytes per invoice (its place, and the key
// that tells a repeat) and the name of every file.
class CartellaFatture : public LettoreCartella {
 public:
  // `avanza` hears the number of files read so far (it may throw to stop the reading). Throws
  // Errore when a path does not exist or the list of registrations cannot be read.
  CartellaFatture(std::vector<std::filesystem::path> percorsi, const OpzioniFatture& opzioni,
                  std::function<void(long long file)> avanza = {});
  ~CartellaFatture() override;

  int NumeroFogli() override;
  std::string NomeFoglio(int foglio) override;
  const std::vector<Cella>& Riga(int foglio, int riga) override;
  std::shared_ptr<const PosizioniSorgente> Posizioni() const override { return posizioni_; }

  // The columns to highlight of the row last returned by Riga (bit k = column k).
  std::uint32_t Evidenziate() const { return evidenziate_; }
  const RiepilogoFatture& Riepilogo() const { return posizioni_->Riepilogo(); }
  const PosizioniFatture& Dati() const { return *posizioni_; }

 private:
  class Raccolta;
  struct Spool {
    std::FILE* file = nullptr;
    long long righe = 0;
    long long prossima = 0;  // index of the next row the file position is at
  };
  void Aggiungi(std::size_t q, const std::vector<Cella>& celle, std::uint32_t evidenziate);

  std::shared_ptr<PosizioniFatture> posizioni_;
  std::array<Spool, 6> spool_;
  std::vector<Cella> riga_;
  std::uint32_t evidenziate_ = 0;
  std::string buffer_;
};

}  // namespace fcl
