#include "backup/Backup.h"

#include <gtest/gtest.h>

#include <ctime>
#include <map>
#include <regex>

#include "CartellaTemporanea.h"
#include "InterazioneRegistrata.h"
#include "backup/ErroreRigaBackup.h"
#include "common/Errori.h"
#include "store/Recordset.h"
#include "store/Schema.h"

namespace fcl {
namespace {

using Riga = std::map<std::string, Valore>;

std::chrono::system_clock::time_point Giorno(int anno, int mese, int giorno) {
  std::tm tm{};
  tm.tm_year = anno - 1900;
  tm.tm_mon = mese - 1;
  tm.tm_mday = giorno;
  tm.tm_hour = 12;
  tm.tm_isdst = -1;
  return std::chrono::system_clock::from_time_t(std::mktime(&tm));
}

std::string Descrivi(const Valore& v) {
  struct Visitatore {
    std::string operator()(std::monostate) const { return "Null"; }
    std::string operator()(std::int64_t n) const { return "I:" + std::to_string(n); }
    std::string operator()(double x) const { return "F:" + std::to_string(x); }
    std::string operator()(const std::string& s) const { return "T:[" + s + "]"; }
    std::string operator()(const Data& d) const { return "D:" + d.Testo(); }
  };
  return std::visit(Visitatore{}, v);
}

// Every column of every row a statement gives, as readable text: what a comparison shows on
// failure.
std::vector<std::string> Righe(Database& db, const std::string& sql, std::vector<Valore> par = {}) {
  Recordset rs(db, sql, std::move(par), Recordset::Modo::SolaLettura);
  std::vector<std::string> righe;
  for (; !rs.Eof(); rs.MoveNext()) {
    std::string r;
    for (std::size_t i = 0; i < rs.NumeroCampi(); ++i)
      r += rs.NomeCampo(i) + "=" + Descrivi(rs[i]) + " ";
    righe.push_back(r);
  }
  return righe;
}

// The whole content of the operator tables.
std::vector<std::string> Archivio(Database& db) {
  auto righe = Righe(db, "SELECT * FROM COPE ORDER BY OCOD");
  for (auto& r : Righe(db, "SELECT * FROM CTAB ORDER BY TIPO, COD, DES")) righe.push_back(r);
  return righe;
}

// The rows as a restore gives them back: a Null text column is written as the empty text, as the
// files of the other programs carry it, and comes back as the empty text (the date stays Null).
std::vector<std::string> NullComeTestoVuoto(std::vector<std::string> righe,
                                            const std::string& colonnaNonTesto = "ONDT") {
  // The columns one after the other, as Righe writes them.
  static const std::regex kColonna(R"(([A-Z_]+)=(Null|T:\[[^\]]*\]|[IFD]:[^ ]*) )");
  for (auto& r : righe) {
    std::string esito;
    for (std::sregex_iterator m(r.begin(), r.end(), kColonna), fine; m != fine; ++m) {
      const bool vuoto = (*m)[2] == "Null" && (*m)[1] != colonnaNonTesto;
      esito += vuoto ? (*m)[1].str() + "=T:[] " : (*m)[0].str();
    }
    r = esito;
  }
  return righe;
}

void Inserisci(Database& db, const std::string& tabella, const Riga& riga) {
  Recordset rs(db, "SELECT * FROM " + tabella + " WHERE 0");
  rs.AddNew();
  for (const auto& [colonna, valore] : riga) rs.Imposta(colonna, valore);
  rs.Update();
}

std::string S(const char* s) { return s; }

// A program folder with its database, clock fixed on 15 January 2014.
struct Installazione {
  Installazione() {
    CreaSchema(db);
    ctx.connessioneDb = &db;
    ctx.interazione = &ui;
    ctx.cartellaProgramma = cartella.Percorso();
    ctx.adesso = [] { return Giorno(2014, 1, 15); };
  }
  test::CartellaTemporanea cartella;
  Database db = Database::InMemoria();
  test::InterazioneRegistrata ui;
  Contesto ctx;
};

constexpr char kCodice[] = "RSSMRA80A01H501U";

// An operator whose values try every way a line could break.
void OperatoreDifficile(Database& db) {
  Inserisci(db, "COPE",
            {{"OCOD", S(kCodice)},
             {"ORAG", S("")},
             {"OCOG", S("D'ANGELO")},
             {"ONOME", S("NICCOLÒ")},
             {"OSEX", S("M")},
             {"ONDT", Data{1980, 1, 1}},
             {"ONCOM", S("FORLÌ")},
             {"OSTP", S("0")},
             {"ODES", S("D'ANGELO NICCOLÒ")},
             {"OATTD", S("VENDITA ¦ NOLEGGIO #2")},
             {"OTEL", S("  06 1234  ")},
             {"OPOSTA", S("C:\\Dati\\posta \\N \\n")},
             {"OSTCRAG", S("PRIMA RIGA\r\nSECONDA\nTERZA\r")},
             {"OSTCNOME", S("ŁUKASZ € \"X\"")},
             {"OSTCCOG", S("\\N")}});
  // A commitment record without intermediary: its leading blanks hold the fields in place.
  Inserisci(
      db, "CTAB",
      {{"TIPO", S("ITT")}, {"COD", S(kCodice)}, {"DES", S("                     0          ")}});
  Inserisci(db, "CTAB", {{"TIPO", S("NOTA")}, {"COD", S(kCodice)}});  // DES Null
}

TEST(Backup, NomeProposto) {
  struct Caso {
    const char* nome;
    const char* atteso;
  } const kCasi[] = {
      {"ROSSIMARIO", "SAVE_ROSSIMARIO_20140115.FCL"},
      {"Alfa & Beta S.p.A. 2", "SAVE_ALFABETASPA_20140115.FCL"},
      {"", "SAVE__20140115.FCL"},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.nome);
    EXPECT_EQ(DefaultNomeBackup(c.nome, Giorno(2014, 1, 15)), c.atteso);
  }
}

TEST(Backup, SalvaScriveLeRigheByteperByte) {
  Installazione inst;
  Inserisci(inst.db, "COPE", {{"OCOD", S("02468130162")}, {"ORAG", S("ALFA È")}});
  // Every other text column empty, the date Null: 30 empty values after ORAG.
  inst.db.Esegui(
      "UPDATE COPE SET OCOG='', ONOME='', OSEX='', ONCOM='', ONPRO='', OSCOM='', OSPRO='', "
      "OSTP='1', OPIVA='', ODES='', OATT='', OATTD='', OTEL='', OFAX='', OPOSTA='', OSTCCF='', "
      "OSTCCDCARICA='', OSTCDTINI='', OSTCDTFINE='', OSTCTP='', OSTCCOG='', OSTCNOME='', "
      "OSTCSEX='', "
      "OSTCNDT='', OSTCNCOM='', OSTCNPRO='', OSTCRAG='', OSTCSCOM='', OSTCSPRO=''");
  Inserisci(inst.db, "CTAB", {{"TIPO", S("ITT")}, {"COD", S("02468130162")}, {"DES", S("X  ")}});
  Inserisci(inst.db, "CTAB", {{"TIPO", S("ITT")}, {"COD", S("ALTRO")}, {"DES", S("Y")}});
  const auto file = inst.cartella / "SAVE_ALFA_20140115.FCL";
  test::ScriviFile(file, std::string(5000, 'x'));  // an existing file is replaced whole

  ASSERT_TRUE(SalvaOperatore(inst.ctx, "02468130162", file));

  const std::string b = "\xA6";
  // OCOG ... OSPRO empty, OSTP "1", OPIVA ... OSTCSPRO empty.
  std::string cope = b + "COPE" + b + "02468130162" + b + "ALFA \xC8";
  for (int k = 0; k < 9; ++k) cope += b;
  cope += "1";
  for (int k = 0; k < 21; ++k) cope += b;
  EXPECT_EQ(test::LeggiFile(file),
            cope + "\r\n" + b + "CTAB" + b + "ITT" + b + "02468130162" + b + "X  \r\n");
  EXPECT_EQ(inst.ui.Testi(), std::vector<std::string>{"Creazione file di BackUP terminata"});
  EXPECT_EQ(inst.ui.avanzamenti, 2);
}

TEST(Backup, SenzaRigheDiCodiceSoloLaRigaCope) {
  Installazione inst;
  Inserisci(inst.db, "COPE", {{"OCOD", S("X1")}, {"ORAG", S("ALFA")}});
  const auto file = inst.cartella / "X1.FCL";
  ASSERT_TRUE(SalvaOperatore(inst.ctx, "X1", file));
  const std::string contenuto = test::LeggiFile(file);
  EXPECT_EQ(contenuto.rfind("\xA6"
                            "COPE\xA6X1\xA6"
                            "ALFA\xA6",
                            0),
            0u);
  EXPECT_EQ(contenuto.find("\r\n"), contenuto.size() - 2);  // one line only
  EXPECT_EQ(inst.ui.avanzamenti, 1);
}

TEST(Backup, OperatoreSconosciutoNessunFile) {
  Installazione inst;
  Inserisci(inst.db, "CTAB", {{"TIPO", S("ITT")}, {"COD", S("NESSUNO")}, {"DES", S("X")}});
  const auto file = inst.cartella / "NESSUNO.FCL";
  EXPECT_FALSE(SalvaOperatore(inst.ctx, "NESSUNO", file));
  EXPECT_FALSE(std::filesystem::exists(file));
  ASSERT_EQ(inst.ui.Testi().size(), 1u);
  EXPECT_EQ(inst.ui.Testi()[0], "L'operatore NESSUNO non è in archivio: file di backUp non creato");
}

TEST(Backup, FileNonScrivibileNessunFile) {
  Installazione inst;
  Inserisci(inst.db, "COPE", {{"OCOD", S("X1")}});
  const auto file = inst.cartella / "manca" / "X1.FCL";
  EXPECT_THROW(SalvaOperatore(inst.ctx, "X1", file), ErroreFile);
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_TRUE(inst.ui.Testi().empty());
}

TEST(Backup, BackupERipristinoRestituisconoOgniColonna) {
  Installazione origine;
  OperatoreDifficile(origine.db);
  // A company as the operator imports leave it: ONDT, OPIVA and the second subject Null.
  Inserisci(origine.db, "COPE", {{"OCOD", S("02468130162")}, {"ORAG", S("ALFA ¦ BETA S.R.L.")}});
  // A date that is there but empty (date zero).
  Inserisci(origine.db, "COPE", {{"OCOD", S("VRDLCU70M15A794Y")}, {"ONDT", Data{}}});
  Inserisci(origine.db, "CTAB", {{"TIPO", S("REL")}, {"COD", S("002")}, {"DES", S("01/01/2014")}});

  Installazione destinazione;
  for (const char* codice : {kCodice, "02468130162", "VRDLCU70M15A794Y"}) {
    SCOPED_TRACE(codice);
    const auto file = origine.cartella / (std::string(codice) + ".FCL");
    ASSERT_TRUE(SalvaOperatore(origine.ctx, codice, file));
    const auto intestazione = LeggiIntestazioneBackup(file);
    ASSERT_TRUE(intestazione);
    EXPECT_EQ(intestazione->codice, codice);
    ASSERT_TRUE(RipristinaBackup(destinazione.ctx, file));
    const std::string sql = "SELECT * FROM COPE WHERE OCOD=?";
    const std::string sqlCodici = "SELECT * FROM CTAB WHERE COD=? ORDER BY TIPO";
    EXPECT_EQ(Righe(destinazione.db, sql, {S(codice)}),
              NullComeTestoVuoto(Righe(origine.db, sql, {S(codice)})));
    EXPECT_EQ(Righe(destinazione.db, sqlCodici, {S(codice)}),
              NullComeTestoVuoto(Righe(origine.db, sqlCodici, {S(codice)})));
  }
  EXPECT_EQ(Righe(destinazione.db, "SELECT * FROM CTAB WHERE TIPO='REL'").size(), 0u);
  EXPECT_EQ(destinazione.ui.Testi().back(), "Ripristino terminato");
  // And a second round through the restored copy writes the very same bytes.
  const auto primo = origine.cartella / "1.FCL";
  const auto secondo = origine.cartella / "2.FCL";
  ASSERT_TRUE(SalvaOperatore(origine.ctx, kCodice, primo));
  ASSERT_TRUE(SalvaOperatore(destinazione.ctx, kCodice, secondo));
  EXPECT_EQ(test::LeggiFile(primo), test::LeggiFile(secondo));
}

TEST(Backup, FileConCancellettoComeConBarra) {
  Installazione barra;
  Installazione cancelletto;
  const std::string righe =
      "_COPE_X1_ALFA S.R.L._ROSSI__M_01/02/1980_ROMA\r\n"
      "_CTAB_ITT_X1_AAAAAAAAAAAAAAAA     101/02/2014   \r\n";
  std::string conBarra = righe;
  std::string conCancelletto = righe;
  for (auto& c : conBarra) c = c == '_' ? '\xA6' : c;
  for (auto& c : conCancelletto) c = c == '_' ? '#' : c;
  test::ScriviFile(barra.cartella / "B.FCL", conBarra);
  test::ScriviFile(cancelletto.cartella / "C.FCL", conCancelletto);
  ASSERT_TRUE(RipristinaBackup(barra.ctx, barra.cartella / "B.FCL"));
  ASSERT_TRUE(RipristinaBackup(cancelletto.ctx, cancelletto.cartella / "C.FCL"));
  EXPECT_EQ(Archivio(barra.db), Archivio(cancelletto.db));
  EXPECT_EQ(Righe(barra.db, "SELECT ORAG, ONDT, ONCOM, OPIVA FROM COPE"),
            std::vector<std::string>{
                "ORAG=T:[ALFA S.R.L.] ONDT=D:01/02/1980 ONCOM=T:[ROMA] OPIVA=Null "});
  const auto intestazione = LeggiIntestazioneBackup(cancelletto.cartella / "C.FCL");
  ASSERT_TRUE(intestazione);
  EXPECT_EQ(intestazione->Etichetta(), "X1 ALFA S.R.L.");
}

TEST(Backup, RigaCheNonEntraLasciaLArchivioComEra) {
  const std::string b = "\xA6";
  const std::string primaRiga =
      b + "COPE" + b + "X1" + b + "NUOVA RAGIONE" + b + b + b + b + "01/02/1980";
  const std::string secondaRiga = b + "CTAB" + b + "ITT" + b + "X1" + b + "NUOVO IMPEGNO";
  std::string troppi = b + "COPE" + b + "X2";
  for (int k = 0; k < 32; ++k) troppi += b + "V";
  struct Caso {
    std::string nome;
    std::string terza;
    std::string dettaglio;  // part of the message
  } const kCasi[] = {
      {"più valori che colonne", troppi, "la riga ha 33 valori ma la tabella ha 32 colonne"},
      {"data non valida", b + "COPE" + b + "X2" + b + b + b + b + b + "IERI",
       "il valore \"IERI\" della colonna ONDT non è una data"},
      {"data impossibile", b + "COPE" + b + "X2" + b + b + b + b + b + "31/02/1980",
       "non è una data"},
      {"tabella sconosciuta", b + "CLIENTI" + b + "X2", "(tabella CLIENTI): la tabella non esiste"},
      {"tabella di riferimento", b + "ATECO2007" + b + "01" + b + "X",
       "non contiene dati di operatori"},
      {"nome che non è una tabella", b + "COPE WHERE 1=1; DROP TABLE CTAB" + b + "X",
       "la tabella non esiste"},
      {"senza tabella", b + b + "X", "manca il nome della tabella"},
      {"codice con un valore di troppo", secondaRiga + b + "ALTRO",
       "la riga ha 4 valori ma la tabella ha 3 colonne"},
      {"codice senza descrizione", b + "CTAB" + b + "ITT" + b + "X1",
       "la riga deve avere i valori di TIPO, COD e DES"},
      {"operatore ripetuto", primaRiga, "(tabella COPE): Errore del database"},
      {"codice fiscale Null", b + "COPE" + b + "\\N" + b + "ALFA",
       "(tabella COPE): manca il codice fiscale dell'operatore"},
      {"codice fiscale che è un percorso", b + "COPE" + b + "../X" + b + "ALFA",
       "(tabella COPE): il codice fiscale \"../X\" non è valido"},
      {"operatore ripetuto in minuscolo", b + "COPE" + b + " x1 " + b + "ALFA",
       "(tabella COPE): Errore del database"},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.nome);
    Installazione inst;
    Inserisci(inst.db, "COPE", {{"OCOD", S("X1")}, {"ORAG", S("VECCHIA")}});
    Inserisci(inst.db, "CTAB", {{"TIPO", S("ITT")}, {"COD", S("X1")}, {"DES", S("VECCHIO")}});
    const auto prima = Archivio(inst.db);
    const auto file = inst.cartella / "X1.FCL";
    test::ScriviFile(
        file, primaRiga + "\r\n" + secondaRiga + "\r\n" + c.terza + "\r\n" + primaRiga + "\r\n");
    try {
      RipristinaBackup(inst.ctx, file);
      ADD_FAILURE() << "il ripristino doveva fermarsi";
    } catch (const ErroreRigaBackup& e) {
      EXPECT_EQ(e.Riga(), 3u);
      const std::string testo = e.what();
      EXPECT_EQ(testo.rfind("Riga 3 del file di backUp", 0), 0u) << testo;
      EXPECT_NE(testo.find(c.dettaglio), std::string::npos) << testo;
      EXPECT_NE(testo.find("Ripristino annullato"), std::string::npos) << testo;
    }
    EXPECT_EQ(Archivio(inst.db), prima);
    EXPECT_TRUE(inst.ui.Testi().empty());
    // The database is usable afterwards: no transaction left open.
    Inserisci(inst.db, "COPE", {{"OCOD", S("DOPO")}});
    // The safety copy was written before the failure and stays.
    EXPECT_TRUE(std::filesystem::exists(inst.cartella / "BFRR_X1_20140115.VEL"));
  }
}

