#include "shell/CodiciEsclusi.h"

#include "common/CodiceOperatore.h"

namespace fcl {

void CodiciEsclusi::Aggiungi(std::string_view codice) {
  ++numero_;
  if (nominati_.size() < kNominati) nominati_.push_back(CodiceNelMessaggio(codice));
}

std::string CodiciEsclusi::Avviso(std::string_view origine, std::string_view uno,
                                  std::string_view molti) const {
  std::string t = std::string(origine) + ": " + std::to_string(numero_) + " " +
                  std::string(numero_ == 1 ? uno : molti) +
                  " perché il codice fiscale non è valido (ammesse solo lettere e cifre, al "
                  "massimo " +
                  std::to_string(kLunghezzaMassimaCodice) + "): ";
  for (std::size_t i = 0; i < nominati_.size(); ++i) t += (i == 0 ? "" : ", ") + nominati_[i];
  if (numero_ > nominati_.size()) t += " e altri " + std::to_string(numero_ - nominati_.size());
  return t + ".";
}

}  // namespace fcl
