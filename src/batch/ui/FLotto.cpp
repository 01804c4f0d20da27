#include "batch/ui/FLotto.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "common/Contesto.h"
#include "common/Errori.h"
#include "common/ui/Stringhe.h"
#include "store/Database.h"

namespace fcl {
namespace {

enum Colonna { kRiga, kCodice, kDenominazione, kFoglio, kStato, kMessaggio, kColonne };

QColor ColoreStato(StatoRiga s) {
  switch (s) {
    case StatoRiga::Creata:
      return QColor(0xd8, 0xf0, 0xd8);
    case StatoRiga::CreataConErrori:
      return QColor(0xff, 0xe8, 0xc0);
    case StatoRiga::NonCreata:
      return QColor(0xf8, 0xd0, 0xd0);
    case StatoRiga::InCorso:
      return QColor(0xd8, 0xe4, 0xf8);
    case StatoRiga::InAttesa:
      break;
  }
  return QColor(Qt::white);
}

}  // namespace

FLotto::FLotto(Contesto& ctx, QWidget* genitore) : QDialog(genitore), ctx_(ctx) {
  setObjectName(QStringLiteral("FLotto"));
  setWindowTitle(QStringLiteral("Elaborazione multipla"));
  auto* layout = new QVBoxLayout(this);

  // Where the rows come from and where the files go.
  auto* origine = new QGroupBox(QStringLiteral("Soggetti da elaborare"), this);
  auto* fo = new QGridLayout(origine);
  daElenco_ = new QRadioButton(QStringLiteral("&Elenco CSV (codice_fiscale, foglio)"), origine);
  daCartella_ =
      new QRadioButton(QStringLiteral("Cartella di &fogli Excel (codice fiscale o partita IVA "
                                      "nel nome del file)"),
                       origine);
  daElenco_->setChecked(true);
  sorgente_ = new QLineEdit(origine);
  sorgente_->setObjectName(QStringLiteral("sorgente"));
  auto* sfoglia = new QPushButton(QStringLiteral("&Sfoglia..."), origine);
  uscita_ = new QLineEdit(origine);
  uscita_->setObjectName(QStringLiteral("uscita"));
  uscita_->setPlaceholderText(QStringLiteral("la cartella dell'elenco o dei fogli"));
  auto* sfogliaUscita = new QPushButton(QStringLiteral("Sf&oglia..."), origine);
  fo->addWidget(daElenco_, 0, 0, 1, 3);
  fo->addWidget(daCartella_, 1, 0, 1, 3);
  fo->addWidget(new QLabel(QStringLiteral("Elenco o cartella:"), origine), 2, 0);
  fo->addWidget(sorgente_, 2, 1);
  fo->addWidget(sfoglia, 2, 2);
  fo->addWidget(new QLabel(QStringLiteral("Cartella dei risultati:"), origine), 3, 0);
  fo->addWidget(uscita_, 3, 1);
  fo->addWidget(sfogliaUscita, 3, 2);
  layout->addWidget(origine);

  // The options of every row.
  auto* opzioni = new QGroupBox(QStringLiteral("Opzioni comuni"), this);
  auto* fopz = new QHBoxLayout(opzioni);
  anno_ = new QLineEdit(QTesto(ctx_.annoRiferimento), opzioni);
  anno_->setObjectName(QStringLiteral("anno"));
  anno_->setMaxLength(4);
  anno_->setFixedWidth(anno_->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
  dati_ = new QComboBox(opzioni);
  dati_->setObjectName(QStringLiteral("dati"));
  dati_->addItems({QStringLiteral("Secondo il foglio"), QStringLiteral("1 - DATI AGGREGATI"),
                   QStringLiteral("2 - DATI ANALITICI")});
  sovrascrivi_ = new QCheckBox(QStringLiteral("So&vrascrivi le comunicazioni esistenti"), opzioni);
  conserva_ = new QCheckBox(QStringLiteral("&Conserva anche con errori di verifica"), opzioni);
  processi_ = new QSpinBox(opzioni);
  processi_->setRange(1, 64);
  processi_->setValue(std::max(1, static_cast<int>(std::thread::hardware_concurrency())));
  fopz->addWidget(new QLabel(QStringLiteral("Anno:"), opzioni));
  fopz->addWidget(anno_);
  fopz->addWidget(new QLabel(QStringLiteral("Tipologia di dati:"), opzioni));
  fopz->addWidget(dati_);
  fopz->addWidget(sovrascrivi_);
  fopz->addWidget(conserva_);
  fopz->addWidget(new QLabel(QStringLiteral("Elaborazioni contemporanee:"), opzioni));
  fopz->addWidget(processi_);
  fopz->addStretch();
  layout->addWidget(opzioni);

  etichettaNonAbbinati_ = new QLabel(QStringLiteral("File non abbinati ad alcun soggetto:"), this);
  nonAbbinati_ = new QListWidget(this);
  nonAbbinati_->setObjectName(QStringLiteral("nonAbbinati"));
  nonAbbinati_->setMaximumHeight(56);
  etichettaNonAbbinati_->hide();
  nonAbbinati_->hide();
  layout->addWidget(etichettaNonAbbinati_);
  layout->addWidget(nonAbbinati_);

  tabella_ = new QTableWidget(0, kColonne, this);
  tabella_->setObjectName(QStringLiteral("tabella"));
  tabella_->setHorizontalHeaderLabels({QStringLiteral("Riga"), QStringLiteral("Codice fiscale"),
                                       QStringLiteral("Denominazione"), QStringLiteral("Foglio"),
                                       QStringLiteral("Stato"), QStringLiteral("Messaggio")});
  tabella_->verticalHeader()->hide();
  tabella_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tabella_->setSelectionBehavior(QAbstractItemView::SelectRows);
  tabella_->horizontalHeader()->setStretchLastSection(true);
  tabella_->setColumnWidth(kRiga, 50);
  tabella_->setColumnWidth(kCodice, 150);
  tabella_->setColumnWidth(kDenominazione, 220);
  tabella_->setColumnWidth(kFoglio, 180);
  tabella_->setColumnWidth(kStato, 90);
  layout->addWidget(tabella_, 1);

  avanzamento_ = new QProgressBar(this);
  avanzamento_->setObjectName(QStringLiteral("avanzamento"));
  avanzamento_->setFormat(QStringLiteral("%v di %m"));
  avanzamento_->setRange(0, 1);
  avanzamento_->setValue(0);
  avanzamento_->setTextVisible(false);  // until there are rows to count
  stato_ = new QLabel(this);
  stato_->setObjectName(QStringLiteral("stato"));
  stato_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(avanzamento_);
  layout->addWidget(stato_);

  auto* pulsanti = new QHBoxLayout;
  avvia_ = new QPushButton(QStringLiteral("&Avvia"), this);
  avvia_->setObjectName(QStringLiteral("avvia"));
  interrompi_ = new QPushButton(QStringLiteral("&Interrompi"), this);
  interrompi_->setObjectName(QStringLiteral("interrompi"));
  interrompi_->setEnabled(false);
  apriCartella_ = new QPushButton(QStringLiteral("Apri cartella &risultati"), this);
  apriCartella_->setObjectName(QStringLiteral("apriCartella"));
  apriCartella_->setEnabled(false);
  chiudi_ = new QPushButton(QStringLiteral("C&hiudi"), this);
  pulsanti->addWidget(avvia_);
  pulsanti->addWidget(interrompi_);
  pulsanti->addStretch();
  pulsanti->addWidget(apriCartella_);
  pulsanti->addWidget(chiudi_);
  layout->addLayout(pulsanti);

  connect(sfoglia, &QPushButton::clicked, this, &FLotto::ScegliSorgente);
  connect(sfogliaUscita, &QPushButton::clicked, this, &FLotto::ScegliUscita);
  connect(sorgente_, &QLineEdit::editingFinished, this, [this] {
    if (!InCorso() && !sorgente_->text().isEmpty()) CaricaRighe();
  });
  connect(avvia_, &QPushButton::clicked, this, &FLotto::Avvia);
  connect(interrompi_, &QPushButton::clicked, this, &FLotto::Interrompi);
  connect(apriCartella_, &QPushButton::clicked, this,
          [this] { QDesktopServices::openUrl(QUrl::fromLocalFile(QPercorso(Uscita()))); });
  connect(chiudi_, &QPushButton::clicked, this, &FLotto::reject);
  resize(1100, 640);
}

FLotto::~FLotto() {
  if (lotto_) lotto_->Interrompi();
  if (filo_.joinable()) filo_.join();
}

void FLotto::ScegliSorgente() {
  QString scelta;
  if (daElenco_->isChecked()) {
    scelta = QFileDialog::getOpenFileName(
        this, QStringLiteral("Elenco dei soggetti da elaborare"), sorgente_->text(),
        QStringLiteral("Elenco CSV (*.csv *.CSV);;Tutti i file (*)"));
  } else {
    scelta = QFileDialog::getExistingDirectory(this, QStringLiteral("Cartella dei fogli Excel"),
                                               sorgente_->text());
  }
  if (scelta.isEmpty()) return;
  sorgente_->setText(scelta);
  CaricaRighe();
}

void FLotto::ScegliUscita() {
  const QString scelta = QFileDialog::getExistingDirectory(
      this, QStringLiteral("Cartella dei risultati"), QPercorso(Uscita()));
  if (!scelta.isEmpty()) uscita_->setText(scelta);
}

std::filesystem::path FLotto::Uscita() const {
  if (!uscita_->text().trimmed().isEmpty()) return PercorsoStd(uscita_->text().trimmed());
  const std::filesystem::path s = PercorsoStd(sorgente_->text().trimmed());
  return daElenco_->isChecked() ? s.parent_path() : s;
}

void FLotto::MostraRiga(int riga, const RigaElenco& r, const EsitoRiga& e) {
  const QString valori[kColonne] = {
      QString::number(r.riga),
      QTesto(e.codiceFiscale.empty() ? r.codiceFiscale : e.codiceFiscale),
      QTesto(e.denominazione),
      QTesto(r.foglio),
      QTesto(DidascaliaStato(e.stato)),
      QTesto(e.messaggio)};
  for (int c = 0; c < kColonne; ++c) {
    auto* voce = tabella_->item(riga, c);
    if (voce == nullptr) {
      voce = new QTableWidgetItem;
      tabella_->setItem(riga, c, voce);
    }
    voce->setText(valori[c]);
    voce->setBackground(ColoreStato(e.stato));
    if (c == kMessaggio) voce->setToolTip(valori[c]);
  }
}

bool FLotto::CaricaRighe() {
  righe_.clear();
  nonAbbinati_->clear();
  tabella_->setRowCount(0);
  const std::filesystem::path sorgente = PercorsoStd(sorgente_->text().trimmed());
  if (sorgente.empty()) {
    QMessageBox::warning(this, windowTitle(),
                         QStringLiteral("Indicare l'elenco CSV o la cartella dei fogli Excel."));
    return false;
  }
  try {
    if (daElenco_->isChecked()) {
      righe_ = LeggiElenco(sorgente);
    } else {
      ElencoDaCartella c = AbbinaCartella(ctx_.Db(), sorgente);
      righe_ = std::move(c.righe);
      for (const auto& [file, motivo] : c.nonAbbinati)
        nonAbbinati_->addItem(QTesto(file.filename().string() + " - " + motivo));
    }
  } catch (const std::exception& e) {
    QMessageBox::critical(this, windowTitle(), QTesto(e.what()));
    return false;
  }
  etichettaNonAbbinati_->setVisible(nonAbbinati_->count() > 0);
  nonAbbinati_->setVisible(nonAbbinati_->count() > 0);
  tabella_->setRowCount(static_cast<int>(righe_.size()));
  for (std::size_t i = 0; i < righe_.size(); ++i) {
    EsitoRiga e;
    e.codiceFiscale = righe_[i].codiceFiscale;
    MostraRiga(static_cast<int>(i), righe_[i], e);
  }
  avanzamento_->setMaximum(std::max<int>(1, static_cast<int>(righe_.size())));
  avanzamento_->setTextVisible(true);
  avanzamento_->setValue(0);
  stato_->setText(QTesto(std::to_string(righe_.size()) + " soggetti da elaborare"));
  return true;
}

void FLotto::Avvia() {
  if (InCorso() || !CaricaRighe()) return;
  if (righe_.empty()) {
    QMessageBox::information(this, windowTitle(), QStringLiteral("Nessun soggetto da elaborare."));
    return;
  }
  OpzioniLotto o;
  o.uscita = Uscita();
  o.comuni.anno = TestoStd(anno_->text().trimmed());
  if (dati_->currentIndex() > 0) o.comuni.dati = std::to_string(dati_->currentIndex());
  o.sovrascrivi = sovrascrivi_->isChecked();
  o.conservaConErrori = conserva_->isChecked();
  o.processi = processi_->value();
  lotto_ = std::make_unique<Lotto>(ctx_, righe_, o);
  // Rows refused before the run (a fiscal code already met) show their state at once.
  const std::vector<EsitoRiga> iniziali = lotto_->Esiti();
  finite_ = 0;
  for (std::size_t i = 0; i < iniziali.size(); ++i)
    if (iniziali[i].stato != StatoRiga::InAttesa) {
      MostraRiga(static_cast<int>(i), righe_[i], iniziali[i]);
      ++finite_;
    }
  avanzamento_->setValue(static_cast<int>(finite_));
  lotto_->alCambio = [this](std::size_t indice, const EsitoRiga& esito) {
    QMetaObject::invokeMethod(
        this, [this, indice, esito] { RigaCambiata(indice, esito); }, Qt::QueuedConnection);
  };
  for (QWidget* w :
       std::initializer_list<QWidget*>{avvia_, apriCartella_, daElenco_, daCartella_, sorgente_,
                                       uscita_, anno_, dati_, sovrascrivi_, conserva_, processi_})
    w->setEnabled(false);
  interrompi_->setEnabled(true);
  stato_->setText(QStringLiteral("Elaborazione in corso..."));
  filo_ = std::thread([this] {
    std::string errore;
    try {
      lotto_->Esegui();
    } catch (const std::exception& e) {
      errore = e.what();
    }
    QMetaObject::invokeMethod(
        this,
        [this, errore] {
          if (!errore.empty()) QMessageBox::critical(this, windowTitle(), QTesto(errore));
          Concluso();
        },
        Qt::QueuedConnection);
  });
}

void FLotto::RigaCambiata(std::size_t indice, const EsitoRiga& esito) {
  if (indice >= righe_.size()) return;
  MostraRiga(static_cast<int>(indice), righe_[indice], esito);
  if (esito.stato != StatoRiga::InCorso && esito.stato != StatoRiga::InAttesa)
    avanzamento_->setValue(static_cast<int>(++finite_));
  if (esito.stato == StatoRiga::InCorso)
    tabella_->scrollToItem(tabella_->item(static_cast<int>(indice), 0));
}

void FLotto::Interrompi() {
  if (!lotto_) return;
  lotto_->Interrompi();
  interrompi_->setEnabled(false);
  stato_->setText(QStringLiteral(
      "Interruzione richiesta: nessuna nuova elaborazione viene avviata, quelle in corso "
      "terminano..."));
}

void FLotto::Concluso() {
  if (filo_.joinable()) filo_.join();
  const std::vector<EsitoRiga> esiti = lotto_->Esiti();
  for (std::size_t i = 0; i < esiti.size(); ++i)
    MostraRiga(static_cast<int>(i), righe_[i], esiti[i]);
  avanzamento_->setValue(static_cast<int>(esiti.size()));
  std::size_t create = 0, conErrori = 0, nonCreate = 0;
  for (const EsitoRiga& e : esiti)
    (e.stato == StatoRiga::Creata            ? create
     : e.stato == StatoRiga::CreataConErrori ? conErrori
                                             : nonCreate)++;
  std::string testo = std::to_string(create) + " create, " + std::to_string(conErrori) +
                      " create con errori, " + std::to_string(nonCreate) + " non create.";
  try {
    testo += " Riepilogo: " + lotto_->ScriviRiepilogo().string();
  } catch (const std::exception& e) {
    testo += std::string(" ") + e.what();
  }
  stato_->setText(QTesto(testo));
  lotto_.reset();
  for (QWidget* w :
       std::initializer_list<QWidget*>{avvia_, apriCartella_, daElenco_, daCartella_, sorgente_,
                                       uscita_, anno_, dati_, sovrascrivi_, conserva_, processi_})
    w->setEnabled(true);
  interrompi_->setEnabled(false);
  if (chiudiAllaFine_) QDialog::reject();
}

void FLotto::reject() {
  if (InCorso()) {
    const auto r = QMessageBox::question(
        this, windowTitle(),
        QStringLiteral("L'elaborazione è in corso: interromperla e chiudere la finestra al "
                       "termine delle comunicazioni già avviate?"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (r != QMessageBox::Yes) return;
    chiudiAllaFine_ = true;
    Interrompi();
    return;
  }
  QDialog::reject();
}

}  // namespace fcl
