#pragma once

#include <array>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "common/Configurazione.h"
#include "common/Interazione.h"

namespace fcl {

class BloccoFile;
class Database;
class PosizioniSorgente;

// The operator selected in the register, as the workbook run, the creation and the prints read it.
struct OperatoreCorrente {
  std::string codiceFiscale;         // OCOD, trimmed
  std::string nomeVisualizzato;      // company name, or surname immediately followed by first name
  std::string intermediarioCF;       // commitment record 1-16 (empty: no intermediary)
  std::string numeroIscrizioneCaf;   // commitment record 17-21
  std::string codicePredisposizione = "0";  // "0" not stated, "1" taxpayer, "2" sender
  std::string dataImpegno;           // commitment record 23-32, "dd/mm/yyyy"
  std::string codiceFiscaleDigitato;
  std::string partitaIvaDigitata;
  std::string codiceDaRiselezionare;
};

// Quadro numbers: they index the row counts, the count boxes of the creation and the listing pages.
enum Quadro : int { FA = 2, SA = 3, BL = 4, FE = 5, FR = 6, NE = 7, NR = 8, DF = 9, FN = 10, SE = 11, TU = 12 };

// The results of the last workbook run, kept for the creation of the communication.
struct TotaliImport {
  std::filesystem::path percorsoCartellaLavoro;  // the workbook read
  std::filesystem::path percorsoListato;         // the check listing written
  std::filesystem::path cartellaUscita;          // folder of the listing
  std::array<int, 13> righePerQuadro{};          // index = quadro number
  int righeTotali = 0;
  // The TA codes "TA001001" ... with the row counts as text, right-aligned in 16 characters.
  std::array<std::pair<std::string, std::string>, 15> tabellaTA{};
  int documentiRiepilogativiFE = 0;  // FE rows with the summary-document flag
  int documentiRiepilogativiFR = 0;  // FR rows with the summary-document flag
  std::array<int, 3> contatoriBL{};  // BL rows with a value in column L, M, N
  bool erroreData = false;           // a date (or another cell) failed: the creation is blocked
  // Where the data rows of the sheets began, so that a finding on the written file leads back to
  // its cell: BL from row 5, or 7 when A5 reads "PERSONE FISICHE"; FR in the earlier layout.
  int primaRigaBL = 5;
  bool frPrecedente = false;
  // The lock of the intermediate file the run wrote, held until its creation is done (released
  // by the front end, or by the next run), so that another run cannot replace the file meanwhile.
  std::shared_ptr<BloccoFile> bloccoIntermedio;
  // A source that is not a workbook (the year's electronic invoices) names its rows here, for the
  // messages of the run and the findings of the creation's check; nullptr for a workbook.
  std::shared_ptr<const PosizioniSorgente> posizioni;
};

// The process-wide values of a running Fiscolario, in one object passed to the procedures that need
// them. It owns nothing that outlives it: the database and the interaction are owned by the front
// end (desktop or command line) that made the context.
struct Contesto {
  std::filesystem::path cartellaProgramma;
  std::filesystem::path fileIni;
  Configurazione configurazione;  // read from fileIni at start
  std::string stringaConnessione;
  Database* connessioneDb = nullptr;
  Interazione* interazione = nullptr;
  ApriDocumento* apriDocumento = nullptr;

  OperatoreCorrente operatoreCorrente;
  TotaliImport totaliImport;
  // The intermediate file of the workbook run; empty for FCLtemp.TXT in the program folder. A run
  // of a batch sets a file of its own, so that runs side by side never share one.
  std::filesystem::path fileIntermedio;

  std::string versionePgm;
  std::string releasePgm;
  std::string annoRiferimento;
  bool importSilenzioso = false;

  // The clock, so that tests can fix "today".
  std::function<std::chrono::system_clock::time_point()> adesso = [] {
    return std::chrono::system_clock::now();
  };

  Database& Db() const { return *connessioneDb; }
  std::filesystem::path PercorsoFileIntermedio() const {
    return fileIntermedio.empty() ? cartellaProgramma / "FCLtemp.TXT" : fileIntermedio;
  }
  Interazione& Ui() const { return *interazione; }
};

}  // namespace fcl
