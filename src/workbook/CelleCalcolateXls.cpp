#include "workbook/CelleCalcolateXls.h"

#include <cstring>
#include <fstream>
#include <iterator>

#include "workbook/BloccoRighe.h"
#include "workbook/ErroriCartella.h"
#include "workbook/FileComposto.h"
#include "workbook/StiliXlsx.h"

namespace fcl {
namespace {

constexpr std::uint16_t kFormula = 0x0006;
constexpr std::uint16_t kFine = 0x000A;
constexpr std::uint16_t kDataModo = 0x0022;
constexpr std::uint16_t kPassword = 0x002F;
constexpr std::uint16_t kContinua = 0x003C;
constexpr std::uint16_t kFoglio = 0x0085;
constexpr std::uint16_t kXf = 0x00E0;
constexpr std::uint16_t kBooleanoErrore = 0x0205;
constexpr std::uint16_t kStringa = 0x0207;
constexpr std::uint16_t kFormato = 0x041E;
constexpr std::uint16_t kMatrice = 0x0221;
constexpr std::uint16_t kCondivisa = 0x04BC;
constexpr std::uint16_t kTabella = 0x0236;
constexpr std::uint16_t kInizio = 0x0809;

constexpr double kScarto1904 = 1462;

std::uint16_t U16(std::string_view s, std::size_t i) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(s[i]) |
                                    static_cast<unsigned char>(s[i + 1]) << 8);
}

std::uint32_t U32(std::string_view s, std::size_t i) {
  return static_cast<std::uint32_t>(U16(s, i)) | static_cast<std::uint32_t>(U16(s, i + 2)) << 16;
}

void Utf8(std::string& s, std::uint32_t c) {
  if (c < 0x80) {
    s += static_cast<char>(c);
  } else if (c < 0x800) {
    s += static_cast<char>(0xC0 | (c >> 6));
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    s += static_cast<char>(0xE0 | (c >> 12));
    s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    s += static_cast<char>(0xF0 | (c >> 18));
    s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  }
}

const char* TestoErrore(unsigned codice) {
  switch (codice) {
    case 0x00: return "#NULL!";
    case 0x07: return "#DIV/0!";
    case 0x0F: return "#VALUE!";
    case 0x17: return "#REF!";
    case 0x1D: return "#NAME?";
    case 0x24: return "#NUM!";
    case 0x2A: return "#N/A";
    default: return "#ERROR!";
  }
}

struct Record {
  std::uint16_t tipo;
  std::string_view dati;
};

// The records of a BIFF stream, one after the other; a record running past the end is damage.
class Records {
 public:
  Records(std::string_view flusso, std::size_t posizione)
      : flusso_(flusso), posizione_(posizione) {}
  // The next record; false at the end of the stream. Throws std::out_of_range on damage.
  bool Prossimo(Record& record) {
    if (posizione_ + 4 > flusso_.size()) return false;
    record.tipo = U16(flusso_, posizione_);
    const std::uint16_t lunghezza = U16(flusso_, posizione_ + 2);
    if (posizione_ + 4 + lunghezza > flusso_.size()) throw std::out_of_range("record");
    record.dati = flusso_.substr(posizione_ + 4, lunghezza);
    posizione_ += 4 + lunghezza;
    return true;
  }
  // The type of the next record without taking it, 0 at the end.
  std::uint16_t TipoProssimo() const {
    return posizione_ + 4 <= flusso_.size() ? U16(flusso_, posizione_) : 0;
  }

 private:
  std::string_view flusso_;
  std::size_t posizione_;
};

// A BIFF8 string that may run on into CONTINUE records: each continuation starts with a new
// flags byte saying whether its characters are one byte or two.
class LettoreStringa {
 public:
  explicit LettoreStringa(std::vector<std::string_view> pezzi) : pezzi_(std::move(pezzi)) {}

