#include "Comandi.h"

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <functional>
#include <iostream>

#include "common/ErroreSistema.h"
#include "common/Errori.h"
#include "common/RoutineCampi.h"
#include "shell/Avvio.h"
#include "store/Consultazioni.h"
#include "store/Recordset.h"

namespace fcl {

class AmbienteCli::OpenerCli : public ApriDocumento {
 public:
  explicit OpenerCli(std::ostream& out) : out_(out) {}
  void Apri(const std::filesystem::path& percorso) override { out_ << percorso.string() << '\n'; }

 private:
  std::ostream& out_;
};

AmbienteCli::AmbienteCli(std::ostream& o, std::ostream& e, std::filesystem::path cartellaEseguibile)
    : out(o),
      err(e),
      interazione(e, &e == &std::cerr && ::isatty(STDERR_FILENO) != 0),
      cartellaEseguibile_(std::move(cartellaEseguibile)),
      opener_(std::make_unique<OpenerCli>(o)) {}

Contesto& AmbienteCli::SenzaAvvio() {
  if (ctx_.interazione == nullptr) {
    ctx_.cartellaProgramma = RisolviCartellaProgramma(cartella, cartellaEseguibile_);
    ctx_.interazione = &interazione;
    ctx_.apriDocumento = opener_.get();
  }
  return ctx_;
}

Contesto& AmbienteCli::Avvia() {
  if (!avviato_) {
    SenzaAvvio();
    fcl::Avvia(ctx_, db_);
    avviato_ = true;
  }
  return ctx_;
}

void RegistraOperatori(CLI::App& app, AmbienteCli& amb, CorpoComando& corpo) {
  auto* cmd = app.add_subcommand("operatori", "Elenca gli operatori: codice fiscale, partita IVA, nome");
  cmd->callback([&amb, &corpo] {
    corpo = [](AmbienteCli& a) {
      Contesto& ctx = a.Avvia();
      Recordset rs(ctx.Db(), kElencoSoggetti, {}, Recordset::Modo::SolaLettura);
      for (; !rs.Eof(); rs.MoveNext())
        a.out << CampoTesto(rs[0]) << '\t' << CampoTesto(rs[1]) << '\t' << CampoTesto(rs[2]) << '\n';
      return 0;
    };
    (void)amb;
  });
}

int EseguiCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
              const std::filesystem::path& cartellaEseguibile) {
  AmbienteCli amb(out, err, cartellaEseguibile);
  CLI::App app{"Fiscolario - comunicazione polivalente", "fiscolario-cli"};
  app.require_subcommand(1);
  std::string cartella;
  app.add_option("--cartella", cartella, "Cartella del programma (dati, modelli, database)");

  CorpoComando corpo;
  using Registrazione = void (*)(CLI::App&, AmbienteCli&, CorpoComando&);
  static constexpr Registrazione kComandi[] = {
      RegistraOperatori,
      RegistraImportaAteco,
      RegistraImportaOperatori,
      RegistraElabora,
      RegistraSalva,
      RegistraRipristina,
      RegistraVerifica,
      RegistraCrea,
      RegistraFatture,
      RegistraLotto,
      RegistraElencoOperatori,
      RegistraTrasferisci,
  };
  for (const auto registra : kComandi) registra(app, amb, corpo);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e, out, err) == 0 ? 0 : 2;
  }
  if (!cartella.empty()) amb.cartella = cartella;
  if (!corpo) return 2;
  try {
    const int rc = corpo(amb);
    amb.interazione.ChiudiAvanzamento();
    return rc;
  } catch (const Errore& e) {
    amb.interazione.ChiudiAvanzamento();
    err << e.what() << '\n';
    return 1;
  } catch (const std::exception& e) {
    amb.interazione.ChiudiAvanzamento();
    err << "ERRORE - " << fcl::TestoPerUtente(e) << '\n';
    return 1;
  }
}

}  // namespace fcl
