#include "common/ui/ApriDocumentoQt.h"

#include <QDesktopServices>
#include <QUrl>

#include "common/ui/Stringhe.h"

namespace fcl {

void ApriDocumentoQt::Apri(const std::filesystem::path& percorso) {
  std::error_code ec;
  if (!std::filesystem::exists(percorso, ec)) {
    if (avvisi_) avvisi_->Avviso("Documento non trovato: " + percorso.string());
    return;
  }
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QPercorso(percorso))) && avvisi_)
    avvisi_->Avviso("Nessun programma ha aperto il documento " + percorso.string());
}

}  // namespace fcl
