// A document shaped like the check listing: an A4 landscape page per 29 rows, the portrait template
// turned by 270 degrees under the rows, the page number and the page total played from a named
// object recorded after the last page.
#include <gtest/gtest.h>

#include "CartellaTemporanea.h"
#include "StrumentiPdf.h"
#include "pdf/PdfWriter.h"

namespace fcl {
namespace {

using test::CartellaTemporanea;

// A portrait template with column headings near its left edge, like the listing's forms.
std::string ModelloVerticale() {
  std::string contenuto = "0.85 0.9 1 rg 20 20 555 802 re f 0 0 0 rg 0 0 0 RG 1 w\n";
  for (int i = 0; i < 12; ++i)
    contenuto += "BT /F1 9 Tf 50 " + std::to_string(800 - i * 60) + " Td (COLONNA " +
                 std::to_string(i + 1) + ") Tj ET\n";
  contenuto += "30 30 m 30 812 l S\n";
  return test::CostruisciPdf({"<< /Type /Catalog /Pages 2 0 R >>",
                              "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                              "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << "
                              "/Font << /F1 5 0 R >> >> /Contents 4 0 R >>",
                              test::Flusso(test::Comprimi(contenuto), "/Filter /FlateDecode"),
                              "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"});
}

struct Colonna {
  float x, larghezza;
  long flags;
};
// The FA columns of the listing.
constexpr Colonna kColonne[] = {{0.8f, 3.0f, 1},  {2.8f, 5.0f, 1},  {6.0f, 0.1f, 9},
                                {6.5f, 1.4f, 2},  {8.1f, 1.4f, 2},  {10.0f, 0.1f, 9},
                                {10.8f, 1.8f, 2}, {13.2f, 1.4f, 2}, {15.1f, 1.4f, 2},
                                {17.0f, 1.4f, 2}, {18.6f, 1.4f, 2}, {20.8f, 1.4f, 2}};

void ScriviListato(PdfWriter& w, const std::filesystem::path& modello, int pagine) {
  w.SetScale(3);
  w.SetPaperSize(1);
  for (int p = 1; p <= pagine; ++p) {
    w.BeginPage();
    w.BeginSpace(w.GetPageWidth(false), 0, 1, 1, 270);
    w.ImportPage(modello, 1);
    w.EndSpace();
    w.PlayObject("TotPagine");
    w.SetFont("Arial", 12, 1);
    w.SetColorText("Blue");
    w.DrawText(2.2f, 1.7f, "Anno 2012 - ROSSI MARIO", 1);
    w.SetColorText("Black");
    w.SetFont("Arial", 6, 1);
    w.DrawText(0.3f, 2.1f, "Archivio base dati: /home/utente/Comunicazione.xls", 1);
    w.SetFont("Arial", 10, 1);
    w.DrawText(15.7f, 20.35f, std::to_string(p), 1);
    for (int r = 0; r < 29; ++r) {
      const float y = 5.3f + 0.5f * static_cast<float>(r);
      w.SetFont("Arial", 8, 0);
      w.SetColorText("Black");
      for (std::size_t c = 0; c < std::size(kColonne); ++c) {
        const auto& col = kColonne[c];
        const std::string testo = col.flags == 2
                                      ? "1.234.567"
                                      : (col.larghezza < 1 ? "X" : "RIGA" + std::to_string(r + 1));
        w.DrawTextBox(col.x, y, col.larghezza, 0.4f, testo, 0, col.flags, 1);
      }
    }
  }
  w.BeginObject("TotPagine", 7);
  w.SetColorText("Black");
  w.SetFont("Arial", 10, 1);
  w.DrawText(16.3f, 20.35f, "  di " + std::to_string(w.PageCount()), 1);
  w.EndObject();
  w.EndDoc();
}

TEST(Listato, TremilaPagineSuModelloRuotato) {
  CartellaTemporanea dir;
  const auto modello = dir / "base.pdf";
  test::ScriviFile(modello, ModelloVerticale());
  const auto file = dir / "listato.pdf";
  PdfWriter w("ROSSI MARIO");
  w.BeginDoc(file.string());
  ScriviListato(w, modello, 3000);
  EXPECT_EQ(w.ErrNumber(), 0) << w.ErrDescription();
  const std::string pdf = test::LeggiFile(file);
  // The template is copied once and drawn on every page; the total is one object.
  std::size_t forme = 0;
  for (std::size_t p = pdf.find("/Subtype /Form /FormType 1\n"); p != std::string::npos;
       p = pdf.find("/Subtype /Form /FormType 1\n", p + 1))
    ++forme;
  EXPECT_EQ(forme, 1u);
  EXPECT_NE(pdf.find("/Type /Pages /Count 3000\r"), std::string::npos);
  EXPECT_NE(pdf.find("\rq\r1 0 0 1 842 0 cm\r0 1 -1 0 0 0 cm\rq\r1 0 0 -1 0 842 cm\r/_PDF_1.1 "
                     "Do\rQ\rQ\rq /TotPagine Do Q\r"),
            std::string::npos);

  if (test::Disponibile("qpdf")) {
    EXPECT_EQ(test::ErroriQpdf(file), "");
  }
  if (test::Disponibile("pdftotext")) {
    for (const int pagina : {1, 3000}) {
      SCOPED_TRACE(pagina);
      const auto parole = test::ParolePdf(file, pagina, pagina);
      int importi = 0, totale = 0, numero = 0, colonne = 0;
      for (const auto& p : parole) {
        // Right-aligned amounts end on the right edge of their box: column D ends at
        // 7.9 cm = 223.937 pt on every row.
        if (p.testo == "1.234.567" && std::abs(p.xMax - 223.937) < 0.1) ++importi;
        // "  di 3000" starts at 16.3 cm; "  di " is 17.23 points wide in Arial bold 10.
        if (p.testo == "3000" && std::abs(p.xMin - (16.3 * 28.346457 + 17.23)) < 0.1) ++totale;
        if (p.testo == std::to_string(pagina) && std::abs(p.xMin - 15.7 * 28.346457) < 0.1)
          ++numero;
        if (p.testo == "COLONNA") ++colonne;
      }
      EXPECT_EQ(importi, 29);
      EXPECT_EQ(totale, 1);
      EXPECT_EQ(numero, 1);
      EXPECT_EQ(colonne, 12);  // the template's headings are there, turned
    }
  }
  if (test::Disponibile("pdftoppm")) {
    for (const int pagina : {1, 3000}) {
      const auto png = dir / ("pagina-" + std::to_string(pagina));
      const auto [codice, uscita] =
          test::Esegui("pdftoppm -r 40 -png -f " + std::to_string(pagina) + " -l " +
                       std::to_string(pagina) + " " + test::Q(file) + " " + test::Q(png) + " 2>&1");
      EXPECT_EQ(codice, 0) << uscita;
      EXPECT_EQ(uscita, "");
      bool trovato = false;
      for (const auto& e : std::filesystem::directory_iterator(dir.Percorso()))
        trovato = trovato ||
                  (e.path().filename().string().rfind("pagina-" + std::to_string(pagina), 0) == 0 &&
                   std::filesystem::file_size(e.path()) > 1000);
      EXPECT_TRUE(trovato);
      // Keep a picture to look at when asked to.
      if (const char* copia = std::getenv("FCL_PDF_PNG"); copia != nullptr && pagina == 1)
        test::Esegui("cp " + test::Q(png.string() + "-0001.png") + " " + test::Q(copia) +
                     " 2>/dev/null; cp " + test::Q(png.string() + "-1.png") + " " + test::Q(copia) +
                     " 2>/dev/null");
    }
  }
}

}  // namespace
}  // namespace fcl
