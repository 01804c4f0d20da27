#include "store/RecordImpegno.h"

#include <vector>

#include "common/Cp1252.h"
#include "common/RoutineCampi.h"

namespace fcl {
namespace {

// `valore` cut to `larghezza` characters and padded with blanks to it.
std::string Campo(std::string_view valore, std::size_t larghezza) {
  std::string s = PrimiCaratteriUtf8(valore, larghezza);
  s.append(larghezza - LunghezzaUtf8(s), ' ');
  return s;
}

// The characters of a UTF-8 text, one string each.
std::vector<std::string> Caratteri(std::string_view testo) {
  std::vector<std::string> c;
  for (std::size_t i = 0; i < testo.size();) {
    std::size_t n = 1;
    const auto b = static_cast<unsigned char>(testo[i]);
    if (b >= 0xF0)
      n = 4;
    else if (b >= 0xE0)
      n = 3;
    else if (b >= 0xC0)
      n = 2;
    c.emplace_back(testo.substr(i, n));
    i += n;
  }
  return c;
}

std::string Tratto(const std::vector<std::string>& c, std::size_t da, std::size_t larghezza) {
  std::string s;
  for (std::size_t i = da - 1; i < da - 1 + larghezza && i < c.size(); ++i) s += c[i];
  return Rifila(s);
}

}  // namespace

std::string RecordImpegno::Costruisci() const {
  return Campo(intermediarioCF, 16) + Campo(numeroIscrizioneCaf, 5) +
         Campo(codicePredisposizione, 1) + Campo(dataImpegno, 10) + std::string(3, ' ');
}

RecordImpegno RecordImpegno::Leggi(std::string_view des) {
  const auto c = Caratteri(des);
  RecordImpegno r;
  r.intermediarioCF = Tratto(c, 1, 16);
  r.numeroIscrizioneCaf = Tratto(c, 17, 5);
  r.codicePredisposizione = Tratto(c, 22, 1);
  r.dataImpegno = Tratto(c, 23, 10);
  return r;
}

}  // namespace fcl
