#include "shell/ui/AvanzamentoSuFinestra.h"

#include <QCoreApplication>

namespace fcl {

AvanzamentoSuFinestra::AvanzamentoSuFinestra(Contesto& ctx, Mostra mostra)
    : InterazioneSostitutiva(ctx), mostra_(std::move(mostra)) {}

void AvanzamentoSuFinestra::Avanzamento(std::string_view didascalia, long long valore,
                                        long long massimo) {
  if (mostra_) mostra_(didascalia, valore, massimo);
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace fcl
