#pragma once

#include <memory>
#include <string>
#include <vector>

#include "workbook/ArchivioZip.h"
#include "workbook/ContenutoOds.h"
#include "workbook/LettoreFlusso.h"

namespace fcl {

// Reads an OpenDocument spreadsheet (.ods). All sheets live in one part, content.xml, which is
// streamed: the sheet names are learnt as the stream reaches them, so asking for the next sheet's
// name or rows goes on from where the previous sheet stopped; going back starts the stream again.
// Throws ErroreCartella when the document is encrypted, damaged or too large.
class LettoreOds : public LettoreFlusso {
 public:
  explicit LettoreOds(std::unique_ptr<ArchivioZip> archivio);

  int NumeroFogli() override;
  std::string NomeFoglio(int foglio) override;

  // Whether the archive holds an OpenDocument spreadsheet (its "mimetype" entry says so).
  static bool EOds(const ArchivioZip& archivio);

 protected:
  void Ricomincia(int foglio) override;
  bool Prossimo(BloccoRighe& blocco) override;

 private:
  void NuovoCursore();
  // The next event of the stream, keeping track of the sheet it is in; false at the end.
  bool Evento(ContenutoOds::Evento& evento);

  std::unique_ptr<ArchivioZip> archivio_;
  std::unique_ptr<ContenutoOds> cursore_;
  std::vector<std::string> nomi_;
  bool nomiCompleti_ = false;
  int foglioCursore_ = 0;       // sheets started so far by the stream
  bool cursoreFinito_ = false;  // the stream reached the end of the document
  bool dentroFoglio_ = false;   // between the start and the end of sheet foglioCursore_
  bool inizioFoglio_ = false;   // no row of that sheet read yet
};

}  // namespace fcl
