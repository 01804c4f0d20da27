#include "workbook/AnalizzatoreXml.h"

#include <expat.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

#include "workbook/ErroriCartella.h"

namespace fcl {
namespace {

constexpr std::size_t kBlocco = 1 << 16;
constexpr std::size_t kBloccoMassimo = 1 << 20;
constexpr char kSeparatore = '|';

// Expat scans an unfinished token (a tag with its attributes, a comment) again from its start
// with every block it is given, so a token of N bytes costs N * N / block. No workbook writes a
// token of megabytes: a part in which no element starts or ends and no text is read for this much
// input is refused; until then the block doubles while no event comes, so few scans are made.
constexpr std::uint64_t kSenzaEventiMassimo = 4ull << 20;

}  // namespace

const char* AnalizzatoreXml::Attributi::Valore(std::string_view nome) const {
  for (const char** a = coppie_; a[0] != nullptr; a += 2) {
    if (nome == a[0]) return a[1];
  }
  return nullptr;
}

AnalizzatoreXml::AnalizzatoreXml(std::unique_ptr<VoceZip> sorgente)
    : sorgente_(std::move(sorgente)), parser_(XML_ParserCreateNS(nullptr, kSeparatore)) {
  if (parser_ == nullptr) throw std::bad_alloc();
  XML_SetUserData(parser_, this);
  XML_SetElementHandler(parser_, &InizioC, &FineC);
  XML_SetCharacterDataHandler(parser_, &CaratteriC);
  // The parts of a workbook never carry a document type; one that does is refused, so no entity
  // declared in it can expand.
  XML_SetStartDoctypeDeclHandler(parser_, &DoctypeC);
#ifdef FCL_EXPAT_RIANALISI_DIFFERITA
  // Expat 2.6 and later put off scanning an unfinished token again until enough input came.
  XML_SetReparseDeferralEnabled(parser_, XML_TRUE);
#endif
}

AnalizzatoreXml::~AnalizzatoreXml() { XML_ParserFree(parser_); }

std::string_view AnalizzatoreXml::Locale(std::string_view nome) {
  const auto barra = nome.rfind(kSeparatore);
  return barra == std::string_view::npos ? nome : nome.substr(barra + 1);
}

void AnalizzatoreXml::Sospendi() {
  if (pausaChiesta_) return;
  pausaChiesta_ = true;
  XML_StopParser(parser_, XML_TRUE);
}

void AnalizzatoreXml::Danneggiato(const std::string& dettaglio) const {
  throw errori_cartella::Danneggiata(sorgente_->Percorso(), sorgente_->Nome() + ": " + dettaglio);
}

void AnalizzatoreXml::OltreILimiti(const std::string& dettaglio) const {
  throw errori_cartella::OltreILimiti(sorgente_->Percorso(), dettaglio);
}

void AnalizzatoreXml::Ferma(std::exception_ptr errore) {
  if (!errore_) errore_ = errore;
  XML_StopParser(parser_, XML_FALSE);
}

void AnalizzatoreXml::InizioC(void* dati, const char* nome, const char** attributi) {
  auto* self = static_cast<AnalizzatoreXml*>(dati);
  self->evento_ = true;
  if (self->errore_) return;
  try {
    self->Inizio(nome, Attributi(attributi));
  } catch (...) {
    self->Ferma(std::current_exception());
  }
}

void AnalizzatoreXml::FineC(void* dati, const char* nome) {
  auto* self = static_cast<AnalizzatoreXml*>(dati);
  self->evento_ = true;
  if (self->errore_) return;
  try {
    self->Fine(nome);
  } catch (...) {
    self->Ferma(std::current_exception());
  }
}

void AnalizzatoreXml::CaratteriC(void* dati, const char* testo, int lunghezza) {
  auto* self = static_cast<AnalizzatoreXml*>(dati);
  self->evento_ = true;
  if (self->errore_) return;
  try {
    self->Caratteri(std::string_view(testo, static_cast<std::size_t>(lunghezza)));
  } catch (...) {
    self->Ferma(std::current_exception());
  }
}

void AnalizzatoreXml::DoctypeC(void* dati, const char*, const char*, const char*, int) {
  auto* self = static_cast<AnalizzatoreXml*>(dati);
  try {
    self->Danneggiato("dichiarazione DOCTYPE non ammessa");
  } catch (...) {
    self->Ferma(std::current_exception());
  }
}

void AnalizzatoreXml::ControllaStato(int stato) {
  if (stato != XML_STATUS_ERROR) return;
  finito_ = true;
  if (errore_) std::rethrow_exception(errore_);
  const XML_Error codice = XML_GetErrorCode(parser_);
  Danneggiato("XML non valido alla riga " + std::to_string(XML_GetCurrentLineNumber(parser_)) +
              ": " + XML_ErrorString(codice));
}

bool AnalizzatoreXml::Avanza() {
  if (finito_) return false;
  for (;;) {
    pausaChiesta_ = false;
    evento_ = false;
    XML_Status stato;
    std::size_t letti = 0;
    if (inPausa_) {
      inPausa_ = false;
      stato = XML_ResumeParser(parser_);
    } else {
      if (datiFiniti_) {
        finito_ = true;
        return false;
      }
      void* blocco = XML_GetBuffer(parser_, static_cast<int>(blocco_));
      if (blocco == nullptr) throw std::bad_alloc();
      try {
        letti = sorgente_->Leggi(static_cast<char*>(blocco), blocco_);
      } catch (...) {
        finito_ = true;
        throw;
      }
      datiFiniti_ = letti == 0;
      stato = XML_ParseBuffer(parser_, static_cast<int>(letti), datiFiniti_);
    }
    ControllaStato(stato);
    if (evento_) {
      senzaEventi_ = 0;
      blocco_ = kBlocco;
    } else {
      senzaEventi_ += letti;
      blocco_ = std::min(blocco_ * 2, kBloccoMassimo);
      if (senzaEventi_ > kSenzaEventiMassimo) {
        finito_ = true;
        Danneggiato("un tag o un commento XML supera " + std::to_string(kSenzaEventiMassimo >> 20) +
                    " MB");
      }
    }
    if (stato == XML_STATUS_SUSPENDED) {
      inPausa_ = true;
      return true;
    }
  }
}

void AnalizzatoreXml::LeggiTutto() {
  while (Avanza()) {
  }
}

}  // namespace fcl
