#include "workbook/ListatoPdf.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "../pdf/StrumentiPdf.h"
#include "CartellaTemporanea.h"
#include "common/Errori.h"
#include "pdf/Inflate.h"
#include "pdf/PdfWriter.h"

namespace fcl {
namespace {

using namespace fcl::test;

const std::filesystem::path kProgramma = std::filesystem::path(FCL_STAMPE_DIR).parent_path();

// The text of one page (0: all pages) as pdftotext reads it.
std::string TestoPagina(const std::filesystem::path& pdf, int pagina,
                        const CartellaTemporanea& cartella) {
  const auto uscita = cartella / "testo.txt";
  std::string comando = "pdftotext -layout ";
  if (pagina > 0) comando += "-f " + std::to_string(pagina) + " -l " + std::to_string(pagina) + " ";
  comando += "'" + pdf.string() + "' '" + uscita.string() + "'";
  if (std::system(comando.c_str()) != 0) return "<pdftotext fallito>";
  return LeggiFile(uscita);
}

// "N  di T" at the foot of the page: the number and the total are drawn apart, so the text reader
// may put any run of blanks between them.
bool NumeroEtotale(const std::string& testo, int n, int t) {
  return std::regex_search(
      testo, std::regex("\\b" + std::to_string(n) + "\\s+di " + std::to_string(t) + "\\b"));
}

bool QpdfCheck(const std::filesystem::path& pdf) {
  const std::string comando = "qpdf --check '" + pdf.string() + "' > /dev/null 2>&1";
  return std::system(comando.c_str()) == 0;
}

class ListatoPdfTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kProgramma / "Stampe" / "base.pdf"))
      GTEST_SKIP() << "modelli di stampa non generati";
    intestazione_ = {cartella_ / "FCL_ROSSI_LISTATO.PDF", "/dati/cartella.xlsx", "ROSSI MARIO",
                     "2012", kProgramma};
  }

  CartellaTemporanea cartella_;
  IntestazioneListato intestazione_;
};

TEST_F(ListatoPdfTest, TrentaRigheFannoDuePagineConNumeroETotale) {
  ListatoPdf listato;
  listato.Inizia(intestazione_);
  listato.NuovoFoglio({FA, "FA", true});
  for (int i = 1; i <= 30; ++i) {
    CelleRiga c{};
    c[0] = "PIVA" + std::to_string(i);
    c[3] = i == 1 ? "1234567,8" : "0";
    listato.Riga(i, c);
  }
  listato.Completa();
  EXPECT_EQ(listato.Pagine(), 2);
  ASSERT_TRUE(std::filesystem::exists(intestazione_.percorsoListato));
  EXPECT_TRUE(QpdfCheck(intestazione_.percorsoListato));

  const std::string p1 = TestoPagina(intestazione_.percorsoListato, 1, cartella_);
  const std::string p2 = TestoPagina(intestazione_.percorsoListato, 2, cartella_);
  EXPECT_NE(p1.find("Anno 2012 - ROSSI MARIO"), std::string::npos) << p1;
  EXPECT_NE(p1.find("Archivio base dati: /dati/cartella.xlsx"), std::string::npos);
  EXPECT_NE(p1.find("Quadro FA"), std::string::npos);
  EXPECT_NE(p1.find("1.234.568"), std::string::npos);
  EXPECT_NE(p1.find("PIVA29"), std::string::npos);
  EXPECT_EQ(p1.find("PIVA30"), std::string::npos);
  EXPECT_NE(p2.find("PIVA30"), std::string::npos);
  EXPECT_TRUE(NumeroEtotale(p1, 1, 2)) << p1;
  EXPECT_TRUE(NumeroEtotale(p2, 2, 2)) << p2;
}

// A workbook named relative to the current folder is printed with its full path.
TEST_F(ListatoPdfTest, IlPercorsoDelFoglioEStampatoPerIntero) {
  intestazione_.percorsoCartellaLavoro = "esempio/../esempio/cartella.xlsx";
  ListatoPdf listato;
  listato.Inizia(intestazione_);
  listato.NuovoFoglio({FA, "FA", true});
  listato.Riga(1, CelleRiga{"01234567890"});
  listato.Completa();
  const std::string p1 = TestoPagina(intestazione_.percorsoListato, 1, cartella_);
  const std::filesystem::path assoluto =
      std::filesystem::current_path() / "esempio" / "cartella.xlsx";
  const std::string atteso = "Archivio base dati: " + assoluto.string();
  EXPECT_NE(p1.find(atteso), std::string::npos) << p1;
}

