// The `crea` command end to end: a program folder of its own, the example operator in its database,
// the example workbook of analytical data, then the communication file checked line by line.

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "CartellaTemporanea.h"
#include "Comandi.h"
#include "SupportoTracciato.h"
#include "store/Database.h"
#include "verifica/RigaFoglio.h"
#include "verifica/VerificaComunicazione.h"

namespace fcl {
namespace {

using test::Campo;
using test::CartellaTemporanea;
using test::LeggiFile;

constexpr std::string_view kCF = "02468130162";

struct Esecuzione {
  int codice;
  std::string out;
  std::string err;
};

// The command line as it runs from the build tree: its program folder is completed from the
// skeleton the build drew (templates, guide); `eseguibile` elsewhere finds no skeleton.
Esecuzione Cli(std::vector<std::string> argomenti,
               const std::filesystem::path& eseguibile = FCL_CARTELLA_CLI) {
  argomenti.insert(argomenti.begin(), "fiscolario-cli");
  std::vector<const char*> argv;
  for (const auto& a : argomenti) argv.push_back(a.c_str());
  std::ostringstream out;
  std::ostringstream err;
  const int codice = EseguiCli(static_cast<int>(argv.size()), argv.data(), out, err, eseguibile);
  return {codice, out.str(), err.str()};
}

std::vector<std::string> Linee(const std::string& out) {
  std::vector<std::string> righe;
  std::istringstream in(out);
  for (std::string r; std::getline(in, r);) righe.push_back(r);
  return righe;
}

class ComandoCreaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(Uscita());
    // The first command creates the program folder's database.
    ASSERT_EQ(Cli({"--cartella", Programma().string(), "operatori"}).codice, 0);
    Database db(Programma() / "DataBase" / "FCL2013.mdb", Database::Modo::LetturaScrittura);
    db.Esegui(
        "INSERT INTO COPE (OCOD, ORAG, OSCOM, OSPRO, OSTP, OPIVA, ODES, OATT, OTEL, OPOSTA) VALUES "
        "(?, 'ALFA BETA COSTRUZIONI S.R.L.', 'BERGAMO', 'BG', '1', ?, 'ALFA BETA COSTRUZIONI "
        "S.R.L.', '412000', '035123456', 'AMMINISTRAZIONE@ALFABETA.EXAMPLE')",
        {std::string(kCF), std::string(kCF)});
    db.Esegui("INSERT INTO CTAB (TIPO, COD, DES) VALUES ('ITT', ?, ?)",
              {std::string(kCF), std::string("VRDLCU70M15A794Y     220/01/2026   ")});
  }

  std::filesystem::path Programma() const { return dir_ / "programma"; }
  std::filesystem::path Uscita() const { return dir_ / "uscita"; }
  std::filesystem::path Listato() const { return Uscita() / "FCL_ALFABETA_LISTATO.PDF"; }
  std::filesystem::path Comunicazione() const { return Uscita() / "FCL_ALFABETA.TXT"; }

  Esecuzione Crea(std::vector<std::string> altri = {}) {
    std::vector<std::string> a = {
        "--cartella",
        Programma().string(),
        "crea",
        std::string(kCF),
        foglio_.string(),
        "--anno",
        "2025",
        "--listato",
        Listato().string()};
    a.insert(a.end(), altri.begin(), altri.end());
    return Cli(a);
  }

  CartellaTemporanea dir_;
  std::filesystem::path foglio_ =
      std::filesystem::path(FCL_SOURCE_DIR) / "resources" / "esempio" / "ESEMPIO_ANALITICO.xlsx";
};

