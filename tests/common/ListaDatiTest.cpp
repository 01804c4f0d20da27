#include "common/ListaDati.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fcl {
namespace {

using Col = ListaDati::ColonnaRisultato;
using A = ListaDati::Allineamento;

std::vector<std::string> Colonna(const ListaDati& l, std::size_t c) {
  std::vector<std::string> v;
  for (const auto& r : l.Righe()) v.push_back(r.celle[c]);
  return v;
}

std::vector<std::string> Titoli(const ListaDati& l) {
  std::vector<std::string> v;
  for (const auto& c : l.Colonne()) v.push_back(c.titolo);
  return v;
}

// Every character is 100 twips wide: sizes become easy to read.
int Misura(std::string_view testo) { return static_cast<int>(testo.size()) * 100; }

TEST(ListaDati, ColonneCelleFormattateEColonneDiOrdinamento) {
  ListaDati l;
  std::string filtro;
  l.Riempi({{"Codice", A::Sinistra},
            {"Importo", A::Destra},
            {"DataNascita", A::Centro},
            {"ProgNum", A::Destra},
            {"DACO", A::Sinistra},
            {"ERR", A::Sinistra}},
           {{std::string("A1"), 1234567.5, Data{2015, 11, 5}, 1234567.5, std::int64_t{1},
             std::monostate{}},
            {std::string("B2"), -0.4, Data{}, std::int64_t{12}, std::int64_t{0}, std::string("1")},
            {std::monostate{}, 999.5, std::string("01/02/2013"), std::monostate{}, std::monostate{},
             std::monostate{}}},
           filtro);

  EXPECT_EQ(Titoli(l), (std::vector<std::string>{" ", "Codice", "Importo", "DataNascita", "ProgNum",
                                                 "DACO", "ERR", "XXDataNascita"}));
  ASSERT_EQ(l.ColonneData().size(), 1u);
  EXPECT_EQ(l.ColonneData()[0].nome, "DataNascita");
  EXPECT_EQ(l.ColonneData()[0].indiceOrdinamento, 7u);
  EXPECT_TRUE(l.Colonne()[7].ordinamento);
  EXPECT_EQ(l.Colonne()[2].allineamento, A::Destra);
  EXPECT_EQ(l.Colonne()[3].allineamento, A::Centro);

  // Doubles without decimals and with thousands dots, halves away from zero; dates dd/mm/yyyy
  // (date zero empty); "Prog…" columns as they are; the icon column empty.
  EXPECT_EQ(Colonna(l, 0), (std::vector<std::string>{"", "", ""}));
  EXPECT_EQ(Colonna(l, 1), (std::vector<std::string>{"A1", "B2", ""}));
  EXPECT_EQ(Colonna(l, 2), (std::vector<std::string>{"1.234.568", "0", "1.000"}));
  EXPECT_EQ(Colonna(l, 3), (std::vector<std::string>{"05/11/2015", "", "01/02/2013"}));
  EXPECT_EQ(Colonna(l, 4), (std::vector<std::string>{"1234567,5", "12", ""}));
  EXPECT_EQ(Colonna(l, 7), (std::vector<std::string>{"20151105", "18991230", "20130201"}));

  // DACO = 1 gives "OK", ERR = 1 (number or text) gives "ER".
  EXPECT_EQ(l.Righe()[0].icona, "OK");
  EXPECT_EQ(l.Righe()[1].icona, "ER");
  EXPECT_EQ(l.Righe()[2].icona, "");
  EXPECT_TRUE(l.ConIcone());

  // Sizing: icon column 300 with icons, hidden names 0, the others the widest of the title and the
  // first rows' texts plus 500; sort columns stay hidden.
  l.Dimensiona(Misura);
  std::vector<int> larghezze;
  for (const auto& c : l.Colonne()) larghezze.push_back(c.larghezza);
  EXPECT_EQ(larghezze, (std::vector<int>{300, 1100, 1400, 1600, 1400, 0, 0, 0}));
}

TEST(ListaDati, RisultatoVuotoMostraITitoliALarghezzaFissaETieneIlFiltro) {
  ListaDati l;
  std::string filtro = "rom";
  l.Riempi({{"Localita", A::Sinistra}, {"Provincia", A::Sinistra}}, {}, filtro);
  EXPECT_EQ(Titoli(l), (std::vector<std::string>{" ", "Localita", "Provincia"}));
  EXPECT_TRUE(l.Righe().empty());
  EXPECT_EQ(l.Colonne()[0].larghezza, 300);
  EXPECT_EQ(l.Colonne()[1].larghezza, 1000);
  EXPECT_EQ(l.Colonne()[2].larghezza, 1000);
  EXPECT_EQ(filtro, "rom");  // not consumed by an empty result
  EXPECT_FALSE(l.RisultatoConRighe());
  // Sized: no icon column; the fixed width, or the title's where it is wider (never cut).
  l.Riempi({{"Cab", A::Sinistra}, {"Codice_Fiscale", A::Sinistra}}, {}, filtro);
  l.Dimensiona(Misura);
  EXPECT_EQ(l.Colonne()[0].larghezza, 0);
  EXPECT_EQ(l.Colonne()[1].larghezza, 1000);
  EXPECT_EQ(l.Colonne()[2].larghezza, Misura("Codice_Fiscale") + 500);
}

TEST(ListaDati, IlFiltroTieneLeRigheCheLoContengonoInQualsiasiColonnaEVieneConsumato) {
  const std::vector<Col> colonne = {
      {"Localita", A::Sinistra}, {"Provincia", A::Sinistra}, {"Cab", A::Sinistra}};
  const std::vector<std::vector<Valore>> righe = {
      {std::string("MILANO"), std::string("MI"), std::string("01600")},
      {std::string("ROMA"), std::string("RM"), std::string("03200")},
      {std::string("ROMANO DI LOMBARDIA"), std::string("BG"), std::string("")},
      {std::string("ADRIA"), std::string("RO"), std::string("ROM01")},
      {std::string("Cività Romana"), std::string("XX"), std::monostate{}},
      {std::string("TORINO"), std::string("TO"), std::string("")}};
  struct Caso {
    std::string_view nome;
    std::string filtro;
    std::vector<std::string> attese;
  } const kCasi[] = {
      {"senza filtro",
       "",
       {"MILANO", "ROMA", "ROMANO DI LOMBARDIA", "ADRIA", "Cività Romana", "TORINO"}},
      {"rom in ogni colonna, senza badare alle maiuscole",
       "rom",
       {"ROMA", "ROMANO DI LOMBARDIA", "ADRIA", "Cività Romana"}},
      {"lettere accentate", "CIVITÀ", {"Cività Romana"}},
      {"nessuna riga", "zzz", {}},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.nome);
    ListaDati l;
    std::string filtro = c.filtro;
    l.Riempi(colonne, righe, filtro);
    EXPECT_EQ(Colonna(l, 1), c.attese);
    EXPECT_EQ(filtro, "");
    EXPECT_TRUE(l.RisultatoConRighe());
  }
}

