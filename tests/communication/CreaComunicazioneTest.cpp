#include "communication/CreaComunicazione.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <optional>

#include "CartellaTemporanea.h"
#include "InterazioneRegistrata.h"
#include "SupportoTracciato.h"
#include "common/CodiceProduttore.h"
#include "common/Errori.h"
#include "communication/CopertinaNulla.h"
#include "communication/VerificaCreazione.h"
#include "store/Database.h"
#include "store/Schema.h"

namespace fcl {
namespace {

using test::Campo;
using test::CartellaTemporanea;
using test::InterazioneRegistrata;
using test::LeggiFile;
using test::ScriviFile;

constexpr std::string_view kCF = "RSSMRA70C05H501Z";

// Records the documents the creation opens at the end.
class AperturaRegistrata : public ApriDocumento {
 public:
  std::vector<std::filesystem::path> aperti;
  void Apri(const std::filesystem::path& p) override { aperti.push_back(p); }
};

// A cover that records the calls and what it was given; it can be told to fail on a page.
class CopertinaRegistrata : public Copertina {
 public:
  std::vector<std::string> chiamate;
  std::filesystem::path percorso;
  std::string autore;
  std::string tipoDettaglio;
  std::vector<CampoTA> campiTA;
  std::string cfRiepilogo;
  bool falliscePagina2 = false;

  void Inizia(const std::filesystem::path& p, const std::string& a) override {
    chiamate.push_back("Inizia");
    percorso = p;
    autore = a;
  }
  void Pagina1(const DatiFrontespizio& d) override {
    chiamate.push_back("Pagina1");
    tipoDettaglio = std::string(1, d.piano.tipoDettaglio);
    EXPECT_EQ(d.riga.ocod, kCF);
    EXPECT_EQ(d.operatore.codiceFiscale, kCF);
  }
  void Pagina2(const DatiRiepilogo& d) override {
    chiamate.push_back("Pagina2");
    if (falliscePagina2) throw ErroreFile("Impossibile scrivere il frontespizio");
    campiTA = d.piano.campiTA;
    cfRiepilogo = d.codiceFiscale;
  }
  void Completa() override { chiamate.push_back("Completa"); }
  void Abbandona() noexcept override { chiamate.push_back("Abbandona"); }
};

// One detail record as the workbook run writes it.
std::string Dettaglio(char tipo, int modulo, std::string_view cf = kCF,
                      std::string_view contenuto = "FA001001        12345678") {
  std::string r(1898, ' ');
  r[0] = tipo;
  r.replace(1, cf.size(), cf);
  const std::string n = std::to_string(modulo);
  r.replace(17, 8, std::string(8 - n.size(), '0') + n);
  r.replace(73, 11, kCodiceProduttore);
  r.replace(89, contenuto.size(), contenuto);
  r[1897] = 'A';
  return r;
}

std::string Linee(std::initializer_list<std::string> record) {
  std::string s;
  for (const auto& r : record) s += r + "\r\n";
  return s;
}

std::vector<std::string> RigheDelFile(const std::string& contenuto) {
  std::vector<std::string> righe;
  for (std::size_t p = 0; p < contenuto.size(); p += 1900)
    righe.push_back(contenuto.substr(p, 1900));
  return righe;
}

class CreaComunicazioneTest : public ::testing::Test {
 protected:
  CreaComunicazioneTest() : db_(Database::InMemoria()) {
    CreaSchema(db_);
    db_.Esegui(
        "INSERT INTO COPE (OCOD, OCOG, ONOME, OSEX, ONDT, ONCOM, ONPRO, OSTP, OPIVA, ODES, OATT) "
        "VALUES (?, 'Rossi', 'Mario', 'M', ?, 'Forlì', 'FC', '0', '01234567897', 'ROSSI MARIO', "
        "'692000')",
        {std::string(kCF), Data{1970, 3, 5}});
    ctx_.cartellaProgramma = dir_.Percorso();
    ctx_.connessioneDb = &db_;
    ctx_.interazione = &ui_;
    ctx_.apriDocumento = &apertura_;
    ctx_.operatoreCorrente.codiceFiscale = std::string(kCF);
    ctx_.operatoreCorrente.nomeVisualizzato = "ROSSIMARIO";
    ctx_.totaliImport.percorsoListato = Listato();
    ScriviFile(Listato(), "%PDF listato");
    Righe(FA, 4);
    scelta_.anno = "2013";
  }

  std::filesystem::path Listato() const { return dir_ / "FCL_ROSSIMARIO_LISTATO.PDF"; }
  std::filesystem::path Comunicazione() const { return dir_ / "FCL_ROSSIMARIO.TXT"; }
  std::filesystem::path Intermedio() const { return dir_ / "FCLtemp.TXT"; }
  void Righe(int quadro, int n) {
    ctx_.totaliImport.righePerQuadro[static_cast<std::size_t>(quadro)] = n;
    ctx_.totaliImport.righeTotali += n;
  }
  EsitoCreazione Crea() { return CreaComunicazione(ctx_, scelta_, copertina_); }

