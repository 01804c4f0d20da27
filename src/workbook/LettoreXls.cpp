#include "workbook/LettoreXls.h"

#include <freexl.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>

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
// record must lie inside the stream within the format's longest record, and every text of the
// records FreeXL converts must lie inside its record.
void ControllaFlusso(const std::filesystem::path& percorso) {
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
    if (prima > 0) {
      if (prima > lunghezza) rotto("record di testo troppo corto");
      const std::size_t caratteri =
          corto ? static_cast<unsigned char>(f[corpo + campo]) : parola(corpo + campo);
      if (prima + caratteri > lunghezza) rotto("testo oltre la fine del record");
    }
    pos = corpo + lunghezza;
  }
}

}  // namespace

LettoreXls::LettoreXls(const std::filesystem::path& percorso)
    : percorso_(percorso), riga_(kColonneLette) {
  ControllaFlusso(percorso);
  const int esito = freexl_open(percorso.c_str(), &handle_);
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
