#pragma once

#include <QSettings>

namespace fcl {

// The user's settings of the desktop windows (sizes, positions, splitters): one file per user,
// ~/.config/fiscolario/fiscolario.ini, the same whatever the program folder.
class Impostazioni : public QSettings {
 public:
  Impostazioni()
      : QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("fiscolario"),
                  QStringLiteral("fiscolario")) {}
};

}  // namespace fcl
