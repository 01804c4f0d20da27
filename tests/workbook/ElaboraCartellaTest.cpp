#include "workbook/ElaboraCartella.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CartellaFinta.h"
#include "CartellaTemporanea.h"
#include "InterazioneRegistrata.h"
#include "ListatoRegistrato.h"
#include "Record.h"
#include "common/RoutineCampi.h"
#include "common/Valore.h"

namespace fcl {
namespace {

using test::CartellaFinta;
using test::Dx;
using test::Sx;
using Campi = std::vector<std::pair<std::string, std::string>>;

// Passes the calls on to a workbook the test keeps (the run owns what it opens).
class Rinvio : public LettoreCartella {
 public:
  explicit Rinvio(LettoreCartella& l) : l_(l) {}
  int NumeroFogli() override { return l_.NumeroFogli(); }
  std::string NomeFoglio(int f) override { return l_.NomeFoglio(f); }
  const std::vector<Cella>& Riga(int f, int r) override { return l_.Riga(f, r); }

 private:
  LettoreCartella& l_;
};

// Records the filters of the file dialogs too.
class InterazioneConFiltri : public test::InterazioneRegistrata {
 public:
  std::vector<std::string> filtri;
  std::optional<std::filesystem::path> ScegliFileDaSalvare(std::string_view titolo,
                                                           std::string_view filtro,
                                                           const std::filesystem::path& cartella,
                                                           std::string_view nome) override {
    filtri.emplace_back(filtro);
    return InterazioneRegistrata::ScegliFileDaSalvare(titolo, filtro, cartella, nome);
  }
  std::optional<std::filesystem::path> ScegliFileDaAprire(
      std::string_view titolo, std::string_view filtro,
      const std::filesystem::path& cartella) override {
    filtri.emplace_back(filtro);
    return InterazioneRegistrata::ScegliFileDaAprire(titolo, filtro, cartella);
  }
};

class ElaboraCartellaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ctx.cartellaProgramma = cartella.Percorso();
    ctx.interazione = &ui;
    ctx.operatoreCorrente.codiceFiscale = "RSSMRA80A01H501U";
    ctx.operatoreCorrente.nomeVisualizzato = " Rossi Mario s.r.l. ";
    ctx.annoRiferimento = "2013";
    ui.file.push_back(cartella / "LISTATO.PDF");
  }

  RisultatoElaborazione Esegui(bool zeri = true) {
    return ElaboraCartella(
        ctx, "/dati/base.xls", zeri, listato,
        [this](const std::filesystem::path&) { return std::make_unique<Rinvio>(wb); });
  }

  std::filesystem::path Intermedio() const { return cartella / "FCLtemp.TXT"; }
  std::vector<std::string> Righe() const { return test::Righe(test::LeggiFile(Intermedio())); }
  std::vector<std::string> Messaggi() const { return ui.Testi(); }

  test::CartellaTemporanea cartella;
  InterazioneConFiltri ui;
  Contesto ctx;
  CartellaFinta wb;
  test::ListatoRegistrato listato;
};

