// Reads a sheet of a workbook the way the run does, through the reader interface: from the first
// data row, columns A-J then A-Y of each row as texts, until a row whose columns A-J are all
// empty. Prints the rows read, the time taken (opening included) and a checksum of the texts.
//
// Usage: bench-lettori WORKBOOK [SHEET-NAME [FIRST-ROW]]   (default: FE, 4)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "workbook/LettoreCartella.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "Uso: bench-lettori CARTELLA [FOGLIO [PRIMA-RIGA]]\n");
    return 2;
  }
  const std::string nomeFoglio = argc > 2 ? argv[2] : "FE";
  const int primaRiga = argc > 3 ? std::atoi(argv[3]) : 4;
  try {
    const auto inizio = std::chrono::steady_clock::now();
    auto lettore = fcl::ApriCartella(argv[1]);
    const auto aperta = std::chrono::steady_clock::now();
    int foglio = 0;
    for (int f = 1; f <= lettore->NumeroFogli(); ++f) {
      if (lettore->NomeFoglio(f) == nomeFoglio) foglio = f;
    }
    if (foglio == 0) {
      std::fprintf(stderr, "Foglio %s assente\n", nomeFoglio.c_str());
      return 1;
    }
    long long righe = 0;
    unsigned long long controllo = 0;
    for (int r = primaRiga;; ++r) {
      bool vuota = true;
      const auto& aj = lettore->Riga(foglio, r);
      for (int c = 0; c < 10; ++c) {
        if (!fcl::TestoCella(aj[static_cast<std::size_t>(c)]).empty()) vuota = false;
      }
      if (vuota) break;
      for (const auto& cella : lettore->Riga(foglio, r)) controllo += fcl::TestoCella(cella).size();
      ++righe;
    }
    const auto fine = std::chrono::steady_clock::now();
    const double secondi = std::chrono::duration<double>(fine - inizio).count();
    const double apertura = std::chrono::duration<double>(aperta - inizio).count();
    std::printf("righe %lld secondi %.3f apertura %.3f righe/s %.0f controllo %llu\n", righe,
                secondi, apertura, righe / secondi, controllo);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
