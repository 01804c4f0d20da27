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
#include "shell/ui/AvanzamentoSuFinestra.h"
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
    : QDialog(genitore), ctx_(ctx), listato_(listato) {
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

  auto* scelte = new QFormLayout;
  aa1_ = Casella(this, QStringLiteral("AA1"));
  aa1_->setMaximumWidth(80);
  aa1_->setText(QTesto(ctx_.annoRiferimento));
  scelte->addRow(QStringLiteral("Anno di riferimento: "), aa1_);
  cmbTI_ = new QComboBox(this);
  cmbTI_->setObjectName(QStringLiteral("CmbTI"));
  cmbTI_->addItems({QStringLiteral("0=Invio ORDINARIO"), QStringLiteral("1=Invio SOSTITUTIVO"),
                    QStringLiteral("2=Annullamento")});
  scelte->addRow(QStringLiteral("Tipologia di INVIO"), cmbTI_);
  col->addLayout(scelte);

  fnProt_ = new QGroupBox(this);
  fnProt_->setObjectName(QStringLiteral("FNprot"));
  auto* protL = new QFormLayout(fnProt_);
  proto_[0] = Casella(fnProt_, QStringLiteral("PROTO0"));
  proto_[1] = Casella(fnProt_, QStringLiteral("PROTO1"));
  protL->addRow(QStringLiteral("Protocollo Telematico da sostituire/annullare"), proto_[0]);
  protL->addRow(QStringLiteral("Protocollo Documento "), proto_[1]);
  fnProt_->hide();
  col->addWidget(fnProt_);

  auto* dati = new QFormLayout;
  combo1_ = new QComboBox(this);
  combo1_->setObjectName(QStringLiteral("Combo1"));
  combo1_->addItems({QStringLiteral("1=Dati AGGREGATI"), QStringLiteral("2=Dati ANALITICI")});
  auto* tipoDati = new QWidget(this);
  auto* tipoDatiL = new QHBoxLayout(tipoDati);
  tipoDatiL->setContentsMargins(0, 0, 0, 0);
  tipoDatiL->addWidget(combo1_);
  tipoDatiL->addWidget(Etichetta(tipoDati, nullptr, "ATTENZIONE: Una tipologia ESCLUDE l'altra"));
  tipoDatiL->addStretch();
  dati->addRow(QStringLiteral("Tipologia di DATI"), tipoDati);
  trimestre_ = Casella(this, QStringLiteral("TRimestre"));
  trimestre_->setMaximumWidth(80);
  trimestre_->setToolTip(QStringLiteral(
      "Per Acquisti da Operatori di San Marino deve valere 01 o 02. Per Operazione Black list può "
      "valer 01 o 02 oppre T1,T2,T3,T4. Negli Altri casi NON DEVE ESSERE compilato"));
  dati->addRow(QStringLiteral("Mese/Trimestre di riferimento:"), trimestre_);
  col->addLayout(dati);

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
  col->addLayout(avanzamento);
  label16_->hide();
  pb1_->hide();
  perc_->hide();

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

  ColoriFocus::Installa(this);

  // The kind of data follows the quadri filled; aggregated wins, with a word to the user.
  if (aggregati || analitici) {
    const TipoDati tipo = ScegliTipoDati(tot, ctx_.Ui());
    combo1_->setCurrentIndex(tipo == TipoDati::Analitici ? 1 : 0);
  }

  connect(cmbTI_, &QComboBox::activated, this, &FCrea::TipoInvioScelto);
  connect(cmdCrea_, &QPushButton::clicked, this, &FCrea::Crea);
  connect(chiudi, &QPushButton::clicked, this, &QDialog::reject);
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
  if (!inCorso_) QDialog::reject();
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

  if (inCorso_) return;
  inCorso_ = true;
  cmdCrea_->setEnabled(false);
  {
    AvanzamentoSuFinestra avanzamento(
        ctx_, [this](std::string_view didascalia, long long valore, long long massimo) {
          MostraAvanzamento(didascalia, valore, massimo);
        });
    CopertinaPdf copertina(ctx_.cartellaProgramma, ctx_.Ui());
    esito_ = CreaComunicazione(ctx_, scelta, copertina, listato_);
  }
  cmdCrea_->setEnabled(true);
  inCorso_ = false;
  label16_->hide();

  switch (esito_.stato) {
    case EsitoCreazione::Stato::Creata:
      accept();
      break;
    case EsitoCreazione::Stato::ErroreCampo:
      ErroreCampo(ctx_.Ui(), CampoDi(esito_.campo), esito_.messaggio);
      break;
    case EsitoCreazione::Stato::Interrotta:
    case EsitoCreazione::Stato::Fallita:
      break;
  }
}

}  // namespace fcl
