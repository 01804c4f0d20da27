// Opening a workbook: the format is chosen by the file's first bytes, never by its name, so a
// .xlsx renamed .xls still opens and a text file named .xls is refused with a clear message.
#include <array>
#include <cstring>
#include <fstream>
#include <iterator>

#include "workbook/ArchivioZip.h"
#include "workbook/ErroriCartella.h"
#include "workbook/FileComposto.h"
#include "workbook/LettoreBiff8.h"
#include "workbook/LettoreCartella.h"
#include "workbook/LettoreOds.h"
#include "workbook/LettoreXls.h"
#include "workbook/LettoreXlsx.h"

namespace fcl {
namespace {

constexpr std::array<unsigned char, 8> kFirmaCompound = {0xD0, 0xCF, 0x11, 0xE0,
                                                         0xA1, 0xB1, 0x1A, 0xE1};

// The largest .xls read: the whole file is held while its workbook stream is taken out.
constexpr std::uintmax_t kLimiteXls = 1ull << 30;

// A compound file: an Excel 97-2003 workbook (read from its records), an older one (FreeXL), a
// .xlsx saved with a password (its package is encrypted inside a compound file), or another
// Office document that is no workbook.
std::unique_ptr<LettoreCartella> ApriCompound(const std::filesystem::path& percorso) {
  std::error_code ec;
  const auto dimensione = std::filesystem::file_size(percorso, ec);
  if (ec) throw errori_cartella::AccessoNegato(percorso);
  if (dimensione > kLimiteXls)
    throw errori_cartella::ParteTroppoGrande(percorso, percorso.filename().string(), kLimiteXls);
  std::ifstream file(percorso, std::ios::binary);
  // Read at its size in one go: grown a byte at a time the buffer would take twice the file.
  std::string byte(static_cast<std::size_t>(dimensione), '\0');
  file.read(byte.data(), static_cast<std::streamsize>(byte.size()));
  byte.resize(static_cast<std::size_t>(file.gcount()));
  if (file.good())
    byte.append(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  if (!file.good() && !file.eof()) throw errori_cartella::AccessoNegato(percorso);

  const FileComposto composto(std::move(byte));
  if (!composto.Valido())
    throw errori_cartella::Danneggiata(percorso, "struttura del file composto non valida");
  if (composto.Contiene("EncryptedPackage") || composto.Contiene("EncryptionInfo"))
    throw errori_cartella::Protetta(percorso);
  // Excel 97-2003 content is read from its records whatever its stream is called ("Book" in some
  // files written by other programs); FreeXL reads only the older formats.
  for (const char* nome : {"Workbook", "Book"}) {
    if (!composto.Contiene(nome)) continue;
    auto flusso = composto.Flusso(nome);
    if (!flusso)
      throw errori_cartella::Danneggiata(percorso, "flusso " + std::string(nome) + " interrotto");
    // BIFF8 (Excel 97-2003) begins with a BOF record of version 0x0600.
    const bool biff8 = flusso->size() >= 8 && (*flusso)[0] == '\x09' && (*flusso)[1] == '\x08' &&
                       (*flusso)[4] == '\x00' && (*flusso)[5] == '\x06';
    if (biff8) return std::make_unique<LettoreBiff8>(percorso, std::move(*flusso));
    return std::make_unique<LettoreXls>(percorso);
  }
  throw errori_cartella::NonCartella(percorso);
}

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

  if (letti == firma.size() && firma == kFirmaCompound) return ApriCompound(percorso);

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
