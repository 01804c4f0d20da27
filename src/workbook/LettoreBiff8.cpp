#include "workbook/LettoreBiff8.h"

#include <cstring>
#include <map>
#include <stdexcept>

#include "workbook/BloccoRighe.h"
#include "workbook/ErroriCartella.h"
#include "workbook/StiliXlsx.h"

namespace fcl {
namespace {

// Record types.
constexpr std::uint16_t kFormula = 0x0006;
constexpr std::uint16_t kFine = 0x000A;
constexpr std::uint16_t kDataModo = 0x0022;
constexpr std::uint16_t kPassword = 0x002F;
constexpr std::uint16_t kContinua = 0x003C;
constexpr std::uint16_t kFoglio = 0x0085;
constexpr std::uint16_t kMulRk = 0x00BD;
constexpr std::uint16_t kXf = 0x00E0;
constexpr std::uint16_t kSst = 0x00FC;
constexpr std::uint16_t kEtichettaSst = 0x00FD;
constexpr std::uint16_t kRstring = 0x00D6;
constexpr std::uint16_t kNumero = 0x0203;
constexpr std::uint16_t kEtichetta = 0x0204;
constexpr std::uint16_t kBooleanoErrore = 0x0205;
constexpr std::uint16_t kStringa = 0x0207;
constexpr std::uint16_t kMatrice = 0x0221;
constexpr std::uint16_t kTabella = 0x0236;
constexpr std::uint16_t kRk = 0x027E;
constexpr std::uint16_t kCondivisa = 0x04BC;
constexpr std::uint16_t kFormato = 0x041E;
constexpr std::uint16_t kInizio = 0x0809;

// Days between 30/12/1899 and 01/01/1904, the day 0 of the 1904 date system.
constexpr double kScarto1904 = 1462;

// Damage found while decoding; turned into ErroreCartella by the reader.
struct Rotto : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::uint16_t U16(std::string_view s, std::size_t i) {
  if (i + 2 > s.size()) throw Rotto("record troppo corto");
  return static_cast<std::uint16_t>(static_cast<unsigned char>(s[i]) |
                                    static_cast<unsigned char>(s[i + 1]) << 8);
}

std::uint32_t U32(std::string_view s, std::size_t i) {
  return static_cast<std::uint32_t>(U16(s, i)) | static_cast<std::uint32_t>(U16(s, i + 2)) << 16;
}

double Doppio(std::string_view s, std::size_t i) {
  if (i + 8 > s.size()) throw Rotto("record troppo corto");
  double d = 0;
  std::memcpy(&d, s.data() + i, sizeof d);
  return d;
}

// An RK number: a 30-bit integer or the high bits of a double, possibly divided by 100.
double Rk(std::uint32_t rk) {
  double valore;
  if (rk & 2) {
    valore = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
  } else {
    const std::uint64_t bit = static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32;
    std::memcpy(&valore, &bit, sizeof valore);
  }
  return (rk & 1) ? valore / 100 : valore;
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
    case 0x00:
      return "#NULL!";
    case 0x07:
      return "#DIV/0!";
    case 0x0F:
      return "#VALUE!";
    case 0x17:
      return "#REF!";
    case 0x1D:
      return "#NAME?";
    case 0x24:
      return "#NUM!";
    case 0x2A:
      return "#N/A";
    default:
      return "#ERROR!";
  }
}

struct Record {
  std::uint16_t tipo = 0;
  std::uint32_t posizione = 0;  // of the header in the stream
  std::string_view dati;
};

// The records of a BIFF stream, one after the other.
class Records {
 public:
  Records(std::string_view flusso, std::size_t posizione)
      : flusso_(flusso), posizione_(posizione) {}
  // The next record; false at the end of the stream. A record running past the end is damage.
  bool Prossimo(Record& record) {
    if (posizione_ + 4 > flusso_.size()) return false;
    record.tipo = U16(flusso_, posizione_);
    const std::uint16_t lunghezza = U16(flusso_, posizione_ + 2);
    if (posizione_ + 4 + lunghezza > flusso_.size()) throw Rotto("record oltre la fine del flusso");
    record.posizione = static_cast<std::uint32_t>(posizione_);
    record.dati = flusso_.substr(posizione_ + 4, lunghezza);
    posizione_ += 4 + lunghezza;
    return true;
  }
  std::uint16_t TipoProssimo() const {
    return posizione_ + 4 <= flusso_.size() ? U16(flusso_, posizione_) : 0;
  }
  // The data of the CONTINUE records that follow.
  void Continuazioni(std::vector<std::string_view>& pezzi) {
    Record r;
    while (TipoProssimo() == kContinua && Prossimo(r)) pezzi.push_back(r.dati);
  }

