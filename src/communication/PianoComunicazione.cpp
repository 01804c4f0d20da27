#include "communication/PianoComunicazione.h"

namespace fcl {

std::string NomeQuadroComunicazione(int quadro) {
  static constexpr const char* kNomi[] = {"FA", "SA", "BL", "FE", "FR", "NE",
                                          "NR", "DF", "FN", "SE", "TU"};
  if (quadro < FA || quadro > TU) return {};
  return kNomi[quadro - FA];
}

namespace {

// The TA fields of one kind of data, with their presence rules: a quadro's row count only when the
// sheet had rows; the three BL counters always; FE and FR rows less their summary documents, and
// the summary documents only when there are some.
std::vector<CampoTA> CampiTA(const TotaliImport& t, TipoDati tipo) {
  std::vector<CampoTA> campi;
  auto righe = [&t](int quadro) { return t.righePerQuadro[static_cast<std::size_t>(quadro)]; };
  auto seRighe = [&](const char* codice, int quadro) {
    if (righe(quadro) > 0) campi.push_back({codice, std::to_string(righe(quadro))});
  };
  auto conRiepilogativi = [&](const char* codice, const char* codiceRiep, int quadro, int riep) {
    if (righe(quadro) > 0) {
      const int fatture = riep > 0 ? righe(quadro) - riep : righe(quadro);
      campi.push_back({codice, std::to_string(fatture)});
    }
    if (riep >= 1) campi.push_back({codiceRiep, std::to_string(riep)});
  };
  if (tipo == TipoDati::Aggregati) {
    seRighe("TA001001", FA);
    seRighe("TA002001", SA);
    campi.push_back({"TA003001", std::to_string(t.contatoriBL[0])});
    campi.push_back({"TA003002", std::to_string(t.contatoriBL[1])});
    campi.push_back({"TA003003", std::to_string(t.contatoriBL[2])});
  } else {
    conRiepilogativi("TA004001", "TA004002", FE, t.documentiRiepilogativiFE);
    conRiepilogativi("TA005001", "TA005002", FR, t.documentiRiepilogativiFR);
    seRighe("TA006001", NE);
    seRighe("TA007001", NR);
    seRighe("TA008001", DF);
    seRighe("TA009001", FN);
    seRighe("TA010001", SE);
    seRighe("TA011001", TU);
  }
  return campi;
}

}  // namespace

PianoComunicazione PianificaComunicazione(const TotaliImport& totali,
                                          const SceltaCreazione& scelta) {
  PianoComunicazione p;
  if (scelta.tipoInvio == TipoInvio::Annullamento) {
    // A cancellation withdraws an earlier communication: it carries no data of its own.
    p.annullamento = true;
    return p;
  }
  p.tipoDati = scelta.tipoDati;
  const bool aggregati = scelta.tipoDati == TipoDati::Aggregati;
  for (int q = FA; q <= TU; ++q) {
    if (totali.righePerQuadro[static_cast<std::size_t>(q)] < 1) continue;
    if (QuadroAggregato(q) == aggregati) {
      p.quadro[static_cast<std::size_t>(q)] = true;
    } else {
      p.quadriEsclusi.push_back(NomeQuadroComunicazione(q));
    }
  }
  p.quadroTA = true;
  p.tipoDettaglio = aggregati ? 'C' : 'D';
  p.recordE = true;
  p.campiTA = CampiTA(totali, scelta.tipoDati);
  return p;
}

}  // namespace fcl
