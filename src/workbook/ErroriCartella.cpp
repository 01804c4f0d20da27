#include "workbook/ErroriCartella.h"

namespace fcl::errori_cartella {
namespace {

std::string Nome(const std::filesystem::path& percorso) { return "\"" + percorso.string() + "\""; }

}  // namespace

ErroreCartella FileMancante(const std::filesystem::path& percorso) {
  return ErroreCartella(kFileMancante, "Il file " + Nome(percorso) + " non esiste");
}

ErroreCartella AccessoNegato(const std::filesystem::path& percorso) {
  return ErroreCartella(kAccessoNegato,
                        "Il file " + Nome(percorso) + " non può essere aperto in lettura");
}

ErroreCartella NonCartella(const std::filesystem::path& percorso) {
  return ErroreCartella(kNonCartella, "Il file " + Nome(percorso) +
                                          " non è una cartella di lavoro di Excel (.xls, .xlsx) "
                                          "o OpenDocument (.ods) leggibile");
}

ErroreCartella Protetta(const std::filesystem::path& percorso) {
  return ErroreCartella(kProtetta, "La cartella di lavoro " + Nome(percorso) +
                                       " è protetta da password: salvarla senza password e "
                                       "riprovare");
}

ErroreCartella Danneggiata(const std::filesystem::path& percorso, const std::string& dettaglio) {
  return ErroreCartella(kDanneggiata, "La cartella di lavoro " + Nome(percorso) +
                                          " è danneggiata e non può essere letta (" + dettaglio +
                                          ")");
}

ErroreCartella ParteTroppoGrande(const std::filesystem::path& percorso, const std::string& parte,
                                 std::uint64_t limite) {
  return ErroreCartella(kParteTroppoGrande,
                        "La cartella di lavoro " + Nome(percorso) +
                            " non può essere letta: la parte " + parte + " supera " +
                            (limite >= (1u << 20) ? std::to_string(limite >> 20) + " MB"
                                                  : std::to_string(limite >> 10) + " KB") +
                            " una volta decompressa");
}

ErroreCartella FoglioMancante(int foglio) {
  return ErroreCartella(kFoglioMancante, "Il foglio " + std::to_string(foglio) +
                                             " non esiste nella cartella di lavoro");
}

ErroreCartella OltreILimiti(const std::filesystem::path& percorso, const std::string& dettaglio) {
  return ErroreCartella(kOltreILimiti, "La cartella di lavoro " + Nome(percorso) +
                                           " non può essere letta: " + dettaglio);
}

std::size_t Caratteri(std::string_view testo) {
  std::size_t n = 0;
  for (const char c : testo)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  return n;
}

}  // namespace fcl::errori_cartella
