#pragma once

#include <QElapsedTimer>
#include <QPointer>

#include <functional>
#include <string>

#include "common/Interazione.h"

class QProgressBar;
class QStatusBar;
class QWidget;

namespace fcl {

// The desktop's Interazione: modal message boxes with Italian buttons, the file dialogs, progress
// on a bar of the status line (or on a callback that a window sets while it runs a long
// operation), notices on the status line.
//
// It does not own the widgets it is given; they may go away before it does (guarded pointers).
class InterazioneQt : public Interazione {
 public:
  explicit InterazioneQt(QWidget* genitore = nullptr);

  // The window that owns the dialogs.
  void ImpostaGenitore(QWidget* genitore);
  // The status line that shows notices and the bar that shows progress when no callback is set.
  void ImpostaBarraStato(QStatusBar* barra, QProgressBar* avanzamento);

  // Set by a window that shows the progress of its own run; empty: the status line's bar.
  std::function<void(std::string_view didascalia, long long valore, long long massimo)> avanzamento;

  void Messaggio(std::string_view testo, std::string_view titolo, Icona icona) override;
  Risposta Chiedi(std::string_view testo, std::string_view titolo, Pulsanti pulsanti, Icona icona,
                  Risposta predefinita) override;
  std::optional<std::filesystem::path> ScegliCartella(std::string_view titolo,
                                                      const std::filesystem::path& cartella) override;
  std::optional<std::filesystem::path> ScegliFileDaAprire(
      std::string_view titolo, std::string_view filtro,
      const std::filesystem::path& cartella) override;
  std::optional<std::filesystem::path> ScegliFileDaSalvare(std::string_view titolo,
                                                           std::string_view filtro,
                                                           const std::filesystem::path& cartella,
                                                           std::string_view nomeProposto) override;
  void Avanzamento(std::string_view didascalia, long long valore, long long massimo) override;
  void Avviso(std::string_view testo) override;

  // "Descrizione (*.EXT)|*.EXT|Altro (*.A;*.B)|*.A;*.B" as a Qt file dialog filter, each pattern in
  // upper and lower case: "Descrizione (*.EXT *.ext);;Altro (*.A *.a *.B *.b)".
  static std::string FiltroQt(std::string_view filtro);
  // The extension of the filter's first pattern ("EXT"), proposed when the user types none.
  static std::string EstensionePredefinita(std::string_view filtro);

 private:
  QPointer<QWidget> genitore_;
  QPointer<QStatusBar> barraStato_;
  QPointer<QProgressBar> barraAvanzamento_;
  QElapsedTimer ultimoRidisegno_;
};

}  // namespace fcl
