#include "register/ui/FOPC.h"

#include <algorithm>

#include <QButtonGroup>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSplitter>
#include <QVBoxLayout>

#include "common/Contesto.h"
#include "common/ControlloCF.h"
#include "common/RoutineCampi.h"
#include "common/ui/ColoriFocus.h"
#include "common/ui/ListaVista.h"
#include "common/ui/RoutineCampiQt.h"
#include "communication/ui/FCrea.h"
#include "lookup/ui/FTABSG.h"
#include "register/RegistroOperatori.h"
#include "shell/ui/FinestraPrincipale.h"
#include "store/CopiaImpegno.h"
#include "workbook/ListatoPdf.h"
#include "workbook/ui/FImport.h"

namespace fcl {
namespace {

constexpr const char* kQueryLista =
    "SELECT COPE.Ocod AS [Codice_Fiscale], COPE.oPIVA AS [Partita Iva], COPE.ODES as [Ragione "
    "Sociale]  FROM COPE ORDER BY COPE.ORAG";

QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QString& s) { return s.toStdString(); }

// The boxes of the window, by the name of the DatiOperatore member they edit.
struct Campo {
  const char* nome;
  std::string DatiOperatore::*membro;
};
const Campo kCampi[] = {
    {"tocod", &DatiOperatore::tocod},           {"toPIVA", &DatiOperatore::toPIVA},
    {"torag", &DatiOperatore::torag},           {"vOSCOM", &DatiOperatore::vOSCOM},
    {"vOSPRO", &DatiOperatore::vOSPRO},         {"vOCOG", &DatiOperatore::vOCOG},
    {"vONOME", &DatiOperatore::vONOME},         {"vOSEX", &DatiOperatore::vOSEX},
    {"vONDT", &DatiOperatore::vONDT},           {"vONCOM", &DatiOperatore::vONCOM},
    {"vONPRO", &DatiOperatore::vONPRO},         {"vOPOSTA", &DatiOperatore::vOPOSTA},
    {"vOTEL", &DatiOperatore::vOTEL},           {"vOFAX", &DatiOperatore::vOFAX},
    {"vOATT", &DatiOperatore::vOATT},           {"vOATTD", &DatiOperatore::vOATTD},
    {"vOSTCCF", &DatiOperatore::vOSTCCF},       {"vOSTCCDCARICA", &DatiOperatore::vOSTCCDCARICA},
    {"vOSTCDTINI", &DatiOperatore::vOSTCDTINI}, {"vOSTCDTFINE", &DatiOperatore::vOSTCDTFINE},
    {"vOSTCCOG", &DatiOperatore::vOSTCCOG},     {"vOSTCNOME", &DatiOperatore::vOSTCNOME},
    {"vOSTCSEX", &DatiOperatore::vOSTCSEX},     {"vOSTCNDT", &DatiOperatore::vOSTCNDT},
    {"vOSTCNCOM", &DatiOperatore::vOSTCNCOM},   {"vOSTCNPRO", &DatiOperatore::vOSTCNPRO},
    {"vOSTCRAG", &DatiOperatore::vOSTCRAG},     {"vOSTCSCOM", &DatiOperatore::vOSTCSCOM},
    {"vOSTCSPRO", &DatiOperatore::vOSTCSPRO},   {"vITTCF", &DatiOperatore::vITTCF},
    {"vITTCAF", &DatiOperatore::vITTCAF},       {"vITTDATA", &DatiOperatore::vITTDATA},
};

QLineEdit* NuovaCasella(QWidget* genitore, const char* nome) {
  auto* c = new QLineEdit(genitore);
  c->setObjectName(nome);
  return c;
}

QPushButton* Pulsante(QWidget* genitore, const char* nome, const char* testo) {
  auto* p = new QPushButton(QString::fromUtf8(testo), genitore);
  p->setObjectName(nome);
  return p;
}

}  // namespace

