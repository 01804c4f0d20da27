#pragma once

#include <cstdio>
#include <filesystem>
#include <string_view>

namespace fcl {

// Writes a file whole or not at all. The bytes go to a temporary file in the destination's folder;
// Conferma() flushes it to disk and renames it over the destination in one step. Until then the
// destination, if it exists, is untouched; if the writer is destroyed without Conferma() (an error,
// an exception) the temporary file is removed. Every failure throws ErroreFile with an Italian text
// naming the file.
class ScritturaAtomica {
 public:
  explicit ScritturaAtomica(std::filesystem::path destinazione);
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
  bool confermato_ = false;
};

}  // namespace fcl
