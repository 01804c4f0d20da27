// The register from and to a client list: every wrong field refused with the register's own
// message while the other rows are saved, operators already present left alone unless asked, and
// an export that an import reads back to the same register.

#include "batch/ElencoOperatori.h"

#include <gtest/gtest.h>

#include "CartellaTemporanea.h"
#include "InterazioneRegistrata.h"
#include "common/Errori.h"
#include "common/RoutineCampi.h"
#include "register/RegistroOperatori.h"
#include "store/Database.h"
#include "store/Schema.h"

namespace fcl {
namespace {

using test::CartellaTemporanea;
using test::LeggiFile;
using test::ScriviFile;

class ElencoOperatoriTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CreaSchema(db);
    ctx.connessioneDb = &db;
    ctx.interazione = &ui;
  }
  long long Operatori() { return std::get<std::int64_t>(db.Scalare("SELECT COUNT(*) FROM COPE")); }
  std::string Colonna(const std::string& codice, const char* colonna) {
    return ValoreComeTesto(
        db.Scalare(std::string("SELECT ") + colonna + " FROM COPE WHERE OCOD=?", {codice}));
  }

  Database db = Database::InMemoria();
  test::InterazioneRegistrata ui;
  Contesto ctx;
  CartellaTemporanea dir;
};

constexpr std::string_view kIntestazione =
    "codice_fiscale;tipo_soggetto;ragione_sociale;comune_sede;provincia_sede;cognome;nome;sesso;"
    "data_nascita;comune_nascita;provincia_nascita;partita_iva;impegno_codice_fiscale;"
    "impegno_data\n";

TEST_F(ElencoOperatoriTest, OgniCampoErratoConIlMessaggioDelRegistro) {
  const struct {
    std::string riga;
    std::string motivo;  // empty: saved
  } casi[] = {
      {";PNF;ALFA SRL;MILANO;MI;;;;;;;;;", "Codice Fiscale non indicato."},
      {"01234567890;PNF;;MILANO;MI;;;;;;;;;", "Ragione Sociale Soggetto - campo non valido."},
      {"01234567890;PNF;ALFA SRL;;MI;;;;;;;;;", "Indicare il comune della sede legale"},
      {"01234567890;PNF;ALFA SRL;MILANO;;;;;;;;;;", "Indicare la provincia della sede legale"},
      {"RSSMRA80A01H501U;PF;;;;;MARIO;M;01/01/1980;ROMA;RM;;;", "Indicare il cognome"},
      {"RSSMRA80A01H501U;PF;;;;ROSSI;;M;01/01/1980;ROMA;RM;;;", "Indicare il nome"},
      {"RSSMRA80A01H501U;PF;;;;ROSSI;MARIO;;01/01/1980;ROMA;RM;;;", "Indicare il sesso"},
      {"RSSMRA80A01H501U;PF;;;;ROSSI;MARIO;M;;ROMA;RM;;;", "Indicare la data di nascita"},
      {"RSSMRA80A01H501U;PF;;;;ROSSI;MARIO;M;31/02/1980;ROMA;RM;;;", "Data di nascita non valida"},
      {"RSSMRA80A01H501U;PF;;;;ROSSI;MARIO;M;01/01/1980;;RM;;;", "Indicare il comune di nascita"},
      {"RSSMRA80A01H501U;PF;;;;ROSSI;MARIO;M;01/01/1980;ROMA;;;;",
       "Indicare la provincia di nascita"},
      {"01234567890;PNF;ALFA SRL;MILANO;MI;;;;;;;;VRDLCU70M15A794Y;",
       "Indicare la data dell'impegno"},
      {"01234567890;PNF;ALFA SRL;MILANO;MI;;;;;;;;VRDLCU70M15A794Y;32/01/2026",
       "impegno_data: Data non valida"},
      // A day or month without its leading zero is refused, never read as another date.
      {"01234567890;PNF;ALFA SRL;MILANO;MI;;;;;;;;VRDLCU70M15A794Y;20/1/2026",
       "impegno_data: Data non valida"},
      {"RSSMRA80A01H501U;PF;;;;ROSSI;MARIO;M;1/1/1980;ROMA;RM;;;", "Data di nascita non valida"},
      {"01234567890;SRL;ALFA SRL;MILANO;MI;;;;;;;;;",
       "tipo_soggetto \"SRL\" non valido: indicare PF o PNF"},
      {"01234567890;pnf;alfa srl;Milano;mi;;;;;;;01234567890;VRDLCU70M15A794Y;20/01/2026", ""},
      {"rssmra80a01h501u;PF;;;;Rossi;Mario;m;01/01/1980;Roma;RM;;;", ""},
  };
  std::string testo(kIntestazione);
  for (const auto& c : casi) testo += c.riga + "\n";
  ScriviFile(dir / "soggetti.csv", testo);

  const EsitoImportaElenco e = ImportaElencoOperatori(ctx, dir / "soggetti.csv", false);
  EXPECT_EQ(e.aggiunti, 2u);
  EXPECT_EQ(e.aggiornati, 0u);
  std::size_t rifiutata = 0;
  for (std::size_t i = 0; i < std::size(casi); ++i) {
    SCOPED_TRACE(casi[i].riga);
    if (casi[i].motivo.empty()) continue;
    ASSERT_LT(rifiutata, e.rifiutati.size());
    EXPECT_EQ(e.rifiutati[rifiutata].linea, i + 2);
    EXPECT_EQ(e.rifiutati[rifiutata].motivo, casi[i].motivo);
    ++rifiutata;
  }
  EXPECT_EQ(rifiutata, e.rifiutati.size());
  // Only the two valid rows changed the register, as the register's save stores them.
  EXPECT_EQ(Operatori(), 2);
  EXPECT_EQ(Colonna("01234567890", "ODES"), "ALFA SRL");
  EXPECT_EQ(Colonna("01234567890", "OSPRO"), "MI");
  EXPECT_EQ(Colonna("RSSMRA80A01H501U", "ODES"), "ROSSI MARIO");
  EXPECT_EQ(FormatoData(db.Scalare("SELECT ONDT FROM COPE WHERE OCOD='RSSMRA80A01H501U'")),
            "01/01/1980");
  DatiOperatore d;
  ASSERT_TRUE(LeggiOperatore(ctx, "01234567890", d));
  EXPECT_EQ(d.vITTDATA, "20/01/2026");
  EXPECT_TRUE(d.vITT1);  // an intermediary without a choice: "Dal CONTRIBUENTE", as the save does
}

