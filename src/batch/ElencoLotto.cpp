#include "batch/ElencoLotto.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "common/Cp1252.h"
#include "common/RoutineCampi.h"
#include "store/Csv.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/Registro.h"

namespace fcl {

std::vector<RigaElenco> LeggiElenco(const std::filesystem::path& elenco) {
  TabellaCsv t;
  try {
    t = LeggiTabellaCsv(elenco);
  } catch (const Errore& e) {
    throw ErroreElenco(e.what());
  }
  const auto cf = t.Colonna("codice_fiscale");
  const auto foglio = t.Colonna("foglio");
  for (const auto& [colonna, nome] : {std::pair{cf, "codice_fiscale"}, std::pair{foglio, "foglio"}})
    if (!colonna)
      throw ErroreElenco("Il file " + elenco.string() + " non ha la colonna obbligatoria " + nome +
                         ": la prima riga deve nominare le colonne codice_fiscale e foglio.");
  const auto anno = t.Colonna("anno");
  const auto tipo = t.Colonna("tipo");
  const auto protocollo = t.Colonna("protocollo");
  const auto protocolloDocumento = t.Colonna("protocollo_documento");
  const auto dati = t.Colonna("dati");
  const auto periodo = t.Colonna("periodo");

  const std::filesystem::path cartella = elenco.parent_path();
  std::vector<RigaElenco> righe;
  for (const TabellaCsv::Riga& r : t.righe) {
    RigaElenco e;
    e.riga = r.linea;
    e.codiceFiscale = Rifila(TabellaCsv::Campo(r, cf));
    e.foglio = Rifila(TabellaCsv::Campo(r, foglio));
    const std::filesystem::path p(e.foglio);
    e.percorsoFoglio = e.foglio.empty() || p.is_absolute() ? p : cartella / p;
    e.valori.anno = Rifila(TabellaCsv::Campo(r, anno));
    e.valori.tipo = Rifila(TabellaCsv::Campo(r, tipo));
    e.valori.protocollo = Rifila(TabellaCsv::Campo(r, protocollo));
    e.valori.protocolloDocumento = Rifila(TabellaCsv::Campo(r, protocolloDocumento));
    e.valori.dati = Rifila(TabellaCsv::Campo(r, dati));
    e.valori.periodo = Rifila(TabellaCsv::Campo(r, periodo));
    righe.push_back(std::move(e));
  }
  return righe;
}

namespace {

bool Cartella(const std::filesystem::path& p) {
  std::string ext = p.extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".xls" || ext == ".xlsx" || ext == ".ods";
}

// The runs of letters and digits of a file name, upper-cased: "fe_2025-RSSMRA80A01H501U" gives
// FE, 2025, RSSMRA80A01H501U.
std::set<std::string> Parole(const std::string& nome) {
  std::set<std::string> parole;
  std::string parola;
  for (const char c : nome + " ") {
    if (std::isalnum(static_cast<unsigned char>(c)) != 0) {
      parola += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    } else if (!parola.empty()) {
      parole.insert(std::move(parola));
      parola.clear();
    }
  }
  return parole;
}

}  // namespace

ElencoDaCartella AbbinaCartella(Database& db, const std::filesystem::path& cartella) {
  // Every code an operator can be known by (fiscal code, VAT number) and the operators it names.
  std::map<std::string, std::set<std::string>> codici;
  for (const auto& [codice, partitaIva] : CodiciEPartiteIva(db)) {
    const std::string ocod = MaiuscoloUtf8(Rifila(codice));
    if (ocod.empty()) continue;
    codici[ocod].insert(ocod);
    const std::string piva = MaiuscoloUtf8(Rifila(partitaIva));
    if (!piva.empty()) codici[piva].insert(ocod);
  }

  std::vector<std::filesystem::path> file;
  std::error_code ec;
  for (const auto& voce : std::filesystem::directory_iterator(cartella, ec))
    if (voce.is_regular_file(ec) && Cartella(voce.path()) &&
        !voce.path().filename().string().starts_with("~$") &&
        !voce.path().filename().string().starts_with("."))
      file.push_back(voce.path());
  if (ec)
    throw ErroreFile("Impossibile leggere la cartella " + cartella.string() + ": " + ec.message());
  std::sort(file.begin(), file.end());

  ElencoDaCartella esito;
  for (const auto& f : file) {
    std::set<std::string> operatori;
    for (const std::string& parola : Parole(f.stem().string()))
      if (auto it = codici.find(parola); it != codici.end())
        operatori.insert(it->second.begin(), it->second.end());
    if (operatori.size() != 1) {
      esito.nonAbbinati.emplace_back(
          f, operatori.empty()
                 ? "nessun codice fiscale o partita IVA dell'archivio nel nome del file"
                 : "il nome del file indica più soggetti dell'archivio");
      continue;
    }
    RigaElenco r;
    r.riga = esito.righe.size() + 1;
    r.codiceFiscale = *operatori.begin();
    r.foglio = f.filename().string();
    r.percorsoFoglio = f;
    esito.righe.push_back(std::move(r));
  }
  return esito;
}

}  // namespace fcl
