// Faults of the disk while a backup file is written: a disk that fills up, a folder that cannot
// be written. SalvaOperatore throws ErroreFile naming the file and the cause, the earlier backup
// stays as it was and no temporary file is left.

#include <gtest/gtest.h>

#include <iostream>
#include <optional>

#include "CartellaTemporanea.h"
#include "Guasti.h"
#include "InterazioneRegistrata.h"
#include "backup/Backup.h"
#include "common/Errori.h"
#include "store/Recordset.h"
#include "store/Schema.h"

namespace fcl {
namespace {

TEST(GuastiBackup, DiscoPienoOCartellaDiSolaLettura) {
  test::CartellaTemporanea cartella;
  Database db = Database::InMemoria();
  CreaSchema(db);
  db.Esegui("INSERT INTO COPE (OCOD, ODES) VALUES ('RSSMRA80A01H501U', ?)",
            {std::string(600, 'R')});
  test::InterazioneRegistrata ui;
  Contesto ctx;
  ctx.connessioneDb = &db;
  ctx.interazione = &ui;
  ctx.cartellaProgramma = cartella.Percorso();
  const auto uscita = cartella / "copie";
  std::filesystem::create_directories(uscita);
  const auto file = uscita / "ROSSI.FCL";

  struct Case {
    std::string_view nome;
    bool discoPieno;  // else a read-only folder
    std::string_view causa;
  } const kCases[] = {
      {"disco pieno", true, "il file supera la dimensione consentita dal sistema"},
      {"cartella di sola lettura", false, "scrittura non consentita"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.nome);
    test::ScriviFile(file, "backup precedente");
    std::string errore;
    {
      std::optional<test::LimiteDimensioneFile> limite;
      std::optional<test::SolaLettura> solaLettura;
      if (c.discoPieno) {
        limite.emplace(200);
      } else {
        solaLettura.emplace(uscita);
        if (!solaLettura->Motivo().empty()) {
          std::cout << "[  SALTATO ] " << solaLettura->Motivo() << '\n';
          continue;
        }
      }
      try {
        SalvaOperatore(ctx, "RSSMRA80A01H501U", file);
        ADD_FAILURE() << "backup scritto";
      } catch (const ErroreFile& e) {
        errore = e.what();
      }
    }
    EXPECT_EQ(errore.rfind("Impossibile ", 0), 0u) << errore;
    EXPECT_NE(errore.find(file.string() + ": " + std::string(c.causa)), std::string::npos)
        << errore;
    EXPECT_EQ(test::LeggiFile(file), "backup precedente");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(uscita),
                            std::filesystem::directory_iterator()),
              1);
  }
}

}  // namespace
}  // namespace fcl