TEST_F(ListatoPdfTest, OgniQuadroSullaSuaPaginaDiModelloConLoStessoTotale) {
  ListatoPdf listato;
  listato.Inizia(intestazione_);
  listato.NuovoFoglio({FA, "FA", true});
  listato.Riga(1, CelleRiga{"01234567890", "", "", "100"});
  listato.NuovoFoglio({NE, "NE", true});
  listato.Riga(1, CelleRiga{"09876543210", "", "", "", "", "2500,4"});
  listato.Completa();
  ASSERT_EQ(listato.Pagine(), 2);
  EXPECT_TRUE(QpdfCheck(intestazione_.percorsoListato));
  const std::string p1 = TestoPagina(intestazione_.percorsoListato, 1, cartella_);
  const std::string p2 = TestoPagina(intestazione_.percorsoListato, 2, cartella_);
  EXPECT_NE(p1.find("Quadro FA"), std::string::npos);
  EXPECT_NE(p1.find("01234567890"), std::string::npos);
  EXPECT_TRUE(NumeroEtotale(p1, 1, 2));
  EXPECT_NE(p2.find("Quadro NE"), std::string::npos);
  EXPECT_NE(p2.find("2.500"), std::string::npos);
  EXPECT_TRUE(NumeroEtotale(p2, 2, 2));
}

// The pixels of one page rendered at 36 dpi (pdftoppm, PPM): rows of RGB triples.
struct Immagine {
  int larghezza = 0, altezza = 0;
  std::string rgb;
  bool Colore(int x, int y, bool (*prova)(unsigned char, unsigned char, unsigned char)) const {
    const std::size_t i = (static_cast<std::size_t>(y) * larghezza + x) * 3;
    return prova(static_cast<unsigned char>(rgb[i]), static_cast<unsigned char>(rgb[i + 1]),
                 static_cast<unsigned char>(rgb[i + 2]));
  }
};

Immagine Renderizza(const std::filesystem::path& pdf, int pagina, const CartellaTemporanea& c) {
  const auto radice = c / "pagina";
  const std::string comando = "pdftoppm -r 36 -f " + std::to_string(pagina) + " -l " +
                              std::to_string(pagina) + " -singlefile '" + pdf.string() + "' '" +
                              radice.string() + "'";
  Immagine im;
  if (std::system(comando.c_str()) != 0) return im;
  std::istringstream in(LeggiFile(c / "pagina.ppm"));
  std::string magia;
  int massimo = 0;
  in >> magia >> im.larghezza >> im.altezza >> massimo;
  in.get();
  im.rgb.assign(std::istreambuf_iterator<char>(in), {});
  if (im.rgb.size() < static_cast<std::size_t>(im.larghezza) * im.altezza * 3) im = {};
  return im;
}

bool Rosso(unsigned char r, unsigned char g, unsigned char b) {
  return r > 180 && g < 90 && b < 90;
}
bool Arancione(unsigned char r, unsigned char g, unsigned char b) {
  return r > 180 && g > 90 && g < 170 && b < 60;
}

// The lines (pixel rows, 36 dpi) where a colour shows, above the foot of the page.
std::vector<int> LineeColorate(const Immagine& im,
                               bool (*prova)(unsigned char, unsigned char, unsigned char)) {
  std::vector<int> linee;
  const int piede = static_cast<int>(19.6 / 2.54 * 36);
  for (int y = 0; y < std::min(im.altezza, piede); ++y) {
    int n = 0;
    for (int x = 0; x < im.larghezza; ++x) n += im.Colore(x, y, prova) ? 1 : 0;
    if (n > im.larghezza / 2) linee.push_back(y);  // an outline's long sides
  }
  return linee;
}

