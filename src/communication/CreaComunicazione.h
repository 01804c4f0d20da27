#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "common/Contesto.h"
#include "communication/Copertina.h"
#include "communication/SceltaCreazione.h"
#include "workbook/Listato.h"

namespace fcl {

// Messages of the checks on the creation window's fields.
inline constexpr std::string_view kAnnoNonIndicato = "Anno di riferimento non indicato";
inline constexpr std::string_view kProtocolloNonIndicato =
    "Indicare il protocollo da sostitutire o annullare";
inline constexpr std::string_view kProtocolloNonValido =
    "Il protocollo telematico deve contenere solo cifre (al massimo 17)";
inline constexpr std::string_view kProtocolloDocumentoNonValido =
    "Il protocollo documento deve contenere solo cifre (al massimo 6)";

// The field of the creation window that a check refused.
enum class CampoCreazione { Nessuno, Anno, Protocollo, ProtocolloDocumento, TipoDati };

// How a creation ended.
struct EsitoCreazione {
  enum class Stato {
    Creata,       // communication file and cover written; the completion message was shown
    ErroreCampo,  // a field is wrong: `campo` and `messaggio`, for the caller to show on the field
    Interrotta,   // stopped by the user's answer or with a message already shown: nothing written,
                  // or (the check found errors and the user did not keep it) only the report
    Fallita,      // writing failed; the message was shown; no communication file was left behind
    Fermata       // the user stopped the run ("Interrompi") before the file was put in place:
                  // nothing written, nothing shown, every file as it was
  };
  Stato stato = Stato::Interrotta;
  CampoCreazione campo = CampoCreazione::Nessuno;
  std::string messaggio;  // ErroreCampo: the field's message; otherwise the message shown, if any
  std::filesystem::path fileComunicazione;
  std::filesystem::path fileCopertina;
  bool nomiRicavati = false;  // the listing's name lacks "_LISTATO.PDF" (see RicavaNomiFile)
  long long recordC = 0;      // detail records written
  long long recordD = 0;
  std::vector<std::string> quadriEsclusi;  // filled quadri of the kind not chosen, left out
  long long erroriVerifica = 0;  // findings of the check of the written file
  long long avvertimentiVerifica = 0;
  std::filesystem::path fileVerifica;  // the check's report beside the file (empty: not written)
};

// Creates the communication of ctx.operatoreCorrente from the last workbook run
// (ctx.totaliImport and its intermediate file) with the window's choices, and its cover.
//
// In order: the year and, for a substitution or cancellation, both protocols (digits only, at most
// 17 and 6) are checked, and the chosen kind of data must have filled quadri; the commitment's
// centre number must be digits. The names come from the listing path (RicavaNomiFile; no listing
// path: a silent stop). An existing communication file is overwritten only after the user agrees
// (two questions); a cover open in another program stops with a message. Then the operator row is
// read (a missing row is reported) and records A and B, the detail records of the chosen kind
// (renumbered), E and Z are written to a temporary file beside the destination while the cover
// draws its two pages; the cover is completed and the file renamed into place last. Any failure
// from there on is reported as "Errore CREA Comunicazione: ..." and leaves the earlier file, if
// any, untouched. Before the file is put in place it is checked against the published layout:
// when the check finds errors the user is asked whether to keep it (No: nothing is written, the
// earlier file stays). The check's report is written beside the file and, with the run's
// `listato`, the rows with findings are marked in the listing. At the end the completion message
// (with the check's summary and warnings), then the listing and the cover are opened.
// Everything the user sees goes through ctx.Ui(); nothing throws for a failure of the creation.
// Until the cover and the file are put in place the creation stops at its next record or step
// once the user asks it to (Interazione::InterruzioneRichiesta); a request that comes later is
// too late and the creation ends as it would have.
EsitoCreazione CreaComunicazione(Contesto& ctx, const SceltaCreazione& scelta,
                                 Copertina& copertina, Listato* listato = nullptr);

// The kind of data the creation window proposes after a workbook run: analytical when analytical
// quadri (FE ... TU) have rows, but aggregated whenever aggregated quadri (FA, SA, BL) have rows,
// with a message telling the user when both kinds were filled. Aggregated when nothing was read.
TipoDati ScegliTipoDati(const TotaliImport& totali, Interazione& ui);

// The notice shown when a substitution or a cancellation is chosen (nothing for an ordinary one).
void AvvisoTipoInvio(TipoInvio tipo, Interazione& ui);

}  // namespace fcl
