// Faults of the disk while the communication file and its cover are written: a disk that fills
// up on either file (while writing, or on the last bytes at the confirmation) or a folder that
// cannot be written. The creation fails with its message, the earlier communication file and
// cover stay as they were, and no temporary file is left.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CartellaTemporanea.h"
#include "Guasti.h"
#include "InterazioneRegistrata.h"
#include "common/CodiceProduttore.h"
#include "communication/CopertinaPdf.h"
#include "communication/CreaComunicazione.h"
#include "store/Database.h"
#include "store/Schema.h"

namespace fcl {
namespace {

using test::LeggiFile;
using test::ScriviFile;

const std::filesystem::path kStampe = FCL_STAMPE_DIR;
constexpr std::string_view kCF = "RSSMRA70C05H501Z";

std::string Dettaglio(int modulo) {
  std::string r(1898, ' ');
  r[0] = 'C';
  r.replace(1, kCF.size(), kCF);
  const std::string n = std::to_string(modulo);
  r.replace(17, 8, std::string(8 - n.size(), '0') + n);
  r.replace(73, 11, kCodiceProduttore);
  r.replace(89, 24, "FA001001        12345678");
  r[1897] = 'A';
  return r + "\r\n";
}

std::vector<std::string> Nomi(const std::filesystem::path& cartella) {
  std::vector<std::string> nomi;
  for (const auto& e : std::filesystem::directory_iterator(cartella))
    nomi.push_back(e.path().filename().string());
  std::sort(nomi.begin(), nomi.end());
  return nomi;
}

class GuastiCreaTest : public ::testing::Test {
 protected:
  GuastiCreaTest() : db_(Database::InMemoria()) {}

  void SetUp() override {
    if (!std::filesystem::exists(kStampe / "base_RIEP.pdf"))
      GTEST_SKIP() << "modelli di stampa non generati";
    std::filesystem::create_directories(Programma() / "Stampe");
    std::filesystem::copy_file(kStampe / "base_RIEP.pdf", Programma() / "Stampe" / "base_RIEP.pdf");
    std::filesystem::create_directories(Uscita());
    CreaSchema(db_);
    db_.Esegui(
        "INSERT INTO COPE (OCOD, OCOG, ONOME, OSEX, ONDT, ONCOM, ONPRO, OSTP, OPIVA, ODES, OATT) "
        "VALUES (?, 'Rossi', 'Mario', 'M', ?, 'Forlì', 'FC', '0', '01234567897', 'ROSSI MARIO', "
        "'692000')",
        {std::string(kCF), Data{1970, 3, 5}});
    ctx_.cartellaProgramma = Programma();
    ctx_.connessioneDb = &db_;
    ctx_.interazione = &ui_;
    ctx_.apriDocumento = &nessuna_;
    ctx_.operatoreCorrente.codiceFiscale = std::string(kCF);
    ctx_.operatoreCorrente.nomeVisualizzato = "ROSSIMARIO";
    ctx_.totaliImport.percorsoListato = Uscita() / "FCL_ROSSIMARIO_LISTATO.PDF";
    scelta_.anno = "2013";
    ScriviFile(ctx_.totaliImport.percorsoListato, "%PDF listato");
  }

  // The intermediate file of a run that left `n` aggregated records.
  void Intermedio(int n) {
    ctx_.totaliImport.righePerQuadro[FA] = 3 * n;
    ctx_.totaliImport.righeTotali = 3 * n;
    std::string intermedio;
    for (int i = 1; i <= n; ++i) intermedio += Dettaglio(i);
    ScriviFile(Programma() / "FCLtemp.TXT", intermedio);
  }

  std::filesystem::path Programma() const { return dir_ / "programma"; }
  std::filesystem::path Uscita() const { return dir_ / "uscita"; }
  std::filesystem::path Comunicazione() const { return Uscita() / "FCL_ROSSIMARIO.TXT"; }
  std::filesystem::path Frontespizio() const {
    return Uscita() / "FCL_ROSSIMARIO_FRONTESPIZIO.PDF";
  }

