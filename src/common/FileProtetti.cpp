#include "common/FileProtetti.h"

#include <utility>

#include "common/Contesto.h"

namespace fcl {

std::filesystem::path Risolto(const std::filesystem::path& p) {
  std::error_code ec;
  auto assoluto = std::filesystem::absolute(p, ec);
  if (ec) assoluto = p;
  auto risolto = std::filesystem::weakly_canonical(assoluto, ec);
  if (ec) return assoluto.lexically_normal();
  return risolto;
}

namespace {

// Two names of one existing file (a hard link, a case-insensitive volume).
bool StessoFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code ec;
  return std::filesystem::equivalent(a, b, ec) && !ec;
}

}  // namespace

FileProtetti::FileProtetti(const Contesto& ctx) {
  if (ctx.cartellaProgramma.empty()) return;
  const auto& cartella = ctx.cartellaProgramma;
  Aggiungi(ctx.fileIni.empty() ? cartella / "configurazione.ini" : ctx.fileIni,
           "è il file di configurazione del programma");
  Aggiungi(cartella / "FCLtemp.TXT", "è il file intermedio del programma");
  voci_.push_back(
      {cartella / "DataBase", "si trova nella cartella del database del programma", true});
}

void FileProtetti::Aggiungi(const std::filesystem::path& file, std::string descrizione) {
  if (file.empty()) return;
  voci_.push_back({file, std::move(descrizione), false});
}

std::optional<std::string> FileProtetti::Motivo(const std::filesystem::path& uscita) const {
  if (uscita.empty()) return std::nullopt;
  const auto risolta = Risolto(uscita);
  for (const Voce& v : voci_) {
    const auto protetto = Risolto(v.percorso);
    if (!v.cartella) {
      if (risolta == protetto || StessoFile(uscita, v.percorso)) return v.descrizione;
      continue;
    }
    // Any folder above the file may be the protected one, under another spelling.
    for (auto sopra = risolta.parent_path(); !sopra.empty(); sopra = sopra.parent_path()) {
      if (sopra == protetto || StessoFile(sopra, v.percorso)) return v.descrizione;
      if (sopra == sopra.root_path()) break;
    }
  }
  return std::nullopt;
}

}  // namespace fcl
