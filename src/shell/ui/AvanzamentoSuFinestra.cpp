#include "shell/ui/AvanzamentoSuFinestra.h"

#include <QCoreApplication>

namespace fcl {

AvanzamentoSuFinestra::AvanzamentoSuFinestra(Contesto& ctx, Mostra mostra)
    : ctx_(ctx), precedente_(ctx.interazione), mostra_(std::move(mostra)) {
  ctx_.interazione = this;
}

AvanzamentoSuFinestra::~AvanzamentoSuFinestra() { ctx_.interazione = precedente_; }

void AvanzamentoSuFinestra::Messaggio(std::string_view testo, std::string_view titolo,
                                      Icona icona) {
  precedente_->Messaggio(testo, titolo, icona);
}

Risposta AvanzamentoSuFinestra::Chiedi(std::string_view testo, std::string_view titolo,
                                       Pulsanti pulsanti, Icona icona, Risposta predefinita) {
  return precedente_->Chiedi(testo, titolo, pulsanti, icona, predefinita);
}

std::optional<std::filesystem::path> AvanzamentoSuFinestra::ScegliFileDaAprire(
    std::string_view titolo, std::string_view filtro, const std::filesystem::path& cartella) {
  return precedente_->ScegliFileDaAprire(titolo, filtro, cartella);
}

std::optional<std::filesystem::path> AvanzamentoSuFinestra::ScegliFileDaSalvare(
    std::string_view titolo, std::string_view filtro, const std::filesystem::path& cartella,
    std::string_view nomeProposto) {
  return precedente_->ScegliFileDaSalvare(titolo, filtro, cartella, nomeProposto);
}

void AvanzamentoSuFinestra::Avanzamento(std::string_view didascalia, long long valore,
                                        long long massimo) {
  if (mostra_) mostra_(didascalia, valore, massimo);
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void AvanzamentoSuFinestra::Avviso(std::string_view testo) { precedente_->Avviso(testo); }

}  // namespace fcl
