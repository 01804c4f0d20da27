#include "shell/TabellaAteco.h"

#include <fstream>
#include <string>
#include <vector>

#include "store/DatiRiferimento.h"
#include "workbook/LettoreCartella.h"

namespace fcl {
namespace {

bool CartellaDiLavoro(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  char testa[4] = {};
  in.read(testa, sizeof testa);
  const std::string_view s(testa, static_cast<std::size_t>(in.gcount()));
  return s == std::string_view("PK\x03\x04", 4) || s == std::string_view("\xD0\xCF\x11\xE0", 4);
}

// The first sheet as rows of text, up to the last row with data: the readers have no row count, so
// the walk ends after a run of blank rows far longer than any gap in a classification.
std::vector<std::vector<std::string>> RigheDelPrimoFoglio(LettoreCartella& cartella) {
  constexpr int kVuoteInFila = 200;
  constexpr int kRigheMassime = 100000;
  std::vector<std::vector<std::string>> righe;
  int vuote = 0;
  for (int r = 1; r <= kRigheMassime && vuote < kVuoteInFila; ++r) {
    std::vector<std::string> riga;
    bool piena = false;
    for (const Cella& c : cartella.Riga(1, r)) {
      riga.push_back(TestoCella(c));
      piena = piena || !riga.back().empty();
    }
    righe.push_back(std::move(riga));
    vuote = piena ? 0 : vuote + 1;
  }
  righe.resize(righe.size() - static_cast<std::size_t>(vuote));
  return righe;
}

}  // namespace

std::size_t CaricaTabellaAteco(Database& db, const std::filesystem::path& file) {
  if (!CartellaDiLavoro(file)) return ImportaAteco(db, file);
  auto cartella = ApriCartella(file);
  if (cartella->NumeroFogli() < 1)
    throw Errore("La cartella di lavoro " + file.string() +
                 " non ha fogli. La tabella ATECO non è stata modificata.");
  return SostituisciAteco(db, VociAteco(RigheDelPrimoFoglio(*cartella), file.string()));
}

}  // namespace fcl
