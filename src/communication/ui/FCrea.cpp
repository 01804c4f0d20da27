#include "communication/ui/FCrea.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Contesto.h"
#include "common/RoutineCampi.h"
#include "common/ui/ColoriFocus.h"
#include "common/ui/RoutineCampiQt.h"
#include "common/ui/Stringhe.h"
#include "communication/CopertinaPdf.h"
#include "workbook/Listato.h"

namespace fcl {
namespace {

// The legends beside the row counts, by quadro number: the aggregated quadri in the first column,
// the analytical ones in the second.
struct Legenda {
  Quadro quadro;
  const char* testo;
};
constexpr Legenda kAggregati[] = {
    {FA, "FA=Operazioni da fattura in forma aggregata"},
    {SA, "SA=Operazioni senza fattura in forma aggregata"},
    {BL, "BL=Operazioni con Black List/Non residenti"},
};
constexpr Legenda kAnalitici[] = {
    {FE, "FE=Fatture EMESSE e Documenti Riepilogativi "},
    {FR, "FR=Fatture RICEVUTE e Documenti Riepilogativi "},
    {NE, "NE=Note di Variazione Emesse"},
    {NR, "NR=Note di Variazione Ricevute"},
    {DF, "DF=Operazioni Senza Fattura"},
    {FN, "FN=Operazioni con soggetti non residenti"},
    {SE, "SE=Acq. servizi da non residenti e da  San Marino"},
    {TU, "TU=Operazioni Legate al Turismo"},
};

QLabel* Etichetta(QWidget* genitore, const char* nome, std::string_view testo) {
  auto* l = new QLabel(QTesto(testo), genitore);
  if (nome) l->setObjectName(QString::fromLatin1(nome));
  return l;
}

QLineEdit* Casella(QWidget* genitore, const QString& nome) {
  auto* c = new QLineEdit(genitore);
  c->setObjectName(nome);
  return c;
}

}  // namespace

FCrea::FCrea(Contesto& ctx, Listato* listato, QWidget* genitore)
    : QDialog(genitore),
      ctx_(ctx),
      listato_(listato),
      corsa_(ctx, [this](std::string_view didascalia, long long valore, long long massimo) {
        MostraAvanzamento(didascalia, valore, massimo);
      }) {
  setObjectName(QStringLiteral("FCrea"));
  setWindowTitle(QStringLiteral("Crea Comunicazione (da spedire con ENTRATEL o FILEINTERNET) "));
  setModal(true);
  const OperatoreCorrente& op = ctx_.operatoreCorrente;
  const TotaliImport& tot = ctx_.totaliImport;

  auto* col = new QVBoxLayout(this);
  auto* intro = Etichetta(this, nullptr,
                          "Questa procedura LEGGE il contenuto del foglio excel indicato e CREA la "
                          "comunicazione rispettando il tracciato aggiornato al 12 ottobre 2013");
  intro->setWordWrap(true);
  col->addWidget(intro);

  auto* testa = new QFormLayout;
  testa->addRow(QStringLiteral("Soggetto:"), Etichetta(this, "vRAG", op.nomeVisualizzato));
  testa->addRow(QStringLiteral("Codice Fiscale:"), Etichetta(this, "vCF", op.codiceFiscale));
  testa->addRow(QStringLiteral("Partita IVA:"), Etichetta(this, "vPIVA", op.partitaIvaDigitata));
  auto* tfbase = Casella(this, QStringLiteral("tfbase"));
  tfbase->setReadOnly(true);
  tfbase->setText(QPercorso(tot.percorsoCartellaLavoro));
  testa->addRow(QStringLiteral("Foglio Excel elaborato:"), tfbase);
  col->addLayout(testa);

  auto* riepilogo = new QGroupBox(QStringLiteral("RIEPILOGO QUADRI "), this);
  auto* griglia = new QGridLayout(riepilogo);
  griglia->addWidget(Etichetta(riepilogo, nullptr, "DATI AGGREGATI"), 0, 0, 1, 2);
  griglia->addWidget(Etichetta(riepilogo, nullptr, "DATI ANALITICI"), 0, 2, 1, 2);
  bool aggregati = false;
  bool analitici = false;
  auto conteggio = [&](const Legenda& l, int riga, int colonna) {
    auto* rr = Casella(riepilogo, QStringLiteral("RR%1").arg(static_cast<int>(l.quadro)));
    rr->setReadOnly(true);
    rr->setMaximumWidth(70);
    rr->setAlignment(Qt::AlignRight);
    const int righe = tot.righePerQuadro[static_cast<std::size_t>(l.quadro)];
    if (righe < 1) {
      rr->hide();
    } else {
      rr->setText(QString::number(righe));
      (l.quadro <= BL ? aggregati : analitici) = true;
    }
    griglia->addWidget(rr, riga, colonna);
    griglia->addWidget(Etichetta(riepilogo, nullptr, l.testo), riga, colonna + 1);
  };
  for (int i = 0; i < 3; ++i) conteggio(kAggregati[i], i + 1, 0);
  for (int i = 0; i < 8; ++i) conteggio(kAnalitici[i], i + 1, 2);
  griglia->setColumnStretch(1, 1);
  griglia->setColumnStretch(3, 1);
  col->addWidget(riepilogo);

  // The choices in one grid, so that every box starts at the same place; the protocols' frame
  // takes its rows between the type of sending and the kind of data when it is shown.
  auto* scelte = new QGridLayout;
  scelte->setColumnStretch(1, 1);
  auto didascalia = [this](const char* testo) {
    auto* l = new QLabel(QString::fromUtf8(testo), this);
    return l;
  };
  aa1_ = Casella(this, QStringLiteral("AA1"));
  aa1_->setMaximumWidth(80);
  aa1_->setText(QTesto(ctx_.annoRiferimento));
  scelte->addWidget(didascalia("Anno di riferimento: "), 0, 0);
  scelte->addWidget(aa1_, 0, 1, Qt::AlignLeft);
  cmbTI_ = new QComboBox(this);
  cmbTI_->setObjectName(QStringLiteral("CmbTI"));
  cmbTI_->addItems({QStringLiteral("0=Invio ORDINARIO"), QStringLiteral("1=Invio SOSTITUTIVO"),
                    QStringLiteral("2=Annullamento")});
  scelte->addWidget(didascalia("Tipologia di INVIO"), 1, 0);
  scelte->addWidget(cmbTI_, 1, 1, Qt::AlignLeft);

  fnProt_ = new QGroupBox(this);
  fnProt_->setObjectName(QStringLiteral("FNprot"));
  auto* protL = new QFormLayout(fnProt_);
  proto_[0] = Casella(fnProt_, QStringLiteral("PROTO0"));
  proto_[1] = Casella(fnProt_, QStringLiteral("PROTO1"));
  protL->addRow(QStringLiteral("Protocollo Telematico da sostituire/annullare"), proto_[0]);
  protL->addRow(QStringLiteral("Protocollo Documento "), proto_[1]);
  fnProt_->hide();
  scelte->addWidget(fnProt_, 2, 0, 1, 2);

  combo1_ = new QComboBox(this);
  combo1_->setObjectName(QStringLiteral("Combo1"));
  combo1_->addItems({QStringLiteral("1=Dati AGGREGATI"), QStringLiteral("2=Dati ANALITICI")});
  auto* tipoDatiL = new QHBoxLayout;
  tipoDatiL->addWidget(combo1_);
  tipoDatiL->addWidget(Etichetta(this, nullptr, "ATTENZIONE: Una tipologia ESCLUDE l'altra"));
  tipoDatiL->addStretch();
  scelte->addWidget(didascalia("Tipologia di DATI"), 3, 0);
  scelte->addLayout(tipoDatiL, 3, 1);
  trimestre_ = Casella(this, QStringLiteral("TRimestre"));
  trimestre_->setMaximumWidth(80);
  trimestre_->setToolTip(QStringLiteral(
      "Per Acquisti da Operatori di San Marino deve valere 01 o 02. Per Operazione Black list può "
      "valer 01 o 02 oppre T1,T2,T3,T4. Negli Altri casi NON DEVE ESSERE compilato"));
  scelte->addWidget(didascalia("Mese/Trimestre di riferimento:"), 4, 0);
  scelte->addWidget(trimestre_, 4, 1, Qt::AlignLeft);
  col->addLayout(scelte);

  auto* avanzamento = new QHBoxLayout;
  label16_ = Etichetta(this, "Label16", "");
  pb1_ = new QProgressBar(this);
  pb1_->setObjectName(QStringLiteral("PB1"));
  perc_ = Casella(this, QStringLiteral("PERC"));
  perc_->setReadOnly(true);
  perc_->setMaximumWidth(90);
  avanzamento->addWidget(label16_);
  avanzamento->addWidget(pb1_, 1);
  avanzamento->addWidget(perc_);
  bInterrompi_ = new QPushButton(QStringLiteral("Interrompi"), this);
  bInterrompi_->setObjectName(QStringLiteral("bInterrompi"));
  bInterrompi_->setAutoDefault(false);
  avanzamento->addWidget(bInterrompi_);
  col->addLayout(avanzamento);
  label16_->hide();
  pb1_->hide();
  perc_->hide();
  bInterrompi_->hide();

  auto* pulsanti = new QHBoxLayout;
  cmdCrea_ = new QPushButton(
      QStringLiteral("CREA COMUNICAZIONE (TXT da inviare con Entratel o Fisconline)"), this);
  cmdCrea_->setObjectName(QStringLiteral("Cmd_Crea"));
  cmdCrea_->setDefault(true);
  auto* chiudi = new QPushButton(QStringLiteral("Chiudi"), this);
  chiudi->setObjectName(QStringLiteral("Command3"));
  pulsanti->addWidget(cmdCrea_, 1);
  pulsanti->addWidget(chiudi);
  col->addLayout(pulsanti);
  auto* nota =
      Etichetta(this, nullptr,
                "IMPORTANTE: Corvano NON è responsabile della veridicità dei dati comunicati.");
  nota->setWordWrap(true);
  col->addWidget(nota);

  // The window takes the size of what it shows: the protocols' frame and the progress add their
  // rows and take them away again, with no gap left behind.
  col->setSizeConstraint(QLayout::SetFixedSize);

  ColoriFocus::Installa(this);

  // The kind of data follows the quadri filled; aggregated wins, with a word to the user.
  if (aggregati || analitici) {
    const TipoDati tipo = ScegliTipoDati(tot, ctx_.Ui());
    combo1_->setCurrentIndex(tipo == TipoDati::Analitici ? 1 : 0);
  }

  connect(cmbTI_, &QComboBox::activated, this, &FCrea::TipoInvioScelto);
  connect(cmdCrea_, &QPushButton::clicked, this, &FCrea::Crea);
  connect(chiudi, &QPushButton::clicked, this, &QDialog::reject);
  connect(bInterrompi_, &QPushButton::clicked, this, &FCrea::Interrompi);
}

void FCrea::TipoInvioScelto(int indice) {
  fnProt_->setVisible(indice != 0);
  AvvisoTipoInvio(static_cast<TipoInvio>(indice), ctx_.Ui());
  for (QLineEdit* p : proto_) p->setText(p->text().trimmed());
  if (indice != 0) proto_[0]->setFocus();
}

void FCrea::MostraAvanzamento(std::string_view didascalia, long long valore, long long massimo) {
  if (didascalia.empty()) {
    label16_->hide();
    return;
  }
  label16_->setText(QTesto(didascalia));
  label16_->show();
  if (massimo > 0) {
    pb1_->setMaximum(static_cast<int>(massimo));
    pb1_->setValue(static_cast<int>(valore));
    pb1_->show();
    perc_->setText(QStringLiteral("%1/%2").arg(valore).arg(massimo));
    perc_->show();
  } else {
    pb1_->setValue(0);
  }
}

void FCrea::reject() {
  if (!corsa_.InCorso()) QDialog::reject();
}

void FCrea::Interrompi() {
  if (!corsa_.InCorso()) return;
  corsa_.Interrompi();
  bInterrompi_->setEnabled(false);
}

QWidget* FCrea::CampoDi(CampoCreazione campo) const {
  switch (campo) {
    case CampoCreazione::Anno:
      return aa1_;
    case CampoCreazione::Protocollo:
      return proto_[0];
    case CampoCreazione::ProtocolloDocumento:
      return proto_[1];
    case CampoCreazione::TipoDati:
      return combo1_;
    case CampoCreazione::Nessuno:
      break;
  }
  return nullptr;
}

void FCrea::Crea() {
  SceltaCreazione scelta;
  scelta.anno = TestoStd(aa1_->text());
  scelta.tipoInvio = static_cast<TipoInvio>(cmbTI_->currentIndex());
  scelta.protocollo = TestoStd(proto_[0]->text());
  scelta.protocolloDocumento = TestoStd(proto_[1]->text());
  scelta.tipoDati = combo1_->currentIndex() == 1 ? TipoDati::Analitici : TipoDati::Aggregati;
  scelta.periodo = TestoStd(trimestre_->text());

  if (corsa_.InCorso()) return;
  cmdCrea_->setEnabled(false);
  bInterrompi_->setEnabled(true);
  bInterrompi_->show();
  corsa_.Esegui([this, &scelta] {
    CopertinaPdf copertina(ctx_.cartellaProgramma, ctx_.Ui());
    esito_ = CreaComunicazione(ctx_, scelta, copertina, listato_);
  });
  bInterrompi_->hide();
  cmdCrea_->setEnabled(true);
  label16_->hide();
  pb1_->hide();
  perc_->hide();

  switch (esito_.stato) {
    case EsitoCreazione::Stato::Creata:
      accept();
      break;
    case EsitoCreazione::Stato::ErroreCampo:
      ErroreCampo(ctx_.Ui(), CampoDi(esito_.campo), esito_.messaggio);
      break;
    case EsitoCreazione::Stato::Fermata:
      ctx_.Ui().Messaggio(
          "Creazione interrotta: nessun file è stato scritto; la comunicazione, il frontespizio e "
          "il listato di controllo sono rimasti come erano.",
          "Crea comunicazione", Icona::Informazione);
      break;
    case EsitoCreazione::Stato::Interrotta:
    case EsitoCreazione::Stato::Fallita:
      break;
  }
}

}  // namespace fcl
