#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "common/Errori.h"

namespace fcl {

// Title of every message box whose text names no title of its own.
inline constexpr std::string_view kTitoloApplicazione = "FISCOLARIO";

enum class Icona { Nessuna, Informazione, Esclamazione, Critico, Domanda };
enum class Pulsanti { Ok, SiNo, OkAnnulla, SiNoAnnulla };
enum class Risposta { Ok, Si, No, Annulla };

// The one channel through which a core procedure talks to the person in front of it: message boxes,
// yes/no questions, file dialogs and progress. The desktop shows real dialogs, the command line
// answers from its flags and prints to stderr, tests script the answers and record the messages.
// Texts and titles are passed exactly as the user must read them (UTF-8).
//
// File filters use the form "Descrizione (*.EXT)|*.EXT|Altro (*.A;*.B)|*.A;*.B".
class Interazione {
 public:
  virtual ~Interazione() = default;

  // A message box with the OK button.
  virtual void Messaggio(std::string_view testo, std::string_view titolo, Icona icona) = 0;

  // A question; returns the button chosen. `predefinita` is the button that Enter presses.
  virtual Risposta Chiedi(std::string_view testo, std::string_view titolo, Pulsanti pulsanti,
                          Icona icona, Risposta predefinita) = 0;

  // The open dialog; nullopt when the user cancels.
  virtual std::optional<std::filesystem::path> ScegliFileDaAprire(
      std::string_view titolo, std::string_view filtro, const std::filesystem::path& cartella) = 0;

  // The dialog that picks a folder; nullopt when the user cancels (or nothing can ask).
  virtual std::optional<std::filesystem::path> ScegliCartella(
      std::string_view /*titolo*/, const std::filesystem::path& /*cartella*/) {
    return std::nullopt;
  }

  // The save dialog with a proposed file name; nullopt when the user cancels.
  virtual std::optional<std::filesystem::path> ScegliFileDaSalvare(
      std::string_view titolo, std::string_view filtro, const std::filesystem::path& cartella,
      std::string_view nomeProposto) = 0;

  // Progress of a long run: a caption ("Foglio FE"), the current value and the maximum (0 when
  // unknown). Called often; implementations keep it cheap.
  virtual void Avanzamento(std::string_view didascalia, long long valore, long long massimo) = 0;

  // A notice that needs no answer and stops nothing (a status line, stderr on the command line).
  virtual void Avviso(std::string_view testo) = 0;

  // True once the user asked to stop the run in progress (the window's "Interrompi"). It may be
  // set from another thread while the run reads it; nothing asks it outside a window's run.
  virtual bool InterruzioneRichiesta() const { return false; }

  // A safe point of a long run: throws ErroreInterruzione once the user asked to stop.
  void ControllaInterruzione() const {
    if (InterruzioneRichiesta()) throw ErroreInterruzione();
  }
};

// Opens a document with the desktop's default handler (the PDFs at the end of a run, the guide).
// The desktop passes the real opener; the command line prints the path; tests record it.
class ApriDocumento {
 public:
  virtual ~ApriDocumento() = default;
  virtual void Apri(const std::filesystem::path& percorso) = 0;
};

}  // namespace fcl
