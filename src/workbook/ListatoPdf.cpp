#include "workbook/ListatoPdf.h"

#include <cmath>
#include <cstdint>
#include <map>
#include <utility>

#include "common/Errori.h"
#include "common/FormatoItaliano.h"
#include "pdf/PdfWriter.h"

namespace fcl {

namespace {

constexpr float kAltezzaBox = 0.4f;
constexpr float kPrimaRiga = 4.8f;
constexpr float kUltimaRiga = 19.0f;  // a row below this opens a new page: 29 rows a page
constexpr float kPasso = 0.5f;
constexpr int kRighePagina = 29;
// The largest listing rewritten with the marks (about 100,000 rows).
constexpr std::uintmax_t kDimensioneMassimaSegni = 32u << 20;

enum class Formato { Testo, Importo };

struct Colonna {
  int indice;  // 0 = A
  float x;
  float larghezza;
  long flags;
  Formato formato;
};

constexpr Formato T = Formato::Testo;
constexpr Formato I = Formato::Importo;

constexpr Colonna kFA[] = {{0, 0.8f, 3.0f, 1, T},   {1, 2.8f, 5.0f, 1, T},   {2, 6.0f, 0.1f, 9, T},
                           {3, 6.5f, 1.4f, 2, I},   {4, 8.1f, 1.4f, 2, I},   {5, 10.0f, 0.1f, 9, T},
                           {6, 10.8f, 1.8f, 2, I},  {7, 13.2f, 1.4f, 2, I},  {8, 15.1f, 1.4f, 2, I},
                           {9, 17.0f, 1.4f, 2, I},  {10, 18.6f, 1.4f, 2, I}, {11, 20.8f, 1.4f, 2, I},
                           {12, 22.6f, 1.4f, 2, I}, {13, 24.2f, 1.4f, 2, I}, {14, 26.1f, 1.4f, 2, I},
                           {15, 27.6f, 1.4f, 2, I}};
constexpr Colonna kSA[] = {
    {0, 0.8f, 5.0f, 1, T}, {1, 4.1f, 2.6f, 2, I}, {2, 6.8f, 2.0f, 2, I}, {3, 10.0f, 0.1f, 9, I}};
constexpr Colonna kBL[] = {{10, 7.0f, 1.0f, 9, T},   {11, 9.8f, 0.1f, 9, T},  {12, 10.4f, 0.1f, 9, T},
                           {13, 11.0f, 0.1f, 9, T},  {14, 11.4f, 1.8f, 2, I}, {15, 13.2f, 1.3f, 2, I},
                           {16, 14.8f, 1.4f, 2, I},  {17, 16.1f, 1.6f, 2, I}, {18, 17.8f, 1.7f, 2, I},
                           {19, 19.2f, 1.6f, 2, I},  {20, 21.1f, 1.25f, 2, I}, {21, 22.2f, 1.5f, 2, I},
                           {22, 23.7f, 1.6f, 2, I},  {23, 25.25f, 1.6f, 2, I}, {24, 27.2f, 1.5f, 2, I}};
constexpr Colonna kFN[] = {{10, 16.5f, 0.5f, 9, T}, {11, 18.7f, 0.5f, 9, T}, {12, 20.8f, 2.0f, 9, T},
                           {13, 23.0f, 0.1f, 9, T}, {14, 23.5f, 2.0f, 2, I}, {15, 25.3f, 2.0f, 2, I},
                           {16, 28.0f, 0.1f, 9, T}};
constexpr Colonna kSE[] = {{10, 14.5f, 1.0f, 9, T}, {11, 17.2f, 0.5f, 9, T}, {12, 19.4f, 0.5f, 9, T},
                           {13, 21.3f, 0.5f, 9, T}, {14, 23.0f, 2.0f, 2, I}, {15, 24.8f, 2.0f, 2, I},
                           {16, 27.5f, 0.1f, 9, T}};
constexpr Colonna kTU[] = {{8, 17.0f, 0.5f, 9, T},  {9, 19.5f, 0.5f, 9, T},  {10, 21.0f, 1.0f, 9, T},
                           {11, 23.2f, 2.0f, 2, I}, {12, 25.2f, 2.0f, 2, I}, {13, 28.0f, 0.1f, 9, T}};
constexpr Colonna kFE[] = {{0, 0.8f, 3.0f, 1, T},  {1, 3.0f, 5.0f, 1, T},  {2, 7.5f, 0.1f, 9, T},
                           {3, 9.5f, 0.1f, 9, T},  {4, 11.0f, 0.1f, 9, T}, {5, 12.5f, 0.1f, 9, T},
                           {6, 14.0f, 0.5f, 9, T}, {7, 16.5f, 0.5f, 9, T}, {8, 18.5f, 1.0f, 1, T},
                           {9, 20.6f, 2.0f, 2, I}, {10, 22.7f, 2.0f, 2, I}, {11, 25.5f, 0.1f, 9, T}};
// FR: the current layout's columns; the earlier layout reaches the same places through kFRPrima.
constexpr Colonna kFR[] = {{0, 0.8f, 3.0f, 1, T},  {1, 4.0f, 0.1f, 9, T},  {2, 5.5f, 0.5f, 9, T},
                           {3, 8.0f, 0.5f, 9, T},  {4, 10.8f, 0.1f, 9, T}, {5, 13.0f, 0.1f, 9, T},
                           {6, 15.8f, 0.1f, 9, T}, {7, 17.0f, 2.0f, 2, I}, {8, 18.7f, 2.0f, 2, I},
                           {9, 21.5f, 0.1f, 9, T}};
constexpr int kFRPrima[] = {0, 1, 5, 6, 2, 3, 4, 7, 8, 9};
constexpr Colonna kNE[] = {{0, 0.8f, 3.0f, 1, T},  {1, 3.0f, 5.0f, 1, T},  {2, 6.8f, 0.5f, 9, T},
                           {3, 9.3f, 0.5f, 9, T},  {4, 11.8f, 2.0f, 9, T}, {5, 14.0f, 2.0f, 2, I},
                           {6, 15.8f, 2.0f, 2, I}, {7, 19.0f, 0.1f, 9, T}};
constexpr Colonna kNR[] = {{0, 0.8f, 3.0f, 1, T}, {1, 3.5f, 0.5f, 9, T}, {2, 6.0f, 0.5f, 9, T},
                           {3, 7.8f, 2.0f, 2, I}, {4, 9.6f, 2.0f, 2, I}, {5, 12.5f, 0.1f, 9, T}};
constexpr Colonna kDF[] = {{0, 0.3f, 3.0f, 1, T}, {1, 4.0f, 0.5f, 9, T}, {2, 6.2f, 2.0f, 2, I},
                           {3, 9.5f, 0.1f, 9, T}, {4, 11.8f, 0.1f, 9, T}};

template <std::size_t N>
std::pair<const Colonna*, std::size_t> Tabella(const Colonna (&t)[N]) {
  return {t, N};
}

std::pair<const Colonna*, std::size_t> ColonneQuadro(Quadro q) {
  switch (q) {
    case FA: return Tabella(kFA);
    case SA: return Tabella(kSA);
    case BL: return Tabella(kBL);
    case FE: return Tabella(kFE);
    case FR: return Tabella(kFR);
    case NE: return Tabella(kNE);
    case NR: return Tabella(kNR);
    case DF: return Tabella(kDF);
    case FN: return Tabella(kFN);
    case SE: return Tabella(kSE);
    case TU: return Tabella(kTU);
  }
  return {nullptr, 0};
}

std::string Rifila(std::string_view s) {
  const auto inizio = s.find_first_not_of(' ');
  if (inizio == std::string_view::npos) return {};
  const auto fine = s.find_last_not_of(' ');
  return std::string(s.substr(inizio, fine - inizio + 1));
}

// The first `n` characters of a UTF-8 text.
std::string PrimiCaratteri(const std::string& s, std::size_t n) {
  std::size_t contati = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
      if (contati == n) return s.substr(0, i);
      ++contati;
    }
  }
  return s;
}

}  // namespace

