#include "shell/ImportaOperatori.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <functional>

#include "CartellaTemporanea.h"
#include "InterazioneRegistrata.h"
#include "common/RoutineCampi.h"
#include "shell/Marcatori.h"
#include "store/Recordset.h"
#include "store/Schema.h"

namespace fcl {
namespace {

std::int64_t Conta(Database& db, const std::string& sql) {
  return std::get<std::int64_t>(db.Scalare(sql));
}

// A program folder with its own database (two operators, two commitment rows) and the markers of
// VELA and ORSA pointing at SQLite databases made here.
class ImportaOperatoriTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("XDG_DATA_HOME", (dir / "xdg").c_str(), 1);
    prog = dir / "prog";
    std::filesystem::create_directories(prog / "SYSTEM");
    ctx.cartellaProgramma = prog;
    ctx.configurazione.pcDirF = prog.string();
    db.emplace(dir / "nostro.db", Database::Modo::Creazione);
    CreaSchema(*db);
    db->Esegui("INSERT INTO COPE (OCOD, ORAG, OPIVA) VALUES ('01234567890', 'NOSTRA SRL', 'X')");
    db->Esegui("INSERT INTO COPE (OCOD, OCOG) VALUES ('BNCLGU70A01F205X', 'NOSTRO')");
    db->Esegui(
        "INSERT INTO CTAB VALUES ('ITT', '01234567890', 'VECCHIO'), ('ITT', 'ALTRO', 'RESTA'), "
        "('REL', '002', '01/01/2016')");
    ctx.connessioneDb = &*db;
    ctx.interazione = &ui;
  }

