#pragma once

// Electronic invoices made by the tests: FatturaPA XML written from a few fields, signed with a
// throwaway certificate made at run time, zip archives built in memory.

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace fcl::test {

struct SoggettoProva {
  std::string paese = "IT";
  std::string codice;  // IdFiscaleIVA/IdCodice; empty: no IdFiscaleIVA
  std::string cf;
  std::string denominazione;
  std::string nome, cognome;
  std::string comune = "MILANO";
  std::string indirizzo = "VIA ROMA";
  std::string nazione = "IT";
};

struct RiepilogoProva {
  std::string imponibile;
  std::string imposta;
  std::string natura;
};

struct CorpoProva {
  std::string tipo = "TD01";
  std::string data = "2025-03-10";
  std::string numero = "1";
  std::vector<RiepilogoProva> riepiloghi = {{"1000.00", "220.00", ""}};
  std::string divisa = "EUR";
  std::size_t allegato = 0;  // bytes of base64 attachment
};

struct FatturaProva {
  SoggettoProva cedente;
  SoggettoProva cessionario;
  std::vector<CorpoProva> corpi = {CorpoProva{}};
  std::string prefisso = "p";  // namespace prefix of the root; empty: default namespace
  std::string codifica = "UTF-8";
  bool bom = false;
};

// The operator of the tests (a company whose fiscal code is its VAT number).
inline constexpr const char* kOperatore = "02468130162";
SoggettoProva Operatore();
// An Italian company with a valid VAT number (n-th of a small list).
SoggettoProva Azienda(int n);

// The XML of the invoice, in its declared encoding.
std::string Xml(const FatturaProva& f);
// Signed envelope of the content (CMS, the certificate inside): DER, or base64 with lines of 64
// characters or on one line.
enum class FormaP7m { Der, Base64Righe, Base64Unica };
std::string Firma(const std::string& contenuto, FormaP7m forma = FormaP7m::Der);
// A zip archive of (name, bytes) entries; `memorizzate` stores them without compression.
std::string Zip(const std::vector<std::pair<std::string, std::string>>& voci,
                bool memorizzate = false);
void Scrivi(const std::filesystem::path& file, const std::string& byte);

}  // namespace fcl::test
