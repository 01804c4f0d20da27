#pragma once

// Faults of the file system for the tests: a disk that fills up, a folder that cannot be written.
// Each works unprivileged where it can; what needs root or a feature the machine lacks says why it
// cannot run, and the test skips with that reason.

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

namespace fcl::test {

// While alive, no file of the process can grow beyond `byte` bytes: a write past it fails with
// EFBIG, as a full disk fails one with ENOSPC (SIGXFSZ is ignored so that the write returns).
// Works for any user; the limit is put back at the end.
class LimiteDimensioneFile {
 public:
  explicit LimiteDimensioneFile(rlim_t byte) {
    ::getrlimit(RLIMIT_FSIZE, &prima_);
    segnale_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit r = prima_;
    r.rlim_cur = byte;
    ::setrlimit(RLIMIT_FSIZE, &r);
  }
  ~LimiteDimensioneFile() {
    ::setrlimit(RLIMIT_FSIZE, &prima_);
    std::signal(SIGXFSZ, segnale_);
  }
  LimiteDimensioneFile(const LimiteDimensioneFile&) = delete;
  LimiteDimensioneFile& operator=(const LimiteDimensioneFile&) = delete;

 private:
  rlimit prima_{};
  void (*segnale_)(int) = SIG_DFL;
};

// A folder or file nobody may write into while alive. A normal user gets the write permissions
// taken away; root, whom permissions do not stop, gets the immutable attribute (ext4, xfs, btrfs:
// needs CAP_LINUX_IMMUTABLE). Motivo() is empty when it is really read-only, else it says why not.
class SolaLettura {
 public:
  explicit SolaLettura(std::filesystem::path cartella) : cartella_(std::move(cartella)) {
    if (::geteuid() != 0) {
      std::error_code ec;
      std::filesystem::permissions(cartella_,
                                   std::filesystem::perms::owner_write |
                                       std::filesystem::perms::group_write |
                                       std::filesystem::perms::others_write,
                                   std::filesystem::perm_options::remove, ec);
      if (ec) motivo_ = "chmod: " + ec.message();
      modo_ = ec ? Modo::Nessuno : Modo::Permessi;
      return;
    }
    const int fd = ::open(cartella_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    int attributi = 0;
    if (fd < 0 || ::ioctl(fd, FS_IOC_GETFLAGS, &attributi) != 0) {
      motivo_ =
          std::string("come root, e il file system non ha attributi: ") + std::strerror(errno);
    } else {
      attributi |= FS_IMMUTABLE_FL;
      if (::ioctl(fd, FS_IOC_SETFLAGS, &attributi) != 0)
        motivo_ = std::string("come root, e l'attributo immutabile non si imposta: ") +
                  std::strerror(errno);
      else
        modo_ = Modo::Immutabile;
    }
    if (fd >= 0) ::close(fd);
  }
  ~SolaLettura() { Ripristina(); }
  SolaLettura(const SolaLettura&) = delete;
  SolaLettura& operator=(const SolaLettura&) = delete;

  const std::string& Motivo() const { return motivo_; }
  // "permessi" or "attributo immutabile": how it was closed, for the test's log.
  std::string Come() const {
    return modo_ == Modo::Permessi     ? "permessi"
           : modo_ == Modo::Immutabile ? "attributo immutabile"
                                       : "";
  }

  void Ripristina() {
    if (modo_ == Modo::Permessi) {
      std::error_code ec;
      std::filesystem::permissions(cartella_, std::filesystem::perms::owner_write,
                                   std::filesystem::perm_options::add, ec);
    } else if (modo_ == Modo::Immutabile) {
      const int fd = ::open(cartella_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
      int attributi = 0;
      if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &attributi) == 0) {
        attributi &= ~FS_IMMUTABLE_FL;
        ::ioctl(fd, FS_IOC_SETFLAGS, &attributi);
      }
      if (fd >= 0) ::close(fd);
    }
    modo_ = Modo::Nessuno;
  }

 private:
  enum class Modo { Nessuno, Permessi, Immutabile };
  std::filesystem::path cartella_;
  Modo modo_ = Modo::Nessuno;
  std::string motivo_;
};

// A really small disk: a tmpfs of `byte` bytes mounted on `cartella` while alive. Needs the right
// to mount (root, outside most containers); Motivo() says why not otherwise.
class DiscoPiccolo {
 public:
  DiscoPiccolo(std::filesystem::path cartella, std::size_t byte) : cartella_(std::move(cartella)) {
    const std::string opzioni = "size=" + std::to_string(byte) + ",mode=0777";
    if (::mount("fcltest", cartella_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, opzioni.c_str()) != 0)
      motivo_ = std::string("mount tmpfs non consentito: ") + std::strerror(errno);
    else
      montato_ = true;
  }
  ~DiscoPiccolo() {
    if (montato_) ::umount2(cartella_.c_str(), MNT_DETACH);
  }
  DiscoPiccolo(const DiscoPiccolo&) = delete;
  DiscoPiccolo& operator=(const DiscoPiccolo&) = delete;

  const std::string& Motivo() const { return motivo_; }

  // Fills the disk until fewer than `liberi` bytes are left, with a file of its own.
  void Riempi(std::size_t liberi) {
    const int fd =
        ::open((cartella_ / ".riempimento").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return;
    const std::string blocco(512, 'x');
    for (;;) {
      std::error_code ec;
      const auto spazio = std::filesystem::space(cartella_, ec);
      if (ec || spazio.available < liberi) break;
      if (::write(fd, blocco.data(), blocco.size()) <= 0) break;
    }
    ::close(fd);
  }

 private:
  std::filesystem::path cartella_;
  bool montato_ = false;
  std::string motivo_;
};

}  // namespace fcl::test