TEST_F(ListatoPdfTest, SegnaRigheSulleRigheStampate) {
  ListatoPdf listato;
  listato.Inizia(intestazione_);
  listato.NuovoFoglio({FE, "FE", true});
  for (int riga = 4; riga <= 43; ++riga)
    listato.Riga(riga, CelleRiga{"PIVA" + std::to_string(riga)});
  listato.NuovoFoglio({NE, "NE", true});
  for (int riga = 4; riga <= 5; ++riga)
    listato.Riga(riga, CelleRiga{"NOTA" + std::to_string(riga)});
  listato.Completa();
  ASSERT_EQ(listato.Pagine(), 3);

  // FE row 33 is the first row of page 2, NE row 5 the second of page 3; the others were never
  // printed.
  listato.SegnaRighe({{"FE", 33, true}, {"NE", 5, false}, {"FE", 200, true}, {"FA", 4, true}},
                     "Righe segnate dalla prova");
  const auto& pdf = intestazione_.percorsoListato;
  EXPECT_TRUE(QpdfCheck(pdf));
  const std::string testo[] = {TestoPagina(pdf, 1, cartella_), TestoPagina(pdf, 2, cartella_),
                               TestoPagina(pdf, 3, cartella_)};
  EXPECT_NE(testo[0].find("PIVA32"), std::string::npos);
  EXPECT_NE(testo[1].find("PIVA33"), std::string::npos);
  EXPECT_NE(testo[2].find("NOTA5"), std::string::npos);
  EXPECT_TRUE(NumeroEtotale(testo[1], 2, 3));
  EXPECT_EQ(testo[0].find("Righe segnate dalla prova"), std::string::npos);
  EXPECT_NE(testo[1].find("Righe segnate dalla prova"), std::string::npos);
  EXPECT_NE(testo[2].find("Righe segnate dalla prova"), std::string::npos);

  // One font object per font: the note is drawn with the bold font the listing already carries.
  const std::string byte = LeggiFile(pdf);
  const std::regex grassetto("/BaseFont\\s*/Arial,Bold\\b");
  EXPECT_EQ(std::distance(std::sregex_iterator(byte.begin(), byte.end(), grassetto),
                          std::sregex_iterator()),
            1);
  // The note stands clear of the rule under the last row (19.75 cm) and of the page number.
  constexpr double kPunti = 72 / 2.54;
  const auto parole = ParolePdf(pdf, 2, 2);
  const auto trova = [&parole](const std::string& t, double xCm) -> const ParolaPdf* {
    for (const auto& w : parole)
      if (w.testo == t && std::abs(w.xMin / kPunti - xCm) < 1.5) return &w;
    return nullptr;
  };
  const ParolaPdf* nota = trova("Righe", 0.3);
  const ParolaPdf* numero = trova("2", 15.7);
  ASSERT_NE(nota, nullptr);
  ASSERT_NE(numero, nullptr);
  EXPECT_GT(nota->yMin / kPunti, 19.75 + 0.05);
  EXPECT_LT(nota->yMax, numero->yMin);

  // The outlines lie around their rows: rows start at 5.3 cm and follow every 0.5 cm.
  const auto cm = [](double v) { return static_cast<int>(v / 2.54 * 36); };
  const Immagine p1 = Renderizza(pdf, 1, cartella_);
  const Immagine p2 = Renderizza(pdf, 2, cartella_);
  const Immagine p3 = Renderizza(pdf, 3, cartella_);
  ASSERT_GT(p2.larghezza, 0);
  EXPECT_TRUE(LineeColorate(p1, Rosso).empty());
  struct Segno {
    const Immagine& pagina;
    bool (*prova)(unsigned char, unsigned char, unsigned char);
    double alto;
  } const kSegni[] = {{p2, Rosso, 5.25}, {p3, Arancione, 5.75}};
  for (const Segno& s : kSegni) {
    const std::vector<int> linee = LineeColorate(s.pagina, s.prova);
    const double alto = s.alto;
    ASSERT_FALSE(linee.empty());
    EXPECT_GE(linee.front(), cm(alto) - 1);
    EXPECT_LE(linee.back(), cm(alto + 0.5) + 1);
  }
}

