#include "register/RegistroOperatori.h"

#include <gtest/gtest.h>

#include "InterazioneRegistrata.h"
#include "common/RoutineCampi.h"
#include "store/CopiaImpegno.h"
#include "store/Recordset.h"
#include "store/Schema.h"

namespace fcl {
namespace {

class RegistroOperatoriTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CreaSchema(db);
    ctx.connessioneDb = &db;
    ctx.interazione = &ui;
  }

  static DatiOperatore Persona() {
    DatiOperatore d;
    d.tocod = "  rssmra80a01h501u";
    d.toPIVA = "01234567890";
    d.personaFisica = true;
    d.vOCOG = " Rossi";
    d.vONOME = "Mario";
    d.vOSEX = "m";
    d.vONDT = "01/01/1980";
    d.vONCOM = "roma";
    d.vONPRO = "rm";
    d.vOPOSTA = "mario@esempio.it";
    return d;
  }
  static DatiOperatore Societa() {
    DatiOperatore d;
    d.tocod = "01234567890";
    d.torag = "Alfa srl";
    d.vOSCOM = "Milano";
    d.vOSPRO = "MI";
    return d;
  }

  std::string Colonna(const std::string& codice, const char* colonna) {
    return ValoreComeTesto(
        db.Scalare(std::string("SELECT ") + colonna + " FROM COPE WHERE OCOD=?", {codice}));
  }
  std::string DesItt(const std::string& codice) {
    return ValoreComeTesto(db.Scalare("SELECT DES FROM CTAB WHERE TIPO='ITT' AND COD=?", {codice}));
  }
  long long Operatori() { return std::get<std::int64_t>(db.Scalare("SELECT COUNT(*) FROM COPE")); }

  Database db = Database::InMemoria();
  test::InterazioneRegistrata ui;
  Contesto ctx;
};

TEST_F(RegistroOperatoriTest, ControlliNellOrdineConIlorTesti) {
  struct Caso {
    const char* nome;
    void (*modifica)(DatiOperatore&);
    const char* campo;
    const char* messaggio;
  } const kCasi[] = {
      {"senza codice",
       [](DatiOperatore& d) {
         d.tocod = "";
         d.torag = "";
       },
       "tocod", "Codice Fiscale non indicato."},
      {"PNF senza ragione",
       [](DatiOperatore& d) {
         d.personaFisica = false;
         d.torag = "";
         d.vOSCOM = "";
       },
       "torag", "Ragione Sociale Soggetto - campo non valido."},
      {"PNF senza comune",
       [](DatiOperatore& d) {
         d.personaFisica = false;
         d.torag = "A";
         d.vOSPRO = "";
       },
       "vOSCOM", "Indicare il comune della sede legale"},
      {"PNF senza provincia",
       [](DatiOperatore& d) {
         d.personaFisica = false;
         d.torag = "A";
         d.vOSCOM = "ROMA";
         d.vOSPRO = " ";
       },
       "vOSPRO", "Indicare la provincia della sede legale"},
      {"PF senza cognome",
       [](DatiOperatore& d) {
         d.vOCOG = " ";
         d.vONOME = "";
       },
       "vOCOG", "Indicare il cognome"},
      {"PF senza nome",
       [](DatiOperatore& d) {
         d.vONOME = "";
         d.vOSEX = "";
       },
       "vONOME", "Indicare il nome"},
      {"PF senza sesso",
       [](DatiOperatore& d) {
         d.vOSEX = "";
         d.vONDT = "";
       },
       "vOSEX", "Indicare il sesso"},
      {"PF senza data",
       [](DatiOperatore& d) {
         d.vONDT = "";
         d.vONCOM = "";
       },
       "vONDT", "Indicare la data di nascita"},
      {"PF senza comune",
       [](DatiOperatore& d) {
         d.vONCOM = "";
         d.vONPRO = "";
       },
       "vONCOM", "Indicare il comune di nascita"},
      {"PF senza provincia",
       [](DatiOperatore& d) {
         d.vONPRO = "";
         d.vITTCF = "X";
       },
       "vONPRO", "Indicare la provincia di nascita"},
      {"PF data non valida", [](DatiOperatore& d) { d.vONDT = "31/02/1980"; }, "vONDT",
       "Data di nascita non valida"},
      {"PF 29 febbraio di un anno non bisestile", [](DatiOperatore& d) { d.vONDT = "29/02/1981"; },
       "vONDT", "Data di nascita non valida"},
      {"PF data di sette cifre", [](DatiOperatore& d) { d.vONDT = "0102198"; }, "vONDT",
       "Data di nascita non valida"},
      {"PF anno zero", [](DatiOperatore& d) { d.vONDT = "01/01/0000"; }, "vONDT",
       "Data di nascita non valida"},
      {"impegno in una data impossibile",
       [](DatiOperatore& d) {
         d.vITTCF = "01234567890";
         d.vITTDATA = "29/02/2015";
       },
       "vITTDATA", "Data dell'impegno non valida"},
      {"data d'impegno impossibile senza intermediario",
       [](DatiOperatore& d) { d.vITTDATA = "0102201"; }, "vITTDATA",
       "Data dell'impegno non valida"},
      {"codice di soli spazi",
       [](DatiOperatore& d) {
         d.tocod = "   ";
         d.vOCOG = "";
       },
       "tocod", "Codice Fiscale non indicato."},
      {"codice con un percorso",
       [](DatiOperatore& d) {
         d.tocod = "../../..";
         d.vOCOG = "";
       },
       "tocod", "Codice Fiscale non valido: sono ammesse solo lettere e cifre."},
      {"codice troppo lungo",
       [](DatiOperatore& d) {
         d.tocod = std::string(5000, 'A');
         d.vOCOG = "";
       },
       "tocod", "Codice Fiscale non valido: ha più di 16 caratteri."},
      {"impegno senza data", [](DatiOperatore& d) { d.vITTCF = "01234567890"; }, "vITTDATA",
       "Indicare la data dell'impegno"},
  };
  for (const Caso& c : kCasi) {
    SCOPED_TRACE(c.nome);
    DatiOperatore d = Persona();
    c.modifica(d);
    const EsitoControllo e = AggiornaOperatore(ctx, d);
    EXPECT_EQ(e.campo, c.campo);
    EXPECT_EQ(e.messaggio, c.messaggio);
    EXPECT_EQ(Operatori(), 0);  // a failed check writes nothing
  }
}

