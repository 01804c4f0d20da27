#include "workbook/ui/FImport.h"

#include <QCheckBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Contesto.h"
#include "common/RoutineCampi.h"
#include "common/ui/Stringhe.h"
#include "fatture/SorgenteDati.h"
#include "workbook/LettoreCartella.h"
#include "workbook/Listato.h"

namespace fcl {
namespace {

// The readers take .xls, .xlsx and .ods alike, so the dialog offers all three, and the year's
// electronic invoices (.zip from the portal, .xml, .xml.p7m) stand where a workbook stands.
constexpr std::string_view kFiltroCartelle =
    "Fogli di lavoro e fatture elettroniche (*.XLS;*.XLSX;*.ODS;*.ZIP;*.XML;*.P7M)|"
    "*.XLS;*.XLSX;*.ODS;*.ZIP;*.XML;*.P7M|Fogli di lavoro (*.XLS;*.XLSX;*.ODS)|*.XLS;*.XLSX;*.ODS|"
    "Fatture elettroniche (*.ZIP;*.XML;*.P7M)|*.ZIP;*.XML;*.P7M|Excel (*.XLS)|*.XLS|"
    "Excel 2007 (*.XLSX)|*.XLSX|OpenDocument (*.ODS)|*.ODS";

QLabel* Etichetta(QWidget* genitore, const char* nome, std::string_view testo) {
  auto* l = new QLabel(QTesto(testo), genitore);
  l->setObjectName(QString::fromLatin1(nome));
  return l;
}

}  // namespace

FImport::FImport(Contesto& ctx, Listato& listato, ApriCartellaFn apri, QWidget* genitore)
    : QDialog(genitore),
      ctx_(ctx),
      listato_(listato),
      apri_(std::move(apri)),
      corsa_(ctx, [this](std::string_view didascalia, long long valore, long long) {
        if (!didascalia.empty()) label2_->setText(QTesto(didascalia));
        perc_->setText(QString::number(valore));
      }) {
  setObjectName(QStringLiteral("FImport"));
  setWindowTitle(QStringLiteral("Crea Comunicazione - Selezione Foglio Base"));
  setModal(true);
  // The source chosen: a workbook, or the operator's invoices of the reference year.
  if (!apri_)
    apri_ = ApriSorgenteFn(RichiestaSorgente{{}, OpzioniOperatore(ctx_, ctx_.annoRiferimento)},
                           &ctx_.Ui());

  auto* col = new QVBoxLayout(this);
  auto* soggetto = new QGroupBox(QStringLiteral("Soggetto"), this);
  auto* sogL = new QFormLayout(soggetto);
  sogL->addRow(QStringLiteral("Codice Fiscale:"),
               Etichetta(soggetto, "vSO", ctx_.operatoreCorrente.codiceFiscale));
  sogL->addRow(QStringLiteral("Denominazione:"),
               Etichetta(soggetto, "vRAG", ctx_.operatoreCorrente.nomeVisualizzato));
  col->addWidget(soggetto);

  auto* foglio = new QHBoxLayout;
  rfbase_ = new QPushButton(QStringLiteral("Apri Foglio Excel Base"), this);
  rfbase_->setObjectName(QStringLiteral("rfbase"));
  tfbase_ = new QLineEdit(this);
  tfbase_->setObjectName(QStringLiteral("tfbase"));
  tfbase_->setReadOnly(true);
  tfbase_->setMinimumWidth(320);
  rfatture_ = new QPushButton(QStringLiteral("Cartella di fatture..."), this);
  rfatture_->setObjectName(QStringLiteral("rfatture"));
  rfatture_->setToolTip(
      QStringLiteral("Una cartella di fatture elettroniche (.xml, .xml.p7m, .zip) al posto del "
                     "foglio di lavoro"));
  foglio->addWidget(rfbase_);
  foglio->addWidget(rfatture_);
  foglio->addWidget(tfbase_, 1);
  col->addLayout(foglio);

  vSiZ_ = new QCheckBox(QStringLiteral("Aggiungi gli ZERI non significativi"), this);
  vSiZ_->setObjectName(QStringLiteral("vSiZ"));
  vSiZ_->setChecked(true);
  col->addWidget(vSiZ_);

  // Off as the program always wrote it: a compressed listing is several times smaller (a quarter
  // of a gigabyte uncompressed at half a million rows) and costs a little more time.
  vCompresso_ = new QCheckBox(QStringLiteral("Listato compresso (file più piccolo)"), this);
  vCompresso_->setObjectName(QStringLiteral("vListatoCompresso"));
  col->addWidget(vCompresso_);

  auto* avanzamento = new QHBoxLayout;
  label2_ = Etichetta(this, "Label2", "Riga in elaborazione..");
  perc_ = new QLineEdit(this);
  perc_->setObjectName(QStringLiteral("PERC"));
  perc_->setReadOnly(true);
  perc_->setMaximumWidth(90);
  perc_->setAlignment(Qt::AlignRight);
  bInterrompi_ = new QPushButton(QStringLiteral("Interrompi"), this);
  bInterrompi_->setObjectName(QStringLiteral("bInterrompi"));
  bInterrompi_->setAutoDefault(false);
  avanzamento->addWidget(label2_);
  avanzamento->addWidget(perc_);
  avanzamento->addStretch();
  avanzamento->addWidget(bInterrompi_);
  col->addLayout(avanzamento);
  label2_->hide();
  perc_->hide();
  bInterrompi_->hide();

  auto* pulsanti = new QHBoxLayout;
  auto* istruzioni = new QPushButton(QStringLiteral("Istruzioni"), this);
  istruzioni->setObjectName(QStringLiteral("Command1"));
  bAnnulla_ = new QPushButton(QStringLiteral("Chiudi"), this);
  bAnnulla_->setObjectName(QStringLiteral("bAnnulla"));
  pulsanti->addWidget(istruzioni);
  pulsanti->addStretch();
  pulsanti->addWidget(bAnnulla_);
  col->addLayout(pulsanti);

  connect(rfbase_, &QPushButton::clicked, this, &FImport::ScegliFoglio);
  connect(rfatture_, &QPushButton::clicked, this, &FImport::ScegliCartellaFatture);
  connect(istruzioni, &QPushButton::clicked, this, &FImport::Istruzioni);
  connect(bAnnulla_, &QPushButton::clicked, this, &QDialog::reject);
  connect(bInterrompi_, &QPushButton::clicked, this, &FImport::Interrompi);
}

void FImport::ScegliFoglio() {
  if (corsa_.InCorso()) return;
  tfbase_->clear();
  // The folder of the last run; before any, the user's home (not the folder the program was
  // started from).
  const std::filesystem::path cartella = ctx_.totaliImport.cartellaUscita.empty()
                                             ? PercorsoStd(QDir::homePath())
                                             : ctx_.totaliImport.cartellaUscita;
  const auto scelto = ctx_.Ui().ScegliFileDaAprire("Indica il foglio excel da importare",
                                                   kFiltroCartelle, cartella);
  if (!scelto) return;
  // The check listing is proposed beside the workbook the first time.
  if (ctx_.totaliImport.cartellaUscita.empty())
    ctx_.totaliImport.cartellaUscita = scelto->parent_path();
  tfbase_->setText(QPercorso(scelto->filename()));
  Elabora(*scelto);
}

void FImport::ScegliCartellaFatture() {
  if (corsa_.InCorso()) return;
  const std::filesystem::path cartella = ctx_.totaliImport.cartellaUscita.empty()
                                             ? PercorsoStd(QDir::homePath())
                                             : ctx_.totaliImport.cartellaUscita;
  const auto scelta = ctx_.Ui().ScegliCartella("Indica la cartella delle fatture elettroniche",
                                               cartella);
  if (!scelta) return;
  if (ctx_.totaliImport.cartellaUscita.empty()) ctx_.totaliImport.cartellaUscita = *scelta;
  tfbase_->setText(QPercorso(*scelta));
  Elabora(*scelta);
}

void FImport::Elabora(const std::filesystem::path& cartellaLavoro) {
  if (corsa_.InCorso()) return;
  label2_->setText(QStringLiteral("Riga in elaborazione.."));
  label2_->show();
  perc_->clear();
  perc_->show();
  // The window stays modal during the run; its buttons wait for the end, but "Interrompi".
  rfbase_->setEnabled(false);
  rfatture_->setEnabled(false);
  vSiZ_->setEnabled(false);
  vCompresso_->setEnabled(false);
  bAnnulla_->setEnabled(false);
  bInterrompi_->setEnabled(true);
  bInterrompi_->show();
  const bool zeri = vSiZ_->isChecked();
  listato_.ComprimiPagine(vCompresso_->isChecked());
  corsa_.Esegui([this, &cartellaLavoro, zeri] {
    risultato_ = ElaboraCartella(ctx_, cartellaLavoro, zeri, listato_, apri_);
  });
  bInterrompi_->hide();
  rfbase_->setEnabled(true);
  rfatture_->setEnabled(true);
  vSiZ_->setEnabled(true);
  vCompresso_->setEnabled(true);
  bAnnulla_->setEnabled(true);
  switch (risultato_.esito) {
    case EsitoElaborazione::Completata:
    case EsitoElaborazione::Vuota:
      accept();
      break;
    case EsitoElaborazione::Interrotta:
      label2_->setText(QStringLiteral("Elaborazione interrotta"));
      ctx_.Ui().Messaggio(
          "Elaborazione interrotta: il listato di controllo e il file intermedio sono rimasti "
          "come erano.",
          "Crea Comunicazione - Selezione Foglio Base", Icona::Informazione);
      break;
    case EsitoElaborazione::Annullata:
      // No listing chosen: nothing was read, and a blank "Riga in elaborazione" would say
      // otherwise.
      label2_->hide();
      perc_->hide();
      break;
    case EsitoElaborazione::Fallita:
      break;
  }
}

void FImport::Interrompi() {
  if (!corsa_.InCorso()) return;
  corsa_.Interrompi();
  bInterrompi_->setEnabled(false);
  label2_->setText(QStringLiteral("Interruzione in corso.."));
}

void FImport::reject() {
  if (!corsa_.InCorso()) QDialog::reject();
}

void FImport::Istruzioni() {
  if (ctx_.apriDocumento) ctx_.apriDocumento->Apri(ctx_.cartellaProgramma / "Help" / "index.html");
}

}  // namespace fcl
