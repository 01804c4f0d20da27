// `importa operatori FILE.csv [--aggiorna]` and `esporta operatori FILE.csv`: the register from and
// to a client list, one row per operator, one column per field of the register (the guide lists
// them). The import saves each row through the register's own checks, in a transaction of its own;
// the rows refused are printed on stderr with their line and reason, and the summary on stdout.
// Exit 1 when a row was refused or the file cannot be used (nothing imported then). The export
// writes the whole register, whole or not at all, and prints how many operators it wrote.

#include <CLI/CLI.hpp>
#include <memory>
#include <string>

#include "Comandi.h"
#include "batch/ElencoOperatori.h"

namespace fcl {

void RegistraElencoOperatori(CLI::App& app, AmbienteCli& amb, CorpoComando& corpo) {
  auto* importa = SottocomandoImporta(app).add_subcommand(
      "operatori", "Carica i soggetti di un elenco CSV nell'archivio (colonne come nella guida)");
  auto file = std::make_shared<std::string>();
  auto aggiorna = std::make_shared<bool>(false);
  importa->add_option("FILE", *file, "Elenco CSV dei soggetti")->required();
  importa->add_flag("--aggiorna", *aggiorna,
                    "Aggiorna anche i soggetti già presenti (altrimenti restano come sono)");
  importa->callback([&corpo, file, aggiorna] {
    corpo = [file, aggiorna](AmbienteCli& a) {
      Contesto& ctx = a.Avvia();
      const EsitoImportaElenco e = ImportaElencoOperatori(ctx, *file, *aggiorna);
      for (const RigaRifiutata& r : e.rifiutati)
        a.err << "Riga " << r.linea << (r.codiceFiscale.empty() ? "" : " (" + r.codiceFiscale + ")")
              << ": " << r.motivo << '\n';
      a.out << "Soggetti aggiunti: " << e.aggiunti << "; aggiornati: " << e.aggiornati
            << "; già presenti lasciati invariati: " << e.invariati
            << "; righe rifiutate: " << e.rifiutati.size() << '\n';
      return e.rifiutati.empty() ? 0 : 1;
    };
  });

  CLI::App* esporta = nullptr;
  try {
    esporta = app.get_subcommand("esporta");
  } catch (const CLI::OptionNotFound&) {
    esporta = app.add_subcommand("esporta", "Scrive dati dell'archivio in un file");
    esporta->require_subcommand(1);
  }
  auto* operatori = esporta->add_subcommand(
      "operatori",
      "Scrive tutti i soggetti dell'archivio in un elenco CSV (colonne come nella guida)");
  auto uscita = std::make_shared<std::string>();
  operatori->add_option("FILE", *uscita, "Elenco CSV da scrivere")->required();
  operatori->callback([&corpo, uscita] {
    corpo = [uscita](AmbienteCli& a) {
      Contesto& ctx = a.Avvia();
      const std::size_t n = EsportaElencoOperatori(ctx, *uscita);
      a.out << "Soggetti esportati: " << n << " in " << *uscita << '\n';
      return 0;
    };
  });
  (void)amb;
}

}  // namespace fcl
