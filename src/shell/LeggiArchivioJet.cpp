#include "shell/LeggiArchivioJet.h"

#include <mdbtools.h>

#include <charconv>
#include <memory>

#include "common/Errori.h"

namespace fcl {
namespace {

struct ChiudiMdb {
  void operator()(MdbHandle* h) const { mdb_close(h); }
};
struct LiberaTabella {
  void operator()(MdbTableDef* t) const { mdb_free_tabledef(t); }
};

enum class Tipo { Testo, Intero, Doppio, Data, Ignorato };

Tipo TipoJet(int tipoColonna) {
  switch (tipoColonna) {
    case MDB_TEXT:
    case MDB_MEMO:
    case MDB_REPID:
      return Tipo::Testo;
    case MDB_BOOL:
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
      return Tipo::Intero;
    case MDB_MONEY:
    case MDB_FLOAT:
    case MDB_DOUBLE:
    case MDB_NUMERIC:
      return Tipo::Doppio;
    case MDB_DATETIME:
      return Tipo::Data;
    default:
      return Tipo::Ignorato;
  }
}

std::string Dichiarato(Tipo t) {
  switch (t) {
    case Tipo::Intero:
      return "Integer";
    case Tipo::Doppio:
      return "Double";
    case Tipo::Data:
      return "Date";
    default:
      return "Text";
  }
}

std::string Citato(const std::string& nome) {
  std::string s = "\"";
  for (char c : nome) {
    if (c == '"') s += '"';
    s += c;
  }
  return s + "\"";
}

// The bound text of a value as the database value it stands for. Numbers are formatted by the
// library in the C locale; a text that does not parse stays a text rather than being lost.
Valore Converti(Tipo tipo, const char* testo, int lunghezza) {
  if (lunghezza <= 0) return std::monostate{};
  const std::string s(testo, static_cast<std::size_t>(lunghezza));
  switch (tipo) {
    case Tipo::Intero: {
      std::int64_t n = 0;
      const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
      if (ec == std::errc() && p == s.data() + s.size()) return n;
      return s;
    }
    case Tipo::Doppio: {
      double d = 0;
      const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), d);
      if (ec == std::errc() && p == s.data() + s.size()) return d;
      return s;
    }
    case Tipo::Data:
      // "yyyy-mm-dd" from the date format set on the handle (a time without a day is 1899-12-30,
      // date zero). A date outside what Data holds stays as its text rather than being lost.
      if (auto d = Data::DaTesto(s.substr(0, 10))) return *d;
      return s;
    default:
      return s;
  }
}

// Copies one Access table into `db`; false when it cannot be read.
bool CopiaTabella(MdbHandle* mdb, const std::string& nome, Database& db, std::size_t righeMassime) {
  std::unique_ptr<MdbTableDef, LiberaTabella> tabella(
      mdb_read_table_by_name(mdb, const_cast<gchar*>(nome.c_str()), MDB_TABLE));
  if (!tabella) return false;
  if (!mdb_read_columns(tabella.get())) return false;
  const unsigned int numero = tabella->num_cols;
  std::vector<Tipo> tipi(numero);
  std::vector<std::vector<char>> valori(numero);
  std::vector<int> lunghezze(numero, 0);
  std::string colonne;
  std::string segnaposti;
  for (unsigned int i = 0; i < numero; ++i) {
    auto* col = static_cast<MdbColumn*>(g_ptr_array_index(tabella->columns, i));
    tipi[i] = TipoJet(col->col_type);
    if (tipi[i] == Tipo::Ignorato) continue;
    valori[i].assign(MDB_BIND_SIZE + 1, '\0');
    mdb_bind_column(tabella.get(), static_cast<int>(i + 1), valori[i].data(), &lunghezze[i]);
    if (!colonne.empty()) {
      colonne += ", ";
      segnaposti += ", ";
    }
    colonne += Citato(col->name) + " " + Dichiarato(tipi[i]);
    segnaposti += "?";
  }
  if (colonne.empty()) return false;
  db.Esegui("CREATE TABLE " + Citato(nome) + " (" + colonne + ")");
  const std::string inserisci = "INSERT INTO " + Citato(nome) + " VALUES (" + segnaposti + ")";
  mdb_rewind_table(tabella.get());
  std::size_t righe = 0;
  while (mdb_fetch_row(tabella.get())) {
    if (++righe > righeMassime) return false;
    std::vector<Valore> riga;
    for (unsigned int i = 0; i < numero; ++i) {
      if (tipi[i] == Tipo::Ignorato) continue;
      riga.push_back(Converti(tipi[i], valori[i].data(), lunghezze[i]));
    }
    db.Esegui(inserisci, riga);
  }
  return true;
}

}  // namespace

std::optional<Database> LeggiArchivioJet(const std::filesystem::path& file,
                                         const std::vector<std::string>& tabelle,
                                         std::size_t righeMassime) {
  std::unique_ptr<MdbHandle, ChiudiMdb> mdb(mdb_open(file.c_str(), MDB_NOFLAGS));
  if (!mdb) return std::nullopt;
  if (!mdb_read_catalog(mdb.get(), MDB_TABLE)) return std::nullopt;
  mdb_set_date_fmt(mdb.get(), "%Y-%m-%d");
  try {
    Database db = Database::InMemoria();
    int lette = 0;
    for (const auto& nome : tabelle) {
      bool presente = false;
      for (unsigned int i = 0; i < mdb->num_catalog; ++i) {
        auto* voce = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (voce->object_type == MDB_TABLE &&
            g_ascii_strcasecmp(voce->object_name, nome.c_str()) == 0) {
          presente = true;
          break;
        }
      }
      if (!presente) continue;
      Transazione tr(db);
      if (!CopiaTabella(mdb.get(), nome, db, righeMassime)) return std::nullopt;
      tr.Conferma();
      ++lette;
    }
    if (lette == 0) return std::nullopt;
    return db;
  } catch (const Errore&) {
    return std::nullopt;
  }
}

}  // namespace fcl
