#include "verifica/VerificaComunicazione.h"

#include <algorithm>
#include <fstream>
#include <limits>

#include "common/Errori.h"
#include "verifica/LettoreRecord.h"
#include "verifica/Verificatore.h"

namespace fcl {
namespace {

long long Esegui(std::istream& in, const Verificatore::Ricevitore& ricevi) {
  Verificatore verifica(ricevi);
  LettoreRecord lettore(in);
  RigaLetta riga;
  while (lettore.Prossima(riga)) verifica.Riga(riga);
  verifica.Fine();
  return verifica.RecordLetti();
}

}  // namespace

long long VerificaComunicazione(std::istream& in,
                                const std::function<void(const Rilievo&)>& ricevi) {
  return Esegui(in, [&](const Rilievo& r, bool) { ricevi(r); });
}

EsitoVerifica VerificaComunicazione(std::istream& in, std::size_t limite) {
  EsitoVerifica esito;
  std::size_t ordinari = 0;  // findings kept under the limit
  esito.record = Esegui(in, [&](const Rilievo& r, bool essenziale) {
    (r.gravita == Gravita::Errore ? esito.errori : esito.avvertimenti)++;
    if (essenziale || limite == 0 || ordinari < limite) {
      if (!essenziale) ++ordinari;
      esito.rilievi.push_back(r);
    } else {
      ++esito.nonConservati;
    }
  });
  const auto chiave = [](const Rilievo& r) {
    return r.record == 0 ? std::numeric_limits<long long>::max() : r.record;
  };
  // Findings on record B that need the whole file come at the end: put them back with their
  // record. Within a record the order of the check stays.
  std::stable_sort(esito.rilievi.begin(), esito.rilievi.end(),
                   [&](const Rilievo& x, const Rilievo& y) { return chiave(x) < chiave(y); });
  return esito;
}

EsitoVerifica VerificaComunicazione(const std::filesystem::path& file, std::size_t limite) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec))
    throw ErroreFile("Il file " + file.string() + " non esiste o non è un file leggibile");
  std::ifstream in(file, std::ios::binary);
  if (!in) throw ErroreFile("Impossibile aprire il file " + file.string());
  try {
    return VerificaComunicazione(in, limite);
  } catch (const ErroreFile&) {
    throw ErroreFile("Errore di lettura del file " + file.string());
  }
}

}  // namespace fcl
