#include "shell/CartellaModello.h"

#include <algorithm>
#include <fstream>
#include <string>

#include "common/ErroreSistema.h"
#include "common/Errori.h"
#include "common/ScritturaAtomica.h"

namespace fcl {
namespace {

namespace fs = std::filesystem;

// What a skeleton gives a program folder. A build tree's skeleton may have been used as a program
// folder itself: its database, working files and safety copies are never handed on.
constexpr const char* kVociModello[] = {"configurazione.ini", "Stampe", "Help", "esempio"};

// A folder counts as a skeleton only when it holds the configuration file: a stray, empty
// share/fiscolario folder is not taken for one.
bool EModello(const fs::path& cartella) {
  std::error_code ec;
  return fs::is_regular_file(cartella / "configurazione.ini", ec);
}

std::string LeggiTutto(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string byte;
  char blocco[1 << 16];
  while (in && (in.read(blocco, sizeof blocco), in.gcount() > 0))
    byte.append(blocco, static_cast<std::size_t>(in.gcount()));
  // Only a read that ran to the end of the file is whole.
  if (in.bad() || !in.eof())
    throw ErroreFile("Impossibile leggere il file " + file.string() +
                     " della cartella di installazione.");
  return byte;
}

void CreaCartella(const fs::path& cartella) {
  std::error_code ec;
  fs::create_directories(cartella, ec);
  if (ec || !fs::is_directory(cartella))
    throw ErroreFile("Impossibile creare la cartella " + cartella.string() + ": " +
                     (ec ? CausaSistema(ec, Accesso::Scrittura)
                         : std::string("esiste un file con lo stesso nome")) +
                     ".");
}

// True when `cartella` lies inside `radice` (or is it).
bool Dentro(const fs::path& cartella, const fs::path& radice) {
  std::error_code ec;
  const fs::path c = fs::weakly_canonical(cartella, ec);
  if (ec) return false;
  const fs::path r = fs::weakly_canonical(radice, ec);
  if (ec) return false;
  const fs::path relativo = c.lexically_relative(r);
  return !relativo.empty() && *relativo.begin() != "..";
}

}  // namespace

std::optional<fs::path> TrovaCartellaModello(const fs::path& cartellaEseguibile) {
  const fs::path accanto = (cartellaEseguibile / ".." / "share" / "fiscolario").lexically_normal();
  if (EModello(accanto)) return accanto;
#ifdef FCL_CARTELLA_BUILD
  // A program run from its build tree takes the skeleton the build drew there.
  const fs::path build(FCL_CARTELLA_BUILD);
  if (Dentro(cartellaEseguibile, build) && EModello(build / "programma"))
    return build / "programma";
#endif
#ifdef FCL_CARTELLA_MODELLO
  const fs::path installata(FCL_CARTELLA_MODELLO);
  if (EModello(installata)) return installata;
#endif
  return std::nullopt;
}

std::vector<fs::path> CompletaCartellaProgramma(const fs::path& cartella, const fs::path& modello) {
  CreaCartella(cartella);
  std::vector<fs::path> origini;
  std::error_code ec;
  for (const char* voce : kVociModello) {
    const fs::path sorgente = modello / voce;
    if (fs::is_regular_file(sorgente, ec)) {
      origini.push_back(sorgente);
      continue;
    }
    if (!fs::is_directory(sorgente, ec)) continue;
    for (fs::recursive_directory_iterator it(sorgente, ec), fine; !ec && it != fine;
         it.increment(ec))
      if (it->is_regular_file(ec)) origini.push_back(it->path());
    if (ec)
      throw ErroreFile("Impossibile leggere la cartella di installazione " + modello.string() +
                       ": " + CausaSistema(ec) + ".");
  }
  std::sort(origini.begin(), origini.end());

  std::vector<fs::path> copiati;
  for (const auto& origine : origini) {
    const fs::path relativo = origine.lexically_relative(modello);
    const fs::path destinazione = cartella / relativo;
    // Whatever stands at the name (a file, a folder, a link) belongs to the user.
    if (fs::symlink_status(destinazione, ec).type() != fs::file_type::not_found) continue;
    CreaCartella(destinazione.parent_path());
    ScritturaAtomica scrittura(destinazione);
    scrittura.Scrivi(LeggiTutto(origine));
    scrittura.Conferma();
    copiati.push_back(relativo);
  }
  return copiati;
}

}  // namespace fcl
