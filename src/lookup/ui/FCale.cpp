#include "lookup/ui/FCale.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "common/ui/Icone.h"
#include "common/ui/Stringhe.h"
#include "lookup/ui/GrigliaGiorni.h"

namespace fcl {
namespace {

QToolButton* Freccia(Qt::ArrowType verso, const char* suggerimento, QWidget* genitore) {
  auto* b = new QToolButton(genitore);
  b->setArrowType(verso);
  b->setToolTip(QString::fromUtf8(suggerimento));
  b->setFocusPolicy(Qt::NoFocus);
  b->setFixedSize(28, 28);
  b->setIconSize(QSize(14, 14));
  return b;
}

}  // namespace

FCale::FCale(const Data& oggi, QWidget* genitore)
    : QDialog(genitore), calendario_(oggi), annoCorrente_(calendario_.Anno()) {
  setWindowTitle(QStringLiteral("Seleziona una data"));
  setWindowIcon(IconaApplicazione());
  setModal(true);

  command2_ = Freccia(Qt::LeftArrow, "Decrementa Mesi", this);
  command2_->setObjectName(QStringLiteral("Command2"));
  command3_ = Freccia(Qt::RightArrow, "Incrementa Mesi", this);
  command3_->setObjectName(QStringLiteral("Command3"));
  cmdMESI_ = Freccia(Qt::DownArrow, "Lista Mesi", this);
  cmdMESI_->setObjectName(QStringLiteral("cmdMESI"));
  cmdMESI_->setFixedSize(20, 28);

  QFont titolo = font();
  titolo.setBold(true);
  titolo.setPointSizeF(titolo.pointSizeF() * 1.2);
  lblMESE_ = new QLabel(this);
  lblMESE_->setObjectName(QStringLiteral("lblMESE"));
  lblMESE_->setFont(titolo);
  lblMESE_->setCursor(Qt::PointingHandCursor);
  lblMESE_->setMinimumWidth(QFontMetrics(titolo).horizontalAdvance(QStringLiteral("Settembre")) +
                            8);
  lblMESE_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  lblANNO_ = new QLabel(this);
  lblANNO_->setObjectName(QStringLiteral("lblANNO"));
  lblANNO_->setFont(titolo);
  lblANNO_->setToolTip(QStringLiteral("Riporta all'Anno Corrente"));
  lblANNO_->setCursor(Qt::PointingHandCursor);
  vScroll1_ = new QScrollBar(Qt::Vertical, this);
  vScroll1_->setObjectName(QStringLiteral("VScroll1"));
  vScroll1_->setRange(Calendario::kAnnoMinimo, Calendario::kAnnoMassimo);
  vScroll1_->setPageStep(1);
  vScroll1_->setSingleStep(1);
  // The upper arrow moves to the next year.
  vScroll1_->setInvertedAppearance(true);
  vScroll1_->setInvertedControls(true);
  vScroll1_->setFixedSize(16, 30);
  vScroll1_->setFocusPolicy(Qt::NoFocus);

  pctCAL_ = new GrigliaGiorni(calendario_, this);

  myDate_ = new QLabel(this);
  myDate_->setObjectName(QStringLiteral("MyDate"));
  myDate_->setMinimumWidth(90);
  QFont grassetto = font();
  grassetto.setBold(true);
  myDate_->setFont(grassetto);
  myDate_->setStyleSheet(QStringLiteral("QLabel { color: #1f4e9c; }"));
  label1_ = new QLabel(QStringLiteral("Scegli con doppio click"), this);
  label1_->setObjectName(QStringLiteral("Label1"));
  label1_->setStyleSheet(QStringLiteral("QLabel { color: palette(mid); }"));

  lstMESI_ = new QListWidget(this);
  lstMESI_->setObjectName(QStringLiteral("lstMESI"));
  for (const auto nome : Calendario::NomiMesi()) lstMESI_->addItem(QTesto(nome));
  lstMESI_->hide();

  auto* testata = new QHBoxLayout;
  testata->setSpacing(2);
  testata->addWidget(command2_);
  testata->addStretch(1);
  testata->addWidget(lblMESE_);
  testata->addWidget(cmdMESI_);
  testata->addSpacing(10);
  testata->addWidget(lblANNO_);
  testata->addWidget(vScroll1_);
  testata->addStretch(1);
  testata->addWidget(command3_);

  auto* piede = new QHBoxLayout;
  piede->addWidget(myDate_);
  piede->addStretch(1);
  piede->addWidget(label1_);

  auto* colonna = new QVBoxLayout(this);
  colonna->addLayout(testata);
  colonna->addWidget(pctCAL_, 0, Qt::AlignHCenter);
  colonna->addLayout(piede);
  colonna->setSizeConstraint(QLayout::SetFixedSize);

  connect(command2_, &QToolButton::clicked, this, [this] {
    calendario_.MesePrecedente();
    Disegna();
  });
  connect(command3_, &QToolButton::clicked, this, [this] {
    calendario_.MeseSuccessivo();
    Disegna();
  });
  connect(cmdMESI_, &QToolButton::clicked, this, &FCale::MostraListaMesi);
  connect(lstMESI_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* voce) { ScegliMese(lstMESI_->row(voce)); });
  connect(vScroll1_, &QScrollBar::valueChanged, this, &FCale::CambiaAnno);
  connect(pctCAL_, &GrigliaGiorni::clic, this, &FCale::Clic);
  connect(pctCAL_, &GrigliaGiorni::doppioClic, this, [this](int cella) {
    Clic(cella);
    Chiudi(calendario_.DataDellaCella(cella));
  });
  connect(pctCAL_, &GrigliaGiorni::esc, this, [this] { Chiudi({}); });
  connect(pctCAL_, &GrigliaGiorni::conferma, this, [this] { Chiudi(TestoStd(myDate_->text())); });
  for (QLabel* etichetta : {lblMESE_, lblANNO_, myDate_}) etichetta->installEventFilter(this);
  lstMESI_->installEventFilter(this);