  std::filesystem::path Vela() {
    const auto file = dir / "vela" / "vela.db";
    std::filesystem::create_directories(file.parent_path());
    Database d(file, Database::Modo::Creazione);
    CreaSchema(d);
    d.Esegui(
        "INSERT INTO COPE (OCOD, ORAG, OCOG, ONOME, OSEX, ONDT, ONCOM, OSTP, ODES) VALUES "
        "(' 01234567890 ', 'DIVERSA', NULL, NULL, NULL, NULL, NULL, NULL, NULL), "
        "('98765432109', ' BETA SPA ', NULL, NULL, NULL, NULL, NULL, 'G', 'BETA'), "
        "('VRDGPP60B02L219K ', NULL, ' VERDI ', 'GIUSEPPE ', 'M', '1960-02-02', 'TORINO', 'F', "
        "'VERDI')");
    d.Esegui("INSERT INTO COPE (OCOD) VALUES ('  ')");
    d.Esegui(
        "INSERT INTO CTAB VALUES ('ITT', ' 01234567890 ', 'NUOVO'), ('ITT', '98765432109', 'B'), "
        "('REL', '002', '01/01/2015')");
    return file;
  }
  std::filesystem::path Orsa() {
    const auto file = dir / "orsa" / "orsa.db";
    std::filesystem::create_directories(file.parent_path());
    Database d(file, Database::Modo::Creazione);
    d.Esegui("CREATE TABLE OPE (OCF Text, ORAG Text, OPIVA Text, OLOCA Text, OPR Text)");
    d.Esegui(
        "INSERT INTO OPE VALUES ('BNCLGU70A01F205X', 'ALTRO NOME', '', 'MILANO', 'MI'), "
        "('RSSMRA80A01H501U ', 'ROSSI MARIO', '  ', 'ROMA', 'RM'), "
        "('11111111111', 'GAMMA SRL', ' 11111111111 ', 'NAPOLI', 'NA')");
    return file;
  }
  void Marcatore(std::string_view nome, const std::filesystem::path& file) {
    ScriviFileMarcatore(
        prog / "SYSTEM" / std::string(nome),
        {"provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + file.string(), "A", "/x"});
  }
  std::string Testo(const std::string& sql) { return ValoreComeTesto(db->Scalare(sql)); }

  test::CartellaTemporanea dir;
  std::filesystem::path prog;
  test::InterazioneRegistrata ui;
  Contesto ctx;
  std::optional<Database> db;
};

TEST_F(ImportaOperatoriTest,
       VelaAggiungeIMancantiSostituisceGliImpegniEUnaSecondaVoltaNonAggiungeNulla) {
  Marcatore(kMarcatoreVela, Vela());
  int ricariche = 0;
  auto esito = OPEvela_Click(ctx, [&] { ++ricariche; });
  ASSERT_TRUE(esito);
  EXPECT_EQ(esito->aggiunti, 2);
  EXPECT_EQ(esito->presenti, 1);
  EXPECT_EQ(esito->impegni, 2);
  EXPECT_EQ(esito->falliti, 0);
  EXPECT_EQ(esito->esclusi, 1);  // the row without a code, told below
  EXPECT_EQ(ricariche, 1);
  ASSERT_EQ(ui.voci.size(), 2u);
  EXPECT_EQ(ui.voci[1].testo,
            "Copia degli operatori da VELA: 1 riga non copiata perché il codice fiscale non è "
            "valido (ammesse solo lettere e cifre, al massimo 16): (vuoto).");
  EXPECT_EQ(ui.voci[0].tipo, "domanda");
  EXPECT_EQ(ui.voci[0].titolo, "Copia Operatori");
  EXPECT_EQ(ui.voci[0].testo,
            "Questa procedura copia gli OPERATORI di VELA (se non già presenti) in FISCOLARIO. "
            "Confermi la copia?");

  EXPECT_EQ(Conta(*db, "SELECT count(*) FROM COPE"), 4);
  // Already present: unchanged.
  EXPECT_EQ(Testo("SELECT ORAG FROM COPE WHERE OCOD='01234567890'"), "NOSTRA SRL");
  EXPECT_EQ(Testo("SELECT OPIVA FROM COPE WHERE OCOD='01234567890'"), "X");
  // An 11-character code is also the VAT number; texts trimmed, others as they are.
  EXPECT_EQ(Testo("SELECT OPIVA FROM COPE WHERE OCOD='98765432109'"), "98765432109");
  EXPECT_EQ(Testo("SELECT ORAG FROM COPE WHERE OCOD='98765432109'"), "BETA SPA");
  EXPECT_EQ(Testo("SELECT OSTP FROM COPE WHERE OCOD='98765432109'"), "G");
  Recordset v(*db, "SELECT * FROM COPE WHERE OCOD='VRDGPP60B02L219K'", {},
              Recordset::Modo::SolaLettura);
  ASSERT_EQ(v.RecordCount(), 1u);
  EXPECT_EQ(ValoreComeTesto(v["OCOG"]), "VERDI");
  EXPECT_EQ(ValoreComeTesto(v["ONOME"]), "GIUSEPPE");
  EXPECT_EQ(ValoreComeTesto(v["OPIVA"]), "");
  EXPECT_EQ(ValoreComeTesto(v["ONCOM"]), "TORINO");
  EXPECT_EQ(CampoData(v["ONDT"]), (Data{1960, 2, 2}));

  // ITT rows replaced per operator; others' ITT rows and other types untouched.
  EXPECT_EQ(Testo("SELECT DES FROM CTAB WHERE TIPO='ITT' AND COD='01234567890'"), "NUOVO");
  EXPECT_EQ(Conta(*db, "SELECT count(*) FROM CTAB WHERE TIPO='ITT' AND COD='01234567890'"), 1);
  EXPECT_EQ(Testo("SELECT DES FROM CTAB WHERE TIPO='ITT' AND COD='ALTRO'"), "RESTA");
  EXPECT_EQ(Testo("SELECT DES FROM CTAB WHERE TIPO='REL'"), "01/01/2016");
  EXPECT_EQ(Conta(*db, "SELECT count(*) FROM CTAB"), 4);

  const auto prima = Conta(*db, "SELECT count(*) FROM COPE");
  auto seconda = OPEvela_Click(ctx);
  ASSERT_TRUE(seconda);
  EXPECT_EQ(seconda->aggiunti, 0);
  EXPECT_EQ(seconda->presenti, 3);
  EXPECT_EQ(Conta(*db, "SELECT count(*) FROM COPE"), prima);
  EXPECT_EQ(Conta(*db, "SELECT count(*) FROM CTAB"), 4);
}

TEST_F(ImportaOperatoriTest, ConfermaNegataNonCopiaNulla) {
  Marcatore(kMarcatoreVela, Vela());
  Marcatore(kMarcatoreOrsa, Orsa());
  ui.risposte = {Risposta::No, Risposta::No};
  int ricariche = 0;
  EXPECT_FALSE(OPEvela_Click(ctx, [&] { ++ricariche; }));
  EXPECT_FALSE(OPEORSA_Click(ctx, [&] { ++ricariche; }));
  EXPECT_EQ(ricariche, 0);
  EXPECT_EQ(Conta(*db, "SELECT count(*) FROM COPE"), 2);
  EXPECT_EQ(Testo("SELECT DES FROM CTAB WHERE TIPO='ITT' AND COD='01234567890'"), "VECCHIO");
  EXPECT_EQ(ui.Testi("domanda").size(), 2u);
}

TEST_F(ImportaOperatoriTest, OrsaAggiungeSenzaCognomeNomeNeDataEPartitaIvaVuotaNonImpostata) {
  Marcatore(kMarcatoreOrsa, Orsa());
  auto esito = OPEORSA_Click(ctx);
  ASSERT_TRUE(esito);
  EXPECT_EQ(esito->aggiunti, 2);
  EXPECT_EQ(esito->presenti, 1);
  ASSERT_EQ(ui.voci.size(), 1u);
  EXPECT_EQ(ui.voci[0].testo,
            "Questa procedura copia gli OPERATORI di ORSA (se il codice non è già presente) in "
            "FISCOLARIO. Confermi la copia?");
  EXPECT_EQ(Testo("SELECT ORAG FROM COPE WHERE OCOD='BNCLGU70A01F205X'"), "");  // unchanged
  Recordset r(*db, "SELECT * FROM COPE WHERE OCOD='RSSMRA80A01H501U'", {},
              Recordset::Modo::SolaLettura);
  ASSERT_EQ(r.RecordCount(), 1u);
  EXPECT_EQ(ValoreComeTesto(r["ORAG"]), "ROSSI MARIO");
  EXPECT_EQ(ValoreComeTesto(r["ODES"]), "ROSSI MARIO");
  EXPECT_EQ(ValoreComeTesto(r["OCOG"]), "");
  EXPECT_FALSE(EnNull(r["OCOG"]));
  EXPECT_EQ(ValoreComeTesto(r["ONOME"]), "");
  EXPECT_TRUE(EnNull(r["OPIVA"]));
  EXPECT_TRUE(CampoData(r["ONDT"]).Zero());
  EXPECT_EQ(ValoreComeTesto(r["OSCOM"]), "ROMA");
  EXPECT_EQ(ValoreComeTesto(r["OSPRO"]), "RM");
  EXPECT_EQ(ValoreComeTesto(r["ONCOM"]), "");
  EXPECT_EQ(Testo("SELECT OPIVA FROM COPE WHERE OCOD='11111111111'"), "11111111111");
  EXPECT_EQ(Conta(*db, "SELECT count(*) FROM CTAB"), 3);  // ORSA never touches CTAB

  ASSERT_TRUE(OPEORSA_Click(ctx));
  EXPECT_EQ(Conta(*db, "SELECT count(*) FROM COPE"), 4);
}

TEST_F(ImportaOperatoriTest, CollegamentoMancanteAvvisaVelaSoloSeNonSilenzioso) {
  struct Case {
    bool silenzioso;
    std::size_t messaggiVela;
  } const kCases[] = {{false, 1}, {true, 0}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.silenzioso);
    ui.voci.clear();
    ctx.importSilenzioso = c.silenzioso;
    EXPECT_FALSE(OPEvela_Click(ctx));
    ASSERT_EQ(ui.Testi().size(), c.messaggiVela);
    if (c.messaggiVela) {
      EXPECT_EQ(ui.voci[0].titolo, "Collegamento a VELA");
      EXPECT_EQ(ui.voci[0].icona, Icona::Informazione);
      EXPECT_EQ(ui.voci[0].testo,
                "Il programma VELA non è aggiornato alla versione collegata con FISCOLARIO. "
                "Aggiornare VELA e riprovare");
    }
    EXPECT_FALSE(OPEORSA_Click(ctx));  // ORSA tells it always
    ASSERT_EQ(ui.Testi().size(), c.messaggiVela + 1);
    EXPECT_EQ(ui.voci.back().titolo, "Collegamento a ORSA");
    EXPECT_EQ(ui.voci.back().testo,
              "Il programma ORSA non è aggiornato alla versione collegata con FISCOLARIO. "
              "Aggiornare ORSA e riprovare");
    EXPECT_TRUE(ui.Testi("domanda").empty());
  }
}

// A marker that is there but wrong, or a database that is not where it says, is told as it is;
// only a missing marker means that the sibling program is not the version linked with this one.
TEST_F(ImportaOperatoriTest, CollegamentoGuastoDiceCosaNonVa) {
  const auto marcatore = prog / "SYSTEM" / std::string(kMarcatoreVela);
  const std::string dove = " indicato dal marcatore di collegamento " + marcatore.string();
  std::filesystem::create_directories(dir / "cartella.db");
  struct Case {
    std::string_view nome;
    std::function<void()> prepara;
    std::string motivo;
  } const kCases[] = {
      {"marcatore illeggibile",
       [&] { test::ScriviFile(marcatore, "spazzatura\r\nspazzatura\r\n\x01\r\n"); },
       "Il marcatore di collegamento " + marcatore.string() +
           " non è leggibile: non è stato scritto da un programma collegato oppure è danneggiato."},
      {"marcatore cartella", [&] { std::filesystem::create_directory(marcatore); },
       "Il marcatore di collegamento " + marcatore.string() + " è una cartella, non un file."},
      {"marcatore pipe", [&] { ASSERT_EQ(::mkfifo(marcatore.c_str(), 0600), 0); },
       "Il marcatore di collegamento " + marcatore.string() +
           " non è un file ordinario (è una pipe, un socket o un dispositivo)."},
      {"senza Data Source",
       [&] {
         ScriviFileMarcatore(marcatore, {"provider=x", "A", "/x"});
       },
       "Il marcatore di collegamento " + marcatore.string() +
           " non indica il database del programma collegato."},
      {"database mancante", [&] { Marcatore(kMarcatoreVela, dir / "manca.db"); },
       "Il database " + (dir / "manca.db").string() + dove + " non esiste."},
      {"database cartella", [&] { Marcatore(kMarcatoreVela, dir / "cartella.db"); },
       "Il database " + (dir / "cartella.db").string() + dove + " non è un file."},
      {"database illeggibile",
       [&] {
         test::ScriviFile(dir / "rotto.db", "non un database");
         Marcatore(kMarcatoreVela, dir / "rotto.db");
       },
       "Il database " + (dir / "rotto.db").string() + dove +
           " non si può aprire: il formato non è riconosciuto, il file è danneggiato o non si può "
           "leggere."},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.nome);
    std::filesystem::remove_all(marcatore);
    ui.voci.clear();
    c.prepara();
    EXPECT_FALSE(OPEvela_Click(ctx));
    ASSERT_EQ(ui.Testi().size(), 1u);
    EXPECT_EQ(ui.voci[0].titolo, "Collegamento a VELA");
    EXPECT_EQ(ui.voci[0].testo, "Impossibile collegarsi al programma VELA. " + c.motivo +
                                    "\r\n \r\nAvviare VELA (che all'avvio riscrive il proprio "
                                    "marcatore di collegamento) e riprovare.");
  }
}

