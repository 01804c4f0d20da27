#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "common/Contesto.h"
#include "communication/PianoComunicazione.h"
#include "communication/RigaOperatore.h"
#include "communication/SceltaCreazione.h"

namespace fcl {

// Caption of the progress shown while the cover's template pages are imported. The creation
// reports it (value 0) before each page; the cover reports the streams it copies under it.
inline constexpr std::string_view kDidascaliaCopertina =
    "Elaborazione FRONTESPIZIO e RIEPILOGO ........ ";

// Page 1 of the cover, the frontispiece: what record B was composed from.
struct DatiFrontespizio {
  const RigaOperatore& riga;           // the operator row as read for the file
  const OperatoreCorrente& operatore;  // intermediary fiscal code and commitment date
  const SceltaCreazione& scelta;       // year, month, type of sending, protocols as typed, kind
  const PianoComunicazione& piano;     // kind written and quadro boxes, as in record B
};

// Page 2 of the cover, the summary: what record E carries.
struct DatiRiepilogo {
  std::string codiceFiscale;        // of OperatoreCorrente, trimmed
  const PianoComunicazione& piano;  // campiTA: the totals as written in record E
};

// The cover PDF that a creation writes beside the communication file. The creation calls, in this
// order: Inizia once the names are settled, Pagina1 after record B, Pagina2 after record Z, then
// Completa, which puts the whole file in place; the communication file is put in place right after
// it. When the creation fails after Inizia it calls Abbandona: an unfinished cover must leave
// nothing behind (after Completa there is nothing left to drop). Failures throw fcl::Errore.
// Progress of a template import goes through the Interazione the implementation was given, under
// kDidascaliaCopertina.
class Copertina {
 public:
  virtual ~Copertina() = default;
  // `autore` is the display name of the current operator: the document's Author, Creator and
  // Producer, as in the check listing.
  virtual void Inizia(const std::filesystem::path& percorso, const std::string& autore) = 0;
  virtual void Pagina1(const DatiFrontespizio& dati) = 0;
  virtual void Pagina2(const DatiRiepilogo& dati) = 0;
  virtual void Completa() = 0;
  virtual void Abbandona() noexcept = 0;
};

}  // namespace fcl
