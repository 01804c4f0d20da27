// Numbers, fonts and metrics, text lines and text boxes.
#include <gtest/gtest.h>

#include <limits>
#include <regex>

#include "CartellaTemporanea.h"
#include "StrumentiPdf.h"
#include "pdf/FontStandard.h"
#include "pdf/FormatoPdf.h"
#include "pdf/LarghezzeFont.h"
#include "pdf/PdfWriter.h"

namespace fcl {
namespace {

using test::CartellaTemporanea;
using test::LeggiFile;

TEST(FormatoPdf, Numeri) {
  struct Caso {
    double valore;
    std::string_view atteso;
  } const kCasi[] = {
      {0.5, "0.5"},
      {-2.835, "-2.835"},
      {842, "842"},
      {28.3464567, "28.346"},
      {841.889764, "841.89"},
      {0.0004, "0"},
      {-0.0004, "0"},
      {-1e-17, "0"},
      {0.0005, "0.001"},
      {-0.0005, "-0.001"},
      {1234567.25, "1234567.25"},
      {9.768, "9.768"},
      {100, "100"},
      {-0.25, "-0.25"},
      // Beyond the range of a float, as for an infinity: nothing a page could draw.
      {1e300, "0"},
      {-1e39, "0"},
      {std::numeric_limits<double>::infinity(), "0"},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.valore);
    EXPECT_EQ(NumeroPdf(c.valore), c.atteso);
  }
}

TEST(FormatoPdf, StringheENomi) {
  EXPECT_EQ(StringaPdf("a\\b(c)d\re\nf"), "(a\\\\b\\(c\\)d\\re\\nf)");
  EXPECT_EQ(NomePdf("Arial,Bold"), "Arial,Bold");
  EXPECT_EQ(NomePdf("Tot Pagine#(1)"), "Tot#20Pagine#23#281#29");
}

TEST(FontStandard, NomiRisorsaEAlias) {
  struct Caso {
    std::string_view nome;
    long stile, codifica;
    std::string_view risorsa, base;
  } const kCasi[] = {
      {"times new roman", 1, 0, "TimesNewRoman,Bold", "TimesNewRoman,Bold"},
      {"Times", 1, 0, "TimesNewRoman,Bold", "TimesNewRoman,Bold"},
      {"TIMESNEWROMAN", 1, 0, "TimesNewRoman,Bold", "TimesNewRoman,Bold"},
      {"Helvetica", 0, 0, "Arial", "Arial"},
      {"Courier", 3, 0, "CourierNew,BoldItalic", "CourierNew,BoldItalic"},
      {"Symbol", 1, 0, "Symbol", "Symbol"},
      {"Arial", 2 | 4 | 16, 0, "Arial,Italic", "Arial,Italic"},
      {"Verdana", 1, 0, "Verdana,Bold", "Arial,Bold"},
      {"Arial", 0, 1, "MACArial", "Arial"},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.nome);
    const FontStandard f = FontStandard::Risolvi(c.nome, c.stile, c.codifica);
    EXPECT_EQ(f.nomeRisorsa, c.risorsa);
    EXPECT_EQ(f.nomeBase, c.base);
  }
}