  std::uint8_t Byte() {
    Controlla(1);
    return static_cast<std::uint8_t>(pezzi_[pezzo_][posizione_++]);
  }
  std::uint16_t Parola() {
    const std::uint16_t basso = Byte();
    return static_cast<std::uint16_t>(basso | Byte() << 8);
  }
  void Salta(std::size_t n) {
    while (n-- > 0) Byte();
  }
  // `caratteri` characters, starting as the flags byte says.
  std::string Caratteri(std::size_t caratteri, bool doppi) {
    std::string testo;
    std::uint32_t alto = 0;
    for (std::size_t i = 0; i < caratteri; ++i) {
      if (posizione_ == pezzi_[pezzo_].size() && pezzo_ + 1 < pezzi_.size()) {
        ++pezzo_;
        posizione_ = 0;
        doppi = (Byte() & 1) != 0;
      }
      std::uint32_t c = doppi ? Parola() : Byte();
      if (c >= 0xD800 && c < 0xDC00) {
        alto = c;
        continue;
      }
      if (c >= 0xDC00 && c < 0xE000 && alto != 0) c = 0x10000 + ((alto - 0xD800) << 10) + (c - 0xDC00);
      alto = 0;
      Utf8(testo, c);
    }
    return testo;
  }

 private:
  void Controlla(std::size_t n) {
    if (posizione_ + n <= pezzi_[pezzo_].size()) return;
    if (posizione_ == pezzi_[pezzo_].size() && pezzo_ + 1 < pezzi_.size() &&
        n <= pezzi_[pezzo_ + 1].size()) {
      ++pezzo_;
      posizione_ = 0;
      return;
    }
    throw std::out_of_range("stringa");
  }

  std::vector<std::string_view> pezzi_;
  std::size_t pezzo_ = 0;
  std::size_t posizione_ = 0;
};

// XLUnicodeString (a 16-bit count) or ShortXLUnicodeString (8-bit): the count, a flags byte whose
// low bit says two bytes a character, the characters.
std::string StringaUnicode(LettoreStringa& lettore, bool conteggioCorto) {
  const std::size_t caratteri = conteggioCorto ? lettore.Byte() : lettore.Parola();
  const std::uint8_t opzioni = lettore.Byte();
  return lettore.Caratteri(caratteri, (opzioni & 1) != 0);
}

}  // namespace

