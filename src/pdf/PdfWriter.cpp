#include "pdf/PdfWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <numbers>
#include <random>
#include <system_error>

#include <zlib.h>

#include "common/Cp1252.h"
#include "common/Errori.h"
#include "common/Interazione.h"
#include "common/ScritturaAtomica.h"
#include "pdf/ErroreModelloPdf.h"
#include "pdf/FormatoPdf.h"
#include "pdf/LettorePdf.h"
#include "pdf/ModelloPdf.h"

namespace fcl {

namespace {

// The second header line: a banner with bytes above 127, so that readers know the file holds
// 8-bit data.
constexpr std::string_view kBanner = "Fiscolario PdfWriter \xE2\xE3\xCF\xD3";
constexpr std::string_view kVersione = "1.0";
constexpr std::size_t kSogliaScrittura = 256 * 1024;

const ColorePdf& Nero() {
  static const ColorePdf nero = *ColorePdf::Da("Black");
  return nero;
}

std::string Num(double v) { return NumeroPdf(v); }

std::string EscapeXml(std::string_view s) {
  std::string r;
  for (const char c : s) {
    switch (c) {
      case '&':
        r += "&amp;";
        break;
      case '<':
        r += "&lt;";
        break;
      case '>':
        r += "&gt;";
        break;
      default:
        r.push_back(c);
    }
  }
  return r;
}

}  // namespace

PdfWriter::PdfWriter(std::string autore, Orologio adesso) : autore_(std::move(autore)) {
  const auto ora = adesso ? adesso() : std::chrono::system_clock::now();
  const std::time_t t = std::chrono::system_clock::to_time_t(ora);
  std::tm tm{};
  ::localtime_r(&t, &tm);
  char buf[64];
  std::snprintf(buf, sizeof buf, "D:%04d%02d%02d%02d%02d%02dZ+01'00'", tm.tm_year + 1900,
                tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
  dataCreazione_ = buf;
  coloreTesto_ = coloreLinea_ = Nero();
  coloreRiempimento_ = *ColorePdf::Da("#FFFFFF");
}

PdfWriter::~PdfWriter() = default;

// ------------------------------------------------------------------------------------------
// Output primitives.

void PdfWriter::Scrivi(std::string_view byte) {
  if (!file_)
    throw ErroreFile("Nome o numero di file non valido: il documento PDF non è aperto - " +
                     nomeFile_.string());
  uscita_.append(byte);
  posizione_ += static_cast<long long>(byte.size());
  if (uscita_.size() >= kSogliaScrittura) Svuota();
}

void PdfWriter::Svuota() {
  if (file_ && !uscita_.empty()) file_->Scrivi(uscita_);
  uscita_.clear();
}

std::string_view PdfWriter::TestoNumero(double valore, std::string& appoggio) {
  std::uint64_t bit;
  std::memcpy(&bit, &valore, sizeof bit);
  NumeroScritto& n = numeriScritti_[(bit * 0x9E3779B97F4A7C15ull) >> 57];
  if (n.lunghezza != 0 && n.bit == bit) return {n.testo, n.lunghezza};
  appoggio.clear();
  AggiungiNumeroPdf(appoggio, valore);
  if (appoggio.size() < sizeof n.testo) {
    n.bit = bit;
    n.lunghezza = static_cast<std::uint8_t>(appoggio.size());
    std::memcpy(n.testo, appoggio.data(), appoggio.size());
  }
  return appoggio;
}

void PdfWriter::Numero(std::string& uscita, double valore) {
  uscita.append(TestoNumero(valore, numeroAppoggio_));
}

void PdfWriter::RigaFile(std::string_view testo) {
  Scrivi(testo);
  Scrivi("\n");
}

int PdfWriter::IniziaOggetto(int numero) {
  if (!file_)
    throw ErroreFile("Nome o numero di file non valido: il documento PDF non è aperto - " +
                     nomeFile_.string());
  if (numero == 0) numero = massimoOggetto_ + 1;
  massimoOggetto_ = std::max(massimoOggetto_, numero);
  if (offset_.size() <= static_cast<std::size_t>(numero))
    offset_.resize(static_cast<std::size_t>(numero) + 1, -1);
  offset_[static_cast<std::size_t>(numero)] = posizione_;
  RigaFile(std::to_string(numero) + " 0 obj");
  return numero;
}

void PdfWriter::FineOggetto() { RigaFile("endobj"); }

// One deflate state for the whole document, reset for every stream, and one output buffer: a long
// listing allocates them once.
struct PdfWriter::Compressore {
  explicit Compressore(int livello) {
    if (deflateInit(&z, livello) != Z_OK)
      throw Errore("Impossibile avviare la compressione del documento PDF");
  }
  ~Compressore() { deflateEnd(&z); }
  Compressore(const Compressore&) = delete;
  Compressore& operator=(const Compressore&) = delete;

  // The zlib stream of the bytes of `a` followed by those of `b`.
  std::string_view Comprimi(std::string_view a, std::string_view b) {
    if (deflateReset(&z) != Z_OK) throw Errore("Compressione del documento PDF non riuscita");
    const auto totale = static_cast<uLong>(a.size() + b.size());
    if (uscita.size() < deflateBound(&z, totale)) uscita.resize(deflateBound(&z, totale));
    z.next_out = reinterpret_cast<Bytef*>(uscita.data());
    z.avail_out = static_cast<uInt>(uscita.size());
    for (const std::string_view parte : {a, b}) {
      z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(parte.data()));
      z.avail_in = static_cast<uInt>(parte.size());
      while (z.avail_in > 0) Passo(Z_NO_FLUSH);
    }
    while (Passo(Z_FINISH) != Z_STREAM_END) {
    }
    return std::string_view(uscita.data(), uscita.size() - z.avail_out);
  }

  z_stream z{};
  std::string uscita;

 private:
  // One call of deflate, with more room when the output is full.
  int Passo(int flush) {
    if (z.avail_out == 0) {
      const std::size_t usati = uscita.size();
      uscita.resize(usati * 2 + 64);
      z.next_out = reinterpret_cast<Bytef*>(uscita.data() + usati);
      z.avail_out = static_cast<uInt>(uscita.size() - usati);
    }
    const int esito = deflate(&z, flush);
    if (esito != Z_OK && esito != Z_STREAM_END && esito != Z_BUF_ERROR)
      throw Errore("Compressione del documento PDF non riuscita");
    return esito;
  }
};

void PdfWriter::SetCompression(int level) {
  if (level == 0)
    compressore_.reset();
  else if (level >= 1 && level <= 9)
    compressore_ = std::make_unique<Compressore>(level);
}

// The end of a stream's dictionary, the stream of the bytes of `inizio` followed by those of
// `resto` (compressed when asked) and its end.
void PdfWriter::FineFlusso(std::string_view inizio, std::string_view resto) {
  if (compressore_) {
    const std::string_view dati = compressore_->Comprimi(inizio, resto);
    RigaFile("/Filter /FlateDecode /Length " + std::to_string(dati.size()) + " >>\rstream");
    Scrivi(dati);
  } else {
    RigaFile("/Length " + std::to_string(inizio.size() + resto.size()) + " >>\rstream");
    Scrivi(inizio);
    Scrivi(resto);
  }
  Scrivi("\n");
  RigaFile("endstream");
}

// Content lines go to the named object being recorded, else to the open page, else nowhere.
std::string* PdfWriter::Destinazione() {
  if (inOggetto_) return &bufferOggetto_;
  if (inPagina_) return &bufferPagina_;
  return nullptr;
}

void PdfWriter::Riga(std::string_view testo) {
  if (std::string* d = Destinazione()) {
    d->push_back('\r');
    d->append(testo);
  }
}

void PdfWriter::Registra(long numero, std::string origine, std::string descrizione) {
  errNumero_ = numero;
  errOrigine_ = std::move(origine);
  errDescrizione_ = std::move(descrizione);
}

// ------------------------------------------------------------------------------------------
// Units and paper.

void PdfWriter::SetScale(long mode, float factor) {
  switch (mode) {
    case 0:
      scala_ = 1.0f;
      break;
    case 1:
      scala_ = 72.0f;
      break;
    case 2:
      scala_ = 72.0f / 25.4f;
      break;
    case 3:
      scala_ = 72.0f / 2.54f;
      break;
    case 255:
      if (factor > 0) scala_ = factor;
      break;
    default:
      break;
  }
}

void PdfWriter::SetPaperSize(long size, float width, float height) {
  struct Formato {
    long codice;
    float l, a;
  };
  static constexpr Formato kFormati[] = {
      {0, 596, 842},    {1, 842, 596},    {2, 421, 596},    {3, 596, 421},    {4, 298, 421},
      {5, 421, 298},    {6, 210, 298},    {7, 298, 210},    {8, 612, 792},    {9, 792, 612},
      {10, 792, 1224},  {11, 1224, 792},  {12, 612, 1008},  {13, 1008, 612},  {14, 396, 612},
      {15, 612, 396},   {16, 522, 756},   {17, 756, 522},   {-1, 1192, 842},  {-2, 842, 1192},
      {-3, 1685, 1192}, {-4, 1192, 1685}, {-5, 2384, 1685}, {-6, 1685, 2384}, {-7, 3371, 2384},
      {-8, 2384, 3371}};
  if (size == 255) {
    if (width > 0 && height > 0) {
      larghezzaPagina_ = width * scala_;
      altezzaPagina_ = height * scala_;
    }
    return;
  }
  for (const auto& f : kFormati) {
    if (f.codice == size) {
      larghezzaPagina_ = f.l;
      altezzaPagina_ = f.a;
    }
  }
}

float PdfWriter::GetPageWidth(bool withMargins) const {
  return (larghezzaPagina_ - (withMargins ? margineSinistro_ + margineDestro_ : 0)) / scala_;
}

float PdfWriter::GetPageHeight(bool withMargins) const {
  return (altezzaPagina_ - (withMargins ? margineAlto_ + margineBasso_ : 0)) / scala_;
}

// ------------------------------------------------------------------------------------------
// Document and pages.

void PdfWriter::AzzeraDocumento() {
  file_.reset();
  uscita_.clear();
  posizione_ = 0;
  dimensioneFile_ = 0;
  chiuso_ = false;
  massimoOggetto_ = 3;
  offset_.assign(4, -1);
  pagine_ = 0;
  kids_.clear();
  risorseXObject_.clear();
  risorseFont_.clear();
  inPagina_ = inOggetto_ = false;
  bufferPagina_.clear();
  bufferOggetto_.clear();
  oggetti_.clear();
  nomiRegistrati_.clear();
  nomiSuonati_.clear();
  font_.clear();
  fontImportati_.clear();
  fontCorrente_ = -1;
  offsetVersione_ = 0;
  modelli_.clear();
}

std::string PdfWriter::BeginDoc(const std::string& fileName) {
  AzzeraDocumento();
  std::string nome = fileName;
  if (nome.empty()) {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    ::localtime_r(&t, &tm);
    std::random_device rd;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d%02d%02d%02d%u", tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec,
                  rd() % 10);
    char hex[32];
    std::snprintf(hex, sizeof hex, "~%llX.pdf", std::stoull(buf));
    nome = hex;
  }
  nomeFile_ = nome;
  try {
    file_ = std::make_unique<ScritturaAtomica>(nomeFile_);
  } catch (const ErroreFile&) {
    const auto cartella =
        nomeFile_.has_parent_path() ? nomeFile_.parent_path() : std::filesystem::path(".");
    std::error_code ec;
    if (!std::filesystem::is_directory(cartella, ec))
      Registra(76, "PdfWriter.BeginDoc", "Impossibile trovare il percorso - " + nome);
    else
      Registra(75, "PdfWriter.BeginDoc", "Errore di accesso al percorso/file - " + nome);
    return nome;
  }
  Scrivi("%PDF-1.3\n% ");
  Scrivi(kBanner);
  Scrivi(" rel. ");
  Scrivi(kVersione);
  Scrivi("\n");
  return nome;
}

