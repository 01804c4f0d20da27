#include "backup/Backup.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <vector>

#include "backup/ErroreRigaBackup.h"
#include "backup/FormatoBackup.h"
#include "common/CodiceOperatore.h"
#include "common/Cp1252.h"
#include "common/ErroreSistema.h"
#include "common/Errori.h"
#include "common/FileProtetti.h"
#include "common/RoutineCampi.h"
#include "common/ScritturaAtomica.h"
#include "store/Recordset.h"
#include "store/Registro.h"

namespace fcl {
namespace {

constexpr std::string_view kDidascaliaSalvataggio = "Salvataggio";
constexpr std::string_view kDidascaliaRipristino = "Ripristino";

bool UgualeSenzaMaiuscole(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::toupper(x) == std::toupper(y);
         });
}

// 1, 2, ... 1000, then 1 again.
long long PassoAvanzamento(std::size_t n) {
  return static_cast<long long>((n - 1) % static_cast<std::size_t>(kMassimoAvanzamentoBackup)) + 1;
}

bool InizioBackup(std::string_view contenuto) {
  static constexpr std::string_view kInizi[] = {
      "\xA6"
      "COPE\xA6",
      "#COPE#"};
  return std::any_of(std::begin(kInizi), std::end(kInizi),
                     [&](std::string_view i) { return contenuto.substr(0, 6) == i; });
}

// "4 MB (4194304 byte)": a bound as the messages name it.
std::string Limite(std::uintmax_t byte) {
  const std::string unita =
      byte >= (1u << 20) ? std::to_string(byte >> 20) + " MB" : std::to_string(byte >> 10) + " KB";
  return unita + " (" + std::to_string(byte) + " byte)";
}

// The file, read whole only when it is no larger than a backup can be: at most one byte more is
// read, so a huge file (or one that keeps growing) costs no memory. A larger file that does not
// even begin as a backup comes back as its beginning, to be told as no backup.
std::string LeggiFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    throw ErroreFile("Impossibile leggere il file " + file.string() + ": " + CausaSistema(errno));
  }
  std::string contenuto(static_cast<std::size_t>(kDimensioneMassimaBackup) + 1, '\0');
  in.read(contenuto.data(), static_cast<std::streamsize>(contenuto.size()));
  if (in.bad()) throw ErroreFile("Impossibile leggere il file " + file.string());
  contenuto.resize(static_cast<std::size_t>(in.gcount()));
  if (contenuto.size() > kDimensioneMassimaBackup && InizioBackup(contenuto)) {
    std::error_code ec;
    const auto dimensione = std::filesystem::file_size(file, ec);
    throw ErroreFile("Il file " + file.string() +
                     (ec ? std::string(" supera i ")
                         : " è di " + std::to_string(dimensione) + " byte, oltre i ") +
                     Limite(kDimensioneMassimaBackup) +
                     " che un file di backUp di FISCOLARIO, con i dati di un solo operatore, non "
                     "raggiunge mai. Il file è danneggiato o non è un file di backUp. Ripristino "
                     "annullato: l'archivio non è stato modificato.");
  }
  return contenuto;
}

// The lines of a file without their line ends (CR LF, or LF alone).
std::vector<std::string_view> Righe(std::string_view contenuto) {
  std::vector<std::string_view> righe;
  std::size_t inizio = 0;
  while (inizio < contenuto.size()) {
    std::size_t fine = contenuto.find('\n', inizio);
    if (fine == std::string_view::npos) fine = contenuto.size();
    std::string_view riga = contenuto.substr(inizio, fine - inizio);
    if (!riga.empty() && riga.back() == '\r') riga.remove_suffix(1);
    righe.push_back(riga);
    inizio = fine + 1;
  }
  return righe;
}

// The first line as the window shows it, or nullopt when the file is no backup.
std::optional<IntestazioneBackup> IntestazioneDa(std::string_view primaRiga) {
  if (!InizioBackup(primaRiga)) return std::nullopt;
  const RigaBackup riga = SpezzaRiga(primaRiga);
  IntestazioneBackup intestazione;
  if (!riga.valori.empty()) intestazione.primoValore = riga.valori[0].value_or("");
  if (riga.valori.size() > 1) intestazione.secondoValore = riga.valori[1].value_or("");
  intestazione.codice = NormalizzaCodice(intestazione.primoValore);
  return intestazione;
}

// Why an operator code read from a file is refused (the register's own rule).
std::string CodiceNonValido(const std::string& letto) {
  if (Rifila(letto).empty()) return "manca il codice fiscale dell'operatore";
  return "il codice fiscale " + CodiceNelMessaggio(letto) +
         " non è valido (ammesse solo lettere e cifre, al massimo " +
         std::to_string(kLunghezzaMassimaCodice) + ")";
}

