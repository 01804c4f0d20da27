#include "store/Csv.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <sstream>

#include "common/Cp1252.h"
#include "common/Errori.h"

namespace fcl {

bool Csv::Prossima(std::vector<std::string>& campi) {
  campi.clear();
  if (pos_ >= testo_.size()) return false;
  riga_ = rigaSuccessiva_;
  std::string campo;
  bool virgolette = false;
  while (pos_ < testo_.size()) {
    const char c = testo_[pos_++];
    if (virgolette) {
      if (c == '"') {
        if (pos_ < testo_.size() && testo_[pos_] == '"') {
          campo += '"';
          ++pos_;
        } else {
          virgolette = false;
        }
      } else {
        if (c == '\n') ++rigaSuccessiva_;
        campo += c;
      }
    } else if (c == '"' && campo.empty()) {
      virgolette = true;
    } else if (c == separatore_) {
      campi.push_back(std::move(campo));
      campo.clear();
    } else if (c == '\n') {
      ++rigaSuccessiva_;
      break;
    } else if (c == '\r' && (pos_ >= testo_.size() || testo_[pos_] == '\n')) {
      // CR of a CR LF line end
    } else {
      campo += c;
    }
  }
  if (virgolette) aperte_ = true;
  campi.push_back(std::move(campo));
  return true;
}

char SeparatoreCsv(std::string_view testo) {
  const std::string_view prima = testo.substr(0, testo.find('\n'));
  std::array<std::pair<char, long>, 3> conti{{{';', 0}, {',', 0}, {'\t', 0}}};
  bool virgolette = false;
  for (const char c : prima) {
    if (c == '"') virgolette = !virgolette;
    if (virgolette) continue;
    for (auto& [s, n] : conti)
      if (c == s) ++n;
  }
  const auto migliore = std::max_element(
      conti.begin(), conti.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
  return migliore->second > 0 ? migliore->first : ',';
}

std::string TestoUtf8DaFile(std::string byte) {
  if (byte.rfind("\xEF\xBB\xBF", 0) == 0) byte.erase(0, 3);
  if (!Utf8Valido(byte)) return Cp1252ToUtf8(byte);
  return byte;
}

std::string NomeColonnaCsv(std::string_view nome) {
  std::string n;
  for (const char c : nome) {
    if (c == ' ' || c == '_' || c == '\t') continue;
    n += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return n;
}

std::optional<std::size_t> TabellaCsv::Colonna(std::string_view nome) const {
  const std::string cercato = NomeColonnaCsv(nome);
  for (std::size_t k = 0; k < intestazione.size(); ++k)
    if (NomeColonnaCsv(intestazione[k]) == cercato) return k;
  return std::nullopt;
}

const std::string& TabellaCsv::Campo(const Riga& riga, std::optional<std::size_t> colonna) {
  static const std::string kVuoto;
  if (!colonna || *colonna >= riga.campi.size()) return kVuoto;
  return riga.campi[*colonna];
}

TabellaCsv AnalizzaTabellaCsv(std::string_view testo, std::string_view origine) {
  TabellaCsv t;
  t.separatore = SeparatoreCsv(testo);
  Csv lettore(testo, t.separatore);
  std::vector<std::string> campi;
  auto vuota = [](const std::vector<std::string>& c) {
    return std::all_of(c.begin(), c.end(), [](const std::string& s) {
      return s.find_first_not_of(" \t") == std::string::npos;
    });
  };
  bool intestazione = false;
  while (lettore.Prossima(campi)) {
    if (vuota(campi)) continue;
    if (!intestazione) {
      t.intestazione = campi;
      for (std::string& n : t.intestazione) {
        const auto inizio = n.find_first_not_of(" \t");
        const auto fine = n.find_last_not_of(" \t");
        n = inizio == std::string::npos ? std::string() : n.substr(inizio, fine - inizio + 1);
      }
      intestazione = true;
      continue;
    }
    t.righe.push_back({lettore.Riga(), campi});
  }
  if (lettore.VirgoletteAperte())
    throw Errore("Il file " + std::string(origine) +
                 " ha un campo tra virgolette non chiuso (riga " + std::to_string(lettore.Riga()) +
                 ").");
  if (!intestazione)
    throw Errore("Il file " + std::string(origine) +
                 " è vuoto: la prima riga deve contenere i nomi delle colonne.");
  return t;
}

TabellaCsv LeggiTabellaCsv(const std::filesystem::path& file) {
  std::error_code ec;
  if (std::filesystem::is_directory(file, ec))
    throw ErroreFile("Impossibile leggere il file " + file.string() + ": è una cartella");
  std::ifstream in(file, std::ios::binary);
  if (!in) throw ErroreFile("Impossibile leggere il file " + file.string());
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) throw ErroreFile("Impossibile leggere il file " + file.string());
  return AnalizzaTabellaCsv(TestoUtf8DaFile(std::move(buffer).str()), file.string());
}

std::string CampoCsv(std::string_view valore, char separatore) {
  const bool virgolette =
      valore.find_first_of(std::string{separatore, '"', '\r', '\n'}) != std::string_view::npos ||
      (!valore.empty() && (valore.front() == ' ' || valore.back() == ' '));
  if (!virgolette) return std::string(valore);
  std::string s = "\"";
  for (const char c : valore) {
    if (c == '"') s += '"';
    s += c;
  }
  s += '"';
  return s;
}

std::string RigaCsv(const std::vector<std::string>& campi, char separatore) {
  std::string riga;
  for (std::size_t k = 0; k < campi.size(); ++k) {
    if (k > 0) riga += separatore;
    riga += CampoCsv(campi[k], separatore);
  }
  riga += "\r\n";
  return riga;
}

}  // namespace fcl