long PdfWriter::BeginPage() {
  if (inPagina_) EndPage();
  ++pagine_;
  bufferPagina_.clear();
  inPagina_ = true;
  ImpostaRiempimento(Nero());
  ImpostaLinea(Nero());
  coloreTesto_ = Nero();
  SuonaAutomatici(false);
  spaziaturaCaratteri_ = spaziaturaParole_ = 0;
  scalaOrizzontale_ = 100;
  x_ = y_ = 0;
  interlinea_ = 1;
  return pagine_;
}

// Named objects whose options select this page, at its start (bit 16 clear) or end (bit 16 set).
void PdfWriter::SuonaAutomatici(bool fine) {
  const long p = pagine_;
  for (const auto& o : oggetti_) {
    if (((o.opzioni & 16) != 0) != fine) continue;
    if ((o.opzioni & 8) != 0 && p == 1) continue;
    const bool suona = (o.opzioni & 7) == 7 || (p == 1 && (o.opzioni & 1)) ||
                       (p % 2 == 1 && (o.opzioni & 4)) || (p % 2 == 0 && (o.opzioni & 2));
    if (suona) PlayObject(o.nome);
  }
}

void PdfWriter::EndPage() {
  if (!inPagina_) return;
  SuonaAutomatici(true);
  inPagina_ = false;
  const int n = IniziaOggetto(0);
  const std::string w = Num(larghezzaPagina_), h = Num(altezzaPagina_);
  RigaFile("<< /Type /Page /Parent 1 0 R /Contents " + std::to_string(n + 1) + " 0 R\r" +
           "/MediaBox [0 0 " + w + " " + h + "]\r/CropBox [0 0 " + w + " " + h +
           "]\r/BleedBox [0 0 " + w + " " + h + "]\r/Resources 2 0 R>>");
  FineOggetto();
  kids_ += std::to_string(n) + " 0 R ";

  std::string inizio =
      "1 0 0 -1 " + Num(margineSinistro_) + " " + Num(altezzaPagina_ - margineAlto_) + " cm \r";
  IniziaOggetto(0);
  RigaFile("<<");
  FineFlusso(inizio, bufferPagina_);
  FineOggetto();
  bufferPagina_.clear();
  bufferPagina_.shrink_to_fit();
}

