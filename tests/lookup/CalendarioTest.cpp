#include "lookup/Calendario.h"

#include <gtest/gtest.h>

#include <string>

namespace fcl {
namespace {

TEST(Calendario, GrigliaDelMeseConIlLunediPrimo) {
  struct Caso {
    Data oggi;
    int giorni;
    int scostamento;
  } const kCasi[] = {
      {{2016, 2, 10}, 29, 0},  // February 2016 begins on a Monday
      {{2015, 2, 10}, 28, 6},  // February 2015 on a Sunday
      {{2016, 5, 1}, 31, 6},   // the widest month: Sunday 1st, 31 days, the last cell
      {{2000, 2, 1}, 29, 1},   // a leap year of a century
      {{1900, 2, 1}, 28, 3},   // a century that is no leap year
      {{2500, 12, 31}, 31, 2}, {{1500, 1, 1}, 31, 0},  // proleptic Gregorian calendar
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.oggi.Testo());
    const Calendario cal(c.oggi);
    EXPECT_EQ(cal.GiorniNelMese(), c.giorni);
    EXPECT_EQ(cal.Scostamento(), c.scostamento);
    const auto celle = cal.Celle();
    for (int i = 0; i < Calendario::kCelle; ++i) {
      const int atteso =
          (i >= c.scostamento && i < c.scostamento + c.giorni) ? i - c.scostamento + 1 : 0;
      EXPECT_EQ(celle[static_cast<std::size_t>(i)], atteso) << "cella " << i;
      EXPECT_EQ(cal.GiornoDellaCella(i).value_or(0), atteso) << "cella " << i;
    }
  }
  const Calendario feb2015({2015, 2, 10});
  EXPECT_EQ(feb2015.DataDellaCella(6), "01/02/2015");
  EXPECT_EQ(feb2015.DataDellaCella(33), "28/02/2015");
  EXPECT_EQ(feb2015.DataDellaCella(5), "");
  EXPECT_EQ(feb2015.DataDellaCella(34), "");
  EXPECT_EQ(feb2015.DataDellaCella(-1), "");
  EXPECT_EQ(feb2015.DataDellaCella(37), "");
}

TEST(Calendario, CorniceSulGiornoRicordatoAncheOltreLaFineDelMese) {
  Calendario cal({2016, 1, 31});  // Friday 1 January 2016: offset 4
  EXPECT_EQ(cal.CellaCornice(), 4 + 31 - 1);
  cal.MeseSuccessivo();  // February 2016: offset 0, 29 days
  EXPECT_EQ(cal.CellaCornice(), 30);
  EXPECT_FALSE(cal.GiornoDellaCella(30).has_value());  // the empty cell after the last day
  cal.ImpostaMese(4);                                  // April 2016: offset 4, 30 days
  EXPECT_EQ(cal.CellaCornice(), 34);
  EXPECT_FALSE(cal.GiornoDellaCella(34).has_value());
  EXPECT_EQ(cal.GiornoRicordato(), 31);
}

TEST(Calendario, MesiSuccessiviEPrecedentiEntroGliAnni1500E2500) {
  struct Caso {
    std::string_view nome;
    Data da;
    bool avanti;
    int anno;
    int mese;
  } const kCasi[] = {
      {"gennaio 2016 indietro", {2016, 1, 1}, false, 2015, 12},
      {"febbraio 2016 indietro", {2016, 2, 1}, false, 2016, 1},
      {"dicembre 2015 avanti", {2015, 12, 1}, true, 2016, 1},
      {"giugno avanti", {2015, 6, 1}, true, 2015, 7},
      {"dicembre 2500 resta", {2500, 12, 1}, true, 2500, 12},
      {"gennaio 1500 resta", {1500, 1, 1}, false, 1500, 1},
      {"novembre 2500 avanti", {2500, 11, 1}, true, 2500, 12},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.nome);
    Calendario cal(c.da);
    if (c.avanti)
      cal.MeseSuccessivo();
    else
      cal.MesePrecedente();
    EXPECT_EQ(cal.Anno(), c.anno);
    EXPECT_EQ(cal.Mese(), c.mese);
  }
  Calendario cal({2016, 2, 1});
  cal.ImpostaAnno(3000);
  EXPECT_EQ(cal.Anno(), 2500);
  cal.ImpostaAnno(1000);
  EXPECT_EQ(cal.Anno(), 1500);
  EXPECT_EQ(Calendario::NomiMesi()[0], "Gennaio");
  EXPECT_EQ(Calendario::NomiMesi()[11], "Dicembre");
}

}  // namespace
}  // namespace fcl
