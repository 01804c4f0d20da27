#pragma once

#include <memory>
#include <string>
#include <vector>

#include "workbook/ArchivioZip.h"
#include "workbook/FoglioXlsx.h"
#include "workbook/LettoreFlusso.h"
#include "workbook/StiliXlsx.h"
#include "workbook/TestiCondivisi.h"

namespace fcl {

// Reads an Office Open XML workbook (.xlsx, .xlsm): the worksheets in the order of
// xl/workbook.xml (chart sheets are not worksheets and are left out), found through the
// workbook's relationships; the shared strings and the date styles held in memory; each sheet
// streamed from the archive as its rows are asked for. Dates of the 1904 date system are moved
// to the 1900 system. Throws ErroreCartella when a part is missing, damaged or too large.
class LettoreXlsx : public LettoreFlusso {
 public:
  explicit LettoreXlsx(std::unique_ptr<ArchivioZip> archivio);

  int NumeroFogli() override { return static_cast<int>(fogli_.size()); }
  std::string NomeFoglio(int foglio) override;

  // The archive path of the main workbook part ("xl/workbook.xml"), or empty when the archive is
  // not an Office Open XML workbook.
  static std::string ParteCartella(const ArchivioZip& archivio);

 protected:
  void Ricomincia(int foglio) override;
  bool Prossimo(BloccoRighe& blocco) override;

 private:
  struct Foglio {
    std::string nome;
    std::string parte;
  };

  std::unique_ptr<ArchivioZip> archivio_;
  std::vector<Foglio> fogli_;
  TestiCondivisi testi_;
  StiliXlsx stili_;
  bool data1904_ = false;
  std::unique_ptr<FoglioXlsx> cursore_;
};

}  // namespace fcl
