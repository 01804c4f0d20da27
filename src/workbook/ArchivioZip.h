#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "workbook/VoceZip.h"

struct zip;

namespace fcl {

// A zip archive (the container of .xlsx and .ods) opened read-only. Entries are found by name,
// exactly first and then ignoring case, and read through VoceZip with a size limit. Throws
// ErroreCartella when the file is not a readable zip archive.
class ArchivioZip {
 public:
  explicit ArchivioZip(const std::filesystem::path& percorso);
  ~ArchivioZip();
  ArchivioZip(const ArchivioZip&) = delete;
  ArchivioZip& operator=(const ArchivioZip&) = delete;

  bool Contiene(const std::string& nome) const;
  // Opens an entry for reading; nullptr when the archive has no such entry.
  std::unique_ptr<VoceZip> Apri(const std::string& nome, std::uint64_t limite) const;
  // The whole entry; nullopt when absent. Throws past the limit.
  std::optional<std::string> LeggiTutto(const std::string& nome, std::uint64_t limite) const;

  const std::filesystem::path& Percorso() const { return percorso_; }

 private:
  std::optional<std::uint64_t> Indice(const std::string& nome) const;

  std::filesystem::path percorso_;
  zip* archivio_ = nullptr;
};

}  // namespace fcl