std::string ImportoListato(std::string_view cella) {
  const auto numero = LeggiNumeroItaliano(cella);
  if (!numero) return std::string(cella);
  const double arrotondato = std::round(*numero);
  if (arrotondato == 0) return {};
  return ConSeparatoreMigliaia(NumeroItaliano(arrotondato));
}

std::string RigaNominativoListato(Quadro quadro, const CelleRiga& celle) {
  std::string c[10];
  for (int i = 0; i < 10; ++i) c[i] = Rifila(celle[i]);
  std::size_t taglio = 0;
  std::string riga;
  if (quadro == TU) {
    riga = c[0] + " " + c[1] + " - " + c[2] + " - " + c[3] + " ( " + c[4] + ")" + " - " + c[5] +
           "  " + c[6] + "  " + c[7];
    taglio = 105;
  } else if (quadro == BL || quadro == FN || quadro == SE) {
    if (!c[0].empty())
      riga = c[0] + " " + c[1] + " - " + c[2] + " - " + c[3] + " ( " + c[4] + ")" + " - " + c[5];
    else
      riga = c[6] + " -  " + c[7] + " - " + c[8] + " - " + c[9];
    taglio = quadro == BL ? 40 : quadro == FN ? 52 : 80;
  } else {
    return {};
  }
  return PrimiCaratteri(riga, taglio);
}

