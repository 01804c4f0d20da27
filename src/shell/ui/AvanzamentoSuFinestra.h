#pragma once

#include <functional>
#include <string_view>

#include "common/InterazioneSostitutiva.h"

namespace fcl {

// Shows the progress of a core run on the window that runs it (the workbook window's row number,
// the creation window's bar) while every message, question and file dialog still goes to the
// program's own Interazione, for as long as it stands in for ctx.interazione. Create it on the
// stack around one run, after the window exists.
class AvanzamentoSuFinestra : public InterazioneSostitutiva {
 public:
  using Mostra =
      std::function<void(std::string_view didascalia, long long valore, long long massimo)>;

  AvanzamentoSuFinestra(Contesto& ctx, Mostra mostra);

  // Shown on the window, then the window's pending events are processed so that it repaints.
  void Avanzamento(std::string_view didascalia, long long valore, long long massimo) override;

 private:
  Mostra mostra_;
};

}  // namespace fcl
