#include "shell/Marcatori.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>
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

LetturaMarcatore LeggiMarcatore(const std::filesystem::path& file) {
  LetturaMarcatore esito;
  const std::string nome = "Il marcatore di collegamento " + file.string();
  // Non-blocking, so that a pipe put in the marker's place cannot stop the program.
  const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR)
      esito.mancante = true;
    else
      esito.motivo = nome + (errno == EACCES || errno == EPERM
                                 ? " non si può leggere: accesso negato."
                                 : " non si può leggere (errore " + std::to_string(errno) + ").");
    return esito;
  }
  struct stat info {};
  const bool stato = ::fstat(fd, &info) == 0;
  if (!stato || !S_ISREG(info.st_mode)) {
    ::close(fd);
    esito.motivo =
        nome + (stato && S_ISDIR(info.st_mode)
                    ? " è una cartella, non un file."
                    : " non è un file ordinario (è una pipe, un socket o un dispositivo).");
    return esito;
  }

  // The first three lines, never more than three times the longest line.
  constexpr std::size_t kMassimo = 3 * (kMassimoRigaMarcatore + 2);
  std::string testo;
  char blocco[4096];
  std::size_t righe = 0;
  bool errore = false;
  while (testo.size() < kMassimo && righe < 3) {
    const ssize_t n = ::read(fd, blocco, std::min(sizeof blocco, kMassimo - testo.size()));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      errore = n < 0;
      break;
    }
    righe += static_cast<std::size_t>(std::count(blocco, blocco + n, '\n'));
    testo.append(blocco, static_cast<std::size_t>(n));
  }
  ::close(fd);
  if (errore) {
    esito.motivo = nome + " non si può leggere: errore di lettura dal disco.";
    return esito;
  }

  std::vector<std::string> lette;
  std::size_t pos = 0;
  while (pos < testo.size() && lette.size() < 3) {
    std::size_t fine = testo.find('\n', pos);
    if (fine == std::string::npos) fine = testo.size();
    std::string riga = testo.substr(pos, fine - pos);
    if (!riga.empty() && riga.back() == '\r') riga.pop_back();
    if (riga.size() > kMassimoRigaMarcatore) {
      esito.motivo = nome + " non è valido: una riga supera " +
                     std::to_string(kMassimoRigaMarcatore) +
                     " byte, mentre un marcatore ha righe di poche decine di caratteri.";
      return esito;
    }
    lette.push_back(std::move(riga));
    pos = fine + 1;
  }
  if (lette.size() < 3) {
    esito.motivo = nome + " è incompleto: ha meno delle tre righe di un marcatore.";
    return esito;
  }
  try {
    ContenutoMarcatore c;
    c.stringaConnessione =
        Cp1252ToUtf8(Codifica(lette[0], ModoCodifica::Leggi, kChiaviMarcatore[0]));
    c.tipoDb = Cp1252ToUtf8(Codifica(lette[1], ModoCodifica::Leggi, kChiaviMarcatore[1]));
    c.cartella = Cp1252ToUtf8(Codifica(lette[2], ModoCodifica::Leggi, kChiaviMarcatore[2]));
    esito.contenuto = std::move(c);
  } catch (const ErroreCodifica&) {
    esito.motivo = nome +
                   " non è leggibile: non è stato scritto da un programma collegato oppure è "
                   "danneggiato.";
  }
  return esito;
}

std::optional<ContenutoMarcatore> LeggiFileMarcatore(const std::filesystem::path& file) {
  return LeggiMarcatore(file).contenuto;
}

bool ScriviMarcatore(Contesto& ctx) {
  const auto file = CartellaMarcatori(ctx) / "SYSTEM" / std::string(kMarcatoreProprio);
  ScritturaAtomica::RimuoviAbbandonati(file.parent_path());
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
