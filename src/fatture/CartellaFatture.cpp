#include "fatture/CartellaFatture.h"

#include <cstring>

#include "common/Errori.h"
#include "workbook/ErroriCartella.h"
#include "workbook/ModelloFoglioBase.h"

namespace fcl {
namespace {

constexpr int kColonne = 25;

std::size_t IndiceQuadro(std::string_view q) {
  for (std::size_t i = 0; i < RiepilogoFatture::kQuadri.size(); ++i)
    if (RiepilogoFatture::kQuadri[i] == q) return i;
  return RiepilogoFatture::kQuadri.size();
}

std::string DataTesto(int d) {
  if (d == 0) return {};
  char b[32];
  std::snprintf(b, sizeof b, "%02d/%02d/%04d", d % 100, d / 100 % 100, d / 10000);
  return b;
}

// A key of 128 bits for "the same invoice": two independent 64-bit hashes of its identity. Two
// different invoices sharing it are beyond any real chance.
struct Chiave {
  std::uint64_t a, b;
  bool operator==(const Chiave&) const = default;
};
struct HashChiave {
  std::size_t operator()(const Chiave& c) const { return static_cast<std::size_t>(c.a ^ c.b); }
};

Chiave ChiaveDi(std::string_view s) {
  std::uint64_t a = 1469598103934665603ull;  // FNV-1a
  std::uint64_t b = 0x9E3779B97F4A7C15ull;   // a multiply-rotate mix
  for (const unsigned char c : s) {
    a = (a ^ c) * 1099511628211ull;
    b = ((b ^ c) * 0xBF58476D1CE4E5B9ull);
    b ^= b >> 29;
  }
  return {a, b};
}

void Metti(std::string& b, const void* p, std::size_t n) {
  b.append(static_cast<const char*>(p), n);
}

}  // namespace

// The walk's receiver: every invoice through the rules, then into its quadro or the report.
class CartellaFatture::Raccolta : public RaccoltaFatture::Destinatario {
 public:
  Raccolta(CartellaFatture& cartella, const OpzioniFatture& opzioni, const Registrazioni& reg)
      : c_(cartella), p_(*cartella.posizioni_), o_(opzioni), reg_(reg) {}

  void Fatture(const std::string& nome, LettoreFatturaXml::Risultato&& r) override {
    const std::uint32_t file = p_.NuovoFile(nome);
    const auto quante = static_cast<std::uint16_t>(std::min<std::size_t>(r.fatture.size(), 65535));
    for (const Fattura& f : r.fatture) {
      ++p_.Riepilogo().fatture;
      RigaDaFattura riga = RegoleFattura(f, o_, reg_);
      const std::string posizione = std::to_string(f.posizione);
      const std::string data = riga.dataDocumento ? DataTesto(riga.dataDocumento) : f.data;
      if (riga.scarto == MotivoScarto::Nessuno) {
        const std::string identita = std::string(riga.emessa ? "E|" : "R|") + riga.controparte +
                                     "|" + f.tipoDocumento + "|" + f.numero + "|" + f.data;
        const auto [it, nuova] = visti_.try_emplace(
            ChiaveDi(identita), std::pair<std::uint32_t, int>{file, f.posizione});
        if (!nuova) {
          riga.scarto = MotivoScarto::Doppia;
          riga.dettaglio =
              "fattura già letta in " + p_.NomeFile(it->second.first) +
              (it->second.second > 1 ? " (n. " + std::to_string(it->second.second) + " del file)"
                                     : "");
        }
      }
      if (riga.scarto != MotivoScarto::Nessuno) {
        ++p_.Riepilogo().scartate[static_cast<std::size_t>(riga.scarto)];
        p_.Rapporto(nome, {posizione, f.tipoDocumento, f.numero, data, riga.controparte, "", "",
                           "non_riportata", riga.dettaglio});
        continue;
      }
      const std::size_t q = IndiceQuadro(riga.quadro);
      const long long numero =
          p_.NuovaRiga(q, file, static_cast<std::uint16_t>(f.posizione), quante);
      c_.Aggiungi(q, riga.celle, riga.evidenziate);
      bool confermare = false;
      std::string note;
      for (const std::string& n : riga.note) {
        note += (note.empty() ? "" : " | ") + n;
        confermare = confermare || n.starts_with("da con") || n.starts_with("da comp");
      }
      if (confermare) ++p_.Riepilogo().daConfermare;
      if (riga.registrazionePresunta) ++p_.Riepilogo().presunte;
      const QuadroBase* quadro = QuadroFoglioBase(riga.quadro);
      p_.Rapporto(nome, {posizione, f.tipoDocumento, f.numero, data, riga.controparte,
                         std::string(riga.quadro),
                         std::to_string(numero - 1 + (quadro ? quadro->primaRiga : 4)),
                         confermare ? "riportata_da_confermare" : "riportata", note});
    }
  }

