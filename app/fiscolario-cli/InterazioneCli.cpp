#include "InterazioneCli.h"

#include <string>

namespace fcl {
namespace {

// Message texts break lines with CR LF or a bare CR, as message boxes take them; a terminal wants
// LF.
std::string Righe(std::string_view testo) {
  std::string out;
  out.reserve(testo.size());
  for (std::size_t i = 0; i < testo.size(); ++i) {
    if (testo[i] == '\r') {
      out += '\n';
      if (i + 1 < testo.size() && testo[i + 1] == '\n') ++i;
    } else {
      out += testo[i];
    }
  }
  return out;
}

}  // namespace

void InterazioneCli::Messaggio(std::string_view testo, std::string_view titolo, Icona) {
  ChiudiAvanzamento();
  if (!titolo.empty() && titolo != kTitoloApplicazione) err_ << titolo << ": ";
  err_ << Righe(testo) << '\n';
}

Risposta InterazioneCli::Chiedi(std::string_view testo, std::string_view titolo, Pulsanti pulsanti,
                                Icona, Risposta) {
  ChiudiAvanzamento();
  Risposta r = rispostaDomande;
  if (pulsanti == Pulsanti::Ok || pulsanti == Pulsanti::OkAnnulla)
    r = r == Risposta::Si ? Risposta::Ok : Risposta::Annulla;
  if (r == Risposta::No || r == Risposta::Annulla) domandaRifiutata = true;
  if (!titolo.empty() && titolo != kTitoloApplicazione) err_ << titolo << ": ";
  err_ << Righe(testo) << (r == Risposta::Si || r == Risposta::Ok ? " [Sì]" : " [No]") << '\n';
  return r;
}

std::optional<std::filesystem::path> InterazioneCli::ScegliFileDaAprire(
    std::string_view, std::string_view, const std::filesystem::path&) {
  if (file.empty()) return std::nullopt;
  auto f = file.front();
  file.pop_front();
  return f;
}

std::optional<std::filesystem::path> InterazioneCli::ScegliFileDaSalvare(
    std::string_view, std::string_view, const std::filesystem::path& cartella,
    std::string_view nome) {
  if (file.empty()) return cartella / std::string(nome);
  auto f = file.front();
  file.pop_front();
  return f;
}

void InterazioneCli::Avanzamento(std::string_view didascalia, long long valore, long long massimo) {
  if (!terminale_) return;
  // An empty caption ends the step: its line is wiped.
  if (didascalia.empty()) {
    if (rigaAvanzamento_) err_ << "\r\x1b[K" << std::flush;
    rigaAvanzamento_ = false;
    ultimoValore_ = -1;
    didascalia_.clear();
    return;
  }
  // Repainted on a new caption, at the end, every 1000 units or, with a known maximum, every
  // percent, so that the terminal does not slow the run.
  const bool ridisegna = didascalia != didascalia_ || ultimoValore_ < 0 || valore < ultimoValore_ ||
                         valore == massimo ||
                         (massimo > 0 ? valore * 100 / massimo != ultimoValore_ * 100 / massimo
                                      : valore - ultimoValore_ >= 1000);
  if (!ridisegna) return;
  ultimoValore_ = valore;
  didascalia_ = std::string(didascalia);
  err_ << '\r' << didascalia << ' ' << valore;
  if (massimo > 0) err_ << '/' << massimo;
  if (pagine) {
    const long n = pagine();
    if (n > 0) err_ << " - pagine " << n;
  }
  err_ << "\x1b[K" << std::flush;
  rigaAvanzamento_ = true;
}

void InterazioneCli::Avviso(std::string_view testo) {
  ChiudiAvanzamento();
  err_ << testo << '\n';
}

void InterazioneCli::ChiudiAvanzamento() {
  if (rigaAvanzamento_) err_ << '\n';
  rigaAvanzamento_ = false;
  ultimoValore_ = -1;
  didascalia_.clear();
}

}  // namespace fcl
