#pragma once

#include <QIcon>
#include <QPixmap>

#include <string_view>

namespace fcl {

// The program's own small icon set, drawn at run time: no third-party images are shipped.

// The icons of the main menu by number: 1 save, 2 restore, 11 remote assistance, 12 version,
// 13 contacts, 14 workbook/import, 15 document. An unknown number gives an empty icon.
QIcon IconaMenu(int numero);

// The two buttons of the main toolbar.
QIcon IconaAggiungiSoggetto();
QIcon IconaEliminaSoggetto();

// The state icon of a list row by key: "OK" (green check), "ER" (red cross); empty otherwise.
QIcon IconaStato(std::string_view chiave);

// The application's icon and the emblem drawn in the welcome window.
QIcon IconaApplicazione();
QPixmap Emblema(int lato);

}  // namespace fcl