TEST_F(ElencoOperatoriTest, PresentiLasciatiSenzaAggiorna) {
  ScriviFile(dir / "a.csv",
             "Codice Fiscale,Ragione Sociale,Comune Sede,Provincia Sede\n"
             "01234567890,ALFA SRL,MILANO,MI\n");
  ASSERT_EQ(ImportaElencoOperatori(ctx, dir / "a.csv", false).aggiunti, 1u);
  ScriviFile(dir / "b.csv",
             "Codice Fiscale,Ragione Sociale,Comune Sede,Provincia Sede\n"
             "01234567890,ALFA NUOVA SRL,BERGAMO,BG\n");
  EsitoImportaElenco e = ImportaElencoOperatori(ctx, dir / "b.csv", false);
  EXPECT_EQ(e.invariati, 1u);
  EXPECT_EQ(Colonna("01234567890", "ORAG"), "ALFA SRL");
  e = ImportaElencoOperatori(ctx, dir / "b.csv", true);
  EXPECT_EQ(e.aggiornati, 1u);
  EXPECT_EQ(Colonna("01234567890", "ORAG"), "ALFA NUOVA SRL");
  EXPECT_EQ(Operatori(), 1);

  ScriviFile(dir / "c.csv", "partita_iva;ragione_sociale\n01234567890;X\n");
  EXPECT_THROW(ImportaElencoOperatori(ctx, dir / "c.csv", false), Errore);
}

TEST_F(ElencoOperatoriTest, EsportaEImportaRiportanoLoStessoArchivio) {
  DatiOperatore p;
  p.tocod = "RSSMRA80A01H501U";
  p.toPIVA = "01234567890";
  p.personaFisica = true;
  p.vOCOG = "D'ANGELO";
  p.vONOME = "NICOLÒ";
  p.vOSEX = "M";
  p.vONDT = "05/03/1980";
  p.vONCOM = "ROMA";
  p.vONPRO = "RM";
  p.vOPOSTA = "nicolo@esempio.it";
  p.vOATT = "692000";
  p.vOATTD = "CONTABILITÀ; \"CONSULENZA\"";
  p.vOSTCCF = "01234567890";
  p.vOSTCCDCARICA = "2";
  p.tenutoPersonaFisica = false;
  p.vOSTCRAG = "TUTORE SRL";
  p.vOSTCSCOM = "MILANO";
  p.vOSTCSPRO = "MI";
  p.vITTCF = "VRDLCU70M15A794Y";
  p.vITTCAF = "00123";
  p.vITT2 = true;
  p.vITTDATA = "20/01/2026";
  DatiOperatore s;
  s.tocod = "01234567890";
  s.torag = "ALFA, BETA & C. S.N.C.";
  s.vOSCOM = "BERGAMO";
  s.vOSPRO = "BG";
  s.vOTEL = "035 123456";
  s.tenutoPersonaFisica = true;
  s.vOSTCCOG = "BIANCHI";
  s.vOSTCNOME = "LAURA";
  for (DatiOperatore* d : {&p, &s}) ASSERT_TRUE(AggiornaOperatore(ctx, *d).Superato());

  ASSERT_EQ(EsportaElencoOperatori(ctx, dir / "uno.csv"), 2u);
  const std::string prima = LeggiFile(dir / "uno.csv");
  EXPECT_TRUE(
      prima.starts_with("\xEF\xBB\xBF"
                        "codice_fiscale;partita_iva;tipo_soggetto;"));
  db.Esegui("DELETE FROM COPE");
  db.Esegui("DELETE FROM CTAB WHERE TIPO='ITT'");

  const EsitoImportaElenco e = ImportaElencoOperatori(ctx, dir / "uno.csv", false);
  EXPECT_EQ(e.aggiunti, 2u);
  EXPECT_TRUE(e.rifiutati.empty()) << e.rifiutati[0].motivo;
  ASSERT_EQ(EsportaElencoOperatori(ctx, dir / "due.csv"), 2u);
  EXPECT_EQ(LeggiFile(dir / "due.csv"), prima);
}

}  // namespace
}  // namespace fcl
