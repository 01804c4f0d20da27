#include "workbook/ElaboraCartella.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "common/BloccoFile.h"
#include "common/Cp1252.h"
#include "common/ErroreSistema.h"
#include "common/Errori.h"
#include "common/FileProtetti.h"
#include "common/NomiFileComunicazione.h"
#include "common/PosizioniSorgente.h"
#include "common/RoutineCampi.h"
#include "common/ScritturaAtomica.h"
#include "workbook/CodificaRiga.h"
#include "workbook/DefinizioneQuadro.h"
#include "workbook/ListatoPdf.h"
#include "workbook/ModelloFoglioBase.h"
#include "workbook/RecordDettaglio.h"

namespace fcl {
namespace {

constexpr int kPrimoFoglio = 2;
constexpr int kUltimoFoglio = 12;
constexpr int kColonneFineFoglio = 10;  // a row whose A-J are all empty ends the sheet

void Azzera(TotaliImport& t) {
  t.righePerQuadro.fill(0);
  t.righeTotali = 0;
  const auto codici = CodiciTA();
  for (std::size_t i = 0; i < t.tabellaTA.size(); ++i)
    t.tabellaTA[i] = {std::string(codici[i]), {}};
  t.documentiRiepilogativiFE = 0;
  t.documentiRiepilogativiFR = 0;
  t.contatoriBL.fill(0);
  t.erroreData = false;
  t.primaRigaBL = 5;
  t.frPrecedente = false;
  t.posizioni.reset();
}

// After a failure nothing of the run may be taken for good: no rows, and the error flag set.
void Invalida(TotaliImport& t) {
  Azzera(t);
  t.erroreData = true;
}

std::string TestoErrore(const std::exception& e) {
  if (const auto* c = dynamic_cast<const ErroreCartella*>(&e))
    return "ERRORE " + std::to_string(c->Numero()) + " - " + c->what();
  return TestoPerUtente(e);
}

bool Blank(char c) { return c == ' ' || c == '\t'; }

// The text of a cell without blanks at either end (Rifila), into a buffer the row reuses.
void TestoRifilato(const Cella& c, std::string& uscita) {
  if (c.tipo == Cella::Tipo::Testo) {
    std::string_view t = c.testo;
    while (!t.empty() && Blank(t.front())) t.remove_prefix(1);
    while (!t.empty() && Blank(t.back())) t.remove_suffix(1);
    uscita.assign(t);
  } else if (c.tipo == Cella::Tipo::Vuota) {
    uscita.clear();
  } else if (c.tipo == Cella::Tipo::Errore) {
    uscita = Rifila(TestoCella(c));
  } else {
    uscita = TestoCella(c);  // a number, a date, a time or VERO/FALSO: never a blank at either end
  }
}

bool CellaVuota(const Cella& c) {
  switch (c.tipo) {
    case Cella::Tipo::Vuota:
      return true;
    case Cella::Tipo::Testo:
      for (const char ch : c.testo)
        if (!Blank(ch)) return false;
      return true;
    case Cella::Tipo::Errore:
      return false;  // an error value is something, not nothing
    default:
      return Rifila(TestoCella(c)).empty();
  }
}

bool FineDelFoglio(const std::vector<Cella>& riga) {
  for (int k = 0; k < kColonneFineFoglio && k < static_cast<int>(riga.size()); ++k)
    if (!CellaVuota(riga[k])) return false;
  return true;
}

// The PDF listing drawn on a thread of its own while the rows are read and encoded. The calls go
// to it in their order, in batches, through a queue of a few batches (memory stays flat); the first
// row of every sheet waits for the listing, so that a template it cannot use stops the run where
// it did before. Its first failure comes back to the run at the next call, which throws it; the
// destructor stops the thread, so the run's failure path finds the listing idle.
class ListatoInParallelo : public Listato {
 public:
  explicit ListatoInParallelo(Listato& listato) : listato_(listato) {
    filo_ = std::thread([this] { Lavora(); });
  }
  ~ListatoInParallelo() override { Ferma(); }

