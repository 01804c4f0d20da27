#include "shell/LeggiIni.h"

#include <ini.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>

#include "common/Cp1252.h"
#include "common/RoutineCampi.h"

namespace fcl {
namespace {

bool UgualeSenzaMaiuscole(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

bool Spazio(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// Feeds the file to the parser one line at a time. Leading blanks are dropped, so that an indented
// line is a key of its own and never the continuation of the previous one; a line longer than the
// parser's buffer is cut there and its remainder skipped instead of being read as a line of its own.
// The line fed last is kept whole: the value is taken from it (see ValoreIntero), so a value longer
// than the parser's buffer (a server's connection string) is read whole.
struct Sorgente {
  std::string_view testo;
  std::size_t pos = 0;
  std::string_view riga;  // the line as the parser received it, without the line end
};

char* LeggiRiga(char* str, int num, void* stream) {
  auto& s = *static_cast<Sorgente*>(stream);
  if (s.pos >= s.testo.size() || num < 3) return nullptr;
  std::size_t fine = s.testo.find('\n', s.pos);
  if (fine == std::string_view::npos) fine = s.testo.size();
  std::string_view riga = s.testo.substr(s.pos, fine - s.pos);
  s.pos = fine + 1;
  while (!riga.empty() && Spazio(riga.front())) riga.remove_prefix(1);
  std::size_t n = std::min(riga.size(), static_cast<std::size_t>(num) - 2);
  // Never cut a UTF-8 character in two.
  while (n > 0 && n < riga.size() && (static_cast<unsigned char>(riga[n]) & 0xC0) == 0x80) --n;
  std::memcpy(str, riga.data(), n);
  str[n] = '\n';
  str[n + 1] = '\0';
  s.riga = riga;
  // The parser reads a line as a C string: it ends at a zero byte.
  if (const auto zero = s.riga.find('\0'); zero != std::string_view::npos)
    s.riga = s.riga.substr(0, zero);
  return str;
}

// The value of a "name=value" line whole. The parser, as the system's library is built, takes a
// ";" after a blank for the start of a comment and cuts the value there; the configuration files
// of our users were written for a reader that keeps it ("PCDirF=C:\dati ;vecchi" is the folder
// "C:\dati ;vecchi"). The parser has already found the name up to the first "=" or ":" of the line
// (a line with a ";" after a blank before it never reaches the handler), so the value is
// everything after that separator, without the blanks around it.
std::string ValoreIntero(std::string_view riga) {
  const std::size_t separatore = riga.find_first_of("=:");
  if (separatore == std::string_view::npos) return {};
  std::string_view valore = riga.substr(separatore + 1);
  while (!valore.empty() && Spazio(valore.front())) valore.remove_prefix(1);
  while (!valore.empty() && Spazio(valore.back())) valore.remove_suffix(1);
  return std::string(valore);
}

struct Ricerca {
  std::string_view sezione;
  std::string_view chiave;
  const Sorgente* sorgente = nullptr;
  std::optional<std::string> valore;
};

int Gestore(void* utente, const char* sezione, const char* nome, const char*) {
  auto& r = *static_cast<Ricerca*>(utente);
  if (!r.valore && UgualeSenzaMaiuscole(sezione, r.sezione) && UgualeSenzaMaiuscole(nome, r.chiave))
    r.valore = ValoreIntero(r.sorgente->riga);
  return 1;
}

std::string Primi(std::string_view testo, std::size_t n) { return PrimiCaratteriUtf8(testo, n); }

}  // namespace

std::string LeggiIni(const std::filesystem::path& fileIni, std::string_view sezione,
                     std::string_view chiave, std::size_t massimo) {
  std::ifstream in(fileIni, std::ios::binary);
  if (!in) return {};
  std::ostringstream buffer;
  buffer << in.rdbuf();
  const std::string testo = buffer.str();

  Sorgente sorgente{testo, 0, {}};
  Ricerca ricerca{sezione, chiave, &sorgente, std::nullopt};
  ini_parse_stream(LeggiRiga, &sorgente, Gestore, &ricerca);
  if (!ricerca.valore) return {};

  std::string valore = Rifila(*ricerca.valore);
  if (valore.size() >= 2 && (valore.front() == '"' || valore.front() == '\'') &&
      valore.back() == valore.front())
    valore = valore.substr(1, valore.size() - 2);
  if (!Utf8Valido(valore)) valore = Cp1252ToUtf8(valore);
  return Primi(valore, massimo);
}

Configurazione LeggiConfigurazione(const std::filesystem::path& fileIni,
                                   const std::filesystem::path& cartellaProgramma) {
  Configurazione c;
  c.log = LeggiIni(fileIni, "connessione", "log");
  c.pc = Primi(LeggiIni(fileIni, "opzioni", "PC"), 1);
  c.tipoDb = Primi(LeggiIni(fileIni, "opzioni", "TipoDb"), 1);
  c.debug = Primi(LeggiIni(fileIni, "opzioni", "debug"), 1);
  c.serverUtente = Primi(LeggiIni(fileIni, "opzioni", "Server_Utente"), 10);
  c.serverPassword = Primi(LeggiIni(fileIni, "opzioni", "Server_Password"), 10);
  c.serverNome = Primi(LeggiIni(fileIni, "opzioni", "Server_Nome"), 20);
  c.serverConnessione =
      LeggiIni(fileIni, "opzioni", "Server_Connessione", std::string::npos);
  c.pcDirF = Rifila(Primi(LeggiIni(fileIni, "opzioni", "PCDirF"), 150));
  if (c.pcDirF == "PGM") c.pcDirF = cartellaProgramma.string();
  return c;
}

}  // namespace fcl