ListatoPdf::ListatoPdf() = default;
ListatoPdf::~ListatoPdf() = default;

void ListatoPdf::Inizia(const IntestazioneListato& intestazione) {
  intestazione_ = intestazione;
  writer_.reset();
  pagine_ = 0;
  rigaCorrente_ = 0;
  tratti_.clear();
}

void ListatoPdf::NuovoFoglio(const FoglioListato& foglio) {
  foglio_ = foglio;
  rigaCorrente_ = 0;
}

void ListatoPdf::ControllaInizio() {
  if (writer_ && writer_->ErrNumber() != 0) {
    const std::string descrizione = writer_->ErrDescription();
    writer_.reset();
    throw ErroreFile("Impossibile scrivere il listato di controllo " +
                     intestazione_.percorsoListato.string() + ": " + descrizione);
  }
}

void ListatoPdf::NuovaPagina() {
  if (!writer_) {
    writer_ = std::make_unique<PdfWriter>(intestazione_.nomeOperatore);
    writer_->SetScale(3);
    writer_->SetPaperSize(1);
    writer_->BeginDoc(intestazione_.percorsoListato.string());
    ControllaInizio();
  }
  PdfWriter& w = *writer_;
  w.BeginPage();
  // The template page is portrait; it lies turned into the landscape page.
  const float larghezza = w.GetPageWidth(false);
  w.BeginSpace(larghezza, 0, 1, 1, 270);
  w.ImportPage(intestazione_.cartellaProgramma / "Stampe" / "base.pdf", foglio_.quadro, 0, 0, 0,
               0);
  w.EndSpace();
  ++pagine_;
  w.PlayObject("TotPagine");
  w.SetFont("Arial", 12, 1);
  w.SetColorText("Blue");
  w.DrawText(2.2f, 1.7f,
             "Anno " + intestazione_.annoRiferimento + " - " + intestazione_.nomeOperatore, 1);
  w.SetColorText("Black");
  w.SetFont("Arial", 6, 1);
  w.DrawText(0.3f, 2.1f, "Archivio base dati: " + intestazione_.percorsoCartellaLavoro.string(),
             1);
  w.SetFont("Arial", 10, 1);
  w.DrawText(15.7f, 20.35f, std::to_string(pagine_), 1);
  rigaCorrente_ = kPrimaRiga;
}

void ListatoPdf::Riga(int riga, const CelleRiga& celle) {
  if (rigaCorrente_ == 0 || rigaCorrente_ > kUltimaRiga - 0.01f) NuovaPagina();
  // Rows are counted in half centimetres from the first, so the position never drifts.
  rigaCorrente_ += kPasso;
  const float y = rigaCorrente_;
  const int linea = static_cast<int>(std::lround((y - kPrimaRiga) / kPasso)) - 1;
  if (tratti_.empty() || tratti_.back().foglio != foglio_.nome ||
      tratti_.back().primaRiga + tratti_.back().righe != riga) {
    tratti_.push_back({foglio_.nome, riga, 0, pagine_, linea});
  }
  ++tratti_.back().righe;
  PdfWriter& w = *writer_;
  w.SetFont("Arial", 8, 0);
  w.SetColorText("Black");

  const Quadro q = foglio_.quadro;
  const std::string nominativo = RigaNominativoListato(q, celle);
  if (q == BL || q == FN) w.DrawTextBox(0.3f, y, 10.0f, kAltezzaBox, nominativo, 0, 1, 1);
  if (q == SE) w.DrawTextBox(0.3f, y, 16.0f, kAltezzaBox, nominativo, 0, 1, 1);
  if (q == TU) w.DrawTextBox(0.3f, y, 17.0f, kAltezzaBox, nominativo, 0, 1, 1);

  const auto [colonne, quante] = ColonneQuadro(q);
  for (std::size_t i = 0; i < quante; ++i) {
    const Colonna& c = colonne[i];
    int indice = c.indice;
    if (q == FR && !foglio_.layoutFRCorrente) indice = kFRPrima[i];
    const std::string& cella = celle[static_cast<std::size_t>(indice)];
    const std::string testo = c.formato == Formato::Importo ? ImportoListato(cella) : cella;
    if (testo.empty()) continue;
    w.DrawTextBox(c.x, y, c.larghezza, kAltezzaBox, testo, 0, c.flags, 1);
  }
}

