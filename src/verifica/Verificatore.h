#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "verifica/LettoreRecord.h"
#include "verifica/RigaFoglio.h"
#include "verifica/Rilievo.h"
#include "verifica/Tracciato.h"

namespace fcl {

// The check of a communication file against the published layout, fed one line at a time and told
// when the file ends. It keeps only what later records are checked against (records A and B, the
// row being read, counts per quadro), so a file of any length is checked in constant memory.
//
// Each finding goes to the receiver as soon as it is known, with `essenziale` true when it concerns
// the file as a whole or the first record A, B, E or Z (a bounded number: callers that keep only
// the first findings of a long file keep these too). Findings that need the whole file (the quadro
// boxes of record B against the records present, the month against the quadri, missing records)
// come from Fine(). Lines of the wrong length are reported and otherwise skipped.
class Verificatore {
 public:
  using Ricevitore = std::function<void(const Rilievo&, bool essenziale)>;

  explicit Verificatore(Ricevitore ricevi);

  void Riga(const RigaLetta& riga);
  void Fine();

  long long RecordLetti() const { return numero_; }

 private:
  enum class Fase { Inizio, DopoA, DopoB, Dettaglio, DopoE, DopoZ };
  enum class Invio { Ignoto, Ordinaria, Sostitutiva, Annullamento };

  // A field of the row being read: what the rules between fields need, and where it was.
  struct CampoRiga {
    int chiave;
    std::array<char, 16> valore;  // the first element's value
    long long record;
    long long modulo;
    int posizione;
    bool attivo;  // a value that counts as given (a box "0" does not)
    std::string_view Valore() const { return {valore.data(), valore.size()}; }
  };
  struct RigaInCorso {
    int quadro = -1;
    long long riga = 0;
    int rigo = 0;
    long long record = 0;  // where the row begins
    long long modulo = 0;
    std::vector<CampoRiga> campi;
    const CampoRiga* Trova(int chiave) const;
  };
  struct Vincolo {
    TipoVincolo tipo;
    std::vector<int> se;
    std::vector<int> allora;
    Regola regola;
    std::string_view messaggio;
  };

  // Where and what.
  Rilievo Luogo() const;
  Rilievo LuogoPosizionale(std::string_view nome, int posizione, int larghezza) const;
  Rilievo LuogoSuRecord(long long record, char tipo, std::string_view nome, int posizione,
                        int larghezza) const;
  void Segnala(Rilievo luogo, Regola regola, std::string messaggio);

  // Records.
  void Ordine(char tipo);
  void ControllaPosizionali(char record);
  void RecordA();
  void RecordB();
  void ControlliFrontespizio();
  void ControlliFornitore();
  void CornicePosizionale(char tipo);
  void RecordDettaglio(char tipo);
  void ProgressivoModulo(int quadroRecord);
  void Elemento(char tipo, int indice, std::string_view slot, bool& vuotoPrima);
  void ChiudiRiga();
  Rilievo LuogoCampo(const CampoRiga& campo) const;  // a field of the row being closed
  Rilievo LuogoMancante(int chiave) const;           // a field the row lacks
  void ControlliRiga(const QuadroTracciato& quadro);
  void RecordE();
  void RecordZ();
  void FineFrontespizio();

  std::string_view CampoB(int posizione, int larghezza) const;
  bool Compilato(std::string_view testo) const;  // not blank, and not a "00000000" date

  Ricevitore ricevi_;

  // The current line.
  long long numero_ = 0;
  std::string_view record_;
  char tipo_ = ' ';
  long long modulo_ = 0;

  // Order of the records and the first of each kind.
  Fase fase_ = Fase::Inizio;
  long long lineaA_ = 0, lineaB_ = 0, lineaE_ = 0, lineaZ_ = 0;
  std::array<long long, 6> conteggio_{};  // lines of type A, B, C, D, E, Z
  long long righeSenzaCrLf_ = 0;
  long long primaSenzaCrLf_ = 0;

  // Records A and B, kept whole (the first of each).
  std::string a_;
  std::string b_;
  Invio invio_ = Invio::Ignoto;
  char tipoDati_ = 0;  // 'C' aggregated, 'D' analytical, 0 not stated
  int anno_ = 0;
  std::string mese_;  // B 380-381, trimmed

  // Detail records.
  RigaFoglio righe_;
  RigaInCorso riga_;
  std::string ultimoCodice_;  // code of the last element, for "+" continuations
  // Codes already found in the layout: the eight bytes of the code, its quadro, row and field.
  // A record repeats the same few codes, so most are looked up here rather than parsed again.
  struct CodiceNoto {
    std::uint64_t codice = 0;
    int quadro = -1, rigo = 0, chiave = 0;
    const CampoTracciato* campo = nullptr;
  };
  std::array<CodiceNoto, 512> codiciNoti_{};
  long long moduloPrecedente_ = 0;
  int quadroPrecedente_ = -1;
  bool precedentePieno_ = false;
  char primoDettaglio_ = 0;
  bool datiMistiSegnalati_ = false;
  bool annullamentoSegnalato_ = false;
  bool sanMarino_ = false;
  bool sanMarinoSegnalato_ = false;
  std::array<long long, 12> righeQuadro_{};  // rows with elements, per quadro
  std::array<bool, 12> recordQuadro_{};      // the quadro occurs in some element
  std::vector<long long> totali_;            // per TotaliTracciato() entry
  std::vector<int> chiaviTotali_;            // field key of each total's condition
  std::array<std::vector<Vincolo>, 12> vincoli_;
};

}  // namespace fcl
