#include "pdf/LettorePdf.h"

#include <algorithm>
#include <set>
#include <unordered_set>

#include "pdf/AnalizzatorePdf.h"
#include "pdf/ErroreModelloPdf.h"
#include "pdf/Inflate.h"

namespace fcl {

namespace {

constexpr int kNumeroMassimo = 8'388'607;         // highest object number a PDF may use
constexpr std::size_t kSezioniMassime = 1000;     // cross-reference sections in a /Prev chain
constexpr int kProfonditaAlbero = 64;             // levels of the page tree / of /Parent chains
constexpr int kLettureAnnidate = 8;               // object reads inside an object read
constexpr std::size_t kLimiteFlusso = 64u << 20;  // decoded bytes of one stream
constexpr std::size_t kLimiteDecodifica = 512u << 20;  // decoded bytes of one template, in all

[[noreturn]] void Danneggiato(const std::string& cosa) {
  throw ErroreModelloPdf("file PDF danneggiato (" + cosa + ")");
}

bool Spazio(char c) {
  return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

// Undoes the PNG predictors (one filter-type byte before each row).
std::optional<std::string> TogliPredittore(const OggettoPdf* parametri, std::string dati) {
  if (parametri == nullptr || !parametri->E(OggettoPdf::Tipo::Dizionario)) return dati;
  auto intero = [&](std::string_view chiave, long long predefinito) {
    const OggettoPdf* v = parametri->Cerca(chiave);
    const auto n = v ? v->Intero() : std::nullopt;
    return n ? *n : predefinito;
  };
  const long long predittore = intero("Predictor", 1);
  if (predittore == 1) return dati;
  if (predittore < 10) return std::nullopt;  // TIFF predictor: not handled
  const long long colonne = intero("Columns", 1), colori = intero("Colors", 1),
                  bit = intero("BitsPerComponent", 8);
  if (colonne < 1 || colonne > 1'000'000 || colori < 1 || colori > 32 ||
      (bit != 1 && bit != 2 && bit != 4 && bit != 8 && bit != 16))
    return std::nullopt;
  const std::size_t bpp = static_cast<std::size_t>(std::max<long long>(1, colori * bit / 8));
  const std::size_t riga = static_cast<std::size_t>((colonne * colori * bit + 7) / 8);
  std::string uscita;
  uscita.reserve(dati.size());
  std::string precedente(riga, '\0');
  for (std::size_t p = 0; p + 1 + riga <= dati.size(); p += riga + 1) {
    const auto tipo = static_cast<unsigned char>(dati[p]);
    std::string r = dati.substr(p + 1, riga);
    for (std::size_t i = 0; i < riga; ++i) {
      const int a = i >= bpp ? static_cast<unsigned char>(r[i - bpp]) : 0;
      const int b = static_cast<unsigned char>(precedente[i]);
      const int c = i >= bpp ? static_cast<unsigned char>(precedente[i - bpp]) : 0;
      int x = static_cast<unsigned char>(r[i]);
      switch (tipo) {
        case 0:
          break;
        case 1:
          x += a;
          break;
        case 2:
          x += b;
          break;
        case 3:
          x += (a + b) / 2;
          break;
        case 4: {
          const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
          x += (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
          break;
        }
        default:
          return std::nullopt;
      }
      r[i] = static_cast<char>(x & 255);
    }
    uscita += r;
    precedente = std::move(r);
  }
  return uscita;
}

}  // namespace

LettorePdf::LettorePdf(std::string contenuto) : dati_(std::move(contenuto)) {
  if (dati_.size() > kDimensioneMassima) throw ErroreModelloPdf("file PDF troppo grande");
  const std::size_t intestazione = dati_.substr(0, 1024).find("%PDF-");
  if (intestazione == std::string::npos || intestazione + 7 >= dati_.size())
    throw ErroreModelloPdf("il file non è un PDF");
  const char maggiore = dati_[intestazione + 5], minore = dati_[intestazione + 7];
  if (maggiore == '1' && minore >= '0' && minore <= '9')
    versioneMinore_ = std::min(minore - '0', 7);
  else if (maggiore >= '2' && maggiore <= '9')
    versioneMinore_ = 7;

  // The newest section first; older ones (/Prev) only fill what the newer ones left unsaid.
  std::set<std::size_t> visitate;
  std::optional<std::size_t> offset = CercaStartxref();
  bool primo = true;
  while (offset) {
    if (!visitate.insert(*offset).second) break;  // a /Prev loop
    if (visitate.size() > kSezioniMassime) Danneggiato("troppe sezioni di riferimenti");
    OggettoPdf trailer = LeggiSezione(*offset);
    if (primo) {
      trailer_ = trailer;
      primo = false;
    } else {
      for (const char* chiave : {"Root", "Encrypt"})
        if (trailer_.Cerca(chiave) == nullptr && trailer.Cerca(chiave) != nullptr)
          trailer_.Imposta(chiave, *trailer.Cerca(chiave));
    }
    offset.reset();
    if (const OggettoPdf* prev = trailer.Cerca("Prev")) {
      const auto p = prev->Intero();
      if (!p || *p < 0 || static_cast<std::size_t>(*p) >= dati_.size()) Danneggiato("/Prev");
      offset = static_cast<std::size_t>(*p);
    }
  }
  if (trailer_.Cerca("Encrypt") != nullptr) {
    cifrato_ = true;
    return;
  }
  CercaPagine();
}

std::size_t LettorePdf::CercaStartxref() const {
  const std::size_t coda = dati_.size() > 1024 ? dati_.size() - 1024 : 0;
  const std::size_t p = dati_.rfind("startxref");
  if (p == std::string::npos || p < coda) Danneggiato("startxref mancante");
  AnalizzatorePdf a(dati_, p + 9);
  const long long offset = a.Intero();
  if (static_cast<unsigned long long>(offset) >= dati_.size())
    Danneggiato("startxref fuori dal file");
  return static_cast<std::size_t>(offset);
}

OggettoPdf LettorePdf::LeggiSezione(std::size_t offset) {
  AnalizzatorePdf a(dati_, offset);
  a.SaltaSpazi();
  std::unordered_map<int, Voce> sezione;
  OggettoPdf trailer;
  if (a.Parola("xref")) {
    trailer = LeggiTabella(a.Posizione(), sezione);
    // A hybrid file: its cross-reference stream places the objects kept in object streams,
    // which the table leaves out or marks free.
    if (const OggettoPdf* stm = trailer.Cerca("XRefStm")) {
      const auto p = stm->Intero();
      if (p && *p >= 0 && static_cast<std::size_t>(*p) < dati_.size()) {
        std::unordered_map<int, Voce> flusso;
        LeggiFlussoXref(static_cast<std::size_t>(*p), flusso);
        for (const auto& [numero, voce] : flusso) {
          auto it = sezione.find(numero);
          if (voce.tipo != 0 && (it == sezione.end() || it->second.tipo == 0))
            sezione[numero] = voce;
        }
      }
    }
  } else {
    trailer = LeggiFlussoXref(offset, sezione);
  }
  for (const auto& [numero, voce] : sezione) voci_.emplace(numero, voce);  // newer sections win
  return trailer;
}

OggettoPdf LettorePdf::LeggiTabella(std::size_t offset, std::unordered_map<int, Voce>& voci) {
  AnalizzatorePdf a(dati_, offset);
  while (true) {
    a.SaltaSpazi();
    if (a.Parola("trailer")) {
      OggettoPdf trailer = a.Valore();
      if (!trailer.E(OggettoPdf::Tipo::Dizionario)) Danneggiato("trailer");
      return trailer;
    }
    const long long primo = a.Intero();
    const long long quanti = a.Intero();
    // An entry takes at least 18 bytes: a count the rest of the file cannot hold is a lie.
    if (primo > kNumeroMassimo || quanti > kNumeroMassimo - primo ||
        static_cast<std::size_t>(quanti) * 18 > dati_.size() - a.Posizione())
      Danneggiato("tabella dei riferimenti");
    for (long long i = 0; i < quanti; ++i) {
      const long long posizione = a.Intero();
      a.Intero();  // generation
      a.SaltaSpazi();
      if (a.Fine()) Danneggiato("tabella dei riferimenti troncata");
      const char tipo = dati_[a.Posizione()];
      if (tipo != 'n' && tipo != 'f') Danneggiato("voce della tabella dei riferimenti");
      a.Posiziona(a.Posizione() + 1);
      const int numero = static_cast<int>(primo + i);
      if (numero == 0 && tipo == 'n' && posizione == 0) continue;
      Voce v;
      if (tipo == 'n') {
        if (static_cast<unsigned long long>(posizione) >= dati_.size()) continue;  // left out
        v.tipo = 1;
        v.a = static_cast<std::size_t>(posizione);
      }
      voci.emplace(numero, v);  // the first entry of a number in a section counts
    }
  }
}

OggettoPdf LettorePdf::LeggiFlussoXref(std::size_t offset, std::unordered_map<int, Voce>& voci) {
  AnalizzatorePdf a(dati_, offset);
  a.Intero();
  a.Intero();
  if (!a.Parola("obj")) Danneggiato("sezione dei riferimenti");
  OggettoPdf dizionario = a.Valore();
  const OggettoPdf* tipo = dizionario.Cerca("Type");
  if (!a.Parola("stream") || tipo == nullptr || !tipo->ENome("XRef"))
    Danneggiato("sezione dei riferimenti");
  const std::string_view grezzi = DatiFlusso(dizionario, a.Posizione());
  const auto dati = Decodifica(dizionario, grezzi);
  if (!dati) Danneggiato("flusso dei riferimenti con un filtro non gestito");

  const OggettoPdf* w = dizionario.Cerca("W");
  if (w == nullptr || !w->E(OggettoPdf::Tipo::Array) || w->elementi.size() != 3) Danneggiato("/W");
  std::size_t larghezze[3];
  std::size_t riga = 0;
  for (int i = 0; i < 3; ++i) {
    const auto n = w->elementi[i].Intero();
    if (!n || *n < 0 || *n > 8) Danneggiato("/W");
    larghezze[i] = static_cast<std::size_t>(*n);
    riga += larghezze[i];
  }
  if (riga == 0) Danneggiato("/W");
  std::vector<std::pair<long long, long long>> indice;
  if (const OggettoPdf* idx = dizionario.Cerca("Index")) {
    if (!idx->E(OggettoPdf::Tipo::Array) || idx->elementi.size() % 2 != 0) Danneggiato("/Index");
    for (std::size_t i = 0; i < idx->elementi.size(); i += 2) {
      const auto p = idx->elementi[i].Intero(), q = idx->elementi[i + 1].Intero();
      if (!p || !q || *p < 0 || *q < 0) Danneggiato("/Index");
      indice.emplace_back(*p, *q);
    }
  } else {
    const OggettoPdf* size = dizionario.Cerca("Size");
    const auto n = size ? size->Intero() : std::nullopt;
    if (!n || *n < 0) Danneggiato("/Size");
    indice.emplace_back(0, *n);
  }
  auto campo = [&](std::size_t p, std::size_t larghezza) {
    std::size_t v = 0;
    for (std::size_t i = 0; i < larghezza; ++i)
      v = (v << 8) | static_cast<unsigned char>((*dati)[p + i]);
    return v;
  };
  std::size_t p = 0;
  for (const auto& [primo, quanti] : indice) {
    if (primo > kNumeroMassimo || quanti > kNumeroMassimo - primo) Danneggiato("/Index");
    for (long long i = 0; i < quanti; ++i) {
      if (p + riga > dati->size()) return dizionario;  // fewer rows than announced: keep those read
      const std::size_t t = larghezze[0] == 0 ? 1 : campo(p, larghezze[0]);
      const std::size_t x = campo(p + larghezze[0], larghezze[1]);
      const std::size_t y = campo(p + larghezze[0] + larghezze[1], larghezze[2]);
      p += riga;
      Voce v;
      if (t == 1 && x < dati_.size()) {
        v.tipo = 1;
        v.a = x;
      } else if (t == 2 && x <= static_cast<std::size_t>(kNumeroMassimo)) {
        v.tipo = 2;
        v.a = x;
        v.b = y;
      }
      voci.emplace(static_cast<int>(primo + i), v);
    }
  }
  return dizionario;
}

void LettorePdf::CercaPagine() {
  const OggettoPdf* root = trailer_.Cerca("Root");
  if (root == nullptr) Danneggiato("catalogo mancante");
  const OggettoPdf catalogo = Risolvi(*root);
  const OggettoPdf* radice = catalogo.Cerca("Pages");
  if (radice == nullptr || !radice->E(OggettoPdf::Tipo::Riferimento))
    Danneggiato("albero delle pagine");

  std::unordered_set<int> visti;
  // Depth-first walk with an explicit stack: (node, depth). Children are pushed in reverse.
  std::vector<std::pair<int, int>> pila = {{radice->numero, 0}};
  while (!pila.empty()) {
    const auto [numero, livello] = pila.back();
    pila.pop_back();
    if (!visti.insert(numero).second) continue;  // a loop or a node listed twice
    if (livello > kProfonditaAlbero) Danneggiato("albero delle pagine troppo profondo");
    const OggettoPdf nodo = Oggetto(numero).valore;
    const OggettoPdf* tipo = nodo.Cerca("Type");
    const OggettoPdf* figli = nodo.Cerca("Kids");
    if (tipo != nullptr && tipo->ENome("Page")) {
      pagine_.push_back(numero);
      continue;
    }
    if (figli == nullptr) continue;  // neither a page nor a node: skipped
    // /Kids: an array of references, a reference to such an array, or one reference.
    std::vector<int> numeri;
    const OggettoPdf elenco = Risolvi(*figli);
    if (elenco.E(OggettoPdf::Tipo::Array)) {
      for (const auto& f : elenco.elementi)
        if (f.E(OggettoPdf::Tipo::Riferimento)) numeri.push_back(f.numero);
    } else if (figli->E(OggettoPdf::Tipo::Riferimento)) {
      numeri.push_back(figli->numero);
    }
    for (auto it = numeri.rbegin(); it != numeri.rend(); ++it) pila.emplace_back(*it, livello + 1);
  }
}

bool LettorePdf::Esiste(int numero) const {
  const auto it = voci_.find(numero);
  return it != voci_.end() && it->second.tipo != 0;
}

OggettoIndiretto LettorePdf::Oggetto(int numero) {
  const auto it = voci_.find(numero);
  if (it == voci_.end() || it->second.tipo == 0) return {};
  if (profondita_ >= kLettureAnnidate) Danneggiato("riferimenti annidati");
  ++profondita_;
  struct Uscita {
    int& p;
    ~Uscita() { --p; }
  } uscita{profondita_};
  const Voce voce = it->second;
  if (voce.tipo == 1) return OggettoAllaPosizione(numero, voce.a);
  return OggettoCompresso(numero, voce);
}

OggettoIndiretto LettorePdf::OggettoAllaPosizione(int numero, std::size_t offset) {
  AnalizzatorePdf a(dati_, offset);
  const long long n = a.Intero();
  a.Intero();
  if (n != numero || !a.Parola("obj"))
    Danneggiato("oggetto " + std::to_string(numero) + " non trovato alla sua posizione");
  OggettoIndiretto o;
  o.valore = a.Valore();
  if (o.valore.E(OggettoPdf::Tipo::Dizionario) && a.Parola("stream")) {
    o.haFlusso = true;
    o.dati = std::string(DatiFlusso(o.valore, a.Posizione()));
  }
  return o;
}

OggettoIndiretto LettorePdf::OggettoCompresso(int numero, const Voce& voce) {
  const int contenitore = static_cast<int>(voce.a);
  auto it = flussiOggetti_.find(contenitore);
  if (it == flussiOggetti_.end()) {
    const auto v = voci_.find(contenitore);
    if (v == voci_.end() || v->second.tipo != 1) Danneggiato("flusso di oggetti mancante");
    const OggettoIndiretto flusso = OggettoAllaPosizione(contenitore, v->second.a);
    const auto dati = flusso.haFlusso ? Decodifica(flusso) : std::nullopt;
    if (!dati) Danneggiato("flusso di oggetti illeggibile");
    const OggettoPdf* n = flusso.valore.Cerca("N");
    const OggettoPdf* first = flusso.valore.Cerca("First");
    const long long quanti = n ? n->Intero().value_or(-1) : -1;
    const long long primo = first ? first->Intero().value_or(-1) : -1;
    if (quanti < 0 || primo < 0 || static_cast<std::size_t>(primo) > dati->size() ||
        static_cast<std::size_t>(quanti) > dati->size())
      Danneggiato("flusso di oggetti");
    FlussoOggetti fo;
    AnalizzatorePdf a(*dati);
    for (long long i = 0; i < quanti; ++i) {
      const long long num = a.Intero(), off = a.Intero();
      fo.posizioni.emplace_back(static_cast<int>(std::min<long long>(num, kNumeroMassimo)),
                                static_cast<std::size_t>(off));
    }
    fo.primo = static_cast<std::size_t>(primo);
    fo.dati = std::move(*dati);
    it = flussiOggetti_.emplace(contenitore, std::move(fo)).first;
  }
  const FlussoOggetti& fo = it->second;
  if (voce.b >= fo.posizioni.size() || fo.posizioni[voce.b].first != numero ||
      fo.posizioni[voce.b].second > fo.dati.size() - fo.primo)
    Danneggiato("oggetto " + std::to_string(numero) + " non trovato nel flusso di oggetti");
  AnalizzatorePdf a(fo.dati, fo.primo + fo.posizioni[voce.b].second);
  OggettoIndiretto o;
  o.valore = a.Valore();
  return o;
}

std::string_view LettorePdf::DatiFlusso(const OggettoPdf& dizionario, std::size_t inizio) {
  // The data start after the end of line that follows "stream".
  if (inizio < dati_.size() && dati_[inizio] == '\r') ++inizio;
  if (inizio < dati_.size() && dati_[inizio] == '\n') ++inizio;
  if (inizio > dati_.size()) Danneggiato("flusso troncato");
  std::optional<long long> lunghezza;
  if (const OggettoPdf* l = dizionario.Cerca("Length")) {
    if (l->E(OggettoPdf::Tipo::Riferimento)) {
      lunghezza = Oggetto(l->numero).valore.Intero();
    } else {
      lunghezza = l->Intero();
    }
  }
  // Trust /Length when "endstream" follows where it says; otherwise look for "endstream".
  if (lunghezza && *lunghezza >= 0 &&
      static_cast<std::size_t>(*lunghezza) <= dati_.size() - inizio) {
    std::size_t fine = inizio + static_cast<std::size_t>(*lunghezza);
    std::size_t p = fine;
    while (p < dati_.size() && Spazio(dati_[p])) ++p;
    if (dati_.compare(p, 9, "endstream") == 0)
      return std::string_view(dati_).substr(inizio, fine - inizio);
  }
  const std::size_t fine = dati_.find("endstream", inizio);
  const std::size_t oggettoSeguente = dati_.find("endobj", inizio);
  if (fine == std::string::npos || oggettoSeguente < fine) Danneggiato("flusso senza endstream");
  std::size_t f = fine;
  if (f > inizio && dati_[f - 1] == '\n') --f;
  if (f > inizio && dati_[f - 1] == '\r') --f;
  return std::string_view(dati_).substr(inizio, f - inizio);
}

std::optional<std::string> LettorePdf::Decodifica(const OggettoIndiretto& oggetto) {
  return Decodifica(oggetto.valore, oggetto.dati);
}

std::optional<std::string> LettorePdf::Decodifica(const OggettoPdf& dizionario,
                                                  std::string_view dati) {
  const OggettoPdf* filtro = dizionario.Cerca("Filter");
  const OggettoPdf* parametri = dizionario.Cerca("DecodeParms");
  if (filtro == nullptr || filtro->E(OggettoPdf::Tipo::Nullo)) return std::string(dati);
  const OggettoPdf* nome = filtro;
  if (filtro->E(OggettoPdf::Tipo::Array)) {
    if (filtro->elementi.empty()) return std::string(dati);
    if (filtro->elementi.size() != 1) return std::nullopt;
    nome = &filtro->elementi[0];
    if (parametri != nullptr && parametri->E(OggettoPdf::Tipo::Array))
      parametri = parametri->elementi.empty() ? nullptr : &parametri->elementi[0];
  }
  if (!nome->ENome("FlateDecode") && !nome->ENome("Fl")) return std::nullopt;
  if (byteDecodificati_ > kLimiteDecodifica) Danneggiato("troppi dati compressi");
  auto decodificati =
      InflateFlate(dati, std::min(kLimiteFlusso, kLimiteDecodifica - byteDecodificati_));
  if (!decodificati) Danneggiato("dati compressi non validi");
  byteDecodificati_ += decodificati->size();
  return TogliPredittore(parametri, std::move(*decodificati));
}

OggettoPdf LettorePdf::Risolvi(const OggettoPdf& valore) {
  if (!valore.E(OggettoPdf::Tipo::Riferimento)) return valore;
  return Oggetto(valore.numero).valore;
}

OggettoPdf LettorePdf::Ereditato(int pagina, std::string_view chiave) {
  std::unordered_set<int> visti;
  OggettoPdf nodo = Oggetto(pagina).valore;
  visti.insert(pagina);
  for (int livello = 0; livello <= kProfonditaAlbero; ++livello) {
    if (const OggettoPdf* v = nodo.Cerca(chiave)) return *v;
    const OggettoPdf* genitore = nodo.Cerca("Parent");
    if (genitore == nullptr || !genitore->E(OggettoPdf::Tipo::Riferimento) ||
        !visti.insert(genitore->numero).second)
      break;
    nodo = Oggetto(genitore->numero).valore;
  }
  return {};
}

}  // namespace fcl
