// Small workbooks that ask for unbounded work or memory: rows and columns past the end of a sheet,
// a token of megabytes, huge sheet names, too many sheets, relationships or styles. Each is refused
// with its own message, or read when it stays just within the limit.
#include <gtest/gtest.h>
#include <zip.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "CartellaTemporanea.h"
#include "workbook/ErroriCartella.h"
#include "workbook/LettoreCartella.h"

namespace fcl {
namespace {

namespace fs = std::filesystem;
using test::CartellaTemporanea;
using Parti = std::vector<std::pair<std::string, std::string>>;

fs::path Zip(const fs::path& percorso, const Parti& parti) {
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

// An .ods whose content holds `tabelle` after a first sheet "Frontespizio".
fs::path Ods(const fs::path& percorso, const std::string& tabelle) {
  return Zip(percorso,
             {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
              {"content.xml",
               "<office:document-content "
               "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
               "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
               "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body>"
               "<office:spreadsheet><table:table table:name=\"Frontespizio\"/>" +
                   tabelle + "</office:spreadsheet></office:body></office:document-content>"}});
}

std::string TabellaOds(const std::string& nome, const std::string& righe) {
  return "<table:table table:name=\"" + nome + "\">" + righe + "</table:table>";
}

const std::string kCellaOds =
    "<table:table-cell office:value-type=\"string\"><text:p>02468130162</text:p>"
    "</table:table-cell>";

const std::string kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const std::string kRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
const std::string kTipo = kRel + "/";

// A .xlsx with one sheet holding `datiFoglio` inside <sheetData>; `voci` replaces the <sheet>
// entries of the workbook part, `relazioni` and `stili` are added to their parts.
fs::path Xlsx(const fs::path& percorso, const std::string& datiFoglio,
              const std::string& voci = "<sheet name=\"FA\" r:id=\"rId1\"/>",
              const std::string& relazioni = "", const std::string& stili = "") {
  Parti parti = {
      {"xl/workbook.xml", "<workbook xmlns=\"" + kMain + "\" xmlns:r=\"" + kRel + "\"><sheets>" +
                              voci + "</sheets></workbook>"},
      {"xl/_rels/workbook.xml.rels",
       "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
       "<Relationship Id=\"rId1\" Type=\"" +
           kTipo + "worksheet\" Target=\"worksheets/sheet1.xml\"/>" + relazioni +
           "<Relationship Id=\"rId2\" Type=\"" + kTipo +
           "styles\" Target=\"styles.xml\"/></Relationships>"},
      {"xl/styles.xml",
       "<styleSheet xmlns=\"" + kMain + "\"><cellXfs>" + stili + "</cellXfs></styleSheet>"},
      {"xl/worksheets/sheet1.xml",
       "<worksheet xmlns=\"" + kMain + "\"><sheetData>" + datiFoglio + "</sheetData></worksheet>"},
  };
  return Zip(percorso, parti);
}

std::string Ripeti(const std::string& pezzo, std::size_t volte) {
  std::string s;
  s.reserve(pezzo.size() * volte);
  for (std::size_t i = 0; i < volte; ++i) s += pezzo;
  return s;
}

// Opens the workbook, every sheet's name and the first rows of each; the error's number and text,
// or 0 when it reads.
int Leggi(const fs::path& percorso, std::string& messaggio) {
  try {
    auto lettore = ApriCartella(percorso);
    for (int f = 1; f <= lettore->NumeroFogli(); ++f) {
      lettore->NomeFoglio(f);
      for (int r = 1; r <= 10; ++r) lettore->Riga(f, r);
    }
  } catch (const ErroreCartella& e) {
    messaggio = e.what();
    return e.Numero();
  }
  return 0;
}

TEST(LimitiCartelle, OltreIlLimiteSiRifiutaAlLimiteSiLegge) {
  CartellaTemporanea c;
  const std::string ultima = std::to_string(kRigheMassimeFoglio);
  const std::string nome255(255, 'N');
  std::string nome255Accentato;
  for (int i = 0; i < 255; ++i) nome255Accentato += "è";
  const std::string vocale = "<sheet name=\"a\" r:id=\"b\"/>";
  const std::string relazione = "<Relationship Id=\"x\" Type=\"t\" Target=\"u\"/>";
  struct Caso {
    const char* nome;
    fs::path file;
    int numero;  // 0: reads
    std::string frammento;
  } const casi[] = {
      {"ods: riga piena ripetuta 2^32 volte",
       Ods(c / "r1.ods",
           TabellaOds("FA", "<table:table-row table:number-rows-repeated=\"4294967296\">" +
                                kCellaOds + "</table:table-row>")),
       errori_cartella::kDanneggiata, "righe non vuote oltre la riga 16777216"},
      {"ods: riga piena ripetuta fino all'ultima",
       Ods(c / "r2.ods", TabellaOds("FA", "<table:table-row table:number-rows-repeated=\"" +
                                              ultima + "\">" + kCellaOds + "</table:table-row>")),
       0, ""},
      {"ods: riga vuota ripetuta 2^32 volte, poi un dato",
       Ods(c / "r3.ods", TabellaOds("FA",
                                    "<table:table-row table:number-rows-repeated=\"4294967296\">"
                                    "<table:table-cell/></table:table-row><table:table-row>" +
                                        kCellaOds + "</table:table-row>")),
       errori_cartella::kDanneggiata, "righe non vuote oltre la riga 16777216"},
      {"ods: riga vuota ripetuta 2^32 volte",
       Ods(c / "r4.ods", TabellaOds("FA",
                                    "<table:table-row table:number-rows-repeated=\"4294967296\">"
                                    "<table:table-cell table:number-columns-repeated=\"99999\"/>"
                                    "</table:table-row>")),
       0, ""},
      {"ods: cella piena ripetuta oltre la colonna XFD",
       Ods(c / "c1.ods", TabellaOds("FA",
                                    "<table:table-row><table:table-cell "
                                    "table:number-columns-repeated=\"16384\"/>" +
                                        kCellaOds + "</table:table-row>")),
       errori_cartella::kDanneggiata, "celle non vuote oltre la colonna 16384"},
      {"ods: cella piena fino alla colonna XFD",
       Ods(c / "c2.ods", TabellaOds("FA",
                                    "<table:table-row><table:table-cell "
                                    "table:number-columns-repeated=\"16383\"/>" +
                                        kCellaOds + "</table:table-row>")),
       0, ""},
      {"xlsx: riga oltre l'ultima",
       Xlsx(c / "r1.xlsx", "<row r=\"" + std::to_string(kRigheMassimeFoglio + 1) + "\"/>"),
       errori_cartella::kDanneggiata, "riga 16777217 oltre la riga 16777216"},
      {"xlsx: l'ultima riga",
       Xlsx(c / "r2.xlsx", "<row r=\"" + ultima + "\"><c><v>1</v></c></row>"), 0, ""},
      {"xlsx: cella oltre la colonna XFD",
       Xlsx(c / "c1.xlsx", "<row><c r=\"XFE1\"><v>1</v></c></row>"), errori_cartella::kDanneggiata,
       "cella oltre la colonna XFD"},
      {"xlsx: cella nella colonna XFD",
       Xlsx(c / "c2.xlsx", "<row><c r=\"XFD1\"><v>1</v></c></row>"), 0, ""},
      // A token of megabytes: Expat would scan it again with every block.
      {"xlsx: attributo di 5 MB",
       Xlsx(c / "t1.xlsx", "<row><c x=\"" + std::string(5 << 20, 'A') + "\"/></row>"),
       errori_cartella::kDanneggiata, "sheet1.xml: un tag o un commento XML supera 4 MB"},
      {"xlsx: commento di 5 MB", Xlsx(c / "t2.xlsx", "<!--" + std::string(5 << 20, 'A') + "-->"),
       errori_cartella::kDanneggiata, "supera 4 MB"},
      {"xlsx: attributo di 3 MB",
       Xlsx(c / "t3.xlsx", "<row><c x=\"" + std::string(3 << 20, 'A') + "\"/></row>"), 0, ""},
      {"xlsx: testo di 10 MB fuori dalle celle",
       Xlsx(c / "t4.xlsx", "<row><extLst>" + std::string(10 << 20, 'A') + "</extLst></row>"), 0,
       ""},
      {"ods: nome di foglio di 256 caratteri", Ods(c / "n1.ods", TabellaOds(nome255 + "N", "")),
       errori_cartella::kOltreILimiti,
       "non può essere letta: il nome di un foglio supera i 255 caratteri"},
      {"ods: nome di foglio di 255 caratteri accentati",
       Ods(c / "n2.ods", TabellaOds(nome255Accentato, "")), 0, ""},
      {"xlsx: nome di foglio di 256 caratteri",
       Xlsx(c / "n1.xlsx", "", "<sheet name=\"" + nome255 + "N\" r:id=\"rId1\"/>"),
       errori_cartella::kOltreILimiti, "il nome di un foglio supera i 255 caratteri"},
      {"xlsx: nome di foglio di 255 caratteri",
       Xlsx(c / "n2.xlsx", "", "<sheet name=\"" + nome255 + "\" r:id=\"rId1\"/>"), 0, ""},
      {"xlsx: 10001 fogli", Xlsx(c / "f1.xlsx", "", Ripeti(vocale, 10001)),
       errori_cartella::kOltreILimiti, "elenca più di 10000 fogli"},
      // Within the limit, the entries are read (and found pointing nowhere).
      {"xlsx: 10000 fogli", Xlsx(c / "f2.xlsx", "", Ripeti(vocale, 10000)),
       errori_cartella::kDanneggiata, "manca il foglio \"a\""},
      {"ods: 10001 fogli", Ods(c / "f1.ods", Ripeti("<table:table table:name=\"a\"/>", 10000)),
       errori_cartella::kOltreILimiti, "contiene più di 10000 fogli"},
      {"ods: 10000 fogli", Ods(c / "f2.ods", Ripeti("<table:table table:name=\"a\"/>", 9999)), 0,
       ""},
      {"xlsx: 100001 relazioni",
       Xlsx(c / "z1.xlsx", "", "<sheet name=\"FA\" r:id=\"rId1\"/>", Ripeti(relazione, 99999)),
       errori_cartella::kOltreILimiti, "elenca più di 100000 relazioni tra le sue parti"},
      {"xlsx: 100000 relazioni",
       Xlsx(c / "z2.xlsx", "", "<sheet name=\"FA\" r:id=\"rId1\"/>", Ripeti(relazione, 99998)), 0,
       ""},
      {"xlsx: 1048577 stili",
       Xlsx(c / "s1.xlsx", "", "<sheet name=\"FA\" r:id=\"rId1\"/>", "",
            Ripeti("<xf/>", (1 << 20) + 1)),
       errori_cartella::kOltreILimiti, "elenca più di 1048576 stili o formati di cella"},
      {"xlsx: 1048576 stili",
       Xlsx(c / "s2.xlsx", "", "<sheet name=\"FA\" r:id=\"rId1\"/>", "", Ripeti("<xf/>", 1 << 20)),
       0, ""},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.nome);
    std::string messaggio;
    EXPECT_EQ(Leggi(caso.file, messaggio), caso.numero) << messaggio;
    EXPECT_NE(messaggio.find(caso.frammento), std::string::npos) << messaggio;
  }
}

// Rows up to the last one a sheet can have are read; past it every row is empty.
TEST(LimitiCartelle, RigheFinoAllUltima) {
  CartellaTemporanea c;
  const auto ods =
      Ods(c / "r.ods", TabellaOds("FA", "<table:table-row table:number-rows-repeated=\"" +
                                            std::to_string(kRigheMassimeFoglio) + "\">" +
                                            kCellaOds + "</table:table-row>"));
  const auto xlsx = Xlsx(c / "r.xlsx", "<row r=\"" + std::to_string(kRigheMassimeFoglio) +
                                           "\"><c t=\"inlineStr\"><is><t>02468130162</t></is>"
                                           "</c></row>");
  for (const auto& [file, foglio] : {std::pair{ods, 2}, std::pair{xlsx, 1}}) {
    SCOPED_TRACE(file.string());
    auto lettore = ApriCartella(file);
    EXPECT_EQ(TestoCella(lettore->Riga(foglio, kRigheMassimeFoglio)[0]), "02468130162");
    EXPECT_EQ(lettore->Riga(foglio, kRigheMassimeFoglio + 1)[0].tipo, Cella::Tipo::Vuota);
  }
}

}  // namespace
}  // namespace fcl
