#include "common/CodiceOperatore.h"

#include <gtest/gtest.h>

namespace fcl {
namespace {

TEST(CodiceOperatore, NormalizzatoEControllato) {
  struct Caso {
    std::string codice;
    std::string normalizzato;
    std::string difetto;  // empty: a code the register takes
  } const kCasi[] = {
      {"RSSMRA80A01H501U", "RSSMRA80A01H501U", ""},
      {"  rssmra80a01h501u \t", "RSSMRA80A01H501U", ""},
      {"01234567890 ", "01234567890", ""},
      {"", "", "Codice Fiscale non indicato."},
      {"   ", "", "Codice Fiscale non indicato."},
      {"../../..", "../../..", "Codice Fiscale non valido: sono ammesse solo lettere e cifre."},
      {"D'ANGELO", "D'ANGELO", "Codice Fiscale non valido: sono ammesse solo lettere e cifre."},
      {"RSS MRA", "RSS MRA", "Codice Fiscale non valido: sono ammesse solo lettere e cifre."},
      {"àbc", "ÀBC", "Codice Fiscale non valido: sono ammesse solo lettere e cifre."},
      {std::string(17, 'A'), std::string(17, 'A'),
       "Codice Fiscale non valido: ha più di 16 caratteri."},
      {std::string(5000, 'A'), std::string(5000, 'A'),
       "Codice Fiscale non valido: ha più di 16 caratteri."},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.codice.substr(0, 20));
    EXPECT_EQ(NormalizzaCodice(c.codice), c.normalizzato);
    EXPECT_EQ(DifettoCodice(c.normalizzato).value_or(""), c.difetto);
  }
}

TEST(CodiceOperatore, NelMessaggioCortoEVisibile) {
  EXPECT_EQ(CodiceNelMessaggio(""), "(vuoto)");
  EXPECT_EQ(CodiceNelMessaggio("../../.."), "\"../../..\"");
  EXPECT_EQ(CodiceNelMessaggio("A\nB"), "\"A?B\"");
  EXPECT_EQ(CodiceNelMessaggio(std::string(5000, 'X')),
            "\"" + std::string(20, 'X') + "...\" (5000 caratteri)");
}

}  // namespace
}  // namespace fcl
