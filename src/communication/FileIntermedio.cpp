#include "communication/FileIntermedio.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "common/ErroreSistema.h"
#include "common/Errori.h"
#include "communication/RecordComunicazione.h"

namespace fcl {

namespace {

[[noreturn]] void Danneggiato(const std::filesystem::path& file, long long riga,
                              const std::string& motivo) {
  throw ErroreFile("Il file intermedio " + file.string() + " è danneggiato alla riga " +
                   std::to_string(riga) + " (" + motivo + "): elaborare di nuovo il foglio Excel.");
}

}  // namespace

ConteggioDettaglio CopiaRecordDettaglio(
    const std::filesystem::path& file, std::string_view codiceFiscale, char tipo,
    const std::function<void(std::string_view record)>& scrivi) {
  constexpr std::size_t kLunghezza = RecordComunicazione::kLunghezza;
  std::error_code ec;
  if (std::filesystem::exists(file, ec) && !std::filesystem::is_regular_file(file, ec))
    throw ErroreFile("Impossibile leggere il file intermedio " + file.string() + ": non è un file");
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    const int e = errno;
    throw ErroreFile("Impossibile leggere il file intermedio " + file.string() + ": " +
                     CausaSistema(e));
  }
  // The operator's fiscal code as the detail records carry it at 2-17.
  RecordComunicazione campione('C');
  campione.Poni(2, 16, codiceFiscale);
  const std::string_view cfAtteso = std::string_view(campione.Testo()).substr(1, 16);

  ConteggioDettaglio conto;
  std::string riga;
  long long numero = 0;
  while (std::getline(in, riga)) {
    ++numero;
    if (in.eof()) Danneggiato(file, numero, "riga non terminata da CR LF");
    if (riga.empty() || riga.back() != '\r')
      Danneggiato(file, numero, "riga non terminata da CR LF");
    riga.pop_back();
    if (riga.size() != kLunghezza)
      Danneggiato(file, numero,
                  "lunghezza " + std::to_string(riga.size()) + " invece di 1898 caratteri");
    if (riga[0] != 'C' && riga[0] != 'D')
      Danneggiato(file, numero, "tipo record \"" + riga.substr(0, 1) + "\" invece di C o D");
    if (riga[kLunghezza - 1] != 'A') Danneggiato(file, numero, "manca la A in posizione 1898");
    if (std::string_view(riga).substr(1, 16) != cfAtteso)
      Danneggiato(file, numero, "record di un altro soggetto");
    if (riga[0] == 'C') {
      ++conto.recordC;
    } else {
      ++conto.recordD;
    }
    if (riga[0] != tipo) continue;
    if (++conto.copiati > 99999999) Danneggiato(file, numero, "troppi record");
    riga.replace(17, 8, Conteggio(conto.copiati, 8));
    scrivi(riga);
  }
  if (in.bad()) {
    const int e = errno;
    throw ErroreFile("Impossibile leggere il file intermedio " + file.string() + ": " +
                     CausaSistema(e));
  }
  return conto;
}

}  // namespace fcl
