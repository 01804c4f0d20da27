#include "AccessRinominato.h"

#include <cstdint>
#include <stdexcept>

namespace fcl::test {
namespace {

constexpr std::size_t kPagina = 2048;  // Jet 3 pages
constexpr char kDati = 0x01;
constexpr char kDefinizione = 0x02;
constexpr std::uint32_t kCatalogo = 2;  // the system catalog's definition page

std::uint32_t Intero32(const std::string& s, std::size_t pos) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(s[pos])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[pos + 1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[pos + 2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[pos + 3])) << 24;
}

std::string Riempito(const std::string& vecchio, const std::string& nuovo) {
  if (nuovo.size() > vecchio.size())
    throw std::runtime_error("il nome " + nuovo + " è più lungo di " + vecchio);
  return nuovo + std::string(vecchio.size() - nuovo.size(), '\0');
}

// A name in a table definition: one length byte, then the name.
std::string ConLunghezza(const std::string& nome) {
  return std::string(1, static_cast<char>(nome.size())) + nome;
}

int Sostituisci(std::string& pagina, const std::string& cerca, const std::string& con) {
  int volte = 0;
  for (auto pos = pagina.find(cerca); pos != std::string::npos;
       pos = pagina.find(cerca, pos + cerca.size())) {
    pagina.replace(pos, con.size(), con);
    ++volte;
  }
  return volte;
}

}  // namespace

std::string RinominaInAccess97(std::string file, const std::vector<Ridenominazione>& tabelle) {
  if (file.size() < kPagina || file[0x14] != 0)
    throw std::runtime_error("non è un file di Access 97");
  const std::size_t pagine = file.size() / kPagina;
  for (const auto& t : tabelle) {
    int catalogo = 0;
    int definizioni = 0;
    for (std::size_t p = 0; p < pagine; ++p) {
      std::string pagina = file.substr(p * kPagina, kPagina);
      if (pagina[0] == kDati && Intero32(pagina, 4) == kCatalogo) {
        // The catalog row's name is a text value with no length byte of its own.
        catalogo += Sostituisci(pagina, t.tabella, Riempito(t.tabella, t.nuovaTabella));
      } else if (pagina[0] == kDefinizione) {
        bool tutte = !t.colonne.empty();
        for (const auto& [vecchio, nuovo] : t.colonne)
          tutte = tutte && pagina.find(ConLunghezza(vecchio)) != std::string::npos;
        if (!tutte) continue;
        ++definizioni;
        for (const auto& [vecchio, nuovo] : t.colonne) {
          const std::string con =
              std::string(1, static_cast<char>(vecchio.size())) + Riempito(vecchio, nuovo);
          Sostituisci(pagina, ConLunghezza(vecchio), con);
        }
      }
      file.replace(p * kPagina, kPagina, pagina);
    }
    if (catalogo == 0 || definizioni != 1)
      throw std::runtime_error("tabella " + t.tabella + " non trovata una volta sola: catalogo " +
                               std::to_string(catalogo) + ", definizioni " +
                               std::to_string(definizioni));
  }
  return file;
}

}  // namespace fcl::test
