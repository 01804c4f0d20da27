#pragma once

#include <exception>
#include <string>
#include <string_view>
#include <system_error>

namespace fcl {

// The second line of a message for the user that carries the technical detail for support.
inline constexpr const char* kDettaglioAssistenza = "\nDettaglio per l'assistenza: ";

// The cause of a failed system call (open, write, rename...) told in Italian, with what the user
// can do about it, for the messages that name a file: "Impossibile leggere il file X: " +
// CausaSistema(e). The system's own English text never reaches the user; a code without a text of
// ours is named by its number, for support. `accesso` says whether the file was being written,
// which makes a refused access a refused write.
enum class Accesso { Qualsiasi, Scrittura };
std::string CausaSistema(int codiceErrno, Accesso accesso = Accesso::Qualsiasi);
// The same for an error code of std::filesystem and the standard library (system and generic
// categories); another category gives its number.
std::string CausaSistema(const std::error_code& ec, Accesso accesso = Accesso::Qualsiasi);

// `messaggio` with `aggiunta` at the end of its Italian part, before the detail line for support
// when there is one: what a caller adds ("Il file non è stato modificato.") stays with the message.
std::string PrimaDelDettaglio(const std::string& messaggio, std::string_view aggiunta);

// The text for the user of any exception that ends an operation: our own errors as they are (they
// are written for the user), a failed system call through CausaSistema, anything else as a fault
// of the program with its technical text on the second line.
std::string TestoPerUtente(const std::exception& e);

}  // namespace fcl
