#pragma once

#include <string>
#include <vector>

#include "lookup/ui/FinestraRicerca.h"

namespace fcl {

// The municipality lookup: the list of a lookup kind (see PreparaElenco), opened with a search
// seed (the text typed in the field) that is searched at once: the first list holds the rows that
// contain it, on the one equal to it, or every row when none contains it. A chosen row answers its
// place and province; "Chiudi", Esc or the close box answer a single empty element, so that the
// caller changes nothing.
class FTAB : public FinestraRicerca {
  Q_OBJECT

 public:
  FTAB(Database& db, Elenco elenco, const std::string& seme, QWidget* genitore = nullptr);

  // The values of the chosen row under the list's choice titles (RisultatoScelta).
  const std::vector<std::string>& RisultatoScelta() const { return risultato_; }

 protected:
  void Scelta(const std::vector<std::string>& valori) override;
  void DopoRiempimento() override;

 private:
  std::vector<std::string> risultato_{std::string()};
};

}  // namespace fcl
