#include "workbook/StiliXlsx.h"

#include <map>
#include <string>

#include "workbook/AnalizzatoreXml.h"
#include "workbook/ErroriCartella.h"
#include "workbook/TestoXml.h"

namespace fcl {
namespace {

// <styleSheet><numFmts><numFmt numFmtId="164" formatCode="dd/mm/yyyy"/></numFmts>
// <cellXfs><xf numFmtId="164" .../></cellXfs></styleSheet>. The numFmts come first in a valid
// part; the xfs are resolved at the end all the same, whatever the order.
class AnalizzatoreStili : public AnalizzatoreXml {
 public:
  AnalizzatoreStili(std::unique_ptr<VoceZip> parte, StiliXlsx& stili)
      : AnalizzatoreXml(std::move(parte)), stili_(stili) {}

  void Risolvi() {
    for (const long long id : formatiXf_) {
      const auto it = personali_.find(id);
      stili_.AggiungiStile(it != personali_.end() ? it->second
                                                  : StiliXlsx::FormatoIncorporatoData(id));
    }
  }

 protected:
  void Inizio(std::string_view nome, const Attributi& attributi) override {
    const auto locale = Locale(nome);
    if (locale == "numFmt") {
      const char* id = attributi.Valore("numFmtId");
      const char* codice = attributi.Valore("formatCode");
      const auto n = id ? LeggiIntero(id) : std::nullopt;
      if (++formati_ > errori_cartella::kStiliMassimi) TroppiStili();
      if (n && codice) personali_[*n] = StiliXlsx::CodiceFormatoData(codice);
    } else if (locale == "cellXfs") {
      inCellXfs_ = true;
    } else if (locale == "xf" && inCellXfs_) {
      const char* id = attributi.Valore("numFmtId");
      const auto n = id ? LeggiIntero(id) : std::nullopt;
      if (formatiXf_.size() >= errori_cartella::kStiliMassimi) TroppiStili();
      formatiXf_.push_back(n.value_or(0));
    }
  }
  void Fine(std::string_view nome) override {
    if (Locale(nome) == "cellXfs") inCellXfs_ = false;
  }
  void Caratteri(std::string_view) override {}

 private:
  [[noreturn]] void TroppiStili() const {
    OltreILimiti("elenca più di " + std::to_string(errori_cartella::kStiliMassimi) +
                 " stili o formati di cella");
  }

  StiliXlsx& stili_;
  std::map<long long, bool> personali_;
  std::vector<long long> formatiXf_;
  bool inCellXfs_ = false;
  std::size_t formati_ = 0;
};

}  // namespace

void StiliXlsx::Leggi(std::unique_ptr<VoceZip> parte) {
  AnalizzatoreStili analizzatore(std::move(parte), *this);
  analizzatore.LeggiTutto();
  analizzatore.Risolvi();
}

bool StiliXlsx::FormatoIncorporatoData(long long id) {
  return (id >= 14 && id <= 22) || (id >= 45 && id <= 47);
}

bool StiliXlsx::CodiceFormatoData(std::string_view codice) {
  // Only the first section (positive numbers) decides.
  bool virgolette = false;
  for (std::size_t i = 0; i < codice.size(); ++i) {
    const char c = codice[i];
    if (virgolette) {
      if (c == '"') virgolette = false;
      continue;
    }
    switch (c) {
      case '"':
        virgolette = true;
        break;
      case '\\':  // an escaped literal character
      case '_':   // a space as wide as the next character
      case '*':   // the next character repeated to fill the cell
        ++i;
        break;
      case '[': {
        const auto chiusa = codice.find(']', i);
        if (chiusa == std::string_view::npos) return false;
        // [h], [mm], [ss]: elapsed time, still a time.
        const std::string_view dentro = codice.substr(i + 1, chiusa - i - 1);
        if (!dentro.empty() && dentro.find_first_not_of("hHmMsS") == std::string_view::npos)
          return true;
        i = chiusa;
        break;
      }
      case ';':
        return false;
      case 'd':
      case 'D':
      case 'm':
      case 'M':
      case 'y':
      case 'Y':
      case 'h':
      case 'H':
      case 's':
      case 'S':
        return true;
      default:
        break;
    }
  }
  return false;
}

}  // namespace fcl