void PdfWriter::ScriviFormaNominata(const std::string& nome, std::string_view contenuto) {
  const int n = IniziaOggetto(0);
  const std::string w = Num(2 * larghezzaPagina_), h = Num(2 * altezzaPagina_);
  RigaFile("<< /Type /XObject /Subtype /Form /FormType 1 /Name /" + NomePdf(nome) + "\r/BBox [" +
           Num(-2 * larghezzaPagina_) + " " + Num(-2 * altezzaPagina_) + " " + w + " " + h +
           "]\r/Matrix [1 0 0 1 0 0]");
  FineFlusso(contenuto, {});
  FineOggetto();
  risorseXObject_ += "/" + NomePdf(nome) + " " + std::to_string(n) + " 0 R \r";
  nomiRegistrati_.insert(nome);
}

std::string PdfWriter::Xmp() const {
  const std::string d = dataCreazione_;
  const std::string t = EscapeXml(titolo_), a = EscapeXml(autore_), s = EscapeXml(soggetto_),
                    k = EscapeXml(paroleChiave_);
  const std::string rdf = "http://www.w3.org/1999/02/22-rdf-syntax-ns#";
  const std::string ix = "http://ns.adobe.com/iX/1.0/";
  const std::string pdf = "http://ns.adobe.com/pdf/1.3/";
  const std::string xap = "http://ns.adobe.com/xap/1.0/";
  const std::string dc = "http://purl.org/dc/elements/1.1/";
  const std::vector<std::string> righe = {
      "<rdf:RDF xmlns:rdf='" + rdf + "' xmlns:iX='" + ix + "'>",
      " <rdf:Description about='' xmlns='" + pdf + "' xmlns:pdf='" + pdf + "'>",
      "  <pdf:Producer>" + a + "</pdf:Producer>",
      "  <pdf:Author>" + a + "</pdf:Author>",
      "  <pdf:Creator>" + a + "</pdf:Creator>",
      "  <pdf:ModDate>" + d + "</pdf:ModDate>",
      "  <pdf:Title>" + t + "</pdf:Title>",
      "  <pdf:CreationDate>" + d + "</pdf:CreationDate>",
      "  <pdf:Subject>" + s + "</pdf:Subject>",
      "  <pdf:Keywords>" + k + "</pdf:Keywords>",
      " </rdf:Description>",
      " <rdf:Description about='' xmlns='" + xap + "' xmlns:xap='" + xap + "'>",
      "  <xap:Author>" + a + "</xap:Author>",
      "  <xap:ModifyDate>" + d + "</xap:ModifyDate>",
      "  <xap:Title>",
      "   <rdf:Alt>",
      "  <rdf:li xml:lang='x-default'>" + t + "</rdf:li>",
      "   </rdf:Alt>",
      "  </xap:Title>",
      "  <xap:CreateDate>" + d + "</xap:CreateDate>",
      "  <xap:Description>",
      "   <rdf:Alt>",
      "  <rdf:li xml:lang='x-default'>" + s + "</rdf:li>",
      "   </rdf:Alt>",
      "  </xap:Description>",
      "  <xap:MetadataDate>" + d + "</xap:MetadataDate>",
      " </rdf:Description>",
      " <rdf:Description about='' xmlns='" + dc + "' xmlns:dc='" + dc + "'>",
      "  <dc:creator>" + a + "</dc:creator>",
      "  <dc:title>" + t + "</dc:title>",
      "  <dc:description>" + s + "</dc:description>",
      " </rdf:Description>",
      "</rdf:RDF>",
      "<?xpacket end='r'?>"};
  std::string corpo;
  for (std::size_t i = 0; i < righe.size(); ++i) {
    if (i > 0) corpo.push_back('\r');
    corpo += righe[i];
  }
  const std::size_t b = LunghezzaUtf8(corpo) + 64;
  return "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d' bytes='" + std::to_string(b) + "'?>\r" +
         corpo;
}

