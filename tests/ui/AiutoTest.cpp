#include "AiutoTest.h"

#include <gtest/gtest.h>

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
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
