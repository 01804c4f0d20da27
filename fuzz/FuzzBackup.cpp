// Fuzz target of the backup file reader: the input is a backup file. Its first line is read as
// the backup window reads it, its lines are split and decoded as the restore decodes them, and
// the whole file is restored into a fresh database in memory holding one operator with the same
// code. A restore refused because of a line must leave the database exactly as it was; a file
// that is no backup must change nothing; a file the first-line check calls damaged (a last line
// cut short, a code the register would refuse) must be refused by the restore too. Anything but
// the documented errors escaping is a finding.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "InterazioneRegistrata.h"
#include "SupportoFuzz.h"
#include "backup/Backup.h"
#include "backup/ErroreRigaBackup.h"
#include "backup/FormatoBackup.h"
#include "common/CodiceOperatore.h"
#include "common/RoutineCampi.h"
#include "store/Recordset.h"
#include "store/Schema.h"

namespace {

// The whole content of the operator tables as text.
std::string Contenuto(fcl::Database& db) {
  std::string testo;
  for (const char* sql : {"SELECT * FROM COPE ORDER BY OCOD", "SELECT * FROM CTAB ORDER BY TIPO, COD, DES"}) {
    fcl::Recordset rs(db, sql, {}, fcl::Recordset::Modo::SolaLettura);
    for (; !rs.Eof(); rs.MoveNext()) {
      for (std::size_t i = 0; i < rs.NumeroCampi(); ++i) {
        testo += rs[i].index() == 0 ? "<Null>" : fcl::CampoTesto(rs[i]);
        testo += '|';
      }
      testo += '\n';
    }
  }
  return testo;
}

void Inserisci(fcl::Database& db, const char* tabella,
               std::initializer_list<std::pair<const char*, const char*>> valori) {
  fcl::Recordset rs(db, std::string("SELECT * FROM ") + tabella + " WHERE 0");
  rs.AddNew();
  for (const auto& [colonna, valore] : valori) rs.Imposta(colonna, fcl::Valore(std::string(valore)));
  rs.Update();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
  const std::string_view ingresso = fcl::fuzz::Vista(dati, dimensione);
  const auto file = fcl::fuzz::ScriviTemporaneo("SAVE_FUZZ.FCL", ingresso);

  // The line split and the value decoding, on every line of the file.
  std::size_t inizio = 0;
  while (inizio < ingresso.size()) {
    std::size_t fine = ingresso.find('\n', inizio);
    if (fine == std::string_view::npos) fine = ingresso.size();
    std::string_view riga = ingresso.substr(inizio, fine - inizio);
    if (riga.ends_with('\r')) riga.remove_suffix(1);
    const fcl::RigaBackup spezzata = fcl::SpezzaRiga(riga);
    if (!fcl::fuzz::Utf8Valido(spezzata.tabella)) std::abort();
    for (const auto& campo : spezzata.valori) {
      if (campo && !fcl::fuzz::Utf8Valido(*campo)) std::abort();
      for (auto tipo : {fcl::TipoCampo::Testo, fcl::TipoCampo::Intero, fcl::TipoCampo::Doppio,
                        fcl::TipoCampo::Data})
        fcl::ValoreDaCampo(campo, tipo);
    }
    inizio = fine + 1;
  }

  std::optional<fcl::IntestazioneBackup> intestazione;
  bool danneggiato = false;
  try {
    intestazione = fcl::LeggiIntestazioneBackup(file);
  } catch (const fcl::ErroreRigaBackup& e) {
    danneggiato = true;
    if (e.Riga() == 0) std::abort();
  } catch (const fcl::ErroreFile&) {
    std::abort();  // the file was just written and is small: it must read
  }
  if (intestazione && fcl::DifettoCodice(intestazione->codice)) std::abort();

  // One database for the whole run (the schema takes long to make): the operator tables are
  // emptied and given one operator before each input.
  static fcl::Database db = [] {
    fcl::Database nuovo = fcl::Database::InMemoria();
    fcl::CreaSchema(nuovo);
    return nuovo;
  }();
  db.Esegui("DELETE FROM COPE");
  db.Esegui("DELETE FROM CTAB");
  const std::string codice = intestazione ? intestazione->codice : "RSSMRA80A01H501U";
  Inserisci(db, "COPE", {{"OCOD", codice.c_str()}, {"ORAG", "PRIMA"}, {"OSTP", "0"}});
  Inserisci(db, "CTAB", {{"TIPO", "ITT"}, {"COD", codice.c_str()}, {"DES", "  IMPEGNO"}});
  const std::string prima = Contenuto(db);

  fcl::test::InterazioneRegistrata ui;
  fcl::Contesto ctx;
  ctx.connessioneDb = &db;
  ctx.interazione = &ui;
  ctx.cartellaProgramma = fcl::fuzz::CartellaProcesso();
  try {
    const bool ripristinato = fcl::RipristinaBackup(ctx, file);
    if (danneggiato) std::abort();  // refused by the first-line check, restored all the same
    if (!ripristinato && Contenuto(db) != prima) std::abort();
    if (ripristinato != intestazione.has_value()) std::abort();
    // Restored: the file's last line had its line end, and every operator code is one the
    // register would take, as it stores it.
    if (ripristinato) {
      std::string_view ultima = ingresso.substr(ingresso.rfind('\n') + 1);
      if (ultima.ends_with('\r')) ultima.remove_suffix(1);
      if (!fcl::Rifila(ultima).empty()) std::abort();
      fcl::Recordset rs(db, "SELECT OCOD FROM COPE", {}, fcl::Recordset::Modo::SolaLettura);
      for (; !rs.Eof(); rs.MoveNext()) {
        const std::string c = fcl::ValoreComeTesto(rs[0]);
        if (c != fcl::NormalizzaCodice(c) || fcl::DifettoCodice(c)) std::abort();
      }
    }
  } catch (const fcl::Errore& e) {
    // A line that does not fit (ErroreRigaBackup) or a database refusal: nothing changed.
    if (Contenuto(db) != prima) std::abort();
    if (std::string(e.what()).empty()) std::abort();
  }
  return 0;
}
