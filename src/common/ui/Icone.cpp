#include "common/ui/Icone.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace fcl {
namespace {

// Every icon is drawn on a 24 x 24 grid and rendered at the sizes menus and toolbars ask for.
using Disegno = std::function<void(QPainter&)>;

QPixmap Rendi(const Disegno& disegno, int lato) {
  QPixmap pm(lato, lato);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(lato / 24.0, lato / 24.0);
  disegno(p);
  return pm;
}

QIcon Icona(const Disegno& disegno) {
  QIcon icona;
  for (const int lato : {16, 20, 24, 32, 48, 64}) icona.addPixmap(Rendi(disegno, lato));
  return icona;
}

QPen Tratto(const QColor& colore, double larghezza) {
  QPen pen(colore, larghezza);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

void Dischetto(QPainter& p) {
  QPainterPath corpo;
  corpo.moveTo(3, 4);
  corpo.quadTo(3, 3, 4, 3);
  corpo.lineTo(18, 3);
  corpo.lineTo(21, 6);
  corpo.lineTo(21, 20);
  corpo.quadTo(21, 21, 20, 21);
  corpo.lineTo(4, 21);
  corpo.quadTo(3, 21, 3, 20);
  corpo.closeSubpath();
  QLinearGradient g(0, 3, 0, 21);
  g.setColorAt(0, QColor(0x3b, 0x7d, 0xd8));
  g.setColorAt(1, QColor(0x1f, 0x4e, 0x9c));
  p.setPen(Tratto(QColor(0x15, 0x36, 0x6e), 1));
  p.setBrush(g);
  p.drawPath(corpo);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xe8, 0xee, 0xf6));
  p.drawRoundedRect(QRectF(6, 3.5, 11, 6.5), 0.8, 0.8);
  p.setBrush(QColor(0x1f, 0x4e, 0x9c));
  p.drawRect(QRectF(13.5, 4.5, 2, 4.5));
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(6, 13, 12, 7), 1, 1);
  p.setPen(Tratto(QColor(0x9a, 0xa8, 0xbb), 0.8));
  p.drawLine(QPointF(8, 15.5), QPointF(16, 15.5));
  p.drawLine(QPointF(8, 17.8), QPointF(14, 17.8));
}

void FrecciaCircolare(QPainter& p, const QColor& colore) {
  p.setPen(Tratto(colore, 2.4));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(5, 5, 14, 14), 100 * 16, 270 * 16);
  QPainterPath punta;
  punta.moveTo(10.5, 1.8);
  punta.lineTo(15.5, 5.4);
  punta.lineTo(10.2, 8.6);
  punta.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(colore);
  p.drawPath(punta);
}

void Foglio(QPainter& p, const QColor& intestazione) {
  p.setPen(Tratto(QColor(0x55, 0x5f, 0x6b), 1));
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(3, 3, 18, 18), 1.5, 1.5);
  p.setPen(Qt::NoPen);
  p.setBrush(intestazione);
  p.drawRect(QRectF(3.5, 3.5, 17, 4));
  p.setPen(Tratto(QColor(0x9c, 0xa8, 0xb4), 0.8));
  for (const double y : {11.5, 15.0, 18.5}) p.drawLine(QPointF(4, y), QPointF(20, y));
  for (const double x : {9.0, 15.0}) p.drawLine(QPointF(x, 8), QPointF(x, 20.5));
}

