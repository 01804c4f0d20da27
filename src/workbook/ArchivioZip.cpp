#include "workbook/ArchivioZip.h"

#include <zip.h>

#include "workbook/ErroriCartella.h"

namespace fcl {

ArchivioZip::ArchivioZip(const std::filesystem::path& percorso) : percorso_(percorso) {
  int codice = 0;
  archivio_ = zip_open(percorso.c_str(), ZIP_RDONLY, &codice);
  if (archivio_ == nullptr) {
    if (codice == ZIP_ER_NOZIP) throw errori_cartella::NonCartella(percorso);
    if (codice == ZIP_ER_OPEN || codice == ZIP_ER_READ)
      throw errori_cartella::AccessoNegato(percorso);
    zip_error_t errore;
    zip_error_init_with_code(&errore, codice);
    const std::string testo = zip_error_strerror(&errore);
    zip_error_fini(&errore);
    throw errori_cartella::Danneggiata(percorso, "archivio zip non valido: " + testo);
  }
}

ArchivioZip::~ArchivioZip() { zip_discard(archivio_); }

std::optional<std::uint64_t> ArchivioZip::Indice(const std::string& nome) const {
  zip_int64_t i = zip_name_locate(archivio_, nome.c_str(), 0);
  if (i < 0) i = zip_name_locate(archivio_, nome.c_str(), ZIP_FL_NOCASE);
  if (i < 0) return std::nullopt;
  return static_cast<std::uint64_t>(i);
}

bool ArchivioZip::Contiene(const std::string& nome) const { return Indice(nome).has_value(); }

std::unique_ptr<VoceZip> ArchivioZip::Apri(const std::string& nome, std::uint64_t limite) const {
  const auto indice = Indice(nome);
  if (!indice) return nullptr;
  zip_stat_t stato;
  zip_stat_init(&stato);
  if (zip_stat_index(archivio_, *indice, 0, &stato) == 0 && (stato.valid & ZIP_STAT_SIZE) &&
      stato.size > limite) {
    throw errori_cartella::ParteTroppoGrande(percorso_, nome, limite);
  }
  zip_file_t* file = zip_fopen_index(archivio_, *indice, 0);
  if (file == nullptr) {
    const zip_error_t* errore = zip_get_error(archivio_);
    if (zip_error_code_zip(errore) == ZIP_ER_ENCRNOTSUPP ||
        zip_error_code_zip(errore) == ZIP_ER_NOPASSWD) {
      throw errori_cartella::Protetta(percorso_);
    }
    throw errori_cartella::Danneggiata(percorso_,
                                       nome + " non si apre: " + zip_strerror(archivio_));
  }
  return std::make_unique<VoceZip>(file, nome, limite, percorso_);
}

std::optional<std::string> ArchivioZip::LeggiTutto(const std::string& nome,
                                                   std::uint64_t limite) const {
  auto voce = Apri(nome, limite);
  if (!voce) return std::nullopt;
  std::string testo;
  char blocco[65536];
  while (const std::size_t n = voce->Leggi(blocco, sizeof blocco)) testo.append(blocco, n);
  return testo;
}

}  // namespace fcl