TEST_F(RegistroOperatoriTest, PersonaFisicaSalvataEMostrata) {
  DatiOperatore d = Persona();
  ASSERT_TRUE(AggiornaOperatore(ctx, d).Superato());
  const std::string cf = "RSSMRA80A01H501U";
  EXPECT_EQ(d.tocod, cf);  // left-trimmed, upper case
  EXPECT_EQ(Colonna(cf, "ODES"), "ROSSI MARIO");
  EXPECT_EQ(Colonna(cf, "ORAG"), "");
  EXPECT_EQ(Colonna(cf, "OSTP"), "0");
  EXPECT_EQ(Colonna(cf, "OPOSTA"), "MARIO@ESEMPIO.IT");
  EXPECT_EQ(Colonna(cf, "ONDT"), "1980-01-01");  // a date, not the text typed
  EXPECT_EQ(Colonna(cf, "OSTCTP"), "");
  // No intermediary: position 22 stays blank.
  EXPECT_EQ(DesItt(cf), std::string(35, ' '));

  DatiOperatore letto;
  ASSERT_TRUE(LeggiOperatore(ctx, cf, letto));
  EXPECT_TRUE(letto.personaFisica);
  EXPECT_EQ(letto.vOCOG, "ROSSI");
  EXPECT_EQ(letto.vONDT, "01/01/1980");
  RiempiOperatoreCorrente(ctx, letto);
  EXPECT_EQ(ctx.operatoreCorrente.nomeVisualizzato, "ROSSIMARIO");
  EXPECT_EQ(ctx.operatoreCorrente.codiceFiscale, cf);
  EXPECT_EQ(ctx.operatoreCorrente.codicePredisposizione, "0");
}

TEST_F(RegistroOperatoriTest, DateDigitateSalvateComeLetteDalControllo) {
  struct Caso {
    const char* nascita;
    const char* salvata;  // ONDT as stored
    const char* impegno;
    const char* desImpegno;  // positions 23-32 of the commitment record
  } const kCasi[] = {
      {"29/02/2016", "2016-02-29", "15/06/2016", "15/06/2016"},
      {"010280", "1980-02-01", "150616", "15/06/2016"},
      {"01.02.1930", "1930-02-01", "29-02-2000", "29/02/2000"},
  };
  for (const Caso& c : kCasi) {
    SCOPED_TRACE(c.nascita);
    DatiOperatore d = Persona();
    d.vONDT = c.nascita;
    d.vITTCF = "01234567890";
    d.vITTDATA = c.impegno;
    ASSERT_TRUE(AggiornaOperatore(ctx, d).Superato());
    EXPECT_EQ(Colonna("RSSMRA80A01H501U", "ONDT"), c.salvata);
    EXPECT_EQ(DesItt("RSSMRA80A01H501U").substr(22, 10), c.desImpegno);
  }
}