FOPC::FOPC(Contesto& ctx, QWidget* genitore) : FinestraRegistro(genitore), ctx_(ctx) {
  setObjectName("FOPC");
  setWindowTitle("Elenco Soggetti Obbligati");
  auto* divisore = new QSplitter(this);
  auto* radice = new QHBoxLayout(this);
  radice->addWidget(divisore);

  lista_ = new ListaVista(divisore);
  lista_->setObjectName("LVOpe");
  divisore->addWidget(lista_);

  auto* scorrimento = new QScrollArea(divisore);
  scorrimento->setWidgetResizable(true);
  auto* dettaglio = new QWidget(scorrimento);
  scorrimento->setWidget(dettaglio);
  divisore->addWidget(scorrimento);
  auto* col = new QVBoxLayout(dettaglio);

  auto riga = [](QFormLayout* f, const char* etichetta, QWidget* w) {
    f->addRow(QString::fromUtf8(etichetta), w);
  };
  auto conPulsante = [&](QWidget* genitore, QLineEdit* c, QPushButton* p) {
    auto* w = new QWidget(genitore);
    auto* h = new QHBoxLayout(w);
    h->setContentsMargins(0, 0, 0, 0);
    c->setParent(w);
    p->setParent(w);
    h->addWidget(c);
    h->addWidget(p);
    return w;
  };

  auto* testa = new QFormLayout;
  col->addLayout(testa);
  riga(testa, "Codice Fiscale (Obbligatorio)", NuovaCasella(dettaglio, "tocod"));
  riga(testa, "Partita IVA", NuovaCasella(dettaglio, "toPIVA"));
  auto* tipo = new QWidget(dettaglio);
  auto* tipoL = new QHBoxLayout(tipo);
  tipoL->setContentsMargins(0, 0, 0, 0);
  o1_ = new QRadioButton("PNF", tipo);
  o1_->setObjectName("o1");
  o2_ = new QRadioButton("PF", tipo);
  o2_->setObjectName("o2");
  tipoL->addWidget(o1_);
  tipoL->addWidget(o2_);
  riga(testa, "Tipo ", tipo);

  fpnf_ = new QGroupBox(dettaglio);
  fpnf_->setObjectName("FPNF");
  auto* fpnfL = new QFormLayout(fpnf_);
  riga(fpnfL, "Ragione Sociale", NuovaCasella(fpnf_, "torag"));
  auto* rloc = Pulsante(fpnf_, "RLOC", "Ricerca");
  riga(fpnfL, "Sede legale (Località)", conPulsante(fpnf_, NuovaCasella(fpnf_, "vOSCOM"), rloc));
  riga(fpnfL, "Prov.", NuovaCasella(fpnf_, "vOSPRO"));
  col->addWidget(fpnf_);

  fpf_ = new QGroupBox(dettaglio);
  fpf_->setObjectName("FPF");
  auto* fpfL = new QFormLayout(fpf_);
  riga(fpfL, "Cognome", NuovaCasella(fpf_, "vOCOG"));
  riga(fpfL, "Nome", NuovaCasella(fpf_, "vONOME"));
  riga(fpfL, "Sesso", NuovaCasella(fpf_, "vOSEX"));
  auto* rdata = Pulsante(fpf_, "rdata", "Calendario ");
  riga(fpfL, "Data di nascita", conPulsante(fpf_, NuovaCasella(fpf_, "vONDT"), rdata));
  auto* rloca1 = Pulsante(fpf_, "rloca1", "Ricerca");
  riga(fpfL, "Comune di nascita", conPulsante(fpf_, NuovaCasella(fpf_, "vONCOM"), rloca1));
  riga(fpfL, "Prov.", NuovaCasella(fpf_, "vONPRO"));
  col->addWidget(fpf_);

  auto* contatti = new QFormLayout;
  col->addLayout(contatti);
  riga(contatti, "Posta Elettronica", NuovaCasella(dettaglio, "vOPOSTA"));
  riga(contatti, "Telefono", NuovaCasella(dettaglio, "vOTEL"));
  riga(contatti, "Fax", NuovaCasella(dettaglio, "vOFAX"));
  auto* att = new QWidget(dettaglio);
  auto* attL = new QHBoxLayout(att);
  attL->setContentsMargins(0, 0, 0, 0);
  auto* vOATT = NuovaCasella(att, "vOATT");
  vOATT->setMaximumWidth(90);
  attL->addWidget(vOATT);
  attL->addWidget(NuovaCasella(att, "vOATTD"));
  auto* roatt = Pulsante(att, "rOATT", "Ricerca");
  attL->addWidget(roatt);
  riga(contatti, "Attivita (Ateco 2007)", att);

  auto* tenuto = new QGroupBox("SOGGETTO TENUTO ALLA COMUNICAZIONE ", dettaglio);
  auto* tenutoL = new QVBoxLayout(tenuto);
  auto* tenutoF = new QFormLayout;
  tenutoL->addLayout(tenutoF);
  riga(tenutoF, "Codice Fiscale", NuovaCasella(tenuto, "vOSTCCF"));
  auto* carica = NuovaCasella(tenuto, "vOSTCCDCARICA");
  carica->setToolTip("Codice Carica (Vedi istruzioni, pagina 9)");
  riga(tenutoF, "Carica", carica);
  auto* rdata2 = Pulsante(tenuto, "rdata2", "Calendario ");
  riga(tenutoF, "Data Inizio Procedura",
       conPulsante(tenuto, NuovaCasella(tenuto, "vOSTCDTINI"), rdata2));
  auto* rdata3 = Pulsante(tenuto, "rdata3", "Calendario ");
  riga(tenutoF, "Data Fine Procedura",
       conPulsante(tenuto, NuovaCasella(tenuto, "vOSTCDTFINE"), rdata3));
  auto* tcTipo = new QWidget(tenuto);
  auto* tcTipoL = new QHBoxLayout(tcTipo);
  tcTipoL->setContentsMargins(0, 0, 0, 0);
  tcpf_ = new QRadioButton("PF", tcTipo);
  tcpf_->setObjectName("TCPF");
  tcpnf_ = new QRadioButton("PNF", tcTipo);
  tcpnf_->setObjectName("TCPNF");
  tcTipoL->addWidget(tcpf_);
  tcTipoL->addWidget(tcpnf_);
  riga(tenutoF, "Tipo ", tcTipo);
  fostcpf_ = new QGroupBox(tenuto);
  fostcpf_->setObjectName("FOSTCPF");
  auto* fostcL = new QFormLayout(fostcpf_);
  riga(fostcL, "Cognome", NuovaCasella(fostcpf_, "vOSTCCOG"));
  riga(fostcL, "Nome", NuovaCasella(fostcpf_, "vOSTCNOME"));
  riga(fostcL, "Sesso", NuovaCasella(fostcpf_, "vOSTCSEX"));
  auto* rdata4 = Pulsante(fostcpf_, "RDATA4", "Calendario ");
  riga(fostcL, "Data di nascita",
       conPulsante(fostcpf_, NuovaCasella(fostcpf_, "vOSTCNDT"), rdata4));
  auto* rloca2 = Pulsante(fostcpf_, "RLOCA2", "Ricerca");
  riga(fostcL, "Comune di nascita",
       conPulsante(fostcpf_, NuovaCasella(fostcpf_, "vOSTCNCOM"), rloca2));
  riga(fostcL, "Prov.", NuovaCasella(fostcpf_, "vOSTCNPRO"));
  tenutoL->addWidget(fostcpf_);
  frame4_ = new QGroupBox(tenuto);
  frame4_->setObjectName("Frame4");
  auto* f4L = new QFormLayout(frame4_);
  riga(f4L, "Ragione Sociale", NuovaCasella(frame4_, "vOSTCRAG"));
  riga(f4L, "Sede legale (Località)", NuovaCasella(frame4_, "vOSTCSCOM"));
  riga(f4L, "Prov.", NuovaCasella(frame4_, "vOSTCSPRO"));
  tenutoL->addWidget(frame4_);
  col->addWidget(tenuto);

  auto* impegno = new QGroupBox(
      "IMPEGNO ALLA TRASMISSIONE TELEMATICA (se diverso dal Soggetto Obbligato/Contribuente) ",
      dettaglio);
  impegno->setToolTip(
      " Da compilare solo in presenza di un soggetto che assume l'impegno alla trasmissione "
      "telematica DIVERSO dal contribuente/soggetto Obbligato (ES. Commercialista) ");
  auto* impF = new QFormLayout(impegno);
  auto* ittcf = NuovaCasella(impegno, "vITTCF");
  ittcf->setToolTip(" CF Intermediario che EFFETTUA la trasmissione ");
  riga(impF, "Codice Fiscale ", ittcf);
  riga(impF, "Numero Iscrizione C.A.F.", NuovaCasella(impegno, "vITTCAF"));
  auto* scelta = new QWidget(impegno);
  auto* sceltaL = new QHBoxLayout(scelta);
  sceltaL->setContentsMargins(0, 0, 0, 0);
  itt1_ = new QRadioButton("Dal CONTRIBUENTE ", scelta);
  itt1_->setObjectName("vITT1");
  itt2_ = new QRadioButton("Da chi EFFETTUA L'INVIO", scelta);
  itt2_->setObjectName("vITT2");
  sceltaL->addWidget(itt1_);
  sceltaL->addWidget(itt2_);
  riga(impF, "Comunicazione PREDISPOSTA:", scelta);
  auto* rdi = Pulsante(impegno, "rDI", "Calendario ");
  riga(impF, "Data Impegno", conPulsante(impegno, NuovaCasella(impegno, "vITTDATA"), rdi));
  auto* copia = Pulsante(impegno, "CmdCopiaITT", "Copia in tutti");
  impF->addRow(copia);
  col->addWidget(impegno);

  auto* pulsanti = new QHBoxLayout;
  auto* conferma = Pulsante(dettaglio, "Cmd_Conferma", "Registra dati Soggetto");
  auto* elabora = Pulsante(dettaglio, "Command1", "Elabora file Excel");
  pulsanti->addWidget(conferma);
  pulsanti->addWidget(elabora);
  col->addLayout(pulsanti);
  col->addStretch();

  // Two independent pairs of options: the operator's kind and the bound subject's kind; the two
  // commitment options may both be clear, so they are exclusive by hand.
  auto* g1 = new QButtonGroup(this);
  g1->addButton(o1_);
  g1->addButton(o2_);
  auto* g2 = new QButtonGroup(this);
  g2->addButton(tcpf_);
  g2->addButton(tcpnf_);
  itt1_->setAutoExclusive(false);
  itt2_->setAutoExclusive(false);

  ColoriFocus::Installa(this);

  connect(o1_, &QRadioButton::toggled, this, [this] { AggiornaTipo(); });
  connect(tcpf_, &QRadioButton::toggled, this, [this] { AggiornaTipo(); });
  connect(itt1_, &QRadioButton::clicked, this, [this] {
    itt1_->setChecked(true);
    itt2_->setChecked(false);
    AggiornaGrassetto();
  });
  connect(itt2_, &QRadioButton::clicked, this, [this] {
    itt2_->setChecked(true);
    itt1_->setChecked(false);
    AggiornaGrassetto();
  });
  connect(lista_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this] { ClicLista(); });
  connect(Casella("tocod"), &QLineEdit::editingFinished, this, [this] {
    Casella("tocod")->setText(Casella("tocod")->text().toUpper());
    RiprendiImpegno();
  });
  connect(Casella("toPIVA"), &QLineEdit::editingFinished, this, [this] {
    QLineEdit* c = Casella("toPIVA");
    c->setText(c->text().trimmed());
    if (!c->text().isEmpty() && ControlloCF(S(c->text())) != 0)
      ErroreCampo(ctx_.Ui(), c, "Partita Iva Errata");
  });
  for (const char* data : {"vONDT", "vITTDATA"}) {
    connect(Casella(data), &QLineEdit::editingFinished, this, [this, data] {
      QLineEdit* c = Casella(data);
      c->setText(c->text().trimmed());
      if (!c->text().isEmpty()) ControllaData(ctx_.Ui(), c);
    });
  }
  connect(Casella("vOSCOM"), &QLineEdit::editingFinished, this, [this] {
    QLineEdit* c = Casella("vOSCOM");
    c->setText(c->text().toUpper());
    if (c->text().trimmed().isEmpty()) return;
    if (const auto comune = ComuneEsatto(ctx_.Db(), S(c->text())))
      Casella("vOSPRO")->setText(Q(comune->second));
  });
  Casella("vOSCOM")->installEventFilter(this);
  const std::pair<QPushButton*, const char*> calendari[] = {{rdata, "vONDT"},
                                                            {rdata2, "vOSTCDTINI"},
                                                            {rdata3, "vOSTCDTFINE"},
                                                            {rdata4, "vOSTCNDT"},
                                                            {rdi, "vITTDATA"}};
  for (const auto& [p, casella] : calendari) {
    connect(p, &QPushButton::clicked, this, [this, c = casella] {
      ScegliData(Casella(c), ctx_);
      Casella(c)->setFocus();
    });
  }
  const std::tuple<QPushButton*, const char*, const char*> localita[] = {
      {rloc, "vOSCOM", "vOSPRO"}, {rloca1, "vONCOM", "vONPRO"}, {rloca2, "vOSTCNCOM", "vOSTCNPRO"}};
  for (const auto& [p, comune, provincia] : localita) {
    connect(p, &QPushButton::clicked, this, [this, c = comune, pr = provincia] {
      ScegliLocalita(Casella(c), Casella(pr), "COMUN", ctx_.Db());
      Casella(c)->setFocus();
    });
  }
  connect(roatt, &QPushButton::clicked, this, [this] {
    const auto scelta = FTABSG::ScegliAttivita(ctx_.Db(), this);
    Casella("vOATT")->clear();
    if (scelta && !scelta->codice.empty()) {
      Casella("vOATT")->setText(Q(scelta->codice).remove('.'));
      Casella("vOATTD")->setText(Q(scelta->descrizione));
    }
  });
  connect(conferma, &QPushButton::clicked, this, [this] {
    if (auto* principale = qobject_cast<FinestraPrincipale*>(window()))
      principale->ImpostaTB2("FOPC");
    Conferma();
  });
  connect(copia, &QPushButton::clicked, this, [this] { CopiaInTutti(); });
  connect(elabora, &QPushButton::clicked, this, [this] { ElaboraExcel(); });

  Lista();
}

