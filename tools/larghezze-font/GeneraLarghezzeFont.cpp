// Writes src/pdf/LarghezzeFont.cpp: the advance widths of the standard fonts by character code,
// taken from the AFM metrics of Debian's fonts-urw-base35 (metric-compatible with the core PDF
// fonts) and completed with the writer's own values for codes that have no glyph or whose width
// follows the Windows fonts rather than the core metrics.
//
// Usage: genera-larghezze-font CARTELLA_AFM > src/pdf/LarghezzeFont.cpp
#include <array>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Glyph names of the WinAnsi encoding, codes 32-255 (empty: no glyph).
std::array<std::string, 256> NomiWinAnsi() {
  std::array<std::string, 256> n{};
  const char* ascii[] = {
      "space",       "exclam",    "quotedbl",   "numbersign", "dollar", "percent", "ampersand",
      "quotesingle", "parenleft", "parenright", "asterisk",   "plus",   "comma",   "hyphen",
      "period",      "slash",     "zero",       "one",        "two",    "three",   "four",
      "five",        "six",       "seven",      "eight",      "nine",   "colon",   "semicolon",
      "less",        "equal",     "greater",    "question",   "at"};
  for (int c = 32; c <= 64; ++c) n[c] = ascii[c - 32];
  for (int c = 'A'; c <= 'Z'; ++c) n[c] = std::string(1, static_cast<char>(c));
  const char* dopoZ[] = {"bracketleft", "backslash",  "bracketright",
                         "asciicircum", "underscore", "grave"};
  for (int c = 91; c <= 96; ++c) n[c] = dopoZ[c - 91];
  for (int c = 'a'; c <= 'z'; ++c) n[c] = std::string(1, static_cast<char>(c));
  n[123] = "braceleft";
  n[124] = "bar";
  n[125] = "braceright";
  n[126] = "asciitilde";
  const std::map<int, std::string> alti = {{128, "Euro"},
                                           {130, "quotesinglbase"},
                                           {131, "florin"},
                                           {132, "quotedblbase"},
                                           {133, "ellipsis"},
                                           {134, "dagger"},
                                           {135, "daggerdbl"},
                                           {136, "circumflex"},
                                           {137, "perthousand"},
                                           {138, "Scaron"},
                                           {139, "guilsinglleft"},
                                           {140, "OE"},
                                           {142, "Zcaron"},
                                           {145, "quoteleft"},
                                           {146, "quoteright"},
                                           {147, "quotedblleft"},
                                           {148, "quotedblright"},
                                           {149, "bullet"},
                                           {150, "endash"},
                                           {151, "emdash"},
                                           {152, "tilde"},
                                           {153, "trademark"},
                                           {154, "scaron"},
                                           {155, "guilsinglright"},
                                           {156, "oe"},
                                           {158, "zcaron"},
                                           {159, "Ydieresis"},
                                           {160, "space"},
                                           {161, "exclamdown"},
                                           {162, "cent"},
                                           {163, "sterling"},
                                           {164, "currency"},
                                           {165, "yen"},
                                           {166, "brokenbar"},
                                           {167, "section"},
                                           {168, "dieresis"},
                                           {169, "copyright"},
                                           {170, "ordfeminine"},
                                           {171, "guillemotleft"},
                                           {172, "logicalnot"},
                                           {173, "hyphen"},
                                           {174, "registered"},
                                           {175, "macron"},
                                           {176, "degree"},
                                           {177, "plusminus"},
                                           {178, "twosuperior"},
                                           {179, "threesuperior"},
                                           {180, "acute"},
                                           {181, "mu"},
                                           {182, "paragraph"},
                                           {183, "periodcentered"},
                                           {184, "cedilla"},
                                           {185, "onesuperior"},
                                           {186, "ordmasculine"},
                                           {187, "guillemotright"},
                                           {188, "onequarter"},
                                           {189, "onehalf"},
                                           {190, "threequarters"},
                                           {191, "questiondown"}};
  for (const auto& [c, nome] : alti) n[c] = nome;
  const char* latini[] = {
      "Agrave",      "Aacute",     "Acircumflex", "Atilde",      "Adieresis",   "Aring",
      "AE",          "Ccedilla",   "Egrave",      "Eacute",      "Ecircumflex", "Edieresis",
      "Igrave",      "Iacute",     "Icircumflex", "Idieresis",   "Eth",         "Ntilde",
      "Ograve",      "Oacute",     "Ocircumflex", "Otilde",      "Odieresis",   "multiply",
      "Oslash",      "Ugrave",     "Uacute",      "Ucircumflex", "Udieresis",   "Yacute",
      "Thorn",       "germandbls", "agrave",      "aacute",      "acircumflex", "atilde",
      "adieresis",   "aring",      "ae",          "ccedilla",    "egrave",      "eacute",
      "ecircumflex", "edieresis",  "igrave",      "iacute",      "icircumflex", "idieresis",
      "eth",         "ntilde",     "ograve",      "oacute",      "ocircumflex", "otilde",
      "odieresis",   "divide",     "oslash",      "ugrave",      "uacute",      "ucircumflex",
      "udieresis",   "yacute",     "thorn",       "ydieresis"};
  for (int c = 192; c <= 255; ++c) n[c] = latini[c - 192];
  return n;
}

