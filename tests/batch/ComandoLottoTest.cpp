// The `lotto` command end to end: a program folder of its own with a few operators, the example
// workbook of analytical data, and a list that mixes rows that work with rows that cannot (a
// missing workbook, an operator not in the register, a date error, a repeated operator).

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "CartellaTemporanea.h"
#include "Comandi.h"
#include "store/Csv.h"
#include "store/Database.h"
#include "verifica/VerificaComunicazione.h"

namespace fcl {
namespace {

using test::CartellaTemporanea;
using test::LeggiFile;
using test::ScriviFile;

struct Esecuzione {
  int codice;
  std::string out;
  std::string err;
};

Esecuzione Cli(std::vector<std::string> argomenti) {
  argomenti.insert(argomenti.begin(), "fiscolario-cli");
  std::vector<const char*> argv;
  for (const auto& a : argomenti) argv.push_back(a.c_str());
  std::ostringstream out;
  std::ostringstream err;
  // As from the build tree: the program folder receives the build's templates.
  const int codice = EseguiCli(static_cast<int>(argv.size()), argv.data(), out, err,
                               std::filesystem::path(FCL_CLI).parent_path());
  return {codice, out.str(), err.str()};
}

const std::filesystem::path kEsempio =
    std::filesystem::path(FCL_SOURCE_DIR) / "resources" / "esempio" / "ESEMPIO_ANALITICO.xlsx";
const std::filesystem::path kErrori =
    std::filesystem::path(FCL_SOURCE_DIR) / "tests" / "workbook" / "data" / "elabora_errori.xls";

// Operators of the register: a company with an intermediary (as the example backup) and two more
// companies, all with valid codes.
struct Operatore {
  std::string cf;
  std::string ragione;
};
const Operatore kOperatori[] = {
    {"02468130162", "ALFA BETA COSTRUZIONI S.R.L."},
    {"01357913571", "GAMMA DELTA S.P.A."},
    {"08642135795", "EPSILON SERVIZI S.R.L."},
    {"07777777777", "ZETA ETA S.N.C."},
};

class ComandoLottoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Cli({"--cartella", Programma().string(), "operatori"}).codice, 0);
    Database db(Programma() / "DataBase" / "FCL2013.mdb", Database::Modo::LetturaScrittura);
    for (const Operatore& o : kOperatori) {
      db.Esegui(
          "INSERT INTO COPE (OCOD, ORAG, OSCOM, OSPRO, OSTP, OPIVA, ODES, OATT) VALUES "
          "(?, ?, 'BERGAMO', 'BG', '1', ?, ?, '412000')",
          {o.cf, o.ragione, o.cf, o.ragione});
      db.Esegui("INSERT INTO CTAB (TIPO, COD, DES) VALUES ('ITT', ?, ?)",
                {o.cf, std::string("VRDLCU70M15A794Y     220/01/2026   ")});
    }
    // The program folder's own intermediate file must come out of a batch as it went in.
    ScriviFile(Programma() / "FCLtemp.TXT", "intermedio di una elaborazione precedente");
    std::filesystem::create_directories(dir_ / "liste");
    std::filesystem::copy_file(kEsempio, dir_ / "liste" / "alfa.xlsx");
  }

  std::filesystem::path Programma() const { return dir_ / "programma"; }

  // The list: relative and absolute workbook paths, cells that set the year and the data.
  std::filesystem::path Elenco() {
    const std::filesystem::path p = dir_ / "liste" / "ELENCO.csv";
    ScriviFile(p,
               "\xEF\xBB\xBF"
               "Codice Fiscale;Foglio;Anno;Dati\r\n"
               "02468130162;alfa.xlsx;;\r\n"
               "01357913571;\"" +
                   kEsempio.string() +
                   "\";2025;2\r\n"
                   "08642135795;mancante.xlsx;;\r\n"
                   "99999999999;alfa.xlsx;;\r\n"
                   "07777777777;\"" +
                   kErrori.string() +
                   "\";;\r\n"
                   "02468130162;alfa.xlsx;;\r\n");
    return p;
  }

  Esecuzione Lotto(const std::filesystem::path& uscita, std::vector<std::string> altri = {}) {
    std::vector<std::string> a = {
        "--cartella", Programma().string(), "lotto",        Elenco().string(), "--anno",
        "2025",       "--uscita",           uscita.string()};
    a.insert(a.end(), altri.begin(), altri.end());
    return Cli(a);
  }

  CartellaTemporanea dir_;
};