// Sheets 2-12 are recognised by name in any order; every line of the file is a whole record.
TEST_F(ElaboraCartellaTest, TuttiIQuadriInQualsiasiOrdine) {
  wb.Aggiungi("Istruzioni").Riga(4, {{"A", CartellaFinta::T("12345678901")}});
  const std::vector<std::string> nomi = {"TU", "FA", "SA", "BL", "FE", "FR",
                                         "NE", "NR", "DF", "FN", "SE"};
  for (const auto& n : nomi) {
    const int prima = n == "SA" ? 3 : n == "BL" ? 5 : 4;
    // Column J is a date in TU: H there.
    wb.Aggiungi(n).Riga(prima, {{n == "TU" ? "H" : "J", CartellaFinta::T("1")}});
  }

  const auto r = Esegui();
  EXPECT_EQ(r.esito, EsitoElaborazione::Completata);
  EXPECT_TRUE(Messaggi().empty());
  const auto& t = ctx.totaliImport;
  EXPECT_EQ(t.righeTotali, 11);
  for (int q = FA; q <= TU; ++q) EXPECT_EQ(t.righePerQuadro[q], 1) << q;
  EXPECT_EQ(t.righePerQuadro[0] + t.righePerQuadro[1], 0);
  EXPECT_FALSE(t.erroreData);
  const std::vector<std::pair<std::string, std::string>> ta(t.tabellaTA.begin(), t.tabellaTA.end());
  const std::string uno = Dx("1");
  EXPECT_EQ(ta, (std::vector<std::pair<std::string, std::string>>{{"TA001001", uno},
                                                                  {"TA002001", uno},
                                                                  {"TA003001", uno},
                                                                  {"TA003002", ""},
                                                                  {"TA003003", ""},
                                                                  {"TA004001", uno},
                                                                  {"TA004002", ""},
                                                                  {"TA005001", uno},
                                                                  {"TA005002", ""},
                                                                  {"TA006001", uno},
                                                                  {"TA007001", uno},
                                                                  {"TA008001", uno},
                                                                  {"TA009001", uno},
                                                                  {"TA010001", uno},
                                                                  {"TA011001", uno}}));

  const auto righe = Righe();
  ASSERT_EQ(righe.size(), 11u);
  EXPECT_EQ(test::LeggiFile(Intermedio()).size(), 11u * 1900);
  for (std::size_t i = 0; i < righe.size(); ++i) {
    SCOPED_TRACE(nomi[i]);
    ASSERT_EQ(righe[i].size(), 1898u);
    EXPECT_EQ(righe[i][1897], 'A');
    EXPECT_EQ(righe[i][0], (nomi[i] == "FA" || nomi[i] == "SA" || nomi[i] == "BL") ? 'C' : 'D');
    EXPECT_EQ(righe[i].substr(17, 8), AllineaDestra(std::to_string(i + 1), 8, '0'));
  }
  // The FN row's J is a text; the BL row's J is BL001010.
  EXPECT_EQ(test::Campi(righe[9]), (Campi{{"FN001010", Sx("1")}}));
  EXPECT_EQ(test::Campi(righe[3]), (Campi{{"BL001010", Sx("1")}}));
  EXPECT_EQ(test::Campi(righe[0]), (Campi{{"TU001008", Sx("1")}}));

  ASSERT_EQ(listato.fogli.size(), 11u);
  for (std::size_t i = 0; i < nomi.size(); ++i) EXPECT_EQ(listato.fogli[i].nome, nomi[i]);
  EXPECT_EQ(listato.fogli[0].quadro, TU);
  EXPECT_EQ(listato.inizi, 1);
  EXPECT_EQ(listato.completamenti, 1);
  EXPECT_EQ(listato.righe.size(), 11u);
  // The first sheet is never read.
  for (const auto& [foglio, riga] : wb.righeLette) EXPECT_NE(foglio, 1);
}

TEST_F(ElaboraCartellaTest, UnNomeNonRiconosciutoFinisceIlGiro) {
  for (std::string_view nome : {"fa", "FA ", "Foglio3"}) {
    SCOPED_TRACE(nome);
    wb = CartellaFinta();
    listato = test::ListatoRegistrato();
    ui.file.push_back(cartella / "LISTATO.PDF");
    wb.Aggiungi("Foglio1");
    wb.Aggiungi("SA").Riga(3, {{"A", CartellaFinta::T("X")}});
    wb.Aggiungi(std::string(nome)).Riga(4, {{"A", CartellaFinta::T("X")}});
    wb.Aggiungi("FE").Riga(4, {{"A", CartellaFinta::T("X")}});
    EXPECT_EQ(Esegui().esito, EsitoElaborazione::Completata);
    EXPECT_EQ(ctx.totaliImport.righeTotali, 1);
    EXPECT_EQ(ctx.totaliImport.righePerQuadro[SA], 1);
    EXPECT_EQ(ctx.totaliImport.righePerQuadro[FE], 0);
    EXPECT_EQ(Righe().size(), 1u);
  }
}

// A workbook of two sheets: sheet 2 is read, the missing sheet 3 ends the walk normally; a sheet
// named like a quadro in first place is never read.
TEST_F(ElaboraCartellaTest, SoloDueFogliEPrimoFoglioMaiLetto) {
  wb.Aggiungi("FA").Riga(4, {{"A", CartellaFinta::T("11111111111")}});
  wb.Aggiungi("SA").Riga(3, {{"A", CartellaFinta::T("X")}});
  EXPECT_EQ(Esegui().esito, EsitoElaborazione::Completata);
  EXPECT_EQ(ctx.totaliImport.righePerQuadro[FA], 0);
  EXPECT_EQ(ctx.totaliImport.righePerQuadro[SA], 1);
  EXPECT_TRUE(Messaggi().empty());
}