TEST_F(ComandoCreaTest, StradaPrincipaleDalFoglioAlFile) {
  const Esecuzione e = Crea();
  ASSERT_EQ(e.codice, 0) << e.err;
  EXPECT_EQ(Linee(e.out),
            (std::vector<std::string>{Comunicazione().string(), Listato().string(),
                                      (Uscita() / "FCL_ALFABETA_FRONTESPIZIO.PDF").string()}));

  const std::string file = LeggiFile(Comunicazione());
  ASSERT_EQ(file.size() % 1900, 0u);
  std::vector<std::string> righe;
  for (std::size_t p = 0; p < file.size(); p += 1900) righe.push_back(file.substr(p, 1900));
  ASSERT_GE(righe.size(), 5u);
  long long d = 0;
  for (std::size_t i = 0; i < righe.size(); ++i) {
    SCOPED_TRACE(i + 1);
    EXPECT_EQ(righe[i].substr(1897), "A\r\n");
    if (i >= 2 && i + 2 < righe.size()) {
      EXPECT_EQ(righe[i][0], 'D');
      EXPECT_EQ(Campo(righe[i], 2, 16), "02468130162     ");
      EXPECT_EQ(Campo(righe[i], 18, 8),
                std::string(8 - std::to_string(i - 1).size(), '0') + std::to_string(i - 1));
      ++d;
    }
  }
  EXPECT_EQ(Campo(righe[0], 1, 38), "A              NSP0010VRDLCU70M15A794Y");
  EXPECT_EQ(Campo(righe[1], 90, 3), "100");
  EXPECT_EQ(Campo(righe[1], 116, 2), "01");
  EXPECT_EQ(Campo(righe[1], 316, 28), "ALFA BETA COSTRUZIONI S.R.L.");
  EXPECT_EQ(Campo(righe[1], 376, 4), "2025");
  EXPECT_EQ(Campo(righe[1], 571, 31), "VRDLCU70M15A794Y000002 20012026");
  EXPECT_EQ(righe[righe.size() - 2][0], 'E');
  EXPECT_EQ(Campo(righe.back(), 1, 51), "Z              000000001000000000" +
                                            std::string(9 - std::to_string(d).size(), '0') +
                                            std::to_string(d) + "000000001");
  EXPECT_TRUE(std::filesystem::exists(Programma() / "FCLtemp.TXT"));
  // The independent check against the published layout finds no error.
  const EsitoVerifica v = VerificaComunicazione(Comunicazione());
  EXPECT_EQ(v.errori, 0);
  for (const Rilievo& r : v.rilievi) {
    if (r.gravita == Gravita::Errore)
      ADD_FAILURE() << r.record << " " << r.campo << " " << r.messaggio;
  }
}

// A folder given with --cartella receives the skeleton's templates and guide at its first start, so
// both prints carry their forms.
TEST_F(ComandoCreaTest, LaCartellaDataRiceveIModelliEIStampatiHannoIlModulo) {
  for (const char* file : {"Stampe/base.pdf", "Stampe/base_RIEP.pdf", "Help/index.html"})
    EXPECT_TRUE(std::filesystem::exists(Programma() / file)) << file;
  const Esecuzione e = Crea();
  ASSERT_EQ(e.codice, 0) << e.err;
  const auto testo = [this](const std::filesystem::path& pdf) {
    const auto txt = dir_ / "testo.txt";
    const std::string comando = "pdftotext '" + pdf.string() + "' '" + txt.string() + "'";
    return std::system(comando.c_str()) == 0 ? LeggiFile(txt)
                                              : std::string("<pdftotext fallito>");
  };
  // Words that only the templates print.
  EXPECT_NE(testo(Listato()).find("Lista di controllo del foglio di lavoro"), std::string::npos);
  EXPECT_NE(testo(Uscita() / "FCL_ALFABETA_FRONTESPIZIO.PDF").find("COMUNICAZIONE POLIVALENTE"),
            std::string::npos);
}

