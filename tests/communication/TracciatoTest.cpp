#include "communication/TracciatoComunicazione.h"

#include <gtest/gtest.h>

#include "SupportoTracciato.h"
#include "common/CodiceProduttore.h"
#include "common/NomiFileComunicazione.h"
#include "communication/PianoComunicazione.h"
#include "communication/PulCar.h"
#include "communication/RecordComunicazione.h"

namespace fcl {
namespace {

using test::Campo;
using test::PrimaDifferenza;
using test::RecordAtteso;

// A natural person without intermediary and without bound subject.
RigaOperatore PersonaFisica() {
  RigaOperatore r;
  r.ocod = "RSSMRA70C05H501Z";
  r.ocog = "Rossi";
  r.onome = "Mario";
  r.osex = "M";
  r.ondt = "05/03/1970";
  r.oncom = "Città, Forlì";
  r.onpro = "fc";
  r.ostp = "0";
  r.opiva = "01234567897";
  r.oatt = "692000";
  r.otel = "0543123456";
  r.oposta = "mario.rossi@example.it";
  return r;
}

TotaliImport Totali(std::initializer_list<std::pair<int, int>> righe) {
  TotaliImport t;
  for (const auto& [quadro, n] : righe) {
    t.righePerQuadro[static_cast<std::size_t>(quadro)] = n;
    t.righeTotali += n;
  }
  return t;
}

void ConfrontaRecord(const std::string& ottenuto, const std::string& atteso) {
  ASSERT_EQ(ottenuto.size(), 1898u);
  EXPECT_EQ(PrimaDifferenza(ottenuto, atteso), 0u)
      << "ottenuto: [" << ottenuto.substr(0, 620) << "]\natteso:   [" << atteso.substr(0, 620)
      << "]";
}

TEST(RecordA, FornitoreSecondoIntermediarioSoggettoTenutoOOperatore) {
  struct Case {
    std::string_view nome;
    std::string intermediario;
    std::string ostccf;
    std::string_view tipo;
    std::string_view codice;
  } const kCases[] = {
      {"senza intermediario", "", "", "01", "RSSMRA70C05H501Z"},
      {"soggetto tenuto", "", "BNCLRA60A41F205X", "01", "BNCLRA60A41F205X"},
      {"intermediario", "MRNGPP50A01H501U", "BNCLRA60A41F205X", "10", "MRNGPP50A01H501U"},
      {"intermediario di 11 cifre", " 01234567897 ", "", "10", "01234567897"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.nome);
    OperatoreCorrente op;
    op.intermediarioCF = c.intermediario;
    RigaOperatore riga = PersonaFisica();
    riga.ostccf = c.ostccf;
    ConfrontaRecord(
        ComponiRecordA(op, riga),
        RecordAtteso({{1, "A"}, {16, "NSP00"}, {21, c.tipo}, {23, c.codice}, {522, "00000000"}}));
  }
}

TEST(RecordB, PersonaFisicaSenzaIntermediarioInvioOrdinario) {
  OperatoreCorrente op;  // no intermediary, who-prepared "0"
  SceltaCreazione s;
  s.anno = "2013";
  s.tipoDati = TipoDati::Aggregati;
  const PianoComunicazione piano = PianificaComunicazione(Totali({{FA, 4}, {BL, 1}, {FE, 2}}), s);
  ConfrontaRecord(ComponiRecordB(op, PersonaFisica(), s, piano),
                  RecordAtteso({{1, "B"},
                                {2, "RSSMRA70C05H501Z"},
                                {18, "00000001"},
                                {74, kCodiceProduttore},
                                {90, "100"},
                                {93, "00000000000000000"},
                                {110, "000000"},
                                {116, "10"},
                                {118, "101000000001"},  // FA, BL; FE left out; TA
                                {130, "01234567897"},
                                {141, "692000"},
                                {147, "0543123456"},
                                {171, "MARIO.ROSSI@EXAMPLE.IT"},
                                {221, "ROSSI"},
                                {245, "MARIO"},
                                {265, "M"},
                                {266, "05031970"},
                                {274, "CITTA  FORLI"},
                                {314, "FC"},
                                {376, "2013"},
                                {398, "00"},
                                {400, "0000000000000000"},
                                {461, "00000000"},
                                {587, "00000"},
                                {592, "0"},
                                {594, "00000000"}}));
}

TEST(RecordB, SocietaConIntermediarioSostitutivaAnalitica) {
  OperatoreCorrente op;
  op.intermediarioCF = "MRNGPP50A01H501U";
  op.numeroIscrizioneCaf = "123";
  op.codicePredisposizione = "2";
  op.dataImpegno = "15/01/2014";
  RigaOperatore riga;
  riga.ocod = "01234567897";  // 11 characters: 13-17 stay blank
  riga.orag =
      "Società \"Alfa\" (Beta) [srl]; x|y <z> più, e ancora altro testo fino a oltre sessanta";
  riga.ostp = "1";
  riga.opiva = "01234567897";
  riga.oatt = "4711000";  // cut to 6
  riga.ofax = "0543654321";
  riga.ostccf = "BNCLRA60A41F205X";
  riga.ostccdcarica = "1";
  riga.ostcdtini = "01/02/2013";
  riga.ostcdtfine = "1/3/2013";
  riga.ostccog = "Bianchi";
  riga.ostcnome = "Laura";
  riga.ostcsex = "F";
  riga.ostcndt = "01/01/1960";
  riga.ostcncom = "Milano";
  riga.ostcnpro = "MI";
  SceltaCreazione s;
  s.anno = "2013";
  s.periodo = "T1";
  s.tipoInvio = TipoInvio::Sostitutivo;
  s.protocollo = " 12345 ";
  s.protocolloDocumento = "7";
  s.tipoDati = TipoDati::Analitici;
  const PianoComunicazione piano = PianificaComunicazione(Totali({{SA, 3}, {FE, 2}, {TU, 1}}), s);
  const std::string ragione =
      std::string(
          "SOCIETA  ALFA   BETA   SRL   X Y  Z  PI\xD9  E ANCORA ALTRO TESTO FINO A OLTRE SESSANTA")
          .substr(0, 60);
  ConfrontaRecord(ComponiRecordB(op, riga, s, piano),
                  RecordAtteso({{1, "B"},
                                {2, "01234567897"},
                                {18, "00000001"},
                                {74, kCodiceProduttore},
                                {90, "010"},
                                {93, "00000000000012345"},
                                {110, "000007"},
                                {116, "01"},
                                {118, "000100000011"},  // FE, TU, TA; SA left out
                                {130, "01234567897"},
                                {141, "471100"},
                                {159, "0543654321"},
                                {266, "00000000"},
                                {316, ragione},
                                {376, "2013T1"},
                                {382, "BNCLRA60A41F205X"},
                                {398, "1"},
                                {400, "0102201301032013"},
                                {416, "BIANCHI"},
                                {440, "LAURA"},
                                {460, "F01011960MILANO"},
                                {509, "MI"},
                                {571, "MRNGPP50A01H501U"},
                                {587, "001232"},
                                {594, "15012014"}}));
}

TEST(RecordB, TipoDiInvioProtocolliEQuadri) {
  struct Case {
    std::string_view nome;
    TipoInvio tipo;
    std::string protocollo;
    std::string documento;
    std::string_view atteso90a129;
  } const kCases[] = {
      {"ordinario con protocolli rimasti nei campi", TipoInvio::Ordinario, "ABC12", "99",
       "100"
       "00000000000000000"
       "000000"
       "10"
       "11100000000"
       "1"},
      {"sostitutivo con protocolli completi", TipoInvio::Sostitutivo, "12345678901234567", "123456",
       "010"
       "12345678901234567"
       "123456"
       "10"
       "11100000000"
       "1"},
      {"annullamento senza dati", TipoInvio::Annullamento, "1301", "12",
       "001"
       "00000000000001301"
       "000012"
       "00"
       "00000000000"
       "0"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.nome);
    SceltaCreazione s;
    s.anno = "2013";
    s.tipoInvio = c.tipo;
    s.protocollo = c.protocollo;
    s.protocolloDocumento = c.documento;
    const PianoComunicazione piano =
        PianificaComunicazione(Totali({{FA, 1}, {SA, 1}, {BL, 1}, {NE, 1}}), s);
    const std::string b = ComponiRecordB(OperatoreCorrente{}, PersonaFisica(), s, piano);
    EXPECT_EQ(Campo(b, 90, 40), c.atteso90a129);
  }
}

TEST(RecordB, NumeroCafSoloConIntermediario) {
  struct Case {
    std::string_view nome;
    std::string intermediario;
    std::string caf;
    std::string_view atteso;
  } const kCases[] = {
      {"intermediario senza CAF", "MRNGPP50A01H501U", "", "00000"},
      {"intermediario CAF di 5 cifre", "MRNGPP50A01H501U", "98765", "98765"},
      {"nessun intermediario, numero rimasto", "", "123", "00000"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.nome);
    OperatoreCorrente op;
    op.intermediarioCF = c.intermediario;
    op.numeroIscrizioneCaf = c.caf;
    SceltaCreazione s;
    s.anno = "2013";
    const auto piano = PianificaComunicazione(Totali({{FA, 1}}), s);
    const std::string b = ComponiRecordB(op, PersonaFisica(), s, piano);
    EXPECT_EQ(Campo(b, 587, 5), c.atteso);
    EXPECT_EQ(Campo(b, 593, 1), " ");
  }
}

TEST(PulCar, PunteggiaturaAccentiEMaiuscole) {
  // Windows-1252 bytes in, one for one out.
  const std::string ingresso = "()<>[];|,\"a\xE0\xF2\xE8\xE9\xEC\xF9\xE7z@.-_'/&\x9A\xFF\xDF";
  const std::string atteso = "          AAOEEI\xD9\xC7Z@.-_'/&\x8A\x9F\xDF";
  EXPECT_EQ(PulCar(ingresso), atteso);
}

TEST(RecordE, CampiTAPresentiInOrdine) {
  struct Case {
    std::string_view nome;
    TotaliImport totali;
    TipoDati tipo;
    std::vector<CampoTA> attesi;
  };
  auto totali = [](std::initializer_list<std::pair<int, int>> righe, int riepFE, int riepFR,
                   std::array<int, 3> bl) {
    TotaliImport t = Totali(righe);
    t.documentiRiepilogativiFE = riepFE;
    t.documentiRiepilogativiFR = riepFR;
    t.contatoriBL = bl;
    return t;
  };
  const Case kCases[] = {
      {"senza FA e senza BL: SA sale a 90, BL sempre presente con 0",
       totali({{SA, 12}}, 0, 0, {0, 0, 0}),
       TipoDati::Aggregati,
       {{"TA002001", "12"}, {"TA003001", "0"}, {"TA003002", "0"}, {"TA003003", "0"}}},
      {"FA, SA, BL con i contatori",
       totali({{FA, 3}, {SA, 1}, {BL, 5}}, 0, 0, {2, 3, 1}),
       TipoDati::Aggregati,
       {{"TA001001", "3"},
        {"TA002001", "1"},
        {"TA003001", "2"},
        {"TA003002", "3"},
        {"TA003003", "1"}}},
      {"tutte le FE riepilogative: 0 e il numero dei documenti",
       totali({{FE, 4}}, 4, 0, {0, 0, 0}),
       TipoDati::Analitici,
       {{"TA004001", "0"}, {"TA004002", "4"}}},
      {"FE e FR con riepilogativi sottratti, poi gli altri quadri",
       totali({{FE, 10}, {FR, 6}, {NE, 1}, {NR, 2}, {DF, 3}, {FN, 4}, {SE, 5}, {TU, 6}}, 3, 1,
              {0, 0, 0}),
       TipoDati::Analitici,
       {{"TA004001", "7"},
        {"TA004002", "3"},
        {"TA005001", "5"},
        {"TA005002", "1"},
        {"TA006001", "1"},
        {"TA007001", "2"},
        {"TA008001", "3"},
        {"TA009001", "4"},
        {"TA010001", "5"},
        {"TA011001", "6"}}},
      {"FR senza riepilogativi, quadri aggregati esclusi",
       totali({{FA, 2}, {BL, 1}, {FR, 8}}, 0, 0, {1, 0, 0}),
       TipoDati::Analitici,
       {{"TA005001", "8"}}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.nome);
    SceltaCreazione s;
    s.tipoDati = c.tipo;
    const PianoComunicazione piano = PianificaComunicazione(c.totali, s);
    EXPECT_EQ(piano.campiTA, c.attesi);

    std::string atteso = RecordAtteso(
        {{1, "E"}, {2, "RSSMRA70C05H501Z"}, {18, "00000001"}, {74, kCodiceProduttore}});
    std::size_t pos = 90;
    for (const CampoTA& campo : c.attesi) {
      atteso.replace(pos - 1, 8, campo.codice);
      atteso.replace(pos + 8 - 1 + 16 - campo.valore.size(), campo.valore.size(), campo.valore);
      pos += 24;
    }
    ConfrontaRecord(ComponiRecordE(" RSSMRA70C05H501Z ", piano.campiTA), atteso);
  }
}

TEST(RecordZ, ConteggiDeiRecord) {
  ConfrontaRecord(ComponiRecordZ(12, 0, 1),
                  RecordAtteso({{1, "Z"}, {16, "000000001000000012000000000000000001"}}));
  ConfrontaRecord(ComponiRecordZ(0, 0, 0),
                  RecordAtteso({{1, "Z"}, {16, "000000001000000000000000000000000000"}}));
}

TEST(PianoComunicazione, UnaSolaTipologiaDiDati) {
  const TotaliImport t = Totali({{FA, 4}, {SA, 1}, {FE, 2}, {SE, 1}});
  SceltaCreazione s;
  s.tipoDati = TipoDati::Aggregati;
  PianoComunicazione p = PianificaComunicazione(t, s);
  EXPECT_EQ(p.tipoDettaglio, 'C');
  EXPECT_TRUE(p.quadro[FA] && p.quadro[SA]);
  EXPECT_FALSE(p.quadro[FE] || p.quadro[SE] || p.quadro[BL]);
  EXPECT_EQ(p.quadriEsclusi, (std::vector<std::string>{"FE", "SE"}));
  EXPECT_TRUE(p.recordE && p.quadroTA);

  s.tipoDati = TipoDati::Analitici;
  p = PianificaComunicazione(t, s);
  EXPECT_EQ(p.tipoDettaglio, 'D');
  EXPECT_TRUE(p.quadro[FE] && p.quadro[SE]);
  EXPECT_FALSE(p.quadro[FA] || p.quadro[SA]);
  EXPECT_EQ(p.quadriEsclusi, (std::vector<std::string>{"FA", "SA"}));

  s.tipoInvio = TipoInvio::Annullamento;
  p = PianificaComunicazione(t, s);
  EXPECT_EQ(p.tipoDettaglio, 0);
  EXPECT_FALSE(p.tipoDati.has_value());
  EXPECT_FALSE(p.recordE || p.quadroTA);
  for (bool q : p.quadro) EXPECT_FALSE(q);
  EXPECT_TRUE(p.campiTA.empty());
  EXPECT_TRUE(p.quadriEsclusi.empty());
}

TEST(DataRecord, RegolaDelleDate) {
  struct Case {
    std::string_view data;
    std::string_view attesa;
  } const kCases[] = {
      {"", "00000000"},           {"05/03/1970", "05031970"}, {"5/3/1970", "05031970"},
      {"1970-03-05", "05031970"}, {"30/12/1899", "00000000"}, {"fine mese", "00000000"},
      {"31/04/2013", "00000000"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.data);
    EXPECT_EQ(DataRecord(c.data), c.attesa);
  }
}

TEST(RecordComunicazione, PosizionamentoTagliaELasciaIlResto) {
  RecordComunicazione r('B');
  r.Poni(93, 17, std::string(17, '0'));
  r.Poni(93, 17, "12345");   // shorter: the rest keeps its zeros
  r.Poni(200, 3, "ABCDEF");  // longer: cut
  r.Poni(1897, 5, "XYZ");    // never past the record
  r.Poni(300, 4, "è€");      // UTF-8 in, Windows-1252 out
  EXPECT_EQ(Campo(r.Testo(), 93, 17), "12345000000000000");
  EXPECT_EQ(Campo(r.Testo(), 200, 4), "ABC ");
  EXPECT_EQ(Campo(r.Testo(), 300, 3), "\xE8\x80 ");
  EXPECT_EQ(r.Testo().size(), 1898u);
  EXPECT_EQ(Campo(r.Testo(), 1897, 2), "XY");
}

TEST(NomiFile, RicavatiDalListatoSenzaMaiToccarlo) {
  struct Case {
    std::string_view listato;
    std::string_view comunicazione;
    std::string_view copertina;
    bool ricavati;
  } const kCases[] = {
      {"/d/FCL_ROSSIMARIO_LISTATO.PDF", "/d/FCL_ROSSIMARIO.TXT",
       "/d/FCL_ROSSIMARIO_FRONTESPIZIO.PDF", false},
      {"/d/A_LISTATO.PDF_LISTATO.PDF", "/d/A.TXT.TXT", "/d/A_FRONTESPIZIO.PDF_FRONTESPIZIO.PDF",
       false},
      {"/x_LISTATO.PDF/B_LISTATO.PDF", "/x_LISTATO.PDF/B.TXT", "/x_LISTATO.PDF/B_FRONTESPIZIO.PDF",
       false},
      {"/d/rossi.pdf", "/d/rossi.TXT", "/d/rossi_FRONTESPIZIO.PDF", true},
      {"/d/Rossi_listato.pdf", "/d/Rossi_listato.TXT", "/d/Rossi_listato_FRONTESPIZIO.PDF", true},
      {"/d/ROSSI.txt", "/d/ROSSI_COMUNICAZIONE.TXT", "/d/ROSSI_FRONTESPIZIO.PDF", true},
      {"/d/ROSSI", "/d/ROSSI.TXT", "/d/ROSSI_FRONTESPIZIO.PDF", true},
      {"/d/ROSSI_FRONTESPIZIO.PDF", "/d/ROSSI_FRONTESPIZIO.TXT",
       "/d/ROSSI_FRONTESPIZIO_FRONTESPIZIO.PDF", true},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.listato);
    const auto n = RicavaNomiFile(std::filesystem::path(c.listato));
    ASSERT_TRUE(n.has_value());
    EXPECT_EQ(n->comunicazione.string(), c.comunicazione);
    EXPECT_EQ(n->copertina.string(), c.copertina);
    EXPECT_EQ(n->ricavati, c.ricavati);
    EXPECT_NE(n->comunicazione, std::filesystem::path(c.listato));
    EXPECT_NE(n->copertina, std::filesystem::path(c.listato));
  }
  EXPECT_FALSE(RicavaNomiFile({}).has_value());
}

}  // namespace
}  // namespace fcl
