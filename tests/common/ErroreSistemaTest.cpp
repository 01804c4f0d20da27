#include "common/ErroreSistema.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <new>
#include <stdexcept>

#include "common/Errori.h"

namespace fcl {
namespace {

// Each cause a user meets is told in Italian with what to do, never with the system's English text.
TEST(ErroreSistema, CauseInItaliano) {
  struct Caso {
    int codice;
    Accesso accesso;
    std::string_view atteso;
  } const kCasi[] = {
      {ENOENT, Accesso::Qualsiasi, "il file o la cartella non esiste; controllare il percorso"},
      {EACCES, Accesso::Qualsiasi, "accesso non consentito al file o alla cartella"},
      {EACCES, Accesso::Scrittura, "scrittura non consentita nella cartella o sul file"},
      {EPERM, Accesso::Scrittura, "scrittura non consentita nella cartella o sul file"},
      {ENAMETOOLONG, Accesso::Qualsiasi, "nome del file troppo lungo"},
      {ENOSPC, Accesso::Scrittura, "spazio insufficiente sul disco; liberare spazio"},
      {EDQUOT, Accesso::Scrittura, "spazio insufficiente sul disco"},
      {EROFS, Accesso::Scrittura, "il disco è di sola lettura"},
      {ENOTDIR, Accesso::Qualsiasi, "il percorso non è una cartella"},
      {EISDIR, Accesso::Qualsiasi, "indica una cartella, non un file"},
      {EIO, Accesso::Qualsiasi, "errore di lettura o scrittura sul disco"},
      {EMFILE, Accesso::Qualsiasi, "troppi file aperti"},
      {EBUSY, Accesso::Qualsiasi, "in uso da un altro programma"},
      {EXDEV, Accesso::Qualsiasi, "su un altro disco"},
      {9999, Accesso::Qualsiasi, "errore del sistema operativo (codice 9999)"},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.codice);
    const std::string testo = CausaSistema(c.codice, c.accesso);
    EXPECT_NE(testo.find(c.atteso), std::string::npos) << testo;
    EXPECT_EQ(testo.find(std::strerror(c.codice)), std::string::npos) << testo;
    // The same through an error code of the standard library.
    EXPECT_EQ(CausaSistema(std::error_code(c.codice, std::generic_category()), c.accesso), testo);
  }
}

// Whatever exception ends an operation, the user reads Italian; a fault of the program keeps its
// technical text on a second line only.
TEST(ErroreSistema, TestoPerUtenteDiOgniEccezione) {
  const std::filesystem::filesystem_error fs("filesystem error: cannot open", "/tmp/x/FCL.TXT",
                                             std::make_error_code(std::errc::permission_denied));
  struct Caso {
    std::string_view nome;
    const std::exception& e;
    std::string_view atteso;
    std::string_view assente;
  } const kCasi[] = {
      {"errore nostro", ErroreFile("Impossibile leggere il file X: la cartella non esiste"),
       "Impossibile leggere il file X: la cartella non esiste", ""},
      {"file system", fs, "Operazione non riuscita sul file /tmp/x/FCL.TXT: accesso non consentito",
       "Permission"},
      {"sistema", std::system_error(std::make_error_code(std::errc::filename_too_long)),
       "Operazione non riuscita: nome del file troppo lungo", "File name too long"},
      {"memoria", std::bad_alloc(), "Memoria insufficiente", "bad_alloc"},
      {"altro", std::logic_error("vector::at"),
       "Errore interno del programma: l'operazione non è stata completata; rivolgersi "
       "all'assistenza.\nDettaglio per l'assistenza: vector::at",
       ""},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.nome);
    const std::string testo = TestoPerUtente(c.e);
    EXPECT_NE(testo.find(c.atteso), std::string::npos) << testo;
    if (!c.assente.empty()) {
      EXPECT_EQ(testo.find(c.assente), std::string::npos) << testo;
    }
  }
}

// What a caller adds to a message stays in its Italian part, the detail for support last.
TEST(ErroreSistema, AggiuntaPrimaDelDettaglio) {
  EXPECT_EQ(PrimaDelDettaglio("Errore: disco pieno", ". Nulla è cambiato."),
            "Errore: disco pieno. Nulla è cambiato.");
  EXPECT_EQ(PrimaDelDettaglio("Errore: disco pieno\nDettaglio per l'assistenza: SQLite 13",
                              ". Nulla è cambiato."),
            "Errore: disco pieno. Nulla è cambiato.\nDettaglio per l'assistenza: SQLite 13");
}

}  // namespace
}  // namespace fcl
