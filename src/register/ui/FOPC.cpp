#include "register/ui/FOPC.h"

#include <algorithm>
#include <vector>

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
#include <QShortcut>
#include <QShowEvent>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

#include "common/Contesto.h"
#include "common/Errori.h"
#include "common/ControlloCF.h"
#include "common/RoutineCampi.h"
#include "common/ui/ColoriFocus.h"
#include "common/ui/Impostazioni.h"
#include "common/ui/ListaVista.h"
#include "common/ui/RoutineCampiQt.h"
#include "communication/ui/FCrea.h"
#include "store/Consultazioni.h"
#include "lookup/ui/FTABSG.h"
#include "register/RegistroOperatori.h"
#include "shell/ui/FinestraPrincipale.h"
#include "store/CopiaImpegno.h"
#include "workbook/ListatoPdf.h"
#include "workbook/ui/FImport.h"

namespace fcl {
namespace {

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

// The captions of every form on a page get one width, so that the boxes line up in one column even
// across the frames of the page.
void AllineaEtichette(QWidget* pagina) {
  std::vector<QWidget*> etichette;
  int larghezza = 0;
  for (QFormLayout* f : pagina->findChildren<QFormLayout*>()) {
    for (int r = 0; r < f->rowCount(); ++r) {
      QLayoutItem* voce = f->itemAt(r, QFormLayout::LabelRole);
      if (!voce || !voce->widget()) continue;
      etichette.push_back(voce->widget());
      larghezza = std::max(larghezza, voce->widget()->sizeHint().width());
    }
  }
  for (QWidget* e : etichette) e->setMinimumWidth(larghezza);
}

// A frame without a caption that only groups boxes shown or hidden together: no border and no
// margin of its own, so that its boxes line up with those around it.
void SenzaBordo(QGroupBox* riquadro) {
  riquadro->setFlat(true);
  riquadro->setStyleSheet(QStringLiteral("QGroupBox#%1 { border: 0; margin: 0; padding: 0; }")
                              .arg(riquadro->objectName()));
  riquadro->layout()->setContentsMargins(0, 0, 0, 0);
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
  auto* radice = new QHBoxLayout(this);
  radice->setContentsMargins(4, 4, 4, 4);
  divisore_ = new QSplitter(this);
  divisore_->setObjectName("Divisore");
  divisore_->setChildrenCollapsible(false);
  radice->addWidget(divisore_);

  // Left: the filter over the list of operators.
  auto* sinistra = new QWidget(divisore_);
  auto* sinistraL = new QVBoxLayout(sinistra);
  sinistraL->setContentsMargins(0, 0, 0, 0);
  filtro_ = new QLineEdit(sinistra);
  filtro_->setObjectName("FiltroSoggetti");
  filtro_->setPlaceholderText(QString::fromUtf8("Cerca per nome, codice fiscale o partita IVA"));
  filtro_->setClearButtonEnabled(true);
  sinistraL->addWidget(filtro_);
  lista_ = new ListaVista(sinistra);
  lista_->setObjectName("LVOpe");
  sinistraL->addWidget(lista_);
  // How many operators the list shows; F5 reads the register again (another workstation may
  // have changed it).
  conteggio_ = new QLabel(sinistra);
  conteggio_->setObjectName("ConteggioSoggetti");
  sinistraL->addWidget(conteggio_);
  auto* ricarica = new QShortcut(QKeySequence(Qt::Key_F5), this);
  connect(ricarica, &QShortcut::activated, this, [this] { Ricarica(); });
  divisore_->addWidget(sinistra);

  // Right: the detail in three pages, each scrolling on its own when the window is too small,
  // and the buttons below them, always in sight.
  auto* destra = new QWidget(divisore_);
  dettaglio_ = destra;
  auto* destraL = new QVBoxLayout(destra);
  destraL->setContentsMargins(0, 0, 0, 0);
  schede_ = new QTabWidget(destra);
  schede_->setObjectName("Schede");
  destraL->addWidget(schede_, 1);
  divisore_->addWidget(destra);
  divisore_->setStretchFactor(0, 0);
  divisore_->setStretchFactor(1, 1);

  auto pagina = [this](const char* nome, const char* titolo) {
    auto* scorrimento = new QScrollArea(schede_);
    scorrimento->setObjectName(QString::fromUtf8(nome));
    scorrimento->setWidgetResizable(true);
    scorrimento->setFrameShape(QFrame::NoFrame);
    auto* contenuto = new QWidget(scorrimento);
    scorrimento->setWidget(contenuto);
    schede_->addTab(scorrimento, QString::fromUtf8(titolo));
    auto* col = new QVBoxLayout(contenuto);
    return std::pair{contenuto, col};
  };
  auto riga = [](QFormLayout* f, const char* etichetta, QWidget* w) {
    f->addRow(QString::fromUtf8(etichetta), w);
  };
  // A box and the button that fills it, side by side in this order (the order of the Tab key).
  auto conPulsante = [](QWidget* genitore, const char* casella, const char* pulsante,
                        const char* testo, int larghezza = 0) {
    auto* w = new QWidget(genitore);
    auto* h = new QHBoxLayout(w);
    h->setContentsMargins(0, 0, 0, 0);
    auto* c = NuovaCasella(w, casella);
    if (larghezza > 0) c->setMaximumWidth(larghezza);
    h->addWidget(c);
    h->addWidget(Pulsante(w, pulsante, testo));
    if (larghezza > 0) h->addStretch();
    return w;
  };
  auto corta = [](QLineEdit* c, int larghezza) {
    c->setMaximumWidth(larghezza);
    return c;
  };
  constexpr int kData = 110;
  constexpr int kProvincia = 48;

  // The taxpayer's own data.
  auto [soggetto, col] = pagina("PaginaSoggetto", "&Soggetto obbligato");
  auto* testa = new QFormLayout;
  col->addLayout(testa);
  riga(testa, "Codice Fiscale (Obbligatorio)", corta(NuovaCasella(soggetto, "tocod"), 220));
  riga(testa, "Partita IVA", corta(NuovaCasella(soggetto, "toPIVA"), 220));
  auto* tipo = new QWidget(soggetto);
  auto* tipoL = new QHBoxLayout(tipo);
  tipoL->setContentsMargins(0, 0, 0, 0);
  o1_ = new QRadioButton("PNF", tipo);
  o1_->setObjectName("o1");
  o2_ = new QRadioButton("PF", tipo);
  o2_->setObjectName("o2");
  tipoL->addWidget(o1_);
  tipoL->addWidget(o2_);
  tipoL->addStretch();
  riga(testa, "Tipo ", tipo);

  fpnf_ = new QGroupBox(soggetto);
  fpnf_->setObjectName("FPNF");
  auto* fpnfL = new QFormLayout(fpnf_);
  riga(fpnfL, "Ragione Sociale", NuovaCasella(fpnf_, "torag"));
  riga(fpnfL, "Sede legale (Località)", conPulsante(fpnf_, "vOSCOM", "RLOC", "Ricerca"));
  riga(fpnfL, "Prov.", corta(NuovaCasella(fpnf_, "vOSPRO"), kProvincia));
  SenzaBordo(fpnf_);
  col->addWidget(fpnf_);

  fpf_ = new QGroupBox(soggetto);
  fpf_->setObjectName("FPF");
  auto* fpfL = new QFormLayout(fpf_);
  riga(fpfL, "Cognome", NuovaCasella(fpf_, "vOCOG"));
  riga(fpfL, "Nome", NuovaCasella(fpf_, "vONOME"));
  riga(fpfL, "Sesso", corta(NuovaCasella(fpf_, "vOSEX"), kProvincia));
  riga(fpfL, "Data di nascita", conPulsante(fpf_, "vONDT", "rdata", "Calendario ", kData));
  riga(fpfL, "Comune di nascita", conPulsante(fpf_, "vONCOM", "rloca1", "Ricerca"));
  riga(fpfL, "Prov.", corta(NuovaCasella(fpf_, "vONPRO"), kProvincia));
  SenzaBordo(fpf_);
  col->addWidget(fpf_);

  auto* contatti = new QFormLayout;
  col->addLayout(contatti);
  riga(contatti, "Posta Elettronica", NuovaCasella(soggetto, "vOPOSTA"));
  riga(contatti, "Telefono", corta(NuovaCasella(soggetto, "vOTEL"), 220));
  riga(contatti, "Fax", corta(NuovaCasella(soggetto, "vOFAX"), 220));
  auto* att = new QWidget(soggetto);
  auto* attL = new QHBoxLayout(att);
  attL->setContentsMargins(0, 0, 0, 0);
  attL->addWidget(corta(NuovaCasella(att, "vOATT"), 90));
  attL->addWidget(NuovaCasella(att, "vOATTD"));
  attL->addWidget(Pulsante(att, "rOATT", "Ricerca"));
  riga(contatti, "Attivita (Ateco 2007)", att);
  col->addStretch();

  // The subject bound to make the communication.
  auto [tenutoPagina, colTenuto] = pagina("PaginaTenuto", "Soggetto &tenuto alla comunicazione");
  auto* tenuto = new QGroupBox("SOGGETTO TENUTO ALLA COMUNICAZIONE ", tenutoPagina);
  auto* tenutoL = new QVBoxLayout(tenuto);
  auto* tenutoF = new QFormLayout;
  tenutoL->addLayout(tenutoF);
  riga(tenutoF, "Codice Fiscale", corta(NuovaCasella(tenuto, "vOSTCCF"), 220));
  auto* carica = corta(NuovaCasella(tenuto, "vOSTCCDCARICA"), kProvincia);
  carica->setToolTip("Codice Carica (Vedi istruzioni, pagina 9)");
  riga(tenutoF, "Carica", carica);
  riga(tenutoF, "Data Inizio Procedura",
       conPulsante(tenuto, "vOSTCDTINI", "rdata2", "Calendario ", kData));
  riga(tenutoF, "Data Fine Procedura",
       conPulsante(tenuto, "vOSTCDTFINE", "rdata3", "Calendario ", kData));
  auto* tcTipo = new QWidget(tenuto);
  auto* tcTipoL = new QHBoxLayout(tcTipo);
  tcTipoL->setContentsMargins(0, 0, 0, 0);
  tcpf_ = new QRadioButton("PF", tcTipo);
  tcpf_->setObjectName("TCPF");
  tcpnf_ = new QRadioButton("PNF", tcTipo);
  tcpnf_->setObjectName("TCPNF");
  tcTipoL->addWidget(tcpf_);
  tcTipoL->addWidget(tcpnf_);
  tcTipoL->addStretch();
  riga(tenutoF, "Tipo ", tcTipo);
  fostcpf_ = new QGroupBox(tenuto);
  fostcpf_->setObjectName("FOSTCPF");
  auto* fostcL = new QFormLayout(fostcpf_);
  riga(fostcL, "Cognome", NuovaCasella(fostcpf_, "vOSTCCOG"));
  riga(fostcL, "Nome", NuovaCasella(fostcpf_, "vOSTCNOME"));
  riga(fostcL, "Sesso", corta(NuovaCasella(fostcpf_, "vOSTCSEX"), kProvincia));
  riga(fostcL, "Data di nascita",
       conPulsante(fostcpf_, "vOSTCNDT", "RDATA4", "Calendario ", kData));
  riga(fostcL, "Comune di nascita", conPulsante(fostcpf_, "vOSTCNCOM", "RLOCA2", "Ricerca"));
  riga(fostcL, "Prov.", corta(NuovaCasella(fostcpf_, "vOSTCNPRO"), kProvincia));
  SenzaBordo(fostcpf_);
  tenutoL->addWidget(fostcpf_);
  frame4_ = new QGroupBox(tenuto);
  frame4_->setObjectName("Frame4");
  auto* f4L = new QFormLayout(frame4_);
  riga(f4L, "Ragione Sociale", NuovaCasella(frame4_, "vOSTCRAG"));
  riga(f4L, "Sede legale (Località)", NuovaCasella(frame4_, "vOSTCSCOM"));
  riga(f4L, "Prov.", corta(NuovaCasella(frame4_, "vOSTCSPRO"), kProvincia));
  SenzaBordo(frame4_);
  tenutoL->addWidget(frame4_);
  colTenuto->addWidget(tenuto);
  colTenuto->addStretch();

  // The intermediary's commitment to transmit.
  auto [impegnoPagina, colImpegno] =
      pagina("PaginaImpegno", "&Impegno alla trasmissione telematica");
  auto* impegno = new QGroupBox(
      "IMPEGNO ALLA TRASMISSIONE TELEMATICA (se diverso dal Soggetto Obbligato/Contribuente) ",
      impegnoPagina);
  const char* kSpiegazione =
      " Da compilare solo in presenza di un soggetto che assume l'impegno alla trasmissione "
      "telematica DIVERSO dal contribuente/soggetto Obbligato (ES. Commercialista) ";
  impegno->setToolTip(kSpiegazione);
  schede_->setTabToolTip(2, QString::fromUtf8(kSpiegazione));
  auto* impF = new QFormLayout(impegno);
  auto* ittcf = corta(NuovaCasella(impegno, "vITTCF"), 220);
  ittcf->setToolTip(" CF Intermediario che EFFETTUA la trasmissione ");
  riga(impF, "Codice Fiscale ", ittcf);
  riga(impF, "Numero Iscrizione C.A.F.", corta(NuovaCasella(impegno, "vITTCAF"), 90));
  auto* scelta = new QWidget(impegno);
  auto* sceltaL = new QHBoxLayout(scelta);
  sceltaL->setContentsMargins(0, 0, 0, 0);
  itt1_ = new QRadioButton("Dal CONTRIBUENTE ", scelta);
  itt1_->setObjectName("vITT1");
  itt2_ = new QRadioButton("Da chi EFFETTUA L'INVIO", scelta);
  itt2_->setObjectName("vITT2");
  sceltaL->addWidget(itt1_);
  sceltaL->addWidget(itt2_);
  sceltaL->addStretch();
  riga(impF, "Comunicazione PREDISPOSTA:", scelta);
  riga(impF, "Data Impegno", conPulsante(impegno, "vITTDATA", "rDI", "Calendario ", kData));
  colImpegno->addWidget(impegno);
  colImpegno->addStretch();
  for (QWidget* p : {soggetto, tenutoPagina, impegnoPagina}) AllineaEtichette(p);

  // The actions, below the pages.
  auto* pulsanti = new QHBoxLayout;
  destraL->addLayout(pulsanti);
  auto* copia = Pulsante(destra, "CmdCopiaITT", "Copia in tutti");
  copia->setToolTip(QString::fromUtf8(
      "Dà a tutti i soggetti l'impegno alla trasmissione telematica di questo soggetto"));
  auto* conferma = Pulsante(destra, "Cmd_Conferma", "Registra dati Soggetto");
  auto* elabora = Pulsante(destra, "Command1", "Elabora file Excel");
  elabora->setDefault(false);
  pulsanti->addWidget(copia);
  pulsanti->addStretch();
  pulsanti->addWidget(conferma);
  pulsanti->addWidget(elabora);

  // The Tab key follows the reading order: each box, then its button, then the next box.
  const char* const kOrdine[] = {
      "tocod",        "toPIVA",    "o1",          "o2",        "torag",     "vOSCOM",
      "RLOC",         "vOSPRO",    "vOCOG",       "vONOME",    "vOSEX",     "vONDT",
      "rdata",        "vONCOM",    "rloca1",      "vONPRO",    "vOPOSTA",   "vOTEL",
      "vOFAX",        "vOATT",     "vOATTD",      "rOATT",     "vOSTCCF",   "vOSTCCDCARICA",
      "vOSTCDTINI",   "rdata2",    "vOSTCDTFINE", "rdata3",    "TCPF",      "TCPNF",
      "vOSTCCOG",     "vOSTCNOME", "vOSTCSEX",    "vOSTCNDT",  "RDATA4",    "vOSTCNCOM",
      "RLOCA2",       "vOSTCNPRO", "vOSTCRAG",    "vOSTCSCOM", "vOSTCSPRO", "vITTCF",
      "vITTCAF",      "vITT1",     "vITT2",       "vITTDATA",  "rDI",       "CmdCopiaITT",
      "Cmd_Conferma", "Command1"};
  QWidget::setTabOrder(filtro_, lista_);
  QWidget::setTabOrder(lista_, schede_);
  QWidget* precedente = schede_;
  for (const char* nome : kOrdine) {
    QWidget* w = findChild<QWidget*>(QString::fromUtf8(nome));
    QWidget::setTabOrder(precedente, w);
    precedente = w;
  }

  Impostazioni impostazioni;
  if (!divisore_->restoreState(impostazioni.value("registro/divisore").toByteArray()))
    divisore_->setSizes({430, 900});
  connect(divisore_, &QSplitter::splitterMoved, this,
          [this] { Impostazioni().setValue("registro/divisore", divisore_->saveState()); });

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
  connect(filtro_, &QLineEdit::textChanged, this, [this] { Filtra(); });
  connect(filtro_, &QLineEdit::returnPressed, this, [this] { PrimaVisibile(); });
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
  // The intermediary's fiscal code is checked like the VAT number: told, never a block.
  connect(Casella("vITTCF"), &QLineEdit::editingFinished, this, [this] {
    QLineEdit* c = Casella("vITTCF");
    c->setText(c->text().trimmed().toUpper());
    if (!c->text().isEmpty() && ControlloCF(S(c->text())) != 0)
      ErroreCampo(ctx_.Ui(), c, "Codice Fiscale Intermediario Errato");
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
  const std::pair<const char*, const char*> calendari[] = {{"rdata", "vONDT"},
                                                           {"rdata2", "vOSTCDTINI"},
                                                           {"rdata3", "vOSTCDTFINE"},
                                                           {"RDATA4", "vOSTCNDT"},
                                                           {"rDI", "vITTDATA"}};
  for (const auto& [p, casella] : calendari) {
    connect(Bottone(p), &QPushButton::clicked, this, [this, c = casella] {
      ScegliData(Casella(c), ctx_);
      Casella(c)->setFocus();
    });
  }
  const std::tuple<const char*, const char*, const char*> localita[] = {
      {"RLOC", "vOSCOM", "vOSPRO"},
      {"rloca1", "vONCOM", "vONPRO"},
      {"RLOCA2", "vOSTCNCOM", "vOSTCNPRO"}};
  for (const auto& [p, comune, provincia] : localita) {
    connect(Bottone(p), &QPushButton::clicked, this, [this, c = comune, pr = provincia] {
      ScegliLocalita(Casella(c), Casella(pr), "COMUN", ctx_.Db());
      Casella(c)->setFocus();
    });
  }
  connect(Bottone("rOATT"), &QPushButton::clicked, this, [this] {
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

void FOPC::showEvent(QShowEvent* evento) {
  FinestraRegistro::showEvent(evento);
  if (evento->spontaneous() || aperta_) return;
  aperta_ = true;
  // A new operator starts from its code; an operator shown, from the list.
  if (Casella("tocod")->isEnabled())
    Casella("tocod")->setFocus();
  else
    lista_->setFocus();
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

QPushButton* FOPC::Bottone(const char* nome) const {
  return findChild<QPushButton*>(QString::fromUtf8(nome));
}

void FOPC::Filtra() {
  const QString testo = filtro_->text().trimmed();
  const ListaDati& dati = lista_->Dati();
  std::vector<std::size_t> colonne;
  for (const char* titolo : {"Codice_Fiscale", "Partita Iva", "Ragione Sociale"}) {
    for (std::size_t c = 0; c < dati.Colonne().size(); ++c)
      if (dati.Colonne()[c].titolo == titolo) colonne.push_back(c);
  }
  const auto& righe = dati.Righe();
  std::size_t mostrati = 0;
  for (std::size_t r = 0; r < righe.size(); ++r) {
    bool tenuta = testo.isEmpty();
    for (std::size_t c : colonne) {
      if (tenuta) break;
      tenuta = Q(righe[r].celle[c]).contains(testo, Qt::CaseInsensitive);
    }
    lista_->setRowHidden(static_cast<int>(r), QModelIndex(), !tenuta);
    if (tenuta) ++mostrati;
  }
  const std::string totale = std::to_string(righe.size());
  conteggio_->setText(Q(mostrati == righe.size()
                            ? totale + (righe.size() == 1 ? " soggetto" : " soggetti")
                            : std::to_string(mostrati) + " di " + totale + " soggetti") +
                      QString::fromUtf8(" — F5 aggiorna l'elenco"));
}

void FOPC::PrimaVisibile() {
  const auto selezionata = lista_->RigaSelezionata();
  if (!selezionata || lista_->isRowHidden(static_cast<int>(*selezionata), QModelIndex())) {
    const auto& righe = lista_->Dati().Righe();
    for (std::size_t r = 0; r < righe.size(); ++r) {
      if (!lista_->isRowHidden(static_cast<int>(r), QModelIndex())) {
        lista_->SelezionaIndice(r);
        break;
      }
    }
  }
  lista_->setFocus();
}

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
  lista_->RiempiLista(ctx_.Db(), kElencoSoggetti, ricerca);
  Filtra();
  ClicLista();
}

void FOPC::Ricarica() {
  // After a save refused because another workstation changed the operator, F5 shows the operator
  // as it is now (the message asked for it; the input is to be repeated on it).
  if (!Modificato() || conflitto_) {
    if (conflitto_) mostrato_ = LeggiForm();  // nothing to ask about: the input was refused
    conflitto_ = false;
    Lista();
    return;
  }
  // The input on screen stays: only the list is filled again, on the operator shown.
  const QSignalBlocker blocco(lista_->selectionModel());
  std::string ricerca;
  lista_->RiempiLista(ctx_.Db(), kElencoSoggetti, ricerca);
  lista_->SelezionaRiga(ctx_.operatoreCorrente.codiceFiscale, "Codice_Fiscale");
  Filtra();
}

bool FOPC::Modificato() const {
  const DatiOperatore d = LeggiForm();
  for (const Campo& c : kCampi)
    if (d.*c.membro != mostrato_.*c.membro) return true;
  return d.personaFisica != mostrato_.personaFisica ||
         d.tenutoPersonaFisica != mostrato_.tenutoPersonaFisica || d.vITT1 != mostrato_.vITT1 ||
         d.vITT2 != mostrato_.vITT2;
}

bool FOPC::LasciaDati() {
  if (!Modificato()) return true;
  const std::string codice = Rifila(S(Casella("tocod")->text()));
  const std::string domanda =
      Casella("tocod")->isEnabled()
          ? "Il nuovo soggetto" + (codice.empty() ? std::string() : " " + codice) +
                " non è stato registrato.\nSalvare le modifiche?"
          : "I dati del soggetto " + codice + " sono stati modificati.\nSalvare le modifiche?";
  switch (ctx_.Ui().Chiedi(domanda, "Elenco Soggetti Obbligati", Pulsanti::SiNoAnnulla,
                           Icona::Domanda, Risposta::Si)) {
    case Risposta::Si:
      return Conferma();  // a failed check shows its field and keeps the input
    case Risposta::No:
      return true;
    default:
      return false;
  }
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
    if (Modificato()) {
      const std::string mostrato = op.codiceFiscale;
      const bool lascia = LasciaDati();
      // The question (and a save, which fills the list again) moved the selection: it goes back
      // to the operator on screen when the input stays, else to the row the user chose.
      const QSignalBlocker blocco(lista_->selectionModel());
      if (!lascia) {
        lista_->SelezionaRiga(mostrato, "Codice_Fiscale");
        return;
      }
      lista_->SelezionaRiga(codice, "Codice_Fiscale");
    }
  }
  op.codiceFiscale = Rifila(codice);
  Dettaglio();
}

void FOPC::Dettaglio() {
  DatiOperatore d;
  const bool trovato = LeggiOperatore(ctx_, ctx_.operatoreCorrente.codiceFiscale, d);
  if (!trovato) NuovoSoggetto();
  versione_ = d.versione;
  // A code without its row still shows the commitment data kept for it.
  MostraForm(d);
  Casella("tocod")->setEnabled(!trovato);
  mostrato_ = LeggiForm();
  RiempiOperatoreCorrente(ctx_, mostrato_);
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
  if (!LasciaDati()) return;
  NuovoSoggetto();
}

void FOPC::NuovoSoggetto() {
  PulisciForm(dettaglio_);
  MostraForm(DatiOperatore{});
  Casella("tocod")->setEnabled(true);
  versione_.reset();
  mostrato_ = LeggiForm();
  schede_->setCurrentIndex(0);
  Casella("tocod")->setFocus();
}

bool FOPC::Conferma() {
  DatiOperatore d = LeggiForm();
  d.versione = versione_;
  EsitoControllo esito;
  try {
    esito = AggiornaOperatore(ctx_, d);
  } catch (const ErroreConflitto& e) {
    // Another workstation changed or deleted the operator: the input stays on screen.
    versione_ = d.versione;
    conflitto_ = true;
    if (!versione_) Casella("tocod")->setEnabled(true);
    ctx_.Ui().Messaggio(e.what(), "Elenco Soggetti Obbligati", Icona::Esclamazione);
    return false;
  }
  versione_ = d.versione;
  conflitto_ = false;
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
  // The intermediate file is free for other runs once its creation window is closed.
  ctx_.totaliImport.bloccoIntermedio.reset();
}

}  // namespace fcl
