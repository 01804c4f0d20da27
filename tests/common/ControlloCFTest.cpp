#include "common/ControlloCF.h"

#include <gtest/gtest.h>

namespace fcl {
namespace {

TEST(ControlloCF, CasiNoti) {
  struct Caso {
    std::string_view testo;
    int atteso;
  } const kCasi[] = {
      {"AAAAAA00A00A000I", 0},
      {"AAAAAA00A00A000X", 'I'},
      {"aaaaaa00a00a000i", 0},
      {"aaaaaa00a00a000x", 'I'},
      {"RSSMRA80A01H501U", 0},    // a real-form code with its right check letter
      {"RSSMRA80A01H501A", 'U'},
      {"RSSMRA80A01H5LMU", 'X'},  // omocodia letters count as letters, not as their digits
      {"12345678901", 0},
      {"12345 67890", 0},
      {"1234567890A", 1},
      {"1234567890a", 1},
      {"AAAAAA00A00A000", 'I'},  // 15 characters: a blank 16th is compared
      {"", 50},
      {"AAAAAA00A00A0.0I", 'I' - 1},  // "." adds nothing where "0" (even position) would add 1
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.testo);
    EXPECT_EQ(ControlloCF(c.testo), c.atteso);
  }
}

}  // namespace
}  // namespace fcl
