// `importa ateco FILE`: loads the ATECO 2007 classification into the database from a workbook
// (first sheet) or a CSV file with a code and a description column (as ISTAT publishes it),
// replacing the table's content in one transaction. Prints the number of codes loaded; exit 1 with
// the reason on stderr for a file that cannot be read or holds no recognisable table of codes (the
// table is then left as it was). `importa` is shared with the operator imports (vela, orsa), which
// hang under it the same way.

#include <CLI/CLI.hpp>
#include <memory>
#include <string>

#include "Comandi.h"
#include "shell/TabellaAteco.h"

namespace fcl {

CLI::App& SottocomandoImporta(CLI::App& app) {
  try {
    return *app.get_subcommand("importa");
  } catch (const CLI::OptionNotFound&) {
    auto* cmd = app.add_subcommand("importa", "Carica dati da altri archivi o file");
    cmd->require_subcommand(1);
    return *cmd;
  }
}

void RegistraImportaAteco(CLI::App& app, AmbienteCli& amb, CorpoComando& corpo) {
  auto* cmd = SottocomandoImporta(app).add_subcommand(
      "ateco",
      "Carica la tabella ATECO 2007 da un file CSV o da una cartella di lavoro con le colonne "
      "codice e descrizione");
  auto file = std::make_shared<std::string>();
  cmd->add_option("FILE", *file,
                  "File della classificazione ATECO 2007 (ISTAT): .csv, .xls, .xlsx, .ods")
      ->required();
  cmd->callback([&corpo, file] {
    corpo = [file](AmbienteCli& a) {
      Contesto& ctx = a.Avvia();
      const std::size_t n = CaricaTabellaAteco(ctx.Db(), *file);
      a.out << "Caricati " << n << " codici ATECO 2007 da " << *file << '\n';
      return 0;
    };
  });
  (void)amb;
}

}  // namespace fcl