TEST_F(ImportaOperatoriTest, DatabaseCollegatoNonApribileOSenzaColonneNonAggiungeRighe) {
  // A marker naming a file that is no database is a failed link.
  test::ScriviFile(dir / "rotto.db", "non un database");
  Marcatore(kMarcatoreVela, dir / "rotto.db");
  EXPECT_FALSE(OPEvela_Click(ctx));
  EXPECT_EQ(ui.Testi().size(), 1u);

  // An ORSA table lacking a column: rows are skipped and counted, none is stored half.
  const auto file = dir / "orsa2.db";
  {
    Database d(file, Database::Modo::Creazione);
    d.Esegui("CREATE TABLE OPE (OCF Text, ORAG Text)");
    d.Esegui("INSERT INTO OPE VALUES ('ZZZZZZ00A00Z000Z', 'SENZA')");
  }
  Marcatore(kMarcatoreOrsa, file);
  auto esito = OPEORSA_Click(ctx);
  ASSERT_TRUE(esito);
  EXPECT_EQ(esito->aggiunti, 0);
  EXPECT_EQ(esito->falliti, 1);
  EXPECT_EQ(Conta(*db, "SELECT count(*) FROM COPE"), 2);
  ASSERT_EQ(ui.Testi("avviso").size(), 1u);
  EXPECT_EQ(ui.Testi("avviso")[0], "Copia degli operatori da ORSA: 1 riga non copiata.");
}

