// Import of template pages: our own small templates (every structure the reader must handle),
// files rewritten by qpdf and cairo, a file made by Qt's QPdfWriter, and damaged or hostile files.
#include <gtest/gtest.h>

#include <random>
#include <regex>

#include "CartellaTemporanea.h"
#include "StrumentiPdf.h"
#include "common/Errori.h"
#include "pdf/Inflate.h"
#include "pdf/PdfWriter.h"

namespace fcl {
namespace {

using test::CartellaTemporanea;
using test::CostruisciPdf;
using test::Flusso;
using test::LeggiFile;
using test::ScriviFile;

void ControllaQpdf(const std::filesystem::path& pdf) {
  if (!test::Disponibile("qpdf")) return;
  EXPECT_EQ(test::ErroriQpdf(pdf), "") << pdf;
}

// Two pages sharing one font; resources and MediaBox sit in the parent node.
std::vector<std::string> OggettiDuePagine() {
  return {"<< /Type /Catalog /Pages 2 0 R >>",
          "<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 2 /Resources << /Font << /F1 5 0 R >> >> "
          "/MediaBox [0 0 595 842] >>",
          "<< /Type /Page /Parent 2 0 R /Contents 6 0 R >>",
          "<< /Type /Page /Parent 2 0 R /Contents 7 0 R >>",
          "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>",
          Flusso("BT /F1 12 Tf 72 700 Td (PAGINA UNO) Tj ET"),
          Flusso("BT /F1 12 Tf 72 700 Td (PAGINA DUE) Tj ET")};
}
std::string ModelloDuePagine(std::string_view versione = "1.4") {
  return CostruisciPdf(OggettiDuePagine(), versione);
}
// The two-page template with object `numero` replaced.
std::string Variante(int numero, std::string testo) {
  auto oggetti = OggettiDuePagine();
  oggetti[static_cast<std::size_t>(numero - 1)] = std::move(testo);
  return CostruisciPdf(oggetti);
}

// The form XObject written for `nome` (_PDF_1.2): its object number, or 0.
int NumeroForma(const std::string& pdf, std::string_view nome) {
  std::smatch m;
  if (!std::regex_search(pdf, m, std::regex("/" + std::string(nome) + " ([0-9]+) 0 R \r")))
    return 0;
  return std::stoi(m[1]);
}

struct Documento {
  CartellaTemporanea dir;
  std::filesystem::path file = dir / "uscita.pdf";
  PdfWriter w{"Prova"};
  Documento() {
    w.SetScale(3);
    w.BeginDoc(file.string());
  }
  std::string Chiudi() {
    w.EndDoc();
    return LeggiFile(file);
  }
};

TEST(ImportPage, UnSoloFlussoFlateCopiatoComE) {
  Documento d;
  const std::string contenuto = "BT /F1 12 Tf 72 700 Td (COMPRESSO) Tj ET";
  const std::string compresso = test::Comprimi(contenuto);
  const auto modello = d.dir / "flate.pdf";
  ScriviFile(modello, CostruisciPdf({"<< /Type /Catalog /Pages 2 0 R >>",
                                     "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                                     "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] "
                                     "/Resources << /Font << /F1 5 0 R >> >> /Contents 4 0 R >>",
                                     Flusso(compresso, "/Filter /FlateDecode"),
                                     "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"}));
  d.w.BeginPage();
  d.w.ImportPage(modello, 1);
  const std::string pdf = d.Chiudi();
  EXPECT_EQ(d.w.ErrNumber(), 0) << d.w.ErrDescription();
  const int n = NumeroForma(pdf, "_PDF_1.1");
  ASSERT_GT(n, 0);
  const std::string forma = "\n" + std::to_string(n) +
                            " 0 obj\n<< /Type /XObject /Subtype /Form /FormType 1\n"
                            "   /BBox [0 0 595 842 ]\n   /Resources << /Font << /F1 ";
  EXPECT_NE(pdf.find(forma), std::string::npos);
  EXPECT_NE(
      pdf.find(" >> >>\n   /Length " + std::to_string(compresso.size()) +
               "\n   /Filter /FlateDecode\n>>\nstream\r\n" + compresso + "\rendstream\nendobj\n"),
      std::string::npos);
  // Drawn at the origin at its natural size, upside down into the downward user space.
  EXPECT_NE(pdf.find("\rq\r1 0 0 -1 0 842 cm\r/_PDF_1.1 Do\rQ"), std::string::npos);
  ControllaQpdf(d.file);
  if (test::Disponibile("pdftotext")) {
    const auto parole = test::ParolePdf(d.file);
    ASSERT_EQ(parole.size(), 1u);
    EXPECT_EQ(parole[0].testo, "COMPRESSO");
    EXPECT_NEAR(parole[0].xMin, 72, 0.5);
  }
}

TEST(ImportPage, PiuFlussiDecompressiEUnitiConAvanzamento) {
  Documento d;
  const std::string a = "BT /F1 12 Tf 72 700 Td (PRIMO) Tj ET",
                    b = "BT /F1 12 Tf 72 650 Td (SECONDO) Tj ET",
                    c = "BT /F1 12 Tf 72 600 Td (TERZO) Tj ET";
  const auto modello = d.dir / "tre.pdf";
  ScriviFile(modello,
             CostruisciPdf({"<< /Type /Catalog /Pages 2 0 R >>",
                            "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                            "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << "
                            "/Font << /F1 7 0 R >> >> /Contents [4 0 R 5 0 R 6 0 R] >>",
                            Flusso(test::Comprimi(a, 9), "/Filter /FlateDecode"),
                            Flusso(test::Comprimi(b, 1), "/Filter /FlateDecode"), Flusso(c),
                            "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"}));
  std::vector<std::string> avanzamento;
  d.w.SetAvanzamentoImport(
      [&](int i, int n) { avanzamento.push_back(std::to_string(i) + "/" + std::to_string(n)); });
  d.w.BeginPage();
  d.w.ImportPage(modello, 1);
  d.w.BeginPage();
  d.w.ImportPage(modello, 1);  // already copied: no progress
  const std::string pdf = d.Chiudi();
  EXPECT_EQ(avanzamento, (std::vector<std::string>{"1/3", "2/3", "3/3"}));
  const int n = NumeroForma(pdf, "_PDF_1.1");
  const auto dati = test::DatiFlusso(pdf, n);
  ASSERT_TRUE(dati);
  EXPECT_EQ(*dati, a + "\n" + b + "\n" + c);
  const std::size_t p = pdf.find("\n" + std::to_string(n) + " 0 obj\n");
  EXPECT_EQ(pdf.substr(p, pdf.find("endobj", p) - p).find("/Filter"), std::string::npos);
  ControllaQpdf(d.file);
}

TEST(ImportPage, RisorseEreditateEFontCondivisoCopiatoUnaVolta) {
  Documento d;
  const auto modello = d.dir / "due.pdf";
  ScriviFile(modello, ModelloDuePagine());
  d.w.BeginPage();
  d.w.ImportPage(modello, 2);  // page 2 first: it gets the lower numbers
  d.w.BeginPage();
  d.w.ImportPage(modello, 1);
  const std::string pdf = d.Chiudi();
  EXPECT_EQ(d.w.ErrNumber(), 0) << d.w.ErrDescription();
  const int due = NumeroForma(pdf, "_PDF_1.2"), uno = NumeroForma(pdf, "_PDF_1.1");
  EXPECT_GT(due, 0);
  EXPECT_GT(uno, due);
  std::size_t font = 0;
  for (std::size_t p = pdf.find("/BaseFont /Helvetica"); p != std::string::npos;
       p = pdf.find("/BaseFont /Helvetica", p + 1))
    ++font;
  EXPECT_EQ(font, 1u);
  std::smatch m;
  const std::regex risorse("/Resources << /Font << /F1 ([0-9]+) 0 R >> >>");
  std::vector<std::string> riferimenti;
  for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), risorse);
       it != std::sregex_iterator(); ++it)
    riferimenti.push_back((*it)[1]);
  ASSERT_EQ(riferimenti.size(), 2u);
  EXPECT_EQ(riferimenti[0], riferimenti[1]);
  ControllaQpdf(d.file);
  if (test::Disponibile("pdftotext")) {
    const auto testo = test::Esegui("pdftotext " + test::Q(d.file) + " -").second;
    EXPECT_LT(testo.find("PAGINA DUE"), testo.find("PAGINA UNO"));
  }
}

