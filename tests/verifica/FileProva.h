#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fcl::test {

// Values that pass every check, for the files of the tests.
inline constexpr std::string_view kCfPersona = "RSSMRA85T10A562S";  // the taxpayer (person)
inline constexpr std::string_view kCfAltraPersona = "RCCMNL83S18D969H";
inline constexpr std::string_view kCfOmocodia = "RCCMNL83S18D96VW";  // omocodia, check letter W
inline constexpr std::string_view kCfIntermediario = "BNCLRA70A41H501B";
inline constexpr std::string_view kCfTenuto = "VRDGPP60C15F205L";
inline constexpr std::string_view kPiContribuente = "02342520158";
inline constexpr std::string_view kPi1 = "01234560017";
inline constexpr std::string_view kPi2 = "07654320022";
inline constexpr std::string_view kPi3 = "01111110035";
inline constexpr std::string_view kProduttore = "00743110157";

// A 16-character element value: left-aligned (texts, codes) or right-aligned (numbers, dates,
// boxes).
std::string Sx(std::string_view valore);
std::string Dx(std::string_view valore);

// One element: code and its 16-character value.
using Elemento = std::pair<std::string, std::string>;

// A communication file built record by record (each record its 1898 characters, no line end),
// which the cases of the tests change in one place before checking it.
class FileProva {
 public:
  // A, B, eight D records (FE, FR, NE, NR, DF, FN, SE, TU), E, Z: an analytical communication of a
  // person, without intermediary, that breaks no rule.
  static FileProva Analitico();
  // A, B, five C records (FA over two modules, SA, two BL), E, Z: an aggregated communication of a
  // company with a bound subject and an intermediary, that breaks no rule.
  static FileProva Aggregato();
  // A, B, Z: the cancellation of an earlier sending.
  static FileProva Annullamento();

  std::vector<std::string> record;

  // The file's bytes: every record followed by CR LF.
  std::string Testo() const;

  // The n-th record of a type (0-based), and its index.
  std::string& Record(char tipo, int n = 0);
  std::size_t Indice(char tipo, int n = 0) const;

  // Places `valore` at 1-based position `posizione` of a record.
  static void Metti(std::string& record, int posizione, std::string_view valore);
  void Metti(char tipo, int posizione, std::string_view valore) {
    Metti(Record(tipo), posizione, valore);
  }

  // The first element with code `codice` in any record: its 16-character value replaced / its code
  // replaced / removed with the later elements moved up / a new element inserted after it.
  void Valore(std::string_view codice, std::string_view valore16);
  void Codice(std::string_view codice, std::string_view nuovo);
  void Togli(std::string_view codice);
  void InserisciDopo(std::string_view codice, std::string_view nuovo, std::string_view valore16);

  // Records C/D/E: the elements of a record, and a record made of elements.
  static std::vector<Elemento> Elementi(const std::string& record);
  static void ImpostaElementi(std::string& record, const std::vector<Elemento>& elementi);
  std::string NuovoDettaglio(char tipo, int modulo, const std::vector<Elemento>& elementi) const;

  // Module numbers 1, 2, 3 ... for the detail records, in file order.
  void Rinumera();

 private:
  std::pair<std::size_t, std::size_t> Trova(std::string_view codice) const;
};

// A blank record of a type: the type at 1, "A" at 1898.
std::string RecordVuoto(char tipo);

}  // namespace fcl::test
