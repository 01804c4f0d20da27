// Byte-level behaviour of the writer: file layout, numbering, cross-reference table, strings,
// colours, spaces, named objects and the header version.
#include "pdf/PdfWriter.h"

#include <gtest/gtest.h>

#include <ctime>
#include <optional>
#include <regex>

#include "CartellaTemporanea.h"
#include "StrumentiPdf.h"
#include "common/Errori.h"
#include "common/Interazione.h"
#include "pdf/Inflate.h"

namespace fcl {
namespace {

using test::CartellaTemporanea;
using test::LeggiFile;

std::chrono::system_clock::time_point Il15Settembre2013() {
  std::tm tm{};
  tm.tm_year = 2013 - 1900;
  tm.tm_mon = 8;
  tm.tm_mday = 15;
  tm.tm_hour = 14;
  tm.tm_min = 30;
  tm.tm_sec = 20;
  tm.tm_isdst = -1;
  return std::chrono::system_clock::from_time_t(std::mktime(&tm));
}

PdfWriter Nuovo(std::string autore = "Mario Rossi") {
  return PdfWriter(std::move(autore), Il15Settembre2013);
}

// The content lines of the page whose content stream is object `numero`, without the leading
// transformation line.
std::vector<std::string> Righe(const std::string& pdf, int numero) {
  const auto dati = test::DatiFlusso(pdf, numero);
  std::vector<std::string> righe;
  if (!dati) return righe;
  std::size_t p = dati->find('\r');
  while (p != std::string::npos) {
    const std::size_t q = dati->find('\r', p + 1);
    righe.push_back(dati->substr(p + 1, q == std::string::npos ? std::string::npos : q - p - 1));
    p = q;
  }
  return righe;
}

void ControllaQpdf(const std::filesystem::path& pdf) {
  if (!test::Disponibile("qpdf")) return;
  EXPECT_EQ(test::ErroriQpdf(pdf), "") << pdf;
}

TEST(PdfWriterDocumento, DocumentoVuotoHaLaStrutturaAttesa) {
  CartellaTemporanea dir;
  const auto file = dir / "vuoto.pdf";
  PdfWriter w = Nuovo();
  EXPECT_EQ(w.BeginDoc(file.string()), file.string());
  w.EndDoc();
  const std::string pdf = LeggiFile(file);

  EXPECT_EQ(pdf.substr(0, 11), "%PDF-1.3\n% ");
  const std::string riga2 = pdf.substr(9, pdf.find('\n', 9) - 9);
  EXPECT_TRUE(std::any_of(riga2.begin(), riga2.end(),
                          [](char c) { return static_cast<unsigned char>(c) > 127; }));
  EXPECT_EQ(test::OrdineOggetti(pdf), (std::vector<int>{4, 5, 6, 3, 2, 1, 7, 8}));
  EXPECT_NE(
      pdf.find("\n4 0 obj\n<< /Type /Page /Parent 1 0 R /Contents 5 0 R\r/MediaBox [0 0 596 842]\r"
               "/CropBox [0 0 596 842]\r/BleedBox [0 0 596 842]\r/Resources 2 0 R>>\nendobj\n"),
      std::string::npos);
  EXPECT_EQ(test::DatiFlusso(pdf, 5), "1 0 0 -1 0 842 cm \r\r0 0 0 rg\r0 0 0 RG");
  EXPECT_NE(pdf.find("\n5 0 obj\n<<\n/Length 37 >>\rstream\n1 0 0 -1 0 842 cm \r\r0 0 0 rg\r0 0 0 "
                     "RG\nendstream\nendobj\n"),
            std::string::npos);
  EXPECT_NE(pdf.find("\n3 0 obj\n<<\r/ProcSet [/PDF /Text ]\r\r>>\nendobj\n2 0 obj\n<<\r/ProcSet "
                     "[/PDF /Text ]\r\r>>\nendobj\n"
                     "1 0 obj\n<<\r/Type /Pages /Count 1\r/Kids [4 0 R ] \r>>\nendobj\n"
                     "7 0 obj\n<< /Type /Catalog\r/Pages 1 0 R\r/Metadata 6 0 "
                     "R\n/ViewerPreferences <<  >>\n>>\nendobj\n"),
            std::string::npos);
  EXPECT_NE(
      pdf.find("\n8 0 obj\n<<\r/Title (\\(senza titolo\\))\r/Author (Mario Rossi)\r/Creator (Mario "
               "Rossi)\r"
               "/Producer (Mario Rossi)\r/CreationDate (D:20130915143020Z+01'00')\r/Subject ()\r"
               "/Keywords ()\r>>\nendobj\n"),
      std::string::npos);
  EXPECT_NE(pdf.find("xref\n0 9\n0000000000 65535 f\r\n"), std::string::npos);
  EXPECT_NE(pdf.find("trailer\n<< /Size 9 /Info 8 0 R /Root 7 0 R\n>>\nstartxref\n"),
            std::string::npos);
  EXPECT_EQ(pdf.substr(pdf.size() - 6), "%%EOF\n");
  EXPECT_EQ(w.FileSize(), static_cast<long long>(pdf.size()));
  ControllaQpdf(file);
}

TEST(PdfWriterDocumento, TabellaDeiRiferimentiEStartxref) {
  CartellaTemporanea dir;
  const auto file = dir / "xref.pdf";
  PdfWriter w = Nuovo();
  w.BeginDoc(file.string());
  w.SetScale(3);
  w.BeginPage();
  w.SetFont("Arial", 8);
  w.DrawText(1, 1, "uno");
  w.BeginPage();
  w.SetFont("Times", 10, 1);
  w.DrawText(1, 1, "due");
  w.EndDoc();
  const std::string pdf = LeggiFile(file);

  const std::size_t s = pdf.rfind("startxref\n");
  const std::size_t x = std::stoul(pdf.substr(s + 10));
  ASSERT_EQ(pdf.compare(x, 5, "xref\n"), 0);
  const std::size_t intestazione = pdf.find('\n', x + 5) + 1;
  const int quanti = std::stoi(pdf.substr(x + 7));
  for (int n = 0; n < quanti; ++n) {
    SCOPED_TRACE(n);
    const std::string voce = pdf.substr(intestazione + 20 * static_cast<std::size_t>(n), 20);
    EXPECT_EQ(voce.substr(18), "\r\n");
    if (n == 0) {
      EXPECT_EQ(voce, "0000000000 65535 f\r\n");
      continue;
    }
    EXPECT_EQ(voce.substr(10, 8), " 00000 n");
    const std::size_t offset = std::stoul(voce.substr(0, 10));
    EXPECT_EQ(pdf.substr(offset, std::to_string(n).size() + 6), std::to_string(n) + " 0 obj");
  }
  EXPECT_EQ(pdf.compare(intestazione + 20 * static_cast<std::size_t>(quanti), 8, "trailer\n"), 0);
  ControllaQpdf(file);
}

TEST(PdfWriterDocumento, StringheDelDizionarioInformazioniEscapate) {
  struct Caso {
    std::string_view nome, autore, atteso;
  } const kCasi[] = {
      {"parentesi", "Rossi (S.r.l.)", "/Author (Rossi \\(S.r.l.\\))"},
      {"a capo", "Riga\nseconda\rterza", "/Author (Riga\\nseconda\\rterza)"},
      {"barra", "A\\B", "/Author (A\\\\B)"},
      {"accento", "Società & Figli", "/Author (Societ\xE0 & Figli)"},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.nome);
    CartellaTemporanea dir;
    const auto file = dir / "info.pdf";
    PdfWriter w = Nuovo(std::string(c.autore));
    w.BeginDoc(file.string());
    w.EndDoc();
    const std::string pdf = LeggiFile(file);
    EXPECT_NE(pdf.find(std::string(c.atteso) + "\r/Creator"), std::string::npos);
    // The metadata stay well-formed XML in UTF-8.
    const auto xmp = test::DatiFlusso(pdf, 6);
    ASSERT_TRUE(xmp);
    EXPECT_EQ(xmp->find("& "), std::string::npos);
    EXPECT_EQ(xmp->find("<rdf:RDF"), xmp->find("'?>\r") + 4);
    ControllaQpdf(file);
  }
}

TEST(PdfWriterDocumento, PacchettoXmp) {
  CartellaTemporanea dir;
  const auto file = dir / "xmp.pdf";
  PdfWriter w = Nuovo();
  w.BeginDoc(file.string());
  w.EndDoc();
  const auto xmp = test::DatiFlusso(LeggiFile(file), 6);
  ASSERT_TRUE(xmp);
  const std::size_t primoCr = xmp->find('\r');
  const std::string resto = xmp->substr(primoCr + 1);
  EXPECT_EQ(xmp->substr(0, primoCr), "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d' bytes='" +
                                         std::to_string(resto.size() + 64) + "'?>");
  EXPECT_NE(resto.find("\r  <pdf:Producer>Mario Rossi</pdf:Producer>\r"), std::string::npos);
  EXPECT_NE(resto.find("\r  <xap:CreateDate>D:20130915143020Z+01'00'</xap:CreateDate>\r"),
            std::string::npos);
  EXPECT_NE(resto.find("\r  <rdf:li xml:lang='x-default'>(senza titolo)</rdf:li>\r"),
            std::string::npos);
  EXPECT_EQ(resto.substr(resto.size() - 30), "</rdf:RDF>\r<?xpacket end='r'?>");
  EXPECT_EQ(std::count(resto.begin(), resto.end(), '\r'), 33);
}

TEST(PdfWriterDocumento, PagineNumerateSenzaBuchiEPaginaApertaChiusa) {
  CartellaTemporanea dir;
  const auto file = dir / "pagine.pdf";
  PdfWriter w = Nuovo();
  w.BeginDoc(file.string());
  EXPECT_EQ(w.BeginPage(), 1);
  EXPECT_EQ(w.BeginPage(), 2);
  w.EndPage();
  w.EndPage();  // no page open: nothing
  EXPECT_EQ(w.BeginPage(), 3);
  w.EndDoc();
  const std::string pdf = LeggiFile(file);
  EXPECT_NE(pdf.find("/Type /Pages /Count 3\r/Kids [4 0 R 6 0 R 8 0 R ] \r"), std::string::npos);
  ControllaQpdf(file);
}

TEST(PdfWriterDocumento, FileScrittoPer_InteroONiente) {
  CartellaTemporanea dir;
  const auto file = dir / "atomico.pdf";
  test::ScriviFile(file, "contenuto precedente");
  {
    PdfWriter w = Nuovo();
    w.BeginDoc(file.string());
    w.BeginPage();
    w.SetFont("Arial", 10);
    w.DrawText(10, 10, "mai finito");
    // destroyed without EndDoc
  }
  EXPECT_EQ(LeggiFile(file), "contenuto precedente");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Percorso()),
                          std::filesystem::directory_iterator()),
            1);
  PdfWriter w = Nuovo();
  w.BeginDoc(file.string());
  w.EndDoc();
  EXPECT_EQ(LeggiFile(file).substr(0, 8), "%PDF-1.3");
}

