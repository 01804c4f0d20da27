#include "StrumentiPdf.h"

#include <zlib.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <regex>

namespace fcl::test {

std::pair<int, std::string> Esegui(const std::string& comando) {
  std::string uscita;
  FILE* p = ::popen(comando.c_str(), "r");
  if (p == nullptr) return {-1, ""};
  std::array<char, 65536> buf;
  std::size_t n;
  while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0) uscita.append(buf.data(), n);
  const int stato = ::pclose(p);
  return {WIFEXITED(stato) ? WEXITSTATUS(stato) : -1, uscita};
}

bool Disponibile(std::string_view programma) {
  return Esegui("command -v " + std::string(programma) + " >/dev/null 2>&1").first == 0;
}

std::string Q(const std::filesystem::path& p) {
  std::string s = "'";
  for (const char c : p.string()) {
    if (c == '\'')
      s += "'\\''";
    else
      s.push_back(c);
  }
  return s + "'";
}

std::string ErroriQpdf(const std::filesystem::path& pdf) {
  const auto [codice, uscita] = Esegui("qpdf --check " + Q(pdf) + " 2>&1");
  if (codice == 0 && uscita.find("WARNING") == std::string::npos) return "";
  return "qpdf exit " + std::to_string(codice) + ": " + uscita;
}

std::optional<std::string> DatiFlusso(const std::string& pdf, int numero) {
  const std::string intestazione = "\n" + std::to_string(numero) + " 0 obj";
  std::size_t p = pdf.find(intestazione);
  if (p == std::string::npos) return std::nullopt;
  p = pdf.find("/Length ", p);
  if (p == std::string::npos) return std::nullopt;
  const std::size_t lunghezza = std::stoul(pdf.substr(p + 8, 12));
  p = pdf.find("stream", p);
  if (p == std::string::npos) return std::nullopt;
  p += 6;
  if (pdf[p] == '\r') ++p;
  if (pdf[p] == '\n') ++p;
  return pdf.substr(p, lunghezza);
}

std::vector<int> OrdineOggetti(const std::string& pdf) {
  std::vector<int> numeri;
  static const std::regex kOggetto("(^|\n)([0-9]+) 0 obj");
  for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), kOggetto);
       it != std::sregex_iterator(); ++it)
    numeri.push_back(std::stoi((*it)[2]));
  return numeri;
}

std::string Flusso(std::string_view data, std::string_view extra) {
  return "<< /Length " + std::to_string(data.size()) + (extra.empty() ? "" : " ") +
         std::string(extra) + " >>\nstream\n" + std::string(data) + "\nendstream";
}

std::string Comprimi(std::string_view data, int livello) {
  uLongf n = compressBound(static_cast<uLong>(data.size()));
  std::string out(n, '\0');
  compress2(reinterpret_cast<Bytef*>(out.data()), &n, reinterpret_cast<const Bytef*>(data.data()),
            static_cast<uLong>(data.size()), livello);
  out.resize(n);
  return out;
}

namespace {
std::string Voce(std::size_t offset) {
  char b[32];
  std::snprintf(b, sizeof b, "%010zu 00000 n \n", offset);
  return b;
}
}  // namespace

std::string CostruisciPdf(const std::vector<std::string>& oggetti, std::string_view versione,
                          std::string_view trailer) {
  std::string pdf = "%PDF-" + std::string(versione) + "\n%\xE2\xE3\xCF\xD3\n";
  std::vector<std::size_t> offset;
  for (std::size_t i = 0; i < oggetti.size(); ++i) {
    offset.push_back(pdf.size());
    pdf += std::to_string(i + 1) + " 0 obj\n" + oggetti[i] + "\nendobj\n";
  }
  const std::size_t xref = pdf.size();
  pdf += "xref\n0 " + std::to_string(oggetti.size() + 1) + "\n0000000000 65535 f \n";
  for (const auto o : offset) pdf += Voce(o);
  pdf += "trailer\n<< /Size " + std::to_string(oggetti.size() + 1) + " " + std::string(trailer) +
         " >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
  return pdf;
}

std::string AggiornaPdf(const std::string& pdf,
                        const std::vector<std::pair<int, std::string>>& oggetti, int size,
                        std::string_view trailer) {
  const std::size_t p = pdf.rfind("startxref");
  const std::size_t prev = std::stoul(pdf.substr(p + 10));
  std::string nuovo = pdf;
  std::vector<std::pair<int, std::size_t>> offset;
  for (const auto& [n, testo] : oggetti) {
    offset.emplace_back(n, nuovo.size());
    nuovo += std::to_string(n) + " 0 obj\n" + testo + "\nendobj\n";
  }
  const std::size_t xref = nuovo.size();
  nuovo += "xref\n";
  for (const auto& [n, o] : offset) nuovo += std::to_string(n) + " 1\n" + Voce(o);
  nuovo += "trailer\n<< /Size " + std::to_string(size) + " " + std::string(trailer) + " /Prev " +
           std::to_string(prev) + " >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
  return nuovo;
}

std::vector<ParolaPdf> ParolePdf(const std::filesystem::path& pdf, int primaPagina,
                                 int ultimaPagina) {
  std::string comando = "pdftotext -bbox";
  if (primaPagina > 0) comando += " -f " + std::to_string(primaPagina);
  if (ultimaPagina > 0) comando += " -l " + std::to_string(ultimaPagina);
  const auto [codice, html] = Esegui(comando + " " + Q(pdf) + " - 2>/dev/null");
  std::vector<ParolaPdf> parole;
  if (codice != 0) return parole;
  static const std::regex kPagina("<page ");
  static const std::regex kParola(
      "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
      "yMax=\"([0-9.]+)\">([^<]*)</word>");
  int pagina = primaPagina > 0 ? primaPagina - 1 : 0;
  std::size_t pos = 0;
  while (pos < html.size()) {
    const std::size_t pg = html.find("<page ", pos);
    const std::size_t w = html.find("<word ", pos);
    if (w == std::string::npos) break;
    if (pg != std::string::npos && pg < w) {
      ++pagina;
      pos = pg + 6;
      continue;
    }
    const std::size_t fine = html.find("</word>", w);
    std::smatch m;
    const std::string pezzo = html.substr(w, fine + 7 - w);
    if (std::regex_match(pezzo, m, kParola))
      parole.push_back(
          {m[5], std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4]), pagina});
    pos = fine + 7;
  }
  return parole;
}

}  // namespace fcl::test