// A backup file read and checked as a whole before anything is restored from it.
struct FileBackup {
  std::string contenuto;
  std::vector<std::string_view> righe;
  std::optional<IntestazioneBackup> intestazione;  // nullopt: no backup file
};

FileBackup LeggiBackup(const std::filesystem::path& file) {
  FileBackup b;
  b.contenuto = LeggiFile(file);
  if (!InizioBackup(b.contenuto)) return b;
  b.righe = Righe(b.contenuto);
  for (std::size_t i = 0; i < b.righe.size(); ++i) {
    if (b.righe[i].size() > kLunghezzaMassimaRigaBackup)
      throw ErroreRigaBackup(i + 1, "",
                             "la riga è lunga " + std::to_string(b.righe[i].size()) +
                                 " byte, oltre i " + Limite(kLunghezzaMassimaRigaBackup) +
                                 " che una riga di un file di backUp non raggiunge mai: il file "
                                 "è danneggiato");
  }
  // Every line is written with its CR LF: a last line without it was cut short (a copy
  // interrupted, a disk full), and its last value and the columns after it would be lost.
  if (b.contenuto.back() != '\n' && !Rifila(b.righe.back()).empty())
    throw ErroreRigaBackup(b.righe.size(), "",
                           "la riga è interrotta prima della fine (manca il ritorno a capo): il "
                           "file è incompleto, forse troncato durante la copia");
  b.intestazione = IntestazioneDa(b.righe.front());
  if (DifettoCodice(b.intestazione->codice))
    throw ErroreRigaBackup(1, "COPE", CodiceNonValido(b.intestazione->primoValore));
  return b;
}

// The whole backup of one operator: its COPE lines, then its CTAB lines.
struct ContenutoBackup {
  std::string byte;
  std::size_t righeOperatore = 0;
  int tabelleConRighe = 0;
};

ContenutoBackup ComponiBackup(Database& db, std::string_view codice) {
  ContenutoBackup c;
  std::size_t righeCodici = 0;
  c.byte = RigheBackup(db, "COPE", "OCOD", codice, &c.righeOperatore);
  c.byte += RigheBackup(db, "CTAB", "COD", codice, &righeCodici);
  c.tabelleConRighe = (c.righeOperatore > 0 ? 1 : 0) + (righeCodici > 0 ? 1 : 0);
  return c;
}

void ScriviFile(const std::filesystem::path& file, std::string_view byte) {
  ScritturaAtomica scrittura(file);
  scrittura.Scrivi(byte);
  scrittura.Conferma();
}

// Applies the lines of a backup file to the database, inside the caller's transaction.
class Ripristino {
 public:
  Ripristino(Database& db, Interazione& ui, std::string codice)
      : db_(db), ui_(ui), codice_(std::move(codice)) {}

  void Applica(std::size_t numero, std::string_view testo) {
    if (Rifila(testo).empty()) return;
    const RigaBackup riga = SpezzaRiga(testo);
    const std::string tabella = Rifila(riga.tabella);
    try {
      if (tabella.empty()) throw ErroreRigaBackup(numero, "", "manca il nome della tabella");
      if (UgualeSenzaMaiuscole(tabella, "CTAB")) {
        Codice(numero, riga);
      } else {
        Aggiungi(numero, tabella, riga);
        ui_.Avanzamento(kDidascaliaRipristino, PassoAvanzamento(++righeAggiunte_),
                        kMassimoAvanzamentoBackup);
      }
    } catch (const ErroreRigaBackup&) {
      throw;
    } catch (const Errore& e) {
      throw ErroreRigaBackup(numero, tabella, e.what());
    }
  }

 private:
  // Converts a value for its column, or reports the line.
  Valore Converti(std::size_t numero, const std::string& tabella, const Colonna& colonna,
                  const CampoRiga& campo) {
    ValoreRipristinato v = ValoreDaCampo(campo, colonna.tipo);
    if (!v.errore.empty())
      throw ErroreRigaBackup(numero, tabella,
                             "il valore \"" + campo.value_or("") + "\" della colonna " +
                                 colonna.nome + " " + v.errore);
    return std::move(v.valore);
  }

  void ControllaNumeroValori(std::size_t numero, const std::string& tabella, const RigaBackup& riga,
                             std::size_t colonne) {
    if (riga.valori.size() > colonne)
      throw ErroreRigaBackup(numero, tabella,
                             "la riga ha " + std::to_string(riga.valori.size()) +
                                 " valori ma la tabella ha " + std::to_string(colonne) +
                                 " colonne");
  }

