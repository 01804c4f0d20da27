#include "store/DatiRiferimento.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>

#include "common/Cp1252.h"
#include "common/Errori.h"
#include "common/RoutineCampi.h"
#include "store/Csv.h"
#include "store/Motore.h"

namespace fcl {

// The CSV files of resources/dati-riferimento, built into the library (generated source).
extern const std::string_view kCsvComuni;
extern const std::string_view kCsvComuniCF;

namespace {

std::size_t ContaRighe(std::string_view csv) {
  std::size_t n = static_cast<std::size_t>(std::count(csv.begin(), csv.end(), '\n'));
  return n > 0 ? n - 1 : 0;  // header
}

// Loads a built-in CSV (header first) through `sql`, taking the given columns of each row.
void CaricaCsv(Database& db, std::string_view csv, const char* sql, std::size_t colonne) {
  const auto ins = db.Prepara(sql);
  Csv lettore(csv, ',');
  std::vector<std::string> campi;
  lettore.Prossima(campi);  // header
  std::vector<Valore> valori(colonne);
  while (lettore.Prossima(campi)) {
    if (campi.size() < colonne) continue;
    for (std::size_t i = 0; i < colonne; ++i) valori[i] = std::move(campi[i]);
    ins->Esegui(valori);
  }
}

// A header cell reduced to lower-case letters and digits ("Codice Ateco 2007" ->
// "codiceateco2007").
std::string Chiave(std::string_view intestazione) {
  std::string k;
  for (const char c : intestazione) {
    const auto u = static_cast<unsigned char>(c);
    if (std::isalnum(u) && u < 0x80) k += static_cast<char>(std::tolower(u));
  }
  return k;
}

bool ColonnaCodice(std::string_view intestazione) {
  const std::string k = Chiave(intestazione);
  return k == "codice" || k == "code" || k == "cod" || k == "codiceateco" ||
         k == "codiceateco2007" || k == "ateco" || k == "ateco2007";
}

bool ColonnaDescrizione(std::string_view intestazione) {
  const std::string k = Chiave(intestazione);
  for (const char* p : {"descrizione", "titolo", "title", "denominazione", "description"}) {
    if (k.rfind(p, 0) == 0) return true;
  }
  return false;
}

// ATECO codes as ISTAT writes them: a section letter, or two digits followed by up to three more
// levels ("01", "01.1", "01.11", "01.11.1", "01.11.10").
bool CodiceAteco(std::string_view c) {
  if (c.size() == 1) return c[0] >= 'A' && c[0] <= 'Z';
  auto cifra = [&](std::size_t i) {
    return i < c.size() && std::isdigit(static_cast<unsigned char>(c[i]));
  };
  if (!(cifra(0) && cifra(1))) return false;
  switch (c.size()) {
    case 2:
      return true;
    case 4:
      return c[2] == '.' && cifra(3);
    case 5:
      return c[2] == '.' && cifra(3) && cifra(4);
    case 7:
      return c[2] == '.' && cifra(3) && cifra(4) && c[5] == '.' && cifra(6);
    case 8:
      return c[2] == '.' && cifra(3) && cifra(4) && c[5] == '.' && cifra(6) && cifra(7);
    default:
      return false;
  }
}

}  // namespace

std::size_t RigheComuniIncorporate() { return ContaRighe(kCsvComuni); }
std::size_t RigheComuniCFIncorporate() { return ContaRighe(kCsvComuniCF); }

void CaricaTabellaComuni(Database& db) {
  std::optional<Transazione> tr;
  if (!db.InTransazione()) tr.emplace(db);
  db.Esegui("DELETE FROM T_COMUNI");
  CaricaCsv(db, kCsvComuni, "INSERT INTO T_COMUNI (COMUNE, PRO, CAB) VALUES (?, ?, '')", 2);
  if (tr) tr->Conferma();
}

void CaricaTabellaLuoghiNascita(Database& db) {
  std::optional<Transazione> tr;
  if (!db.InTransazione()) tr.emplace(db);
  db.Esegui("DELETE FROM T_COMUNICF");
  CaricaCsv(db, kCsvComuniCF,
            "INSERT INTO T_COMUNICF (DESCRIZION, CD_PROV, KEY_TAB) VALUES (?, ?, ?)", 3);
  if (tr) tr->Conferma();
}

void CaricaDatiRiferimento(Database& db) {
  std::optional<Transazione> tr;
  if (!db.InTransazione()) tr.emplace(db);
  CaricaTabellaComuni(db);
  CaricaTabellaLuoghiNascita(db);
  if (tr) tr->Conferma();
}

std::vector<VoceAteco> VociAteco(const std::vector<std::vector<std::string>>& righe,
                                 std::string_view origine) {
  const std::string file(origine);
  std::size_t rigaIntestazione = righe.size();
  std::size_t colCodice = 0;
  std::size_t colDescrizione = 0;
  for (std::size_t r = 0; r < righe.size() && r < 10 && rigaIntestazione == righe.size(); ++r) {
    std::optional<std::size_t> c;
    std::optional<std::size_t> d;
    for (std::size_t k = 0; k < righe[r].size(); ++k) {
      if (!c && ColonnaCodice(righe[r][k]))
        c = k;
      else if (!d && ColonnaDescrizione(righe[r][k]))
        d = k;
    }
    if (c && d) {
      rigaIntestazione = r;
      colCodice = *c;
      colDescrizione = *d;
    }
  }
  if (rigaIntestazione == righe.size())
    throw Errore(
        "Il file " + file +
        " non ha le colonne del codice e della descrizione: una delle prime righe deve "
        "intitolarle, per esempio CODICE e DESCRIZIONE. La tabella ATECO non è stata modificata.");

  std::vector<VoceAteco> voci;
  std::set<std::string> visti;
  for (std::size_t r = rigaIntestazione + 1; r < righe.size(); ++r) {
    const auto& riga = righe[r];
    const bool vuota = std::all_of(riga.begin(), riga.end(),
                                   [](const std::string& s) { return Rifila(s).empty(); });
    if (vuota) continue;
    const std::string numero = std::to_string(r + 1);
    const std::string codice = colCodice < riga.size() ? Rifila(riga[colCodice]) : std::string();
    std::string descrizione =
        colDescrizione < riga.size() ? Rifila(riga[colDescrizione]) : std::string();
    if (!CodiceAteco(codice))
      throw Errore("Il file " + file + ", riga " + numero + ": \"" + codice +
                   "\" non è un codice ATECO. La tabella ATECO non è stata modificata.");
    if (!visti.insert(codice).second)
      throw Errore("Il file " + file + ", riga " + numero + ": il codice " + codice +
                   " è ripetuto. La tabella ATECO non è stata modificata.");
    voci.push_back({codice, std::move(descrizione)});
  }
  if (voci.empty())
    throw Errore("Il file " + file +
                 " non contiene codici ATECO. La tabella ATECO non è stata modificata.");
  return voci;
}

std::size_t SostituisciAteco(Database& db, const std::vector<VoceAteco>& voci) {
  Transazione tr(db);
  db.Esegui("DELETE FROM ATECO2007");
  const auto ins = db.Prepara("INSERT INTO ATECO2007 (CODICE, DESCRIZIONE) VALUES (?, ?)");
  for (const auto& v : voci) ins->Esegui({v.codice, v.descrizione});
  tr.Conferma();
  return voci.size();
}

std::size_t ImportaAteco(Database& db, const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw ErroreFile("Impossibile leggere il file " + file.string());
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) throw ErroreFile("Impossibile leggere il file " + file.string());
  std::string testo = buffer.str();

  const std::string_view inizio(testo.data(), std::min<std::size_t>(testo.size(), 4));
  if (inizio == std::string_view("PK\x03\x04", 4) ||
      inizio == std::string_view("\xD0\xCF\x11\xE0", 4))
    throw Errore(
        "Il file " + file.string() +
        " è una cartella di lavoro: salvarlo in formato CSV, con le colonne del codice e della "
        "descrizione, e ripetere il caricamento. La tabella ATECO non è stata modificata.");
  testo = TestoUtf8DaFile(std::move(testo));

  std::vector<std::vector<std::string>> righe;
  Csv lettore(testo, SeparatoreCsv(testo));
  std::vector<std::string> campi;
  while (lettore.Prossima(campi)) righe.push_back(campi);
  return SostituisciAteco(db, VociAteco(righe, file.string()));
}

}  // namespace fcl
