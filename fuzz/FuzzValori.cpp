// Fuzz target of the values typed or read from a workbook cell: AnalizzaData, DataGGMMAAAA, the
// value classes of the quadro columns and the encoding of whole rows into detail records.
//
// Input: byte 0 picks the quadro, byte 1 its options; the rest is the row's cells separated by
// tab characters (column A first).

#include <cstdint>
#include <cstdlib>
#include <string>

#include "SupportoFuzz.h"
#include "common/RoutineCampi.h"
#include "workbook/CelleRiga.h"
#include "workbook/CodificaRiga.h"
#include "workbook/DefinizioneQuadro.h"
#include "workbook/RecordDettaglio.h"
#include "workbook/ValoreCampo.h"

namespace {

constexpr const char* kQuadri[] = {"FA", "SA", "BL", "FE", "FR", "NE", "NR", "DF", "FN", "SE", "TU"};

constexpr fcl::ClasseValore kClassi[] = {
    fcl::ClasseValore::PI, fcl::ClasseValore::PISenzaZeri, fcl::ClasseValore::CF,
    fcl::ClasseValore::CF11, fcl::ClasseValore::TX, fcl::ClasseValore::NU,
    fcl::ClasseValore::NUPositivo, fcl::ClasseValore::CB, fcl::ClasseValore::CBTesto,
    fcl::ClasseValore::DT, fcl::ClasseValore::CC};

bool Cifre(std::string_view s) {
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// The shape AnalizzaData promises: "dd/mm/yyyy", month 1-12, day 1 to the month's maximum (29 for
// February in every year, as the date boxes always accepted; a seven-digit entry leaves a blank
// at the end of the year).
bool DataNormalizzata(std::string_view s) {
  if (s.size() != 10 || s[2] != '/' || s[5] != '/') return false;
  if (!Cifre(s.substr(0, 2)) || !Cifre(s.substr(3, 2)) || !Cifre(s.substr(6, 3))) return false;
  if (s[9] != ' ' && !Cifre(s.substr(9, 1))) return false;
  const int g = std::stoi(std::string(s.substr(0, 2)));
  const int m = std::stoi(std::string(s.substr(3, 2)));
  static constexpr int kGiorni[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m >= 1 && m <= 12 && g >= 1 && g <= kGiorni[m - 1];
}

void Cella(std::string_view testo) {
  const auto data = fcl::AnalizzaData(testo);
  if (data.esito == fcl::DataAnalizzata::Valida && !DataNormalizzata(data.normalizzata)) std::abort();
  if (const auto d = fcl::DataGGMMAAAA(testo); d && !Cifre(*d)) std::abort();
  for (auto classe : kClassi) {
    for (bool zeri : {false, true}) {
      std::string cella(testo);
      const auto v = fcl::CalcolaValore(classe, cella, zeri);
      if (!fcl::fuzz::Utf8Valido(testo)) continue;
      if (!fcl::fuzz::Utf8Valido(v.valore) || !fcl::fuzz::Utf8Valido(cella)) std::abort();
      if (v.problema != fcl::ValoreCampo::Problema::Nessuno) continue;
      // Amounts are written as digits only, at most 16.
      if ((classe == fcl::ClasseValore::NU || classe == fcl::ClasseValore::NUPositivo) &&
          !v.valore.empty() && (v.valore.find_first_not_of("0123456789 ") != std::string::npos ||
                                v.valore.size() > 16))
        std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
  if (dimensione < 2) return -1;
  const auto* quadro = fcl::TrovaQuadro(kQuadri[dati[0] % std::size(kQuadri)]);
  const bool zeri = dati[1] & 1;
  const bool layoutCorrente = dati[1] & 2;
  const std::string_view testo = fcl::fuzz::Vista(dati + 2, dimensione - 2);

  fcl::CelleRiga celle;
  std::size_t inizio = 0;
  for (int k = 0; k < fcl::kColonneRiga && inizio <= testo.size(); ++k) {
    std::size_t fine = testo.find('\t', inizio);
    if (fine == std::string_view::npos) fine = testo.size();
    celle[k] = fcl::Rifila(testo.substr(inizio, fine - inizio));
    inizio = fine + 1;
  }
  for (const auto& c : celle)
    if (!c.empty()) Cella(c);

  // The run hands the encoder valid UTF-8 only (cells are read as UTF-8 text).
  for (const auto& c : celle)
    if (!fcl::fuzz::Utf8Valido(c)) return 0;
  long long scritti = 0;
  fcl::RecordDettaglio record("RSSMRA80A01H501U", [&](std::string_view riga) {
    ++scritti;
    if (riga.size() != fcl::RecordDettaglio::kLunghezza + 2 || !riga.ends_with("A\r\n"))
      std::abort();
    // One line of printable characters: a control character from a cell would break the file.
    for (std::size_t i = 0; i + 2 < riga.size(); ++i)
      if (static_cast<unsigned char>(riga[i]) < 0x20 || riga[i] == '\x7F') std::abort();
  });
  fcl::TotaliImport totali;
  record.InizioFoglio(quadro->tipoRecord, quadro->righePerRecord);
  for (int volte = 0; volte < 2; ++volte) {
    fcl::CodificaRiga(*quadro, layoutCorrente, celle, zeri, record, totali,
                      [](int colonna, std::string_view descrizione) {
                        if (colonna < 0 || colonna >= fcl::kColonneRiga || descrizione.empty())
                          std::abort();
                      });
  }
  record.FineFoglio();
  if (scritti < 1) std::abort();
  return 0;
}
