#include "AiutoTest.h"

#include <gtest/gtest.h>

#include <memory>

namespace fcl::test {

QApplication& Applicazione() {
  static int argc = 1;
  static char nome[] = "test_ui";
  static char* argv[] = {nome, nullptr};
  // Also when the suite is listed at build time, outside ctest's environment.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication app(argc, argv);
  return app;
}

void QuandoSiApre(std::function<void(QWidget*)> azione) {
  auto tentativi = std::make_shared<int>(0);
  auto controllo = std::make_shared<std::function<void()>>();
  *controllo = [azione, tentativi, controllo] {
    QWidget* modale = QApplication::activeModalWidget();
    if (modale && modale->isVisible()) {
      azione(modale);
      return;
    }
    if (++*tentativi > 500) {
      ADD_FAILURE() << "nessuna finestra modale si è aperta";
      return;
    }
    QTimer::singleShot(10, *controllo);
  };
  QTimer::singleShot(0, *controllo);
}

}  // namespace fcl::test

// The suite's main: a QApplication must exist before any widget.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  fcl::test::Applicazione();
  return RUN_ALL_TESTS();
}