// The register's own rules for a code apply to every imported one; codes compare without case,
// so "pf0" beside the register's "PF0" is the operator already there.
TEST_F(ImportaOperatoriTest, CodiciCheIlRegistroRifiuterebbeRestanoFuoriENominati) {
  db->Esegui("INSERT INTO COPE (OCOD, ORAG) VALUES ('PF0', 'NOSTRA')");
  const auto vela = dir / "vela-ostile.db";
  {
    Database d(vela, Database::Modo::Creazione);
    CreaSchema(d);
    d.Esegui(
        "INSERT INTO COPE (OCOD, ORAG) VALUES ('../../..', 'PERCORSO'), (?, 'LUNGO'), "
        "('', 'VUOTO'), ('pf0', 'MINUSCOLO'), (' nuovo1 ', 'NUOVO')",
        {std::string(5000, 'A')});
    d.Esegui("INSERT INTO CTAB VALUES ('ITT', '../../..', 'X'), ('ITT', 'pf0 ', 'IMPEGNO PF0')");
  }
  Marcatore(kMarcatoreVela, vela);
  auto esito = OPEvela_Click(ctx);
  ASSERT_TRUE(esito);
  EXPECT_EQ(esito->aggiunti, 1);
  EXPECT_EQ(esito->presenti, 1);
  EXPECT_EQ(esito->esclusi, 4);
  EXPECT_EQ(Conta(*db, "SELECT count(*) FROM COPE WHERE OCOD LIKE 'pf0'"), 1);
  EXPECT_EQ(Testo("SELECT ORAG FROM COPE WHERE OCOD='PF0'"), "NOSTRA");
  EXPECT_EQ(Testo("SELECT ORAG FROM COPE WHERE OCOD='NUOVO1'"), "NUOVO");
  EXPECT_EQ(Testo("SELECT DES FROM CTAB WHERE TIPO='ITT' AND COD='PF0'"), "IMPEGNO PF0");
  EXPECT_EQ(Conta(*db, "SELECT count(*) FROM COPE"), 4);
  ASSERT_EQ(ui.Testi("avviso").size(), 1u);
  EXPECT_EQ(ui.Testi("avviso")[0],
            "Copia degli operatori da VELA: 4 righe non copiate perché il codice fiscale non è "
            "valido (ammesse solo lettere e cifre, al massimo 16): \"../../..\", \"" +
                std::string(20, 'A') + "...\" (5000 caratteri), (vuoto), \"../../..\".");

  const auto orsa = dir / "orsa-ostile.db";
  {
    Database d(orsa, Database::Modo::Creazione);
    d.Esegui("CREATE TABLE OPE (OCF Text, ORAG Text, OPIVA Text, OLOCA Text, OPR Text)");
    d.Esegui(
        "INSERT INTO OPE VALUES ('pf0', 'MINUSCOLO', '', '', ''), ('A/B', 'BARRA', '', '', '')");
  }
  Marcatore(kMarcatoreOrsa, orsa);
  ui.voci.clear();
  esito = OPEORSA_Click(ctx);
  ASSERT_TRUE(esito);
  EXPECT_EQ(esito->aggiunti, 0);
  EXPECT_EQ(esito->presenti, 1);
  EXPECT_EQ(esito->esclusi, 1);
  EXPECT_EQ(Conta(*db, "SELECT count(*) FROM COPE"), 4);
  EXPECT_EQ(ui.Testi("avviso"),
            std::vector<std::string>{
                "Copia degli operatori da ORSA: 1 riga non copiata perché il codice fiscale non "
                "è valido (ammesse solo lettere e cifre, al massimo 16): \"A/B\"."});
}