bool FOPC::eventFilter(QObject* oggetto, QEvent* evento) {
  QLineEdit* comune = Casella("vOSCOM");
  if (oggetto == comune && evento->type() == QEvent::KeyRelease) {
    const int tasto = static_cast<QKeyEvent*>(evento)->key();
    if (tasto >= Qt::Key_A && tasto <= Qt::Key_Z) {
      QString testo = comune->text();
      qsizetype iniziali = 0;
      while (iniziali < testo.size() && testo[iniziali] == ' ') ++iniziali;
      testo = testo.mid(iniziali);
      const int p = std::max<int>(0, comune->cursorPosition() - static_cast<int>(iniziali));
      comune->setText(testo);
      comune->setCursorPosition(p);
      if (!testo.isEmpty() && p > 0) {
        if (const auto trovato = ComuneCheIniziaCon(ctx_.Db(), S(testo.left(p)))) {
          comune->setText(Q(trovato->first));
          Casella("vOSPRO")->setText(Q(trovato->second));
          // Further typing replaces the proposed rest.
          comune->setSelection(p, comune->text().size() - p);
        }
      }
    }
  }
  return FinestraRegistro::eventFilter(oggetto, evento);
}

QLineEdit* FOPC::Casella(const std::string& nome) const { return findChild<QLineEdit*>(Q(nome)); }

