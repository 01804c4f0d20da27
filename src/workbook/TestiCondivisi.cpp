#include "workbook/TestiCondivisi.h"

#include "workbook/AnalizzatoreXml.h"
#include "workbook/ErroriCartella.h"
#include "workbook/TestoXml.h"

namespace fcl {
namespace {

// <sst><si><t>text</t></si><si><r><t>run</t></r><r><t>run</t></r><rPh><t>guide</t></rPh></si>
class AnalizzatoreTesti : public AnalizzatoreXml {
 public:
  AnalizzatoreTesti(std::unique_ptr<VoceZip> parte, TestiCondivisi& testi)
      : AnalizzatoreXml(std::move(parte)), testi_(testi) {}

 protected:
  void Inizio(std::string_view nome, const Attributi&) override {
    const auto locale = Locale(nome);
    if (locale == "si") {
      inSi_ = true;
      testo_.clear();
    } else if (locale == "rPh") {
      ++inFonetica_;
    } else if (locale == "t" && inSi_ && inFonetica_ == 0) {
      inT_ = true;
    }
  }
  void Fine(std::string_view nome) override {
    const auto locale = Locale(nome);
    if (locale == "si") {
      testi_.Aggiungi(DecodificaEscapeX(testo_));
      inSi_ = false;
    } else if (locale == "rPh") {
      if (inFonetica_ > 0) --inFonetica_;
    } else if (locale == "t") {
      inT_ = false;
    }
  }
  void Caratteri(std::string_view testo) override {
    if (!inT_) return;
    if (testo_.size() + testo.size() > errori_cartella::kLimiteTestoCella)
      Danneggiato("un testo supera la lunghezza massima di una cella");
    testo_ += testo;
  }

 private:
  TestiCondivisi& testi_;
  std::string testo_;
  bool inSi_ = false;
  bool inT_ = false;
  int inFonetica_ = 0;
};

}  // namespace

void TestiCondivisi::Leggi(std::unique_ptr<VoceZip> parte) {
  AnalizzatoreTesti analizzatore(std::move(parte), *this);
  analizzatore.LeggiTutto();
  testi_.shrink_to_fit();
  inizi_.shrink_to_fit();
}

void TestiCondivisi::Aggiungi(std::string_view testo) {
  inizi_.push_back(testi_.size());
  testi_ += testo;
}

std::string_view TestiCondivisi::Testo(std::size_t indice) const {
  const std::uint64_t inizio = inizi_[indice];
  const std::uint64_t fine = indice + 1 < inizi_.size() ? inizi_[indice + 1] : testi_.size();
  return std::string_view(testi_).substr(inizio, fine - inizio);
}

}  // namespace fcl
