#include "verifica/LettoreRecord.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace fcl {
namespace {

struct Letta {
  std::size_t conservati;
  std::size_t lunghezza;
  bool cr;
  bool lf;
  bool operator==(const Letta&) const = default;
};

void PrintTo(const Letta& l, std::ostream* os) {
  *os << "{" << l.conservati << ", " << l.lunghezza << ", " << l.cr << ", " << l.lf << "}";
}

std::vector<Letta> Leggi(const std::string& byte) {
  std::istringstream in(byte);
  LettoreRecord lettore(in);
  RigaLetta riga;
  std::vector<Letta> righe;
  while (lettore.Prossima(riga))
    righe.push_back({riga.testo.size(), riga.lunghezza, riga.cr, riga.lf});
  return righe;
}

TEST(LettoreRecord, RigheEFineRiga) {
  const std::size_t kBuffer = 1 << 16;
  struct Caso {
    std::string_view nome;
    std::string byte;
    std::vector<Letta> attese;
  } const kCasi[] = {
      {"CR LF", "AB\r\nCD\r\n", {{2, 2, true, true}, {2, 2, true, true}}},
      {"solo LF e ultima riga senza fine", "AB\nCD", {{2, 2, false, true}, {2, 2, false, false}}},
      {"CR in mezzo", "A\rB\r\n", {{3, 3, true, true}}},
      {"riga vuota", "\r\n", {{0, 0, true, true}}},
      {"file vuoto", "", {}},
      {"riga lunga: se ne conserva l'inizio",
       std::string(100000, 'x') + "\r\nZ\r\n",
       {{LettoreRecord::kMassimoConservato, 100000, true, true}, {1, 1, true, true}}},
      {"CR all'ultimo byte del buffer",
       std::string(kBuffer - 1, 'x') + "\r\nZ\r\n",
       {{LettoreRecord::kMassimoConservato, kBuffer - 1, true, true}, {1, 1, true, true}}},
      {"record di 1898 caratteri", std::string(1898, 'x') + "\r\n", {{1898, 1898, true, true}}},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.nome);
    EXPECT_EQ(Leggi(c.byte), c.attese);
  }
}

}  // namespace
}  // namespace fcl