 private:
  std::string_view flusso_;
  std::size_t posizione_;
};

// Bytes spread over a record and its CONTINUE records. Inside the characters of a string, each
// continuation starts with a flags byte saying whether they are one byte or two.
class Pezzi {
 public:
  explicit Pezzi(std::vector<std::string_view> pezzi) : pezzi_(std::move(pezzi)) {}

  bool Finiti() {
    while (pezzo_ < pezzi_.size() && posizione_ == pezzi_[pezzo_].size()) {
      ++pezzo_;
      posizione_ = 0;
    }
    return pezzo_ >= pezzi_.size();
  }
  std::uint8_t Byte() {
    if (Finiti()) throw Rotto("stringa oltre la fine del record");
    return static_cast<std::uint8_t>(pezzi_[pezzo_][posizione_++]);
  }
  std::uint16_t Parola() {
    const std::uint16_t basso = Byte();
    return static_cast<std::uint16_t>(basso | Byte() << 8);
  }
  std::uint32_t Doppia() {
    const std::uint32_t basso = Parola();
    return basso | static_cast<std::uint32_t>(Parola()) << 16;
  }
  void Salta(std::uint64_t n) {
    while (n > 0) {
      if (Finiti()) throw Rotto("stringa oltre la fine del record");
      const std::uint64_t qui = std::min<std::uint64_t>(n, pezzi_[pezzo_].size() - posizione_);
      posizione_ += static_cast<std::size_t>(qui);
      n -= qui;
    }
  }
  static constexpr std::uint32_t kSostituto = 0xFFFD;

  std::string Caratteri(std::size_t caratteri, bool doppi) {
    std::string testo;
    std::uint32_t alto = 0;
    for (std::size_t i = 0; i < caratteri; ++i) {
      if (pezzo_ < pezzi_.size() && posizione_ == pezzi_[pezzo_].size()) {
        if (pezzo_ + 1 >= pezzi_.size()) throw Rotto("stringa oltre la fine del record");
        ++pezzo_;
        posizione_ = 0;
        doppi = (Byte() & 1) != 0;
      }
      std::uint32_t c = doppi ? Parola() : Byte();
      // A surrogate without its pair (a damaged string) becomes U+FFFD, so that the text stays
      // valid UTF-8.
      if (c >= 0xD800 && c < 0xDC00) {
        if (alto != 0) Utf8(testo, kSostituto);
        alto = c;
        continue;
      }
      if (c >= 0xDC00 && c < 0xE000)
        c = alto != 0 ? 0x10000 + ((alto - 0xD800) << 10) + (c - 0xDC00) : kSostituto;
      else if (alto != 0)
        Utf8(testo, kSostituto);
      alto = 0;
      Utf8(testo, c);
    }
    if (alto != 0) Utf8(testo, kSostituto);
    return testo;
  }

 private:
  std::vector<std::string_view> pezzi_;
  std::size_t pezzo_ = 0;
  std::size_t posizione_ = 0;
};

// A string: its count (8 or 16 bits), a flags byte (low bit: two bytes a character; 0x08 rich text
// runs; 0x04 phonetic data, the last two only in the shared strings), the characters, then the
// runs and the phonetic data, which are skipped.
std::string Stringa(Pezzi& pezzi, bool conteggioCorto, bool esteso) {
  const std::size_t caratteri = conteggioCorto ? pezzi.Byte() : pezzi.Parola();
  const std::uint8_t opzioni = pezzi.Byte();
  std::uint32_t runs = 0;
  std::uint32_t fonetica = 0;
  if (esteso && (opzioni & 0x08)) runs = pezzi.Parola();
  if (esteso && (opzioni & 0x04)) fonetica = pezzi.Doppia();
  std::string testo = pezzi.Caratteri(caratteri, (opzioni & 1) != 0);
  pezzi.Salta(static_cast<std::uint64_t>(runs) * 4 + fonetica);
  return testo;
}

}  // namespace

LettoreBiff8::LettoreBiff8(const std::filesystem::path& percorso, std::string flusso)
    : percorso_(percorso), flusso_(std::move(flusso)), riga_(kColonneLette) {
  try {
    LeggiGlobali();
  } catch (const Rotto& e) {
    Danneggiato(e.what());
  }
}

void LettoreBiff8::Danneggiato(const std::string& dettaglio) const {
  throw errori_cartella::Danneggiata(percorso_, dettaglio);
}

