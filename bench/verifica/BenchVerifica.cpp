// Measures the check of a large communication file: a file of N FE records (6 rows of 10 elements
// each, one a "+" continuation) with one wrong VAT number every 1000 rows, checked from disk. Run
// by hand:
//   bench_verifica [N]

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "verifica/VerificaComunicazione.h"

namespace {

std::string Record(char tipo) {
  std::string r(1898, ' ');
  r[0] = tipo;
  r[1897] = 'A';
  return r;
}

void Metti(std::string& r, int pos, const std::string& v) { r.replace(pos - 1, v.size(), v); }

std::string Cifre(long long n, int quante) {
  std::string s = std::to_string(n);
  return std::string(quante > static_cast<int>(s.size()) ? quante - s.size() : 0, '0') + s;
}

std::string Dx(const std::string& v) { return std::string(16 - v.size(), ' ') + v; }
std::string Sx(const std::string& v) { return v + std::string(16 - v.size(), ' '); }

}  // namespace

int main(int argc, char** argv) {
  const long long n = argc > 1 ? std::stoll(argv[1]) : 300000;
  const std::string cf = "RSSMRA85T10A562S";
  const auto file = std::filesystem::temp_directory_path() / "bench_verifica.TXT";
  {
    std::ofstream out(file, std::ios::binary);
    std::string a = Record('A');
    Metti(a, 16, "NSP0001" + cf);
    Metti(a, 522, "00000000");
    std::string b = Record('B');
    Metti(b, 2, cf + "00000001");
    Metti(b, 74, "00743110157");
    Metti(b, 90, "100" + std::string(23, '0') + "01000100000001" + "02342520158471100");
    Metti(b, 221, "ROSSI");
    Metti(b, 245, "MARIO");
    Metti(b, 265, "M10121985ROMA");
    Metti(b, 314, "RM");
    Metti(b, 376, "2013");
    Metti(b, 398, "00" + std::string(16, '0'));
    Metti(b, 461, "00000000");
    Metti(b, 587, "000000 00000000");
    out << a << "\r\n" << b << "\r\n";
    long long righe = 0;
    for (long long m = 1; m <= n; ++m) {
      std::string d = Record('D');
      Metti(d, 2, cf + Cifre(m, 8));
      Metti(d, 74, "00743110157");
      int pos = 90;
      for (int rigo = 1; rigo <= 6; ++rigo) {
        ++righe;
        const std::string r = "FE" + Cifre(rigo, 3);
        const std::string pi = righe % 1000 == 0 ? "01234560018" : "01234560017";
        const std::string campi[][2] = {{"001", Sx(pi)},
                                        {"004", Dx("1")},
                                        {"005", Sx("A")},
                                        {"006", Dx("1")},
                                        {"007", Dx("15012013")},
                                        {"008", Dx("20012013")},
                                        {"009", Sx("FATTURA 123")},
                                        {"009", Sx("+/2013")},
                                        {"010", Dx("1000")},
                                        {"011", Dx("220")}};
        for (const auto& [campo, valore] : campi) {
          Metti(d, pos, r + campo + valore);
          pos += 24;
        }
      }
      out << d << "\r\n";
    }
    std::string e = Record('E');
    Metti(e, 2, cf + "00000001");
    Metti(e, 74, "00743110157");
    Metti(e, 90, "TA004001" + Dx(std::to_string(righe)));
    out << e << "\r\n";
    std::string z = Record('Z');
    Metti(z, 16, "000000001000000000" + Cifre(n, 9) + "000000001");
    out << z << "\r\n";
  }
  const auto inizio = std::chrono::steady_clock::now();
  const fcl::EsitoVerifica esito = fcl::VerificaComunicazione(file);
  const double secondi =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - inizio).count();
  rusage uso{};
  getrusage(RUSAGE_SELF, &uso);
  std::printf(
      "%lld record, %.1f MB, %.2f s (%.0f record/s), %lld errori, %lld avvertimenti, "
      "%zu conservati, memoria massima %ld MB\n",
      esito.record, std::filesystem::file_size(file) / 1e6, secondi, esito.record / secondi,
      esito.errori, esito.avvertimenti, esito.rilievi.size(), uso.ru_maxrss / 1024);
  std::filesystem::remove(file);
  return 0;
}
