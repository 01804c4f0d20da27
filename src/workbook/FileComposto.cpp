#include "workbook/FileComposto.h"

namespace fcl {
namespace {

constexpr std::uint32_t kFineCatena = 0xFFFFFFFE;
constexpr std::size_t kVoce = 128;
constexpr unsigned char kFirma[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

std::uint16_t U16(std::string_view s, std::size_t i) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(s[i]) |
                                    static_cast<unsigned char>(s[i + 1]) << 8);
}

std::uint32_t U32(std::string_view s, std::size_t i) {
  return static_cast<std::uint32_t>(U16(s, i)) | static_cast<std::uint32_t>(U16(s, i + 2)) << 16;
}

}  // namespace

FileComposto::FileComposto(std::string byte) : byte_(std::move(byte)) { valido_ = Leggi(); }

bool FileComposto::Settore(std::uint32_t numero, std::string& destinazione) const {
  const std::uint64_t inizio = (static_cast<std::uint64_t>(numero) + 1) * dimensioneSettore_;
  if (inizio + dimensioneSettore_ > byte_.size()) return false;
  destinazione.append(byte_, static_cast<std::size_t>(inizio), dimensioneSettore_);
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

bool FileComposto::Leggi() {
  if (byte_.size() < 512 ||
      byte_.compare(0, sizeof kFirma, reinterpret_cast<const char*>(kFirma), sizeof kFirma) != 0)
    return false;
  const std::uint16_t spostamento = U16(byte_, 0x1E);
  if (spostamento != 9 && spostamento != 12) return false;
  dimensioneSettore_ = 1u << spostamento;
  const std::uint64_t settoriNelFile = byte_.size() / dimensioneSettore_;

  // The FAT: the sectors listed in the header's DIFAT, then in the DIFAT chain.
  const std::uint32_t settoriFat = U32(byte_, 0x2C);
  if (settoriFat > settoriNelFile) return false;
  std::uint32_t letti = 0;
  for (std::size_t i = 0; i < 109 && letti < settoriFat; ++i, ++letti) {
    if (!Settore(U32(byte_, 0x4C + i * 4), fat_)) return false;
  }
  std::uint32_t difat = U32(byte_, 0x44);
  std::uint64_t passi = 0;
  while (letti < settoriFat) {
    std::string blocco;
    if (difat == kFineCatena || ++passi > settoriNelFile || !Settore(difat, blocco)) return false;
    for (std::size_t i = 0; i + 1 < dimensioneSettore_ / 4 && letti < settoriFat; ++i, ++letti) {
      if (!Settore(U32(blocco, i * 4), fat_)) return false;
    }
    difat = U32(blocco, dimensioneSettore_ - 4);
  }

  // The directory: a chain of sectors of 128-byte entries; the first is the root entry, which
  // holds the mini stream.
  std::string directory;
  std::uint32_t settore = U32(byte_, 0x30);
  std::uint64_t conta = 0;
  while (settore != kFineCatena) {
    if (settore >= fat_.size() / 4 || ++conta > settoriNelFile || !Settore(settore, directory))
      return false;
    settore = U32(fat_, static_cast<std::size_t>(settore) * 4);
  }
  if (directory.size() < kVoce) return false;
  for (std::size_t v = 0; v + kVoce <= directory.size(); v += kVoce) {
    const std::string_view voce(directory.data() + v, kVoce);
    const std::uint16_t lunghezza = U16(voce, 64);
    const auto tipo = static_cast<unsigned char>(voce[66]);
    if ((tipo != 2 && tipo != 5) || lunghezza < 2 || lunghezza > 64) continue;
    std::string nome;
    for (std::size_t i = 0; i + 2 < lunghezza; i += 2) {
      const std::uint16_t c = U16(voce, i);
      nome += c < 128 ? static_cast<char>(c) : '?';
    }
    Voce letta{nome, U32(voce, 0x74), U32(voce, 0x78)};
    if (tipo == 5 && v == 0)
      radice_ = letta;
    else if (tipo == 2)
      voci_.push_back(letta);
  }
  return true;
}

bool FileComposto::Contiene(std::string_view nome) const {
  for (const auto& voce : voci_) {
    if (voce.nome == nome) return true;
  }
  return false;
}

std::optional<std::string> FileComposto::Flusso(std::string_view nome) const {
  for (const auto& voce : voci_) {
    if (voce.nome != nome) continue;
    if (voce.dimensione > byte_.size()) return std::nullopt;
    if (voce.dimensione >= U32(byte_, 0x38))
      return Catena(voce.inizio, voce.dimensione, fat_, dimensioneSettore_, nullptr);
    // A small stream lives in the mini stream (held by the root entry), in mini sectors chained
    // by the mini FAT.
    const std::uint32_t settoriMiniFat = U32(byte_, 0x40);
    if (settoriMiniFat > byte_.size() / dimensioneSettore_ || radice_.dimensione > byte_.size())
      return std::nullopt;
    const auto miniFat =
        Catena(U32(byte_, 0x3C), static_cast<std::uint64_t>(settoriMiniFat) * dimensioneSettore_,
               fat_, dimensioneSettore_, nullptr);
    const auto miniFlusso =
        Catena(radice_.inizio, radice_.dimensione, fat_, dimensioneSettore_, nullptr);
    if (!miniFat || !miniFlusso) return std::nullopt;
    return Catena(voce.inizio, voce.dimensione, *miniFat, 1u << (U16(byte_, 0x20) & 15),
                  &*miniFlusso);
  }
  return std::nullopt;
}

}  // namespace fcl
