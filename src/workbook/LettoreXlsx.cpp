#include "workbook/LettoreXlsx.h"

#include <map>

#include "workbook/AnalizzatoreXml.h"
#include "workbook/ErroriCartella.h"

namespace fcl {
namespace {

using errori_cartella::kLimiteParteFlusso;
using errori_cartella::kLimiteParteTenuta;

struct Relazione {
  std::string tipo;
  std::string destinazione;  // resolved archive path
};

// The folder of a part, with its trailing slash ("xl/" for "xl/workbook.xml").
std::string Cartella(const std::string& parte) {
  const auto barra = parte.rfind('/');
  return barra == std::string::npos ? std::string() : parte.substr(0, barra + 1);
}

// A relationship target resolved against the folder of its source part, "." and ".." removed.
std::string Risolvi(const std::string& cartella, const std::string& destinazione) {
  const std::string completo = !destinazione.empty() && destinazione[0] == '/'
                                   ? destinazione.substr(1)
                                   : cartella + destinazione;
  std::vector<std::string> pezzi;
  std::size_t inizio = 0;
  while (inizio <= completo.size()) {
    auto barra = completo.find('/', inizio);
    if (barra == std::string::npos) barra = completo.size();
    const std::string pezzo = completo.substr(inizio, barra - inizio);
    if (pezzo == "..") {
      if (!pezzi.empty()) pezzi.pop_back();
    } else if (!pezzo.empty() && pezzo != ".") {
      pezzi.push_back(pezzo);
    }
    inizio = barra + 1;
  }
  std::string risultato;
  for (const auto& p : pezzi) risultato += (risultato.empty() ? "" : "/") + p;
  return risultato;
}

// The relationships part of `parte` ("xl/_rels/workbook.xml.rels"), by Id.
class AnalizzatoreRelazioni : public AnalizzatoreXml {
 public:
  AnalizzatoreRelazioni(std::unique_ptr<VoceZip> voce, std::string cartella)
      : AnalizzatoreXml(std::move(voce)), cartella_(std::move(cartella)) {}
  std::map<std::string, Relazione> relazioni;

 protected:
  void Inizio(std::string_view nome, const Attributi& attributi) override {
    if (Locale(nome) != "Relationship") return;
    const char* id = attributi.Valore("Id");
    const char* tipo = attributi.Valore("Type");
    const char* destinazione = attributi.Valore("Target");
    const char* modo = attributi.Valore("TargetMode");
    if (++lette_ > errori_cartella::kRelazioniMassime)
      OltreILimiti("elenca più di " + std::to_string(errori_cartella::kRelazioniMassime) +
                   " relazioni tra le sue parti");
    if (!id || !tipo || !destinazione || (modo && std::string_view(modo) == "External")) return;
    relazioni[id] = Relazione{tipo, Risolvi(cartella_, destinazione)};
  }
  void Fine(std::string_view) override {}
  void Caratteri(std::string_view) override {}

 private:
  std::string cartella_;
  std::size_t lette_ = 0;
};

std::map<std::string, Relazione> LeggiRelazioni(const ArchivioZip& archivio,
                                                const std::string& parte) {
  const std::string cartella = Cartella(parte);
  const std::string nomeFile = parte.substr(cartella.size());
  auto voce = archivio.Apri(cartella + "_rels/" + nomeFile + ".rels", kLimiteParteTenuta);
  if (!voce) return {};
  AnalizzatoreRelazioni analizzatore(std::move(voce), cartella);
  analizzatore.LeggiTutto();
  return std::move(analizzatore.relazioni);
}

bool TipoFinisceCon(const std::string& tipo, std::string_view coda) {
  return tipo.size() >= coda.size() &&
         tipo.compare(tipo.size() - coda.size(), coda.size(), coda) == 0;
}

// xl/workbook.xml: <workbookPr date1904="1"/> and <sheets><sheet name="FA" r:id="rId2"/>.
class AnalizzatoreCartella : public AnalizzatoreXml {
 public:
  using AnalizzatoreXml::AnalizzatoreXml;
  struct Voce {
    std::string nome;
    std::string id;
  };
  std::vector<Voce> fogli;
  bool data1904 = false;
  bool radiceCartella = false;
  bool primo = true;

