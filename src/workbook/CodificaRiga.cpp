#include "workbook/CodificaRiga.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>

#include "common/RoutineCampi.h"
#include "workbook/ValoreCampo.h"

namespace fcl {
namespace {

std::string Descrizione(const DefinizioneQuadro& quadro, ClasseValore classe,
                        ValoreCampo::Problema problema, std::string_view cella) {
  using P = ValoreCampo::Problema;
  const std::string testo(cella);
  if (problema == P::Data) return "Errore DATA: " + testo + " - Quadro " + std::string(quadro.nome);
  if (classe == ClasseValore::CC)
    return "codice Stato non valido: " + testo + " (indicare il codice numerico di 3 cifre)";
  switch (problema) {
    case P::NonNumerico:
      return "importo non numerico: " + testo;
    case P::Negativo:
      return "importo negativo non ammesso: " + testo +
             " (gli importi vanno indicati in positivo; le note di variazione nei quadri NE e NR)";
    case P::TroppoLungo:
      return "importo troppo lungo per il campo (al massimo 16 cifre): " + testo;
    default:
      return testo;
  }
}

void Conta(Contatore contatore, TotaliImport& totali) {
  switch (contatore) {
    case Contatore::Nessuno:
      break;
    case Contatore::RiepilogativiFE:
      ++totali.documentiRiepilogativiFE;
      break;
    case Contatore::RiepilogativiFR:
      ++totali.documentiRiepilogativiFR;
      break;
    case Contatore::BL1:
      ++totali.contatoriBL[0];
      break;
    case Contatore::BL2:
      ++totali.contatoriBL[1];
      break;
    case Contatore::BL3:
      ++totali.contatoriBL[2];
      break;
  }
}

}  // namespace

void CodificaRiga(const DefinizioneQuadro& quadro, bool layoutFRCorrente, CelleRiga& celle,
                  bool zeri, RecordDettaglio& record, TotaliImport& totali,
                  const SegnalaCella& segnala) {
  record.NuovaRiga();
  const auto& colonne = layoutFRCorrente || quadro.colonneLayoutPrecedente.empty()
                            ? quadro.colonne
                            : quadro.colonneLayoutPrecedente;
  for (const ColonnaQuadro& c : colonne) {
    std::string& cella = celle[c.colonna];
    if (ZeroOVuoto(cella)) continue;
    if (c.condizione == Condizione::SeAVuota && !Rifila(celle[0]).empty()) continue;
    if (c.condizione == Condizione::SeABVuoteEUno &&
        (!Rifila(celle[0]).empty() || !Rifila(celle[1]).empty() || cella != "1"))
      continue;

    const ValoreCampo v = CalcolaValore(c.classe, cella, zeri);
    if (v.problema != ValoreCampo::Problema::Nessuno) {
      segnala(c.colonna, Descrizione(quadro, c.classe, v.problema, cella));
      continue;
    }
    if (v.valore.empty()) continue;

    // The field code: the quadro, the row within the record and the field, three digits each.
    char composto[32];
    std::string_view codice = c.codiceFisso;
    if (codice.empty()) {
      const std::size_t n = std::min<std::size_t>(quadro.nome.size(), 16);
      std::memcpy(composto, quadro.nome.data(), n);
      std::size_t fine = n;
      for (const int numero : {record.RigaNelRecord(), c.campo}) {
        char cifre[12];
        const auto r = std::to_chars(cifre, cifre + sizeof cifre, numero);
        const auto lunghezza = static_cast<std::size_t>(r.ptr - cifre);
        for (std::size_t k = lunghezza; k < 3; ++k) composto[fine++] = '0';
        std::memcpy(composto + fine, cifre, lunghezza);
        fine += lunghezza;
      }
      codice = std::string_view(composto, fine);
    }
    record.Campo(codice, v.valore, quadro.continuazione);
    Conta(c.contatore, totali);
  }
}

}  // namespace fcl