void FOPC::AggiornaTipo() {
  fpf_->setVisible(o2_->isChecked());
  fpnf_->setVisible(!o2_->isChecked());
  fostcpf_->setVisible(tcpf_->isChecked());
  frame4_->setVisible(tcpnf_->isChecked());
}

void FOPC::AggiornaGrassetto() {
  for (QRadioButton* r : {itt1_, itt2_}) {
    QFont f = r->font();
    f.setBold(r->isChecked());
    r->setFont(f);
  }
}

DatiOperatore FOPC::LeggiForm() const {
  DatiOperatore d;
  for (const Campo& c : kCampi) d.*c.membro = S(Casella(c.nome)->text());
  d.personaFisica = o2_->isChecked();
  d.tenutoPersonaFisica = !tcpnf_->isChecked();
  d.vITT1 = itt1_->isChecked();
  d.vITT2 = itt2_->isChecked();
  return d;
}

void FOPC::MostraForm(const DatiOperatore& d) {
  for (const Campo& c : kCampi) Casella(c.nome)->setText(Q(d.*c.membro));
  (d.personaFisica ? o2_ : o1_)->setChecked(true);
  (d.tenutoPersonaFisica ? tcpf_ : tcpnf_)->setChecked(true);
  itt1_->setChecked(d.vITT1);
  itt2_->setChecked(d.vITT2);
  AggiornaTipo();
  AggiornaGrassetto();
}