TEST(ListaDati, OrdinaColonnaAlternaIVersiERicominciaDopoUnAltraColonna) {
  ListaDati l;
  std::string filtro;
  l.Riempi({{"Nome", A::Sinistra}, {"Provincia", A::Sinistra}},
           {{std::string("bari"), std::string("BA")},
            {std::string("Aosta"), std::string("AO")},
            {std::string("COMO"), std::string("CO")},
            {std::string("asti"), std::string("ZZ")}},
           filtro);
  EXPECT_FALSE(l.ColonnaOrdinata().has_value());

  struct Passo {
    std::size_t colonna;
    bool discendente;
    std::vector<std::string> nomi;
  } const kPassi[] = {
      {1, true, {"COMO", "bari", "asti", "Aosta"}},   // first click: descending, case ignored
      {1, false, {"Aosta", "asti", "bari", "COMO"}},  // second click: ascending
      {1, true, {"COMO", "bari", "asti", "Aosta"}},   // and again descending
      {2, true, {"asti", "COMO", "bari", "Aosta"}},   // another column starts descending
      {1, true, {"COMO", "bari", "asti", "Aosta"}},   // back to the first: descending again
      {1, false, {"Aosta", "asti", "bari", "COMO"}},
  };
  for (std::size_t i = 0; i < std::size(kPassi); ++i) {
    SCOPED_TRACE("passo " + std::to_string(i + 1));
    EXPECT_EQ(l.OrdinaColonna(kPassi[i].colonna), kPassi[i].discendente);
    EXPECT_EQ(Colonna(l, 1), kPassi[i].nomi);
    EXPECT_EQ(l.ColonnaOrdinata(), kPassi[i].colonna);
  }
  // Rows move whole: the province stays with its place, and each row remembers where it came from.
  EXPECT_EQ(Colonna(l, 2), (std::vector<std::string>{"AO", "ZZ", "BA", "CO"}));
  EXPECT_EQ(l.Righe()[0].origine, 1u);
}

