#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fcl::test {

// Runs a command through the shell; returns its exit code and standard output.
std::pair<int, std::string> Esegui(const std::string& comando);
// True when an executable is on the PATH (qpdf, pdftotext, pdftoppm, pdftocairo).
bool Disponibile(std::string_view programma);
// Quotes a path for the shell.
std::string Q(const std::filesystem::path& p);

// qpdf --check of a file: empty when it passes without warnings, else qpdf's output.
std::string ErroriQpdf(const std::filesystem::path& pdf);

// The data of stream object `numero` of a PDF written by our writer or by CostruisciPdf (the
// bytes counted by its /Length); nullopt when there is no such object.
std::optional<std::string> DatiFlusso(const std::string& pdf, int numero);
// The numbers of the objects of a file, in the order they appear ("N 0 obj").
std::vector<int> OrdineOggetti(const std::string& pdf);

// A stream object's text: "<< /Length n extra >>\nstream\n" data "\nendstream".
std::string Flusso(std::string_view data, std::string_view extra = "");
// zlib compression of bytes at a level.
std::string Comprimi(std::string_view data, int livello = 6);

// A PDF file with a classic cross-reference table made of the given objects (numbered from 1),
// with /Root 1 0 R unless the trailer says otherwise.
std::string CostruisciPdf(const std::vector<std::string>& oggetti,
                          std::string_view versione = "1.4",
                          std::string_view trailer = "/Root 1 0 R");
// Appends an incremental update to a file made by CostruisciPdf: the given objects (number, text)
// with their own cross-reference section and a trailer with /Prev.
std::string AggiornaPdf(const std::string& pdf,
                        const std::vector<std::pair<int, std::string>>& oggetti, int size,
                        std::string_view trailer = "/Root 1 0 R");

// One word found by pdftotext -bbox: its text and box in points (y from the top of the page).
struct ParolaPdf {
  std::string testo;
  double xMin, yMin, xMax, yMax;
  int pagina;
};
std::vector<ParolaPdf> ParolePdf(const std::filesystem::path& pdf, int primaPagina = 0,
                                 int ultimaPagina = 0);

}  // namespace fcl::test