void PdfWriter::EndDoc() {
  if (chiuso_) return;
  try {
    if (inOggetto_) EndObject();
    if (pagine_ == 0) BeginPage();
    if (inPagina_) EndPage();
    // A name played but never recorded gets an empty object, so every page stays valid.
    for (const auto& nome : nomiSuonati_)
      if (!nomiRegistrati_.count(nome)) ScriviFormaNominata(nome, "");

    // Metadata (UTF-8, as XML requires).
    const std::string xmp = Xmp();
    const int m = IniziaOggetto(0);
    RigaFile("<< /Type /Metadata /Subtype /XML");
    RigaFile("/Length " + std::to_string(xmp.size()) + " >>\rstream");
    Scrivi(xmp);
    Scrivi("\n");
    RigaFile("endstream");
    FineOggetto();

    std::string risorse = "<<\r";
    if (!risorseFont_.empty()) risorse += "/Font <<\r" + risorseFont_ + ">>\r";
    risorse += "/ProcSet [/PDF /Text ]\r\r";
    if (!risorseXObject_.empty()) risorse += "/XObject <<\r" + risorseXObject_ + "\r>>\r";
    risorse += ">>";
    for (const int n : {3, 2}) {
      IniziaOggetto(n);
      RigaFile(risorse);
      FineOggetto();
    }
    IniziaOggetto(1);
    RigaFile("<<\r/Type /Pages /Count " + std::to_string(pagine_) + "\r/Kids [" + kids_ + "] \r>>");
    FineOggetto();

    const int k = IniziaOggetto(0);
    RigaFile("<< /Type /Catalog\r/Pages 1 0 R\r/Metadata " + std::to_string(m) + " 0 R");
    RigaFile("/ViewerPreferences <<  >>");
    RigaFile(">>");
    FineOggetto();

    auto testo = [](const std::string& utf8) { return StringaPdf(Utf8ToCp1252(utf8)); };
    const int i = IniziaOggetto(0);
    RigaFile("<<\r/Title " + testo(titolo_) + "\r/Author " + testo(autore_) + "\r/Creator " +
             testo(autore_) + "\r/Producer " + testo(autore_) + "\r/CreationDate " +
             testo(dataCreazione_) + "\r/Subject " + testo(soggetto_) + "\r/Keywords " +
             testo(paroleChiave_) + "\r>>");
    FineOggetto();

    const long long x = posizione_;
    RigaFile("xref\n0 " + std::to_string(massimoOggetto_ + 1) + "\n0000000000 65535 f\r");
    char voce[32];
    for (int n = 1; n <= massimoOggetto_; ++n) {
      const long long o =
          static_cast<std::size_t>(n) < offset_.size() ? offset_[static_cast<std::size_t>(n)] : -1;
      if (o < 0)
        throw Errore("Documento PDF incompleto: oggetto " + std::to_string(n) + " mancante");
      std::snprintf(voce, sizeof voce, "%010lld 00000 n\r", o);
      RigaFile(voce);
    }
    RigaFile("trailer\n<< /Size " + std::to_string(massimoOggetto_ + 1) + " /Info " +
             std::to_string(i) + " 0 R /Root " + std::to_string(k) + " 0 R");
    RigaFile(">>\nstartxref\n" + std::to_string(x) + "\n%%EOF");
    Svuota();
    if (offsetVersione_ > 0) file_->Riscrivi(0, "%PDF-1." + std::to_string(3 + offsetVersione_));
    file_->Conferma();
    dimensioneFile_ = posizione_;
    file_.reset();
    chiuso_ = true;
  } catch (...) {
    // The temporary file goes away with its writer; the destination stays as it was.
    file_.reset();
    uscita_.clear();
    chiuso_ = true;
    throw;
  }
}

void PdfWriter::OpenDoc(ApriDocumento& apri) const {
  std::error_code ec;
  if (chiuso_ && std::filesystem::exists(nomeFile_, ec)) apri.Apri(nomeFile_);
}

// ------------------------------------------------------------------------------------------
// Spaces.

void PdfWriter::BeginSpace(float x, float y, float scaleX, float scaleY, float rotation) {
  Riga("q");
  if (!(scaleX == 1 && scaleY == 1 && x == 0 && y == 0))
    Riga(Num(scaleX) + " 0 0 " + Num(scaleY) + " " + Num(x * static_cast<double>(scala_)) + " " +
         Num(y * static_cast<double>(scala_)) + " cm");
  if (rotation != 0) AxisRotation(rotation);
  SetXY(0, 0);
}