TEST_F(ElaboraCartellaTest, PrimaRigaDelQuadroBL) {
  struct Caso {
    std::string a5;
    int righe;
  } const kCasi[] = {
      {"  PERSONE FISICHE ", 2}, {"persone fisiche", 4}, {"ALTRI SOGGETTI", 4}, {"", 0}};
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.a5);
    wb = CartellaFinta();
    ui.file.push_back(cartella / "LISTATO.PDF");
    wb.Aggiungi("Foglio1");
    auto& bl = wb.Aggiungi("BL");
    if (!c.a5.empty()) bl.Riga(5, {{"A", CartellaFinta::T(c.a5)}});
    bl.Riga(6, {{"G", CartellaFinta::T("INTESTAZIONE")}});
    bl.Riga(7, {{"A", CartellaFinta::T("ROSSI")}});
    bl.Riga(8, {{"G", CartellaFinta::T("ACME LTD")}});
    Esegui();
    EXPECT_EQ(ctx.totaliImport.righePerQuadro[BL], c.righe);
    EXPECT_EQ(ctx.totaliImport.righePerQuadro[BL] == 0 ? 0u : Righe().size(),
              static_cast<std::size_t>(c.righe));  // one counterpart per BL record
  }
}

TEST_F(ElaboraCartellaTest, FineDelFoglioSuColonneAJVuote) {
  wb.Aggiungi("Foglio1");
  wb.Aggiungi("SA")
      .Riga(3, {{"J", CartellaFinta::T("nota")}})  // only J: a data row all the same
      .Riga(4, {{"K", CartellaFinta::T("1")}, {"Y", CartellaFinta::T("2")}})  // only K-Y: the end
      .Riga(5, {{"A", CartellaFinta::T("RSSMRA80A01H501U")}});
  EXPECT_EQ(Esegui().esito, EsitoElaborazione::Completata);
  EXPECT_EQ(ctx.totaliImport.righeTotali, 1);
  EXPECT_EQ(ctx.totaliImport.righePerQuadro[SA], 1);
  const auto righe = Righe();
  ASSERT_EQ(righe.size(), 1u);
  EXPECT_TRUE(test::Campi(righe[0]).empty());
  EXPECT_EQ(righe[0].substr(0, 17), "CRSSMRA80A01H501U");
}

TEST_F(ElaboraCartellaTest, FAQuattroRigheESAContinuaLaNumerazione) {
  wb.Aggiungi("Foglio1");
  auto& fa = wb.Aggiungi("FA");
  for (int r = 4; r < 8; ++r) fa.Riga(r, {{"A", CartellaFinta::N(10000000000.0 + r)}});
  wb.Aggiungi("SA").Riga(3, {{"A", CartellaFinta::T("123")}, {"B", CartellaFinta::N(2)}});
  Esegui();
  const auto righe = Righe();
  ASSERT_EQ(righe.size(), 3u);
  EXPECT_EQ(test::Campi(righe[0]), (Campi{{"FA001001", "10000000004     "},
                                          {"FA002001", "10000000005     "},
                                          {"FA003001", "10000000006     "}}));
  EXPECT_EQ(test::Campi(righe[1]), (Campi{{"FA001001", "10000000007     "}}));
  EXPECT_EQ(test::Campi(righe[2]), (Campi{{"SA001001", Sx("00000000123")}, {"SA001002", Dx("2")}}));
  EXPECT_EQ(righe[2].substr(17, 8), "00000003");
  EXPECT_EQ(ctx.totaliImport.tabellaTA[0].second, Dx("4"));
}

// The listing sees the cells after the quadro's columns are upper-cased; so does the encoder.
TEST_F(ElaboraCartellaTest, ColonneInMaiuscoloPerQuadro) {
  struct Caso {
    std::string quadro;
    std::string maiuscole;
  } const kCasi[] = {{"FA", "B"},          {"SA", "A"},          {"BL", "ABCDEFGHIJ"}, {"FE", "B"},
                     {"FR", ""},           {"NE", "B"},          {"NR", ""},           {"DF", "A"},
                     {"FN", "ABCDEFGHIJ"}, {"SE", "ABCDEFGHIJ"}, {"TU", "ABCDEFGH"}};
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.quadro);
    wb = CartellaFinta();
    listato = test::ListatoRegistrato();
    ui.file.push_back(cartella / "LISTATO.PDF");
    wb.Aggiungi("Foglio1");
    auto& f = wb.Aggiungi(c.quadro);
    const int prima = c.quadro == "SA" ? 3 : c.quadro == "BL" ? 5 : 4;
    f.righe[prima].assign(25, CartellaFinta::T("àb"));
    Esegui();
    ASSERT_EQ(listato.righe.size(), 1u);
    std::string trovate;
    for (int k = 0; k < kColonneRiga; ++k)
      if (listato.righe[0].celle[k] == "ÀB")
        trovate += LetteraColonna(k);
      else
        EXPECT_EQ(listato.righe[0].celle[k], "àb");
    EXPECT_EQ(trovate, c.maiuscole);
  }
  // The encoder writes the upper-cased text (Windows-1252).
  const auto campi = test::Campi(Righe()[0]);
  EXPECT_EQ(campi.front(), (std::pair<std::string, std::string>{"TU001001", Sx("\xC0"
                                                                               "B")}));
}

