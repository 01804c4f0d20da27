#include "shell/ArchivioCollegato.h"

#include <algorithm>
#include <cctype>

#include "common/Errori.h"
#include "common/RoutineCampi.h"
#include "shell/LeggiArchivioJet.h"
#include "shell/Marcatori.h"
#include "store/FormatoArchivio.h"
#include "store/LettoreTabella.h"

namespace fcl {

std::filesystem::path DataSource(std::string_view stringaConnessione) {
  std::string minuscolo(stringaConnessione);
  std::transform(minuscolo.begin(), minuscolo.end(), minuscolo.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  constexpr std::string_view kChiave = "data source=";
  const auto inizio = minuscolo.find(kChiave);
  if (inizio == std::string::npos) return {};
  const auto da = inizio + kChiave.size();
  const auto a = stringaConnessione.find(';', da);
  std::string valore =
      Rifila(stringaConnessione.substr(da, a == std::string_view::npos ? a : a - da));
  if (valore.size() >= 2 && valore.front() == '"' && valore.back() == '"')
    valore = valore.substr(1, valore.size() - 2);
  return valore;
}

std::optional<Database> ApriDatabaseCollegato(const std::filesystem::path& file) {
  switch (RiconosciFormato(file)) {
    case FormatoArchivio::Sqlite:
      try {
        Database db(file, Database::Modo::SolaLettura);
        // Another program's file: no value of it may be longer than an operator's data needs.
        LimitaValori(db);
        return db;
      } catch (const Errore&) {
        return std::nullopt;
      }
    case FormatoArchivio::Jet:
      // The tables the imports read, copied into a database in memory, within the bounds of
      // what the imports would read of them.
      return LeggiArchivioJet(file, {"COPE", "CTAB", "OPE"}, LettoreTabella::Limiti{}.righe);
    default:
      return std::nullopt;
  }
}

std::optional<ArchivioCollegato> ApriArchivioCollegato(const Contesto& ctx,
                                                       std::string_view marcatore,
                                                       std::string* motivo) {
  std::string scarto;
  std::string& perche = motivo != nullptr ? *motivo : scarto;
  perche.clear();
  const auto file = CartellaMarcatori(ctx) / "SYSTEM" / std::string(marcatore);
  auto lettura = LeggiMarcatore(file);
  if (!lettura.contenuto) {
    perche = lettura.motivo;
    return std::nullopt;
  }
  auto& contenuto = lettura.contenuto;
  const auto origine = DataSource(contenuto->stringaConnessione);
  if (origine.empty()) {
    perche = "Il marcatore di collegamento " + file.string() +
             " non indica il database del programma collegato.";
    return std::nullopt;
  }
  auto db = ApriDatabaseCollegato(origine);
  if (!db) {
    std::error_code ec;
    const auto stato = std::filesystem::status(origine, ec);
    const std::string dove = " indicato dal marcatore di collegamento " + file.string();
    if (stato.type() == std::filesystem::file_type::not_found)
      perche = "Il database " + origine.string() + dove + " non esiste.";
    else if (stato.type() != std::filesystem::file_type::regular)
      perche = "Il database " + origine.string() + dove + " non è un file.";
    else
      perche = "Il database " + origine.string() + dove +
               " non si può aprire: il formato non è riconosciuto, il file è danneggiato o non si "
               "può leggere.";
    return std::nullopt;
  }
  return ArchivioCollegato{std::move(*db), std::move(contenuto->stringaConnessione),
                           std::move(contenuto->tipoDb), std::move(contenuto->cartella)};
}

}  // namespace fcl
