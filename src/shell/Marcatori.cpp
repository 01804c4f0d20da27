#include "shell/Marcatori.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "common/Cp1252.h"
#include "common/ScritturaAtomica.h"
#include "shell/Codifica.h"

namespace fcl {
namespace {

// The value in Windows-1252; refused when it would not come back the same, or holds a control
// character (which would break the line structure of the file).
std::string PerMarcatore(std::string_view valore) {
  const std::string byte = Utf8ToCp1252(valore);
  if (Cp1252ToUtf8(byte) != valore)
    throw ErroreCodifica(
        "Il testo \"" + std::string(valore) +
        "\" contiene caratteri che il marcatore di collegamento non può contenere.");
  for (const char c : byte) {
    if (static_cast<unsigned char>(c) < 0x20)
      throw ErroreCodifica("Il testo \"" + std::string(valore) +
                           "\" contiene caratteri di controllo: il marcatore di collegamento non "
                           "può contenerlo.");
  }
  return byte;
}

}  // namespace

std::filesystem::path CartellaMarcatori(const Contesto& ctx) {
  const std::string& pcDirF = ctx.configurazione.pcDirF;
  if (!pcDirF.empty()) {
    std::filesystem::path radice(pcDirF);
    if (radice.is_relative()) radice = ctx.cartellaProgramma / radice;
    std::error_code ec;
    // A folder that cannot be made shows up when the marker is written.
    std::filesystem::create_directories(radice / "SYSTEM", ec);
    std::filesystem::create_directories(radice / "SYSTEM32", ec);
    return radice;
  }
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg == '/')
    return std::filesystem::path(xdg);
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home != nullptr && *home != '\0' ? home : ".") / ".local" / "share";
}

void ScriviFileMarcatore(const std::filesystem::path& file, const ContenutoMarcatore& contenuto) {
  const std::string righe[4] = {contenuto.stringaConnessione, contenuto.tipoDb, contenuto.cartella,
                                ""};
  std::string byte;
  for (std::size_t i = 0; i < 4; ++i) {
    try {
      byte += Codifica(PerMarcatore(righe[i]), ModoCodifica::Scrivi, kChiaviMarcatore[i]);
    } catch (const ErroreCodifica& e) {
      throw ErroreCodifica("Il marcatore " + file.string() + " non è stato scritto. " + e.what());
    }
    byte += "\r\n";
  }
  std::error_code ec;
  std::filesystem::create_directories(file.parent_path(), ec);
  ScritturaAtomica scrittura(file);
  scrittura.Scrivi(byte);
  scrittura.Conferma();
}

std::optional<ContenutoMarcatore> LeggiFileMarcatore(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  const std::string testo = buffer.str();

  std::vector<std::string> righe;
  std::size_t pos = 0;
  while (pos < testo.size() && righe.size() < 3) {
    std::size_t fine = testo.find('\n', pos);
    if (fine == std::string::npos) fine = testo.size();
    std::string riga = testo.substr(pos, fine - pos);
    if (!riga.empty() && riga.back() == '\r') riga.pop_back();
    righe.push_back(std::move(riga));
    pos = fine + 1;
  }
  if (righe.size() < 3) return std::nullopt;
  try {
    ContenutoMarcatore c;
    c.stringaConnessione =
        Cp1252ToUtf8(Codifica(righe[0], ModoCodifica::Leggi, kChiaviMarcatore[0]));
    c.tipoDb = Cp1252ToUtf8(Codifica(righe[1], ModoCodifica::Leggi, kChiaviMarcatore[1]));
    c.cartella = Cp1252ToUtf8(Codifica(righe[2], ModoCodifica::Leggi, kChiaviMarcatore[2]));
    return c;
  } catch (const ErroreCodifica&) {
    return std::nullopt;
  }
}

bool ScriviMarcatore(Contesto& ctx) {
  const auto file = CartellaMarcatori(ctx) / "SYSTEM" / std::string(kMarcatoreProprio);
  try {
    ScriviFileMarcatore(
        file, {ctx.stringaConnessione, ctx.configurazione.tipoDb, ctx.cartellaProgramma.string()});
    return true;
  } catch (const Errore& e) {
    ctx.Ui().Avviso(std::string(e.what()) +
                    " I programmi collegati non troveranno l'archivio di FISCOLARIO finché il "
                    "marcatore non potrà essere scritto.");
    return false;
  }
}

}  // namespace fcl
