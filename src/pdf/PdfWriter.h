#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "pdf/ColorePdf.h"
#include "pdf/FontStandard.h"

namespace fcl {

class ApriDocumento;
class ModelloPdf;
class ScritturaAtomica;

// PdfWriter writes one PDF 1.3 file from top to bottom: pages of text in the standard fonts,
// drawn over pages imported from template PDFs, with named objects that pages can show before
// they are recorded (the listing's page total). It is the printing engine of the check listing
// and of the cover; it offers exactly the operations those two need.
//
// Units: every length a caller passes or gets back is in the user unit chosen with SetScale
// (centimetres in this system); y grows downward from the top-left corner of the page, and the y
// of a text is its baseline. Texts are UTF-8; they reach the file in Windows-1252 (a character it
// cannot hold becomes "?").
//
// Ownership: the writer owns its output file and the readers of its template files. The file is
// written to a temporary file beside the destination and renamed into place by EndDoc, so the
// destination is either the whole new document or left as it was: a writer destroyed or failing
// before EndDoc leaves no partial file. Memory holds one page's content at a time plus a few
// numbers per page (the page table), whatever the page count.
//
// Failure: BeginDoc and the template indexing of ImportPage record their failures instead of
// throwing (ErrNumber, ErrSource, ErrDescription): a missing file (53), an encrypted or damaged
// template (321), an output file that cannot be created (75/76). A template that cannot be read
// or imported draws nothing, and the page gets only the caller's text. Writing to a document that
// could not be opened, or an I/O failure while writing, throws ErroreFile; a page number below 1
// throws Errore. Not thread-safe: one writer, one thread.
class PdfWriter {
 public:
  using Orologio = std::function<std::chrono::system_clock::time_point()>;
  // Progress of a template page made of several content streams: called before each stream is
  // merged with (stream, streams), e.g. 3 and 12 for "3/12".
  using AvanzamentoFlussi = std::function<void(int contatore, int flussi)>;

  // `autore` is the display name of the current operator: it becomes Author, Creator and
  // Producer of the document. `adesso` gives the creation date (the system clock when empty).
  explicit PdfWriter(std::string autore, Orologio adesso = {});
  ~PdfWriter();
  PdfWriter(const PdfWriter&) = delete;
  PdfWriter& operator=(const PdfWriter&) = delete;

  // --- units and paper ---------------------------------------------------------------------
  // Mode 0 points, 1 inches, 2 millimetres, 3 centimetres, 255 `factor` points per unit; any
  // other mode changes nothing.
  void SetScale(long mode, float factor = 1);
  // Size 0 A4 (596 x 842 points), 1 A4 landscape, 2-17 and -1..-8 the other sizes of the table,
  // 255 width x height in user units; any other size changes nothing. The size in force when a
  // page ends is the size of that page.
  void SetPaperSize(long size, float width = 0, float height = 0);
  float GetPageWidth(bool withMargins) const;
  float GetPageHeight(bool withMargins) const;

  // --- document and pages ------------------------------------------------------------------
  // Opens the output; an empty name makes one up ("~" + hex digits + ".pdf", current folder).
  // Returns the file name. A failure is recorded (ErrNumber), not thrown.
  std::string BeginDoc(const std::string& fileName);
  // Ends the open page if any, starts the next one and returns its number (1, 2, 3 ...). Every
  // page starts with black fill, stroke and text colours.
  long BeginPage();
  void EndPage();
  // Ends the open page (or writes one empty page if none was ever begun), writes the shared
  // objects, the cross-reference table and the trailer, and puts the file in place.
  void EndDoc();
  // Asks the desktop to open the written file (after EndDoc).
  void OpenDoc(ApriDocumento& apri) const;
  // Level 1-9: the contents of the pages and named objects ended from now on are written
  // Flate-compressed at that zlib level, one stream at a time; 0 (as at creation) writes them as
  // they are. Any other level changes nothing. Template pages are copied as stored either way, and
  // the metadata stays readable as text.
  void SetCompression(int level);

  // --- local coordinate spaces ---------------------------------------------------------------
  // "q", the translation/scale line unless it is the identity, the rotation (degrees,
  // counter-clockwise on the page) unless a multiple of 360; the position becomes (0, 0).
  // BeginSpace(GetPageWidth(false), 0, 1, 1, 270) turns a portrait template onto a landscape page.
  void BeginSpace(float x, float y, float scaleX, float scaleY, float rotation);
  void AxisRotation(float degrees);
  void EndSpace();