TEST(Backup, RipristinoNonCancellaRigheDiCodice) {
  Installazione inst;
  Inserisci(inst.db, "COPE", {{"OCOD", S("X1")}, {"ORAG", S("VECCHIA")}, {"OTEL", S("123")}});
  Inserisci(inst.db, "CTAB", {{"TIPO", S("ITT")}, {"COD", S("X1")}, {"DES", S("VECCHIO")}});
  Inserisci(inst.db, "CTAB", {{"TIPO", S("ALTRO")}, {"COD", S("X1")}, {"DES", S("RESTA")}});
  Inserisci(inst.db, "CTAB", {{"TIPO", S("REL")}, {"COD", S("002")}, {"DES", S("01/01/2014")}});
  const auto file = inst.cartella / "X1.FCL";
  test::ScriviFile(file,
                   "\xA6"
                   "COPE\xA6X1\xA6NUOVA\r\n"
                   "\r\n   \r\n"  // blank lines are skipped
                   "\xA6"
                   "CTAB\xA6ITT\xA6X1\xA6NUOVO\r\n"
                   "\xA6"
                   "CTAB\xA6NUOVA\xA6X1\xA6"
                   "AGGIUNTA\r\n");
  ASSERT_TRUE(RipristinaBackup(inst.ctx, file));
  EXPECT_EQ(Righe(inst.db, "SELECT ORAG, OTEL FROM COPE"),
            std::vector<std::string>{"ORAG=T:[NUOVA] OTEL=Null "});
  EXPECT_EQ(Righe(inst.db, "SELECT TIPO, COD, DES FROM CTAB ORDER BY TIPO"),
            (std::vector<std::string>{
                "TIPO=T:[ALTRO] COD=T:[X1] DES=T:[RESTA] ",
                "TIPO=T:[ITT] COD=T:[X1] DES=T:[NUOVO] ",
                "TIPO=T:[NUOVA] COD=T:[X1] DES=T:[AGGIUNTA] ",
                "TIPO=T:[REL] COD=T:[002] DES=T:[01/01/2014] ",
            }));
}

