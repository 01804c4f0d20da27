// The backup commands of the command line, run in-process on real program folders.

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <sstream>

#include "CartellaTemporanea.h"
#include "Comandi.h"
#include "store/Database.h"
#include "store/Recordset.h"

namespace fcl {
namespace {

struct Esito {
  int codice;
  std::string out;
  std::string err;
};

Esito Cli(std::vector<std::string> argomenti) {
  argomenti.insert(argomenti.begin(), "fiscolario-cli");
  std::vector<const char*> argv;
  for (const auto& a : argomenti) argv.push_back(a.c_str());
  std::ostringstream out;
  std::ostringstream err;
  const int codice = EseguiCli(static_cast<int>(argv.size()), argv.data(), out, err,
                               std::filesystem::temp_directory_path());
  return {codice, out.str(), err.str()};
}

std::string Descrivi(const Valore& v) {
  if (EnNull(v)) return "Null";
  if (const auto* d = std::get_if<Data>(&v)) return "D:" + d->Testo();
  return "[" + ValoreComeTesto(v) + "]";
}

// Every column of the operator tables, by row.
std::vector<std::string> Archivio(const std::filesystem::path& cartella) {
  Database db(cartella / "DataBase" / "FCL2013.mdb", Database::Modo::SolaLettura);
  std::vector<std::string> righe;
  for (const char* sql : {"SELECT * FROM COPE ORDER BY OCOD",
                          "SELECT * FROM CTAB WHERE TIPO<>'REL' ORDER BY TIPO, COD"}) {
    Recordset rs(db, sql, {}, Recordset::Modo::SolaLettura);
    for (; !rs.Eof(); rs.MoveNext()) {
      std::string r;
      for (std::size_t i = 0; i < rs.NumeroCampi(); ++i)
        r += rs.NomeCampo(i) + "=" + Descrivi(rs[i]) + " ";
      righe.push_back(r);
    }
  }
  return righe;
}

class CliBackupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // No link markers of sibling programs from the machine running the tests.
    ::setenv("XDG_DATA_HOME", base.Percorso().c_str(), 1);
    std::filesystem::create_directories(origine);
    std::filesystem::create_directories(destinazione);
    // The first command creates the program folder's database.
    ASSERT_EQ(Cli({"--cartella", origine.string(), "operatori"}).codice, 0);
    Database db(origine / "DataBase" / "FCL2013.mdb", Database::Modo::LetturaScrittura);
    db.Esegui(
        "INSERT INTO COPE (OCOD, ORAG, OCOG, ONOME, OSEX, ONDT, ONCOM, OSTP, ODES, OATTD, OTEL, "
        "OPOSTA, OSTCRAG, OSTCNOME) VALUES (?, '', ?, ?, 'M', ?, ?, '0', ?, ?, ?, ?, ?, ?)",
        {std::string("RSSMRA80A01H501U"), std::string("D'ANGELO"), std::string("NICCOLÒ"),
         Data{1980, 1, 1}, std::string("FORLÌ"), std::string("D'ANGELO NICCOLÒ"),
         std::string("VENDITA ¦ NOLEGGIO"), std::string("  06 1234 "),
         std::string("C:\\Dati\\posta"), std::string("RIGA UNO\r\nRIGA DUE"),
         std::string("ŁUKASZ")});
    db.Esegui("INSERT INTO COPE (OCOD, ORAG) VALUES ('02468130162', 'ALFA S.R.L.')");
    db.Esegui("INSERT INTO CTAB VALUES ('ITT', 'RSSMRA80A01H501U', ?)",
              {std::string("                     0          ")});
  }
  void TearDown() override { ::unsetenv("XDG_DATA_HOME"); }

  test::CartellaTemporanea base;
  std::filesystem::path origine = base.Percorso() / "origine";
  std::filesystem::path destinazione = base.Percorso() / "destinazione";
};

TEST_F(CliBackupTest, SalvaInUnaCartellaRipristinaInUnAltra) {
  for (const char* codice : {"RSSMRA80A01H501U", "02468130162"}) {
    SCOPED_TRACE(codice);
    const auto file = base.Percorso() / (std::string(codice) + ".FCL");
    const Esito salva = Cli({"--cartella", origine.string(), "salva", codice, file.string()});
    EXPECT_EQ(salva.codice, 0) << salva.err;
    EXPECT_NE(salva.err.find("Creazione file di BackUP terminata"), std::string::npos);
    const Esito ripristina =
        Cli({"--cartella", destinazione.string(), "ripristina", file.string()});
    EXPECT_EQ(ripristina.codice, 0) << ripristina.err;
    EXPECT_NE(ripristina.err.find("Ripristino terminato"), std::string::npos);
  }
  // A Null text column travels as the empty text and comes back as it; the date stays Null.
  auto attese = Archivio(origine);
  for (auto& riga : attese) riga = std::regex_replace(riga, std::regex("([A-Z]+)=Null "), "$1=[] ");
  for (auto& riga : attese) riga = std::regex_replace(riga, std::regex("ONDT=\\[\\] "), "ONDT=Null ");
  EXPECT_EQ(Archivio(destinazione), attese);
  EXPECT_EQ(Archivio(destinazione).size(), 3u);
  // The safety copies sit in the program folder.
  std::size_t copie = 0;
  for (const auto& voce : std::filesystem::directory_iterator(destinazione))
    copie += voce.path().extension() == ".VEL" ? 1 : 0;
  EXPECT_EQ(copie, 2u);
}

