#include "common/ScritturaAtomica.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <set>

#include "CartellaTemporanea.h"
#include "common/Errori.h"

namespace fcl {
namespace {

using test::CartellaTemporanea;
using test::LeggiFile;
using test::ScriviFile;

// A lasting file and a scratch one (not forced to the disk) alike: the destination changes only
// at the confirmation, with every byte, also those written after Prepara.
constexpr ScritturaAtomica::Durata kDurate[] = {ScritturaAtomica::Durata::Permanente,
                                                ScritturaAtomica::Durata::Provvisoria};

TEST(ScritturaAtomica, SostituisceSoloAllaConferma) {
  for (const auto durata : kDurate) {
    SCOPED_TRACE(static_cast<int>(durata));
    CartellaTemporanea dir;
    const auto f = dir / "out.txt";
    ScriviFile(f, "vecchio");
    {
      ScritturaAtomica w(f, durata);
      w.Scrivi("nu");
      w.Prepara();
      w.Scrivi("ovo");
      EXPECT_EQ(LeggiFile(f), "vecchio");
      w.Conferma();
    }
    EXPECT_EQ(LeggiFile(f), "nuovo");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Percorso()), {}), 1);
  }
}

TEST(ScritturaAtomica, SenzaConfermaNonLasciaNulla) {
  for (const auto durata : kDurate) {
    SCOPED_TRACE(static_cast<int>(durata));
    CartellaTemporanea dir;
    const auto f = dir / "out.txt";
    ScriviFile(f, "vecchio");
    {
      ScritturaAtomica w(f, durata);
      w.Scrivi("parziale");
      w.Prepara();
    }
    EXPECT_EQ(LeggiFile(f), "vecchio");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Percorso()), {}), 1);
  }
}

TEST(ScritturaAtomica, CartellaNonScrivibile) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes everywhere";
  CartellaTemporanea dir;
  std::filesystem::permissions(
      dir.Percorso(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  EXPECT_THROW(ScritturaAtomica(dir / "x.txt"), ErroreFile);
}

std::set<std::string> Nomi(const std::filesystem::path& cartella) {
  std::set<std::string> nomi;
  for (const auto& e : std::filesystem::directory_iterator(cartella))
    nomi.insert(e.path().filename().string());
  return nomi;
}

void Invecchia(const std::filesystem::path& file) {
  std::filesystem::last_write_time(
      file, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
}

// A writer killed in the middle leaves its temporary file: the next start removes it, while the
// temporary file of a writer still at work, however old, and every other file stay.
TEST(ScritturaAtomica, TemporaneiAbbandonatiRimossi) {
  CartellaTemporanea dir;
  int tubo[2];
  ASSERT_EQ(::pipe(tubo), 0);
  const pid_t figlio = ::fork();
  ASSERT_GE(figlio, 0);
  if (figlio == 0) {
    ScritturaAtomica w(dir / "FCLtemp.TXT");
    w.Scrivi(std::string(1000, 'x'));
    w.Prepara();
    (void)!::write(tubo[1], "S", 1);
    ::pause();
    ::_exit(0);
  }
  char c = 0;
  ASSERT_EQ(::read(tubo[0], &c, 1), 1);
  ::kill(figlio, SIGKILL);
  ::waitpid(figlio, nullptr, 0);
  ::close(tubo[0]);
  ::close(tubo[1]);
  ASSERT_EQ(Nomi(dir.Percorso()).size(), 1u);
  const std::string ucciso = *Nomi(dir.Percorso()).begin();
  EXPECT_TRUE(ucciso.starts_with(".FCLtemp.TXT.fcl")) << ucciso;
  EXPECT_EQ(ucciso.size(),
            std::string("FCLtemp.TXT").size() + ScritturaAtomica::kAggiuntaNomeTemporaneo);

  ScritturaAtomica vivo(dir / "listato.PDF");
  vivo.Scrivi("in corso");
  const std::string inCorso = vivo.Temporaneo().filename().string();
  ScriviFile(dir / ".giovane.PDF.fclAbC123", "appena creato, non ancora bloccato");
  ScriviFile(dir / ".vecchio.PDF.Xy12Zq", "di una versione senza blocco");
  ScriviFile(dir / ".altro.fclAbC12", "non è un nome temporaneo");
  ScriviFile(dir / "dati.TXT.fclAbC123", "non è nascosto");
  for (const auto& n : {ucciso, inCorso, std::string(".vecchio.PDF.Xy12Zq"),
                        std::string(".altro.fclAbC12"), std::string("dati.TXT.fclAbC123")})
    Invecchia(dir / n);

  EXPECT_EQ(ScritturaAtomica::RimuoviAbbandonati(dir.Percorso()), 1);
  EXPECT_EQ(Nomi(dir.Percorso()),
            (std::set<std::string>{inCorso, ".giovane.PDF.fclAbC123", ".vecchio.PDF.Xy12Zq",
                                   ".altro.fclAbC12", "dati.TXT.fclAbC123"}));
  // In the program's own folders the names of the versions without a lock go too.
  EXPECT_EQ(ScritturaAtomica::RimuoviAbbandonati(dir.Percorso(), true), 1);
  EXPECT_FALSE(Nomi(dir.Percorso()).contains(".vecchio.PDF.Xy12Zq"));
  EXPECT_TRUE(Nomi(dir.Percorso()).contains(inCorso));

  vivo.Conferma();
  EXPECT_EQ(LeggiFile(dir / "listato.PDF"), "in corso");
  EXPECT_EQ(ScritturaAtomica::RimuoviAbbandonati(dir / "manca"), 0);
}

// The temporary name is 11 bytes longer than the file's: the longest name is checked before a
// run starts instead of failing when the file is created.
TEST(ScritturaAtomica, NomeTroppoLungo) {
  CartellaTemporanea dir;
  const std::size_t massimo = 255 - ScritturaAtomica::kAggiuntaNomeTemporaneo;
  EXPECT_EQ(ScritturaAtomica::ControllaNome(dir / std::string(massimo, 'a')), std::nullopt);
  ScritturaAtomica(dir / std::string(massimo, 'a')).Conferma();

  const auto lungo = dir / std::string(massimo + 1, 'a');
  const auto messaggio = ScritturaAtomica::ControllaNome(lungo);
  ASSERT_TRUE(messaggio.has_value());
  EXPECT_EQ(*messaggio, "Impossibile scrivere il file " + lungo.string() +
                            ": nome troppo lungo (245 byte; il disco consente nomi di al massimo "
                            "255 byte, e il programma scrive ogni file prima con un nome "
                            "temporaneo più lungo di 11 byte: il nome può avere al massimo 244 "
                            "byte). Scegliere un nome più corto di almeno 1 byte.");
  // A folder still to be made is judged by the volume of the nearest one that exists.
  EXPECT_TRUE(ScritturaAtomica::ControllaNome(dir / "nuova" / std::string(300, 'b')));
  // A path past the system's limit.
  std::filesystem::path profondo = dir.Percorso();
  for (int i = 0; i < 25; ++i) profondo /= std::string(200, 'c');
  const auto percorso = ScritturaAtomica::ControllaNome(profondo / "x.PDF");
  ASSERT_TRUE(percorso.has_value());
  EXPECT_NE(percorso->find("percorso troppo lungo"), std::string::npos);
}

}  // namespace
}  // namespace fcl
