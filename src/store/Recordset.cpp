#include "store/Recordset.h"

#include <algorithm>
#include <cctype>

#include "common/ErroreSistema.h"
#include "common/Errori.h"
#include "store/Motore.h"

namespace fcl {
namespace {

bool UgualeSenzaMaiuscole(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::toupper(x) == std::toupper(y);
         });
}

std::string Maiuscolo(std::string_view s) {
  std::string t(s);
  std::transform(t.begin(), t.end(), t.begin(), [](unsigned char c) { return std::toupper(c); });
  return t;
}

// The table of "SELECT * FROM <table> ...", or empty when the statement has another form.
std::string TabellaDiSelectStar(std::string_view sql) {
  const std::string s = Maiuscolo(sql);
  std::size_t i = s.find_first_not_of(" \t\r\n");
  if (i == std::string::npos || s.compare(i, 6, "SELECT") != 0) return {};
  i = s.find_first_not_of(" \t\r\n", i + 6);
  if (i == std::string::npos || s[i] != '*') return {};
  i = s.find_first_not_of(" \t\r\n", i + 1);
  if (i == std::string::npos || s.compare(i, 4, "FROM") != 0) return {};
  i = s.find_first_not_of(" \t\r\n", i + 4);
  if (i == std::string::npos) return {};
  std::size_t j = i;
  while (j < s.size() && (std::isalnum(static_cast<unsigned char>(s[j])) || s[j] == '_')) ++j;
  if (j == i) return {};
  return std::string(sql.substr(i, j - i));
}

// Case-insensitive LIKE with % and _ (the forms the system's criteria use).
bool Somiglia(std::string_view testo, std::string_view modello) {
  if (modello.empty()) return testo.empty();
  if (modello[0] == '%' || modello[0] == '*') {
    for (std::size_t k = 0; k <= testo.size(); ++k) {
      if (Somiglia(testo.substr(k), modello.substr(1))) return true;
    }
    return false;
  }
  if (testo.empty()) return false;
  if (modello[0] == '_' || std::toupper(static_cast<unsigned char>(modello[0])) ==
                               std::toupper(static_cast<unsigned char>(testo[0])))
    return Somiglia(testo.substr(1), modello.substr(1));
  return false;
}

// A fault of the program itself (a column or table the code names that is not there), told to the
// user as such, with the detail for support.
std::string ErroreInterno(const std::string& dettaglio) {
  return "Errore del database: errore interno del programma; rivolgersi all'assistenza" +
         std::string(kDettaglioAssistenza) + dettaglio;
}

}  // namespace

Recordset::Recordset(Database& db, std::string_view sql, std::vector<Valore> parametri, Modo modo)
    : db_(db), modo_(modo) {
  std::string testo(sql);
  std::vector<TipoCampo> tipi;
  if (modo_ == Modo::Aggiornabile) {
    tabella_ = TabellaDiSelectStar(sql);
    if (tabella_.empty()) throw ErroreDatabase(ErroreInterno("istruzione non aggiornabile"));
    colonne_ = db_.Colonne(tabella_);
    if (colonne_.empty()) throw ErroreDatabase(ErroreInterno("tabella inesistente " + tabella_));
    // "SELECT * FROM t ..." -> "SELECT rowid, * FROM t ..." (the engine's row identity)
    const auto stella = Maiuscolo(testo).find('*');
    testo.replace(stella, 1, std::string(db_.Interno().ColonnaIdentita()) + ", *");
  }
  const auto cursore = db_.Interroga(testo, parametri);
  const int primo = modo_ == Modo::Aggiornabile ? 1 : 0;
  if (modo_ == Modo::SolaLettura) {
    for (int i = 0; i < cursore->NumeroColonne(); ++i)
      colonne_.push_back({cursore->NomeColonna(i), cursore->TipoDichiarato(i)});
  }
  while (cursore->Passo()) {
    std::vector<Valore> riga;
    riga.reserve(colonne_.size());
    for (std::size_t i = 0; i < colonne_.size(); ++i)
      riga.push_back(cursore->Colonna(static_cast<int>(i) + primo, colonne_[i].tipo));
    righe_.push_back(std::move(riga));
    if (modo_ == Modo::Aggiornabile) rowid_.push_back(cursore->Colonna(0, TipoCampo::Altro));
  }
  modificato_.assign(colonne_.size(), false);
}