void Documento(QPainter& p) {
  QPainterPath pagina;
  pagina.moveTo(5, 2.5);
  pagina.lineTo(14.5, 2.5);
  pagina.lineTo(19.5, 7.5);
  pagina.lineTo(19.5, 21.5);
  pagina.lineTo(5, 21.5);
  pagina.closeSubpath();
  p.setPen(Tratto(QColor(0x5a, 0x62, 0x6e), 1));
  p.setBrush(Qt::white);
  p.drawPath(pagina);
  QPainterPath piega;
  piega.moveTo(14.5, 2.5);
  piega.lineTo(14.5, 7.5);
  piega.lineTo(19.5, 7.5);
  p.setBrush(QColor(0xdd, 0xe2, 0xe8));
  p.drawPath(piega);
  p.setPen(Tratto(QColor(0x8f, 0x99, 0xa6), 1));
  for (const double y : {11.0, 13.5, 16.0}) p.drawLine(QPointF(7.5, y), QPointF(17, y));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xc6, 0x28, 0x28));
  p.drawRoundedRect(QRectF(2.5, 17, 11, 5.5), 1, 1);
  p.setPen(Tratto(Qt::white, 1.1));
  p.drawLine(QPointF(4.5, 19.75), QPointF(11.5, 19.75));
}

void Informazione(QPainter& p) {
  QRadialGradient g(QPointF(10, 8), 13);
  g.setColorAt(0, QColor(0x4f, 0x9a, 0xf0));
  g.setColorAt(1, QColor(0x1d, 0x5f, 0xbf));
  p.setPen(Tratto(QColor(0x17, 0x4a, 0x94), 1));
  p.setBrush(g);
  p.drawEllipse(QRectF(2.5, 2.5, 19, 19));
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawEllipse(QRectF(10.6, 6, 2.8, 2.8));
  p.drawRoundedRect(QRectF(10.7, 10.3, 2.6, 8), 1, 1);
}

void Busta(QPainter& p) {
  p.setPen(Tratto(QColor(0x8a, 0x6d, 0x1f), 1));
  p.setBrush(QColor(0xfb, 0xe3, 0x9a));
  p.drawRoundedRect(QRectF(2.5, 5.5, 19, 13), 1.2, 1.2);
  p.setBrush(QColor(0xf6, 0xd0, 0x63));
  QPainterPath lembo;
  lembo.moveTo(3, 6);
  lembo.lineTo(12, 13);
  lembo.lineTo(21, 6);
  p.drawPath(lembo);
}

void Monitor(QPainter& p) {
  p.setPen(Tratto(QColor(0x3b, 0x42, 0x4c), 1));
  p.setBrush(QColor(0x4a, 0x52, 0x5e));
  p.drawRoundedRect(QRectF(2.5, 3.5, 19, 13), 1.5, 1.5);
  p.setPen(Qt::NoPen);
  QLinearGradient g(0, 5, 0, 15);
  g.setColorAt(0, QColor(0x5c, 0xb8, 0xf2));
  g.setColorAt(1, QColor(0x2a, 0x7f, 0xc9));
  p.setBrush(g);
  p.drawRect(QRectF(4, 5, 16, 10));
  p.setBrush(QColor(0x4a, 0x52, 0x5e));
  p.drawRect(QRectF(10, 16.5, 4, 3));
  p.drawRoundedRect(QRectF(6.5, 19.2, 11, 2), 1, 1);
  p.setPen(Tratto(Qt::white, 1.4));
  p.drawLine(QPointF(7, 8.5), QPointF(16, 8.5));
  p.drawLine(QPointF(14, 6.8), QPointF(16, 8.5));
  p.drawLine(QPointF(8, 11.5), QPointF(17, 11.5));
  p.drawLine(QPointF(8, 11.5), QPointF(10, 13.2));
}

void Persona(QPainter& p, const QColor& colore) {
  p.setPen(Qt::NoPen);
  p.setBrush(colore);
  p.drawEllipse(QRectF(5, 2.5, 8, 8));
  QPainterPath busto;
  busto.moveTo(1.5, 21);
  busto.cubicTo(1.5, 13.5, 5, 11.5, 9, 11.5);
  busto.cubicTo(13, 11.5, 16.5, 13.5, 16.5, 21);
  busto.closeSubpath();
  p.drawPath(busto);
}