TEST(PdfWriterDocumento, CartellaInesistenteRegistrataPoiScritturaLancia) {
  CartellaTemporanea dir;
  const auto file = dir / "manca" / "x.pdf";
  PdfWriter w = Nuovo();
  w.BeginDoc(file.string());
  EXPECT_EQ(w.ErrNumber(), 76);
  EXPECT_EQ(w.ErrSource(), "PdfWriter.BeginDoc");
  EXPECT_EQ(w.ErrDescription(), "Impossibile trovare il percorso - " + file.string());
  w.BeginPage();
  EXPECT_THROW(w.SetFont("Arial", 10), ErroreFile);
  EXPECT_THROW(w.EndDoc(), ErroreFile);
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST(PdfWriterDocumento, NomeInventatoQuandoVuoto) {
  CartellaTemporanea dir;
  const auto prima = std::filesystem::current_path();
  std::filesystem::current_path(dir.Percorso());
  PdfWriter w = Nuovo();
  const std::string nome = w.BeginDoc("");
  w.EndDoc();
  std::filesystem::current_path(prima);
  EXPECT_TRUE(std::regex_match(nome, std::regex("~[0-9A-F]+\\.pdf"))) << nome;
  EXPECT_TRUE(std::filesystem::exists(dir / nome));
}

struct ApriRegistrato : ApriDocumento {
  std::vector<std::filesystem::path> aperti;
  void Apri(const std::filesystem::path& p) override { aperti.push_back(p); }
};

TEST(PdfWriterDocumento, OpenDocApreIlFileScritto) {
  CartellaTemporanea dir;
  const auto file = dir / "apri.pdf";
  PdfWriter w = Nuovo();
  ApriRegistrato apri;
  w.BeginDoc(file.string());
  w.OpenDoc(apri);  // not finished yet: nothing to open
  EXPECT_TRUE(apri.aperti.empty());
  w.EndDoc();
  w.OpenDoc(apri);
  EXPECT_EQ(apri.aperti, std::vector<std::filesystem::path>{file});
}

TEST(PdfWriterDisegno, ColoriDelTestoEPaginaNuovaInNero) {
  CartellaTemporanea dir;
  const auto file = dir / "colori.pdf";
  PdfWriter w = Nuovo();
  w.BeginDoc(file.string());
  w.SetScale(3);
  w.BeginPage();
  w.SetFont("Arial", 12, 1);
  w.SetColorText("Blue");
  w.DrawText(2, 3, "Ab(c)");
  w.SetColorText("");      // ignored
  w.SetColorText("Bleu");  // no colour: ignored
  w.DrawText(2, 4, "x");
  w.BeginPage();
  w.DrawText(2, 3, "nero");
  w.EndDoc();
  const std::string pdf = LeggiFile(file);
  // Object 4 is the font; page 1 is 5 and 6, page 2 is 7 and 8.
  EXPECT_EQ(
      Righe(pdf, 6),
      (std::vector<std::string>{
          "", "0 0 0 rg", "0 0 0 RG", "0 0 1 rg", "BT", "/Arial,Bold 12 Tf 12 TL",
          "1 0 0 -1 56.693 85.039 Tm", "(Ab\\(c\\)) Tj", "ET", "0 0 0 rg", "0 0 1 rg", "BT",
          "/Arial,Bold 12 Tf 12 TL", "1 0 0 -1 56.693 113.386 Tm", "(x) Tj", "ET", "0 0 0 rg"}));
  EXPECT_EQ(Righe(pdf, 8)[3], "0 0 0 rg");
  ControllaQpdf(file);
}

TEST(PdfWriterDisegno, ColoreDiRiempimentoELinea) {
  struct Caso {
    std::string_view colore, riempimento;
  } const kCasi[] = {
      {"black", "0 0 0 rg"},
      {" Black ", "0 0 0 rg"},
      {"#000000", "0 0 0 rg"},
      {"Blue", "0 0 1 rg"},
      {"gray", "0.502 0.502 0.502 rg"},
      {"#ff7f00", "1 0.498 0 rg"},
      {"%50", "0.502 0.502 0.502 rg"},
      {"@0;0;0;100", "0 0 0 rg"},
      {"@255;0;0", "1 0 0 rg"},
      {"@0;100;100;0", "1 0 0 rg"},
      {"Red;Blue", "1 0 0 rg"},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.colore);
    CartellaTemporanea dir;
    const auto file = dir / "c.pdf";
    PdfWriter w = Nuovo();
    w.BeginDoc(file.string());
    w.BeginPage();
    w.SetColorFill(c.colore);
    w.SetColorLine(c.colore);
    w.EndDoc();
    const auto righe = Righe(LeggiFile(file), 5);
    ASSERT_EQ(righe.size(), 5u);
    EXPECT_EQ(righe[3], c.riempimento);
    EXPECT_EQ(righe[4], std::string(c.riempimento.substr(0, c.riempimento.size() - 2)) + "RG");
  }
}