  // The questions asked, but the one of the check that closes the creation (the synthetic records
  // of these tests break rules of the published layout; the recorded interaction keeps the file).
  std::vector<std::string> DomandeSenzaVerifica() const {
    std::vector<std::string> testi;
    for (const auto& v : ui_.voci)
      if (v.tipo == "domanda" && v.titolo != kTitoloVerifica) testi.push_back(v.testo);
    return testi;
  }

  // The files in the folder, so that a leftover temporary file shows.
  std::vector<std::string> FileNellaCartella() const {
    std::vector<std::string> nomi;
    for (const auto& e : std::filesystem::directory_iterator(dir_.Percorso()))
      nomi.push_back(e.path().filename().string());
    std::sort(nomi.begin(), nomi.end());
    return nomi;
  }

  CartellaTemporanea dir_;
  Database db_;
  InterazioneRegistrata ui_;
  AperturaRegistrata apertura_;
  CopertinaRegistrata copertina_;
  Contesto ctx_;
  SceltaCreazione scelta_;
};

void ControllaRighe(const std::string& contenuto) {
  ASSERT_EQ(contenuto.size() % 1900, 0u);
  for (const std::string& riga : RigheDelFile(contenuto)) {
    EXPECT_EQ(riga.substr(1897), "A\r\n") << riga.substr(0, 30);
  }
}

TEST_F(CreaComunicazioneTest, AggregatiConAnaliticiNelFoglio) {
  Righe(BL, 1);
  Righe(FE, 2);
  ScriviFile(Intermedio(), Linee({Dettaglio('C', 1), Dettaglio('C', 2), Dettaglio('C', 3),
                                  Dettaglio('D', 4), Dettaglio('D', 5)}));
  const EsitoCreazione e = Crea();
  ASSERT_EQ(e.stato, EsitoCreazione::Stato::Creata) << e.messaggio;
  EXPECT_EQ(e.fileComunicazione, Comunicazione());
  EXPECT_EQ(e.fileCopertina, dir_ / "FCL_ROSSIMARIO_FRONTESPIZIO.PDF");
  EXPECT_EQ(e.recordC, 3);
  EXPECT_EQ(e.recordD, 0);

  const std::string file = LeggiFile(Comunicazione());
  ControllaRighe(file);
  const auto righe = RigheDelFile(file);
  ASSERT_EQ(righe.size(), 7u);
  std::string tipi;
  for (const auto& r : righe) tipi += r[0];
  EXPECT_EQ(tipi, "ABCCCEZ");
  EXPECT_EQ(Campo(righe[1], 116, 14), "10101000000001");  // FA, BL; FE left out
  EXPECT_EQ(righe[2], Dettaglio('C', 1) + "\r\n");
  EXPECT_EQ(righe[4], Dettaglio('C', 3) + "\r\n");
  EXPECT_EQ(Campo(righe[5], 90, 48), "TA001001               4TA003001               0");
  EXPECT_EQ(Campo(righe[6], 16, 36), "000000001000000003000000000000000001");
  EXPECT_EQ(LeggiFile(Listato()), "%PDF listato");

  // The user is told about both kinds, and that FE was left out.
  const std::string atteso =
      " COMUNICAZIONE FISCOLARIO creata.\r  \r Soggetto: RSSMRA70C05H501Z ROSSIMARIO\r  \r File: "
      " " +
      Comunicazione().string() +
      "   \r  \r  \r ATTENZIONE: quadri compilati ma NON inclusi nella comunicazione (una "
      "tipologia di dati esclude l'altra): FE\r  ";
  // Before it, the check's question (these records break rules of the layout): kept.
  ASSERT_EQ(ui_.voci.size(), 2u);
  EXPECT_EQ(ui_.voci[0].titolo, kTitoloVerifica);
  EXPECT_EQ(ui_.voci[1].testo.substr(0, atteso.size()), atteso);
  EXPECT_NE(ui_.voci[1].testo.find(" Verifica del tracciato: 7 errori, 7 avvertimenti (rapporto: " +
                                   (dir_ / "FCL_ROSSIMARIO_VERIFICA.TXT").string() + ")\r"),
            std::string::npos)
      << ui_.voci[1].testo;
  EXPECT_EQ(ui_.voci[1].titolo, "Crea comunicazione");
  EXPECT_EQ(ui_.voci[1].icona, Icona::Informazione);
  EXPECT_EQ(e.messaggio, ui_.voci[1].testo);
  EXPECT_EQ(e.erroriVerifica, 7);
  EXPECT_EQ(e.fileVerifica, dir_ / "FCL_ROSSIMARIO_VERIFICA.TXT");
  EXPECT_EQ(apertura_.aperti, std::vector<std::filesystem::path>{Listato()});
  EXPECT_EQ(copertina_.chiamate,
            (std::vector<std::string>{"Inizia", "Pagina1", "Pagina2", "Completa"}));
  EXPECT_EQ(copertina_.percorso, e.fileCopertina);
  EXPECT_EQ(copertina_.autore, "ROSSIMARIO");  // the document's Author, as in the listing
  EXPECT_EQ(copertina_.tipoDettaglio, "C");
  EXPECT_EQ(copertina_.cfRiepilogo, kCF);
  EXPECT_EQ(copertina_.campiTA.size(), 4u);
  EXPECT_EQ(FileNellaCartella(),
            (std::vector<std::string>{"FCL_ROSSIMARIO.TXT", "FCL_ROSSIMARIO_LISTATO.PDF",
                                      "FCL_ROSSIMARIO_VERIFICA.TXT", "FCLtemp.TXT"}));
}

TEST_F(CreaComunicazioneTest, AnaliticiRinumeratiInOrdine) {
  Righe(FE, 2);
  Righe(TU, 1);
  scelta_.tipoDati = TipoDati::Analitici;
  ScriviFile(Intermedio(), Linee({Dettaglio('C', 1), Dettaglio('D', 2, kCF, "FE001001X"),
                                  Dettaglio('C', 3), Dettaglio('D', 4, kCF, "TU001001Y")}));
  const EsitoCreazione e = Crea();
  ASSERT_EQ(e.stato, EsitoCreazione::Stato::Creata) << e.messaggio;
  const auto righe = RigheDelFile(LeggiFile(Comunicazione()));
  ASSERT_EQ(righe.size(), 6u);
  EXPECT_EQ(righe[2], Dettaglio('D', 1, kCF, "FE001001X") + "\r\n");
  EXPECT_EQ(righe[3], Dettaglio('D', 2, kCF, "TU001001Y") + "\r\n");
  EXPECT_EQ(Campo(righe[1], 116, 14), "01000100000011");
  EXPECT_EQ(Campo(righe[5], 16, 36), "000000001000000000000000002000000001");
  EXPECT_EQ(e.quadriEsclusi, std::vector<std::string>{"FA"});
}

TEST_F(CreaComunicazioneTest, AnnullamentoSenzaDati) {
  scelta_.tipoInvio = TipoInvio::Annullamento;
  scelta_.protocollo = "13021812345678901";
  scelta_.protocolloDocumento = "123";
  // No intermediate file at all: a cancellation does not read it.
  const EsitoCreazione e = Crea();
  ASSERT_EQ(e.stato, EsitoCreazione::Stato::Creata) << e.messaggio;
  const std::string file = LeggiFile(Comunicazione());
  ControllaRighe(file);
  const auto righe = RigheDelFile(file);
  ASSERT_EQ(righe.size(), 3u);
  EXPECT_EQ(Campo(righe[1], 90, 40), "0011302181234567890100012300000000000000");
  EXPECT_EQ(righe[2].substr(0, 51), "Z              000000001000000000000000000000000000");
}

TEST_F(CreaComunicazioneTest, ControlliDeiCampi) {
  struct Case {
    std::string_view nome;
    std::string anno;
    TipoInvio tipo;
    std::string protocollo;
    std::string documento;
    TipoDati dati;
    CampoCreazione campo;
    std::string_view messaggio;
  } const kCases[] = {
      {"anno vuoto", "", TipoInvio::Ordinario, "", "", TipoDati::Aggregati, CampoCreazione::Anno,
       kAnnoNonIndicato},
      {"anno di soli spazi", "  ", TipoInvio::Ordinario, "", "", TipoDati::Aggregati,
       CampoCreazione::Anno, kAnnoNonIndicato},
      {"sostitutiva senza protocollo", "2013", TipoInvio::Sostitutivo, " ", "1",
       TipoDati::Aggregati, CampoCreazione::Protocollo, kProtocolloNonIndicato},
      {"sostitutiva senza protocollo documento", "2013", TipoInvio::Sostitutivo, "123", "",
       TipoDati::Aggregati, CampoCreazione::ProtocolloDocumento, kProtocolloNonIndicato},
      {"annullamento senza protocollo documento", "2013", TipoInvio::Annullamento, "123", "",
       TipoDati::Aggregati, CampoCreazione::ProtocolloDocumento, kProtocolloNonIndicato},
      {"protocollo con lettere", "2013", TipoInvio::Sostitutivo, "13A45", "1", TipoDati::Aggregati,
       CampoCreazione::Protocollo, kProtocolloNonValido},
      {"protocollo di 18 cifre", "2013", TipoInvio::Annullamento, "123456789012345678", "1",
       TipoDati::Aggregati, CampoCreazione::Protocollo, kProtocolloNonValido},
      {"protocollo documento di 7 cifre", "2013", TipoInvio::Sostitutivo, "1", "1234567",
       TipoDati::Aggregati, CampoCreazione::ProtocolloDocumento, kProtocolloDocumentoNonValido},
      {"protocollo documento con trattino", "2013", TipoInvio::Sostitutivo, "1", "12-3",
       TipoDati::Aggregati, CampoCreazione::ProtocolloDocumento, kProtocolloDocumentoNonValido},
      {"dati analitici senza quadri analitici", "2013", TipoInvio::Ordinario, "", "",
       TipoDati::Analitici, CampoCreazione::TipoDati,
       "Non risultano quadri compilati per la tipologia DATI ANALITICI: scegliere la tipologia "
       "DATI AGGREGATI"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.nome);
    scelta_.anno = c.anno;
    scelta_.tipoInvio = c.tipo;
    scelta_.protocollo = c.protocollo;
    scelta_.protocolloDocumento = c.documento;
    scelta_.tipoDati = c.dati;
    const EsitoCreazione e = Crea();
    EXPECT_EQ(e.stato, EsitoCreazione::Stato::ErroreCampo);
    EXPECT_EQ(e.campo, c.campo);
    EXPECT_EQ(e.messaggio, c.messaggio);
    EXPECT_TRUE(ui_.voci.empty());
    EXPECT_TRUE(copertina_.chiamate.empty());
    EXPECT_FALSE(std::filesystem::exists(Comunicazione()));
  }
}

TEST_F(CreaComunicazioneTest, OrdinariaIgnoraIProtocolliRimasti) {
  ScriviFile(Intermedio(), Linee({Dettaglio('C', 1), Dettaglio('C', 2)}));
  scelta_.protocollo = "non usato";
  scelta_.protocolloDocumento = "x";
  const EsitoCreazione e = Crea();
  ASSERT_EQ(e.stato, EsitoCreazione::Stato::Creata) << e.messaggio;
  EXPECT_EQ(Campo(RigheDelFile(LeggiFile(Comunicazione()))[1], 90, 26),
            "10000000000000000000000000");
}

TEST_F(CreaComunicazioneTest, DomandeDiSovrascrittura) {
  struct Case {
    std::string_view nome;
    std::vector<Risposta> risposte;
    std::size_t domande;
    bool sovrascritto;
  } const kCases[] = {
      {"Si alla prima", {Risposta::Si}, 1, true},
      {"No e poi Si", {Risposta::No, Risposta::Si}, 2, true},
      {"No due volte", {Risposta::No, Risposta::No}, 2, false},
  };
  ScriviFile(Intermedio(), Linee({Dettaglio('C', 1), Dettaglio('C', 2)}));
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.nome);
    ScriviFile(Comunicazione(), "VECCHIO");
    ui_.voci.clear();
    ui_.risposte.assign(c.risposte.begin(), c.risposte.end());
    const EsitoCreazione e = Crea();
    EXPECT_EQ(e.stato,
              c.sovrascritto ? EsitoCreazione::Stato::Creata : EsitoCreazione::Stato::Interrotta);
    const auto domande = DomandeSenzaVerifica();
    ASSERT_EQ(domande.size(), c.domande);
    EXPECT_EQ(domande[0],
              "Il file " + Comunicazione().string() + " esiste già. Vuoi sovrascriverlo?");
    EXPECT_EQ(ui_.voci[0].titolo, "Crea Coomunicazioni");
    EXPECT_EQ(ui_.voci[0].icona, Icona::Informazione);
    if (c.domande == 2) {
      EXPECT_EQ(domande[1],
                "Il file " + Comunicazione().string() + " esiste già. Vuoi sostituirlo?");
      EXPECT_EQ(ui_.voci[1].titolo, "Crea Comunicazione");
      EXPECT_EQ(ui_.voci[1].icona, Icona::Critico);
    }
    const std::string contenuto = LeggiFile(Comunicazione());
    EXPECT_EQ(contenuto == "VECCHIO", !c.sovrascritto);
    if (c.sovrascritto) {
      EXPECT_EQ(contenuto.size(), 6u * 1900);
    }
  }
}