void PdfWriter::AxisRotation(float degrees) {
  if (std::fmod(std::round(degrees), 360.0) == 0) return;
  const double a = degrees * std::numbers::pi / 180.0;
  Riga(Num(std::cos(a)) + " " + Num(-std::sin(a)) + " " + Num(std::sin(a)) + " " +
       Num(std::cos(a)) + " 0 0 cm");
}

void PdfWriter::EndSpace() { Riga("Q"); }

// ------------------------------------------------------------------------------------------
// Templates.

ModelloPdf* PdfWriter::Indicizza(const std::filesystem::path& file) {
  std::error_code ec;
  const std::string chiave = std::filesystem::absolute(file, ec).lexically_normal().string();
  for (auto& m : modelli_)
    if (m->Chiave() == chiave) return m.get();
  const std::string nome = file.string();
  if (!std::filesystem::is_regular_file(file, ec)) {
    Registra(53, "PdfWriter.GetInfo", "File non trovato - " + nome);
    return nullptr;
  }
  std::string dati;
  {
    const auto dimensione = std::filesystem::file_size(file, ec);
    std::ifstream in(file, std::ios::binary);
    if (ec || !in) {
      Registra(75, "PdfWriter.GetInfo", "Errore di accesso al percorso/file - " + nome);
      return nullptr;
    }
    if (dimensione > LettorePdf::kDimensioneMassima) {
      Registra(321, "PdfWriter.GetInfo",
               "Formato di file non valido: file PDF troppo grande - " + nome);
      modelli_.push_back(std::make_unique<ModelloPdf>(chiave, nullptr));
      return modelli_.back().get();
    }
    dati.resize(static_cast<std::size_t>(dimensione));
    in.read(dati.data(), static_cast<std::streamsize>(dati.size()));
    dati.resize(static_cast<std::size_t>(in.gcount()));
  }
  std::unique_ptr<LettorePdf> lettore;
  try {
    lettore = std::make_unique<LettorePdf>(std::move(dati));
  } catch (const ErroreModelloPdf& e) {
    // A damaged file stays in the cache without pages: it is not read again for every page.
    Registra(321, "PdfWriter.GetInfo",
             std::string("Formato di file non valido: ") + e.what() + " - " + nome);
    modelli_.push_back(std::make_unique<ModelloPdf>(chiave, nullptr));
    return modelli_.back().get();
  }
  if (lettore->Cifrato()) {
    Registra(321, "PdfWriter.GetInfo", "Formato di file non valido: file PDF cifrato - " + nome);
    return nullptr;
  }
  modelli_.push_back(std::make_unique<ModelloPdf>(chiave, std::move(lettore)));
  return modelli_.back().get();
}

bool PdfWriter::ImportPage(const std::filesystem::path& fileName, long page, float x, float y,
                           float width, float height) {
  if (page < 1) throw Errore("Numero di pagina del modello non valido: " + std::to_string(page));
  ModelloPdf* m = Indicizza(fileName);
  if (m == nullptr || page > m->NumeroPagine()) return false;
  std::size_t indice = 0;
  while (modelli_[indice].get() != m) ++indice;
  const std::string nome = "_PDF_" + std::to_string(indice + 1) + "." + std::to_string(page);
  ModelloPdf::Pagina& pagina = m->PaginaN(static_cast<int>(page));
  if (pagina.stato == ModelloPdf::Stato::Fallita) return false;
  if (pagina.stato == ModelloPdf::Stato::DaImportare) {
    if (!file_) Scrivi("");  // throws: no document to copy the page into
    ModelloPdf::PaginaPreparata p;
    try {
      p = m->Prepara(static_cast<int>(page), massimoOggetto_ + 1, avanzamento_);
    } catch (const ErroreModelloPdf& e) {
      pagina.stato = ModelloPdf::Stato::Fallita;
      Registra(321, "PdfWriter.ImportPage",
               std::string("Formato di file non valido: ") + e.what() + ", pagina " +
                   std::to_string(page) + " - " + fileName.string());
      return false;
    }
    for (const auto& [numero, corpo] : p.oggetti) {
      IniziaOggetto(numero);
      Scrivi(corpo);
      FineOggetto();
    }
    for (const auto& [chiave, numero] : p.fontStandard) fontImportati_.emplace(chiave, numero);
    IniziaOggetto(p.numeroForma);
    Scrivi(p.corpoForma);
    FineOggetto();
    risorseXObject_ += "/" + nome + " " + std::to_string(p.numeroForma) + " 0 R \r";
    m->Conferma(static_cast<int>(page), p);
  }
  offsetVersione_ = std::max(offsetVersione_, m->VersioneMinore() - 3);

  const double s = scala_;
  const double pw = pagina.larghezza, ph = pagina.altezza;
  double w = width, h = height;
  if (w == 0 && h == 0) {
    w = pw / s;
    h = ph / s;
  } else if (w == 0) {
    w = h * pw / ph;
  } else if (h == 0) {
    h = w * ph / pw;
  }
  x_ = x * s;
  y_ = y * s;
  Riga("q");
  Riga(Num(w * s / pw) + " 0 0 " + Num(-(h * s / ph)) + " " + Num(x * s) + " " + Num((y + h) * s) +
       " cm");
  Riga("/" + nome + " Do");
  Riga("Q");
  return true;
}

void ImportaPaginaModello(PdfWriter& w, const std::filesystem::path& modello, long page,
                          std::string_view stampa) {
  const long errore = w.ErrNumber();
  const std::string descrizione = w.ErrDescription();
  if (w.ImportPage(modello, page, 0, 0, 0, 0)) return;
  std::string perche;
  if (w.ErrNumber() != errore || w.ErrDescription() != descrizione) {
    perche = w.ErrDescription();
    // The writer's description ends with the file's name, which the message gives already.
    const std::string coda = " - " + modello.string();
    if (perche.size() > coda.size() && perche.ends_with(coda))
      perche.resize(perche.size() - coda.size());
  } else {
    perche = "manca la pagina " + std::to_string(page);
  }
  throw ErroreFile("Impossibile usare il modello di stampa " + modello.string() + " (" + perche +
                   "): " + std::string(stampa) + " non è stato scritto.");
}

