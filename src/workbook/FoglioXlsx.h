#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "workbook/AnalizzatoreXml.h"
#include "workbook/BloccoRighe.h"
#include "workbook/StiliXlsx.h"
#include "workbook/TestiCondivisi.h"

namespace fcl {

// Streams the rows of one .xlsx worksheet part (<sheetData><row><c>), pausing after each row, so
// reading row N parses the part up to row N and no further. Rows and cells without an r attribute
// follow the one before. Only columns A-Y are kept. Cell types: numbers (dates when their style
// says so), shared and inline strings, formula results (t="str"), booleans, error values and ISO
// dates (t="d"). A formula without a computed value comes back as an error value showing the
// formula, since its result is not in the file.
class FoglioXlsx : public AnalizzatoreXml {
 public:
  FoglioXlsx(std::unique_ptr<VoceZip> parte, const TestiCondivisi& testi, const StiliXlsx& stili,
             bool data1904);

  // The next row of the sheet; false at its end.
  bool Prossimo(BloccoRighe& blocco);

 protected:
  void Inizio(std::string_view nome, const Attributi& attributi) override;
  void Fine(std::string_view nome) override;
  void Caratteri(std::string_view testo) override;
  std::size_t RigaDiretta(std::string_view b, std::size_t pos, std::size_t& linee) override;

 private:
  // What a cell holds when it closes: its type (t), style (s) and the texts of its children.
  struct ContenutoCella {
    std::string_view tipo = "n";
    long long stile = 0;
    std::string_view valore, inLinea, formula;
    bool haValore = false, haInLinea = false, haFormula = false;
  };
  // What the start and end tags of a row and of a cell do, for the handlers and RigaDiretta alike.
  void ApriRiga(std::optional<std::string_view> r);
  long long ColonnaCella(std::optional<std::string_view> r) const;
  void ChiudiCella(long long colonna, const ContenutoCella& contenuto);
  void ChiudiRiga();

  const TestiCondivisi& testi_;
  const StiliXlsx& stili_;
  const bool data1904_;
  std::deque<BloccoRighe> pronte_;

  bool inRiga_ = false;
  BloccoRighe riga_;
  BloccoRighe riserva_;  // a row handed back by the reader, whose cells are filled again
  long long ultimaRiga_ = 0;
  long long ultimaColonna_ = 0;

  // The cell being read.
  long long colonna_ = 0;
  std::string tipo_;
  long long stile_ = 0;
  std::string valore_;
  std::string inLinea_;
  std::string formula_;
  bool haValore_ = false;
  bool haInLinea_ = false;
  bool haFormula_ = false;
  enum class Dove { Altro, Valore, TestoInLinea, Formula } dove_ = Dove::Altro;
  bool inInLinea_ = false;
  int inFonetica_ = 0;
};

}  // namespace fcl
