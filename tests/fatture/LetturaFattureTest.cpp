// Reading electronic invoices: the rules that make quadro rows, the XML as it comes (encodings,
// prefixes, several invoices, attachments), signed envelopes, the files and archives of a source,
// and the hostile cases.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "CartellaTemporanea.h"
#include "FattureProva.h"
#include "fatture/BustaP7m.h"
#include "fatture/CartellaFatture.h"
#include "fatture/ErroreFattura.h"
#include "fatture/LettoreFatturaXml.h"
#include "fatture/RegoleFatture.h"

namespace fcl {
namespace {

using test::Azienda;
using test::CartellaTemporanea;
using test::CorpoProva;
using test::FatturaProva;
using test::Operatore;
using test::SoggettoProva;

OpzioniFatture Opzioni(int anno = 2025) {
  OpzioniFatture o;
  o.partitaIva = test::kOperatore;
  o.codiceFiscale = test::kOperatore;
  o.anno = anno;
  return o;
}

Fattura Una(const FatturaProva& f) {
  LettoreFatturaXml xml;
  auto r = xml.Leggi(test::Xml(f));
  EXPECT_EQ(r.fatture.size(), f.corpi.size());
  return r.fatture.empty() ? Fattura{} : r.fatture.front();
}

std::string Testo(const std::vector<Cella>& c, std::size_t k) {
  return k < c.size() ? TestoCella(c[k]) : std::string();
}

TEST(RegoleFatture, QuadroDirezioneCaselleEImporti) {
  SoggettoProva consumatore;
  consumatore.codice.clear();
  consumatore.cf = "RSSMRA85T10A562S";
  consumatore.nome = "MARIO";
  consumatore.cognome = "ROSSI";
  SoggettoProva tedesca = Azienda(0);
  tedesca.paese = tedesca.nazione = "DE";
  tedesca.codice = "DE123456789";
  tedesca.comune = "BERLIN";
  SoggettoProva sammarinese = Azienda(1);
  sammarinese.paese = sammarinese.nazione = "SM";
  sammarinese.codice = "SM12345";
  const auto corpo = [](std::string tipo, std::string imponibile, std::string imposta,
                        std::string natura = "", std::string data = "2025-03-10") {
    CorpoProva c;
    c.tipo = std::move(tipo);
    c.data = std::move(data);
    c.riepiloghi = {{std::move(imponibile), std::move(imposta), std::move(natura)}};
    return c;
  };
  struct Case {
    std::string_view nome;
    SoggettoProva cedente, cessionario;
    CorpoProva corpo;
    std::string_view quadro;  // empty: not taken
    std::vector<std::pair<std::size_t, std::string>> celle;
    std::string_view nota;  // part of a note, or of the reason it is not taken
  } const kCases[] = {
      {"fattura emessa",
       Operatore(),
       Azienda(0),
       corpo("TD01", "1000.50", "220.11"),
       "FE",
       {{0, "00743110157"},
        {1, ""},
        {6, "10/03/2025"},
        {7, "10/03/2025"},
        {8, "1"},
        {9, "1000,5"},
        {10, "220,11"},
        {11, ""}},
       "presunta"},
      {"fattura a un consumatore",
       Operatore(),
       consumatore,
       corpo("TD01", "100", "22"),
       "FE",
       {{0, ""}, {1, "RSSMRA85T10A562S"}},
       ""},
      {"parcella ricevuta",
       Azienda(1),
       Operatore(),
       corpo("TD06", "500", "110"),
       "FR",
       {{0, "86334519757"}, {2, "10/03/2025"}, {5, ""}, {7, "500"}, {8, "110"}},
       ""},
      {"reverse charge ricevuta",
       Azienda(2),
       Operatore(),
       corpo("TD01", "800", "0", "N6.3"),
       "FR",
       {{5, "1"}, {8, "0"}},
       ""},
      {"regime del margine emessa",
       Operatore(),
       Azienda(0),
       corpo("TD01", "300", "0", "N5"),
       "FE",
       {{3, "1"}},
       ""},
      {"nota di credito emessa",
       Operatore(),
       Azienda(0),
       corpo("TD04", "50", "11"),
       "NE",
       {{0, "00743110157"}, {5, "50"}, {6, "11"}},
       ""},
      {"nota di credito ricevuta",
       Azienda(3),
       Operatore(),
       corpo("TD04", "50", "11"),
       "NR",
       {{0, "01234567897"}, {3, "50"}},
       ""},
      {"fattura negativa",
       Operatore(),
       Azienda(0),
       corpo("TD01", "-200", "-44"),
       "NE",
       {{5, "200"}, {6, "44"}},
       "totale negativo"},
      {"oltre 999.999",
       Operatore(),
       Azienda(0),
       corpo("TD01", "1000000.00", "0", "N3.1"),
       "FE",
       {{9, "1000000"}, {11, "1"}},
       ""},
      {"autofattura per splafonamento",
       Operatore(),
       Operatore(),
       corpo("TD21", "10", "2.2"),
       "FE",
       {{0, test::kOperatore}, {5, "1"}},
       ""},
      {"San Marino",
       sammarinese,
       Operatore(),
       corpo("TD28", "70", "0"),
       "SE",
       {{6, "AZIENDA 1"}, {8, "37"}, {10, "SM12345"}, {13, "1"}, {14, "70"}},
       ""},
      {"cliente tedesco",
       Operatore(),
       tedesca,
       corpo("TD01", "90", "0", "N3.2"),
       "FN",
       {{6, "AZIENDA 0"}, {7, "BERLIN"}, {8, ""}, {9, "VIA ROMA 1"}, {12, "1"}},
       "codice dello Stato estero (DE)"},
      {"servizi dall'estero",
       tedesca,
       Operatore(),
       corpo("TD17", "40", "8.8"),
       "SE",
       {{10, ""}, {14, "40"}, {15, "8,8"}},
       "da completare"},
      {"integrazione reverse charge",
       Azienda(2),
       Operatore(),
       corpo("TD16", "100", "22"),
       "FR",
       {{5, "1"}},
       "TD16"},
      {"beni ammortizzabili", Operatore(), Azienda(0), corpo("TD26", "1", "0"), "", {}, "TD26"},
      {"in dollari",
       Operatore(),
       Azienda(0),
       [&] {
         auto c = corpo("TD01", "1", "0");
         c.divisa = "USD";
         return c;
       }(),
       "",
       {},
       "USD"},
      {"di altri", Azienda(0), Azienda(1), corpo("TD01", "1", "0"), "", {}, "non riguarda"},
      {"dell'anno prima",
       Operatore(),
       Azienda(0),
       corpo("TD01", "1", "0", "", "2024-12-31"),
       "",
       {},
       "fuori dall'anno 2025"},
      {"nota verso l'estero", Operatore(), tedesca, corpo("TD04", "1", "0"), "", {}, "estera"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.nome);
    FatturaProva f;
    f.cedente = c.cedente;
    f.cessionario = c.cessionario;
    f.corpi = {c.corpo};
    const RigaDaFattura r = RegoleFattura(Una(f), Opzioni(), Registrazioni());
    EXPECT_EQ(r.quadro, c.quadro);
    EXPECT_EQ(r.scarto == MotivoScarto::Nessuno, !c.quadro.empty()) << r.dettaglio;
    for (const auto& [k, atteso] : c.celle) EXPECT_EQ(Testo(r.celle, k), atteso) << "colonna " << k;
    std::string note = r.dettaglio;
    for (const auto& n : r.note) note += "|" + n;
    EXPECT_NE(note.find(c.nota), std::string::npos) << note;
  }
}

TEST(RegoleFatture, DataDiRegistrazioneDallElencoDecideLAnno) {
  CartellaTemporanea dir;
  test::Scrivi(dir.Percorso() / "reg.csv",
               "partita_iva;numero;data_documento;data_registrazione\r\n"
               "00743110157;7;28/12/2024;10/01/2025\r\n");
  FatturaProva f;
  f.cedente = Azienda(0);
  f.cessionario = Operatore();
  f.corpi.front().numero = "7";
  f.corpi.front().data = "2024-12-28";
  const Registrazioni reg(dir.Percorso() / "reg.csv");
  const RigaDaFattura r = RegoleFattura(Una(f), Opzioni(2025), reg);
  ASSERT_EQ(r.quadro, "FR") << r.dettaglio;
  EXPECT_EQ(TestoCella(r.celle[2]), "28/12/2024");
  EXPECT_EQ(TestoCella(r.celle[3]), "10/01/2025");
  EXPECT_FALSE(r.registrazionePresunta);
  EXPECT_EQ(r.evidenziate, 0u);
  // Without the list the document date stands in, and decides the year.
  EXPECT_EQ(RegoleFattura(Una(f), Opzioni(2025), Registrazioni()).scarto, MotivoScarto::FuoriAnno);

  test::Scrivi(dir.Percorso() / "errata.csv",
               "partita_iva;numero;data_documento;data_registrazione\n"
               "00743110157;7;28/12/2024;31/02/2025\n");
  try {
    Registrazioni errata(dir.Percorso() / "errata.csv");
    FAIL();
  } catch (const Errore& e) {
    EXPECT_NE(std::string(e.what()).find("riga 2"), std::string::npos) << e.what();
  }
}

TEST(LettoreFatturaXml, CodificheEPrefissi) {
  struct Case {
    std::string codifica;
    bool bom;
    std::string prefisso;
    std::string denominazione;  // UTF-8
  } const kCases[] = {
      {"UTF-8", false, "p", "CAFFÈ BIANCHI"},
      {"UTF-8", true, "", "CAFFÈ BIANCHI"},
      {"ISO-8859-1", false, "ns3", "CAFFÈ BIANCHI"},
      {"windows-1252", false, "p", "CAFFÈ € BIANCHI"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.codifica + " " + c.prefisso);
    FatturaProva f;
    f.cedente = Operatore();
    f.cessionario = Azienda(0);
    f.cessionario.denominazione = c.denominazione;
    f.codifica = c.codifica;
    f.bom = c.bom;
    f.prefisso = c.prefisso;
    const Fattura letta = Una(f);
    EXPECT_EQ(letta.cessionario.denominazione, c.denominazione);
    EXPECT_EQ(letta.imponibile, 100000);
    EXPECT_EQ(letta.imposta, 22000);
  }
  FatturaProva f;
  f.codifica = "KOI8-R";
  LettoreFatturaXml xml;
  EXPECT_THROW(xml.Leggi(test::Xml(f)), ErroreFattura);
}

TEST(LettoreFatturaXml, PiuFattureEAllegatiDiMegabyte) {
  FatturaProva f;
  f.cedente = Operatore();
  f.cessionario = Azienda(0);
  f.corpi.resize(3);
  f.corpi[0].numero = "A1";
  f.corpi[1].numero = "A2";
  f.corpi[1].allegato = 3 << 20;
  f.corpi[1].riepiloghi = {{"10.00", "2.20", ""}, {"5.005", "0", "N4"}};
  f.corpi[2].numero = "A3";
  const std::string xml = test::Xml(f);
  // Fed in small blocks as from a file: the attachment's start tag falls anywhere in a block.
  for (const std::size_t blocco : {std::size_t{7}, std::size_t{4096}, xml.size()}) {
    SCOPED_TRACE(blocco);
    std::size_t pos = 0;
    LettoreFatturaXml lettore;
    const auto r = lettore.Leggi([&](char* d, std::size_t n) {
      const std::size_t k = std::min({n, blocco, xml.size() - pos});
      std::copy(xml.data() + pos, xml.data() + pos + k, d);
      pos += k;
      return k;
    });
    ASSERT_EQ(r.fatture.size(), 3u);
    EXPECT_EQ(r.fatture[1].numero, "A2");
    EXPECT_EQ(r.fatture[1].posizione, 2);
    EXPECT_EQ(r.fatture[1].imponibile, 1501);  // 10.00 + 5.005 rounded to the cent
    EXPECT_EQ(r.fatture[2].numero, "A3");
    EXPECT_EQ(r.fatture[2].cessionario.idCodice, "00743110157");
  }
}

TEST(LettoreFatturaXml, OstiliENonFatture) {
  const std::string risate =
      "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b "
      "\"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]><FatturaElettronica>&b;</FatturaElettronica>";
  const std::string esterna =
      "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>"
      "<FatturaElettronica>&x;</FatturaElettronica>";
  LettoreFatturaXml xml;
  for (const std::string& s : {risate, esterna}) {
    try {
      xml.Leggi(s);
      ADD_FAILURE() << s;
    } catch (const ErroreFattura& e) {
      EXPECT_NE(std::string(e.what()).find("DOCTYPE"), std::string::npos);
    }
  }
  EXPECT_THROW(xml.Leggi("<FatturaElettronica><a></FatturaElettronica>"), ErroreFattura);
  EXPECT_EQ(xml.Leggi("<?xml version=\"1.0\"?><p:FileMetadati xmlns:p=\"x\"><a/></p:FileMetadati>")
                .radice,
            "FileMetadati");
}

TEST(BustaP7m, DerBase64EFileAlterati) {
  FatturaProva f;
  f.cedente = Operatore();
  f.cessionario = Azienda(0);
  const std::string xml = test::Xml(f);
  for (const auto forma :
       {test::FormaP7m::Der, test::FormaP7m::Base64Righe, test::FormaP7m::Base64Unica}) {
    const std::string busta = test::Firma(xml, forma);
    EXPECT_TRUE(SembraP7m(busta));
    EXPECT_EQ(ContenutoP7m(busta), xml);
  }
  // A file signed twice is opened twice.
  EXPECT_EQ(ContenutoP7m(test::Firma(test::Firma(xml))), xml);

  std::string alterata = test::Firma(xml);
  const auto numero = alterata.find("<Numero>1<");
  ASSERT_NE(numero, std::string::npos);
  alterata[numero + 8] = '9';
  try {
    ContenutoP7m(alterata);
    FAIL();
  } catch (const ErroreFattura& e) {
    EXPECT_NE(std::string(e.what()).find("alterato"), std::string::npos) << e.what();
  }
  std::string troncata = test::Firma(xml);
  troncata.resize(troncata.size() / 2);
  EXPECT_THROW(ContenutoP7m(troncata), ErroreFattura);
  EXPECT_THROW(ContenutoP7m("MIIBnon base64 !!"), ErroreFattura);
}

std::string LeggiTesto(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// A source as a studio gets it: a folder with an invoice beside its signed copy, the portal's
// archive with folders, metadata, a notification, macOS entries, an archive inside and a bomb.
TEST(CartellaFatture, FileEArchiviDalMondoReale) {
  CartellaTemporanea dir;
  const auto fattura = [](std::string numero, bool emessa, std::string tipo = "TD01") {
    FatturaProva f;
    f.cedente = emessa ? Operatore() : Azienda(1);
    f.cessionario = emessa ? Azienda(0) : Operatore();
    f.corpi.front().numero = std::move(numero);
    f.corpi.front().tipo = std::move(tipo);
    return test::Xml(f);
  };
  const auto cartella = dir.Percorso() / "fatture";
  test::Scrivi(cartella / "IT01_E1.xml", fattura("E1", true));
  test::Scrivi(cartella / "IT01_E1.xml.p7m", test::Firma(fattura("E1", true)));
  test::Scrivi(cartella / "sub" / "IT01_R1.xml.p7m",
               test::Firma(fattura("R1", false), test::FormaP7m::Base64Righe));
  test::Scrivi(cartella / "leggimi.txt", "nulla");
  std::string bomba(64u << 20, '\0');
  const std::string interno = test::Zip({{"IT01_R3.xml", fattura("R3", false)}});
  test::Scrivi(
      dir.Percorso() / "portale.zip",
      test::Zip({{"2025/IT01_E2.xml", fattura("E2", true)},
                 {"2025/IT01_E2_metaDato.xml",
                  "<?xml version=\"1.0\"?><FileMetadati><IdentificativoSdI>1</IdentificativoSdI>"
                  "</FileMetadati>"},
                 {"2025/IT01_E2_RC_001.xml", "<RicevutaConsegna><a/></RicevutaConsegna>"},
                 {"__MACOSX/2025/._IT01_E2.xml", "\x00\x05\x16\x07"},
                 {"2025/IT01_R2.xml", fattura("R2", false, "TD04")},
                 {"2025/interno.zip", interno},
                 {"2025/bomba.xml", bomba},
                 {"2025/doppia.xml", fattura("E1", true)}}));
  bomba.clear();

  long long avanzamenti = 0;
  CartellaFatture c(std::vector<std::filesystem::path>{cartella, dir.Percorso() / "portale.zip"},
                    Opzioni(), [&](long long) { ++avanzamenti; });
  const RiepilogoFatture& r = c.Riepilogo();
  EXPECT_EQ(r.riportate[0], 2);  // FE: E1 and E2
  EXPECT_EQ(r.riportate[1], 2);  // FR: R1 and R3
  EXPECT_EQ(r.riportate[3], 1);  // NR: R2
  EXPECT_EQ(r.scartate[static_cast<std::size_t>(MotivoScarto::Doppia)], 2);
  EXPECT_EQ(r.scartate[static_cast<std::size_t>(MotivoScarto::NonFattura)], 2);
  EXPECT_EQ(r.scartate[static_cast<std::size_t>(MotivoScarto::AltroFile)], 2);
  EXPECT_EQ(r.scartate[static_cast<std::size_t>(MotivoScarto::FileIlleggibile)], 1);
  EXPECT_GE(avanzamenti, 12);

  // The rows as the run reads them: FE is the fifth sheet, data from row 4.
  ASSERT_EQ(c.NumeroFogli(), 12);
  EXPECT_EQ(c.NomeFoglio(5), "FE");
  EXPECT_EQ(TestoCella(c.Riga(5, 3)[6]), "Data documento");
  EXPECT_EQ(TestoCella(c.Riga(5, 4)[8]), "E1");
  EXPECT_EQ(TestoCella(c.Riga(5, 5)[8]), "E2");
  EXPECT_EQ(TestoCella(c.Riga(5, 6)[8]), "");
  EXPECT_EQ(TestoCella(c.Riga(5, 4)[8]), "E1");  // read again from the start
  EXPECT_EQ(TestoCella(c.Riga(6, 3)[2]).substr(0, 3), "Dat");
  EXPECT_EQ(c.Dati().Posizione("FR", 5), "fattura " + (dir.Percorso() / "portale.zip").string() +
                                             "/2025/interno.zip/IT01_R3.xml");

  const auto csv = dir.Percorso() / "X_FATTURE.csv";
  c.Dati().ScriviRapporto(csv);
  const std::string rapporto = LeggiTesto(csv);
  EXPECT_TRUE(
      rapporto.starts_with("\xEF\xBB\xBF"
                           "file;posizione;tipo_documento;numero;"));
  for (const std::string_view atteso :
       {";1;TD01;E1;10/03/2025;00743110157;FE;4;riportata;data di registrazione presunta",
        "fattura già letta in ", "file di metadati del Sistema di Interscambio",
        "notifica del Sistema di Interscambio (RicevutaConsegna)", "file di servizio di macOS",
        "rapporto di compressione anomalo", "leggimi.txt;;;;;;;;non_riportata;non è una fattura",
        "IT01_R2.xml;1;TD04;R2;10/03/2025;86334519757;NR;4;riportata"})
    EXPECT_NE(rapporto.find(atteso), std::string::npos) << atteso << "\n" << rapporto;
}

TEST(CartellaFatture, PercorsoMancanteEArchivioDanneggiato) {
  CartellaTemporanea dir;
  EXPECT_THROW(
      CartellaFatture(std::vector<std::filesystem::path>{dir.Percorso() / "manca"}, Opzioni()),
      Errore);
  std::string zip = test::Zip({{"a.xml", std::string(4000, 'x')}});
  zip.resize(zip.size() - 30);
  test::Scrivi(dir.Percorso() / "rotto.zip", zip);
  CartellaFatture c(std::vector<std::filesystem::path>{dir.Percorso() / "rotto.zip"}, Opzioni());
  EXPECT_EQ(c.Riepilogo().scartate[static_cast<std::size_t>(MotivoScarto::FileIlleggibile)], 1);
}

}  // namespace
}  // namespace fcl