  EsitoCreazione Crea() {
    ui_.voci.clear();
    CopertinaPdf copertina(ctx_.cartellaProgramma, ui_);
    return CreaComunicazione(ctx_, scelta_, copertina);
  }

  // Sizes of the communication file and of the cover of a creation that works; only the two
  // files are left.
  std::pair<std::uintmax_t, std::uintmax_t> Dimensioni() {
    const EsitoCreazione e = Crea();
    EXPECT_EQ(e.stato, EsitoCreazione::Stato::Creata) << e.messaggio;
    std::filesystem::remove(e.fileVerifica);
    return {std::filesystem::file_size(Comunicazione()),
            std::filesystem::file_size(Frontespizio())};
  }

  void Precedenti() {
    ScriviFile(Comunicazione(), "comunicazione precedente");
    ScriviFile(Frontespizio(), "%PDF frontespizio precedente");
  }

  void ControllaFallita(const EsitoCreazione& e, std::string_view causa) {
    EXPECT_EQ(e.stato, EsitoCreazione::Stato::Fallita);
    EXPECT_EQ(e.messaggio.rfind("Errore CREA Comunicazione: ", 0), 0u) << e.messaggio;
    EXPECT_NE(e.messaggio.find(causa), std::string::npos) << e.messaggio;
    ASSERT_FALSE(ui_.voci.empty());
    EXPECT_EQ(ui_.voci.back().testo, e.messaggio);
    EXPECT_EQ(LeggiFile(Comunicazione()), "comunicazione precedente");
    EXPECT_EQ(LeggiFile(Frontespizio()), "%PDF frontespizio precedente");
    EXPECT_EQ(Nomi(Uscita()),
              (std::vector<std::string>{"FCL_ROSSIMARIO.TXT", "FCL_ROSSIMARIO_FRONTESPIZIO.PDF",
                                        "FCL_ROSSIMARIO_LISTATO.PDF"}));
  }

  test::CartellaTemporanea dir_;
  Database db_;
  test::InterazioneRegistrata ui_;
  class : public ApriDocumento {
    void Apri(const std::filesystem::path&) override {}
  } nessuna_;
  Contesto ctx_;
  SceltaCreazione scelta_;
};

TEST_F(GuastiCreaTest, DiscoPienoSuUnoDeiDueFile) {
  using Dim = std::pair<std::uintmax_t, std::uintmax_t>;  // communication file, cover
  struct Case {
    std::string_view nome;
    int record;
    rlim_t (*limite)(Dim);
    std::string_view file;
  } const kCases[] = {
      // Two records: the cover is the larger file, and the only one past the limit.
      {"frontespizio", 2, [](Dim d) -> rlim_t { return d.first + 4096; }, "_FRONTESPIZIO.PDF"},
      // A hundred records: the communication file is the larger one.
      {"comunicazione durante la scrittura", 100, [](Dim d) -> rlim_t { return d.second + 4096; },
       "FCL_ROSSIMARIO.TXT"},
      // The last bytes of the file reach the disk only at the end, once the cover is drawn:
      // the cover must not be put in place beside the earlier communication file.
      {"comunicazione alla conferma", 100, [](Dim d) -> rlim_t { return d.first - 1; },
       "FCL_ROSSIMARIO.TXT"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.nome);
    Intermedio(c.record);
    const Dim d = Dimensioni();
    ASSERT_LT(c.limite(d), std::max(d.first, d.second));
    Precedenti();
    EsitoCreazione e;
    {
      test::LimiteDimensioneFile limite(c.limite(d));
      e = Crea();
    }
    ControllaFallita(e, c.file);
  }
}

TEST_F(GuastiCreaTest, CartellaDiSolaLettura) {
  Intermedio(2);
  Precedenti();
  test::SolaLettura solaLettura(Uscita());
  if (!solaLettura.Motivo().empty()) GTEST_SKIP() << solaLettura.Motivo();
  RecordProperty("cartella", solaLettura.Come());
  const EsitoCreazione e = Crea();
  solaLettura.Ripristina();
  ControllaFallita(e, "FCL_ROSSIMARIO");
}

}  // namespace
}  // namespace fcl
