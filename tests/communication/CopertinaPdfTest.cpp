#include "communication/CopertinaPdf.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/Errori.h"
#include "CartellaTemporanea.h"
#include "InterazioneRegistrata.h"

namespace fcl {
namespace {

using namespace fcl::test;

const std::filesystem::path kProgramma = std::filesystem::path(FCL_STAMPE_DIR).parent_path();

std::string TestoPagina(const std::filesystem::path& pdf, int pagina,
                        const CartellaTemporanea& cartella) {
  const auto uscita = cartella / "testo.txt";
  const std::string comando = "pdftotext -raw -f " + std::to_string(pagina) + " -l " +
                              std::to_string(pagina) + " '" + pdf.string() + "' '" +
                              uscita.string() + "'";
  if (std::system(comando.c_str()) != 0) return "<pdftotext fallito>";
  return LeggiFile(uscita);
}

class CopertinaPdfTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kProgramma / "Stampe" / "base_RIEP.pdf"))
      GTEST_SKIP() << "modelli di stampa non generati";
    riga_.ocod = "01234567890";
    riga_.ostp = "1";
    riga_.orag = "ACME SPA";
    riga_.oatt = "461000";
    riga_.opiva = "01234567890";
    riga_.ostccf = "RSSMRA70A01H501U";
    riga_.ostccog = "ROSSI";
    riga_.ostcnome = "MARIO";
    riga_.ostcsex = "M";
    op_.codiceFiscale = "01234567890";
    op_.intermediarioCF = "BNCLCU60B02F205X";
    op_.numeroIscrizioneCaf = "12345";
    op_.dataImpegno = "15/03/2013";
    scelta_.anno = "2012";
    piano_.tipoDati = TipoDati::Aggregati;
    piano_.quadro[FA] = true;
    piano_.campiTA = {{"TA001001", "37"}, {"TA002001", "0"}, {"TA003001", "0"}};
  }

  CartellaTemporanea cartella_;
  InterazioneRegistrata ui_;
  RigaOperatore riga_;
  OperatoreCorrente op_;
  SceltaCreazione scelta_;
  PianoComunicazione piano_;
};

TEST_F(CopertinaPdfTest, MostraIValoriDeiRecordBEdE) {
  const auto pdf = cartella_ / "X_FRONTESPIZIO.PDF";
  CopertinaPdf copertina(kProgramma, ui_);
  copertina.Inizia(pdf, "ACME SPA");
  copertina.Pagina1({riga_, op_, scelta_, piano_});
  EXPECT_EQ(ui_.ultimaDidascalia, "");  // the caption is hidden after the import
  EXPECT_GT(ui_.avanzamenti, 1);
  copertina.Pagina2({"01234567890", piano_});
  EXPECT_FALSE(std::filesystem::exists(pdf));  // only whole
  copertina.Completa();
  ASSERT_TRUE(std::filesystem::exists(pdf));
  EXPECT_EQ(std::system(("qpdf --check '" + pdf.string() + "' > /dev/null 2>&1").c_str()), 0);
  // The operator's display name is the document's author, creator and producer.
  EXPECT_NE(LeggiFile(pdf).find("/Author (ACME SPA)\r/Creator (ACME SPA)\r/Producer (ACME SPA)"),
            std::string::npos);

  const std::string p1 = TestoPagina(pdf, 1, cartella_);
  for (const char* atteso : {"ACME SPA", "461000", "2012", "ROSSI", "MARIO", "12345", "15", "2013"}) {
    SCOPED_TRACE(atteso);
    EXPECT_NE(p1.find(atteso), std::string::npos) << p1;
  }
  const std::string p2 = TestoPagina(pdf, 2, cartella_);
  EXPECT_NE(p2.find("01234567890"), std::string::npos) << p2;
  EXPECT_NE(p2.find("37"), std::string::npos);
}

TEST_F(CopertinaPdfTest, AbbandonataNonLasciaNulla) {
  const auto pdf = cartella_ / "X_FRONTESPIZIO.PDF";
  {
    CopertinaPdf copertina(kProgramma, ui_);
    copertina.Inizia(pdf, "ACME SPA");
    copertina.Pagina1({riga_, op_, scelta_, piano_});
    copertina.Abbandona();
  }
  EXPECT_TRUE(std::filesystem::is_empty(cartella_.Percorso()));
}

// A cover whose template cannot be used fails on its page and leaves nothing behind.
TEST_F(CopertinaPdfTest, SenzaIlModelloNessunFrontespizio) {
  struct Caso {
    const char* nome;
    const char* modello;  // nullptr: no template file
    const char* motivo;
  } const kCasi[] = {
      {"mancante", nullptr, "(File non trovato)"},
      {"danneggiato", "%PDF-1.4 troncato", "(Formato di file non valido"},
  };
  for (const Caso& c : kCasi) {
    SCOPED_TRACE(c.nome);
    CartellaTemporanea programma;
    std::filesystem::create_directories(programma / "Stampe");
    if (c.modello != nullptr) ScriviFile(programma / "Stampe" / "base_RIEP.pdf", c.modello);
    const auto pdf = cartella_ / "X_FRONTESPIZIO.PDF";
    CopertinaPdf copertina(programma.Percorso(), ui_);
    copertina.Inizia(pdf, "ACME SPA");
    try {
      copertina.Pagina1({riga_, op_, scelta_, piano_});
      ADD_FAILURE() << "nessun errore";
    } catch (const ErroreFile& e) {
      const std::string m = e.what();
      EXPECT_NE(m.find("Impossibile usare il modello di stampa " +
                       (programma / "Stampe" / "base_RIEP.pdf").string() + " " + c.motivo),
                std::string::npos)
          << m;
      EXPECT_NE(m.find("il frontespizio non è stato scritto."), std::string::npos) << m;
    }
    EXPECT_EQ(ui_.ultimaDidascalia, "");
    copertina.Abbandona();
    EXPECT_TRUE(std::filesystem::is_empty(cartella_.Percorso()));
  }
}

TEST(CopertinaPdf, CartellaInesistenteDaErroreFile) {
  CartellaTemporanea cartella;
  InterazioneRegistrata ui;
  CopertinaPdf copertina(kProgramma, ui);
  EXPECT_THROW(copertina.Inizia(cartella / "manca" / "X.PDF", "ACME SPA"), ErroreFile);
}

}  // namespace
}  // namespace fcl
