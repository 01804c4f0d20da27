#include "workbook/LettoreXls.h"

#include <freexl.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <utility>

#include <unistd.h>

#include "workbook/BloccoRighe.h"
#include "workbook/ErroriCartella.h"
#include "workbook/FileComposto.h"
#include "workbook/TestoXml.h"

namespace fcl {
namespace {

std::string Spiega(int codice) {
  switch (codice) {
    case FREEXL_INSUFFICIENT_MEMORY:
      return "memoria insufficiente";
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
      return "manca il flusso della cartella di lavoro";
    case FREEXL_CRAFTED_FILE:
      return "struttura interna incoerente";
    default:
      return "errore FreeXL " + std::to_string(codice);
  }
}

// FreeXL 1.0.6 trusts the lengths of a damaged file and reads past its own buffers (a record
// longer than the format allows, a text longer than its record). The workbook stream is checked
// here first, as this system reads the compound file: it must begin with a BOF record, every
// record must lie inside the stream within the format's longest record, every text of the
// records FreeXL converts must lie inside its record. Returns the stream's name and bytes.
std::pair<std::string, std::string> ControllaFlusso(const std::filesystem::path& percorso) {
  std::ifstream file(percorso, std::ios::binary);
  std::string byte((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const FileComposto composto(std::move(byte));
  std::optional<std::string> flusso;
  if (composto.Valido())
    flusso = composto.Contiene("Workbook") ? composto.Flusso("Workbook") : composto.Flusso("Book");
  auto rotto = [&](const std::string& dettaglio) {
    throw errori_cartella::Danneggiata(percorso, dettaglio);
  };
  if (!flusso || flusso->size() < 4) rotto("flusso della cartella di lavoro vuoto o interrotto");
  const std::string& f = *flusso;
  auto parola = [&](std::size_t pos) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(f[pos]) |
                                      static_cast<unsigned char>(f[pos + 1]) << 8);
  };
  const std::uint16_t bof = parola(0);
  if (bof != 0x0009 && bof != 0x0209 && bof != 0x0409 && bof != 0x0809)
    rotto("il flusso della cartella di lavoro non inizia con un record BOF");
  constexpr std::size_t kRecordMassimo = 8224;
  for (std::size_t pos = 0; pos + 4 <= f.size();) {
    const std::uint16_t tipo = parola(pos);
    const std::size_t lunghezza = parola(pos + 2);
    if (lunghezza > kRecordMassimo || pos + 4 + lunghezza > f.size())
      rotto("record di lunghezza non valida");
    const std::size_t corpo = pos + 4;
    // Where the text's length is and how many bytes come before the text.
    std::size_t campo = 0, prima = 0;
    bool corto = false;
    switch (tipo) {
      case 0x0085: campo = 6; prima = 7; corto = true; break;   // BOUNDSHEET
      case 0x0204: campo = 6; prima = 8; break;                 // LABEL
      case 0x00D6: campo = 6; prima = 8; break;                 // RSTRING
      case 0x0207: campo = 0; prima = 2; break;                 // STRING
      case 0x041E: campo = 2; prima = 3; corto = true; break;   // FORMAT
      case 0x001E: campo = 0; prima = 1; corto = true; break;   // FORMAT (BIFF2-3)
      default: prima = 0;
    }
    // DIMENSIONS: FreeXL sets aside room for every cell of the rectangle at once. The formats it
    // reads hold 16,384 rows (65,536 in the longer form of the record) and 256 columns.
    if ((tipo == 0x0000 || tipo == 0x0200) && lunghezza >= 8) {
      const bool lungo = lunghezza >= 14;
      const std::size_t righe =
          lungo ? parola(corpo + 4) | static_cast<std::size_t>(parola(corpo + 6)) << 16
                : parola(corpo + 2);
      const std::size_t colonne = parola(corpo + (lungo ? 10 : 6));
      if (righe > (lungo ? 65536u : 16384u) || colonne > 256)
        rotto("dimensioni del foglio oltre i limiti del formato");
    }
    if (prima > 0) {
      if (prima > lunghezza) rotto("record di testo troppo corto");
      const std::size_t caratteri =
          corto ? static_cast<unsigned char>(f[corpo + campo]) : parola(corpo + campo);
      if (prima + caratteri > lunghezza) rotto("testo oltre la fine del record");
    }
    pos = corpo + lunghezza;
  }
  return {composto.Contiene("Workbook") ? "Workbook" : "Book", std::move(*flusso)};
}


void Metti16(std::string& s, std::size_t pos, std::uint16_t v) {
  s[pos] = static_cast<char>(v & 0xFF);
  s[pos + 1] = static_cast<char>(v >> 8);
}
void Metti32(std::string& s, std::size_t pos, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s[pos + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// A plain compound file holding one stream, padded with zeros to 4096 bytes so that it sits in
// regular sectors: FreeXL is given this instead of the user's file, so that it reads exactly the
// stream checked above (its own reading of a damaged container goes out of bounds). Empty when the
// stream is beyond the 109 allocation sectors of the header (about 7 MB).
std::string Ricomponi(const std::string& nome, std::string dati) {
  constexpr std::size_t kSettore = 512;
  constexpr std::uint32_t kFine = 0xFFFFFFFE, kLibero = 0xFFFFFFFF, kFat = 0xFFFFFFFD;
  if (dati.size() < 4096) dati.resize(4096, '\0');
  const std::size_t settoriDati = (dati.size() + kSettore - 1) / kSettore;
  dati.resize(settoriDati * kSettore, '\0');
  std::size_t settoriFat = 1;
  while (settoriFat * (kSettore / 4) < settoriDati + 1 + settoriFat) ++settoriFat;
  if (settoriFat > 109) return {};
  std::string file(kSettore, '\0');
  const std::string firma = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
  file.replace(0, 8, firma);
  Metti16(file, 24, 0x003E);
  Metti16(file, 26, 0x0003);
  Metti16(file, 28, 0xFFFE);
  Metti16(file, 30, 9);
  Metti16(file, 32, 6);
  Metti32(file, 44, static_cast<std::uint32_t>(settoriFat));
  Metti32(file, 48, static_cast<std::uint32_t>(settoriDati));  // the directory sector
  Metti32(file, 56, 4096);
  Metti32(file, 60, kFine);
  Metti32(file, 68, kFine);
  for (std::size_t i = 0; i < 109; ++i)
    Metti32(file, 76 + 4 * i,
            i < settoriFat ? static_cast<std::uint32_t>(settoriDati + 1 + i) : kLibero);
  file += dati;
  auto voce = [](const std::string& n, std::uint8_t tipo, std::uint32_t figlio, std::uint32_t inizio,
                 std::uint32_t dimensione) {
    std::string v(128, '\0');
    for (std::size_t i = 0; i < n.size() && i < 31; ++i)
      Metti16(v, 2 * i, static_cast<unsigned char>(n[i]));
    Metti16(v, 64, static_cast<std::uint16_t>(tipo == 0 ? 0 : 2 * (n.size() + 1)));
    v[66] = static_cast<char>(tipo);
    v[67] = 1;
    Metti32(v, 68, kLibero);
    Metti32(v, 72, kLibero);
    Metti32(v, 76, figlio);
    Metti32(v, 116, inizio);
    Metti32(v, 120, dimensione);
    return v;
  };
  file += voce("Root Entry", 5, 1, kFine, 0) +
          voce(nome, 2, kLibero, 0, static_cast<std::uint32_t>(dati.size())) +
          voce("", 0, kLibero, kLibero, 0) + voce("", 0, kLibero, kLibero, 0);
  std::string fat(settoriFat * kSettore, '\0');
  for (std::size_t i = 0; i < settoriFat * (kSettore / 4); ++i) {
    std::uint32_t v = kLibero;
    if (i + 1 < settoriDati) v = static_cast<std::uint32_t>(i + 1);
    else if (i + 1 == settoriDati || i == settoriDati) v = kFine;
    else if (i <= settoriDati + settoriFat) v = kFat;
    Metti32(fat, 4 * i, v);
  }
  return file + fat;
}

}  // namespace

LettoreXls::LettoreXls(const std::filesystem::path& percorso)
    : percorso_(percorso), riga_(kColonneLette) {
  auto [nomeFlusso, flusso] = ControllaFlusso(percorso);
  const std::string ricomposto = Ricomponi(nomeFlusso, std::move(flusso));
  if (ricomposto.empty()) throw errori_cartella::Danneggiata(percorso, "flusso troppo grande");
  // FreeXL reads the whole file when it opens it: the copy lives only that long.
  std::error_code ec;
  const auto copia = std::filesystem::temp_directory_path(ec) /
                     ("fcl-xls-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)) + "-" +
                      std::to_string(::getpid()) + ".xls");
  {
    std::ofstream uscita(copia, std::ios::binary | std::ios::trunc);
    uscita.write(ricomposto.data(), static_cast<std::streamsize>(ricomposto.size()));
    if (!uscita) {
      std::filesystem::remove(copia, ec);
      throw errori_cartella::AccessoNegato(percorso);
    }
  }
  const int esito = freexl_open(copia.c_str(), &handle_);
  std::filesystem::remove(copia, ec);
  if (esito != FREEXL_OK) {
    freexl_close(handle_);
    handle_ = nullptr;
    if (esito == FREEXL_FILE_NOT_FOUND) throw errori_cartella::FileMancante(percorso);
    if (esito == FREEXL_BIFF_WORKBOOK_NOT_FOUND) throw errori_cartella::NonCartella(percorso);
    throw errori_cartella::Danneggiata(percorso, Spiega(esito));
  }
  // A constructor that throws runs no destructor: the workbook FreeXL holds is closed here.
  try {
    unsigned int valore = 0;
    if (freexl_get_info(handle_, FREEXL_BIFF_PASSWORD, &valore) != FREEXL_OK)
      throw errori_cartella::Danneggiata(percorso, "informazioni non leggibili");
    if (valore == FREEXL_BIFF_OBFUSCATED) throw errori_cartella::Protetta(percorso);
    if (freexl_get_info(handle_, FREEXL_BIFF_SHEET_COUNT, &valore) != FREEXL_OK)
      throw errori_cartella::Danneggiata(percorso, "numero dei fogli non leggibile");
    for (unsigned short i = 0; i < valore; ++i) {
      const char* nome = nullptr;
      if (freexl_get_worksheet_name(handle_, i, &nome) != FREEXL_OK || nome == nullptr)
        throw errori_cartella::Danneggiata(
            percorso, "nome del foglio " + std::to_string(i + 1) + " non leggibile");
      nomi_.emplace_back(nome);
    }
  } catch (...) {
    freexl_close(handle_);
    handle_ = nullptr;
    throw;
  }
}

LettoreXls::~LettoreXls() {
  if (handle_ != nullptr) freexl_close(handle_);
}

std::string LettoreXls::NomeFoglio(int foglio) {
  if (foglio < 1 || foglio > NumeroFogli()) throw errori_cartella::FoglioMancante(foglio);
  return nomi_[static_cast<std::size_t>(foglio - 1)];
}

void LettoreXls::Seleziona(int foglio) {
  if (foglio == foglioAttivo_) return;
  if (foglio < 1 || foglio > NumeroFogli()) throw errori_cartella::FoglioMancante(foglio);
  foglioAttivo_ = 0;
  if (freexl_select_active_worksheet(handle_, static_cast<unsigned short>(foglio - 1)) !=
          FREEXL_OK ||
      freexl_worksheet_dimensions(handle_, &righeFoglio_, &colonneFoglio_) != FREEXL_OK) {
    throw errori_cartella::Danneggiata(percorso_,
                                       "foglio " + std::to_string(foglio) + " non leggibile");
  }
  foglioAttivo_ = foglio;
}

const std::vector<Cella>& LettoreXls::Riga(int foglio, int riga) {
  if (foglio == foglioRiga_ && riga == numeroRiga_) return riga_;
  Seleziona(foglio);
  foglioRiga_ = 0;
  std::fill(riga_.begin(), riga_.end(), Cella());
  if (riga >= 1 && static_cast<unsigned>(riga) <= righeFoglio_) {
    const unsigned short colonne = std::min<unsigned short>(colonneFoglio_, kColonneLette);
    for (unsigned short c = 0; c < colonne; ++c) {
      FreeXL_CellValue valore;
      if (freexl_get_cell_value(handle_, static_cast<unsigned>(riga - 1), c, &valore) != FREEXL_OK)
        continue;  // outside the sheet: empty
      Cella& cella = riga_[c];
      switch (valore.type) {
        case FREEXL_CELL_INT:
          cella.tipo = Cella::Tipo::Numero;
          cella.numero = valore.value.int_value;
          break;
        case FREEXL_CELL_DOUBLE:
          cella.tipo = Cella::Tipo::Numero;
          cella.numero = valore.value.double_value;
          break;
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
          cella.tipo = Cella::Tipo::Testo;
          cella.testo = valore.value.text_value ? valore.value.text_value : "";
          break;
        case FREEXL_CELL_DATE:
        case FREEXL_CELL_DATETIME:
        case FREEXL_CELL_TIME: {
          const std::string testo = valore.value.text_value ? valore.value.text_value : "";
          const auto seriale = valore.type == FREEXL_CELL_TIME ? SerialeDaIso("1899-12-30T" + testo)
                                                               : SerialeDaIso(testo);
          if (seriale) {
            cella.tipo = Cella::Tipo::Data;
            cella.numero = *seriale;
          } else {
            cella.tipo = Cella::Tipo::Testo;
            cella.testo = testo;
          }
          break;
        }
        default:
          break;
      }
    }
  }
  foglioRiga_ = foglio;
  numeroRiga_ = riga;
  return riga_;
}

}  // namespace fcl
