// Writes the application icon (the emblem the program draws for its windows) as PNG files of the
// usual icon-theme sizes, for the desktop entry and the file manager:
//
//   genera-icona FOLDER        -> FOLDER/<N>x<N>/apps/fiscolario.png for each size
//
// Run at build time under QT_QPA_PLATFORM=offscreen; exit 1 when a file cannot be written.

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <QString>

#include <cstdio>

#include "common/ui/Icone.h"

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fputs("Uso: genera-icona CARTELLA\n", stderr);
    return 2;
  }
  const QString radice = QString::fromLocal8Bit(argv[1]);
  for (const int lato : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const QString cartella = QStringLiteral("%1/%2x%2/apps").arg(radice).arg(lato);
    const QString file = cartella + QStringLiteral("/fiscolario.png");
    if (!QDir().mkpath(cartella) || !fcl::Emblema(lato).save(file, "PNG")) {
      std::fprintf(stderr, "Impossibile scrivere %s\n", file.toLocal8Bit().constData());
      return 1;
    }
  }
  return 0;
}
