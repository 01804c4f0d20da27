// Opening a workbook: the format is chosen by the file's first bytes, never by its name, so a
// .xlsx renamed .xls still opens and a text file named .xls is refused with a clear message.
#include <array>
#include <cstring>
#include <fstream>

#include "workbook/ArchivioZip.h"
#include "workbook/ErroriCartella.h"
#include "workbook/LettoreCartella.h"
#include "workbook/LettoreOds.h"
#include "workbook/LettoreXls.h"
#include "workbook/LettoreXlsx.h"

namespace fcl {
namespace {

constexpr std::array<unsigned char, 8> kFirmaCompound = {0xD0, 0xCF, 0x11, 0xE0,
                                                          0xA1, 0xB1, 0x1A, 0xE1};

}  // namespace

std::unique_ptr<LettoreCartella> ApriCartella(const std::filesystem::path& percorso) {
  std::error_code ec;
  const auto stato = std::filesystem::status(percorso, ec);
  if (!std::filesystem::exists(stato)) throw errori_cartella::FileMancante(percorso);
  if (!std::filesystem::is_regular_file(stato)) throw errori_cartella::NonCartella(percorso);

  std::ifstream file(percorso, std::ios::binary);
  if (!file) throw errori_cartella::AccessoNegato(percorso);
  std::array<unsigned char, 8> firma{};
  file.read(reinterpret_cast<char*>(firma.data()), firma.size());
  const auto letti = static_cast<std::size_t>(file.gcount());
  file.close();

  if (letti == firma.size() && firma == kFirmaCompound)
    return std::make_unique<LettoreXls>(percorso);

  if (letti >= 4 && firma[0] == 'P' && firma[1] == 'K' &&
      ((firma[2] == 3 && firma[3] == 4) || (firma[2] == 5 && firma[3] == 6))) {
    auto archivio = std::make_unique<ArchivioZip>(percorso);
    if (LettoreOds::EOds(*archivio)) return std::make_unique<LettoreOds>(std::move(archivio));
    if (!LettoreXlsx::ParteCartella(*archivio).empty())
      return std::make_unique<LettoreXlsx>(std::move(archivio));
  }
  throw errori_cartella::NonCartella(percorso);
}

}  // namespace fcl
