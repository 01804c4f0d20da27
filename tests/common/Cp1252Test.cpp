#include "common/Cp1252.h"

#include <gtest/gtest.h>

namespace fcl {
namespace {

TEST(Cp1252, AndataERitorno) {
  const std::string utf8 = "Società € «città» ¦ àèéìòù ÀÈ";
  const std::string cp = Utf8ToCp1252(utf8);
  EXPECT_EQ(cp.size(), LunghezzaUtf8(utf8));
  EXPECT_EQ(static_cast<unsigned char>(cp[6]), 0xE0);  // à
  EXPECT_EQ(static_cast<unsigned char>(cp[8]), 0x80);  // €
  EXPECT_EQ(Cp1252ToUtf8(cp), utf8);
}

TEST(Cp1252, FuoriTabellaDiventaPuntoInterrogativo) {
  EXPECT_EQ(Utf8ToCp1252("a\xE2\x88\x9E" "b"), "a?b");  // ∞
  EXPECT_EQ(Utf8ToCp1252("a\xFF" "b"), "a?b");          // invalid UTF-8
  EXPECT_EQ(Cp1252ToUtf8("\x81"), "?");                  // unassigned byte
}

TEST(Cp1252, MaiuscoloEPrimiCaratteri) {
  EXPECT_EQ(MaiuscoloUtf8("società più"), "SOCIETÀ PIÙ");
  EXPECT_EQ(PrimiCaratteriUtf8("àèì", 2), "àè");
}

}  // namespace
}  // namespace fcl
