#include "shell/Codifica.h"

namespace fcl {

std::string Codifica(std::string_view testo, ModoCodifica modo, int chiave) {
  std::string out;
  out.reserve(testo.size());
  for (std::size_t i = 0; i < testo.size(); ++i) {
    const int codice = static_cast<unsigned char>(testo[i]);
    const int spostamento = chiave + static_cast<int>(i) + 1;
    const int nuovo = modo == ModoCodifica::Scrivi ? codice + spostamento : codice - spostamento;
    if (nuovo < 0 || nuovo > 255)
      throw ErroreCodifica(
          modo == ModoCodifica::Scrivi
              ? "Il testo è troppo lungo per il marcatore di collegamento: il carattere " +
                    std::to_string(i + 1) + " non si può codificare in un byte."
              : "Il marcatore di collegamento non è leggibile: il carattere " +
                    std::to_string(i + 1) + " non è codificato.");
    out += static_cast<char>(nuovo);
  }
  return out;
}

}  // namespace fcl
