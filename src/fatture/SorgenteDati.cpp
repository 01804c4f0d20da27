#include "fatture/SorgenteDati.h"

#include <charconv>
#include <fstream>

#include "common/Contesto.h"
#include "common/Interazione.h"
#include "fatture/CartellaFatture.h"
#include "workbook/ErroriCartella.h"

namespace fcl {
namespace {

// A zip archive that is a .xlsx or .ods workbook, rather than an archive of invoices.
bool ArchivioCartella(const std::filesystem::path& p) {
  try {
    ApriCartella(p);
    return true;
  } catch (const ErroreCartella& e) {
    // A workbook that is damaged or protected is still a workbook: its own message tells.
    return e.Numero() != errori_cartella::kNonCartella;
  }
}

}  // namespace

bool SorgenteDiFatture(const std::vector<std::filesystem::path>& percorsi) {
  if (percorsi.size() != 1) return true;
  const auto& p = percorsi.front();
  std::error_code ec;
  if (std::filesystem::is_directory(p, ec)) return true;
  std::ifstream file(p, std::ios::binary);
  if (!file) return false;  // the workbook reader tells what is wrong
  char inizio[8] = {};
  file.read(inizio, sizeof inizio);
  const std::string_view b(inizio, static_cast<std::size_t>(file.gcount()));
  if (b.starts_with("\xD0\xCF\x11\xE0")) return false;  // a compound file: .xls
  if (b.starts_with("PK")) return !ArchivioCartella(p);
  // XML, a signed envelope, anything else: read as invoices only when it is named so.
  std::string estensione = p.extension().string();
  for (char& c : estensione)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return estensione == ".xml" || estensione == ".p7m";
}

std::unique_ptr<LettoreCartella> ApriSorgente(const RichiestaSorgente& r, Interazione* ui) {
  if (!SorgenteDiFatture(r.percorsi)) return ApriCartella(r.percorsi.front());
  return std::make_unique<CartellaFatture>(r.percorsi, r.fatture, [ui](long long file) {
    if (ui == nullptr || file % 64 != 0) return;
    ui->ControllaInterruzione();
    ui->Avanzamento("Fatture elettroniche: file letti", file, 0);
  });
}

ApriCartellaFn ApriSorgenteFn(RichiestaSorgente richiesta, Interazione* ui) {
  return [richiesta = std::move(richiesta), ui](const std::filesystem::path& percorso) {
    if (richiesta.percorsi.empty()) {
      RichiestaSorgente una = richiesta;
      una.percorsi = {percorso};
      return ApriSorgente(una, ui);
    }
    return ApriSorgente(richiesta, ui);
  };
}

OpzioniFatture OpzioniOperatore(const Contesto& ctx, const std::string& anno,
                                const std::filesystem::path& registrazioni) {
  OpzioniFatture o;
  o.partitaIva = ctx.operatoreCorrente.partitaIvaDigitata;
  o.codiceFiscale = ctx.operatoreCorrente.codiceFiscaleDigitato;
  if (o.codiceFiscale.empty()) o.codiceFiscale = ctx.operatoreCorrente.codiceFiscale;
  int a = 0;
  const auto r = std::from_chars(anno.data(), anno.data() + anno.size(), a);
  if (r.ec == std::errc() && r.ptr == anno.data() + anno.size() && a >= 1900 && a <= 2099)
    o.anno = a;
  o.registrazioni = registrazioni;
  return o;
}

}  // namespace fcl
