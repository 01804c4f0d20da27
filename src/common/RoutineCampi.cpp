#include "common/RoutineCampi.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>

#include "common/Cp1252.h"

namespace fcl {
namespace {

bool Spazio(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string Rifila(std::string_view s) { return RifilaDestra(RifilaSinistra(s)); }

std::string RifilaSinistra(std::string_view s) {
  while (!s.empty() && Spazio(s.front())) s.remove_prefix(1);
  return std::string(s);
}

std::string RifilaDestra(std::string_view s) {
  while (!s.empty() && Spazio(s.back())) s.remove_suffix(1);
  return std::string(s);
}

std::string CampoTesto(const Valore& v) { return Rifila(ValoreComeTesto(v)); }

Data CampoData(const Valore& v) {
  if (const auto* d = std::get_if<Data>(&v)) return *d;
  if (const auto* x = std::get_if<double>(&v)) {
    if (std::isfinite(*x) && std::fabs(*x) < 3.0e6)
      return Data::DaSeriale(static_cast<long long>(std::floor(*x)));
    return Data{};
  }
  const std::string t = CampoTesto(v);
  if (t.empty()) return Data{};
  if (auto d = Data::DaTesto(t)) return *d;
  return Data{};
}

std::string FormatoData(const Valore& v) {
  if (CampoTesto(v).empty()) return {};
  const Data d = CampoData(v);
  if (d.anno == 1899) return {};
  return d.Testo();
}

DataAnalizzata AnalizzaData(std::string_view testo) {
  if (testo.empty() || testo == "0.00.00" || testo == "00:00:00") return {};
  const DataAnalizzata nonValida{DataAnalizzata::NonValida, {}, {}};
  const std::size_t n = LunghezzaUtf8(testo);
  if (n < 6 || n > 10) return nonValida;
  std::string cifre;
  for (const char c : testo) {
    if (c < '0' || c > '9') continue;
    if (cifre.size() == 8) return nonValida;
    cifre += c;
  }
  if (cifre.size() == 6) {
    const int aa = (cifre[4] - '0') * 10 + (cifre[5] - '0');
    cifre.insert(4, aa >= 30 ? "19" : "20");
  }
  // Seven digits leave the year short: that is no date, whatever the first six say.
  if (cifre.size() != 8) return nonValida;
  auto numero = [&](std::size_t pos, std::size_t quante) {
    int v = 0;
    for (std::size_t k = pos; k < pos + quante; ++k) v = v * 10 + (cifre[k] - '0');
    return v;
  };
  const Data data{numero(4, 4), numero(2, 2), numero(0, 2)};
  if (!data.Valida() || data.anno < kPrimoAnnoData) return nonValida;
  return {DataAnalizzata::Valida, data.Testo(), data};
}

std::string TraVirgolette(std::string_view testo) { return "\"" + std::string(testo) + "\""; }

std::string TraApici(std::string_view testo) { return "'" + std::string(testo) + "'"; }

std::string RaddoppiaApici(std::string_view testo) {
  std::string out;
  out.reserve(testo.size() + 4);
  for (const char c : testo) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out;
}

std::string SoloLettere(std::string& testo) {
  testo = Rifila(MaiuscoloUtf8(testo));
  std::string lettere;
  for (const char c : testo) {
    if (c >= 'A' && c <= 'Z' && lettere.size() < 20) lettere += c;
  }
  return lettere;
}

std::string AllineaDestra(std::string_view valore, std::size_t larghezza, char riempimento) {
  const std::size_t virgola = valore.find(',');
  std::string testo(valore.substr(0, virgola));
  if (testo.size() >= larghezza) return testo;
  return std::string(larghezza - testo.size(), riempimento) + testo;
}

bool ZeroOVuoto(std::string_view valore) {
  return valore == "0" || std::all_of(valore.begin(), valore.end(), Spazio);
}

std::optional<std::string> DataGGMMAAAA(std::string_view valore) {
  if (valore.empty()) return std::string("00000000");
  const auto d = Data::DaTesto(valore);
  if (!d || valore.find('/') == std::string_view::npos) return std::nullopt;
  // A valid date has a year of four digits at most: ddmmyyyy.
  const char testo[8] = {
      static_cast<char>('0' + d->giorno / 10),    static_cast<char>('0' + d->giorno % 10),
      static_cast<char>('0' + d->mese / 10),      static_cast<char>('0' + d->mese % 10),
      static_cast<char>('0' + d->anno / 1000),    static_cast<char>('0' + d->anno / 100 % 10),
      static_cast<char>('0' + d->anno / 10 % 10), static_cast<char>('0' + d->anno % 10)};
  return std::string(testo, sizeof testo);
}

bool FileAperto(const std::filesystem::path& percorso) {
  std::error_code ec;
  if (!std::filesystem::exists(percorso, ec)) return false;
  const int fd = ::open(percorso.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return errno == EACCES || errno == EPERM || errno == EROFS || errno == ETXTBSY;
  bool occupato = false;
  // A lock held through flock (most desktop programs) ...
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    occupato = errno == EWOULDBLOCK;
  } else {
    ::flock(fd, LOCK_UN);
  }
  // ... or a record lock through fcntl (LibreOffice, among others).
  if (!occupato) {
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    if (::fcntl(fd, F_GETLK, &fl) == 0 && fl.l_type != F_UNLCK) occupato = true;
  }
  ::close(fd);
  return occupato;
}

}  // namespace fcl
