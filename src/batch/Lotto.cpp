#include "batch/Lotto.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <thread>

#include "common/Cp1252.h"
#include "common/RoutineCampi.h"
#include "common/ScritturaAtomica.h"
#include "store/Csv.h"

namespace fcl {

Lotto::Lotto(const Contesto& base, std::vector<RigaElenco> righe, OpzioniLotto opzioni)
    : base_(base),
      righe_(std::move(righe)),
      opzioni_(std::move(opzioni)),
      esiti_(righe_.size()),
      partenza_(righe_.size()) {
  // Rows whose operator came earlier in the list would write over its folder: they are not run.
  std::map<std::string, std::size_t> visti;
  for (std::size_t i = 0; i < righe_.size(); ++i) {
    EsitoRiga& e = esiti_[i];
    e.codiceFiscale = MaiuscoloUtf8(Rifila(righe_[i].codiceFiscale));
    if (e.codiceFiscale.empty()) continue;
    const auto [it, nuovo] = visti.emplace(e.codiceFiscale, i);
    if (!nuovo) {
      e.stato = StatoRiga::NonCreata;
      e.messaggio = "Il codice fiscale " + e.codiceFiscale + " è già alla riga " +
                    std::to_string(righe_[it->second].riga) +
                    " dell'elenco: la riga non è stata elaborata.";
    }
  }
}

std::vector<EsitoRiga> Lotto::Esiti() const {
  std::lock_guard lock(mutex_);
  return esiti_;
}

Lotto::Conteggio Lotto::Conta() const {
  std::lock_guard lock(mutex_);
  Conteggio c;
  for (const EsitoRiga& e : esiti_) {
    if (e.stato == StatoRiga::InAttesa)
      ++c.inAttesa;
    else if (e.stato == StatoRiga::InCorso)
      ++c.inCorso;
    else
      ++c.finite;
  }
  const auto ora = std::chrono::steady_clock::now();
  c.trascorso = inizio_ == std::chrono::steady_clock::time_point{}
                    ? std::chrono::steady_clock::duration{}
                    : ora - inizio_;
  if (durateContate_ > 0) {
    // The rows left, and the running ones less the time they have already taken, shared out among
    // the processes.
    const auto media = sommaDurate_ / static_cast<long>(durateContate_);
    auto lavoro = media * static_cast<long>(c.inAttesa);
    for (std::size_t i = 0; i < esiti_.size(); ++i)
      if (esiti_[i].stato == StatoRiga::InCorso) {
        const auto fatto = ora - partenza_[i];
        if (fatto < media) lavoro += media - fatto;
      }
    const long processi = std::max(1, opzioni_.processi);
    c.restante = lavoro / processi;
  }
  return c;
}

void Lotto::Aggiorna(std::size_t indice, const EsitoRiga& esito) {
  std::lock_guard lock(mutex_);
  esiti_[indice] = esito;
  if (esito.stato == StatoRiga::InCorso) {
    partenza_[indice] = std::chrono::steady_clock::now();
  } else if (partenza_[indice] != std::chrono::steady_clock::time_point{}) {
    sommaDurate_ += std::chrono::steady_clock::now() - partenza_[indice];
    ++durateContate_;
  }
  if (alCambio) alCambio(indice, esito);
}

void Lotto::Lavora(std::size_t indiceProcesso) {
  const std::filesystem::path intermedio =
      cartellaIntermedi_ / ("FCLtemp-" + std::to_string(indiceProcesso + 1) + ".TXT");
  for (;;) {
    std::size_t i = 0;
    {
      std::lock_guard lock(mutex_);
      while (prossima_ < righe_.size() && esiti_[prossima_].stato != StatoRiga::InAttesa)
        ++prossima_;
      if (stop_.fermaRighe || prossima_ >= righe_.size()) return;
      i = prossima_++;
    }
    EsitoRiga inCorso;
    inCorso.stato = StatoRiga::InCorso;
    inCorso.codiceFiscale = MaiuscoloUtf8(Rifila(righe_[i].codiceFiscale));
    Aggiorna(i, inCorso);
    const EsitoRiga esito = EseguiRigaLotto(base_, righe_[i], opzioni_, intermedio, stop_);
    Aggiorna(i, esito);
  }
}

void Lotto::Esegui() {
  {
    std::lock_guard lock(mutex_);
    inizio_ = std::chrono::steady_clock::now();
  }
  std::error_code ec;
  std::filesystem::create_directories(opzioni_.uscita, ec);
  if (ec)
    throw ErroreFile("Impossibile creare la cartella " + opzioni_.uscita.string() + ": " +
                     ec.message());
  std::string modello = (opzioni_.uscita / ".lotto-XXXXXX").string();
  if (::mkdtemp(modello.data()) == nullptr)
    throw ErroreFile("Impossibile creare una cartella di lavoro in " + opzioni_.uscita.string());
  cartellaIntermedi_ = modello;

  const std::size_t processi =
      std::min<std::size_t>(static_cast<std::size_t>(std::max(1, opzioni_.processi)),
                            std::max<std::size_t>(1, righe_.size()));
  {
    std::vector<std::jthread> fili;
    for (std::size_t p = 0; p < processi; ++p) fili.emplace_back([this, p] { Lavora(p); });
  }
  std::filesystem::remove_all(cartellaIntermedi_, ec);

  // Rows never started: the batch was stopped before them.
  std::lock_guard lock(mutex_);
  for (EsitoRiga& e : esiti_)
    if (e.stato == StatoRiga::InAttesa) {
      e.stato = StatoRiga::NonCreata;
      e.messaggio = "Riga non elaborata: il lotto è stato interrotto.";
    }
}

std::filesystem::path Lotto::ScriviRiepilogo() const {
  const std::vector<EsitoRiga> esiti = Esiti();
  const std::filesystem::path percorso = opzioni_.uscita / std::string(kNomeRiepilogoLotto);
  std::string testo = "\xEF\xBB\xBF";
  testo += RigaCsv({"riga", "codice_fiscale", "denominazione", "foglio", "esito", "righe_lette",
                    "errori_verifica", "avvertimenti_verifica", "file_comunicazione", "messaggio"},
                   ';');
  for (std::size_t i = 0; i < righe_.size(); ++i) {
    const EsitoRiga& e = esiti[i];
    testo +=
        RigaCsv({std::to_string(righe_[i].riga), e.codiceFiscale, e.denominazione, righe_[i].foglio,
                 std::string(EsitoPerRiepilogo(e.stato)), std::to_string(e.righeLette),
                 std::to_string(e.erroriVerifica), std::to_string(e.avvertimentiVerifica),
                 e.fileComunicazione.string(), e.messaggio},
                ';');
  }
  ScritturaAtomica file(percorso);
  file.Scrivi(testo);
  file.Conferma();
  return percorso;
}

std::string TabellaRiepilogoBreve(const std::vector<RigaElenco>& righe,
                                  const std::vector<EsitoRiga>& esiti) {
  std::string t;
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, "%5s  %-16s  %-17s  %7s  %6s  %6s  %s\n", "riga",
                "codice fiscale", "esito", "righe", "errori", "avvert", "messaggio");
  t += buffer;
  std::size_t create = 0, conErrori = 0, nonCreate = 0;
  for (std::size_t i = 0; i < righe.size() && i < esiti.size(); ++i) {
    const EsitoRiga& e = esiti[i];
    if (e.stato == StatoRiga::Creata)
      ++create;
    else if (e.stato == StatoRiga::CreataConErrori)
      ++conErrori;
    else
      ++nonCreate;
    std::string m = PrimiCaratteriUtf8(e.messaggio, 70);
    if (m.size() < e.messaggio.size()) m += "...";
    std::snprintf(buffer, sizeof buffer, "%5zu  %-16s  %-17s  %7d  %6lld  %6lld  ", righe[i].riga,
                  e.codiceFiscale.c_str(), std::string(EsitoPerRiepilogo(e.stato)).c_str(),
                  e.righeLette, e.erroriVerifica, e.avvertimentiVerifica);
    t += buffer;
    t += m + "\n";
  }
  t += std::to_string(righe.size()) + " righe: " + std::to_string(create) + " create, " +
       std::to_string(conErrori) + " create con errori, " + std::to_string(nonCreate) +
       " non create\n";
  return t;
}

}  // namespace fcl
