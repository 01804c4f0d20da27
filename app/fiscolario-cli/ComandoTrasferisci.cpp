#include <CLI/CLI.hpp>
#include <memory>
#include <string>

#include "Comandi.h"
#include "shell/TrasferimentoArchivio.h"
#include "store/Database.h"

namespace fcl {

void RegistraTrasferisci(CLI::App& app, AmbienteCli& amb, CorpoComando& corpo) {
  auto* cmd = app.add_subcommand(
      "trasferisci-archivio",
      "Copia l'archivio locale della cartella del programma in un database PostgreSQL vuoto");
  auto connessione = std::make_shared<std::string>();
  cmd->add_option("--connessione", *connessione,
                  "Stringa di connessione libpq del server (predefinita: quella di "
                  "configurazione.ini)");
  cmd->callback([&corpo, connessione] {
    corpo = [connessione](AmbienteCli& a) {
      Contesto& ctx = a.SenzaAvvio();
      a.out << RiepilogoTrasferimento(TrasferisciArchivioSulServer(ctx, *connessione)) << '\n';
      return 0;
    };
  });
  (void)amb;
}

}  // namespace fcl
