#include "register/ui/FOPC.h"

#include <algorithm>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTest>

#include <gtest/gtest.h>

#include "CartellaTemporanea.h"
#include "InterazioneRegistrata.h"
#include "common/Contesto.h"
#include "common/RoutineCampi.h"
#include "common/ui/ListaVista.h"
#include "store/Database.h"
#include "store/Schema.h"

namespace fcl {
namespace {

TEST(FOPCTest, PersonaFisicaConIntermediarioRegistrataESelezionata) {
  Database db = Database::InMemoria();
  CreaSchema(db);
  db.Esegui(
      "INSERT INTO COPE (OCOD, ORAG, ODES, OSTP) VALUES ('01234567890', 'ALFA', 'ALFA', '1')");
  test::InterazioneRegistrata ui;
  Contesto ctx;
  ctx.connessioneDb = &db;
  ctx.interazione = &ui;

  FOPC f(ctx);
  f.show();
  f.Aggiungi();
  auto casella = [&](const char* nome) { return f.findChild<QLineEdit*>(nome); };
  f.findChild<QRadioButton*>("o2")->click();
  EXPECT_TRUE(f.findChild<QWidget*>("FPF")->isVisible());
  EXPECT_FALSE(f.findChild<QWidget*>("FPNF")->isVisible());
  const std::pair<const char*, const char*> valori[] = {{"tocod", "rssmra80a01h501u"},
                                                        {"vOCOG", "Rossi"},
                                                        {"vONOME", "Mario"},
                                                        {"vOSEX", "M"},
                                                        {"vONDT", "01/01/1980"},
                                                        {"vONCOM", "Roma"},
                                                        {"vONPRO", "RM"},
                                                        {"vITTCF", "01234567890"},
                                                        {"vITTDATA", "15/06/2016"}};
  for (const auto& [nome, valore] : valori) casella(nome)->setText(valore);

  QTest::mouseClick(f.findChild<QPushButton*>("Cmd_Conferma"), Qt::LeftButton);

  EXPECT_TRUE(ui.voci.empty()) << ui.voci.front().testo;
  EXPECT_EQ(f.ListaOperatori()->LeggiSelezione({"Codice_Fiscale"}).front(), "RSSMRA80A01H501U");
  EXPECT_FALSE(casella("tocod")->isEnabled());
  EXPECT_EQ(casella("vOCOG")->text(), "ROSSI");
  auto* itt1 = f.findChild<QRadioButton*>("vITT1");
  EXPECT_TRUE(itt1->isChecked());
  EXPECT_TRUE(itt1->font().bold());
  EXPECT_EQ(ctx.operatoreCorrente.nomeVisualizzato, "ROSSIMARIO");
  EXPECT_EQ(ctx.operatoreCorrente.codicePredisposizione, "1");
  EXPECT_EQ(ValoreComeTesto(db.Scalare("SELECT ODES FROM COPE WHERE OCOD='RSSMRA80A01H501U'")),
            "ROSSI MARIO");

  // A save whose check fails reports on the field and writes nothing.
  f.Aggiungi();
  QTest::mouseClick(f.findChild<QPushButton*>("Cmd_Conferma"), Qt::LeftButton);
  ASSERT_FALSE(ui.voci.empty());
  EXPECT_EQ(Rifila(ui.voci.back().testo), "Codice Fiscale non indicato.");  // centred
}

TEST(FOPCTest, UnSoggettoCambiatoDaUnAltraPostazioneNonVieneSovrascritto) {
  test::CartellaTemporanea cartella;
  Database db(cartella.Percorso() / "FCL2013.mdb", Database::Modo::Creazione);
  CreaSchema(db);
  db.Esegui(
      "INSERT INTO COPE (OCOD, OPIVA, ORAG, ODES, OSTP, OSCOM, OSPRO, OATT) VALUES ('01234567890', "
      "'01234567890', 'ALFA', 'ALFA', '1', 'ROMA', 'RM', '41.20.00')");
  test::InterazioneRegistrata ui;
  Contesto ctx;
  ctx.connessioneDb = &db;
  ctx.interazione = &ui;
  FOPC f(ctx);
  f.show();
  f.Lista();
  auto casella = [&](const char* nome) { return f.findChild<QLineEdit*>(nome); };
  ASSERT_EQ(casella("torag")->text().toStdString(), "ALFA");
  EXPECT_EQ(f.findChild<QLabel*>("ConteggioSoggetti")->text().left(10).toStdString(), "1 soggetto");

  // Another workstation saves the operator while it is open here.
  Database altra = db.Nuova(Database::Modo::LetturaScrittura);
  altra.Esegui("UPDATE COPE SET ORAG='ALFA NUOVA', ODES='ALFA NUOVA' WHERE OCOD='01234567890'");
  casella("vOTEL")->setText("0612345");
  QTest::mouseClick(f.findChild<QPushButton*>("Cmd_Conferma"), Qt::LeftButton);
  ASSERT_EQ(ui.voci.size(), 1u) << ui.voci.back().testo;
  EXPECT_EQ(ui.voci[0].testo.rfind("Il soggetto è stato modificato da un'altra postazione", 0), 0u);
  EXPECT_EQ(ValoreComeTesto(db.Scalare("SELECT ORAG FROM COPE")), "ALFA NUOVA");
  EXPECT_TRUE(EnNull(db.Scalare("SELECT OTEL FROM COPE")));

  // F5 shows the operator as it is now, without asking about the refused input.
  const auto scorciatoie = f.findChildren<QShortcut*>();
  ASSERT_TRUE(std::any_of(scorciatoie.begin(), scorciatoie.end(),
                          [](QShortcut* s) { return s->key() == QKeySequence(Qt::Key_F5); }));
  f.Ricarica();
  EXPECT_EQ(ui.voci.size(), 1u);
  EXPECT_EQ(casella("torag")->text().toStdString(), "ALFA NUOVA");
  casella("vOTEL")->setText("0612345");
  QTest::mouseClick(f.findChild<QPushButton*>("Cmd_Conferma"), Qt::LeftButton);
  EXPECT_EQ(ui.voci.size(), 1u);
  EXPECT_EQ(ValoreComeTesto(db.Scalare("SELECT OTEL FROM COPE")), "0612345");
}

TEST(FOPCTest, ComunePropostoMentreSiScrive) {
  Database db = Database::InMemoria();
  CreaSchema(db);
  db.Esegui("INSERT INTO T_COMUNI (COMUNE, PRO) VALUES ('ROMANO CANAVESE', 'TO'), ('ROMA', 'RM')");
  test::InterazioneRegistrata ui;
  Contesto ctx;
  ctx.connessioneDb = &db;
  ctx.interazione = &ui;
  FOPC f(ctx);
  f.show();
  f.Aggiungi();
  auto* comune = f.findChild<QLineEdit*>("vOSCOM");
  comune->setFocus();
  QTest::keyClicks(comune, "ROM");
  EXPECT_EQ(comune->text(), "ROMA");
  EXPECT_EQ(comune->selectedText(), "A");
  EXPECT_EQ(f.findChild<QLineEdit*>("vOSPRO")->text(), "RM");
}

// The window's own buttons over the register's core: "Copia in tutti" gives the shown commitment to
// every operator, "Elimina Soggetto" removes the operator after its question and keeps its
// commitment row, which comes back when the operator is registered again.
TEST(FOPCTest, CopiaInTuttiEliminaERicrea) {
  Database db = Database::InMemoria();
  CreaSchema(db);
  db.Esegui(
      "INSERT INTO COPE (OCOD, ORAG, ODES, OSTP, OSCOM, OSPRO, OPIVA) VALUES "
      "('01234567897', 'ALFA', 'ALFA', '1', 'MILANO', 'MI', '01234567897'), "
      "('02468130162', 'BETA', 'BETA', '1', 'ROMA', 'RM', '02468130162')");
  test::InterazioneRegistrata ui;
  Contesto ctx;
  ctx.connessioneDb = &db;
  ctx.interazione = &ui;
  FOPC f(ctx);
  f.show();
  auto casella = [&](const char* nome) { return f.findChild<QLineEdit*>(nome); };
  auto impegno = [&](const char* codice) {
    return ValoreComeTesto(
        db.Scalare("SELECT DES FROM CTAB WHERE TIPO='ITT' AND COD=?", {std::string(codice)}));
  };

  f.ListaOperatori()->SelezionaRiga("01234567897", "Codice_Fiscale");
  ASSERT_EQ(casella("tocod")->text(), "01234567897");
  casella("vITTCF")->setText("VRDLCU70M15A794Y");
  casella("vITTDATA")->setText("20/01/2026");
  f.findChild<QRadioButton*>("vITT2")->click();
  QTest::mouseClick(f.findChild<QPushButton*>("CmdCopiaITT"), Qt::LeftButton);
  ASSERT_EQ(ui.Testi("domanda").size(), 1u);  // the confirmation, answered Yes
  const std::string copiato = impegno("02468130162");
  EXPECT_EQ(copiato.substr(0, 16), "VRDLCU70M15A794Y");
  EXPECT_EQ(copiato, impegno("01234567897"));

  f.ListaOperatori()->SelezionaRiga("02468130162", "Codice_Fiscale");
  EXPECT_EQ(casella("vITTCF")->text(), "VRDLCU70M15A794Y");
  EXPECT_EQ(casella("vITTDATA")->text(), "20/01/2026");
  EXPECT_TRUE(f.findChild<QRadioButton*>("vITT2")->isChecked());
  EXPECT_TRUE(f.findChild<QRadioButton*>("vITT2")->font().bold());

  ui.voci.clear();
  f.Elimina();
  ASSERT_EQ(ui.Testi("domanda"),
            std::vector<std::string>{"Confermi l'Eliminazione del Soggetto BETA?"});
  EXPECT_TRUE(EnNull(db.Scalare("SELECT OCOD FROM COPE WHERE OCOD='02468130162'")));
  EXPECT_EQ(impegno("02468130162"), copiato);

  // Registered again with the same code: the commitment shows again.
  f.Aggiungi();
  const std::pair<const char*, const char*> valori[] = {
      {"tocod", "02468130162"}, {"torag", "BETA"}, {"vOSCOM", "ROMA"}, {"vOSPRO", "RM"}};
  for (const auto& [nome, valore] : valori) casella(nome)->setText(valore);
  emit casella("tocod")->editingFinished();  // leaving the code box
  EXPECT_EQ(casella("vITTCF")->text(), "VRDLCU70M15A794Y");
  ASSERT_TRUE(f.Conferma()) << ui.voci.back().testo;
  EXPECT_EQ(f.ListaOperatori()->LeggiSelezione({"Codice_Fiscale"}).front(), "02468130162");
  EXPECT_EQ(casella("vITTCF")->text(), "VRDLCU70M15A794Y");
  EXPECT_EQ(impegno("02468130162"), copiato);
}

}  // namespace
}  // namespace fcl