TEST(FontStandard, LarghezzeDiCampione) {
  namespace l = larghezze;
  struct Caso {
    std::string_view nome;
    const std::array<std::uint16_t, 256>& tabella;
    unsigned char codice;
    int larghezza;
  } const kCasi[] = {
      {"Arial blank", l::kArial, ' ', 278},
      {"Arial 0", l::kArial, '0', 556},
      {"Arial 9", l::kArial, '9', 556},
      {"Arial W", l::kArial, 'W', 944},
      {"Arial i", l::kArial, 'i', 222},
      {"Arial euro", l::kArial, 128, 556},
      {"Arial bold i", l::kArialBold, 'i', 278},
      {"Arial bold W", l::kArialBold, 'W', 944},
      {"Times blank", l::kTimes, ' ', 250},
      {"Times W", l::kTimes, 'W', 944},
      {"Arial 0-31", l::kArial, 5, 272},
      {"Arial italic 0-31", l::kArialItalic, 5, 259},
      {"Arial bold 0-31", l::kArialBold, 31, 311},
      {"Arial bold italic 0-31", l::kArialBoldItalic, 0, 311},
      {"Times 0-31", l::kTimesBold, 7, 333},
      {"Arial 127", l::kArial, 127, 750},
      {"Arial 157", l::kArialBold, 157, 750},
      {"Times 141", l::kTimesItalic, 141, 778},
      {"Arial macron", l::kArial, 175, 552},
      {"Times macron", l::kTimes, 175, 500},
      {"plusminus", l::kTimesBold, 177, 549},
      {"mu", l::kArialBold, 181, 576},
      {"divide", l::kArial, 247, 549},
      {"Symbol 0", l::kSymbol, 0, 332},
      {"Symbol 30", l::kSymbol, 30, 600},
      {"Symbol 127", l::kSymbol, 127, 600},
      {"Symbol 255", l::kSymbol, 255, 600},
      {"Symbol alpha", l::kSymbol, 'a', 631},
      {"Dingbats 0", l::kZapfDingbats, 0, 600},
      {"Dingbats 127", l::kZapfDingbats, 127, 0},
      {"Dingbats 150", l::kZapfDingbats, 150, 0},
      {"Dingbats a1", l::kZapfDingbats, '!', 974},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.nome);
    EXPECT_EQ(c.tabella[c.codice], c.larghezza);
  }
  // Helvetica and Helvetica-Oblique share their metrics from the blank on.
  for (int c = 32; c < 256; ++c) EXPECT_EQ(l::kArial[c], l::kArialItalic[c]) << c;
}

TEST(PdfWriterTesto, MisureDelTesto) {
  PdfWriter w("x");
  EXPECT_EQ(w.TextHeight(), 0);
  EXPECT_EQ(w.TextLength("abc"), 0);
}

TEST(PdfWriterTesto, MisureConFont) {
  CartellaTemporanea dir;
  PdfWriter w("x");
  w.BeginDoc((dir / "m.pdf").string());
  w.SetFont("Arial", 0);
  EXPECT_FLOAT_EQ(w.TextLength(" "), 2.78f);  // size 0 at first: 10
  w.SetFont("Arial", 8);
  EXPECT_NEAR(w.TextLength("1.234,56"), 31.136, 1e-4);
  EXPECT_EQ(w.TextLength(""), 0);
  EXPECT_NEAR(w.TextLength("€"), 556 * 8 / 1000.0, 1e-5);
  EXPECT_NEAR(w.TextLength("ǅ"), 556 * 8 / 1000.0, 1e-5);  // outside Windows-1252: "?"
  w.SetFont("Times", 0, 1);                                // size 0 keeps 8
  EXPECT_NEAR(w.TextLength(" "), 2.0, 1e-5);
  w.SetScale(3);
  w.SetFont("Arial", 8);
  EXPECT_NEAR(w.TextLength("1.234,56"), 1.0984, 1e-4);
  EXPECT_NEAR(w.TextHeight(), 0.3446, 1e-4);
  w.EndDoc();
  // The same font asked three ways is written once.
  CartellaTemporanea dir2;
  PdfWriter v("x");
  v.BeginDoc((dir2 / "f.pdf").string());
  v.SetFont("times new roman", 10, 1);
  v.SetFont("Times", 10, 1);
  v.SetFont("TIMESNEWROMAN", 10, 1);
  v.SetFont("Symbol", 10, 1);
  v.EndDoc();
  const std::string pdf = LeggiFile(dir2 / "f.pdf");
  EXPECT_NE(pdf.find("4 0 obj\n<< /Type /Font /Subtype /Type1 /Name /TimesNewRoman,Bold /BaseFont "
                     "/TimesNewRoman,Bold "
                     "/FirstChar 0 /LastChar 255\n/Encoding << /Type /Encoding /BaseEncoding "
                     "/WinAnsiEncoding>>\n >>\nendobj\n"
                     "5 0 obj\n<< /Type /Font /Subtype /Type1 /Name /Symbol /BaseFont /Symbol "
                     "/FirstChar 0 /LastChar 255\n >>\nendobj\n"),
            std::string::npos);
  EXPECT_NE(pdf.find("/Font <<\r/TimesNewRoman,Bold 4 0 R /Symbol 5 0 R >>\r"), std::string::npos);
}

