#pragma once

#include <string>
#include <vector>

#include "lookup/ui/FinestraRicerca.h"

namespace fcl {

// The municipality lookup: the list of a lookup kind (see PreparaElenco), opened with a search
// seed that is shown in the search box but not applied (the first list holds every row until
// "Cerca"). A chosen row answers its place and province; "Chiudi", Esc or the close box answer a
// single empty element, so that the caller changes nothing.
class FTAB : public FinestraRicerca {
  Q_OBJECT

 public:
  FTAB(Database& db, Elenco elenco, const std::string& seme, QWidget* genitore = nullptr);

  // The values of the chosen row under the list's choice titles (RisultatoScelta).
  const std::vector<std::string>& RisultatoScelta() const { return risultato_; }

 protected:
  void Scelta(const std::vector<std::string>& valori) override;

 private:
  std::vector<std::string> risultato_{std::string()};
};

}  // namespace fcl