TEST_F(CliBackupTest, OperatoreSconosciutoEFileNonDiBackup) {
  const auto file = base.Percorso() / "NESSUNO.FCL";
  const Esito salva = Cli({"--cartella", origine.string(), "salva", "NESSUNO", file.string()});
  EXPECT_EQ(salva.codice, 1);
  EXPECT_EQ(salva.err, "L'operatore NESSUNO non è in archivio: file di backUp non creato\n");
  EXPECT_FALSE(std::filesystem::exists(file));

  const auto prima = Archivio(origine);
  const auto estraneo = base.Percorso() / "estraneo.FCL";
  test::ScriviFile(estraneo, "nome;cognome\r\n");
  const Esito ripristina = Cli({"--cartella", origine.string(), "ripristina", estraneo.string()});
  EXPECT_EQ(ripristina.codice, 1);
  EXPECT_EQ(ripristina.err,
            "Il file indicato non è un file di backUp di FISCOLARIO. Operazione annullata\n");

  // A damaged line: exit 1, the line named, nothing changed.
  test::ScriviFile(estraneo,
                   "\xA6"
                   "COPE\xA6RSSMRA80A01H501U\xA6X\r\n\xA6"
                   "COPE\xA6Y\xA6\xA6\xA6\xA6\xA6"
                   "IERI\r\n");
  const Esito danneggiato = Cli({"--cartella", origine.string(), "ripristina", estraneo.string()});
  EXPECT_EQ(danneggiato.codice, 1);
  EXPECT_EQ(danneggiato.err.rfind("Riga 2 del file di backUp (tabella COPE)", 0), 0u)
      << danneggiato.err;
  EXPECT_EQ(Archivio(origine), prima);

  EXPECT_EQ(Cli({"--cartella", origine.string(), "salva", "SOLO-CF"}).codice, 2);
}

// A backup file never takes the place of the program's database or configuration, and a restore
// never overwrites the backup file it is reading with its safety copy.
TEST_F(CliBackupTest, NonSostituisceIFileDelProgramma) {
  test::ScriviFile(origine / "configurazione.ini", "[opzioni]\r\n");
  const auto database = origine / "DataBase" / "FCL2013.mdb";
  const std::string byteDatabase = test::LeggiFile(database);
  struct Case {
    std::string_view nome;
    std::filesystem::path file;
    std::string_view motivo;
  } const kCases[] = {
      {"database", database, "si trova nella cartella del database del programma"},
      {"database per un'altra strada", destinazione / ".." / "origine" / "DataBase" / "FCL2013.mdb",
       "si trova nella cartella del database del programma"},
      {"configurazione", origine / "configurazione.ini",
       "è il file di configurazione del programma"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.nome);
    const Esito e =
        Cli({"--cartella", origine.string(), "salva", "RSSMRA80A01H501U", c.file.string()});
    EXPECT_EQ(e.codice, 1);
    EXPECT_EQ(e.err, "Il file di backUp non può essere salvato come " + c.file.string() + ": " +
                         std::string(c.motivo) +
                         ". Scegliere un altro nome o un'altra cartella.\n");
  }
  EXPECT_EQ(test::LeggiFile(database), byteDatabase);
  EXPECT_EQ(test::LeggiFile(origine / "configurazione.ini"), "[opzioni]\r\n");

  // Today's safety copy restored again: refused, the copy and the register as they were.
  const auto file = base.Percorso() / "RSSMRA80A01H501U.FCL";
  ASSERT_EQ(
      Cli({"--cartella", origine.string(), "salva", "RSSMRA80A01H501U", file.string()}).codice, 0);
  ASSERT_EQ(Cli({"--cartella", origine.string(), "ripristina", file.string()}).codice, 0);
  std::filesystem::path copia;
  for (const auto& voce : std::filesystem::directory_iterator(origine))
    if (voce.path().extension() == ".VEL") copia = voce.path();
  ASSERT_FALSE(copia.empty());
  const std::string byteCopia = test::LeggiFile(copia);
  const auto prima = Archivio(origine);
  const Esito e = Cli({"--cartella", origine.string(), "ripristina", copia.string()});
  EXPECT_EQ(e.codice, 1);
  EXPECT_EQ(e.err, "Il file " + copia.string() +
                       " è la copia di sicurezza che il ripristino deve scrivere: copiarlo con un "
                       "altro nome o in un'altra cartella e ripristinare la copia. Nessun dato è "
                       "stato modificato.\n");
  EXPECT_EQ(test::LeggiFile(copia), byteCopia);
  EXPECT_EQ(Archivio(origine), prima);
}

}  // namespace
}  // namespace fcl