void FOPC::Lista() {
  std::string ricerca;
  lista_->RiempiLista(ctx_.Db(), kQueryLista, ricerca);
  ClicLista();
}

void FOPC::ClicLista() {
  OperatoreCorrente& op = ctx_.operatoreCorrente;
  std::string codice;
  if (!op.codiceDaRiselezionare.empty()) {
    codice = op.codiceDaRiselezionare;
    op.codiceDaRiselezionare.clear();
    const QSignalBlocker blocco(lista_->selectionModel());
    lista_->SelezionaRiga(codice, "Codice_Fiscale");
  } else {
    codice = lista_->LeggiSelezione({"Codice_Fiscale"}).front();
  }
  op.codiceFiscale = Rifila(codice);
  Dettaglio();
}

void FOPC::Dettaglio() {
  DatiOperatore d;
  const bool trovato = LeggiOperatore(ctx_, ctx_.operatoreCorrente.codiceFiscale, d);
  if (!trovato) Aggiungi();
  // A code without its row still shows the commitment data kept for it.
  MostraForm(d);
  Casella("tocod")->setEnabled(!trovato);
  RiempiOperatoreCorrente(ctx_, LeggiForm());
}

void FOPC::RiprendiImpegno() {
  // Only for a new operator whose commitment boxes are still empty: typed data are never replaced.
  if (!Casella("tocod")->isEnabled()) return;
  for (const char* nome : {"vITTCF", "vITTCAF", "vITTDATA"})
    if (!Casella(nome)->text().trimmed().isEmpty()) return;
  const std::string codice = Rifila(S(Casella("tocod")->text()));
  if (codice.empty()) return;
  DatiOperatore conservato;
  if (LeggiOperatore(ctx_, codice, conservato) || Rifila(conservato.vITTCF).empty()) return;
  Casella("vITTCF")->setText(Q(conservato.vITTCF));
  Casella("vITTCAF")->setText(Q(conservato.vITTCAF));
  Casella("vITTDATA")->setText(Q(conservato.vITTDATA));
  itt1_->setChecked(conservato.vITT1);
  itt2_->setChecked(conservato.vITT2);
  AggiornaGrassetto();
}

