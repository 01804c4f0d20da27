#include "pdf/ModelloPdf.h"

#include <algorithm>
#include <cmath>
#include <deque>

#include "pdf/ErroreModelloPdf.h"
#include "pdf/FormatoPdf.h"

namespace fcl {

namespace {

constexpr std::size_t kByteMassimiPagina = 256u << 20;  // bytes an import may add to the output
constexpr std::size_t kOggettiMassimiPagina = 1'000'000;

// "BaseFont/encoding" of a standard Type 1 font dictionary that carries nothing else (no widths,
// no descriptor, no differences): a font the viewer draws from its own metrics, the same as the
// writer's own font of that name. nullopt for anything else.
std::optional<std::string> ChiaveFontStandard(const OggettoPdf& o) {
  using T = OggettoPdf::Tipo;
  if (!o.E(T::Dizionario)) return std::nullopt;
  for (const std::string& k : o.chiavi)
    if (k != "Type" && k != "Subtype" && k != "Name" && k != "BaseFont" && k != "FirstChar" &&
        k != "LastChar" && k != "Encoding")
      return std::nullopt;
  const OggettoPdf* tipo = o.Cerca("Type");
  const OggettoPdf* sottotipo = o.Cerca("Subtype");
  const OggettoPdf* base = o.Cerca("BaseFont");
  if (tipo == nullptr || !tipo->ENome("Font") || sottotipo == nullptr ||
      !sottotipo->ENome("Type1") || base == nullptr || !base->E(T::Nome))
    return std::nullopt;
  std::string codifica;
  if (const OggettoPdf* e = o.Cerca("Encoding")) {
    if (e->E(T::Nome)) {
      codifica = e->testo;
    } else if (e->E(T::Dizionario)) {
      for (const std::string& k : e->chiavi)
        if (k != "Type" && k != "BaseEncoding") return std::nullopt;
      const OggettoPdf* b = e->Cerca("BaseEncoding");
      if (b == nullptr || !b->E(T::Nome)) return std::nullopt;
      codifica = b->testo;
    } else {
      return std::nullopt;
    }
  }
  return base->testo + "/" + codifica;
}

[[noreturn]] void Danneggiato(const std::string& cosa) {
  throw ErroreModelloPdf("file PDF danneggiato (" + cosa + ")");
}

}  // namespace

ModelloPdf::ModelloPdf(std::string chiave, std::unique_ptr<LettorePdf> lettore)
    : chiave_(std::move(chiave)), lettore_(std::move(lettore)) {
  if (lettore_)
    for (const int oggetto : lettore_->Pagine())
      pagine_.push_back({oggetto, Stato::DaImportare, 0, 0});
}

ModelloPdf::PaginaPreparata ModelloPdf::Prepara(int n, int primoNumero,
                                                const AvanzamentoFlussi& avanzamento) {
  LettorePdf& l = *lettore_;
  const int oggettoPagina = PaginaN(n).oggetto;
  using T = OggettoPdf::Tipo;
  PaginaPreparata p;

  // The page's size: its MediaBox, possibly inherited, possibly with indirect numbers.
  const OggettoPdf box = l.Risolvi(l.Ereditato(oggettoPagina, "MediaBox"));
  if (!box.E(T::Array) || box.elementi.size() != 4) Danneggiato("MediaBox della pagina");
  double v[4];
  for (int i = 0; i < 4; ++i) {
    const auto numero = l.Risolvi(box.elementi[static_cast<std::size_t>(i)]).Numero();
    if (!numero || std::abs(*numero) > 1e6) Danneggiato("MediaBox della pagina");
    v[i] = *numero;
  }
  const double x0 = std::min(v[0], v[2]), y0 = std::min(v[1], v[3]);
  const double x1 = std::max(v[0], v[2]), y1 = std::max(v[1], v[3]);
  if (x1 - x0 < 1e-3 || y1 - y0 < 1e-3) Danneggiato("MediaBox della pagina");
  p.larghezza = x1 - x0;
  p.altezza = y1 - y0;

  // References met in what is copied get the next output numbers, in the order they are met;
  // objects already copied for an earlier page keep their copy.
  int prossimo = primoNumero;
  std::unordered_map<int, int> locali;
  std::deque<int> daCopiare;
  const ScriviRiferimento riferimento = [&](std::string& u, const OggettoPdf& r) {
    if (!l.Esiste(r.numero)) {
      u += "null";
      return;
    }
    int numero = 0;
    if (const auto c = copie_.find(r.numero); c != copie_.end()) {
      numero = c->second;
    } else if (const auto c2 = locali.find(r.numero); c2 != locali.end()) {
      numero = c2->second;
    } else {
      numero = prossimo++;
      locali.emplace(r.numero, numero);
      daCopiare.push_back(r.numero);
    }
    u += std::to_string(numero);
    u += " 0 R";
  };

  // Resources: an indirect dictionary is written in place.
  std::string risorse;
  const OggettoPdf res = l.Risolvi(l.Ereditato(oggettoPagina, "Resources"));
  if (res.E(T::Dizionario))
    SerializzaPdf(res, risorse, riferimento);
  else
    risorse = "<< >>";

  // Content: one stream is kept as stored, with its filter; several are decoded and joined.
  const OggettoPdf pagina = l.Oggetto(oggettoPagina).valore;
  std::vector<OggettoIndiretto> flussi;
  if (const OggettoPdf* c = pagina.Cerca("Contents")) {
    std::vector<OggettoPdf> elenco;
    if (c->E(T::Array)) {
      elenco = c->elementi;
    } else if (c->E(T::Riferimento)) {
      OggettoIndiretto o = l.Oggetto(c->numero);
      if (o.haFlusso)
        flussi.push_back(std::move(o));
      else if (o.valore.E(T::Array))
        elenco = o.valore.elementi;
    }
    for (const auto& e : elenco) {
      if (!e.E(T::Riferimento)) continue;
      OggettoIndiretto o = l.Oggetto(e.numero);
      if (o.haFlusso) flussi.push_back(std::move(o));
    }
  }
  std::string contenuto, filtro, parametri;
  if (flussi.size() == 1) {
    contenuto = std::move(flussi[0].dati);
    if (const OggettoPdf* f = flussi[0].valore.Cerca("Filter"))
      SerializzaPdf(*f, filtro, riferimento);
    if (const OggettoPdf* d = flussi[0].valore.Cerca("DecodeParms"))
      SerializzaPdf(*d, parametri, riferimento);
  } else if (flussi.size() > 1) {
    const int quanti = static_cast<int>(flussi.size());
    for (int i = 0; i < quanti; ++i) {
      if (avanzamento) avanzamento(i + 1, quanti);
      const auto dati = l.Decodifica(flussi[static_cast<std::size_t>(i)]);
      if (!dati) Danneggiato("contenuto con un filtro non gestito");
      // Streams are joined at a line end, so that the last token of one never runs into the first
      // of the next.
      if (i > 0) contenuto.push_back('\n');
      contenuto += *dati;
      if (contenuto.size() > kByteMassimiPagina) Danneggiato("contenuto troppo grande");
    }
  }

  // The copies, in number order.
  std::size_t byte = contenuto.size() + risorse.size();
  while (!daCopiare.empty()) {
    const int sorgente = daCopiare.front();
    daCopiare.pop_front();
    OggettoIndiretto o = l.Oggetto(sorgente);
    std::string corpo;
    if (o.haFlusso)
      o.valore.Imposta("Length", OggettoPdf::NumeroIntero(static_cast<long long>(o.dati.size())));
    SerializzaPdf(o.valore, corpo, riferimento);
    corpo.push_back('\n');
    if (!o.haFlusso)
      if (auto chiave = ChiaveFontStandard(o.valore))
        p.fontStandard.emplace_back(std::move(*chiave), locali.at(sorgente));
    if (o.haFlusso) {
      corpo += "stream\r\n";
      corpo += o.dati;
      corpo += "\rendstream\n";
    }
    byte += corpo.size();
    if (byte > kByteMassimiPagina || p.oggetti.size() >= kOggettiMassimiPagina)
      Danneggiato("troppi oggetti da copiare");
    p.oggetti.emplace_back(locali.at(sorgente), std::move(corpo));
  }
  for (const auto& [s, d] : locali) p.nuoveCopie.emplace_back(s, d);

  // The form object.
  std::string& f = p.corpoForma;
  f = "<< /Type /XObject /Subtype /Form /FormType 1\n   /BBox [";
  for (const double n : {x0, y0, x1, y1}) {
    AggiungiNumeroPdf(f, n);
    f.push_back(' ');
  }
  f += "]\n";
  // A page whose MediaBox does not start at the origin is moved there, so that it lands where the
  // caller asked.
  if (x0 != 0 || y0 != 0) {
    f += "   /Matrix [1 0 0 1 ";
    AggiungiNumeroPdf(f, -x0);
    f.push_back(' ');
    AggiungiNumeroPdf(f, -y0);
    f += "]\n";
  }
  f += "   /Resources " + risorse + "\n";
  if (!contenuto.empty()) {
    f += "   /Length " + std::to_string(contenuto.size()) + "\n";
    if (!filtro.empty()) f += "   /Filter " + filtro + "\n";
    if (!parametri.empty()) f += "   /DecodeParms " + parametri + "\n";
    f += ">>\nstream\r\n";
    f += contenuto;
    f += "\rendstream\n";
  } else {
    f += "   /Length 0\n>>\nstream\r\nendstream\n";
  }
  p.numeroForma = prossimo;
  return p;
}

void ModelloPdf::Conferma(int n, const PaginaPreparata& preparata) {
  for (const auto& [s, d] : preparata.nuoveCopie) copie_.emplace(s, d);
  Pagina& pagina = PaginaN(n);
  pagina.stato = Stato::Importata;
  pagina.larghezza = preparata.larghezza;
  pagina.altezza = preparata.altezza;
}

}  // namespace fcl
