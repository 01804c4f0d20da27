#pragma once

#include <string_view>

#include "common/Contesto.h"
#include "common/Interazione.h"
#include "common/Valore.h"

class QLineEdit;
class QWidget;

namespace fcl {

class Database;

// The field routines that every input window shares, on Qt widgets. The texts and the order of
// the steps are the ones the user knows from every window of the program.

// A field error: the field is brought into view (MostraCampo), turns red with white text and takes
// the focus, the message (centred, see CentraMessaggio) is shown in a box titled "Errore", then the
// field gets the focus colour and the normal text colour back and the focus again. A field that
// cannot take the focus is no failure. An error on a field whose error box is open shows nothing
// more (the box taking the focus makes the field's own check run again).
void ErroreCampo(Interazione& ui, QWidget* campo, std::string_view messaggio);

// Brings a field into view inside its window: the tab (or stacked page) that holds it is shown and
// every scroll area around it scrolls to it.
void MostraCampo(QWidget* campo);

// Checks the date typed in a box: a valid date is rewritten as dd/mm/yyyy and true is returned;
// anything else (the empty text too, so callers skip blank boxes) is a field error "Data non
// valida" and leaves the text as typed.
bool ControllaData(Interazione& ui, QLineEdit* casella);

// Opens the calendar beside the box; a date chosen there replaces the box's text. True when the
// text changed. Closing the calendar without a choice leaves the box as it was.
bool ScegliData(QLineEdit* casella, const Data& oggi);
bool ScegliData(QLineEdit* casella, const Contesto& ctx);

// Opens the lookup list of `tipo` ("COMUN") with the municipality box's text as the search seed;
// a chosen row writes its place into `comune` and its province into `provincia` (an empty value
// leaves its box alone). True when a row was chosen. An unknown kind does nothing.
bool ScegliLocalita(QLineEdit* comune, QLineEdit* provincia, std::string_view tipo, Database& db);

// Empties every text box and clears every check box inside the window.
void PulisciForm(QWidget* finestra);

// Today in the context's clock (local time).
Data Oggi(const Contesto& ctx);

}  // namespace fcl