// Without a skeleton and without templates the creation fails and says which template is missing;
// no communication file, listing or cover is written.
TEST_F(ComandoCreaTest, SenzaModelliLaCreazioneFallisceENonScriveNulla) {
  const auto programma = dir_ / "spoglia";
  const auto altrove = std::filesystem::path(FCL_SOURCE_DIR) / "build-inesistente";
  ASSERT_EQ(Cli({"--cartella", programma.string(), "operatori"}, altrove).codice, 0);
  std::filesystem::copy_file(Programma() / "DataBase" / "FCL2013.mdb",
                             programma / "DataBase" / "FCL2013.mdb",
                             std::filesystem::copy_options::overwrite_existing);
  ASSERT_FALSE(std::filesystem::exists(programma / "Stampe"));
  const Esecuzione e =
      Cli({"--cartella", programma.string(), "crea", std::string(kCF), foglio_.string(), "--anno",
           "2025", "--listato", Listato().string()},
          altrove);
  EXPECT_EQ(e.codice, 1);
  EXPECT_NE(e.err.find("Impossibile usare il modello di stampa " +
                       (programma / "Stampe" / "base.pdf").string() + " (File non trovato)"),
            std::string::npos)
      << e.err;
  EXPECT_TRUE(e.out.empty());
  EXPECT_TRUE(std::filesystem::is_empty(Uscita()));
}

TEST_F(ComandoCreaTest, SenzaSovrascriviIlFileResta) {
  ASSERT_EQ(Crea().codice, 0);
  const std::string prima = LeggiFile(Comunicazione());

  const Esecuzione e =
      Crea({"--tipo", "1", "--protocollo", "13021812345678901", "--protocollo-documento", "12"});
  EXPECT_EQ(e.codice, 1);
  EXPECT_NE(e.err.find("Il file " + Comunicazione().string() + " esiste già. Vuoi sovrascriverlo?"),
            std::string::npos)
      << e.err;
  EXPECT_NE(e.err.find("Il file " + Comunicazione().string() + " esiste già. Vuoi sostituirlo?"),
            std::string::npos);
  EXPECT_EQ(LeggiFile(Comunicazione()), prima);
  EXPECT_TRUE(e.out.empty());

  const Esecuzione s = Crea({"--tipo", "1", "--protocollo", "13021812345678901",
                             "--protocollo-documento", "12", "--sovrascrivi"});
  ASSERT_EQ(s.codice, 0) << s.err;
  EXPECT_NE(s.err.find("Attenzione Sostituzione"), std::string::npos);
  EXPECT_EQ(Campo(LeggiFile(Comunicazione()), 1900 + 90, 26), "01013021812345678901000012");

  // A cancellation: records A, B and Z only, and still nothing the check calls an error.
  const Esecuzione a = Crea({"--tipo", "2", "--protocollo", "13021812345678901",
                             "--protocollo-documento", "12", "--sovrascrivi"});
  ASSERT_EQ(a.codice, 0) << a.err;
  EXPECT_EQ(LeggiFile(Comunicazione()).size(), 3u * 1900);
  EXPECT_EQ(VerificaComunicazione(Comunicazione()).errori, 0);
}

TEST_F(ComandoCreaTest, SceltaRifiutata) {
  struct Case {
    std::string_view nome;
    std::vector<std::string> opzioni;
    std::string_view messaggio;
  } const kCases[] = {
      {"protocollo mancante",
       {"--tipo", "2"},
       "Errore: Indicare il protocollo da sostitutire o annullare"},
      {"dati aggregati assenti",
       {"--dati", "1"},
       "Errore: Non risultano quadri compilati per la tipologia DATI AGGREGATI"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.nome);
    const Esecuzione e = Crea(c.opzioni);
    EXPECT_EQ(e.codice, 1);
    EXPECT_NE(e.err.find(c.messaggio), std::string::npos) << e.err;
    EXPECT_FALSE(std::filesystem::exists(Comunicazione()));
  }
  EXPECT_EQ(Crea({"--tipo", "3"}).codice, 2);
  EXPECT_EQ(Cli({"--cartella", Programma().string(), "crea", std::string(kCF), "x.xlsx"}).codice,
            2);
}

