#include "AiutoTest.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>

namespace fcl::test {

namespace {

struct Attesa {
  std::function<void(QWidget*)> azione;
  int tentativi = 0;
};

void Controlla(const std::shared_ptr<Attesa>& attesa) {
  QWidget* modale = QApplication::activeModalWidget();
  if (modale && modale->isVisible()) {
    attesa->azione(modale);
    return;
  }
  if (++attesa->tentativi > 500) {
    ADD_FAILURE() << "nessuna finestra modale si è aperta";
    return;
  }
  QTimer::singleShot(10, [attesa] { Controlla(attesa); });
}

}  // namespace

void QuandoSiApre(std::function<void(QWidget*)> azione) {
  auto attesa = std::make_shared<Attesa>();
  attesa->azione = std::move(azione);
  QTimer::singleShot(0, [attesa] { Controlla(attesa); });
}

}  // namespace fcl::test

// The suite's main: a QApplication must exist before any widget, and go after the last one (not at
// static destruction, when Qt's thread storage is already gone).
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Also when the suite is listed at build time, outside ctest's environment.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The windows remember sizes and splitters in the user's settings: the suite keeps its own.
  QTemporaryDir temporanea;
  // The offscreen screen is the most common office laptop's, 1366x768, instead of 800x600.
  if (qgetenv("QT_QPA_PLATFORM") == "offscreen") {
    const QString schermo = temporanea.filePath(QStringLiteral("schermo.json"));
    QFile f(schermo);
    if (f.open(QIODevice::WriteOnly)) {
      f.write(R"({"screens": [{"name": "Portatile", "x": 0, "y": 0, "width": 1366,
                  "height": 768, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
      f.close();
      qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + schermo.toLocal8Bit());
    }
  }
  QApplication app(argc, argv);
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                     temporanea.filePath(QStringLiteral("impostazioni")));
  return RUN_ALL_TESTS();
}
