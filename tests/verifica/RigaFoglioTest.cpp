#include "verifica/RigaFoglio.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "FileProva.h"
#include "verifica/Regole.h"
#include "verifica/VerificaComunicazione.h"

namespace fcl {
namespace {

using test::Dx;
using test::FileProva;
using test::Sx;

// A record for RigaFoglio: elements as (row, field).
struct RecordRighe {
  int quadro;
  std::vector<std::pair<int, int>> elementi;
};

std::vector<std::vector<long long>> Numera(const std::vector<RecordRighe>& records) {
  RigaFoglio righe;
  std::vector<std::vector<long long>> risultato;
  for (const auto& r : records) {
    righe.InizioRecord();
    std::vector<long long> numeri;
    for (const auto& [rigo, campo] : r.elementi)
      numeri.push_back(righe.Elemento(r.quadro, rigo, campo));
    righe.FineRecord(static_cast<int>(r.elementi.size()));
    risultato.push_back(numeri);
  }
  return risultato;
}

TEST(RigaFoglio, RecordPienoProsegueNelSuccessivo) {
  // Eleven NE rows of 8 fields: rows 1-9 and the first three fields of row 10 fill 75 elements;
  // row 10 goes on in the next record, row 11 opens the third with row number 1.
  const int ne = IndiceQuadro("NE");
  RecordRighe primo{ne, {}}, secondo{ne, {}}, terzo{ne, {}};
  for (int rigo = 1; rigo <= 10; ++rigo)
    for (int campo = 1; campo <= 8; ++campo)
      (primo.elementi.size() < 75 ? primo : secondo).elementi.push_back({rigo, campo});
  for (int campo = 1; campo <= 8; ++campo) terzo.elementi.push_back({1, campo});
  const auto numeri = Numera({primo, secondo, terzo});
  EXPECT_EQ(numeri[0].front(), 1);
  EXPECT_EQ(numeri[0].back(), 10);
  EXPECT_EQ(numeri[1], std::vector<long long>(5, 10));
  EXPECT_EQ(numeri[2], std::vector<long long>(8, 11));
}

TEST(RigaFoglio, GruppiDiRighe) {
  const int fa = IndiceQuadro("FA");
  const int sa = IndiceQuadro("SA");
  const int bl = IndiceQuadro("BL");
  struct Caso {
    std::string_view nome;
    std::vector<RecordRighe> records;
    std::vector<std::vector<long long>> attesi;
  } const kCasi[] = {
      {"moduli successivi",
       {{fa, {{1, 1}, {2, 1}, {3, 1}}}, {fa, {{1, 1}, {2, 7}}}},
       {{1, 2, 3}, {4, 5}}},
      {"rigo vuoto in mezzo al modulo", {{fa, {{1, 1}, {3, 1}}}}, {{1, 3}}},
      {"modulo senza elementi", {{fa, {{1, 1}}}, {fa, {}}, {fa, {{2, 4}}}}, {{1}, {}, {8}}},
      {"ogni quadro riparte da 1", {{fa, {{1, 1}, {2, 1}}}, {sa, {{1, 1}}}}, {{1, 2}, {1}}},
      {"BL: un record per riga", {{bl, {{1, 1001}, {1, 2002}}}, {bl, {{1, 1007}}}}, {{1, 1}, {2}}},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.nome);
    EXPECT_EQ(Numera(c.records), c.attesi);
  }
}

TEST(RigaFoglio, CellaNelFoglio) {
  const auto rilievo = [](std::string quadro, long long riga, std::string campo) {
    Rilievo r;
    r.record = 3;
    r.quadro = std::move(quadro);
    r.rigaQuadro = riga;
    r.campo = std::move(campo);
    return r;
  };
  struct Caso {
    std::string_view nome;
    Rilievo rilievo;
    PrimeRigheFogli prime;
    std::optional<CellaFoglio> attesa;
  } const kCasi[] = {
      {"FE, terza riga, codice fiscale",
       rilievo("FE", 3, "FE003002"),
       {},
       CellaFoglio{"FE", 6, "B"}},
      {"SA parte dalla riga 3", rilievo("SA", 12, "SA002003"), {}, CellaFoglio{"SA", 14, "C"}},
      {"BL dalla riga 7", rilievo("BL", 2, "BL002003"), {7, false}, CellaFoglio{"BL", 8, "M"}},
      {"FR nel tracciato precedente",
       rilievo("FR", 1, "FR001003"),
       {5, true},
       CellaFoglio{"FR", 4, "F"}},
      {"riga senza campo", rilievo("NE", 1, ""), {}, CellaFoglio{"NE", 4, ""}},
      {"record B", rilievo("", 0, "B27"), {}, std::nullopt},
      {"totali", rilievo("TA", 0, "TA004001"), {}, std::nullopt},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.nome);
    const auto cella = CellaNelFoglio(c.rilievo, c.prime);
    ASSERT_EQ(cella.has_value(), c.attesa.has_value());
    if (!cella) continue;
    EXPECT_EQ(cella->foglio, c.attesa->foglio);
    EXPECT_EQ(cella->riga, c.attesa->riga);
    EXPECT_EQ(cella->colonna, c.attesa->colonna);
  }
}

