#include "register/CaricaOperatoreCorrente.h"

#include <string>

#include "common/Cp1252.h"
#include "common/RoutineCampi.h"
#include "store/Recordset.h"

namespace fcl {
namespace {

// Characters [inizio, inizio + lunghezza) of a UTF-8 text, 1-based like the record's positions;
// empty when the text is shorter.
std::string Posizioni(std::string_view testo, std::size_t inizio, std::size_t lunghezza) {
  const std::string primi = PrimiCaratteriUtf8(testo, inizio - 1);
  const std::string_view resto = std::string_view(testo).substr(primi.size());
  return PrimiCaratteriUtf8(resto, lunghezza);
}

}  // namespace

bool CaricaOperatoreCorrente(Contesto& ctx, std::string_view cf) {
  OperatoreCorrente& op = ctx.operatoreCorrente;
  op = OperatoreCorrente{};
  const std::string codice = MaiuscoloUtf8(Rifila(cf));

  Recordset ope(ctx.Db(), "SELECT * From COPE WHERE OCOD=?", {codice},
                Recordset::Modo::SolaLettura);
  if (ope.Eof()) return false;

  op.codiceFiscaleDigitato = ValoreComeTesto(ope["OCOD"]);
  op.codiceFiscale = Rifila(op.codiceFiscaleDigitato);
  op.partitaIvaDigitata = ValoreComeTesto(ope["OPIVA"]);
  const std::string ragione = CampoTesto(ope["ORAG"]);
  op.nomeVisualizzato =
      !ragione.empty() ? ragione : CampoTesto(ope["OCOG"]) + CampoTesto(ope["ONOME"]);

  Recordset itt(ctx.Db(), "SELECT * FROM CTAB WHERE TIPO='ITT' and COD=?", {op.codiceFiscale},
                Recordset::Modo::SolaLettura);
  if (!itt.Eof()) {
    const std::string record = ValoreComeTesto(itt["DES"]);
    op.intermediarioCF = Rifila(Posizioni(record, 1, 16));
    op.numeroIscrizioneCaf = Rifila(Posizioni(record, 17, 5));
    const std::string chi = Posizioni(record, 22, 1);
    if (!op.intermediarioCF.empty() && (chi == "1" || chi == "2")) op.codicePredisposizione = chi;
    op.dataImpegno = Rifila(Posizioni(record, 23, 10));
  }
  return true;
}

}  // namespace fcl
