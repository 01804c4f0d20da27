#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <string_view>

#include "workbook/VoceZip.h"

struct XML_ParserStruct;

namespace fcl {

// A push parser (Expat) over one XML part of a zip archive, fed a block at a time, that a handler
// can pause: Avanza() returns as soon as a handler has called Sospendi(), and the next call goes on
// from that point. So a sheet is read only as far as the rows asked for, and never held whole.
//
// A token (a tag with its attributes, a comment) of more than a few MB is refused as damage, so
// that a small compressed part cannot make Expat scan it again and again.
//
// Names come with their namespace as "uri|local" ("urn:...:table:1.0|table-row"); unprefixed
// attributes have no "uri|". Malformed XML, and any exception a handler throws, come out of
// Avanza() as ErroreCartella (handler exceptions as themselves); nothing is thrown through Expat.
class AnalizzatoreXml {
 public:
  // The attributes of an element, as Expat hands them (name, value, name, value, ..., null).
  class Attributi {
   public:
    explicit Attributi(const char** coppie) : coppie_(coppie) {}
    // The value of the attribute with this full name ("uri|local" or plain), or nullptr.
    const char* Valore(std::string_view nome) const;

   private:
    const char** coppie_;
  };

  explicit AnalizzatoreXml(std::unique_ptr<VoceZip> sorgente);
  virtual ~AnalizzatoreXml();
  AnalizzatoreXml(const AnalizzatoreXml&) = delete;
  AnalizzatoreXml& operator=(const AnalizzatoreXml&) = delete;

  // Parses until a handler pauses (true) or the part ends (false, and from then on always false).
  bool Avanza();
  // Parses the whole part.
  void LeggiTutto();

  // The part after the last "|" of a name.
  static std::string_view Locale(std::string_view nome);

 protected:
  virtual void Inizio(std::string_view nome, const Attributi& attributi) = 0;
  virtual void Fine(std::string_view nome) = 0;
  virtual void Caratteri(std::string_view testo) = 0;
  // Asks the parser to pause after the current event.
  void Sospendi();
  // Throws ErroreCartella "damaged" naming this part.
  [[noreturn]] void Danneggiato(const std::string& dettaglio) const;
  // Throws ErroreCartella "beyond the limits" (`dettaglio`: "elenca più di 10000 fogli").
  [[noreturn]] void OltreILimiti(const std::string& dettaglio) const;

 private:
  static void InizioC(void* dati, const char* nome, const char** attributi);
  static void FineC(void* dati, const char* nome);
  static void CaratteriC(void* dati, const char* testo, int lunghezza);
  static void DoctypeC(void* dati, const char* nome, const char* sysid, const char* pubid,
                       int interno);
  void Ferma(std::exception_ptr errore);
  void ControllaStato(int stato);

  std::unique_ptr<VoceZip> sorgente_;
  XML_ParserStruct* parser_;
  std::exception_ptr errore_;
  bool pausaChiesta_ = false;
  bool inPausa_ = false;
  bool datiFiniti_ = false;
  bool finito_ = false;
  bool evento_ = false;            // a handler ran during the last parse call
  std::uint64_t senzaEventi_ = 0;  // bytes given since the last parse call with an event
  std::size_t blocco_ = 1 << 16;   // bytes asked of the source for the next block
};

}  // namespace fcl
