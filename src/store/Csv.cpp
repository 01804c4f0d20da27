#include "store/Csv.h"

namespace fcl {

bool Csv::Prossima(std::vector<std::string>& campi) {
  campi.clear();
  if (pos_ >= testo_.size()) return false;
  riga_ = rigaSuccessiva_;
  std::string campo;
  bool virgolette = false;
  while (pos_ < testo_.size()) {
    const char c = testo_[pos_++];
    if (virgolette) {
      if (c == '"') {
        if (pos_ < testo_.size() && testo_[pos_] == '"') {
          campo += '"';
          ++pos_;
        } else {
          virgolette = false;
        }
      } else {
        if (c == '\n') ++rigaSuccessiva_;
        campo += c;
      }
    } else if (c == '"' && campo.empty()) {
      virgolette = true;
    } else if (c == separatore_) {
      campi.push_back(std::move(campo));
      campo.clear();
    } else if (c == '\n') {
      ++rigaSuccessiva_;
      break;
    } else if (c == '\r' && (pos_ >= testo_.size() || testo_[pos_] == '\n')) {
      // CR of a CR LF line end
    } else {
      campo += c;
    }
  }
  campi.push_back(std::move(campo));
  return true;
}

}  // namespace fcl
