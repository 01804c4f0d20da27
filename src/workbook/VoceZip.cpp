#include "workbook/VoceZip.h"

#include <zip.h>

#include "workbook/ErroriCartella.h"

namespace fcl {

VoceZip::VoceZip(zip_file* file, std::string nome, std::uint64_t limite,
                 std::filesystem::path percorso)
    : file_(file), nome_(std::move(nome)), limite_(limite), percorso_(std::move(percorso)) {}

VoceZip::~VoceZip() { zip_fclose(file_); }

std::size_t VoceZip::Leggi(char* destinazione, std::size_t n) {
  // Ask for one byte more than the limit allows, so that an entry of exactly the limit is accepted
  // and a longer one is caught.
  const std::uint64_t resto = limite_ - letti_ + 1;
  if (n > resto) n = static_cast<std::size_t>(resto);
  const zip_int64_t letti = zip_fread(file_, destinazione, n);
  if (letti < 0) {
    throw errori_cartella::Danneggiata(percorso_,
                                       nome_ + " non si decomprime: " + zip_file_strerror(file_));
  }
  letti_ += static_cast<std::uint64_t>(letti);
  if (letti_ > limite_) throw errori_cartella::ParteTroppoGrande(percorso_, nome_, limite_);
  return static_cast<std::size_t>(letti);
}

}  // namespace fcl