// A code saved with blanks around it or in lower case (pasted, or left by an older version) is
// the same operator as its trimmed upper-case form, for every lookup and every save.
TEST_F(RegistroOperatoriTest, CodiceRifilatoESenzaMaiuscole) {
  DatiOperatore d = Persona();
  d.tocod = " rssmra80a01h501u  ";
  ASSERT_TRUE(AggiornaOperatore(ctx, d).Superato());
  EXPECT_EQ(d.tocod, "RSSMRA80A01H501U");
  EXPECT_EQ(Colonna("RSSMRA80A01H501U", "OCOD"), "RSSMRA80A01H501U");

  DatiOperatore letto;
  for (const char* cercato : {"RSSMRA80A01H501U ", "rssmra80a01h501u", " RSSMRA80A01H501U"}) {
    SCOPED_TRACE(cercato);
    EXPECT_TRUE(LeggiOperatore(ctx, cercato, letto));
  }

  // A row and commitment of an older version, in lower case: shown, saved in place, deleted.
  db.Esegui(
      "INSERT INTO COPE (OCOD, ORAG, ODES, OSTP, OSCOM, OSPRO) VALUES ('bnclgu70a01f205x', "
      "'BIANCHI SRL', 'BIANCHI SRL', '1', 'MILANO', 'MI')");
  db.Esegui(
      "INSERT INTO CTAB VALUES ('ITT', 'bnclgu70a01f205x', '01234567890          215/06/2016   ')");
  ASSERT_TRUE(LeggiOperatore(ctx, "BNCLGU70A01F205X", letto));
  EXPECT_EQ(letto.torag, "BIANCHI SRL");
  EXPECT_EQ(letto.vITTCF, "01234567890");
  EXPECT_TRUE(letto.vITT2);
  letto.vOTEL = "02 123456";
  ASSERT_TRUE(AggiornaOperatore(ctx, letto).Superato());
  EXPECT_EQ(Operatori(), 2);
  EXPECT_EQ(std::get<std::int64_t>(db.Scalare("SELECT count(*) FROM CTAB WHERE TIPO='ITT'")), 2);
  EXPECT_EQ(ValoreComeTesto(db.Scalare("SELECT OTEL FROM COPE WHERE OCOD='BNCLGU70A01F205X'")),
            "02 123456");
  ui.risposte.push_back(Risposta::Si);
  EXPECT_TRUE(EliminaOperatore(ctx, "bnclgu70a01f205x ", "BIANCHI SRL"));
  EXPECT_EQ(Operatori(), 1);

  // An operator an older program stored with a code the register no longer takes stays editable.
  db.Esegui(
      "INSERT INTO COPE (OCOD, ORAG, ODES, OSTP) VALUES ('D''ANGELO', 'APICE', 'APICE', '1')");
  ASSERT_TRUE(LeggiOperatore(ctx, "D'ANGELO", letto));
  letto.vOSCOM = "ROMA";
  letto.vOSPRO = "RM";
  EXPECT_TRUE(AggiornaOperatore(ctx, letto).Superato());
  EXPECT_EQ(Operatori(), 2);
}

TEST_F(RegistroOperatoriTest, SocietaSvuotaIDatiDellaPersona) {
  DatiOperatore d = Persona();
  d.tocod = "01234567890";
  ASSERT_TRUE(AggiornaOperatore(ctx, d).Superato());
  DatiOperatore s = Societa();
  s.tenutoPersonaFisica = false;
  s.vOSTCRAG = "Beta spa";
  ASSERT_TRUE(AggiornaOperatore(ctx, s).Superato());
  EXPECT_EQ(Operatori(), 1);
  EXPECT_EQ(Colonna("01234567890", "ODES"), "ALFA SRL");
  EXPECT_EQ(Colonna("01234567890", "OSTP"), "1");
  EXPECT_EQ(Colonna("01234567890", "OCOG"), "");
  EXPECT_TRUE(EnNull(db.Scalare("SELECT ONDT FROM COPE")));
  EXPECT_EQ(Colonna("01234567890", "OSTCTP"), "1");
  EXPECT_EQ(Colonna("01234567890", "OSTCRAG"), "BETA SPA");
  DatiOperatore letto;
  ASSERT_TRUE(LeggiOperatore(ctx, "01234567890", letto));
  EXPECT_FALSE(letto.personaFisica);
  EXPECT_FALSE(letto.tenutoPersonaFisica);
  RiempiOperatoreCorrente(ctx, letto);
  EXPECT_EQ(ctx.operatoreCorrente.nomeVisualizzato, "ALFA SRL");
}

