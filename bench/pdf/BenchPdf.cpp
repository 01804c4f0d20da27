// Writes a listing-shaped document: PAGINE pages (default 10,000) of 30 rows x 12 text boxes
// over one imported template page turned by 270 degrees, with the page total played on every
// page. Prints pages per second; run it under /usr/bin/time -v for the peak memory.
//
// Usage: bench_pdf [PAGINE] [USCITA.pdf] [MODELLO.pdf]
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "pdf/PdfWriter.h"

namespace {

// A portrait template with a few headings and lines (uncompressed), written beside the output
// when none is given.
std::string Modello() {
  std::string contenuto = "0 0 0 RG 1 w\n";
  for (int i = 0; i < 12; ++i)
    contenuto += "BT /F1 9 Tf 50 " + std::to_string(800 - i * 60) + " Td (COLONNA " +
                 std::to_string(i + 1) + ") Tj ET\n";
  for (int r = 0; r < 30; ++r)
    contenuto +=
        std::to_string(100 + r * 15) + " 30 m " + std::to_string(100 + r * 15) + " 812 l S\n";
  const std::string oggetti[] = {
      "<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
      "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << /Font << /F1 5 0 R >> >> "
      "/Contents 4 0 R >>",
      "<< /Length " + std::to_string(contenuto.size()) + " >>\nstream\n" + contenuto +
          "\nendstream",
      "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"};
  std::string pdf = "%PDF-1.4\n";
  std::string xref;
  for (int i = 0; i < 5; ++i) {
    char voce[32];
    std::snprintf(voce, sizeof voce, "%010zu 00000 n \n", pdf.size());
    xref += voce;
    pdf += std::to_string(i + 1) + " 0 obj\n" + oggetti[i] + "\nendobj\n";
  }
  const std::size_t inizio = pdf.size();
  pdf += "xref\n0 6\n0000000000 65535 f \n" + xref +
         "trailer\n<< /Size 6 /Root 1 0 R >>\nstartxref\n" + std::to_string(inizio) + "\n%%EOF\n";
  return pdf;
}

struct Colonna {
  float x, larghezza;
  long flags;
};
constexpr Colonna kColonne[] = {{0.8f, 3.0f, 1},  {2.8f, 5.0f, 1},  {6.0f, 0.1f, 9},
                                {6.5f, 1.4f, 2},  {8.1f, 1.4f, 2},  {10.0f, 0.1f, 9},
                                {10.8f, 1.8f, 2}, {13.2f, 1.4f, 2}, {15.1f, 1.4f, 2},
                                {17.0f, 1.4f, 2}, {18.6f, 1.4f, 2}, {20.8f, 1.4f, 2}};

}  // namespace

int main(int argc, char** argv) {
  const int pagine = argc > 1 ? std::stoi(argv[1]) : 10000;
  const std::filesystem::path uscita = argc > 2 ? argv[2] : "bench-listato.pdf";
  std::filesystem::path modello = argc > 3 ? argv[3] : "";
  if (modello.empty()) {
    modello = uscita.string() + ".modello.pdf";
    std::ofstream(modello, std::ios::binary) << Modello();
  }
  const auto inizio = std::chrono::steady_clock::now();
  fcl::PdfWriter w("Benchmark");
  w.SetScale(3);
  w.SetPaperSize(1);
  w.BeginDoc(uscita.string());
  long long caselle = 0;
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
    for (int r = 0; r < 30; ++r) {
      const float y = 5.3f + 0.5f * static_cast<float>(r % 29);
      w.SetFont("Arial", 8, 0);
      w.SetColorText("Black");
      for (const auto& c : kColonne) {
        const std::string testo =
            c.flags == 2 ? "1.234.567" : (c.larghezza < 1 ? "X" : "RIGA " + std::to_string(r + 1));
        w.DrawTextBox(c.x, y, c.larghezza, 0.4f, testo, 0, c.flags, 1);
        ++caselle;
      }
    }
  }
  w.BeginObject("TotPagine", 7);
  w.SetColorText("Black");
  w.SetFont("Arial", 10, 1);
  w.DrawText(16.3f, 20.35f, "  di " + std::to_string(w.PageCount()), 1);
  w.EndObject();
  w.EndDoc();
  const double secondi =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - inizio).count();
  std::printf("pagine %d, caselle %lld, %.2f s, %.0f pagine/s, file %.1f MB, errore %ld %s\n",
              pagine, caselle, secondi, pagine / secondi, static_cast<double>(w.FileSize()) / 1e6,
              w.ErrNumber(), w.ErrDescription().c_str());
  return w.ErrNumber() == 0 ? 0 : 1;
}
