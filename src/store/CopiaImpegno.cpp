#include "store/CopiaImpegno.h"

#include "common/CodiceOperatore.h"
#include "store/Database.h"
#include "store/Recordset.h"

namespace fcl {

bool CopiaImpegno(Contesto& ctx, const RecordImpegno& impegno) {
  const Risposta r = ctx.Ui().Chiedi(
      "Questa procedura COPIA i dati di impegno alla trasmissione da  questo operatore a tutti gli "
      "altri. Confermi? ",
      "Copia dati", Pulsanti::SiNo, Icona::Informazione, Risposta::Si);
  if (r == Risposta::No) return false;

  Database& db = ctx.Db();
  const std::string des = impegno.Costruisci();
  Transazione tr(db);
  Recordset operatori(db, "SELECT * From COPE");
  for (; !operatori.Eof(); operatori.MoveNext()) {
    const std::string codice = ValoreComeTesto(operatori["OCOD"]);
    Recordset itt(db,
                  "SELECT * From CTAB WHERE TIPO='ITT' AND COD=?" + std::string(kConfrontaCodice),
                  {NormalizzaCodice(codice)});
    if (itt.RecordCount() == 0) {
      itt.AddNew();
    } else {
      // One commitment row per operator: extra rows left by older data go.
      for (itt.MoveNext(); !itt.Eof();) itt.Delete();
      itt.MoveFirst();
    }
    itt.Imposta("TIPO", std::string("ITT"));
    itt.Imposta("COD", NormalizzaCodice(codice));
    itt.Imposta("DES", des);
    itt.Update();
  }
  tr.Conferma();
  return true;
}

}  // namespace fcl
