#include "fatture/FoglioFatture.h"

#include "fatture/CartellaFatture.h"
#include "workbook/ScrittoreFoglioBase.h"

namespace fcl {

void ScriviFoglioFatture(CartellaFatture& fatture, const std::filesystem::path& destinazione) {
  ScrittoreFoglioBase scrittore(destinazione);
  scrittore.Istruzioni(
      {"",
       "Questa cartella di lavoro è stata scritta dalle fatture elettroniche: le celle in giallo "
       "vanno controllate o completate (data di registrazione presunta, codice dello Stato "
       "estero, dati di nascita). Il rapporto ..._FATTURE.csv accanto alla cartella dice, per "
       "ogni fattura, il quadro e la riga in cui è stata riportata o perché non lo è stata."});
  const auto quadri = QuadriFoglioBase();
  const RiepilogoFatture& riepilogo = fatture.Riepilogo();
  for (std::size_t i = 0; i < quadri.size(); ++i) {
    const QuadroBase& quadro = quadri[i];
    scrittore.Foglio(quadro);
    long long righe = 0;
    for (std::size_t q = 0; q < RiepilogoFatture::kQuadri.size(); ++q)
      if (RiepilogoFatture::kQuadri[q] == quadro.nome) righe = riepilogo.riportate[q];
    const int foglio = static_cast<int>(i) + 2;
    for (long long r = 0; r < righe; ++r) {
      const std::vector<Cella>& celle =
          fatture.Riga(foglio, quadro.primaRiga + static_cast<int>(r));
      scrittore.Riga(celle, fatture.Evidenziate());
    }
  }
  scrittore.Chiudi();
}

}  // namespace fcl