TEST_F(ElaboraCartellaTest, NomeDelListatoEDialogo) {
  wb.Aggiungi("Foglio1");
  wb.Aggiungi("SA").Riga(3, {{"A", CartellaFinta::T("X")}});
  ctx.totaliImport.cartellaUscita = "/precedente";
  Esegui();
  ASSERT_EQ(ui.voci.size(), 1u);
  EXPECT_EQ(ui.voci[0].tipo, "salva");
  EXPECT_EQ(ui.voci[0].titolo, "CARTELLA DI SALVATAGGIO FISCOLARIO ");
  EXPECT_EQ(ui.voci[0].testo, "FCL_ROSSIMARIOSRL_LISTATO.PDF");
  EXPECT_EQ(ui.filtri, (std::vector<std::string>{"PDF (*.PDF)|*.PDF"}));
  EXPECT_EQ(ctx.operatoreCorrente.nomeVisualizzato, "ROSSI MARIO S.R.L.");
  const auto& t = ctx.totaliImport;
  EXPECT_EQ(t.percorsoListato, cartella / "LISTATO.PDF");
  EXPECT_EQ(t.cartellaUscita, cartella.Percorso());
  EXPECT_EQ(t.percorsoCartellaLavoro, "/dati/base.xls");
  EXPECT_EQ(listato.intestazione.percorsoListato, cartella / "LISTATO.PDF");
  EXPECT_EQ(listato.intestazione.percorsoCartellaLavoro, "/dati/base.xls");
  EXPECT_EQ(listato.intestazione.nomeOperatore, "ROSSI MARIO S.R.L.");
  EXPECT_EQ(listato.intestazione.annoRiferimento, "2013");
  EXPECT_EQ(listato.intestazione.cartellaProgramma, cartella.Percorso());

  ui.filtri.clear();
  ui.file.push_back(std::filesystem::path("/dati/base.xls"));
  EXPECT_EQ(ScegliCartellaLavoro(ui, "/dati"), std::filesystem::path("/dati/base.xls"));
  EXPECT_EQ(ui.voci.back().titolo, "Indica il foglio excel da importare");
  EXPECT_EQ(ui.filtri, (std::vector<std::string>{"Excel (*.XLS)|*.XLS"}));
}

// Cancelling the listing dialog: totals reset, the intermediate file as the last run left it.
TEST_F(ElaboraCartellaTest, DialogoDelListatoAnnullato) {
  test::ScriviFile(Intermedio(), "vecchio");
  ctx.totaliImport.righeTotali = 5;
  ctx.totaliImport.righePerQuadro[FA] = 5;
  ctx.totaliImport.erroreData = true;
  ui.file = {std::nullopt};
  wb.Aggiungi("Foglio1");
  wb.Aggiungi("SA").Riga(3, {{"A", CartellaFinta::T("X")}});
  EXPECT_EQ(Esegui().esito, EsitoElaborazione::Annullata);
  EXPECT_EQ(ctx.totaliImport.righeTotali, 0);
  EXPECT_EQ(ctx.totaliImport.righePerQuadro[FA], 0);
  EXPECT_FALSE(ctx.totaliImport.erroreData);
  EXPECT_EQ(test::LeggiFile(Intermedio()), "vecchio");
  EXPECT_TRUE(Messaggi().empty());
  EXPECT_EQ(listato.inizi, 0);
}