// ------------------------------------------------------------------------------------------
// Named objects.

void PdfWriter::BeginObject(const std::string& name, long options) {
  if (inOggetto_) return;
  oggetti_.push_back({name, options});
  bufferOggetto_.clear();
  inOggetto_ = true;
}

void PdfWriter::EndObject() {
  if (!inOggetto_) return;
  inOggetto_ = false;
  ScriviFormaNominata(oggetti_.back().nome, bufferOggetto_);
  bufferOggetto_.clear();
}

void PdfWriter::PlayObject(const std::string& name) {
  nomiSuonati_.insert(name);
  Riga("q /" + NomePdf(name) + " Do Q");
}

// ------------------------------------------------------------------------------------------
// Fonts and colours.

void PdfWriter::SetFont(const std::string& name, float size, long style, long encoding) {
  FontStandard f = FontStandard::Risolvi(name, style, encoding);
  int indice = -1;
  for (std::size_t i = 0; i < font_.size(); ++i)
    if (font_[i].chiave == f.chiave && font_[i].codifica == f.codifica)
      indice = static_cast<int>(i);
  if (indice < 0) {
    const std::string codifica =
        f.simbolico ? "" : (f.codifica == 1 ? "MacRomanEncoding" : "WinAnsiEncoding");
    int n = 0;
    // The same font already copied with a template page (a listing drawn again over its own
    // pages) is used as it is.
    if (const auto copia = fontImportati_.find(f.nomeBase + "/" + codifica);
        copia != fontImportati_.end()) {
      n = copia->second;
    } else {
      n = IniziaOggetto(0);
      RigaFile("<< /Type /Font /Subtype /Type1 /Name /" + NomePdf(f.nomeRisorsa) + " /BaseFont /" +
               NomePdf(f.nomeBase) + " /FirstChar 0 /LastChar 255");
      if (!f.simbolico) RigaFile("/Encoding << /Type /Encoding /BaseEncoding /" + codifica + ">>");
      RigaFile(" >>");
      FineOggetto();
    }
    risorseFont_ += "/" + NomePdf(f.nomeRisorsa) + " " + std::to_string(n) + " 0 R ";
    font_.push_back(std::move(f));
    indice = static_cast<int>(font_.size()) - 1;
  }
  fontCorrente_ = indice;
  if (size > 0)
    dimensione_ = size;
  else if (dimensione_ == 0)
    dimensione_ = 10;
  stile_ = style;
}

void PdfWriter::ImpostaRiempimento(const ColorePdf& colore) {
  coloreRiempimento_ = colore;
  if (std::string* d = Destinazione()) {
    d->push_back('\r');
    *d += colore.componenti;
    *d += " rg";
  }
}

void PdfWriter::ImpostaLinea(const ColorePdf& colore) {
  coloreLinea_ = colore;
  if (std::string* d = Destinazione()) {
    d->push_back('\r');
    *d += colore.componenti;
    *d += " RG";
  }
}

void PdfWriter::SetColorText(std::string_view colour) {
  if (auto c = ColorePdf::Da(colour)) coloreTesto_ = std::move(*c);
}

void PdfWriter::SetColorFill(std::string_view colour) {
  if (auto c = ColorePdf::Da(colour)) ImpostaRiempimento(*c);
}

void PdfWriter::SetColorLine(std::string_view colour) {
  if (auto c = ColorePdf::Da(colour)) ImpostaLinea(*c);
}

// ------------------------------------------------------------------------------------------
// Text.

double PdfWriter::Larghezza(std::string_view cp1252) const {
  if (fontCorrente_ < 0) return 0;
  const long long w = font_[static_cast<std::size_t>(fontCorrente_)].Larghezza(cp1252);
  std::size_t spazi = 0;
  if (spaziaturaParole_ != 0)
    for (const char c : cp1252) spazi += c == ' ';
  return (static_cast<double>(w) * dimensione_ / 1000.0 +
          static_cast<double>(spazi) * spaziaturaParole_ +
          static_cast<double>(cp1252.size()) * spaziaturaCaratteri_) *
         scalaOrizzontale_ / 100.0 / scala_;
}

float PdfWriter::TextHeight() const {
  if (fontCorrente_ < 0) return 0;
  return static_cast<float>(font_[static_cast<std::size_t>(fontCorrente_)].altezza *
                            static_cast<double>(dimensione_) / 1000.0 / scala_);
}

float PdfWriter::TextLength(std::string_view text) const {
  // ASCII is the same in Windows-1252.
  for (const char c : text)
    if (static_cast<unsigned char>(c) >= 0x80)
      return static_cast<float>(Larghezza(Utf8ToCp1252(text)));
  return static_cast<float>(Larghezza(text));
}

void PdfWriter::SetXY(float x, float y) {
  x_ = x * static_cast<double>(scala_);
  y_ = y * static_cast<double>(scala_);
}

float PdfWriter::GetX() const { return static_cast<float>(x_ / scala_); }
float PdfWriter::GetY() const { return static_cast<float>(y_ / scala_); }

