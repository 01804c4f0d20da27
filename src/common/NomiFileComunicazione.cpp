#include "common/NomiFileComunicazione.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace fcl {

namespace {

constexpr std::string_view kSuffissoListato = "_LISTATO.PDF";

std::string SostituisciTutti(std::string testo, std::string_view da, std::string_view a) {
  for (std::size_t p = testo.find(da); p != std::string::npos; p = testo.find(da, p + a.size()))
    testo.replace(p, da.size(), a);
  return testo;
}

// Equal under ASCII case folding: two such names are one file on a case-insensitive volume.
bool UgualiSenzaMaiuscole(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto minuscola = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return minuscola(x) == minuscola(y);
  });
}

}  // namespace

std::optional<NomiFileComunicazione> RicavaNomiFile(const std::filesystem::path& listato) {
  if (listato.empty() || !listato.has_filename()) return std::nullopt;
  const std::string nome = listato.filename().string();
  NomiFileComunicazione n;
  if (nome.find(kSuffissoListato) != std::string::npos) {
    n.comunicazione = listato.parent_path() / SostituisciTutti(nome, kSuffissoListato, ".TXT");
    n.copertina =
        listato.parent_path() / SostituisciTutti(nome, kSuffissoListato, "_FRONTESPIZIO.PDF");
    return n;
  }
  n.ricavati = true;
  const std::string radice = listato.stem().string();
  std::string comunicazione = radice + ".TXT";
  if (UgualiSenzaMaiuscole(comunicazione, nome)) comunicazione = radice + "_COMUNICAZIONE.TXT";
  n.comunicazione = listato.parent_path() / comunicazione;
  n.copertina = listato.parent_path() / (radice + "_FRONTESPIZIO.PDF");
  return n;
}

std::vector<std::filesystem::path> FileDelListato(const std::filesystem::path& listato) {
  const auto nomi = RicavaNomiFile(listato);
  if (!nomi) return {};
  auto rapporto = nomi->comunicazione;
  rapporto.replace_filename(nomi->comunicazione.stem().string() + "_VERIFICA.TXT");
  return {listato, nomi->comunicazione, nomi->copertina, rapporto};
}

}  // namespace fcl
