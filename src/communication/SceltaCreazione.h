#pragma once

#include <filesystem>
#include <string>

namespace fcl {

// Type of sending, the first character of the creation window's "Tipologia di INVIO" list.
enum class TipoInvio { Ordinario = 0, Sostitutivo = 1, Annullamento = 2 };

// Kind of data, the first character of the "Tipologia di DATI" list. One kind excludes the other.
enum class TipoDati { Aggregati = 1, Analitici = 2 };

// What the user chose in the creation window (or on the command line) for one creation.
struct SceltaCreazione {
  std::string anno;  // reference year as typed
  TipoInvio tipoInvio = TipoInvio::Ordinario;
  std::string protocollo;           // telematic protocol to replace or cancel, as typed
  std::string protocolloDocumento;  // document protocol to replace or cancel, as typed
  TipoDati tipoDati = TipoDati::Aggregati;
  std::string periodo;  // month or quarter as typed (usually blank)
  // The intermediate file of the workbook run; empty for the context's
  // (Contesto::PercorsoFileIntermedio).
  std::filesystem::path fileIntermedio;
};

}  // namespace fcl
