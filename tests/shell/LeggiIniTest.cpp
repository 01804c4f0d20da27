#include "shell/LeggiIni.h"

#include <gtest/gtest.h>

#include "CartellaTemporanea.h"

namespace fcl {
namespace {

class LeggiIniTest : public ::testing::Test {
 protected:
  std::filesystem::path Ini(std::string_view testo) {
    const auto f = dir_ / "configurazione.ini";
    test::ScriviFile(f, testo);
    return f;
  }
  test::CartellaTemporanea dir_;
};

TEST_F(LeggiIniTest, ValoriComeLiVedeIlProgramma) {
  const std::string lungo(200, 'x');
  struct Case {
    std::string_view nome;
    std::string ini;
    std::string_view sezione, chiave;
    std::string atteso;
  } const kCases[] = {
      {"semplice", "[opzioni]\nTipoDb=A\n", "opzioni", "TipoDb", "A"},
      {"nomi senza maiuscole", "[OPZIONI]\ntipodb = B \n", "opzioni", "TipoDb", "B"},
      {"sezione mancante", "[altro]\nTipoDb=A\n", "opzioni", "TipoDb", ""},
      {"chiave mancante", "[opzioni]\nPC=1\n", "opzioni", "TipoDb", ""},
      {"file vuoto", "", "opzioni", "TipoDb", ""},
      {"taglio a 127", "[connessione]\nlog=" + lungo + "\n", "connessione", "log",
       std::string(127, 'x')},
      {"virgolette tolte", "[opzioni]\nPCDirF=\"/dati/con spazio\"\n", "opzioni", "PCDirF",
       "/dati/con spazio"},
      {"prima occorrenza", "[opzioni]\nPC=1\nPC=2\n", "opzioni", "PC", "1"},
      {"riga rientrata non continua la precedente", "[opzioni]\nPC=1\n  debug=S\n", "opzioni",
       "debug", "S"},
      {"riga rientrata non altera la precedente", "[opzioni]\nPC=1\n  debug=S\n", "opzioni", "PC",
       "1"},
      {"CR LF", "[opzioni]\r\nPC=7\r\n", "opzioni", "PC", "7"},
      {"Windows-1252", "[opzioni]\nServer_Nome=Citt\xE0\n", "opzioni", "Server_Nome", "Città"},
      {"UTF-8", "[opzioni]\nServer_Nome=Città\n", "opzioni", "Server_Nome", "Città"},
      // A line longer than the parser's buffer: its tail is not read as a line of its own.
      {"coda di riga lunga ignorata", "[opzioni]\nPC=" + std::string(196, 'y') + "TipoDb=X\n",
       "opzioni", "TipoDb", ""},
      {"riga lunga tagliata a 127", "[opzioni]\nPC=" + std::string(196, 'y') + "TipoDb=X\n",
       "opzioni", "PC", std::string(127, 'y')},
      {"taglio a 127 caratteri, non byte", "[opzioni]\nPCDirF=" + std::string(126, 'a') + "èzzz\n",
       "opzioni", "PCDirF", std::string(126, 'a') + "è"},
      // A ";" inside a line is part of the value, as the reader our users know keeps it; only
      // a line that begins with ";" or "#" is a comment.
      {"punto e virgola dopo uno spazio", "[opzioni]\nPCDirF=/dati ;vecchi\n", "opzioni", "PCDirF",
       "/dati ;vecchi"},
      {"punto e virgola dopo un tab", "[opzioni]\nPC=1\t;x \r\n", "opzioni", "PC", "1\t;x"},
      {"commento in coda tenuto", "[opzioni]\nTipoDb = A ; tipo\n", "opzioni", "TipoDb",
       "A ; tipo"},
      {"solo il punto e virgola", "[opzioni]\nPC= ;\n", "opzioni", "PC", ";"},
      {"due punti come separatore", "[opzioni]\nPC: 5 ; x\n", "opzioni", "PC", "5 ; x"},
      {"uguale nel valore", "[opzioni]\nPC=a ;b=c\n", "opzioni", "PC", "a ;b=c"},
      {"riga di commento", "[opzioni]\n; PC=9\n# PC=8\nPC=1\n", "opzioni", "PC", "1"},
      {"commento dopo la sezione", "[opzioni] ; le opzioni\nPC=3\n", "opzioni", "PC", "3"},
      {"chiave con punto e virgola", "[opzioni]\nPC ;x=1\n", "opzioni", "PC", ""},
      {"byte zero chiude la riga", std::string("[opzioni]\nPC=ab\0cd\n", 19), "opzioni", "PC",
       "ab"},
      {"taglio a 127 con punto e virgola",
       "[opzioni]\nPCDirF=" + std::string(120, 'p') + " ;" + std::string(20, 'q') + "\n", "opzioni",
       "PCDirF", std::string(120, 'p') + " ;" + std::string(5, 'q')},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.nome);
    EXPECT_EQ(LeggiIni(Ini(c.ini), c.sezione, c.chiave), c.atteso);
  }
  EXPECT_EQ(LeggiIni(dir_ / "manca.ini", "opzioni", "PC"), "");
}

TEST_F(LeggiIniTest, ConfigurazioneConLeLunghezzeTenute) {
  const std::string lungo(140, 'd');
  const auto f =
      Ini("[connessione]\nlog=S\n[opzioni]\nPC=ABC\nTipoDb=Access\ndebug=SI\n"
          "Server_Utente=utente-lungo\nServer_Password=0123456789ABC\n"
          "Server_Nome=nome-del-server-molto-lungo\nPCDirF=/" +
          lungo + "\n");
  const Configurazione c = LeggiConfigurazione(f, "/prog");
  EXPECT_EQ(c.log, "S");
  EXPECT_EQ(c.pc, "A");
  EXPECT_EQ(c.tipoDb, "A");
  EXPECT_EQ(c.debug, "S");
  EXPECT_EQ(c.serverUtente, "utente-lun");
  EXPECT_EQ(c.serverPassword, "0123456789");
  EXPECT_EQ(c.serverNome, "nome-del-server-molt");
  EXPECT_EQ(c.pcDirF, "/" + std::string(126, 'd'));
}

TEST_F(LeggiIniTest, LaConnessioneAlServerSenzaLimiteDiLunghezza) {
  // Longer than the parser's line buffer: read whole, an ";" inside it included.
  const std::string connessione =
      "host=server-dello-studio.esempio.it port=5433 dbname=fiscolario user=studio "
      "sslmode=verify-full sslrootcert=/etc/ssl/certs/studio-ca.pem application_name=fiscolario "
      "options='-c search_path=fiscolario ;-c statement_timeout=60000' target_session_attrs=any "
      "keepalives_idle=30";
  ASSERT_GT(connessione.size(), 250u);
  const auto f = Ini("[opzioni]\nServer_Connessione = " + connessione + "\nTipoDb=P\n");
  const Configurazione c = LeggiConfigurazione(f, "/prog");
  EXPECT_EQ(c.serverConnessione, connessione);
  EXPECT_EQ(c.tipoDb, "P");
}

TEST_F(LeggiIniTest, PCDirF) {
  struct Case {
    std::string_view nome;
    std::string valore;
    std::string atteso;
  } const kCases[] = {
      {"PGM tra spazi", "PCDirF=   PGM   ", "/prog"},
      {"pgm minuscolo e' una cartella", "PCDirF=pgm", "pgm"},
      {"cartella rifilata", "PCDirF=  /srv/marcatori  ", "/srv/marcatori"},
      {"vuoto", "PCDirF=", ""},
      {"mancante", "PC=1", ""},
      {"PGM con un commento è una cartella", "PCDirF=PGM ; la cartella del programma",
       "PGM ; la cartella del programma"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.nome);
    EXPECT_EQ(LeggiConfigurazione(Ini("[opzioni]\n" + c.valore + "\n"), "/prog").pcDirF, c.atteso);
  }
  EXPECT_EQ(LeggiConfigurazione(dir_ / "manca.ini", "/prog").pcDirF, "");
}

}  // namespace
}  // namespace fcl