TEST_F(ElaboraCartellaTest, ListatoApertoInUnAltroProgramma) {
  test::ScriviFile(cartella / "LISTATO.PDF", "%PDF");
  const int fd = ::open((cartella / "LISTATO.PDF").c_str(), O_RDWR);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  wb.Aggiungi("Foglio1");
  wb.Aggiungi("SA").Riga(3, {{"A", CartellaFinta::T("X")}});
  EXPECT_EQ(Esegui().esito, EsitoElaborazione::Fallita);
  ::close(fd);
  ASSERT_EQ(ui.voci.size(), 2u);
  EXPECT_EQ(ui.voci[1].testo, "Il documento: " + (cartella / "LISTATO.PDF").string() +
                                  "\n \nrisulta aperto: chiudere il documento e riprovare");
  EXPECT_EQ(ui.voci[1].titolo, "Errore stampa documento");
  EXPECT_EQ(ui.voci[1].icona, Icona::Critico);
  EXPECT_EQ(listato.inizi, 0);
  EXPECT_FALSE(std::filesystem::exists(Intermedio()));
}

TEST_F(ElaboraCartellaTest, CartellaSenzaRighe) {
  test::ScriviFile(Intermedio(), "vecchio");
  wb.Aggiungi("Foglio1");
  wb.Aggiungi("FA").Riga(5, {{"A", CartellaFinta::T("dopo una riga vuota")}});
  EXPECT_EQ(Esegui().esito, EsitoElaborazione::Vuota);
  ASSERT_EQ(ui.voci.size(), 2u);
  EXPECT_EQ(ui.voci[1].testo,
            "Non risultano o non sono riconosciute righe da elaborare in nessun foglio del file "
            "/dati/base.xls");
  EXPECT_EQ(ui.voci[1].titolo, "File Vuoto - Procedura annullata");
  EXPECT_EQ(ui.voci[1].icona, Icona::Critico);
  EXPECT_EQ(test::LeggiFile(Intermedio()), "");
  EXPECT_EQ(listato.completamenti, 0);
}

TEST_F(ElaboraCartellaTest, CartellaCheNonSiApre) {
  const auto r =
      ElaboraCartella(ctx, "/dati/rotto.xls", true, listato,
                      [](const std::filesystem::path&) -> std::unique_ptr<LettoreCartella> {
                        throw ErroreCartella(1004, "Il file non è una cartella di lavoro");
                      });
  EXPECT_EQ(r.esito, EsitoElaborazione::Fallita);
  ASSERT_EQ(ui.voci.size(), 1u);
  EXPECT_EQ(ui.voci[0].testo, "ERRORE 1004 - Il file non è una cartella di lavoro");
  EXPECT_EQ(ui.voci[0].titolo, kTitoloApplicazione);
  EXPECT_EQ(ui.voci[0].icona, Icona::Critico);
  EXPECT_EQ(ctx.totaliImport.righeTotali, 0);
}

// An intermediate file that cannot be written stops the run; nothing is offered for creation.
TEST_F(ElaboraCartellaTest, FileIntermedioNonScrivibile) {
  ctx.cartellaProgramma = cartella / "manca";
  wb.Aggiungi("Foglio1");
  wb.Aggiungi("SA").Riga(3, {{"A", CartellaFinta::T("X")}});
  EXPECT_EQ(Esegui().esito, EsitoElaborazione::Fallita);
  const auto m = Messaggi();
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(
      m[0].rfind("Impossibile creare il file " + (cartella / "manca" / "FCLtemp.TXT").string(), 0),
      0u)
      << m[0];
  EXPECT_EQ(ctx.totaliImport.righeTotali, 0);
  EXPECT_TRUE(ctx.totaliImport.erroreData);
  EXPECT_EQ(listato.completamenti, 0);
}

// A workbook that fails halfway: the previous intermediate file stays whole, no temporary file is
// left, and the totals offer nothing.
TEST_F(ElaboraCartellaTest, CartellaGuastaAMetaGiro) {
  test::ScriviFile(Intermedio(), "vecchio");
  wb.Aggiungi("Foglio1");
  wb.Aggiungi("FA").Riga(4, {{"A", CartellaFinta::T("12345678901")}});
  wb.Aggiungi("SA").Riga(3, {{"A", CartellaFinta::T("X")}}).Riga(4, {{"A", CartellaFinta::T("Y")}});
  wb.foglioGuasto = 3;
  wb.rigaGuasta = 4;
  EXPECT_EQ(Esegui().esito, EsitoElaborazione::Fallita);
  EXPECT_EQ(Messaggi(), (std::vector<std::string>{"ERRORE 1004 - Cartella danneggiata"}));
  EXPECT_EQ(test::LeggiFile(Intermedio()), "vecchio");
  std::vector<std::string> file;
  for (const auto& e : std::filesystem::directory_iterator(cartella.Percorso()))
    file.push_back(e.path().filename().string());
  EXPECT_EQ(file, (std::vector<std::string>{"FCLtemp.TXT"}));
  const auto& t = ctx.totaliImport;
  EXPECT_EQ(t.righeTotali, 0);
  EXPECT_EQ(t.righePerQuadro[FA], 0);
  EXPECT_EQ(t.tabellaTA[0].second, "");
  EXPECT_TRUE(t.erroreData);
  EXPECT_EQ(listato.completamenti, 0);
}

