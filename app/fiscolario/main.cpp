// The desktop application: the start-up sequence, then the main window.
//
//   fiscolario [--cartella DIR] [FILE.FCL]
//
// A backup file given on the command line (the desktop opens .FCL files with the program) is
// offered for restore once the main window is up.
//
// The program folder is DIR, else $FISCOLARIO_DIR, else the executable's folder when it holds
// configurazione.ini, else $XDG_DATA_HOME/fiscolario.

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>
#include <string>

#include "backup/Backup.h"
#include "backup/ui/FSalva.h"
#include "common/Contesto.h"
#include "common/ErroreSistema.h"
#include "common/Errori.h"
#include "common/ui/ApriDocumentoQt.h"
#include "common/ui/Icone.h"
#include "common/ui/InterazioneQt.h"
#include "common/ui/Stringhe.h"
#include "register/PrimaApertura.h"
#include "register/ui/FOPC.h"
#include "shell/Avvio.h"
#include "shell/ImportaOperatori.h"
#include "shell/TabellaAteco.h"
#include "shell/ui/FinestraPrincipale.h"
#include "shell/ui/TraduzioneQt.h"
#include "store/Database.h"

namespace {

constexpr const char* kUso = "Uso: fiscolario [--cartella CARTELLA] [FILE.FCL]\n";

std::filesystem::path fileDaRipristinare;  // the backup file given on the command line

// The options of the command line, read before any window exists; nullopt (after printing why)
// for a usage error.
std::optional<std::optional<std::filesystem::path>> LeggiOpzioni(int argc, char** argv) {
  std::optional<std::filesystem::path> cartella;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--cartella" && i + 1 < argc) {
      cartella = std::filesystem::path(argv[++i]);
    } else if (a.rfind("--cartella=", 0) == 0) {
      cartella = std::filesystem::path(a.substr(11));
    } else if (a == "-h" || a == "--help") {
      std::cout << kUso;
      std::exit(0);
    } else if (!a.empty() && a[0] != '-' && fileDaRipristinare.empty()) {
      fileDaRipristinare = std::filesystem::absolute(a);
    } else {
      std::cerr << "Opzione non riconosciuta: " << a << '\n' << kUso;
      return std::nullopt;
    }
  }
  return cartella;
}