  // --- templates ---------------------------------------------------------------------------
  // Draws page `page` (1-based) of a template PDF with its top-left corner at (x, y) and the
  // given size (0 and 0: natural size; one 0: keeps the proportions). The first use of a page
  // copies it into the output once; later uses only draw it. A page above the file's page count
  // draws nothing; a missing, encrypted or damaged file draws nothing and records the error.
  // Returns whether the page was drawn.
  bool ImportPage(const std::filesystem::path& fileName, long page, float x = 0, float y = 0,
                  float width = 0, float height = 0);
  // Progress of the next template imports (empty: none). The cover sets it for its template.
  void SetAvanzamentoImport(AvanzamentoFlussi avanzamento) {
    avanzamento_ = std::move(avanzamento);
  }

  // --- named objects -----------------------------------------------------------------------
  // Records the drawing operations that follow, until EndObject, as a named object. `options`
  // makes BeginPage (bit 16 clear) or EndPage (bit 16 set) play it on the following pages: 7 every
  // page, bit 1 page 1, bit 2 even pages, bit 4 odd pages, bit 8 never page 1.
  void BeginObject(const std::string& name, long options);
  void EndObject();
  // Draws a named object; it may be recorded later, up to EndDoc (the listing's page total).
  void PlayObject(const std::string& name);

  // --- fonts, colours, text ------------------------------------------------------------------
  // "Arial"/"Helvetica", "Times"/"Times New Roman", "Courier", "Symbol", "ZapfDingbats"; size in
  // points (0 keeps the current size, 10 at first); style bit 1 bold, 2 italic, 4 underline,
  // 8 overline, 16 strike-through; encoding 1 Macintosh, else Windows.
  void SetFont(const std::string& name, float size = 0, long style = 0, long encoding = 0);
  // Colour texts: "Black", "blue", "#RRGGBB", "%50" (grey), "@C;M;Y;K", "@R;G;B". Unknown or
  // empty colours are ignored.
  void SetColorText(std::string_view colour);
  void SetColorFill(std::string_view colour);
  void SetColorLine(std::string_view colour);
  // One line of text with its baseline at y: align 2 ends it at x, 4 centres it on x, anything
  // else starts it at x. The position moves to the end of the text.
  void DrawText(float x, float y, std::string_view text, long align = 1);
  // Text wrapped in the box (x, y, width, height; height 0: no limit), paragraphs separated by
  // CR LF. Flags: 1 left, 2 right, 4 centred, 64 justified, 128 one squeezed line, 256 one line
  // fitted to the width, 16 block at the bottom, 32 block centred vertically. `border` 1 draws no
  // outline. Returns what did not fit (starting with "\0" when a paragraph was cut); a text
  // starting with "\0" continues such a paragraph.
  std::string DrawTextBox(float x, float y, float width, float height, std::string_view text,
                          float indent = 0, long flags = 1, long border = 1);
  // Line height of the current font and width of a text in it, in user units (0 without a font).
  float TextHeight() const;
  float TextLength(std::string_view text) const;

  void SetXY(float x, float y);
  float GetX() const;
  float GetY() const;

  // --- state -------------------------------------------------------------------------------
  // The last recorded failure: number, source ("PdfWriter.GetInfo", "PdfWriter.ImportPage",
  // "PdfWriter.BeginDoc") and Italian description ending with " - " and the file name.
  long ErrNumber() const { return errNumero_; }
  const std::string& ErrSource() const { return errOrigine_; }
  const std::string& ErrDescription() const { return errDescrizione_; }

  const std::filesystem::path& FileName() const { return nomeFile_; }
  long PageCount() const { return pagine_; }
  long long FileSize() const { return dimensioneFile_; }
  // The text after /CreationDate: D:YYYYMMDDhhmmss followed by Z+01'00'.
  const std::string& CreationDate() const { return dataCreazione_; }

 private:
  struct OggettoNominato {
    std::string nome;
    long opzioni = 0;
  };

