#include "shell/ui/FINI.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

#include "common/ui/Icone.h"
#include "common/ui/Stringhe.h"

namespace fcl {
namespace {

// The second ornament: a sheet of fixed-width records, the communication the program writes.
QPixmap Tracciato(int larghezza, int altezza) {
  QPixmap pm(larghezza, altezza);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF foglio(4, 4, larghezza - 8, altezza - 8);
  p.setPen(QPen(QColor(0xc5, 0xd3, 0xe8), 1));
  p.setBrush(QColor(0xf7, 0xfa, 0xfe));
  p.drawRoundedRect(foglio, 4, 4);
  const char kTipi[] = {'A', 'B', 'C', 'C', 'D', 'D', 'D', 'E', 'Z'};
  QFont f(QStringLiteral("Monospace"));
  f.setStyleHint(QFont::TypeWriter);
  f.setPixelSize(9);
  p.setFont(f);
  double y = foglio.top() + 12;
  for (const char tipo : kTipi) {
    if (y > foglio.bottom() - 6) break;
    p.setPen(QColor(0x1f, 0x4e, 0x9c));
    p.drawText(QPointF(foglio.left() + 8, y + 3), QString(QLatin1Char(tipo)));
    p.setPen(QPen(QColor(0x9d, 0xb4, 0xd6), 2, Qt::SolidLine, Qt::RoundCap));
    double x = foglio.left() + 20;
    int passo = (tipo * 7) % 5;
    while (x < foglio.right() - 10) {
      const double lungo = 10 + (passo++ % 4) * 9;
      p.drawLine(QPointF(x, y), QPointF(std::min(x + lungo, foglio.right() - 10), y));
      x += lungo + 5;
    }
    y += 12;
  }
  return pm;
}

}  // namespace

FINI::FINI(const std::string& versionePgm, const std::string& releasePgm, QWidget* genitore)
    : QWidget(genitore) {
  setWindowTitle(QStringLiteral("Benvenuto"));
  setWindowIcon(IconaApplicazione());
  setObjectName(QStringLiteral("FINI"));
  setAutoFillBackground(true);

  auto* immagine1 = new QLabel(this);
  immagine1->setPixmap(Emblema(88));
  immagine1->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
  auto* immagine2 = new QLabel(this);
  immagine2->setPixmap(Tracciato(200, 124));

  versione_ = new QLabel(QStringLiteral("Fiscolario -  Comunicazione Polivalente "), this);
  versione_->setObjectName(QStringLiteral("Versione"));
  QFont titolo = versione_->font();
  titolo.setBold(true);
  titolo.setPointSizeF(titolo.pointSizeF() * 1.45);
  versione_->setFont(titolo);
  versione_->setStyleSheet(QStringLiteral("QLabel { color: #1f4e9c; }"));

  lVersionePgm_ = new QLabel(QTesto(versionePgm), this);
  lVersionePgm_->setObjectName(QStringLiteral("LVersionePgm"));
  nrel_ = new QLabel(QTesto(releasePgm), this);
  nrel_->setObjectName(QStringLiteral("Nrel"));
  QFont testo = lVersionePgm_->font();
  testo.setPointSizeF(testo.pointSizeF() * 1.1);
  lVersionePgm_->setFont(testo);
  nrel_->setFont(testo);
  nrel_->setStyleSheet(QStringLiteral("QLabel { color: #555; }"));

  command1_ = new QPushButton(QStringLiteral("Entra"), this);
  command1_->setObjectName(QStringLiteral("Command1"));
  command1_->setDefault(true);
  command1_->setMinimumSize(120, 34);
  QFont pulsante = command1_->font();
  pulsante.setBold(true);
  command1_->setFont(pulsante);
  connect(command1_, &QPushButton::clicked, this, &FINI::entra);

  auto* griglia = new QGridLayout(this);
  griglia->setContentsMargins(22, 20, 22, 18);
  griglia->setHorizontalSpacing(22);
  griglia->setVerticalSpacing(6);
  griglia->addWidget(immagine1, 0, 0, 4, 1);
  griglia->addWidget(versione_, 0, 1, 1, 2);
  griglia->addWidget(lVersionePgm_, 1, 1, 1, 2);
  griglia->addWidget(nrel_, 2, 1, 1, 2);
  griglia->addWidget(immagine2, 3, 1, 2, 1, Qt::AlignLeft | Qt::AlignBottom);
  griglia->addWidget(command1_, 4, 2, Qt::AlignRight | Qt::AlignBottom);
  griglia->setRowStretch(3, 1);
  griglia->setColumnStretch(1, 1);
}

}  // namespace fcl