// What the creation will do after writing a file: check it and point each finding at its sheet
// cell. A file as our writer makes it, with a wrong check digit, a wrong check letter, a row with
// both VAT number and fiscal code, and a San Marino purchase without the month: exactly those four
// findings, each at its sheet, row and column.
TEST(RigaFoglio, RilieviRiportatiAlFoglio) {
  FileProva f = FileProva::Analitico();
  f.Valore("FE001001", Sx("01234560018"));                             // FE row 1
  f.Valore("FE002002", Sx("RCCMNL83S18D969X"));                        // FE row 2
  f.InserisciDopo("FE004001", "FE004002", Sx(test::kCfAltraPersona));  // FE row 4
  f.Valore("SE001009", Dx("037"));                                     // SE row 1
  // Two more FE modules before the file goes on: rows 7-12 and 13.
  const std::size_t fe = f.Indice('D', 0);
  std::vector<test::Elemento> pieno, ultimo;
  for (int rigo = 1; rigo <= 6; ++rigo) {
    const std::string r = "FE00" + std::to_string(rigo);
    pieno.insert(pieno.end(), {{r + "001", Sx(test::kPi3)},
                               {r + "007", Dx("01032013")},
                               {r + "008", Dx("01032013")},
                               {r + "009", Sx("N" + std::to_string(rigo))},
                               {r + "010", Dx("10")}});
  }
  ultimo = {{"FE001001", Sx("07654320023")},  // FE row 13: wrong digit
            {"FE001007", Dx("02032013")},
            {"FE001008", Dx("02032013")},
            {"FE001009", Sx("N13")},
            {"FE001010", Dx("10")}};
  f.record.insert(f.record.begin() + static_cast<std::ptrdiff_t>(fe) + 1,
                  {f.NuovoDettaglio('D', 0, pieno), f.NuovoDettaglio('D', 0, ultimo)});
  f.Rinumera();
  f.Valore("TA004001", Dx("10"));
  f.Metti('Z', 34, "000000010");

  std::istringstream in(f.Testo());
  const EsitoVerifica esito = VerificaComunicazione(in);
  std::vector<std::string> celle;
  for (const Rilievo& r : esito.rilievi) {
    const auto cella = CellaNelFoglio(r, PrimeRigheFogli{});
    ASSERT_TRUE(cella.has_value()) << r.messaggio;
    celle.push_back(std::string(NomeRegola(r.regola)) + " " + cella->foglio + "!" + cella->colonna +
                    std::to_string(cella->riga));
  }
  EXPECT_EQ(celle, (std::vector<std::string>{"PartitaIva FE!A4", "CodiceFiscale FE!B5",
                                             "Alternativi FE!B7", "PartitaIva FE!A16",
                                             "SanMarino SE!I4"}));
  EXPECT_EQ(esito.errori, 5);
  EXPECT_EQ(esito.avvertimenti, 0);
}

}  // namespace
}  // namespace fcl