// Offers the restore of the backup file opened with the program; nothing happens without a yes.
// `fatto` runs after a restore (the register shows the restored operator).
void OffriRipristino(fcl::Contesto& ctx, const std::filesystem::path& file,
                     const std::function<void()>& fatto) {
  try {
    const auto intestazione = fcl::LeggiIntestazioneBackup(file);
    if (!intestazione) {
      ctx.Ui().Messaggio(fcl::kMessaggioNonBackup, fcl::kTitoloApplicazione, fcl::Icona::Critico);
      return;
    }
    if (ctx.Ui().Chiedi("Ripristinare l'operatore " + intestazione->Etichetta() +
                            " dal file di backUp " + file.string() + "?",
                        "Ripristino", fcl::Pulsanti::SiNo, fcl::Icona::Domanda,
                        fcl::Risposta::No) != fcl::Risposta::Si)
      return;
    if (fcl::RipristinaBackup(ctx, file)) fatto();
  } catch (const std::exception& e) {
    ctx.Ui().Messaggio(fcl::TestoPerUtente(e), fcl::kTitoloApplicazione, fcl::Icona::Critico);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const auto opzioni = LeggiOpzioni(argc, argv);
  if (!opzioni) return 2;

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Fiscolario"));
  QApplication::setApplicationDisplayName(QStringLiteral("FISCOLARIO"));
  QApplication::setWindowIcon(fcl::IconaApplicazione());
  QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));

  // Qt's own texts (standard buttons, file dialogs) in Italian.
  fcl::InstallaTraduzioneQt(app);

  fcl::InterazioneQt interazione;
  fcl::ApriDocumentoQt apriDocumento(&interazione);
  fcl::Contesto ctx;
  ctx.interazione = &interazione;
  ctx.apriDocumento = &apriDocumento;
  try {
    // The folder is made or completed from the program's skeleton: a failure is told in a box.
    ctx.cartellaProgramma = fcl::RisolviCartellaProgramma(
        *opzioni, fcl::PercorsoStd(QApplication::applicationDirPath()));
  } catch (const std::exception& e) {
    interazione.Messaggio(std::string("Impossibile preparare la cartella del programma.\n\n") +
                              e.what(),
                          fcl::kTitoloApplicazione, fcl::Icona::Critico);
    return 1;
  }

  std::optional<fcl::Database> db;
  try {
    std::filesystem::create_directories(ctx.cartellaProgramma);
    fcl::Avvia(ctx, db);
  } catch (const fcl::Errore& e) {
    const auto fileDb = ctx.cartellaProgramma / "DataBase" / "FCL2013.mdb";
    interazione.Messaggio("Impossibile aprire il database " + fileDb.string() +
                              ".\nIl programma non può continuare.\n\n" + e.what(),
                          fcl::kTitoloApplicazione, fcl::Icona::Critico);
    return 1;
  } catch (const std::exception& e) {
    interazione.Messaggio("Impossibile preparare la cartella del programma " +
                              ctx.cartellaProgramma.string() + ".\n\n" + fcl::TestoPerUtente(e),
                          fcl::kTitoloApplicazione, fcl::Icona::Critico);
    return 1;
  }

  // The windows of the other parts plug in here: the operators register (creaRegistro, with the
  // import from VELA on its first opening), the backup window (backup), the two operator imports
  // and the ATECO table. The imports end with the register filling its list again. A failure that
  // aborts a command is told and leaves the program running.
  fcl::FinestraPrincipale* fa = nullptr;
  const auto comando = [&interazione](const std::function<void()>& corpo) {
    try {
      corpo();
    } catch (const std::exception& e) {
      interazione.Messaggio(fcl::TestoPerUtente(e), fcl::kTitoloApplicazione, fcl::Icona::Critico);
    }
  };
  const auto ricarica = [&fa] {
    if (fa) fa->RicaricaRegistro();
  };
  fcl::FinestraPrincipale::Comandi comandi;
  comandi.creaRegistro = [&ctx, comando](fcl::FinestraPrincipale& principale) {
    comando([&] { fcl::ImportaAllaPrimaApertura(ctx, [&] { principale.OPEvela_Click(); }); });
    return new fcl::FOPC(ctx);
  };
  comandi.backup = [&ctx, &fa, comando](std::string_view modo) {
    comando([&] { fcl::FSalva::Esegui(ctx, modo, fa); });
  };
  comandi.importaVela = [&ctx, comando, ricarica] {
    comando([&] { fcl::OPEvela_Click(ctx, ricarica); });
  };
  comandi.importaOrsa = [&ctx, comando, ricarica] {
    comando([&] { fcl::OPEORSA_Click(ctx, ricarica); });
  };
  comandi.importaAteco = [&ctx, comando] {
    comando([&] {
      const auto file = ctx.Ui().ScegliFileDaAprire(
          "Indica il file della tabella ATECO 2007",
          "Tabella ATECO (*.CSV;*.XLS;*.XLSX;*.ODS)|*.CSV;*.XLS;*.XLSX;*.ODS", ctx.cartellaProgramma);
      if (!file) return;
      const std::size_t n = fcl::CaricaTabellaAteco(ctx.Db(), *file);
      ctx.Ui().Messaggio("Caricati " + std::to_string(n) + " codici ATECO 2007 da " + file->string(),
                         "Tabella attività ATECO", fcl::Icona::Informazione);
    });
  };

  fcl::FinestraPrincipale principale(ctx, std::move(comandi));
  fa = &principale;
  principale.show();
  if (!fileDaRipristinare.empty())
    QTimer::singleShot(0, &principale,
                       [&ctx, ricarica] { OffriRipristino(ctx, fileDaRipristinare, ricarica); });
  return QApplication::exec();
}