TEST(Backup, FileDiUnAltroOperatoreRipristinaQuelloEFaLaSuaCopia) {
  Installazione inst;
  Inserisci(inst.db, "COPE", {{"OCOD", S("CORRENTE")}, {"ORAG", S("RESTA")}});
  Inserisci(inst.db, "COPE", {{"OCOD", S("ALTRO")}, {"ORAG", S("PRIMA")}});
  Inserisci(inst.db, "CTAB", {{"TIPO", S("ITT")}, {"COD", S("ALTRO")}, {"DES", S("IMPEGNO")}});
  inst.ctx.operatoreCorrente.codiceFiscale = "CORRENTE";
  const auto file = inst.cartella / "ALTRO.FCL";
  const auto copia = inst.cartella / "BFRR_ALTRO_20140115.VEL";
  for (const char* ragione : {"DOPO", "ANCORA"}) {
    SCOPED_TRACE(ragione);
    // The safety copy holds what a backup of the operator would hold just before the restore; a
    // second restore on the same day replaces it.
    const auto attesa = inst.cartella / "atteso.FCL";
    ASSERT_TRUE(SalvaOperatore(inst.ctx, "ALTRO", attesa));
    test::ScriviFile(file,
                     "\xA6"
                     "COPE\xA6"
                     "ALTRO\xA6" +
                         std::string(ragione) + "\r\n");
    ASSERT_TRUE(RipristinaBackup(inst.ctx, file));
    EXPECT_EQ(test::LeggiFile(copia), test::LeggiFile(attesa));
    EXPECT_EQ(Righe(inst.db, "SELECT OCOD, ORAG FROM COPE ORDER BY OCOD"),
              (std::vector<std::string>{"OCOD=T:[ALTRO] ORAG=T:[" + std::string(ragione) + "] ",
                                        "OCOD=T:[CORRENTE] ORAG=T:[RESTA] "}));
  }
}