TEST_F(CreaComunicazioneTest, FrontespizioApertoDaAltroProgramma) {
  ScriviFile(Intermedio(), Linee({Dettaglio('C', 1), Dettaglio('C', 2)}));
  const auto copertina = dir_ / "FCL_ROSSIMARIO_FRONTESPIZIO.PDF";
  ScriviFile(copertina, "%PDF vecchio");
  const int fd = ::open(copertina.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  EsitoCreazione e = Crea();
  EXPECT_EQ(e.stato, EsitoCreazione::Stato::Interrotta);
  ASSERT_EQ(ui_.voci.size(), 1u);
  EXPECT_EQ(ui_.voci[0].testo, "Il documento: " + copertina.string() +
                                   "\r\n \r\nrisulta aperto: chiudere il documento e riprovare");
  EXPECT_EQ(ui_.voci[0].titolo, "Errore stampa documento RIEPILOGO");
  EXPECT_EQ(ui_.voci[0].icona, Icona::Critico);
  EXPECT_FALSE(std::filesystem::exists(Comunicazione()));
  EXPECT_TRUE(copertina_.chiamate.empty());

  // Once the document is closed, the same press works under the same names.
  ::close(fd);
  e = Crea();
  EXPECT_EQ(e.stato, EsitoCreazione::Stato::Creata);
  EXPECT_EQ(e.fileCopertina, copertina);
  EXPECT_TRUE(std::filesystem::exists(Comunicazione()));
}

TEST_F(CreaComunicazioneTest, SoggettoMancanteSegnalato) {
  ScriviFile(Intermedio(), Linee({Dettaglio('C', 1), Dettaglio('C', 2)}));
  db_.Esegui("DELETE FROM COPE");
  const EsitoCreazione e = Crea();
  EXPECT_EQ(e.stato, EsitoCreazione::Stato::Interrotta);
  ASSERT_EQ(ui_.voci.size(), 1u);
  EXPECT_EQ(ui_.voci[0].testo,
            "Il soggetto RSSMRA70C05H501Z non risulta nell'archivio dei soggetti: la "
            "comunicazione non è stata creata.");
  EXPECT_EQ(ui_.voci[0].icona, Icona::Critico);
  EXPECT_FALSE(std::filesystem::exists(Comunicazione()));
  EXPECT_TRUE(copertina_.chiamate.empty());
}

TEST_F(CreaComunicazioneTest, NumeroCafNonNumerico) {
  ScriviFile(Intermedio(), Linee({Dettaglio('C', 1), Dettaglio('C', 2)}));
  ctx_.operatoreCorrente.intermediarioCF = "MRNGPP50A01H501U";
  ctx_.operatoreCorrente.numeroIscrizioneCaf = "12A";
  EsitoCreazione e = Crea();
  EXPECT_EQ(e.stato, EsitoCreazione::Stato::Interrotta);
  ASSERT_EQ(ui_.voci.size(), 1u);
  EXPECT_EQ(ui_.voci[0].testo,
            "Il Numero Iscrizione C.A.F. dei dati di impegno alla trasmissione (12A) deve "
            "contenere solo cifre: correggerlo nei dati del soggetto.");
  EXPECT_FALSE(std::filesystem::exists(Comunicazione()));

  ctx_.operatoreCorrente.numeroIscrizioneCaf = "  42 ";
  ctx_.operatoreCorrente.codicePredisposizione = "1";
  ctx_.operatoreCorrente.dataImpegno = "20/02/2014";
  e = Crea();
  ASSERT_EQ(e.stato, EsitoCreazione::Stato::Creata) << e.messaggio;
  const auto righe = RigheDelFile(LeggiFile(Comunicazione()));
  EXPECT_EQ(Campo(righe[0], 21, 18), "10MRNGPP50A01H501U");
  EXPECT_EQ(Campo(righe[1], 571, 31), "MRNGPP50A01H501U000421 20022014");
}

// A failure after record B leaves no communication file and an earlier one untouched.
TEST_F(CreaComunicazioneTest, GuastoDopoIlRecordBNonLasciaNulla) {
  std::string corta = Dettaglio('C', 2);
  corta.pop_back();
  struct Case {
    std::string_view nome;
    std::optional<std::string> intermedio;  // nullopt: no file
    std::string_view motivo;
  } const kCases[] = {
      {"file intermedio mancante", std::nullopt, "Impossibile leggere il file intermedio "},
      {"riga corta", Linee({Dettaglio('C', 1), corta}),
       "alla riga 2 (lunghezza 1897 invece di 1898 caratteri)"},
      {"riga lunga", Linee({Dettaglio('C', 1) + "X"}),
       "alla riga 1 (lunghezza 1899 invece di 1898 caratteri)"},
      {"senza CR", Dettaglio('C', 1) + "\n", "alla riga 1 (riga non terminata da CR LF)"},
      {"ultima riga senza fine", Linee({Dettaglio('C', 1)}) + Dettaglio('C', 2),
       "alla riga 2 (riga non terminata da CR LF)"},
      {"tipo sconosciuto", Linee({Dettaglio('C', 1), Dettaglio('X', 2)}),
       "alla riga 2 (tipo record \"X\" invece di C o D)"},
      {"senza A finale", Linee({Dettaglio('C', 1).substr(0, 1897) + " "}),
       "alla riga 1 (manca la A in posizione 1898)"},
      {"record di un altro soggetto",
       Linee({Dettaglio('C', 1), Dettaglio('C', 2, "BNCLRA60A41F205X")}),
       "alla riga 2 (record di un altro soggetto)"},
      {"nessun record aggregato", Linee({Dettaglio('D', 1)}),
       "non corrisponde ai quadri elaborati"},
      {"file vuoto", std::string(), "non corrisponde ai quadri elaborati"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.nome);
    for (const bool precedente : {false, true}) {
      SCOPED_TRACE(precedente ? "con un file precedente" : "senza file precedente");
      std::filesystem::remove(Intermedio());
      if (c.intermedio) ScriviFile(Intermedio(), *c.intermedio);
      std::filesystem::remove(Comunicazione());
      if (precedente) ScriviFile(Comunicazione(), "VECCHIO");
      ui_.voci.clear();
      copertina_.chiamate.clear();
      const EsitoCreazione e = Crea();
      EXPECT_EQ(e.stato, EsitoCreazione::Stato::Fallita);
      EXPECT_EQ(e.messaggio.rfind("Errore CREA Comunicazione: ", 0), 0u) << e.messaggio;
      EXPECT_NE(e.messaggio.find(c.motivo), std::string::npos) << e.messaggio;
      ASSERT_FALSE(ui_.voci.empty());
      EXPECT_EQ(ui_.voci.back().testo, e.messaggio);
      EXPECT_EQ(ui_.voci.back().titolo, kTitoloApplicazione);
      EXPECT_EQ(std::filesystem::exists(Comunicazione()), precedente);
      if (precedente) {
        EXPECT_EQ(LeggiFile(Comunicazione()), "VECCHIO");
      }
      EXPECT_EQ(copertina_.chiamate.back(), "Abbandona");
      EXPECT_TRUE(apertura_.aperti.empty());
      for (const auto& nome : FileNellaCartella()) EXPECT_NE(nome.front(), '.') << nome;
    }
  }
}

TEST_F(CreaComunicazioneTest, ErroriDellaVerificaScartanoIlFileSeNonConservato) {
  ScriviFile(Intermedio(), Linee({Dettaglio('C', 1), Dettaglio('C', 2)}));
  ScriviFile(Comunicazione(), "VECCHIO");
  ui_.risposte = {Risposta::Si, Risposta::No};  // overwrite: yes; keep with errors: no
  const EsitoCreazione e = Crea();
  EXPECT_EQ(e.stato, EsitoCreazione::Stato::Interrotta);
  EXPECT_EQ(LeggiFile(Comunicazione()), "VECCHIO");
  EXPECT_EQ(copertina_.chiamate, (std::vector<std::string>{"Inizia", "Pagina1", "Abbandona"}));
  EXPECT_TRUE(apertura_.aperti.empty());
  // The question names the errors; the report beside the file lists every finding.
  const auto domande = ui_.Testi("domanda");
  ASSERT_EQ(domande.size(), 2u);
  EXPECT_NE(domande[1].find("ERRORE record 3 (C, modulo 1), foglio FA riga 4 colonna A"),
            std::string::npos)
      << domande[1];
  EXPECT_EQ(ui_.voci.back().titolo, kTitoloVerifica);
  EXPECT_EQ(ui_.voci.back().testo, e.messaggio);
  const std::string rapporto = LeggiFile(dir_ / "FCL_ROSSIMARIO_VERIFICA.TXT");
  EXPECT_NE(rapporto.find("foglio FA riga 4 colonna A, campo FA001001"), std::string::npos);
  for (const auto& nome : FileNellaCartella()) EXPECT_NE(nome.front(), '.') << nome;
}

TEST_F(CreaComunicazioneTest, ErroriNominatiDoveSiCorreggono) {
  struct Case {
    const char* campo;
    char tipoRecord;
    Regola regola;
    std::string atteso;
  } const kCases[] = {
      {"B52", 'B', Regola::CodiceFiscale,
       "nel registro dei soggetti (Elenco Soggetti Obbligati), impegno alla trasmissione "
       "telematica: Codice fiscale dell'intermediario"},
      {"B27", 'B', Regola::PartitaIva,
       "nel registro dei soggetti (Elenco Soggetti Obbligati), dati del soggetto: Partita IVA del "
       "contribuente"},
      {"B41", 'B', Regola::CodiceFiscale,
       "nel registro dei soggetti (Elenco Soggetti Obbligati), soggetto tenuto alla "
       "comunicazione: Codice fiscale del soggetto tenuto alla comunicazione"},
      {"B39", 'B', Regola::Numerico, "nella finestra Crea Comunicazione: Anno di riferimento"},
      {"B18", 'B', Regola::QuadroCompilato, ""},  // the quadro boxes follow the sheets
      {"FA001001", 'C', Regola::CodiceFiscale, ""},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.campo);
    Rilievo r;
    r.campo = c.campo;
    r.tipoRecord = c.tipoRecord;
    r.regola = c.regola;
    EXPECT_EQ(OrigineRilievo(r), c.atteso);
  }

  // An intermediary's fiscal code with a wrong check letter: the question sends the user to the
  // register, and to the sheet for the errors of the rows.
  ctx_.operatoreCorrente.intermediarioCF = "VRDLCU70M15A794X";
  ctx_.operatoreCorrente.numeroIscrizioneCaf = "0";
  ScriviFile(Intermedio(), Linee({Dettaglio('C', 1), Dettaglio('C', 2)}));
  ui_.risposte = {Risposta::No};
  EXPECT_EQ(Crea().stato, EsitoCreazione::Stato::Interrotta);
  const auto domande = ui_.Testi("domanda");
  ASSERT_EQ(domande.size(), 1u);
  // Record A carries the intermediary as the supplier: the first error names the register.
  EXPECT_NE(domande[0].find("- ERRORE record 1 (A), posizione 23: Codice fiscale "
                            "«VRDLCU70M15A794X» errato: il carattere di controllo dovrebbe essere "
                            "Y (da correggere nel registro dei soggetti (Elenco Soggetti "
                            "Obbligati))\r\n"),
            std::string::npos)
      << domande[0];
  EXPECT_NE(domande[0].find("correggere i dati del soggetto nel registro dei soggetti e il foglio "
                            "Excel, poi creare di nuovo la comunicazione)"),
            std::string::npos)
      << domande[0];
}

