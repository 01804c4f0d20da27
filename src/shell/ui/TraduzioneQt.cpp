#include "shell/ui/TraduzioneQt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <iostream>

namespace fcl {

bool InstallaTraduzioneQt(QCoreApplication& app) {
  auto* traduzione = new QTranslator(&app);
  const QString cartella = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (!traduzione->load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"),
                        QStringLiteral("_"), cartella)) {
    delete traduzione;
    std::cerr << "Traduzione italiana di Qt non trovata in " << cartella.toStdString()
              << " (pacchetto qt6-translations-l10n): i pulsanti e le finestre standard "
                 "resteranno in inglese.\n";
    return false;
  }
  return QCoreApplication::installTranslator(traduzione);
}

}  // namespace fcl
