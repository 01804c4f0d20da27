#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fcl {

// The path as the disk resolves it (absolute, links and ".." resolved); lexically normalised when
// the disk cannot tell (a folder that cannot be read). One name for every spelling of a path.
std::filesystem::path Risolto(const std::filesystem::path& p);

struct Contesto;

// The files that a file written for the user (a check listing, the files named after it, a backup
// file) must never replace: the program's configuration, everything in its DataBase folder, the
// intermediate file of the run, and whatever the operation reads (the workbook of the run, the
// backup file being restored). Paths are compared as the disk resolves them: "..", "." and symbolic
// links are resolved (also for a file that does not exist yet, through its existing folders), and
// an existing file is also compared by identity, so that a hard link or another spelling of the
// same name on a volume that ignores case is caught as well.
class FileProtetti {
 public:
  // The program's own files under ctx.cartellaProgramma: configurazione.ini (ctx.fileIni), the
  // DataBase folder, and the intermediate file FCLtemp.TXT.
  explicit FileProtetti(const Contesto& ctx);

  // One more protected file; `descrizione` completes "Il file X " in the message ("è il foglio
  // Excel da elaborare").
  void Aggiungi(const std::filesystem::path& file, std::string descrizione);

  // Why `uscita` may not be written ("è il file di configurazione del programma"), or nullopt when
  // it is none of the protected files.
  std::optional<std::string> Motivo(const std::filesystem::path& uscita) const;

 private:
  struct Voce {
    std::filesystem::path percorso;
    std::string descrizione;
    bool cartella = false;  // every file beneath it is protected
  };
  std::vector<Voce> voci_;
};

}  // namespace fcl
