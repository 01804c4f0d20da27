#pragma once

#include <QTreeView>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/ListaDati.h"

namespace fcl {

class Database;
class ModelloLista;

// A report-style list of the system: shows a ListaDati (its own, or one that a window's search
// owns), sizes the columns to their content in the list's font, hides the zero-width columns and
// sorts on a header click with the list rules. One row is selected at a time.
//
// A double-click, or Enter or Space on the list, emits `rigaScelta`.
class ListaVista : public QTreeView {
  Q_OBJECT

 public:
  explicit ListaVista(QWidget* genitore = nullptr);
  ~ListaVista() override;

  // Shows another list (nullptr: the view's own).
  void ImpostaDati(ListaDati* dati);
  ListaDati& Dati() { return *dati_; }
  const ListaDati& Dati() const { return *dati_; }

  // Fills the list from a statement with the filter text (see ListaDati); throws ErroreDatabase
  // when the statement fails.
  void RiempiLista(Database& db, std::string_view sql, std::string& testoRicerca);
  // After the shown ListaDati was filled elsewhere: sizes the columns, shows the rows and selects
  // the first one.
  void DopoRiempimento();

  // The header click on `colonna`; the selected row stays selected.
  void OrdinaColonna(int colonna);

  // The selected row's texts under the given titles (one empty text each when no row is selected).
  std::vector<std::string> LeggiSelezione(const std::vector<std::string>& nomiColonne) const;
  // Selects and shows the row whose cell under `titolo` equals `valore`; nothing when none does.
  void SelezionaRiga(std::string_view valore, std::string_view titolo);

  std::optional<std::size_t> RigaSelezionata() const;
  void SelezionaIndice(std::size_t riga);

  // Twips of the list's font to pixels of this screen, and back.
  int Pixel(int twips) const;
  int Twips(int pixel) const;

 signals:
  void rigaScelta();

 protected:
  void keyPressEvent(QKeyEvent* evento) override;

 private:
  void ApplicaLarghezze();

  ListaDati propri_;
  ListaDati* dati_;
  ModelloLista* modello_;
};

}  // namespace fcl
