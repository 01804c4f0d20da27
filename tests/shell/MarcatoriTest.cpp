#include "shell/Marcatori.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "CartellaTemporanea.h"
#include "InterazioneRegistrata.h"
#include "shell/ArchivioCollegato.h"
#include "shell/Codifica.h"

namespace fcl {
namespace {

TEST(Codifica, ScriviPoiLeggiRestituisceIlTesto) {
  struct Case {
    std::string_view nome;
    std::string testo;
    int chiave;
  } const kCases[] = {
      {"vuoto", "", 12},
      {"stringa di connessione",
       "provider=Microsoft.Jet.OLEDB.4.0;Data "
       "Source=/home/rossi/.local/share/fiscolario/DataBase/FCL2013.mdb",
       kChiaviMarcatore[0]},
      {"tipo", "A", kChiaviMarcatore[1]},
      {"accenti Windows-1252", "Citt\xE0 d'\xC8lite", kChiaviMarcatore[2]},
      {"spazi e virgole", " a, \"b\" ", 99},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.nome);
    const std::string codificato = Codifica(c.testo, ModoCodifica::Scrivi, c.chiave);
    EXPECT_EQ(codificato.size(), c.testo.size());
    EXPECT_EQ(Codifica(codificato, ModoCodifica::Leggi, c.chiave), c.testo);
  }
}

TEST(Codifica, SpostaOgniCarattereDiChiavePiuPosizione) {
  // 'A' (65) at position 1 with key 12 -> 78 'N'; 'A' at position 2 -> 79 'O'.
  EXPECT_EQ(Codifica("AA", ModoCodifica::Scrivi, 12), "NO");
  EXPECT_EQ(Codifica("NO", ModoCodifica::Leggi, 12), "AA");
  // Printable text never scrambles into a comma, a quote or a blank.
  for (const char c : Codifica(" ,\"", ModoCodifica::Scrivi, kChiaviMarcatore[0]))
    EXPECT_GT(c & 0xFF, ',');
}

TEST(Codifica, UnCodiceOltre255ERifiutato) {
  EXPECT_EQ(Codifica(std::string(1, '\xF2'), ModoCodifica::Scrivi, 12), std::string(1, '\xFF'));
  EXPECT_THROW(Codifica(std::string(1, '\xF3'), ModoCodifica::Scrivi, 12), ErroreCodifica);
  // 't' (116) + 12 + 128 = 256 at position 128.
  EXPECT_THROW(Codifica(std::string(128, 't'), ModoCodifica::Scrivi, 12), ErroreCodifica);
  EXPECT_NO_THROW(Codifica(std::string(127, 't'), ModoCodifica::Scrivi, 12));
  EXPECT_THROW(Codifica("A", ModoCodifica::Leggi, 70), ErroreCodifica);
}

class MarcatoriTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ctx.cartellaProgramma = dir.Percorso() / "prog";
    ctx.interazione = &ui;
  }
  test::CartellaTemporanea dir;
  test::InterazioneRegistrata ui;
  Contesto ctx;
};

TEST_F(MarcatoriTest, FileScrittoERiletto) {
  const auto file = dir / "SYSTEM" / "FSYSVEL.DLL";
  const ContenutoMarcatore scritto{"provider=x;Data Source=/dati/Vela.mdb", "A", "/opt/Città"};
  ScriviFileMarcatore(file, scritto);

  const std::string byte = test::LeggiFile(file);
  EXPECT_EQ(byte.substr(byte.size() - 4), "\r\n\r\n");  // line 4 is empty
  EXPECT_EQ(std::count(byte.begin(), byte.end(), '\n'), 4);
  EXPECT_EQ(byte.find("Vela"), std::string::npos);  // scrambled
  // The folder travels in Windows-1252: "à" is one byte, scrambled at position 10 with key 3.
  const std::size_t riga3 = byte.find('\n', byte.find('\n') + 1) + 1;
  EXPECT_EQ(static_cast<unsigned char>(byte[riga3 + 9]), 0xE0 + kChiaviMarcatore[2] + 10);

  const auto letto = LeggiFileMarcatore(file);
  ASSERT_TRUE(letto);
  EXPECT_EQ(letto->stringaConnessione, scritto.stringaConnessione);
  EXPECT_EQ(letto->tipoDb, "A");
  EXPECT_EQ(letto->cartella, "/opt/Città");
}

