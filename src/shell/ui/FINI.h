#pragma once

#include <QWidget>

#include <string>

class QLabel;
class QPushButton;

namespace fcl {

// The welcome window "Benvenuto", shown in the main window's client area at start: the program's
// name, version and release, and "Entra", which leads into the operators register.
class FINI : public QWidget {
  Q_OBJECT

 public:
  FINI(const std::string& versionePgm, const std::string& releasePgm, QWidget* genitore = nullptr);

  QPushButton* Entra() const { return command1_; }

 signals:
  void entra();

 private:
  QLabel* versione_;
  QLabel* lVersionePgm_;
  QLabel* nrel_;
  QPushButton* command1_;
};

}  // namespace fcl