// The check that closes the creation, on a workbook whose only faults are a partita IVA with a
// wrong check digit, a codice fiscale with a wrong check letter, a row with both, and a purchase
// from San Marino in a communication without the month (tests/communication/data/genera_rilievi.py).
TEST_F(ComandoCreaTest, VerificaFinaleIndicaFoglioRigaEColonna) {
  foglio_ = std::filesystem::path(FCL_SOURCE_DIR) / "tests" / "communication" / "data" /
            "rilievi.xlsx";
  const auto rapporto = Uscita() / "FCL_ALFABETA_VERIFICA.TXT";
  const std::string righeAttese[] = {
      "foglio FE riga 5 colonna A, campo FE002001 Partita IVA della controparte",
      "foglio FE riga 6 colonna B, campo FE003002 Codice fiscale della controparte",
      "foglio FE riga 7 colonna B, campo FE004002 Codice fiscale della controparte, posizione "
      "546: Partita IVA e codice fiscale della controparte sono alternativi",
      "foglio SE riga 4 colonna I, campo SE001009 Stato estero della sede legale, posizione 162: "
      "Acquisto da un operatore di San Marino",
  };

  // Not kept: the earlier file stays as it was, the report and the listing say what to correct.
  test::ScriviFile(Comunicazione(), "VECCHIO");
  const Esecuzione scartata = Crea({"--sovrascrivi"});
  EXPECT_EQ(scartata.codice, 1);
  EXPECT_NE(scartata.err.find("La verifica della comunicazione ha trovato 4 errori, 0 avvertimenti"),
            std::string::npos)
      << scartata.err;
  EXPECT_NE(scartata.err.find("La comunicazione non è stata salvata"), std::string::npos);
  EXPECT_EQ(LeggiFile(Comunicazione()), "VECCHIO");
  const std::string testo = LeggiFile(rapporto);
  for (const std::string& r : righeAttese) EXPECT_NE(testo.find(r), std::string::npos) << r;
  EXPECT_NE(testo.find("4 errori, 0 avvertimenti"), std::string::npos) << testo;
  EXPECT_NE(LeggiFile(Listato()).find("Righe segnate dalla verifica della comunicazione"),
            std::string::npos);

  // Kept on request: the file written holds exactly the four faults, each back to its cell.
  const Esecuzione conservata = Crea({"--sovrascrivi", "--conserva-con-errori"});
  ASSERT_EQ(conservata.codice, 0) << conservata.err;
  const EsitoVerifica v = VerificaComunicazione(Comunicazione());
  EXPECT_EQ(v.errori, 4);
  EXPECT_EQ(v.avvertimenti, 0);
  struct Atteso {
    Regola regola;
    std::string_view foglio;
    long long riga;
    std::string_view colonna;
  } const kAttesi[] = {
      {Regola::PartitaIva, "FE", 5, "A"},
      {Regola::CodiceFiscale, "FE", 6, "B"},
      {Regola::Alternativi, "FE", 7, "B"},
      {Regola::SanMarino, "SE", 4, "I"},
  };
  ASSERT_EQ(v.rilievi.size(), std::size(kAttesi));
  for (std::size_t i = 0; i < v.rilievi.size(); ++i) {
    SCOPED_TRACE(v.rilievi[i].messaggio);
    EXPECT_EQ(v.rilievi[i].regola, kAttesi[i].regola);
    const std::optional<CellaFoglio> cella = CellaNelFoglio(v.rilievi[i]);
    ASSERT_TRUE(cella);
    EXPECT_EQ(cella->foglio, kAttesi[i].foglio);
    EXPECT_EQ(cella->riga, kAttesi[i].riga);
    EXPECT_EQ(cella->colonna, kAttesi[i].colonna);
  }

  // With the month the San Marino purchase is in order.
  ASSERT_EQ(Crea({"--sovrascrivi", "--conserva-con-errori", "--periodo", "03"}).codice, 0);
  EXPECT_EQ(VerificaComunicazione(Comunicazione()).errori, 3);
}

}  // namespace
}  // namespace fcl
