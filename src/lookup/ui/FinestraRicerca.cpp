#include "lookup/ui/FinestraRicerca.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Errori.h"
#include "common/ui/ColoriFocus.h"
#include "common/ui/Icone.h"
#include "common/ui/ListaVista.h"
#include "common/ui/Stringhe.h"

namespace fcl {

FinestraRicerca::FinestraRicerca(Database& db, Elenco elenco, QWidget* genitore)
    : QDialog(genitore), ricercaTabella_(std::make_unique<RicercaTabella>(db, std::move(elenco))) {
  setWindowTitle(QStringLiteral("Ricerca Tabelle"));
  setWindowIcon(IconaApplicazione());
  setModal(true);
  resize(640, 480);

  vtabella_ = new QLineEdit(QTesto(ricercaTabella_->DatiElenco().titolo), this);
  vtabella_->setObjectName(QStringLiteral("vtabella"));
  vtabella_->setReadOnly(true);
  vtabella_->setFocusPolicy(Qt::NoFocus);
  vtabella_->setFrame(false);
  QFont grassetto = vtabella_->font();
  grassetto.setBold(true);
  grassetto.setPointSizeF(grassetto.pointSizeF() * 1.25);
  vtabella_->setFont(grassetto);
  vtabella_->setStyleSheet(QStringLiteral(
      "QLineEdit { background: #1f4e9c; color: white; padding: 6px 8px; border-radius: 3px; }"));

  auto* etichetta = new QLabel(QStringLiteral("Ricerca all'interno della tabella"), this);
  ricerca_ = new QLineEdit(this);
  ricerca_->setObjectName(QStringLiteral("ricerca"));
  ricerca_->setClearButtonEnabled(true);
  etichetta->setBuddy(ricerca_);

  bCerca_ = new QPushButton(QStringLiteral("Cerca"), this);
  bAnnullaCerca_ = new QPushButton(QStringLiteral("Reset"), this);
  bAnnulla_ = new QPushButton(QStringLiteral("Chiudi"), this);
  bCerca_->setObjectName(QStringLiteral("BCerca"));
  bAnnullaCerca_->setObjectName(QStringLiteral("BAnnullaCerca"));
  bAnnulla_->setObjectName(QStringLiteral("bAnnulla"));
  // Enter on a button chooses the list's row, as on the list; Space presses the button.
  for (QPushButton* b : {bCerca_, bAnnullaCerca_, bAnnulla_}) {
    b->setAutoDefault(false);
    b->setDefault(false);
  }

  avviso_ = new QLabel(this);
  avviso_->setObjectName(QStringLiteral("avviso"));
  avviso_->setWordWrap(true);
  avviso_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  avviso_->setStyleSheet(
      QStringLiteral("QLabel { background: #fff4d6; color: #5c4400; border: 1px solid #e3c46b; "
                     "border-radius: 3px; padding: 8px; }"));
  avviso_->hide();

  listV_ = new ListaVista(this);
  listV_->setObjectName(QStringLiteral("ListV"));
  listV_->ImpostaDati(&ricercaTabella_->Dati());

  auto* riga = new QHBoxLayout;
  riga->addWidget(etichetta);
  riga->addWidget(ricerca_, 1);
  riga->addWidget(bCerca_);
  riga->addWidget(bAnnullaCerca_);
  riga->addSpacing(12);
  riga->addWidget(bAnnulla_);

  auto* colonna = new QVBoxLayout(this);
  colonna->addWidget(vtabella_);
  colonna->addLayout(riga);
  colonna->addWidget(avviso_);
  colonna->addWidget(listV_, 1);

  connect(bCerca_, &QPushButton::clicked, this, &FinestraRicerca::Cerca);
  connect(bAnnullaCerca_, &QPushButton::clicked, this, &FinestraRicerca::Reset);
  connect(bAnnulla_, &QPushButton::clicked, this, [this] { Chiudi(); });
  ricerca_->installEventFilter(this);
  connect(listV_, &ListaVista::rigaScelta, this, &FinestraRicerca::Scegli);

  ColoriFocus::InstallaSu(ricerca_);
  setTabOrder(ricerca_, bCerca_);
  setTabOrder(bCerca_, bAnnullaCerca_);
  setTabOrder(bAnnullaCerca_, bAnnulla_);
  setTabOrder(bAnnulla_, listV_);
}

// The search (and its rows) goes before the list view: the view goes back to its own rows first.
FinestraRicerca::~FinestraRicerca() { listV_->ImpostaDati(nullptr); }

void FinestraRicerca::Riempi() {
  try {
    ricercaTabella_->Lista();
    listV_->DopoRiempimento();
    MostraAvviso({});
    DopoRiempimento();
  } catch (const Errore& e) {
    listV_->DopoRiempimento();
    MostraAvviso(e.what());
  }
}

void FinestraRicerca::Cerca() {
  if (ricerca_->text().isEmpty()) return;
  try {
    ricercaTabella_->Cerca(TestoStd(ricerca_->text()));
    listV_->DopoRiempimento();
    MostraAvviso({});
    DopoRiempimento();
  } catch (const Errore& e) {
    listV_->DopoRiempimento();
    MostraAvviso(e.what());
  }
}

void FinestraRicerca::Reset() {
  ricerca_->clear();
  Riempi();
}

void FinestraRicerca::Chiudi() { reject(); }

void FinestraRicerca::MostraAvviso(const std::string& testo) {
  avviso_->setText(QTesto(testo));
  avviso_->setVisible(!testo.empty());
}

void FinestraRicerca::Scegli() {
  const auto riga = listV_->RigaSelezionata();
  if (!riga) return;
  Scelta(ricercaTabella_->Scegli(riga));
}

void FinestraRicerca::keyPressEvent(QKeyEvent* evento) {
  switch (evento->key()) {
    case Qt::Key_Escape:
      reject();
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
      Scegli();
      return;
    default:
      QDialog::keyPressEvent(evento);
  }
}

bool FinestraRicerca::eventFilter(QObject* oggetto, QEvent* evento) {
  // Enter in the search box searches; it never chooses a row.
  if (oggetto == ricerca_ && evento->type() == QEvent::KeyPress) {
    const int tasto = static_cast<QKeyEvent*>(evento)->key();
    if (tasto == Qt::Key_Return || tasto == Qt::Key_Enter) {
      Cerca();
      return true;
    }
  }
  return QDialog::eventFilter(oggetto, evento);
}

void FinestraRicerca::mousePressEvent(QMouseEvent* evento) {
  // Only the bare background: a click on a label or a box is not a click on the window.
  if (evento->button() == Qt::LeftButton && childAt(evento->position().toPoint()) == nullptr) {
    Chiudi();
    return;
  }
  QDialog::mousePressEvent(evento);
}

}  // namespace fcl
