#include "backup/FormatoBackup.h"

#include <gtest/gtest.h>

#include "common/Cp1252.h"

namespace fcl {
namespace {

// A Valore as readable text, so that failures show what came back.
std::string Descrivi(const Valore& v) {
  struct Visitatore {
    std::string operator()(std::monostate) const { return "Null"; }
    std::string operator()(std::int64_t n) const { return "I:" + std::to_string(n); }
    std::string operator()(double x) const { return "F:" + std::to_string(x); }
    std::string operator()(const std::string& s) const { return "T:[" + s + "]"; }
    std::string operator()(const Data& d) const { return "D:" + d.Testo(); }
  };
  return std::visit(Visitatore{}, v);
}

TEST(FormatoBackup, TestoDiUnValorePerTipoDiColonna) {
  struct Caso {
    std::string_view nome;
    Valore valore;
    TipoCampo tipo;
    std::string_view atteso;        // UTF-8, escaped
    std::optional<Valore> torna{};  // the value read back, when it is not `valore` itself
  } const kCasi[] = {
      {"Null in una data", std::monostate{}, TipoCampo::Data, ""},
      {"Null in un numero", std::monostate{}, TipoCampo::Doppio, ""},
      // As the files of the other programs carry it: nothing, read back as the empty text.
      {"Null in un testo", std::monostate{}, TipoCampo::Testo, "", std::string()},
      {"testo vuoto", std::string(), TipoCampo::Testo, ""},
      {"zero doppio", 0.0, TipoCampo::Doppio, ","},
      {"dodici", 12.0, TipoCampo::Doppio, "12,"},
      {"un decimale", 1234.5, TipoCampo::Doppio, "1234,5"},
      {"arrotondato a due decimali", 0.126, TipoCampo::Doppio, ",13", 0.13},
      {"negativo", -3.25, TipoCampo::Doppio, "-3,25"},
      {"intero in colonna doppia", std::int64_t{7}, TipoCampo::Doppio, "7,", 7.0},
      {"intero", std::int64_t{-42}, TipoCampo::Intero, "-42"},
      {"data", Data{1980, 2, 1}, TipoCampo::Data, "01/02/1980"},
      {"data zero", Data{}, TipoCampo::Data, "30/12/1899"},
      {"blank del record di impegno", std::string("      12345 "), TipoCampo::Testo,
       "      12345 "},
      {"apice e accento", std::string("D'ANNUNZIO NICCOLÒ"), TipoCampo::Testo,
       "D'ANNUNZIO NICCOLÒ"},
      {"separatore", std::string("A¦B"), TipoCampo::Testo, "A\\|B"},
      {"a capo", std::string("VIA ROMA\r\nSCALA B\n"), TipoCampo::Testo,
       "VIA ROMA\\r\\nSCALA B\\n"},
      {"barra rovescia", std::string("C:\\Dati\\"), TipoCampo::Testo, "C:\\\\Dati\\\\"},
      {"testo uguale a \\N", std::string("\\N"), TipoCampo::Testo, "\\\\N"},
      {"fuori da Windows-1252", std::string("ŁUKASZ 😀"), TipoCampo::Testo,
       "\\u0141UKASZ \\U0001F600"},
      {"euro e cancelletto", std::string("€ 5 #3"), TipoCampo::Testo, "€ 5 #3"},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.nome);
    const std::string campo = CampoBackup(c.valore, c.tipo);
    EXPECT_EQ(campo, c.atteso);
    // Whatever was written comes back as the same value.
    const CampoRiga letto = DecodificaCampo(Cp1252ToUtf8(Utf8ToCp1252(campo)));
    EXPECT_EQ(Descrivi(ValoreDaCampo(letto, c.tipo).valore), Descrivi(c.torna.value_or(c.valore)));
  }
}

TEST(FormatoBackup, ValoriLettiPerTipoDiColonna) {
  struct Caso {
    std::string_view nome;
    CampoRiga campo;
    TipoCampo tipo;
    std::string atteso;  // Descrivi() of the value, or "errore"
  } const kCasi[] = {
      {"virgola sola", std::string(","), TipoCampo::Doppio, "F:0.000000"},
      {"dodici con virgola", std::string("12,"), TipoCampo::Doppio, "F:12.000000"},
      {"decimali", std::string("1234,5"), TipoCampo::Doppio, "F:1234.500000"},
      {"vuoto in un numero", std::string(""), TipoCampo::Doppio, "Null"},
      {"blank in un numero", std::string("   "), TipoCampo::Doppio, "Null"},
      {"testo in un numero", std::string("DODICI"), TipoCampo::Doppio, "errore"},
      {"intero", std::string("42"), TipoCampo::Intero, "I:42"},
      {"decimali in un intero", std::string("4,5"), TipoCampo::Intero, "errore"},
      {"data", std::string("01/02/1980"), TipoCampo::Data, "D:01/02/1980"},
      {"data corta", std::string("1/2/1980"), TipoCampo::Data, "D:01/02/1980"},
      {"data zero di file precedenti", std::string("00:00:00"), TipoCampo::Data, "D:30/12/1899"},
      {"vuoto in una data", std::string(""), TipoCampo::Data, "Null"},
      {"data impossibile", std::string("31/02/1980"), TipoCampo::Data, "errore"},
      {"testo in una data", std::string("IERI"), TipoCampo::Data, "errore"},
      {"vuoto in un testo", std::string(""), TipoCampo::Testo, "T:[]"},
      {"blank in un testo", std::string("  "), TipoCampo::Testo, "T:[  ]"},
      {"Null in un testo", std::nullopt, TipoCampo::Testo, "Null"},
      {"Null in una data", std::nullopt, TipoCampo::Data, "Null"},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.nome);
    const ValoreRipristinato v = ValoreDaCampo(c.campo, c.tipo);
    EXPECT_EQ(v.errore.empty() ? Descrivi(v.valore) : "errore", c.atteso);
  }
}