// Answers as InterazioneRegistrata does, and asks the run to stop from the `dopo`-th question on
// (0: from the start).
class InterazioneCheInterrompe : public InterazioneRegistrata {
 public:
  int dopo = 0;
  int domande = 0;
  Risposta Chiedi(std::string_view testo, std::string_view titolo, Pulsanti pulsanti, Icona icona,
                  Risposta predefinita) override {
    ++domande;
    return InterazioneRegistrata::Chiedi(testo, titolo, pulsanti, icona, predefinita);
  }
  bool InterruzioneRichiesta() const override { return domande >= dopo; }
};

TEST_F(CreaComunicazioneTest, InterruzioneLasciaOgniFileComEra) {
  struct Case {
    std::string_view nome;
    int dopo;
    std::vector<std::string> copertina;
  } const kCases[] = {
      {"prima di iniziare", 0, {"Abbandona"}},
      // The check's question comes with both files half written.
      {"alla domanda della verifica", 2, {"Inizia", "Pagina1", "Pagina2", "Abbandona"}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.nome);
    ScriviFile(Intermedio(), Linee({Dettaglio('C', 1), Dettaglio('C', 2)}));
    ScriviFile(Comunicazione(), "VECCHIO");
    InterazioneCheInterrompe ui;
    ui.dopo = c.dopo;
    ctx_.interazione = &ui;
    copertina_.chiamate.clear();
    const EsitoCreazione e = Crea();
    EXPECT_EQ(e.stato, EsitoCreazione::Stato::Fermata);
    EXPECT_TRUE(ui.Testi().empty()) << ui.Testi().front();
    EXPECT_EQ(copertina_.chiamate, c.copertina);
    EXPECT_EQ(LeggiFile(Comunicazione()), "VECCHIO");
    EXPECT_EQ(LeggiFile(Listato()), "%PDF listato");
    EXPECT_FALSE(std::filesystem::exists(dir_ / "FCL_ROSSIMARIO_VERIFICA.TXT"));
    EXPECT_TRUE(apertura_.aperti.empty());
    for (const auto& nome : FileNellaCartella()) EXPECT_NE(nome.front(), '.') << nome;
  }
  ctx_.interazione = &ui_;
}

