// The three readers over the same workbooks written as .xls, .xlsx and .ods: the same texts, cell
// by cell, whatever order the rows are asked in.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "workbook/LettoreCartella.h"

namespace fcl {
namespace {

const std::filesystem::path kDati = FCL_DATI_LETTORI;
const char* const kFormati[] = {".xls", ".xlsx", ".ods"};
constexpr int kRigheLette = 12;

using Testi = std::vector<std::vector<std::string>>;

Testi LeggiFoglio(LettoreCartella& lettore, int foglio, int righe = kRigheLette) {
  Testi testi;
  for (int r = 1; r <= righe; ++r) {
    const auto& riga = lettore.Riga(foglio, r);
    EXPECT_EQ(riga.size(), 25u);
    std::vector<std::string> t;
    for (const auto& cella : riga) t.push_back(TestoCella(cella));
    testi.push_back(std::move(t));
  }
  return testi;
}

// The texts of a sheet from (row, column) -> text; every other cell empty.
Testi Attesi(const std::map<std::pair<int, int>, std::string>& celle, int righe = kRigheLette) {
  Testi testi(static_cast<std::size_t>(righe), std::vector<std::string>(25));
  for (const auto& [posizione, testo] : celle)
    testi[static_cast<std::size_t>(posizione.first - 1)]
         [static_cast<std::size_t>(posizione.second - 1)] = testo;
  return testi;
}

const std::map<std::pair<int, int>, std::string> kFE = {
    {{1, 1}, "Fatture emesse e documenti riepilogativi"},
    {{3, 1}, "Partita IVA"},
    {{3, 2}, "Codice fiscale"},
    {{3, 7}, "Data documento"},
    {{4, 1}, "01234567890"},
    {{4, 3}, "X"},
    {{4, 5}, "A"},
    {{4, 7}, "05/03/2013"},
    {{4, 8}, "31/12/2013"},
    {{4, 9}, "FT 1/2013"},
    {{4, 10}, "1234,5"},
    {{4, 11}, "271,59"},
    {{4, 25}, "colonna Y"},
    {{5, 1}, "ÀÈÉ€ àèìòù «»"},
    {{5, 3}, "123456789012345"},
    {{5, 4}, "0,3"},
    {{5, 5}, "-50"},
    {{5, 6}, "0,0000001"},
    {{5, 7}, "29/02/2012"},
    {{5, 8}, "42"},
    {{5, 9}, "1234567,891"},
    {{5, 10}, "1000000000000000"},
    {{5, 11}, "123456789012346000"},
    {{5, 12}, "-0,5"},
    {{6, 1}, "  spazi attorno  "},
    {{6, 2}, "riga uno\nriga due"},
    {{6, 3}, "VERO"},
    {{6, 4}, "FALSO"},
    {{6, 7}, "31/12/1999"},
    {{6, 10}, "0"},
    {{6, 11}, "99,99"},
    {{8, 10}, "solo J"},
    {{9, 25}, "7"},
};
const std::map<std::pair<int, int>, std::string> kFa = {
    {{1, 1}, "foglio in minuscolo"}, {{4, 1}, "12345678901"}, {{4, 4}, "3"}, {{4, 7}, "1000,25"}};
const std::map<std::pair<int, int>, std::string> kSA = {
    {{3, 1}, "RSSMRA80A01H501U"}, {{3, 2}, "2"}, {{3, 3}, "150,5"}};

TEST(Lettori, CampioneNeiTreFormati) {
  for (const std::string formato : kFormati) {
    SCOPED_TRACE(formato);
    auto lettore = ApriCartella(kDati / ("campione" + formato));
    ASSERT_EQ(lettore->NumeroFogli(), 4);
    EXPECT_EQ(lettore->NomeFoglio(1), "Istruzioni");
    EXPECT_EQ(lettore->NomeFoglio(2), "FE");
    EXPECT_EQ(lettore->NomeFoglio(3), "fa");
    EXPECT_EQ(lettore->NomeFoglio(4), "SA");
    EXPECT_EQ(LeggiFoglio(*lettore, 2), Attesi(kFE));
    EXPECT_EQ(LeggiFoglio(*lettore, 3), Attesi(kFa));
    EXPECT_EQ(LeggiFoglio(*lettore, 4), Attesi(kSA));
    EXPECT_EQ(LeggiFoglio(*lettore, 1), Attesi({{{1, 1}, "Istruzioni"}}));
  }
}

TEST(Lettori, StessiTestiCellaPerCella) {
  for (const std::string base : {"campione", "duefogli"}) {
    auto xlsx = ApriCartella(kDati / (base + ".xlsx"));
    for (const std::string formato : {".xls", ".ods"}) {
      SCOPED_TRACE(base + formato);
      auto altro = ApriCartella(kDati / (base + formato));
      ASSERT_EQ(altro->NumeroFogli(), xlsx->NumeroFogli());
      for (int f = 1; f <= xlsx->NumeroFogli(); ++f) {
        ASSERT_EQ(altro->NomeFoglio(f), xlsx->NomeFoglio(f));
        const Testi atteso = LeggiFoglio(*xlsx, f);
        const Testi letto = LeggiFoglio(*altro, f);
        for (std::size_t r = 0; r < atteso.size(); ++r) {
          for (std::size_t c = 0; c < 25; ++c) {
            EXPECT_EQ(letto[r][c], atteso[r][c])
                << "foglio " << f << " riga " << r + 1 << " colonna " << c + 1;
          }
        }
      }
    }
  }
}

TEST(Lettori, DueFogliEFoglioMancante) {
  for (const std::string formato : kFormati) {
    SCOPED_TRACE(formato);
    auto lettore = ApriCartella(kDati / ("duefogli" + formato));
    EXPECT_EQ(lettore->NomeFoglio(2), "FA");
    EXPECT_EQ(TestoCella(lettore->Riga(2, 4)[0]), "12345678901");
    for (const int foglio : {3, 0, -1}) {
      try {
        lettore->NomeFoglio(foglio);
        ADD_FAILURE() << "foglio " << foglio;
      } catch (const ErroreCartella& e) {
        EXPECT_EQ(e.Numero(), 9);
        EXPECT_EQ(std::string(e.what()),
                  "Il foglio " + std::to_string(foglio) + " non esiste nella cartella di lavoro");
      }
      EXPECT_THROW(lettore->Riga(foglio, 1), ErroreCartella);
    }
    EXPECT_EQ(lettore->NumeroFogli(), 2);
    // The reader is still usable after the errors.
    EXPECT_EQ(TestoCella(lettore->Riga(2, 4)[6]), "1000,25");
  }
}

// The run reads the headings (BL A5, FR C3) again while it walks the data, and a reader may be
// asked for any row in any order: each answer is the same as in a plain top-down reading.
TEST(Lettori, RigheInQualsiasiOrdine) {
  const std::pair<int, int> kOrdine[] = {{2, 9}, {2, 4}, {2, 6}, {2, 1},      {2, 3}, {4, 3},
                                         {2, 5}, {2, 5}, {3, 4}, {2, 200000}, {2, 7}, {2, 8},
                                         {1, 1}, {4, 1}, {2, 4}, {3, 1}};
  for (const std::string formato : kFormati) {
    SCOPED_TRACE(formato);
    auto ordinato = ApriCartella(kDati / ("campione" + formato));
    std::map<int, Testi> atteso;
    for (int f = 1; f <= 4; ++f) atteso[f] = LeggiFoglio(*ordinato, f);

    auto lettore = ApriCartella(kDati / ("campione" + formato));
    for (const auto& [foglio, riga] : kOrdine) {
      SCOPED_TRACE(std::to_string(foglio) + ":" + std::to_string(riga));
      const auto& celle = lettore->Riga(foglio, riga);
      for (std::size_t c = 0; c < 25; ++c) {
        const std::string testo = TestoCella(celle[c]);
        if (riga <= kRigheLette)
          EXPECT_EQ(testo, atteso[foglio][static_cast<std::size_t>(riga - 1)][c]);
        else
          EXPECT_EQ(testo, "");
      }
    }
    EXPECT_EQ(TestoCella(lettore->Riga(2, 0)[0]), "");
  }
}

}  // namespace
}  // namespace fcl
