#include "store/RecordImpegno.h"

#include <gtest/gtest.h>

#include "common/Cp1252.h"

namespace fcl {
namespace {

TEST(RecordImpegno, CostruitoPerPosizioni) {
  struct Case {
    std::string_view nome;
    RecordImpegno valori;
    std::string_view atteso;  // 35 characters
  } const kCases[] = {
      {"completo",
       {"RSSMRA80A01H501U", "12345", "1", "15/06/2016"},
       "RSSMRA80A01H501U123451"
       "15/06/2016"
       "   "},
      {"codice di 11 caratteri",
       {"01234567890", "123", "2", "01/02/2016"},
       "01234567890     123  2"
       "01/02/2016"
       "   "},
      {"numero CAF tagliato a 5",
       {"01234567890", "1234567", "1", ""},
       "01234567890     123451"
       "          "
       "   "},
      {"nessun tipo", {"", "", "0", ""}, "                     0             "},
      {"tutto vuoto", {"", "", "", ""}, "                                   "},
      {"codice troppo lungo",
       {"RSSMRA80A01H501UX", "", "2", "1/2/2016"},
       "RSSMRA80A01H501U     2"
       "1/2/2016  "
       "   "},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.nome);
    const std::string des = c.valori.Costruisci();
    EXPECT_EQ(des, c.atteso);
    EXPECT_EQ(des.size(), RecordImpegno::kLunghezza);
  }
}

TEST(RecordImpegno, LettoPerPosizioni) {
  const auto r = RecordImpegno::Leggi(
      "01234567890     123452"
      "15/06/2016"
      "   ");
  EXPECT_EQ(r.intermediarioCF, "01234567890");
  EXPECT_EQ(r.numeroIscrizioneCaf, "12345");
  EXPECT_EQ(r.codicePredisposizione, "2");
  EXPECT_EQ(r.dataImpegno, "15/06/2016");

  const auto corto = RecordImpegno::Leggi("RSSMRA80A01H501U");
  EXPECT_EQ(corto.intermediarioCF, "RSSMRA80A01H501U");
  EXPECT_EQ(corto.numeroIscrizioneCaf, "");
  EXPECT_EQ(corto.codicePredisposizione, "");

  // Positions are characters: an accented letter in the centre number does not shift the date.
  const RecordImpegno accento{"01234567890", "12È", "1", "15/06/2016"};
  EXPECT_EQ(LunghezzaUtf8(accento.Costruisci()), RecordImpegno::kLunghezza);
  EXPECT_EQ(RecordImpegno::Leggi(accento.Costruisci()).dataImpegno, "15/06/2016");
  EXPECT_EQ(RecordImpegno::Leggi(accento.Costruisci()).numeroIscrizioneCaf, "12È");
}

}  // namespace
}  // namespace fcl
