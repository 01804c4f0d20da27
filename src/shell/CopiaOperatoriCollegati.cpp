#include "shell/CopiaOperatoriCollegati.h"

#include "common/Errori.h"
#include "common/RoutineCampi.h"
#include "store/Recordset.h"

namespace fcl {
namespace {

// The source value of a field, or nullopt when the source has no such column.
std::optional<Valore> Campo(const Recordset& rs, std::string_view nome) {
  const auto i = rs.Indice(nome);
  if (!i) return std::nullopt;
  return rs[*i];
}

Valore Rifilato(const Valore& v) { return EnNull(v) ? v : Valore(Rifila(ValoreComeTesto(v))); }

}  // namespace

int CopiaOperatoriCollegati(Contesto& ctx, Database& origine) {
  Database& db = ctx.Db();
  int copiati = 0;
  int falliti = 0;
  try {
    Transazione tr(db);
    Recordset fonte(origine, "SELECT * From COPE ", {}, Recordset::Modo::SolaLettura);
    for (; !fonte.Eof(); fonte.MoveNext()) {
      try {
        const std::string codice = CampoTesto(fonte["OCOD"]);
        if (codice.empty()) continue;
        Recordset rs(db, "SELECT * From COPE where OCOD=?", {codice});
        if (rs.RecordCount() == 0) rs.AddNew();
        rs.Imposta("OCOD", codice);
        for (const char* nome : {"ORAG", "OCOG", "ONOME"})
          if (auto v = Campo(fonte, nome)) rs.Imposta(nome, Rifilato(*v));
        for (const char* nome :
             {"OSEX", "OPIVA", "ONDT", "ONCOM", "ONPRO", "OSCOM", "OSPRO", "OSTP", "ODES"})
          if (auto v = Campo(fonte, nome)) rs.Imposta(nome, *v);
        rs.Update();
        ++copiati;
      } catch (const Errore&) {
        ++falliti;
      }
    }

    db.Esegui("delete from CTAB WHERE TIPO='ITT'");
    try {
      Recordset tab(origine, "SELECT * From CTAB ", {}, Recordset::Modo::SolaLettura);
      for (; !tab.Eof(); tab.MoveNext()) {
        try {
          if (CampoTesto(tab["TIPO"]) != "ITT") continue;
          const std::string codice = CampoTesto(tab["COD"]);
          db.Esegui("DELETE FROM CTAB WHERE TIPO='ITT' AND COD=?", {codice});
          db.Esegui("INSERT INTO CTAB (TIPO, COD, DES) VALUES (?, ?, ?)",
                    {tab["TIPO"], codice, tab["DES"]});
        } catch (const Errore&) {
          ++falliti;
        }
      }
    } catch (const Errore&) {
      // A linked database without CTAB has no commitment rows to copy.
    }
    tr.Conferma();
  } catch (const Errore& e) {
    ctx.Ui().Avviso(std::string("Copia degli operatori dall'archivio collegato non riuscita: ") +
                    e.what());
    return 0;
  }
  if (falliti > 0)
    ctx.Ui().Avviso("Copia degli operatori dall'archivio collegato: " + std::to_string(falliti) +
                    (falliti == 1 ? " riga non copiata." : " righe non copiate."));
  return copiati;
}

}  // namespace fcl
