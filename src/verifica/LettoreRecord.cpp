#include "verifica/LettoreRecord.h"

#include <cstring>

#include "common/Errori.h"

namespace fcl {

LettoreRecord::LettoreRecord(std::istream& in) : in_(in), buffer_(1 << 16) {}

bool LettoreRecord::Riempi() {
  inizio_ = 0;
  fine_ = 0;
  if (!in_.good()) return false;
  in_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  if (in_.bad()) throw ErroreFile("Errore di lettura del file della comunicazione");
  fine_ = static_cast<std::size_t>(in_.gcount());
  return fine_ > 0;
}

bool LettoreRecord::Prossima(RigaLetta& riga) {
  riga.testo.clear();
  riga.lunghezza = 0;
  riga.cr = false;
  riga.lf = false;
  bool letto = false;
  char ultimo = '\0';  // last byte of the line so far, kept even when the text is cut
  for (;;) {
    if (inizio_ == fine_ && !Riempi()) break;
    letto = true;
    const char* base = buffer_.data() + inizio_;
    const std::size_t disponibili = fine_ - inizio_;
    const auto* lf = static_cast<const char*>(std::memchr(base, '\n', disponibili));
    const std::size_t n = lf ? static_cast<std::size_t>(lf - base) : disponibili;
    if (n > 0) {
      const std::size_t spazio = kMassimoConservato - riga.testo.size();
      riga.testo.append(base, n < spazio ? n : spazio);
      riga.lunghezza += n;
      ultimo = base[n - 1];
    }
    if (lf) {
      riga.lf = true;
      if (riga.lunghezza > 0 && ultimo == '\r') {
        riga.cr = true;
        --riga.lunghezza;
        if (riga.testo.size() > riga.lunghezza) riga.testo.pop_back();
      }
      inizio_ += n + 1;
      return true;
    }
    inizio_ = fine_;
  }
  return letto;
}

}  // namespace fcl