// Every file under a folder with its bytes, by path relative to the folder.
std::map<std::string, std::string> Contenuto(const std::filesystem::path& cartella) {
  std::map<std::string, std::string> file;
  for (const auto& v : std::filesystem::recursive_directory_iterator(cartella))
    if (v.is_regular_file())
      file[std::filesystem::relative(v.path(), cartella).string()] = LeggiFile(v.path());
  return file;
}

std::vector<std::vector<std::string>> Riepilogo(const std::filesystem::path& uscita) {
  const std::string byte = LeggiFile(uscita / "RIEPILOGO_LOTTO.csv");
  EXPECT_TRUE(byte.starts_with("\xEF\xBB\xBF"));
  const TabellaCsv t = AnalizzaTabellaCsv(byte.substr(3), "riepilogo");
  EXPECT_EQ(t.separatore, ';');
  std::vector<std::vector<std::string>> righe = {t.intestazione};
  for (const auto& r : t.righe) righe.push_back(r.campi);
  return righe;
}

TEST_F(ComandoLottoTest, RiepilogoEFileDiOgniRiga) {
  const std::filesystem::path uscita = dir_ / "uscita";
  const Esecuzione e = Lotto(uscita, {"--processi", "2"});
  EXPECT_EQ(e.codice, 1) << e.err;

  const auto r = Riepilogo(uscita);
  ASSERT_EQ(r.size(), 7u);
  EXPECT_EQ(r[0],
            (std::vector<std::string>{"riga", "codice_fiscale", "denominazione", "foglio", "esito",
                                      "righe_lette", "errori_verifica", "avvertimenti_verifica",
                                      "file_comunicazione", "messaggio"}));
  const struct {
    std::string riga, cf, denominazione, esito, messaggio;
  } attesi[] = {
      {"2", "02468130162", "ALFA BETA COSTRUZIONI S.R.L.", "creata", ""},
      {"3", "01357913571", "GAMMA DELTA S.P.A.", "creata", ""},
      {"4", "08642135795", "EPSILON SERVIZI S.R.L.", "non_creata", "mancante.xlsx"},
      {"5", "99999999999", "", "non_creata", "Operatore 99999999999 non presente in archivio"},
      {"6", "07777777777", "ZETA ETA S.N.C.", "non_creata",
       "Correggere gli errori evidenziati: Foglio FE, riga 4, colonna G"},
      {"7", "02468130162", "", "non_creata",
       "Il codice fiscale 02468130162 è già alla riga 2 dell'elenco"},
  };
  for (std::size_t i = 0; i < std::size(attesi); ++i) {
    SCOPED_TRACE(i);
    const auto& riga = r[i + 1];
    ASSERT_EQ(riga.size(), 10u);
    EXPECT_EQ(riga[0], attesi[i].riga);
    EXPECT_EQ(riga[1], attesi[i].cf);
    EXPECT_EQ(riga[2], attesi[i].denominazione);
    EXPECT_EQ(riga[4], attesi[i].esito);
    EXPECT_NE(riga[9].find(attesi[i].messaggio), std::string::npos) << riga[9];
    if (attesi[i].esito == "creata") {
      EXPECT_EQ(riga[8], (uscita / attesi[i].cf /
                          (attesi[i].cf == "02468130162" ? "FCL_ALFABETACOSTRUZIONIS.TXT"
                                                         : "FCL_GAMMADELTASPA.TXT"))
                             .string());
      EXPECT_GT(std::stoi(riga[5]), 0);
      EXPECT_EQ(riga[6], "0");
    } else {
      EXPECT_EQ(riga[8], "");
    }
  }
  // The short table on stdout, one line per row and the totals.
  EXPECT_NE(e.out.find("6 righe: 2 create, 0 create con errori, 4 non create"), std::string::npos)
      << e.out;

  // The batch never touched the program folder's intermediate file and left no working file.
  EXPECT_EQ(LeggiFile(Programma() / "FCLtemp.TXT"), "intermedio di una elaborazione precedente");
  for (const auto& [nome, byte] : Contenuto(uscita))
    EXPECT_FALSE(nome.find("/.") != std::string::npos || nome.starts_with(".")) << nome;
  // Each created file is the one `crea` writes for the same operator and workbook, byte for byte.
  for (const char* cf : {"02468130162", "01357913571"}) {
    SCOPED_TRACE(cf);
    const std::filesystem::path cartella = dir_ / ("crea-" + std::string(cf));
    std::filesystem::create_directories(cartella);
    const std::string nome =
        std::string(cf) == "02468130162" ? "FCL_ALFABETACOSTRUZIONIS" : "FCL_GAMMADELTASPA";
    const Esecuzione c =
        Cli({"--cartella", Programma().string(), "crea", cf, kEsempio.string(), "--anno", "2025",
             "--listato", (cartella / (nome + "_LISTATO.PDF")).string()});
    ASSERT_EQ(c.codice, 0) << c.err;
    EXPECT_EQ(LeggiFile(uscita / cf / (nome + ".TXT")), LeggiFile(cartella / (nome + ".TXT")));
    for (const char* altro : {"_LISTATO.PDF", "_FRONTESPIZIO.PDF"})
      EXPECT_TRUE(std::filesystem::exists(uscita / cf / (nome + altro)));
  }
  // The row with a date error wrote no communication; the unknown operator got no folder.
  EXPECT_FALSE(std::filesystem::exists(uscita / "07777777777" / "FCL_ZETAETASNC.TXT"));
  EXPECT_TRUE(std::filesystem::exists(uscita / "07777777777" / "FCL_ZETAETASNC_LISTATO.PDF"));
  EXPECT_FALSE(std::filesystem::exists(uscita / "99999999999"));
}

