// What only hand-written workbooks hold: references left out, the 1904 date system, rich and
// inline text, formulas, error values, namespace prefixes (.xlsx); repeated, covered and spanned
// cells, paragraphs, annotations, a million repeated rows (.ods).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "workbook/LettoreCartella.h"

namespace fcl {
namespace {

const std::filesystem::path kDati = FCL_DATI_LETTORI;

struct Atteso {
  int foglio;
  int riga;
  int colonna;
  const char* testo;
  Cella::Tipo tipo;
};

void Verifica(LettoreCartella& lettore, const std::vector<Atteso>& attesi) {
  for (const auto& a : attesi) {
    SCOPED_TRACE(std::to_string(a.foglio) + ":" + std::to_string(a.riga) + ":" +
                 std::to_string(a.colonna));
    const Cella& cella = lettore.Riga(a.foglio, a.riga)[static_cast<std::size_t>(a.colonna - 1)];
    EXPECT_EQ(TestoCella(cella), a.testo);
    EXPECT_EQ(cella.tipo, a.tipo);
  }
}

using T = Cella::Tipo;

TEST(LettoreXlsx, CelleScritteAMano) {
  auto lettore = ApriCartella(kDati / "speciale.xlsx");
  // The chart sheet between the two worksheets is not a worksheet.
  ASSERT_EQ(lettore->NumeroFogli(), 2);
  EXPECT_EQ(lettore->NomeFoglio(1), "Dati");
  EXPECT_EQ(lettore->NomeFoglio(2), "Prefissi");
  Verifica(*lettore,
           {
               {1, 1, 1, "semplice", T::Testo},
               {1, 1, 2, "ricco in due", T::Testo},  // runs joined, phonetic guide left out
               {1, 1, 3, "a\rb_x0041_", T::Testo},   // _x000D_ decoded, _x005F_ escapes "_"
               {1, 2, 1, "01/01/1904", T::Data},     // 1904 date system: serial 0
               {1, 2, 2, "07/07/2013", T::Data},     // custom date format, 40000 in 1904
               {1, 2, 3, "12,5", T::Numero},         // "d" only inside quotes: no date
               {1, 2, 4, "-3", T::Numero},           // [Red] is no date
               {1, 2, 5, "18:00:00", T::Data},       // a time stays a time in the 1904 system
               {1, 3, 1, "", T::Vuota},
               {1, 4, 25, "", T::Vuota},
               {1, 5, 1, "in linea", T::Testo},
               {1, 5, 2, "in pezzi", T::Testo},
               {1, 5, 3, "#N/A", T::Errore},
               {1, 5, 4, "3", T::Numero},            // formula with its computed value
               {1, 5, 5, "ab", T::Testo},            // formula giving a text
               {1, 5, 6, "=SUM(A1:A3)", T::Errore},  // formula never computed: no value in the file
               {1, 5, 7, "VERO", T::Booleano},
               {1, 5, 8, "FALSO", T::Booleano},
               {1, 5, 9, "05/03/2013", T::Data},  // t="d": an ISO date, whatever the system
               {1, 5, 10, "", T::Vuota},          // styled but empty
               {1, 5, 25, "25", T::Numero},       // Y is read, Z and AA are not
               {1, 6, 10, "", T::Vuota},
               {1, 7, 10, "0,001", T::Numero},
               {2, 2, 2, "7", T::Numero},  // elements with a namespace prefix
               {2, 1, 2, "", T::Vuota},
               {1, 1, 1, "semplice", T::Testo},  // back to the first sheet
           });
  EXPECT_EQ(lettore->Riga(1, 5).size(), 25u);
}

TEST(LettoreOds, CelleScritteAMano) {
  auto lettore = ApriCartella(kDati / "speciale.ods");
  // Asked for the second sheet first: the stream goes through the first and comes back.
  EXPECT_EQ(lettore->NomeFoglio(2), "Secondo");
  Verifica(*lettore,
           {
               {2, 1, 1, "ultimo", T::Testo},
               {1, 1, 1, "Intestazione", T::Testo},  // in table-header-rows
               {1, 2, 1, "0,22", T::Numero},         // percentage: the value, not "22%"
               {1, 2, 2, "1500,5", T::Numero},       // currency
               {1, 2, 3, "10:30:15", T::Data},       // time
               {1, 2, 4, "05/03/2013", T::Data},     // date and time: the date
               {1, 2, 5, "VERO", T::Booleano},
               {1, 2, 6, "#DIV/0!", T::Errore},
               {1, 2, 7, "dal valore", T::Testo},  // office:string-value wins over the paragraph
               {1, 3, 1, "uno   due tre\nsecondo paragrafo", T::Testo},  // no annotation text
               {1, 3, 2, "5", T::Numero},                                // spans two columns
               {1, 3, 3, "", T::Vuota},                                  // covered by the span
               {1, 3, 4, "9", T::Numero},                                // repeated three times
               {1, 3, 6, "9", T::Numero},
               {1, 3, 7, "", T::Vuota},
               {1, 3, 24, "", T::Vuota},
               {1, 3, 25, "Y", T::Testo},  // Z is beyond the columns read
               {1, 4, 1, "1", T::Numero},  // a row repeated three times
               {1, 6, 1, "1", T::Numero},
               {1, 7, 1, "", T::Vuota},
               {1, 1048576, 1, "", T::Vuota},   // inside the million repeated rows
               {1, 2000000, 25, "", T::Vuota},  // beyond the sheet
               {1, 2, 1, "0,22", T::Numero},    // back again
           });
  EXPECT_EQ(lettore->NumeroFogli(), 2);
  EXPECT_EQ(lettore->NomeFoglio(1), "Valori");
  EXPECT_EQ(TestoCella(lettore->Riga(2, 1)[0]), "ultimo");
}

// LibreOffice writes a formula whose result is "" with no value type: it reads as its (empty)
// text, so the template rows that hold only such formulas end the sheet's data; a formula the file
// marks as an error is still one.
TEST(LettoreOds, FormulaDalRisultatoVuoto) {
  auto lettore = ApriCartella(kDati / "formule-vuote.ods");
  ASSERT_EQ(lettore->NomeFoglio(2), "FA");
  Verifica(*lettore, {
                         {2, 1, 3, "#DIV/0!", T::Errore},
                         {2, 4, 10, "6000", T::Numero},
                         {2, 4, 11, "1320", T::Numero},  // =IF(J4>5000;J4*0.22;"")
                         {2, 5, 11, "", T::Vuota},       // the same giving "", empty paragraph
                         {2, 6, 1, "", T::Vuota},        // =""
                         {2, 8, 10, "", T::Vuota},
                         {2, 8, 11, "", T::Vuota},
                         {2, 9, 1, "", T::Vuota},
                     });
}

// FreeXL skips formula cells and reads booleans and error values as numbers: the reader takes
// them from the workbook's own records.
TEST(LettoreXls, FormuleBooleaniEdErrori) {
  auto lettore = ApriCartella(kDati / "formule.xls");
  ASSERT_EQ(lettore->NumeroFogli(), 1);
  Verifica(*lettore, {
                         {1, 1, 1, "1,5", T::Numero},
                         {1, 1, 3, "3,5", T::Numero},       // =A1+B1
                         {1, 1, 4, "05/03/2013", T::Data},  // a formula in a date cell
                         {1, 1, 5, "abc àè", T::Testo},     // a text result, in its STRING record
                         {1, 1, 6, "VERO", T::Booleano},
                         {1, 1, 7, "#DIV/0!", T::Errore},
                         {1, 1, 10, "", T::Testo},  // an empty text result
                         {1, 1, 25, "", T::Vuota},  // the formula in column AA is not read
                         {1, 2, 1, "1,5", T::Numero},
                         {1, 2, 2, "#N/A", T::Errore},  // an error value typed in the cell
                         {1, 2, 3, "VERO", T::Booleano},
                         {1, 2, 4, "FALSO", T::Booleano},
                         {1, 2, 5, "1", T::Numero},  // a plain 1 stays a number
                         {1, 3, 1, "", T::Vuota},
                     });
  // Results longer than one record go on in CONTINUE records, one or two bytes a character.
  std::string euro;
  for (int i = 0; i < 5000; ++i) euro += "€";
  EXPECT_EQ(TestoCella(lettore->Riga(1, 1)[7]), euro);
  EXPECT_EQ(TestoCella(lettore->Riga(1, 1)[8]), std::string(9000, 'a'));
}

// An Excel 5.0/95 workbook (its stream is named "Book") is read through FreeXL, which reads
// booleans as the numbers 1 and 0.
// Excel 97-2003 records in a stream named "Book" (as some programs write them) are read from the
// records like any Excel 97-2003 workbook, not by FreeXL.
TEST(LettoreXls, CartellaExcel97NelFlussoBook) {
  auto lettore = ApriCartella(kDati / "vecchio.xls");
  ASSERT_EQ(lettore->NumeroFogli(), 4);
  EXPECT_EQ(lettore->NomeFoglio(3), "fa");
  Verifica(*lettore, {
                         {2, 4, 1, "01234567890", T::Testo},
                         {2, 4, 7, "05/03/2013", T::Data},
                         {2, 4, 10, "1234,5", T::Numero},
                         {2, 5, 3, "123456789012345", T::Numero},
                         {2, 6, 3, "VERO", T::Booleano},
                         {2, 4, 25, "colonna Y", T::Testo},
                         {4, 3, 3, "150,5", T::Numero},
                     });
  EXPECT_THROW(lettore->Riga(5, 1), ErroreCartella);
}

}  // namespace
}  // namespace fcl
