#pragma once

class QCoreApplication;

namespace fcl {

// Qt's own texts (standard dialog buttons, the file dialogs, context menus of the input boxes) in
// Italian: installs the qtbase_it translation shipped with Qt (Debian: qt6-translations-l10n) into
// the application, which owns it. When the translation is not installed the program goes on in
// English for those texts, after a notice on stderr naming the missing package; returns false.
bool InstallaTraduzioneQt(QCoreApplication& app);

}  // namespace fcl
