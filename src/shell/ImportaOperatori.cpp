#include "shell/ImportaOperatori.h"

#include <string>

#include "common/CodiceOperatore.h"
#include "common/Errori.h"
#include "common/RoutineCampi.h"
#include "shell/ArchivioCollegato.h"
#include "shell/CodiciEsclusi.h"
#include "shell/Marcatori.h"
#include "store/LettoreTabella.h"
#include "store/Recordset.h"
#include "store/Registro.h"

namespace fcl {
namespace {

constexpr std::string_view kTitoloCopia = "Copia Operatori";

Valore Rifilato(const Valore& v) { return EnNull(v) ? v : Valore(Rifila(ValoreComeTesto(v))); }

// Tells the user of the source rows that could not be copied, or were left out for their code;
// the rows stored stay stored.
void AvvisaFalliti(Contesto& ctx, std::string_view programma, const EsitoImportazione& esito,
                   const CodiciEsclusi& esclusi) {
  const std::string origine = "Copia degli operatori da " + std::string(programma);
  if (esito.falliti > 0)
    ctx.Ui().Avviso(origine + ": " + std::to_string(esito.falliti) +
                    (esito.falliti == 1 ? " riga non copiata." : " righe non copiate."));
  if (esclusi.Numero() > 0)
    ctx.Ui().Avviso(esclusi.Avviso(origine, "riga non copiata", "righe non copiate"));
}

// A row's changes inside the import's transaction: all of them or none.
using PuntoRiga = PuntoDiRipristino;

// Replaces this system's commitment rows with VELA's, code by code. A VELA database without CTAB
// (or without one of its columns) has no commitment rows to give.
void CopiaImpegni(Database& db, Database& origine, EsitoImportazione& esito,
                  CodiciEsclusi& esclusi) {
  std::optional<LettoreTabella> tab;
  try {
    tab.emplace(origine, "CTAB", std::vector<std::string>{"TIPO", "COD", "DES"});
  } catch (const ErroreDatabase&) {
    ++esito.falliti;
    return;
  }
  while (tab->Avanza()) {
    try {
      if (CampoTesto((*tab)["TIPO"]) != "ITT") continue;
      const std::string letto = ValoreComeTesto((*tab)["COD"]);
      const std::string codice = NormalizzaCodice(letto);
      if (DifettoCodice(codice)) {
        esclusi.Aggiungi(letto);
        continue;
      }
      const Valore des = (*tab)["DES"];
      PuntoRiga punto(db);
      SostituisciImpegno(db, codice, des);
      punto.Conferma();
      ++esito.impegni;
    } catch (const Errore&) {
      ++esito.falliti;
    }
  }
}

// What the user reads when the link failed. Without a marker the sibling program has never
// written one: it is not the version linked with this program. Otherwise the marker or its
// database is what is wrong; starting the sibling program writes its marker again.
std::string MessaggioCollegamento(const std::string& programma, const std::string& motivo) {
  if (motivo.empty())
    return "Il programma " + programma +
           " non è aggiornato alla versione collegata con FISCOLARIO. Aggiornare " + programma +
           " e riprovare";
  return "Impossibile collegarsi al programma " + programma + ". " + motivo + "\r\n \r\nAvviare " +
         programma + " (che all'avvio riscrive il proprio marcatore di collegamento) e riprovare.";
}

// Runs one import in a transaction: a row that fails is skipped and counted, while a linked table
// read past its limits (LettoreTabella) copies nothing and tells why.
template <typename F>
std::optional<EsitoImportazione> Importa(Contesto& ctx, std::string_view programma, F copia,
                                         const std::function<void()>& ricaricaLista) {
  EsitoImportazione esito;
  CodiciEsclusi esclusi;
  try {
    Transazione tr(ctx.Db());
    copia(esito, esclusi);
    tr.Conferma();
  } catch (const Errore& e) {
    ctx.Ui().Avviso("Copia degli operatori da " + std::string(programma) +
                    " non riuscita: " + e.what() + " Nessun operatore è stato copiato.");
    if (ricaricaLista) ricaricaLista();
    return std::nullopt;
  }
  esito.esclusi = static_cast<int>(esclusi.Numero());
  AvvisaFalliti(ctx, programma, esito, esclusi);
  if (ricaricaLista) ricaricaLista();
  return esito;
}

}  // namespace

std::optional<EsitoImportazione> OPEvela_Click(Contesto& ctx,
                                               const std::function<void()>& ricaricaLista) {
  std::string motivo;
  auto collegato = ApriArchivioCollegato(ctx, kMarcatoreVela, &motivo);
  if (!collegato) {
    if (!ctx.importSilenzioso)
      ctx.Ui().Messaggio(MessaggioCollegamento("VELA", motivo), "Collegamento a VELA",
                         Icona::Informazione);
    return std::nullopt;
  }
  if (ctx.Ui().Chiedi("Questa procedura copia gli OPERATORI di VELA (se non già presenti) in "
                      "FISCOLARIO. Confermi la copia?",
                      kTitoloCopia, Pulsanti::SiNo, Icona::Informazione,
                      Risposta::Si) != Risposta::Si)
    return std::nullopt;

  Database& db = ctx.Db();
  Database& origine = collegato->connessione;
  return Importa(
      ctx, "VELA",
      [&](EsitoImportazione& esito, CodiciEsclusi& esclusi) {
        // Without a real COPE table there is nothing to copy: said as the reason.
        std::optional<LettoreTabella> fonte;
        fonte.emplace(origine, "COPE",
                      std::vector<std::string>{"OCOD", "ORAG", "OCOG", "ONOME", "OSEX", "ONDT",
                                               "ONCOM", "ONPRO", "OSCOM", "OSPRO", "OSTP", "ODES"});
        while (fonte->Avanza()) {
          try {
            // The register's own rules for a code: a row whose code it would refuse is left out.
            const std::string letto = ValoreComeTesto((*fonte)["OCOD"]);
            const std::string codice = NormalizzaCodice(letto);
            if (DifettoCodice(codice)) {
              esclusi.Aggiungi(letto);
              continue;
            }
            if (OperatorePresente(db, codice)) {
              ++esito.presenti;
              continue;
            }
            // Every value is read before anything is stored, so a missing column adds no
            // partial row.
            std::vector<std::pair<const char*, Valore>> campi;
            for (const char* nome : {"ORAG", "OCOG", "ONOME"})
              campi.emplace_back(nome, Rifilato((*fonte)[nome]));
            for (const char* nome :
                 {"OSEX", "ONDT", "ONCOM", "ONPRO", "OSCOM", "OSPRO", "OSTP", "ODES"})
              campi.emplace_back(nome, (*fonte)[nome]);
            Recordset rs = ApriOperatore(db, codice);
            rs.AddNew();
            rs.Imposta("OCOD", codice);
            rs.Imposta("OPIVA", codice.size() == 11 ? codice : std::string());
            for (auto& [nome, valore] : campi) rs.Imposta(nome, std::move(valore));
            rs.Update();
            ++esito.aggiunti;
          } catch (const Errore&) {
            ++esito.falliti;
          }
        }
        fonte.reset();
        CopiaImpegni(db, origine, esito, esclusi);
      },
      ricaricaLista);
}

std::optional<EsitoImportazione> OPEORSA_Click(Contesto& ctx,
                                               const std::function<void()>& ricaricaLista) {
  std::string motivo;
  auto collegato = ApriArchivioCollegato(ctx, kMarcatoreOrsa, &motivo);
  if (!collegato) {
    ctx.Ui().Messaggio(MessaggioCollegamento("ORSA", motivo), "Collegamento a ORSA",
                       Icona::Informazione);
    return std::nullopt;
  }
  if (ctx.Ui().Chiedi("Questa procedura copia gli OPERATORI di ORSA (se il codice non è già "
                      "presente) in FISCOLARIO. Confermi la copia?",
                      kTitoloCopia, Pulsanti::SiNo, Icona::Informazione,
                      Risposta::Si) != Risposta::Si)
    return std::nullopt;

  Database& db = ctx.Db();
  return Importa(
      ctx, "ORSA",
      [&](EsitoImportazione& esito, CodiciEsclusi& esclusi) {
        LettoreTabella fonte(collegato->connessione, "OPE",
                             {"OCF", "ORAG", "OPIVA", "OLOCA", "OPR"});
        while (fonte.Avanza()) {
          try {
            const std::string letto = ValoreComeTesto(fonte["OCF"]);
            const std::string codice = NormalizzaCodice(letto);
            if (DifettoCodice(codice)) {
              esclusi.Aggiungi(letto);
              continue;
            }
            if (OperatorePresente(db, codice)) {
              ++esito.presenti;
              continue;
            }
            const Valore ragione = fonte["ORAG"];
            const std::string partitaIva = CampoTesto(fonte["OPIVA"]);
            const Valore localita = fonte["OLOCA"];
            const Valore provincia = fonte["OPR"];
            Recordset rs = ApriOperatore(db, codice);
            rs.AddNew();
            rs.Imposta("OCOD", codice);
            rs.Imposta("ORAG", ragione);
            rs.Imposta("OCOG", std::string());
            rs.Imposta("ONOME", std::string());
            if (!partitaIva.empty()) rs.Imposta("OPIVA", partitaIva);
            rs.Imposta("ONDT", Data{});  // no birth date: date zero
            rs.Imposta("OSCOM", localita);
            rs.Imposta("OSPRO", provincia);
            rs.Imposta("ONCOM", std::string());
            rs.Imposta("ONPRO", std::string());
            rs.Imposta("ODES", ragione);
            rs.Update();
            ++esito.aggiunti;
          } catch (const Errore&) {
            ++esito.falliti;
          }
        }
      },
      ricaricaLista);
}

}  // namespace fcl
