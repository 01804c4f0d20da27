#include "pdf/FontStandard.h"

#include <cctype>

#include "pdf/LarghezzeFont.h"

namespace fcl {

namespace {

constexpr std::array<std::uint16_t, 256> TabellaCourier() {
  std::array<std::uint16_t, 256> t{};
  for (auto& w : t) w = 600;
  return t;
}
constexpr std::array<std::uint16_t, 256> kCourier = TabellaCourier();

std::string Maiuscolo(std::string_view s) {
  std::string m(s);
  for (char& c : m) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return m;
}

}  // namespace

FontStandard FontStandard::Risolvi(std::string_view nome, long stile, long codifica) {
  std::string senzaSpazi;
  for (const char c : nome)
    if (c != ' ') senzaSpazi.push_back(c);
  const std::string m = Maiuscolo(senzaSpazi);

  enum class Famiglia { Arial, Times, Courier, Symbol, Dingbats };
  Famiglia famiglia = Famiglia::Arial;
  std::string famigliaNome = "Arial";
  std::string risorsa = senzaSpazi;
  if (m == "TIMES" || m == "TIMESNEWROMAN") {
    famiglia = Famiglia::Times;
    risorsa = famigliaNome = "TimesNewRoman";
  } else if (m == "COURIER" || m == "COURIERNEW") {
    famiglia = Famiglia::Courier;
    risorsa = famigliaNome = "CourierNew";
  } else if (m == "HELVETICA" || m == "ARIAL") {
    risorsa = famigliaNome = "Arial";
  } else if (m == "SYMBOL") {
    famiglia = Famiglia::Symbol;
    risorsa = famigliaNome = "Symbol";
  } else if (m == "ZAPFDINGBATS") {
    famiglia = Famiglia::Dingbats;
    risorsa = famigliaNome = "ZapfDingbats";
  }

  const bool grassetto = (stile & 1) != 0, corsivo = (stile & 2) != 0;
  const bool simbolico = famiglia == Famiglia::Symbol || famiglia == Famiglia::Dingbats;
  std::string suffisso;
  if (!simbolico)
    suffisso = grassetto ? (corsivo ? "BoldItalic" : "Bold") : (corsivo ? "Italic" : "");

  FontStandard f;
  f.simbolico = simbolico;
  f.codifica = codifica == 1 ? 1 : 0;
  f.nomeBase = famigliaNome + (suffisso.empty() ? "" : "," + suffisso);
  f.nomeRisorsa =
      (f.codifica == 1 ? "MAC" : "") + risorsa + (suffisso.empty() ? "" : "," + suffisso);
  f.chiave = Maiuscolo(f.nomeRisorsa);
  namespace l = larghezze;
  switch (famiglia) {
    case Famiglia::Arial:
      f.altezza = 1221, f.discesa = -221;
      f.larghezze = grassetto ? (corsivo ? &l::kArialBoldItalic : &l::kArialBold)
                              : (corsivo ? &l::kArialItalic : &l::kArial);
      break;
    case Famiglia::Times:
      f.altezza = 1107, f.discesa = -216;
      f.larghezze = grassetto ? (corsivo ? &l::kTimesBoldItalic : &l::kTimesBold)
                              : (corsivo ? &l::kTimesItalic : &l::kTimes);
      break;
    case Famiglia::Courier:
      f.altezza = 1133, f.discesa = -300;
      f.larghezze = &kCourier;
      break;
    case Famiglia::Symbol:
      f.altezza = 1225, f.discesa = -220;
      f.larghezze = &l::kSymbol;
      break;
    case Famiglia::Dingbats:
      f.altezza = 1221, f.discesa = -221;
      f.larghezze = &l::kZapfDingbats;
      break;
  }
  return f;
}

}  // namespace fcl
