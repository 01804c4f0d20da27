#include "SupportoFuzz.h"

#include <zip.h>

#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace fcl::fuzz {

namespace {

struct Cartella {
  std::filesystem::path percorso;
  Cartella() {
    std::error_code ec;
    auto base = std::filesystem::temp_directory_path(ec);
    if (ec) base = "/tmp";
    percorso = base / ("fcl-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(percorso);
  }
  ~Cartella() {
    std::error_code ec;
    std::filesystem::remove_all(percorso, ec);
  }
};

void Aggiungi32(std::string& s, std::size_t pos, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s[pos + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
void Aggiungi16(std::string& s, std::size_t pos, std::uint16_t v) {
  s[pos] = static_cast<char>(v & 0xFF);
  s[pos + 1] = static_cast<char>(v >> 8);
}

constexpr std::uint32_t kFineCatena = 0xFFFFFFFE;
constexpr std::uint32_t kLibero = 0xFFFFFFFF;
constexpr std::uint32_t kSettoreFat = 0xFFFFFFFD;
constexpr std::size_t kSettore = 512;

// One directory entry of 128 bytes.
std::string Voce(std::u16string_view nome, std::uint8_t tipo, std::uint32_t figlio,
                 std::uint32_t inizio, std::uint32_t dimensione) {
  std::string v(128, '\0');
  for (std::size_t i = 0; i < nome.size() && i < 31; ++i) Aggiungi16(v, 2 * i, nome[i]);
  Aggiungi16(v, 64, static_cast<std::uint16_t>(tipo == 0 ? 0 : 2 * (nome.size() + 1)));
  v[66] = static_cast<char>(tipo);
  v[67] = 1;  // black
  Aggiungi32(v, 68, kLibero);
  Aggiungi32(v, 72, kLibero);
  Aggiungi32(v, 76, figlio);
  Aggiungi32(v, 116, inizio);
  Aggiungi32(v, 120, dimensione);
  return v;
}

}  // namespace

const std::filesystem::path& CartellaProcesso() {
  static const Cartella cartella;
  return cartella.percorso;
}

std::filesystem::path ScriviTemporaneo(std::string_view nome, std::string_view byte) {
  const auto percorso = CartellaProcesso() / std::string(nome);
  std::ofstream f(percorso, std::ios::binary | std::ios::trunc);
  f.write(byte.data(), static_cast<std::streamsize>(byte.size()));
  f.close();
  if (!f) std::abort();  // the scratch folder itself failed: not a finding of the target
  return percorso;
}

std::vector<std::pair<std::string, std::string>> Parti(std::string_view ingresso) {
  std::vector<std::pair<std::string, std::string>> parti;
  std::size_t pos = ingresso.find(kSeparatoreParti);
  while (pos != std::string_view::npos) {
    const std::size_t inizio = pos + kSeparatoreParti.size();
    const std::size_t fine = ingresso.find(kSeparatoreParti, inizio);
    const std::string_view pezzo =
        ingresso.substr(inizio, fine == std::string_view::npos ? std::string_view::npos
                                                               : fine - inizio);
    const std::size_t a = pezzo.find('\n');
    if (a != std::string_view::npos && a > 0)
      parti.emplace_back(std::string(pezzo.substr(0, a)), std::string(pezzo.substr(a + 1)));
    pos = fine;
  }
  return parti;
}

bool ScriviZip(const std::filesystem::path& percorso,
               const std::vector<std::pair<std::string, std::string>>& parti) {
  int errore = 0;
  zip_t* z = zip_open(percorso.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &errore);
  if (z == nullptr) std::abort();
  bool ok = true;
  for (const auto& [nome, contenuto] : parti) {
    zip_source_t* s = zip_source_buffer(z, contenuto.data(), contenuto.size(), 0);
    if (s == nullptr) std::abort();
    const zip_int64_t i = zip_file_add(z, nome.c_str(), s, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
    if (i < 0) {
      zip_source_free(s);
      ok = false;
      continue;
    }
    zip_set_file_compression(z, static_cast<zip_uint64_t>(i), ZIP_CM_STORE, 0);
  }
  if (parti.empty()) {
    // libzip writes nothing for an empty archive; the reader then meets a missing file.
    zip_discard(z);
    ScriviTemporaneo(percorso.filename().string(), std::string("PK\5\6") + std::string(18, '\0'));
    return ok;
  }
  if (zip_close(z) != 0) {
    zip_discard(z);
    return false;
  }
  return ok;
}

std::string CompostoConFlusso(std::string_view nomeFlusso, std::string_view flusso) {
  std::string dati(flusso);
  if (dati.size() < 4096) dati.resize(4096, '\0');
  const std::size_t settoriDati = (dati.size() + kSettore - 1) / kSettore;
  dati.resize(settoriDati * kSettore, '\0');
  // Sectors: the stream, one directory sector, then the FAT.
  std::size_t settoriFat = 1;
  while (settoriFat * (kSettore / 4) < settoriDati + 1 + settoriFat) ++settoriFat;
  if (settoriFat > 109) return {};  // beyond the header's own FAT list: inputs are never so big

  std::string file(kSettore, '\0');
  const unsigned char firma[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  for (int i = 0; i < 8; ++i) file[i] = static_cast<char>(firma[i]);
  Aggiungi16(file, 24, 0x003E);
  Aggiungi16(file, 26, 0x0003);
  Aggiungi16(file, 28, 0xFFFE);
  Aggiungi16(file, 30, 9);
  Aggiungi16(file, 32, 6);
  Aggiungi32(file, 44, static_cast<std::uint32_t>(settoriFat));
  const auto settoreDirectory = static_cast<std::uint32_t>(settoriDati);
  Aggiungi32(file, 48, settoreDirectory);
  Aggiungi32(file, 56, 4096);
  Aggiungi32(file, 60, kFineCatena);
  Aggiungi32(file, 68, kFineCatena);
  for (std::size_t i = 0; i < 109; ++i)
    Aggiungi32(file, 76 + 4 * i,
               i < settoriFat ? static_cast<std::uint32_t>(settoriDati + 1 + i) : kLibero);

  file += dati;
  std::u16string nome(nomeFlusso.begin(), nomeFlusso.end());
  std::string directory = Voce(u"Root Entry", 5, 1, kFineCatena, 0) +
                          Voce(nome, 2, kLibero, 0, static_cast<std::uint32_t>(dati.size())) +
                          Voce(u"", 0, kLibero, kLibero, 0) + Voce(u"", 0, kLibero, kLibero, 0);
  file += directory;
  std::string fat(settoriFat * kSettore, '\0');
  for (std::size_t i = 0; i < settoriFat * (kSettore / 4); ++i) {
    std::uint32_t v = kLibero;
    if (i + 1 < settoriDati) v = static_cast<std::uint32_t>(i + 1);
    else if (i + 1 == settoriDati || i == settoriDati) v = kFineCatena;
    else if (i <= settoriDati + settoriFat) v = kSettoreFat;
    Aggiungi32(fat, 4 * i, v);
  }
  file += fat;
  return file;
}

bool Utf8Valido(std::string_view t) {
  std::size_t i = 0;
  while (i < t.size()) {
    const auto c = static_cast<unsigned char>(t[i]);
    std::size_t n = 0;
    std::uint32_t cp = 0;
    if (c < 0x80) { ++i; continue; }
    if ((c & 0xE0) == 0xC0) { n = 1; cp = c & 0x1F; }
    else if ((c & 0xF0) == 0xE0) { n = 2; cp = c & 0x0F; }
    else if ((c & 0xF8) == 0xF0) { n = 3; cp = c & 0x07; }
    else return false;
    if (i + n >= t.size()) return false;
    for (std::size_t k = 1; k <= n; ++k) {
      const auto d = static_cast<unsigned char>(t[i + k]);
      if ((d & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (d & 0x3F);
    }
    if ((n == 1 && cp < 0x80) || (n == 2 && cp < 0x800) || (n == 3 && cp < 0x10000) ||
        cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    i += n + 1;
  }
  return true;
}

}  // namespace fcl::fuzz