// A linked database is read only from its real tables, within bounds: an endless view, a column
// of a megabyte or more rows than any register copy nothing and say why.
TEST_F(ImportaOperatoriTest, ArchivioCollegatoOstileNonCopiaNulla) {
  struct Caso {
    std::string nome;
    std::vector<std::string> sql;
    std::string causa;
  } const kCasi[] = {
      {"COPE vista senza fine",
       {"CREATE VIEW COPE AS WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n) "
        "SELECT printf('A%015d', x) AS OCOD, 'X' AS ORAG FROM n"},
       "L'archivio collegato non ha la tabella COPE."},
      {"valore enorme",
       {"CREATE TABLE COPE (OCOD Text, ORAG Text)",
        "INSERT INTO COPE VALUES ('ALFA', hex(zeroblob(1000000)))"},
       "La tabella COPE dell'archivio collegato contiene un valore più lungo di 65536 byte"},
      {"troppe righe",
       {"CREATE TABLE COPE (OCOD Text, ORAG Text)",
        "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n LIMIT 100001) "
        "INSERT INTO COPE SELECT printf('A%015d', x), 'X' FROM n"},
       "La tabella COPE dell'archivio collegato ha più di 100000 righe"},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.nome);
    const auto file = dir / (c.nome + ".db");
    {
      Database d(file, Database::Modo::Creazione);
      for (const auto& sql : c.sql) d.Esegui(sql);
    }
    Marcatore(kMarcatoreVela, file);
    ui.voci.clear();
    EXPECT_FALSE(OPEvela_Click(ctx));
    EXPECT_EQ(Conta(*db, "SELECT count(*) FROM COPE"), 2);
    ASSERT_EQ(ui.Testi("avviso").size(), 1u);
    const std::string avviso = ui.Testi("avviso")[0];
    EXPECT_EQ(avviso.rfind("Copia degli operatori da VELA non riuscita: ", 0), 0u) << avviso;
    EXPECT_NE(avviso.find(c.causa), std::string::npos) << avviso;
    EXPECT_NE(avviso.find("Nessun operatore è stato copiato."), std::string::npos) << avviso;
  }
}

}  // namespace
}  // namespace fcl
