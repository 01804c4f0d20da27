#pragma once

#include <deque>
#include <memory>
#include <string>

#include "workbook/AnalizzatoreXml.h"
#include "workbook/BloccoRighe.h"

namespace fcl {

// Streams content.xml of an OpenDocument spreadsheet as a sequence of events: a sheet starts
// (with its name), a run of rows, the sheet ends. It pauses after each event, so the document is
// parsed only as far as asked. A row repeated N times (table:number-rows-repeated) is one run of
// N rows, never expanded, and repeated cells fill only columns A-Y: the million empty rows a
// spreadsheet program writes at the end of a sheet cost one event. Covered cells (hidden by a
// merge) take their column and read as empty. A cell's text is its paragraphs joined by "\n",
// with <text:s/> as spaces and without annotations or drawings. A formula cell without a value
// type (a formula whose result is "") reads as its text; only a cell marked as an error value is
// one. Data beyond the last row or column a sheet can have is damage; empty rows there are cut.
class ContenutoOds : public AnalizzatoreXml {
 public:
  struct Evento {
    enum class Tipo { InizioFoglio, Righe, FineFoglio } tipo = Tipo::Righe;
    std::string nome;   // InizioFoglio
    BloccoRighe righe;  // Righe
  };

  using AnalizzatoreXml::AnalizzatoreXml;

  // The next event; false at the end of the document.
  bool Prossimo(Evento& evento);

 protected:
  void Inizio(std::string_view nome, const Attributi& attributi) override;
  void Fine(std::string_view nome) override;
  void Caratteri(std::string_view testo) override;

 private:
  void Aggiungi(std::string_view testo);
  void ChiudiCella();

  std::deque<Evento> pronti_;
  int profonditaTabelle_ = 0;
  long long prossimaRiga_ = 1;

  bool inRiga_ = false;
  bool rigaPiena_ = false;  // a cell of the row being read holds something
  BloccoRighe riga_;
  long long prossimaColonna_ = 1;

  bool inCella_ = false;
  bool coperta_ = false;
  long long ripetizioniColonna_ = 1;
  std::string tipoValore_;
  std::string valore_;
  bool haValore_ = false;
  bool errore_ = false;
  std::string testo_;
  bool haTesto_ = false;
  int paragrafi_ = 0;
  int inParagrafo_ = 0;
  int escluso_ = 0;  // depth inside an annotation or a drawing within the cell
};

}  // namespace fcl
