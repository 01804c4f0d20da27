#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "CartellaTemporanea.h"
#include "Comandi.h"
#include "FileProva.h"

namespace fcl {
namespace {

using test::CartellaTemporanea;
using test::FileProva;
using test::ScriviFile;

struct Uscita {
  int codice;
  std::string out;
  std::string err;
};

Uscita Esegui(const CartellaTemporanea& dir, std::vector<std::string> argomenti) {
  // The program folder given does not exist: the check must not need it (nor a database).
  argomenti.insert(argomenti.begin(),
                   {"fiscolario-cli", "--cartella", (dir / "PROGRAMMA").string()});
  std::vector<const char*> argv;
  for (const auto& a : argomenti) argv.push_back(a.c_str());
  std::ostringstream out, err;
  const int codice =
      EseguiCli(static_cast<int>(argv.size()), argv.data(), out, err, dir.Percorso());
  return {codice, out.str(), err.str()};
}

TEST(ComandoVerifica, CodiceDiUscitaEStampa) {
  CartellaTemporanea dir;
  FileProva avviso = FileProva::Analitico();
  avviso.Valore("FE001009", test::Sx("1/a"));
  FileProva errore = FileProva::Analitico();
  errore.Valore("FE001001", test::Sx("01234560018"));
  ScriviFile(dir / "PULITO.TXT", FileProva::Analitico().Testo());
  ScriviFile(dir / "AVVISO.TXT", avviso.Testo());
  ScriviFile(dir / "ERRORE.TXT", errore.Testo());
  const std::string mancante = (dir / "MANCANTE.TXT").string();

  struct Caso {
    std::string_view nome;
    std::vector<std::string> argomenti;
    int codice;
    std::string finaleOut;  // the end of stdout
    std::string err;
  } const kCasi[] = {
      {"file corretto",
       {"verifica", (dir / "PULITO.TXT").string()},
       0,
       "0 errori, 0 avvertimenti\n",
       ""},
      {"solo un avvertimento",
       {"verifica", (dir / "AVVISO.TXT").string()},
       0,
       "con lettere minuscole: va scritto in maiuscolo\n0 errori, 1 avvertimento\n",
       ""},
      {"un errore",
       {"verifica", (dir / "ERRORE.TXT").string()},
       1,
       "la cifra di controllo dovrebbe essere 7\n1 errore, 0 avvertimenti\n",
       ""},
      {"file mancante",
       {"verifica", mancante},
       1,
       "",
       "Il file " + mancante + " non esiste o non è un file leggibile\n"},
      {"senza file", {"verifica"}, 2, "", ""},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.nome);
    const Uscita u = Esegui(dir, c.argomenti);
    EXPECT_EQ(u.codice, c.codice);
    ASSERT_GE(u.out.size(), c.finaleOut.size()) << u.out;
    EXPECT_EQ(u.out.substr(u.out.size() - c.finaleOut.size()), c.finaleOut) << u.out;
    if (c.codice != 2) {
      EXPECT_EQ(u.err, c.err);
    }
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "PROGRAMMA"));
}

TEST(ComandoVerifica, RapportoAccantoAlFile) {
  CartellaTemporanea dir;
  FileProva errore = FileProva::Analitico();
  errore.Valore("FE001001", test::Sx("01234560018"));
  ScriviFile(dir / "ERRORE.TXT", errore.Testo());
  const Uscita u = Esegui(dir, {"verifica", "--rapporto", (dir / "ERRORE.TXT").string()});
  EXPECT_EQ(u.codice, 1);
  EXPECT_NE(u.out.find("Rapporto: " + (dir / "ERRORE_VERIFICA.TXT").string() + "\n"),
            std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(dir / "ERRORE_VERIFICA.TXT"));
}

}  // namespace
}  // namespace fcl
