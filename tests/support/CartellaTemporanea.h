#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

namespace fcl::test {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class CartellaTemporanea {
 public:
  CartellaTemporanea() {
    std::string modello = (std::filesystem::temp_directory_path() / "fcltest-XXXXXX").string();
    percorso_ = ::mkdtemp(modello.data());
  }
  ~CartellaTemporanea() {
    std::error_code ec;
    std::filesystem::permissions(percorso_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(percorso_, ec);
  }
  CartellaTemporanea(const CartellaTemporanea&) = delete;
  CartellaTemporanea& operator=(const CartellaTemporanea&) = delete;

  const std::filesystem::path& Percorso() const { return percorso_; }
  std::filesystem::path operator/(const std::string& nome) const { return percorso_ / nome; }

 private:
  std::filesystem::path percorso_;
};

// The whole content of a file as bytes.
std::string LeggiFile(const std::filesystem::path& percorso);
// Writes bytes to a file (replacing it).
void ScriviFile(const std::filesystem::path& percorso, std::string_view byte);

}  // namespace fcl::test
