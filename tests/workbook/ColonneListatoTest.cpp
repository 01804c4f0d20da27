// The check listing measured as it is printed: every value inside its own column, under its own
// heading, and every caption whole inside its column, on every quadro and both layouts of FR and of
// the BL name line. The words and their boxes come from the printed PDF (pdftotext -bbox), values
// and template captions alike; the rules are those of the geometry the template is drawn from.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "../pdf/StrumentiPdf.h"
#include "CartellaTemporanea.h"
#include "workbook/GeometriaListato.h"
#include "workbook/ListatoPdf.h"

namespace fcl {
namespace {

namespace geo = listato;
using test::ParolaPdf;

const std::filesystem::path kProgramma = std::filesystem::path(FCL_STAMPE_DIR).parent_path();
constexpr double kPunti = 72 / 2.54;  // points a centimetre
constexpr double kTolleranza = 0.02;  // cm a word must keep from a rule

// A cell and the text the listing prints for it.
struct Valore {
  std::string cella, stampato;
};

// The widest value a column holds in practice, told by its caption; amounts at their widest.
Valore ValoreLargo(const geo::ColonnaListato& c, int colonna) {
  // A distinct leading digit per column tells the amounts apart.
  const std::string cifra = std::to_string(colonna % 9 + 1);
  if (c.formato == geo::kImporto) return {cifra + "8888888", cifra + "8.888.888"};
  const std::string t = c.intestazione;
  std::string v = "X";
  if (t.find("Data") != std::string::npos) v = "28/02/20" + std::to_string(10 + colonna);
  if (t == "Partita IVA") v = "12345678903";
  if (t == "Codice fiscale") v = "RSSMRA85M41H501W";
  if (t.find("Numero") != std::string::npos) v = "FT2025/" + std::to_string(100000 + colonna);
  if (t.find("Codice identificativo") != std::string::npos) v = "DE12345678" + cifra;
  return {v, v};
}

// A value far wider than any column: it is squeezed into its box.
Valore ValoreTroppoLargo(const geo::ColonnaListato& c, int colonna) {
  const std::string cifra = std::to_string(colonna % 9 + 1);
  if (c.formato == geo::kImporto) return {cifra + "88888888888", cifra + "88.888.888.888"};
  const std::string v =
      std::string(1, static_cast<char>('A' + colonna % 26)) + std::string(30, 'W');
  return {v, v};
}

struct Fascia {
  std::string nome;  // the column letters, or "anagrafica"
  double inizio, fine;
};

// The bands of a quadro, left to right.
std::vector<Fascia> Fasce(const geo::QuadroListato& q) {
  std::vector<Fascia> fasce;
  if (q.intestazioneNome != nullptr)
    fasce.push_back({"anagrafica", geo::kInizioColonne, q.colonne.front().inizio});
  for (std::size_t i = 0; i < q.colonne.size(); ++i)
    fasce.push_back({q.colonne[i].lettere, q.colonne[i].inizio,
                     i + 1 < q.colonne.size() ? q.colonne[i + 1].inizio : geo::kFineColonne});
  return fasce;
}

// The band that holds the whole word; nullopt when the word crosses a rule.
std::optional<std::size_t> FasciaDi(const std::vector<Fascia>& fasce, const ParolaPdf& p) {
  const double x0 = p.xMin / kPunti, x1 = p.xMax / kPunti;
  for (std::size_t i = 0; i < fasce.size(); ++i)
    if (x0 >= fasce[i].inizio + kTolleranza && x1 <= fasce[i].fine - kTolleranza) return i;
  return std::nullopt;
}

// A word as pdftotext -bbox writes it, back to plain text: XML entities and the "fi" and "fl"
// ligatures of the template's font.
std::string Testo(std::string w) {
  const std::pair<std::string, std::string> kSostituzioni[] = {
      {"&gt;", ">"},          {"&lt;", "<"},          {"&quot;", "\""}, {"&apos;", "'"},
      {"\xEF\xAC\x81", "fi"}, {"\xEF\xAC\x82", "fl"}, {"&amp;", "&"}};
  for (const auto& [da, a] : kSostituzioni)
    for (std::size_t p = w.find(da); p != std::string::npos; p = w.find(da, p + a.size()))
      w.replace(p, da.size(), a);
  return w;
}

std::vector<std::string> Parole(const std::string& testo) {
  std::istringstream in(testo);
  std::vector<std::string> parole;
  for (std::string p; in >> p;) parole.push_back(p);
  return parole;
}

// The x (cm) of the vertical rules drawn across the heading band of a page, read from its pixels
// just above the band's lower edge, below every caption.
std::vector<double> RigheVerticali(const std::filesystem::path& pdf, int pagina,
                                   const test::CartellaTemporanea& cartella) {
  constexpr int kDpi = 100;
  const auto radice = cartella / "pagina";
  const auto [codice, uscita] = test::Esegui(
      "pdftoppm -r " + std::to_string(kDpi) + " -gray -singlefile -f " + std::to_string(pagina) +
      " -l " + std::to_string(pagina) + " " + test::Q(pdf) + " " + test::Q(radice) + " 2>&1");
  std::vector<double> righe;
  if (codice != 0) return righe;
  std::istringstream in(test::LeggiFile(cartella / "pagina.pgm"));
  std::string magia;
  int larghezza = 0, altezza = 0, massimo = 0;
  in >> magia >> larghezza >> altezza >> massimo;
  in.get();
  const std::string grigi(std::istreambuf_iterator<char>(in), {});
  const int y = static_cast<int>((geo::kFineTestata - 0.1) / 2.54 * kDpi);
  if (magia != "P5" || grigi.size() < static_cast<std::size_t>(larghezza) * altezza) return righe;
  // The band's ground is light; a rule is a run of dark pixels.
  for (int x = 0, inizio = -1; x <= larghezza; ++x) {
    const bool scuro =
        x < larghezza && static_cast<unsigned char>(grigi[static_cast<std::size_t>(y) *
                                                              larghezza + x]) < 170;
    if (scuro && inizio < 0) inizio = x;
    if (!scuro && inizio >= 0) {
      righe.push_back((inizio + x) / 2.0 / kDpi * 2.54);
      inizio = -1;
    }
  }
  return righe;
}

class ColonneListatoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kProgramma / "Stampe" / "base.pdf"))
      GTEST_SKIP() << "modelli di stampa non generati";
    if (!test::Disponibile("pdftotext")) GTEST_SKIP() << "pdftotext non disponibile";
  }
  test::CartellaTemporanea cartella_;
};