TEST(Backup, FileCheNonEUnBackup) {
  struct Caso {
    const char* nome;
    std::string contenuto;
  } const kCasi[] = {
      {"vuoto", ""},
      {"riga di codici per prima",
       "\xA6"
       "CTAB\xA6ITT\xA6X1\xA6Y\r\n\xA6"
       "COPE\xA6X1\r\n"},
      {"senza separatore iniziale",
       "COPE\xA6X1\xA6"
       "ALFA\r\n"},
      {"scritto in UTF-8",
       "\xC2\xA6"
       "COPE\xC2\xA6X1\r\n"},
      {"riga vuota per prima",
       "\r\n\xA6"
       "COPE\xA6X1\r\n"},
      {"separatori diversi",
       "\xA6"
       "COPE#X1\r\n"},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.nome);
    Installazione inst;
    Inserisci(inst.db, "COPE", {{"OCOD", S("X1")}, {"ORAG", S("RESTA")}});
    const auto prima = Archivio(inst.db);
    const auto file = inst.cartella / "X.FCL";
    test::ScriviFile(file, c.contenuto);
    EXPECT_FALSE(LeggiIntestazioneBackup(file));
    EXPECT_FALSE(RipristinaBackup(inst.ctx, file));
    EXPECT_EQ(inst.ui.Testi(),
              std::vector<std::string>{
                  "Il file indicato non è un file di backUp di FISCOLARIO. Operazione annullata"});
    EXPECT_EQ(Archivio(inst.db), prima);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(inst.cartella.Percorso()), {}), 1);
  }
}