// The content stream of every page of a listing, object by object: its dictionary and data as
// stored.
struct ContenutoPagina {
  int oggetto = 0;
  std::string dizionario, dati;
};
std::vector<ContenutoPagina> ContenutiPagine(const std::string& pdf) {
  std::vector<ContenutoPagina> contenuti;
  static const std::regex kContenuto("/Type /Page /Parent 1 0 R /Contents ([0-9]+) 0 R");
  for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), kContenuto);
       it != std::sregex_iterator(); ++it) {
    ContenutoPagina c;
    c.oggetto = std::stoi((*it)[1]);
    const std::size_t inizio = pdf.find("\n" + std::to_string(c.oggetto) + " 0 obj\n");
    if (inizio == std::string::npos) continue;
    c.dizionario = pdf.substr(inizio, pdf.find("stream", inizio) - inizio);
    c.dati = DatiFlusso(pdf, c.oggetto).value_or("");
    contenuti.push_back(std::move(c));
  }
  return contenuti;
}

// A compressed listing has the same pages as the default one: the same page count and text, every
// page's content the same once inflated, and it can still be marked. The default writes the pages'
// contents as they are.
TEST_F(ListatoPdfTest, ListatoCompressoStessePagineDelNormale) {
  const auto scrivi = [this](const std::filesystem::path& pdf, bool compresso, bool segna = false) {
    ListatoPdf listato;
    listato.ComprimiPagine(compresso);
    IntestazioneListato intestazione = intestazione_;
    intestazione.percorsoListato = pdf;
    listato.Inizia(intestazione);
    listato.NuovoFoglio({FE, "FE", true});
    for (int riga = 4; riga <= 43; ++riga)
      listato.Riga(riga, CelleRiga{"PIVA" + std::to_string(riga)});
    listato.NuovoFoglio({NE, "NE", true});
    listato.Riga(4, CelleRiga{"NOTA4"});
    listato.Completa();
    EXPECT_EQ(listato.Pagine(), 3);
    if (segna) listato.SegnaRighe({{"FE", 33, true}}, "Righe segnate dalla prova");
  };
  const auto normale = cartella_ / "NORMALE.PDF", compresso = cartella_ / "COMPRESSO.PDF";
  scrivi(normale, false);
  scrivi(compresso, true);

  const std::vector<ContenutoPagina> prima = ContenutiPagine(LeggiFile(normale));
  const std::vector<ContenutoPagina> dopo = ContenutiPagine(LeggiFile(compresso));
  ASSERT_EQ(prima.size(), 3u);
  ASSERT_EQ(dopo.size(), prima.size());
  for (std::size_t i = 0; i < prima.size(); ++i) {
    SCOPED_TRACE(i + 1);
    EXPECT_EQ(prima[i].dizionario.find("/Filter"), std::string::npos) << prima[i].dizionario;
    EXPECT_NE(dopo[i].dizionario.find("/Filter /FlateDecode"), std::string::npos);
    EXPECT_EQ(dopo[i].oggetto, prima[i].oggetto);
    EXPECT_LT(dopo[i].dati.size(), prima[i].dati.size());
    EXPECT_EQ(InflateFlate(dopo[i].dati, 1 << 20), prima[i].dati);
  }
  EXPECT_LT(std::filesystem::file_size(compresso), std::filesystem::file_size(normale));
  EXPECT_TRUE(QpdfCheck(compresso));
  const std::string testo = TestoPagina(normale, 0, cartella_);
  EXPECT_NE(testo.find("PIVA43"), std::string::npos);
  EXPECT_NE(testo.find("NOTA4"), std::string::npos);
  EXPECT_EQ(TestoPagina(compresso, 0, cartella_), testo);

  // The marks are drawn over the compressed pages, which stay compressed.
  scrivi(compresso, true, true);
  EXPECT_TRUE(QpdfCheck(compresso));
  const std::string segnato = TestoPagina(compresso, 2, cartella_);
  EXPECT_NE(segnato.find("PIVA33"), std::string::npos) << segnato;
  EXPECT_NE(segnato.find("Righe segnate dalla prova"), std::string::npos) << segnato;
  for (const ContenutoPagina& c : ContenutiPagine(LeggiFile(compresso)))
    EXPECT_NE(c.dizionario.find("/Filter /FlateDecode"), std::string::npos) << c.oggetto;
}

TEST(ListatoPdf, SenzaRigheNessunFile) {
  CartellaTemporanea cartella;
  ListatoPdf listato;
  listato.Inizia({cartella / "L.PDF", "x.xls", "OP", "2012", kProgramma});
  listato.NuovoFoglio({FA, "FA", true});
  listato.Completa();
  EXPECT_FALSE(std::filesystem::exists(cartella / "L.PDF"));
}