void ListatoPdf::Completa() {
  if (!writer_) return;
  PdfWriter& w = *writer_;
  w.BeginObject("TotPagine", 7);
  w.SetColorText("Black");
  w.SetFont("Arial", 10, 1);
  w.DrawText(16.3f, 20.35f, "  di " + std::to_string(pagine_), 1);
  w.EndObject();
  w.EndDoc();  // throws when the file cannot be put in place
}

void ListatoPdf::Abbandona() noexcept {
  writer_.reset();  // the temporary file beside the listing goes with the writer
  pagine_ = 0;
  tratti_.clear();
}

std::optional<ListatoPdf::Posizione> ListatoPdf::PosizioneRiga(std::string_view foglio,
                                                              long long riga) const {
  for (const Tratto& t : tratti_) {
    if (t.foglio != foglio || riga < t.primaRiga || riga >= t.primaRiga + t.righe) continue;
    const long long indice = t.linea + (riga - t.primaRiga);
    return Posizione{t.pagina + static_cast<long>(indice / kRighePagina),
                     kPrimaRiga + static_cast<float>(indice % kRighePagina + 1) * kPasso};
  }
  return std::nullopt;
}

void ListatoPdf::SegnaRighe(const std::vector<RigaSegnata>& righe, std::string_view nota) {
  if (pagine_ == 0) return;
  std::map<long, std::vector<std::pair<float, bool>>> segni;  // page -> (row top, error)
  for (const RigaSegnata& r : righe) {
    if (const auto p = PosizioneRiga(r.foglio, r.riga)) segni[p->pagina].emplace_back(p->y, r.errore);
  }
  if (segni.empty()) return;

  const std::filesystem::path& percorso = intestazione_.percorsoListato;
  auto fallisci = [&percorso](const std::string& perche) {
    throw ErroreFile("Impossibile segnare le righe nel listato di controllo " + percorso.string() +
                     ": " + perche);
  };
  // Every page of the written listing is drawn again from the file itself, then marked; the new
  // file takes the old one's place only when complete. The page import holds the file in memory, so
  // a very long listing is left as it is (the report names every cell anyway).
  std::error_code ec;
  const auto dimensione = std::filesystem::file_size(percorso, ec);
  if (ec) fallisci(ec.message());
  if (dimensione > kDimensioneMassimaSegni)
    fallisci("il listato supera i " + std::to_string(kDimensioneMassimaSegni >> 20) +
             " MB e non viene riscritto; le righe con rilievi sono elencate nel rapporto della "
             "verifica");
  PdfWriter w(intestazione_.nomeOperatore);
  w.SetScale(3);
  w.SetPaperSize(1);
  w.BeginDoc(percorso.string());
  if (w.ErrNumber() != 0) fallisci(w.ErrDescription());
  const float larghezza = w.GetPageWidth(false);
  for (long pagina = 1; pagina <= pagine_; ++pagina) {
    w.BeginPage();
    w.ImportPage(percorso, pagina, 0, 0, 0, 0);
    if (w.ErrNumber() != 0) fallisci(w.ErrDescription());
    const auto it = segni.find(pagina);
    if (it == segni.end()) continue;
    for (const auto& [y, errore] : it->second) {
      w.SetColorLine(errore ? "Red" : "#E08000");
      w.DrawTextBox(0.15f, y - 0.05f, larghezza - 0.3f, kAltezzaBox + 0.1f, "", 0, 1, 0);
    }
    w.SetFont("Arial", 7, 1);
    w.SetColorText("Red");
    w.DrawText(0.3f, 19.95f, nota, 1);
  }
  w.EndDoc();
}

}  // namespace fcl