TEST(ImportPage, AggiornamentoIncrementaleUsaLaVersionePiuRecente) {
  Documento d;
  const auto modello = d.dir / "aggiornato.pdf";
  std::string pdf = ModelloDuePagine();
  pdf = test::AggiornaPdf(pdf, {{6, Flusso("BT /F1 12 Tf 72 700 Td (NUOVO) Tj ET")}}, 8);
  ScriviFile(modello, pdf);
  d.w.BeginPage();
  d.w.ImportPage(modello, 1);
  const std::string uscita = d.Chiudi();
  EXPECT_NE(uscita.find("(NUOVO) Tj"), std::string::npos);
  EXPECT_EQ(uscita.find("PAGINA UNO"), std::string::npos);
  ControllaQpdf(d.file);
}

TEST(ImportPage, PaginaOltreIlNumeroEStessaPaginaDueVolte) {
  Documento d;
  const auto modello = d.dir / "due.pdf";
  ScriviFile(modello, ModelloDuePagine());
  d.w.BeginPage();
  d.w.ImportPage(modello, 3);
  EXPECT_EQ(d.w.ErrNumber(), 0);
  EXPECT_THROW(d.w.ImportPage(modello, 0), Errore);
  d.w.ImportPage(modello, 1);
  d.w.ImportPage(modello, 1, 1, 2, 10, 0);  // width given: height keeps the proportions
  const std::string pdf = d.Chiudi();
  std::size_t forme = 0;
  for (std::size_t p = pdf.find("/Subtype /Form /FormType 1\n"); p != std::string::npos;
       p = pdf.find("/Subtype /Form /FormType 1\n", p + 1))
    ++forme;
  EXPECT_EQ(forme, 1u);
  // 10 cm wide: 283.465 / 595 = 0.476; height 10 x 842 / 595 = 14.151 cm, lower edge at 16.151 cm =
  // 457.831 pt.
  EXPECT_NE(pdf.find("\rq\r0.476 0 0 -0.476 28.346 457.831 cm\r/_PDF_1.1 Do\rQ"),
            std::string::npos);
  EXPECT_NE(pdf.find("\rq\r1 0 0 -1 0 842 cm\r/_PDF_1.1 Do\rQ"), std::string::npos);
  ControllaQpdf(d.file);
}