struct Afm {
  std::map<std::string, int> perNome;
  std::map<int, int> perCodice;
};

Afm LeggiAfm(const std::string& percorso) {
  std::ifstream in(percorso);
  if (!in) {
    std::cerr << "Impossibile leggere " << percorso << "\n";
    std::exit(1);
  }
  Afm afm;
  std::string riga;
  while (std::getline(in, riga)) {
    if (riga.rfind("C ", 0) != 0) continue;
    int codice = -1, wx = 0;
    std::string nome;
    std::istringstream campi(riga);
    std::string parte;
    while (std::getline(campi, parte, ';')) {
      std::istringstream p(parte);
      std::string chiave;
      p >> chiave;
      if (chiave == "C")
        p >> codice;
      else if (chiave == "WX")
        p >> wx;
      else if (chiave == "N")
        p >> nome;
    }
    if (!nome.empty()) afm.perNome.emplace(nome, wx);
    if (codice >= 0) afm.perCodice[codice] = wx;
  }
  return afm;
}

struct Tabella {
  std::string nome;
  std::array<int, 256> w{};
};

// A Latin text font: WinAnsi glyphs by name plus the family's fixed values.
Tabella Latina(const std::string& nome, const Afm& afm, int controllo, int senzaGlifo, int macron,
               int piuMeno, int mu, int diviso) {
  static const auto kNomi = NomiWinAnsi();
  Tabella t{nome, {}};
  for (int c = 0; c < 32; ++c) t.w[c] = controllo;
  for (int c = 32; c < 256; ++c) {
    const auto it = afm.perNome.find(kNomi[c]);
    t.w[c] = (kNomi[c].empty() || it == afm.perNome.end()) ? senzaGlifo : it->second;
  }
  for (int c : {127, 129, 141, 143, 144, 157}) t.w[c] = senzaGlifo;
  t.w[175] = macron;
  t.w[177] = piuMeno;
  t.w[181] = mu;
  t.w[247] = diviso;
  return t;
}

// A symbolic font: widths by the code the font's own encoding gives.
Tabella Simbolica(const std::string& nome, const Afm& afm, int mancante,
                  const std::array<int, 32>& controllo) {
  Tabella t{nome, {}};
  for (int c = 0; c < 32; ++c) t.w[c] = controllo[c];
  for (int c = 32; c < 256; ++c) {
    const auto it = afm.perCodice.find(c);
    t.w[c] = it == afm.perCodice.end() ? mancante : it->second;
  }
  return t;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "Uso: genera-larghezze-font CARTELLA_AFM > LarghezzeFont.cpp\n";
    return 2;
  }
  const std::string d = std::string(argv[1]) + "/";
  std::vector<Tabella> tab;
  tab.push_back(
      Latina("kArial", LeggiAfm(d + "NimbusSans-Regular.afm"), 272, 750, 552, 549, 576, 549));
  tab.push_back(
      Latina("kArialItalic", LeggiAfm(d + "NimbusSans-Italic.afm"), 259, 750, 552, 549, 576, 549));
  tab.push_back(
      Latina("kArialBold", LeggiAfm(d + "NimbusSans-Bold.afm"), 311, 750, 552, 549, 576, 549));
  tab.push_back(Latina("kArialBoldItalic", LeggiAfm(d + "NimbusSans-BoldItalic.afm"), 311, 750, 552,
                       549, 576, 549));
  tab.push_back(
      Latina("kTimes", LeggiAfm(d + "NimbusRoman-Regular.afm"), 333, 778, 500, 549, 576, 549));
  tab.push_back(
      Latina("kTimesItalic", LeggiAfm(d + "NimbusRoman-Italic.afm"), 333, 778, 500, 549, 576, 549));
  tab.push_back(
      Latina("kTimesBold", LeggiAfm(d + "NimbusRoman-Bold.afm"), 333, 778, 500, 549, 576, 549));
  tab.push_back(Latina("kTimesBoldItalic", LeggiAfm(d + "NimbusRoman-BoldItalic.afm"), 333, 778,
                       500, 549, 576, 549));
  std::array<int, 32> simboloControllo{};
  simboloControllo.fill(332);
  simboloControllo[30] = simboloControllo[31] = 600;
  tab.push_back(Simbolica("kSymbol", LeggiAfm(d + "StandardSymbolsPS.afm"), 600, simboloControllo));
  std::array<int, 32> dingbatsControllo{};
  dingbatsControllo.fill(600);
  tab.push_back(Simbolica("kZapfDingbats", LeggiAfm(d + "D050000L.afm"), 0, dingbatsControllo));

  std::printf(
      "// Generated by tools/larghezze-font from the AFM metrics of fonts-urw-base35; do not "
      "edit.\n"
      "// Advance widths by character code, in thousandths of the font size.\n"
      "#include \"pdf/LarghezzeFont.h\"\n\nnamespace fcl::larghezze {\n");
  for (const auto& t : tab) {
    std::printf("\nconst std::array<std::uint16_t, 256> %s = {", t.nome.c_str());
    for (int c = 0; c < 256; ++c)
      std::printf("%s%d", c == 0 ? "\n    " : (c % 16 == 0 ? ",\n    " : ", "), t.w[c]);
    std::printf("};\n");
  }
  std::printf("\n}  // namespace fcl::larghezze\n");
  return 0;
}