TEST(PdfWriterDisegno, SpaziLocali) {
  struct Caso {
    std::string_view nome;
    float x, y, sx, sy, rot;
    std::vector<std::string> righe;
  } const kCasi[] = {
      {"listato", 29.7f, 0, 1, 1, 270, {"q", "1 0 0 1 841.89 0 cm", "0 1 -1 0 0 0 cm", "Q"}},
      {"identita", 0, 0, 1, 1, 0, {"q", "Q"}},
      {"giro intero", 0, 0, 1, 1, 360, {"q", "Q"}},
      {"novanta", 0, 0, 1, 1, 90, {"q", "0 -1 1 0 0 0 cm", "Q"}},
      {"scala", 1, 2, 2, 0.5f, 0, {"q", "2 0 0 0.5 28.346 56.693 cm", "Q"}},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.nome);
    CartellaTemporanea dir;
    const auto file = dir / "s.pdf";
    PdfWriter w = Nuovo();
    w.SetScale(3);
    w.SetPaperSize(1);
    w.BeginDoc(file.string());
    w.BeginPage();
    w.BeginSpace(c.x, c.y, c.sx, c.sy, c.rot);
    EXPECT_EQ(w.GetX(), 0);
    w.EndSpace();
    w.EndDoc();
    const auto righe = Righe(LeggiFile(file), 5);
    EXPECT_EQ(std::vector<std::string>(righe.begin() + 3, righe.end()), c.righe);
  }
}