TEST_F(MarcatoriTest, ValoreNonRappresentabileLasciaIlFileComEra) {
  const auto file = dir / "SYSTEM" / "FSYSNEV13.DLL";
  ScriviFileMarcatore(file, {"a", "b", "c"});
  const std::string prima = test::LeggiFile(file);
  struct Case {
    std::string_view nome;
    ContenutoMarcatore contenuto;
  } const kCases[] = {
      {"troppo lungo", {"Data Source=/" + std::string(200, 'z'), "", "/p"}},
      {"fuori da Windows-1252", {"Data Source=/dati/Ελλάδα", "", "/p"}},
      {"a capo", {"a", "", "/p\n/q"}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.nome);
    EXPECT_THROW(ScriviFileMarcatore(file, c.contenuto), ErroreCodifica);
    EXPECT_EQ(test::LeggiFile(file), prima);
  }
}

TEST_F(MarcatoriTest, LetturaDiUnFileNonMarcatore) {
  EXPECT_FALSE(LeggiFileMarcatore(dir / "manca.DLL"));
  test::ScriviFile(dir / "corto.DLL", "solo una riga\r\n");
  EXPECT_FALSE(LeggiFileMarcatore(dir / "corto.DLL"));
  test::ScriviFile(dir / "chiaro.DLL", "\x01\r\n\x01\r\n\x01\r\n\r\n");  // not scrambled
  EXPECT_FALSE(LeggiFileMarcatore(dir / "chiaro.DLL"));
}

// Markers that are not what they should be: each is refused with its own reason, at once (a pipe
// is not waited on) and without reading more than a few KiB of a huge file.
TEST_F(MarcatoriTest, MarcatoriOstiliRifiutatiConIlMotivo) {
  const auto buono = dir / "buono.DLL";
  ScriviFileMarcatore(buono, {"Data Source=/dati/vela.db", "A", "/opt/vela"});
  const std::string byteBuono = test::LeggiFile(buono);
  const auto Crea = [&](const std::string& nome, std::string_view byte, off_t dimensione = 0) {
    const auto f = dir / nome;
    test::ScriviFile(f, byte);
    if (dimensione > 0) std::filesystem::resize_file(f, static_cast<std::uintmax_t>(dimensione));
    return f;
  };
  std::filesystem::create_directory(dir / "cartella.DLL");
  ASSERT_EQ(::mkfifo((dir / "fifo.DLL").c_str(), 0600), 0);
  constexpr off_t k100MB = 100 * 1024 * 1024;

  struct Case {
    std::string_view nome;
    std::filesystem::path file;
    bool letto;
    bool mancante;
    std::string motivo;  // after "Il marcatore di collegamento FILE"
  } const kCases[] = {
      {"mancante", dir / "manca.DLL", false, true, ""},
      {"cartella", dir / "cartella.DLL", false, false, " è una cartella, non un file."},
      {"pipe", dir / "fifo.DLL", false, false,
       " non è un file ordinario (è una pipe, un socket o un dispositivo)."},
      {"una riga sola", Crea("corto.DLL", "solo una riga\r\n"), false, false,
       " è incompleto: ha meno delle tre righe di un marcatore."},
      {"non codificato", Crea("chiaro.DLL", "\x01\r\n\x01\r\n\x01\r\n\r\n"), false, false,
       " non è leggibile: non è stato scritto da un programma collegato oppure è danneggiato."},
      {"prima riga di 100 MB", Crea("enorme.DLL", "", k100MB), false, false,
       " non è valido: una riga supera 4096 byte, mentre un marcatore ha righe di poche decine "
       "di caratteri."},
      {"terza riga di 4097 byte", Crea("lunga.DLL", "a\r\nb\r\n" + std::string(4097, 'c')), false,
       false,
       " non è valido: una riga supera 4096 byte, mentre un marcatore ha righe di poche decine "
       "di caratteri."},
      {"marcatore seguito da 100 MB", Crea("coda.DLL", byteBuono, k100MB), true, false, ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.nome);
    const LetturaMarcatore l = LeggiMarcatore(c.file);
    EXPECT_EQ(l.contenuto.has_value(), c.letto);
    EXPECT_EQ(l.mancante, c.mancante);
    EXPECT_EQ(l.motivo,
              c.motivo.empty() ? "" : "Il marcatore di collegamento " + c.file.string() + c.motivo);
  }
  EXPECT_EQ(LeggiMarcatore(dir / "coda.DLL").contenuto->cartella, "/opt/vela");
}

