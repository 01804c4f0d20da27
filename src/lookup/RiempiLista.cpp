#include "lookup/RiempiLista.h"

#include "store/Recordset.h"

namespace fcl {

void RiempiLista(ListaDati& lista, Database& db, std::string_view sql, std::string& testoRicerca) {
  Recordset rs(db, sql, {}, Recordset::Modo::SolaLettura);
  std::vector<ListaDati::ColonnaRisultato> colonne;
  colonne.reserve(rs.NumeroCampi());
  for (std::size_t i = 0; i < rs.NumeroCampi(); ++i) {
    auto allineamento = ListaDati::Allineamento::Sinistra;
    if (rs.TipoCampoA(i) == TipoCampo::Doppio) allineamento = ListaDati::Allineamento::Destra;
    if (rs.TipoCampoA(i) == TipoCampo::Data) allineamento = ListaDati::Allineamento::Centro;
    colonne.push_back({rs.NomeCampo(i), allineamento});
  }
  std::vector<std::vector<Valore>> righe;
  righe.reserve(rs.RecordCount());
  for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
    std::vector<Valore> riga;
    riga.reserve(colonne.size());
    for (std::size_t i = 0; i < colonne.size(); ++i) riga.push_back(rs[i]);
    righe.push_back(std::move(riga));
  }
  lista.Riempi(colonne, righe, testoRicerca);
}

}  // namespace fcl
