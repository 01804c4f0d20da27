#pragma once

#include <array>
#include <string>

#include "fatture/RegoleFatture.h"

namespace fcl {

// The totals of a reading of invoices: files met, invoices read, taken per quadro, left out per
// reason.
struct RiepilogoFatture {
  static constexpr std::array<std::string_view, 6> kQuadri = {"FE", "FR", "NE", "NR", "FN", "SE"};
  long long file = 0;
  long long fatture = 0;
  std::array<long long, 6> riportate{};
  long long daConfermare = 0;  // rows with something to confirm or complete
  long long presunte = 0;      // rows whose registration date is the document date
  std::array<long long, kMotiviScarto> scartate{};

  long long Riportate() const;
  // The totals in a few lines of Italian, for the user.
  std::string Testo() const;
};

}  // namespace fcl