  void Inizia(const IntestazioneListato& intestazione) override {
    Comando& c = Nuovo(Tipo::Inizia);
    c.intestazione = intestazione;
    Metti();
  }
  void NuovoFoglio(const FoglioListato& foglio) override {
    Comando& c = Nuovo(Tipo::Foglio);
    c.foglio = foglio;
    Metti();
    primaRiga_ = true;
  }
  void Riga(int riga, const CelleRiga& celle) override {
    Comando& c = Nuovo(Tipo::Riga);
    c.riga = riga;
    c.celle = celle;
    Metti();
    if (std::exchange(primaRiga_, false)) Attendi();
  }
  void Completa() override {
    Attendi();
    Ferma();
    listato_.Completa();
  }
  void Abbandona() noexcept override {
    Ferma();
    listato_.Abbandona();
  }

 private:
  enum class Tipo { Inizia, Foglio, Riga };
  struct Comando {
    Tipo tipo = Tipo::Riga;
    int riga = 0;
    CelleRiga celle;
    FoglioListato foglio;
    IntestazioneListato intestazione;
  };
  // A batch of commands. Batches the thread has drawn come back to be filled again, so that the
  // texts of a row are copied into strings that already have their room.
  struct Lotto {
    std::vector<Comando> comandi;
    std::size_t quanti = 0;
  };
  static constexpr std::size_t kLotto = 256;
  static constexpr std::size_t kLottiInCoda = 8;

  Comando& Nuovo(Tipo tipo) {
    if (lotto_.quanti == lotto_.comandi.size()) lotto_.comandi.emplace_back();
    Comando& c = lotto_.comandi[lotto_.quanti++];
    c.tipo = tipo;
    return c;
  }

  void Metti() {
    if (lotto_.quanti >= kLotto) Spedisci();
  }

  // Hands the current batch to the thread, waiting while the queue is full.
  void Spedisci() {
    std::unique_lock<std::mutex> blocco(mutex_);
    libero_.wait(blocco, [this] { return coda_.size() < kLottiInCoda || errore_ || fermo_; });
    if (errore_) std::rethrow_exception(errore_);
    if (lotto_.quanti > 0) {
      coda_.push_back(std::move(lotto_));
      lotto_ = Lotto();
      if (!riciclati_.empty()) {
        lotto_ = std::move(riciclati_.back());
        riciclati_.pop_back();
      }
    }
    lotto_.quanti = 0;
    pronto_.notify_one();
  }

  // Waits until the thread has drawn everything sent; throws its failure.
  void Attendi() {
    Spedisci();
    std::unique_lock<std::mutex> blocco(mutex_);
    libero_.wait(blocco, [this] { return (coda_.empty() && !occupato_) || errore_ || fermo_; });
    if (errore_) std::rethrow_exception(errore_);
  }

  void Ferma() noexcept {
    {
      std::lock_guard<std::mutex> blocco(mutex_);
      fermo_ = true;
    }
    pronto_.notify_all();
    libero_.notify_all();
    if (filo_.joinable()) filo_.join();
  }

  void Lavora() {
    Lotto lotto;
    for (;;) {
      {
        std::unique_lock<std::mutex> blocco(mutex_);
        if (!lotto.comandi.empty()) riciclati_.push_back(std::move(lotto));
        occupato_ = false;
        libero_.notify_all();
        pronto_.wait(blocco, [this] { return !coda_.empty() || fermo_; });
        if (fermo_ || errore_) return;
        lotto = std::move(coda_.front());
        coda_.pop_front();
        occupato_ = true;
        libero_.notify_all();
      }
      try {
        for (std::size_t k = 0; k < lotto.quanti; ++k) {
          Comando& c = lotto.comandi[k];
          if (c.tipo == Tipo::Riga)
            listato_.Riga(c.riga, c.celle);
          else if (c.tipo == Tipo::Foglio)
            listato_.NuovoFoglio(c.foglio);
          else
            listato_.Inizia(c.intestazione);
        }
      } catch (...) {
        std::lock_guard<std::mutex> blocco(mutex_);
        errore_ = std::current_exception();
        coda_.clear();
      }
    }
  }

  Listato& listato_;
  Lotto lotto_;  // the batch being filled, on the run's side
  bool primaRiga_ = false;
  std::mutex mutex_;
  std::condition_variable pronto_, libero_;
  std::deque<Lotto> coda_;
  std::vector<Lotto> riciclati_;  // drawn batches, to be filled again
  bool occupato_ = true;          // the thread is drawing a batch (true until it first waits)
  bool fermo_ = false;
  std::exception_ptr errore_;
  std::thread filo_;
};

// The run over one opened workbook, from the intermediate file on. Throws on any failure.
class Giro {
 public:
  Giro(Contesto& ctx, LettoreCartella& lettore, Listato& listato, bool zeri,
       RisultatoElaborazione& risultato)
      : ctx_(ctx),
        tot_(ctx.totaliImport),
        lettore_(lettore),
        listato_(&listato),
        zeri_(zeri),
        risultato_(risultato) {}