// A document of one A4 page in centimetres: the test draws, then reads back the content lines.
class Pagina {
 public:
  Pagina() : w_("x") {
    w_.SetScale(3);
    w_.BeginDoc(file().string());
    w_.BeginPage();
  }
  PdfWriter& W() { return w_; }
  std::filesystem::path file() const { return dir_ / "p.pdf"; }
  // Content lines after the page's colour lines; the content stream is the last page object.
  std::vector<std::string> Righe() {
    w_.EndDoc();
    const std::string pdf = LeggiFile(file());
    const std::size_t k = pdf.find("/Kids [");
    const int pagina = std::stoi(pdf.substr(k + 7));
    const auto dati = test::DatiFlusso(pdf, pagina + 1);
    std::vector<std::string> righe;
    std::size_t p = dati->find('\r');
    while (p != std::string::npos) {
      const std::size_t q = dati->find('\r', p + 1);
      righe.push_back(dati->substr(p + 1, q == std::string::npos ? std::string::npos : q - p - 1));
      p = q;
    }
    return std::vector<std::string>(righe.begin() + 3, righe.end());
  }
  // The lines that end with `fine` (" Tm") or, for ") Tj", the text-showing lines.
  static std::vector<std::string> Solo(const std::vector<std::string>& righe,
                                       std::string_view fine) {
    std::vector<std::string> r;
    for (const auto& s : righe) {
      const bool termina =
          s.size() >= fine.size() && s.compare(s.size() - fine.size(), fine.size(), fine) == 0;
      if (termina || (fine == " Tj" && s.find(") Tj") != std::string::npos)) r.push_back(s);
    }
    return r;
  }

 private:
  CartellaTemporanea dir_;
  PdfWriter w_;
};

TEST(PdfWriterTesto, AllineamentiDiDrawText) {
  struct Caso {
    long align;
    std::string_view tm;
  } const kCasi[] = {
      {0, "1 0 0 -1 283.465 141.732 Tm"}, {1, "1 0 0 -1 283.465 141.732 Tm"},
      {3, "1 0 0 -1 283.465 141.732 Tm"}, {8, "1 0 0 -1 283.465 141.732 Tm"},
      {2, "1 0 0 -1 270.121 141.732 Tm"}, {4, "1 0 0 -1 276.793 141.732 Tm"},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.align);
    Pagina p;
    p.W().SetFont("Arial", 8);
    p.W().DrawText(10, 5, "123", c.align);
    const float x = p.W().GetX();
    EXPECT_EQ(p.Righe(),
              (std::vector<std::string>{"0 0 0 rg", "BT", "/Arial 8 Tf 8 TL", std::string(c.tm),
                                        "(123) Tj", "ET", "0 0 0 rg"}));
    EXPECT_NEAR(x * 28.346457, 283.465 + 13.344, 1e-2);  // from the x asked, whatever the alignment
  }
}

TEST(PdfWriterTesto, TestoDiSoliSpaziNonScriveNulla) {
  Pagina p;
  p.W().SetFont("Arial", 8);
  p.W().DrawText(3, 4, "   ");
  EXPECT_NEAR(p.W().GetX(), 3, 1e-5);
  EXPECT_NEAR(p.W().GetY(), 4, 1e-5);
  EXPECT_TRUE(p.Righe().empty());
}

TEST(PdfWriterTesto, SottolineatoBarratoSopralineato) {
  Pagina p;
  p.W().SetScale(0);
  p.W().SetFont("Arial", 16, 4 | 8 | 16);
  p.W().SetColorText("Red");
  p.W().DrawText(100, 200, "ii");  // 2 x 222 x 16 / 1000 = 7.104
  EXPECT_EQ(p.Righe(),
            (std::vector<std::string>{
                "1 0 0 rg", "BT", "/Arial 16 Tf 16 TL", "1 0 0 -1 100 200 Tm", "(ii) Tj", "ET",
                "0 0 0 rg", "q", "1 0 0 RG", "1 w 1 0 0 1 100 200 cm", "0 2 m 7.104 2 l S",
                "0 -12.8 m 7.104 -12.8 l S", "0 -4.8 m 7.104 -4.8 l S", "0 0 0 RG", "Q"}));
}