void Distintivo(QPainter& p, const QColor& fondo, bool piu) {
  p.setPen(Tratto(Qt::white, 1.2));
  p.setBrush(fondo);
  p.drawEllipse(QRectF(12.5, 12.5, 10.5, 10.5));
  p.setPen(Tratto(Qt::white, 1.9));
  const QPointF c(17.75, 17.75);
  if (piu) {
    p.drawLine(c - QPointF(3, 0), c + QPointF(3, 0));
    p.drawLine(c - QPointF(0, 3), c + QPointF(0, 3));
  } else {
    p.drawLine(c - QPointF(2.3, 2.3), c + QPointF(2.3, 2.3));
    p.drawLine(c - QPointF(2.3, -2.3), c + QPointF(2.3, -2.3));
  }
}

void Emblema24(QPainter& p) {
  QLinearGradient g(0, 0, 24, 24);
  g.setColorAt(0, QColor(0x2f, 0x6f, 0xc4));
  g.setColorAt(1, QColor(0x14, 0x3c, 0x7a));
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawRoundedRect(QRectF(1, 1, 22, 22), 4.5, 4.5);
  // A page with the record lines of a communication, and a green tick: the file is ready.
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(5.5, 4, 10.5, 14), 1, 1);
  p.setPen(Tratto(QColor(0x2f, 0x6f, 0xc4), 1.1));
  for (const double y : {7.5, 10.0, 12.5}) p.drawLine(QPointF(7.5, y), QPointF(14, y));
  p.setPen(Tratto(Qt::white, 1));
  p.setBrush(QColor(0x2e, 0xa0, 0x4b));
  p.drawEllipse(QRectF(12, 12, 9, 9));
  p.setPen(Tratto(Qt::white, 1.6));
  p.drawLine(QPointF(14.3, 16.6), QPointF(16, 18.3));
  p.drawLine(QPointF(16, 18.3), QPointF(18.8, 14.6));
}

}  // namespace

QIcon IconaMenu(int numero) {
  switch (numero) {
    case 1:
      return Icona(Dischetto);
    case 2:
      return Icona([](QPainter& p) {
        p.save();
        p.translate(4, 4);
        p.scale(0.66, 0.66);
        Dischetto(p);
        p.restore();
        FrecciaCircolare(p, QColor(0x2e, 0x8b, 0x3e));
      });
    case 11:
      return Icona(Monitor);
    case 12:
      return Icona(Informazione);
    case 13:
      return Icona(Busta);
    case 14:
      return Icona([](QPainter& p) { Foglio(p, QColor(0x21, 0x8a, 0x4a)); });
    case 15:
      return Icona(Documento);
    default:
      return {};
  }
}

QIcon IconaAggiungiSoggetto() {
  return Icona([](QPainter& p) {
    Persona(p, QColor(0x3a, 0x5f, 0x8f));
    Distintivo(p, QColor(0x2e, 0x9a, 0x47), true);
  });
}

QIcon IconaEliminaSoggetto() {
  return Icona([](QPainter& p) {
    Persona(p, QColor(0x3a, 0x5f, 0x8f));
    Distintivo(p, QColor(0xc6, 0x2b, 0x2b), false);
  });
}

QIcon IconaStato(std::string_view chiave) {
  if (chiave == "OK") {
    return Icona([](QPainter& p) {
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0x2e, 0xa0, 0x4b));
      p.drawEllipse(QRectF(2, 2, 20, 20));
      p.setPen(Tratto(Qt::white, 2.6));
      p.drawLine(QPointF(7, 12.5), QPointF(10.5, 16));
      p.drawLine(QPointF(10.5, 16), QPointF(17, 8));
    });
  }
  if (chiave == "ER") {
    return Icona([](QPainter& p) {
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0xd0, 0x33, 0x33));
      p.drawEllipse(QRectF(2, 2, 20, 20));
      p.setPen(Tratto(Qt::white, 2.6));
      p.drawLine(QPointF(8, 8), QPointF(16, 16));
      p.drawLine(QPointF(16, 8), QPointF(8, 16));
    });
  }
  return {};
}

QIcon IconaApplicazione() { return Icona(Emblema24); }

QPixmap Emblema(int lato) { return Rendi(Emblema24, lato); }

}  // namespace fcl
