#include "store/LettoreTabella.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>

#include "common/Errori.h"
#include "store/Istruzione.h"

namespace fcl {
namespace {

bool Uguali(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::toupper(x) == std::toupper(y);
         });
}

std::string Citato(std::string_view nome) {
  std::string s = "\"";
  for (const char c : nome) {
    if (c == '"') s += '"';
    s += c;
  }
  return s + "\"";
}

std::size_t Dimensione(const Valore& v) {
  if (const auto* s = std::get_if<std::string>(&v)) return s->size();
  return sizeof(double);
}

}  // namespace

void LimitaValori(Database& db, int lunghezzaMassima) {
  sqlite3_limit(db.Handle(), SQLITE_LIMIT_LENGTH, lunghezzaMassima);
}

LettoreTabella::LettoreTabella(Database& db, std::string_view tabella,
                               const std::vector<std::string>& colonne, Limiti limiti)
    : db_(db), tabella_(tabella), limiti_(limiti) {
  // A real table only: sqlite_master says "table" for ordinary and virtual tables alike, and a
  // virtual table's definition begins with CREATE VIRTUAL TABLE.
  std::string nome;
  {
    Istruzione ist(db,
                   "SELECT name FROM sqlite_master WHERE type='table' AND name=? COLLATE NOCASE "
                   "AND upper(substr(ltrim(sql), 1, 14)) <> 'CREATE VIRTUAL' LIMIT 1",
                   {std::string(tabella)});
    if (!ist.Passo())
      throw ErroreDatabase("L'archivio collegato non ha la tabella " + std::string(tabella) + ".");
    nome = ValoreComeTesto(ist.Colonna(0, TipoCampo::Testo));
  }
  // A table longer than the limit is refused before a row is copied anywhere.
  if (std::get<std::int64_t>(db.Scalare("SELECT count(*) FROM " + Citato(nome))) >
      static_cast<std::int64_t>(limiti_.righe))
    throw ErroreDatabase(TroppeRighe());
  const std::vector<Colonna> presenti = db.Colonne(nome);
  std::string elenco;
  for (const auto& c : colonne) {
    const auto trovata = std::find_if(presenti.begin(), presenti.end(),
                                      [&](const Colonna& p) { return Uguali(p.nome, c); });
    if (trovata == presenti.end()) continue;
    nomi_.push_back(c);
    if (!elenco.empty()) elenco += ", ";
    elenco += Citato(trovata->nome);
  }
  valori_.resize(nomi_.size());
  if (nomi_.empty()) return;
  istruzione_ = std::make_unique<Istruzione>(db, "SELECT " + elenco + " FROM " + Citato(nome));
  for (std::size_t i = 0; i < nomi_.size(); ++i)
    tipi_.push_back(istruzione_->TipoDichiarato(static_cast<int>(i)));
}

LettoreTabella::~LettoreTabella() = default;

bool LettoreTabella::Avanza() {
  if (!istruzione_) return false;
  try {
    if (!istruzione_->Passo()) return false;
  } catch (const ErroreDatabase& e) {
    if ((sqlite3_errcode(db_.Handle()) & 0xff) == SQLITE_TOOBIG)
      throw ErroreDatabase("La tabella " + tabella_ +
                           " dell'archivio collegato contiene un valore più lungo di " +
                           std::to_string(sqlite3_limit(db_.Handle(), SQLITE_LIMIT_LENGTH, -1)) +
                           " byte: non è un archivio di operatori.");
    throw ErroreDatabase("La tabella " + tabella_ +
                         " dell'archivio collegato non si può leggere: il file è danneggiato.\n" +
                         e.what());
  }
  if (++righe_ > limiti_.righe) throw ErroreDatabase(TroppeRighe());
  for (std::size_t i = 0; i < nomi_.size(); ++i) {
    valori_[i] = istruzione_->Colonna(static_cast<int>(i), tipi_[i]);
    byte_ += Dimensione(valori_[i]);
  }
  if (byte_ > limiti_.byte)
    throw ErroreDatabase("La tabella " + tabella_ + " dell'archivio collegato contiene più di " +
                         (limiti_.byte >= (1u << 20) ? std::to_string(limiti_.byte >> 20) + " MB"
                                                     : std::to_string(limiti_.byte) + " byte") +
                         " di dati: non è un archivio di operatori.");
  return true;
}

std::string LettoreTabella::TroppeRighe() const {
  return "La tabella " + tabella_ + " dell'archivio collegato ha più di " +
         std::to_string(limiti_.righe) + " righe: non è un archivio di operatori.";
}

bool LettoreTabella::Ha(std::string_view colonna) const {
  return std::any_of(nomi_.begin(), nomi_.end(),
                     [&](const std::string& n) { return Uguali(n, colonna); });
}

const Valore& LettoreTabella::operator[](std::string_view colonna) const {
  for (std::size_t i = 0; i < nomi_.size(); ++i)
    if (Uguali(nomi_[i], colonna)) return valori_[i];
  throw ErroreDatabase("La tabella " + tabella_ + " dell'archivio collegato non ha la colonna " +
                       std::string(colonna) + ".");
}

}  // namespace fcl
