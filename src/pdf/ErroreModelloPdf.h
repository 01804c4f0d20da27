#pragma once

#include <string>

#include "common/Errori.h"

namespace fcl {

// A template PDF that cannot be read: damaged, truncated, of a form the reader does not handle,
// or built to make a reader misbehave. The page import catches it, records it (ErrNumber,
// ErrDescription of the writer) and draws nothing; it never reaches the user as a crash.
class ErroreModelloPdf : public Errore {
 public:
  using Errore::Errore;
};

}  // namespace fcl
