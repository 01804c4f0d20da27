#include "common/BloccoFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>

#include "common/FileProtetti.h"

namespace fcl {

namespace {

// The lock file of a working file: one name for every spelling of its path.
std::filesystem::path FileDiBlocco(const std::filesystem::path& file) {
  const auto risolto = Risolto(file);
  std::uint64_t h = 14695981039346656037ull;  // FNV-1a, the same in every build
  for (const unsigned char c : risolto.string()) h = (h ^ c) * 1099511628211ull;
  char nome[40];
  std::snprintf(nome, sizeof nome, "fiscolario-%016llx.lock", static_cast<unsigned long long>(h));
  std::error_code ec;
  auto cartella = std::filesystem::temp_directory_path(ec);
  if (ec) cartella = "/tmp";
  return cartella / nome;
}

}  // namespace

std::unique_ptr<BloccoFile> BloccoFile::Prova(const std::filesystem::path& file) {
  const auto blocco = FileDiBlocco(file);
  const int fd = ::open(blocco.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
  if (fd < 0) return std::unique_ptr<BloccoFile>(new BloccoFile(file, -1));
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int errore = errno;
    ::close(fd);
    if (errore == EWOULDBLOCK) return nullptr;
    return std::unique_ptr<BloccoFile>(new BloccoFile(file, -1));
  }
  return std::unique_ptr<BloccoFile>(new BloccoFile(file, fd));
}

BloccoFile::~BloccoFile() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace fcl