TEST(PdfWriterTesto, CellaDelListato) {
  // Arial 8 in a box 0.4 cm high: one line, baseline 8 points below the top of the box.
  Pagina p;
  p.W().SetFont("Arial", 8);
  const std::string resto = p.W().DrawTextBox(2, 5.3f, 3, 0.4f, "ROSSI", 0, 1, 1);
  EXPECT_EQ(resto, "");
  EXPECT_NEAR(p.W().GetY(), 5.3 + 9.768 / 28.346457, 1e-4);
  const auto tm = Pagina::Solo(p.Righe(), " Tm");
  EXPECT_EQ(tm,
            (std::vector<std::string>{"1 0 0 -1 56.693 158.236 Tm"}));  // 5.3 cm = 150.236 pt, + 8
}

TEST(PdfWriterTesto, ImportoAllineatoADestraFinisceAlBordo) {
  Pagina p;
  p.W().SetFont("Arial", 8);
  p.W().DrawTextBox(6.5f, 5.3f, 1.4f, 0.4f, "1.234", 0.2f, 2, 1);
  // (6.5 + 1.4) cm = 223.937 pt; "1.234" = 4 x 556 + 278 = 2502 -> 20.016 pt; the indent is
  // measured and added back, so the text still ends at the edge.
  EXPECT_EQ(Pagina::Solo(p.Righe(), " Tm"),
            (std::vector<std::string>{"1 0 0 -1 203.921 158.236 Tm"}));
}

TEST(PdfWriterTesto, ScatolaCheNonBastaRestituisceIlResto) {
  Pagina p;
  p.W().SetFont("Arial", 8);
  // 3 cm = 85.04 pt; each "parola" is 30.22 pt.
  const std::string resto =
      p.W().DrawTextBox(1, 1, 3, 0.4f, "parola parola parola parola\r\nsecondo", 0.5f, 1, 1);
  EXPECT_EQ(resto, std::string("\0parola parola\r\nsecondo", 23));
  const std::string resto2 = p.W().DrawTextBox(1, 2, 3, 0, resto, 0.5f, 1, 1);
  EXPECT_EQ(resto2, "");
  const auto righe = p.Righe();
  const auto tj = Pagina::Solo(righe, " Tj");
  EXPECT_EQ(tj,
            (std::vector<std::string>{"(parola parola) Tj", "(parola parola) Tj", "(secondo) Tj"}));
  const auto tm = Pagina::Solo(righe, " Tm");
  // First box: indent 0.5 cm on its first line; second box: the continued line has no indent,
  // the new paragraph has it.
  EXPECT_EQ(tm, (std::vector<std::string>{"1 0 0 -1 42.52 36.346 Tm", "1 0 0 -1 28.346 64.693 Tm",
                                          "1 0 0 -1 42.52 74.461 Tm"}));
}

TEST(PdfWriterTesto, ParagrafiVuotiEFinali) {
  struct Caso {
    std::string_view nome, testo;
    std::vector<std::string> tj;
    int righe;
  } const kCasi[] = {
      {"riga vuota in mezzo", "A\r\n\r\nB", {"(A) Tj", "(B) Tj"}, 3},
      {"a capo finale", "A\r\n", {"(A) Tj"}, 2},
      {"vuoto", "", {}, 1},
      {"due spazi restano", "a  b", {"(a  b) Tj"}, 1},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.nome);
    Pagina p;
    p.W().SetFont("Arial", 8);
    EXPECT_EQ(p.W().DrawTextBox(1, 1, 10, 0, c.testo), "");
    EXPECT_NEAR(p.W().GetY(), 1 + c.righe * 9.768 / 28.346457, 1e-4);
    EXPECT_EQ(Pagina::Solo(p.Righe(), " Tj"), c.tj);
  }
}

TEST(PdfWriterTesto, GiustificatoTwSoloSulleRigheNonUltime) {
  Pagina p;
  p.W().SetFont("Times", 10, 1);
  p.W().DrawTextBox(4.1f, 14.2f, 3, 1.5f, "uno  due tre quattro cinque sei sette otto nove dieci",
                    0, 64, 1);
  const auto tj = Pagina::Solo(p.Righe(), " Tj");
  ASSERT_EQ(tj.size(), 3u);
  EXPECT_TRUE(std::regex_match(tj[0], std::regex("[0-9.]+ Tw \\(uno due tre quattro\\) Tj 0 Tw")))
      << tj[0];
  EXPECT_TRUE(std::regex_match(tj[1], std::regex("[0-9.]+ Tw \\(cinque sei sette otto\\) Tj 0 Tw")))
      << tj[1];
  EXPECT_EQ(tj[2], "(nove dieci) Tj");
}

