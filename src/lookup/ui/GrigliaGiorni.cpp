#include "lookup/ui/GrigliaGiorni.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "lookup/Calendario.h"

namespace fcl {

GrigliaGiorni::GrigliaGiorni(const Calendario& calendario, QWidget* genitore)
    : QWidget(genitore), calendario_(calendario) {
  setObjectName(QStringLiteral("pctCAL"));
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize GrigliaGiorni::sizeHint() const {
  return {2 * kMargine + 7 * kLarghezzaCella,
          2 * kMargine + kAltezzaIntestazione + 6 * kAltezzaCella};
}

void GrigliaGiorni::ImpostaCornice(int cella) {
  cornice_ = cella;
  update();
}

QRect GrigliaGiorni::RettangoloCella(int cella) const {
  return {kMargine + (cella % 7) * kLarghezzaCella,
          kMargine + kAltezzaIntestazione + (cella / 7) * kAltezzaCella, kLarghezzaCella,
          kAltezzaCella};
}

std::optional<int> GrigliaGiorni::CellaIn(const QPoint& punto) const {
  for (int c = 0; c < Calendario::kCelle; ++c) {
    if (RettangoloCella(c).contains(punto)) return c;
  }
  return std::nullopt;
}

bool GrigliaGiorni::Piena(int cella) const {
  return calendario_.GiornoDellaCella(cella).has_value();
}

void GrigliaGiorni::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QPalette& tav = palette();
  p.fillRect(rect(), tav.color(QPalette::Base));

  static constexpr const char* kSettimana[] = {"L", "M", "M", "G", "V", "S", "D"};
  const QColor domenica(0xb2, 0x22, 0x22);
  QFont intestazione = font();
  intestazione.setBold(true);
  p.setFont(intestazione);
  const QRect fascia(kMargine, kMargine, 7 * kLarghezzaCella, kAltezzaIntestazione - 4);
  p.fillRect(fascia, QColor(0x1f, 0x4e, 0x9c));
  for (int g = 0; g < 7; ++g) {
    const QRect r(kMargine + g * kLarghezzaCella, kMargine, kLarghezzaCella,
                  kAltezzaIntestazione - 4);
    p.setPen(g == 6 ? QColor(0xff, 0xc9, 0xc9) : QColor(Qt::white));
    p.drawText(r, Qt::AlignCenter, QString::fromLatin1(kSettimana[g]));
  }

  QFont giorno = font();
  giorno.setPointSize(10);
  giorno.setBold(true);
  p.setFont(giorno);
  const auto celle = calendario_.Celle();
  for (int c = 0; c < Calendario::kCelle; ++c) {
    const QRect r = RettangoloCella(c).adjusted(1, 1, -1, -1);
    if (celle[static_cast<std::size_t>(c)] == 0) continue;
    p.setPen(Qt::NoPen);
    p.setBrush(c % 7 == 6 ? QColor(0xfb, 0xee, 0xee) : QColor(0xf1, 0xf4, 0xf9));
    p.drawRoundedRect(r, 3, 3);
    p.setPen(c % 7 == 6 ? domenica : tav.color(QPalette::Text));
    p.drawText(r, Qt::AlignCenter, QString::number(celle[static_cast<std::size_t>(c)]));
  }

  if (cornice_ >= 0 && cornice_ < Calendario::kCelle) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x1f, 0x4e, 0x9c), 2));
    p.drawRoundedRect(QRectF(RettangoloCella(cornice_)).adjusted(1.5, 1.5, -1.5, -1.5), 4, 4);
  }
  if (hasFocus()) {
    p.setPen(QPen(tav.color(QPalette::Highlight), 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

void GrigliaGiorni::mousePressEvent(QMouseEvent* evento) {
  setFocus(Qt::MouseFocusReason);
  const auto cella = CellaIn(evento->position().toPoint());
  if (evento->button() == Qt::LeftButton && cella && Piena(*cella)) emit clic(*cella);
}

void GrigliaGiorni::mouseDoubleClickEvent(QMouseEvent* evento) {
  const auto cella = CellaIn(evento->position().toPoint());
  if (evento->button() == Qt::LeftButton && cella && Piena(*cella)) emit doppioClic(*cella);
}

void GrigliaGiorni::mouseMoveEvent(QMouseEvent* evento) {
  const auto cella = CellaIn(evento->position().toPoint());
  setCursor(cella && Piena(*cella) ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void GrigliaGiorni::keyPressEvent(QKeyEvent* evento) {
  switch (evento->key()) {
    case Qt::Key_Escape:
      emit esc();
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
      emit conferma();
      return;
    default:
      QWidget::keyPressEvent(evento);
  }
}

}  // namespace fcl