TEST(Backup, CopiaDiSicurezzaNonScrivibileNienteRipristinato) {
  Installazione inst;
  Inserisci(inst.db, "COPE", {{"OCOD", S("X1")}, {"ORAG", S("RESTA")}});
  const auto prima = Archivio(inst.db);
  const auto file = inst.cartella / "X1.FCL";
  test::ScriviFile(file,
                   "\xA6"
                   "COPE\xA6X1\xA6NUOVA\r\n");
  inst.ctx.cartellaProgramma = inst.cartella / "non-esiste";
  EXPECT_THROW(RipristinaBackup(inst.ctx, file), ErroreFile);
  EXPECT_EQ(Archivio(inst.db), prima);
}

TEST(Backup, UnaCopiaDiSicurezzaNonEsceDallaCartellaDelProgramma) {
  Installazione inst;
  EXPECT_EQ(PercorsoCopiaSicurezza(inst.ctx, "../../X\\Y"),
            inst.cartella / "BFRR_.._.._X_Y_20140115.VEL");
}

// An operator table of another kind, with the number columns that operators do not have.
TEST(Backup, NumeriDoppiInUnaTabellaDiProva) {
  Installazione inst;
  inst.db.Esegui("CREATE TABLE PROVA (OCOD Text (16), IMPORTO Double, PEZZI Integer, NOTA Text)");
  Inserisci(inst.db, "PROVA", {{"OCOD", S("X1")}, {"IMPORTO", 0.0}, {"PEZZI", std::int64_t{0}}});
  Inserisci(inst.db, "PROVA", {{"OCOD", S("X1")}, {"IMPORTO", 12.0}, {"PEZZI", std::int64_t{3}}});
  Inserisci(inst.db, "PROVA", {{"OCOD", S("X1")}, {"IMPORTO", 1234.5}, {"NOTA", S("")}});
  Inserisci(inst.db, "PROVA", {{"OCOD", S("X1")}, {"IMPORTO", -0.75}});
  std::size_t n = 0;
  const std::string righe = RigheBackup(inst.db, "PROVA", "OCOD", "X1", &n);
  EXPECT_EQ(n, 4u);
  const std::string b = "\xA6";
  EXPECT_EQ(righe, b + "PROVA" + b + "X1" + b + "," + b + "0" + b + "\r\n" +  //
                       b + "PROVA" + b + "X1" + b + "12," + b + "3" + b + "\r\n" + b + "PROVA" + b +
                       "X1" + b + "1234,5" + b + b + "\r\n" + b + "PROVA" + b + "X1" + b + "-,75" +
                       b + b + "\r\n");
  // The number columns' Null comes back Null; the text column's as the empty text.
  const auto prima = NullComeTestoVuoto(Righe(inst.db, "SELECT * FROM PROVA"), "PEZZI");

  inst.db.Esegui("DELETE FROM PROVA");
  const auto file = inst.cartella / "X1.FCL";
  test::ScriviFile(file, b + "COPE" + b + "X1\r\n" + righe);
  ASSERT_TRUE(RipristinaBackup(inst.ctx, file));
  EXPECT_EQ(Righe(inst.db, "SELECT * FROM PROVA"), prima);

  // A text in a number column stops the restore at its line.
  test::ScriviFile(file, b + "COPE" + b + "X1\r\n" + b + "PROVA" + b + "X1" + b + "DODICI\r\n");
  try {
    RipristinaBackup(inst.ctx, file);
    ADD_FAILURE();
  } catch (const ErroreRigaBackup& e) {
    EXPECT_EQ(std::string(e.what()),
              "Riga 2 del file di backUp (tabella PROVA): il valore \"DODICI\" della colonna "
              "IMPORTO non è un numero. Ripristino annullato: l'archivio non è stato modificato.");
  }
  EXPECT_EQ(Righe(inst.db, "SELECT * FROM PROVA"), prima);
}

