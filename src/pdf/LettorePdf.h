#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "pdf/OggettoPdf.h"

namespace fcl {

// An object of a template with its stream data, when it has a stream (the bytes as stored).
struct OggettoIndiretto {
  OggettoPdf valore;
  bool haFlusso = false;
  std::string dati;
};

// The small PDF reader behind the page import. It holds the whole template in memory (templates are
// forms of a few hundred KB; larger files are refused), indexes its cross-reference data and page
// tree once, and serves objects by number.
//
// It reads classic cross-reference tables, incremental updates (the newest entry of an object
// wins), hybrid files, cross-reference streams and object streams (Flate with or without PNG
// predictors), the page tree with inherited attributes, and references of any generation.
// Encrypted files are recognised, not read.
//
// Failure: a damaged or hostile file throws ErroreModelloPdf. Every offset, length and count read
// from the file is checked against the file's bytes, loops in /Prev chains, page trees and parent
// chains are cut, nesting and decoding are bounded, so a bad file ends in an error, never in a
// crash, a hang or a read outside the file.
class LettorePdf {
 public:
  static constexpr std::size_t kDimensioneMassima = 128u << 20;  // bytes of a template file

  explicit LettorePdf(std::string contenuto);

  // The minor version of the header (%PDF-1.4 gives 4; a PDF 2.x file counts as 7).
  int VersioneMinore() const { return versioneMinore_; }
  bool Cifrato() const { return cifrato_; }
  // Object numbers of the pages, in page order.
  const std::vector<int>& Pagine() const { return pagine_; }

  // True when the cross-reference data gives the object a place in the file.
  bool Esiste(int numero) const;
  // The object with its stream data; a missing object reads as null.
  OggettoIndiretto Oggetto(int numero);
  // The value itself, or the object a reference points to.
  OggettoPdf Risolvi(const OggettoPdf& valore);
  // A page attribute that may sit in the page or in one of its ancestors (/Resources, /MediaBox);
  // null when none of them has it.
  OggettoPdf Ereditato(int pagina, std::string_view chiave);
  // The decoded data of a stream: unfiltered or Flate (with PNG predictors); nullopt for any other
  // filter. Throws when Flate data is invalid or expands beyond the limits.
  std::optional<std::string> Decodifica(const OggettoIndiretto& oggetto);

 private:
  struct Voce {
    int tipo = 0;       // 0 free, 1 at an offset, 2 inside an object stream
    std::size_t a = 0;  // offset, or number of the object stream
    std::size_t b = 0;  // index inside the object stream
  };
  struct FlussoOggetti {
    std::string dati;
    std::size_t primo = 0;
    std::vector<std::pair<int, std::size_t>> posizioni;  // (object number, offset from primo)
  };

  std::size_t CercaStartxref() const;
  OggettoPdf LeggiSezione(std::size_t offset);
  OggettoPdf LeggiTabella(std::size_t offset, std::unordered_map<int, Voce>& voci);
  OggettoPdf LeggiFlussoXref(std::size_t offset, std::unordered_map<int, Voce>& voci);
  void CercaPagine();
  OggettoIndiretto OggettoAllaPosizione(int numero, std::size_t offset);
  OggettoIndiretto OggettoCompresso(int numero, const Voce& voce);
  std::string_view DatiFlusso(const OggettoPdf& dizionario, std::size_t inizio);
  std::optional<std::string> Decodifica(const OggettoPdf& dizionario, std::string_view dati);

  std::string dati_;
  int versioneMinore_ = 3;
  bool cifrato_ = false;
  OggettoPdf trailer_;
  std::unordered_map<int, Voce> voci_;
  std::unordered_map<int, FlussoOggetti> flussiOggetti_;
  std::vector<int> pagine_;
  int profondita_ = 0;  // nested object reads (a /Length that is a reference...)
  std::size_t byteDecodificati_ = 0;
};

}  // namespace fcl