void FOPC::Aggiungi() {
  PulisciForm(this);
  MostraForm(DatiOperatore{});
  Casella("tocod")->setEnabled(true);
  Casella("tocod")->setFocus();
}

bool FOPC::Conferma() {
  DatiOperatore d = LeggiForm();
  const EsitoControllo esito = AggiornaOperatore(ctx_, d);
  MostraForm(d);  // normalised text, chosen option
  if (!esito.Superato()) {
    ErroreCampo(ctx_.Ui(), Casella(esito.campo), esito.messaggio);
    return false;
  }
  ctx_.operatoreCorrente.codiceDaRiselezionare = d.tocod;
  Lista();
  return true;
}

void FOPC::Elimina() {
  const std::string codice = Rifila(S(Casella("tocod")->text()));
  if (codice.empty() || Casella("tocod")->isEnabled()) return;  // nothing stored to delete
  if (!EliminaOperatore(ctx_, codice, ctx_.operatoreCorrente.nomeVisualizzato)) return;
  ctx_.operatoreCorrente.codiceFiscale.clear();
  Lista();
}

void FOPC::CopiaInTutti() {
  if (!Conferma()) return;
  RiempiOperatoreCorrente(ctx_, LeggiForm());
  const OperatoreCorrente& op = ctx_.operatoreCorrente;
  CopiaImpegno(ctx_, RecordImpegno{op.intermediarioCF, op.numeroIscrizioneCaf,
                                   op.codicePredisposizione, op.dataImpegno});
}

void FOPC::ElaboraExcel() {
  if (Casella("toPIVA")->text().isEmpty()) {
    ErroreCampo(ctx_.Ui(), Casella("toPIVA"), "Partita IVA obbligatoria");
    return;
  }
  if (Casella("vOATT")->text().isEmpty()) {
    ErroreCampo(ctx_.Ui(), Casella("vOATT"), "Codice Attività ATECO obbligatorio");
    return;
  }
  if (!Conferma()) return;

  // The listing of the run lives until the creation window closes: the creation reads it.
  ListatoPdf listato;
  {
    FImport finestra(ctx_, listato, {}, this);
    finestra.exec();
  }
  const TotaliImport& tot = ctx_.totaliImport;
  if (tot.erroreData) {
    ctx_.Ui().Messaggio("Correggere gli errori evidenziati", "Errori nei dati", Icona::Critico);
  } else if (tot.righeTotali > 0) {
    FCrea finestra(ctx_, &listato, this);
    finestra.exec();
  }
}

}  // namespace fcl
