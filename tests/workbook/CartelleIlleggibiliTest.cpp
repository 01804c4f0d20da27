// Files that are no readable workbook: each gets its own Italian message and number, and no
// damaged input crashes a reader, hangs it or makes it read out of bounds.
#include <gtest/gtest.h>
#include <zip.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "CartellaTemporanea.h"
#include "workbook/ArchivioZip.h"
#include "workbook/ErroriCartella.h"
#include "workbook/LettoreCartella.h"

namespace fcl {
namespace {

namespace fs = std::filesystem;
using test::CartellaTemporanea;
using test::LeggiFile;
using test::ScriviFile;

const fs::path kDati = FCL_DATI_LETTORI;

// Opens the workbook and reads every sheet's first rows, as the run would.
void LeggiTutto(const fs::path& percorso) {
  auto lettore = ApriCartella(percorso);
  for (int f = 1; f <= lettore->NumeroFogli(); ++f) {
    lettore->NomeFoglio(f);
    for (int r = 1; r <= 40; ++r) {
      for (const auto& cella : lettore->Riga(f, r)) TestoCella(cella);
    }
  }
}

int NumeroErrore(const fs::path& percorso, std::string* messaggio = nullptr) {
  try {
    LeggiTutto(percorso);
  } catch (const ErroreCartella& e) {
    if (messaggio) *messaggio = e.what();
    return e.Numero();
  }
  return 0;
}

// A copy of `origine` with entry `nome` replaced by `contenuto` (added when absent).
fs::path ConVoce(const CartellaTemporanea& cartella, const fs::path& origine,
                 const std::string& nome, const std::string& contenuto) {
  const fs::path copia = cartella / ("copia" + origine.extension().string());
  fs::copy_file(origine, copia, fs::copy_options::overwrite_existing);
  int errore = 0;
  zip_t* z = zip_open(copia.c_str(), 0, &errore);
  EXPECT_NE(z, nullptr);
  zip_source_t* sorgente = zip_source_buffer(z, contenuto.data(), contenuto.size(), 0);
  EXPECT_GE(zip_file_add(z, nome.c_str(), sorgente, ZIP_FL_OVERWRITE), 0);
  EXPECT_EQ(zip_close(z), 0);
  return copia;
}

TEST(CartelleIlleggibili, MessaggiPerOgniCaso) {
  CartellaTemporanea cartella;
  ScriviFile(cartella / "vuoto.xlsx", "");
  fs::create_directory(cartella / "cartella.xls");
  struct Case {
    std::string nome;
    fs::path percorso;
    int numero;
    std::string messaggio;
  } const kCases[] = {
      {"mancante", cartella / "manca.xls", 53,
       "Il file \"" + (cartella / "manca.xls").string() + "\" non esiste"},
      {"testo chiamato .xls", kDati / "testo.xls", 1004,
       "Il file \"" + (kDati / "testo.xls").string() +
           "\" non è una cartella di lavoro di Excel (.xls, .xlsx) o OpenDocument (.ods) "
           "leggibile"},
      {"file vuoto", cartella / "vuoto.xlsx", 1004, ""},
      {"una cartella", cartella / "cartella.xls", 1004, ""},
      {"zip senza cartella di lavoro", kDati / "archivio.xlsx", 1004, ""},
      {"xls con password", kDati / "protetto.xls", 1005,
       "La cartella di lavoro \"" + (kDati / "protetto.xls").string() +
           "\" è protetta da password: salvarla senza password e riprovare"},
      {"xlsx con password", kDati / "protetto.xlsx", 1005, ""},
      {"ods con password", kDati / "protetto.ods", 1005, ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.nome);
    std::string messaggio;
    EXPECT_EQ(NumeroErrore(c.percorso, &messaggio), c.numero);
    if (!c.messaggio.empty()) {
      EXPECT_EQ(messaggio, c.messaggio);
    }
  }
}

TEST(CartelleIlleggibili, PartiDanneggiate) {
  CartellaTemporanea cartella;
  const fs::path xlsx = kDati / "speciale.xlsx";
  const fs::path ods = kDati / "speciale.ods";
  const std::string kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
  struct Case {
    const char* nome;
    fs::path origine;
    std::string voce;
    std::string contenuto;
    std::string frammento;  // part of the message
  } const kCases[] = {
      {"foglio troncato", xlsx, "xl/worksheets/sheet2.xml",
       "<worksheet xmlns=\"" + kMain + "\"><sheetData><row r=\"1\"><c><v>1</v></c></row><row",
       "xl/worksheets/sheet2.xml: XML non valido"},
      {"entità in un DOCTYPE", xlsx, "xl/sharedStrings.xml",
       "<!DOCTYPE sst [<!ENTITY a \"aaaaaaaaaa\">]><sst xmlns=\"" + kMain +
           "\"><si><t>&a;</t></si></sst>",
       "DOCTYPE"},
      {"testo condiviso inesistente", xlsx, "xl/worksheets/sheet1.xml",
       "<worksheet xmlns=\"" + kMain +
           "\"><sheetData><row><c t=\"s\"><v>3</v></c></row>"
           "</sheetData></worksheet>",
       "testo condiviso inesistente"},
      {"righe a ritroso", xlsx, "xl/worksheets/sheet1.xml",
       "<worksheet xmlns=\"" + kMain +
           "\"><sheetData><row r=\"5\"/><row r=\"3\"/>"
           "</sheetData></worksheet>",
       "la riga 3 del foglio 2 compare dopo la riga 5"},
      {"numero di riga assurdo", xlsx, "xl/worksheets/sheet1.xml",
       "<worksheet xmlns=\"" + kMain +
           "\"><sheetData><row r=\"99999999999999999999\"/>"
           "</sheetData></worksheet>",
       "numero di riga non valido"},
      {"numero non numerico", xlsx, "xl/worksheets/sheet1.xml",
       "<worksheet xmlns=\"" + kMain +
           "\"><sheetData><row><c><v>1,5</v></c></row>"
           "</sheetData></worksheet>",
       "valore numerico non valido: 1,5"},
      {"testo di una cella enorme", xlsx, "xl/worksheets/sheet1.xml",
       "<worksheet xmlns=\"" + kMain + "\"><sheetData><row><c t=\"inlineStr\"><is><t>" +
           std::string(200000, 'x') + "</t></is></c></row></sheetData></worksheet>",
       "lunghezza massima"},
      {"foglio senza parte", xlsx, "xl/_rels/workbook.xml.rels",
       "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
       "<Relationship Id=\"rId3\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
       "relationships/worksheet\" Target=\"worksheets/manca.xml\"/></Relationships>",
       "manca la parte xl/worksheets/manca.xml del foglio \"Dati\""},
      {"ods troncato", ods, "content.xml",
       "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
       "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\"><office:body>"
       "<office:spreadsheet><table:table table:name=\"A\"><table:table-row>",
       "content.xml: XML non valido"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.nome);
    std::string messaggio;
    EXPECT_EQ(NumeroErrore(ConVoce(cartella, c.origine, c.voce, c.contenuto), &messaggio), 1006);
    EXPECT_NE(messaggio.find(c.frammento), std::string::npos) << messaggio;
  }
}

// A part is never decompressed beyond its limit, whatever the archive says of it.
TEST(CartelleIlleggibili, LimiteDiUnaParte) {
  CartellaTemporanea cartella;
  const fs::path bomba =
      ConVoce(cartella, kDati / "archivio.xlsx", "grande.xml", std::string(1 << 20, 'a'));
  ArchivioZip archivio(bomba);
  EXPECT_EQ(archivio.LeggiTutto("grande.xml", 1 << 20)->size(), 1u << 20);
  try {
    archivio.LeggiTutto("grande.xml", 64 << 10);
    ADD_FAILURE();
  } catch (const ErroreCartella& e) {
    EXPECT_EQ(e.Numero(), errori_cartella::kParteTroppoGrande);
    EXPECT_NE(std::string(e.what()).find("la parte grande.xml supera 64 KB una volta decompressa"),
              std::string::npos);
  }
  // Read a block at a time, the count stops it too.
  auto voce = archivio.Apri("grande.xml", 1 << 20);
  char blocco[4096];
  std::size_t letti = 0;
  while (const std::size_t n = voce->Leggi(blocco, sizeof blocco)) letti += n;
  EXPECT_EQ(letti, 1u << 20);
  EXPECT_FALSE(archivio.LeggiTutto("manca.xml", 100).has_value());
}

// Every fixture cut short, and with bytes overwritten here and there: each either reads or fails
// with ErroreCartella; nothing else escapes (the sanitizer build catches bad reads).
TEST(CartelleIlleggibili, FileTroncatiOAlterati) {
  CartellaTemporanea cartella;
  for (const char* nome : {"campione.xls", "campione.xlsx", "campione.ods", "speciale.xlsx",
                           "speciale.ods", "formule.xls"}) {
    const std::string originale = LeggiFile(kDati / nome);
    const fs::path copia =
        cartella / (std::string("alterato") + fs::path(nome).extension().string());
    const std::size_t passi = 48;
    for (std::size_t k = 1; k <= passi; ++k) {
      const std::size_t posizione = originale.size() * k / (passi + 1);
      SCOPED_TRACE(std::string(nome) + " @" + std::to_string(posizione));
      ScriviFile(copia, originale.substr(0, posizione));
      EXPECT_NO_THROW(NumeroErrore(copia));
      std::string alterato = originale;
      for (std::size_t i = posizione; i < posizione + 24 && i < alterato.size(); ++i)
        alterato[i] = static_cast<char>(alterato[i] ^ (0x5A + i));
      ScriviFile(copia, alterato);
      EXPECT_NO_THROW(NumeroErrore(copia));
    }
  }
}

}  // namespace
}  // namespace fcl