TEST_F(CreaComunicazioneTest, GuastoDelFrontespizioNonLasciaLaComunicazione) {
  ScriviFile(Intermedio(), Linee({Dettaglio('C', 1), Dettaglio('C', 2)}));
  copertina_.falliscePagina2 = true;
  const EsitoCreazione e = Crea();
  EXPECT_EQ(e.stato, EsitoCreazione::Stato::Fallita);
  EXPECT_EQ(e.messaggio, "Errore CREA Comunicazione: Impossibile scrivere il frontespizio");
  EXPECT_FALSE(std::filesystem::exists(Comunicazione()));
  EXPECT_EQ(copertina_.chiamate,
            (std::vector<std::string>{"Inizia", "Pagina1", "Pagina2", "Abbandona"}));
}

TEST_F(CreaComunicazioneTest, ListatoSenzaSuffissoMaiSovrascritto) {
  ScriviFile(Intermedio(), Linee({Dettaglio('C', 1), Dettaglio('C', 2)}));
  struct Case {
    std::string_view listato;
    std::string_view comunicazione;
    std::string_view copertina;
  } const kCases[] = {
      {"rossi.pdf", "rossi.TXT", "rossi_FRONTESPIZIO.PDF"},
      {"ROSSI.TXT", "ROSSI_COMUNICAZIONE.TXT", "ROSSI_FRONTESPIZIO.PDF"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.listato);
    const auto listato = dir_ / std::string(c.listato);
    ScriviFile(listato, "listato da non toccare");
    ctx_.totaliImport.percorsoListato = listato;
    ui_.voci.clear();
    const EsitoCreazione e = Crea();
    ASSERT_EQ(e.stato, EsitoCreazione::Stato::Creata) << e.messaggio;
    EXPECT_TRUE(e.nomiRicavati);
    EXPECT_EQ(e.fileComunicazione, dir_ / std::string(c.comunicazione));
    EXPECT_EQ(e.fileCopertina, dir_ / std::string(c.copertina));
    EXPECT_EQ(LeggiFile(listato), "listato da non toccare");
    EXPECT_EQ(LeggiFile(e.fileComunicazione).size(), 6u * 1900);
    EXPECT_TRUE(DomandeSenzaVerifica().empty());
    EXPECT_NE(e.messaggio.find(" File:  " + e.fileComunicazione.string() + "   \r"),
              std::string::npos);
    EXPECT_NE(e.messaggio.find("\r Il nome del listato non termina con _LISTATO.PDF: comunicazione "
                               "e frontespizio prendono il nome del listato.\r Frontespizio:  " +
                               e.fileCopertina.string() + "\r  "),
              std::string::npos)
        << e.messaggio;
  }
}

