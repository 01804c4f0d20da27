#include "workbook/AnalizzatoreXml.h"

#include <expat.h>

#include <cstring>
#include <new>

#include "workbook/ErroriCartella.h"

namespace fcl {
namespace {

constexpr int kBlocco = 1 << 16;
constexpr char kSeparatore = '|';

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

void AnalizzatoreXml::Ferma(std::exception_ptr errore) {
  if (!errore_) errore_ = errore;
  XML_StopParser(parser_, XML_FALSE);
}

void AnalizzatoreXml::InizioC(void* dati, const char* nome, const char** attributi) {
  auto* self = static_cast<AnalizzatoreXml*>(dati);
  if (self->errore_) return;
  try {
    self->Inizio(nome, Attributi(attributi));
  } catch (...) {
    self->Ferma(std::current_exception());
  }
}

void AnalizzatoreXml::FineC(void* dati, const char* nome) {
  auto* self = static_cast<AnalizzatoreXml*>(dati);
  if (self->errore_) return;
  try {
    self->Fine(nome);
  } catch (...) {
    self->Ferma(std::current_exception());
  }
}

void AnalizzatoreXml::CaratteriC(void* dati, const char* testo, int lunghezza) {
  auto* self = static_cast<AnalizzatoreXml*>(dati);
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
    XML_Status stato;
    if (inPausa_) {
      inPausa_ = false;
      stato = XML_ResumeParser(parser_);
    } else {
      if (datiFiniti_) {
        finito_ = true;
        return false;
      }
      void* blocco = XML_GetBuffer(parser_, kBlocco);
      if (blocco == nullptr) throw std::bad_alloc();
      std::size_t letti;
      try {
        letti = sorgente_->Leggi(static_cast<char*>(blocco), kBlocco);
      } catch (...) {
        finito_ = true;
        throw;
      }
      datiFiniti_ = letti == 0;
      stato = XML_ParseBuffer(parser_, static_cast<int>(letti), datiFiniti_);
    }
    ControllaStato(stato);
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