TEST(PdfWriterDisegno, UnitaEFormati) {
  PdfWriter w = Nuovo();
  EXPECT_FLOAT_EQ(w.GetPageWidth(false), 596);
  w.SetScale(3);
  w.SetPaperSize(1);
  EXPECT_NEAR(w.GetPageWidth(false), 29.70, 0.005);
  EXPECT_NEAR(w.GetPageHeight(true), 596 / 28.346457, 1e-4);
  w.SetPaperSize(0);
  EXPECT_NEAR(w.GetPageWidth(false) * 28.346457, 596, 1e-3);  // 596, not 595
  w.SetPaperSize(99);                                         // unknown: unchanged
  EXPECT_NEAR(w.GetPageHeight(false) * 28.346457, 842, 1e-3);
  w.SetPaperSize(-8);
  EXPECT_NEAR(w.GetPageHeight(false) * 28.346457, 3371, 1e-3);
  w.SetScale(2);
  w.SetScale(7);  // unknown: millimetres stay
  w.SetXY(10, 0);
  EXPECT_NEAR(w.GetX(), 10, 1e-5);
  w.SetScale(0);
  EXPECT_NEAR(w.GetX(), 28.346455, 1e-4);
}

TEST(PdfWriterDisegno, TotPagineSuonatoPrimaDiEssereRegistrato) {
  CartellaTemporanea dir;
  const auto file = dir / "totale.pdf";
  PdfWriter w = Nuovo();
  w.SetScale(3);
  w.SetPaperSize(1);
  w.BeginDoc(file.string());
  for (int p = 1; p <= 3; ++p) {
    w.BeginPage();
    w.PlayObject("TotPagine");
    w.SetFont("Arial", 10, 1);
    w.DrawText(15.7f, 20.35f, std::to_string(p));
  }
  w.BeginObject("TotPagine", 7);
  w.SetColorText("Black");
  w.SetFont("Arial", 10, 1);
  w.DrawText(16.3f, 20.35f, "  di " + std::to_string(w.PageCount()));
  w.EndObject();
  w.EndDoc();
  const std::string pdf = LeggiFile(file);

  std::size_t volte = 0;
  for (std::size_t p = pdf.find("/Name /TotPagine"); p != std::string::npos;
       p = pdf.find("/Name /TotPagine", p + 1))
    ++volte;
  EXPECT_EQ(volte, 1u);
  std::smatch m;
  ASSERT_TRUE(std::regex_search(
      pdf, m,
      std::regex("\n([0-9]+) 0 obj\n<< /Type /XObject /Subtype /Form /FormType 1 /Name /TotPagine\r"
                 "/BBox \\[-1684 -1192 1684 1192\\]\r/Matrix \\[1 0 0 1 0 0\\]\n")));
  EXPECT_NE(pdf.find("/XObject <<\r/TotPagine " + m[1].str() + " 0 R \r\r>>"), std::string::npos);
  for (const int contenuto : {6, 8, 10}) EXPECT_EQ(Righe(pdf, contenuto)[3], "q /TotPagine Do Q");
  ControllaQpdf(file);
  if (test::Disponibile("pdftotext")) {
    const auto testo = test::Esegui("pdftotext -layout " + test::Q(file) + " -").second;
    EXPECT_EQ(std::count(testo.begin(), testo.end(), '\f'), 3);
    for (const char* atteso : {"1 +di 3", "2 +di 3", "3 +di 3"})
      EXPECT_TRUE(std::regex_search(testo, std::regex(atteso))) << testo;
  }
}

