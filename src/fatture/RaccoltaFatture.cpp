#include "fatture/RaccoltaFatture.h"

#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "common/Errori.h"
#include "fatture/BustaP7m.h"
#include "fatture/ErroreFattura.h"

namespace fcl {
namespace {

constexpr std::size_t kInizio = 1 << 16;

struct ChiudiFile {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
struct ChiudiVoce {
  void operator()(zip_file_t* f) const { zip_fclose(f); }
};
struct ChiudiArchivio {
  void operator()(zip_t* z) const { zip_discard(z); }
};

bool EArchivio(std::string_view b) {
  return b.size() >= 4 && b[0] == 'P' && b[1] == 'K' &&
         ((b[2] == 3 && b[3] == 4) || (b[2] == 5 && b[3] == 6));
}

bool Xml(std::string_view b) {
  if (b.starts_with("\xEF\xBB\xBF") || b.starts_with("\xFE\xFF") || b.starts_with("\xFF\xFE"))
    return true;
  for (const char c : b) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
    return c == '<';
  }
  return false;
}

std::string Base(std::string_view nome) {
  const auto barra = nome.find_last_of('/');
  return std::string(barra == std::string_view::npos ? nome : nome.substr(barra + 1));
}

// Why a file whose root is not FatturaElettronica is passed over.
std::string MotivoRadice(std::string_view radice) {
  if (radice == "FileMetadati") return "file di metadati del Sistema di Interscambio";
  for (const std::string_view n :
       {"RicevutaConsegna", "NotificaScarto", "NotificaMancataConsegna", "NotificaEsito",
        "NotificaDecorrenzaTermini", "AttestazioneTrasmissioneFattura", "NotificaEsitoCommittente",
        "ScartoEsitoCommittente", "RicevutaScarto", "RicevutaImpossibilitaRecapito",
        "MetadatiInvioFile"})
    if (radice == n) return "notifica del Sistema di Interscambio (" + std::string(radice) + ")";
  if (radice == "FatturaElettronicaSemplificata")
    return "fattura semplificata: non riportata, da inserire a mano";
  return "non è una fattura elettronica (elemento radice " + std::string(radice) + ")";
}

std::string Mb(std::uint64_t byte) { return std::to_string(byte >> 20) + " MB"; }

}  // namespace

RaccoltaFatture::RaccoltaFatture(Destinatario& destinatario, std::function<void()> avanza)
    : destinatario_(destinatario), avanza_(std::move(avanza)) {}

void RaccoltaFatture::Leggi(const std::filesystem::path& percorso) {
  std::error_code ec;
  const auto stato = std::filesystem::status(percorso, ec);
  if (!std::filesystem::exists(stato))
    throw Errore("Il file o la cartella " + percorso.string() + " non esiste");
  if (std::filesystem::is_directory(stato)) {
    std::vector<std::filesystem::path> file;
    std::filesystem::recursive_directory_iterator it(
        percorso, std::filesystem::directory_options::skip_permission_denied, ec);
    if (ec) throw Errore("La cartella " + percorso.string() + " non può essere letta");
    for (; it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
      if (ec) break;
      std::error_code e2;
      if (it->is_regular_file(e2)) file.push_back(it->path());
    }
    std::sort(file.begin(), file.end());
    for (const auto& f : file) File(f, f.string());
    return;
  }
  File(percorso, percorso.string());
}

void RaccoltaFatture::File(const std::filesystem::path& file, const std::string& nome) {
  if (avanza_) avanza_();
  const std::string base = Base(file.generic_string());
  if (base.starts_with("._") || file.generic_string().find("/__MACOSX/") != std::string::npos) {
    destinatario_.Scartato(nome, MotivoScarto::AltroFile, "file di servizio di macOS");
    return;
  }
  std::unique_ptr<std::FILE, ChiudiFile> f(std::fopen(file.c_str(), "rb"));
  if (!f) {
    destinatario_.Scartato(nome, MotivoScarto::FileIlleggibile, "il file non può essere aperto");
    return;
  }
  // The first block of the file, in a buffer kept for every file (no allocation per file).
  primo_.resize(kInizio);
  primo_.resize(std::fread(primo_.data(), 1, kInizio, f.get()));
  std::FILE* grezzo = f.get();
  const Fonte resto = [grezzo](char* d, std::size_t n) {
    const std::size_t letti = std::fread(d, 1, n, grezzo);
    if (letti == 0 && std::ferror(grezzo)) throw ErroreFattura("errore di lettura del file");
    return letti;
  };
  Contenuto(nome, primo_, resto, ~0ull, [&](const std::string&) { ArchivioDaFile(file, nome, 0); });
}

void RaccoltaFatture::ArchivioDaFile(const std::filesystem::path& file, const std::string& nome,
                                     int livello) {
  int errore = 0;
  std::unique_ptr<zip_t, ChiudiArchivio> archivio(zip_open(file.c_str(), ZIP_RDONLY, &errore));
  if (!archivio) {
    destinatario_.Scartato(nome, MotivoScarto::FileIlleggibile,
                           "archivio .zip danneggiato o illeggibile");
    return;
  }
  Archivio(archivio.get(), nome, livello);
}

void RaccoltaFatture::Archivio(zip* archivio, const std::string& nome, int livello) {
  const zip_int64_t voci = zip_get_num_entries(archivio, 0);
  if (voci < 0 || static_cast<std::uint64_t>(voci) > kVociMassime) {
    destinatario_.Scartato(nome, MotivoScarto::FileIlleggibile,
                           "archivio con più di " + std::to_string(kVociMassime) + " voci");
    return;
  }
  std::uint64_t totale = 0;
  for (zip_int64_t i = 0; i < voci; ++i) {
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(archivio, static_cast<zip_uint64_t>(i), 0, &st) != 0 ||
        (st.valid & ZIP_STAT_NAME) == 0) {
      destinatario_.Scartato(nome + "/#" + std::to_string(i + 1), MotivoScarto::FileIlleggibile,
                             "voce dell'archivio illeggibile");
      continue;
    }
    const std::string voce = st.name;
    if (voce.empty() || voce.back() == '/') continue;  // a folder
    const std::string nomeVoce = nome + "/" + voce;
    if (avanza_) avanza_();
    if (voce.starts_with("__MACOSX/") || voce.find("/__MACOSX/") != std::string::npos ||
        Base(voce).starts_with("._")) {
      destinatario_.Scartato(nomeVoce, MotivoScarto::AltroFile, "file di servizio di macOS");
      continue;
    }
    if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE) {
      destinatario_.Scartato(nomeVoce, MotivoScarto::FileIlleggibile,
                             "voce cifrata con una password");
      continue;
    }
    const std::uint64_t dimensione = (st.valid & ZIP_STAT_SIZE) ? st.size : 0;
    const std::uint64_t compressa = (st.valid & ZIP_STAT_COMP_SIZE) ? st.comp_size : 0;
    if (dimensione > kLimiteVoce) {
      destinatario_.Scartato(nomeVoce, MotivoScarto::FileIlleggibile,
                             "voce di " + Mb(dimensione) +
                                 " una volta decompressa, oltre il "
                                 "limite di " +
                                 Mb(kLimiteVoce));
      continue;
    }
    if (dimensione > (1u << 20) && dimensione / kRapportoMassimo > compressa) {
      destinatario_.Scartato(nomeVoce, MotivoScarto::FileIlleggibile,
                             "rapporto di compressione anomalo (oltre " +
                                 std::to_string(kRapportoMassimo) +
                                 " volte): archivio costruito per esaurire le risorse");
      continue;
    }
    totale += dimensione;
    if (totale > kLimiteArchivio) {
      destinatario_.Scartato(nome, MotivoScarto::FileIlleggibile,
                             "l'archivio supera " + Mb(kLimiteArchivio) +
                                 " una volta decompresso: le voci seguenti non sono lette");
      return;
    }
    std::unique_ptr<zip_file_t, ChiudiVoce> file(
        zip_fopen_index(archivio, static_cast<zip_uint64_t>(i), 0));
    if (!file) {
      destinatario_.Scartato(nomeVoce, MotivoScarto::FileIlleggibile,
                             "voce dell'archivio illeggibile (compressione non supportata o "
                             "danneggiata)");
      continue;
    }
    // Never more than the entry declares: a header that lies about the size cannot make the
    // entry inflate without end.
    const std::uint64_t limite = dimensione;
    std::uint64_t letti = 0;
    zip_file_t* grezzo = file.get();
    const Fonte leggi = [grezzo, &letti, limite](char* d, std::size_t n) -> std::size_t {
      const zip_int64_t r = zip_fread(grezzo, d, n);
      if (r < 0) throw ErroreFattura("voce dell'archivio danneggiata");
      letti += static_cast<std::uint64_t>(r);
      if (letti > limite) throw ErroreFattura("voce più lunga di quanto l'archivio dichiara");
      return static_cast<std::size_t>(r);
    };
    try {
      std::string inizio(static_cast<std::size_t>(std::min<std::uint64_t>(kInizio, limite + 1)),
                         '\0');
      std::size_t n = 0;
      while (n < inizio.size()) {
        const std::size_t r = leggi(inizio.data() + n, inizio.size() - n);
        if (r == 0) break;
        n += r;
      }
      inizio.resize(n);
      Contenuto(nomeVoce, inizio, leggi, limite, [&](const std::string& primi) {
        if (livello > 0) {
          destinatario_.Scartato(nomeVoce, MotivoScarto::AltroFile,
                                 "archivio dentro un archivio oltre il primo livello");
          return;
        }
        // The archive inside is copied to a temporary file (never held in memory), then read.
        std::FILE* copia = std::tmpfile();
        if (copia == nullptr) throw ErroreFattura("impossibile creare un file temporaneo");
        std::string blocco(kInizio, '\0');
        bool ok = std::fwrite(primi.data(), 1, primi.size(), copia) == primi.size();
        try {
          for (std::size_t r; ok && (r = leggi(blocco.data(), blocco.size())) > 0;)
            ok = std::fwrite(blocco.data(), 1, r, copia) == r;
        } catch (...) {
          std::fclose(copia);
          throw;
        }
        ok = ok && std::fflush(copia) == 0 && std::fseek(copia, 0, SEEK_SET) == 0;
        // The source is made once the copy is whole: it takes the file's size when made.
        zip_error_t errore;
        zip_error_init(&errore);
        zip_source_t* sorgente = zip_source_filep_create(copia, 0, -1, &errore);
        if (sorgente == nullptr) {
          std::fclose(copia);
          throw ErroreFattura("impossibile leggere l'archivio interno");
        }
        zip_t* interno = ok ? zip_open_from_source(sorgente, ZIP_RDONLY, &errore) : nullptr;
        if (interno == nullptr) {
          zip_source_free(sorgente);
          destinatario_.Scartato(nomeVoce, MotivoScarto::FileIlleggibile,
                                 ok ? "archivio interno danneggiato o illeggibile"
                                    : "impossibile copiare l'archivio interno");
          return;
        }
        std::unique_ptr<zip_t, ChiudiArchivio> chiudi(interno);
        Archivio(interno, nomeVoce, livello + 1);
      });
    } catch (const ErroreFattura& e) {
      destinatario_.Scartato(nomeVoce, MotivoScarto::FileIlleggibile, e.what());
    }
  }
}

