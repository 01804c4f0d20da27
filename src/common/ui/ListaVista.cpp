#include "common/ui/ListaVista.h"

#include <QHeaderView>
#include <QKeyEvent>

#include "common/ui/ModelloLista.h"
#include "common/ui/Stringhe.h"
#include "lookup/RiempiLista.h"

namespace fcl {

ListaVista::ListaVista(QWidget* genitore)
    : QTreeView(genitore), dati_(&propri_), modello_(new ModelloLista(&propri_, this)) {
  setModel(modello_);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setAlternatingRowColors(true);
  setAllColumnsShowFocus(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSortingEnabled(false);
  header()->setSectionsClickable(true);
  header()->setSortIndicatorShown(false);
  header()->setStretchLastSection(true);
  header()->setSectionsMovable(false);
  header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  setStyleSheet(QStringLiteral("QTreeView::item { padding: 2px 3px; }"));
  connect(header(), &QHeaderView::sectionClicked, this, &ListaVista::OrdinaColonna);
  connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& indice) {
    if (indice.isValid()) emit rigaScelta();
  });
}

// The rows die before the view's widgets: the model lets go of them first, so that a header asking
// for its titles while the window goes away finds no list instead of a dead one.
ListaVista::~ListaVista() { modello_->ImpostaDati(nullptr); }

void ListaVista::ImpostaDati(ListaDati* dati) {
  dati_ = dati ? dati : &propri_;
  modello_->ImpostaDati(dati_);
  ApplicaLarghezze();
}

int ListaVista::Pixel(int twips) const {
  return static_cast<int>((static_cast<long long>(twips) * logicalDpiX() + 720) / 1440);
}

int ListaVista::Twips(int pixel) const {
  const int dpi = logicalDpiX() > 0 ? logicalDpiX() : 96;
  return static_cast<int>((static_cast<long long>(pixel) * 1440 + dpi / 2) / dpi);
}

void ListaVista::RiempiLista(Database& db, std::string_view sql, std::string& testoRicerca) {
  fcl::RiempiLista(*dati_, db, sql, testoRicerca);
  DopoRiempimento();
}

void ListaVista::DopoRiempimento() {
  const QFontMetrics metrica(font());
  dati_->Dimensiona(
      [&](std::string_view testo) { return Twips(metrica.horizontalAdvance(QTesto(testo))); });
  header()->setSortIndicatorShown(false);
  modello_->Ricarica();
  ApplicaLarghezze();
  if (!dati_->Righe().empty()) SelezionaIndice(0);
}

void ListaVista::ApplicaLarghezze() {
  const auto& colonne = dati_->Colonne();
  for (std::size_t c = 0; c < colonne.size(); ++c) {
    const int sezione = static_cast<int>(c);
    const bool nascosta = colonne[c].ordinamento || colonne[c].larghezza <= 0;
    setColumnHidden(sezione, nascosta);
    if (!nascosta) setColumnWidth(sezione, Pixel(colonne[c].larghezza));
  }
}

void ListaVista::OrdinaColonna(int colonna) {
  if (colonna < 0) return;
  const auto selezionata = RigaSelezionata();
  const std::size_t origine =
      selezionata ? dati_->Righe()[*selezionata].origine : static_cast<std::size_t>(-1);
  const bool discendente = dati_->OrdinaColonna(static_cast<std::size_t>(colonna));
  modello_->Ricarica();
  header()->setSortIndicatorShown(true);
  header()->setSortIndicator(colonna, discendente ? Qt::DescendingOrder : Qt::AscendingOrder);
  const auto& righe = dati_->Righe();
  for (std::size_t r = 0; r < righe.size(); ++r) {
    if (righe[r].origine == origine) {
      SelezionaIndice(r);
      break;
    }
  }
}

std::vector<std::string> ListaVista::LeggiSelezione(
    const std::vector<std::string>& nomiColonne) const {
  return dati_->LeggiSelezione(RigaSelezionata(), nomiColonne);
}

void ListaVista::SelezionaRiga(std::string_view valore, std::string_view titolo) {
  const auto trovate = dati_->SelezionaRiga(valore, titolo);
  // One row is selected at a time: of several equal rows the last one found stays selected.
  if (!trovate.empty()) SelezionaIndice(trovate.back());
}

std::optional<std::size_t> ListaVista::RigaSelezionata() const {
  const QModelIndexList righe = selectionModel()->selectedRows();
  if (righe.isEmpty()) return std::nullopt;
  return static_cast<std::size_t>(righe.front().row());
}

void ListaVista::SelezionaIndice(std::size_t riga) {
  const QModelIndex indice = modello_->index(static_cast<int>(riga), 0);
  if (!indice.isValid()) return;
  selectionModel()->setCurrentIndex(
      indice, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  scrollTo(indice);
}

void ListaVista::keyPressEvent(QKeyEvent* evento) {
  switch (evento->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
      if (RigaSelezionata()) emit rigaScelta();
      evento->accept();
      return;
    case Qt::Key_Escape:
      evento->ignore();  // the window decides
      return;
    default:
      QTreeView::keyPressEvent(evento);
  }
}

}  // namespace fcl
