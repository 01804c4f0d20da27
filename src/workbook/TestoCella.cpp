// The one conversion of a cell to the text the run works on.
#include <cmath>
#include <cstdio>

#include "common/FormatoItaliano.h"
#include "common/Valore.h"
#include "workbook/LettoreCartella.h"

namespace fcl {
namespace {

// The serial of 31/12/9999, the last day a spreadsheet shows.
constexpr double kUltimoSeriale = 2958465;

std::string Ora(double frazione) {
  int secondi = static_cast<int>(std::lround(frazione * 86400.0));
  if (secondi >= 86400) secondi = 86399;
  if (secondi < 0) secondi = 0;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", secondi / 3600, secondi / 60 % 60, secondi % 60);
  return buf;
}

}  // namespace

std::string TestoCella(const Cella& cella) {
  switch (cella.tipo) {
    case Cella::Tipo::Vuota:
      return {};
    case Cella::Tipo::Numero:
      return NumeroItaliano(cella.numero);
    case Cella::Tipo::Data: {
      const double seriale = cella.numero;
      if (!std::isfinite(seriale) || seriale < 0 || seriale >= kUltimoSeriale + 1)
        return NumeroItaliano(seriale);
      // A time alone (a serial below one day) is shown as the time; a date with a time as the
      // date alone, so that date columns always get dd/mm/yyyy.
      if (seriale < 1 && seriale > 0) return Ora(seriale);
      // A time a hair short of midnight, from rounding, belongs to the next day.
      const double giorno = std::floor(seriale + 0.5 / 86400.0);
      return Data::DaSeriale(static_cast<long long>(giorno)).Testo();
    }
    case Cella::Tipo::Testo:
    case Cella::Tipo::Errore:
      return cella.testo;
    case Cella::Tipo::Booleano:
      return cella.numero != 0 ? "VERO" : "FALSO";
  }
  return {};
}

}  // namespace fcl