  void Scartato(const std::string& nome, MotivoScarto motivo,
                const std::string& dettaglio) override {
    p_.NuovoFile(nome);
    ++p_.Riepilogo().scartate[static_cast<std::size_t>(motivo)];
    p_.Rapporto(nome, {"", "", "", "", "", "", "", "non_riportata", dettaglio});
  }

 private:
  CartellaFatture& c_;
  PosizioniFatture& p_;
  const OpzioniFatture& o_;
  const Registrazioni& reg_;
  std::unordered_map<Chiave, std::pair<std::uint32_t, int>, HashChiave> visti_;
};

CartellaFatture::CartellaFatture(std::vector<std::filesystem::path> percorsi,
                                 const OpzioniFatture& opzioni,
                                 std::function<void(long long)> avanza)
    : posizioni_(std::make_shared<PosizioniFatture>(percorsi)), riga_(kColonne) {
  for (Spool& s : spool_) {
    s.file = std::tmpfile();
    if (s.file == nullptr) throw ErroreFile("Impossibile creare i file temporanei delle fatture");
  }
  const Registrazioni registrazioni =
      opzioni.registrazioni.empty() ? Registrazioni() : Registrazioni(opzioni.registrazioni);
  Raccolta raccolta(*this, opzioni, registrazioni);
  long long letti = 0;
  RaccoltaFatture giro(raccolta, [&] {
    if (avanza) avanza(letti);
    ++letti;
  });
  for (const auto& p : percorsi) giro.Leggi(p);
  for (Spool& s : spool_) {
    if (std::fflush(s.file) != 0 || std::fseek(s.file, 0, SEEK_SET) != 0)
      throw ErroreFile("Impossibile rileggere i file temporanei delle fatture");
    s.prossima = 0;
  }
}

CartellaFatture::~CartellaFatture() {
  for (Spool& s : spool_)
    if (s.file != nullptr) std::fclose(s.file);
}

// A row on its spool: its length, the highlighted columns, then every filled cell as column,
// kind and value (a text with its length, a number as its 8 bytes).
void CartellaFatture::Aggiungi(std::size_t q, const std::vector<Cella>& celle,
                               std::uint32_t evidenziate) {
  buffer_.clear();
  Metti(buffer_, &evidenziate, sizeof evidenziate);
  for (std::size_t k = 0; k < celle.size(); ++k) {
    const Cella& c = celle[k];
    if (c.tipo == Cella::Tipo::Vuota) continue;
    const auto colonna = static_cast<std::uint8_t>(k);
    const auto tipo = static_cast<std::uint8_t>(c.tipo);
    Metti(buffer_, &colonna, 1);
    Metti(buffer_, &tipo, 1);
    if (c.tipo == Cella::Tipo::Testo) {
      const auto n = static_cast<std::uint16_t>(std::min<std::size_t>(c.testo.size(), 4096));
      Metti(buffer_, &n, sizeof n);
      Metti(buffer_, c.testo.data(), n);
    } else {
      Metti(buffer_, &c.numero, sizeof c.numero);
    }
  }
  const auto lunghezza = static_cast<std::uint32_t>(buffer_.size());
  Spool& s = spool_[q];
  if (std::fwrite(&lunghezza, sizeof lunghezza, 1, s.file) != 1 ||
      std::fwrite(buffer_.data(), 1, buffer_.size(), s.file) != buffer_.size())
    throw ErroreFile("Impossibile scrivere i file temporanei delle fatture (disco pieno?)");
  ++s.righe;
}

int CartellaFatture::NumeroFogli() { return 1 + static_cast<int>(QuadriFoglioBase().size()); }

std::string CartellaFatture::NomeFoglio(int foglio) {
  if (foglio == 1) return std::string(kFoglioIstruzioni);
  if (foglio < 1 || foglio > NumeroFogli()) throw errori_cartella::FoglioMancante(foglio);
  return std::string(QuadriFoglioBase()[static_cast<std::size_t>(foglio - 2)].nome);
}

const std::vector<Cella>& CartellaFatture::Riga(int foglio, int riga) {
  for (Cella& c : riga_) c = Cella();
  evidenziate_ = 0;
  const auto testo = [this](int k, std::string_view t) {
    riga_[static_cast<std::size_t>(k)].tipo = Cella::Tipo::Testo;
    riga_[static_cast<std::size_t>(k)].testo = std::string(t);
  };
  if (foglio == 1) {
    const auto righe = IstruzioniFoglioBase();
    if (riga >= 1 && riga <= static_cast<int>(righe.size()) && !righe[riga - 1].empty())
      testo(0, righe[static_cast<std::size_t>(riga - 1)]);
    return riga_;
  }
  if (foglio < 1 || foglio > NumeroFogli()) throw errori_cartella::FoglioMancante(foglio);
  const QuadroBase& quadro = QuadriFoglioBase()[static_cast<std::size_t>(foglio - 2)];
  if (riga < quadro.primaRiga) {
    if (riga == 1) testo(0, TitoloFoglioBase(quadro));
    if (riga == 2 && !NotaFoglioBase(quadro).empty()) testo(0, NotaFoglioBase(quadro));
    if (quadro.primaRiga >= 4 && riga == quadro.primaRiga - 2) {
      for (std::size_t k = 0; k < quadro.colonne.size(); ++k) {
        char b[9];
        testo(static_cast<int>(k), CodiceColonnaBase(quadro, static_cast<int>(k), b));
      }
    }
    if (riga == quadro.primaRiga - 1)
      for (std::size_t k = 0; k < quadro.colonne.size(); ++k)
        testo(static_cast<int>(k), quadro.colonne[k].intestazione);
    return riga_;
  }
  const std::size_t q = IndiceQuadro(quadro.nome);
  if (q >= spool_.size()) return riga_;
  Spool& s = spool_[q];
  const long long indice = riga - quadro.primaRiga;
  if (indice >= s.righe) return riga_;
  if (indice < s.prossima) {
    if (std::fseek(s.file, 0, SEEK_SET) != 0)
      throw ErroreFile("Impossibile rileggere i file temporanei delle fatture");
    s.prossima = 0;
  }
  for (;;) {
    std::uint32_t lunghezza = 0;
    if (std::fread(&lunghezza, sizeof lunghezza, 1, s.file) != 1)
      throw ErroreFile("Impossibile rileggere i file temporanei delle fatture");
    buffer_.resize(lunghezza);
    if (std::fread(buffer_.data(), 1, lunghezza, s.file) != lunghezza)
      throw ErroreFile("Impossibile rileggere i file temporanei delle fatture");
    if (s.prossima++ == indice) break;
  }
  std::size_t i = 0;
  std::memcpy(&evidenziate_, buffer_.data(), sizeof evidenziate_);
  i += sizeof evidenziate_;
  while (i + 2 <= buffer_.size()) {
    const auto colonna = static_cast<std::uint8_t>(buffer_[i]);
    const auto tipo = static_cast<Cella::Tipo>(static_cast<std::uint8_t>(buffer_[i + 1]));
    i += 2;
    Cella& c = riga_[colonna < kColonne ? colonna : 0];
    c.tipo = tipo;
    if (tipo == Cella::Tipo::Testo) {
      std::uint16_t n = 0;
      std::memcpy(&n, buffer_.data() + i, sizeof n);
      i += sizeof n;
      c.testo.assign(buffer_.data() + i, n);
      i += n;
    } else {
      std::memcpy(&c.numero, buffer_.data() + i, sizeof c.numero);
      i += sizeof c.numero;
    }
  }
  return riga_;
}

}  // namespace fcl
