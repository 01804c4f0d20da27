#pragma once

#include <string>

namespace fcl {

// A party of an electronic invoice (CedentePrestatore or CessionarioCommittente) as far as the
// communication needs it.
struct SoggettoFattura {
  std::string idPaese;   // IdFiscaleIVA/IdPaese (ISO 3166-1 alpha-2)
  std::string idCodice;  // IdFiscaleIVA/IdCodice
  std::string codiceFiscale;
  std::string denominazione;
  std::string nome;
  std::string cognome;
  std::string indirizzo;
  std::string numeroCivico;
  std::string comune;
  std::string nazione;  // Sede/Nazione
};

// One invoice (one FatturaElettronicaBody) with the header of its file. Amounts are in cents,
// summed over the DatiRiepilogo lines.
struct Fattura {
  SoggettoFattura cedente;
  SoggettoFattura cessionario;
  std::string tipoDocumento;  // TD01 ...
  std::string divisa;
  std::string data;  // as written: yyyy-mm-dd
  std::string numero;
  long long imponibile = 0;
  long long imposta = 0;
  int righeRiepilogo = 0;
  bool naturaN5 = false;       // margin scheme / VAT not shown on the invoice
  bool naturaN6 = false;       // reverse charge (N6, N6.x)
  bool naturaEsclusa = false;  // N1 (excluded) or N2 (not subject), N2.x
  std::string importoErrato;   // an amount that is no decimal number, as written
  int posizione = 1;           // 1-based place of the body in its file
};

}  // namespace fcl
