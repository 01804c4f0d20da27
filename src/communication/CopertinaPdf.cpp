#include "communication/CopertinaPdf.h"

#include <string>
#include <utility>

#include "common/Errori.h"
#include "common/RoutineCampi.h"
#include "pdf/PdfWriter.h"

namespace fcl {

namespace {

// Where the "X" of each quadro box of the frontispiece stands, by quadro number.
struct CasellaQuadro {
  Quadro quadro;
  float x;
  float y;
};
constexpr CasellaQuadro kCaselleQuadri[] = {
    {FA, 7.7f, 8.3f},  {SA, 12.5f, 8.3f},  {BL, 17.3f, 8.3f}, {FE, 7.7f, 10.0f},
    {FR, 12.5f, 10.0f}, {NE, 17.3f, 10.0f}, {NR, 7.7f, 10.8f}, {DF, 12.5f, 10.8f},
    {FN, 17.3f, 10.8f}, {TU, 7.7f, 12.1f},  {SE, 17.3f, 12.1f}};

struct CasellaTA {
  const char* codice;
  float x;
  float y;
};
constexpr CasellaTA kCaselleTA[] = {
    {"TA001001", 5.0f, 2.7f},   {"TA002001", 5.0f, 4.5f},   {"TA003001", 5.0f, 6.3f},
    {"TA003002", 10.2f, 6.3f},  {"TA003003", 15.6f, 6.3f},  {"TA004001", 5.0f, 8.0f},
    {"TA004002", 10.2f, 8.0f},  {"TA005001", 5.0f, 9.7f},   {"TA005002", 10.2f, 9.7f},
    {"TA006001", 5.0f, 11.3f},  {"TA007001", 5.0f, 13.0f},  {"TA008001", 5.0f, 14.7f},
    {"TA009001", 5.0f, 16.4f},  {"TA010001", 5.0f, 18.1f},  {"TA011001", 5.0f, 19.8f}};

}  // namespace

CopertinaPdf::CopertinaPdf(std::filesystem::path cartellaProgramma, Interazione& ui)
    : modello_(std::move(cartellaProgramma) / "Stampe" / "base_RIEP.pdf"), ui_(ui) {}

CopertinaPdf::~CopertinaPdf() = default;

void CopertinaPdf::Inizia(const std::filesystem::path& percorso, const std::string& autore) {
  percorso_ = percorso;
  writer_ = std::make_unique<PdfWriter>(autore);
  writer_->SetScale(3, 1);
  writer_->SetPaperSize(0, 0, 0);
  writer_->SetAvanzamentoImport([this](int contatore, int flussi) {
    ui_.Avanzamento(kDidascaliaCopertina, contatore, flussi);
  });
  writer_->BeginDoc(percorso.string());
  if (writer_->ErrNumber() != 0) {
    const std::string descrizione = writer_->ErrDescription();
    writer_.reset();
    throw ErroreFile("Impossibile scrivere il frontespizio " + percorso.string() + ": " +
                     descrizione);
  }
}

void CopertinaPdf::ImportaModello(long pagina) {
  ui_.Avanzamento(kDidascaliaCopertina, 0, 0);
  try {
    ImportaPaginaModello(*writer_, modello_, pagina, "il frontespizio");
  } catch (...) {
    ui_.Avanzamento("", 0, 0);
    throw;
  }
  ui_.Avanzamento("", 0, 0);
}

// A code in character cells: each character 0.52 further on, the first at inizio + 0.52.
void CopertinaPdf::Celle(float inizio, float y, const std::string& codice) {
  float x = inizio;
  for (char c : codice) {
    x += 0.52f;
    writer_->DrawText(x, y, std::string(1, c), 1);
  }
}

void CopertinaPdf::DataInParti(const std::string& data, float x1, float x2, float x3, float y) {
  std::string g = DataGGMMAAAA(data).value_or("00000000");
  if (g.size() != 8) g = "00000000";
  writer_->DrawText(x1, y, g.substr(0, 2), 1);
  writer_->DrawText(x2, y, g.substr(2, 2), 1);
  writer_->DrawText(x3, y, g.substr(4, 4), 1);
}

void CopertinaPdf::Pagina1(const DatiFrontespizio& d) {
  if (!writer_) throw Errore("Frontespizio non iniziato");
  PdfWriter& w = *writer_;
  const RigaOperatore& r = d.riga;
  w.BeginPage();
  ImportaModello(1);
  w.SetColorText("black");
  auto font = [&w](float dimensione) { w.SetFont("Times", dimensione, 1, 0); };

  font(14);
  Celle(11.24f, 2.4f, r.ocod);
  w.DrawText(12.5f, 4.9f, d.scelta.anno, 1);
  w.DrawText(17.8f, 4.9f, d.scelta.periodo, 1);
  switch (d.scelta.tipoInvio) {
    case TipoInvio::Ordinario: w.DrawText(5.1f, 5.8f, "X", 1); break;
    case TipoInvio::Sostitutivo: w.DrawText(7.1f, 5.8f, "X", 1); break;
    case TipoInvio::Annullamento: w.DrawText(9.1f, 5.8f, "X", 1); break;
  }
  // The protocols belong to a replacement or a cancellation only; the file carries none for an
  // ordinary sending, and neither does its cover.
  if (d.scelta.tipoInvio != TipoInvio::Ordinario) {
    font(7);
    w.DrawText(12.2f, 5.8f, Rifila(d.scelta.protocollo), 1);
    w.DrawText(17.4f, 5.8f, Rifila(d.scelta.protocolloDocumento), 1);
  }
  font(14);
  // Kind of data and quadri as the file marks them: one kind, none for a cancellation.
  if (d.piano.tipoDati == TipoDati::Aggregati) w.DrawText(7.7f, 6.6f, "X", 1);
  if (d.piano.tipoDati == TipoDati::Analitici) w.DrawText(17.3f, 6.6f, "X", 1);
  for (const CasellaQuadro& c : kCaselleQuadri)
    if (d.piano.quadro[static_cast<std::size_t>(c.quadro)]) w.DrawText(c.x, c.y, "X", 1);

  font(12);
  Celle(3.6f, 13.8f, r.opiva);
  Celle(9.4f, 13.8f, r.ocod);
  font(10);
  w.DrawText(18.4f, 13.8f, r.oatt, 1);
  w.DrawText(10.0f, 14.7f, r.otel, 1);
  w.DrawText(15.0f, 14.7f, r.ofax, 1);
  font(7);
  w.DrawTextBox(4.1f, 14.2f, 3.0f, 1.5f, r.oposta, 0, 64, 1);

  font(10);
  if (r.ostp == "0") {
    if (!Rifila(r.ocog).empty()) {
      w.DrawText(4.1f, 16.0f, r.ocog, 1);
      if (r.osex == "M") w.DrawText(18.4f, 16.0f, "X", 1);
      if (r.osex == "F") w.DrawText(19.4f, 16.0f, "X", 1);
      w.DrawText(10.4f, 16.0f, r.onome, 1);
      DataInParti(r.ondt, 4.3f, 5.3f, 6.3f, 16.8f);
      w.DrawText(8.5f, 16.8f, r.oncom, 1);
      w.DrawText(18.7f, 16.8f, r.onpro, 1);
    }
  } else {
    w.DrawText(4.1f, 18.0f, r.orag, 1);
  }

  font(12);
  Celle(3.6f, 20.2f, r.ostccf);
  font(10);
  w.DrawText(18.55f, 20.2f, r.ostccdcarica, 1);
  if (DataGGMMAAAA(r.ostcdtini).value_or("00000000") != "00000000")
    DataInParti(r.ostcdtini, 8.3f, 9.3f, 10.3f, 21.5f);
  if (DataGGMMAAAA(r.ostcdtfine).value_or("00000000") != "00000000")
    DataInParti(r.ostcdtfine, 15.9f, 16.9f, 17.9f, 21.5f);
  if (r.ostctp.empty()) {
    if (!Rifila(r.ostccog).empty()) {
      w.DrawText(4.1f, 22.7f, r.ostccog, 1);
      if (r.ostcsex == "M") w.DrawText(18.4f, 22.7f, "X", 1);
      if (r.ostcsex == "F") w.DrawText(19.4f, 22.7f, "X", 1);
      w.DrawText(10.4f, 22.7f, r.ostcnome, 1);
      DataInParti(r.ostcndt, 4.3f, 5.3f, 6.3f, 23.5f);
      w.DrawText(8.5f, 23.5f, r.ostcncom, 1);
      w.DrawText(18.7f, 23.5f, r.ostcnpro, 1);
    }
  } else {
    w.DrawText(4.1f, 24.7f, r.ostcrag, 1);
  }

  const std::string intermediario = Rifila(d.operatore.intermediarioCF);
  if (!intermediario.empty()) {
    font(12);
    Celle(3.6f, 26.6f, intermediario);
    w.DrawText(14.0f, 26.6f, "X", 1);
    // The assistance centre's registration number, as record B carries it.
    const std::string caf = Rifila(d.operatore.numeroIscrizioneCaf);
    if (!caf.empty()) {
      font(10);
      w.DrawText(15.1f, 26.6f, caf, 1);
    }
    font(10);
    DataInParti(d.operatore.dataImpegno, 7.0f, 8.0f, 9.0f, 27.45f);
  }
  w.EndPage();
}

void CopertinaPdf::Pagina2(const DatiRiepilogo& d) {
  if (!writer_) throw Errore("Frontespizio non iniziato");
  PdfWriter& w = *writer_;
  w.BeginPage();
  ImportaModello(2);
  w.SetColorText("black");
  w.SetFont("Times", 12, 1, 0);
  w.DrawText(4.0f, 1.3f, d.codiceFiscale, 1);
  for (const CasellaTA& c : kCaselleTA) {
    std::string valore;
    for (const CampoTA& campo : d.piano.campiTA)
      if (campo.codice == c.codice) valore = Rifila(campo.valore);
    if (valore.empty() || valore == "0") continue;  // zero totals stay blank
    w.DrawTextBox(c.x, c.y, 4.0f, 2.0f, AllineaDestra(valore, 16, ' '), 0, 2, 1);
  }
  w.EndPage();
}

void CopertinaPdf::Completa() {
  if (!writer_) throw Errore("Frontespizio non iniziato");
  std::unique_ptr<PdfWriter> w = std::move(writer_);
  w->EndDoc();  // throws when the file cannot be put in place; nothing is left behind then
}

void CopertinaPdf::Abbandona() noexcept { writer_.reset(); }

}  // namespace fcl