  // A code-table line updates the row with the same TIPO and COD, or adds it.
  void Codice(std::size_t numero, const RigaBackup& riga) {
    const std::string tabella = "CTAB";
    if (colonneCodici_.empty()) colonneCodici_ = db_.Colonne(tabella);
    ControllaNumeroValori(numero, tabella, riga, colonneCodici_.size());
    if (riga.valori.size() < 3)
      throw ErroreRigaBackup(numero, tabella, "la riga deve avere i valori di TIPO, COD e DES");
    auto colonna = [&](std::string_view nome) -> const Colonna& {
      for (const auto& c : colonneCodici_)
        if (UgualeSenzaMaiuscole(c.nome, nome)) return c;
      throw ErroreDatabase("Errore del database: campo inesistente " + std::string(nome));
    };
    Valore tipo = Converti(numero, tabella, colonna("TIPO"), riga.valori[0]);
    Valore cod = Converti(numero, tabella, colonna("COD"), riga.valori[1]);
    Valore des = Converti(numero, tabella, colonna("DES"), riga.valori[2]);
    // A row of this operator is found and stored under its code as the register writes it.
    bool codiceOperatore = false;
    if (const auto* testo = std::get_if<std::string>(&cod);
        testo && NormalizzaCodice(*testo) == codice_) {
      cod = codice_;
      codiceOperatore = true;
    }
    Recordset rs = ApriCodice(db_, tipo, cod, codiceOperatore);
    if (rs.RecordCount() == 0) {
      rs.AddNew();
      rs.Imposta("TIPO", std::move(tipo));
      rs.Imposta("COD", std::move(cod));
    }
    rs.Imposta("DES", std::move(des));
    rs.Update();
  }

  // A line of another table adds a row to it; consecutive lines of a table share one result set.
  void Aggiungi(std::size_t numero, const std::string& tabella, const RigaBackup& riga) {
    if (!aperta_ || aperta_->nome != tabella) {
      aperta_.reset();
      // The name comes from the file: it must be a table of operators' data that exists here.
      if (!NomeSql(tabella) || !db_.EsisteTabella(tabella))
        throw ErroreRigaBackup(numero, tabella, "la tabella non esiste nell'archivio");
      auto colonne = db_.Colonne(tabella);
      if (std::none_of(colonne.begin(), colonne.end(),
                       [](const Colonna& c) { return UgualeSenzaMaiuscole(c.nome, "OCOD"); }))
        throw ErroreRigaBackup(numero, tabella, "la tabella non contiene dati di operatori");
      aperta_.emplace(tabella, std::move(colonne), db_, codice_);
    }
    const auto& colonne = aperta_->colonne;
    ControllaNumeroValori(numero, tabella, riga, colonne.size());
    std::vector<Valore> valori;
    valori.reserve(riga.valori.size());
    for (std::size_t k = 0; k < riga.valori.size(); ++k)
      valori.push_back(Converti(numero, tabella, colonne[k], riga.valori[k]));
    // The operator's code as the register writes it and only as the register would take it, so
    // that "pf0 " is the operator PF0 and never a second one beside it.
    for (std::size_t k = 0; k < valori.size(); ++k) {
      if (!UgualeSenzaMaiuscole(colonne[k].nome, "OCOD")) continue;
      const std::string letto = ValoreComeTesto(valori[k]);
      const std::string codice = NormalizzaCodice(letto);
      if (DifettoCodice(codice)) throw ErroreRigaBackup(numero, tabella, CodiceNonValido(letto));
      valori[k] = codice;
    }
    Recordset& rs = aperta_->rs;
    rs.AddNew();
    for (std::size_t k = 0; k < valori.size(); ++k) rs.Imposta(k, std::move(valori[k]));
    rs.Update();
  }

  struct TabellaAperta {
    TabellaAperta(std::string n, std::vector<Colonna> c, Database& db, const std::string& codice)
        : nome(std::move(n)), colonne(std::move(c)), rs(ApriRigheOperatore(db, nome, codice)) {}
    std::string nome;
    std::vector<Colonna> colonne;
    Recordset rs;
  };

  Database& db_;
  Interazione& ui_;
  std::string codice_;
  std::vector<Colonna> colonneCodici_;
  std::optional<TabellaAperta> aperta_;
  std::size_t righeAggiunte_ = 0;
};

}  // namespace

std::string DataAAAAMMGG(std::chrono::system_clock::time_point adesso) {
  const std::time_t t = std::chrono::system_clock::to_time_t(adesso);
  std::tm tm{};
  localtime_r(&t, &tm);
  char buf[48];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
  return buf;
}

std::string DefaultNomeBackup(std::string nomeOperatore,
                              std::chrono::system_clock::time_point adesso) {
  return "SAVE_" + SoloLettere(nomeOperatore) + "_" + DataAAAAMMGG(adesso) + ".FCL";
}

