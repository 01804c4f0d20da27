#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "fatture/LettoreFatturaXml.h"
#include "fatture/RegoleFatture.h"

struct zip;

namespace fcl {

// Walks the invoice files of a source as they come from the real world: a folder (and its
// subfolders, in name order), a .zip archive as the portal gives it (folders inside, an archive
// inside the archive one level deep), single .xml and .xml.p7m files. Each file is told by its
// content, not its name: a zip archive, a signed envelope (DER or base64), XML; anything else is
// named and passed over, as are macOS's "__MACOSX" and "._" entries.
//
// Hostile input is bounded: an archive entry larger than kLimiteVoce once decompressed, or that
// inflates more than kRapportoMassimo times, is not read (a "zip bomb"); a whole archive may not
// inflate beyond kLimiteArchivio; a signed envelope is read whole only up to kLimiteP7m. Every
// file that cannot be read is named with the reason, and the walk goes on.
class RaccoltaFatture {
 public:
  static constexpr std::uint64_t kLimiteVoce = 256ull << 20;
  static constexpr std::uint64_t kLimiteP7m = 64ull << 20;
  static constexpr std::uint64_t kLimiteArchivio = 64ull << 30;
  static constexpr std::uint64_t kRapportoMassimo = 200;
  static constexpr std::uint64_t kVociMassime = 2000000;

  // What the walk hands out: the invoices of a file, or why a file is passed over. `nome` is the
  // file as the user knows it: its path, or "archive.zip/entry".
  class Destinatario {
   public:
    virtual ~Destinatario() = default;
    virtual void Fatture(const std::string& nome, LettoreFatturaXml::Risultato&& risultato) = 0;
    virtual void Scartato(const std::string& nome, MotivoScarto motivo,
                          const std::string& dettaglio) = 0;
  };

  // `avanza` is called before every file (it may throw to stop the walk).
  RaccoltaFatture(Destinatario& destinatario, std::function<void()> avanza);

  // Walks one path given by the user. Throws Errore when it does not exist or cannot be read at
  // all.
  void Leggi(const std::filesystem::path& percorso);

 private:
  using Fonte = LettoreFatturaXml::Fonte;
  void File(const std::filesystem::path& file, const std::string& nome);
  void Archivio(zip* archivio, const std::string& nome, int livello);
  void ArchivioDaFile(const std::filesystem::path& file, const std::string& nome, int livello);
  // One file's bytes: `inizio` holds its first bytes, `resto` gives the others.
  void Contenuto(const std::string& nome, std::string& inizio, const Fonte& resto,
                 std::uint64_t limite,
                 const std::function<void(const std::string& inizio)>& comeArchivio);

  Destinatario& destinatario_;
  std::function<void()> avanza_;
  LettoreFatturaXml xml_;
  std::string primo_;  // the first block of the file being read
};

}  // namespace fcl