TEST(PdfWriterDisegno, OggettiSuonatiDalleOpzioni) {
  struct Caso {
    long opzioni;
    std::vector<bool> suonato;  // pages 2..5 (the object is recorded during page 1)
  } const kCasi[] = {
      {7, {true, true, true, true}},      {1, {false, false, false, false}},
      {4, {false, true, false, true}},    {2, {true, false, true, false}},
      {7 | 16, {true, true, true, true}}, {0, {false, false, false, false}},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.opzioni);
    CartellaTemporanea dir;
    const auto file = dir / "o.pdf";
    PdfWriter w = Nuovo();
    w.BeginDoc(file.string());
    w.BeginPage();
    w.BeginObject("Testata", c.opzioni);
    w.SetFont("Arial", 8);
    w.DrawText(10, 10, "testata");
    w.EndObject();
    for (int p = 2; p <= 5; ++p) w.BeginPage();
    w.EndDoc();
    const std::string pdf = LeggiFile(file);
    // Font 4, object 5, page 1 = 6/7, pages 2..5 = 8/9 ... 14/15.
    for (int p = 2; p <= 5; ++p) {
      const auto righe = Righe(pdf, 9 + 2 * (p - 2));
      const bool c1 = std::find(righe.begin(), righe.end(), "q /Testata Do Q") != righe.end();
      EXPECT_EQ(c1, c.suonato[static_cast<std::size_t>(p - 2)]) << "pagina " << p;
    }
    ControllaQpdf(file);
  }
}