void PdfWriter::RigaTesto(double x, double y, double larghezza, std::string_view t, double rientro,
                          long flags, double misura) {
  const double s = scala_;
  if (std::all_of(t.begin(), t.end(), [](char c) { return c == ' '; })) {
    x_ = x * s;
    y_ = y * s;
    return;
  }
  // A text with no font chosen is drawn in Arial 10 rather than with a missing font.
  if (fontCorrente_ < 0) SetFont("Arial", 0, stile_, 0);
  const long modo = flags & 455;
  double naturale = 0, misurata = 0, d = 0;
  std::string prima, dopo;
  const double p = scalaOrizzontale_;
  if (modo == 64) {
    double somma = 0;
    int parole = 1;
    std::size_t inizio = 0;
    for (std::size_t i = 0; i <= t.size(); ++i) {
      if (i == t.size() || t[i] == ' ') {
        somma += Larghezza(t.substr(inizio, i - inizio));
        if (i < t.size()) ++parole;
        inizio = i + 1;
      }
    }
    const int g = parole - 1;
    const double b = Larghezza(" ");
    naturale = somma + g * b;
    misurata = somma + rientro;
    if (g > 0) {
      const double extra = larghezza - misurata - g * b;
      Numero(prima, extra / g * s);
      prima += " Tw ";
      dopo.push_back(' ');
      Numero(dopo, spaziaturaParole_);
      dopo += " Tw";
      naturale += extra;
    }
  } else {
    if (modo == 128 || modo == 256) scalaOrizzontale_ = 100;
    naturale = misura >= 0 && scalaOrizzontale_ == p ? misura : Larghezza(t);
    misurata = naturale + rientro;
    if (modo == 2) {
      d = larghezza - misurata;
    } else if (modo == 4) {
      d = (larghezza - misurata) / 2;
    } else if (modo == 128 || modo == 256) {
      const double m = misurata > 0 ? larghezza * 100 / misurata : 100;
      if (larghezza < misurata || modo == 256) {
        Numero(prima, m);
        prima += " Tz ";
        dopo = larghezza < misurata ? " " : "  ";
        Numero(dopo, p);
        dopo += " Tz";
      }
    }
  }
  d += rientro;
  scalaOrizzontale_ = p;
  const double xp = (x + d) * s, yp = y * s;

  if (std::string* out = Destinazione()) {
    // The line is written in one piece into room made for its longest form.
    const CorniceTesto& cornice = Cornice();
    constexpr std::string_view kTm = " Tm\r", kTj = " Tj";
    std::string& o = *out;
    const std::size_t inizio = o.size();
    o.resize(inizio + cornice.apertura.size() + 2 * kNumeroMassimo + 1 + kTm.size() + prima.size() +
             2 * t.size() + 2 + kTj.size() + dopo.size() + cornice.chiusura.size());
    char* w = o.data() + inizio;
    const auto copia = [&w](std::string_view v) { w = std::copy(v.begin(), v.end(), w); };
    copia(cornice.apertura);
    // Each number is copied before the next is looked up, which may take its place in the table.
    copia(TestoNumero(xp, numeroAppoggio_));
    *w++ = ' ';
    copia(TestoNumero(yp, numeroAppoggio_));
    copia(kTm);
    copia(prima);
    w = ScriviStringaPdf(w, t);
    copia(kTj);
    copia(dopo);
    copia(cornice.chiusura);
    o.resize(static_cast<std::size_t>(w - o.data()));
  }

  if (stile_ & (4 | 8 | 16)) {
    const ColorePdf lineaPrecedente = coloreLinea_;
    Riga("q");
    ImpostaLinea(coloreTesto_);
    Riga(Num(dimensione_ / 16.0) + " w 1 0 0 1 " + Num(xp) + " " + Num(yp) + " cm");
    const double l = naturale * s;
    const std::pair<long, double> tratti[] = {
        {4, dimensione_ / 8.0}, {8, -0.8 * dimensione_}, {16, -0.3 * dimensione_}};
    for (const auto& [bit, o] : tratti)
      if (stile_ & bit) Riga("0 " + Num(o) + " m " + Num(l) + " " + Num(o) + " l S");
    ImpostaLinea(lineaPrecedente);
    Riga("Q");
  }
  x_ = (x + naturale) * s;
  y_ = yp;
}

// The text takes the fill colour of the text, and the fill colour in force comes back after it.
const PdfWriter::CorniceTesto& PdfWriter::Cornice() {
  CorniceTesto& c = corniceTesto_;
  const std::string& font = font_[static_cast<std::size_t>(fontCorrente_)].nomeRisorsa;
  if (c.font == font && c.dimensione == dimensione_ && c.coloreTesto == coloreTesto_.componenti &&
      c.coloreRiempimento == coloreRiempimento_.componenti)
    return c;
  c.font = font;
  c.dimensione = dimensione_;
  c.coloreTesto = coloreTesto_.componenti;
  c.coloreRiempimento = coloreRiempimento_.componenti;
  std::string& a = c.apertura;
  a = "\r" + c.coloreTesto + " rg\rBT\r/";
  AggiungiNomePdf(a, font);
  a.push_back(' ');
  Numero(a, dimensione_);
  a += " Tf ";
  Numero(a, dimensione_);
  a += " TL\r1 0 0 -1 ";
  c.chiusura = "\rET\r" + c.coloreRiempimento + " rg";
  return c;
}

void PdfWriter::DrawText(float x, float y, std::string_view text, long align) {
  RigaTesto(x, y, 0, Utf8ToCp1252(text), 0, align & 7);
}

