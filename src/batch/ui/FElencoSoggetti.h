#pragma once

#include <QDialog>

#include "batch/ElencoOperatori.h"

class QWidget;

namespace fcl {

struct Contesto;

// "Importa soggetti da elenco": the outcome of an import of operators from a client list, with
// the summary (added, updated, left, refused) and the refused rows in a list (line, fiscal code,
// reason).
class FElencoSoggetti : public QDialog {
  Q_OBJECT
 public:
  FElencoSoggetti(const std::filesystem::path& file, const EsitoImportaElenco& esito,
                  QWidget* genitore = nullptr);
};

// "Funzioni -> Importa soggetti da elenco...": asks for the CSV file and whether operators already
// in the register are to be updated, runs the import and shows its outcome. Returns true when
// something was saved (the register's list is then to be reloaded).
bool ImportaSoggettiDaElenco(Contesto& ctx, QWidget* genitore);

}  // namespace fcl
