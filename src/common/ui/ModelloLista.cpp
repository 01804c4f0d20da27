#include "common/ui/ModelloLista.h"

#include "common/ui/Icone.h"
#include "common/ui/Stringhe.h"

namespace fcl {
namespace {

Qt::Alignment AllineamentoQt(ListaDati::Allineamento a) {
  switch (a) {
    case ListaDati::Allineamento::Destra:
      return Qt::AlignRight | Qt::AlignVCenter;
    case ListaDati::Allineamento::Centro:
      return Qt::AlignCenter;
    case ListaDati::Allineamento::Sinistra:
      break;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

}  // namespace

ModelloLista::ModelloLista(const ListaDati* dati, QObject* genitore)
    : QAbstractTableModel(genitore), dati_(dati) {}

void ModelloLista::ImpostaDati(const ListaDati* dati) {
  beginResetModel();
  dati_ = dati;
  endResetModel();
}

void ModelloLista::Ricarica() {
  beginResetModel();
  endResetModel();
}

int ModelloLista::rowCount(const QModelIndex& genitore) const {
  if (genitore.isValid() || !dati_) return 0;
  return static_cast<int>(dati_->Righe().size());
}

int ModelloLista::columnCount(const QModelIndex& genitore) const {
  if (genitore.isValid() || !dati_) return 0;
  return static_cast<int>(dati_->Colonne().size());
}

QVariant ModelloLista::data(const QModelIndex& indice, int ruolo) const {
  if (!dati_ || !indice.isValid()) return {};
  const auto r = static_cast<std::size_t>(indice.row());
  const auto c = static_cast<std::size_t>(indice.column());
  if (r >= dati_->Righe().size() || c >= dati_->Colonne().size()) return {};
  const auto& riga = dati_->Righe()[r];
  switch (ruolo) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
      if (c == 0 || riga.celle[c].empty()) return {};
      return QTesto(riga.celle[c]);
    case Qt::DecorationRole:
      if (c == 0 && !riga.icona.empty()) return IconaStato(riga.icona);
      return {};
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(AllineamentoQt(dati_->Colonne()[c].allineamento));
    default:
      return {};
  }
}

QVariant ModelloLista::headerData(int sezione, Qt::Orientation orientamento, int ruolo) const {
  if (!dati_ || orientamento != Qt::Horizontal || sezione < 0) return {};
  const auto c = static_cast<std::size_t>(sezione);
  if (c >= dati_->Colonne().size()) return {};
  if (ruolo == Qt::DisplayRole) return QTesto(dati_->Colonne()[c].titolo);
  if (ruolo == Qt::TextAlignmentRole)
    return QVariant::fromValue(AllineamentoQt(dati_->Colonne()[c].allineamento));
  return {};
}

}  // namespace fcl
