#include "backup/ui/FSalva.h"

#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "backup/Backup.h"
#include "common/Contesto.h"
#include "common/ErroreSistema.h"
#include "common/Errori.h"
#include "common/RoutineCampi.h"
#include "common/ui/DopoIlClic.h"
#include "common/ui/Stringhe.h"
#include "shell/ui/AvanzamentoSuFinestra.h"

namespace fcl {
namespace {

// The backup's own progress on the window; its messages wait for the end of a double click on
// "Conferma", and the completion message says where the file went.
class InterazioneConferma : public AvanzamentoSuFinestra {
 public:
  InterazioneConferma(Contesto& ctx, Mostra mostra, const QElapsedTimer& clic,
                      const std::filesystem::path& file)
      : AvanzamentoSuFinestra(ctx, std::move(mostra)), clic_(clic), file_(file) {}

  void Messaggio(std::string_view testo, std::string_view titolo, Icona icona) override {
    AttendiFineDoppioClic(clic_);
    if (testo == kMessaggioBackupCreato) {
      Precedente().Messaggio(std::string(testo) + "\n\nFile di backup: " + file_.string(), titolo,
                             icona);
    } else {
      Precedente().Messaggio(testo, titolo, icona);
    }
  }

 private:
  const QElapsedTimer& clic_;
  const std::filesystem::path& file_;
};

}  // namespace

FSalva::FSalva(Contesto& ctx, std::string_view modoBackup, QWidget* genitore)
    : QDialog(genitore), ctx_(ctx), salvataggio_(modoBackup == "S") {
  setObjectName(QStringLiteral("FSalva"));
  setWindowTitle(QStringLiteral("Salvataggio/Ripristino"));
  setModal(true);

  auto* col = new QVBoxLayout(this);
  label1_ = new QLabel(salvataggio_ ? QStringLiteral("CREA ARCHIVIO DI BACKUP")
                                    : QStringLiteral("RIPRISTINA ARCHIVIO DI BACKUP"),
                       this);
  label1_->setObjectName(QStringLiteral("Label1"));
  QFont grassetto = label1_->font();
  grassetto.setBold(true);
  label1_->setFont(grassetto);
  label2_ = new QLabel(this);
  label2_->setObjectName(QStringLiteral("Label2"));
  // The window's width: the layout sets the window's minimum size from its contents, so the width
  // is asked of the operator's line (the window's own minimum would be overridden).
  label2_->setMinimumWidth(440);
  // The file to be written or read, once chosen.
  labelFile_ = new QLabel(this);
  labelFile_->setObjectName(QStringLiteral("LabelFile"));
  labelFile_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  labelFile_->hide();
  label3_ = new QLabel(QStringLiteral("Confermi il ripristino di questo archivio? Se presenti, i "
                                      "dati dell'operatore saranno SOSTITUITI"),
                       this);
  label3_->setObjectName(QStringLiteral("Label3"));
  label3_->setWordWrap(true);
  label3_->hide();
  pBar1_ = new QProgressBar(this);
  pBar1_->setObjectName(QStringLiteral("PBar1"));
  pBar1_->hide();
  col->addWidget(label1_);
  col->addWidget(label2_);
  col->addWidget(labelFile_);
  col->addWidget(label3_);
  col->addWidget(pBar1_);
  // The window follows what it shows: the bar and the restore's question add height.
  col->setSizeConstraint(QLayout::SetMinimumSize);

  auto* pulsanti = new QHBoxLayout;
  bConferma_ = new QPushButton(QStringLiteral("Conferma"), this);
  bConferma_->setObjectName(QStringLiteral("Bconferma"));
  bConferma_->hide();
  auto* chiudi = new QPushButton(QStringLiteral("Chiudi"), this);
  chiudi->setObjectName(QStringLiteral("bAnnulla"));
  pulsanti->addStretch();
  pulsanti->addWidget(bConferma_);
  pulsanti->addWidget(chiudi);
  col->addLayout(pulsanti);

  connect(bConferma_, &QPushButton::clicked, this, &FSalva::Conferma);
  connect(chiudi, &QPushButton::clicked, this, &QDialog::reject);
}

void FSalva::Esegui(Contesto& ctx, std::string_view modoBackup, QWidget* genitore) {
  FSalva finestra(ctx, modoBackup, genitore);
  finestra.ScegliFile();
  // A file that is no backup file has closed the window; otherwise the user confirms or closes.
  if (!finestra.Chiusa()) finestra.exec();
}

bool FSalva::ScegliFile() {
  Interazione& ui = ctx_.Ui();
  const std::filesystem::path cartella = ctx_.totaliImport.cartellaUscita.empty()
                                             ? ctx_.cartellaProgramma
                                             : ctx_.totaliImport.cartellaUscita;
  if (salvataggio_) {
    codice_ = Rifila(ctx_.operatoreCorrente.codiceFiscale);
    label2_->setText(QTesto(ctx_.operatoreCorrente.nomeVisualizzato));
    const auto scelto = ui.ScegliFileDaSalvare(
        kTitoloDialogoSalva, kFiltroBackup, cartella,
        DefaultNomeBackup(ctx_.operatoreCorrente.nomeVisualizzato, ctx_.adesso()));
    if (!scelto) return false;
    file_ = *scelto;
  } else {
    const auto scelto = ui.ScegliFileDaAprire(kTitoloDialogoRipristina, kFiltroBackup, cartella);
    if (!scelto) return false;
    std::optional<IntestazioneBackup> intestazione;
    try {
      intestazione = LeggiIntestazioneBackup(*scelto);
    } catch (const Errore& e) {
      ui.Messaggio(e.what(), kTitoloApplicazione, Icona::Critico);
      return false;
    }
    if (!intestazione) {
      ui.Messaggio(kMessaggioNonBackup, kTitoloApplicazione, Icona::Nessuna);
      chiusa_ = true;
      reject();
      return false;
    }
    file_ = *scelto;
    codice_ = intestazione->codice;
    label2_->setText(QTesto(intestazione->Etichetta()));
    label3_->show();
  }
  // The whole path in the tooltip; on the window, its middle left out when it is very long.
  const QString percorso = QPercorso(file_);
  labelFile_->setText(QStringLiteral("File: ") +
                      labelFile_->fontMetrics().elidedText(percorso, Qt::ElideMiddle, 640));
  labelFile_->setToolTip(percorso);
  labelFile_->show();
  bConferma_->show();
  return true;
}

void FSalva::reject() {
  if (!inCorso_) QDialog::reject();
}

void FSalva::Conferma() {
  if (file_.empty() || inCorso_) return;
  QElapsedTimer clic;
  clic.start();
  inCorso_ = true;
  pBar1_->setMaximum(static_cast<int>(kMassimoAvanzamentoBackup));
  pBar1_->setValue(0);
  pBar1_->show();
  adjustSize();
  bConferma_->setEnabled(false);
  bool fatto = false;
  bool errore = false;
  try {
    InterazioneConferma interazione(
        ctx_,
        [this](std::string_view, long long valore, long long) {
          pBar1_->setValue(static_cast<int>(valore));
        },
        clic, file_);
    fatto = salvataggio_ ? SalvaOperatore(ctx_, codice_, file_) : RipristinaBackup(ctx_, file_);
  } catch (const std::exception& e) {
    errore = true;
    AttendiFineDoppioClic(clic);
    ctx_.Ui().Messaggio(TestoPerUtente(e), kTitoloApplicazione, Icona::Critico);
  }
  bConferma_->setEnabled(true);
  inCorso_ = false;
  if (fatto) {
    accept();
  } else if (!salvataggio_ && !errore) {
    // The file stopped being a backup file since it was chosen: told, the window closes.
    chiusa_ = true;
    reject();
  }
}

}  // namespace fcl