std::filesystem::path PercorsoCopiaSicurezza(const Contesto& ctx, std::string_view codice) {
  std::string nome(codice);
  for (char& c : nome) {
    if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20) c = '_';
  }
  return ctx.cartellaProgramma / ("BFRR_" + nome + "_" + DataAAAAMMGG(ctx.adesso()) + ".VEL");
}

std::string RigheBackup(Database& db, std::string_view tabella, std::string_view colonnaCodice,
                        std::string_view codice, std::size_t* righe) {
  return RigheBackupDove(db, tabella, colonnaCodice, std::string(codice), true, righe);
}

std::string RigheBackupDove(Database& db, std::string_view tabella, std::string_view colonna,
                            const Valore& valore, bool codiceOperatore, std::size_t* righe) {
  Recordset rs = LeggiRighe(db, tabella, colonna, valore, codiceOperatore);
  std::string byte;
  std::vector<std::string> campi(rs.NumeroCampi());
  for (; !rs.Eof(); rs.MoveNext()) {
    for (std::size_t i = 0; i < rs.NumeroCampi(); ++i)
      campi[i] = CampoBackup(rs[i], rs.TipoCampoA(i));
    byte += RigaTabella(tabella, campi);
    byte += "\r\n";
  }
  if (righe != nullptr) *righe = rs.RecordCount();
  return byte;
}

bool SalvaOperatore(Contesto& ctx, std::string_view cercato, const std::filesystem::path& file) {
  const std::string codice = NormalizzaCodice(cercato);
  // A backup file must never take the place of the program's own files.
  if (const auto motivo = FileProtetti(ctx).Motivo(file)) {
    ctx.Ui().Messaggio("Il file di backUp non può essere salvato come " + file.string() + ": " +
                           *motivo + ". Scegliere un altro nome o un'altra cartella.",
                       kTitoloApplicazione, Icona::Critico);
    return false;
  }
  if (const auto lungo = ScritturaAtomica::ControllaNome(file)) {
    ctx.Ui().Messaggio(*lungo, kTitoloApplicazione, Icona::Critico);
    return false;
  }
  const ContenutoBackup contenuto = ComponiBackup(ctx.Db(), codice);
  if (contenuto.righeOperatore == 0) {
    ctx.Ui().Messaggio("L'operatore " + codice + " non è in archivio: file di backUp non creato",
                       kTitoloApplicazione, Icona::Esclamazione);
    return false;
  }
  ScriviFile(file, contenuto.byte);
  for (int k = 1; k <= contenuto.tabelleConRighe; ++k)
    ctx.Ui().Avanzamento(kDidascaliaSalvataggio, k, kMassimoAvanzamentoBackup);
  ctx.Ui().Messaggio(kMessaggioBackupCreato, kTitoloApplicazione, Icona::Nessuna);
  return true;
}

std::optional<IntestazioneBackup> LeggiIntestazioneBackup(const std::filesystem::path& file) {
  return LeggiBackup(file).intestazione;
}

bool RipristinaBackup(Contesto& ctx, const std::filesystem::path& file) {
  const FileBackup backup = LeggiBackup(file);
  const auto& righe = backup.righe;
  const auto& intestazione = backup.intestazione;
  if (!intestazione) {
    ctx.Ui().Messaggio(kMessaggioNonBackup, kTitoloApplicazione, Icona::Nessuna);
    return false;
  }
  Database& db = ctx.Db();
  const std::string& codice = intestazione->codice;
  // The safety copy would replace the very file being restored (a safety copy of today restored
  // again): should the restore fail, that file would be lost.
  const auto copia = PercorsoCopiaSicurezza(ctx, codice);
  FileProtetti daRipristinare(ctx);
  daRipristinare.Aggiungi(file, "è il file di backUp da ripristinare");
  if (daRipristinare.Motivo(copia)) {
    ctx.Ui().Messaggio("Il file " + file.string() +
                           " è la copia di sicurezza che il ripristino deve scrivere: copiarlo "
                           "con un altro nome o in un'altra cartella e ripristinare la copia. "
                           "Nessun dato è stato modificato.",
                       kTitoloApplicazione, Icona::Critico);
    return false;
  }
  Transazione transazione(db);
  // The safety copy holds the rows as they stand inside the transaction, that is exactly what the
  // restore replaces. When it cannot be written nothing is restored.
  ScriviFile(copia, ComponiBackup(db, codice).byte);
  EliminaRigheOperatore(db, codice);
  Ripristino ripristino(db, ctx.Ui(), codice);
  for (std::size_t i = 0; i < righe.size(); ++i) ripristino.Applica(i + 1, righe[i]);
  transazione.Conferma();
  ctx.Ui().Messaggio(kMessaggioRipristinoTerminato, kTitoloApplicazione, Icona::Nessuna);
  return true;
}

}  // namespace fcl
