#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "common/Contesto.h"
#include "register/DatiOperatore.h"
#include "store/Registro.h"

namespace fcl {

class Database;

// The outcome of the register's checks: the first failing field (the member name of
// DatiOperatore, e.g. "vOCOG") and its message; both empty when every check passed.
struct EsitoControllo {
  std::string campo;
  std::string messaggio;
  bool Superato() const { return campo.empty(); }
};

// Every text box: leading blanks removed and upper case (the e-mail address too).
void NormalizzaOperatore(DatiOperatore& d);

// The checks of a save, in their fixed order; the first failing one is returned. With an
// intermediary and no option chosen, chooses "Dal CONTRIBUENTE" (vITT1) as a side effect.
EsitoControllo ControllaOperatore(DatiOperatore& d);

// Save: normalise, check, then write the COPE row and the commitment row in one transaction.
// Returns the failed check (nothing written) or a passed outcome.
EsitoControllo AggiornaOperatore(Contesto& ctx, DatiOperatore& d);

// The window values of an operator as stored (commitment data included, trimmed); false and a
// new-operator form (PNF, TCPF, all boxes empty) when no operator has that code.
bool LeggiOperatore(Contesto& ctx, std::string_view codice, DatiOperatore& d);

// Commitment data: load into / store from the window values, for operator `codice`.
void CaricaImpegno(Contesto& ctx, std::string_view codice, DatiOperatore& d);
void SalvaImpegno(Contesto& ctx, std::string_view codice, DatiOperatore& d);

// The current operator from the window values (fiscal code trimmed, display name, commitment).
void RiempiOperatoreCorrente(Contesto& ctx, const DatiOperatore& d);

// Asks "Confermi l'Eliminazione del Soggetto <name>?" and on any answer but No deletes the
// operator's COPE rows (its commitment row stays). Returns true when the operator was deleted.
bool EliminaOperatore(Contesto& ctx, std::string_view codice, std::string_view nomeVisualizzato);

}  // namespace fcl
