#pragma once

#include <QDialog>

#include <filesystem>
#include <string>
#include <string_view>

class QLabel;
class QProgressBar;
class QPushButton;

namespace fcl {

struct Contesto;

// "Salvataggio/Ripristino": the backup of the current operator (mode "S") or the restore of a
// backup file (any other mode). ScegliFile shows the file dialog of the mode; a cancelled dialog
// leaves only "Chiudi", a file that is no backup file is told and closes the window. "Conferma"
// runs the backup or the restore over the core; when it ends the window closes. A failure (disk,
// database, a line of the file that does not fit) is told and leaves the window open; a restore
// that fails has changed nothing.
class FSalva : public QDialog {
  Q_OBJECT
 public:
  FSalva(Contesto& ctx, std::string_view modoBackup, QWidget* genitore = nullptr);

  // Opens the window as the main window's menu does: file dialog, then the window when a file
  // was chosen and the window is still open.
  static void Esegui(Contesto& ctx, std::string_view modoBackup, QWidget* genitore = nullptr);

  // The file dialog of the mode (restore: then the check of the chosen file). False when the
  // window has nothing to confirm.
  bool ScegliFile();
  // "Conferma".
  void Conferma();

  // True once the window closed itself (the chosen file was no backup file).
  bool Chiusa() const { return chiusa_; }
  // Closing waits for the end of a backup or restore.
  void reject() override;

  bool Salvataggio() const { return salvataggio_; }
  const std::filesystem::path& File() const { return file_; }

 private:
  Contesto& ctx_;
  bool salvataggio_;
  std::filesystem::path file_;
  std::string codice_;
  bool chiusa_ = false;
  bool inCorso_ = false;

  QLabel* label1_;
  QLabel* label2_;
  QLabel* label3_;
  QLabel* labelFile_;
  QPushButton* bConferma_;
  QProgressBar* pBar1_;
};

}  // namespace fcl