TEST_F(CreaComunicazioneTest, SenzaListatoNessunaAzione) {
  ctx_.totaliImport.percorsoListato.clear();
  const EsitoCreazione e = Crea();
  EXPECT_EQ(e.stato, EsitoCreazione::Stato::Interrotta);
  EXPECT_TRUE(ui_.voci.empty());
}

TEST(ScegliTipoDati, AggregatiVinconoConAvviso) {
  struct Case {
    std::string_view nome;
    std::vector<int> quadri;
    TipoDati atteso;
    bool avviso;
  } const kCases[] = {
      {"solo TU", {TU}, TipoDati::Analitici, false},
      {"solo FA", {FA}, TipoDati::Aggregati, false},
      {"FA e FE", {FA, FE}, TipoDati::Aggregati, true},
      {"BL e SE", {BL, SE}, TipoDati::Aggregati, true},
      {"nessuno", {}, TipoDati::Aggregati, false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.nome);
    TotaliImport t;
    for (int q : c.quadri) t.righePerQuadro[static_cast<std::size_t>(q)] = 1;
    InterazioneRegistrata ui;
    EXPECT_EQ(ScegliTipoDati(t, ui), c.atteso);
    ASSERT_EQ(ui.voci.size(), c.avviso ? 1u : 0u);
    if (c.avviso) {
      EXPECT_EQ(ui.voci[0].titolo, "Tipo di comunicazione");
      EXPECT_EQ(ui.voci[0].icona, Icona::Informazione);
      EXPECT_EQ(ui.voci[0].testo,
                "Attenzione: sono stati compilati sia i dati AGGREGATI che i dati ANALITICI. \r\n"
                " \r\n"
                "Non possono essere comunicate entrambe le tipologie di dati: viene impostata "
                "tipologia DATI AGGREGATI.\r\n \r\nIn caso di comunicazione dei dati in forma "
                "AGGREGATA, i quadri FE, FR, NE, NR, DF, FN e SE non possono essere compilati\r\n"
                " \r\nIn caso di comunicazione dei dati in forma ANALITICA, i quadri FA e SA non "
                "possono essere compilati ");
    }
  }
}