  void Esegui() {
    // The PDF listing is drawn beside the reading, on the second core.
    std::optional<ListatoInParallelo> parallelo;
    if (dynamic_cast<ListatoPdf*>(listato_) != nullptr) listato_ = &parallelo.emplace(*listato_);
    // A batch's own intermediate file is scratch, removed with its working folder: not forced to
    // the disk. FCLtemp.TXT of the program folder stays there for the creation that follows.
    ScritturaAtomica file(ctx_.PercorsoFileIntermedio(),
                          ctx_.fileIntermedio.empty() ? ScritturaAtomica::Durata::Permanente
                                                      : ScritturaAtomica::Durata::Provvisoria);
    RecordDettaglio record(ctx_.operatoreCorrente.codiceFiscale,
                           [&file](std::string_view riga) { file.Scrivi(riga); });
    listato_->Inizia({tot_.percorsoListato, tot_.percorsoCartellaLavoro,
                      ctx_.operatoreCorrente.nomeVisualizzato, ctx_.annoRiferimento,
                      ctx_.cartellaProgramma});

    const int fogli = lettore_.NumeroFogli();
    for (int foglio = kPrimoFoglio; foglio <= kUltimoFoglio && foglio <= fogli; ++foglio) {
      nomeFoglio_ = lettore_.NomeFoglio(foglio);
      const DefinizioneQuadro* quadro = TrovaQuadro(nomeFoglio_);
      if (quadro == nullptr) break;  // an unrecognised sheet ends the walk
      Foglio(foglio, *quadro, record);
    }

    // The listing is put in place only once the whole intermediate file is on the disk; from here
    // on the run no longer stops half-way.
    ctx_.Ui().ControllaInterruzione();
    file.Prepara();
    // A source of invoices writes its report and tells its totals before the files of the run are
    // put in place, so that a report that cannot be written leaves them as they were.
    if (tot_.posizioni) tot_.posizioni->Concludi(tot_.percorsoListato, ctx_.Ui());
    if (tot_.righeTotali > 0) listato_->Completa();
    file.Conferma();
  }

 private:
  void Foglio(int foglio, const DefinizioneQuadro& quadro, RecordDettaglio& record) {
    record.InizioFoglio(quadro.tipoRecord, quadro.righePerRecord);
    int prima = quadro.primaRiga;
    if (quadro.numero == BL &&
        Rifila(TestoCella(lettore_.Riga(foglio, 5).at(0))) == "PERSONE FISICHE")
      prima = 7;
    bool layoutFRCorrente = true;
    if (quadro.numero == FR) {
      const std::string c3 = MaiuscoloUtf8(Rifila(TestoCella(lettore_.Riga(foglio, 3).at(2))));
      layoutFRCorrente = c3.starts_with("DAT");
      tot_.frPrecedente = !layoutFRCorrente;
    }
    if (quadro.numero == BL) tot_.primaRigaBL = prima;
    const std::string didascalia = "Foglio " + nomeFoglio_;
    ctx_.Ui().Avanzamento(didascalia, prima, 0);
    listato_->NuovoFoglio({quadro.numero, nomeFoglio_, layoutFRCorrente});

    // Cells that hold an error value are reported up to the last column the sheet uses.
    const int ultimaUsata = std::max(kColonneFineFoglio - 1, quadro.UltimaColonna());
    int righe = 0;
    CelleRiga celle;
    // Rows past the last one a sheet can have are empty: the walk ends there at the latest.
    for (int riga = prima; riga <= kRigheMassimeFoglio; ++riga) {
      ctx_.Ui().ControllaInterruzione();
      const std::vector<Cella>& letta = lettore_.Riga(foglio, riga);
      if (FineDelFoglio(letta)) break;
      ++tot_.righeTotali;
      ++righe;
      riga_ = riga;
      for (int k = 0; k < kColonneRiga; ++k) {
        static const Cella kVuota;
        const Cella& c = k < static_cast<int>(letta.size()) ? letta[k] : kVuota;
        if (c.tipo == Cella::Tipo::Errore) {
          celle[k].clear();
          if (k <= ultimaUsata)
            Segnala(k, "la cella contiene un valore di errore (" + c.testo + ")");
        } else {
          TestoRifilato(c, celle[k]);
        }
      }
      for (int k = quadro.primaMaiuscola; k >= 0 && k <= quadro.ultimaMaiuscola; ++k)
        celle[k] = MaiuscoloUtf8(celle[k]);
      listato_->Riga(riga, celle);
      CodificaRiga(
          quadro, layoutFRCorrente, celle, zeri_, record, tot_,
          [this](int colonna, std::string_view descrizione) { Segnala(colonna, descrizione); });
      ctx_.Ui().Avanzamento(didascalia, riga + 1, 0);
    }

    tot_.righePerQuadro[quadro.numero] = righe;
    if (righe > 0) {
      for (auto& [codice, valore] : tot_.tabellaTA)
        if (codice == quadro.codiceTA) valore = AllineaDestra(std::to_string(righe), 16, ' ');
      record.FineFoglio();
    }
  }

