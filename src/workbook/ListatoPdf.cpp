#include "workbook/ListatoPdf.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <utility>

#include "common/ErroreSistema.h"
#include "common/Errori.h"
#include "common/FormatoItaliano.h"
#include "pdf/PdfWriter.h"
#include "workbook/GeometriaListato.h"

namespace fcl {

namespace {

using listato::kPasso;
using listato::kRighePagina;

constexpr float kAltezzaBox = 0.4f;
constexpr float kInizioPagina = 4.8f;  // the line before the first row (kPrimaRiga - kPasso)
constexpr float kUltimaRiga = 19.0f;   // a row below this opens a new page: 29 rows a page
// The note of a marked listing: its baseline between the rule under the last row and the page
// number (baseline 20.35), clear of both.
constexpr float kBaseNota = listato::kRigaFondo + 0.25f;
// The largest listing rewritten with the marks (about 100,000 rows).
constexpr std::uintmax_t kDimensioneMassimaSegni = 32u << 20;
// The zlib level of a compressed listing: the fastest, since a page of rows repeats its fonts,
// positions and colours so much that the higher levels gain little more (level 6: a file 8%
// smaller for more than twice the compression time).
constexpr int kLivelloCompressione = 1;

std::string Rifila(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return std::string(s);
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

namespace {

// ImportoListato of the common cell, an optional "-", digits and an optional comma with decimals,
// without the general parser's copies; false for any other text.
bool ImportoSemplice(std::string_view cella, std::string& uscita) {
  char numero[40];
  if (cella.empty() || cella.size() >= sizeof numero) return false;
  std::size_t i = cella[0] == '-' ? 1 : 0;
  const std::size_t inizioCifre = i;
  while (i < cella.size() && cella[i] >= '0' && cella[i] <= '9') ++i;
  if (i == inizioCifre) return false;
  std::memcpy(numero, cella.data(), cella.size());
  if (i < cella.size()) {
    if (cella[i] != ',') return false;
    numero[i] = '.';
    for (std::size_t k = i + 1; k < cella.size(); ++k)
      if (cella[k] < '0' || cella[k] > '9') return false;
  }
  double valore = 0;
  const auto [fine, err] = std::from_chars(numero, numero + cella.size(), valore);
  if (err != std::errc() || fine != numero + cella.size()) return false;
  const double arrotondato = std::round(valore);
  // Whole numbers below 10^15 are written by NumeroItaliano with all their digits.
  if (!(std::fabs(arrotondato) < 1e15)) return false;
  uscita.clear();
  if (arrotondato == 0) return true;
  auto intero = static_cast<long long>(arrotondato);
  const bool negativo = intero < 0;
  if (negativo) intero = -intero;
  char cifre[24];
  int n = 0;
  do {
    cifre[n++] = static_cast<char>('0' + intero % 10);
    intero /= 10;
  } while (intero > 0);
  if (negativo) uscita.push_back('-');
  for (int k = n - 1; k >= 0; --k) {
    uscita.push_back(cifre[k]);
    if (k > 0 && k % 3 == 0) uscita.push_back('.');
  }
  return true;
}

}  // namespace

std::string ImportoListato(std::string_view cella) {
  if (std::string semplice; ImportoSemplice(cella, semplice)) return semplice;
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
  // The heading names the workbook by its full path, however it was given.
  std::filesystem::path& cartella = intestazione_.percorsoCartellaLavoro;
  if (!cartella.empty() && cartella.is_relative()) {
    std::error_code ec;
    const std::filesystem::path assoluto = std::filesystem::absolute(cartella, ec);
    if (!ec) cartella = assoluto.lexically_normal();
  }
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
    if (compresso_) writer_->SetCompression(kLivelloCompressione);
    writer_->BeginDoc(intestazione_.percorsoListato.string());
    ControllaInizio();
  }
  PdfWriter& w = *writer_;
  w.BeginPage();
  // The template page is portrait; it lies turned into the landscape page.
  const float larghezza = w.GetPageWidth(false);
  w.BeginSpace(larghezza, 0, 1, 1, 270);
  try {
    ImportaPaginaModello(w, intestazione_.cartellaProgramma / "Stampe" / "base.pdf", foglio_.quadro,
                         "il listato di controllo");
  } catch (...) {
    writer_.reset();  // nothing of the listing is kept; an earlier file stays as it was
    throw;
  }
  w.EndSpace();
  ++pagine_;
  w.PlayObject("TotPagine");
  w.SetFont("Arial", 12, 1);
  w.SetColorText("Blue");
  w.DrawText(2.2f, 1.7f,
             "Anno " + intestazione_.annoRiferimento + " - " + intestazione_.nomeOperatore, 1);
  w.SetColorText("Black");
  w.SetFont("Arial", 6, 1);
  w.DrawText(0.3f, 2.1f, "Archivio base dati: " + intestazione_.percorsoCartellaLavoro.string(), 1);
  w.SetFont("Arial", 10, 1);
  w.DrawText(15.7f, 20.35f, std::to_string(pagine_), 1);
  rigaCorrente_ = kInizioPagina;
  fontRiga_ = false;
}

void ListatoPdf::Riga(int riga, const CelleRiga& celle) {
  if (rigaCorrente_ == 0 || rigaCorrente_ > kUltimaRiga - 0.01f) NuovaPagina();
  // Rows are counted in half centimetres from the first, so the position never drifts.
  rigaCorrente_ += kPasso;
  const float y = rigaCorrente_;
  const int linea = static_cast<int>(std::lround((y - kInizioPagina) / kPasso)) - 1;
  if (tratti_.empty() || tratti_.back().foglio != foglio_.nome ||
      tratti_.back().primaRiga + tratti_.back().righe != riga) {
    tratti_.push_back({foglio_.nome, riga, 0, pagine_, linea});
  }
  ++tratti_.back().righe;
  PdfWriter& w = *writer_;
  // The rows of a page share their font and colour: set once after the page's own texts.
  if (!fontRiga_) {
    w.SetFont("Arial", 8, 0);
    w.SetColorText("Black");
    fontRiga_ = true;
  }

  // Every value inside its own column: a text wider than its box is squeezed into it (flag 128),
  // an amount is right-aligned in it (flag 2) or squeezed when it is wider.
  const listato::QuadroListato* quadro = listato::TrovaQuadroListato(foglio_.quadro);
  if (quadro == nullptr) return;
  if (quadro->larghezzaNome > 0)
    w.DrawTextBox(listato::kXNominativo, y, quadro->larghezzaNome, kAltezzaBox,
                  RigaNominativoListato(foglio_.quadro, celle), 0, 128, 1);
  const bool precedente = foglio_.quadro == FR && !foglio_.layoutFRCorrente;
  for (const listato::ColonnaListato& c : quadro->colonne) {
    const std::string& cella =
        celle[static_cast<std::size_t>(precedente ? c.indicePrecedente : c.indice)];
    if (c.formato != listato::kTesto && !ImportoSemplice(cella, importo_))
      importo_ = ImportoListato(cella);
    const std::string_view testo = c.formato == listato::kTesto ? cella : importo_;
    if (testo.empty()) continue;
    const bool aDestra = c.formato == listato::kImporto && w.TextLength(testo) <= c.larghezza;
    w.DrawTextBox(c.x, y, c.larghezza, kAltezzaBox, testo, 0, aDestra ? 2 : 128, 1);
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
                     kInizioPagina + static_cast<float>(indice % kRighePagina + 1) * kPasso};
  }
  return std::nullopt;
}

void ListatoPdf::SegnaRighe(const std::vector<RigaSegnata>& righe, std::string_view nota) {
  if (pagine_ == 0) return;
  std::map<long, std::vector<std::pair<float, bool>>> segni;  // page -> (row top, error)
  for (const RigaSegnata& r : righe) {
    if (const auto p = PosizioneRiga(r.foglio, r.riga))
      segni[p->pagina].emplace_back(p->y, r.errore);
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
  if (ec) fallisci(CausaSistema(ec));
  if (dimensione > kDimensioneMassimaSegni)
    fallisci("il listato supera i " + std::to_string(kDimensioneMassimaSegni >> 20) +
             " MB e non viene riscritto; le righe con rilievi sono elencate nel rapporto della "
             "verifica");
  PdfWriter w(intestazione_.nomeOperatore);
  w.SetScale(3);
  w.SetPaperSize(1);
  if (compresso_) w.SetCompression(kLivelloCompressione);
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
    // The note stands between the rule under the last row (19.75) and the page number (20.35).
    w.SetFont("Arial", 7, 1);
    w.SetColorText("Red");
    w.DrawText(0.3f, kBaseNota, nota, 1);
  }
  w.EndDoc();
}

}  // namespace fcl
