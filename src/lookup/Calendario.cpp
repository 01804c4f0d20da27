#include "lookup/Calendario.h"

#include <algorithm>
#include <chrono>

namespace fcl {

Calendario::Calendario(const Data& oggi)
    : anno_(std::clamp(oggi.anno, kAnnoMinimo, kAnnoMassimo)),
      mese_(std::clamp(oggi.mese, 1, 12)),
      giornoRicordato_(std::clamp(oggi.giorno, 1, 31)) {}

int Calendario::GiorniNelMese() const {
  using namespace std::chrono;
  const year_month_day_last ultimo{year{anno_} / month{static_cast<unsigned>(mese_)} / last};
  return static_cast<int>(static_cast<unsigned>(ultimo.day()));
}

int Calendario::Scostamento() const {
  using namespace std::chrono;
  const weekday primo{sys_days{year{anno_} / month{static_cast<unsigned>(mese_)} / day{1}}};
  return static_cast<int>(primo.iso_encoding()) - 1;  // Monday 1 ... Sunday 7
}

std::array<int, Calendario::kCelle> Calendario::Celle() const {
  std::array<int, kCelle> celle{};
  const int inizio = Scostamento();
  for (int g = 1; g <= GiorniNelMese(); ++g) celle[static_cast<std::size_t>(inizio + g - 1)] = g;
  return celle;
}

std::optional<int> Calendario::GiornoDellaCella(int cella) const {
  if (cella < 0 || cella >= kCelle) return std::nullopt;
  const int g = cella - Scostamento() + 1;
  if (g < 1 || g > GiorniNelMese()) return std::nullopt;
  return g;
}

std::string Calendario::DataDellaCella(int cella) const {
  const auto g = GiornoDellaCella(cella);
  if (!g) return {};
  return Data{anno_, mese_, *g}.Testo();
}

int Calendario::CellaCornice() const { return Scostamento() + giornoRicordato_ - 1; }

void Calendario::ImpostaAnno(int anno) { anno_ = std::clamp(anno, kAnnoMinimo, kAnnoMassimo); }

void Calendario::ImpostaMese(int mese) { mese_ = std::clamp(mese, 1, 12); }

void Calendario::MeseSuccessivo() {
  if (mese_ < 12) {
    ++mese_;
  } else if (anno_ < kAnnoMassimo) {
    mese_ = 1;
    ++anno_;
  }
}

void Calendario::MesePrecedente() {
  if (mese_ > 1) {
    --mese_;
  } else if (anno_ > kAnnoMinimo) {
    mese_ = 12;
    --anno_;
  }
}

const std::array<std::string_view, 12>& Calendario::NomiMesi() {
  static constexpr std::array<std::string_view, 12> kNomi = {
      "Gennaio", "Febbraio", "Marzo",     "Aprile",  "Maggio",   "Giugno",
      "Luglio",  "Agosto",   "Settembre", "Ottobre", "Novembre", "Dicembre"};
  return kNomi;
}

}  // namespace fcl
