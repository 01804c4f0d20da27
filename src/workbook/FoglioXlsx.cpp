#include "workbook/FoglioXlsx.h"

#include <utility>

#include "workbook/ErroriCartella.h"
#include "workbook/TestoXml.h"

namespace fcl {
namespace {

// Days between 30/12/1899 and 01/01/1904, the day 0 of the 1904 date system.
constexpr double kScarto1904 = 1462;

std::optional<std::string_view> Opzionale(const char* valore) {
  if (valore == nullptr) return std::nullopt;
  return std::string_view(valore);
}

}  // namespace

FoglioXlsx::FoglioXlsx(std::unique_ptr<VoceZip> parte, const TestiCondivisi& testi,
                       const StiliXlsx& stili, bool data1904)
    : AnalizzatoreXml(std::move(parte)), testi_(testi), stili_(stili), data1904_(data1904) {
  ScansioneDiretta("sheetData", "row");
}

bool FoglioXlsx::Prossimo(BloccoRighe& blocco) {
  while (pronte_.empty()) {
    if (!Avanza()) break;
  }
  if (pronte_.empty()) return false;
  std::swap(blocco, pronte_.front());
  riserva_ = std::move(pronte_.front());  // the caller's old row, to be filled again
  pronte_.pop_front();
  return true;
}

void FoglioXlsx::ApriRiga(std::optional<std::string_view> r) {
  long long numero = ultimaRiga_ + 1;
  if (r) {
    const auto letto = LeggiIntero(*r);
    if (!letto || *letto < 1) Danneggiato("numero di riga non valido: " + std::string(*r));
    numero = *letto;
  }
  if (numero > kRigheMassimeFoglio)
    Danneggiato("riga " + std::to_string(numero) + " oltre la riga " +
                std::to_string(kRigheMassimeFoglio) + ", l'ultima di un foglio");
  inRiga_ = true;
  if (riserva_.celle.size() == kColonneLette) {
    riga_ = std::move(riserva_);
    riga_.quante = 1;
    for (Cella& c : riga_.celle) {
      c.tipo = Cella::Tipo::Vuota;
      c.numero = 0;
      if (c.testo.capacity() > 256)
        c.testo = std::string();  // a long text's room is not kept for the next rows
      else
        c.testo.clear();
    }
  } else {
    riga_ = BloccoRighe();
  }
  riga_.inizio = numero;
  ultimaColonna_ = 0;
}

long long FoglioXlsx::ColonnaCella(std::optional<std::string_view> r) const {
  long long colonna = ultimaColonna_ + 1;
  if (r) {
    if (const auto letta = ColonnaDiRiferimento(*r)) colonna = *letta;
  }
  if (colonna > kColonneMassimeFoglio)
    Danneggiato("cella oltre la colonna XFD, l'ultima di un foglio");
  return colonna;
}

void FoglioXlsx::ChiudiRiga() {
  inRiga_ = false;
  ultimaRiga_ = riga_.inizio;
  pronte_.push_back(std::move(riga_));
  Sospendi();
}

void FoglioXlsx::Inizio(std::string_view nome, const Attributi& attributi) {
  const auto locale = Locale(nome);
  if (locale == "row") {
    ApriRiga(Opzionale(attributi.Valore("r")));
  } else if (locale == "c" && inRiga_) {
    colonna_ = ColonnaCella(Opzionale(attributi.Valore("r")));
    const char* t = attributi.Valore("t");
    tipo_ = t ? t : "n";
    const char* s = attributi.Valore("s");
    stile_ = s ? LeggiIntero(s).value_or(0) : 0;
    valore_.clear();
    inLinea_.clear();
    formula_.clear();
    haValore_ = haInLinea_ = haFormula_ = false;
    inInLinea_ = false;
    inFonetica_ = 0;
    dove_ = Dove::Altro;
  } else if (locale == "v") {
    dove_ = Dove::Valore;
    haValore_ = true;
  } else if (locale == "f") {
    dove_ = Dove::Formula;
    haFormula_ = true;
  } else if (locale == "is") {
    inInLinea_ = true;
    haInLinea_ = true;
  } else if (locale == "rPh") {
    ++inFonetica_;
  } else if (locale == "t" && inInLinea_ && inFonetica_ == 0) {
    dove_ = Dove::TestoInLinea;
  }
}

// The rows most files have: cells with a value, a formula and its value, or an inline string of
// one text, attributes without references. Anything else goes to the scanner of events.
std::size_t FoglioXlsx::RigaDiretta(std::string_view b, std::size_t pos, std::size_t& linee) {
  Cursore x(*this, b, pos);
  std::string_view nome;
  bool vuoto = false;
  if (!x.Apertura(nome, vuoto) || nome != "row") return 0;
  ApriRiga(x.Valore("r"));
  while (!vuoto) {
    const auto fineRiga = x.Fine("row");
    if (!fineRiga) return 0;
    if (*fineRiga) break;
    bool cellaVuota = false;
    if (!x.Apertura(nome, cellaVuota) || nome != "c") return 0;
    const long long colonna = ColonnaCella(x.Valore("r"));
    ContenutoCella cella;
    if (const auto t = x.Valore("t")) cella.tipo = *t;
    if (const auto s = x.Valore("s")) cella.stile = LeggiIntero(*s).value_or(0);
    while (!cellaVuota) {
      const auto fineCella = x.Fine("c");
      if (!fineCella) return 0;
      if (*fineCella) break;
      bool figlioVuoto = false;
      if (!x.Apertura(nome, figlioVuoto)) return 0;
      std::string_view testo;
      if (nome == "v" && !cella.haValore) {
        cella.haValore = true;
        if (!figlioVuoto && !(x.Testo(testo) && x.Chiusura("v"))) return 0;
        cella.valore = testo;
      } else if (nome == "f" && !cella.haFormula) {
        cella.haFormula = true;
        if (!figlioVuoto && !(x.Testo(testo) && x.Chiusura("f"))) return 0;
        cella.formula = testo;
      } else if (nome == "is" && !cella.haInLinea) {
        cella.haInLinea = true;
        if (figlioVuoto) continue;
        x.Spazi();
        bool testoVuoto = false;
        if (x.Apertura(nome, testoVuoto)) {
          if (nome != "t") return 0;
          if (!testoVuoto && !(x.Testo(testo) && x.Chiusura("t"))) return 0;
          cella.inLinea = testo;
          x.Spazi();
        }
        if (!x.Chiusura("is")) return 0;
      } else {
        return 0;
      }
      if (testo.size() > errori_cartella::kLimiteTestoCella) return 0;
    }
    ChiudiCella(colonna, cella);
    ultimaColonna_ = colonna;
  }
  ChiudiRiga();
  linee = x.Linee();
  return x.Posizione();
}

void FoglioXlsx::Caratteri(std::string_view testo) {
  std::string* destinazione = nullptr;
  switch (dove_) {
    case Dove::Valore:
      destinazione = &valore_;
      break;
    case Dove::TestoInLinea:
      destinazione = &inLinea_;
      break;
    case Dove::Formula:
      destinazione = &formula_;
      break;
    case Dove::Altro:
      return;
  }
  if (destinazione->size() + testo.size() > errori_cartella::kLimiteTestoCella)
    Danneggiato("il testo di una cella supera la lunghezza massima");
  *destinazione += testo;
}

void FoglioXlsx::Fine(std::string_view nome) {
  const auto locale = Locale(nome);
  if (locale == "v" || locale == "f" || locale == "t") {
    dove_ = Dove::Altro;
  } else if (locale == "rPh") {
    if (inFonetica_ > 0) --inFonetica_;
  } else if (locale == "is") {
    inInLinea_ = false;
  } else if (locale == "c" && inRiga_) {
    ChiudiCella(colonna_,
                {tipo_, stile_, valore_, inLinea_, formula_, haValore_, haInLinea_, haFormula_});
    ultimaColonna_ = colonna_;
  } else if (locale == "row" && inRiga_) {
    ChiudiRiga();
  }
}

void FoglioXlsx::ChiudiCella(long long colonna, const ContenutoCella& c) {
  if (colonna < 1 || colonna > kColonneLette) return;
  Cella& cella = riga_.celle[static_cast<std::size_t>(colonna - 1)];
  cella = Cella();
  if (c.tipo == "inlineStr" || (c.haInLinea && !c.haValore)) {
    cella.tipo = Cella::Tipo::Testo;
    cella.testo = DecodificaEscapeX(c.inLinea);
    return;
  }
  if (!c.haValore) {
    if (c.haFormula) {
      // Written by a program that does not compute formulas: the value is not in the file.
      cella.tipo = Cella::Tipo::Errore;
      cella.testo = "=" + std::string(c.formula);
    }
    return;
  }
  if (c.tipo == "s") {
    const auto indice = LeggiIntero(c.valore);
    if (!indice || *indice < 0 || static_cast<std::size_t>(*indice) >= testi_.Quanti())
      Danneggiato("riferimento a un testo condiviso inesistente: " + std::string(c.valore));
    cella.tipo = Cella::Tipo::Testo;
    cella.testo = testi_.Testo(static_cast<std::size_t>(*indice));
  } else if (c.tipo == "str") {
    cella.tipo = Cella::Tipo::Testo;
    cella.testo = DecodificaEscapeX(c.valore);
  } else if (c.tipo == "b") {
    cella.tipo = Cella::Tipo::Booleano;
    cella.numero = (c.valore == "1" || c.valore == "true") ? 1 : 0;
  } else if (c.tipo == "e") {
    cella.tipo = Cella::Tipo::Errore;
    cella.testo = c.valore;
  } else if (c.tipo == "d") {
    if (const auto seriale = SerialeDaIso(c.valore)) {
      cella.tipo = Cella::Tipo::Data;
      cella.numero = *seriale;
    } else {
      cella.tipo = Cella::Tipo::Testo;
      cella.testo = c.valore;
    }
  } else {
    const auto numero = LeggiDecimale(c.valore);
    if (!numero) {
      if (c.valore.empty()) return;
      Danneggiato("valore numerico non valido: " + std::string(c.valore));
    }
    if (stili_.Data(c.stile)) {
      cella.tipo = Cella::Tipo::Data;
      // A time alone (a fraction of a day) is the same in both date systems.
      const bool soloOra = *numero > 0 && *numero < 1;
      cella.numero = data1904_ && !soloOra ? *numero + kScarto1904 : *numero;
    } else {
      cella.tipo = Cella::Tipo::Numero;
      cella.numero = *numero;
    }
  }
}

}  // namespace fcl
