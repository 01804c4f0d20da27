// Numbers as a sheet's XML writes them: the quick reading of plain decimals must give the very
// double that the general reading gives.
#include <gtest/gtest.h>

#include <charconv>
#include <cstring>
#include <random>
#include <string>

#include "workbook/TestoXml.h"

namespace fcl {
namespace {

std::optional<double> Generale(const std::string& t) {
  double n = 0;
  const auto [fine, err] = std::from_chars(t.data(), t.data() + t.size(), n);
  if (t.empty() || err != std::errc() || fine != t.data() + t.size()) return std::nullopt;
  return n;
}

void StessoDouble(const std::string& testo) {
  SCOPED_TRACE(testo);
  const auto letto = LeggiDecimale(testo);
  const auto atteso = Generale(testo[0] == '+' ? testo.substr(1) : testo);
  ASSERT_EQ(letto.has_value(), atteso.has_value());
  if (letto) {
    EXPECT_EQ(std::memcmp(&*letto, &*atteso, sizeof(double)), 0) << *letto << " " << *atteso;
  }
}

TEST(LeggiDecimale, DaIdenticoAllaLetturaGenerale) {
  for (const char* t : {"0", "-0", "45658", "100.37", "-2.5", "0.1", "0.3", "999999999999999",
                        "9999999999999999", "1234567890.12345", "0.000000000000001", "+7.25",
                        "5.", ".5", "-.5", "1e3", "-1E-3", "1.2.3", "12a", "-", "", "00012.50"})
    StessoDouble(t);
  std::mt19937_64 caso(20261210);
  for (int k = 0; k < 20000; ++k) {
    const int cifre = 1 + static_cast<int>(caso() % 15);
    std::string t = (caso() % 4 == 0) ? "-" : "";
    for (int i = 0; i < cifre; ++i) t += static_cast<char>('0' + caso() % 10);
    const auto punto = caso() % static_cast<unsigned>(cifre + 1);
    if (punto > 0 && punto < static_cast<unsigned>(cifre)) t.insert(t.size() - punto, ".");
    StessoDouble(t);
  }
}

}  // namespace
}  // namespace fcl
