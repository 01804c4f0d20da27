#include "store/Registro.h"

#include <algorithm>
#include <cctype>

#include "common/CodiceOperatore.h"
#include "common/Errori.h"
#include "common/RoutineCampi.h"

namespace fcl {
namespace {

const std::string kConfronto(kConfrontaCodice);

}  // namespace

Recordset ApriOperatore(Database& db, std::string_view codice, Recordset::Modo modo) {
  return Recordset(db, "SELECT * From COPE WHERE OCOD=?" + kConfronto, {std::string(codice)}, modo);
}

Recordset ApriImpegno(Database& db, std::string_view codice, Recordset::Modo modo) {
  return Recordset(db, "SELECT * FROM CTAB WHERE TIPO='ITT' and COD=?" + kConfronto,
                   {std::string(codice)}, modo);
}

Recordset ApriRigheOperatore(Database& db, std::string_view tabella, std::string_view codice,
                             Recordset::Modo modo) {
  return Recordset(db, "SELECT * From " + NomeSqlVerificato(tabella) + " WHERE OCOD=?" + kConfronto,
                   {std::string(codice)}, modo);
}

Recordset ApriCodice(Database& db, const Valore& tipo, const Valore& cod, bool codiceOperatore) {
  return Recordset(
      db,
      "SELECT *  FROM CTAB WHERE TIPO=? AND COD=?" + (codiceOperatore ? kConfronto : std::string()),
      {tipo, cod});
}

Recordset LeggiRighe(Database& db, std::string_view tabella, std::string_view colonna,
                     const Valore& valore, bool codiceOperatore) {
  return Recordset(db,
                   "SELECT * From " + NomeSqlVerificato(tabella) + " WHERE " +
                       NomeSqlVerificato(colonna) + "=?" +
                       (codiceOperatore ? kConfronto : std::string()),
                   {valore}, Recordset::Modo::SolaLettura);
}

bool OperatorePresente(Database& db, std::string_view codice) {
  return std::get<std::int64_t>(db.Scalare("SELECT count(*) FROM COPE WHERE OCOD=?" + kConfronto,
                                           {std::string(codice)})) > 0;
}

std::int64_t NumeroOperatori(Database& db) {
  return std::get<std::int64_t>(db.Scalare("SELECT count(*) From COPE"));
}

std::string DenominazioneOperatore(Database& db, std::string_view codice) {
  return CampoTesto(db.Scalare("SELECT ODES FROM COPE WHERE OCOD=?", {std::string(codice)}));
}

std::vector<std::string> CodiciOperatori(Database& db) {
  std::vector<std::string> codici;
  Recordset rs(db, "SELECT OCOD FROM COPE ORDER BY OCOD", {}, Recordset::Modo::SolaLettura);
  for (; !rs.Eof(); rs.MoveNext()) codici.push_back(ValoreComeTesto(rs[0]));
  return codici;
}

std::vector<std::pair<std::string, std::string>> CodiciEPartiteIva(Database& db) {
  std::vector<std::pair<std::string, std::string>> righe;
  Recordset rs(db, "SELECT OCOD, OPIVA FROM COPE", {}, Recordset::Modo::SolaLettura);
  for (; !rs.Eof(); rs.MoveNext())
    righe.emplace_back(ValoreComeTesto(rs[0]), ValoreComeTesto(rs[1]));
  return righe;
}

void EliminaRigheOperatore(Database& db, std::string_view codice) {
  db.Esegui("DELETE FROM COPE WHERE OCOD=?" + kConfronto, {std::string(codice)});
}

void SostituisciImpegno(Database& db, std::string_view codice, const Valore& des) {
  db.Esegui("DELETE FROM CTAB WHERE TIPO='ITT' AND COD=?" + kConfronto, {std::string(codice)});
  db.Esegui("INSERT INTO CTAB (TIPO, COD, DES) VALUES (?, ?, ?)",
            {std::string("ITT"), std::string(codice), des});
}

void EliminaImpegni(Database& db) { db.Esegui("delete from CTAB WHERE TIPO='ITT'"); }

std::string ControlloIntegrita(Database& db) {
  if (db.Tipo() != TipoArchivio::Sqlite) return "ok";
  return ValoreComeTesto(db.Scalare("PRAGMA quick_check"));
}

bool AggiornamentoEseguito(Database& db, std::string_view release) {
  return std::get<std::int64_t>(db.Scalare("SELECT count(*) FROM CTAB WHERE TIPO='REL' AND COD=?",
                                           {std::string(release)})) > 0;
}

void SegnaAggiornamento(Database& db, std::string_view release, std::string_view data) {
  db.Esegui("INSERT INTO CTAB (TIPO, COD, DES) VALUES ('REL', ?, ?)",
            {std::string(release), std::string(data)});
}

namespace {

std::optional<std::pair<std::string, std::string>> PrimoComune(Database& db, const char* sql,
                                                               std::string valore) {
  Recordset rs(db, sql, {std::move(valore)}, Recordset::Modo::SolaLettura);
  if (rs.Eof()) return std::nullopt;
  return std::make_pair(CampoTesto(rs["COMUNE"]), CampoTesto(rs["PRO"]));
}

}  // namespace

std::optional<std::pair<std::string, std::string>> ComuneCheIniziaCon(Database& db,
                                                                      std::string_view prefisso) {
  std::string modello;
  for (const char c : prefisso) {
    if (c == '%' || c == '_' || c == '\\') modello += '\\';
    modello += c;
  }
  modello += '%';
  return PrimoComune(
      db,
      "SELECT COMUNE, PRO FROM T_COMUNI WHERE COMUNE LIKE ? ESCAPE '\\' ORDER BY COMUNE LIMIT 1",
      modello);
}

std::optional<std::pair<std::string, std::string>> ComuneEsatto(Database& db,
                                                                std::string_view nome) {
  return PrimoComune(db, "SELECT COMUNE, PRO FROM T_COMUNI WHERE COMUNE = ? LIMIT 1",
                     std::string(nome));
}

}  // namespace fcl
