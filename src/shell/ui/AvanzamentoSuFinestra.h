#pragma once

#include <functional>
#include <string_view>

#include "common/Contesto.h"
#include "common/Interazione.h"

namespace fcl {

// Shows the progress of a core run on the window that runs it (the workbook window's row number,
// the creation window's bar) while every message, question and file dialog still goes to the
// program's own Interazione. While it lives it stands in for ctx.interazione; the destructor puts
// the previous one back. Create it on the stack around one run, after the window exists and
// before the objects that keep a reference to ctx.Ui() for the run.
class AvanzamentoSuFinestra : public Interazione {
 public:
  using Mostra =
      std::function<void(std::string_view didascalia, long long valore, long long massimo)>;

  AvanzamentoSuFinestra(Contesto& ctx, Mostra mostra);
  ~AvanzamentoSuFinestra() override;

  AvanzamentoSuFinestra(const AvanzamentoSuFinestra&) = delete;
  AvanzamentoSuFinestra& operator=(const AvanzamentoSuFinestra&) = delete;

  void Messaggio(std::string_view testo, std::string_view titolo, Icona icona) override;
  Risposta Chiedi(std::string_view testo, std::string_view titolo, Pulsanti pulsanti, Icona icona,
                  Risposta predefinita) override;
  std::optional<std::filesystem::path> ScegliFileDaAprire(
      std::string_view titolo, std::string_view filtro,
      const std::filesystem::path& cartella) override;
  std::optional<std::filesystem::path> ScegliFileDaSalvare(std::string_view titolo,
                                                           std::string_view filtro,
                                                           const std::filesystem::path& cartella,
                                                           std::string_view nomeProposto) override;
  // Shown on the window, then the window's pending events are processed so that it repaints.
  void Avanzamento(std::string_view didascalia, long long valore, long long massimo) override;
  void Avviso(std::string_view testo) override;

 private:
  Contesto& ctx_;
  Interazione* precedente_;
  Mostra mostra_;
};

}  // namespace fcl
