// Progress of the command line on stderr: only on a terminal, repainted on the same line now and
// then, the line wiped at the end of a step and ended before any message.

#include "InterazioneCli.h"

#include <gtest/gtest.h>

#include <sstream>

namespace fcl {
namespace {

// The painted lines, one per repaint, without the control characters.
std::vector<std::string> Disegni(const std::string& s) {
  std::vector<std::string> righe;
  std::string r;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s.compare(i, 3, "\x1b[K") == 0) {
      righe.push_back(r);
      r.clear();
      i += 2;
    } else if (s[i] != '\r') {
      r += s[i];
    }
  }
  if (!r.empty()) righe.push_back(r);
  return righe;
}

TEST(InterazioneCli, AvanzamentoSoloSuTerminale) {
  std::ostringstream err;
  InterazioneCli cli(err, false);
  for (long long r = 4; r < 5000; ++r) cli.Avanzamento("Foglio FE", r, 0);
  cli.Avviso("fine");
  EXPECT_EQ(err.str(), "fine\n");
}

TEST(InterazioneCli, RigheLetteEFlussiImportati) {
  std::ostringstream err;
  InterazioneCli cli(err, true);
  // The run: rows of a sheet, then of the next one.
  for (long long r = 4; r <= 2500; ++r) cli.Avanzamento("Foglio FE", r, 0);
  cli.Avanzamento("Foglio FR", 4, 0);
  cli.Avanzamento("Foglio FR", 5, 0);
  // The cover: streams of a template imported, out of a known total, then the step ends.
  for (long long f = 1; f <= 300; ++f) cli.Avanzamento("Frontespizio", f, 300);
  cli.Avanzamento("", 0, 0);
  cli.Messaggio("Comunicazione creata", "", Icona::Informazione);

  const std::string s = err.str();
  const auto d = Disegni(s.substr(0, s.rfind("\r\x1b[K") + 4));
  ASSERT_GE(d.size(), 6u);
  EXPECT_EQ(d[0], "Foglio FE 4");
  EXPECT_EQ(d[1], "Foglio FE 1004");
  EXPECT_EQ(d[2], "Foglio FE 2004");
  EXPECT_EQ(d[3], "Foglio FR 4");
  EXPECT_EQ(d[4], "Frontespizio 1/300");
  // The first value, every percent of a known total after it, and the last value.
  EXPECT_EQ(std::count_if(d.begin(), d.end(),
                          [](const std::string& x) { return x.starts_with("Frontespizio"); }),
            101);
  EXPECT_EQ(d[d.size() - 2], "Frontespizio 300/300");
  EXPECT_EQ(d.back(), "");  // the wiped line
  // The message starts on a clean line of its own.
  EXPECT_TRUE(s.ends_with("\r\x1b[KComunicazione creata\n")) << s;
}

// While a listing is written, the line also says how many pages it has so far.
TEST(InterazioneCli, PagineDelListato) {
  std::ostringstream err;
  InterazioneCli cli(err, true);
  long pagine = 0;
  {
    const InterazioneCli::PagineInVista vista(cli, [&pagine] { return pagine; });
    for (long long r = 4; r <= 2004; ++r) {
      if ((r - 4) % 29 == 0) ++pagine;
      cli.Avanzamento("Foglio FE", r, 0);
    }
  }
  cli.Avanzamento("Frontespizio", 1, 2);
  const auto d = Disegni(err.str());
  EXPECT_EQ(d, (std::vector<std::string>{"Foglio FE 4 - pagine 1", "Foglio FE 1004 - pagine 35",
                                         "Foglio FE 2004 - pagine 69", "Frontespizio 1/2"}));
}

}  // namespace
}  // namespace fcl
