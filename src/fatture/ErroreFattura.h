#pragma once

#include "common/Errori.h"

namespace fcl {

// A file of invoices that cannot be read: not well-formed XML, a DOCTYPE, a signed envelope whose
// signature does not match its content, an archive entry beyond the limits. The text says why in
// a few Italian words, without the file's name (the report and the messages put it beside).
class ErroreFattura : public Errore {
 public:
  using Errore::Errore;
};

}  // namespace fcl
