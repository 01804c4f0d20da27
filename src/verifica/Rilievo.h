#pragma once

#include <string>

namespace fcl {

// How serious a finding is: Errore when the Agenzia's control software would reject the file,
// Avvertimento when the file would probably pass but the value deserves a look.
enum class Gravita { Errore, Avvertimento };

// The rule a finding breaks. Each rule has one severity, kept with its name in the table of
// Regole.cpp, so that the severities can be read (and changed) in one place.
enum class Regola {
  // The file and the frame of its records.
  FileVuoto,
  FineRiga,             // a line not ended by CR LF
  LunghezzaRecord,      // not 1898 characters
  CarattereControllo,   // a control character inside a record
  FineRecord,           // position 1898 not "A"
  TipoRecord,           // a record type other than A, B, C, D, E, Z
  OrdineRecord,         // a record out of the order A, B, C/D, E, Z
  RecordMancante,       // a record A, B, E or Z missing
  Riempitivo,           // a filler or reserved area not blank
  ValoreFisso,          // a fixed value ("NSP00", "00000001") different
  ProgressivoModulo,    // the module number of a detail record
  CodiceFiscaleRecord,  // positions 2-17 of C, D, E different from record B
  CodiceProduttore,     // producer code not a valid fiscal code, or different from record B's
  ConteggioZ,           // the counts of record Z
  // Values by their format class.
  Obbligatorio,  // a required positional field left blank
  CodiceFiscale,
  PartitaIva,
  UfficioPartitaIva,  // the office code (digits 8-10) of a partita IVA is not an assigned one
  Data,
  Numerico,     // a positional number (protocol, count, year, role code) that is not digits
  Importo,      // an amount or count that is not a whole positive number
  ValoreZero,   // an amount, count or box written as zero
  Casella,      // a check box other than "1"
  CodiceStato,  // a foreign state code that is not a 3-digit number
  Provincia,
  ProvinciaSconosciuta,
  Leasing,            // noleggio/leasing other than A-E
  Allineamento,       // a number, date or code not aligned as its class requires
  AllineamentoTesto,  // a text not left-aligned
  Minuscole,          // lower-case letters in a text
  CarattereNonAscii,  // accented letters or symbols outside ASCII
  Telefono,
  Sesso,
  // Record A and B.
  TipoFornitore,      // A 21-22 against the intermediary of record B
  FornitoreA,         // A 23-38 against record B
  ProgressivoInvio,   // A 522-529
  TipoComunicazione,  // exactly one of ordinary, substitutive, cancellation
  Protocollo,
  TipologiaDati,     // exactly one of aggregated, analytical
  QuadroCompilato,   // a quadro box against the records present
  DatiMisti,         // C records in an analytical communication, D in an aggregated one
  Annullamento,      // a cancellation that carries data
  DatiContribuente,  // person against company data of the taxpayer
  TipoSoggetto,      // a person's fiscal code with company data, or the other way round
  MeseTrimestre,     // B 380-381
  SoggettoTenuto,
  DatiSoggettoTenuto,
  Intermediario,
  // Detail records.
  CodiceCampo,  // an element code that is not one of the layout
  RigoModulo,   // a row number beyond the rows a module holds
  CampoRipetuto,
  Continuazione,        // a "+" element without the element it continues, or on a non-text field
  ContinuazioneDivisa,  // a continued value split over two records
  ElementoDopoVuoto,    // an element after a blank one
  ValoreVuoto,          // an element with a blank value
  Alternativi,          // two fields that exclude each other
  DatoMancante,         // none of the fields of which one is required
  DatiIncompleti,       // a block of data only partly filled
  SezioneBL,            // a black-list amount section that does not match the kind of operation
  ConfermaImporto,      // an amount above 999.999 without its confirmation box
  ConfermaSuperflua,    // the confirmation box with an amount up to 999.999
  DataFuoriAnno,        // a registration date outside the reference year
  SanMarino,            // San Marino purchases without the month in record B
  IdentificativoIva,    // SE identification number for a supplier outside San Marino
  TotaleTA,             // a total of record E against the detail records
};

// One finding of the check of a communication file. Every item says where the finding is, as far
// as it is known: 0 (or empty) when an item does not apply.
struct Rilievo {
  Gravita gravita = Gravita::Errore;
  Regola regola = Regola::FileVuoto;
  long long record = 0;      // line of the file, 1-based; 0 for the file as a whole
  char tipoRecord = ' ';     // record type as read at position 1 ('A' ... 'Z'); ' ' when unknown
  long long modulo = 0;      // module number (positions 18-25) of a B, C, D or E record
  std::string quadro;        // "FA" ... "TU", "TA" for record E; empty for positional fields
  int rigo = 0;              // row within the module, from the field code (BL: 1)
  long long rigaQuadro = 0;  // n-th row of the quadro in the file, i.e. the n-th data row of its
                             // sheet (see RigaFoglio); 0 when the finding is not about one row
  std::string campo;         // element code ("FE002001") or positional field ("B27"); may be empty
  int posizione = 0;         // first position (1-based) of the field or element in the record
  int larghezza = 0;         // its width
  std::string messaggio;     // Italian, UTF-8, for the user
};

}  // namespace fcl
