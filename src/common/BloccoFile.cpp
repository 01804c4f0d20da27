#include "common/BloccoFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace fcl {

std::unique_ptr<BloccoFile> BloccoFile::Prova(const std::filesystem::path& file) {
  const auto blocco = file.parent_path() / ("." + file.filename().string() + ".lock");
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
