#include "common/BloccoFile.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "CartellaTemporanea.h"

namespace fcl {
namespace {

using test::CartellaTemporanea;

TEST(BloccoFile, UnaSolaEsecuzionePerFile) {
  CartellaTemporanea dir;
  const auto intermedio = dir / "FCLtemp.TXT";
  auto primo = BloccoFile::Prova(intermedio);
  ASSERT_NE(primo, nullptr);
  EXPECT_EQ(primo->File(), intermedio);
  // Another open of the lock file, as another run's, is refused at once.
  EXPECT_EQ(BloccoFile::Prova(intermedio), nullptr);
  // Another spelling of the same file is the same lock.
  EXPECT_EQ(BloccoFile::Prova(dir / "." / ".." / dir.Percorso().filename() / "FCLtemp.TXT"),
            nullptr);
  // A run with its own intermediate file is not held up.
  EXPECT_NE(BloccoFile::Prova(dir / "FCLtemp-2.TXT"), nullptr);
  // Nothing is left beside the working file.
  EXPECT_TRUE(std::filesystem::is_empty(dir.Percorso()));
  primo.reset();
  EXPECT_NE(BloccoFile::Prova(intermedio), nullptr);
}

TEST(BloccoFile, UnProcessoUccisoLasciaLiberoIlFile) {
  CartellaTemporanea dir;
  const auto intermedio = dir / "FCLtemp.TXT";
  int tubo[2];
  ASSERT_EQ(::pipe(tubo), 0);
  const pid_t figlio = ::fork();
  ASSERT_GE(figlio, 0);
  if (figlio == 0) {
    auto blocco = BloccoFile::Prova(intermedio);
    const char c = blocco ? 'S' : 'N';
    (void)!::write(tubo[1], &c, 1);
    ::pause();
    ::_exit(0);
  }
  char c = 0;
  ASSERT_EQ(::read(tubo[0], &c, 1), 1);
  EXPECT_EQ(c, 'S');
  EXPECT_EQ(BloccoFile::Prova(intermedio), nullptr);
  ::kill(figlio, SIGKILL);
  ::waitpid(figlio, nullptr, 0);
  ::close(tubo[0]);
  ::close(tubo[1]);
  EXPECT_NE(BloccoFile::Prova(intermedio), nullptr);
}

}  // namespace
}  // namespace fcl