// Records every progress report with its values.
class InterazioneAvanzamento : public test::InterazioneRegistrata {
 public:
  std::vector<std::pair<long long, long long>> valori;
  void Avanzamento(std::string_view d, long long v, long long m) override {
    InterazioneRegistrata::Avanzamento(d, v, m);
    valori.emplace_back(v, m);
  }
};

TEST(Backup, AvanzamentoRiparteDaUnoDopoMille) {
  Installazione inst;
  InterazioneAvanzamento ui;
  inst.ctx.interazione = &ui;
  inst.db.Esegui("CREATE TABLE PROVA (OCOD Text (16), N Integer)");
  const std::string b = "\xA6";
  std::string contenuto =
      b + "COPE" + b + "X1\r\n" + b + "CTAB" + b + "ITT" + b + "X1" + b + "D\r\n";
  for (int k = 0; k < 1001; ++k)
    contenuto += b + "PROVA" + b + "X1" + b + std::to_string(k) + "\r\n";
  test::ScriviFile(inst.cartella / "X1.FCL", contenuto);
  ASSERT_TRUE(RipristinaBackup(inst.ctx, inst.cartella / "X1.FCL"));
  // One step per line that is not a code-table line: COPE and 1001 PROVA lines.
  ASSERT_EQ(ui.valori.size(), 1002u);
  EXPECT_EQ(ui.valori[999], (std::pair<long long, long long>{1000, 1000}));
  EXPECT_EQ(ui.valori[1000], (std::pair<long long, long long>{1, 1000}));
  EXPECT_EQ(ui.valori.back(), (std::pair<long long, long long>{2, 1000}));
  EXPECT_EQ(std::get<std::int64_t>(inst.db.Scalare("SELECT count(*) FROM PROVA")), 1001);
}

TEST(Backup, FileDiVersioniPrecedenti) {
  Installazione inst;
  // Written by earlier versions: values verbatim (a backslash is itself), the date zero as time,
  // a company without date, and only the 18 columns that COPE had before the second subject.
  const std::string b = "\xA6";
  std::string vecchio = b + "COPE" + b + "X1" + b + "ALFA" + b + b + b + b + "00:00:00" + b + b +
                        b + "MILANO" + b + "MI" + b + "1" + b + b + "ALFA" + b + "01" + b +
                        "C:\\Dati\\Alfa" + b + b + b + "INFO@ALFA.IT\r\n";
  vecchio += b + "COPE" + b + "X2" + b + "BETA" + b + b + b + b + "\r\n";
  test::ScriviFile(inst.cartella / "V.FCL", vecchio);
  ASSERT_TRUE(RipristinaBackup(inst.ctx, inst.cartella / "V.FCL"));
  EXPECT_EQ(Righe(inst.db, "SELECT ONDT, OATTD, OPOSTA, OSTCCF FROM COPE ORDER BY OCOD"),
            (std::vector<std::string>{
                "ONDT=D:30/12/1899 OATTD=T:[C:\\Dati\\Alfa] OPOSTA=T:[INFO@ALFA.IT] OSTCCF=Null ",
                "ONDT=Null OATTD=Null OPOSTA=Null OSTCCF=Null "}));
}

TEST(Backup, EsempioDelProgramma) {
  Installazione inst;
  const auto file =
      std::filesystem::path(FCL_SOURCE_DIR) / "resources/esempio/SAVE_ESEMPIO_ALFABETA.FCL";
  if (!std::filesystem::exists(file)) GTEST_SKIP() << "manca " << file;
  const auto intestazione = LeggiIntestazioneBackup(file);
  ASSERT_TRUE(intestazione);
  EXPECT_EQ(intestazione->Etichetta(), "02468130162 ALFA BETA COSTRUZIONI S.R.L.");
  ASSERT_TRUE(RipristinaBackup(inst.ctx, file));
  EXPECT_EQ(Righe(inst.db, "SELECT OCOD, ORAG, ONDT, OSCOM, OSTCCF FROM COPE"),
            std::vector<std::string>{"OCOD=T:[02468130162] ORAG=T:[ALFA BETA COSTRUZIONI S.R.L.] "
                                     "ONDT=Null OSCOM=T:[BERGAMO] OSTCCF=T:[] "});
  EXPECT_EQ(Righe(inst.db, "SELECT DES FROM CTAB WHERE TIPO='ITT'"),
            std::vector<std::string>{"DES=T:[VRDLCU70M15A794Y     220/01/2026   ] "});
  // Saved again, the file comes back byte for byte.
  ASSERT_TRUE(SalvaOperatore(inst.ctx, "02468130162", inst.cartella / "DI NUOVO.FCL"));
  EXPECT_EQ(test::LeggiFile(inst.cartella / "DI NUOVO.FCL"), test::LeggiFile(file));
}

}  // namespace
}  // namespace fcl

