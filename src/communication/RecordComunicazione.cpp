#include "communication/RecordComunicazione.h"

#include <algorithm>

#include "common/Cp1252.h"

namespace fcl {

RecordComunicazione::RecordComunicazione(char tipo) : testo_(kLunghezza, ' ') {
  testo_[0] = tipo;
  testo_[kLunghezza - 1] = 'A';
}

void RecordComunicazione::Poni(std::size_t posizione, std::size_t larghezza,
                               std::string_view valoreUtf8) {
  if (posizione < 1 || posizione > kLunghezza) return;
  const std::string byte = Utf8ToCp1252(valoreUtf8);
  const std::size_t n = std::min({byte.size(), larghezza, kLunghezza - posizione + 1});
  testo_.replace(posizione - 1, n, byte, 0, n);
}

void RecordComunicazione::PoniConteggio(std::size_t posizione, std::size_t cifre,
                                        long long conteggio) {
  Poni(posizione, cifre, Conteggio(conteggio, cifre));
}

std::string Conteggio(long long conteggio, std::size_t cifre) {
  std::string t = std::to_string(conteggio);
  if (t.size() < cifre) t.insert(0, cifre - t.size(), '0');
  return t;
}

}  // namespace fcl
