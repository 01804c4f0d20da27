#include "fatture/Registrazioni.h"

#include <charconv>

#include "common/Cp1252.h"
#include "common/Errori.h"
#include "store/Csv.h"

namespace fcl {
namespace {

std::string Normalizzato(std::string_view s) {
  std::string n;
  for (const char c : s) {
    if (c == ' ' || c == '\t') continue;
    n += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return n;
}

bool Bisestile(int a) { return (a % 4 == 0 && a % 100 != 0) || a % 400 == 0; }

bool Valida(int a, int m, int g) {
  static constexpr int kGiorni[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (a < 1900 || a > 2099 || m < 1 || m > 12 || g < 1) return false;
  return g <= kGiorni[m - 1] + (m == 2 && Bisestile(a) ? 1 : 0);
}

bool Numero(std::string_view s, int& n) {
  if (s.empty() || s.size() > 4) return false;
  const auto r = std::from_chars(s.data(), s.data() + s.size(), n);
  return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

}  // namespace

int Registrazioni::LeggiData(std::string_view t) {
  while (!t.empty() && (t.front() == ' ')) t.remove_prefix(1);
  while (!t.empty() && (t.back() == ' ')) t.remove_suffix(1);
  // A time after the date (a spreadsheet's "2025-01-31 00:00:00") is left out.
  if (const auto spazio = t.find(' '); spazio != std::string_view::npos) t = t.substr(0, spazio);
  int a = 0, m = 0, g = 0;
  if (t.size() == 10 && t[4] == '-' && t[7] == '-') {
    if (!Numero(t.substr(0, 4), a) || !Numero(t.substr(5, 2), m) || !Numero(t.substr(8, 2), g))
      return 0;
  } else {
    const auto s1 = t.find_first_of("/-.");
    if (s1 == std::string_view::npos) return 0;
    const auto s2 = t.find(t[s1], s1 + 1);
    if (s2 == std::string_view::npos || t.size() - s2 - 1 != 4) return 0;
    if (!Numero(t.substr(0, s1), g) || !Numero(t.substr(s1 + 1, s2 - s1 - 1), m) ||
        !Numero(t.substr(s2 + 1), a))
      return 0;
  }
  return Valida(a, m, g) ? a * 10000 + m * 100 + g : 0;
}

std::string Registrazioni::Chiave(std::string_view controparte, std::string_view numero, int data) {
  return Normalizzato(controparte) + '|' + Normalizzato(numero) + '|' + std::to_string(data);
}

Registrazioni::Registrazioni(const std::filesystem::path& file) {
  const TabellaCsv tabella = LeggiTabellaCsv(file);
  const auto pi = tabella.Colonna("partita_iva");
  const auto cf = tabella.Colonna("codice_fiscale");
  const auto numero = tabella.Colonna("numero");
  const auto dataDocumento = tabella.Colonna("data_documento");
  const auto dataRegistrazione = tabella.Colonna("data_registrazione");
  const std::string nome = file.string();
  if ((!pi && !cf) || !numero || !dataDocumento || !dataRegistrazione)
    throw Errore("L'elenco delle registrazioni " + nome +
                 " deve avere le colonne partita_iva (o codice_fiscale), numero, "
                 "data_documento e data_registrazione");
  for (const TabellaCsv::Riga& r : tabella.righe) {
    std::string controparte = TabellaCsv::Campo(r, pi);
    if (Normalizzato(controparte).empty()) controparte = TabellaCsv::Campo(r, cf);
    const std::string& n = TabellaCsv::Campo(r, numero);
    if (Normalizzato(controparte).empty() && Normalizzato(n).empty()) continue;
    const int dd = LeggiData(TabellaCsv::Campo(r, dataDocumento));
    const int dr = LeggiData(TabellaCsv::Campo(r, dataRegistrazione));
    if (dd == 0 || dr == 0)
      throw Errore("L'elenco delle registrazioni " + nome + ", riga " + std::to_string(r.linea) +
                   ": la data " +
                   (dd == 0 ? "del documento \"" + TabellaCsv::Campo(r, dataDocumento)
                            : "di registrazione \"" + TabellaCsv::Campo(r, dataRegistrazione)) +
                   "\" non è una data valida (gg/mm/aaaa o aaaa-mm-gg)");
    date_[Chiave(controparte, n, dd)] = dr;
  }
}

int Registrazioni::Data(std::string_view controparte, std::string_view numero, int data) const {
  if (date_.empty()) return 0;
  const auto it = date_.find(Chiave(controparte, numero, data));
  return it == date_.end() ? 0 : it->second;
}

}  // namespace fcl
