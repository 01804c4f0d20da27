// Draws the template PDFs of the printed forms:
//   base.pdf       page 1 a title page; page n (2..12) the column headings of quadro n for the check
//                  listing. The pages are A4 portrait: the listing lays them into its landscape page
//                  turned by 270 degrees, so here every page is drawn in landscape coordinates through
//                  the opposite turn.
//   base_RIEP.pdf  page 1 the frontispiece form, page 2 the summary form (quadro TA), with a labelled
//                  box wherever the cover writes a value.
// Coordinates are centimetres from the top-left corner; a text's y is its baseline, as the PDF writer
// that prints over these forms takes it. Usage: genera-modelli OUTPUT_FOLDER

#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QString>
#include <QTextOption>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "workbook/GeometriaListato.h"

namespace {

constexpr int kRisoluzione = 1200;  // device units per inch
constexpr double kLarghezzaA4 = 21.0;
constexpr double kAltezzaA4 = 29.7;

const QColor kInchiostro(30, 45, 90);     // the form's printed lines and captions
const QColor kFondoTitolo(214, 224, 240); // section bands
const QColor kFondoRiga(242, 245, 250);   // alternate listing rows

double U(double cm) { return cm * kRisoluzione / 2.54; }

// A painter in centimetres, with fonts in points.
class Foglio {
 public:
  explicit Foglio(QPainter& p) : p_(p) {}

  void Font(double punti, bool grassetto = false, bool corsivo = false) {
    QFont f("DejaVu Sans");
    f.setPixelSize(std::max(1, static_cast<int>(punti * kRisoluzione / 72.0)));
    f.setBold(grassetto);
    f.setItalic(corsivo);
    p_.setFont(f);
  }
  void Colore(const QColor& c) { p_.setPen(QPen(c, U(0.02))); }

  // Text with its baseline at y.
  void Testo(double x, double y, const QString& t) { p_.drawText(QPointF(U(x), U(y)), t); }
  // Text right-aligned so that it ends at x.
  void TestoDestra(double x, double y, const QString& t) {
    const double w = p_.fontMetrics().horizontalAdvance(t);
    p_.drawText(QPointF(U(x) - w, U(y)), t);
  }
  // Text wrapped into a box (top-left x, y).
  // `ovunque`: a word too long for the box may break anywhere; else only at word boundaries.
  void Paragrafo(double x, double y, double w, double h, const QString& t,
                 Qt::Alignment a = Qt::AlignLeft | Qt::AlignTop, bool ovunque = true) {
    QTextOption o(a);
    o.setWrapMode(ovunque ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::WordWrap);
    p_.drawText(QRectF(U(x), U(y), U(w), U(h)), t, o);
  }
  void Riquadro(double x, double y, double w, double h, const QColor* fondo = nullptr,
                double spessore = 0.02) {
    p_.setPen(QPen(kInchiostro, U(spessore)));
    p_.setBrush(fondo ? QBrush(*fondo) : Qt::NoBrush);
    p_.drawRect(QRectF(U(x), U(y), U(w), U(h)));
    p_.setBrush(Qt::NoBrush);
  }
  void Pieno(double x, double y, double w, double h, const QColor& c) {
    p_.fillRect(QRectF(U(x), U(y), U(w), U(h)), c);
  }
  void Linea(double x1, double y1, double x2, double y2, double spessore = 0.015) {
    p_.setPen(QPen(kInchiostro, U(spessore)));
    p_.drawLine(QPointF(U(x1), U(y1)), QPointF(U(x2), U(y2)));
  }

  QPainter& Painter() { return p_; }

