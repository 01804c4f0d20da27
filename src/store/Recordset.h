#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Valore.h"
#include "store/Database.h"

namespace fcl {

// A result set held client-side, with the operations the system's routines walk and edit rows by:
// Eof/MoveFirst/MoveNext, RecordCount, fields by name (case-insensitive) or position, Find, AddNew,
// field assignment, Update, Delete.
//
// An updatable result set must come from "SELECT * FROM <table> [WHERE ...] [ORDER BY ...]": it reads
// the table's row ids along with the rows and writes each Update back as an UPDATE (or INSERT after
// AddNew) with bound values. A read-only one may come from any statement. Statement values are bound
// parameters ("?"), never spliced into the text.
class Recordset {
 public:
  enum class Modo { Aggiornabile, SolaLettura };

  Recordset(Database& db, std::string_view sql, std::vector<Valore> parametri = {},
            Modo modo = Modo::Aggiornabile);

  bool Eof() const { return corrente_ >= righe_.size(); }
  void MoveFirst() { corrente_ = 0; }
  void MoveNext() {
    if (corrente_ < righe_.size()) ++corrente_;
  }
  std::size_t RecordCount() const { return righe_.size(); }

  std::size_t NumeroCampi() const { return colonne_.size(); }
  const std::string& NomeCampo(std::size_t i) const { return colonne_.at(i).nome; }
  TipoCampo TipoCampoA(std::size_t i) const { return colonne_.at(i).tipo; }
  // Position of a field by name (case-insensitive); nullopt when the result has no such field.
  std::optional<std::size_t> Indice(std::string_view nome) const;

  // The value of a field of the current row. Throws ErroreDatabase for an unknown name or at EOF.
  const Valore& operator[](std::string_view nome) const;
  const Valore& operator[](std::size_t indice) const;

  // Assigns a field of the current row (or of the row being added); stored by Update().
  void Imposta(std::string_view nome, Valore valore);
  void Imposta(std::size_t indice, Valore valore);

  // Searches from the current row forward for the first row matching `criterio`, of the form
  // "COLONNA = 'testo'" or "COLONNA LIKE 'inizio%'" (apostrophes in the text doubled). Found: that
  // row becomes current and true is returned; otherwise the position is EOF.
  bool Find(std::string_view criterio);

  void AddNew();
  void Update();
  // Deletes the current row from the table.
  void Delete();
  void Close() {
    righe_.clear();
    corrente_ = 0;
  }

 private:
  void RichiediAggiornabile() const;

  Database& db_;
  Modo modo_;
  std::string tabella_;
  std::vector<Colonna> colonne_;
  std::vector<std::vector<Valore>> righe_;
  std::vector<Valore> rowid_;  // the engine's row identity, for an updatable set; Null when added
  std::vector<bool> modificato_;     // fields assigned since the last Update of the current row
  bool nuova_ = false;
  std::size_t corrente_ = 0;
};

}  // namespace fcl