// A character above 127 fits the scrambling only near the start of a line: the message names the
// character, not the length of a text that may be short.
TEST_F(MarcatoriTest, CarattereNonCodificabileNominato) {
  ctx.configurazione.pcDirF = (dir / "m").string();
  ctx.cartellaProgramma = "/dati/Studio Rossi €";
  ctx.stringaConnessione =
      "provider=Microsoft.Jet.OLEDB.4.0;Data Source=/dati/Studio Rossi €/DataBase/FCL2013.mdb";
  ctx.stringaConnessione.insert(46, std::string(52, 'X'));  // "€" at position 117
  EXPECT_FALSE(ScriviMarcatore(ctx));
  ASSERT_EQ(ui.Testi("avviso").size(), 1u);
  const std::string avviso = ui.Testi("avviso")[0];
  EXPECT_NE(avviso.find("Il carattere \"€\" in posizione 117 non si può codificare nel marcatore "
                        "di collegamento: vi può stare solo nelle prime 115 posizioni del testo."),
            std::string::npos)
      << avviso;
  EXPECT_EQ(avviso.find("troppo lungo"), std::string::npos);

  try {
    Codifica("abcdefghijklmnopqrs\xE0", ModoCodifica::Scrivi, 12);
    ADD_FAILURE();
  } catch (const ErroreCodifica& e) {
    EXPECT_STREQ(e.what(),
                 "Il carattere \"à\" in posizione 20 non si può codificare nel marcatore di "
                 "collegamento: vi può stare solo nelle prime 19 posizioni del testo.");
  }
  try {
    Codifica("\xFF", ModoCodifica::Scrivi, 12);
    ADD_FAILURE();
  } catch (const ErroreCodifica& e) {
    EXPECT_NE(std::string(e.what()).find("non vi può stare in nessuna posizione"),
              std::string::npos);
  }
}

TEST_F(MarcatoriTest, CartellaMarcatori) {
  ctx.configurazione.pcDirF = ctx.cartellaProgramma.string();
  EXPECT_EQ(CartellaMarcatori(ctx), ctx.cartellaProgramma);
  EXPECT_TRUE(std::filesystem::is_directory(ctx.cartellaProgramma / "SYSTEM"));
  EXPECT_TRUE(std::filesystem::is_directory(ctx.cartellaProgramma / "SYSTEM32"));

  ctx.configurazione.pcDirF = "pgm";  // a folder name, taken from the program folder
  EXPECT_EQ(CartellaMarcatori(ctx), ctx.cartellaProgramma / "pgm");
  EXPECT_TRUE(std::filesystem::is_directory(ctx.cartellaProgramma / "pgm" / "SYSTEM"));

  ctx.configurazione.pcDirF.clear();
  ::setenv("XDG_DATA_HOME", (dir / "xdg").c_str(), 1);
  EXPECT_EQ(CartellaMarcatori(ctx), dir / "xdg");
  ::unsetenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  const std::string casa = home ? home : "";
  ::setenv("HOME", (dir / "casa").c_str(), 1);
  EXPECT_EQ(CartellaMarcatori(ctx), dir / "casa" / ".local" / "share");
  ::setenv("HOME", casa.c_str(), 1);
}

TEST_F(MarcatoriTest, ScriviMarcatoreTroppoLungoAvvisaESiProsegue) {
  ctx.configurazione.pcDirF = (dir / "m").string();
  ctx.stringaConnessione = "provider=Microsoft.Jet.OLEDB.4.0;Data Source=/" + std::string(150, 'x');
  EXPECT_FALSE(ScriviMarcatore(ctx));
  EXPECT_FALSE(std::filesystem::exists(dir / "m" / "SYSTEM" / "FSYSNEV13.DLL"));
  ASSERT_EQ(ui.Testi("avviso").size(), 1u);
  EXPECT_NE(ui.Testi("avviso")[0].find("FSYSNEV13.DLL non è stato scritto"), std::string::npos);
}

TEST(ArchivioCollegato, DataSource) {
  struct Case {
    std::string_view stringa;
    std::string atteso;
  } const kCases[] = {
      {"provider=Microsoft.Jet.OLEDB.4.0;Data Source=/a/FCL2013.mdb", "/a/FCL2013.mdb"},
      {"DATA SOURCE=/b/x.mdb;Persist Security Info=False", "/b/x.mdb"},
      {"data source= \"/c/d e.mdb\" ;", "/c/d e.mdb"},
      {"provider=x", ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.stringa);
    EXPECT_EQ(DataSource(c.stringa).string(), c.atteso);
  }
}

}  // namespace
}  // namespace fcl
