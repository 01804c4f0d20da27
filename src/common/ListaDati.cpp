#include "common/ListaDati.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "common/Cp1252.h"
#include "common/FormatoItaliano.h"
#include "common/RoutineCampi.h"

namespace fcl {
namespace {

bool IniziaCon(std::string_view testo, std::string_view inizio) {
  return testo.substr(0, inizio.size()) == inizio;
}

bool Nascosta(std::string_view nome) {
  return nome == "Prog" || nome == "DACO" || nome == "ERR" || nome == "NRec";
}

// A "DACO…" or "ERR" value of 1, as a number or as a text.
bool ValeUno(const Valore& v) {
  if (const auto* n = std::get_if<std::int64_t>(&v)) return *n == 1;
  if (const auto* x = std::get_if<double>(&v)) return *x == 1.0;
  if (const auto* s = std::get_if<std::string>(&v)) return Rifila(*s) == "1";
  return false;
}

// "###,###,##0": the number rounded to units (halves away from zero), "." every three digits.
std::string NumeroSenzaDecimali(double x) {
  double r = std::round(x);
  if (r == 0.0) r = 0.0;  // no "-0"
  char buffer[400];
  const auto esito = std::to_chars(buffer, buffer + sizeof buffer, r, std::chars_format::fixed, 0);
  return ConSeparatoreMigliaia(
      std::string_view(buffer, static_cast<std::size_t>(esito.ptr - buffer)));
}

}  // namespace

std::string ListaDati::TestoCella(const Valore& v, bool grezzo) {
  if (grezzo) return ValoreComeTesto(v);
  if (const auto* x = std::get_if<double>(&v)) return NumeroSenzaDecimali(*x);
  if (std::holds_alternative<Data>(v)) return FormatoData(v);
  return ValoreComeTesto(v);
}

std::string ListaDati::ChiaveData(const Valore& v) {
  std::optional<Data> d;
  if (const auto* x = std::get_if<Data>(&v)) d = *x;
  if (const auto* s = std::get_if<std::string>(&v)) d = Data::DaTesto(Rifila(*s));
  if (!d) return ValoreComeTesto(v);
  const std::string iso = d->Iso();  // yyyy-mm-dd
  return iso.substr(0, 4) + iso.substr(5, 2) + iso.substr(8, 2);
}

void ListaDati::Riempi(const std::vector<ColonnaRisultato>& colonne,
                       const std::vector<std::vector<Valore>>& righe, std::string& testoRicerca) {
  colonne_.clear();
  righe_.clear();
  colonneData_.clear();
  colonnaOrdinata_.reset();
  conRighe_ = !righe.empty();

  colonne_.push_back({" ", Allineamento::Sinistra, false, kLarghezzaIcona, ""});
  for (const auto& c : colonne) {
    if (righe.empty())
      colonne_.push_back({c.nome, Allineamento::Sinistra, false, kLarghezzaVuota, ""});
    else
      colonne_.push_back({c.nome, c.allineamento, false, 0, ""});
  }
  const std::size_t n = colonne.size();
  for (std::size_t j = 0; j < n; ++j) {
    if (!IniziaCon(colonne[j].nome, "Data")) continue;
    colonneData_.push_back({colonne[j].nome, n + colonneData_.size() + 1});
    colonne_.push_back({"XX" + colonne[j].nome, Allineamento::Sinistra, true, 0, ""});
  }
  if (righe.empty()) return;

  conIcone_ = false;
  const std::string filtro = MaiuscoloUtf8(testoRicerca);
  for (std::size_t i = 0; i < righe.size(); ++i) {
    const auto& valori = righe[i];
    if (!filtro.empty()) {
      const bool contiene = std::any_of(valori.begin(), valori.end(), [&](const Valore& v) {
        return MaiuscoloUtf8(ValoreComeTesto(v)).find(filtro) != std::string::npos;
      });
      if (!contiene) continue;
    }
    Riga riga;
    riga.origine = i;
    riga.celle.assign(colonne_.size(), std::string());
    std::size_t data = 0;
    for (std::size_t j = 0; j < n && j < valori.size(); ++j) {
      const std::string& nome = colonne[j].nome;
      riga.celle[j + 1] = TestoCella(valori[j], IniziaCon(nome, "Prog"));
      if (IniziaCon(nome, "DACO") && ValeUno(valori[j])) {
        riga.icona = "OK";
        conIcone_ = true;
      }
      if (nome == "ERR" && ValeUno(valori[j])) {
        riga.icona = "ER";
        conIcone_ = true;
      }
      if (IniziaCon(nome, "Data"))
        riga.celle[colonneData_[data++].indiceOrdinamento] = ChiaveData(valori[j]);
    }
    righe_.push_back(std::move(riga));
  }
  testoRicerca.clear();
}

void ListaDati::Dimensiona(const std::function<int(std::string_view)>& misura) {
  // A result without rows keeps its fixed width, widened where a title would not fit in it, and
  // shows no icon column (no row can have an icon).
  const std::size_t misurate = std::min(righe_.size(), kRigheMisurate);
  for (std::size_t c = 0; c < colonne_.size(); ++c) {
    Colonna& col = colonne_[c];
    if (col.ordinamento) continue;
    if (!conRighe_) {
      col.larghezza = c == 0 ? 0 : std::max(kLarghezzaVuota, misura(col.titolo) + kMargine);
    } else if (c == 0) {
      col.larghezza = conIcone_ ? kLarghezzaIcona : 0;
    } else if (Nascosta(col.titolo)) {
      col.larghezza = 0;
    } else {
      int larghezza = misura(col.titolo) + kMargine;
      for (std::size_t r = 0; r < misurate; ++r)
        larghezza = std::max(larghezza, misura(righe_[r].celle[c]) + kMargine);
      col.larghezza = larghezza;
    }
  }
}

bool ListaDati::OrdinaColonna(std::size_t colonna) {
  if (colonna >= colonne_.size()) return false;
  std::size_t chiave = colonna;
  for (const auto& d : colonneData_) {
    if (d.nome == colonne_[colonna].titolo) {
      chiave = d.indiceOrdinamento;
      break;
    }
  }
  std::string& verso = colonne_[colonna].verso;
  const bool discendente = verso != "ZA";
  verso = discendente ? "ZA" : "AZ";

  // Text order, ignoring case, as the list compares its cells; equal keys keep their order.
  std::vector<std::pair<std::string, std::size_t>> chiavi;
  chiavi.reserve(righe_.size());
  for (std::size_t r = 0; r < righe_.size(); ++r)
    chiavi.emplace_back(MaiuscoloUtf8(righe_[r].celle[chiave]), r);
  std::stable_sort(chiavi.begin(), chiavi.end(), [discendente](const auto& a, const auto& b) {
    return discendente ? b.first < a.first : a.first < b.first;
  });
  std::vector<Riga> ordinate;
  ordinate.reserve(righe_.size());
  for (const auto& k : chiavi) ordinate.push_back(std::move(righe_[k.second]));
  righe_ = std::move(ordinate);

  if (colonnaOrdinata_ && *colonnaOrdinata_ != colonna && *colonnaOrdinata_ < colonne_.size())
    colonne_[*colonnaOrdinata_].verso = "0";
  colonnaOrdinata_ = colonna;
  return discendente;
}

std::vector<std::string> ListaDati::LeggiSelezione(
    std::optional<std::size_t> riga, const std::vector<std::string>& nomiColonne) const {
  std::vector<std::string> risultato(nomiColonne.size());
  if (!riga || *riga >= righe_.size()) return risultato;
  for (std::size_t k = 0; k < nomiColonne.size(); ++k) {
    for (std::size_t c = 0; c < colonne_.size(); ++c) {
      if (colonne_[c].titolo == nomiColonne[k]) risultato[k] = righe_[*riga].celle[c];
    }
  }
  return risultato;
}

std::vector<std::size_t> ListaDati::SelezionaRiga(std::string_view valore,
                                                  std::string_view titolo) const {
  std::vector<std::size_t> trovate;
  const auto col = std::find_if(colonne_.begin(), colonne_.end(),
                                [&](const Colonna& c) { return c.titolo == titolo; });
  if (col == colonne_.end()) return trovate;
  const auto c = static_cast<std::size_t>(col - colonne_.begin());
  for (std::size_t r = 0; r < righe_.size(); ++r) {
    if (righe_[r].celle[c] == valore) trovate.push_back(r);
  }
  return trovate;
}

}  // namespace fcl
