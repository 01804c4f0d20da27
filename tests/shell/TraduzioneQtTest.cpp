#include "shell/ui/TraduzioneQt.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace fcl {
namespace {

// The texts Qt draws itself come out in Italian once the translation is installed: the buttons of
// a message box that the program does not label, and the file dialog the program uses (Qt's own,
// as under the offscreen platform and on desktops without a native one).
TEST(TraduzioneQtTest, PulsantiEFinestreDiQtInItaliano) {
  int argc = 1;
  char nome[] = "test_shell_qt";
  char* argv[] = {nome, nullptr};
  QApplication app(argc, argv);
  ASSERT_TRUE(InstallaTraduzioneQt(app));

  QMessageBox box;
  box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel |
                         QMessageBox::Ok);
  struct Caso {
    QMessageBox::StandardButton pulsante;
    const char* testo;
  } const kCasi[] = {
      {QMessageBox::Yes, "&Sì"},
      {QMessageBox::No, "&No"},
      {QMessageBox::Cancel, "Annulla"},
      {QMessageBox::Ok, "OK"},
  };
  for (const Caso& c : kCasi) {
    SCOPED_TRACE(c.testo);
    ASSERT_NE(box.button(c.pulsante), nullptr);
    EXPECT_EQ(box.button(c.pulsante)->text(), QString::fromUtf8(c.testo));
  }

  for (const auto modo : {QFileDialog::AcceptOpen, QFileDialog::AcceptSave}) {
    QFileDialog dialogo;
    dialogo.setOption(QFileDialog::DontUseNativeDialog);
    dialogo.setAcceptMode(modo);
    auto* pulsanti = dialogo.findChild<QDialogButtonBox*>();
    ASSERT_NE(pulsanti, nullptr);
    QStringList testi;
    for (auto* b : pulsanti->buttons()) testi << b->text();
    SCOPED_TRACE(testi.join(QStringLiteral(" | ")).toStdString());
    EXPECT_TRUE(testi.contains(modo == QFileDialog::AcceptOpen ? QStringLiteral("&Apri")
                                                               : QStringLiteral("&Salva")));
    EXPECT_TRUE(testi.contains(QStringLiteral("Annulla")));
    QStringList etichette;
    for (auto* l : dialogo.findChildren<QLabel*>()) etichette << l->text();
    EXPECT_FALSE(etichette.contains(QStringLiteral("File &name:")));
    EXPECT_FALSE(etichette.contains(QStringLiteral("Look in:")));
  }
}

}  // namespace
}  // namespace fcl
