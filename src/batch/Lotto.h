#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string_view>
#include <vector>

#include "batch/ElencoLotto.h"
#include "batch/OpzioniLotto.h"
#include "batch/RigaLotto.h"
#include "common/Contesto.h"

namespace fcl {

// Name of the batch's summary in the output folder.
inline constexpr std::string_view kNomeRiepilogoLotto = "RIEPILOGO_LOTTO.csv";

// A batch: the rows of a list run up to `processi` at a time, each on a thread of its own
// (EseguiRigaLotto), in the list's order of start. The batch never writes to the register and
// never touches the program folder's intermediate file: each row's intermediate file lives in a
// hidden folder of the output folder, removed at the end. A row whose fiscal code already came
// earlier in the list is not run (its files would be the earlier row's).
//
// Esegui blocks until every row has ended or, after Interrompi, until the running rows have ended;
// rows never started are then "non creata" with the reason. Annulla also stops the running rows at
// their next progress report, removing what they had begun to write. Both may be called from any
// thread (a window's button, a signal watcher). `alCambio` is called on the row's thread, never
// two at once, every time a row changes state.
class Lotto {
 public:
  Lotto(const Contesto& base, std::vector<RigaElenco> righe, OpzioniLotto opzioni);

  std::function<void(std::size_t indice, const EsitoRiga& esito)> alCambio;

  void Esegui();
  void Interrompi() { stop_.fermaRighe = true; }
  void Annulla() {
    stop_.fermaRighe = true;
    stop_.interrompi = true;
  }
  bool Interrotto() const { return stop_.fermaRighe; }

  const std::vector<RigaElenco>& Righe() const { return righe_; }
  // A copy of the outcomes so far (one per row, in the list's order).
  std::vector<EsitoRiga> Esiti() const;

  struct Conteggio {
    std::size_t finite = 0;
    std::size_t inCorso = 0;
    std::size_t inAttesa = 0;
    std::chrono::steady_clock::duration trascorso{};
    // Estimated time to the end (from the average time of the rows ended); 0 until one ended.
    std::chrono::steady_clock::duration restante{};
  };
  Conteggio Conta() const;

  // Writes the summary whole into the output folder (UTF-8 with BOM, ';'): riga, codice_fiscale,
  // denominazione, foglio, esito, righe_lette, errori_verifica, avvertimenti_verifica,
  // file_comunicazione, messaggio. Returns its path; throws ErroreFile when it cannot be written.
  std::filesystem::path ScriviRiepilogo() const;

 private:
  void Lavora(std::size_t indiceProcesso);
  void Aggiorna(std::size_t indice, const EsitoRiga& esito);

  const Contesto& base_;
  std::vector<RigaElenco> righe_;
  OpzioniLotto opzioni_;
  RichiestaStop stop_;
  std::filesystem::path cartellaIntermedi_;

  mutable std::mutex mutex_;
  std::vector<EsitoRiga> esiti_;
  std::size_t prossima_ = 0;
  std::chrono::steady_clock::time_point inizio_{};
  std::chrono::steady_clock::duration sommaDurate_{};
  std::size_t durateContate_ = 0;
  std::vector<std::chrono::steady_clock::time_point> partenza_;
};

// The summary's lines for a terminal: one per row, short (line, fiscal code, outcome, rows read,
// check errors and warnings, message cut to fit), and the totals.
std::string TabellaRiepilogoBreve(const std::vector<RigaElenco>& righe,
                                  const std::vector<EsitoRiga>& esiti);

}  // namespace fcl
