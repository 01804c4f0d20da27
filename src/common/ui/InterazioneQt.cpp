#include "common/ui/InterazioneQt.h"

#include <QApplication>
#include <QDateTime>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTreeView>

#include <iostream>
#include <vector>

#include "common/ui/Stringhe.h"

namespace fcl {
namespace {

std::vector<std::string_view> Dividi(std::string_view testo, char separatore) {
  std::vector<std::string_view> parti;
  std::size_t inizio = 0;
  while (true) {
    const std::size_t fine = testo.find(separatore, inizio);
    parti.push_back(testo.substr(inizio, fine == std::string_view::npos ? fine : fine - inizio));
    if (fine == std::string_view::npos) break;
    inizio = fine + 1;
  }
  return parti;
}

std::string_view Rifilato(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

QMessageBox::Icon IconaQt(Icona icona) {
  switch (icona) {
    case Icona::Informazione:
      return QMessageBox::Information;
    case Icona::Esclamazione:
      return QMessageBox::Warning;
    case Icona::Critico:
      return QMessageBox::Critical;
    case Icona::Domanda:
      return QMessageBox::Question;
    case Icona::Nessuna:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButton PulsanteQt(Risposta r) {
  switch (r) {
    case Risposta::Ok:
      return QMessageBox::Ok;
    case Risposta::Si:
      return QMessageBox::Yes;
    case Risposta::No:
      return QMessageBox::No;
    case Risposta::Annulla:
      return QMessageBox::Cancel;
  }
  return QMessageBox::NoButton;
}

// The buttons read the same whether or not Qt's Italian translation was found.
void TestiItaliani(QMessageBox& box) {
  const std::pair<QMessageBox::StandardButton, const char*> kTesti[] = {
      {QMessageBox::Ok, "OK"},
      {QMessageBox::Yes, "Sì"},
      {QMessageBox::No, "No"},
      {QMessageBox::Cancel, "Annulla"}};
  for (const auto& [pulsante, testo] : kTesti) {
    if (QAbstractButton* b = box.button(pulsante)) b->setText(QString::fromUtf8(testo));
  }
}

// The caption of a box or dialog. On X11 Qt appends " — FISCOLARIO" to every title that does not
// end with the application's name already: the blanks a caption may end with ("CARTELLA DI
// SALVATAGGIO FISCOLARIO ") are not shown, so that the name is not shown twice.
QString Titolo(std::string_view titolo) {
  QString t = QTesto(titolo.empty() ? kTitoloApplicazione : titolo);
  while (t.endsWith(QLatin1Char(' '))) t.chop(1);
  return t.isEmpty() ? QTesto(kTitoloApplicazione) : t;
}

QRect AreaSchermo(const QWidget* w) {
  const QScreen* schermo = w && w->screen() ? w->screen() : QGuiApplication::primaryScreen();
  return schermo ? schermo->availableGeometry() : QRect(0, 0, 1024, 768);
}

// The core's line breaks ("\r\n", or "\r" alone) as the label understands them.
QString TestoBox(std::string_view testo) {
  QString t = QTesto(testo);
  t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return t;
}

// Qt wraps a message at about 500 pixels, also the lines that already carry their own breaks:
// the label gets the width of its longest line (within the screen), so that those lines stay
// whole and only a line wider than the screen is wrapped.
void LineeIntere(QMessageBox& box) {
  if (!box.text().contains(QLatin1Char('\n'))) return;
  auto* etichetta = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
  if (!etichetta) return;
  const QFontMetrics metriche(etichetta->font());
  int larghezza = 0;
  for (const QString& riga : box.text().split(QLatin1Char('\n')))
    larghezza = std::max(larghezza, metriche.horizontalAdvance(riga));
  etichetta->setMinimumWidth(
      std::min(larghezza + metriche.averageCharWidth(), AreaSchermo(&box).width() * 8 / 10));
}

// The kind of a file as the dialog's "Tipo" column shows it, in Italian.
class IconeItaliane : public QFileIconProvider {
 public:
  QString type(const QFileInfo& info) const override {
    if (info.isDir()) return QStringLiteral("Cartella");
    const QString estensione = info.suffix().toUpper();
    return estensione.isEmpty() ? QStringLiteral("File") : QStringLiteral("File ") + estensione;
  }
};

// Qt's own file dialog opens small, with its columns cut: it opens in the detail view, large
// enough to read the names, sizes, kinds and dates. Its captions are set in Italian whether or
// not Qt's translation was found.
void PreparaDialogo(QFileDialog& dialogo, bool salva) {
  const QRect area = AreaSchermo(dialogo.parentWidget());
  dialogo.setViewMode(QFileDialog::Detail);
  dialogo.resize(std::min(960, area.width() * 9 / 10), std::min(600, area.height() * 85 / 100));
  dialogo.setLabelText(QFileDialog::LookIn, QStringLiteral("Cerca in:"));
  dialogo.setLabelText(QFileDialog::FileName, QStringLiteral("Nome file:"));
  dialogo.setLabelText(QFileDialog::FileType, QStringLiteral("Tipo file:"));
  dialogo.setLabelText(QFileDialog::Accept,
                       salva ? QStringLiteral("&Salva") : QStringLiteral("&Apri"));
  dialogo.setLabelText(QFileDialog::Reject, QStringLiteral("Annulla"));
  static IconeItaliane icone;
  dialogo.setIconProvider(&icone);
  const QFontMetrics metriche(dialogo.font());
  if (auto* divisore = dialogo.findChild<QSplitter*>(QStringLiteral("splitter")))
    divisore->setSizes(
        {metriche.horizontalAdvance(QStringLiteral("Computer_____")) + 40, dialogo.width()});
  if (auto* dettagli = dialogo.findChild<QTreeView*>(QStringLiteral("treeView"))) {
    QHeaderView* colonne = dettagli->header();
    colonne->resizeSection(0, dialogo.width() * 40 / 100);
    colonne->resizeSection(1, metriche.horizontalAdvance(QStringLiteral("Dimensione___")));
    colonne->resizeSection(2, metriche.horizontalAdvance(QStringLiteral("File XLSX_____")));
    // The dates as the dialog writes them (the system's short format, which may be long).
    const QString data = QLocale::system().toString(
        QDateTime(QDate(2000, 12, 28), QTime(23, 58, 58)), QLocale::ShortFormat);
    colonne->resizeSection(3,
                           std::max(metriche.horizontalAdvance(QStringLiteral("00/00/0000 00:00")),
                                    metriche.horizontalAdvance(data)) +
                               metriche.horizontalAdvance(QStringLiteral("____")));
  }
}

}  // namespace

InterazioneQt::InterazioneQt(QWidget* genitore) : genitore_(genitore) {}

void InterazioneQt::ImpostaGenitore(QWidget* genitore) { genitore_ = genitore; }

void InterazioneQt::ImpostaBarraStato(QStatusBar* barra, QProgressBar* avanzamento) {
  barraStato_ = barra;
  barraAvanzamento_ = avanzamento;
}

void InterazioneQt::Messaggio(std::string_view testo, std::string_view titolo, Icona icona) {
  QMessageBox box(IconaQt(icona), Titolo(titolo), TestoBox(testo), QMessageBox::Ok, genitore_);
  box.setTextFormat(Qt::PlainText);
  TestiItaliani(box);
  LineeIntere(box);
  box.exec();
}

Risposta InterazioneQt::Chiedi(std::string_view testo, std::string_view titolo, Pulsanti pulsanti,
                               Icona icona, Risposta predefinita) {
  QMessageBox::StandardButtons scelte = QMessageBox::Ok;
  switch (pulsanti) {
    case Pulsanti::Ok:
      scelte = QMessageBox::Ok;
      break;
    case Pulsanti::SiNo:
      scelte = QMessageBox::Yes | QMessageBox::No;
      break;
    case Pulsanti::OkAnnulla:
      scelte = QMessageBox::Ok | QMessageBox::Cancel;
      break;
    case Pulsanti::SiNoAnnulla:
      scelte = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
      break;
  }
  QMessageBox box(IconaQt(icona), Titolo(titolo), TestoBox(testo), scelte, genitore_);
  box.setTextFormat(Qt::PlainText);
  if (scelte.testFlag(PulsanteQt(predefinita))) box.setDefaultButton(PulsanteQt(predefinita));
  TestiItaliani(box);
  LineeIntere(box);
  box.exec();
  switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Yes:
      return Risposta::Si;
    case QMessageBox::No:
      return Risposta::No;
    case QMessageBox::Ok:
      return Risposta::Ok;
    default:
      return Risposta::Annulla;
  }
}

std::string InterazioneQt::FiltroQt(std::string_view filtro) {
  const auto parti = Dividi(filtro, '|');
  std::string risultato;
  for (std::size_t i = 0; i + 1 < parti.size(); i += 2) {
    std::string_view descrizione = Rifilato(parti[i]);
    // The description may repeat the patterns in brackets; Qt reads them from there, so they are
    // written once, from the pattern part.
    if (const auto aperta = descrizione.rfind('(');
        aperta != std::string_view::npos && descrizione.back() == ')')
      descrizione = Rifilato(descrizione.substr(0, aperta));
    std::string modelli;
    for (const auto modello : Dividi(parti[i + 1], ';')) {
      const std::string m(Rifilato(modello));
      if (m.empty()) continue;
      const QString q = QTesto(m);
      for (const QString& variante : {q.toUpper(), q.toLower()}) {
        const std::string v = TestoStd(variante);
        if (!modelli.empty() && (" " + modelli + " ").find(" " + v + " ") != std::string::npos)
          continue;
        if (!modelli.empty()) modelli += ' ';
        modelli += v;
      }
    }
    if (!risultato.empty()) risultato += ";;";
    risultato += std::string(descrizione) + " (" + modelli + ")";
  }
  if (risultato.empty() && !filtro.empty()) risultato = std::string(filtro);
  return risultato;
}

std::string InterazioneQt::EstensionePredefinita(std::string_view filtro) {
  const auto parti = Dividi(filtro, '|');
  if (parti.size() < 2) return {};
  const std::string_view primo = Rifilato(Dividi(parti[1], ';').front());
  const auto punto = primo.rfind('.');
  if (punto == std::string_view::npos) return {};
  const std::string_view estensione = primo.substr(punto + 1);
  if (estensione.find_first_of("*?") != std::string_view::npos) return {};
  return std::string(estensione);
}

std::optional<std::filesystem::path> InterazioneQt::ScegliFileDaAprire(
    std::string_view titolo, std::string_view filtro, const std::filesystem::path& cartella) {
  QFileDialog dialogo(genitore_, Titolo(titolo), QPercorso(cartella), QTesto(FiltroQt(filtro)));
  dialogo.setAcceptMode(QFileDialog::AcceptOpen);
  dialogo.setFileMode(QFileDialog::ExistingFile);
  PreparaDialogo(dialogo, false);
  if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) return std::nullopt;
  return PercorsoStd(dialogo.selectedFiles().front());
}

std::optional<std::filesystem::path> InterazioneQt::ScegliCartella(
    std::string_view titolo, const std::filesystem::path& cartella) {
  QFileDialog dialogo(genitore_, Titolo(titolo), QPercorso(cartella));
  dialogo.setAcceptMode(QFileDialog::AcceptOpen);
  dialogo.setFileMode(QFileDialog::Directory);
  dialogo.setOption(QFileDialog::ShowDirsOnly);
  PreparaDialogo(dialogo, false);
  if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) return std::nullopt;
  return PercorsoStd(dialogo.selectedFiles().front());
}

std::optional<std::filesystem::path> InterazioneQt::ScegliFileDaSalvare(
    std::string_view titolo, std::string_view filtro, const std::filesystem::path& cartella,
    std::string_view nomeProposto) {
  const auto proposto = nomeProposto.empty() ? cartella : cartella / std::string(nomeProposto);
  QFileDialog dialogo(genitore_, Titolo(titolo), QPercorso(proposto), QTesto(FiltroQt(filtro)));
  dialogo.setAcceptMode(QFileDialog::AcceptSave);
  dialogo.setFileMode(QFileDialog::AnyFile);
  // The callers ask about an existing file themselves, with their own words.
  dialogo.setOption(QFileDialog::DontConfirmOverwrite);
  dialogo.setDefaultSuffix(QTesto(EstensionePredefinita(filtro)));
  PreparaDialogo(dialogo, true);
  if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) return std::nullopt;
  return PercorsoStd(dialogo.selectedFiles().front());
}

void InterazioneQt::Avanzamento(std::string_view didascalia, long long valore, long long massimo) {
  if (avanzamento) {
    avanzamento(didascalia, valore, massimo);
  } else if (barraAvanzamento_) {
    const bool finito = massimo > 0 && valore >= massimo;
    barraAvanzamento_->setVisible(!finito);
    barraAvanzamento_->setRange(0, static_cast<int>(std::min<long long>(massimo, INT32_MAX)));
    barraAvanzamento_->setValue(static_cast<int>(std::min<long long>(valore, INT32_MAX)));
    if (barraStato_) barraStato_->showMessage(QTesto(didascalia));
  }
  // Let the windows repaint now and then, not at every call: a run reports thousands of steps.
  if (!ultimoRidisegno_.isValid() || ultimoRidisegno_.elapsed() >= 100) {
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    ultimoRidisegno_.start();
  }
}

void InterazioneQt::Avviso(std::string_view testo) {
  if (barraStato_) {
    barraStato_->showMessage(QTesto(testo), 15000);
  } else {
    std::cerr << testo << '\n';
  }
}

}  // namespace fcl
