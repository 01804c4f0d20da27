#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "FileProva.h"
#include "verifica/Regole.h"
#include "verifica/VerificaComunicazione.h"

namespace fcl {
namespace {

using test::Dx;
using test::FileProva;
using test::Sx;

// What a test expects of a finding: the rule, the line, the field.
struct Atteso {
  Regola regola;
  long long record;
  std::string campo;
  bool operator==(const Atteso&) const = default;
  bool operator<(const Atteso& o) const {
    return std::tie(record, campo, regola) < std::tie(o.record, o.campo, o.regola);
  }
};

void PrintTo(const Atteso& a, std::ostream* os) {
  *os << NomeRegola(a.regola) << "@" << a.record << ":" << a.campo;
}

std::string Descrivi(const std::vector<Atteso>& v) {
  std::string s;
  for (const auto& a : v)
    s += std::string(NomeRegola(a.regola)) + "@" + std::to_string(a.record) + ":" + a.campo + " ";
  return s.empty() ? "(nessuno)" : s;
}

std::vector<Rilievo> Verifica(const std::string& testo) {
  std::istringstream in(testo);
  std::vector<Rilievo> rilievi;
  VerificaComunicazione(in, [&](const Rilievo& r) { rilievi.push_back(r); });
  return rilievi;
}

std::vector<Atteso> Trovati(const std::string& testo) {
  std::vector<Atteso> v;
  for (const auto& r : Verifica(testo)) v.push_back({r.regola, r.record, r.campo});
  std::sort(v.begin(), v.end());
  return v;
}

// The aggregated file with its line 7 a record D of quadro SE (and `altro` at its end, when
// given), the boxes, totals and counts made to agree with it: no kind of data is stated, so the
// mixture itself is the finding.
void MetteUnRecordD(FileProva& f, std::optional<test::Elemento> altro = std::nullopt) {
  f.Metti('B', 116, "00");
  f.Metti('B', 127, "1");
  std::vector<test::Elemento> elementi = {
      {"SE001007", Sx("BERLIN GMBH")}, {"SE001008", Sx("BERLIN")},   {"SE001009", Dx("094")},
      {"SE001010", Sx("STRASSE 1")},   {"SE001012", Dx("07072013")}, {"SE001013", Dx("08072013")},
      {"SE001014", Sx("F-9")},         {"SE001015", Dx("700")}};
  if (altro) elementi.push_back(*altro);
  f.record[f.Indice('C', 4)] = f.NuovoDettaglio('D', 5, elementi);
  f.Togli("TA003002");
  f.InserisciDopo("TA003001", "TA010001", Dx("1"));
  f.Metti('Z', 25, "000000004000000001");
}

// Lines of the test files: analytical 1 A, 2 B, 3 FE, 4 FR, 5 NE, 6 NR, 7 DF, 8 FN, 9 SE, 10 TU,
// 11 E, 12 Z; aggregated 1 A, 2 B, 3-4 FA, 5 SA, 6 BL company, 7 BL person, 8 E, 9 Z.
enum class Base { Analitico, Aggregato, Annullamento };

struct Caso {
  std::string_view nome;
  Base base;
  std::function<void(FileProva&)> cambia;
  std::vector<Atteso> attesi;
  std::function<void(std::string&)> cambiaTesto = nullptr;  // on the bytes, after the records
};

FileProva Crea(Base base) {
  switch (base) {
    case Base::Analitico:
      return FileProva::Analitico();
    case Base::Aggregato:
      return FileProva::Aggregato();
    case Base::Annullamento:
      return FileProva::Annullamento();
  }
  return FileProva::Analitico();
}

void Nulla(FileProva&) {}

using enum Regola;
constexpr auto A = Base::Analitico;
constexpr auto G = Base::Aggregato;

// Each case breaks one rule of the published layout in an otherwise clean file.
const Caso kCasi[] = {
    // The file and the frame of its records.
    {"riga senza CR", A, Nulla, {{FineRiga, 0, ""}}, [](std::string& t) { t.erase(1898, 1); }},
    {"ultima riga senza fine",
     A,
     Nulla,
     {{FineRiga, 0, ""}},
     [](std::string& t) { t.resize(t.size() - 2); }},
    {"record troppo lungo",
     A,
     [](FileProva& f) { f.Record('Z') += "X"; },
     {{LunghezzaRecord, 12, ""}}},
    {"carattere di controllo",
     A,
     [](FileProva& f) { f.Metti('D', 27, "\t"); },
     {{CarattereControllo, 3, ""}}},
    {"fine record", A, [](FileProva& f) { f.Metti('B', 1898, "B"); }, {{FineRecord, 2, ""}}},
    {"tipo record",
     A,
     [](FileProva& f) { f.record.insert(f.record.begin() + 2, test::RecordVuoto('X')); },
     {{TipoRecord, 3, ""}}},
    {"record dopo Z",
     A,
     [](FileProva& f) { f.record.push_back(f.record[0]); },
     {{OrdineRecord, 13, ""}}},
    {"manca il record A",
     A,
     [](FileProva& f) { f.record.erase(f.record.begin()); },
     {{RecordMancante, 1, ""}}},
    {"manca il record Z", A, [](FileProva& f) { f.record.pop_back(); }, {{RecordMancante, 0, ""}}},
    {"manca il record E",
     A,
     [](FileProva& f) { f.record.erase(f.record.begin() + 10); },
     {{RecordMancante, 11, ""}, {ConteggioZ, 11, ""}}},
    {"record D dopo il record E",
     A,
     [](FileProva& f) { std::swap(f.record[9], f.record[10]); },
     {{TotaleTA, 10, "TA011001"}, {OrdineRecord, 11, ""}}},
    {"riga vuota",
     A,
     Nulla,
     {{LunghezzaRecord, 3, ""}},
     [](std::string& t) { t.insert(2 * 1900, "\r\n"); }},
    {"riempitivo non vuoto",
     A,
     [](FileProva& f) { f.Metti('B', 700, "X"); },
     {{Riempitivo, 2, ""}}},
    {"data dell'impegno da 593",
     G,
     [](FileProva& f) { f.Metti('B', 593, "1"); },
     {{Riempitivo, 2, "B55"}}},
    {"codice fornitura",
     A,
     [](FileProva& f) { f.Metti('A', 16, "NSP01"); },
     {{ValoreFisso, 1, ""}}},
    {"progressivo modulo",
     A,
     [](FileProva& f) { f.Metti('D', 18, "00000002"); },
     {{ProgressivoModulo, 3, ""}}},
    {"progressivo modulo saltato",
     A,
     [](FileProva& f) { f.Metti(f.Record('D', 7), 18, "00000010"); },
     {{ProgressivoModulo, 10, ""}}},
    {"codice fiscale del record D",
     A,
     [](FileProva& f) { f.Metti(f.Record('D', 1), 2, test::kCfAltraPersona); },
     {{CodiceFiscaleRecord, 4, ""}}},
    {"produttore diverso",
     A,
     [](FileProva& f) { f.Metti(f.Record('D', 1), 74, test::kPi1); },
     {{CodiceProduttore, 4, ""}}},
    {"produttore non valido",
     A,
     [](FileProva& f) {
       for (auto& r : f.record)
         if (r[0] != 'A' && r[0] != 'Z') FileProva::Metti(r, 74, "00743110158");
     },
     {{CodiceProduttore, 2, "B7"}}},
    {"conteggio Z", A, [](FileProva& f) { f.Metti('Z', 34, "000000009"); }, {{ConteggioZ, 12, ""}}},

    // Values by their format class.
    {"campo obbligatorio",
     A,
     [](FileProva& f) { f.Metti('B', 141, "      "); },
     {{Obbligatorio, 2, "B28"}}},
    {"codice fiscale: carattere di controllo",
     A,
     [](FileProva& f) { f.Valore("FE002002", Sx("RCCMNL83S18D969X")); },
     {{CodiceFiscale, 3, "FE002002"}}},
    {"codice fiscale: giorno inesistente",
     A,
     [](FileProva& f) { f.Valore("DF001001", Sx("RCCMNL83S38D969H")); },
     {{CodiceFiscale, 7, "DF001001"}}},
    {"codice fiscale numerico",
     G,
     [](FileProva& f) { f.Valore("SA002001", Sx("01234560018")); },
     {{CodiceFiscale, 5, "SA002001"}}},
    {"codice fiscale del soggetto tenuto",
     G,
     [](FileProva& f) { f.Metti('B', 382, "VRDGPP60C15F205X"); },
     {{CodiceFiscale, 2, "B41"}}},
    {"partita IVA: cifra di controllo",
     A,
     [](FileProva& f) { f.Valore("FE001001", Sx("01234560018")); },
     {{PartitaIva, 3, "FE001001"}}},
    {"partita IVA corta",
     A,
     [](FileProva& f) { f.Valore("FR001001", Sx("123456")); },
     {{PartitaIva, 4, "FR001001"}}},
    {"partita IVA del contribuente",
     A,
     [](FileProva& f) { f.Metti('B', 130, "02342520159"); },
     {{PartitaIva, 2, "B27"}}},
    {"ufficio della partita IVA",
     A,
     [](FileProva& f) { f.Valore("NR001001", Sx("86334519757")); },
     {{UfficioPartitaIva, 6, "NR001001"}}},
    {"data inesistente",
     A,
     [](FileProva& f) { f.Valore("FE001007", Dx("31042013")); },
     {{Data, 3, "FE001007"}}},
    {"data scritta male",
     A,
     [](FileProva& f) { f.Valore("NE001003", Dx("1//22013")); },
     {{Data, 5, "NE001003"}}},
    {"data di nascita nel frontespizio",
     A,
     [](FileProva& f) { f.Metti('B', 266, "30021985"); },
     {{Data, 2, "B35"}}},
    {"protocollo non numerico",
     A,
     [](FileProva& f) { f.Metti('B', 93, "0000000000000000X"); },
     {{Numerico, 2, "B11"}}},
    {"importo negativo",
     A,
     [](FileProva& f) { f.Valore("FE001010", Dx("-1000")); },
     {{Importo, 3, "FE001010"}}},
    {"importo con decimali",
     A,
     [](FileProva& f) { f.Valore("NR001004", Dx("40,5")); },
     {{Importo, 6, "NR001004"}}},
    {"importo zero",
     A,
     [](FileProva& f) { f.Valore("FE001011", Dx("0")); },
     {{ValoreZero, 3, "FE001011"}}},
    {"casella diversa da 1",
     A,
     [](FileProva& f) { f.Valore("FE003003", Dx("X")); },
     {{Casella, 3, "FE003003"}}},
    {"codice Stato",
     A,
     [](FileProva& f) { f.Valore("SE001009", Dx("1234")); },
     {{CodiceStato, 9, "SE001009"}}},
    {"provincia",
     A,
     [](FileProva& f) { f.Valore("FN002005", Sx("E1")); },
     {{Provincia, 8, "FN002005"}}},
    {"provincia sconosciuta",
     A,
     [](FileProva& f) { f.Valore("FN002005", Sx("XX")); },
     {{ProvinciaSconosciuta, 8, "FN002005"}}},
    {"noleggio/leasing",
     A,
     [](FileProva& f) { f.Valore("DF001004", Sx("F")); },
     {{Leasing, 7, "DF001004"}}},
    {"numero allineato a sinistra",
     A,
     [](FileProva& f) { f.Valore("FE001010", Sx("1000")); },
     {{Allineamento, 3, "FE001010"}}},
    {"codice fiscale allineato a destra",
     A,
     [](FileProva& f) { f.Valore("FE002002", Dx(test::kPi1)); },
     {{Allineamento, 3, "FE002002"}}},
    {"leasing allineato a destra",
     G,
     [](FileProva& f) { f.Valore("SA002004", Dx("B")); },
     {{AllineamentoTesto, 5, "SA002004"}}},
    {"minuscole",
     A,
     [](FileProva& f) { f.Valore("FE001009", Sx("1/a")); },
     {{Minuscole, 3, "FE001009"}}},
    {"lettere accentate",
     A,
     [](FileProva& f) { f.Valore("FE001009", Sx("N\xB0 1")); },
     {{CarattereNonAscii, 3, "FE001009"}}},
    {"telefono",
     A,
     [](FileProva& f) { f.Metti('B', 147, "06-12345678 "); },
     {{Telefono, 2, "B29"}}},
    {"sesso", A, [](FileProva& f) { f.Metti('B', 265, "X"); }, {{Sesso, 2, "B34"}}},

    // Records A and B.
    {"tipo fornitore senza intermediario",
     A,
     [](FileProva& f) { f.Metti('A', 21, "10"); },
     {{TipoFornitore, 1, ""}}},
    {"tipo fornitore con intermediario",
     G,
     [](FileProva& f) { f.Metti('A', 21, "01"); },
     {{TipoFornitore, 1, ""}}},
    {"codice fiscale del fornitore",
     G,
     [](FileProva& f) { f.Metti('A', 23, test::kCfTenuto); },
     {{FornitoreA, 1, ""}}},
    {"progressivo dell'invio",
     A,
     [](FileProva& f) {
       f.Metti('A', 522, "0001");
       f.Metti('A', 526, "0001");
     },
     {{ProgressivoInvio, 1, ""}}},
    {"due tipi di comunicazione",
     A,
     [](FileProva& f) { f.Metti('B', 90, "110"); },
     {{TipoComunicazione, 2, "B8"}}},
    {"protocollo in una comunicazione ordinaria",
     A,
     [](FileProva& f) { f.Metti('B', 93, "00000000000012345"); },
     {{Protocollo, 2, "B11"}}},
    {"sostitutiva senza protocollo documento",
     A,
     [](FileProva& f) {
       f.Metti('B', 90, "010");
       f.Metti('B', 93, "13021512345678901");
     },
     {{Protocollo, 2, "B12"}}},
    {"aggregati e analitici insieme",
     A,
     [](FileProva& f) { f.Metti('B', 116, "11"); },
     {{TipologiaDati, 2, "B13"}}},
    {"casella di un quadro senza dati",
     A,
     [](FileProva& f) { f.Metti('B', 118, "1"); },
     {{QuadroCompilato, 2, "B15"}}},
    {"quadro con dati senza casella",
     A,
     [](FileProva& f) { f.Metti('B', 121, "0"); },
     {{QuadroCompilato, 2, "B18"}}},
    {"record D in dati aggregati",
     A,
     [](FileProva& f) { f.Metti('B', 116, "10"); },
     {{DatiMisti, 3, ""}}},
    {"record C e D insieme",
     G,
     [](FileProva& f) { MetteUnRecordD(f); },
     {{TipologiaDati, 2, "B13"}, {DatiMisti, 7, ""}}},
    {"codice già visto in un record C, poi in un record D",
     G,
     [](FileProva& f) {
       MetteUnRecordD(f, test::Elemento{"FA001004", Dx("3")});
     },
     {{TipologiaDati, 2, "B13"}, {DatiMisti, 7, ""}, {CodiceCampo, 7, "FA001004"}}},
    {"annullamento con dati",
     A,
     [](FileProva& f) {
       f.Metti('B', 90, "001");
       f.Metti('B', 93, "13021512345678901");
       f.Metti('B', 110, "000123");
       f.Metti('B', 116, "00000000000000");
     },
     {{Annullamento, 3, ""}}},
    {"annullamento con caselle dei quadri",
     Base::Annullamento,
     [](FileProva& f) { f.Metti('B', 121, "1"); },
     {{Annullamento, 2, "B18"}}},
    {"persona fisica e denominazione",
     A,
     [](FileProva& f) { f.Metti('B', 316, "ROSSI SRL"); },
     {{DatiContribuente, 2, "B38"}}},
    {"persona fisica incompleta",
     A,
     [](FileProva& f) { f.Metti('B', 314, "  "); },
     {{DatiContribuente, 2, "B37"}}},
    {"codice fiscale di persona con denominazione",
     A,
     [](FileProva& f) {
       f.Metti('B', 221, std::string(95, ' '));
       f.Metti('B', 266, "00000000");
       f.Metti('B', 316, "ROSSI SRL");
     },
     {{TipoSoggetto, 2, "B2"}}},
    {"mese non valido",
     A,
     [](FileProva& f) { f.Metti('B', 380, "13"); },
     {{MeseTrimestre, 2, "B40"}}},
    {"mese in una comunicazione annuale",
     A,
     [](FileProva& f) { f.Metti('B', 380, "05"); },
     {{MeseTrimestre, 2, "B40"}}},
    {"soggetto tenuto uguale al contribuente",
     G,
     [](FileProva& f) { f.Metti('B', 382, Sx(test::kPiContribuente)); },
     {{SoggettoTenuto, 2, "B41"}}},
    {"soggetto tenuto senza carica",
     G,
     [](FileProva& f) { f.Metti('B', 398, "00"); },
     {{SoggettoTenuto, 2, "B42"}}},
    {"soggetto tenuto incompleto",
     G,
     [](FileProva& f) { f.Metti('B', 469, std::string(40, ' ')); },
     {{DatiSoggettoTenuto, 2, "B49"}}},
    {"dati del soggetto tenuto senza codice fiscale",
     A,
     [](FileProva& f) { f.Metti('B', 398, "05"); },
     {{DatiSoggettoTenuto, 2, "B41"}}},
    {"intermediario senza data dell'impegno",
     G,
     [](FileProva& f) { f.Metti('B', 594, "00000000"); },
     {{Intermediario, 2, "B56"}}},
    {"intermediario senza chi ha predisposto",
     G,
     [](FileProva& f) { f.Metti('B', 592, "0"); },
     {{Intermediario, 2, "B54"}}},
    {"numero del C.A.F. senza intermediario",
     A,
     [](FileProva& f) { f.Metti('B', 587, "12345"); },
     {{Intermediario, 2, "B53"}}},
    {"impegno senza intermediario",
     A,
     [](FileProva& f) { f.Metti('B', 592, "2"); },
     {{Intermediario, 2, "B54"}}},

    // Detail records.
    {"campo inesistente",
     A,
     [](FileProva& f) { f.Codice("FE001011", "FE001013"); },
     {{CodiceCampo, 3, "FE001013"}}},
    {"quadro nel tipo di record sbagliato",
     A,
     [](FileProva& f) { f.InserisciDopo("NR001005", "FA001004", Dx("1")); },
     {{CodiceCampo, 6, "FA001004"}}},
    {"codice di campo malformato",
     A,
     [](FileProva& f) { f.InserisciDopo("NR001005", "NR0A1006", Dx("1")); },
     {{CodiceCampo, 6, "NR0A1006"}}},
    {"rigo oltre il modulo",
     A,
     [](FileProva& f) {
       for (const char* c : {"NR001001", "NR001002", "NR001003", "NR001004", "NR001005"})
         f.Codice(c, std::string("NR011") + (c + 5));
     },
     {{RigoModulo, 6, "NR011001"},
      {RigoModulo, 6, "NR011002"},
      {RigoModulo, 6, "NR011003"},
      {RigoModulo, 6, "NR011004"},
      {RigoModulo, 6, "NR011005"}}},
    {"campo ripetuto",
     A,
     [](FileProva& f) { f.Codice("FE001011", "FE001010"); },
     {{CampoRipetuto, 3, "FE001010"}}},
    {"continuazione senza elemento iniziale",
     A,
     [](FileProva& f) { f.InserisciDopo("FE001009", "FE001005", Sx("+A")); },
     {{Continuazione, 3, "FE001005"}}},
    {"continuazione di una data",
     A,
     [](FileProva& f) { f.InserisciDopo("FN001011", "FN001011", Sx("+1")); },
     {{Continuazione, 8, "FN001011"}}},
    {"continuazione divisa fra due record",
     A,
     [](FileProva& f) {
       // FN row 1 fills its record with a long address, which goes on in the next record.
       const auto d = Dx;
       const auto s = Sx;
       std::vector<test::Elemento> primo = {{"FN001007", s("ACME LTD")},
                                            {"FN001008", s("LONDON")},
                                            {"FN001009", d("031")},
                                            {"FN001010", s("1 HIGH STREET")}};
       while (primo.size() < 75) primo.push_back({"FN001010", s("+CONTINUAZIONE")});
       const std::vector<test::Elemento> secondo = {
           {"FN001010", s("+FINE")},    {"FN001011", d("03062013")}, {"FN001012", d("04062013")},
           {"FN001013", s("INV-7")},    {"FN001015", d("900")},      {"FN002001", s("SMITH")},
           {"FN002002", s("JOHN")},     {"FN002003", d("01011970")}, {"FN002004", s("LONDRA")},
           {"FN002005", s("EE")},       {"FN002006", d("031")},      {"FN002011", d("05062013")},
           {"FN002012", d("06062013")}, {"FN002013", s("INV-8")},    {"FN002015", d("100")}};
       const std::size_t i = f.Indice('D', 5);
       f.record[i] = f.NuovoDettaglio('D', 6, primo);
       f.record.insert(f.record.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                       f.NuovoDettaglio('D', 7, secondo));
       f.Rinumera();
       f.Metti('Z', 34, "000000009");
     },
     {{ContinuazioneDivisa, 9, "FN001010"}}},
    {"elemento dopo uno spazio vuoto",
     A,
     [](FileProva& f) { f.Metti('D', 90 + 24 * 5, std::string(24, ' ')); },
     {{ElementoDopoVuoto, 3, "FE002002"}}},
    {"elemento senza valore",
     A,
     [](FileProva& f) { f.Valore("FE001011", Sx("")); },
     {{ValoreVuoto, 3, "FE001011"}}},
    {"partita IVA e codice fiscale",
     A,
     [](FileProva& f) { f.InserisciDopo("FE001001", "FE001002", Sx(test::kCfAltraPersona)); },
     {{Alternativi, 3, "FE001002"}}},
    {"documento riepilogativo con partita IVA",
     A,
     [](FileProva& f) { f.InserisciDopo("FR002002", "FR002001", Sx(test::kPi1)); },
     {{Alternativi, 4, "FR002001"}}},
    {"persona fisica e soggetto diverso",
     G,
     [](FileProva& f) { f.InserisciDopo("BL001006", "BL001007", Sx("SMITH LTD")); },
     {{Alternativi, 7, "BL001007"}, {DatiIncompleti, 7, "BL001008"}}},
    {"controparte mancante",
     A,
     [](FileProva& f) { f.Togli("FE001001"); },
     {{DatoMancante, 3, "FE001001"}}},
    {"tipo di operazione black list mancante",
     G,
     [](FileProva& f) { f.Togli("BL002002"); },
     {{DatoMancante, 6, "BL002002"}, {SezioneBL, 6, "BL003001"}, {TotaleTA, 8, "TA003001"}}},
    {"dati della persona incompleti",
     A,
     [](FileProva& f) { f.Togli("FN002004"); },
     {{DatiIncompleti, 8, "FN002004"}}},
    {"sezione black list",
     G,
     [](FileProva& f) { f.InserisciDopo("BL002003", "BL004001", Dx("10")); },
     {{SezioneBL, 7, "BL004001"}}},
    {"importo oltre 999.999 senza conferma",
     A,
     [](FileProva& f) { f.Togli("FE004012"); },
     {{ConfermaImporto, 3, "FE004012"}}},
    {"conferma superflua",
     A,
     [](FileProva& f) { f.InserisciDopo("FE001011", "FE001012", Dx("1")); },
     {{ConfermaSuperflua, 3, "FE001012"}}},
    {"registrazione fuori anno",
     A,
     [](FileProva& f) { f.Valore("FE001008", Dx("20012014")); },
     {{DataFuoriAnno, 3, "FE001008"}}},
    {"San Marino senza mese",
     A,
     [](FileProva& f) { f.Valore("SE001009", Dx("037")); },
     {{SanMarino, 9, "SE001009"}}},
    {"identificativo IVA fuori da San Marino",
     A,
     [](FileProva& f) { f.InserisciDopo("SE001010", "SE001011", Sx("SM12345")); },
     {{IdentificativoIva, 9, "SE001011"}}},
    {"totale TA diverso",
     A,
     [](FileProva& f) { f.Valore("TA004001", Dx("4")); },
     {{TotaleTA, 11, "TA004001"}}},
    {"totale TA mancante",
     A,
     [](FileProva& f) { f.Togli("TA006001"); },
     {{TotaleTA, 11, "TA006001"}}},
    {"totale TA a zero",
     A,
     [](FileProva& f) { f.InserisciDopo("TA011001", "TA003001", Dx("0")); },
     {{ValoreZero, 11, "TA003001"}}},
    {"codice TA inesistente",
     A,
     [](FileProva& f) { f.InserisciDopo("TA011001", "TA012001", Dx("1")); },
     {{CodiceCampo, 11, "TA012001"}}},
};

TEST(VerificaComunicazione, OgniRegolaConIlSuoCaso) {
  for (const Caso& caso : kCasi) {
    SCOPED_TRACE(caso.nome);
    FileProva f = Crea(caso.base);
    caso.cambia(f);
    std::string testo = f.Testo();
    if (caso.cambiaTesto) caso.cambiaTesto(testo);
    std::vector<Atteso> attesi = caso.attesi;
    std::sort(attesi.begin(), attesi.end());
    const auto trovati = Trovati(testo);
    EXPECT_EQ(trovati, attesi) << "trovati: " << Descrivi(trovati)
                               << "\natteso: " << Descrivi(attesi);
  }
}

// Rows that lack what the layout makes mandatory are errors, named at the missing field (or at the
// flag that asks for it); rows that are merely thin are warnings. Each case takes fields out of a
// clean file.
TEST(VerificaComunicazione, RigheIncomplete) {
  struct Incompleta {
    std::string_view nome;
    Base base;
    std::vector<std::string_view> togli;
    std::vector<Atteso> attesi;
  } const kIncomplete[] = {
      {"FE senza data del documento", A, {"FE001007"}, {{DatoMancante, 3, "FE001007"}}},
      {"FE senza data di registrazione", A, {"FE002008"}, {{DatoMancante, 3, "FE002008"}}},
      {"FE senza numero", A, {"FE003009"}, {{DatoMancante, 3, "FE003009"}}},
      {"FE senza importi", A, {"FE002010", "FE002011"}, {{DatoMancante, 3, "FE002010"}}},
      {"FE con la sola imposta", A, {"FE002010"}, {}},
      {"FR senza date",
       A,
       {"FR001003", "FR001004"},
       {{DatoMancante, 4, "FR001003"}, {DatoMancante, 4, "FR001004"}}},
      {"FR senza importi", A, {"FR002008", "FR002009"}, {{DatoMancante, 4, "FR002008"}}},
      {"NE senza data di emissione", A, {"NE001003"}, {{DatoMancante, 5, "NE001003"}}},
      {"NE senza registrazione", A, {"NE001004"}, {{DatoMancante, 5, "NE001004"}}},
      {"NE senza numero", A, {"NE001005"}, {{DatoMancante, 5, "NE001005"}}},
      {"NE senza importi", A, {"NE001006", "NE001007"}, {{DatoMancante, 5, "NE001006"}}},
      {"NR senza date né importi",
       A,
       {"NR001002", "NR001003", "NR001004", "NR001005"},
       {{DatoMancante, 6, "NR001002"},
        {DatoMancante, 6, "NR001003"},
        {DatoMancante, 6, "NR001004"}}},
      {"DF senza data", A, {"DF001002"}, {{DatoMancante, 7, "DF001002"}}},
      {"DF senza importo", A, {"DF001003"}, {{DatoMancante, 7, "DF001003"}}},
      {"FN né persona né società",
       A,
       {"FN002001", "FN002002", "FN002003", "FN002004", "FN002005", "FN002006"},
       {{DatoMancante, 8, "FN002001"}}},
      {"FN senza date, numero e importi",
       A,
       {"FN001011", "FN001012", "FN001013", "FN001015"},
       {{DatoMancante, 8, "FN001011"},
        {DatoMancante, 8, "FN001012"},
        {DatoMancante, 8, "FN001013"},
        {DatoMancante, 8, "FN001015"}}},
      {"SE senza date, numero e importi",
       A,
       {"SE001012", "SE001013", "SE001014", "SE001015", "SE001016"},
       {{DatoMancante, 9, "SE001012"},
        {DatoMancante, 9, "SE001013"},
        {DatoMancante, 9, "SE001014"},
        {DatoMancante, 9, "SE001015"}}},
      {"TU senza cognome", A, {"TU001001"}, {{DatoMancante, 10, "TU001001"}}},
      {"TU con la persona incompleta", A, {"TU001003"}, {{DatiIncompleti, 10, "TU001003"}}},
      {"TU con la residenza incompleta", A, {"TU001008"}, {{DatiIncompleti, 10, "TU001008"}}},
      {"TU senza date, numero e importi",
       A,
       {"TU001009", "TU001010", "TU001011", "TU001012", "TU001013"},
       {{DatoMancante, 10, "TU001009"},
        {DatoMancante, 10, "TU001010"},
        {DatoMancante, 10, "TU001011"},
        {DatoMancante, 10, "TU001012"}}},
      {"BL non residenti senza importi",
       G,
       {"BL003001", "BL003001"},
       {{DatoMancante, 7, "BL002003"}}},
      {"BL fiscalità privilegiata senza importi",
       G,
       {"BL003001", "BL006001"},
       {{DatoMancante, 6, "BL002002"}}},
      {"FA senza numeri né importi",
       G,
       {"FA001007", "FA001008", "FA001007", "FA001008"},
       {{DatiIncompleti, 4, "FA001004"}}},
      {"SA senza numero né importo",
       G,
       {"SA002002", "SA002003"},
       {{DatiIncompleti, 5, "SA002002"}}},
  };
  for (const auto& c : kIncomplete) {
    SCOPED_TRACE(c.nome);
    FileProva f = Crea(c.base);
    for (const auto codice : c.togli) f.Togli(codice);  // the first element left with the code
    std::vector<Atteso> attesi = c.attesi;
    std::sort(attesi.begin(), attesi.end());
    const auto trovati = Trovati(f.Testo());
    EXPECT_EQ(trovati, attesi) << "trovati: " << Descrivi(trovati)
                               << "\natteso: " << Descrivi(attesi);
  }
}

// Files that respect the layout, each with a feature the rules must accept.
TEST(VerificaComunicazione, FileCorrettiSenzaRilievi) {
  struct Pulito {
    std::string_view nome;
    Base base;
    std::function<void(FileProva&)> cambia;
  } const kPuliti[] = {
      {"analitico", A, Nulla},
      {"aggregato con soggetto tenuto e intermediario", G, Nulla},
      {"annullamento", Base::Annullamento, Nulla},
      {"San Marino con il mese", A,
       [](FileProva& f) {
         f.Valore("SE001009", Dx("037"));
         f.InserisciDopo("SE001010", "SE001011", Sx("SM12345"));
         f.Metti('B', 380, "05");
       }},
      {"black list trimestrale", G, [](FileProva& f) { f.Metti('B', 380, "T1"); }},
      {"comunicazione annuale con 00", A, [](FileProva& f) { f.Metti('B', 380, "00"); }},
      {"sostitutiva", A,
       [](FileProva& f) {
         f.Metti('B', 90, "010");
         f.Metti('B', 93, "13021512345678901");
         f.Metti('B', 110, "000123");
       }},
      {"moduli numerati da 1 per ogni quadro", A,
       [](FileProva& f) {
         for (int n = 0; n < 8; ++n) f.Metti(f.Record('D', n), 18, "00000001");
       }},
      {"codice Stato di tre cifre", G, [](FileProva& f) { f.Valore("BL001006", Dx("031")); }},
  };
  for (const auto& p : kPuliti) {
    SCOPED_TRACE(p.nome);
    FileProva f = Crea(p.base);
    p.cambia(f);
    const auto trovati = Trovati(f.Testo());
    EXPECT_TRUE(trovati.empty()) << Descrivi(trovati);
  }
}

// Every rule of the check has at least one case above (FileVuoto has its own test).
TEST(VerificaComunicazione, OgniRegolaHaUnCaso) {
  std::set<Regola> coperte = {Regola::FileVuoto};
  for (const Caso& caso : kCasi)
    for (const Atteso& a : caso.attesi) coperte.insert(a.regola);
  for (int r = 0; r <= static_cast<int>(Regola::TotaleTA); ++r)
    EXPECT_TRUE(coperte.count(static_cast<Regola>(r))) << NomeRegola(static_cast<Regola>(r));
}

TEST(VerificaComunicazione, FileVuoto) {
  EXPECT_EQ(Trovati(""), (std::vector<Atteso>{{FileVuoto, 0, ""}}));
}

}  // namespace
}  // namespace fcl
