#pragma once

#include <QDialog>

#include <functional>
#include <string>

class QLabel;
class QPushButton;

namespace fcl {

// The version window "FISCOLARIO - Versione": version, release and the contacts of the support
// offices. A click on an e-mail address starts a new message to it, with the program's subject,
// in the desktop's mail program.
class FVer : public QDialog {
  Q_OBJECT

 public:
  FVer(const std::string& versionePgm, const std::string& releasePgm, QWidget* genitore = nullptr);

  // The "mailto:" address with the subject for `indirizzo`.
  static QUrl UrlMail(std::string_view indirizzo);

  // How a mail is started; tests replace it. Default: the desktop's handler of mailto URLs.
  std::function<void(const QUrl&)> apriUrl;

  QLabel* MailTecnico() const { return label14_; }
  QLabel* MailCommerciale() const { return label11_; }
  QPushButton* Chiudi() const { return command1_; }

 protected:
  bool eventFilter(QObject* oggetto, QEvent* evento) override;

 private:
  QLabel* label14_;
  QLabel* label11_;
  QPushButton* command1_;
};

}  // namespace fcl
