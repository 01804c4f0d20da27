#pragma once

#include <QString>

#include <filesystem>
#include <string>
#include <string_view>

namespace fcl {

// The one place where texts cross between the core (UTF-8 std::string) and Qt (QString).

inline QString QTesto(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string TestoStd(const QString& testo) { return testo.toUtf8().toStdString(); }

inline QString QPercorso(const std::filesystem::path& percorso) {
  return QString::fromStdString(percorso.string());
}

inline std::filesystem::path PercorsoStd(const QString& percorso) {
  return std::filesystem::path(percorso.toStdString());
}

}  // namespace fcl
