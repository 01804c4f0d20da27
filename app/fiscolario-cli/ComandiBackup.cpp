// The backup commands of the command line: `salva CF FILE` writes the backup file of one operator,
// `ripristina FILE` restores one (with its safety copy in the program folder). Messages go to
// stderr through InterazioneCli; exit 1 when the operator is unknown, the file is not a backup file
// or a line does not fit (then nothing is changed).

#include <CLI/CLI.hpp>
#include <memory>
#include <string>

#include "Comandi.h"
#include "backup/Backup.h"
#include "common/RoutineCampi.h"

namespace fcl {

void RegistraSalva(CLI::App& app, AmbienteCli& amb, CorpoComando& corpo) {
  auto* cmd = app.add_subcommand("salva", "Salva i dati di un operatore in un file di backUp");
  auto codice = std::make_shared<std::string>();
  auto file = std::make_shared<std::string>();
  cmd->add_option("CF", *codice, "Codice fiscale dell'operatore")->required();
  cmd->add_option("FILE", *file, "File di backUp da scrivere (.FCL)")->required();
  cmd->callback([&corpo, codice, file] {
    corpo = [codice, file](AmbienteCli& a) {
      Contesto& ctx = a.Avvia();
      return SalvaOperatore(ctx, Rifila(*codice), *file) ? 0 : 1;
    };
  });
  (void)amb;
}

void RegistraRipristina(CLI::App& app, AmbienteCli& amb, CorpoComando& corpo) {
  auto* cmd = app.add_subcommand("ripristina", "Ripristina un operatore da un file di backUp");
  auto file = std::make_shared<std::string>();
  cmd->add_option("FILE", *file, "File di backUp da ripristinare (.FCL)")->required();
  cmd->callback([&corpo, file] {
    corpo = [file](AmbienteCli& a) {
      Contesto& ctx = a.Avvia();
      return RipristinaBackup(ctx, *file) ? 0 : 1;
    };
  });
  (void)amb;
}

}  // namespace fcl
