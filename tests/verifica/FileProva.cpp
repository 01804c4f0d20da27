#include "FileProva.h"

#include <stdexcept>

namespace fcl::test {
namespace {

constexpr int kInizio = 90;
constexpr int kLarghezza = 24;
constexpr int kElementi = 75;

std::string Cifre(long long n, std::size_t quante) {
  std::string s = std::to_string(n);
  return std::string(quante > s.size() ? quante - s.size() : 0, '0') + s;
}

std::string RecordA(std::string_view tipoFornitore, std::string_view cfFornitore) {
  std::string r = RecordVuoto('A');
  FileProva::Metti(r, 16, "NSP00");
  FileProva::Metti(r, 21, tipoFornitore);
  FileProva::Metti(r, 23, cfFornitore);
  FileProva::Metti(r, 522, "0000");
  FileProva::Metti(r, 526, "0000");
  return r;
}

// Record B with the fields every test file shares; the caller adds the rest.
std::string RecordB(std::string_view cf, std::string_view invio, std::string_view dati,
                    std::string_view quadri) {
  std::string r = RecordVuoto('B');
  FileProva::Metti(r, 2, cf);
  FileProva::Metti(r, 18, "00000001");
  FileProva::Metti(r, 74, kProduttore);
  FileProva::Metti(r, 90, invio);
  FileProva::Metti(r, 93, std::string(17, '0'));
  FileProva::Metti(r, 110, "000000");
  FileProva::Metti(r, 116, dati);
  FileProva::Metti(r, 118, quadri);
  FileProva::Metti(r, 130, kPiContribuente);
  FileProva::Metti(r, 141, "471100");
  FileProva::Metti(r, 147, "0612345678");
  FileProva::Metti(r, 171, "INFO@ESEMPIO.IT");
  FileProva::Metti(r, 266, "00000000");
  FileProva::Metti(r, 376, "2013");
  FileProva::Metti(r, 398, "00");
  FileProva::Metti(r, 400, "00000000");
  FileProva::Metti(r, 408, "00000000");
  FileProva::Metti(r, 461, "00000000");
  FileProva::Metti(r, 587, "00000");
  FileProva::Metti(r, 592, "0");
  FileProva::Metti(r, 594, "00000000");
  return r;
}

std::string RecordZ(long long b, long long c, long long d, long long e) {
  std::string r = RecordVuoto('Z');
  FileProva::Metti(r, 16, Cifre(b, 9));
  FileProva::Metti(r, 25, Cifre(c, 9));
  FileProva::Metti(r, 34, Cifre(d, 9));
  FileProva::Metti(r, 43, Cifre(e, 9));
  return r;
}

}  // namespace

std::string Sx(std::string_view v) {
  std::string s(v);
  s.resize(16, ' ');
  return s;
}

std::string Dx(std::string_view v) {
  return std::string(16 - std::min<std::size_t>(16, v.size()), ' ') + std::string(v);
}

std::string RecordVuoto(char tipo) {
  std::string r(1898, ' ');
  r[0] = tipo;
  r[1897] = 'A';
  return r;
}

void FileProva::Metti(std::string& record, int posizione, std::string_view valore) {
  record.replace(static_cast<std::size_t>(posizione - 1), valore.size(), valore);
}

std::string FileProva::Testo() const {
  std::string t;
  for (const auto& r : record) t += r + "\r\n";
  return t;
}

std::size_t FileProva::Indice(char tipo, int n) const {
  for (std::size_t i = 0; i < record.size(); ++i)
    if (!record[i].empty() && record[i][0] == tipo && n-- == 0) return i;
  throw std::logic_error("record di prova mancante");
}

std::string& FileProva::Record(char tipo, int n) { return record[Indice(tipo, n)]; }

std::vector<Elemento> FileProva::Elementi(const std::string& r) {
  std::vector<Elemento> e;
  for (int k = 0; k < kElementi; ++k) {
    const std::string slot = r.substr(static_cast<std::size_t>(kInizio - 1 + k * kLarghezza), 24);
    if (slot != std::string(24, ' ')) e.emplace_back(slot.substr(0, 8), slot.substr(8));
  }
  return e;
}

void FileProva::ImpostaElementi(std::string& r, const std::vector<Elemento>& elementi) {
  if (elementi.size() > kElementi) throw std::logic_error("troppi elementi");
  Metti(r, kInizio, std::string(kElementi * kLarghezza, ' '));
  int pos = kInizio;
  for (const auto& [codice, valore] : elementi) {
    Metti(r, pos, codice);
    Metti(r, pos + 8, valore);
    pos += kLarghezza;
  }
}

std::string FileProva::NuovoDettaglio(char tipo, int modulo, const std::vector<Elemento>& e) const {
  std::string r = RecordVuoto(tipo);
  Metti(r, 2, record[1].substr(1, 16));
  Metti(r, 18, Cifre(modulo, 8));
  Metti(r, 74, kProduttore);
  ImpostaElementi(r, e);
  return r;
}

std::pair<std::size_t, std::size_t> FileProva::Trova(std::string_view codice) const {
  for (std::size_t i = 0; i < record.size(); ++i) {
    const char t = record[i][0];
    if (t != 'C' && t != 'D' && t != 'E') continue;
    const auto e = Elementi(record[i]);
    for (std::size_t k = 0; k < e.size(); ++k)
      if (e[k].first == codice) return {i, k};
  }
  throw std::logic_error("elemento di prova mancante: " + std::string(codice));
}

void FileProva::Valore(std::string_view codice, std::string_view valore16) {
  const auto [i, k] = Trova(codice);
  auto e = Elementi(record[i]);
  e[k].second = std::string(valore16);
  ImpostaElementi(record[i], e);
}

void FileProva::Codice(std::string_view codice, std::string_view nuovo) {
  const auto [i, k] = Trova(codice);
  auto e = Elementi(record[i]);
  e[k].first = std::string(nuovo);
  ImpostaElementi(record[i], e);
}

void FileProva::Togli(std::string_view codice) {
  const auto [i, k] = Trova(codice);
  auto e = Elementi(record[i]);
  e.erase(e.begin() + static_cast<std::ptrdiff_t>(k));
  ImpostaElementi(record[i], e);
}

void FileProva::InserisciDopo(std::string_view codice, std::string_view nuovo,
                              std::string_view valore16) {
  const auto [i, k] = Trova(codice);
  auto e = Elementi(record[i]);
  e.insert(e.begin() + static_cast<std::ptrdiff_t>(k) + 1,
           {std::string(nuovo), std::string(valore16)});
  ImpostaElementi(record[i], e);
}

void FileProva::Rinumera() {
  int modulo = 0;
  for (auto& r : record)
    if (r[0] == 'C' || r[0] == 'D') Metti(r, 18, Cifre(++modulo, 8));
}

FileProva FileProva::Analitico() {
  FileProva f;
  f.record.push_back(RecordA("01", kCfPersona));
  std::string b = RecordB(kCfPersona, "100", "01", "000111111111");
  Metti(b, 221, "ROSSI");
  Metti(b, 245, "MARIO");
  Metti(b, 265, "M");
  Metti(b, 266, "10121985");
  Metti(b, 274, "ROMA");
  Metti(b, 314, "RM");
  f.record.push_back(b);

  const auto d = Dx;
  const auto s = Sx;
  f.record.push_back(f.NuovoDettaglio('D', 1,
                                      {// FE row 1: an invoice to a VAT number.
                                       {"FE001001", s(kPi1)},
                                       {"FE001007", d("15012013")},
                                       {"FE001008", d("20012013")},
                                       {"FE001009", s("1/A")},
                                       {"FE001010", d("1000")},
                                       {"FE001011", d("220")},
                                       // FE row 2: an invoice to a person.
                                       {"FE002002", s(kCfAltraPersona)},
                                       {"FE002007", d("16012013")},
                                       {"FE002008", d("20012013")},
                                       {"FE002009", s("2/A")},
                                       {"FE002010", d("500")},
                                       {"FE002011", d("110")},
                                       // FE row 3: a summary document.
                                       {"FE003003", d("1")},
                                       {"FE003007", d("31012013")},
                                       {"FE003008", d("31012013")},
                                       {"FE003009", s("R1")},
                                       {"FE003010", d("300")},
                                       {"FE003011", d("66")},
                                       // FE row 4: an amount above 999.999 with its confirmation.
                                       {"FE004001", s(kPi2)},
                                       {"FE004007", d("01022013")},
                                       {"FE004008", d("05022013")},
                                       {"FE004009", s("3/A")},
                                       {"FE004010", d("1500000")},
                                       {"FE004011", d("330000")},
                                       {"FE004012", d("1")}}));
  f.record.push_back(f.NuovoDettaglio('D', 2,
                                      {{"FR001001", s(kPi3)},
                                       {"FR001003", d("10032013")},
                                       {"FR001004", d("12032013")},
                                       {"FR001008", d("800")},
                                       {"FR001009", d("176")},
                                       {"FR002002", d("1")},
                                       {"FR002003", d("31032013")},
                                       {"FR002004", d("31032013")},
                                       {"FR002008", d("100")},
                                       {"FR002009", d("22")}}));
  f.record.push_back(f.NuovoDettaglio('D', 3,
                                      {{"NE001001", s(kPi1)},
                                       {"NE001003", d("10042013")},
                                       {"NE001004", d("10042013")},
                                       {"NE001005", s("NC1")},
                                       {"NE001006", d("50")},
                                       {"NE001007", d("11")}}));
  f.record.push_back(f.NuovoDettaglio('D', 4,
                                      {{"NR001001", s(kPi3)},
                                       {"NR001002", d("11042013")},
                                       {"NR001003", d("12042013")},
                                       {"NR001004", d("40")},
                                       {"NR001005", d("8")}}));
  f.record.push_back(f.NuovoDettaglio('D', 5,
                                      {{"DF001001", s(kCfOmocodia)},
                                       {"DF001002", d("13052013")},
                                       {"DF001003", d("200")},
                                       {"DF001004", s("A")}}));
  f.record.push_back(
      f.NuovoDettaglio('D', 6,
                       {// FN row 1: a company whose name continues over three elements.
                        {"FN001007", s("ACME INTERNATION")},
                        {"FN001007", s("+AL TRADING LIMI")},
                        {"FN001007", s("+TED")},
                        {"FN001008", s("LONDON")},
                        {"FN001009", d("031")},
                        {"FN001010", s("1 HIGH STREET")},
                        {"FN001011", d("03062013")},
                        {"FN001012", d("04062013")},
                        {"FN001013", s("INV-7")},
                        {"FN001015", d("900")},
                        // FN row 2: a person.
                        {"FN002001", s("SMITH")},
                        {"FN002002", s("JOHN")},
                        {"FN002003", d("01011970")},
                        {"FN002004", s("LONDRA")},
                        {"FN002005", s("EE")},
                        {"FN002006", d("031")},
                        {"FN002011", d("05062013")},
                        {"FN002012", d("06062013")},
                        {"FN002013", s("INV-8")},
                        {"FN002015", d("100")}}));
  f.record.push_back(f.NuovoDettaglio('D', 7,
                                      {{"SE001007", s("BERLIN GMBH")},
                                       {"SE001008", s("BERLIN")},
                                       {"SE001009", d("094")},
                                       {"SE001010", s("STRASSE 1")},
                                       {"SE001012", d("07072013")},
                                       {"SE001013", d("08072013")},
                                       {"SE001014", s("F-9")},
                                       {"SE001015", d("700")},
                                       {"SE001016", d("154")}}));
  f.record.push_back(f.NuovoDettaglio('D', 8,
                                      {{"TU001001", s("MULLER")},
                                       {"TU001002", s("HANS")},
                                       {"TU001003", d("02021960")},
                                       {"TU001004", s("MONACO DI BAVIER")},
                                       {"TU001004", s("+A")},
                                       {"TU001005", s("EE")},
                                       {"TU001006", s("MUNCHEN")},
                                       {"TU001007", d("094")},
                                       {"TU001008", s("HAUPTSTRASSE 2")},
                                       {"TU001009", d("09082013")},
                                       {"TU001010", d("09082013")},
                                       {"TU001011", s("T-1")},
                                       {"TU001012", d("1200")},
                                       {"TU001013", d("264")}}));

  std::string e = RecordVuoto('E');
  Metti(e, 2, kCfPersona);
  Metti(e, 18, "00000001");
  Metti(e, 74, kProduttore);
  ImpostaElementi(e, {{"TA004001", d("3")},
                      {"TA004002", d("1")},
                      {"TA005001", d("1")},
                      {"TA005002", d("1")},
                      {"TA006001", d("1")},
                      {"TA007001", d("1")},
                      {"TA008001", d("1")},
                      {"TA009001", d("2")},
                      {"TA010001", d("1")},
                      {"TA011001", d("1")}});
  f.record.push_back(e);
  f.record.push_back(RecordZ(1, 0, 8, 1));
  return f;
}

FileProva FileProva::Aggregato() {
  FileProva f;
  f.record.push_back(RecordA("10", kCfIntermediario));
  std::string b = RecordB(kPiContribuente, "100", "10", "111000000001");
  Metti(b, 316, "ALFA SRL");
  // The bound subject, a person.
  Metti(b, 382, kCfTenuto);
  Metti(b, 398, "01");
  Metti(b, 416, "VERDI");
  Metti(b, 440, "GIUSEPPE");
  Metti(b, 460, "M");
  Metti(b, 461, "15031960");
  Metti(b, 469, "MILANO");
  Metti(b, 509, "MI");
  // The intermediary with its commitment.
  Metti(b, 571, kCfIntermediario);
  Metti(b, 592, "1");
  Metti(b, 594, "15022014");
  f.record.push_back(b);

  const auto d = Dx;
  const auto s = Sx;
  f.record.push_back(f.NuovoDettaglio('C', 1,
                                      {{"FA001001", s(kPi1)},
                                       {"FA001004", d("3")},
                                       {"FA001007", d("5000")},
                                       {"FA001008", d("1100")},
                                       {"FA002002", s(kCfAltraPersona)},
                                       {"FA002005", d("2")},
                                       {"FA002012", d("800")},
                                       {"FA002013", d("176")},
                                       {"FA003003", d("1")},
                                       {"FA003004", d("10")},
                                       {"FA003007", d("300")},
                                       {"FA003008", d("66")}}));
  f.record.push_back(f.NuovoDettaglio('C', 2,
                                      {{"FA001001", s(kPi2)},
                                       {"FA001006", s("A")},
                                       {"FA001007", d("100")},
                                       {"FA001008", d("22")}}));
  f.record.push_back(f.NuovoDettaglio('C', 3,
                                      {{"SA001001", s(kCfAltraPersona)},
                                       {"SA001002", d("4")},
                                       {"SA001003", d("1000")},
                                       {"SA002001", s(kPi3)},
                                       {"SA002002", d("1")},
                                       {"SA002003", d("50")},
                                       {"SA002004", s("B")}}));
  f.record.push_back(f.NuovoDettaglio('C', 4,
                                      {{"BL001007", s("ACME LTD")},
                                       {"BL001008", s("LONDON")},
                                       {"BL001009", d("031")},
                                       {"BL001010", s("HIGH STREET 1")},
                                       {"BL002001", s("GB123456789")},
                                       {"BL002002", d("1")},
                                       {"BL003001", d("1000")},
                                       {"BL006001", d("500")}}));
  f.record.push_back(f.NuovoDettaglio('C', 5,
                                      {{"BL001001", s("SMITH")},
                                       {"BL001002", s("JOHN")},
                                       {"BL001003", d("01011970")},
                                       {"BL001004", s("LONDRA")},
                                       {"BL001005", s("EE")},
                                       {"BL001006", d("31")},
                                       {"BL002003", d("1")},
                                       {"BL003001", d("200")}}));

  std::string e = RecordVuoto('E');
  Metti(e, 2, kPiContribuente);
  Metti(e, 18, "00000001");
  Metti(e, 74, kProduttore);
  ImpostaElementi(
      e, {{"TA001001", d("4")}, {"TA002001", d("2")}, {"TA003001", d("1")}, {"TA003002", d("1")}});
  f.record.push_back(e);
  f.record.push_back(RecordZ(1, 5, 0, 1));
  return f;
}

FileProva FileProva::Annullamento() {
  FileProva f;
  f.record.push_back(RecordA("01", kCfPersona));
  std::string b = RecordB(kCfPersona, "001", "00", "000000000000");
  Metti(b, 93, "13021512345678901");
  Metti(b, 110, "000123");
  Metti(b, 221, "ROSSI");
  Metti(b, 245, "MARIO");
  Metti(b, 265, "M");
  Metti(b, 266, "10121985");
  Metti(b, 274, "ROMA");
  Metti(b, 314, "RM");
  f.record.push_back(b);
  f.record.push_back(RecordZ(1, 0, 0, 0));
  return f;
}

}  // namespace fcl::test
