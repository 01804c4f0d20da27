// The invoices through the command line: `crea` straight from a folder of invoices, `fatture`
// writing them to a workbook that `crea` reads back into the same communication file byte for
// byte, a one-row `lotto` over the same folder, and where the findings of the check lead.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "CartellaTemporanea.h"
#include "Comandi.h"
#include "FattureProva.h"
#include "store/Database.h"

namespace fcl {
namespace {

using test::Azienda;
using test::CartellaTemporanea;
using test::CorpoProva;
using test::FatturaProva;
using test::Operatore;

struct Esecuzione {
  int codice;
  std::string out;
  std::string err;
};

Esecuzione Cli(std::vector<std::string> argomenti) {
  argomenti.insert(argomenti.begin(), "fiscolario-cli");
  std::vector<const char*> argv;
  for (const auto& a : argomenti) argv.push_back(a.c_str());
  std::ostringstream out, err;
  const int codice =
      EseguiCli(static_cast<int>(argv.size()), argv.data(), out, err, FCL_CARTELLA_CLI);
  return {codice, out.str(), err.str()};
}

std::string Leggi(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

class ComandoFattureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Cli({"--cartella", Programma().string(), "operatori"}).codice, 0);
    Database db(Programma() / "DataBase" / "FCL2013.mdb", Database::Modo::LetturaScrittura);
    db.Esegui(
        "INSERT INTO COPE (OCOD, ORAG, OSCOM, OSPRO, OSTP, OPIVA, ODES, OATT, OTEL, OPOSTA) VALUES "
        "(?, 'ALFA BETA COSTRUZIONI S.R.L.', 'BERGAMO', 'BG', '1', ?, 'ALFA BETA COSTRUZIONI "
        "S.R.L.', '412000', '035123456', 'AMMINISTRAZIONE@ALFABETA.EXAMPLE')",
        {std::string(test::kOperatore), std::string(test::kOperatore)});
    // A year of invoices, issued and received, credit notes, a file of two invoices, a signed
    // one and its plain copy.
    for (int i = 0; i < 14; ++i) {
      FatturaProva f;
      const bool emessa = i % 2 == 0;
      f.cedente = emessa ? Operatore() : Azienda(i);
      f.cessionario = emessa ? Azienda(i) : Operatore();
      CorpoProva& c = f.corpi.front();
      c.numero = std::to_string(100 + i);
      c.data = "2025-0" + std::to_string(1 + i % 9) + "-1" + std::to_string(i % 10);
      c.tipo = i % 5 == 4 ? "TD04" : "TD01";
      c.riepiloghi = {{std::to_string(1000 + 37 * i) + ".45", std::to_string(220 + i) + ".10", ""}};
      if (i == 3) f.corpi.push_back(CorpoProva{"TD01", "2025-05-05", "B2"});
      const std::string xml = test::Xml(f);
      const auto nome = Fatture() / ("IT" + std::to_string(i) + ".xml");
      test::Scrivi(i == 6 ? nome.string() + ".p7m" : nome.string(),
                   i == 6 ? test::Firma(xml) : xml);
      if (i == 8)
        test::Scrivi(nome.string() + ".p7m", test::Firma(xml, test::FormaP7m::Base64Unica));
    }
  }

  std::filesystem::path Programma() const { return dir_.Percorso() / "programma"; }
  std::filesystem::path Fatture() const { return dir_.Percorso() / "fatture"; }

  Esecuzione Crea(const std::string& sorgente, const std::filesystem::path& listato,
                  std::vector<std::string> altri = {}) {
    std::vector<std::string> a = {
        "--cartella", Programma().string(), "crea",          test::kOperatore, sorgente, "--anno",
        "2025",       "--listato",          listato.string()};
    a.insert(a.end(), altri.begin(), altri.end());
    return Cli(a);
  }

  CartellaTemporanea dir_;
};

