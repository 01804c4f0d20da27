// Faults of the disk during the workbook run: the intermediate file FCLtemp.TXT and the check
// listing, on a disk that fills up or in a folder that cannot be written. The run fails with the
// message of the file, the earlier files stay as they were and no temporary file is left.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CartellaFinta.h"
#include "CartellaTemporanea.h"
#include "Guasti.h"
#include "InterazioneRegistrata.h"
#include "ListatoRegistrato.h"
#include "workbook/ElaboraCartella.h"
#include "workbook/ListatoPdf.h"

namespace fcl {
namespace {

using test::CartellaFinta;
using test::LeggiFile;
using test::ScriviFile;

const std::filesystem::path kStampe = FCL_STAMPE_DIR;

class Rinvio : public LettoreCartella {
 public:
  explicit Rinvio(LettoreCartella& l) : l_(l) {}
  int NumeroFogli() override { return l_.NumeroFogli(); }
  std::string NomeFoglio(int f) override { return l_.NomeFoglio(f); }
  const std::vector<Cella>& Riga(int f, int r) override { return l_.Riga(f, r); }

 private:
  LettoreCartella& l_;
};

std::vector<std::string> Nomi(const std::filesystem::path& cartella) {
  std::vector<std::string> nomi;
  for (const auto& e : std::filesystem::directory_iterator(cartella))
    nomi.push_back(e.path().filename().string());
  std::sort(nomi.begin(), nomi.end());
  return nomi;
}

class GuastiElaborazioneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(Programma());
    std::filesystem::create_directories(Uscita());
    ctx.cartellaProgramma = Programma();
    ctx.interazione = &ui;
    ctx.operatoreCorrente.codiceFiscale = "RSSMRA80A01H501U";
    ctx.operatoreCorrente.nomeVisualizzato = "ROSSI MARIO";
    ctx.annoRiferimento = "2013";
    wb.Aggiungi("ISTRUZIONI");
    auto& fe = wb.Aggiungi("FE");
    for (int r = 4; r < 4 + 120; ++r)
      fe.Riga(r, {{"A", CartellaFinta::T("01234567890")},
                  {"G", CartellaFinta::D(41338)},
                  {"H", CartellaFinta::D(41340)},
                  {"I", CartellaFinta::T("FT " + std::to_string(r))},
                  {"J", CartellaFinta::N(1000 + r)},
                  {"K", CartellaFinta::N(220)}});
    ScriviFile(Intermedio(), "FCLtemp precedente");
    ScriviFile(ListatoFile(), "%PDF listato precedente");
  }

  std::filesystem::path Programma() const { return dir / "programma"; }
  std::filesystem::path Uscita() const { return dir / "uscita"; }
  std::filesystem::path Intermedio() const { return Programma() / "FCLtemp.TXT"; }
  std::filesystem::path ListatoFile() const { return Uscita() / "FCL_ROSSIMARIO_LISTATO.PDF"; }

  RisultatoElaborazione Esegui(Listato& listato) {
    ui.voci.clear();
    ui.file.push_back(ListatoFile());
    return ElaboraCartella(
        ctx, "/dati/fe.xlsx", true, listato,
        [this](const std::filesystem::path&) { return std::make_unique<Rinvio>(wb); });
  }

  // The run failed on `file` with the cause given, left both earlier files and no other file.
  void ControllaFallito(const RisultatoElaborazione& r, const std::filesystem::path& file,
                        std::string_view causa) {
    EXPECT_EQ(r.esito, EsitoElaborazione::Fallita);
    const auto m = ui.Testi();
    ASSERT_EQ(m.size(), 1u);
    EXPECT_NE(m[0].find(file.string()), std::string::npos) << m[0];
    EXPECT_NE(m[0].find(causa), std::string::npos) << m[0];
    EXPECT_EQ(ctx.totaliImport.righeTotali, 0);
    EXPECT_TRUE(ctx.totaliImport.erroreData);
    EXPECT_EQ(LeggiFile(Intermedio()), "FCLtemp precedente");
    EXPECT_EQ(LeggiFile(ListatoFile()), "%PDF listato precedente");
    EXPECT_EQ(Nomi(Uscita()), std::vector<std::string>{ListatoFile().filename().string()});
    for (const auto& nome : Nomi(Programma())) EXPECT_NE(nome.front(), '.') << nome;
  }

  test::CartellaTemporanea dir;
  test::InterazioneRegistrata ui;
  Contesto ctx;
  CartellaFinta wb;
};

// 120 FE rows make 20 records, 38,000 bytes: past the limit while the run writes them.
TEST_F(GuastiElaborazioneTest, FileIntermedioSuDiscoPieno) {
  test::ListatoRegistrato listato;
  RisultatoElaborazione r;
  {
    test::LimiteDimensioneFile limite(16 * 1024);
    r = Esegui(listato);
  }
  ControllaFallito(r, Intermedio(), "il file supera la dimensione consentita dal sistema");
  EXPECT_EQ(listato.completamenti, 0);
}

TEST_F(GuastiElaborazioneTest, FileIntermedioInCartellaDiSolaLettura) {
  test::ListatoRegistrato listato;
  test::SolaLettura solaLettura(Programma());
  if (!solaLettura.Motivo().empty()) GTEST_SKIP() << solaLettura.Motivo();
  RecordProperty("cartella", solaLettura.Come());
  const RisultatoElaborazione r = Esegui(listato);
  solaLettura.Ripristina();
  ControllaFallito(r, Intermedio(), "scrittura non consentita");
  EXPECT_EQ(listato.completamenti, 0);
}

class GuastiListatoTest : public GuastiElaborazioneTest {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kStampe / "base.pdf"))
      GTEST_SKIP() << "modelli di stampa non generati";
    GuastiElaborazioneTest::SetUp();
    std::filesystem::create_directories(Programma() / "Stampe");
    std::filesystem::copy_file(kStampe / "base.pdf", Programma() / "Stampe" / "base.pdf");
  }
};

// The listing is far larger than the intermediate file: a limit between the two fails only it.
TEST_F(GuastiListatoTest, ListatoSuDiscoPieno) {
  std::uintmax_t intermedio = 0;
  std::uintmax_t pdf = 0;
  {
    ListatoPdf listato;
    ASSERT_EQ(Esegui(listato).esito, EsitoElaborazione::Completata);
    intermedio = std::filesystem::file_size(Intermedio());
    pdf = std::filesystem::file_size(ListatoFile());
    ASSERT_GT(pdf, intermedio + 8192) << "il listato deve superare il file intermedio";
  }
  ScriviFile(Intermedio(), "FCLtemp precedente");
  ScriviFile(ListatoFile(), "%PDF listato precedente");
  ListatoPdf listato;
  RisultatoElaborazione r;
  {
    test::LimiteDimensioneFile limite(intermedio + 4096);
    r = Esegui(listato);
  }
  ControllaFallito(r, ListatoFile(), "il file supera la dimensione consentita dal sistema");
}

TEST_F(GuastiListatoTest, ListatoInCartellaDiSolaLettura) {
  ListatoPdf listato;
  test::SolaLettura solaLettura(Uscita());
  if (!solaLettura.Motivo().empty()) GTEST_SKIP() << solaLettura.Motivo();
  RecordProperty("cartella", solaLettura.Come());
  const RisultatoElaborazione r = Esegui(listato);
  solaLettura.Ripristina();
  ControllaFallito(r, ListatoFile(), "Impossibile scrivere il listato di controllo");
}

}  // namespace
}  // namespace fcl
