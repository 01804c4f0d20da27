#include "common/ScritturaAtomica.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <string>

#include "common/ErroreSistema.h"
#include "common/Errori.h"

namespace fcl {
namespace {

constexpr std::string_view kMarcaTemporaneo = ".fcl";
constexpr std::size_t kBuffer = 64 * 1024;
constexpr std::size_t kCasuali = 6;  // random characters at the end of the name

bool Casuali(std::string_view t) {
  return t.size() == kCasuali && std::all_of(t.begin(), t.end(), [](char c) {
           return std::isalnum(static_cast<unsigned char>(c)) != 0;
         });
}

// "." + name + ".fcl" + six characters: a temporary file of this writer.
bool NomeTemporaneo(std::string_view n) {
  const std::size_t coda = kMarcaTemporaneo.size() + kCasuali;
  return n.size() > 1 + coda && n.front() == '.' &&
         n.substr(n.size() - coda, kMarcaTemporaneo.size()) == kMarcaTemporaneo &&
         Casuali(n.substr(n.size() - kCasuali));
}

// "." + name + "." + six characters: a temporary file of the versions without a lock.
bool NomeTemporaneoSenzaBlocco(std::string_view n) {
  return n.size() > 2 + kCasuali && n.front() == '.' && n[n.size() - kCasuali - 1] == '.' &&
         Casuali(n.substr(n.size() - kCasuali));
}

// Removes `file` when it is a regular file older than the limit that nobody holds locked; the
// lock is taken before the removal, so a writer can never lose a file it holds.
bool RimuoviSeAbbandonato(const std::filesystem::path& file, std::time_t limite) {
  struct stat prima {};
  if (::lstat(file.c_str(), &prima) != 0 || !S_ISREG(prima.st_mode) || prima.st_mtime > limite)
    return false;
  const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  bool rimosso = false;
  struct stat aperto {};
  if (::fstat(fd, &aperto) == 0 && aperto.st_ino == prima.st_ino && aperto.st_dev == prima.st_dev &&
      ::flock(fd, LOCK_EX | LOCK_NB) == 0)
    rimosso = ::unlink(file.c_str()) == 0;
  ::close(fd);
  return rimosso;
}

// The longest name a file may have in `cartella` (255 on the usual volumes).
long LunghezzaMassimaNome(const std::filesystem::path& cartella) {
  std::error_code ec;
  auto c = std::filesystem::absolute(cartella, ec);
  // The nearest folder that exists tells the volume.
  while (!c.empty() && !std::filesystem::is_directory(c, ec) && c != c.root_path())
    c = c.parent_path();
  errno = 0;
  const long limite = c.empty() ? -1 : ::pathconf(c.c_str(), _PC_NAME_MAX);
  return limite > 0 ? limite : NAME_MAX;
}

}  // namespace

std::optional<std::string> ScritturaAtomica::ControllaNome(
    const std::filesystem::path& destinazione) {
  const std::string nome = destinazione.filename().string();
  const auto cartella =
      destinazione.has_parent_path() ? destinazione.parent_path() : std::filesystem::path(".");
  const long limite = LunghezzaMassimaNome(cartella);
  const long massimo = limite - static_cast<long>(kAggiuntaNomeTemporaneo);
  if (static_cast<long>(nome.size()) > massimo)
    return "Impossibile scrivere il file " + destinazione.string() + ": nome troppo lungo (" +
           std::to_string(nome.size()) + " byte; il disco consente nomi di al massimo " +
           std::to_string(limite) + " byte, e il programma scrive ogni file prima con un nome " +
           "temporaneo più lungo di " + std::to_string(kAggiuntaNomeTemporaneo) +
           " byte: il nome può avere al massimo " + std::to_string(massimo) +
           " byte). Scegliere un nome più corto di almeno " +
           std::to_string(static_cast<long>(nome.size()) - massimo) + " byte.";
  std::error_code ec;
  const auto assoluto = std::filesystem::absolute(destinazione, ec);
  const std::size_t percorso =
      (ec ? destinazione : assoluto).string().size() + kAggiuntaNomeTemporaneo;
  if (percorso >= PATH_MAX)
    return "Impossibile scrivere il file " + destinazione.string() +
           ": percorso troppo lungo (il sistema consente percorsi di al massimo " +
           std::to_string(PATH_MAX - 1 - kAggiuntaNomeTemporaneo) +
           " byte). Scegliere una cartella meno profonda o un nome più corto.";
  return std::nullopt;
}

int ScritturaAtomica::RimuoviAbbandonati(const std::filesystem::path& cartella,
                                         bool ancheSenzaBlocco) {
  const std::time_t limite = std::time(nullptr) - kEtaAbbandono.count();
  int rimossi = 0;
  std::error_code ec;
  std::filesystem::directory_iterator it(
      cartella, std::filesystem::directory_options::skip_permission_denied, ec);
  for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    const std::string nome = it->path().filename().string();
    if (!NomeTemporaneo(nome) && !(ancheSenzaBlocco && NomeTemporaneoSenzaBlocco(nome))) continue;
    if (RimuoviSeAbbandonato(it->path(), limite)) ++rimossi;
  }
  return rimossi;
}

