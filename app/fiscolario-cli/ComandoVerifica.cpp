// `verifica FILE.TXT [--limite N] [--rapporto]`: checks a communication file against the published
// record layout and prints one line per finding and the summary ("N errori, M avvertimenti") on
// stdout; with --rapporto it also writes the report beside the file (NAME_VERIFICA.TXT). Exit 1
// when the file has at least one error, or cannot be read (the reason on stderr); 0 otherwise. The
// check needs neither the database nor the program folder, so the start-up is not run.

#include <CLI/CLI.hpp>
#include <filesystem>
#include <memory>
#include <string>

#include "Comandi.h"
#include "verifica/RapportoVerifica.h"
#include "verifica/VerificaComunicazione.h"

namespace fcl {

void RegistraVerifica(CLI::App& app, AmbienteCli& amb, CorpoComando& corpo) {
  auto* cmd = app.add_subcommand(
      "verifica", "Controlla un file di comunicazione secondo il tracciato pubblicato");
  auto file = std::make_shared<std::string>();
  auto limite = std::make_shared<std::size_t>(kLimiteRilievi);
  auto rapporto = std::make_shared<bool>(false);
  cmd->add_option("FILE", *file, "File della comunicazione (.TXT)")->required();
  cmd->add_option("--limite", *limite, "Numero massimo di rilievi elencati (0: tutti)");
  cmd->add_flag("--rapporto", *rapporto,
                "Scrive anche il rapporto accanto al file (NOME_VERIFICA.TXT)");
  cmd->callback([&corpo, file, limite, rapporto] {
    corpo = [file, limite, rapporto](AmbienteCli& a) {
      const std::filesystem::path percorso(*file);
      const EsitoVerifica esito = VerificaComunicazione(percorso, *limite);
      a.out << TestoRapportoVerifica(esito, percorso);
      if (*rapporto)
        a.out << "Rapporto: " << ScriviRapportoVerifica(esito, percorso).string() << '\n';
      return esito.errori > 0 ? 1 : 0;
    };
  });
  (void)amb;
}

}  // namespace fcl
