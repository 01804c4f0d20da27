#include "communication/RigaOperatore.h"

#include "common/CodiceOperatore.h"
#include "common/RoutineCampi.h"
#include "store/Recordset.h"
#include "store/Registro.h"

namespace fcl {

std::optional<RigaOperatore> LeggiRigaOperatore(Database& db, std::string_view codiceFiscale) {
  Recordset rs = ApriOperatore(db, NormalizzaCodice(codiceFiscale), Recordset::Modo::SolaLettura);
  if (rs.RecordCount() == 0) return std::nullopt;
  // A column that an old database lacks reads as empty rather than failing the creation.
  auto testo = [&rs](std::string_view nome) -> std::string {
    return rs.Indice(nome) ? CampoTesto(rs[nome]) : std::string();
  };
  RigaOperatore r;
  r.ocod = testo("OCOD");
  r.orag = testo("ORAG");
  r.ocog = testo("OCOG");
  r.onome = testo("ONOME");
  r.osex = testo("OSEX");
  r.ondt = rs.Indice("ONDT") ? FormatoData(rs["ONDT"]) : std::string();
  r.oncom = testo("ONCOM");
  r.onpro = testo("ONPRO");
  r.ostp = testo("OSTP");
  r.opiva = testo("OPIVA");
  r.oatt = testo("OATT");
  r.otel = testo("OTEL");
  r.ofax = testo("OFAX");
  r.oposta = testo("OPOSTA");
  r.ostccf = testo("OSTCCF");
  r.ostccdcarica = testo("OSTCCDCARICA");
  r.ostcdtini = testo("OSTCDTINI");
  r.ostcdtfine = testo("OSTCDTFINE");
  r.ostctp = testo("OSTCTP");
  r.ostccog = testo("OSTCCOG");
  r.ostcnome = testo("OSTCNOME");
  r.ostcsex = testo("OSTCSEX");
  r.ostcndt = testo("OSTCNDT");
  r.ostcncom = testo("OSTCNCOM");
  r.ostcnpro = testo("OSTCNPRO");
  r.ostcrag = testo("OSTCRAG");
  return r;
}

}  // namespace fcl