TEST_F(ComandoFattureTest, DalleFattureAlFoglioEAllaStessaComunicazione) {
  const auto diretta = dir_.Percorso() / "diretta" / "FCL_A_LISTATO.PDF";
  std::filesystem::create_directories(diretta.parent_path());
  const Esecuzione e = Crea(Fatture().string(), diretta);
  ASSERT_EQ(e.codice, 0) << e.err;
  EXPECT_NE(e.err.find("Riportate: 15 (FE 6, FR 7, NE 1, NR 1)"), std::string::npos) << e.err;
  EXPECT_NE(e.err.find("già letta: 1"), std::string::npos) << e.err;
  const std::string comunicazione = Leggi(dir_.Percorso() / "diretta" / "FCL_A.TXT");
  ASSERT_FALSE(comunicazione.empty());
  EXPECT_NE(Leggi(dir_.Percorso() / "diretta" / "FCL_A_FATTURE.csv").find("riportata"),
            std::string::npos);

  // The same rows through a workbook for review.
  const auto foglio = dir_.Percorso() / "revisione" / "FATTURE.xlsx";
  std::filesystem::create_directories(foglio.parent_path());
  const Esecuzione f = Cli({"--cartella", Programma().string(), "fatture", test::kOperatore,
                            Fatture().string(), "--foglio", foglio.string(), "--anno", "2025"});
  ASSERT_EQ(f.codice, 0) << f.err;
  EXPECT_NE(f.out.find(foglio.string()), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(dir_.Percorso() / "revisione" / "FATTURE_FATTURE.csv"));
  const auto tramite = dir_.Percorso() / "tramite" / "FCL_A_LISTATO.PDF";
  std::filesystem::create_directories(tramite.parent_path());
  const Esecuzione g = Crea(foglio.string(), tramite);
  ASSERT_EQ(g.codice, 0) << g.err;
  EXPECT_EQ(Leggi(dir_.Percorso() / "tramite" / "FCL_A.TXT"), comunicazione);

  // A workbook already there (it may hold the user's corrections) is kept.
  const Esecuzione h = Cli({"--cartella", Programma().string(), "fatture", test::kOperatore,
                            Fatture().string(), "--foglio", foglio.string()});
  EXPECT_EQ(h.codice, 1);
  EXPECT_NE(h.err.find("esiste già"), std::string::npos) << h.err;
  // Nor may the workbook replace an invoice.
  const Esecuzione i = Cli({"--cartella", Programma().string(), "fatture", test::kOperatore,
                            (Fatture() / "IT0.xml").string(), "--foglio",
                            (Fatture() / "IT0.xml").string(), "--sovrascrivi"});
  EXPECT_EQ(i.codice, 1);
  EXPECT_NE(i.err.find("fatture elettroniche da leggere"), std::string::npos) << i.err;

  // A one-row batch over the same folder writes the same file.
  test::Scrivi(dir_.Percorso() / "elenco.csv",
               "codice_fiscale;foglio\n" + std::string(test::kOperatore) + ";fatture\n");
  const Esecuzione l =
      Cli({"--cartella", Programma().string(), "lotto", (dir_.Percorso() / "elenco.csv").string(),
           "--uscita", (dir_.Percorso() / "lotto").string(), "--anno", "2025"});
  ASSERT_EQ(l.codice, 0) << l.out << l.err;
  std::filesystem::path scritta;
  for (const auto& p :
       std::filesystem::directory_iterator(dir_.Percorso() / "lotto" / test::kOperatore))
    if (p.path().extension() == ".TXT" && !p.path().stem().string().ends_with("_VERIFICA"))
      scritta = p.path();
  EXPECT_EQ(Leggi(scritta), comunicazione);
}

TEST_F(ComandoFattureTest, IRilieviNominanoLaFattura) {
  // A sale to a foreign company: quadro FN, its state code left for the user to complete.
  FatturaProva f;
  f.cedente = Operatore();
  f.cessionario = Azienda(0);
  f.cessionario.paese = f.cessionario.nazione = "DE";
  f.cessionario.codice = "DE123456789";
  f.corpi.push_back(CorpoProva{"TD01", "2025-06-01", "X2"});
  test::Scrivi(dir_.Percorso() / "estero" / "DE.xml", test::Xml(f));
  const auto listato = dir_.Percorso() / "estero" / "FCL_E_LISTATO.PDF";
  const Esecuzione e =
      Crea((dir_.Percorso() / "estero").string(), listato, {"--conserva-con-errori"});
  const std::string rapporto = Leggi(dir_.Percorso() / "estero" / "FCL_E_VERIFICA.TXT");
  ASSERT_FALSE(rapporto.empty()) << e.err;
  EXPECT_NE(rapporto.find("fattura " + (dir_.Percorso() / "estero" / "DE.xml").string() +
                          " (n. 2 di 2 nel file)"),
            std::string::npos)
      << rapporto;
  EXPECT_EQ(rapporto.find("foglio FN"), std::string::npos) << rapporto;
}

}  // namespace
}  // namespace fcl