TEST(PdfWriterDisegno, NomeSuonatoMaiRegistratoRestaValido) {
  CartellaTemporanea dir;
  const auto file = dir / "orfano.pdf";
  PdfWriter w = Nuovo();
  w.BeginDoc(file.string());
  w.BeginPage();
  w.PlayObject("TotPagine");
  w.EndDoc();
  const std::string pdf = LeggiFile(file);
  EXPECT_NE(pdf.find("/Name /TotPagine"), std::string::npos);
  ControllaQpdf(file);
}

TEST(PdfWriterDocumento, VersioneDellIntestazioneDaiModelli) {
  struct Caso {
    std::string_view versioneModello, attesa;
  } const kCasi[] = {
      {"1.4", "%PDF-1.4"}, {"1.3", "%PDF-1.3"}, {"1.2", "%PDF-1.3"}, {"1.5", "%PDF-1.5"}};
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.versioneModello);
    CartellaTemporanea dir;
    const auto modello = dir / "m.pdf";
    test::ScriviFile(
        modello,
        test::CostruisciPdf(
            {"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
             "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 100] /Contents 4 0 R >>",
             test::Flusso("0 0 100 50 re f")},
            c.versioneModello));
    const auto file = dir / "v.pdf";
    PdfWriter w = Nuovo();
    w.BeginDoc(file.string());
    w.BeginPage();
    w.ImportPage(modello, 1);
    w.EndDoc();
    const std::string pdf = LeggiFile(file);
    EXPECT_EQ(pdf.substr(0, 9), std::string(c.attesa) + "\n");
    EXPECT_EQ(pdf.substr(9, 2), "% ");
    ControllaQpdf(file);
  }
}