TEST_F(ColonneListatoTest, OgniValoreEOgniDidascaliaNellaSuaColonna) {
  struct Pagina {
    const geo::QuadroListato* quadro;
    bool frCorrente;
  };
  std::vector<Pagina> pagine;
  for (const geo::QuadroListato& q : geo::kQuadri) {
    pagine.push_back({&q, true});
    if (q.numero == FR) pagine.push_back({&q, false});
  }

  // Row 1 the widest values, row 2 values wider than any column, row 3 (BL and the other name
  // lines) a company: the name line without a surname.
  const auto pdf = cartella_ / "LISTATO.PDF";
  ListatoPdf listato;
  listato.Inizia({pdf, "/dati/cartella.xlsx", "ROSSI MARIO", "2025", kProgramma});
  for (const Pagina& p : pagine) {
    const geo::QuadroListato& q = *p.quadro;
    listato.NuovoFoglio({static_cast<Quadro>(q.numero), q.nome, p.frCorrente});
    for (int riga = 1; riga <= 3; ++riga) {
      CelleRiga celle{};
      const std::string anagrafica[] = {"ROSSI",
                                        "MARIO",
                                        "01/01/1970",
                                        "BUENOS AIRES",
                                        "EE",
                                        "AR",
                                        "WORLDWIDE MACHINERY HOLDINGS LTD",
                                        "LONDRA",
                                        "GB",
                                        "WESTMINSTER HIGH STREET 221B"};
      if (q.intestazioneNome != nullptr)
        for (int i = 0; i < 10; ++i)
          celle[static_cast<std::size_t>(i)] =
              riga == 3 && i < 6 ? "" : (riga == 2 ? std::string(40, 'W') : anagrafica[i]);
      for (std::size_t i = 0; i < q.colonne.size(); ++i) {
        const geo::ColonnaListato& c = q.colonne[i];
        const int cella = p.frCorrente ? c.indice : c.indicePrecedente;
        celle[static_cast<std::size_t>(cella)] =
            (riga == 2 ? ValoreTroppoLargo(c, static_cast<int>(i))
                       : ValoreLargo(c, static_cast<int>(i)))
                .cella;
      }
      listato.Riga(riga, celle);
    }
  }
  listato.Completa();
  ASSERT_EQ(listato.Pagine(), static_cast<long>(pagine.size()));
  if (test::Disponibile("qpdf")) {
    EXPECT_EQ(test::ErroriQpdf(pdf), "");
  }

  std::vector<ParolaPdf> parole = test::ParolePdf(pdf);
  for (ParolaPdf& w : parole) w.testo = Testo(w.testo);
  ASSERT_FALSE(parole.empty());
  for (std::size_t n = 0; n < pagine.size(); ++n) {
    const Pagina& p = pagine[n];
    const geo::QuadroListato& q = *p.quadro;
    SCOPED_TRACE(std::string(q.nome) + (p.frCorrente ? "" : " (layout precedente)"));
    const std::vector<Fascia> fasce = Fasce(q);
    std::vector<std::vector<ParolaPdf>> testata(fasce.size());
    std::vector<std::vector<std::vector<std::string>>> righe(
        3, std::vector<std::vector<std::string>>(fasce.size()));
    for (const ParolaPdf& w : parole) {
      if (w.pagina != static_cast<int>(n) + 1) continue;
      const double y = (w.yMin + w.yMax) / 2 / kPunti;
      const bool inTestata = y > geo::kInizioTestata && y < geo::kFineTestata;
      const int riga = static_cast<int>((y - geo::kPrimaRiga + 0.05) / geo::kPasso);
      const bool inRiga = y > geo::kPrimaRiga - 0.05 && riga < 3;
      if (!inTestata && !inRiga) continue;
      const auto f = FasciaDi(fasce, w);
      if (!f) {
        ADD_FAILURE() << "\"" << w.testo << "\" attraversa una riga verticale: x da "
                      << w.xMin / kPunti << " a " << w.xMax / kPunti << " cm, y " << y;
        continue;
      }
      if (inTestata)
        testata[*f].push_back(w);
      else
        righe[static_cast<std::size_t>(riga)][*f].push_back(w.testo);
    }

    // The template draws its rules where the geometry puts them, and no others (the band's own
    // outline at both ends aside).
    if (test::Disponibile("pdftoppm")) {
      std::vector<double> attese;
      for (const Fascia& f : fasce)
        if (f.inizio > geo::kInizioColonne) attese.push_back(f.inizio);
      std::vector<double> disegnate = RigheVerticali(pdf, static_cast<int>(n) + 1, cartella_);
      std::erase_if(disegnate, [](double x) {
        return x < geo::kInizioColonne + 0.05 || x > geo::kFineColonne - 0.05;
      });
      ASSERT_EQ(disegnate.size(), attese.size());
      for (std::size_t i = 0; i < attese.size(); ++i) EXPECT_NEAR(disegnate[i], attese[i], 0.05);
    }

    // Captions: the letters and the caption, whole words in reading order, in their own band.
    for (std::size_t i = 0; i < fasce.size(); ++i) {
      SCOPED_TRACE("colonna " + fasce[i].nome);
      auto& t = testata[i];
      std::stable_sort(t.begin(), t.end(), [](const ParolaPdf& a, const ParolaPdf& b) {
        return a.yMin + 1 < b.yMin || (std::abs(a.yMin - b.yMin) <= 1 && a.xMin < b.xMin);
      });
      std::string letto;
      for (const ParolaPdf& w : t) letto += (letto.empty() ? "" : " ") + w.testo;
      std::string atteso;
      if (fasce[i].nome == "anagrafica") {
        atteso = std::string("Dati anagrafici (") + (q.numero == TU ? "A-H" : "A-J") + ") " +
                 q.intestazioneNome;
      } else {
        const geo::ColonnaListato& c = q.colonne[i - (q.intestazioneNome != nullptr ? 1 : 0)];
        atteso = std::string(c.lettere) + " " + c.intestazione;
      }
      std::string normale;
      for (const std::string& w : Parole(atteso)) normale += (normale.empty() ? "" : " ") + w;
      EXPECT_EQ(letto, normale);
    }

    // Values: each in the band of its own column, on every row.
    const std::size_t primo = q.intestazioneNome != nullptr ? 1 : 0;
    for (int riga = 0; riga < 3; ++riga) {
      SCOPED_TRACE("riga " + std::to_string(riga + 1));
      for (std::size_t i = 0; i < q.colonne.size(); ++i) {
        const std::string valore = (riga == 1 ? ValoreTroppoLargo(q.colonne[i], static_cast<int>(i))
                                              : ValoreLargo(q.colonne[i], static_cast<int>(i)))
                                       .stampato;
        const std::vector<std::string>& letti = righe[static_cast<std::size_t>(riga)][primo + i];
        EXPECT_NE(std::find(letti.begin(), letti.end(), valore), letti.end())
            << "colonna " << q.colonne[i].lettere << ": " << valore;
      }
      if (primo == 1) {
        EXPECT_FALSE(righe[static_cast<std::size_t>(riga)][0].empty());
      }
    }
  }
}

}  // namespace
}  // namespace fcl
