#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/ListaDati.h"
#include "store/Database.h"

namespace fcl {

// What a lookup list shows: its statement, its title and the column titles that a choice reads.
struct Elenco {
  std::string sql;
  std::string titolo;
  std::vector<std::string> nomiColonne;
};

// The title of the municipality list: the selection of a lookup reads "Localita" and "Provincia"
// when the list carries this title, "Codice" and "Descrizione" otherwise.
inline constexpr std::string_view kTitoloComuni = " Elenco Comuni";

// The list of a lookup kind: "COMUN" is the municipality list; any other kind has none.
std::optional<Elenco> PreparaElenco(std::string_view tipo);

// The activity-code list (ATECO 2007).
Elenco ElencoAttivita();

// How to load the ATECO 2007 table while it is empty (the system ships no copy of it): on the
// command line, and in the windows, where the main window's menu does it.
inline constexpr std::string_view kAtecoVuota =
    "La tabella dei codici attività ATECO 2007 è vuota. Per caricarla usare il comando "
    "\"fiscolario-cli importa ateco FILE\", dove FILE è un file CSV o una cartella di lavoro con "
    "le "
    "colonne del codice e della descrizione.";
inline constexpr std::string_view kAtecoVuotaFinestre =
    "La tabella dei codici attività ATECO 2007 è vuota. Per caricarla usare il menu "
    "Funzioni → Importa tabella attività ATECO... della finestra principale e indicare un "
    "file CSV o una cartella di lavoro con le colonne del codice e della descrizione.";

// The search of a lookup window without the window: the list, the filter text that the next fill
// applies, and the choice of a row. "Cerca" with a text filters the next fill, "Reset" fills again
// without a filter (the filter is consumed by the fill that uses it); the first fill shows every
// row.
class RicercaTabella {
 public:
  RicercaTabella(Database& db, Elenco elenco);

  // Fills the list, applying the pending filter text (if any).
  void Lista();
  // "Cerca": an empty text does nothing and returns false; otherwise fills the list
  // keeping the rows that contain the text.
  bool Cerca(std::string_view testo);
  // "Reset": fills the list again with every row.
  void Reset();

  // The values of row `riga` under the list's choice titles; one empty text each when no row.
  std::vector<std::string> Scegli(std::optional<std::size_t> riga) const;

  const Elenco& DatiElenco() const { return elenco_; }
  const ListaDati& Dati() const { return lista_; }
  ListaDati& Dati() { return lista_; }
  // True when the last fill found the table empty.
  bool TabellaVuota() const { return !lista_.RisultatoConRighe(); }

 private:
  Database& db_;
  Elenco elenco_;
  ListaDati lista_;
  std::string testoRicerca_;
};

}  // namespace fcl
