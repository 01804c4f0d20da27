#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "fatture/OpzioniFatture.h"
#include "workbook/ElaboraCartella.h"
#include "workbook/LettoreCartella.h"

namespace fcl {

class Interazione;
struct Contesto;

// The source of data of the main road: one workbook (.xls, .xlsx, .ods), or the year's electronic
// invoices (folders, .zip archives, .xml and .xml.p7m files, any number of them), with what the
// invoices need to be read for one operator.
struct RichiestaSorgente {
  std::vector<std::filesystem::path> percorsi;
  OpzioniFatture fatture;
};

// Whether the paths are invoices rather than a workbook: more than one path, a folder, or a file
// that is not a workbook by its content (XML, a signed envelope, a zip archive of invoices).
bool SorgenteDiFatture(const std::vector<std::filesystem::path>& percorsi);

// Opens the source: a workbook through ApriCartella; invoices through CartellaFatture, whose
// reader carries the names of its rows and its report (LettoreCartella::Posizioni). `ui`, when
// given, hears the progress of the invoices read ("Fatture elettroniche", files so far) and may
// stop it. Throws ErroreCartella or Errore when the source cannot be read.
std::unique_ptr<LettoreCartella> ApriSorgente(const RichiestaSorgente& richiesta,
                                              Interazione* ui = nullptr);

// The opener the run takes (ElaboraCartella): the source of the request, whatever path the run
// names (the run names the first).
ApriCartellaFn ApriSorgenteFn(RichiestaSorgente richiesta, Interazione* ui = nullptr);

// The reading options of the current operator of `ctx`: its partita IVA and codice fiscale, the
// year (empty or not a year: every year) and the list of registration dates (may be empty).
OpzioniFatture OpzioniOperatore(const Contesto& ctx, const std::string& anno,
                                const std::filesystem::path& registrazioni = {});

// The file dialog's filter for a source: workbooks and invoices.
inline constexpr std::string_view kFiltroSorgente =
    "Fogli Excel e fatture elettroniche (*.XLS;*.XLSX;*.ODS;*.ZIP;*.XML;*.P7M)|"
    "*.XLS;*.XLSX;*.ODS;*.ZIP;*.XML;*.P7M|Fatture elettroniche (*.ZIP;*.XML;*.P7M)|"
    "*.ZIP;*.XML;*.P7M";

}  // namespace fcl
