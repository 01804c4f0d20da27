#include "shell/MigrazioneJet.h"

#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>
#include <tuple>
#include <utility>

#include "common/ErroreSistema.h"
#include "common/Errori.h"
#include "common/RoutineCampi.h"
#include "shell/LeggiArchivioJet.h"
#include "store/DatiRiferimento.h"
#include "store/Recordset.h"
#include "store/Schema.h"

namespace fcl {
namespace {

const std::string kNonModificato = " Il file non è stato modificato.";

bool StessoNome(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

std::string Candidato(const std::filesystem::path& file, const Data& oggi, int numero) {
  char data[16];
  std::snprintf(data, sizeof data, "%04d%02d%02d", oggi.anno, oggi.mese, oggi.giorno);
  std::string nome = file.stem().string() + ".access-" + data;
  if (numero > 1) nome += "-" + std::to_string(numero);
  return (file.parent_path() / (nome + file.extension().string())).string();
}

// A value read from Access as the column of ours that receives it expects it: a date or a number
// in a text column becomes the text the program shows for it, a date written as text in a date
// column becomes a date. Anything else passes as it is, so nothing is lost.
Valore Adatta(const Valore& v, TipoCampo tipo) {
  if (EnNull(v)) return v;
  if (tipo == TipoCampo::Testo && !std::holds_alternative<std::string>(v))
    return ValoreComeTesto(v);
  if (tipo == TipoCampo::Data) {
    if (const auto* s = std::get_if<std::string>(&v))
      if (auto d = Data::DaTesto(*s)) return *d;
  }
  return v;
}

// The columns of `tabella` that both databases have: our name and the Access one.
struct Corrispondenza {
  std::string nostro;
  std::string loro;
  TipoCampo tipo;
};

std::vector<Corrispondenza> ColonneComuni(Database& nuovo, Database& jet,
                                          const std::string& tabella) {
  std::vector<Corrispondenza> comuni;
  const auto loro = jet.Colonne(tabella);
  for (const auto& c : nuovo.Colonne(tabella)) {
    for (const auto& l : loro) {
      if (StessoNome(c.nome, l.nome)) {
        comuni.push_back({c.nome, l.nome, c.tipo});
        break;
      }
    }
  }
  return comuni;
}

bool HaColonna(const std::vector<Corrispondenza>& colonne, const std::string& nome) {
  for (const auto& c : colonne)
    if (c.nostro == nome) return true;
  return false;
}

std::string Citato(const std::string& nome) {
  std::string s = "\"";
  for (char c : nome) {
    if (c == '"') s += '"';
    s += c;
  }
  return s + "\"";
}

// How an operator without a usable code is named to the user.
std::string NomeOperatore(Recordset& rs, const std::vector<Corrispondenza>& colonne, int riga) {
  auto campo = [&](const std::string& nome) {
    for (const auto& c : colonne)
      if (c.nostro == nome) return Rifila(ValoreComeTesto(rs[c.loro]));
    return std::string();
  };
  std::string nome = campo("ODES");
  if (nome.empty()) nome = campo("ORAG");
  if (nome.empty()) nome = Rifila(campo("OCOG") + " " + campo("ONOME"));
  if (nome.empty()) nome = "riga " + std::to_string(riga);
  return nome + " (senza codice)";
}

// Copies every row of one table; COPE rows whose code is missing or was met before are set aside
// in `scartati` (our table keys operators by their code). Returns the rows stored.
int CopiaTabella(Database& jet, Database& nuovo, const std::string& tabella,
                 std::vector<std::string>& scartati) {
  const auto colonne = ColonneComuni(nuovo, jet, tabella);
  std::string nomi;
  std::string segnaposti;
  for (const auto& c : colonne) {
    if (!nomi.empty()) {
      nomi += ", ";
      segnaposti += ", ";
    }
    nomi += c.nostro;
    segnaposti += "?";
  }
  const std::string inserisci =
      "INSERT INTO " + tabella + " (" + nomi + ") VALUES (" + segnaposti + ")";
  const bool operatori = tabella == "COPE";
  std::set<std::string> codici;
  int copiate = 0;
  int riga = 0;
  Recordset rs(jet, "SELECT * FROM " + Citato(tabella), {}, Recordset::Modo::SolaLettura);
  for (; !rs.Eof(); rs.MoveNext()) {
    ++riga;
    std::vector<Valore> valori;
    valori.reserve(colonne.size());
    std::string codice;
    bool senzaCodice = false;
    for (const auto& c : colonne) {
      valori.push_back(Adatta(rs[c.loro], c.tipo));
      if (operatori && c.nostro == "OCOD") {
        senzaCodice = EnNull(valori.back());
        codice = ValoreComeTesto(valori.back());
      }
    }
    if (operatori) {
      if (senzaCodice) {
        scartati.push_back(NomeOperatore(rs, colonne, riga));
        continue;
      }
      if (!codici.insert(codice).second) {
        scartati.push_back(codice + " (codice ripetuto)");
        continue;
      }
    }
    nuovo.Esegui(inserisci, valori);
    ++copiate;
  }
  return copiate;
}

void Rimuovi(const std::filesystem::path& file) {
  std::error_code ec;
  std::filesystem::remove(file, ec);
}

// Gives the original its second name without ever replacing a file: a second link when the file
// system has them (the original keeps its name until the new database takes it), else a rename.
// Returns the name and whether the original name still holds the original.
std::pair<std::filesystem::path, bool> ConservaOriginale(const std::filesystem::path& file,
                                                         const Data& oggi) {
  for (int numero = 1; numero < 10000; ++numero) {
    const std::filesystem::path nome = Candidato(file, oggi, numero);
    if (::link(file.c_str(), nome.c_str()) == 0) return {nome, true};
    if (errno == EEXIST) continue;
    // No hard links here (some shared or removable drives): a rename that never replaces.
    std::error_code ec;
    if (std::filesystem::exists(nome, ec) || std::filesystem::is_symlink(nome, ec)) continue;
    if (::renameat2(AT_FDCWD, file.c_str(), AT_FDCWD, nome.c_str(), RENAME_NOREPLACE) == 0)
      return {nome, false};
    if (errno == EEXIST) continue;
    if (errno == EINVAL && std::rename(file.c_str(), nome.c_str()) == 0) return {nome, false};
    throw ErroreDatabase("Impossibile conservare l'originale del database " + file.string() +
                         " con il nome " + nome.string() + ": " + CausaSistema(errno) + "." +
                         kNonModificato);
  }
  throw ErroreDatabase(
      "Impossibile trovare un nome libero per conservare l'originale del database " +
      file.string() + "." + kNonModificato);
}

std::string Numero(int n, const char* singolare, const char* plurale) {
  return std::to_string(n) + " " + (n == 1 ? singolare : plurale);
}

}  // namespace

std::filesystem::path NomeOriginaleJet(const std::filesystem::path& file, const Data& oggi) {
  for (int numero = 1;; ++numero) {
    const std::filesystem::path nome = Candidato(file, oggi, numero);
    std::error_code ec;
    if (!std::filesystem::exists(nome, ec) && !std::filesystem::is_symlink(nome, ec)) return nome;
  }
}

EsitoMigrazione MigraDatabaseJet(const std::filesystem::path& file, const Data& oggi) {
  auto jet = LeggiArchivioJet(file, {"COPE", "CTAB"});
  if (!jet || !jet->EsisteTabella("COPE") || !jet->EsisteTabella("CTAB"))
    throw ErroreDatabase("Il database " + file.string() +
                         " è in formato Access (Jet) ma non si può convertire: il file è "
                         "danneggiato o non contiene le tabelle COPE e CTAB di FISCOLARIO." +
                         kNonModificato);

  EsitoMigrazione esito;
  const auto temporaneo = std::filesystem::path(file.string() + ".conversione");
  Rimuovi(temporaneo);
  try {
    Database nuovo(temporaneo, Database::Modo::Creazione);
    Transazione tr(nuovo);
    CreaSchema(nuovo);
    CaricaDatiRiferimento(nuovo);
    const auto operatori = ColonneComuni(nuovo, *jet, "COPE");
    const auto codici = ColonneComuni(nuovo, *jet, "CTAB");
    if (!HaColonna(operatori, "OCOD") || !HaColonna(codici, "TIPO") || !HaColonna(codici, "COD"))
      throw ErroreDatabase("Il database " + file.string() +
                           " è in formato Access (Jet) ma non si può convertire: le tabelle COPE "
                           "e CTAB non hanno le colonne OCOD, TIPO e COD di FISCOLARIO." +
                           kNonModificato);
    esito.operatori = CopiaTabella(*jet, nuovo, "COPE", esito.scartati);
    esito.righeTabella = CopiaTabella(*jet, nuovo, "CTAB", esito.scartati);
    tr.Conferma();
  } catch (const ErroreDatabase& e) {
    Rimuovi(temporaneo);
    const std::string testo = e.what();
    if (testo.find(kNonModificato) != std::string::npos) throw;
    throw ErroreDatabase(PrimaDelDettaglio(
        "Impossibile convertire il database in formato Access " + file.string() + ": " + testo,
        kNonModificato));
  } catch (...) {
    Rimuovi(temporaneo);
    throw;
  }

  bool collegato = false;
  try {
    std::tie(esito.originale, collegato) = ConservaOriginale(file, oggi);
  } catch (...) {
    Rimuovi(temporaneo);
    throw;
  }
  std::error_code ec;
  std::filesystem::rename(temporaneo, file, ec);
  if (ec) {
    // Undo: the original goes back to (or simply keeps) its name, and its second name goes.
    const std::string causa = CausaSistema(ec, Accesso::Scrittura);
    Rimuovi(temporaneo);
    if (collegato) {
      Rimuovi(esito.originale);
    } else {
      std::filesystem::rename(esito.originale, file, ec);
      if (ec)
        throw ErroreDatabase("Impossibile mettere al suo posto il database convertito " +
                             file.string() + ": " + causa + ". L'originale, non modificato, è in " +
                             esito.originale.string() + ": ridargli il nome " +
                             file.filename().string() + " prima di riavviare il programma.");
    }
    throw ErroreDatabase("Impossibile mettere al suo posto il database convertito " +
                         file.string() + ": " + causa + "." + kNonModificato);
  }
  return esito;
}

std::string MessaggioMigrazione(const std::filesystem::path& file, const EsitoMigrazione& esito) {
  std::string testo = "Il database " + file.string() +
                      " era in formato Access (Jet): è stato convertito nel formato di FISCOLARIO "
                      "riportando " +
                      Numero(esito.operatori, "operatore", "operatori") + " e " +
                      Numero(esito.righeTabella, "riga", "righe") + " della tabella dei codici.";
  if (!esito.scartati.empty()) {
    testo +=
        " Non " +
        std::string(esito.scartati.size() == 1 ? "è stato riportato " : "sono stati riportati ") +
        Numero(static_cast<int>(esito.scartati.size()), "operatore", "operatori") + ": ";
    for (std::size_t i = 0; i < esito.scartati.size(); ++i)
      testo += (i ? ", " : "") + esito.scartati[i];
    testo += ".";
  }
  testo += " L'originale è conservato senza modifiche in " + esito.originale.string() + ".";
  return testo;
}

}  // namespace fcl