TEST(ImportPage, FileMancanteOCifrato) {
  Documento d;
  d.w.BeginPage();
  const auto mancante = d.dir / "non_esiste.pdf";
  d.w.ImportPage(mancante, 1);
  EXPECT_EQ(d.w.ErrNumber(), 53);
  EXPECT_EQ(d.w.ErrSource(), "PdfWriter.GetInfo");
  EXPECT_EQ(d.w.ErrDescription(), "File non trovato - " + mancante.string());
  if (test::Disponibile("qpdf")) {
    const auto chiaro = d.dir / "chiaro.pdf", cifrato = d.dir / "cifrato.pdf";
    ScriviFile(chiaro, ModelloDuePagine());
    ASSERT_EQ(
        test::Esegui("qpdf --encrypt u o 256 -- " + test::Q(chiaro) + " " + test::Q(cifrato)).first,
        0);
    d.w.ImportPage(cifrato, 1);
    EXPECT_EQ(d.w.ErrNumber(), 321);
    EXPECT_EQ(d.w.ErrDescription(),
              "Formato di file non valido: file PDF cifrato - " + cifrato.string());
  }
  d.w.SetFont("Arial", 10);
  d.w.DrawText(2, 2, "solo il testo");
  const std::string pdf = d.Chiudi();
  EXPECT_EQ(pdf.find("/_PDF_"), std::string::npos);
  ControllaQpdf(d.file);
}

