#pragma once

#include <span>

// The geometry of the check listing's page, shared by the listing (ListatoPdf) and by the drawing
// of its template (tools/modelli-stampa), so that every value is printed inside the column whose
// rule and heading the template draws.
//
// Coordinates are centimetres from the top-left corner of the landscape page (29.7 x 21). Each
// quadro's columns are bands side by side in the order of the page: a band starts at `inizio`
// (where the template draws the rule before it) and ends where the next one starts (the last at
// kFineColonne). The value of a column is drawn in its box (x, larghezza), which lies inside the
// band: a text starts at x, an amount ends at x + larghezza; a value wider than its box is
// squeezed into it, never run into the next column. Amount boxes hold "99.999.999" (counts
// "99.999") at their natural width.
//
// Quadri with a name line (BL, FN, SE, TU) print it in a band from kInizioColonne to the first
// column, the box starting at kXNominativo.

namespace fcl::listato {

enum Formato {
  kTesto,             // the cell as read, from the left of the box
  kImporto,           // an amount ("###,###,###"), to the right of the box
  kImportoASinistra,  // formatted as an amount, from the left (SA column D, the leasing code)
};

struct ColonnaListato {
  const char* lettere;       // column letter(s) in the heading ("C (F)": current and earlier FR)
  const char* intestazione;  // caption under the letters
  int indice;                // cell printed (0 = A)
  int indicePrecedente;      // the cell in the earlier FR layout; the same elsewhere
  float inizio;              // left edge of the band: the rule before it
  float x, larghezza;        // the value's box
  Formato formato;
};

struct QuadroListato {
  int numero;          // the quadro number: the template page
  const char* nome;    // "FA"
  const char* titolo;  // at the top of the page
  // Name line: caption of its band and width of its box (0: no name line).
  const char* intestazioneNome;
  float larghezzaNome;
  std::span<const ColonnaListato> colonne;
};

// The page: heading band, rows, and the rule under the last row.
inline constexpr float kInizioColonne = 0.2f;
inline constexpr float kFineColonne = 29.4f;
inline constexpr float kXNominativo = 0.3f;
inline constexpr float kInizioTestata = 2.45f;
inline constexpr float kFineTestata = 5.15f;
inline constexpr float kPrimaRiga = 5.3f;  // top of the first row's boxes
inline constexpr float kPasso = 0.5f;
inline constexpr int kRighePagina = 29;
inline constexpr float kRigaFondo = kPrimaRiga - 0.05f + kPasso * kRighePagina;  // 19.75

inline constexpr ColonnaListato kFA[] = {
    {"A", "Partita IVA", 0, 0, 0.2f, 0.8f, 1.9f, kTesto},
    {"B", "Codice fiscale", 1, 1, 2.74f, 2.8f, 3.1f, kTesto},
    {"C", "Doc. riepil.", 2, 2, 5.94f, 6.0f, 0.88f, kTesto},
    {"D", "N. operazioni attive", 3, 3, 6.92f, 6.96f, 0.94f, kImporto},
    {"E", "N. operazioni passive", 4, 4, 8.52f, 8.56f, 0.94f, kImporto},
    {"F", "Noleggio/ leasing (A-E)", 5, 5, 9.94f, 10.0f, 1.11f, kTesto},
    {"G", "Attive: imp. / non imp. / esenti", 6, 6, 11.15f, 11.19f, 1.41f, kImporto},
    {"H", "Attive: imposta", 7, 7, 13.15f, 13.19f, 1.41f, kImporto},
    {"I", "Attive: IVA non esposta", 8, 8, 15.05f, 15.09f, 1.41f, kImporto},
    {"J", "Attive: note var. a debito", 9, 9, 16.95f, 16.99f, 1.41f, kImporto},
    {"K", "Attive: imposta note debito", 10, 10, 18.55f, 18.59f, 1.41f, kImporto},
    {"L", "Passive: imp. / non imp. / esenti", 11, 11, 20.75f, 20.79f, 1.41f, kImporto},
    {"M", "Passive: imposta", 12, 12, 22.55f, 22.59f, 1.41f, kImporto},
    {"N", "Passive: IVA non esposta", 13, 13, 24.15f, 24.19f, 1.41f, kImporto},
    {"O", "Passive: note var. a credito", 14, 14, 26.05f, 26.09f, 1.41f, kImporto},
    {"P", "Passive: imposta note credito", 15, 15, 27.55f, 27.59f, 1.41f, kImporto},
};

inline constexpr ColonnaListato kSA[] = {
    {"A", "Codice fiscale", 0, 0, 0.2f, 0.8f, 4.88f, kTesto},
    {"B", "Numero operazioni", 1, 1, 5.72f, 5.76f, 0.94f, kImporto},
    {"C", "Importo complessivo (IVA inclusa)", 2, 2, 7.35f, 7.39f, 1.41f, kImporto},
    {"D", "Noleggio/ leasing (A-E)", 3, 3, 9.94f, 10.0f, 19.36f, kImportoASinistra},
};

inline constexpr ColonnaListato kBL[] = {
    {"K", "Codice identificativo IVA", 10, 10, 6.94f, 7.0f, 2.2f, kTesto},
    {"L", "Paesi fisc. privil.", 11, 11, 9.24f, 9.3f, 1.0f, kTesto},
    {"M", "Non resid.", 12, 12, 10.34f, 10.4f, 1.0f, kTesto},
    {"N", "Acquisti servizi", 13, 13, 11.44f, 11.5f, 0.91f, kTesto},
    {"O", "Attive: imp. / non imp. / esenti", 14, 14, 12.45f, 12.49f, 1.41f, kImporto},
    {"P", "Attive: imposta", 15, 15, 13.98f, 14.02f, 1.41f, kImporto},
    {"Q", "Attive non sogg.: beni", 16, 16, 15.51f, 15.55f, 1.41f, kImporto},
    {"R", "Attive non sogg.: servizi", 17, 17, 17.04f, 17.08f, 1.41f, kImporto},
    {"S", "Attive: note di variazione", 18, 18, 18.57f, 18.61f, 1.41f, kImporto},
    {"T", "Attive: imposta note var.", 19, 19, 20.1f, 20.14f, 1.41f, kImporto},
    {"U", "Passive: imp. / non imp. / esenti", 20, 20, 21.63f, 21.67f, 1.41f, kImporto},
    {"V", "Passive: imposta", 21, 21, 23.16f, 23.2f, 1.41f, kImporto},
    {"W", "Passive non soggette IVA", 22, 22, 24.69f, 24.73f, 1.41f, kImporto},
    {"X", "Passive: note di variazione", 23, 23, 26.22f, 26.26f, 1.41f, kImporto},
    {"Y", "Passive: imposta note var.", 24, 24, 27.75f, 27.79f, 1.41f, kImporto},
};

inline constexpr ColonnaListato kFE[] = {
    {"A", "Partita IVA", 0, 0, 0.2f, 0.8f, 2.1f, kTesto},
    {"B", "Codice fiscale", 1, 1, 2.94f, 3.0f, 4.4f, kTesto},
    {"C", "Documento riepilogativo", 2, 2, 7.44f, 7.5f, 1.9f, kTesto},
    {"D", "IVA non esposta", 3, 3, 9.44f, 9.5f, 1.4f, kTesto},
    {"E", "Noleggio/ leasing (A-E)", 4, 4, 10.94f, 11.0f, 1.4f, kTesto},
    {"F", "Autofattura", 5, 5, 12.44f, 12.5f, 1.4f, kTesto},
    {"G", "Data documento", 6, 6, 13.94f, 14.0f, 2.4f, kTesto},
    {"H", "Data registrazione", 7, 7, 16.44f, 16.5f, 1.9f, kTesto},
    {"I", "Numero documento", 8, 8, 18.44f, 18.5f, 2.61f, kTesto},
    {"J", "Imponibile/ importo", 9, 9, 21.15f, 21.19f, 1.41f, kImporto},
    {"K", "Imposta", 10, 10, 23.25f, 23.29f, 1.41f, kImporto},
    {"L", "Importo > 999.999 (conferma)", 11, 11, 25.44f, 25.5f, 3.86f, kTesto},
};

inline constexpr ColonnaListato kFR[] = {
    {"A", "Partita IVA", 0, 0, 0.2f, 0.8f, 3.1f, kTesto},
    {"B", "Documento riepilogativo", 1, 1, 3.94f, 4.0f, 1.4f, kTesto},
    {"C (F)", "Data documento", 2, 5, 5.44f, 5.5f, 2.4f, kTesto},
    {"D (G)", "Data registrazione", 3, 6, 7.94f, 8.0f, 2.7f, kTesto},
    {"E (C)", "IVA non esposta", 4, 2, 10.74f, 10.8f, 2.1f, kTesto},
    {"F (D)", "Reverse charge", 5, 3, 12.94f, 13.0f, 2.7f, kTesto},
    {"G (E)", "Autofattura", 6, 4, 15.74f, 15.8f, 1.71f, kTesto},
    {"H", "Imponibile/ importo", 7, 7, 17.55f, 17.59f, 1.41f, kImporto},
    {"I", "Imposta", 8, 8, 19.25f, 19.29f, 1.41f, kImporto},
    {"J", "Importo > 999.999 (conferma)", 9, 9, 21.44f, 21.5f, 7.86f, kTesto},
};

inline constexpr ColonnaListato kNE[] = {
    {"A", "Partita IVA", 0, 0, 0.2f, 0.8f, 2.1f, kTesto},
    {"B", "Codice fiscale", 1, 1, 2.94f, 3.0f, 3.7f, kTesto},
    {"C", "Data emissione", 2, 2, 6.74f, 6.8f, 2.4f, kTesto},
    {"D", "Data registrazione", 3, 3, 9.24f, 9.3f, 2.4f, kTesto},
    {"E", "Numero nota", 4, 4, 11.74f, 11.8f, 2.71f, kTesto},
    {"F", "Imponibile/ importo", 5, 5, 14.55f, 14.59f, 1.41f, kImporto},
    {"G", "Imposta", 6, 6, 16.35f, 16.39f, 1.41f, kImporto},
    {"H", "Importo > 999.999 (conferma)", 7, 7, 18.94f, 19.0f, 10.36f, kTesto},
};

inline constexpr ColonnaListato kNR[] = {
    {"A", "Partita IVA", 0, 0, 0.2f, 0.8f, 2.6f, kTesto},
    {"B", "Data documento", 1, 1, 3.44f, 3.5f, 2.4f, kTesto},
    {"C", "Data registrazione", 2, 2, 5.94f, 6.0f, 2.31f, kTesto},
    {"D", "Imponibile/ importo", 3, 3, 8.35f, 8.39f, 1.41f, kImporto},
    {"E", "Imposta", 4, 4, 10.15f, 10.19f, 1.41f, kImporto},
    {"F", "Importo > 999.999 (conferma)", 5, 5, 12.44f, 12.5f, 16.86f, kTesto},
};

inline constexpr ColonnaListato kDF[] = {
    {"A", "Codice fiscale", 0, 0, 0.2f, 0.3f, 3.6f, kTesto},
    {"B", "Data operazione", 1, 1, 3.94f, 4.0f, 2.71f, kTesto},
    {"C", "Importo (IVA inclusa)", 2, 2, 6.75f, 6.79f, 1.41f, kImporto},
    {"D", "Noleggio/ leasing (A-E)", 3, 3, 9.44f, 9.5f, 2.2f, kTesto},
    {"E", "Importo > 999.999 (conferma)", 4, 4, 11.74f, 11.8f, 17.56f, kTesto},
};

inline constexpr ColonnaListato kFN[] = {
    {"K", "Data emissione", 10, 10, 16.44f, 16.5f, 2.1f, kTesto},
    {"L", "Data registrazione", 11, 11, 18.64f, 18.7f, 2.0f, kTesto},
    {"M", "Numero documento", 12, 12, 20.74f, 20.8f, 2.1f, kTesto},
    {"N", "Noleggio o leasing", 13, 13, 22.94f, 23.0f, 1.01f, kTesto},
    {"O", "Imponibile/ importo", 14, 14, 24.05f, 24.09f, 1.41f, kImporto},
    {"P", "Imposta", 15, 15, 25.85f, 25.89f, 1.41f, kImporto},
    {"Q", "> 999.999", 16, 16, 27.94f, 28.0f, 1.36f, kTesto},
};

inline constexpr ColonnaListato kSE[] = {
    {"K", "Codice identificativo IVA", 10, 10, 14.44f, 14.5f, 2.6f, kTesto},
    {"L", "Data emissione", 11, 11, 17.14f, 17.2f, 2.1f, kTesto},
    {"M", "Data registrazione", 12, 12, 19.34f, 19.4f, 1.8f, kTesto},
    {"N", "Numero documento", 13, 13, 21.24f, 21.3f, 2.21f, kTesto},
    {"O", "Imponibile/ importo", 14, 14, 23.55f, 23.59f, 1.41f, kImporto},
    {"P", "Imposta", 15, 15, 25.35f, 25.39f, 1.41f, kImporto},
    {"Q", "> 999.999", 16, 16, 27.44f, 27.5f, 1.86f, kTesto},
};

inline constexpr ColonnaListato kTU[] = {
    {"I", "Data emissione", 8, 8, 16.94f, 17.0f, 2.4f, kTesto},
    {"J", "Data registrazione", 9, 9, 19.44f, 19.5f, 1.5f, kTesto},
    {"K", "Numero documento", 10, 10, 21.04f, 21.1f, 2.61f, kTesto},
    {"L", "Imponibile/ importo", 11, 11, 23.75f, 23.79f, 1.41f, kImporto},
    {"M", "Imposta", 12, 12, 25.75f, 25.79f, 1.41f, kImporto},
    {"N", "> 999.999", 13, 13, 27.94f, 28.0f, 1.36f, kTesto},
};

inline constexpr const char* kAnagrafica =
    "A Cognome  B Nome - C Data di nascita - D Comune o Stato estero di nascita (E Prov.) - "
    "F Stato estero di domicilio  /  senza cognome: G Denominazione - H Città estera della sede - "
    "I Stato estero della sede - J Indirizzo estero";

inline constexpr QuadroListato kQuadri[] = {
    {2, "FA", "Operazioni con soggetti titolari di partita IVA (dati aggregati)", nullptr, 0, kFA},
    {3, "SA", "Operazioni con soggetti non titolari di partita IVA (dati aggregati)", nullptr, 0,
     kSA},
    {4, "BL", "Operazioni con paesi a fiscalità privilegiata, non residenti, servizi", kAnagrafica,
     6.6f, kBL},
    {5, "FE", "Fatture emesse e documenti riepilogativi (operazioni attive)", nullptr, 0, kFE},
    {6, "FR", "Fatture ricevute e documenti riepilogativi (operazioni passive)", nullptr, 0, kFR},
    {7, "NE", "Note di variazione emesse", nullptr, 0, kNE},
    {8, "NR", "Note di variazione ricevute", nullptr, 0, kNR},
    {9, "DF", "Operazioni senza fattura", nullptr, 0, kDF},
    {10, "FN", "Operazioni con soggetti non residenti", kAnagrafica, 16.1f, kFN},
    {11, "SE", "Acquisti di servizi da non residenti e acquisti da operatori di San Marino",
     kAnagrafica, 14.1f, kSE},
    {12, "TU", "Operazioni legate al turismo (art. 3 D.L. 16/2012)",
     "A Cognome  B Nome - C Data di nascita - D Comune o Stato estero di nascita (E Prov.) - "
     "F Città estera di residenza - G Stato estero di residenza - H Indirizzo estero",
     16.6f, kTU},
};

// The quadro with template page `numero` (2 FA ... 12 TU); nullptr for any other number.
constexpr const QuadroListato* TrovaQuadroListato(int numero) {
  for (const QuadroListato& q : kQuadri)
    if (q.numero == numero) return &q;
  return nullptr;
}

}  // namespace fcl::listato
