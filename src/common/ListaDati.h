#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Valore.h"

namespace fcl {

// The content of one report-style list of the system (the operators, the municipalities, the
// activity codes) as a plain table, without any screen: the list routines fill it from a query
// result, sort it on a header click, read the selected row and find a row by value. A window shows
// it through a thin view adapter, which only measures texts and draws.
//
// Columns, 0-based: column 0 is the narrow untitled column that carries the row's state icon;
// columns 1..n are the n result columns in statement order, titled with their names; after them
// come the hidden sort columns of the date columns (title "XX" + name, cells "yyyymmdd"). Every row
// has one cell per column; the cell of column 0 is empty.
//
// Special column names (case-sensitive): a name beginning with "Data" is a date column and gets a
// hidden sort column; one beginning with "Prog" is shown unformatted; "Prog", "DACO", "ERR" and
// "NRec" are hidden; a "DACO…" column holding 1 gives the row the icon "OK", an "ERR" column
// holding 1 the icon "ER".
//
// The filter text is the caller's: a fill that finds rows keeps only the rows whose values contain
// it (ignoring case) and then empties it; a fill of an empty result leaves it as it was.
class ListaDati {
 public:
  enum class Allineamento { Sinistra, Destra, Centro };

  // A column of the query result, as the list needs it: name and the alignment of its type
  // (double-precision numbers right, dates centred, anything else left).
  struct ColonnaRisultato {
    std::string nome;
    Allineamento allineamento = Allineamento::Sinistra;
  };

  struct Colonna {
    std::string titolo;
    Allineamento allineamento = Allineamento::Sinistra;
    bool ordinamento = false;  // a hidden sort column of a date column
    int larghezza = 0;         // twips; 0 hides the column; set by the fill and by Dimensiona
    std::string verso;         // last sort direction: "" or "0" (none yet), "AZ", "ZA"
  };

  struct Riga {
    std::string icona;               // "", "OK" or "ER"
    std::vector<std::string> celle;  // one per column
    std::size_t origine = 0;         // position in the result, to follow a row across sorts
  };

  // A date column and the index of its hidden sort column.
  struct ColonnaData {
    std::string nome;
    std::size_t indiceOrdinamento = 0;
  };

  // Width of a column in twips before it is sized (the icon column; every column of an empty
  // result), and the margin added to measured texts.
  static constexpr int kLarghezzaIcona = 300;
  static constexpr int kLarghezzaVuota = 1000;
  static constexpr int kMargine = 500;
  static constexpr std::size_t kRigheMisurate = 10;

  // Fills the list from a query result: columns, rows filtered by `testoRicerca`, cells formatted
  // by type, icons, date sort keys, widths of an empty result. Sizing to content is a separate step
  // (Dimensiona) because it needs the view's font.
  void Riempi(const std::vector<ColonnaRisultato>& colonne,
              const std::vector<std::vector<Valore>>& righe, std::string& testoRicerca);

  // Sizes the columns to their content, in twips, with `misura` giving the width of a text in the
  // list's font. After a fill that found no rows the columns keep the fixed width, or their title's
  // when it is wider, and the icon column is hidden.
  void Dimensiona(const std::function<int(std::string_view)>& misura);

  // The header click on `colonna`: sorts the rows on that column (on its hidden sort column for a
  // date column), descending at the first click and then alternating; a column clicked after
  // another starts again descending. Returns true when the order is descending.
  bool OrdinaColonna(std::size_t colonna);

  // The texts of the row `riga` under the given titles, same indexes; a title that matches no
  // column, or no row, gives the empty text.
  std::vector<std::string> LeggiSelezione(std::optional<std::size_t> riga,
                                          const std::vector<std::string>& nomiColonne) const;

  // The rows whose cell under `titolo` equals `valore`, in list order; empty when no column has
  // that title.
  std::vector<std::size_t> SelezionaRiga(std::string_view valore, std::string_view titolo) const;

  const std::vector<Colonna>& Colonne() const { return colonne_; }
  const std::vector<Riga>& Righe() const { return righe_; }
  const std::vector<ColonnaData>& ColonneData() const { return colonneData_; }
  // The column last sorted on; none after a fill.
  std::optional<std::size_t> ColonnaOrdinata() const { return colonnaOrdinata_; }
  bool ConIcone() const { return conIcone_; }
  // True when the last fill's result had rows (even if the filter kept none).
  bool RisultatoConRighe() const { return conRighe_; }

  // A value as the list shows it: Null empty, a double "###,###,##0", a date dd/mm/yyyy, anything
  // else as text. `grezzo` (a "Prog…" column) gives the value's text unformatted.
  static std::string TestoCella(const Valore& v, bool grezzo);
  // The "yyyymmdd" sort key of a date column's value; a text that is no date is kept as it is.
  static std::string ChiaveData(const Valore& v);

 private:
  std::vector<Colonna> colonne_;
  std::vector<Riga> righe_;
  std::vector<ColonnaData> colonneData_;
  std::optional<std::size_t> colonnaOrdinata_;
  bool conIcone_ = false;
  bool conRighe_ = false;
};

}  // namespace fcl