 protected:
  void Inizio(std::string_view nome, const Attributi& attributi) override {
    const auto locale = Locale(nome);
    if (primo) {
      radiceCartella = locale == "workbook";
      primo = false;
    }
    if (locale == "workbookPr") {
      const char* d = attributi.Valore("date1904");
      data1904 = d && (std::string_view(d) == "1" || std::string_view(d) == "true");
    } else if (locale == "sheet") {
      const char* n = attributi.Valore("name");
      // The relationship id is the only attribute named "id" on a sheet, whatever its namespace
      // (transitional or strict).
      const char* id = nullptr;
      for (const char* candidato :
           {"http://schemas.openxmlformats.org/officeDocument/2006/relationships|id",
            "http://purl.oclc.org/ooxml/officeDocument/relationships|id"}) {
        if ((id = attributi.Valore(candidato)) != nullptr) break;
      }
      if (!n || !id) Danneggiato("un foglio non ha nome o riferimento");
      if (fogli.size() >= errori_cartella::kFogliMassimi)
        OltreILimiti("elenca più di " + std::to_string(errori_cartella::kFogliMassimi) + " fogli");
      if (errori_cartella::Caratteri(n) > errori_cartella::kLunghezzaNomeFoglio)
        OltreILimiti("il nome di un foglio supera i " +
                     std::to_string(errori_cartella::kLunghezzaNomeFoglio) + " caratteri");
      fogli.push_back(Voce{n, id});
    }
  }
  void Fine(std::string_view) override {}
  void Caratteri(std::string_view) override {}
};

}  // namespace

std::string LettoreXlsx::ParteCartella(const ArchivioZip& archivio) {
  for (const auto& [id, relazione] : LeggiRelazioni(archivio, "_rels/.rels")) {
    (void)id;
    if (TipoFinisceCon(relazione.tipo, "/officeDocument") &&
        archivio.Contiene(relazione.destinazione))
      return relazione.destinazione;
  }
  return archivio.Contiene("xl/workbook.xml") ? "xl/workbook.xml" : std::string();
}

LettoreXlsx::LettoreXlsx(std::unique_ptr<ArchivioZip> archivio)
    : LettoreFlusso(archivio->Percorso()), archivio_(std::move(archivio)) {
  const std::string parte = ParteCartella(*archivio_);
  if (parte.empty()) throw errori_cartella::NonCartella(percorso_);
  AnalizzatoreCartella cartella(archivio_->Apri(parte, kLimiteParteTenuta));
  cartella.LeggiTutto();
  if (!cartella.radiceCartella) throw errori_cartella::NonCartella(percorso_);
  data1904_ = cartella.data1904;

  const auto relazioni = LeggiRelazioni(*archivio_, parte);
  for (const auto& voce : cartella.fogli) {
    const auto it = relazioni.find(voce.id);
    if (it == relazioni.end())
      throw errori_cartella::Danneggiata(percorso_, "manca il foglio \"" + voce.nome + "\"");
    // Chart sheets, dialog sheets and macro sheets are not worksheets.
    if (!TipoFinisceCon(it->second.tipo, "/worksheet")) continue;
    if (!archivio_->Contiene(it->second.destinazione))
      throw errori_cartella::Danneggiata(percorso_, "manca la parte " + it->second.destinazione +
                                                        " del foglio \"" + voce.nome + "\"");
    fogli_.push_back(Foglio{voce.nome, it->second.destinazione});
  }

  for (const auto& [id, relazione] : relazioni) {
    (void)id;
    if (TipoFinisceCon(relazione.tipo, "/sharedStrings")) {
      if (auto voce = archivio_->Apri(relazione.destinazione, kLimiteParteTenuta))
        testi_.Leggi(std::move(voce));
    } else if (TipoFinisceCon(relazione.tipo, "/styles")) {
      if (auto voce = archivio_->Apri(relazione.destinazione, kLimiteParteTenuta))
        stili_.Leggi(std::move(voce));
    }
  }
}

std::string LettoreXlsx::NomeFoglio(int foglio) {
  if (foglio < 1 || foglio > NumeroFogli()) throw errori_cartella::FoglioMancante(foglio);
  return fogli_[static_cast<std::size_t>(foglio - 1)].nome;
}

void LettoreXlsx::Ricomincia(int foglio) {
  if (foglio < 1 || foglio > NumeroFogli()) throw errori_cartella::FoglioMancante(foglio);
  cursore_.reset();
  auto voce =
      archivio_->Apri(fogli_[static_cast<std::size_t>(foglio - 1)].parte, kLimiteParteFlusso);
  if (!voce)
    throw errori_cartella::Danneggiata(percorso_, "manca il foglio " + std::to_string(foglio));
  cursore_ = std::make_unique<FoglioXlsx>(std::move(voce), testi_, stili_, data1904_);
}

bool LettoreXlsx::Prossimo(BloccoRighe& blocco) { return cursore_ && cursore_->Prossimo(blocco); }

}  // namespace fcl