// The same template rewritten by other tools: qpdf (object streams and cross-reference streams,
// QDF, linearized) and cairo.
TEST(ImportPage, ModelliRiscrittiDaAltriProgrammi) {
  if (!test::Disponibile("qpdf")) GTEST_SKIP() << "qpdf non disponibile";
  CartellaTemporanea dir;
  const auto base = dir / "base.pdf";
  ScriviFile(base, ModelloDuePagine("1.3"));
  struct Caso {
    std::string_view nome, comando, versione;
  } const kCasi[] = {
      {"flussi di oggetti", "qpdf --object-streams=generate", "%PDF-1.5"},
      {"qdf", "qpdf --qdf --object-streams=disable", "%PDF-1.3"},
      {"linearizzato", "qpdf --linearize", "%PDF-1.3"},
      {"compresso", "qpdf --compress-streams=y --object-streams=preserve", "%PDF-1.3"},
      {"cairo", "pdftocairo -pdf", "%PDF-1.5"},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.nome);
    if (c.nome == "cairo" && !test::Disponibile("pdftocairo")) continue;
    const auto modello = dir / (std::string(c.nome) + ".pdf");
    ASSERT_EQ(test::Esegui(std::string(c.comando) + " " + test::Q(base) + " " + test::Q(modello) +
                           " 2>&1")
                  .first,
              0);
    Documento d;
    d.w.BeginPage();
    d.w.ImportPage(modello, 2);
    d.w.BeginPage();
    d.w.ImportPage(modello, 1);
    d.Chiudi();
    EXPECT_EQ(d.w.ErrNumber(), 0) << d.w.ErrDescription();
    EXPECT_EQ(LeggiFile(d.file).substr(0, 8), c.versione);
    ControllaQpdf(d.file);
    if (test::Disponibile("pdftotext")) {
      const auto parole = test::ParolePdf(d.file);
      ASSERT_EQ(parole.size(), 4u);
      EXPECT_EQ(parole[1].testo, "DUE");
      EXPECT_EQ(parole[3].testo, "UNO");
      EXPECT_NEAR(parole[0].xMin, 72, 0.5);
      EXPECT_EQ(parole[2].pagina, 2);
    }
  }
}

TEST(ImportPage, ModelloScrittoDaQt) {
  const std::filesystem::path modello = FCL_MODELLO_QT;
  if (!std::filesystem::exists(modello)) GTEST_SKIP() << "modello Qt non generato";
  Documento d;
  d.w.SetPaperSize(0);
  d.w.BeginPage();
  d.w.ImportPage(modello, 1);
  d.w.BeginPage();
  d.w.ImportPage(modello, 2);
  d.w.SetFont("Times", 14, 1);
  d.w.DrawText(10, 5, "TESTO SOPRA");
  d.Chiudi();
  EXPECT_EQ(d.w.ErrNumber(), 0) << d.w.ErrDescription();
  ControllaQpdf(d.file);
  if (!test::Disponibile("pdftotext")) return;
  // Every word of the template lands where it lies in the template itself.
  const auto originali = test::ParolePdf(modello);
  auto importate = test::ParolePdf(d.file);
  ASSERT_FALSE(originali.empty());
  std::erase_if(importate,
                [](const test::ParolaPdf& p) { return p.testo == "TESTO" || p.testo == "SOPRA"; });
  ASSERT_EQ(importate.size(), originali.size());
  for (std::size_t i = 0; i < originali.size(); ++i) {
    SCOPED_TRACE(originali[i].testo);
    EXPECT_EQ(importate[i].testo, originali[i].testo);
    EXPECT_EQ(importate[i].pagina, originali[i].pagina);
    EXPECT_NEAR(importate[i].xMin, originali[i].xMin, 0.2);
    EXPECT_NEAR(importate[i].yMin, originali[i].yMin, 0.3);
  }
  // Cairo's rewrite of the Qt file imports too.
  if (test::Disponibile("pdftocairo")) {
    const auto cairo = d.dir / "qt-cairo.pdf";
    ASSERT_EQ(test::Esegui("pdftocairo -pdf " + test::Q(modello) + " " + test::Q(cairo)).first, 0);
    Documento e;
    e.w.BeginPage();
    e.w.ImportPage(cairo, 2);
    e.Chiudi();
    EXPECT_EQ(e.w.ErrNumber(), 0) << e.w.ErrDescription();
    ControllaQpdf(e.file);
    const auto testo = test::Esegui("pdftotext " + test::Q(e.file) + " -").second;
    EXPECT_NE(testo.find("MODELLO QT PAGINA 2"), std::string::npos) << testo;
  }
}

