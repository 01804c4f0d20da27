#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "common/Contesto.h"
#include "common/Interazione.h"

namespace fcl {

// Stands in for ctx.interazione while it lives (the destructor puts the previous one back) and
// passes every call on to the previous one; a derived class changes only the calls it needs to,
// for one run (progress shown on a window, one question answered by a command's flag). Create it
// on the stack before the objects that keep a reference to ctx.Ui() for the run.
class InterazioneSostitutiva : public Interazione {
 public:
  explicit InterazioneSostitutiva(Contesto& ctx) : ctx_(ctx), precedente_(*ctx.interazione) {
    ctx_.interazione = this;
  }
  ~InterazioneSostitutiva() override { ctx_.interazione = &precedente_; }

  InterazioneSostitutiva(const InterazioneSostitutiva&) = delete;
  InterazioneSostitutiva& operator=(const InterazioneSostitutiva&) = delete;

  void Messaggio(std::string_view testo, std::string_view titolo, Icona icona) override {
    precedente_.Messaggio(testo, titolo, icona);
  }
  Risposta Chiedi(std::string_view testo, std::string_view titolo, Pulsanti pulsanti, Icona icona,
                  Risposta predefinita) override {
    return precedente_.Chiedi(testo, titolo, pulsanti, icona, predefinita);
  }
  std::optional<std::filesystem::path> ScegliFileDaAprire(
      std::string_view titolo, std::string_view filtro,
      const std::filesystem::path& cartella) override {
    return precedente_.ScegliFileDaAprire(titolo, filtro, cartella);
  }
  std::optional<std::filesystem::path> ScegliCartella(std::string_view titolo,
                                                      const std::filesystem::path& cartella) override {
    return precedente_.ScegliCartella(titolo, cartella);
  }
  std::optional<std::filesystem::path> ScegliFileDaSalvare(std::string_view titolo,
                                                           std::string_view filtro,
                                                           const std::filesystem::path& cartella,
                                                           std::string_view nomeProposto) override {
    return precedente_.ScegliFileDaSalvare(titolo, filtro, cartella, nomeProposto);
  }
  void Avanzamento(std::string_view didascalia, long long valore, long long massimo) override {
    precedente_.Avanzamento(didascalia, valore, massimo);
  }
  void Avviso(std::string_view testo) override { precedente_.Avviso(testo); }
  bool InterruzioneRichiesta() const override { return precedente_.InterruzioneRichiesta(); }

 protected:
  Interazione& Precedente() const { return precedente_; }

 private:
  Contesto& ctx_;
  Interazione& precedente_;
};

}  // namespace fcl
