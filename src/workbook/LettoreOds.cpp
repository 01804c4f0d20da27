#include "workbook/LettoreOds.h"

#include "workbook/ErroriCartella.h"

namespace fcl {
namespace {

using errori_cartella::kLimiteParteFlusso;
using errori_cartella::kLimiteParteTenuta;

constexpr std::string_view kTipoFoglio = "application/vnd.oasis.opendocument.spreadsheet";

}  // namespace

bool LettoreOds::EOds(const ArchivioZip& archivio) {
  const auto tipo = archivio.LeggiTutto("mimetype", 4096);
  return tipo && tipo->compare(0, kTipoFoglio.size(), kTipoFoglio) == 0;
}

LettoreOds::LettoreOds(std::unique_ptr<ArchivioZip> archivio)
    : LettoreFlusso(archivio->Percorso()), archivio_(std::move(archivio)) {
  // An encrypted document lists how each part is encrypted in its manifest.
  const auto manifesto = archivio_->LeggiTutto("META-INF/manifest.xml", kLimiteParteTenuta);
  if (manifesto && manifesto->find("encryption-data") != std::string::npos)
    throw errori_cartella::Protetta(percorso_);
  if (!archivio_->Contiene("content.xml"))
    throw errori_cartella::Danneggiata(percorso_, "manca la parte content.xml");
  NuovoCursore();
}

void LettoreOds::NuovoCursore() {
  cursore_.reset();
  cursore_ = std::make_unique<ContenutoOds>(archivio_->Apri("content.xml", kLimiteParteFlusso));
  foglioCursore_ = 0;
  cursoreFinito_ = false;
  dentroFoglio_ = false;
  inizioFoglio_ = false;
}

bool LettoreOds::Evento(ContenutoOds::Evento& evento) {
  if (!cursore_->Prossimo(evento)) {
    nomiCompleti_ = true;
    cursoreFinito_ = true;
    dentroFoglio_ = false;
    return false;
  }
  switch (evento.tipo) {
    case ContenutoOds::Evento::Tipo::InizioFoglio:
      if (static_cast<std::size_t>(foglioCursore_) >= errori_cartella::kFogliMassimi)
        throw errori_cartella::OltreILimiti(
            percorso_,
            "contiene più di " + std::to_string(errori_cartella::kFogliMassimi) + " fogli");
      ++foglioCursore_;
      if (static_cast<std::size_t>(foglioCursore_) > nomi_.size()) nomi_.push_back(evento.nome);
      dentroFoglio_ = true;
      inizioFoglio_ = true;
      break;
    case ContenutoOds::Evento::Tipo::Righe:
      inizioFoglio_ = false;
      break;
    case ContenutoOds::Evento::Tipo::FineFoglio:
      dentroFoglio_ = false;
      break;
  }
  return true;
}

int LettoreOds::NumeroFogli() {
  if (!nomiCompleti_) {
    Dimentica();
    ContenutoOds::Evento evento;
    while (Evento(evento)) {
    }
  }
  return static_cast<int>(nomi_.size());
}

std::string LettoreOds::NomeFoglio(int foglio) {
  if (foglio >= 1 && static_cast<std::size_t>(foglio) > nomi_.size() && !nomiCompleti_) {
    Dimentica();
    ContenutoOds::Evento evento;
    while (static_cast<std::size_t>(foglio) > nomi_.size() && Evento(evento)) {
    }
  }
  if (foglio < 1 || static_cast<std::size_t>(foglio) > nomi_.size())
    throw errori_cartella::FoglioMancante(foglio);
  return nomi_[static_cast<std::size_t>(foglio - 1)];
}

void LettoreOds::Ricomincia(int foglio) {
  if (foglio < 1) throw errori_cartella::FoglioMancante(foglio);
  const bool giaQui = foglioCursore_ == foglio && dentroFoglio_ && inizioFoglio_;
  if (giaQui) return;
  if (nomiCompleti_ && static_cast<std::size_t>(foglio) > nomi_.size())
    throw errori_cartella::FoglioMancante(foglio);
  if (foglioCursore_ >= foglio || cursoreFinito_) NuovoCursore();
  ContenutoOds::Evento evento;
  while (foglioCursore_ < foglio) {
    if (!Evento(evento)) throw errori_cartella::FoglioMancante(foglio);
  }
}

bool LettoreOds::Prossimo(BloccoRighe& blocco) {
  if (!dentroFoglio_) return false;
  ContenutoOds::Evento evento;
  if (!Evento(evento) || evento.tipo != ContenutoOds::Evento::Tipo::Righe) return false;
  blocco = std::move(evento.righe);
  return true;
}

}  // namespace fcl
