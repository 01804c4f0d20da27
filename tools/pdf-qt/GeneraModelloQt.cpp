// Writes a two-page A4 template PDF with QPdfWriter: column headings, boxes and lines, with the
// same font on both pages. Used by the PDF tests as a template made by a real producer.
//
// Usage: genera-modello-qt OUT.pdf
#include <QFont>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) return 2;
  QPdfWriter pdf(QString::fromLocal8Bit(argv[1]));
  pdf.setPageSize(QPageSize(QPageSize::A4));
  pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
  pdf.setResolution(72);
  pdf.setCreator(QStringLiteral("genera-modello-qt"));
  pdf.setTitle(QStringLiteral("Modello di prova"));
  QPainter p(&pdf);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(14);
  p.setFont(font);
  for (int pagina = 1; pagina <= 2; ++pagina) {
    if (pagina == 2) pdf.newPage();
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(QRectF(30, 30, 535, 780));
    p.drawText(QPointF(40, 60), QStringLiteral("MODELLO QT PAGINA %1").arg(pagina));
    for (int r = 0; r < 29; ++r) p.drawLine(QPointF(30, 100 + r * 24), QPointF(565, 100 + r * 24));
    p.fillRect(QRectF(40, 780, 100, 20), QColor(200, 220, 255));
    p.drawText(QPointF(45, 795), QStringLiteral("Colonna %1").arg(pagina == 1 ? "A" : "B"));
  }
  return p.end() ? 0 : 1;
}
