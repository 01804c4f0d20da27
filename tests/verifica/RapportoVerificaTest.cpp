#include "verifica/RapportoVerifica.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "CartellaTemporanea.h"
#include "FileProva.h"
#include "common/Errori.h"

namespace fcl {
namespace {

using test::CartellaTemporanea;
using test::Dx;
using test::FileProva;
using test::LeggiFile;
using test::ScriviFile;
using test::Sx;

EsitoVerifica Verifica(const FileProva& f, std::size_t limite = kLimiteRilievi) {
  std::istringstream in(f.Testo());
  return VerificaComunicazione(in, limite);
}

TEST(RapportoVerifica, RigheDeiRilievi) {
  FileProva f = FileProva::Analitico();
  f.Valore("FE002002", Sx("RCCMNL83S18D969X"));
  f.Metti('B', 130, "02342520159");
  f.Record('Z').pop_back();
  const EsitoVerifica esito = Verifica(f);
  ASSERT_EQ(esito.rilievi.size(), 3u);
  EXPECT_EQ(RigaRilievo(esito.rilievi[0]),
            "ERRORE record 2 (B), campo B27 Partita IVA del contribuente, posizione 130: "
            "Partita IVA «02342520159» errata: la cifra di controllo dovrebbe essere 8");
  EXPECT_EQ(RigaRilievo(esito.rilievi[1]),
            "ERRORE record 3 (D, modulo 1), quadro FE riga 2 (rigo 2 del modulo), campo FE002002 "
            "Codice fiscale della controparte, posizione 234: Codice fiscale «RCCMNL83S18D969X» "
            "errato: il carattere di controllo dovrebbe essere H");
  EXPECT_EQ(RigaRilievo(esito.rilievi[2]),
            "ERRORE record 12 (Z): Record di 1897 caratteri: ogni record ha 1898 caratteri "
            "seguiti da CR LF");
}

TEST(RapportoVerifica, Riepilogo) {
  EXPECT_EQ(RiepilogoVerifica(0, 0), "0 errori, 0 avvertimenti");
  EXPECT_EQ(RiepilogoVerifica(1, 1), "1 errore, 1 avvertimento");
  EXPECT_EQ(RiepilogoVerifica(12, 3), "12 errori, 3 avvertimenti");
}

TEST(RapportoVerifica, TestoPerUnFileCorretto) {
  EXPECT_EQ(TestoRapportoVerifica(Verifica(FileProva::Analitico()), "/tmp/COMUNICAZIONE.TXT"),
            "Verifica del file COMUNICAZIONE.TXT (12 record)\n"
            "Nessun rilievo: il file rispetta il tracciato pubblicato.\n"
            "0 errori, 0 avvertimenti\n");
}

// A long file keeps only the first findings of its detail records, but always those of records
// A, B, E, Z and of the file as a whole; the counts cover everything.
TEST(RapportoVerifica, LimiteDeiRilieviConservati) {
  FileProva f = FileProva::Analitico();
  for (int n = 0; n < 8; ++n) FileProva::Metti(f.Record('D', n), 74, test::kPi1);  // 8 warnings
  f.Metti('B', 141, "      ");  // an error on record B
  f.Metti('B', 118, "1");       // an error on record B found at the end
  f.record.pop_back();          // the file without record Z
  const EsitoVerifica esito = Verifica(f, 3);
  EXPECT_EQ(esito.errori, 3);
  EXPECT_EQ(esito.avvertimenti, 8);
  EXPECT_EQ(esito.nonConservati, 5);
  ASSERT_EQ(esito.rilievi.size(), 6u);
  EXPECT_EQ(esito.rilievi[0].campo, "B28");
  EXPECT_EQ(esito.rilievi[1].campo, "B15");
  EXPECT_EQ(esito.rilievi[2].record, 3);
  EXPECT_EQ(esito.rilievi[4].record, 5);
  EXPECT_EQ(esito.rilievi[5].regola, Regola::RecordMancante);
  const std::string testo = TestoRapportoVerifica(esito, "X.TXT");
  EXPECT_NE(testo.find("\n... e altri 5 rilievi non elencati\n3 errori, 8 avvertimenti\n"),
            std::string::npos)
      << testo;

  const EsitoVerifica tutti = Verifica(f, 0);
  EXPECT_EQ(tutti.rilievi.size(), 11u);
  EXPECT_EQ(tutti.nonConservati, 0);
}

TEST(RapportoVerifica, ScrittoAccantoAlFile) {
  CartellaTemporanea dir;
  FileProva f = FileProva::Analitico();
  f.Valore("FE001009", Sx("N\xB0 1"));
  const auto comunicazione = dir / "ROSSI_2013.TXT";
  ScriviFile(comunicazione, f.Testo());
  ScriviFile(dir / "ROSSI_2013_VERIFICA.TXT", "vecchio");
  const EsitoVerifica esito = VerificaComunicazione(comunicazione);
  EXPECT_EQ(PercorsoRapportoVerifica(comunicazione), dir / "ROSSI_2013_VERIFICA.TXT");
  EXPECT_EQ(ScriviRapportoVerifica(esito, comunicazione), dir / "ROSSI_2013_VERIFICA.TXT");
  const std::string byte = LeggiFile(dir / "ROSSI_2013_VERIFICA.TXT");
  // Windows-1252 and CR LF, like every file the system writes for the user.
  EXPECT_EQ(byte,
            "Verifica del file ROSSI_2013.TXT (12 record)\r\n"
            "AVVERTIMENTO record 3 (D, modulo 1), quadro FE riga 1 (rigo 1 del modulo), campo "
            "FE001009 Numero del documento, posizione 162: Testo \xABN\xB0 1\xBB con lettere "
            "accentate o simboli che il controllo dell'Agenzia potrebbe non accettare\r\n"
            "0 errori, 1 avvertimento\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Percorso()), {}), 2);
}

// The report cannot be written (its folder is gone): an ErroreFile, and nothing left behind.
TEST(RapportoVerifica, CartellaNonScrivibile) {
  CartellaTemporanea dir;
  const auto comunicazione = dir / "C.TXT";
  ScriviFile(comunicazione, FileProva::Analitico().Testo());
  const EsitoVerifica esito = VerificaComunicazione(comunicazione);
  EXPECT_THROW(ScriviRapportoVerifica(esito, dir / "SPARITA" / "C.TXT"), ErroreFile);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Percorso()), {}), 1);
}

TEST(VerificaComunicazione, FileIlleggibile) {
  CartellaTemporanea dir;
  for (const auto& percorso : {dir / "MANCANTE.TXT", dir.Percorso()}) {
    SCOPED_TRACE(percorso.string());
    try {
      VerificaComunicazione(percorso);
      ADD_FAILURE() << "nessuna eccezione";
    } catch (const ErroreFile& e) {
      EXPECT_EQ(std::string(e.what()),
                "Il file " + percorso.string() + " non esiste o non è un file leggibile");
    }
  }
}

}  // namespace
}  // namespace fcl