  std::string* Destinazione();
  void Riga(std::string_view testo);
  void Scrivi(std::string_view byte);
  void RigaFile(std::string_view testo);
  int IniziaOggetto(int numero);
  void FineOggetto();
  void FineFlusso(std::string_view inizio, std::string_view resto);
  void Svuota();
  void Registra(long numero, std::string origine, std::string descrizione);
  ModelloPdf* Indicizza(const std::filesystem::path& file);
  void SuonaAutomatici(bool fine);
  void ImpostaRiempimento(const ColorePdf& colore);
  void ImpostaLinea(const ColorePdf& colore);
  void ScriviFormaNominata(const std::string& nome, std::string_view contenuto);
  double Larghezza(std::string_view cp1252) const;  // user units
  // `misura`, when not negative, is Larghezza(cp1252) as the caller has already measured it.
  void RigaTesto(double x, double y, double larghezza, std::string_view cp1252, double rientro,
                 long flags, double misura = -1);
  void AzzeraDocumento();
  std::string Xmp() const;
  // AggiungiNumeroPdf through a small table of the numbers already written: a listing writes the
  // same sizes and positions over and over.
  void Numero(std::string& uscita, double valore);
  // The text of `valore` from that table, or made in `appoggio` when it is not there.
  std::string_view TestoNumero(double valore, std::string& appoggio);

  // Document properties.
  std::string autore_;
  std::string titolo_ = "(senza titolo)";
  std::string soggetto_, paroleChiave_;
  std::string dataCreazione_;

  // Output.
  std::unique_ptr<ScritturaAtomica> file_;
  std::filesystem::path nomeFile_;
  std::string uscita_;  // bytes not yet handed to the file
  long long posizione_ = 0;
  long long dimensioneFile_ = 0;
  bool chiuso_ = false;
  int massimoOggetto_ = 3;
  std::vector<long long> offset_;  // by object number
  struct Compressore;
  std::unique_ptr<Compressore> compressore_;  // a level above 0: streams compressed
  long pagine_ = 0;
  std::string kids_;
  std::string risorseXObject_, risorseFont_;

  // Page and drawing state (lengths in points).
  float scala_ = 1.0f;
  float larghezzaPagina_ = 596, altezzaPagina_ = 842;
  float margineSinistro_ = 0, margineDestro_ = 0, margineAlto_ = 0, margineBasso_ = 0;
  bool inPagina_ = false, inOggetto_ = false;
  std::string bufferPagina_, bufferOggetto_;
  std::vector<OggettoNominato> oggetti_;
  std::set<std::string> nomiRegistrati_, nomiSuonati_;
  std::vector<FontStandard> font_;
  // Standard fonts copied with template pages ("BaseFont/encoding" -> object number): SetFont
  // uses such a copy rather than writing the same font twice.
  std::map<std::string, int> fontImportati_;
  int fontCorrente_ = -1;
  float dimensione_ = 0;
  long stile_ = 0;
  ColorePdf coloreTesto_, coloreRiempimento_, coloreLinea_;
  double x_ = 0, y_ = 0;
  double spaziaturaCaratteri_ = 0, spaziaturaParole_ = 0, scalaOrizzontale_ = 100;
  double interlinea_ = 1;
  int offsetVersione_ = 0;

  std::vector<std::unique_ptr<ModelloPdf>> modelli_;
  AvanzamentoFlussi avanzamento_;

  struct NumeroScritto {
    std::uint64_t bit = 0;       // the value's bits
    std::uint8_t lunghezza = 0;  // 0: an empty slot
    char testo[23] = {};
  };
  std::array<NumeroScritto, 128> numeriScritti_{};
  std::string numeroAppoggio_;  // a number not in the table, while it is written
  std::string testoBox_;        // the Windows-1252 text of DrawTextBox, reused
  // The operators a text line opens and closes with ("... rg BT /F1 10 Tf 10 TL 1 0 0 -1 " and
  // "ET ... rg"), the same for as long as font, size and colours stay: made once for them.
  struct CorniceTesto {
    std::string font;  // its resource name
    float dimensione = 0;
    std::string coloreTesto, coloreRiempimento;
    std::string apertura, chiusura;
  } corniceTesto_;
  const CorniceTesto& Cornice();

  long errNumero_ = 0;
  std::string errOrigine_, errDescrizione_;
};

// The background of a print: page `page` of its template drawn at its natural size at the current
// position. A template that cannot be read or lacks the page throws ErroreFile naming the file and
// saying that `stampa` ("il listato di controllo") was not written: a print is never made on a
// bare page.
void ImportaPaginaModello(PdfWriter& w, const std::filesystem::path& modello, long page,
                          std::string_view stampa);

}  // namespace fcl
