#include "common/ui/CorsaSeparata.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <exception>
#include <mutex>
#include <optional>
#include <string>

#include "common/Contesto.h"
#include "common/InterazioneSostitutiva.h"

namespace fcl {

// What the procedure's thread sees as ctx.interazione and ctx.apriDocumento during the run.
class CorsaSeparata::Ponte : public InterazioneSostitutiva, public ApriDocumento {
 public:
  Ponte(Contesto& ctx, QObject& ricevente, const Mostra& mostra,
        const std::atomic<bool>& interruzione)
      : InterazioneSostitutiva(ctx),
        ctx_(ctx),
        ricevente_(ricevente),
        mostra_(mostra),
        interruzione_(interruzione),
        apriPrecedente_(ctx.apriDocumento) {
    if (apriPrecedente_ != nullptr) ctx_.apriDocumento = this;
  }
  ~Ponte() override { ctx_.apriDocumento = apriPrecedente_; }

  void Messaggio(std::string_view testo, std::string_view titolo, Icona icona) override {
    SulThreadDellaFinestra([&] { Precedente().Messaggio(testo, titolo, icona); });
  }
  Risposta Chiedi(std::string_view testo, std::string_view titolo, Pulsanti pulsanti, Icona icona,
                  Risposta predefinita) override {
    Risposta r = Risposta::Annulla;
    SulThreadDellaFinestra(
        [&] { r = Precedente().Chiedi(testo, titolo, pulsanti, icona, predefinita); });
    return r;
  }
  std::optional<std::filesystem::path> ScegliFileDaAprire(
      std::string_view titolo, std::string_view filtro,
      const std::filesystem::path& cartella) override {
    std::optional<std::filesystem::path> scelto;
    SulThreadDellaFinestra([&] { scelto = Precedente().ScegliFileDaAprire(titolo, filtro, cartella); });
    return scelto;
  }
  std::optional<std::filesystem::path> ScegliFileDaSalvare(std::string_view titolo,
                                                           std::string_view filtro,
                                                           const std::filesystem::path& cartella,
                                                           std::string_view nomeProposto) override {
    std::optional<std::filesystem::path> scelto;
    SulThreadDellaFinestra([&] {
      scelto = Precedente().ScegliFileDaSalvare(titolo, filtro, cartella, nomeProposto);
    });
    return scelto;
  }

  // A new caption always reaches the window; of the values under one caption only the latest
  // travels: a run reports every row, the window shows what it can.
  void Avanzamento(std::string_view didascalia, long long valore, long long massimo) override {
    std::lock_guard<std::mutex> blocco(mutex_);
    ultimo_ = {std::string(didascalia), valore, massimo};
    if (didascalia != didascaliaInviata_) {
      didascaliaInviata_ = ultimo_.didascalia;
      QMetaObject::invokeMethod(
          &ricevente_,
          [this, s = ultimo_] {
            MostraStato(s);
            // The values that came under the same caption meanwhile.
            Stato a;
            {
              std::lock_guard<std::mutex> blocco(mutex_);
              a = ultimo_;
            }
            if (a.didascalia == s.didascalia && a.valore != s.valore) MostraStato(a);
          },
          Qt::QueuedConnection);
      return;
    }
    if (inViaggio_) return;
    inViaggio_ = true;
    QMetaObject::invokeMethod(&ricevente_, [this] { MostraUltimo(); }, Qt::QueuedConnection);
  }
  void Avviso(std::string_view testo) override {
    QMetaObject::invokeMethod(
        &ricevente_, [this, t = std::string(testo)] { Precedente().Avviso(t); },
        Qt::QueuedConnection);
  }
  bool InterruzioneRichiesta() const override {
    return interruzione_.load() || Precedente().InterruzioneRichiesta();
  }

  void Apri(const std::filesystem::path& percorso) override {
    SulThreadDellaFinestra([&] { apriPrecedente_->Apri(percorso); });
  }

 private:
  struct Stato {
    std::string didascalia;
    long long valore = 0;
    long long massimo = 0;
  };

  // Runs `f` on the window's thread and waits for it; called there, it simply runs it.
  void SulThreadDellaFinestra(const std::function<void()>& f) {
    if (QThread::currentThread() == ricevente_.thread()) {
      f();
      return;
    }
    QMetaObject::invokeMethod(&ricevente_, f, Qt::BlockingQueuedConnection);
  }

  void MostraUltimo() {
    Stato a;
    {
      std::lock_guard<std::mutex> blocco(mutex_);
      a = ultimo_;
      inViaggio_ = false;
    }
    MostraStato(a);
  }

  void MostraStato(const Stato& a) {
    if (mostra_)
      mostra_(a.didascalia, a.valore, a.massimo);
    else
      Precedente().Avanzamento(a.didascalia, a.valore, a.massimo);
  }

  Contesto& ctx_;
  QObject& ricevente_;
  const Mostra& mostra_;
  const std::atomic<bool>& interruzione_;
  ApriDocumento* apriPrecedente_;
  std::mutex mutex_;
  Stato ultimo_;
  std::string didascaliaInviata_;
  bool inViaggio_ = false;
};

CorsaSeparata::CorsaSeparata(Contesto& ctx, Mostra mostra)
    : ctx_(ctx), mostra_(std::move(mostra)), ricevente_(std::make_unique<QObject>()) {}

CorsaSeparata::~CorsaSeparata() = default;

void CorsaSeparata::Interrompi() {
  if (inCorso_) interruzione_.store(true);
}

void CorsaSeparata::Esegui(const std::function<void()>& lavoro) {
  if (inCorso_) return;
  inCorso_ = true;
  interruzione_.store(false);
  std::exception_ptr errore;
  {
    Ponte ponte(ctx_, *ricevente_, mostra_, interruzione_);
    QEventLoop attesa;
    std::unique_ptr<QThread> thread(QThread::create([&lavoro, &errore] {
      try {
        lavoro();
      } catch (...) {
        errore = std::current_exception();
      }
    }));
    QObject::connect(thread.get(), &QThread::finished, &attesa, &QEventLoop::quit);
    thread->start();
    attesa.exec();
    thread->wait();
    // The progress posted last is shown before the window reads the outcome.
    QCoreApplication::sendPostedEvents(ricevente_.get(), QEvent::MetaCall);
  }
  inCorso_ = false;
  interruzione_.store(false);
  if (errore) std::rethrow_exception(errore);
}

}  // namespace fcl
