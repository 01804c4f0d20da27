#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fcl {

// A compound file (the container of .xls workbooks) held in memory, from which a stream can be
// taken whole by name. Every sector number, chain and size is checked against the file: a damaged
// file is reported by Valido() or by Flusso() returning nullopt, never read out of bounds or
// followed round a loop.
class FileComposto {
 public:
  explicit FileComposto(std::string byte);

  // Whether the header, the allocation table and the directory could be read.
  bool Valido() const { return valido_; }
  bool Contiene(std::string_view nome) const;
  // The stream with this name (e.g. "Workbook"); nullopt when it is absent or its chain is broken.
  std::optional<std::string> Flusso(std::string_view nome) const;

 private:
  struct Voce {
    std::string nome;
    std::uint32_t inizio;
    std::uint64_t dimensione;
  };

  bool Settore(std::uint32_t numero, std::string& destinazione) const;
  std::optional<std::string> Catena(std::uint32_t primo, std::uint64_t dimensione,
                                    const std::string& fat, std::uint32_t dimensioneSettore,
                                    const std::string* contenitore) const;
  bool Leggi();

  std::string byte_;
  bool valido_ = false;
  std::uint32_t dimensioneSettore_ = 512;
  std::string fat_;
  std::vector<Voce> voci_;
  Voce radice_{};
};

}  // namespace fcl
