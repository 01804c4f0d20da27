#include "shell/ui/FVer.h"

#include <QDesktopServices>
#include <QEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

#include "common/ui/Icone.h"
#include "common/ui/Stringhe.h"
#include "shell/ui/Contatti.h"

namespace fcl {
namespace {

QLabel* Etichetta(const QString& testo, QWidget* genitore, bool grassetto = false) {
  auto* e = new QLabel(testo, genitore);
  if (grassetto) {
    QFont f = e->font();
    f.setBold(true);
    e->setFont(f);
  }
  return e;
}

}  // namespace

FVer::FVer(const std::string& versionePgm, const std::string& releasePgm, QWidget* genitore)
    : QDialog(genitore) {
  setWindowTitle(QStringLiteral("FISCOLARIO - Versione"));
  setWindowIcon(IconaApplicazione());
  setModal(true);
  apriUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };

  auto* emblema = new QLabel(this);
  emblema->setPixmap(Emblema(64));
  emblema->setAlignment(Qt::AlignTop);

  auto* versione = Etichetta(QTesto(versionePgm), this, true);
  versione->setObjectName(QStringLiteral("Versione"));
  QFont grande = versione->font();
  grande.setPointSizeF(grande.pointSizeF() * 1.3);
  versione->setFont(grande);
  versione->setStyleSheet(QStringLiteral("QLabel { color: #1f4e9c; }"));
  auto* nrel = Etichetta(QTesto(releasePgm), this);
  nrel->setObjectName(QStringLiteral("Nrel"));

  auto* label1 = Etichetta(QStringLiteral("Contatti "), this, true);
  label1->setObjectName(QStringLiteral("Label1"));
  auto* label3 = Etichetta(QStringLiteral("Centralino:"), this);
  auto* label13 = Etichetta(QTesto(kCentralino), this);
  label13->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* label12 = Etichetta(QStringLiteral("Ufficio Tecnico:"), this);
  label14_ = Etichetta(QTesto(kMailUfficioTecnico), this);
  label14_->setObjectName(QStringLiteral("Label14"));
  auto* label2 = Etichetta(QStringLiteral("Ufficio Commerciale:"), this);
  label11_ = Etichetta(QTesto(kMailUfficioCommerciale), this);
  label11_->setObjectName(QStringLiteral("Label11"));
  for (QLabel* mail : {label14_, label11_}) {
    mail->setCursor(Qt::PointingHandCursor);
    mail->setStyleSheet(QStringLiteral("QLabel { color: #1a5fb4; text-decoration: underline; }"));
    mail->setToolTip(QStringLiteral("Scrivi un messaggio"));
    mail->installEventFilter(this);
  }

  command1_ = new QPushButton(QStringLiteral("Chiudi"), this);
  command1_->setObjectName(QStringLiteral("Command1"));
  command1_->setDefault(true);
  connect(command1_, &QPushButton::clicked, this, &QDialog::accept);

  auto* griglia = new QGridLayout(this);
  griglia->setContentsMargins(20, 18, 20, 16);
  griglia->setHorizontalSpacing(14);
  griglia->addWidget(emblema, 0, 0, 3, 1);
  griglia->addWidget(versione, 0, 1, 1, 2);
  griglia->addWidget(nrel, 1, 1, 1, 2);
  griglia->setRowMinimumHeight(2, 10);
  griglia->addWidget(label1, 3, 1, 1, 2);
  griglia->addWidget(label3, 4, 1);
  griglia->addWidget(label13, 4, 2);
  griglia->addWidget(label12, 5, 1);
  griglia->addWidget(label14_, 5, 2);
  griglia->addWidget(label2, 6, 1);
  griglia->addWidget(label11_, 6, 2);
  griglia->setRowMinimumHeight(7, 10);
  griglia->addWidget(command1_, 8, 2, Qt::AlignRight);
  griglia->setColumnStretch(2, 1);
  griglia->setSizeConstraint(QLayout::SetFixedSize);

  // Centred on the screen.
  adjustSize();
  if (QScreen* schermo = genitore ? genitore->screen() : QGuiApplication::primaryScreen()) {
    const QRect area = schermo->availableGeometry();
    move(area.center() - rect().center());
  }
}

QUrl FVer::UrlMail(std::string_view indirizzo) {
  // mailto:ADDRESS?subject=... with the subject percent-encoded (blanks as %20, never "+").
  const QByteArray testo = "mailto:" + QUrl::toPercentEncoding(QTesto(indirizzo), "@") +
                           "?subject=" + QUrl::toPercentEncoding(QTesto(kOggettoMail));
  return QUrl::fromEncoded(testo, QUrl::StrictMode);
}

bool FVer::eventFilter(QObject* oggetto, QEvent* evento) {
  if (evento->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(evento)->button() == Qt::LeftButton) {
    if (oggetto == label14_ || oggetto == label11_) {
      const auto* etichetta = static_cast<QLabel*>(oggetto);
      if (apriUrl) apriUrl(UrlMail(TestoStd(etichetta->text())));
      return true;
    }
  }
  return QDialog::eventFilter(oggetto, evento);
}

}  // namespace fcl
