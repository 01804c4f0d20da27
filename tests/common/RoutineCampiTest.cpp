#include "common/RoutineCampi.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "common/FormatoItaliano.h"

namespace fcl {
namespace {

TEST(AnalizzaData, CasiDellaDigitazione) {
  struct Caso {
    std::string_view testo;
    DataAnalizzata::Esito esito;
    std::string_view normalizzata;
  } const kCasi[] = {
      {"", DataAnalizzata::Vuota, ""},
      {"0.00.00", DataAnalizzata::Vuota, ""},
      {"00:00:00", DataAnalizzata::Vuota, ""},
      {"010215", DataAnalizzata::Valida, "01/02/2015"},
      {"010299", DataAnalizzata::Valida, "01/02/1999"},
      {"010230", DataAnalizzata::Valida, "01/02/1930"},
      // A date is a day of the calendar: 29 February only in a leap year, a whole year from 1900.
      {"29022015", DataAnalizzata::NonValida, ""},
      {"29/02/2016", DataAnalizzata::Valida, "29/02/2016"},
      {"29/02/1900", DataAnalizzata::NonValida, ""},
      {"29/02/2000", DataAnalizzata::Valida, "29/02/2000"},
      {"290200", DataAnalizzata::Valida, "29/02/2000"},
      {"01/01/0000", DataAnalizzata::NonValida, ""},
      {"31/12/1899", DataAnalizzata::NonValida, ""},
      {"01/01/1900", DataAnalizzata::Valida, "01/01/1900"},
      {"31/12/9999", DataAnalizzata::Valida, "31/12/9999"},
      {"0102201", DataAnalizzata::NonValida, ""},
      {"01/02/201", DataAnalizzata::NonValida, ""},
      {"1.2.2015x", DataAnalizzata::NonValida, ""},
      {"31042015", DataAnalizzata::NonValida, ""},
      {"1/2/2015", DataAnalizzata::NonValida, ""},
      // A day or month typed without its zero is refused, never read as another day: six digits
      // would take the century for the month, seven leave the year short.
      {"20/1/2026", DataAnalizzata::NonValida, ""},
      {"2/1/2026", DataAnalizzata::NonValida, ""},
      {"1/12/2026", DataAnalizzata::NonValida, ""},
      {"20/1/26", DataAnalizzata::NonValida, ""},
      {"01.02.2015", DataAnalizzata::Valida, "01/02/2015"},
      {"12345678901", DataAnalizzata::NonValida, ""},
      {"01/13/2015", DataAnalizzata::NonValida, ""},
      {"00/01/2015", DataAnalizzata::NonValida, ""},
      {"0102", DataAnalizzata::NonValida, ""},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.testo);
    const auto r = AnalizzaData(c.testo);
    EXPECT_EQ(r.esito, c.esito);
    EXPECT_EQ(r.normalizzata, c.normalizzata);
    // The date stored is the one the check read, never date zero for a date it accepted.
    if (r.esito == DataAnalizzata::Valida) {
      EXPECT_EQ(r.data.Testo(), c.normalizzata);
      EXPECT_EQ(Data::DaTesto(c.normalizzata), r.data);
    } else {
      EXPECT_TRUE(r.data.Zero());
    }
  }
}

TEST(RoutineCampi, AllineaDestraZeroOVuotoDate) {
  EXPECT_EQ(AllineaDestra("1234", 8, '0'), "00001234");
  EXPECT_EQ(AllineaDestra("12,75", 8, '0'), "00000012");
  EXPECT_EQ(AllineaDestra("", 8, '0'), "00000000");
  EXPECT_EQ(AllineaDestra("123456789", 8, '0'), "123456789");

  EXPECT_TRUE(ZeroOVuoto("0"));
  EXPECT_TRUE(ZeroOVuoto("   "));
  EXPECT_FALSE(ZeroOVuoto("00"));
  EXPECT_FALSE(ZeroOVuoto("1"));

  EXPECT_EQ(DataGGMMAAAA("05/11/2015"), "05112015");
  EXPECT_EQ(DataGGMMAAAA(""), "00000000");
  EXPECT_EQ(DataGGMMAAAA("1/2/2013"), "01022013");
  EXPECT_EQ(DataGGMMAAAA("20/1/2026"), "20012026");  // a workbook's text date, read as written
  EXPECT_EQ(DataGGMMAAAA("31/04/2013"), std::nullopt);
  EXPECT_EQ(DataGGMMAAAA("fine mese"), std::nullopt);
  EXPECT_EQ(DataGGMMAAAA("2013-02-01"), std::nullopt);
}

TEST(RoutineCampi, SoloLettereEApici) {
  std::string nome = "  Alfa & Beta S.p.A. 2 ";
  EXPECT_EQ(SoloLettere(nome), "ALFABETASPA");
  EXPECT_EQ(nome, "ALFA & BETA S.P.A. 2");
  std::string lungo = "abcdefghijklmnopqrstuvwxyz";
  EXPECT_EQ(SoloLettere(lungo), "ABCDEFGHIJKLMNOPQRST");
  std::string vuoto;
  EXPECT_EQ(SoloLettere(vuoto), "");

  EXPECT_EQ(TraApici("L'AQUILA"), "'L'AQUILA'");
  EXPECT_EQ(RaddoppiaApici("L'AQUILA"), "L''AQUILA");
  EXPECT_EQ(TraVirgolette("a b"), "\"a b\"");
}

TEST(RoutineCampi, ValoriDelDatabase) {
  EXPECT_EQ(CampoTesto(std::monostate{}), "");
  EXPECT_EQ(CampoTesto(std::string("  ROSSI ")), "ROSSI");
  EXPECT_EQ(CampoTesto(1234.5), "1234,5");
  EXPECT_EQ(CampoData(std::string("")), Data{});
  EXPECT_EQ(CampoData(std::string("15/09/2013")), (Data{2013, 9, 15}));
  EXPECT_EQ(FormatoData(Data{}), "");
  EXPECT_EQ(FormatoData(Data{2013, 9, 5}), "05/09/2013");
  EXPECT_EQ(FormatoData(std::string("abc")), "");
}

TEST(FormatoItaliano, Numeri) {
  EXPECT_EQ(NumeroItaliano(1234.5), "1234,5");
  EXPECT_EQ(NumeroItaliano(12), "12");
  EXPECT_EQ(NumeroItaliano(0.1 + 0.2), "0,3");
  EXPECT_EQ(NumeroItaliano(-3.25), "-3,25");
  EXPECT_EQ(NumeroItaliano(123456789012345678.0), "123456789012346000");
  EXPECT_EQ(NumeroItaliano(0.00000012), "0,00000012");
  // Whatever the value, the text is that of printf's %.15g with a decimal comma.
  std::mt19937_64 caso(20261210);
  std::vector<double> valori = {0.0, -0.0, 0.05, -0.5, 100.37, 45658, 9999999999999.99,
                                1e13, 0.125, 1e-7, 0.1 + 0.7, 2.675, -1234567.8};
  for (int k = 0; k < 20000; ++k) {
    const auto centesimi = static_cast<double>(caso() % 100000000000000ull);
    valori.push_back((k % 2 ? -1 : 1) * centesimi / (k % 3 ? 100 : 10));
    valori.push_back(std::ldexp(static_cast<double>(caso() >> 11), -static_cast<int>(caso() % 60)));
  }
  for (const double v : valori) {
    char atteso[64];
    std::snprintf(atteso, sizeof atteso, "%.15g", v);
    std::string testo = atteso;
    if (testo.find('e') != std::string::npos) continue;  // expanded by hand: cases above
    if (testo == "-0") testo = "0";
    for (char& c : testo)
      if (c == '.') c = ',';
    ASSERT_EQ(NumeroItaliano(v), testo) << v;
  }
  EXPECT_EQ(NumeroDueDecimali(1234.5), "1234,5");
  EXPECT_EQ(NumeroDueDecimali(12), "12,");
  EXPECT_EQ(NumeroDueDecimali(0), ",");
  EXPECT_EQ(NumeroDueDecimali(0.5), ",5");
  EXPECT_EQ(ConSeparatoreMigliaia("1234567,5"), "1.234.567,5");
  EXPECT_EQ(ConSeparatoreMigliaia("-123"), "-123");
  EXPECT_EQ(LeggiNumeroItaliano("1234,5"), 1234.5);
  EXPECT_EQ(LeggiNumeroItaliano(" 1.234,50 "), 1234.5);
  EXPECT_EQ(LeggiNumeroItaliano("-12"), -12);
  EXPECT_EQ(LeggiNumeroItaliano("12.50"), std::nullopt);
  EXPECT_EQ(LeggiNumeroItaliano("abc"), std::nullopt);
  EXPECT_EQ(LeggiNumeroItaliano(""), std::nullopt);
}

TEST(Data, SerialiETesto) {
  EXPECT_EQ(Data::DaSeriale(0), Data{});
  EXPECT_EQ((Data{2013, 3, 5}).Seriale(), 41338);
  EXPECT_EQ(Data::DaSeriale(41338), (Data{2013, 3, 5}));
  EXPECT_EQ(Data::DaTesto("29/02/2016"), (Data{2016, 2, 29}));
  EXPECT_EQ(Data::DaTesto("29/02/2015"), std::nullopt);
  EXPECT_EQ(Data::DaTesto("2016-02-29"), (Data{2016, 2, 29}));
}

}  // namespace
}  // namespace fcl