TEST(ListatoPdf, CartellaInesistenteDaErroreFile) {
  CartellaTemporanea cartella;
  ListatoPdf listato;
  listato.Inizia({cartella / "manca" / "L.PDF", "x.xls", "OP", "2012", kProgramma});
  listato.NuovoFoglio({FA, "FA", true});
  EXPECT_THROW(listato.Riga(1, CelleRiga{"A"}), ErroreFile);
}

// A listing whose template cannot be used is not written: the error names the template, and an
// earlier listing at the same path stays as it was.
TEST(ListatoPdf, SenzaIlModelloNessunListato) {
  CartellaTemporanea cartella;
  // A template of one page only: the FR page (6) is not there.
  const auto unaPagina = cartella / "una.pdf";
  {
    PdfWriter w("PROVA");
    w.BeginDoc(unaPagina.string());
    w.BeginPage();
    w.EndDoc();
  }
  struct Caso {
    const char* nome;
    std::optional<std::string> modello;  // nullopt: no template file
    const char* motivo;
  } const kCasi[] = {
      {"mancante", std::nullopt, "(File non trovato)"},
      {"danneggiato", "%PDF-1.4 troncato", "(Formato di file non valido"},
      {"senza la pagina del quadro", LeggiFile(unaPagina), "(manca la pagina 6)"},
  };
  for (const Caso& c : kCasi) {
    SCOPED_TRACE(c.nome);
    const auto programma = cartella / c.nome;
    std::filesystem::create_directories(programma / "Stampe");
    if (c.modello) ScriviFile(programma / "Stampe" / "base.pdf", *c.modello);
    const auto pdf = cartella / (std::string(c.nome) + ".PDF");
    ScriviFile(pdf, "listato precedente");
    ListatoPdf listato;
    listato.Inizia({pdf, "x.xls", "OP", "2012", programma});
    listato.NuovoFoglio({FR, "FR", true});
    try {
      listato.Riga(1, CelleRiga{"01234567890"});
      ADD_FAILURE() << "nessun errore";
    } catch (const ErroreFile& e) {
      const std::string m = e.what();
      EXPECT_NE(m.find("Impossibile usare il modello di stampa " +
                       (programma / "Stampe" / "base.pdf").string() + " " + c.motivo),
                std::string::npos)
          << m;
      EXPECT_NE(m.find("il listato di controllo non è stato scritto."), std::string::npos) << m;
    }
    EXPECT_EQ(LeggiFile(pdf), "listato precedente");
  }
  // Nothing else was left in the folder: no temporary file of the listing.
  int file = 0;
  for (const auto& e : std::filesystem::recursive_directory_iterator(cartella.Percorso()))
    file += e.is_regular_file() ? 1 : 0;
  EXPECT_EQ(file, 1 + 3 + 2);  // una.pdf, the three listings, two templates
}

TEST(ListatoPdf, Importi) {
  struct Case {
    const char* cella;
    const char* atteso;
  } const kCases[] = {
      {"1234567,8", "1.234.568"}, {"0", ""},      {"0,4", ""}, {"999,5", "1.000"}, {"12", "12"},
      {"-1234", "-1.234"},        {"ABC", "ABC"}, {"", ""},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.cella);
    EXPECT_EQ(ImportoListato(c.cella), c.atteso);
  }
}

TEST(ListatoPdf, RigaNominativo) {
  CelleRiga bl{"", "", "", "", "", "", "ACME LTD", "LONDRA", "GB", "HIGH ST"};
  EXPECT_EQ(RigaNominativoListato(BL, bl), "ACME LTD -  LONDRA - GB - HIGH ST");
  CelleRiga fn{" ROSSI ", "MARIO", "M", "01/01/1970", "PARIGI", "FR"};
  EXPECT_EQ(RigaNominativoListato(FN, fn), "ROSSI MARIO - M - 01/01/1970 ( PARIGI) - FR");
  CelleRiga tu{};
  for (int i = 0; i < 8; ++i) tu[static_cast<std::size_t>(i)] = std::string(20, 'A' + i);
  EXPECT_EQ(RigaNominativoListato(TU, tu).size(), 105u);
  EXPECT_EQ(RigaNominativoListato(FA, tu), "");
}

}  // namespace
}  // namespace fcl