TEST(ListaDati, LeDateSiOrdinanoPerDataNonPerTesto) {
  ListaDati l;
  std::string filtro;
  // Dates typed as text: their shown order by text would be wrong.
  l.Riempi({{"Nome", A::Sinistra}, {"DataImpegno", A::Centro}},
           {{std::string("uno"), std::string("05/11/2015")},
            {std::string("due"), std::string("31/01/2016")},
            {std::string("tre"), std::string("01/12/2014")},
            {std::string("quattro"), std::string("15/11/2015")}},
           filtro);
  l.OrdinaColonna(2);
  EXPECT_EQ(Colonna(l, 2),
            (std::vector<std::string>{"31/01/2016", "15/11/2015", "05/11/2015", "01/12/2014"}));
  l.OrdinaColonna(2);
  EXPECT_EQ(Colonna(l, 2),
            (std::vector<std::string>{"01/12/2014", "05/11/2015", "15/11/2015", "31/01/2016"}));
  // The hidden sort column itself sorts on its own text.
  l.OrdinaColonna(3);
  EXPECT_EQ(Colonna(l, 1), (std::vector<std::string>{"due", "quattro", "uno", "tre"}));
}

TEST(ListaDati, LeggiSelezioneESelezionaRiga) {
  ListaDati l;
  std::string filtro;
  l.Riempi({{"Localita", A::Sinistra}, {"Provincia", A::Sinistra}, {"Cab", A::Sinistra}},
           {{std::string("ROMA"), std::string("RM"), std::string("1")},
            {std::string("ROMANO DI LOMBARDIA"), std::string("BG"), std::string("2")},
            {std::string("ROMA"), std::string("XX"), std::string("3")}},
           filtro);
  EXPECT_EQ(l.LeggiSelezione(1, {"Localita", "Provincia"}),
            (std::vector<std::string>{"ROMANO DI LOMBARDIA", "BG"}));
  EXPECT_EQ(l.LeggiSelezione(0, {"Provincia", "Nessuna", "Localita"}),
            (std::vector<std::string>{"RM", "", "ROMA"}));
  EXPECT_EQ(l.LeggiSelezione(std::nullopt, {"Localita", "Provincia"}),
            (std::vector<std::string>{"", ""}));
  EXPECT_EQ(l.LeggiSelezione(7, {"Localita"}), (std::vector<std::string>{""}));

  EXPECT_EQ(l.SelezionaRiga("ROMA", "Localita"), (std::vector<std::size_t>{0, 2}));
  EXPECT_EQ(l.SelezionaRiga("BG", "Provincia"), (std::vector<std::size_t>{1}));
  EXPECT_TRUE(l.SelezionaRiga("ROMA", "localita").empty());  // titles are case-sensitive
  EXPECT_TRUE(l.SelezionaRiga("MILANO", "Localita").empty());
}

}  // namespace
}  // namespace fcl