TEST_F(RegistroOperatoriTest, ImpegnoSenzaSceltaDiventaDalContribuente) {
  DatiOperatore d = Persona();
  d.vITTCF = "01234567890";
  d.vITTCAF = "123";
  d.vITTDATA = "15/06/2016";
  ASSERT_TRUE(AggiornaOperatore(ctx, d).Superato());
  EXPECT_TRUE(d.vITT1);
  const std::string des = DesItt("RSSMRA80A01H501U");
  EXPECT_EQ(des, "01234567890     123  115/06/2016   ");

  // Date emptied: the save fails and neither row changes.
  d.vITTDATA = "";
  d.vOCOG = "Bianchi";
  const EsitoControllo e = AggiornaOperatore(ctx, d);
  EXPECT_EQ(e.messaggio, "Indicare la data dell'impegno");
  EXPECT_EQ(DesItt("RSSMRA80A01H501U"), des);
  EXPECT_EQ(Colonna("RSSMRA80A01H501U", "OCOG"), "ROSSI");

  // Intermediary emptied: blank at 1-16 and 22, the rest as typed.
  d.vITTCF = "";
  d.vITTDATA = "15/06/2016";
  ASSERT_TRUE(AggiornaOperatore(ctx, d).Superato());
  EXPECT_EQ(DesItt("RSSMRA80A01H501U"), "                123   15/06/2016   ");
}

TEST_F(RegistroOperatoriTest, EliminaERicreaRiportaLImpegno) {
  DatiOperatore d = Persona();
  d.vITTCF = "01234567890";
  d.vITT2 = true;
  d.vITTDATA = "15/06/2016";
  ASSERT_TRUE(AggiornaOperatore(ctx, d).Superato());

  ui.risposte.push_back(Risposta::No);
  EXPECT_FALSE(EliminaOperatore(ctx, d.tocod, "ROSSIMARIO "));
  EXPECT_EQ(Operatori(), 1);
  EXPECT_TRUE(EliminaOperatore(ctx, d.tocod, "ROSSIMARIO "));
  EXPECT_EQ(Operatori(), 0);
  ASSERT_EQ(ui.voci.size(), 2U);
  EXPECT_EQ(ui.voci[0].testo, "Confermi l'Eliminazione del Soggetto ROSSIMARIO?");
  EXPECT_EQ(ui.voci[0].titolo, "Richiesta conferma");

  DatiOperatore nuovo;
  EXPECT_FALSE(LeggiOperatore(ctx, "RSSMRA80A01H501U", nuovo));  // new-operator mode...
  EXPECT_EQ(nuovo.vITTCF, "01234567890");                        // ...with the old commitment
  EXPECT_TRUE(nuovo.vITT2);
  EXPECT_EQ(nuovo.vITTDATA, "15/06/2016");
}

TEST_F(RegistroOperatoriTest, CopiaInTuttiSovrascriveGliAltri) {
  DatiOperatore s = Societa();
  s.vITTCF = "ALTROINTERMED";
  s.vITTDATA = "01/01/2015";
  ASSERT_TRUE(AggiornaOperatore(ctx, s).Superato());
  DatiOperatore d = Persona();
  d.vITTCF = "01234567890";
  d.vITTDATA = "15/06/2016";
  ASSERT_TRUE(AggiornaOperatore(ctx, d).Superato());
  RiempiOperatoreCorrente(ctx, d);
  const OperatoreCorrente& op = ctx.operatoreCorrente;
  ASSERT_TRUE(CopiaImpegno(ctx, RecordImpegno{op.intermediarioCF, op.numeroIscrizioneCaf,
                                              op.codicePredisposizione, op.dataImpegno}));
  EXPECT_EQ(DesItt("01234567890"), DesItt("RSSMRA80A01H501U"));
  EXPECT_EQ(DesItt("01234567890").substr(0, 22), "01234567890          1");
}

TEST_F(RegistroOperatoriTest, ComuneProposto) {
  db.Esegui(
      "INSERT INTO T_COMUNI (COMUNE, PRO) VALUES ('ROMANO CANAVESE', 'TO'), ('ROMA', 'RM'), "
      "('ROMAGNANO SESIA', 'NO'), ('SANT''ANGELO', 'XX'), ('A_B', 'AB')");
  struct Caso {
    const char* testo;
    const char* comune;  // empty: none
    const char* provincia;
  } const kCasi[] = {
      {"ROM", "ROMA", "RM"},
      {"rom", "ROMA", "RM"},
      {"ROMAG", "ROMAGNANO SESIA", "NO"},
      {"SANT'", "SANT'ANGELO", "XX"},
      {"%", "", ""},
      {"A_", "A_B", "AB"},
      {"AXB", "", ""},
  };
  for (const Caso& c : kCasi) {
    SCOPED_TRACE(c.testo);
    const auto trovato = ComuneCheIniziaCon(db, c.testo);
    ASSERT_EQ(trovato.has_value(), *c.comune != 0);
    if (trovato) {
      EXPECT_EQ(trovato->first, c.comune);
      EXPECT_EQ(trovato->second, c.provincia);
    }
  }
  EXPECT_EQ(ComuneEsatto(db, "ROMA")->second, "RM");
  EXPECT_FALSE(ComuneEsatto(db, "ROM"));
}

}  // namespace
}  // namespace fcl