// A stream object of a file as a reader gets it: its dictionary, and its data inflated when the
// dictionary names the Flate filter.
struct FlussoLetto {
  std::string dizionario;
  bool compresso = false;
  std::optional<std::string> dati;  // nullopt: the data does not inflate
};
std::optional<FlussoLetto> LeggiFlusso(const std::string& pdf, int numero) {
  const std::size_t inizio = pdf.find("\n" + std::to_string(numero) + " 0 obj\n");
  if (inizio == std::string::npos) return std::nullopt;
  const std::size_t flusso = pdf.find("stream", inizio);
  if (flusso == std::string::npos || flusso > pdf.find("endobj", inizio)) return std::nullopt;
  FlussoLetto f;
  f.dizionario = pdf.substr(inizio, flusso - inizio);
  f.compresso = f.dizionario.find("/Filter /FlateDecode") != std::string::npos;
  f.dati = test::DatiFlusso(pdf, numero);
  if (f.dati && f.compresso) f.dati = InflateFlate(*f.dati, 1 << 20);
  return f;
}

// Compression changes how the streams of pages and named objects are stored, nothing else: the same
// objects in the same order, the same content once inflated, a valid cross-reference table. A
// level out of range changes nothing, and level 0 writes the streams as they are again.
TEST(PdfWriterDocumento, CompressioneDeiContenuti) {
  CartellaTemporanea dir;
  const auto scrivi = [&dir](const std::string& nome, const std::vector<int>& livelli) {
    const auto file = dir / nome;
    PdfWriter w = Nuovo();
    for (const int l : livelli) w.SetCompression(l);
    w.SetScale(3);
    w.BeginDoc(file.string());
    for (int p = 1; p <= 3; ++p) {
      w.BeginPage();
      w.PlayObject("TotPagine");
      w.SetFont("Arial", 8);
      // Enough lines that a page's stream is larger than the first guess of its compressed size.
      for (int riga = 0; riga < 40 * p; ++riga)
        w.DrawText(1, 1 + 0.4f * static_cast<float>(riga % 60), "riga " + std::to_string(riga));
    }
    w.BeginObject("TotPagine", 7);
    w.DrawText(16.3f, 20.35f, "  di 3");
    w.EndObject();
    w.EndDoc();
    return file;
  };
  const auto riferimento = scrivi("normale.pdf", {});
  const std::string normale = LeggiFile(riferimento);
  struct Caso {
    const char* nome;
    std::vector<int> livelli;
    bool compresso;
  } const kCasi[] = {
      {"livello 1", {1}, true},
      {"livello 9", {9}, true},
      {"livello 10 ignorato", {10}, false},
      {"livello -1 ignorato", {-1}, false},
      {"1 poi 0", {1, 0}, false},
      {"0 poi 6", {0, 6}, true},
  };
  for (const Caso& c : kCasi) {
    SCOPED_TRACE(c.nome);
    const auto file = scrivi(std::string(c.nome) + ".pdf", c.livelli);
    const std::string pdf = LeggiFile(file);
    if (!c.compresso) {
      EXPECT_EQ(pdf, normale);
      continue;
    }
    EXPECT_LT(pdf.size(), normale.size());
    ASSERT_EQ(test::OrdineOggetti(pdf), test::OrdineOggetti(normale));
    int compressi = 0;
    for (const int n : test::OrdineOggetti(normale)) {
      SCOPED_TRACE(n);
      const auto prima = LeggiFlusso(normale, n), dopo = LeggiFlusso(pdf, n);
      ASSERT_EQ(prima.has_value(), dopo.has_value());
      if (!prima) continue;
      EXPECT_FALSE(prima->compresso);
      EXPECT_EQ(dopo->dati, prima->dati);
      // The pages and TotPagine are compressed; the metadata stays readable.
      EXPECT_EQ(dopo->compresso, prima->dizionario.find("/Type /Metadata") == std::string::npos);
      compressi += dopo->compresso ? 1 : 0;
    }
    EXPECT_EQ(compressi, 4);
    ControllaQpdf(file);
  }
}

}  // namespace
}  // namespace fcl