ScritturaAtomica::ScritturaAtomica(std::filesystem::path destinazione, Durata durata)
    : destinazione_(std::move(destinazione)), durata_(durata) {
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
    std::string suffisso(kCasuali, 'X');
    for (char& c : suffisso) c = kCifre[casuale() % (sizeof kCifre - 1)];
    temporaneo_ = cartella / ("." + destinazione_.filename().string() +
                              std::string(kMarcaTemporaneo) + suffisso);
    fd = ::open(temporaneo_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    temporaneo_.clear();
    Fallisci("creare");
  }
  // Held until the file is renamed into place or removed: it tells a later start that the file
  // still has a writer. A volume without locks gives none, and the file is then never taken for
  // abandoned either (RimuoviAbbandonati cannot take the lock).
  ::flock(fd, LOCK_EX);
  file_ = ::fdopen(fd, "wb");
  if (file_ == nullptr) {
    const int e = errno;
    ::close(fd);
    ::unlink(temporaneo_.c_str());
    errno = e;
    Fallisci("creare");
  }
  buffer_ = std::make_unique<char[]>(kBuffer);
  std::setvbuf(file_, buffer_.get(), _IOFBF, kBuffer);
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
  if (byte.empty()) return;
  sincronizzato_ = false;
  if (std::fwrite(byte.data(), 1, byte.size(), file_) != byte.size()) Fallisci("scrivere");
#ifdef SYNC_FILE_RANGE_WRITE
  // Every 8 MB the disk starts on what the kernel holds, without waiting for it; the sync at the
  // end still decides (its failure is the one reported).
  senzaScrittura_ += byte.size();
  if (durata_ == Durata::Permanente && senzaScrittura_ >= (8u << 20)) {
    senzaScrittura_ = 0;
    ::sync_file_range(::fileno(file_), 0, 0, SYNC_FILE_RANGE_WRITE);
  }
#endif
}

void ScritturaAtomica::Riscrivi(long long posizione, std::string_view byte) {
  if (file_ == nullptr || std::fflush(file_) != 0 ||
      ::fseeko(file_, static_cast<off_t>(posizione), SEEK_SET) != 0)
    Fallisci("scrivere");
  Scrivi(byte);
  if (std::fflush(file_) != 0 || ::fseeko(file_, 0, SEEK_END) != 0) Fallisci("scrivere");
}

void ScritturaAtomica::Prepara() {
  if (file_ == nullptr || std::fflush(file_) != 0) Fallisci("scrivere");
  if (durata_ == Durata::Permanente && ::fsync(::fileno(file_)) != 0) Fallisci("scrivere");
  sincronizzato_ = true;
}

void ScritturaAtomica::Conferma() {
  if (file_ == nullptr || std::fflush(file_) != 0) Fallisci("scrivere");
  if (durata_ == Durata::Permanente && !sincronizzato_ && ::fsync(::fileno(file_)) != 0)
    Fallisci("scrivere");
  // Renamed while still open and locked, so that the temporary file is never without its lock
  // under its temporary name.
  std::error_code ec;
  std::filesystem::rename(temporaneo_, destinazione_, ec);
  if (ec) {
    errno = ec.value();
    Fallisci("salvare");
  }
  confermato_ = true;
  // Every byte is already written (and, for a lasting file, on the disk): closing cannot lose any.
  std::fclose(file_);
  file_ = nullptr;
}

void ScritturaAtomica::Fallisci(std::string_view azione) {
  const std::string causa = CausaSistema(errno, Accesso::Scrittura);
  throw ErroreFile("Impossibile " + std::string(azione) + " il file " + destinazione_.string() +
                   ": " + causa);
}

}  // namespace fcl
