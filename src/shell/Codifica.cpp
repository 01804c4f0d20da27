#include "shell/Codifica.h"

#include <string>

#include "common/Cp1252.h"

namespace fcl {

std::string Codifica(std::string_view testo, ModoCodifica modo, int chiave) {
  std::string out;
  out.reserve(testo.size());
  for (std::size_t i = 0; i < testo.size(); ++i) {
    const int codice = static_cast<unsigned char>(testo[i]);
    const int spostamento = chiave + static_cast<int>(i) + 1;
    const int nuovo = modo == ModoCodifica::Scrivi ? codice + spostamento : codice - spostamento;
    if (nuovo < 0 || nuovo > 255) {
      if (modo == ModoCodifica::Leggi)
        throw ErroreCodifica("Il marcatore di collegamento non è leggibile: il carattere " +
                             std::to_string(i + 1) + " non è codificato.");
      // A character above 127 overflows the byte after a few positions: the text need not be
      // long at all, the character is the reason.
      if (codice > 127) {
        const int ultima = 255 - chiave - codice;
        throw ErroreCodifica("Il carattere \"" + Cp1252ToUtf8(std::string(1, testo[i])) +
                             "\" in posizione " + std::to_string(i + 1) +
                             " non si può codificare nel marcatore di collegamento: " +
                             (ultima >= 1 ? "vi può stare solo nelle prime " +
                                                std::to_string(ultima) + " posizioni del testo."
                                          : "non vi può stare in nessuna posizione."));
      }
      throw ErroreCodifica(
          "Il testo è troppo lungo per il marcatore di collegamento: il carattere " +
          std::to_string(i + 1) + " non si può codificare in un byte.");
    }
    out += static_cast<char>(nuovo);
  }
  return out;
}

}  // namespace fcl