TEST(PdfWriterTesto, GiustificatoConUnaParolaComeSinistra) {
  Pagina p;
  p.W().SetFont("Arial", 8);
  p.W().DrawTextBox(1, 1, 5, 0, "parola\r\naltra riga", 0, 64, 1);
  const auto tj = Pagina::Solo(p.Righe(), " Tj");
  EXPECT_EQ(tj, (std::vector<std::string>{"(parola) Tj", "(altra riga) Tj"}));
}

TEST(PdfWriterTesto, ComprimiEAdatta) {
  // "1.234" in Arial 8 is 20.016 points = 0.70612 cm.
  struct Caso {
    std::string_view nome;
    long flags;
    float larghezza;
    double tz;              // 0: no Tz
    std::string_view dopo;  // what follows ") Tj"
  } const kCasi[] = {
      {"comprimi stretto", 128, 0.5f, 0.5 * 100 / 0.70612, " 100 Tz"},
      {"comprimi largo", 128, 3, 0, ""},
      {"adatta stretto", 256, 0.5f, 0.5 * 100 / 0.70612, " 100 Tz"},
      {"adatta largo", 256, 3, 3 * 100 / 0.70612, "  100 Tz"},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.nome);
    Pagina p;
    p.W().SetFont("Arial", 8);
    p.W().DrawTextBox(1, 1, c.larghezza, 0, "1.234", 0, c.flags, 1);
    const auto tj = Pagina::Solo(p.Righe(), std::string(") Tj") + std::string(c.dopo));
    ASSERT_EQ(tj.size(), 1u);
    std::smatch m;
    if (c.tz == 0) {
      EXPECT_EQ(tj[0], "(1.234) Tj");
    } else {
      ASSERT_TRUE(std::regex_match(tj[0], m, std::regex("([0-9.]+) Tz \\(1\\.234\\) Tj.*")))
          << tj[0];
      EXPECT_NEAR(std::stod(m[1]), c.tz, 0.01);
    }
  }
}

TEST(PdfWriterTesto, PosizioneVerticaleDelBlocco) {
  struct Caso {
    std::string_view nome;
    long flags;
    std::string_view tm;
  } const kCasi[] = {
      // top: y 1 cm = 28.346 pt, + 9.768 - 1.768 = 36.346
      {"in alto", 1, "1 0 0 -1 28.346 36.346 Tm"},
      // middle: 9.768/2 x 1 + (1 + 1) cm = 61.577, - 1.768 = 59.809
      {"al centro", 32, "1 0 0 -1 28.346 59.809 Tm"},
      // bottom: (1 + 2) cm = 85.039 - 1.768 = 83.271
      {"in basso", 16, "1 0 0 -1 28.346 83.271 Tm"},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.nome);
    Pagina p;
    p.W().SetFont("Arial", 8);
    p.W().DrawTextBox(1, 1, 5, 2, "testo", 0, c.flags, 1);
    EXPECT_EQ(Pagina::Solo(p.Righe(), " Tm"), std::vector<std::string>{std::string(c.tm)});
  }
}

TEST(PdfWriterTesto, BordoDellaScatola) {
  struct Caso {
    long bordo;
    std::vector<std::string> righe;
  } const kCasi[] = {
      {1, {}},
      {0, {"28.346 28.346 141.732 28.346 re", "S"}},
      {2, {"28.346 28.346 141.732 28.346 re", "h S"}},
      {3, {"28.346 28.346 141.732 28.346 re", "h"}},
      {5, {"28.346 28.346 141.732 28.346 re", "f*"}},
      {6, {"28.346 28.346 141.732 28.346 re", "b*"}},
      {4, {"28.346 28.346 141.732 28.346 re", "B*"}},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.bordo);
    Pagina p;
    p.W().SetFont("Arial", 8);
    p.W().DrawTextBox(1, 1, 5, 1, "", 0, 1, c.bordo);
    EXPECT_EQ(p.Righe(), c.righe);
  }
}

}  // namespace
}  // namespace fcl