void LettoreBiff8::LeggiGlobali() {
  Records records(flusso_, 0);
  Record record;
  if (!records.Prossimo(record) || record.tipo != kInizio || U16(record.dati, 0) != 0x0600)
    Danneggiato("il flusso Workbook non inizia come una cartella di Excel 97-2003");
  std::map<std::uint16_t, bool> formatiData;
  std::vector<std::uint16_t> formatiXf;
  bool fine = false;
  while (!fine && records.Prossimo(record)) {
    const std::string_view d = record.dati;
    switch (record.tipo) {
      case kFine:
        fine = true;
        break;
      case kPassword:
        throw errori_cartella::Protetta(percorso_);
      case kDataModo:
        data1904_ = U16(d, 0) == 1;
        break;
      case kFormato: {
        Pezzi pezzi({d.substr(std::min<std::size_t>(2, d.size()))});
        const std::uint16_t id = U16(d, 0);
        formatiData[id] = StiliXlsx::CodiceFormatoData(Stringa(pezzi, false, false));
        break;
      }
      case kXf:
        formatiXf.push_back(U16(d, 2));
        break;
      case kFoglio: {
        const std::uint32_t posizione = U32(d, 0);
        if (d.size() < 6) throw Rotto("foglio senza nome");
        Pezzi pezzi({d.substr(6)});
        std::string nome = Stringa(pezzi, true, false);
        // Chart sheets, macro sheets and modules are not worksheets.
        if (static_cast<std::uint8_t>(d[5]) == 0) {
          if (fogli_.size() >= errori_cartella::kFogliMassimi)
            throw errori_cartella::OltreILimiti(
                percorso_,
                "elenca più di " + std::to_string(errori_cartella::kFogliMassimi) + " fogli");
          Foglio foglio;
          foglio.nome = std::move(nome);
          foglio.posizione = posizione;
          fogli_.push_back(std::move(foglio));
        }
        break;
      }
      case kSst: {
        std::vector<std::string_view> parti = {d.substr(std::min<std::size_t>(8, d.size()))};
        const std::uint32_t quante = U32(d, 4);
        records.Continuazioni(parti);
        Pezzi pezzi(std::move(parti));
        for (std::uint32_t i = 0; i < quante && !pezzi.Finiti(); ++i) {
          if (testi_.Pieni())
            throw errori_cartella::OltreILimiti(
                percorso_, "contiene più di " +
                               std::to_string(errori_cartella::kTestiCondivisiMassimi) +
                               " testi condivisi");
          testi_.Aggiungi(Stringa(pezzi, false, true));
        }
        break;
      }
      default:
        break;
    }
  }
  for (const std::uint16_t formato : formatiXf) {
    const auto it = formatiData.find(formato);
    xfData_.push_back(it != formatiData.end() ? it->second
                                              : StiliXlsx::FormatoIncorporatoData(formato));
  }
}

std::string LettoreBiff8::NomeFoglio(int foglio) {
  if (foglio < 1 || foglio > NumeroFogli()) throw errori_cartella::FoglioMancante(foglio);
  return fogli_[static_cast<std::size_t>(foglio - 1)].nome;
}

void LettoreBiff8::Indicizza(Foglio& foglio) {
  foglio.righe.clear();
  if (foglio.posizione >= flusso_.size()) throw Rotto("foglio \"" + foglio.nome + "\" mancante");
  Records records(flusso_, foglio.posizione);
  Record record;
  if (!records.Prossimo(record) || record.tipo != kInizio)
    throw Rotto("foglio \"" + foglio.nome + "\" senza inizio");
  while (records.Prossimo(record) && record.tipo != kFine && record.tipo != kInizio) {
    switch (record.tipo) {
      case kNumero:
      case kRk:
      case kMulRk:
      case kEtichettaSst:
      case kEtichetta:
      case kRstring:
      case kBooleanoErrore:
      case kFormula: {
        const std::uint16_t riga = U16(record.dati, 0);
        if (U16(record.dati, 2) >= kColonneLette) break;
        if (riga >= foglio.righe.size()) foglio.righe.resize(riga + 1u);
        foglio.righe[riga].push_back(record.posizione);
        break;
      }
      default:
        break;
    }
  }
  foglio.indicizzato = true;
}

Cella LettoreBiff8::Numero(double valore, std::uint16_t xf) const {
  Cella cella;
  if (xf < xfData_.size() && xfData_[xf]) {
    // A time alone (a fraction of a day) is the same in both date systems.
    const bool soloOra = valore > 0 && valore < 1;
    cella.tipo = Cella::Tipo::Data;
    cella.numero = data1904_ && !soloOra ? valore + kScarto1904 : valore;
  } else {
    cella.tipo = Cella::Tipo::Numero;
    cella.numero = valore;
  }
  return cella;
}