// Damaged and hostile templates: the import records an error or draws what it can, never
// crashes, hangs or writes an invalid file; the caller's text is always there.
TEST(ImportPage, ModelliDanneggiati) {
  const std::string buono = ModelloDuePagine();
  const std::size_t xref = buono.find("xref");
  struct Caso {
    std::string_view nome;
    std::string dati;
    bool errore;  // an error is recorded (else the page is drawn, or there is none to draw)
  };
  const std::string pagina1 = "BT /F1 12 Tf 72 700 Td (PAGINA UNO) Tj ET";
  std::vector<Caso> casi = {
      {"vuoto", "", true},
      {"non pdf", "ciao mondo", true},
      {"solo intestazione", "%PDF-1.4\n", true},
      {"troncato a meta", buono.substr(0, buono.size() / 2), true},
      {"senza startxref", buono.substr(0, xref), true},
      {"startxref fuori",
       buono.substr(0, buono.rfind("startxref")) + "startxref\n999999999\n%%EOF\n", true},
      {"startxref negativo", buono.substr(0, buono.rfind("startxref")) + "startxref\n-5\n%%EOF\n",
       true},
      {"conteggio enorme", std::regex_replace(buono, std::regex("xref\n0 8"), "xref\n0 2000000000"),
       true},
      {"primo enorme", std::regex_replace(buono, std::regex("xref\n0 8"), "xref\n4294967290 8"),
       true},
      {"prev in cerchio",
       std::regex_replace(buono, std::regex("/Size 8 "),
                          "/Size 8 /Prev " + std::to_string(xref) + " "),
       false},
      {"kids in cerchio",
       CostruisciPdf({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [2 0 R 3 0 R] >>",
                      "<< /Type /Pages /Kids [2 0 R] >>"}),
       false},
      {"parent in cerchio", Variante(2, "<< /Type /Pages /Kids [3 0 R 4 0 R] /Parent 3 0 R >>"),
       true},
      {"annidamento profondo", Variante(5, "<< /X " + std::string(100000, '[') + " >>"), true},
      {"length enorme",
       Variante(6, "<< /Length 99999999999 >>\nstream\n" + pagina1 + "\nendstream"), false},
      {"length negativa", Variante(6, "<< /Length -41 >>\nstream\n" + pagina1 + "\nendstream"),
       false},
      {"length circolare", Variante(6, "<< /Length 6 0 R >>\nstream\n" + pagina1 + "\nendstream"),
       true},
      {"senza endstream", Variante(6, "<< /Length 999 >>\nstream\n" + pagina1), true},
      {"mediabox assente", Variante(2, "<< /Type /Pages /Kids [3 0 R 4 0 R] /Resources << >> >>"),
       true},
      {"mediabox vuota", Variante(2, "<< /Type /Pages /Kids [3 0 R 4 0 R] /MediaBox [0 0 0 0] >>"),
       true},
      {"mediabox di testo",
       Variante(2, "<< /Type /Pages /Kids [3 0 R 4 0 R] /MediaBox [(a) 0 1 1] >>"), true},
      {"riferimento inesistente",
       Variante(2,
                "<< /Type /Pages /Kids [3 0 R 4 0 R] /Resources << /Font << /F1 99 0 R >> >> "
                "/MediaBox [0 0 595 842] >>"),
       false},
      {"contenuto con un riferimento mancante",
       Variante(3, "<< /Type /Page /Parent 2 0 R /Contents [6 0 R 8 0 R] >>"), false},
      {"flate non valido su piu flussi",
       CostruisciPdf({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] >>",
                      "<< /Type /Page /MediaBox [0 0 100 100] /Contents [4 0 R 4 0 R] >>",
                      Flusso("xx garbage not deflate", "/Filter /FlateDecode")}),
       true},
      {"filtro sconosciuto su piu flussi",
       CostruisciPdf({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] >>",
                      "<< /Type /Page /MediaBox [0 0 100 100] /Contents [4 0 R 4 0 R] >>",
                      Flusso("abc", "/Filter /LZWDecode")}),
       true},
      {"bomba flate",
       CostruisciPdf(
           {"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] >>",
            "<< /Type /Page /MediaBox [0 0 100 100] /Contents [4 0 R 4 0 R] >>",
            Flusso(test::Comprimi(std::string(200u << 20, ' '), 9), "/Filter /FlateDecode")}),
       true},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    Documento d;
    const auto modello = d.dir / "rotto.pdf";
    ScriviFile(modello, c.dati);
    d.w.BeginPage();
    d.w.ImportPage(modello, 1);
    d.w.ImportPage(modello, 1);
    d.w.SetFont("Arial", 10);
    d.w.DrawText(2, 2, "TESTO DEL CHIAMANTE");
    d.Chiudi();
    EXPECT_EQ(d.w.ErrNumber() != 0, c.errore) << d.w.ErrDescription();
    if (c.errore) {
      EXPECT_EQ(d.w.ErrNumber(), 321);
    }
    ControllaQpdf(d.file);
    if (test::Disponibile("pdftotext")) {
      const auto testo = test::Esegui("pdftotext " + test::Q(d.file) + " - 2>/dev/null").second;
      EXPECT_NE(testo.find("TESTO DEL CHIAMANTE"), std::string::npos);
    }
  }
}