void RaccoltaFatture::Contenuto(const std::string& nome, std::string& inizio, const Fonte& resto,
                                std::uint64_t limite,
                                const std::function<void(const std::string&)>& comeArchivio) {
  try {
    if (EArchivio(inizio)) {
      comeArchivio(inizio);
      return;
    }
    LettoreFatturaXml::Risultato risultato;
    if (SembraP7m(inizio)) {
      std::string busta = inizio;
      std::string blocco(kInizio, '\0');
      for (;;) {
        const std::size_t n = resto(blocco.data(), blocco.size());
        if (n == 0) break;
        if (busta.size() + n > kLimiteP7m || busta.size() + n > limite)
          throw ErroreFattura("file firmato oltre il limite di " + Mb(kLimiteP7m));
        busta.append(blocco.data(), n);
      }
      const std::string contenuto = ContenutoP7m(busta);
      busta.clear();
      busta.shrink_to_fit();
      if (!Xml(std::string_view(contenuto).substr(0, kInizio))) {
        destinatario_.Scartato(nome, MotivoScarto::NonFattura,
                               "il file firmato non contiene un file XML");
        return;
      }
      risultato = xml_.Leggi(contenuto);
    } else if (Xml(inizio)) {
      bool primo = true;
      const Fonte fonte = [&](char* d, std::size_t n) -> std::size_t {
        if (primo) {
          primo = false;
          if (!inizio.empty()) {
            // The sniffed bytes first (a block of at most kInizio: n is as large).
            const std::size_t k = std::min(n, inizio.size());
            std::copy(inizio.data(), inizio.data() + k, d);
            inizio.erase(0, k);
            if (!inizio.empty()) primo = true;
            return k;
          }
        }
        return resto(d, n);
      };
      risultato = xml_.Leggi(fonte);
    } else {
      destinatario_.Scartato(nome, MotivoScarto::AltroFile,
                             "non è una fattura elettronica (.xml), una fattura firmata (.p7m) "
                             "né un archivio .zip");
      return;
    }
    if (risultato.radice != LettoreFatturaXml::kRadiceFattura) {
      destinatario_.Scartato(nome, MotivoScarto::NonFattura, MotivoRadice(risultato.radice));
      return;
    }
    if (risultato.fatture.empty()) {
      destinatario_.Scartato(nome, MotivoScarto::NonFattura, "fattura elettronica senza corpo");
      return;
    }
    destinatario_.Fatture(nome, std::move(risultato));
  } catch (const ErroreFattura& e) {
    destinatario_.Scartato(nome, MotivoScarto::FileIlleggibile, e.what());
  }
}

}  // namespace fcl
