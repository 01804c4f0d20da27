#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fatture/Fattura.h"
#include "fatture/OpzioniFatture.h"
#include "fatture/Registrazioni.h"
#include "workbook/LettoreCartella.h"

namespace fcl {

// Why an invoice (or a file) is not taken; each reason is counted apart in the totals.
enum class MotivoScarto {
  Nessuno,
  NonRiguarda,      // the operator is neither the seller nor the buyer
  TipoDocumento,    // a document type the communication does not take
  Divisa,           // amounts in another currency
  DatiErrati,       // an amount or the date cannot be read
  FuoriAnno,        // outside the reference year
  Doppia,           // the same invoice met before
  NotaEstera,       // a credit note with a foreign counterpart
  NonFattura,       // a file that is not an invoice (metadata, notification, other XML)
  FileIlleggibile,  // a file that cannot be read (damaged, tampered signature, beyond the limits)
  AltroFile,        // a file of another kind (not XML, .p7m or .zip)
};
inline constexpr int kMotiviScarto = 11;
// The words of a reason in the totals ("non riguarda il soggetto").
std::string_view DescrizioneMotivo(MotivoScarto motivo);

// What the rules make of one invoice: a row of a quadro, or the reason it is left out.
struct RigaDaFattura {
  MotivoScarto scarto = MotivoScarto::Nessuno;
  std::string dettaglio;          // the reason in words, for the report
  std::string_view quadro;        // "FE", "FR", "NE", "NR", "FN", "SE"
  std::vector<Cella> celle;       // columns A... of the quadro's sheet
  std::uint32_t evidenziate = 0;  // columns the user must look at (bit k = column k)
  std::vector<std::string> note;  // what the user is asked to confirm or complete
  std::string controparte;        // partita IVA, codice fiscale or foreign identifier
  bool emessa = false;
  int dataDocumento = 0;      // yyyymmdd
  int dataRegistrazione = 0;  // yyyymmdd
  bool registrazionePresunta = false;
};

// The rules of reading: direction by the operator's identifiers, the quadro by document type and
// the counterpart's country, the amounts summed over the VAT summary, the boxes, the dates and the
// year. Every mapping that the published rules leave open is written and noted for the user.
RigaDaFattura RegoleFattura(const Fattura& fattura, const OpzioniFatture& opzioni,
                            const Registrazioni& registrazioni);

// A date yyyymmdd as the serial number of the spreadsheets (days since 30/12/1899).
double SerialeData(int data);

}  // namespace fcl
