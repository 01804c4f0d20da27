#include "register/PrimaApertura.h"

#include <chrono>
#include <ctime>
#include <string>
#include <system_error>

#include "common/ScritturaAtomica.h"
#include "common/Valore.h"

namespace fcl {

bool ImportaAllaPrimaApertura(Contesto& ctx, const std::function<void()>& importaVela) {
  const auto marcatore = ctx.cartellaProgramma / kFilePrimaApertura;
  std::error_code ec;
  if (std::filesystem::exists(marcatore, ec)) return false;

  ctx.importSilenzioso = true;
  if (importaVela) importaVela();

  const std::time_t t = std::chrono::system_clock::to_time_t(ctx.adesso());
  std::tm tm{};
  localtime_r(&t, &tm);
  const Data oggi{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
  ScritturaAtomica file(marcatore);
  file.Scrivi("fatto " + oggi.Testo() + "\r\n");
  file.Conferma();
  return true;
}

}  // namespace fcl
