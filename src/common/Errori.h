#pragma once

#include <stdexcept>
#include <string>

namespace fcl {

// An operation that cannot go on: a file that cannot be read or written, a database statement that
// fails, a damaged input. Thrown by the core, caught once per user action in the desktop windows and
// once in the command line's main. The text is Italian and meant for the user.
class Errore : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reading or writing a file failed.
class ErroreFile : public Errore {
 public:
  using Errore::Errore;
};

// The user stopped a long run ("Interrompi"). Thrown by the run at one of its safe points, where
// giving up leaves every file as it was (every ScritturaAtomica of the run is dropped); the
// procedure that began the run catches it and ends with its own outcome for a stopped run.
class ErroreInterruzione : public Errore {
 public:
  ErroreInterruzione() : Errore("Elaborazione interrotta dall'utente") {}
};

// The database refused a statement or could not be opened.
class ErroreDatabase : public Errore {
 public:
  using Errore::Errore;
};

// A row read earlier was changed or deleted by another connection (another workstation) before
// this one wrote it back: nothing was written; the user reloads and repeats the change.
class ErroreConflitto : public ErroreDatabase {
 public:
  ErroreConflitto()
      : ErroreDatabase(
            "Il dato è stato modificato o eliminato da un'altra postazione mentre era aperto: "
            "nulla è stato registrato; ricaricare e ripetere la modifica.") {}
  using ErroreDatabase::ErroreDatabase;
};

}  // namespace fcl
