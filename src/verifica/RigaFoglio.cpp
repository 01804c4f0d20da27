#include "verifica/RigaFoglio.h"

namespace fcl {

void RigaFoglio::InizioRecord() { inizio_ = true; }

long long RigaFoglio::Elemento(int quadro, int rigo, int chiave) {
  const auto q = static_cast<std::size_t>(quadro);
  bool nuovoGruppo;
  if (inizio_) {
    const bool continua = precedentePieno_ && quadro == ultimoQuadro_ &&
                          (rigo > ultimoRigo_ || (rigo == ultimoRigo_ && chiave >= ultimaChiave_));
    nuovoGruppo = !continua;
    inizio_ = false;
  } else {
    nuovoGruppo = quadro != ultimoQuadro_;
  }
  if (nuovoGruppo) {
    gruppo_[q] = visto_[q] ? gruppo_[q] + 1 : 0;
    visto_[q] = true;
  }
  ultimoQuadro_ = quadro;
  ultimoRigo_ = rigo;
  ultimaChiave_ = chiave;
  const auto righi = QuadriTracciato()[q].righiPerModulo;
  return gruppo_[q] * righi + rigo;
}

void RigaFoglio::FineRecord(int elementi) {
  if (inizio_ && elementi == 0 && ultimoQuadro_ >= 0) {
    // A record without elements: a whole group of rows of the quadro before it wrote nothing.
    const auto q = static_cast<std::size_t>(ultimoQuadro_);
    gruppo_[q] = visto_[q] ? gruppo_[q] + 1 : 0;
    visto_[q] = true;
    ultimoRigo_ = 0;
    ultimaChiave_ = 0;
  }
  inizio_ = false;
  precedentePieno_ = elementi >= kNumeroElementi;
}

int PrimeRigheFogli::PrimaRiga(std::string_view quadro) const {
  if (quadro == "BL") return bl;
  const int q = IndiceQuadro(quadro);
  return q < 0 ? 0 : QuadriTracciato()[static_cast<std::size_t>(q)].primaRigaFoglio;
}

std::optional<CellaFoglio> CellaNelFoglio(const Rilievo& r, const PrimeRigheFogli& prime) {
  if (r.rigaQuadro <= 0 || r.quadro.empty()) return std::nullopt;
  const int q = IndiceQuadro(r.quadro);
  if (q < 0 || QuadriTracciato()[static_cast<std::size_t>(q)].tipoRecord == 'E')
    return std::nullopt;
  CellaFoglio cella;
  cella.foglio = r.quadro;
  cella.riga = prime.PrimaRiga(r.quadro) + r.rigaQuadro - 1;
  if (r.campo.size() == 8 && r.campo.compare(0, 2, r.quadro) == 0) {
    const bool fissi = QuadriTracciato()[static_cast<std::size_t>(q)].codiciFissi;
    const int chiave = ChiaveCampo(fissi ? std::string_view(r.campo).substr(2)
                                         : std::string_view(r.campo).substr(5));
    if (const CampoTracciato* c = TrovaCampo(q, chiave)) {
      const char colonna =
          (prime.frPrecedente && c->colonnaPrecedente) ? c->colonnaPrecedente : c->colonna;
      if (colonna) cella.colonna = std::string(1, colonna);
    }
  }
  return cella;
}

}  // namespace fcl
