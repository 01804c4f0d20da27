#include "shell/ImportaOperatori.h"

#include <string>

#include "common/Errori.h"
#include "common/RoutineCampi.h"
#include "shell/ArchivioCollegato.h"
#include "shell/Marcatori.h"
#include "store/Recordset.h"

namespace fcl {
namespace {

constexpr std::string_view kTitoloCopia = "Copia Operatori";

Valore Rifilato(const Valore& v) { return EnNull(v) ? v : Valore(Rifila(ValoreComeTesto(v))); }

bool Presente(Database& db, const std::string& codice) {
  Recordset rs(db, "SELECT * From COPE where OCOD=?", {codice}, Recordset::Modo::SolaLettura);
  return rs.RecordCount() > 0;
}

// Tells the user of the source rows that could not be copied; the rows stored stay stored.
void AvvisaFalliti(Contesto& ctx, std::string_view programma, int falliti) {
  if (falliti == 0) return;
  ctx.Ui().Avviso("Copia degli operatori da " + std::string(programma) + ": " +
                  std::to_string(falliti) +
                  (falliti == 1 ? " riga non copiata." : " righe non copiate."));
}

// Replaces this system's commitment rows with VELA's, code by code. A VELA database without CTAB
// (or without one of its columns) has no commitment rows to give.
void CopiaImpegni(Database& db, Database& origine, EsitoImportazione& esito) {
  std::optional<Recordset> tab;
  try {
    tab.emplace(origine, "SELECT * From CTAB ", std::vector<Valore>{},
                Recordset::Modo::SolaLettura);
  } catch (const Errore&) {
    ++esito.falliti;
    return;
  }
  for (; !tab->Eof(); tab->MoveNext()) {
    try {
      if (CampoTesto((*tab)["TIPO"]) != "ITT") continue;
      const std::string codice = CampoTesto((*tab)["COD"]);
      const Valore des = (*tab)["DES"];
      Transazione tr(db);
      db.Esegui("DELETE FROM CTAB WHERE TIPO='ITT' AND COD=?", {codice});
      db.Esegui("INSERT INTO CTAB (TIPO, COD, DES) VALUES (?, ?, ?)",
                {std::string("ITT"), codice, des});
      tr.Conferma();
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
  EsitoImportazione esito;
  std::optional<Recordset> fonte;
  try {
    fonte.emplace(origine, "SELECT * From COPE ", std::vector<Valore>{},
                  Recordset::Modo::SolaLettura);
  } catch (const Errore&) {
    ++esito.falliti;
  }
  for (; fonte && !fonte->Eof(); fonte->MoveNext()) {
    try {
      const std::string codice = CampoTesto((*fonte)["OCOD"]);
      if (codice.empty()) continue;  // a row without a code is no operator
      if (Presente(db, codice)) {
        ++esito.presenti;
        continue;
      }
      // Every value is read before anything is stored, so a missing column adds no partial row.
      std::vector<std::pair<const char*, Valore>> campi;
      for (const char* nome : {"ORAG", "OCOG", "ONOME"})
        campi.emplace_back(nome, Rifilato((*fonte)[nome]));
      for (const char* nome : {"OSEX", "ONDT", "ONCOM", "ONPRO", "OSCOM", "OSPRO", "OSTP", "ODES"})
        campi.emplace_back(nome, (*fonte)[nome]);
      Recordset rs(db, "SELECT * From COPE where OCOD=?", {codice});
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
  CopiaImpegni(db, origine, esito);
  AvvisaFalliti(ctx, "VELA", esito.falliti);
  if (ricaricaLista) ricaricaLista();
  return esito;
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
  EsitoImportazione esito;
  std::optional<Recordset> fonte;
  try {
    fonte.emplace(collegato->connessione, "SELECT * From OPE ", std::vector<Valore>{},
                  Recordset::Modo::SolaLettura);
  } catch (const Errore&) {
    ++esito.falliti;
  }
  for (; fonte && !fonte->Eof(); fonte->MoveNext()) {
    try {
      const std::string codice = CampoTesto((*fonte)["OCF"]);
      if (codice.empty()) continue;
      if (Presente(db, codice)) {
        ++esito.presenti;
        continue;
      }
      const Valore ragione = (*fonte)["ORAG"];
      const std::string partitaIva = CampoTesto((*fonte)["OPIVA"]);
      const Valore localita = (*fonte)["OLOCA"];
      const Valore provincia = (*fonte)["OPR"];
      Recordset rs(db, "SELECT * From COPE where OCOD=?", {codice});
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
  AvvisaFalliti(ctx, "ORSA", esito.falliti);
  if (ricaricaLista) ricaricaLista();
  return esito;
}

}  // namespace fcl