std::string PdfWriter::DrawTextBox(float x, float y, float width, float height,
                                   std::string_view text, float indent, long flags, long border) {
  std::string& t = testoBox_;
  t.clear();
  AggiungiCp1252(text, t);
  bool continuazione = !t.empty() && t[0] == '\0';
  if (continuazione) t.erase(0, 1);
  const double s = scala_;
  const double lh = TextHeight() * s * interlinea_;
  const bool giustificato = (flags & 64) != 0;
  auto sostituisci = [&t](std::string_view da, std::string_view a) {
    for (std::size_t p = t.find(da); p != std::string::npos; p = t.find(da, p))
      t.replace(p, da.size(), a);
  };
  if (giustificato) sostituisci("  ", " ");
  sostituisci("\r\n\r\n", "\r\n \r\n");
  if (t.size() >= 2 && t.compare(t.size() - 2, 2, "\r\n") == 0) t.push_back(' ');

  if (border != 1) {
    Riga(Num(x * s) + " " + Num(y * s) + " " + Num(width * s) + " " + Num(height * s) + " re");
    std::string pittura;
    if (!(border & 4)) {
      pittura = std::string((border & 2) ? "h" : "") + ((border & 1) ? "" : " S");
      while (!pittura.empty() && pittura.front() == ' ') pittura.erase(0, 1);
    } else {
      pittura = (border & 1) ? "f*" : ((border & 2) ? "b*" : "B*");
    }
    if (border & 128) pittura = "W " + pittura;
    Riga(pittura);
  }

  // The baseline of the first of n lines.
  auto altoPrimaRiga = [&](double n) {
    double alto;
    if (flags & 32)
      alto = (lh / 2) * (2 - n) + (height / 2.0 + y) * s;
    else if (flags & 16)
      alto = (y + height) * s - (n - 1) * lh;
    else
      alto = y * s + lh;
    if (fontCorrente_ >= 0)
      alto += dimensione_ * font_[static_cast<std::size_t>(fontCorrente_)].discesa / 1000.0;
    return alto;
  };

  // One paragraph that fits on one line, as a listing's cell: drawn at once, with the same test of
  // the width, word by word, as the line breaking below, which it spares its copies.
  if (!continuazione && !giustificato && t.find("\r\n") == std::string::npos) {
    const std::string_view tv(t);
    std::size_t p = tv.find(' ');
    const bool unaParola = p == std::string_view::npos;
    const double primaParola = Larghezza(tv.substr(0, p));
    double lw = primaParola + indent;
    bool entra = true;
    const double b = unaParola ? 0 : Larghezza(" ");
    for (int c = 0; p != std::string_view::npos && entra; ++c) {
      const std::size_t inizio = p + 1;
      p = tv.find(' ', inizio);
      const double w = Larghezza(tv.substr(inizio, p == std::string_view::npos ? p : p - inizio));
      entra = (flags & (128 | 256)) != 0 || (c + 1) * b + lw + w <= width;
      lw += w;
    }
    if (entra) {
      RigaTesto(x, altoPrimaRiga(1) / s, width, tv, indent, flags, unaParola ? primaParola : -1);
      x_ = x * s;
      y_ = (y + lh / s) * s;
      return {};
    }
  }

  const double b = Larghezza(" ");
  std::vector<std::string_view> paragrafi;
  for (std::size_t inizio = 0;;) {
    const std::size_t p = t.find("\r\n", inizio);
    paragrafi.push_back(std::string_view(t).substr(
        inizio, p == std::string::npos ? std::string::npos : p - inizio));
    if (p == std::string::npos) break;
    inizio = p + 2;
  }

  struct RigaBox {
    std::string testo;
    bool primaDelParagrafo, ultimaDelParagrafo;
  };
  std::vector<RigaBox> righe;
  std::string resto;
  const bool senzaACapo = (flags & (128 | 256)) != 0;
  std::vector<std::string_view> parole;
  std::vector<double> larghezze;
  for (std::size_t ip = 0; ip < paragrafi.size(); ++ip) {
    parole.clear();
    larghezze.clear();
    const std::string_view par = paragrafi[ip];
    for (std::size_t inizio = 0;;) {
      const std::size_t p = par.find(' ', inizio);
      parole.push_back(
          par.substr(inizio, p == std::string_view::npos ? std::string_view::npos : p - inizio));
      larghezze.push_back(Larghezza(parole.back()));
      if (p == std::string_view::npos) break;
      inizio = p + 1;
    }
    bool pieno = false;
    for (std::size_t k = 0; k < parole.size();) {
      std::string riga(parole[k]);
      double lw = larghezze[k] + (k == 0 ? indent : 0);
      const bool primaRiga = k == 0;
      ++k;
      for (int c = 0; k < parole.size() && (senzaACapo || (c + 1) * b + lw + larghezze[k] <= width);
           ++c, ++k) {
        riga.push_back(' ');
        riga += parole[k];
        lw += larghezze[k];
      }
      righe.push_back({std::move(riga), primaRiga && !continuazione, k == parole.size()});
      continuazione = false;
      if (height > 0 && lh * static_cast<double>(righe.size() + 1) > height * s) {
        if (k < parole.size()) resto.push_back('\0');
        for (std::size_t j = k; j < parole.size(); ++j) {
          if (j > k) resto.push_back(' ');
          resto += parole[j];
        }
        for (std::size_t j = ip + 1; j < paragrafi.size(); ++j) {
          if (!resto.empty()) resto += "\r\n";
          resto += paragrafi[j];
        }
        pieno = true;
        break;
      }
    }
    if (pieno) break;
  }

  const double n = static_cast<double>(righe.size());
  const double alto = altoPrimaRiga(n);

  for (std::size_t i = 0; i < righe.size(); ++i) {
    const RigaBox& r = righe[i];
    RigaTesto(x, (static_cast<double>(i) * lh + alto) / s, width, r.testo,
              r.primaDelParagrafo ? indent : 0, (r.ultimaDelParagrafo && giustificato) ? 1 : flags);
  }
  x_ = x * s;
  y_ = (y + n * lh / s) * s;
  return Cp1252ToUtf8(resto);
}

}  // namespace fcl