  // Drawn once, after every value is in place.
  vScroll1_->setValue(calendario_.Anno());
  caricamento_ = false;
  Disegna();
  pctCAL_->setFocus();
}

void FCale::Disegna() {
  if (caricamento_) return;
  lblMESE_->setText(
      QTesto(Calendario::NomiMesi()[static_cast<std::size_t>(calendario_.Mese() - 1)]));
  lblANNO_->setText(QString::number(calendario_.Anno()));
  if (vScroll1_->value() != calendario_.Anno()) {
    const QSignalBlocker blocco(vScroll1_);
    vScroll1_->setValue(calendario_.Anno());
  }
  lstMESI_->setCurrentRow(calendario_.Mese() - 1);
  pctCAL_->ImpostaCornice(calendario_.CellaCornice());
  pctCAL_->update();
}

void FCale::ScegliMese(int indice) {
  if (indice < 0 || indice > 11) return;
  calendario_.ImpostaMese(indice + 1);
  lstMESI_->hide();
  Disegna();
}

void FCale::CambiaAnno(int anno) {
  calendario_.ImpostaAnno(anno);
  Disegna();
}

void FCale::MostraListaMesi() {
  if (lstMESI_->isVisible()) {
    lstMESI_->hide();
    return;
  }
  // Below the month's name, over the grid.
  const int altezza = static_cast<int>((2370LL * logicalDpiY() + 720) / 1440);
  const QPoint sotto = lblMESE_->mapTo(this, QPoint(0, lblMESE_->height()));
  lstMESI_->setGeometry(sotto.x(), sotto.y() + 2, lblMESE_->width() + cmdMESI_->width(), altezza);
  lstMESI_->setCurrentRow(calendario_.Mese() - 1);
  lstMESI_->raise();
  lstMESI_->show();
  lstMESI_->setFocus();
}

void FCale::Clic(int cella) {
  const std::string data = calendario_.DataDellaCella(cella);
  if (data.empty()) return;
  pctCAL_->ImpostaCornice(cella);
  myDate_->setText(QTesto(data));
}

void FCale::Chiudi(const std::string& data) {
  dataScelta_ = data;
  if (data.empty())
    reject();
  else
    accept();
}

void FCale::AccantoA(QWidget* casella) {
  if (!casella) return;
  adjustSize();
  const QRect schermo = casella->screen()->availableGeometry();
  QPoint punto = casella->mapToGlobal(QPoint(0, casella->height() + 2));
  if (punto.y() + height() > schermo.bottom())
    punto.setY(casella->mapToGlobal(QPoint(0, 0)).y() - height() - 2);
  punto.setX(
      std::clamp(punto.x(), schermo.left(), std::max(schermo.left(), schermo.right() - width())));
  punto.setY(
      std::clamp(punto.y(), schermo.top(), std::max(schermo.top(), schermo.bottom() - height())));
  move(punto);
}

void FCale::keyPressEvent(QKeyEvent* evento) {
  switch (evento->key()) {
    case Qt::Key_Escape:
      if (lstMESI_->isVisible()) {
        lstMESI_->hide();
        pctCAL_->setFocus();
      } else {
        Chiudi({});
      }
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      Chiudi(TestoStd(myDate_->text()));
      return;
    default:
      QDialog::keyPressEvent(evento);
  }
}

bool FCale::eventFilter(QObject* oggetto, QEvent* evento) {
  if (oggetto == lstMESI_ && evento->type() == QEvent::KeyPress) {
    // Enter chooses the month and Esc closes the list, without reaching the window.
    const int tasto = static_cast<QKeyEvent*>(evento)->key();
    if (tasto == Qt::Key_Return || tasto == Qt::Key_Enter || tasto == Qt::Key_Space) {
      ScegliMese(lstMESI_->currentRow());
      pctCAL_->setFocus();
      return true;
    }
    if (tasto == Qt::Key_Escape) {
      lstMESI_->hide();
      pctCAL_->setFocus();
      return true;
    }
  }
  if (evento->type() == QEvent::MouseButtonPress) {
    if (oggetto == lblMESE_) {
      MostraListaMesi();
      return true;
    }
    if (oggetto == lblANNO_) {
      CambiaAnno(annoCorrente_);
      return true;
    }
    if (oggetto == myDate_) {
      pctCAL_->setVisible(!pctCAL_->isVisible());
      return true;
    }
  }
  return QDialog::eventFilter(oggetto, evento);
}

void FCale::resizeEvent(QResizeEvent* evento) {
  QDialog::resizeEvent(evento);
  if (lstMESI_->isVisible()) lstMESI_->raise();
}

}  // namespace fcl