 private:
  QPainter& p_;
};

// ---------------------------------------------------------------------------------------------
// base.pdf: the check listing's backgrounds.

namespace geo = fcl::listato;

// The listing's page: landscape 29.7 x 21 cm. The title stands at (2.2, 1.7), the workbook path at
// (0.3, 2.1), the page number at (15.7, 20.35) and its total at (16.3, 20.35): those areas stay
// free. Rows are boxes 0.4 high whose tops run from 5.3 to 19.3 every 0.5. The columns, their rules
// and captions come from the geometry the listing prints its values with (GeometriaListato.h).
void PaginaListato(Foglio& f, const geo::QuadroListato& q) {
  constexpr double kLarghezza = kAltezzaA4;
  constexpr double kInizioTestata = geo::kInizioTestata;
  constexpr double kFineTestata = geo::kFineTestata;
  constexpr double kMargine = 0.06;  // between a rule and the caption beside it

  // The quadro's name in a box at the top left; the title to its right stays free for the listing.
  f.Riquadro(0.3, 0.55, 1.6, 1.25, &kFondoTitolo, 0.03);
  f.Colore(kInchiostro);
  f.Font(20, true);
  f.Paragrafo(0.3, 0.6, 1.6, 1.2, q.nome, Qt::AlignCenter);
  f.Font(7, false, true);
  f.TestoDestra(29.4, 0.9, QString("Quadro %1 - %2").arg(q.nome, QString::fromUtf8(q.titolo)));
  f.Font(6);
  f.TestoDestra(29.4, 1.25, "Lista di controllo del foglio di lavoro");

  // Heading band.
  f.Riquadro(geo::kInizioColonne, kInizioTestata, geo::kFineColonne - geo::kInizioColonne,
             kFineTestata - kInizioTestata, &kFondoTitolo);

  // A caption is wrapped at word boundaries only: the geometry gives every column room for its
  // longest word.
  auto intestazione = [&](double inizio, double fine, const QString& lettere,
                          const QString& testo) {
    const double x = inizio + kMargine;
    const double w = fine - inizio - 2 * kMargine;
    f.Colore(kInchiostro);
    f.Font(7, true);
    f.Paragrafo(x, kInizioTestata + 0.1, w, 0.4, lettere, Qt::AlignLeft | Qt::AlignTop, false);
    f.Font(6.2);
    f.Paragrafo(x, kInizioTestata + 0.5, w, kFineTestata - kInizioTestata - 0.55, testo,
                Qt::AlignLeft | Qt::AlignTop, false);
  };
  const auto& colonne = q.colonne;
  if (q.intestazioneNome != nullptr) {
    intestazione(geo::kInizioColonne, colonne.front().inizio,
                 QString("Dati anagrafici (%1)").arg(q.numero == 12 ? "A-H" : "A-J"),
                 QString::fromUtf8(q.intestazioneNome));
  }
  for (std::size_t i = 0; i < colonne.size(); ++i) {
    const double inizio = colonne[i].inizio;
    const double fine = i + 1 < colonne.size() ? colonne[i + 1].inizio : geo::kFineColonne;
    if (inizio > geo::kInizioColonne) f.Linea(inizio, kInizioTestata, inizio, kFineTestata, 0.01);
    intestazione(inizio, fine, QString::fromUtf8(colonne[i].lettere),
                 QString::fromUtf8(colonne[i].intestazione));
  }

  // Row bands, to guide the eye along 29 rows.
  for (int r = 0; r < geo::kRighePagina; ++r) {
    const double alto = geo::kPrimaRiga + geo::kPasso * r - 0.05;
    if (r % 2 == 1) f.Pieno(0.2, alto, kLarghezza - 0.5, 0.5, kFondoRiga);
  }
  f.Linea(0.2, geo::kRigaFondo, kLarghezza - 0.3, geo::kRigaFondo, 0.02);

  // Footer: "Pagina" ends before the page number at 15.7.
  f.Colore(kInchiostro);
  f.Font(8, true);
  f.TestoDestra(15.55, 20.35, "Pagina");
  f.Font(5.5, false, true);
  f.Testo(0.3, 20.35, "FISCOLARIO - Comunicazione polivalente");
  f.TestoDestra(29.4, 20.35, "Importi in euro senza decimali; date come lette dal foglio");
}

void PaginaTitoloListato(Foglio& f) {
  f.Colore(kInchiostro);
  f.Riquadro(2.0, 6.0, 25.7, 8.0, &kFondoTitolo, 0.04);
  f.Font(28, true);
  f.Paragrafo(2.0, 7.0, 25.7, 1.6, "Comunicazione polivalente", Qt::AlignHCenter | Qt::AlignTop);
  f.Font(16);
  f.Paragrafo(2.0, 9.0, 25.7, 1.2, "Lista di controllo del foglio di lavoro",
              Qt::AlignHCenter | Qt::AlignTop);
  f.Font(10, false, true);
  f.Paragrafo(4.0, 11.0, 21.7, 2.5,
              "Una pagina per quadro, 29 righe per pagina: ogni riga riporta i valori letti dal foglio, "
              "da confrontare con il foglio prima di creare la comunicazione.",
              Qt::AlignHCenter | Qt::AlignTop);
}

// Every page of base.pdf is portrait; its painter is turned so that we draw in landscape terms,
// the way the listing's 270-degree space lays the page back into landscape.
void GeneraBase(const QString& file) {
  QPdfWriter w(file);
  w.setResolution(kRisoluzione);
  w.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  w.setTitle("Modello della lista di controllo");
  w.setCreator("FISCOLARIO");
  QPainter p(&w);
  Foglio f(p);
  auto ruota = [&] {
    p.resetTransform();
    p.translate(0, U(kAltezzaA4));
    p.rotate(-90);
  };
  ruota();
  PaginaTitoloListato(f);
  for (const geo::QuadroListato& q : geo::kQuadri) {
    w.newPage();
    ruota();
    PaginaListato(f, q);
  }
}

// ---------------------------------------------------------------------------------------------
// base_RIEP.pdf: the frontispiece and the summary.

// Cells of a code printed one character at a time, the first at start + 0.52.
void Celle(Foglio& f, double inizio, double y, int n, double alto = 0.62) {
  for (int i = 1; i <= n; ++i) f.Riquadro(inizio + 0.52 * i - 0.13, y - alto + 0.12, 0.52, alto);
}
// A box for an "X" drawn with its left edge at x and baseline y.
void Casella(Foglio& f, double x, double y, double lato = 0.55) {
  f.Riquadro(x - 0.1, y - lato + 0.07, lato, lato);
}
// A free text field: a line under the baseline from x to x + w.
void Campo(Foglio& f, double x, double y, double w) { f.Linea(x - 0.05, y + 0.12, x + w, y + 0.12, 0.012); }
// A date in parts: dd at x1, mm at x2, yyyy at x3.
void DataInParti(Foglio& f, double x1, double x2, double x3, double y) {
  f.Riquadro(x1 - 0.08, y - 0.42, 0.62, 0.55);
  f.Riquadro(x2 - 0.08, y - 0.42, 0.62, 0.55);
  f.Riquadro(x3 - 0.08, y - 0.42, 1.15, 0.55);
}
void Didascalia(Foglio& f, double x, double y, const QString& t, double punti = 5.5) {
  f.Colore(kInchiostro);
  f.Font(punti);
  f.Testo(x, y, t);
}
void Fascia(Foglio& f, double y, const QString& titolo) {
  f.Riquadro(0.8, y, 19.4, 0.45, &kFondoTitolo, 0.02);
  f.Colore(kInchiostro);
  f.Font(7, true);
  f.Testo(1.0, y + 0.33, titolo);
}

void Frontespizio(Foglio& f) {
  f.Colore(kInchiostro);
  f.Font(15, true);
  f.Testo(1.0, 1.35, "COMUNICAZIONE POLIVALENTE");
  f.Font(6.5, false, true);
  f.Testo(1.0, 1.85, "Frontespizio - copia per gli atti del contribuente");
  f.Testo(1.0, 2.15, "(non sostituisce il modello ufficiale)");
  f.Font(7, true);
  f.TestoDestra(11.45, 2.35, "Codice fiscale");
  Celle(f, 11.24, 2.4, 16, 0.7);

  Fascia(f, 3.3, "TIPO DI COMUNICAZIONE E PERIODO DI RIFERIMENTO");
  Didascalia(f, 1.0, 4.9, "Periodo di riferimento", 6.5);
  f.Font(6);
  f.TestoDestra(12.2, 4.85, "Anno di riferimento");
  f.Riquadro(12.35, 4.35, 1.55, 0.7);
  f.TestoDestra(17.65, 4.85, "Mese o trimestre");
  f.Riquadro(17.65, 4.35, 0.95, 0.7);

  Didascalia(f, 1.0, 5.8, "Tipo di comunicazione", 6.5);
  f.Font(5.5);
  f.TestoDestra(4.9, 5.72, "Ordinaria");
  Casella(f, 5.1, 5.8);
  f.TestoDestra(6.9, 5.72, "Sostitutiva");
  Casella(f, 7.1, 5.8);
  f.TestoDestra(8.9, 5.72, "Annullam.");
  Casella(f, 9.1, 5.8);
  f.TestoDestra(12.05, 5.72, "Prot. telematico");
  f.Riquadro(12.1, 5.5, 2.55, 0.42);
  f.TestoDestra(17.25, 5.72, "Prot. documento");
  f.Riquadro(17.3, 5.5, 1.3, 0.42);

  Didascalia(f, 1.0, 6.6, "Tipologia di dati", 6.5);
  f.Font(5.5);
  f.TestoDestra(7.5, 6.52, "Dati aggregati");
  Casella(f, 7.7, 6.6);
  f.TestoDestra(17.1, 6.52, "Dati analitici");
  Casella(f, 17.3, 6.6);

  Fascia(f, 7.15, "QUADRI COMPILATI");
  struct Q {
    const char* nome;
    const char* descrizione;
    double x, y;
  } const kQuadri[] = {
      {"FA", "soggetti con partita IVA", 7.7, 8.3},   {"SA", "soggetti senza partita IVA", 12.5, 8.3},
      {"BL", "black list e non residenti", 17.3, 8.3}, {"FE", "fatture emesse", 7.7, 10},
      {"FR", "fatture ricevute", 12.5, 10},            {"NE", "note emesse", 17.3, 10},
      {"NR", "note ricevute", 7.7, 10.8},              {"DF", "senza fattura", 12.5, 10.8},
      {"FN", "non residenti", 17.3, 10.8},             {"TU", "turismo", 7.7, 12.1},
      {"SE", "servizi e San Marino", 17.3, 12.1},
  };
  Didascalia(f, 1.0, 8.3, "Dati aggregati", 6.5);
  Didascalia(f, 1.0, 10.0, "Dati analitici", 6.5);
  for (const Q& q : kQuadri) {
    f.Font(8, true);
    f.TestoDestra(q.x - 0.2, q.y - 0.05, q.nome);
    f.Font(4.8, false, true);
    f.TestoDestra(q.x - 0.2, q.y + 0.25, q.descrizione);
    Casella(f, q.x, q.y);
  }

  Fascia(f, 12.55, "CONTRIBUENTE");
  Didascalia(f, 4.0, 13.1, "Partita IVA");
  Celle(f, 3.6, 13.8, 11);
  Didascalia(f, 9.8, 13.1, "Codice fiscale");
  Celle(f, 9.4, 13.8, 16);
  Didascalia(f, 18.4, 13.1, "Codice attività");
  Campo(f, 18.4, 13.8, 1.7);
  Didascalia(f, 1.0, 14.45, "Posta elettronica");
  f.Riquadro(4.0, 14.1, 3.2, 1.65);
  Didascalia(f, 8.0, 14.65, "Telefono");
  Campo(f, 10.0, 14.7, 3.8);
  Didascalia(f, 14.3, 14.65, "Fax");
  Campo(f, 15.0, 14.7, 4.0);

  Didascalia(f, 1.0, 16.0, "Persona fisica", 6.5);
  Campo(f, 4.1, 16.0, 6.0);
  Didascalia(f, 4.1, 16.32, "Cognome", 5);
  Campo(f, 10.4, 16.0, 7.0);
  Didascalia(f, 10.4, 16.32, "Nome", 5);
  Didascalia(f, 17.55, 15.55, "Sesso", 5);
  Casella(f, 18.4, 16.0, 0.45);
  Casella(f, 19.4, 16.0, 0.45);
  Didascalia(f, 18.1, 16.0, "M", 6);
  Didascalia(f, 19.1, 16.0, "F", 6);
  DataInParti(f, 4.3, 5.3, 6.3, 16.8);
  Didascalia(f, 4.2, 17.12, "Data di nascita (gg mm aaaa)", 5);
  Campo(f, 8.5, 16.8, 9.6);
  Didascalia(f, 8.5, 17.12, "Comune (o Stato estero) di nascita", 5);
  Campo(f, 18.7, 16.8, 0.9);
  Didascalia(f, 18.7, 17.12, "Prov.", 5);
  Didascalia(f, 1.0, 18.0, "Altri soggetti", 6.5);
  Campo(f, 4.1, 18.0, 15.9);
  Didascalia(f, 4.1, 18.32, "Denominazione o ragione sociale", 5);

  Fascia(f, 18.85, "SOGGETTO TENUTO ALLA COMUNICAZIONE (se diverso dal contribuente)");
  Didascalia(f, 4.0, 19.52, "Codice fiscale");
  Celle(f, 3.6, 20.2, 16);
  Didascalia(f, 18.5, 19.52, "Codice carica");
  Campo(f, 18.55, 20.2, 1.2);
  Didascalia(f, 1.0, 21.5, "Procedura", 6.5);
  Didascalia(f, 5.2, 21.45, "Data inizio (gg mm aaaa)", 5.5);
  DataInParti(f, 8.3, 9.3, 10.3, 21.5);
  Didascalia(f, 13.1, 21.45, "Data fine (gg mm aaaa)", 5.5);
  DataInParti(f, 15.9, 16.9, 17.9, 21.5);
  Didascalia(f, 1.0, 22.7, "Persona fisica", 6.5);
  Campo(f, 4.1, 22.7, 6.0);
  Didascalia(f, 4.1, 23.0, "Cognome", 5);
  Campo(f, 10.4, 22.7, 7.0);
  Didascalia(f, 10.4, 23.0, "Nome", 5);
  Didascalia(f, 17.55, 22.25, "Sesso", 5);
  Casella(f, 18.4, 22.7, 0.45);
  Casella(f, 19.4, 22.7, 0.45);
  Didascalia(f, 18.1, 22.7, "M", 6);
  Didascalia(f, 19.1, 22.7, "F", 6);
  DataInParti(f, 4.3, 5.3, 6.3, 23.5);
  Didascalia(f, 4.2, 23.8, "Data di nascita (gg mm aaaa)", 5);
  Campo(f, 8.5, 23.5, 9.6);
  Didascalia(f, 8.5, 23.8, "Comune (o Stato estero) di nascita", 5);
  Campo(f, 18.7, 23.5, 0.9);
  Didascalia(f, 18.7, 23.8, "Prov.", 5);
  Didascalia(f, 1.0, 24.7, "Altri soggetti", 6.5);
  Campo(f, 4.1, 24.7, 15.9);
  Didascalia(f, 4.1, 25.0, "Denominazione o ragione sociale", 5);

  Fascia(f, 25.45, "IMPEGNO ALLA PRESENTAZIONE TELEMATICA (riservato all'intermediario)");
  Didascalia(f, 4.0, 25.98, "Codice fiscale dell'intermediario");
  Celle(f, 3.6, 26.6, 16);
  Didascalia(f, 12.75, 26.55, "Impegno", 5.5);
  Casella(f, 14.0, 26.6);
  Didascalia(f, 15.0, 25.98, "N. iscrizione albo C.A.F.");
  Campo(f, 15.0, 26.6, 1.6);
  Didascalia(f, 1.0, 27.45, "Data dell'impegno", 6.5);
  DataInParti(f, 7.0, 8.0, 9.0, 27.45);
  Didascalia(f, 12.0, 27.45, "Firma dell'intermediario", 5.5);
  Campo(f, 14.2, 27.45, 5.8);

  f.Font(5.5, false, true);
  f.Colore(kInchiostro);
  f.Testo(1.0, 28.7, "Predisposto con FISCOLARIO. I dati riportano quelli del file della comunicazione.");
}

void Riepilogo(Foglio& f) {
  f.Colore(kInchiostro);
  f.Font(8, true);
  f.Testo(1.0, 1.3, "Codice fiscale");
  f.Riquadro(3.9, 0.75, 4.6, 0.75);
  f.Font(14, true);
  f.TestoDestra(20.0, 1.3, "QUADRO TA - Riepilogo");

  struct Riga {
    double y;
    const char* quadro;
    const char* descrizione;
    const char* colonne[3];
  } const kRighe[] = {
      {2.7, "FA", "Operazioni con soggetti titolari di partita IVA", {"Numero controparti", nullptr, nullptr}},
      {4.5, "SA", "Operazioni con soggetti non titolari di partita IVA", {"Numero controparti", nullptr, nullptr}},
      {6.3, "BL", "Paesi a fiscalità privilegiata, non residenti, servizi",
       {"Fiscalità privilegiata", "Soggetti non residenti", "Acquisti di servizi da non residenti"}},
      {8.0, "FE", "Fatture emesse", {"Fatture emesse", "Documenti riepilogativi", nullptr}},
      {9.7, "FR", "Fatture ricevute", {"Fatture ricevute", "Documenti riepilogativi", nullptr}},
      {11.3, "NE", "Note di variazione emesse", {"Numero note", nullptr, nullptr}},
      {13.0, "NR", "Note di variazione ricevute", {"Numero note", nullptr, nullptr}},
      {14.7, "DF", "Operazioni senza fattura", {"Numero operazioni", nullptr, nullptr}},
      {16.4, "FN", "Operazioni con soggetti non residenti", {"Numero operazioni", nullptr, nullptr}},
      {18.1, "SE", "Acquisti di servizi da non residenti e da San Marino", {"Numero operazioni", nullptr, nullptr}},
      {19.8, "TU", "Operazioni legate al turismo", {"Numero operazioni", nullptr, nullptr}},
  };
  constexpr double kX[] = {5.0, 10.2, 15.6};
  for (const Riga& r : kRighe) {
    f.Linea(0.8, r.y - 0.35, 20.2, r.y - 0.35, 0.01);
    f.Colore(kInchiostro);
    f.Font(11, true);
    f.Testo(1.0, r.y + 0.45, r.quadro);
    f.Font(5.2);
    f.Paragrafo(1.0, r.y + 0.6, 3.7, 0.8, r.descrizione);
    for (int c = 0; c < 3; ++c) {
      if (r.colonne[c] == nullptr) continue;
      f.Riquadro(kX[c] - 0.1, r.y - 0.05, 4.2, 0.65);
      Didascalia(f, kX[c], r.y + 0.85, r.colonne[c], 5.2);
    }
  }
  f.Linea(0.8, 21.2, 20.2, 21.2, 0.01);
  f.Font(5.5, false, true);
  f.Colore(kInchiostro);
  f.Paragrafo(1.0, 21.5, 19.0, 1.0,
              "I totali sono quelli del record E della comunicazione; le caselle dei quadri senza righe "
              "restano vuote.");
}

void GeneraRiepilogo(const QString& file) {
  QPdfWriter w(file);
  w.setResolution(kRisoluzione);
  w.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  w.setTitle("Modello del frontespizio e del riepilogo");
  w.setCreator("FISCOLARIO");
  QPainter p(&w);
  Foglio f(p);
  Frontespizio(f);
  w.newPage();
  Riepilogo(f);
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "uso: genera-modelli CARTELLA\n");
    return 2;
  }
  const QString cartella = QString::fromLocal8Bit(argv[1]);
  GeneraBase(cartella + "/base.pdf");
  GeneraRiepilogo(cartella + "/base_RIEP.pdf");
  return 0;
}
