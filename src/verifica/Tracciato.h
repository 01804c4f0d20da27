#pragma once

#include <span>
#include <string_view>

#include "verifica/Rilievo.h"

namespace fcl {

// The published layout of the communication file as the check reads it: the positional fields of
// records A, B, Z and of the frame of C, D, E; the quadri with their element fields and format
// classes; the constraints between the fields of one row; the totals of record E. The tables are in
// Tracciato.cpp and are written to read like the layout itself; the check (Verificatore) only walks
// them.

inline constexpr int kLunghezzaRecord = 1898;
inline constexpr int kInizioElementi = 90;     // first element of a C, D or E record
inline constexpr int kNumeroElementi = 75;     // elements a record holds, 90-1889
inline constexpr int kLarghezzaElemento = 24;  // 8-character code + 16-character value
inline constexpr int kImportoDaConfermare =
    999999;                                  // above it an amount needs its confirmation box
inline constexpr int kCodiceSanMarino = 37;  // foreign state code of San Marino

// Format classes. The first group are the classes of the 16-character values of the elements (the
// published names in brackets where ours differ); the second group serves the positional fields.
enum class ClasseFormato {
  AN,  // text, left-aligned, upper case
  CB,  // check box: "1", right-aligned
  CF,  // codice fiscale: 16 characters of a person, or 11 digits; left-aligned
  PI,  // partita IVA: 11 digits, left-aligned
  DT,  // date ddmmyyyy, right-aligned
  NP,  // whole positive number (amounts, counts), right-aligned
  CS,  // foreign state code [NU]: a number of up to 3 digits, right-aligned
  PN,  // province of birth: Italian two-letter code, EE for a foreign state
  LS,  // noleggio/leasing [AN]: one letter A-E
  // Positional fields only.
  Fisso,          // exactly the value given in the table
  Vuoto,          // filler or reserved: blank
  Libero,         // space left to the user: anything printable
  Cifre,          // digits only, zero-padded (protocols, counts, role code)
  Casella01,      // "0" or "1"
  Data0,          // a date ddmmyyyy, or "00000000" when absent
  Anno,           // four digits
  Sesso,          // "M", "F", or blank
  Telefono,       // digits, left-aligned
  MeseTrimestre,  // blank, "01"-"12" or "T1"-"T4"
  TipoFornitore,  // "01" or "10"
  Impegno,        // who prepared the communication: "0", "1", "2"
  Attivita,       // ATECO code: six digits
  Produttore,     // software producer's code: a codice fiscale (11 digits or 16 characters)
};

// A quadro of the detail records (and TA, the totals of record E).
struct QuadroTracciato {
  std::string_view sigla;
  char tipoRecord;      // 'C' aggregated, 'D' analytical, 'E' totals
  bool codiciFissi;     // BL and TA: the six digits of the code name the field (no row)
  int righiPerModulo;   // rows one record holds
  int primaRigaFoglio;  // first data row of its sheet in our workbook (BL: 5, or 7)
  std::string_view descrizione;
  std::string_view campoImporto;        // the amount that above 999.999 needs ...
  std::string_view campoConferma;       // ... this confirmation box
  std::string_view campoRegistrazione;  // registration date, expected in the reference year
};

// A field of the elements of a quadro.
struct CampoTracciato {
  std::string_view quadro;
  std::string_view campo;  // field number "001", or the fixed six digits of BL and TA
  ClasseFormato classe;
  char colonna;            // column of the quadro's sheet in our workbook; 0 when none
  char colonnaPrecedente;  // FR only: the column in the earlier layout of the FR sheet
  std::string_view descrizione;
};

// A constraint between the fields of one row of a quadro.
enum class TipoVincolo {
  Esclusione,  // when a field of `se` is present, no field of `allora` may be
  Richiede,  // when a field of `se` is present (always, if `se` is empty), one of `allora` must be
  RichiedeTutti,  // when a field of `se` is present, every field of `allora` must be
};
struct VincoloTracciato {
  std::string_view quadro;
  TipoVincolo tipo;
  std::string_view se;  // field numbers separated by blanks
  std::string_view allora;
  Regola regola;
  std::string_view messaggio;
};

// A total of record E and how it is counted from the rows of the detail records.
enum class MisuraTA { Righe, RigheConCampo, RigheSenzaCampo };
struct TotaleTracciato {
  std::string_view campo;  // six digits after "TA"
  std::string_view quadro;
  MisuraTA misura;
  std::string_view campoRiga;  // for RigheConCampo / RigheSenzaCampo
  std::string_view descrizione;
};

// A positional field of records A, B, Z, or of the frame of C, D, E (record 'X'; 'E' adds its own).
struct CampoPosizionale {
  char record;
  std::string_view nome;  // "B27"; empty where the layout gives no number
  int posizione;
  int larghezza;
  ClasseFormato classe;
  bool obbligatorio;
  std::string_view fisso;  // ClasseFormato::Fisso: the value
  std::string_view descrizione;
};

std::span<const QuadroTracciato> QuadriTracciato();
std::span<const CampoTracciato> CampiTracciato();
std::span<const VincoloTracciato> VincoliTracciato();
std::span<const TotaleTracciato> TotaliTracciato();
std::span<const CampoPosizionale> CampiPosizionali();

// Index in QuadriTracciato() of a quadro, -1 when unknown.
int IndiceQuadro(std::string_view sigla);

// The field of quadro `indice` whose number (row-numbered quadri) or six digits (BL, TA) is
// `chiave`.
const CampoTracciato* TrovaCampo(int indice, int chiave);

// The number of a field as the tables write it ("001" -> 1, "003002" -> 3002); -1 if not digits.
int ChiaveCampo(std::string_view campo);

// The element code of field `chiave` at row `rigo` of a quadro ("FE" row 2 field 1 -> "FE002001").
std::string CodiceElemento(int indice, int rigo, int chiave);

// The description of a field named as in a finding: an element code ("FE002001") or a positional
// name ("B27"). Empty when unknown.
std::string_view DescrizioneCampo(std::string_view campo);

// True for the two-letter codes of the Italian provinces, current and former, and for "EE".
bool ProvinciaNota(std::string_view sigla);

}  // namespace fcl
