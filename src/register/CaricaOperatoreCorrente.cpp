#include "register/CaricaOperatoreCorrente.h"

#include <string>

#include "common/CodiceOperatore.h"
#include "common/Cp1252.h"
#include "common/RoutineCampi.h"
#include "store/RecordImpegno.h"
#include "store/Recordset.h"
#include "store/Registro.h"

namespace fcl {

bool CaricaOperatoreCorrente(Contesto& ctx, std::string_view cf) {
  OperatoreCorrente& op = ctx.operatoreCorrente;
  op = OperatoreCorrente{};
  const std::string codice = NormalizzaCodice(cf);

  Recordset ope = ApriOperatore(ctx.Db(), codice, Recordset::Modo::SolaLettura);
  if (ope.Eof()) return false;

  op.codiceFiscaleDigitato = ValoreComeTesto(ope["OCOD"]);
  op.codiceFiscale = Rifila(op.codiceFiscaleDigitato);
  op.partitaIvaDigitata = ValoreComeTesto(ope["OPIVA"]);
  const std::string ragione = CampoTesto(ope["ORAG"]);
  op.nomeVisualizzato =
      !ragione.empty() ? ragione : CampoTesto(ope["OCOG"]) + CampoTesto(ope["ONOME"]);

  Recordset itt =
      ApriImpegno(ctx.Db(), NormalizzaCodice(op.codiceFiscale), Recordset::Modo::SolaLettura);
  if (!itt.Eof()) {
    const RecordImpegno impegno = RecordImpegno::Leggi(ValoreComeTesto(itt["DES"]));
    op.intermediarioCF = impegno.intermediarioCF;
    op.numeroIscrizioneCaf = impegno.numeroIscrizioneCaf;
    const std::string& chi = impegno.codicePredisposizione;
    if (!op.intermediarioCF.empty() && (chi == "1" || chi == "2")) op.codicePredisposizione = chi;
    op.dataImpegno = impegno.dataImpegno;
  }
  return true;
}

}  // namespace fcl
