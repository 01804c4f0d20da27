#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fcl {

// A compound file (the container of .xls workbooks) held in memory, from which one stream can be
// taken whole by name. Every sector number, chain and size is checked against the file: a damaged
// file makes Flusso() return nullopt, never read out of bounds or loop.
class FileComposto {
 public:
  explicit FileComposto(std::string byte) : byte_(std::move(byte)) {}

  // The stream with this name in the root storage (e.g. "Workbook"); nullopt when it is absent or
  // the file is damaged.
  std::optional<std::string> Flusso(std::string_view nome) const;

 private:
  bool Settore(std::uint32_t numero, std::string& destinazione) const;
  std::optional<std::string> Catena(std::uint32_t primo, std::uint64_t dimensione,
                                    const std::string& fat, std::uint32_t dimensioneSettore,
                                    const std::string* contenitore) const;

  std::string byte_;
};

}  // namespace fcl