std::optional<std::size_t> Recordset::Indice(std::string_view nome) const {
  for (std::size_t i = 0; i < colonne_.size(); ++i) {
    if (UgualeSenzaMaiuscole(colonne_[i].nome, nome)) return i;
  }
  return std::nullopt;
}

const Valore& Recordset::operator[](std::string_view nome) const {
  const auto i = Indice(nome);
  if (!i) throw ErroreDatabase(ErroreInterno("campo inesistente " + std::string(nome)));
  return (*this)[*i];
}

const Valore& Recordset::operator[](std::size_t indice) const {
  if (Eof()) throw ErroreDatabase(ErroreInterno("nessun record corrente"));
  return righe_[corrente_].at(indice);
}

void Recordset::Imposta(std::string_view nome, Valore valore) {
  const auto i = Indice(nome);
  if (!i) throw ErroreDatabase(ErroreInterno("campo inesistente " + std::string(nome)));
  Imposta(*i, std::move(valore));
}

void Recordset::Imposta(std::size_t indice, Valore valore) {
  RichiediAggiornabile();
  if (Eof()) throw ErroreDatabase(ErroreInterno("nessun record corrente"));
  righe_[corrente_].at(indice) = std::move(valore);
  modificato_[indice] = true;
}

bool Recordset::Find(std::string_view criterio) {
  // COLONNA <op> 'testo'
  std::size_t i = criterio.find_first_not_of(' ');
  std::size_t j = i;
  while (j < criterio.size() && (std::isalnum(static_cast<unsigned char>(criterio[j])) || criterio[j] == '_')) ++j;
  const std::string colonna(criterio.substr(i, j - i));
  const auto apice = criterio.find('\'', j);
  if (apice == std::string_view::npos || criterio.size() < apice + 2 || criterio.back() != '\'')
    throw ErroreDatabase(ErroreInterno("criterio di ricerca non valido"));
  const std::string op = Maiuscolo(criterio.substr(j, apice - j));
  const bool like = op.find("LIKE") != std::string::npos;
  std::string valore;
  const std::string_view letterale = criterio.substr(apice + 1, criterio.size() - apice - 2);
  for (std::size_t k = 0; k < letterale.size(); ++k) {
    valore += letterale[k];
    if (letterale[k] == '\'' && k + 1 < letterale.size() && letterale[k + 1] == '\'') ++k;
  }
  const auto indice = Indice(colonna);
  if (!indice) throw ErroreDatabase(ErroreInterno("campo inesistente " + colonna));
  for (; corrente_ < righe_.size(); ++corrente_) {
    const std::string testo = ValoreComeTesto(righe_[corrente_][*indice]);
    if (like ? Somiglia(testo, valore) : UgualeSenzaMaiuscole(testo, valore)) return true;
  }
  return false;
}

void Recordset::AddNew() {
  RichiediAggiornabile();
  righe_.emplace_back(colonne_.size());
  rowid_.emplace_back();
  corrente_ = righe_.size() - 1;
  nuova_ = true;
  modificato_.assign(colonne_.size(), false);
}

void Recordset::Update() {
  RichiediAggiornabile();
  if (Eof()) throw ErroreDatabase(ErroreInterno("nessun record corrente"));
  std::vector<std::string> nomi;
  std::vector<Valore> valori;
  for (std::size_t i = 0; i < colonne_.size(); ++i) {
    if (!modificato_[i]) continue;
    nomi.push_back(colonne_[i].nome);
    valori.push_back(righe_[corrente_][i]);
  }
  if (nuova_) {
    rowid_[corrente_] = db_.Interno().Inserisci(tabella_, nomi, valori);
    nuova_ = false;
  } else if (!nomi.empty()) {
    rowid_[corrente_] = db_.Interno().Aggiorna(tabella_, nomi, valori, rowid_[corrente_]);
  }
  modificato_.assign(colonne_.size(), false);
}

void Recordset::Delete() {
  RichiediAggiornabile();
  if (Eof()) throw ErroreDatabase(ErroreInterno("nessun record corrente"));
  if (!EnNull(rowid_[corrente_])) db_.Interno().Elimina(tabella_, rowid_[corrente_]);
  righe_.erase(righe_.begin() + static_cast<std::ptrdiff_t>(corrente_));
  rowid_.erase(rowid_.begin() + static_cast<std::ptrdiff_t>(corrente_));
  nuova_ = false;
}

void Recordset::RichiediAggiornabile() const {
  if (modo_ != Modo::Aggiornabile) throw ErroreDatabase(ErroreInterno("recordset di sola lettura"));
}

}  // namespace fcl
