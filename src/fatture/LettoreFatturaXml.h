#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "fatture/Fattura.h"

struct XML_ParserStruct;

namespace fcl {

// Reads an electronic invoice file (FatturaPA 1.2.x) with Expat, streaming: the bytes are pulled a
// block at a time and only the few values the communication needs are kept, so a file of any size
// (attachments of megabytes) takes a few KB. One reader serves many files in turn.
//
// What it accepts: UTF-8 with or without a byte-order mark, UTF-16, a declared ISO-8859-1 or
// Windows-1252 encoding, elements with any namespace prefix or none. What it refuses
// (ErroreFattura): XML that is not well-formed, any DOCTYPE (so no entity can be declared, let
// alone expanded), an unknown encoding, a value or a file beyond the limits. The text of an
// attachment (Allegati/Attachment) is passed over without being looked at by the parser: once Expat
// has reported the element's start, the bytes up to the next "<" are skipped, which is exactly what
// ignoring that text would give.
//
// A file whose root element is not FatturaElettronica is not an invoice: the reader stops at the
// root and reports its name.
class LettoreFatturaXml {
 public:
  // Fills `destinazione` with up to `n` bytes; returns 0 at the end of the file.
  using Fonte = std::function<std::size_t(char* destinazione, std::size_t n)>;

  struct Risultato {
    std::string radice;            // local name of the root element
    std::vector<Fattura> fatture;  // one per FatturaElettronicaBody (root FatturaElettronica)
  };

  LettoreFatturaXml();
  ~LettoreFatturaXml();
  LettoreFatturaXml(const LettoreFatturaXml&) = delete;
  LettoreFatturaXml& operator=(const LettoreFatturaXml&) = delete;

  // Reads one file. Throws ErroreFattura when it cannot be read as XML.
  Risultato Leggi(const Fonte& fonte);
  Risultato Leggi(std::string_view byte);

  // The local name of the root element of invoices.
  static constexpr std::string_view kRadiceFattura = "FatturaElettronica";

 private:
  static void InizioC(void* dati, const char* nome, const char** attributi);
  static void FineC(void* dati, const char* nome);
  static void CaratteriC(void* dati, const char* testo, int lunghezza);
  static void DoctypeC(void* dati, const char* nome, const char* sysid, const char* pubid,
                       int interno);
  static int CodificaC(void* dati, const char* nome, void* info);
  void Inizio(std::string_view nome);
  void Fine();
  void Prepara();
  // Feeds Expat the bytes of `blocco`, skipping the text of attachments; false when the parse
  // stopped (root not an invoice).
  bool Dai(std::string_view blocco, bool ultimo);
  bool Analizza(const char* dati, std::size_t n, bool ultimo);
  [[noreturn]] void ErroreExpat();
  void Ferma(std::string motivo);

  XML_ParserStruct* parser_;
  Risultato risultato_;
  std::string percorso_;
  std::vector<std::size_t> lunghezze_;
  int campo_ = -1;
  std::string valore_;
  Fattura corrente_;
  SoggettoFattura cedente_, cessionario_;
  long long imponibileRiga_ = 0, impostaRiga_ = 0;
  std::string naturaRiga_;
  bool radiceVista_ = false;
  bool fermato_ = false;
  std::string motivoArresto_;
  std::string codificaIgnota_;
  // Attachment skipping: where the start tag of an attachment ended (absolute byte index), and
  // whether the bytes up to the next "<" are being skipped.
  std::uint64_t dati_ = 0;  // bytes given to Expat so far
  std::uint64_t fineAllegato_ = 0;
  bool allegatoAperto_ = false;
  bool salta_ = false;
  std::uint64_t byteLetti_ = 0;
  std::string blocco_;
};

}  // namespace fcl
