#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "common/Interazione.h"

namespace fcl {

// The command line's Interazione: messages and notices go to stderr, questions are answered with
// the answer the command's flags chose (No unless told otherwise), file dialogs take the paths the
// command queued from its arguments. Progress is shown on stderr only when it is a terminal.
class InterazioneCli : public Interazione {
 public:
  explicit InterazioneCli(std::ostream& err, bool terminale = false)
      : err_(err), terminale_(terminale) {}

  Risposta rispostaDomande = Risposta::No;
  std::deque<std::optional<std::filesystem::path>> file;
  // Set when a question was answered No: the command reports it as a failure.
  bool domandaRifiutata = false;
  // While set, the progress line also shows the pages written so far (the check listing's).
  std::function<long()> pagine;

  // Shows the pages of `conta` on the progress line for its own lifetime.
  class PagineInVista {
   public:
    PagineInVista(InterazioneCli& cli, std::function<long()> conta) : cli_(cli) {
      cli_.pagine = std::move(conta);
    }
    ~PagineInVista() { cli_.pagine = nullptr; }
    PagineInVista(const PagineInVista&) = delete;
    PagineInVista& operator=(const PagineInVista&) = delete;

   private:
    InterazioneCli& cli_;
  };

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
  void Avanzamento(std::string_view didascalia, long long valore, long long massimo) override;
  void Avviso(std::string_view testo) override;

  // Ends a progress line left on the terminal.
  void ChiudiAvanzamento();

 private:
  std::ostream& err_;
  bool terminale_;
  bool rigaAvanzamento_ = false;
  long long ultimoValore_ = -1;
  std::string didascalia_;
};

}  // namespace fcl
