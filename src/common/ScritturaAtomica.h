#pragma once

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace fcl {

// Writes a file whole or not at all. The bytes go to a temporary file in the destination's folder;
// Conferma() flushes it to disk and renames it over the destination in one step. Until then the
// destination, if it exists, is untouched; if the writer is destroyed without Conferma() (an error,
// an exception) the temporary file is removed. Every failure throws ErroreFile with an Italian text
// naming the file.
//
// The temporary file is named "." + the destination's name + ".fcl" + six random characters, and
// the writer holds an exclusive advisory lock (flock) on it for as long as it lives. A process that
// is killed leaves the file behind but its lock goes with it: RimuoviAbbandonati tells such files
// from the ones a running writer is still filling, and removes them.
class ScritturaAtomica {
 public:
  // How many bytes the temporary file's name adds to the destination's name.
  static constexpr std::size_t kAggiuntaNomeTemporaneo = 11;
  // An unlocked temporary file younger than this may belong to a writer that has just created it
  // and not yet taken its lock: it is left alone.
  static constexpr std::chrono::seconds kEtaAbbandono{120};

  // nullopt when a file can be written at `destinazione` through a temporary file; otherwise the
  // message that its name is too long ("nome troppo lungo", with the limit of the volume) or that
  // the whole path is. Checked before a run starts, so that it does not fail half-way.
  static std::optional<std::string> ControllaNome(const std::filesystem::path& destinazione);

  // Removes from `cartella` (not its subfolders) the temporary files of writers that are gone:
  // no process holds their lock and they are older than kEtaAbbandono. With `ancheSenzaBlocco`
  // also the temporary files of earlier versions ("." + name + "." + six characters, which had no
  // lock), for the program's own folders where nothing else writes such names. Returns how many
  // files were removed; never throws (a file that cannot be removed stays).
  static int RimuoviAbbandonati(const std::filesystem::path& cartella,
                                bool ancheSenzaBlocco = false);

  // Permanente: Conferma puts the bytes on the disk (fsync) before the rename, so that a crash
  // leaves the old file or the new one whole. Provvisoria: a scratch file that lives only for the
  // time of a run and is removed after it (a batch's own intermediate file): still renamed into
  // place whole, but not forced to the disk, since nothing needs it after a crash.
  enum class Durata { Permanente, Provvisoria };

  explicit ScritturaAtomica(std::filesystem::path destinazione, Durata durata = Durata::Permanente);
  ~ScritturaAtomica();

  ScritturaAtomica(const ScritturaAtomica&) = delete;
  ScritturaAtomica& operator=(const ScritturaAtomica&) = delete;

  void Scrivi(std::string_view byte);
  // Rewrites bytes already written, from byte `posizione` on (a header patched at the end of a
  // one-pass writer); later writes go on at the end of the file.
  void Riscrivi(long long posizione, std::string_view byte);
  // Puts every byte written so far on the disk without renaming: a full disk shows here while
  // the destination is untouched, so that a file written together with this one is put in place
  // only when this one can follow. Conferma then has only the rename left.
  void Prepara();
  void Conferma();

  const std::filesystem::path& Destinazione() const { return destinazione_; }
  const std::filesystem::path& Temporaneo() const { return temporaneo_; }

 private:
  [[noreturn]] void Fallisci(std::string_view azione);

  std::filesystem::path destinazione_;
  std::filesystem::path temporaneo_;
  std::FILE* file_ = nullptr;
  Durata durata_;
  bool confermato_ = false;
  // Every byte written is on the disk (Prepara, nothing written since): Conferma need not sync
  // again.
  bool sincronizzato_ = false;
  // The stream's buffer: large writes instead of one system call every 4 KB.
  std::unique_ptr<char[]> buffer_;
  // A file to be synced has its bytes sent to the disk while it grows, so that the sync at the
  // end waits for little: bytes written since the last start of that writeback.
  std::size_t senzaScrittura_ = 0;
};

}  // namespace fcl
