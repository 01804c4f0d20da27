#include "common/ErroreSistema.h"

#include "common/Errori.h"

#include <cerrno>
#include <filesystem>
#include <new>
#include <string_view>

namespace fcl {
namespace {

struct Causa {
  int codice;
  std::string_view testo;
};

// What happened and what to do, for the faults a user meets with files and folders.
const Causa kCause[] = {
    {ENOENT, "il file o la cartella non esiste; controllare il percorso"},
    {ENOTDIR, "il percorso non è una cartella; controllare il percorso"},
    {EISDIR, "il percorso indica una cartella, non un file; indicare un file"},
    {EACCES, "accesso non consentito al file o alla cartella; controllare i permessi"},
    {EPERM, "accesso non consentito al file o alla cartella; controllare i permessi"},
    {EROFS, "il disco è di sola lettura; scegliere un'altra cartella"},
    {ENOSPC, "spazio insufficiente sul disco; liberare spazio e riprovare"},
    {EDQUOT,
     "spazio insufficiente sul disco (quota dell'utente esaurita); liberare spazio e "
     "riprovare"},
    {EFBIG, "il file supera la dimensione consentita dal sistema"},
    {ENAMETOOLONG, "nome del file troppo lungo; scegliere un nome o una cartella più corti"},
    {EEXIST, "esiste già un file con lo stesso nome"},
    {ENOTEMPTY, "la cartella non è vuota"},
    {EBUSY, "il file è in uso da un altro programma; chiuderlo e riprovare"},
    {ETXTBSY, "il file è in uso da un altro programma; chiuderlo e riprovare"},
    {EAGAIN, "il file è bloccato da un altro programma; riprovare più tardi"},
    {EIO, "errore di lettura o scrittura sul disco; controllare il disco e riprovare"},
    {EXDEV, "il file non può essere spostato su un altro disco"},
    {ELOOP, "il percorso contiene un ciclo di collegamenti simbolici; controllare il percorso"},
    {EMFILE, "troppi file aperti; chiudere altri programmi e riprovare"},
    {ENFILE, "troppi file aperti nel sistema; chiudere altri programmi e riprovare"},
    {ENOMEM, "memoria insufficiente; chiudere altri programmi e riprovare"},
    {EINVAL, "nome o percorso non valido per questo disco; scegliere un altro nome"},
    {EILSEQ, "il nome contiene caratteri non ammessi dal disco; scegliere un altro nome"},
    {ENXIO, "il dispositivo non è disponibile; controllare che il disco sia collegato"},
    {ENODEV, "il dispositivo non è disponibile; controllare che il disco sia collegato"},
    {ESTALE, "la cartella di rete non è più disponibile; ricollegarla e riprovare"},
    {ETIMEDOUT, "il disco di rete non risponde; riprovare più tardi"},
};

}  // namespace

std::string CausaSistema(int codiceErrno, Accesso accesso) {
  if (accesso == Accesso::Scrittura && (codiceErrno == EACCES || codiceErrno == EPERM))
    return "scrittura non consentita nella cartella o sul file; controllare i permessi";
  for (const Causa& c : kCause)
    if (c.codice == codiceErrno) return std::string(c.testo);
  return "errore del sistema operativo (codice " + std::to_string(codiceErrno) +
         "); riprovare e, se si ripete, rivolgersi all'assistenza";
}

std::string CausaSistema(const std::error_code& ec, Accesso accesso) {
  if (ec.category() == std::system_category() || ec.category() == std::generic_category())
    return CausaSistema(ec.value(), accesso);
  return "errore " + std::string(ec.category().name()) + " (codice " + std::to_string(ec.value()) +
         "); riprovare e, se si ripete, rivolgersi all'assistenza";
}

std::string PrimaDelDettaglio(const std::string& messaggio, std::string_view aggiunta) {
  const auto a = messaggio.find(kDettaglioAssistenza);
  if (a == std::string::npos) return messaggio + std::string(aggiunta);
  return messaggio.substr(0, a) + std::string(aggiunta) + messaggio.substr(a);
}

std::string TestoPerUtente(const std::exception& e) {
  if (dynamic_cast<const Errore*>(&e)) return e.what();
  if (const auto* f = dynamic_cast<const std::filesystem::filesystem_error*>(&e)) {
    std::string testo = "Operazione non riuscita";
    if (!f->path1().empty()) testo += " sul file " + f->path1().string();
    return testo + ": " + CausaSistema(f->code()) + ".";
  }
  if (const auto* s = dynamic_cast<const std::system_error*>(&e))
    return "Operazione non riuscita: " + CausaSistema(s->code()) + ".";
  if (dynamic_cast<const std::bad_alloc*>(&e))
    return "Memoria insufficiente: chiudere altri programmi e riprovare.";
  return std::string(
             "Errore interno del programma: l'operazione non è stata completata; "
             "rivolgersi all'assistenza.") +
         kDettaglioAssistenza + e.what();
}

}  // namespace fcl
