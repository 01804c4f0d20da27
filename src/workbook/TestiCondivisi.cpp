#include "workbook/TestiCondivisi.h"

#include <limits>
#include <stdexcept>

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
      if (testi_.Pieni())
        OltreILimiti("contiene più di " + std::to_string(errori_cartella::kTestiCondivisiMassimi) +
                     " testi condivisi");
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

bool TestiCondivisi::Pieni() const {
  return inizi_.size() >= errori_cartella::kTestiCondivisiMassimi;
}

void TestiCondivisi::Aggiungi(std::string_view testo) {
  // The texts come from one part of at most 256 MB or one stream of at most 1 GB, and no text is
  // more than twice its bytes there: their starts always fit in 32 bits.
  if (Pieni() || testi_.size() + testo.size() > std::numeric_limits<std::uint32_t>::max())
    throw std::length_error("testi condivisi oltre il limite");
  inizi_.push_back(static_cast<std::uint32_t>(testi_.size()));
  testi_ += testo;
}

std::string_view TestiCondivisi::Testo(std::size_t indice) const {
  const std::size_t inizio = inizi_[indice];
  const std::size_t fine = indice + 1 < inizi_.size() ? inizi_[indice + 1] : testi_.size();
  return std::string_view(testi_).substr(inizio, fine - inizio);
}

}  // namespace fcl
