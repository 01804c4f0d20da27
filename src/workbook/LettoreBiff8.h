#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "workbook/LettoreCartella.h"
#include "workbook/TestiCondivisi.h"

namespace fcl {

// Reads an Excel 97-2003 workbook (.xls, BIFF8 in the "Workbook" stream of a compound file)
// from its records: the worksheets (chart and macro sheets are not worksheets), the shared
// strings, the date formats of the cell styles and the 1904 date system. Each sheet is indexed the
// first time it is asked for (which records hold each row), and a row's cells are decoded only
// when that row is read, columns A-Y only. Numbers, dates, texts, booleans, error values and the
// computed values of formulas are all read. Every length and offset is checked against the
// stream: damage throws ErroreCartella, a workbook with a password too.
class LettoreBiff8 : public LettoreCartella {
 public:
  LettoreBiff8(const std::filesystem::path& percorso, std::string flusso);

  int NumeroFogli() override { return static_cast<int>(fogli_.size()); }
  std::string NomeFoglio(int foglio) override;
  const std::vector<Cella>& Riga(int foglio, int riga) override;

 private:
  struct Foglio {
    std::string nome;
    std::uint32_t posizione = 0;  // of its BOF record in the stream
    bool indicizzato = false;
    std::vector<std::vector<std::uint32_t>> righe;  // row (from 0) -> offsets of its cell records
  };

  void LeggiGlobali();
  void Indicizza(Foglio& foglio);
  void Decodifica(std::uint32_t posizione, std::vector<Cella>& celle) const;
  Cella Numero(double valore, std::uint16_t xf) const;
  [[noreturn]] void Danneggiato(const std::string& dettaglio) const;

  std::filesystem::path percorso_;
  std::string flusso_;
  std::vector<Foglio> fogli_;
  TestiCondivisi testi_;
  std::vector<bool> xfData_;
  bool data1904_ = false;

  int foglioRiga_ = 0;
  int numeroRiga_ = 0;
  std::vector<Cella> riga_;
};

}  // namespace fcl
