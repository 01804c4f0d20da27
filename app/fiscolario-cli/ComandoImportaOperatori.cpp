// `importa vela [--si]` and `importa orsa [--si]`: copy the operators of a sibling program, found
// through its link marker, into the register. The confirmation is answered Yes with --si; without
// it the question is printed on stderr and the command stops with exit 1, copying nothing. A failed
// link prints its message on stderr, exit 1. Prints what was copied.

#include <CLI/CLI.hpp>
#include <memory>

#include "Comandi.h"
#include "shell/ImportaOperatori.h"

namespace fcl {
namespace {

void RegistraUno(CLI::App& importa, const char* nome, const char* descrizione,
                 std::optional<EsitoImportazione> (*procedura)(Contesto&,
                                                               const std::function<void()>&),
                 CorpoComando& corpo) {
  auto* cmd = importa.add_subcommand(nome, descrizione);
  auto si = std::make_shared<bool>(false);
  cmd->add_flag("--si", *si, "Risponde Sì alla richiesta di conferma della copia");
  cmd->callback([&corpo, si, procedura] {
    corpo = [si, procedura](AmbienteCli& a) {
      Contesto& ctx = a.Avvia();
      a.interazione.rispostaDomande = *si ? Risposta::Si : Risposta::No;
      const auto esito = procedura(ctx, {});
      if (!esito) return 1;
      a.out << "Operatori aggiunti: " << esito->aggiunti << "; già presenti: " << esito->presenti;
      if (esito->impegni > 0) a.out << "; impegni copiati: " << esito->impegni;
      if (esito->falliti > 0) a.out << "; righe non copiate: " << esito->falliti;
      a.out << '\n';
      return esito->falliti > 0 ? 1 : 0;
    };
  });
}

}  // namespace

void RegistraImportaOperatori(CLI::App& app, AmbienteCli& amb, CorpoComando& corpo) {
  auto& importa = SottocomandoImporta(app);
  RegistraUno(importa, "vela", "Copia gli operatori di VELA non ancora presenti", OPEvela_Click,
              corpo);
  RegistraUno(importa, "orsa", "Copia gli operatori di ORSA non ancora presenti", OPEORSA_Click,
              corpo);
  (void)amb;
}

}  // namespace fcl