namespace fcl {
namespace {

// Damaged files are refused whole, before the safety copy or any change, naming the line: a last
// line cut short (every line is written with its CR LF), a first line without a usable operator
// code, a line longer than any backup holds.
TEST(BackupDanneggiato, RifiutatoPrimaDiToccareQualcosa) {
  const std::string b = "\xA6";
  const std::string cope =
      b + "COPE" + b + "X1" + b + "NUOVA RAGIONE" + b + b + b + b + "01/02/1980";
  const std::string ctab =
      b + "CTAB" + b + "ITT" + b + "X1" + b + "01234567890          215/06/2016   ";
  struct Caso {
    std::string nome;
    std::string contenuto;
    std::size_t riga;
    std::string dettaglio;
  } const kCasi[] = {
      {"ultima riga troncata", cope + "\r\n" + ctab.substr(0, 30), 2,
       "la riga è interrotta prima della fine (manca il ritorno a capo)"},
      {"unica riga troncata", cope.substr(0, 20), 1, "interrotta prima della fine"},
      {"troncata dopo il CR", cope + "\r\n" + ctab + "\r", 2, "interrotta prima della fine"},
      {"codice vuoto", b + "COPE" + b + b + "ALFA\r\n", 1,
       "(tabella COPE): manca il codice fiscale dell'operatore"},
      {"codice di soli spazi", b + "COPE" + b + "   " + b + "ALFA\r\n" + ctab + "\r\n", 1,
       "manca il codice fiscale dell'operatore"},
      {"solo il nome della tabella", b + "COPE" + b + "\r\n", 1, "manca il codice fiscale"},
      {"codice vuoto con il cancelletto", "#COPE##ALFA\r\n", 1, "manca il codice fiscale"},
      {"codice che è un percorso", b + "COPE" + b + "../../.." + b + "ALFA\r\n", 1,
       "il codice fiscale \"../../..\" non è valido (ammesse solo lettere e cifre, al massimo 16)"},
      {"codice di 5000 caratteri", b + "COPE" + b + std::string(5000, 'A') + "\r\n", 1,
       "(5000 caratteri) non è valido"},
      {"riga troppo lunga", cope + "\r\n" + ctab + std::string(70000, ' ') + "\r\n", 2,
       "la riga è lunga " + std::to_string(ctab.size() + 70000) +
           " byte, oltre i 64 KB (65536 byte) che una riga di un file di backUp non raggiunge mai: "
           "il file è danneggiato"},
  };
  for (const auto& c : kCasi) {
    SCOPED_TRACE(c.nome);
    Installazione inst;
    Inserisci(inst.db, "COPE", {{"OCOD", S("X1")}, {"ORAG", S("VECCHIA")}});
    Inserisci(inst.db, "CTAB", {{"TIPO", S("ITT")}, {"COD", S("X1")}, {"DES", S("VECCHIO")}});
    const auto prima = Archivio(inst.db);
    const auto file = inst.cartella / "X1.FCL";
    test::ScriviFile(file, c.contenuto);
    for (int prova = 0; prova < 2; ++prova) {
      try {
        if (prova == 0) {
          LeggiIntestazioneBackup(file);  // what the window shows before the restore
        } else {
          RipristinaBackup(inst.ctx, file);
        }
        ADD_FAILURE() << "il file danneggiato doveva essere rifiutato";
      } catch (const ErroreRigaBackup& e) {
        EXPECT_EQ(e.Riga(), c.riga);
        const std::string testo = e.what();
        EXPECT_EQ(testo.rfind("Riga " + std::to_string(c.riga) + " del file di backUp", 0), 0u)
            << testo;
        EXPECT_NE(testo.find(c.dettaglio), std::string::npos) << testo;
        EXPECT_NE(testo.find("Ripristino annullato: l'archivio non è stato modificato."),
                  std::string::npos)
            << testo;
      }
    }
    EXPECT_EQ(Archivio(inst.db), prima);
    EXPECT_TRUE(inst.ui.Testi().empty());
    // Not even the safety copy: the folder holds only the file.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(inst.cartella.Percorso()), {}), 1);
  }
}

TEST(BackupDanneggiato, FileOltreLaDimensioneDiUnBackup) {
  Installazione inst;
  Inserisci(inst.db, "COPE", {{"OCOD", S("X1")}, {"ORAG", S("VECCHIA")}});
  const auto prima = Archivio(inst.db);
  const std::string b = "\xA6";
  std::string riga = b + "CTAB" + b + "NOTA" + b + "X1" + b + std::string(1000, 'N') + "\r\n";
  std::string grande = b + "COPE" + b + "X1" + b + "ALFA\r\n";
  while (grande.size() <= kDimensioneMassimaBackup) grande += riga;
  const auto file = inst.cartella / "GRANDE.FCL";
  test::ScriviFile(file, grande);
  const std::string atteso = "Il file " + file.string() + " è di " + std::to_string(grande.size()) +
                             " byte, oltre i 4 MB (4194304 byte) che un file di backUp di "
                             "FISCOLARIO, con i dati di un solo operatore, non raggiunge mai.";
  for (int prova = 0; prova < 2; ++prova) {
    try {
      if (prova == 0) {
        LeggiIntestazioneBackup(file);
      } else {
        RipristinaBackup(inst.ctx, file);
      }
      ADD_FAILURE();
    } catch (const ErroreFile& e) {
      EXPECT_EQ(std::string(e.what()).rfind(atteso, 0), 0u) << e.what();
      EXPECT_NE(std::string(e.what()).find("l'archivio non è stato modificato"), std::string::npos);
    }
  }
  EXPECT_EQ(Archivio(inst.db), prima);
  // A large file that is no backup at all is told as such.
  test::ScriviFile(file, std::string(kDimensioneMassimaBackup + 10, 'x'));
  EXPECT_FALSE(LeggiIntestazioneBackup(file));
  EXPECT_FALSE(RipristinaBackup(inst.ctx, file));
  EXPECT_EQ(inst.ui.Testi(),
            std::vector<std::string>{
                "Il file indicato non è un file di backUp di FISCOLARIO. Operazione annullata"});
}

// A Null text column is written as nothing, as in the files of the other programs of the family
// (whose reader would take "\N" for the operator's text), and comes back as the empty text; a file
// this system wrote before with "\N" still reads as Null.
TEST(Backup, NullScrittoComeTestoVuotoNeiDueVersi) {
  Installazione inst;
  Inserisci(inst.db, "COPE", {{"OCOD", S("X1")}, {"ORAG", S("ALFA")}, {"OSTP", S("1")}});
  Inserisci(inst.db, "CTAB", {{"TIPO", S("NOTA")}, {"COD", S("X1")}});  // DES Null
  const auto file = inst.cartella / "X1.FCL";
  ASSERT_TRUE(SalvaOperatore(inst.ctx, "X1", file));
  const std::string scritto = test::LeggiFile(file);
  EXPECT_EQ(scritto.find('\\'), std::string::npos);
  // Read as a plain reader of the format reads it (split at "¦", nothing unescaped): every
  // column but OCOD, ORAG and OSTP is the empty text.
  const std::string b = "\xA6";
  std::string attesa = b + "COPE" + b + "X1" + b + "ALFA";
  for (int k = 0; k < 9; ++k) attesa += b;
  attesa += "1";
  for (int k = 0; k < 21; ++k) attesa += b;
  EXPECT_EQ(scritto, attesa + "\r\n" + b + "CTAB" + b + "NOTA" + b + "X1" + b + "\r\n");

  // That file back: empty texts, the date still Null.
  Installazione altra;
  ASSERT_TRUE(RipristinaBackup(altra.ctx, file));
  EXPECT_EQ(Righe(altra.db, "SELECT OCOG, ONDT, OPIVA, OSTCSPRO FROM COPE"),
            std::vector<std::string>{"OCOG=T:[] ONDT=Null OPIVA=T:[] OSTCSPRO=T:[] "});
  EXPECT_EQ(Righe(altra.db, "SELECT DES FROM CTAB"), std::vector<std::string>{"DES=T:[] "});

  // A file of an earlier version of this system: "\N" is still Null.
  test::ScriviFile(file, b + "COPE" + b + "X1" + b + "ALFA" + b + "\\N" + b + "\\N\r\n" + b +
                             "CTAB" + b + "NOTA" + b + "X1" + b + "\\N\r\n");
  ASSERT_TRUE(RipristinaBackup(altra.ctx, file));
  EXPECT_EQ(Righe(altra.db, "SELECT OCOG, ONOME FROM COPE"),
            std::vector<std::string>{"OCOG=Null ONOME=Null "});
  EXPECT_EQ(Righe(altra.db, "SELECT DES FROM CTAB"), std::vector<std::string>{"DES=Null "});
}

// The operator of a file is the register's operator whatever the case or blanks of its code.
TEST(Backup, CodiceSenzaRiguardoAlleMaiuscole) {
  Installazione inst;
  Inserisci(inst.db, "COPE", {{"OCOD", S("PF0")}, {"ORAG", S("VECCHIA")}});
  Inserisci(inst.db, "CTAB", {{"TIPO", S("ITT")}, {"COD", S("PF0")}, {"DES", S("VECCHIO")}});
  const std::string b = "\xA6";
  const auto file = inst.cartella / "pf0.FCL";
  test::ScriviFile(file, b + "COPE" + b + "pf0 " + b + "NUOVA\r\n" + b + "CTAB" + b + "ITT" + b +
                             " pf0" + b + "NUOVO\r\n");
  const auto intestazione = LeggiIntestazioneBackup(file);
  ASSERT_TRUE(intestazione);
  EXPECT_EQ(intestazione->codice, "PF0");
  ASSERT_TRUE(RipristinaBackup(inst.ctx, file));
  EXPECT_EQ(Archivio(inst.db),
            (std::vector<std::string>{Righe(inst.db, "SELECT * FROM COPE")[0],
                                      "TIPO=T:[ITT] COD=T:[PF0] DES=T:[NUOVO] "}));
  EXPECT_EQ(Righe(inst.db, "SELECT OCOD, ORAG FROM COPE"),
            std::vector<std::string>{"OCOD=T:[PF0] ORAG=T:[NUOVA] "});
  // The safety copy holds the operator as it was.
  EXPECT_NE(test::LeggiFile(inst.cartella / "BFRR_PF0_20140115.VEL").find("VECCHIA"),
            std::string::npos);
  // And a backup asked for in lower case finds it, with its commitment row.
  ASSERT_TRUE(SalvaOperatore(inst.ctx, "pf0", inst.cartella / "DI NUOVO.FCL"));
  EXPECT_NE(test::LeggiFile(inst.cartella / "DI NUOVO.FCL").find("NUOVO\r\n"), std::string::npos);
}

}  // namespace
}  // namespace fcl