void LettoreBiff8::Decodifica(std::uint32_t posizione, std::vector<Cella>& celle) const {
  Records records(flusso_, posizione);
  Record record;
  records.Prossimo(record);
  const std::string_view d = record.dati;
  const std::uint16_t colonna = U16(d, 2);
  const std::uint16_t xf = U16(d, 4);
  Cella cella;
  switch (record.tipo) {
    case kNumero:
      cella = Numero(Doppio(d, 6), xf);
      break;
    case kRk:
      cella = Numero(Rk(U32(d, 6)), xf);
      break;
    case kMulRk: {
      // Columns first..last, each with its style and RK number; the last two bytes say the last.
      if (d.size() < 6) throw Rotto("MULRK troppo corto");
      const std::size_t quante = (d.size() - 6) / 6;
      for (std::size_t i = 0; i < quante; ++i) {
        const std::size_t c = colonna + i;
        if (c >= kColonneLette) break;
        celle[c] = Numero(Rk(U32(d, 4 + i * 6 + 2)), U16(d, 4 + i * 6));
      }
      return;
    }
    case kEtichettaSst: {
      const std::uint32_t indice = U32(d, 6);
      if (indice >= testi_.Quanti()) throw Rotto("riferimento a un testo condiviso inesistente");
      cella.tipo = Cella::Tipo::Testo;
      cella.testo = testi_.Testo(indice);
      break;
    }
    case kEtichetta:
    case kRstring: {
      std::vector<std::string_view> parti = {d.substr(std::min<std::size_t>(6, d.size()))};
      records.Continuazioni(parti);
      Pezzi pezzi(std::move(parti));
      cella.tipo = Cella::Tipo::Testo;
      cella.testo = Stringa(pezzi, false, false);
      break;
    }
    case kBooleanoErrore:
      if (d.size() < 8) throw Rotto("BOOLERR troppo corto");
      if (d[7] != 0) {
        cella.tipo = Cella::Tipo::Errore;
        cella.testo = TestoErrore(static_cast<std::uint8_t>(d[6]));
      } else {
        cella.tipo = Cella::Tipo::Booleano;
        cella.numero = d[6] != 0 ? 1 : 0;
      }
      break;
    case kFormula: {
      // The computed value: a double, or (when the last two bytes are FFFF) a text in the STRING
      // record that follows, a boolean, an error or an empty text.
      if (d.size() < 14) throw Rotto("FORMULA troppo corto");
      const std::string_view risultato = d.substr(6, 8);
      if (U16(risultato, 6) != 0xFFFF) {
        cella = Numero(Doppio(risultato, 0), xf);
        break;
      }
      switch (static_cast<std::uint8_t>(risultato[0])) {
        case 0: {
          Record stringa;
          while (records.TipoProssimo() == kMatrice || records.TipoProssimo() == kCondivisa ||
                 records.TipoProssimo() == kTabella) {
            records.Prossimo(stringa);
          }
          if (records.TipoProssimo() != kStringa || !records.Prossimo(stringa))
            throw Rotto("manca il testo calcolato di una formula");
          std::vector<std::string_view> parti = {stringa.dati};
          records.Continuazioni(parti);
          Pezzi pezzi(std::move(parti));
          cella.tipo = Cella::Tipo::Testo;
          cella.testo = Stringa(pezzi, false, false);
          break;
        }
        case 1:
          cella.tipo = Cella::Tipo::Booleano;
          cella.numero = risultato[2] != 0 ? 1 : 0;
          break;
        case 2:
          cella.tipo = Cella::Tipo::Errore;
          cella.testo = TestoErrore(static_cast<std::uint8_t>(risultato[2]));
          break;
        default:
          cella.tipo = Cella::Tipo::Testo;  // an empty text
          break;
      }
      break;
    }
    default:
      return;
  }
  if (colonna < kColonneLette) celle[colonna] = std::move(cella);
}

const std::vector<Cella>& LettoreBiff8::Riga(int foglio, int riga) {
  if (foglio == foglioRiga_ && riga == numeroRiga_) return riga_;
  if (foglio < 1 || foglio > NumeroFogli()) throw errori_cartella::FoglioMancante(foglio);
  foglioRiga_ = 0;
  std::fill(riga_.begin(), riga_.end(), Cella());
  Foglio& f = fogli_[static_cast<std::size_t>(foglio - 1)];
  try {
    if (!f.indicizzato) Indicizza(f);
    if (riga >= 1 && static_cast<std::size_t>(riga) <= f.righe.size()) {
      for (const std::uint32_t posizione : f.righe[static_cast<std::size_t>(riga - 1)])
        Decodifica(posizione, riga_);
    }
  } catch (const Rotto& e) {
    Danneggiato(e.what());
  }
  foglioRiga_ = foglio;
  numeroRiga_ = riga;
  return riga_;
}

}  // namespace fcl
