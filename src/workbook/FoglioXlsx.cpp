#include "workbook/FoglioXlsx.h"

#include "workbook/ErroriCartella.h"
#include "workbook/TestoXml.h"

namespace fcl {
namespace {

// Days between 30/12/1899 and 01/01/1904, the day 0 of the 1904 date system.
constexpr double kScarto1904 = 1462;

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
  blocco = std::move(pronte_.front());
  pronte_.pop_front();
  return true;
}

void FoglioXlsx::Inizio(std::string_view nome, const Attributi& attributi) {
  const auto locale = Locale(nome);
  if (locale == "row") {
    long long numero = ultimaRiga_ + 1;
    if (const char* r = attributi.Valore("r")) {
      const auto letto = LeggiIntero(r);
      if (!letto || *letto < 1) Danneggiato(std::string("numero di riga non valido: ") + r);
      numero = *letto;
    }
    if (numero > kRigheMassimeFoglio)
      Danneggiato("riga " + std::to_string(numero) + " oltre la riga " +
                  std::to_string(kRigheMassimeFoglio) + ", l'ultima di un foglio");
    inRiga_ = true;
    riga_ = BloccoRighe();
    riga_.inizio = numero;
    ultimaColonna_ = 0;
  } else if (locale == "c" && inRiga_) {
    colonna_ = ultimaColonna_ + 1;
    if (const char* r = attributi.Valore("r")) {
      if (const auto colonna = ColonnaDiRiferimento(r)) colonna_ = *colonna;
    }
    if (colonna_ > kColonneMassimeFoglio)
      Danneggiato("cella oltre la colonna XFD, l'ultima di un foglio");
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
    ChiudiCella();
    ultimaColonna_ = colonna_;
  } else if (locale == "row" && inRiga_) {
    inRiga_ = false;
    ultimaRiga_ = riga_.inizio;
    pronte_.push_back(std::move(riga_));
    Sospendi();
  }
}

void FoglioXlsx::ChiudiCella() {
  if (colonna_ < 1 || colonna_ > kColonneLette) return;
  Cella& cella = riga_.celle[static_cast<std::size_t>(colonna_ - 1)];
  cella = Cella();
  if (tipo_ == "inlineStr" || (haInLinea_ && !haValore_)) {
    cella.tipo = Cella::Tipo::Testo;
    cella.testo = DecodificaEscapeX(inLinea_);
    return;
  }
  if (!haValore_) {
    if (haFormula_) {
      // Written by a program that does not compute formulas: the value is not in the file.
      cella.tipo = Cella::Tipo::Errore;
      cella.testo = "=" + formula_;
    }
    return;
  }
  if (tipo_ == "s") {
    const auto indice = LeggiIntero(valore_);
    if (!indice || *indice < 0 || static_cast<std::size_t>(*indice) >= testi_.Quanti())
      Danneggiato("riferimento a un testo condiviso inesistente: " + valore_);
    cella.tipo = Cella::Tipo::Testo;
    cella.testo = testi_.Testo(static_cast<std::size_t>(*indice));
  } else if (tipo_ == "str") {
    cella.tipo = Cella::Tipo::Testo;
    cella.testo = DecodificaEscapeX(valore_);
  } else if (tipo_ == "b") {
    cella.tipo = Cella::Tipo::Booleano;
    cella.numero = (valore_ == "1" || valore_ == "true") ? 1 : 0;
  } else if (tipo_ == "e") {
    cella.tipo = Cella::Tipo::Errore;
    cella.testo = valore_;
  } else if (tipo_ == "d") {
    if (const auto seriale = SerialeDaIso(valore_)) {
      cella.tipo = Cella::Tipo::Data;
      cella.numero = *seriale;
    } else {
      cella.tipo = Cella::Tipo::Testo;
      cella.testo = valore_;
    }
  } else {
    const auto numero = LeggiDecimale(valore_);
    if (!numero) {
      if (valore_.empty()) return;
      Danneggiato("valore numerico non valido: " + valore_);
    }
    if (stili_.Data(stile_)) {
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
