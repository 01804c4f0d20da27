#include "shell/ui/FVer.h"

#include <QDesktopServices>
#include <QEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

#include "common/Contesto.h"
#include "common/RoutineCampi.h"
#include "common/ui/Icone.h"
#include "common/ui/Stringhe.h"
#include "shell/LeggiIni.h"
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

FVer::FVer(const Contesto& ctx, QWidget* genitore) : QDialog(genitore) {
  setWindowTitle(QStringLiteral("FISCOLARIO - Versione"));
  setWindowIcon(IconaApplicazione());
  setModal(true);
  apriUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };

  auto* emblema = new QLabel(this);
  emblema->setPixmap(Emblema(64));
  emblema->setAlignment(Qt::AlignTop);

  auto* versione = Etichetta(QTesto(ctx.versionePgm), this, true);
  versione->setObjectName(QStringLiteral("Versione"));
  QFont grande = versione->font();
  grande.setPointSizeF(grande.pointSizeF() * 1.3);
  versione->setFont(grande);
  versione->setStyleSheet(QStringLiteral("QLabel { color: #1f4e9c; }"));
  auto* nrel = Etichetta(QTesto(ctx.releasePgm), this);
  nrel->setObjectName(QStringLiteral("Nrel"));

  auto* licenza = Etichetta(QTesto(kLicenza), this);
  licenza->setObjectName(QStringLiteral("Licenza"));
  licenza->setWordWrap(true);
  auto* licenzaDati = Etichetta(QTesto(kLicenzaDati), this);
  licenzaDati->setObjectName(QStringLiteral("LicenzaDati"));
  licenzaDati->setWordWrap(true);
  auto* viaGuida = Etichetta(
      QStringLiteral("La guida: menu Help \u2192 Documentazione, oppure il tasto F1."), this);
  viaGuida->setObjectName(QStringLiteral("ViaGuida"));

  auto* griglia = new QGridLayout(this);
  griglia->setContentsMargins(20, 18, 20, 16);
  griglia->setHorizontalSpacing(14);
  griglia->addWidget(emblema, 0, 0, 3, 1);
  griglia->addWidget(versione, 0, 1, 1, 2);
  griglia->addWidget(nrel, 1, 1, 1, 2);
  griglia->setRowMinimumHeight(2, 10);
  int riga = 3;
  griglia->addWidget(licenza, riga++, 1, 1, 2);
  griglia->addWidget(licenzaDati, riga++, 1, 1, 2);
  griglia->addWidget(viaGuida, riga++, 1, 1, 2);

  // Only the contacts that whoever distributes the program wrote in the [contatti] section of
  // configurazione.ini: none set, no "Contatti" at all.
  const auto valore = [&ctx](std::string_view chiave) {
    return ctx.fileIni.empty() ? std::string() : Rifila(LeggiIni(ctx.fileIni, "contatti", chiave));
  };
  const std::string distributore = valore("Distributore");
  const std::string centralino = valore("Centralino");
  const std::string tecnico = valore("UfficioTecnico");
  const std::string commerciale = valore("UfficioCommerciale");
  if (!distributore.empty() || !centralino.empty() || !tecnico.empty() || !commerciale.empty()) {
    griglia->setRowMinimumHeight(riga++, 10);
    auto* label1 = Etichetta(QStringLiteral("Contatti "), this, true);
    label1->setObjectName(QStringLiteral("Label1"));
    griglia->addWidget(label1, riga++, 1, 1, 2);
    auto voce = [&](const char* didascalia, const std::string& valore, const char* nome) {
      if (valore.empty()) return static_cast<QLabel*>(nullptr);
      griglia->addWidget(Etichetta(QString::fromUtf8(didascalia), this), riga, 1);
      auto* e = Etichetta(QTesto(valore), this);
      e->setObjectName(QString::fromLatin1(nome));
      e->setTextInteractionFlags(Qt::TextSelectableByMouse);
      griglia->addWidget(e, riga++, 2);
      return e;
    };
    voce("Distribuito da:", distributore, "Distributore");
    voce("Centralino:", centralino, "Label13");
    label14_ = voce("Ufficio Tecnico:", tecnico, "Label14");
    label11_ = voce("Ufficio Commerciale:", commerciale, "Label11");
    for (QLabel* mail : {label14_, label11_}) {
      if (mail == nullptr) continue;
      mail->setTextInteractionFlags(Qt::NoTextInteraction);
      mail->setCursor(Qt::PointingHandCursor);
      mail->setStyleSheet(
          QStringLiteral("QLabel { color: #1a5fb4; text-decoration: underline; }"));
      mail->setToolTip(QStringLiteral("Scrivi un messaggio"));
      mail->installEventFilter(this);
    }
  }

  guida_ = new QPushButton(QStringLiteral("&Guida"), this);
  guida_->setObjectName(QStringLiteral("Guida"));
  guida_->setAutoDefault(false);
  connect(guida_, &QPushButton::clicked, this, [&ctx] {
    if (ctx.apriDocumento) ctx.apriDocumento->Apri(ctx.cartellaProgramma / "Help" / "index.html");
  });
  command1_ = new QPushButton(QStringLiteral("Chiudi"), this);
  command1_->setObjectName(QStringLiteral("Command1"));
  command1_->setDefault(true);
  connect(command1_, &QPushButton::clicked, this, &QDialog::accept);
  auto* pulsanti = new QHBoxLayout;
  pulsanti->addWidget(guida_);
  pulsanti->addStretch();
  pulsanti->addWidget(command1_);
  griglia->setRowMinimumHeight(riga++, 10);
  griglia->addLayout(pulsanti, riga, 1, 1, 2);
  griglia->setColumnStretch(2, 1);
  // Wide enough for the licence lines to wrap into a few readable lines, then fixed.
  griglia->setColumnMinimumWidth(2, 300);
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
    if (oggetto != nullptr && (oggetto == label14_ || oggetto == label11_)) {
      const auto* etichetta = static_cast<QLabel*>(oggetto);
      if (apriUrl) apriUrl(UrlMail(TestoStd(etichetta->text())));
      return true;
    }
  }
  return QDialog::eventFilter(oggetto, evento);
}

}  // namespace fcl
