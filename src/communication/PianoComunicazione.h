#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "common/Contesto.h"
#include "communication/SceltaCreazione.h"

namespace fcl {

// One totals field of record E: the TA code and its value as a plain count ("12", "0").
struct CampoTA {
  std::string codice;
  std::string valore;

  friend bool operator==(const CampoTA&, const CampoTA&) = default;
};

// What one communication file carries, decided from the workbook run's totals and the user's
// choices before anything is written. A file holds one kind of data only: the aggregated quadri
// (FA, SA, BL in records C) or the analytical ones (FE ... TU in records D); the quadri of the
// other kind that the workbook filled are left out and named to the user. A cancellation carries no
// data at all: no kind, no quadro, no C, D or E record.
struct PianoComunicazione {
  bool annullamento = false;
  std::optional<TipoDati> tipoDati;  // the kind marked at 116-117; none for a cancellation
  std::array<bool, 13> quadro{};     // boxes 118-128, by quadro number (2 FA ... 12 TU)
  bool quadroTA = false;             // box 129
  char tipoDettaglio = 0;            // 'C' or 'D': the detail records copied; 0 for none
  bool recordE = false;
  std::vector<CampoTA> campiTA;            // the fields of record E, only those present, in order
  std::vector<std::string> quadriEsclusi;  // names of filled quadri left out of the file
};

PianoComunicazione PianificaComunicazione(const TotaliImport& totali,
                                          const SceltaCreazione& scelta);

// "FA" for 2 ... "TU" for 12; empty for any other number.
std::string NomeQuadroComunicazione(int quadro);

// True for the aggregated quadri FA, SA, BL.
inline bool QuadroAggregato(int quadro) { return quadro >= FA && quadro <= BL; }

}  // namespace fcl
