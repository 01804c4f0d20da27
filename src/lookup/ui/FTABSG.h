#pragma once

#include <optional>
#include <string>

#include "lookup/ui/FinestraRicerca.h"

namespace fcl {

// The activity-code chosen in the ATECO 2007 lookup. "Chiudi" answers an empty choice: the caller
// then empties its activity boxes.
struct SceltaAttivita {
  std::string codice;       // CodiceScelto, with its dots ("01.11.10")
  std::string descrizione;  // DescrizioneScelta
};

// The activity-code lookup over ATECO2007. A chosen row answers code and description; "Chiudi" (or
// a click on the window's background) answers an empty choice; Esc and the close box answer no
// choice at all, so the caller's boxes stay as they are. While the table is empty the window says
// how to load it.
class FTABSG : public FinestraRicerca {
  Q_OBJECT

 public:
  explicit FTABSG(Database& db, QWidget* genitore = nullptr);

  // nullopt: closed without a choice (Esc, close box).
  const std::optional<SceltaAttivita>& Risultato() const { return scelta_; }

  void Chiudi() override;

  // Opens the window modally and returns its answer.
  static std::optional<SceltaAttivita> ScegliAttivita(Database& db, QWidget* genitore);

 protected:
  void Scelta(const std::vector<std::string>& valori) override;
  void DopoRiempimento() override;

 private:
  std::optional<SceltaAttivita> scelta_;
};

}  // namespace fcl
