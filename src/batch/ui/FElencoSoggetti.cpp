#include "batch/ui/FElencoSoggetti.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/Contesto.h"
#include "common/Errori.h"
#include "common/ui/Stringhe.h"

namespace fcl {

FElencoSoggetti::FElencoSoggetti(const std::filesystem::path& file, const EsitoImportaElenco& e,
                                 QWidget* genitore)
    : QDialog(genitore) {
  setObjectName(QStringLiteral("FElencoSoggetti"));
  setWindowTitle(QStringLiteral("Importa soggetti da elenco"));
  auto* layout = new QVBoxLayout(this);
  auto* riepilogo = new QLabel(
      QTesto("Elenco: " + file.string() + "\n\nSoggetti aggiunti: " + std::to_string(e.aggiunti) +
             "\nSoggetti aggiornati: " + std::to_string(e.aggiornati) +
             "\nGià presenti, lasciati invariati: " + std::to_string(e.invariati) +
             "\nRighe rifiutate: " + std::to_string(e.rifiutati.size())),
      this);
  riepilogo->setObjectName(QStringLiteral("riepilogo"));
  riepilogo->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(riepilogo);

  auto* rifiutate = new QTableWidget(static_cast<int>(e.rifiutati.size()), 3, this);
  rifiutate->setObjectName(QStringLiteral("rifiutate"));
  rifiutate->setHorizontalHeaderLabels(
      {QStringLiteral("Riga"), QStringLiteral("Codice fiscale"), QStringLiteral("Motivo")});
  rifiutate->verticalHeader()->hide();
  rifiutate->setEditTriggers(QAbstractItemView::NoEditTriggers);
  rifiutate->setSelectionBehavior(QAbstractItemView::SelectRows);
  rifiutate->horizontalHeader()->setStretchLastSection(true);
  for (int i = 0; i < static_cast<int>(e.rifiutati.size()); ++i) {
    const RigaRifiutata& r = e.rifiutati[static_cast<std::size_t>(i)];
    rifiutate->setItem(i, 0, new QTableWidgetItem(QString::number(r.linea)));
    rifiutate->setItem(i, 1, new QTableWidgetItem(QTesto(r.codiceFiscale)));
    rifiutate->setItem(i, 2, new QTableWidgetItem(QTesto(r.motivo)));
  }
  rifiutate->resizeColumnToContents(0);
  rifiutate->resizeColumnToContents(1);
  rifiutate->setVisible(!e.rifiutati.empty());
  layout->addWidget(rifiutate, 1);

  auto* pulsanti = new QDialogButtonBox(QDialogButtonBox::Close, this);
  pulsanti->button(QDialogButtonBox::Close)->setText(QStringLiteral("Chiudi"));
  connect(pulsanti, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(pulsanti);
  resize(e.rifiutati.empty() ? 520 : 820, e.rifiutati.empty() ? 220 : 480);
}

bool ImportaSoggettiDaElenco(Contesto& ctx, QWidget* genitore) {
  Interazione& ui = ctx.Ui();
  const auto file = ui.ScegliFileDaAprire("Elenco dei soggetti da importare",
                                          "Elenco CSV (*.csv)|*.csv;*.CSV|Tutti i file (*.*)|*",
                                          ctx.cartellaProgramma);
  if (!file) return false;
  const Risposta r = ui.Chiedi(
      "Aggiornare con i dati dell'elenco anche i soggetti già presenti in archivio?\n\n"
      "Sì: i soggetti già presenti vengono aggiornati.\nNo: restano come sono e vengono aggiunti "
      "solo i nuovi.",
      "Importa soggetti da elenco", Pulsanti::SiNoAnnulla, Icona::Domanda, Risposta::No);
  if (r == Risposta::Annulla) return false;
  EsitoImportaElenco esito;
  try {
    esito = ImportaElencoOperatori(ctx, *file, r == Risposta::Si);
  } catch (const Errore& e) {
    ui.Messaggio(e.what(), "Importa soggetti da elenco", Icona::Critico);
    return false;
  }
  FElencoSoggetti finestra(*file, esito, genitore);
  finestra.exec();
  return esito.aggiunti + esito.aggiornati > 0;
}

}  // namespace fcl
