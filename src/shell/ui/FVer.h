#pragma once

#include <QDialog>

#include <functional>
#include <string>
#include <string_view>

class QLabel;
class QPushButton;

namespace fcl {

struct Contesto;

// The version window "FISCOLARIO - Versione": version, release, the terms of use and the way to
// the guide, and the support contacts that whoever distributes the program wrote in the
// [contatti] section of configurazione.ini (none set: no contact is shown at all). A click on an
// e-mail address starts a new message to it, with the program's subject, in the desktop's mail
// program.
class FVer : public QDialog {
  Q_OBJECT

 public:
  explicit FVer(const Contesto& ctx, QWidget* genitore = nullptr);

  // The "mailto:" address with the subject for `indirizzo`.
  static QUrl UrlMail(std::string_view indirizzo);

  // How a mail is started; tests replace it. Default: the desktop's handler of mailto URLs.
  std::function<void(const QUrl&)> apriUrl;

  // The e-mail labels; null when the installation names no such address.
  QLabel* MailTecnico() const { return label14_; }
  QLabel* MailCommerciale() const { return label11_; }
  QPushButton* Chiudi() const { return command1_; }
  QPushButton* Guida() const { return guida_; }

 protected:
  bool eventFilter(QObject* oggetto, QEvent* evento) override;

 private:
  QLabel* label14_ = nullptr;
  QLabel* label11_ = nullptr;
  QPushButton* command1_;
  QPushButton* guida_;
};

}  // namespace fcl
