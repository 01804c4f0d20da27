#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

struct zip_file;

namespace fcl {

// One entry of a zip archive opened for reading, decompressed a block at a time. It counts the
// bytes it hands out and stops with ErroreCartella past its limit, whatever the archive declares,
// so a small file that inflates without end cannot exhaust memory or time. Owned by the caller;
// the archive it came from must outlive it.
class VoceZip {
 public:
  VoceZip(zip_file* file, std::string nome, std::uint64_t limite, std::filesystem::path percorso);
  ~VoceZip();
  VoceZip(const VoceZip&) = delete;
  VoceZip& operator=(const VoceZip&) = delete;

  // Up to `n` bytes into `destinazione`; 0 at the end of the entry. Throws ErroreCartella when the
  // entry is damaged or longer than the limit.
  std::size_t Leggi(char* destinazione, std::size_t n);

  const std::string& Nome() const { return nome_; }
  const std::filesystem::path& Percorso() const { return percorso_; }

 private:
  zip_file* file_;
  std::string nome_;
  std::uint64_t limite_;
  std::uint64_t letti_ = 0;
  std::filesystem::path percorso_;
};

}  // namespace fcl
