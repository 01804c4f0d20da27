#pragma once

#include <QAbstractTableModel>

#include "common/ListaDati.h"

namespace fcl {

// The Qt face of a ListaDati: one row and one column per row and column of the list, the state icon
// in column 0, alignments by column. It owns nothing: the ListaDati belongs to the view or to the
// window's search, and Ricarica() is called after every change to it.
class ModelloLista : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit ModelloLista(const ListaDati* dati, QObject* genitore = nullptr);

  void ImpostaDati(const ListaDati* dati);
  void Ricarica();

  int rowCount(const QModelIndex& genitore = {}) const override;
  int columnCount(const QModelIndex& genitore = {}) const override;
  QVariant data(const QModelIndex& indice, int ruolo) const override;
  QVariant headerData(int sezione, Qt::Orientation orientamento, int ruolo) const override;

 private:
  const ListaDati* dati_;
};

}  // namespace fcl
