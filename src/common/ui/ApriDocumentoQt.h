#pragma once

#include "common/Interazione.h"

namespace fcl {

// Opens a document with the desktop's default handler. A file that does not exist or that no
// program takes is told as a notice (status line), never as a box: opening a guide is not worth
// stopping the user for.
class ApriDocumentoQt : public ApriDocumento {
 public:
  explicit ApriDocumentoQt(Interazione* avvisi = nullptr) : avvisi_(avvisi) {}
  void Apri(const std::filesystem::path& percorso) override;

 private:
  Interazione* avvisi_;
};

}  // namespace fcl