CelleCalcolateXls::CelleCalcolateXls(const std::filesystem::path& percorso) {
  std::ifstream file(percorso, std::ios::binary);
  std::string byte((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const FileComposto composto(std::move(byte));
  auto flusso = composto.Flusso("Workbook");
  if (!flusso) flusso = composto.Flusso("Book");  // Excel 5 and 95: no BIFF8, left to FreeXL
  if (!flusso) return;
  const std::string_view dati(*flusso);

  try {
    Records globali(dati, 0);
    Record record{};
    if (!globali.Prossimo(record) || record.tipo != kInizio || record.dati.size() < 2 ||
        U16(record.dati, 0) != 0x0600)
      return;

    bool data1904 = false;
    std::map<std::uint16_t, bool> formatiData;
    std::vector<std::uint16_t> formatiXf;
    struct Foglio {
      std::uint32_t posizione;
      std::string nome;
    };
    std::vector<Foglio> fogli;
    while (globali.Prossimo(record) && record.tipo != kFine) {
      const std::string_view d = record.dati;
      switch (record.tipo) {
        case kPassword:
          return;  // encrypted: FreeXL has refused it already
        case kDataModo:
          if (d.size() >= 2) data1904 = U16(d, 0) == 1;
          break;
        case kFormato: {
          if (d.size() < 2) break;
          LettoreStringa lettore({d.substr(2)});
          formatiData[U16(d, 0)] = StiliXlsx::CodiceFormatoData(StringaUnicode(lettore, false));
          break;
        }
        case kXf:
          if (d.size() >= 4) formatiXf.push_back(U16(d, 2));
          break;
        case kFoglio: {
          if (d.size() < 8) break;
          LettoreStringa lettore({d.substr(6)});
          if (static_cast<std::uint8_t>(d[5]) == 0)  // a worksheet, not a chart or a macro sheet
            fogli.push_back(Foglio{U32(d, 0), StringaUnicode(lettore, true)});
          break;
        }
        default:
          break;
      }
    }
    const auto Data = [&](std::uint16_t xf) {
      if (xf >= formatiXf.size()) return false;
      const std::uint16_t formato = formatiXf[xf];
      const auto it = formatiData.find(formato);
      return it != formatiData.end() ? it->second : StiliXlsx::FormatoIncorporatoData(formato);
    };

    for (const Foglio& foglio : fogli) {
      if (foglio.posizione >= dati.size()) throw std::out_of_range("foglio");
      auto& righe = fogli_[foglio.nome];
      Records records(dati, foglio.posizione);
      if (!records.Prossimo(record) || record.tipo != kInizio) throw std::out_of_range("foglio");
      while (records.Prossimo(record) && record.tipo != kFine && record.tipo != kInizio) {
        const std::string_view d = record.dati;
        if ((record.tipo != kFormula && record.tipo != kBooleanoErrore) || d.size() < 8) continue;
        const std::uint16_t riga = U16(d, 0);
        const std::uint16_t colonna = U16(d, 2);
        const std::uint16_t xf = U16(d, 4);
        Cella cella;
        if (record.tipo == kBooleanoErrore) {
          if (static_cast<std::uint8_t>(d[7]) != 0) {
            cella.tipo = Cella::Tipo::Errore;
            cella.testo = TestoErrore(static_cast<std::uint8_t>(d[6]));
          } else {
            cella.tipo = Cella::Tipo::Booleano;
            cella.numero = static_cast<std::uint8_t>(d[6]) != 0 ? 1 : 0;
          }
        } else {
          if (d.size() < 14) throw std::out_of_range("formula");
          const std::string_view risultato = d.substr(6, 8);
          if (U16(risultato, 6) == 0xFFFF) {
            const auto tipo = static_cast<std::uint8_t>(risultato[0]);
            if (tipo == 0) {
              // A text result: the STRING record that follows (after any array or shared formula
              // record), with its continuations.
              Record stringa{};
              while ((records.TipoProssimo() == kMatrice || records.TipoProssimo() == kCondivisa ||
                      records.TipoProssimo() == kTabella) &&
                     records.Prossimo(stringa)) {
              }
              if (records.TipoProssimo() != kStringa || !records.Prossimo(stringa))
                throw std::out_of_range("stringa");
              std::vector<std::string_view> pezzi = {stringa.dati};
              while (records.TipoProssimo() == kContinua && records.Prossimo(stringa))
                pezzi.push_back(stringa.dati);
              LettoreStringa lettore(std::move(pezzi));
              cella.tipo = Cella::Tipo::Testo;
              cella.testo = StringaUnicode(lettore, false);
            } else if (tipo == 1) {
              cella.tipo = Cella::Tipo::Booleano;
              cella.numero = static_cast<std::uint8_t>(risultato[2]) != 0 ? 1 : 0;
            } else if (tipo == 2) {
              cella.tipo = Cella::Tipo::Errore;
              cella.testo = TestoErrore(static_cast<std::uint8_t>(risultato[2]));
            } else {
              cella.tipo = Cella::Tipo::Testo;  // an empty text
            }
          } else {
            double numero = 0;
            std::memcpy(&numero, risultato.data(), sizeof numero);
            if (Data(xf)) {
              const bool soloOra = numero > 0 && numero < 1;
              cella.tipo = Cella::Tipo::Data;
              cella.numero = data1904 && !soloOra ? numero + kScarto1904 : numero;
            } else {
              cella.tipo = Cella::Tipo::Numero;
              cella.numero = numero;
            }
          }
        }
        if (colonna >= kColonneLette) continue;
        righe[riga + 1u].emplace_back(colonna, std::move(cella));
        ++quante_;
      }
    }
  } catch (const std::out_of_range&) {
    throw errori_cartella::Danneggiata(percorso, "record del flusso Workbook incompleti");
  }
}

void CelleCalcolateXls::Sovrapponi(const std::string& foglio, int riga,
                                   std::vector<Cella>& celle) const {
  const auto f = fogli_.find(foglio);
  if (f == fogli_.end() || riga < 1) return;
  const auto r = f->second.find(static_cast<std::uint32_t>(riga));
  if (r == f->second.end()) return;
  for (const auto& [colonna, cella] : r->second) celle[colonna] = cella;
}

}  // namespace fcl