TEST(ImportPage, ByteCasualiNonFannoDanni) {
  const std::string buono = ModelloDuePagine();
  std::mt19937 caso(12345);
  for (int giro = 0; giro < 300; ++giro) {
    SCOPED_TRACE(giro);
    std::string dati = buono;
    if (giro % 3 == 0) {
      dati.resize(caso() % dati.size());
    } else {
      for (int k = 0; k < 1 + giro % 7; ++k)
        dati[caso() % dati.size()] = static_cast<char>(caso() & 255);
    }
    Documento d;
    const auto modello = d.dir / "casuale.pdf";
    ScriviFile(modello, dati);
    d.w.BeginPage();
    d.w.ImportPage(modello, 1 + giro % 2);
    d.w.SetFont("Arial", 10);
    d.w.DrawText(2, 2, "TESTO");
    d.Chiudi();
    if (giro % 10 == 0) ControllaQpdf(d.file);
  }
}

TEST(Inflate, CasiDiRiferimento) {
  // A back-reference of distance 1 and length 10 after "a": fixed Huffman block with a literal
  // 'a' then <length 10, distance 1>; built with zlib at level 9 from 11 "a".
  const std::string undici(11, 'a');
  EXPECT_EQ(InflateFlate(test::Comprimi(undici, 9), 1000), undici);
  // Stored blocks only (level 0) are copied byte for byte.
  std::string binario;
  for (int i = 0; i < 70000; ++i) binario.push_back(static_cast<char>(i * 7));
  EXPECT_EQ(InflateFlate(test::Comprimi(binario, 0), 1u << 20), binario);
  // Truncated data, a bad block type, a limit exceeded: refused.
  const std::string compresso = test::Comprimi(binario, 6);
  EXPECT_FALSE(InflateFlate(compresso.substr(0, compresso.size() / 2), 1u << 20));
  EXPECT_FALSE(InflateFlate(std::string("\x78\x9c\x07", 3), 1000));
  EXPECT_FALSE(InflateFlate(compresso, 100));
  EXPECT_FALSE(InflateFlate("x", 100));
  // The checksum is not read: a stream without it still decodes.
  EXPECT_EQ(InflateFlate(compresso.substr(0, compresso.size() - 4), 1u << 20), binario);
}

}  // namespace
}  // namespace fcl
