#pragma once

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/Interazione.h"

namespace fcl::test {

// An Interazione for tests: records every message, question and progress report, answers
// questions and file dialogs from scripted queues (default: Si / cancelled dialog).
class InterazioneRegistrata : public Interazione {
 public:
  struct Voce {
    std::string tipo;  // "messaggio", "domanda", "apri", "salva", "avviso"
    std::string testo;
    std::string titolo;
    Icona icona = Icona::Nessuna;
  };

  std::vector<Voce> voci;
  std::deque<Risposta> risposte;
  std::deque<std::optional<std::filesystem::path>> file;
  long long avanzamenti = 0;
  std::string ultimaDidascalia;

  void Messaggio(std::string_view testo, std::string_view titolo, Icona icona) override {
    voci.push_back({"messaggio", std::string(testo), std::string(titolo), icona});
  }
  Risposta Chiedi(std::string_view testo, std::string_view titolo, Pulsanti, Icona icona,
                  Risposta) override {
    voci.push_back({"domanda", std::string(testo), std::string(titolo), icona});
    if (risposte.empty()) return Risposta::Si;
    const Risposta r = risposte.front();
    risposte.pop_front();
    return r;
  }
  std::optional<std::filesystem::path> ScegliFileDaAprire(std::string_view titolo, std::string_view,
                                                          const std::filesystem::path&) override {
    voci.push_back({"apri", "", std::string(titolo), Icona::Nessuna});
    return ProssimoFile();
  }
  std::optional<std::filesystem::path> ScegliFileDaSalvare(std::string_view titolo, std::string_view,
                                                           const std::filesystem::path&,
                                                           std::string_view nome) override {
    voci.push_back({"salva", std::string(nome), std::string(titolo), Icona::Nessuna});
    return ProssimoFile();
  }
  void Avanzamento(std::string_view didascalia, long long, long long) override {
    ++avanzamenti;
    ultimaDidascalia = std::string(didascalia);
  }
  void Avviso(std::string_view testo) override {
    voci.push_back({"avviso", std::string(testo), "", Icona::Nessuna});
  }

  // Texts of the recorded messages of a kind, in order.
  std::vector<std::string> Testi(std::string_view tipo = "messaggio") const {
    std::vector<std::string> t;
    for (const auto& v : voci)
      if (v.tipo == tipo) t.push_back(v.testo);
    return t;
  }

 private:
  std::optional<std::filesystem::path> ProssimoFile() {
    if (file.empty()) return std::nullopt;
    auto f = file.front();
    file.pop_front();
    return f;
  }
};

}  // namespace fcl::test