TEST(AvvisoTipoInvio, SostituzioneEAnnullamento) {
  InterazioneRegistrata ui;
  AvvisoTipoInvio(TipoInvio::Ordinario, ui);
  EXPECT_TRUE(ui.voci.empty());
  AvvisoTipoInvio(TipoInvio::Annullamento, ui);
  AvvisoTipoInvio(TipoInvio::Sostitutivo, ui);
  ASSERT_EQ(ui.voci.size(), 2u);
  EXPECT_EQ(ui.voci[0].titolo, "Attenzione Annullamento");
  EXPECT_EQ(ui.voci[0].testo,
            "Attenzione: Indicare i protocolli della comunicazione da annullare. \r\n \r\nLa "
            "comunicazione annullata NON sarà più disponibile.");
  EXPECT_EQ(ui.voci[1].titolo, "Attenzione Sostituzione");
  EXPECT_EQ(ui.voci[1].testo,
            "Attenzione: Indicare i protocolli della comunicazione da sostituire. \r\n \r\nLa "
            "sostituzione è COMPLETA: la trasmissione opera una sostituzione INTEGRALE \r\ndi "
            "quanto precedentemente inviato. Verificare quindi di aver inserito TUTTE le "
            "Operazioni/Note \r\nanche se già comunicate (tranne quelle che si intendono "
            "cancellare).\r\n \r\nLa comunicazione sostituita NON sarà più disponibile.");
}

}  // namespace
}  // namespace fcl
