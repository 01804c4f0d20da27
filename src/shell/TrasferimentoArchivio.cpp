#include "shell/TrasferimentoArchivio.h"

#include <optional>

#include "common/Errori.h"
#include "shell/Avvio.h"
#include "shell/LeggiIni.h"
#include "store/Database.h"

namespace fcl {

EsitoTrasferimento TrasferisciArchivioSulServer(Contesto& ctx, const std::string& connessione) {
  Contesto locale = ctx;
  locale.fileIni = ctx.cartellaProgramma / "configurazione.ini";
  locale.configurazione = LeggiConfigurazione(locale.fileIni, ctx.cartellaProgramma);
  const std::string destinazione =
      connessione.empty() ? ConnessioneServer(locale.configurazione) : connessione;
  if (connessione.empty() && !ArchivioSulServer(locale.configurazione))
    throw ErroreDatabase(
        "Nessun server indicato: scrivere in configurazione.ini, sezione [opzioni], TipoDb=P e la "
        "connessione (Server_Connessione, oppure Server_Nome e Server_Utente), o indicarla al "
        "comando. Nulla è stato scritto.");
  Database server = Database::Server(destinazione);
  PreparaArchivioServer(server);
  // The embedded register, opened as the start opens it (the configuration's server aside).
  locale.configurazione.tipoDb.clear();
  std::optional<Database> origine;
  ConnessioneDb(locale, origine);
  return {server.Descrizione(), TrasferisciArchivio(*origine, server)};
}

std::string RiepilogoTrasferimento(const EsitoTrasferimento& esito) {
  std::string testo = "Archivio trasferito nel " + esito.server + ":";
  for (const auto& t : esito.tabelle)
    testo +=
        "\n  " + t.tabella + ": " + std::to_string(t.righe) + (t.righe == 1 ? " riga" : " righe");
  return testo + "\nI conteggi sul server corrispondono a quelli dell'archivio locale.";
}

}  // namespace fcl
