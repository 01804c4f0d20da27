#include "workbook/ContenutoOds.h"

#include <algorithm>

#include "workbook/ErroriCartella.h"
#include "workbook/TestoXml.h"

namespace fcl {
namespace {

constexpr std::string_view kOffice = "urn:oasis:names:tc:opendocument:xmlns:office:1.0|";
constexpr std::string_view kTable = "urn:oasis:names:tc:opendocument:xmlns:table:1.0|";
constexpr std::string_view kText = "urn:oasis:names:tc:opendocument:xmlns:text:1.0|";
constexpr std::string_view kDraw = "urn:oasis:names:tc:opendocument:xmlns:drawing:1.0|";
constexpr std::string_view kCalcext =
    "urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0|";

// Counts far beyond any sheet are cut, so sums cannot overflow.
constexpr long long kRipetizioniMassime = 1ll << 32;

bool E(std::string_view nome, std::string_view spazio, std::string_view locale) {
  return nome.size() == spazio.size() + locale.size() && nome.substr(0, spazio.size()) == spazio &&
         nome.substr(spazio.size()) == locale;
}

std::string Attributo(const AnalizzatoreXml::Attributi& attributi, std::string_view spazio,
                      std::string_view locale, bool* presente = nullptr) {
  const std::string nome = std::string(spazio) + std::string(locale);
  const char* v = attributi.Valore(nome);
  if (presente) *presente = v != nullptr;
  return v ? v : "";
}

long long Ripetizioni(const AnalizzatoreXml::Attributi& attributi, std::string_view locale) {
  bool presente = false;
  const std::string v = Attributo(attributi, kTable, locale, &presente);
  if (!presente) return 1;
  const auto n = LeggiIntero(v);
  if (!n || *n < 1) return 1;
  return std::min(*n, kRipetizioniMassime);
}

}  // namespace

bool ContenutoOds::Prossimo(Evento& evento) {
  while (pronti_.empty()) {
    if (!Avanza()) break;
  }
  if (pronti_.empty()) return false;
  evento = std::move(pronti_.front());
  pronti_.pop_front();
  return true;
}

void ContenutoOds::Inizio(std::string_view nome, const Attributi& attributi) {
  if (inCella_) {
    // Annotations, drawings and tables nested in a cell hold no part of the cell's value.
    if (escluso_ > 0 || E(nome, kOffice, "annotation") || E(nome, kTable, "table") ||
        nome.substr(0, kDraw.size()) == kDraw) {
      ++escluso_;
      return;
    }
    if (E(nome, kText, "p") || E(nome, kText, "h")) {
      if (inParagrafo_ == 0 && paragrafi_++ > 0) Aggiungi("\n");
      ++inParagrafo_;
      haTesto_ = true;
    } else if (inParagrafo_ > 0 && E(nome, kText, "s")) {
      bool presente = false;
      const auto c = LeggiIntero(Attributo(attributi, kText, "c", &presente));
      const long long spazi = presente && c ? std::clamp(*c, 0ll, 1000ll) : 1;
      Aggiungi(std::string(static_cast<std::size_t>(spazi), ' '));
    } else if (inParagrafo_ > 0 && E(nome, kText, "tab")) {
      Aggiungi("\t");
    } else if (inParagrafo_ > 0 && E(nome, kText, "line-break")) {
      Aggiungi("\n");
    }
    return;
  }
  if (E(nome, kTable, "table")) {
    if (++profonditaTabelle_ == 1) {
      Evento evento;
      evento.tipo = Evento::Tipo::InizioFoglio;
      evento.nome = Attributo(attributi, kTable, "name");
      if (errori_cartella::Caratteri(evento.nome) > errori_cartella::kLunghezzaNomeFoglio)
        OltreILimiti("il nome di un foglio supera i " +
                     std::to_string(errori_cartella::kLunghezzaNomeFoglio) + " caratteri");
      pronti_.push_back(std::move(evento));
      prossimaRiga_ = 1;
      Sospendi();
    }
    return;
  }
  if (profonditaTabelle_ != 1) return;
  if (E(nome, kTable, "table-row")) {
    inRiga_ = true;
    riga_ = BloccoRighe();
    riga_.inizio = prossimaRiga_;
    riga_.quante = Ripetizioni(attributi, "number-rows-repeated");
    rigaPiena_ = false;
    prossimaColonna_ = 1;
  } else if (inRiga_ && (E(nome, kTable, "table-cell") || E(nome, kTable, "covered-table-cell"))) {
    inCella_ = true;
    coperta_ = E(nome, kTable, "covered-table-cell");
    ripetizioniColonna_ = Ripetizioni(attributi, "number-columns-repeated");
    errore_ = Attributo(attributi, kCalcext, "value-type") == "error";
    tipoValore_ = Attributo(attributi, kOffice, "value-type");
    haValore_ = false;
    if (tipoValore_ == "float" || tipoValore_ == "percentage" || tipoValore_ == "currency") {
      valore_ = Attributo(attributi, kOffice, "value", &haValore_);
    } else if (tipoValore_ == "date") {
      valore_ = Attributo(attributi, kOffice, "date-value", &haValore_);
    } else if (tipoValore_ == "time") {
      valore_ = Attributo(attributi, kOffice, "time-value", &haValore_);
    } else if (tipoValore_ == "boolean") {
      valore_ = Attributo(attributi, kOffice, "boolean-value", &haValore_);
    } else if (tipoValore_ == "string") {
      valore_ = Attributo(attributi, kOffice, "string-value", &haValore_);
    } else {
      valore_.clear();
    }
    testo_.clear();
    haTesto_ = false;
    paragrafi_ = 0;
    inParagrafo_ = 0;
    escluso_ = 0;
  }
}

void ContenutoOds::Aggiungi(std::string_view testo) {
  if (testo_.size() + testo.size() > errori_cartella::kLimiteTestoCella)
    Danneggiato("il testo di una cella supera la lunghezza massima");
  testo_ += testo;
}

void ContenutoOds::Caratteri(std::string_view testo) {
  if (inCella_ && escluso_ == 0 && inParagrafo_ > 0) Aggiungi(testo);
}

void ContenutoOds::Fine(std::string_view nome) {
  if (inCella_) {
    if (escluso_ > 0) {
      --escluso_;
      return;
    }
    if (E(nome, kText, "p") || E(nome, kText, "h")) {
      if (inParagrafo_ > 0) --inParagrafo_;
      return;
    }
    if (E(nome, kTable, "table-cell") || E(nome, kTable, "covered-table-cell")) {
      ChiudiCella();
      inCella_ = false;
    }
    return;
  }
  if (E(nome, kTable, "table")) {
    if (--profonditaTabelle_ == 0) {
      Evento evento;
      evento.tipo = Evento::Tipo::FineFoglio;
      pronti_.push_back(std::move(evento));
      Sospendi();
    }
    return;
  }
  if (profonditaTabelle_ == 1 && inRiga_ && E(nome, kTable, "table-row")) {
    inRiga_ = false;
    // Empty rows past the end of a sheet are cut there; data there is damage (a run of rows
    // repeated billions of times would otherwise be walked row by row).
    if (riga_.Fine() > kRigheMassimeFoglio) {
      if (rigaPiena_)
        Danneggiato("righe non vuote oltre la riga " + std::to_string(kRigheMassimeFoglio) +
                    ", l'ultima di un foglio");
      riga_.quante = kRigheMassimeFoglio + 1ll - riga_.inizio;
    }
    prossimaRiga_ = riga_.inizio + riga_.quante;
    if (riga_.quante < 1) return;
    Evento evento;
    evento.righe = std::move(riga_);
    pronti_.push_back(std::move(evento));
    Sospendi();
  }
}

void ContenutoOds::ChiudiCella() {
  const long long prima = prossimaColonna_;
  prossimaColonna_ = std::min(prossimaColonna_ + ripetizioniColonna_, kRipetizioniMassime);
  if (coperta_) return;
  const bool piena = errore_ || !tipoValore_.empty() || (haTesto_ && !testo_.empty());
  if (piena) {
    rigaPiena_ = true;
    if (prossimaColonna_ - 1 > kColonneMassimeFoglio)
      Danneggiato("celle non vuote oltre la colonna " + std::to_string(kColonneMassimeFoglio) +
                  ", l'ultima di un foglio");
  }
  if (prima > kColonneLette) return;

  Cella cella;
  if (errore_) {
    cella.tipo = Cella::Tipo::Errore;
    cella.testo = testo_;
  } else if (tipoValore_ == "float" || tipoValore_ == "percentage" || tipoValore_ == "currency") {
    const auto numero = haValore_ ? LeggiDecimale(valore_) : std::nullopt;
    if (!numero) Danneggiato("valore numerico non valido: " + valore_);
    cella.tipo = Cella::Tipo::Numero;
    cella.numero = *numero;
  } else if (tipoValore_ == "date" || tipoValore_ == "time") {
    const auto seriale = !haValore_              ? std::nullopt
                         : tipoValore_ == "date" ? SerialeDaIso(valore_)
                                                 : FrazioneDaDurata(valore_);
    if (seriale) {
      cella.tipo = Cella::Tipo::Data;
      cella.numero = *seriale;
    } else {
      cella.tipo = Cella::Tipo::Testo;
      cella.testo = haValore_ ? valore_ : testo_;
    }
  } else if (tipoValore_ == "boolean") {
    cella.tipo = Cella::Tipo::Booleano;
    cella.numero = (valore_ == "true" || valore_ == "1") ? 1 : 0;
  } else if (tipoValore_ == "string") {
    cella.tipo = Cella::Tipo::Testo;
    cella.testo = haValore_ ? valore_ : testo_;
  } else if (haTesto_ && !testo_.empty()) {
    // Text typed in the cell, or a formula written without a value type: its result is the text
    // shown (a formula giving "" is written so, and reads empty). Error values carry their own
    // type above.
    cella.tipo = Cella::Tipo::Testo;
    cella.testo = testo_;
  }
  const long long ultima = std::min<long long>(prossimaColonna_ - 1, kColonneLette);
  for (long long c = prima; c <= ultima; ++c) riga_.celle[static_cast<std::size_t>(c - 1)] = cella;
}

}  // namespace fcl
