#include "fatture/PosizioniFatture.h"

#include "common/Interazione.h"
#include "common/ScritturaAtomica.h"
#include "store/Csv.h"
#include "workbook/ModelloFoglioBase.h"

namespace fcl {
namespace {

constexpr char kSeparatore = ';';
constexpr std::string_view kIntestazione =
    "file;posizione;tipo_documento;numero;data_documento;controparte;quadro;riga;esito;note\r\n";

}  // namespace

PosizioniFatture::PosizioniFatture(std::vector<std::filesystem::path> origini)
    : origini_(std::move(origini)), rapporto_(std::tmpfile()) {
  if (rapporto_ == nullptr) throw ErroreFile("Impossibile creare il file temporaneo del rapporto");
}

PosizioniFatture::~PosizioniFatture() {
  if (rapporto_ != nullptr) std::fclose(rapporto_);
}

std::uint32_t PosizioniFatture::NuovoFile(const std::string& nome) {
  file_.push_back(nome);
  ++riepilogo_.file;
  return static_cast<std::uint32_t>(file_.size() - 1);
}

const std::string& PosizioniFatture::NomeFile(std::uint32_t indice) const { return file_[indice]; }

long long PosizioniFatture::NuovaRiga(std::size_t q, std::uint32_t file, std::uint16_t posizione,
                                      std::uint16_t fatture) {
  righe_[q].push_back({file, posizione, fatture});
  ++riepilogo_.riportate[q];
  return static_cast<long long>(righe_[q].size());
}

void PosizioniFatture::Rapporto(const std::string& file, const std::vector<std::string>& campi) {
  std::vector<std::string> tutti;
  tutti.reserve(campi.size() + 1);
  tutti.push_back(file);
  tutti.insert(tutti.end(), campi.begin(), campi.end());
  const std::string riga = RigaCsv(tutti, kSeparatore);
  if (std::fwrite(riga.data(), 1, riga.size(), rapporto_) != riga.size())
    throw ErroreFile("Impossibile scrivere il file temporaneo del rapporto delle fatture");
}

std::filesystem::path PosizioniFatture::PercorsoRapporto(const std::filesystem::path& listato) {
  std::string nome = listato.filename().string();
  constexpr std::string_view kListato = "_LISTATO.PDF";
  if (nome.ends_with(kListato))
    nome.resize(nome.size() - kListato.size());
  else
    nome = listato.stem().string();
  std::filesystem::path p = listato;
  p.replace_filename(nome + "_FATTURE.csv");
  return p;
}

std::vector<std::filesystem::path> PosizioniFatture::FileDelListato(
    const std::filesystem::path& listato) const {
  return {PercorsoRapporto(listato)};
}

void PosizioniFatture::ScriviRapporto(const std::filesystem::path& percorso) const {
  ScritturaAtomica scrittura(percorso);
  scrittura.Scrivi("\xEF\xBB\xBF");
  scrittura.Scrivi(kIntestazione);
  if (std::fflush(rapporto_) != 0 || std::fseek(rapporto_, 0, SEEK_SET) != 0)
    throw ErroreFile("Impossibile rileggere il file temporaneo del rapporto delle fatture");
  std::string blocco(1 << 16, '\0');
  for (;;) {
    const std::size_t n = std::fread(blocco.data(), 1, blocco.size(), rapporto_);
    if (n == 0) break;
    scrittura.Scrivi(std::string_view(blocco.data(), n));
  }
  const bool errore = std::ferror(rapporto_) != 0;
  std::fseek(rapporto_, 0, SEEK_END);
  if (errore)
    throw ErroreFile("Impossibile rileggere il file temporaneo del rapporto delle fatture");
  scrittura.Conferma();
}

std::string PosizioniFatture::Posizione(std::string_view foglio, long long riga) const {
  for (std::size_t q = 0; q < RiepilogoFatture::kQuadri.size(); ++q) {
    if (RiepilogoFatture::kQuadri[q] != foglio) continue;
    const QuadroBase* quadro = QuadroFoglioBase(foglio);
    const long long i = riga - (quadro != nullptr ? quadro->primaRiga : 4);
    if (i < 0 || i >= static_cast<long long>(righe_[q].size())) return {};
    const Posto& p = righe_[q][static_cast<std::size_t>(i)];
    std::string t = "fattura " + file_[p.file];
    if (p.fatture > 1)
      t +=
          " (n. " + std::to_string(p.posizione) + " di " + std::to_string(p.fatture) + " nel file)";
    return t;
  }
  return {};
}

void PosizioniFatture::Concludi(const std::filesystem::path& listato, Interazione& ui) const {
  const auto percorso = PercorsoRapporto(listato);
  ScriviRapporto(percorso);
  ui.Messaggio(riepilogo_.Testo() + "Rapporto delle fatture: " + percorso.string(),
               "Fatture elettroniche", Icona::Informazione);
}

}  // namespace fcl
