// The rows of an .xlsx sheet are read by a scanner of their own, which leaves to Expat whatever it
// does not know. Every sheet here is read twice: as it is, and with a comment before its first row,
// which sends the whole sheet to Expat; the cells and the error must come out the same.
#include <gtest/gtest.h>
#include <zip.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "CartellaTemporanea.h"
#include "workbook/LettoreCartella.h"

namespace fcl {
namespace {

namespace fs = std::filesystem;
using test::CartellaTemporanea;

const std::string kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const std::string kRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

fs::path Xlsx(const fs::path& percorso, const std::string& foglio) {
  const std::vector<std::pair<std::string, std::string>> parti = {
      {"xl/workbook.xml", "<workbook xmlns=\"" + kMain + "\" xmlns:r=\"" + kRel +
                              "\"><sheets><sheet name=\"FE\" r:id=\"rId1\"/></sheets></workbook>"},
      {"xl/_rels/workbook.xml.rels",
       "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
       "<Relationship Id=\"rId1\" Type=\"" +
           kRel + "/worksheet\" Target=\"worksheets/sheet1.xml\"/></Relationships>"},
      {"xl/worksheets/sheet1.xml", foglio},
  };
  int errore = 0;
  zip_t* z = zip_open(percorso.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &errore);
  EXPECT_NE(z, nullptr);
  for (const auto& [nome, contenuto] : parti) {
    zip_source_t* sorgente = zip_source_buffer(z, contenuto.data(), contenuto.size(), 0);
    EXPECT_GE(zip_file_add(z, nome.c_str(), sorgente, ZIP_FL_OVERWRITE), 0);
  }
  EXPECT_EQ(zip_close(z), 0);
  return percorso;
}

// The first rows of the sheet, a line a cell, then the error if any.
std::string Leggi(const fs::path& percorso) {
  std::string uscita;
  try {
    auto lettore = ApriCartella(percorso);
    for (int r = 1; r <= 8; ++r) {
      const auto& riga = lettore->Riga(1, r);
      for (std::size_t k = 0; k < riga.size(); ++k) {
        if (riga[k].tipo == Cella::Tipo::Vuota) continue;
        uscita += std::to_string(r) + "/" + std::to_string(k) + " " +
                  std::to_string(static_cast<int>(riga[k].tipo)) + " " +
                  std::to_string(riga[k].numero) + " [" + riga[k].testo + "]\n";
      }
    }
  } catch (const ErroreCartella& e) {
    uscita += "errore " + std::to_string(e.Numero()) + ": " + e.what();
  }
  return uscita;
}

TEST(ScansioneRighe, StessiValoriEStessiErroriDiExpat) {
  const std::string testoLungo(70000, 'L');  // a row longer than the scanner takes
  struct Caso {
    const char* nome;
    std::string righe;
    bool errore;
  };
  const std::vector<Caso> casi = {
      {"valori semplici",
       "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>02468130162</t></is></c>"
       "<c r=\"C1\" t=\"n\"><v>12.5</v></c><c r=\"D1\" t=\"b\"><v>1</v></c>"
       "<c r=\"E1\" t=\"e\"><v>#N/A</v></c><c r=\"F1\" t=\"str\"><f>A1</f><v>x</v></c></row>"
       "<row><c><v>3</v></c><c/><c t=\"inlineStr\"><is><t/></is></c></row>",
       false},
      {"riferimenti e caratteri",
       "<row r=\"2\"><c r=\"B2\" t=\"inlineStr\"><is><t xml:space=\"preserve\"> a &amp; b "
       "&lt;c&gt; "
       "&quot;&apos; &#233;&#x20AC; \xC3\xA8\xE2\x82\xAC\xF0\x9F\x98\x80 </t></is></c>"
       "<c r='C2' t='inlineStr'><is><r><rPr><b/></rPr><t>gr</t></r><r><t>as</t></r>"
       "<rPh sb=\"0\" eb=\"1\"><t>no</t></rPh></is></c></row>",
       false},
      {"spazi e righe nuove",
       "\n  <row\n r = \"3\" >\n <c\tr=\"A3\"\n t=\"inlineStr\"><is><t>a\nb</t></is></c>\n</row>\n"
       "<row r=\"4\" x14ac:dyDescent=\"0.25\" spans=\"1:3\"><c r=\"A4\"><v>4</v></c></row>",
       false},
      {"commento tra le righe",
       "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row><!-- nota --><row r=\"2\"><c r=\"A2\"><v>2</v>"
       "</c></row>",
       false},
      {"CDATA e ritorno a capo",
       "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row><row r=\"2\"><c r=\"A2\" t=\"inlineStr\"><is>"
       "<t><![CDATA[<x>]]></t></is></c><c r=\"B2\" t=\"inlineStr\"><is><t>a\r\nb</t></is></c></row>"
       "<row r=\"3\"><c r=\"A3\" t=\"inlineStr\"><is><t>c\rd</t></is></c></row>",
       false},
      {"valore con tabulazione e riferimento a riga nuova",
       "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\" x=\"a\tb&#10;c\"><is><t>v</t></is></c></row>",
       false},
      {"riga più lunga di un blocco",
       "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row><row r=\"2\"><c r=\"A2\" "
       "t=\"inlineStr\"><is><t>" +
           testoLungo + "</t></is></c></row><row r=\"3\"><c r=\"A3\"><v>3</v></c></row>",
       false},
      {"forme delle celle lette riga per riga",
       "<row r=\"1\" spans=\"1:6\" x14ac:dyDescent=\"0.25\"><c r=\"A1\" s=\"0\"><f>B1*2</f>"
       "<v>4</v></c><c r=\"B1\"><f t=\"shared\" si=\"0\"/><v>2</v></c><c r=\"C1\"><f>X1</f></c>"
       "<c r=\"D1\" t=\"inlineStr\"><is><t xml:space=\"preserve\"> \xC3\xA0 _x000D_ </t></is></c>"
       "<c r=\"E1\" t=\"inlineStr\"><is/></c><c r=\"F1\"><v/></c><c r=\"G1\" t=\"str\"><v>"
       "a\nb</v></c><c r=\"H1\" t=\"e\"><v>#DIV/0!</v></c><c r=\"Z1\"><v>9</v></c></row>"
       "<row r=\"2\"/><row r=\"3\" ><c r=\"A3\" ><v >3</v ></c ></row >"
       "<row r=\"4\"><c r=\"A4\"><v>1</v><v>2</v></c><c r=\"B4\"><is><t>a</t><t>b</t></is></c>"
       "<c r=\"C4\">x<v>5</v></c><c r=\"D4\" t=\"inlineStr\"><is><t>a]b</t></is></c></row>"
       "<row r=\"5\"><c r=\"A5\" a=\"1\" b=\"2\" c=\"3\" d=\"4\" e=\"5\" f=\"6\" g=\"7\" "
       "h=\"8\" i=\"9\" j=\"10\" k=\"11\" l=\"12\" m=\"13\" n=\"14\" o=\"15\" p=\"16\" "
       "q=\"17\"><v>5</v></c><c><v>6</v></c></row>",
       false},
      {"valore numerico non valido", "<row r=\"1\"><c r=\"A1\"><v>1x</v></c></row>", true},
      {"cella oltre l'ultima colonna", "<row r=\"1\"><c r=\"XFE1\"><v>1</v></c></row>", true},
      {"errore di una cella prima di un tag non corrispondente",
       "<row r=\"1\"><c r=\"A1\"><v>z</v></c><c></x></row>", true},
      {"attributo ripetuto con prefissi diversi dello stesso spazio",
       "<row r=\"1\" x14ac:a=\"1\" y14ac:a=\"2\"><c><v>1</v></c></row>", true},
      {"tag non corrispondente",
       "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>\n\n<row r=\"2\"><c>"
       "<v>2</c></v></row>",
       true},
      {"prefisso non dichiarato",
       "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>\n<row r=\"2\" "
       "y:a=\"1\"><c><v>2</v></c></row>",
       true},
      {"attributo ripetuto", "<row r=\"1\" r=\"2\"><c><v>1</v></c></row>", true},
      {"entità sconosciuta", "<row r=\"1\"><c t=\"inlineStr\"><is><t>&nbsp;</t></is></c></row>",
       true},
      {"riferimento a un carattere non ammesso",
       "<row r=\"1\"><c t=\"inlineStr\"><is><t>&#1;</t></is></c></row>", true},
      {"byte non UTF-8", "<row r=\"1\"><c t=\"inlineStr\"><is><t>\xE8</t></is></c></row>", true},
      {"]]> nel testo", "<row r=\"1\"><c t=\"inlineStr\"><is><t>a]]>b</t></is></c></row>", true},
      {"riga senza fine", "<row r=\"1\"><c><v>1</v></c></row>\n<row r=\"2\"><c><v>2</v></c>", true},
      {"numero di riga non valido",
       "<row r=\"1\"><c><v>1</v></c></row><row r=\"x\"><c><v>2</v></c></row>", true},
  };
  CartellaTemporanea cartella;
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    const std::string inizio = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<worksheet xmlns=\"" +
                               kMain +
                               "\" xmlns:x14ac=\"http://schemas.microsoft.com/office/"
                               "spreadsheetml/2009/9/ac\" xmlns:y14ac=\"http://schemas."
                               "microsoft.com/office/spreadsheetml/2009/9/ac\"><sheetData>";
    const std::string fine = "</sheetData></worksheet>";
    const std::string diretto = Leggi(Xlsx(cartella / "foglio.xlsx", inizio + caso.righe + fine));
    const std::string expat =
        Leggi(Xlsx(cartella / "foglio.xlsx", inizio + "<!---->" + caso.righe + fine));
    EXPECT_EQ(diretto, expat);
    EXPECT_EQ(diretto.find("errore ") != std::string::npos, caso.errore) << diretto;
    EXPECT_FALSE(diretto.empty());
  }
}

// The reader fills the cells of a row in the room of rows read before: nothing of those may stay.
TEST(ScansioneRighe, UnaRigaNonEreditaLeCelleDelleRighePrecedenti) {
  std::string righe;
  for (int r = 1; r <= 7; ++r) {
    righe += "<row r=\"" + std::to_string(r) + "\">";
    if (r % 2 == 1)
      for (const char colonna : std::string("ABCDE"))
        righe += std::string("<c r=\"") + colonna + std::to_string(r) +
                 "\" t=\"inlineStr\"><is><t>testo lungo della riga " + std::to_string(r) +
                 "</t></is></c>";
    else
      righe += "<c r=\"C" + std::to_string(r) + "\"><v>" + std::to_string(r) + "</v></c>";
    righe += "</row>";
  }
  CartellaTemporanea cartella;
  const std::string letto = Leggi(Xlsx(cartella / "foglio.xlsx",
                                       "<worksheet xmlns=\"" + kMain + "\"><sheetData>" + righe +
                                           "</sheetData></worksheet>"));
  std::string atteso;
  for (int r = 1; r <= 7; ++r) {
    if (r % 2 == 1)
      for (int k = 0; k < 5; ++k)
        atteso += std::to_string(r) + "/" + std::to_string(k) + " 3 0.000000 [testo lungo della riga " +
                  std::to_string(r) + "]\n";
    else
      atteso += std::to_string(r) + "/2 1 " + std::to_string(r) + ".000000 []\n";
  }
  EXPECT_EQ(letto, atteso);
}

}  // namespace
}  // namespace fcl
