#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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
  // Asks that the content of the element `contenitore` (a sheet's rows), when it is made of plain
  // `riga` elements, be read by a scanner of its own rather than by Expat: the handlers get the
  // same events with the same names, attributes and texts, several times faster. Whatever the
  // scanner does not know for sure (a comment, a CDATA section, a prefixed element, a carriage
  // return, a bad character, a row longer than 64 KB ...) is left to Expat from the row where it
  // appears on, so what Expat accepts or refuses stays exactly as without the scanner.
  void ScansioneDiretta(std::string contenitore, std::string riga);
  // With the direct scan, a subclass may read a whole row element itself when the row has a shape
  // it knows, and act on it as its handlers would: from b[pos] (the row's "<"), the position after
  // the row's end tag, or 0 to leave the row to the scanner of events. It reads with a Cursore,
  // which takes only markup that is well-formed, so a row it reads is one Expat accepts. Before it
  // returns 0 it may have changed only what the handlers reset at the row's start; an exception it
  // throws must be the one the handlers would throw at the same point. `linee` receives the line
  // feeds of the row.
  virtual std::size_t RigaDiretta(std::string_view b, std::size_t pos, std::size_t& linee);

  // The markup of one row, read element by element for RigaDiretta. Every call returns false when
  // what follows is not what it takes, or the block ends first: the row then goes to the scanner.
  // It takes unprefixed element names, attributes without references or blanks other than the
  // space in their values, and text without references, "]" or carriage returns. `b` is the block
  // RigaDiretta was given: the whole of a std::string, whose NUL after the end stops the reading.
  class Cursore {
   public:
    struct Attributo {
      std::string_view uri, locale, valore;
    };
    Cursore(const AnalizzatoreXml& xml, std::string_view b, std::size_t pos)
        : xml_(xml), b_(b), i_(pos) {}
    // Skips blanks (space, tab, line feed).
    void Spazi();
    // Whether the next bytes are `s`.
    bool Segue(std::string_view s) const { return b_.substr(i_, s.size()) == s; }
    // A start tag, "<name ...>" or "<name .../>": its name, and whether the element is empty.
    // Its attributes stay readable with Valore until the next call.
    bool Apertura(std::string_view& nome, bool& vuoto);
    // The value of the unprefixed attribute `locale` of the last start tag, or nullopt.
    std::optional<std::string_view> Valore(std::string_view locale) const;
    // The end tag "</nome>".
    bool Chiusura(std::string_view nome);
    // After blanks, whether the element `nome` ends here: true past its end tag, false when
    // something else follows, nullopt when another end tag does.
    std::optional<bool> Fine(std::string_view nome);
    // Character data up to the next "<".
    bool Testo(std::string_view& testo);
    std::size_t Posizione() const { return i_; }
    std::size_t Linee() const { return linee_; }

   private:
    const AnalizzatoreXml& xml_;
    std::string_view b_;
    std::size_t i_;
    std::size_t linee_ = 0;
    Attributo attributi_[16];
    int quanti_ = 0;
  };

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
  bool AvanzaConScansione();
  bool Rifornisci();
  std::string_view ProssimoPezzo(bool& ultimo);
  enum class Passo { Riga, Uscita, Dati };
  Passo PassoDiretto();
  template <bool Consegna>
  std::size_t Elemento(std::string_view b, std::size_t pos);
  template <bool Consegna>
  bool Testo(std::string_view b, std::size_t& pos);
  int Entita(std::string_view b, std::size_t& pos, std::string* uscita) const;
  const std::string& NomeEsteso(std::string_view locale);
  static void InizioSpazioC(void* dati, const char* prefisso, const char* uri);
  static void FineSpazioC(void* dati, const char* prefisso);
  static void DichiarazioneC(void* dati, const char* versione, const char* codifica, int autonomo);

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

  // The direct scan of the rows (ScansioneDiretta).
  std::string contenitore_, riga_;
  enum class Fase { Cerca, Diretta, SoloExpat } fase_ = Fase::Cerca;
  std::string attesa_;                 // bytes read, not yet given to Expat nor scanned
  std::size_t posizione_ = 0;          // first byte of attesa_ not yet used
  std::uint64_t dati_ = 0;             // bytes given to Expat so far
  std::uint64_t fineContenitore_ = 0;  // where the container's start tag ends (0: not seen)
  std::size_t lineeNascoste_ = 0;      // line feeds the scanner took from Expat's sight
  bool codificaUtf8_ = true;
  bool finaleDato_ = false;   // Expat has had its last (empty) block
  bool bloccoCorto_ = false;  // the next block for Expat is at most kBlocco bytes
  std::vector<std::pair<std::string, std::string>> spazi_;  // prefix (empty: default) -> URI
  std::vector<std::pair<std::string, std::string>> nomi_;   // local name -> name as Expat gives it
  std::vector<std::string_view> pila_;
  std::string testo_, valori_, nomiAttributi_;
  std::vector<std::pair<std::size_t, std::size_t>> attributi_;  // name and value offsets
  std::vector<const char*> coppie_;
};

}  // namespace fcl
