#pragma once

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <string_view>

namespace fcl {

struct Contesto;

// Runs one long core procedure (the workbook run, the creation) on a thread of its own, so that
// the window that started it stays live: it repaints, it can be moved, and its "Interrompi"
// button works. For the length of the run it stands in for ctx.interazione and
// ctx.apriDocumento: messages, questions and file dialogs are shown by the program's own
// Interazione on the window's thread while the procedure waits for the answer, documents are
// opened from there too, progress reaches the window as its latest value (as often as the window
// can take it), and Interrompi() is what the procedure reads at its safe points
// (Interazione::InterruzioneRichiesta).
//
// The procedure owns ctx while it runs: the window must not touch it until Esegui returns (a
// modal window that refuses to close during the run does that).
class CorsaSeparata {
 public:
  using Mostra =
      std::function<void(std::string_view didascalia, long long valore, long long massimo)>;

  // `mostra` shows progress on the window; empty: the program's own Interazione shows it.
  CorsaSeparata(Contesto& ctx, Mostra mostra);
  ~CorsaSeparata();

  CorsaSeparata(const CorsaSeparata&) = delete;
  CorsaSeparata& operator=(const CorsaSeparata&) = delete;

  // Runs `lavoro` on its own thread and returns when it has ended, handling the program's events
  // meanwhile; the last progress it reported has been shown by then. An exception that leaves
  // `lavoro` is thrown again here. Called again during a run, it does nothing.
  void Esegui(const std::function<void()>& lavoro);

  // Asks the running procedure to stop at its next safe point (nothing when no run is going on).
  void Interrompi();

  bool InCorso() const { return inCorso_; }
  bool InterruzioneRichiesta() const { return interruzione_.load(); }

 private:
  class Ponte;

  Contesto& ctx_;
  Mostra mostra_;
  std::atomic<bool> interruzione_{false};
  bool inCorso_ = false;
  std::unique_ptr<QObject> ricevente_;  // lives on the window's thread: the calls are queued to it
};

}  // namespace fcl