TEST(FormatoBackup, LeBarreRovesceDiFilePrecedentiRestanoQuelleCheSono) {
  struct Caso {
    std::string_view campo;
    CampoRiga atteso;
  } const kCasi[] = {
      {"C:\\Dati\\Clienti", std::string("C:\\Dati\\Clienti")},
      {"A\\B", std::string("A\\B")},
      {"FINE\\", std::string("FINE\\")},
      {"\\u12", std::string("\\u12")},      // not four hexadecimal digits
      {"\\uD800", std::string("\\uD800")},  // not a character
      {"X\\N", std::string("X\\N")},        // \N is Null only as the whole value
      {"\\N", std::nullopt},
      // The trade-off: these sequences are escapes even in an older file.
      {"\\\\SERVER", std::string("\\SERVER")},
      {"C:\\nuovi", std::string("C:\nuovi")},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.campo);
    EXPECT_EQ(DecodificaCampo(c.campo), c.atteso);
  }
}

TEST(FormatoBackup, RigaSpezzataAlSuoPrimoCarattere) {
  const RigaBackup barra = SpezzaRiga(
      "\xA6"
      "COPE\xA6"
      "A#1\xA6\xA6"
      "\xC8\\|X\xA6");
  EXPECT_EQ(barra.tabella, "COPE");
  ASSERT_EQ(barra.valori.size(), 4u);
  EXPECT_EQ(barra.valori[0], std::string("A#1"));
  EXPECT_EQ(barra.valori[1], std::string(""));
  EXPECT_EQ(barra.valori[2], std::string("È¦X"));
  EXPECT_EQ(barra.valori[3], std::string(""));

  const RigaBackup cancelletto = SpezzaRiga("#CTAB#ITT#X\xA6Y#");
  EXPECT_EQ(cancelletto.tabella, "CTAB");
  ASSERT_EQ(cancelletto.valori.size(), 3u);
  EXPECT_EQ(cancelletto.valori[1], std::string("X¦Y"));

  EXPECT_EQ(RigaTabella("CTAB", {"ITT", "È", "A\\|B"}),
            "\xA6"
            "CTAB\xA6ITT\xA6\xC8\xA6"
            "A\\|B");
}

}  // namespace
}  // namespace fcl
