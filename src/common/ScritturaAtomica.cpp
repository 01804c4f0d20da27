#include "common/ScritturaAtomica.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "common/ErroreSistema.h"
#include "common/Errori.h"

namespace fcl {

ScritturaAtomica::ScritturaAtomica(std::filesystem::path destinazione)
    : destinazione_(std::move(destinazione)) {
  const auto cartella =
      destinazione_.has_parent_path() ? destinazione_.parent_path() : std::filesystem::path(".");
  // The temporary file is created with the permissions of a normally created file (0666 less the
  // umask, applied by the system): the umask is never changed, since that would be seen by every
  // thread of the process at once (a batch writes several files side by side).
  std::random_device casuale;
  int fd = -1;
  for (int tentativo = 0; fd < 0 && tentativo < 100; ++tentativo) {
    static constexpr char kCifre[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::string suffisso(6, 'X');
    for (char& c : suffisso) c = kCifre[casuale() % (sizeof kCifre - 1)];
    temporaneo_ = cartella / ("." + destinazione_.filename().string() + "." + suffisso);
    fd = ::open(temporaneo_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    temporaneo_.clear();
    Fallisci("creare");
  }
  file_ = ::fdopen(fd, "wb");
  if (file_ == nullptr) {
    const int e = errno;
    ::close(fd);
    ::unlink(temporaneo_.c_str());
    errno = e;
    Fallisci("creare");
  }
}

ScritturaAtomica::~ScritturaAtomica() {
  if (file_ != nullptr) std::fclose(file_);
  if (!confermato_ && !temporaneo_.empty()) {
    std::error_code ec;
    std::filesystem::remove(temporaneo_, ec);
  }
}

void ScritturaAtomica::Scrivi(std::string_view byte) {
  if (file_ == nullptr) Fallisci("scrivere");
  if (!byte.empty() && std::fwrite(byte.data(), 1, byte.size(), file_) != byte.size())
    Fallisci("scrivere");
}

void ScritturaAtomica::Riscrivi(long long posizione, std::string_view byte) {
  if (file_ == nullptr || std::fflush(file_) != 0 ||
      ::fseeko(file_, static_cast<off_t>(posizione), SEEK_SET) != 0)
    Fallisci("scrivere");
  Scrivi(byte);
  if (std::fflush(file_) != 0 || ::fseeko(file_, 0, SEEK_END) != 0) Fallisci("scrivere");
}

void ScritturaAtomica::Prepara() {
  if (file_ == nullptr || std::fflush(file_) != 0 || ::fsync(::fileno(file_)) != 0)
    Fallisci("scrivere");
}

void ScritturaAtomica::Conferma() {
  if (file_ == nullptr) Fallisci("scrivere");
  if (std::fflush(file_) != 0 || ::fsync(::fileno(file_)) != 0) Fallisci("scrivere");
  std::FILE* f = file_;
  file_ = nullptr;
  if (std::fclose(f) != 0) Fallisci("scrivere");
  std::error_code ec;
  std::filesystem::rename(temporaneo_, destinazione_, ec);
  if (ec) {
    errno = ec.value();
    Fallisci("salvare");
  }
  confermato_ = true;
}

void ScritturaAtomica::Fallisci(std::string_view azione) {
  const std::string causa = CausaSistema(errno, Accesso::Scrittura);
  throw ErroreFile("Impossibile " + std::string(azione) + " il file " + destinazione_.string() +
                   ": " + causa);
}

}  // namespace fcl
