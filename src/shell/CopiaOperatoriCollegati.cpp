#include "shell/CopiaOperatoriCollegati.h"

#include "common/CodiceOperatore.h"
#include "common/Errori.h"
#include "common/RoutineCampi.h"
#include "shell/CodiciEsclusi.h"
#include "store/LettoreTabella.h"
#include "store/Recordset.h"
#include "store/Registro.h"

namespace fcl {
namespace {

Valore Rifilato(const Valore& v) { return EnNull(v) ? v : Valore(Rifila(ValoreComeTesto(v))); }

const char* const kOrigine = "Copia degli operatori dall'archivio collegato";

}  // namespace

int CopiaOperatoriCollegati(Contesto& ctx, Database& origine) {
  Database& db = ctx.Db();
  int copiati = 0;
  int falliti = 0;
  CodiciEsclusi operatoriEsclusi;
  CodiciEsclusi impegniEsclusi;
  try {
    Transazione tr(db);
    LettoreTabella fonte(origine, "COPE",
                         {"OCOD", "ORAG", "OCOG", "ONOME", "OSEX", "OPIVA", "ONDT", "ONCOM",
                          "ONPRO", "OSCOM", "OSPRO", "OSTP", "ODES"});
    // Reading the linked database past its limits (LettoreTabella) ends the whole copy, below.
    while (fonte.Avanza()) {
      try {
        // The register's own rules for a code: a row whose code it would refuse is left out.
        const std::string letto = ValoreComeTesto(fonte["OCOD"]);
        const std::string codice = NormalizzaCodice(letto);
        if (DifettoCodice(codice)) {
          operatoriEsclusi.Aggiungi(letto);
          continue;
        }
        Recordset rs = ApriOperatore(db, codice);
        if (rs.RecordCount() == 0) rs.AddNew();
        rs.Imposta("OCOD", codice);
        for (const char* nome : {"ORAG", "OCOG", "ONOME"})
          if (fonte.Ha(nome)) rs.Imposta(nome, Rifilato(fonte[nome]));
        for (const char* nome :
             {"OSEX", "OPIVA", "ONDT", "ONCOM", "ONPRO", "OSCOM", "OSPRO", "OSTP", "ODES"})
          if (fonte.Ha(nome)) rs.Imposta(nome, fonte[nome]);
        rs.Update();
        ++copiati;
      } catch (const Errore&) {
        ++falliti;
      }
    }

    EliminaImpegni(db);
    std::optional<LettoreTabella> tab;
    try {
      tab.emplace(origine, "CTAB", std::vector<std::string>{"TIPO", "COD", "DES"});
    } catch (const ErroreDatabase&) {
      // A linked database without CTAB has no commitment rows to copy.
    }
    while (tab && tab->Avanza()) {
      try {
        if (CampoTesto((*tab)["TIPO"]) != "ITT") continue;
        const std::string letto = ValoreComeTesto((*tab)["COD"]);
        const std::string codice = NormalizzaCodice(letto);
        if (DifettoCodice(codice)) {
          impegniEsclusi.Aggiungi(letto);
          continue;
        }
        SostituisciImpegno(db, codice, (*tab)["DES"]);
      } catch (const Errore&) {
        ++falliti;
      }
    }
    tr.Conferma();
  } catch (const Errore& e) {
    ctx.Ui().Avviso(std::string(kOrigine) + " non riuscita: " + e.what() +
                    " Nessun operatore è stato copiato.");
    return 0;
  }
  if (falliti > 0)
    ctx.Ui().Avviso(std::string(kOrigine) + ": " + std::to_string(falliti) +
                    (falliti == 1 ? " riga non copiata." : " righe non copiate."));
  if (operatoriEsclusi.Numero() > 0)
    ctx.Ui().Avviso(
        operatoriEsclusi.Avviso(kOrigine, "operatore non copiato", "operatori non copiati"));
  if (impegniEsclusi.Numero() > 0)
    ctx.Ui().Avviso(impegniEsclusi.Avviso(kOrigine, "riga di impegno non copiata",
                                          "righe di impegno non copiate"));
  return copiati;
}

}  // namespace fcl