TEST_F(ComandoLottoTest, UnProcessoOQuattroDannoGliStessiFile) {
  const std::filesystem::path uno = dir_ / "uno";
  const std::filesystem::path quattro = dir_ / "quattro";
  ASSERT_EQ(Lotto(uno, {"--processi", "1"}).codice, 1);
  ASSERT_EQ(Lotto(quattro, {"--processi", "4"}).codice, 1);
  const auto a = Contenuto(uno);
  const auto b = Contenuto(quattro);
  ASSERT_EQ(a.size(), b.size());
  for (const auto& [nome, byte] : a) {
    SCOPED_TRACE(nome);
    ASSERT_TRUE(b.contains(nome));
    if (nome.ends_with(".PDF")) continue;  // the PDFs carry their time of writing
    std::string atteso = byte;
    if (nome == "RIEPILOGO_LOTTO.csv")
      for (std::size_t p; (p = atteso.find(uno.string())) != std::string::npos;)
        atteso.replace(p, uno.string().size(), quattro.string());
    EXPECT_EQ(b.at(nome), atteso);
  }
}

TEST_F(ComandoLottoTest, SovrascriviEConservaDalleOpzioni) {
  const std::filesystem::path uscita = dir_ / "uscita";
  ASSERT_EQ(Lotto(uscita).codice, 1);
  // Again without --sovrascrivi: the created files stay and the rows say why.
  const auto prima = Contenuto(uscita);
  const Esecuzione e = Lotto(uscita);
  EXPECT_EQ(e.codice, 1);
  auto r = Riepilogo(uscita);
  EXPECT_EQ(r[1][4], "non_creata");
  EXPECT_NE(r[1][9].find("esiste già e non è stato sostituito"), std::string::npos) << r[1][9];
  EXPECT_EQ(LeggiFile(uscita / "02468130162" / "FCL_ALFABETACOSTRUZIONIS.TXT"),
            prima.at("02468130162/FCL_ALFABETACOSTRUZIONIS.TXT"));
  // With it they are written again.
  ASSERT_EQ(Lotto(uscita, {"--sovrascrivi"}).codice, 1);
  r = Riepilogo(uscita);
  EXPECT_EQ(r[1][4], "creata");
  EXPECT_EQ(r[2][4], "creata");
}

TEST_F(ComandoLottoTest, ElencoInutilizzabileNonEsegueNulla) {
  const struct {
    std::string_view nome;
    std::string testo;
    std::string messaggio;
  } casi[] = {
      {"senza foglio", "codice_fiscale;anno\n02468130162;2025\n",
       "non ha la colonna obbligatoria foglio"},
      {"vuoto", "", "è vuoto"},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    const std::filesystem::path p = dir_ / "liste" / "rotto.csv";
    ScriviFile(p, c.testo);
    const Esecuzione e = Cli({"--cartella", Programma().string(), "lotto", p.string(), "--uscita",
                              (dir_ / "nulla").string()});
    EXPECT_EQ(e.codice, 2);
    EXPECT_NE(e.err.find(c.messaggio), std::string::npos) << e.err;
    EXPECT_FALSE(std::filesystem::exists(dir_ / "nulla"));
  }
  EXPECT_EQ(Cli({"--cartella", Programma().string(), "lotto",
                 (dir_ / "liste" / "inesistente.csv").string()})
                .codice,
            2);
}

