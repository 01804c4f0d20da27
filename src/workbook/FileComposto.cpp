#include "workbook/FileComposto.h"

#include <cstring>

namespace fcl {
namespace {

constexpr std::uint32_t kFineCatena = 0xFFFFFFFE;
constexpr std::size_t kVoce = 128;

std::uint16_t U16(std::string_view s, std::size_t i) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(s[i]) |
                                    static_cast<unsigned char>(s[i + 1]) << 8);
}

std::uint32_t U32(std::string_view s, std::size_t i) {
  return static_cast<std::uint32_t>(U16(s, i)) | static_cast<std::uint32_t>(U16(s, i + 2)) << 16;
}

}  // namespace

bool FileComposto::Settore(std::uint32_t numero, std::string& destinazione) const {
  const std::uint32_t dimensione = 1u << U16(byte_, 0x1E);
  const std::uint64_t inizio = (static_cast<std::uint64_t>(numero) + 1) * dimensione;
  if (inizio + dimensione > byte_.size()) return false;
  destinazione.append(byte_, static_cast<std::size_t>(inizio), dimensione);
  return true;
}

// Follows a chain of sectors through a FAT (or mini FAT) and returns its first `dimensione` bytes.
// `contenitore` is null for sectors of the file, or the mini stream for mini sectors.
std::optional<std::string> FileComposto::Catena(std::uint32_t primo, std::uint64_t dimensione,
                                                const std::string& fat,
                                                std::uint32_t dimensioneSettore,
                                                const std::string* contenitore) const {
  std::string risultato;
  const std::uint64_t voci = fat.size() / 4;
  std::uint32_t settore = primo;
  std::uint64_t passi = 0;
  while (risultato.size() < dimensione) {
    if (settore == kFineCatena || settore >= voci || ++passi > voci) return std::nullopt;
    if (contenitore == nullptr) {
      if (!Settore(settore, risultato)) return std::nullopt;
    } else {
      const std::uint64_t inizio = static_cast<std::uint64_t>(settore) * dimensioneSettore;
      if (inizio + dimensioneSettore > contenitore->size()) return std::nullopt;
      risultato.append(*contenitore, static_cast<std::size_t>(inizio), dimensioneSettore);
    }
    settore = U32(fat, static_cast<std::size_t>(settore) * 4);
  }
  risultato.resize(static_cast<std::size_t>(dimensione));
  return risultato;
}

std::optional<std::string> FileComposto::Flusso(std::string_view nome) const {
  if (byte_.size() < 512) return std::nullopt;
  const std::uint16_t spostamento = U16(byte_, 0x1E);
  if (spostamento != 9 && spostamento != 12) return std::nullopt;
  const std::uint32_t dimensioneSettore = 1u << spostamento;
  const std::uint32_t miniDimensione = 1u << (U16(byte_, 0x20) & 15);
  const std::uint32_t limiteMini = U32(byte_, 0x38);
  const std::uint64_t settoriNelFile = byte_.size() / dimensioneSettore;

  // The FAT: the sectors listed in the header's DIFAT, then in the DIFAT chain.
  const std::uint32_t settoriFat = U32(byte_, 0x2C);
  if (settoriFat > settoriNelFile) return std::nullopt;
  std::string fat;
  std::uint32_t letti = 0;
  for (std::size_t i = 0; i < 109 && letti < settoriFat; ++i, ++letti) {
    if (!Settore(U32(byte_, 0x4C + i * 4), fat)) return std::nullopt;
  }
  std::uint32_t difat = U32(byte_, 0x44);
  std::uint64_t passi = 0;
  while (letti < settoriFat) {
    std::string blocco;
    if (difat == kFineCatena || ++passi > settoriNelFile || !Settore(difat, blocco))
      return std::nullopt;
    for (std::size_t i = 0; i + 1 < dimensioneSettore / 4 && letti < settoriFat; ++i, ++letti) {
      if (!Settore(U32(blocco, i * 4), fat)) return std::nullopt;
    }
    difat = U32(blocco, dimensioneSettore - 4);
  }

  // The directory: a chain of sectors of 128-byte entries. The streams of a workbook sit in the
  // root storage; a name anywhere in the directory is taken, as spreadsheet programs do.
  std::string directory;
  {
    std::uint32_t settore = U32(byte_, 0x30);
    std::uint64_t conta = 0;
    while (settore != kFineCatena) {
      if (settore >= fat.size() / 4 || ++conta > settoriNelFile || !Settore(settore, directory))
        return std::nullopt;
      settore = U32(fat, static_cast<std::size_t>(settore) * 4);
    }
  }
  if (directory.size() < kVoce) return std::nullopt;
  const std::string_view radice(directory.data(), kVoce);
  for (std::size_t v = 0; v + kVoce <= directory.size(); v += kVoce) {
    const std::string_view voce(directory.data() + v, kVoce);
    const std::uint16_t lunghezza = U16(voce, 64);
    if (voce[66] != 2 || lunghezza < 2 || lunghezza > 64) continue;
    std::string nomeVoce;
    for (std::size_t i = 0; i + 2 < lunghezza; i += 2) {
      const std::uint16_t c = U16(voce, i);
      nomeVoce += c < 128 ? static_cast<char>(c) : '?';
    }
    if (nomeVoce != nome) continue;
    const std::uint32_t inizio = U32(voce, 0x74);
    const std::uint64_t dimensione = U32(voce, 0x78);
    if (dimensione > byte_.size()) return std::nullopt;
    if (dimensione >= limiteMini) return Catena(inizio, dimensione, fat, dimensioneSettore, nullptr);
    // A small stream lives in the mini stream (held by the root entry), in 64-byte mini sectors
    // chained by the mini FAT.
    const std::uint32_t settoriMiniFat = U32(byte_, 0x40);
    if (settoriMiniFat > settoriNelFile) return std::nullopt;
    const auto miniFat = Catena(U32(byte_, 0x3C),
                                static_cast<std::uint64_t>(settoriMiniFat) * dimensioneSettore,
                                fat, dimensioneSettore, nullptr);
    const std::uint64_t dimensioneMini = U32(radice, 0x78);
    if (!miniFat || dimensioneMini > byte_.size()) return std::nullopt;
    const auto miniFlusso = Catena(U32(radice, 0x74), dimensioneMini, fat, dimensioneSettore,
                                   nullptr);
    if (!miniFlusso) return std::nullopt;
    return Catena(inizio, dimensione, *miniFat, miniDimensione, &*miniFlusso);
  }
  return std::nullopt;
}

}  // namespace fcl
