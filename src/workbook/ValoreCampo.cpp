#include "workbook/ValoreCampo.h"

#include <optional>

#include "common/Cp1252.h"
#include "common/FormatoItaliano.h"
#include "common/RoutineCampi.h"

namespace fcl {
namespace {

using Problema = ValoreCampo::Problema;

constexpr std::size_t kLarghezzaValore = 16;
constexpr std::size_t kCifreCodiceStato = 3;

ValoreCampo Scritto(std::string v) { return {std::move(v), Problema::Nessuno}; }
ValoreCampo Rifiutato(Problema p) { return {{}, p}; }
ValoreCampo NonScritto() { return {}; }

// The digits before the decimal comma of a number text, without sign and thousands dots
// ("-1.234,5" -> "1234"; ",5" -> "0").
std::string ParteIntera(std::string_view numero) {
  std::string cifre;
  for (const char c : numero) {
    if (c == ',') break;
    if (c >= '0' && c <= '9') cifre += c;
  }
  return cifre.empty() ? std::string("0") : cifre;
}

struct Importo {
  double numero;
  std::string intero;
};

std::optional<Importo> LeggiImporto(std::string_view testo) {
  const auto n = LeggiNumeroItaliano(testo);
  if (!n) return std::nullopt;
  return Importo{*n, ParteIntera(testo)};
}

// An amount as a number cell gives it ("1234", "1234,56"): digits, a comma, at most 15 decimals.
// Its whole part is the field and it is never negative, as the general reading below finds too.
std::optional<ValoreCampo> AmmontareSemplice(std::string_view testo, bool soloPositivo) {
  std::size_t i = 0;
  bool diversoDaZero = false;
  while (i < testo.size() && testo[i] >= '0' && testo[i] <= '9') diversoDaZero |= testo[i++] != '0';
  const std::size_t intere = i;
  if (intere == 0 || intere > kLarghezzaValore) return std::nullopt;
  if (i < testo.size()) {
    if (testo[i++] != ',') return std::nullopt;
    const std::size_t inizioDecimali = i;
    while (i < testo.size() && testo[i] >= '0' && testo[i] <= '9')
      diversoDaZero |= testo[i++] != '0';
    if (i != testo.size() || i - inizioDecimali > 15) return std::nullopt;
  }
  if (soloPositivo && !diversoDaZero) return NonScritto();
  std::string campo(kLarghezzaValore - intere, ' ');
  campo.append(testo.substr(0, intere));
  return Scritto(std::move(campo));
}

ValoreCampo Ammontare(std::string_view testo, bool soloPositivo) {
  if (auto semplice = AmmontareSemplice(testo, soloPositivo)) return std::move(*semplice);
  const auto imp = LeggiImporto(testo);
  if (!imp) return Rifiutato(Problema::NonNumerico);
  if (soloPositivo && imp->numero <= 0) return NonScritto();
  if (imp->numero < 0) return Rifiutato(Problema::Negativo);
  if (imp->intero.size() > kLarghezzaValore) return Rifiutato(Problema::TroppoLungo);
  return Scritto(AllineaDestra(imp->intero, kLarghezzaValore, ' '));
}

ValoreCampo PartitaIva(std::string_view testo, bool zeri) {
  std::string pi = PrimiCaratteriUtf8(testo, 11);
  if (zeri) pi = AllineaDestra(pi, 11, '0');
  return Scritto(pi + "     ");
}

}  // namespace

ValoreCampo CalcolaValore(ClasseValore classe, std::string& cella, bool zeri) {
  switch (classe) {
    case ClasseValore::PI:
      return PartitaIva(cella, zeri);
    case ClasseValore::PISenzaZeri:
      return PartitaIva(cella, false);
    case ClasseValore::CF11:
      if (zeri && LunghezzaUtf8(cella) < 11) cella = AllineaDestra(cella, 11, '0');
      return Scritto(PrimiCaratteriUtf8(cella, 16));
    case ClasseValore::CF:
      return Scritto(PrimiCaratteriUtf8(cella, 16));
    case ClasseValore::TX:
      return Scritto(cella);
    case ClasseValore::NU:
      return Ammontare(cella, false);
    case ClasseValore::NUPositivo:
      return Ammontare(cella, true);
    case ClasseValore::CB:
      // A flag is a box: whatever mark the user typed ("X", "SI", "1"), the box is ticked.
      return Scritto(std::string(15, ' ') + "1");
    case ClasseValore::CBTesto:
      return Scritto(std::string(15, ' ') + cella);
    case ClasseValore::DT: {
      const auto data = DataGGMMAAAA(cella);
      if (!data) return Rifiutato(Problema::Data);
      return Scritto(std::string(8, ' ') + *data);
    }
    case ClasseValore::CC: {
      const auto imp = LeggiImporto(cella);
      if (!imp) return Rifiutato(Problema::NonNumerico);
      if (imp->numero < 0) return Rifiutato(Problema::Negativo);
      if (imp->intero.size() > kCifreCodiceStato) return Rifiutato(Problema::TroppoLungo);
      if (zeri) cella = AllineaDestra(imp->intero, kCifreCodiceStato, '0');
      return Scritto(AllineaDestra(zeri ? cella : imp->intero, kLarghezzaValore, ' '));
    }
  }
  return NonScritto();
}

}  // namespace fcl