// The real executable, stopped with SIGINT while its rows run: it writes the summary, the rows it
// never started say so, and nothing half-written is left anywhere.
TEST_F(ComandoLottoTest, SigintLasciaSoloFileCompleti) {
  for (int i = 0; i < 3; ++i)
    std::filesystem::copy_file(kEsempio, dir_ / "liste" / ("alfa" + std::to_string(i) + ".xlsx"));
  const std::filesystem::path elenco = dir_ / "liste" / "molti.csv";
  ScriviFile(elenco,
             "codice_fiscale;foglio\n02468130162;alfa0.xlsx\n01357913571;alfa1.xlsx\n"
             "08642135795;alfa2.xlsx\n");

  for (const int segnali : {1, 2}) {
    SCOPED_TRACE(segnali);
    const std::filesystem::path uscita = dir_ / ("stop" + std::to_string(segnali));
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      const std::string cartella = Programma().string();
      const std::string e = elenco.string();
      const std::string u = uscita.string();
      std::freopen("/dev/null", "w", stdout);
      std::freopen("/dev/null", "w", stderr);
      ::execl(FCL_CLI, FCL_CLI, "--cartella", cartella.c_str(), "lotto", e.c_str(), "--anno",
              "2025", "--processi", "1", "--uscita", u.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    // As soon as the first row has begun (its folder exists), the stop.
    const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!std::filesystem::exists(uscita / "02468130162") &&
           std::chrono::steady_clock::now() < limite)
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    for (int s = 0; s < segnali; ++s) {
      ::kill(pid, SIGINT);
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    int stato = 0;
    ASSERT_EQ(::waitpid(pid, &stato, 0), pid);
    ASSERT_TRUE(WIFEXITED(stato)) << "terminato dal segnale " << WTERMSIG(stato);
    EXPECT_EQ(WEXITSTATUS(stato), 1);

    const auto r = Riepilogo(uscita);
    ASSERT_EQ(r.size(), 4u);
    EXPECT_NE(r[3][9].find("il lotto è stato interrotto"), std::string::npos) << r[3][9];
    if (segnali == 1) {
      EXPECT_EQ(r[1][4], "creata") << r[1][9];
    }
    for (const auto& [nome, byte] : Contenuto(uscita)) {
      SCOPED_TRACE(nome);
      EXPECT_EQ(nome.find("/."), std::string::npos);
      EXPECT_FALSE(nome.starts_with("."));
      if (nome.ends_with(".TXT") && !nome.ends_with("_VERIFICA.TXT")) {
        EXPECT_EQ(VerificaComunicazione(uscita / nome).errori, 0);
      }
      if (nome.ends_with(".PDF")) {
        EXPECT_NE(byte.rfind("%%EOF"), std::string::npos);
      }
    }
  }
}

}  // namespace
}  // namespace fcl

namespace fcl {
namespace {

TEST_F(ComandoLottoTest, ImportaEdEsportaOperatoriDallaRigaDiComando) {
  const std::filesystem::path elenco = dir_ / "liste" / "soggetti.csv";
  ScriviFile(elenco,
             "codice_fiscale;ragione_sociale;comune_sede;provincia_sede\n"
             "09998887773;OMEGA SRL;PAVIA;PV\n"
             "02468130162;ALFA BETA COSTRUZIONI S.R.L.;BERGAMO;BG\n"
             "01231231232;;PAVIA;PV\n");
  const Esecuzione e =
      Cli({"--cartella", Programma().string(), "importa", "operatori", elenco.string()});
  EXPECT_EQ(e.codice, 1);
  EXPECT_EQ(e.out,
            "Soggetti aggiunti: 1; aggiornati: 0; già presenti lasciati invariati: 1; righe "
            "rifiutate: 1\n");
  EXPECT_EQ(e.err, "Riga 4 (01231231232): Ragione Sociale Soggetto - campo non valido.\n");

  const std::filesystem::path uscita = dir_ / "esportati.csv";
  const Esecuzione x =
      Cli({"--cartella", Programma().string(), "esporta", "operatori", uscita.string()});
  EXPECT_EQ(x.codice, 0) << x.err;
  EXPECT_EQ(x.out, "Soggetti esportati: 5 in " + uscita.string() + "\n");
  const TabellaCsv t = LeggiTabellaCsv(uscita);
  EXPECT_EQ(t.righe.size(), 5u);
}

}  // namespace
}  // namespace fcl