  void Segnala(int colonna, std::string_view descrizione) {
    tot_.erroreData = true;
    ++risultato_.celleErrate;
    // A row of invoices is named by its invoice, the column by its heading.
    if (tot_.posizioni) {
      if (const std::string dove = tot_.posizioni->Posizione(nomeFoglio_, riga_); !dove.empty()) {
        std::string campo = "colonna " + LetteraColonna(colonna);
        if (const QuadroBase* q = QuadroFoglioBase(nomeFoglio_);
            q != nullptr && colonna >= 0 && colonna < static_cast<int>(q->colonne.size()))
          campo = std::string(q->colonne[static_cast<std::size_t>(colonna)].intestazione);
        ctx_.Ui().Messaggio("Quadro " + nomeFoglio_ + ", " + dove + ", " + campo + ": " +
                                std::string(descrizione),
                            kTitoloApplicazione, Icona::Nessuna);
        return;
      }
    }
    ctx_.Ui().Messaggio("Foglio " + nomeFoglio_ + ", riga " + std::to_string(riga_) + ", colonna " +
                            LetteraColonna(colonna) + ": " + std::string(descrizione),
                        kTitoloApplicazione, Icona::Nessuna);
  }

  Contesto& ctx_;
  TotaliImport& tot_;
  LettoreCartella& lettore_;
  Listato* listato_;
  bool zeri_;
  RisultatoElaborazione& risultato_;
  std::string nomeFoglio_;
  int riga_ = 0;
};

}  // namespace

std::optional<std::string> ControllaFileDelListato(const Contesto& ctx,
                                                   const std::filesystem::path& listato) {
  FileProtetti protetti(ctx);
  protetti.Aggiungi(ctx.totaliImport.percorsoCartellaLavoro, "è il foglio Excel da elaborare");
  protetti.Aggiungi(ctx.PercorsoFileIntermedio(), "è il file intermedio del programma");
  std::vector<std::filesystem::path> daScrivere = FileDelListato(listato);
  if (ctx.totaliImport.posizioni) {
    for (const auto& origine : ctx.totaliImport.posizioni->Origini())
      protetti.Aggiungi(origine, "è tra le fatture elettroniche da elaborare");
    for (const auto& f : ctx.totaliImport.posizioni->FileDelListato(listato))
      daScrivere.push_back(f);
  }
  for (const auto& file : daScrivere) {
    const bool listatoStesso = file == listato;
    if (const auto motivo = protetti.Motivo(file))
      return (listatoStesso ? "Il listato non può essere salvato come " + file.string()
                            : "Il file " + file.string() +
                                  ", che prende il nome dal listato, non può essere scritto") +
             ": " + *motivo + ". Scegliere un altro nome o un'altra cartella per il listato.";
    if (auto lungo = ScritturaAtomica::ControllaNome(file)) {
      if (!listatoStesso) *lungo += " Il nome viene da quello del listato: accorciare il listato.";
      return lungo;
    }
  }
  return std::nullopt;
}

std::string MessaggioIntermedioInUso(const std::filesystem::path& file) {
  return "Un'altra elaborazione in corso sulla stessa cartella del programma sta usando il file "
         "intermedio " +
         file.string() + ": attendere che termini (o chiuderla) e riprovare.";
}

std::optional<std::filesystem::path> ScegliCartellaLavoro(Interazione& ui,
                                                          const std::filesystem::path& cartella) {
  return ui.ScegliFileDaAprire("Indica il foglio excel da importare", "Excel (*.XLS)|*.XLS",
                               cartella);
}

RisultatoElaborazione ElaboraCartella(Contesto& ctx, const std::filesystem::path& cartellaLavoro,
                                      bool aggiungiZeri, Listato& listato,
                                      const ApriCartellaFn& apri) {
  Interazione& ui = ctx.Ui();
  TotaliImport& tot = ctx.totaliImport;
  RisultatoElaborazione risultato;

  // The totals are reset before anything can fail, so that a failed run never leaves the totals
  // of an earlier one to be taken for this workbook.
  Azzera(tot);
  tot.percorsoCartellaLavoro = cartellaLavoro;
  tot.percorsoListato.clear();

  std::unique_ptr<LettoreCartella> lettore;
  try {
    lettore = apri(cartellaLavoro);
  } catch (const ErroreInterruzione&) {
    risultato.esito = EsitoElaborazione::Interrotta;
    return risultato;
  } catch (const std::exception& e) {
    ui.Messaggio(TestoErrore(e), kTitoloApplicazione, Icona::Critico);
    return risultato;
  }
  tot.posizioni = lettore->Posizioni();

  const std::string nomeListato =
      "FCL_" + SoloLettere(ctx.operatoreCorrente.nomeVisualizzato) + "_LISTATO.PDF";
  const auto listatoScelto = ui.ScegliFileDaSalvare(
      "CARTELLA DI SALVATAGGIO FISCOLARIO ", "PDF (*.PDF)|*.PDF", tot.cartellaUscita, nomeListato);
  if (!listatoScelto) {
    risultato.esito = EsitoElaborazione::Annullata;
    return risultato;
  }
  // Before anything else opens the chosen file (the check of a document open elsewhere would
  // open the program's own database, too).
  if (const auto errore = ControllaFileDelListato(ctx, *listatoScelto)) {
    ui.Messaggio(*errore, "Errore stampa documento", Icona::Critico);
    return risultato;
  }
  tot.cartellaUscita = listatoScelto->parent_path();
  if (FileAperto(*listatoScelto)) {
    ui.Messaggio("Il documento: " + listatoScelto->string() +
                     "\n \nrisulta aperto: chiudere il documento e riprovare",
                 "Errore stampa documento", Icona::Critico);
    return risultato;
  }
  // Another run on this program folder writing the same intermediate file would mix the two.
  const auto intermedio = ctx.PercorsoFileIntermedio();
  if (!tot.bloccoIntermedio || tot.bloccoIntermedio->File() != intermedio) {
    tot.bloccoIntermedio.reset();
    tot.bloccoIntermedio = BloccoFile::Prova(intermedio);
    if (!tot.bloccoIntermedio) {
      ui.Messaggio(MessaggioIntermedioInUso(intermedio), kTitoloApplicazione, Icona::Critico);
      return risultato;
    }
  }
  ScritturaAtomica::RimuoviAbbandonati(tot.cartellaUscita.empty() ? "." : tot.cartellaUscita);
  tot.percorsoListato = *listatoScelto;

  try {
    Giro(ctx, *lettore, listato, aggiungiZeri, risultato).Esegui();
  } catch (const ErroreInterruzione&) {
    listato.Abbandona();
    Invalida(tot);
    risultato.esito = EsitoElaborazione::Interrotta;
    return risultato;
  } catch (const std::exception& e) {
    listato.Abbandona();
    Invalida(tot);
    ui.Messaggio(TestoErrore(e), kTitoloApplicazione, Icona::Critico);
    risultato.esito = EsitoElaborazione::Fallita;
    return risultato;
  }

  if (tot.righeTotali == 0) {
    ui.Messaggio(
        "Non risultano o non sono riconosciute righe da elaborare in nessun foglio del file " +
            cartellaLavoro.string(),
        "File Vuoto - Procedura annullata", Icona::Critico);
    risultato.esito = EsitoElaborazione::Vuota;
    return risultato;
  }
  risultato.esito = EsitoElaborazione::Completata;
  return risultato;
}

}  // namespace fcl
