// The inputs that once broke the configuration reader under the fuzzer (fuzz/), kept in
// data/regressioni/ini and read again: every value comes back as well-formed UTF-8. And the
// UTF-8 check behind it: an overlong form or a surrogate is no UTF-8, and never converts to the
// character it imitates.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "CartellaTemporanea.h"
#include "common/Cp1252.h"
#include "shell/LeggiIni.h"

namespace fcl {
namespace {

namespace fs = std::filesystem;

TEST(RegressioniFuzz, Utf8BenFormato) {
  struct Caso {
    const char* testo;
    bool valido;
    const char* cp1252;  // Utf8ToCp1252 of the text
  } const kCasi[] = {
      {"caff\xC3\xA8", true, "caff\xE8"},
      {"\xE2\x82\xAC", true, "\x80"},
      {"\xF0\x9F\x98\x80", true, "?"},
      {"A\xC0\xAF" "B", false, "A?B"},          // "/" written in two bytes
      {"A\xE0\x80\xAF" "B", false, "A?B"},      // "/" written in three bytes
      {"A\xF0\x80\x80\xAF" "B", false, "A?B"},  // "/" written in four bytes
      {"\xED\xA0\x80", false, "?"},             // a surrogate
      {"\xF4\x90\x80\x80", false, "?"},         // beyond U+10FFFF
      {"\xC3", false, "?"},                     // cut short
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.testo);
    EXPECT_EQ(Utf8Valido(c.testo), c.valido);
    EXPECT_EQ(Utf8ToCp1252(c.testo), c.cp1252);
  }
}

TEST(RegressioniFuzz, ValoreConFormaTroppoLungaLettoComeWindows1252) {
  test::CartellaTemporanea cartella;
  const fs::path ini = cartella / "configurazione.ini";
  test::ScriviFile(ini, "[opzioni]\r\nPCDirF=C:\xE0\x80\xAF" "dati\r\n");
  const std::string valore = LeggiIni(ini, "opzioni", "PCDirF");
  EXPECT_TRUE(Utf8Valido(valore));
  EXPECT_EQ(valore.find('/'), std::string::npos);
  EXPECT_EQ(valore, Cp1252ToUtf8("C:\xE0\x80\xAF" "dati"));
}

TEST(RegressioniFuzz, OgniFileIniDaValoriUtf8) {
  std::vector<fs::path> file;
  for (const auto& voce : fs::directory_iterator(fs::path(FCL_TEST_DATA_DIR) / "regressioni" / "ini"))
    if (voce.is_regular_file()) file.push_back(voce.path());
  std::sort(file.begin(), file.end());
  ASSERT_FALSE(file.empty());
  for (const auto& percorso : file) {
    SCOPED_TRACE(percorso.filename().string());
    const auto configurazione = LeggiConfigurazione(percorso, "/opt/fiscolario");
    for (const auto* v : {&configurazione.log, &configurazione.pc, &configurazione.tipoDb,
                          &configurazione.debug, &configurazione.serverUtente,
                          &configurazione.serverPassword, &configurazione.serverNome,
                          &configurazione.pcDirF})
      EXPECT_TRUE(Utf8Valido(*v));
    // The section and the key the input names first (the fuzz target reads them too).
    const std::string testo = test::LeggiFile(percorso);
    const std::size_t a = testo.find('[');
    const std::size_t b = testo.find(']', a == std::string::npos ? 0 : a);
    const std::size_t k = b == std::string::npos ? b : testo.find('\n', b);
    const std::size_t uguale = k == std::string::npos ? k : testo.find('=', k);
    if (a != std::string::npos && uguale != std::string::npos) {
      const std::string valore = LeggiIni(percorso, testo.substr(a + 1, b - a - 1),
                                          testo.substr(k + 1, uguale - k - 1));
      EXPECT_TRUE(Utf8Valido(valore)) << valore;
    }
  }
}

}  // namespace
}  // namespace fcl