// Cells that cannot be encoded are named by sheet, row and column and block the creation; the
// run goes on and writes the rest of the row.
TEST_F(ElaboraCartellaTest, CelleNonCodificabiliNominateEBloccano) {
  wb.Aggiungi("Foglio1");
  wb.Aggiungi("FE")
      .Riga(4, {{"A", CartellaFinta::T("12345678901")},
                {"G", CartellaFinta::T("31/04/2013")},
                {"H", CartellaFinta::T("fine mese")},
                {"I", CartellaFinta::T("F1")},
                {"J", CartellaFinta::E("#N/A")},
                {"K", CartellaFinta::T("-50")},
                {"T", CartellaFinta::E("#REF!")}})
      .Riga(5, {{"E", CartellaFinta::E("#DIV/0!")}});
  const auto r = Esegui();
  EXPECT_EQ(r.esito, EsitoElaborazione::Completata);
  EXPECT_EQ(r.celleErrate, 5);
  EXPECT_EQ(Messaggi(),
            (std::vector<std::string>{
                "Foglio FE, riga 4, colonna J: la cella contiene un valore di errore (#N/A)",
                "Foglio FE, riga 4, colonna G: Errore DATA: 31/04/2013 - Quadro FE",
                "Foglio FE, riga 4, colonna H: Errore DATA: fine mese - Quadro FE",
                "Foglio FE, riga 4, colonna K: importo negativo non ammesso: -50 (gli "
                "importi vanno indicati in positivo; le note di variazione nei quadri NE e NR)",
                "Foglio FE, riga 5, colonna E: la cella contiene un valore di errore (#DIV/0!)",
            }));
  EXPECT_EQ(ui.voci[1].titolo, kTitoloApplicazione);
  EXPECT_TRUE(ctx.totaliImport.erroreData);
  EXPECT_EQ(ctx.totaliImport.righePerQuadro[FE], 2);
  const auto righe = Righe();
  ASSERT_EQ(righe.size(), 1u);
  EXPECT_EQ(test::Campi(righe[0]),
            (Campi{{"FE001001", "12345678901     "}, {"FE001009", Sx("F1")}}));
  EXPECT_EQ(listato.righe[0].celle[9], "");
}

// Typed cells as the readers give them: numbers without thousands dots, dates dd/mm/yyyy.
TEST_F(ElaboraCartellaTest, CelleNumeroEData) {
  wb.Aggiungi("Foglio1");
  wb.Aggiungi("FE").Riga(4,
                         {{"A", CartellaFinta::N(1234567890)},
                          {"G", CartellaFinta::D(static_cast<double>(Data{2013, 3, 5}.Seriale()))},
                          {"H", CartellaFinta::T("1/2/2013")},
                          {"J", CartellaFinta::N(1234.5)}});
  Esegui();
  EXPECT_EQ(test::Campi(Righe()[0]), (Campi{{"FE001001", "01234567890     "},
                                            {"FE001007", Dx("05032013")},
                                            {"FE001008", Dx("01022013")},
                                            {"FE001010", Dx("1234")}}));
  EXPECT_EQ(listato.righe[0].celle[6], "05/03/2013");
  EXPECT_EQ(listato.righe[0].celle[9], "1234,5");
  EXPECT_FALSE(ctx.totaliImport.erroreData);
  // Without the zero-padding option the VAT number is written as read.
  ui.file.push_back(cartella / "LISTATO.PDF");
  Esegui(false);
  EXPECT_EQ(test::Campi(Righe()[0])[0].second, Sx("1234567890     "));
}

TEST_F(ElaboraCartellaTest, AvanzamentoPerFoglioERiga) {
  wb.Aggiungi("Foglio1");
  auto& fe = wb.Aggiungi("FE");
  for (int r = 4; r < 9; ++r) fe.Riga(r, {{"I", CartellaFinta::T("F")}});
  Esegui();
  EXPECT_EQ(ui.ultimaDidascalia, "Foglio FE");
  EXPECT_GE(ui.avanzamenti, 5);
}

}  // namespace
}  // namespace fcl
