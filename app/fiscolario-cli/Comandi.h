#pragma once

#include <filesystem>
#include <iosfwd>
#include <memory>
#include <optional>

#include "InterazioneCli.h"
#include "common/Contesto.h"
#include "store/Database.h"

namespace CLI {
class App;
}

namespace fcl {

// What every command of the command line shares: the program folder chosen by --cartella, the
// context started lazily (start-up runs only when a command needs the database), the output streams.
class AmbienteCli {
 public:
  AmbienteCli(std::ostream& out, std::ostream& err, std::filesystem::path cartellaEseguibile);

  // Runs the start-up sequence once and returns the context.
  Contesto& Avvia();
  // The context with its program folder and interaction, without the start-up (no database).
  Contesto& SenzaAvvio();

  std::ostream& out;
  std::ostream& err;
  std::optional<std::filesystem::path> cartella;
  InterazioneCli interazione;

 private:
  std::filesystem::path cartellaEseguibile_;
  Contesto ctx_;
  std::optional<Database> db_;
  bool avviato_ = false;
  class OpenerCli;
  std::unique_ptr<ApriDocumento> opener_;
};

// A command's body: returns the exit code (0 done, 1 user or data error).
using CorpoComando = std::function<int(AmbienteCli&)>;

// Each command registers itself on the parser and sets `corpo` to what it runs when chosen.
void RegistraOperatori(CLI::App& app, AmbienteCli& amb, CorpoComando& corpo);
void RegistraImportaAteco(CLI::App& app, AmbienteCli& amb, CorpoComando& corpo);
void RegistraImportaOperatori(CLI::App& app, AmbienteCli& amb, CorpoComando& corpo);
// The `importa` command, made by the first of its subcommands (ateco, vela, orsa) that registers.
CLI::App& SottocomandoImporta(CLI::App& app);
void RegistraSalva(CLI::App& app, AmbienteCli& amb, CorpoComando& corpo);
void RegistraRipristina(CLI::App& app, AmbienteCli& amb, CorpoComando& corpo);
void RegistraElabora(CLI::App& app, AmbienteCli& amb, CorpoComando& corpo);
void RegistraVerifica(CLI::App& app, AmbienteCli& amb, CorpoComando& corpo);
void RegistraCrea(CLI::App& app, AmbienteCli& amb, CorpoComando& corpo);
void RegistraFatture(CLI::App& app, AmbienteCli& amb, CorpoComando& corpo);
void RegistraLotto(CLI::App& app, AmbienteCli& amb, CorpoComando& corpo);
void RegistraElencoOperatori(CLI::App& app, AmbienteCli& amb, CorpoComando& corpo);
void RegistraTrasferisci(CLI::App& app, AmbienteCli& amb, CorpoComando& corpo);

// Runs the command line in-process (the executable's main and the tests call it).
int EseguiCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
              const std::filesystem::path& cartellaEseguibile);

}  // namespace fcl
