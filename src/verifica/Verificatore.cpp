#include "verifica/Verificatore.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "common/Cp1252.h"
#include "verifica/ControlliValori.h"
#include "verifica/Regole.h"

namespace fcl {
namespace {

constexpr std::string_view kTipi = "ABCDEZ";

int IndiceTipo(char tipo) {
  const auto p = kTipi.find(tipo);
  return p == std::string_view::npos ? -1 : static_cast<int>(p);
}

std::vector<int> Chiavi(std::string_view elenco) {
  std::vector<int> chiavi;
  std::size_t i = 0;
  while (i < elenco.size()) {
    const auto fine = elenco.find(' ', i);
    const auto parola = elenco.substr(i, fine == std::string_view::npos ? elenco.npos : fine - i);
    if (!parola.empty()) chiavi.push_back(ChiaveCampo(parola));
    if (fine == std::string_view::npos) break;
    i = fine + 1;
  }
  return chiavi;
}

// A whole number of up to 18 digits; -1 when the text is not digits (or too long).
long long Numero(std::string_view testo) {
  const std::string_view t = Rifilato(testo);
  if (!SoloCifre(t) || t.size() > 18) return -1;
  long long n = 0;
  for (const char c : t) n = n * 10 + (c - '0');
  return n;
}

bool MeseValido(std::string_view mese) {
  return mese.size() == 2 && SoloCifre(mese) && mese >= "01" && mese <= "12";
}

std::string Pos(int posizione) { return std::to_string(posizione); }

const char* NomeQuadroBox(std::size_t i) {
  static const char* const kNomi[] = {"B15", "B16", "B17", "B18", "B19", "B20",
                                      "B21", "B22", "B23", "B24", "B25", "B26"};
  return kNomi[i];
}

}  // namespace

const Verificatore::CampoRiga* Verificatore::RigaInCorso::Trova(int chiave) const {
  for (const auto& c : campi)
    if (c.chiave == chiave) return &c;
  return nullptr;
}

Verificatore::Verificatore(Ricevitore ricevi) : ricevi_(std::move(ricevi)) {
  for (const auto& v : VincoliTracciato()) {
    const int q = IndiceQuadro(v.quadro);
    vincoli_[static_cast<std::size_t>(q)].push_back(
        {v.tipo, Chiavi(v.se), Chiavi(v.allora), v.regola, v.messaggio});
  }
  for (const auto& t : TotaliTracciato()) chiaviTotali_.push_back(ChiaveCampo(t.campoRiga));
  totali_.assign(TotaliTracciato().size(), 0);
}

// ----------------------------------------------------------------------------------------------
// Findings.

Rilievo Verificatore::Luogo() const {
  Rilievo r;
  r.record = numero_;
  r.tipoRecord = tipo_;
  r.modulo = modulo_;
  return r;
}

Rilievo Verificatore::LuogoPosizionale(std::string_view nome, int posizione, int larghezza) const {
  Rilievo r = Luogo();
  r.campo = std::string(nome);
  r.posizione = posizione;
  r.larghezza = larghezza;
  return r;
}

Rilievo Verificatore::LuogoSuRecord(long long record, char tipo, std::string_view nome,
                                    int posizione, int larghezza) const {
  Rilievo r;
  r.record = record;
  r.tipoRecord = tipo;
  r.modulo = (tipo == 'B' || tipo == 'E') ? 1 : 0;
  r.campo = std::string(nome);
  r.posizione = posizione;
  r.larghezza = larghezza;
  return r;
}

void Verificatore::Segnala(Rilievo luogo, Regola regola, std::string messaggio) {
  luogo.regola = regola;
  luogo.gravita = GravitaRegola(regola);
  luogo.messaggio = std::move(messaggio);
  const long long r = luogo.record;
  const bool essenziale = r == 0 || r == lineaA_ || r == lineaB_ || r == lineaE_ || r == lineaZ_;
  ricevi_(luogo, essenziale);
}

// ----------------------------------------------------------------------------------------------
// Lines and the order of the records.

void Verificatore::Riga(const RigaLetta& riga) {
  ++numero_;
  record_ = {};
  modulo_ = 0;
  tipo_ = riga.testo.empty() ? ' ' : riga.testo[0];
  if (!riga.cr || !riga.lf) {
    if (righeSenzaCrLf_++ == 0) primaSenzaCrLf_ = numero_;
  }
  if (riga.lunghezza == 0) {
    tipo_ = ' ';
    Segnala(Luogo(), Regola::LunghezzaRecord,
            "Riga vuota: ogni riga del file è un record di 1898 caratteri");
    return;
  }
  const int indiceTipo = IndiceTipo(tipo_);
  if (indiceTipo < 0) {
    Segnala(LuogoPosizionale("", 1, 1), Regola::TipoRecord,
            "Tipo di record " + Citazione(std::string_view(&riga.testo[0], 1)) +
                " sconosciuto: i record sono di tipo A, B, C, D, E o Z");
    tipo_ = ' ';
    return;
  }
  ++conteggio_[static_cast<std::size_t>(indiceTipo)];
  if (tipo_ != 'C' && tipo_ != 'D') {
    ChiudiRiga();
    ultimoCodice_.clear();
  }
  Ordine(tipo_);

  if (riga.lunghezza != static_cast<std::size_t>(kLunghezzaRecord)) {
    Segnala(Luogo(), Regola::LunghezzaRecord,
            "Record di " + std::to_string(riga.lunghezza) +
                " caratteri: ogni record ha 1898 caratteri seguiti da CR LF");
    return;
  }
  record_ = riga.testo;
  if (tipo_ != 'A' && tipo_ != 'Z') {
    const long long m = Numero(record_.substr(17, 8));
    modulo_ = m > 0 ? m : 0;
  }

  // Records almost never hold one: blocks of 32 characters are passed over at once.
  std::size_t primo = 0;
  for (; primo + 32 <= record_.size(); primo += 32) {
    unsigned controllo = 0;
    for (std::size_t k = 0; k < 32; ++k) {
      const auto c = static_cast<unsigned char>(record_[primo + k]);
      controllo |= static_cast<unsigned>(c < 0x20) | static_cast<unsigned>(c == 0x7F);
    }
    if (controllo) break;
  }
  for (std::size_t i = primo; i < record_.size(); ++i) {
    const auto c = static_cast<unsigned char>(record_[i]);
    if (c < 0x20 || c == 0x7F) {
      Segnala(LuogoPosizionale("", static_cast<int>(i) + 1, 1), Regola::CarattereControllo,
              "Carattere di controllo (codice " + std::to_string(c) + ") alla posizione " +
                  Pos(static_cast<int>(i) + 1) + ": un record contiene solo caratteri stampabili");
      break;
    }
  }
  if (record_[kLunghezzaRecord - 1] != 'A')
    Segnala(LuogoPosizionale("", kLunghezzaRecord, 1), Regola::FineRecord,
            "La posizione 1898 deve contenere A (fine del record), contiene " +
                Citazione(record_.substr(kLunghezzaRecord - 1, 1)));

  switch (tipo_) {
    case 'A':
      RecordA();
      break;
    case 'B':
      RecordB();
      break;
    case 'C':
    case 'D':
      RecordDettaglio(tipo_);
      break;
    case 'E':
      RecordE();
      break;
    case 'Z':
      RecordZ();
      break;
    default:
      break;
  }
}

void Verificatore::Ordine(char tipo) {
  const Rilievo luogo = LuogoPosizionale("", 1, 1);
  const auto fuori = [&](std::string messaggio) {
    Segnala(luogo, Regola::OrdineRecord, std::move(messaggio));
  };
  const auto mancante = [&](std::string messaggio) {
    Segnala(luogo, Regola::RecordMancante, std::move(messaggio));
  };
  if (fase_ == Fase::DopoZ) {
    fuori("Record di tipo " + std::string(1, tipo) +
          " dopo il record Z: il record Z chiude il file");
    return;
  }
  switch (tipo) {
    case 'A':
      if (fase_ == Fase::Inizio) {
        fase_ = Fase::DopoA;
        lineaA_ = numero_;
      } else {
        fuori("Record A fuori posto: il record A è uno solo ed è il primo del file");
      }
      break;
    case 'B':
      if (fase_ == Fase::Inizio || fase_ == Fase::DopoA) {
        if (fase_ == Fase::Inizio)
          mancante("Manca il record A: il file deve iniziare con il record A");
        fase_ = Fase::DopoB;
        lineaB_ = numero_;
      } else {
        fuori("Record B fuori posto: il record B è uno solo e segue il record A");
      }
      break;
    case 'C':
    case 'D':
      if (fase_ == Fase::DopoB || fase_ == Fase::Dettaglio) {
        fase_ = Fase::Dettaglio;
      } else if (fase_ == Fase::Inizio || fase_ == Fase::DopoA) {
        mancante(fase_ == Fase::Inizio ? "Mancano i record A e B prima dei record di dettaglio"
                                       : "Manca il record B prima dei record di dettaglio");
        fase_ = Fase::Dettaglio;
      } else {
        fuori("Record di tipo " + std::string(1, tipo) +
              " dopo il record E: i record C e D precedono il record E");
      }
      break;
    case 'E':
      if (fase_ == Fase::DopoB || fase_ == Fase::Dettaglio) {
        fase_ = Fase::DopoE;
        lineaE_ = numero_;
      } else if (fase_ == Fase::Inizio || fase_ == Fase::DopoA) {
        mancante(fase_ == Fase::Inizio ? "Mancano i record A e B prima del record E"
                                       : "Manca il record B prima del record E");
        fase_ = Fase::DopoE;
        lineaE_ = numero_;
      } else {
        fuori("Record E fuori posto: il record E è uno solo e precede il record Z");
      }
      break;
    case 'Z':
      if (fase_ == Fase::Inizio || fase_ == Fase::DopoA) {
        mancante(fase_ == Fase::Inizio ? "Mancano i record A e B prima del record Z"
                                       : "Manca il record B prima del record Z");
      } else if (fase_ != Fase::DopoE && invio_ != Invio::Annullamento) {
        mancante("Manca il record E con i totali (quadro TA) prima del record Z");
      }
      fase_ = Fase::DopoZ;
      lineaZ_ = numero_;
      break;
    default:
      break;
  }
}

void Verificatore::ControllaPosizionali(char record) {
  std::vector<Difetto> difetti;
  for (const auto& campo : CampiPosizionali()) {
    if (campo.record != record) continue;
    difetti.clear();
    ControllaPosizionale(campo,
                         record_.substr(static_cast<std::size_t>(campo.posizione - 1),
                                        static_cast<std::size_t>(campo.larghezza)),
                         difetti);
    for (auto& d : difetti)
      Segnala(LuogoPosizionale(campo.nome, campo.posizione, campo.larghezza), d.regola,
              std::move(d.messaggio));
  }
}

// ----------------------------------------------------------------------------------------------
// Record A and record B.

void Verificatore::RecordA() {
  ControllaPosizionali('A');
  const long long progressivo = Numero(record_.substr(521, 4));
  const long long totale = Numero(record_.substr(525, 4));
  if (progressivo >= 0 && totale >= 0) {
    const Rilievo luogo = LuogoPosizionale("", 522, 8);
    if (progressivo == 1 && totale == 1) {
      Segnala(luogo, Regola::ProgressivoInvio,
              "Per una comunicazione inviata in un solo file il progressivo e il numero degli "
              "invii (posizioni 522-529) valgono 0000 e 0000, non 0001 e 0001");
    } else if ((progressivo == 0) != (totale == 0) || progressivo > totale) {
      Segnala(luogo, Regola::ProgressivoInvio,
              "Progressivo dell'invio " + std::string(record_.substr(521, 4)) +
                  " e numero totale degli invii " + std::string(record_.substr(525, 4)) +
                  " incoerenti (un solo file: 0000 e 0000)");
    }
  }
  if (numero_ == lineaA_) a_ = std::string(record_);
}

void Verificatore::RecordB() {
  ControllaPosizionali('B');
  if (numero_ != lineaB_) return;  // a second record B: only its own fields
  b_ = std::string(record_);
  ControlliFrontespizio();
  if (!a_.empty()) ControlliFornitore();
}

std::string_view Verificatore::CampoB(int posizione, int larghezza) const {
  return std::string_view(b_).substr(static_cast<std::size_t>(posizione - 1),
                                     static_cast<std::size_t>(larghezza));
}

bool Verificatore::Compilato(std::string_view testo) const {
  return !Vuoto(testo) && testo != "00000000";
}

void Verificatore::ControlliFrontespizio() {
  const auto luogo = [&](std::string_view nome, int pos, int larg) {
    return LuogoPosizionale(nome, pos, larg);
  };
  const auto casella = [&](int pos) { return CampoB(pos, 1); };
  const auto valida = [&](int pos) { return casella(pos) == "0" || casella(pos) == "1"; };

  // Type of sending: one box of three.
  if (valida(90) && valida(91) && valida(92)) {
    const int barrate = (casella(90) == "1") + (casella(91) == "1") + (casella(92) == "1");
    if (barrate != 1) {
      Segnala(luogo("B8", 90, 3), Regola::TipoComunicazione,
              "Indicare uno e un solo tipo di comunicazione (ordinaria, sostitutiva o di "
              "annullamento): le posizioni 90-92 valgono " +
                  Citazione(CampoB(90, 3)));
    } else {
      invio_ = casella(90) == "1"   ? Invio::Ordinaria
               : casella(91) == "1" ? Invio::Sostitutiva
                                    : Invio::Annullamento;
    }
  }

  // Protocols: zeros for an ordinary sending, given for a substitution or a cancellation.
  if (invio_ != Invio::Ignoto) {
    const struct {
      const char* nome;
      int pos, larg;
      const char* descrizione;
    } kProtocolli[] = {{"B11", 93, 17, "il protocollo telematico"},
                       {"B12", 110, 6, "il protocollo documento"}};
    for (const auto& p : kProtocolli) {
      const std::string_view testo = CampoB(p.pos, p.larg);
      if (!SoloCifre(testo)) continue;
      const bool zeri = testo.find_first_not_of('0') == std::string_view::npos;
      if (invio_ == Invio::Ordinaria && !zeri) {
        Segnala(luogo(p.nome, p.pos, p.larg), Regola::Protocollo,
                std::string("Per una comunicazione ordinaria ") + p.descrizione +
                    " resta a zeri: vale " + Citazione(testo));
      } else if (invio_ != Invio::Ordinaria && zeri) {
        Segnala(luogo(p.nome, p.pos, p.larg), Regola::Protocollo,
                std::string("Manca ") + p.descrizione + " della comunicazione da " +
                    (invio_ == Invio::Sostitutiva ? "sostituire" : "annullare"));
      }
    }
  }

  // Kind of data: one of the two; none for a cancellation, nor any quadro box.
  if (valida(116) && valida(117)) {
    const bool aggregati = casella(116) == "1";
    const bool analitici = casella(117) == "1";
    if (invio_ == Invio::Annullamento) {
      if (aggregati || analitici)
        Segnala(luogo("B13", 116, 2), Regola::TipologiaDati,
                "Per una comunicazione di annullamento le caselle dei dati aggregati e analitici "
                "(posizioni 116-117) restano a 0");
    } else if (aggregati == analitici) {
      Segnala(luogo("B13", 116, 2), Regola::TipologiaDati,
              "Indicare uno solo tra dati aggregati (posizione 116) e dati analitici (posizione "
              "117)");
    }
    if (aggregati != analitici) tipoDati_ = aggregati ? 'C' : 'D';
  }
  if (invio_ == Invio::Annullamento) {
    for (std::size_t i = 0; i < 12; ++i) {
      const int pos = 118 + static_cast<int>(i);
      if (casella(pos) == "1")
        Segnala(luogo(NomeQuadroBox(i), pos, 1), Regola::Annullamento,
                "Una comunicazione di annullamento non contiene quadri: la casella del quadro " +
                    std::string(QuadriTracciato()[i].sigla) + " resta a 0");
    }
  }

  // The taxpayer: a person with all the data of birth, or a company with its name.
  const struct {
    const char* nome;
    int pos, larg;
  } kPersona[] = {{"B32", 221, 24}, {"B33", 245, 20}, {"B34", 265, 1},
                  {"B35", 266, 8},  {"B36", 274, 40}, {"B37", 314, 2}};
  bool persona = false;
  for (const auto& f : kPersona) persona = persona || Compilato(CampoB(f.pos, f.larg));
  const bool societa = Compilato(CampoB(316, 60));
  if (persona && societa) {
    Segnala(luogo("B38", 316, 60), Regola::DatiContribuente,
            "I dati della persona fisica (posizioni 221-315) e la denominazione (posizioni "
            "316-375) del contribuente sono alternativi: va compilato uno solo dei due");
  } else if (!persona && !societa) {
    Segnala(luogo("B32", 221, 155), Regola::DatiContribuente,
            "Mancano i dati del contribuente: cognome, nome, sesso, data, comune e provincia di "
            "nascita per una persona fisica, altrimenti la denominazione");
  } else if (persona) {
    for (const auto& f : kPersona)
      if (!Compilato(CampoB(f.pos, f.larg)))
        Segnala(
            luogo(f.nome, f.pos, f.larg), Regola::DatiContribuente,
            "Dati della persona fisica incompleti: manca " + std::string(DescrizioneCampo(f.nome)));
  }
  const std::string_view cf = Rifilato(CampoB(2, 16));
  if (cf.size() == 16 && societa && !persona)
    Segnala(luogo("B2", 2, 16), Regola::TipoSoggetto,
            "Il codice fiscale " + Citazione(cf) +
                " è di una persona fisica, ma è compilata la denominazione di un soggetto diverso");
  if (cf.size() == 11 && persona && !societa)
    Segnala(luogo("B2", 2, 16), Regola::TipoSoggetto,
            "Il codice fiscale numerico " + Citazione(cf) +
                " è di un soggetto diverso dalla persona fisica, ma sono compilati i dati di una "
                "persona fisica");

  // Reference period.
  const long long anno = Numero(CampoB(376, 4));
  anno_ = anno >= 1900 && anno <= 9999 ? static_cast<int>(anno) : 0;
  mese_ = std::string(Rifilato(CampoB(380, 2)));

  // The subject bound to communicate, when it is not the taxpayer.
  const std::string_view tenuto = Rifilato(CampoB(382, 16));
  const struct {
    const char* nome;
    int pos, larg;
  } kPersonaTenuto[] = {{"B45", 416, 24}, {"B46", 440, 20}, {"B47", 460, 1},
                        {"B48", 461, 8},  {"B49", 469, 40}, {"B50", 509, 2}};
  bool personaTenuto = false;
  for (const auto& f : kPersonaTenuto)
    personaTenuto = personaTenuto || Compilato(CampoB(f.pos, f.larg));
  const bool societaTenuto = Compilato(CampoB(511, 60));
  const std::string_view carica = CampoB(398, 2);
  if (!tenuto.empty()) {
    if (tenuto == cf)
      Segnala(luogo("B41", 382, 16), Regola::SoggettoTenuto,
              "Il codice fiscale del soggetto tenuto alla comunicazione deve essere diverso da "
              "quello del contribuente");
    if (carica == "00")
      Segnala(luogo("B42", 398, 2), Regola::SoggettoTenuto,
              "Manca il codice carica del soggetto tenuto alla comunicazione");
    if (personaTenuto && societaTenuto) {
      Segnala(luogo("B51", 511, 60), Regola::DatiSoggettoTenuto,
              "I dati della persona fisica e la denominazione del soggetto tenuto alla "
              "comunicazione sono alternativi: va compilato uno solo dei due");
    } else if (!personaTenuto && !societaTenuto) {
      Segnala(luogo("B45", 416, 155), Regola::DatiSoggettoTenuto,
              "Mancano i dati anagrafici del soggetto tenuto alla comunicazione (persona fisica "
              "o denominazione)");
    } else if (personaTenuto) {
      for (const auto& f : kPersonaTenuto)
        if (!Compilato(CampoB(f.pos, f.larg)))
          Segnala(luogo(f.nome, f.pos, f.larg), Regola::DatiSoggettoTenuto,
                  "Dati del soggetto tenuto alla comunicazione incompleti: manca " +
                      std::string(DescrizioneCampo(f.nome)));
    }
  } else if ((SoloCifre(carica) && carica != "00") || personaTenuto || societaTenuto ||
             Compilato(CampoB(400, 8)) || Compilato(CampoB(408, 8))) {
    Segnala(luogo("B41", 382, 16), Regola::DatiSoggettoTenuto,
            "Sono compilati dati del soggetto tenuto alla comunicazione (posizioni 398-570) "
            "senza il suo codice fiscale");
  }

  // The intermediary and the commitment to transmit.
  const std::string_view intermediario = Rifilato(CampoB(571, 16));
  const std::string_view caf = CampoB(587, 5);
  const std::string_view impegno = CampoB(592, 1);
  const std::string_view data = CampoB(594, 8);
  const bool impegnoValido = impegno == "0" || impegno == "1" || impegno == "2";
  if (!intermediario.empty()) {
    if (impegno == "0")
      Segnala(luogo("B54", 592, 1), Regola::Intermediario,
              "Con l'intermediario va indicato chi ha predisposto la comunicazione: 1 il "
              "contribuente, 2 chi la trasmette");
    if (data == "00000000")
      Segnala(luogo("B56", 594, 8), Regola::Intermediario,
              "Manca la data dell'impegno a trasmettere (posizioni 594-601)");
  } else {
    if (SoloCifre(caf) && caf != "00000")
      Segnala(luogo("B53", 587, 5), Regola::Intermediario,
              "Numero di iscrizione all'albo dei C.A.F. indicato senza il codice fiscale "
              "dell'intermediario: senza intermediario vale 00000");
    if (impegnoValido && impegno != "0")
      Segnala(luogo("B54", 592, 1), Regola::Intermediario,
              "Impegno a trasmettere indicato senza il codice fiscale dell'intermediario: senza "
              "intermediario vale 0");
    if (SoloCifre(data) && data != "00000000")
      Segnala(luogo("B56", 594, 8), Regola::Intermediario,
              "Data dell'impegno indicata senza il codice fiscale dell'intermediario: senza "
              "intermediario vale 00000000");
  }
}

void Verificatore::ControlliFornitore() {
  const std::string_view a(a_);
  const std::string_view intermediario = Rifilato(CampoB(571, 16));
  const std::string_view tipo = a.substr(20, 2);
  if (tipo == "01" || tipo == "10") {
    const char* atteso = intermediario.empty() ? "01" : "10";
    if (tipo != atteso)
      Segnala(LuogoSuRecord(lineaA_, 'A', "", 21, 2), Regola::TipoFornitore,
              intermediario.empty()
                  ? "Tipo fornitore 10 (intermediario), ma il record B non indica un "
                    "intermediario: vale 01"
                  : "Tipo fornitore 01, ma il record B indica l'intermediario " +
                        Citazione(intermediario) + ": vale 10");
  }
  const std::string_view tenuto = Rifilato(CampoB(382, 16));
  const std::string_view atteso = !intermediario.empty() ? intermediario
                                  : !tenuto.empty()      ? tenuto
                                                         : Rifilato(CampoB(2, 16));
  const std::string_view fornitore = Rifilato(a.substr(22, 16));
  if (!fornitore.empty() && fornitore != atteso)
    Segnala(LuogoSuRecord(lineaA_, 'A', "", 23, 16), Regola::FornitoreA,
            "Codice fiscale del fornitore " + Citazione(fornitore) + " diverso da " +
                Citazione(atteso) +
                ": è quello dell'intermediario, altrimenti del soggetto tenuto alla "
                "comunicazione, altrimenti del contribuente");
}

// ----------------------------------------------------------------------------------------------
// Records C and D.

void Verificatore::CornicePosizionale(char tipo) {
  const std::string_view cf = record_.substr(1, 16);
  if (!b_.empty()) {
    if (cf != CampoB(2, 16))
      Segnala(LuogoPosizionale("", 2, 16), Regola::CodiceFiscaleRecord,
              "Codice fiscale " + Citazione(cf) +
                  " diverso da quello del contribuente nel record B " + Citazione(CampoB(2, 16)));
    const std::string_view produttore = record_.substr(73, 16);
    if (produttore != CampoB(74, 16))
      Segnala(LuogoPosizionale("", 74, 16), Regola::CodiceProduttore,
              "Identificativo del produttore del software " + Citazione(produttore) +
                  " diverso da quello del record B " + Citazione(CampoB(74, 16)));
  } else {
    std::vector<Difetto> difetti;
    ControllaValore(ClasseFormato::CF, cf, difetti);
    for (auto& d : difetti) Segnala(LuogoPosizionale("", 2, 16), d.regola, std::move(d.messaggio));
  }
  ControllaPosizionali('X');
  if (tipo == 'E') ControllaPosizionali('E');
}

void Verificatore::RecordDettaglio(char tipo) {
  CornicePosizionale(tipo);

  if (!b_.empty() && invio_ == Invio::Annullamento) {
    if (!annullamentoSegnalato_)
      Segnala(LuogoPosizionale("", 1, 1), Regola::Annullamento,
              "Una comunicazione di annullamento non contiene dati: i record C, D ed E vanno "
              "tolti");
    annullamentoSegnalato_ = true;
  } else if (!datiMistiSegnalati_) {
    const char atteso = b_.empty() ? 0 : tipoDati_;
    if (atteso && tipo != atteso) {
      Segnala(LuogoPosizionale("", 1, 1), Regola::DatiMisti,
              tipo == 'D' ? "Record di tipo D (dati analitici) in una comunicazione di dati "
                            "aggregati (record B, posizione 116)"
                          : "Record di tipo C (dati aggregati) in una comunicazione di dati "
                            "analitici (record B, posizione 117)");
      datiMistiSegnalati_ = true;
    } else if (!atteso && primoDettaglio_ && tipo != primoDettaglio_) {
      Segnala(LuogoPosizionale("", 1, 1), Regola::DatiMisti,
              "Il file contiene record di tipo C e di tipo D: una comunicazione contiene solo "
              "dati aggregati o solo dati analitici");
      datiMistiSegnalati_ = true;
    }
  }
  if (!primoDettaglio_) primoDettaglio_ = tipo;

  // The quadro of the record is that of its first element.
  const std::string_view primo = record_.substr(kInizioElementi - 1, 2);
  ProgressivoModulo(IndiceQuadro(primo));

  righe_.InizioRecord();
  int presenti = 0;
  bool vuotoPrima = false;
  for (int k = 0; k < kNumeroElementi; ++k) {
    const auto inizio = static_cast<std::size_t>(kInizioElementi - 1 + k * kLarghezzaElemento);
    const std::string_view slot = record_.substr(inizio, kLarghezzaElemento);
    if (Vuoto(slot)) {
      vuotoPrima = true;
      continue;
    }
    ++presenti;
    Elemento(tipo, k, slot, vuotoPrima);
  }
  righe_.FineRecord(presenti);
  precedentePieno_ = presenti >= kNumeroElementi;
}

void Verificatore::ProgressivoModulo(int quadroRecord) {
  const std::string_view testo = record_.substr(17, 8);
  const long long modulo = Numero(testo);
  const Rilievo luogo = LuogoPosizionale("", 18, 8);
  if (testo.size() != 8 || modulo <= 0) {
    Segnala(
        luogo, Regola::ProgressivoModulo,
        "Progressivo del modulo " + Citazione(testo) + " non valido: 8 cifre, da 00000001 in su");
  } else {
    bool ok;
    if (moduloPrecedente_ == 0) {
      ok = modulo == 1;
    } else {
      ok = modulo == moduloPrecedente_ + 1 || (modulo == moduloPrecedente_ && precedentePieno_) ||
           (modulo == 1 && quadroRecord >= 0 && quadroRecord != quadroPrecedente_);
    }
    if (ok) {
      moduloPrecedente_ = modulo;
    } else {
      Segnala(luogo, Regola::ProgressivoModulo,
              "Progressivo del modulo " + std::string(testo) + " fuori sequenza: atteso " +
                  std::to_string(moduloPrecedente_ + 1));
      // The next record is compared with the number this one should have had, so that one wrong
      // number is one finding.
      ++moduloPrecedente_;
    }
  }
  if (quadroRecord >= 0) quadroPrecedente_ = quadroRecord;
}

void Verificatore::Elemento(char tipo, int indice, std::string_view slot, bool& vuotoPrima) {
  const int posizione = kInizioElementi + indice * kLarghezzaElemento;
  const std::string_view codice = slot.substr(0, 8);
  const std::string_view valore = slot.substr(8, 16);
  // The finding's place, made only when there is a finding.
  const QuadroTracciato* quadro = nullptr;
  int rigo = 0;
  long long rigaQuadro = 0;
  const auto luogo = [&] {
    Rilievo r = LuogoPosizionale(Cp1252ToUtf8(Rifilato(codice)), posizione, kLarghezzaElemento);
    if (quadro) {
      r.quadro = std::string(quadro->sigla);
      r.rigo = rigo;
      r.rigaQuadro = rigaQuadro;
    }
    return r;
  };
  if (vuotoPrima) {
    Segnala(luogo(), Regola::ElementoDopoVuoto,
            "Elemento dopo uno spazio vuoto: gli elementi si scrivono uno dopo l'altro dalla "
            "posizione 90");
    vuotoPrima = false;
  }

  // The code: quadro, row, field.
  std::uint64_t bitCodice;
  std::memcpy(&bitCodice, codice.data(), sizeof bitCodice);
  CodiceNoto& noto = codiciNoti_[(bitCodice * 0x9E3779B97F4A7C15ull) >> 55];
  int q, r, chiave;
  const CampoTracciato* campo;
  if (noto.campo && noto.codice == bitCodice &&
      QuadriTracciato()[static_cast<std::size_t>(noto.quadro)].tipoRecord == tipo) {
    q = noto.quadro;
    r = noto.rigo;
    chiave = noto.chiave;
    campo = noto.campo;
  } else {
    const bool forma = codice[0] >= 'A' && codice[0] <= 'Z' && codice[1] >= 'A' &&
                       codice[1] <= 'Z' && SoloCifre(codice.substr(2));
    if (!forma) {
      Segnala(luogo(), Regola::CodiceCampo,
              "Codice di campo " + Citazione(codice) +
                  " non valido: due lettere del quadro e sei cifre (es. FE001001)");
      ultimoCodice_.clear();
      return;
    }
    q = IndiceQuadro(codice.substr(0, 2));
    if (q < 0) {
      Segnala(luogo(), Regola::CodiceCampo,
              "Codice di campo " + Citazione(codice) + ": il quadro " +
                  Citazione(codice.substr(0, 2)) + " non esiste");
      ultimoCodice_.clear();
      return;
    }
    const QuadroTracciato& definizione = QuadriTracciato()[static_cast<std::size_t>(q)];
    if (definizione.tipoRecord != tipo) {
      Segnala(luogo(), Regola::CodiceCampo,
              "Il quadro " + std::string(definizione.sigla) + " va nei record di tipo " +
                  std::string(1, definizione.tipoRecord) + ", non " + std::string(1, tipo));
      ultimoCodice_.clear();
      return;
    }
    r = definizione.codiciFissi ? 1 : ChiaveCampo(codice.substr(2, 3));
    chiave = ChiaveCampo(definizione.codiciFissi ? codice.substr(2) : codice.substr(5));
    campo = TrovaCampo(q, chiave);
    if (!campo || r == 0) {
      Segnala(luogo(), Regola::CodiceCampo,
              "Codice di campo " + Citazione(codice) + " inesistente nel quadro " +
                  std::string(definizione.sigla));
      ultimoCodice_.clear();
      return;
    }
    noto = {bitCodice, q, r, chiave, campo};
  }
  const QuadroTracciato& definizione = QuadriTracciato()[static_cast<std::size_t>(q)];
  quadro = &definizione;
  rigo = r;
  rigaQuadro = righe_.Elemento(q, rigo, chiave);
  recordQuadro_[static_cast<std::size_t>(q)] = true;
  if (!definizione.codiciFissi && rigo > definizione.righiPerModulo)
    Segnala(luogo(), Regola::RigoModulo,
            "Rigo " + std::to_string(rigo) + " oltre i " +
                std::to_string(definizione.righiPerModulo) + " righi di un modulo del quadro " +
                std::string(definizione.sigla));

  if (riga_.quadro != q || riga_.riga != rigaQuadro) {
    ChiudiRiga();
    riga_.quadro = q;
    riga_.riga = rigaQuadro;
    riga_.rigo = rigo;
    riga_.record = numero_;
    riga_.modulo = modulo_;
  }

  // A "+" element continues the text of the element before it with the same code.
  if (valore[0] == '+') {
    if (codice == ultimoCodice_) {
      if (campo->classe != ClasseFormato::AN) {
        Segnala(luogo(), Regola::Continuazione,
                "Il campo " + std::string(codice) + " (" + std::string(campo->descrizione) +
                    ") non ammette un elemento di continuazione: solo i testi possono proseguire");
        return;
      }
      if (indice == 0)
        Segnala(
            luogo(), Regola::ContinuazioneDivisa,
            "Il testo del campo " + std::string(codice) +
                " prosegue nel record successivo: un valore va scritto per intero in un record");
      std::vector<Difetto> difetti;
      ControllaCaratteriTesto(Rifilato(valore.substr(1)), difetti);
      for (auto& d : difetti) Segnala(luogo(), d.regola, std::move(d.messaggio));
      return;
    }
    Segnala(luogo(), Regola::Continuazione,
            "Elemento di continuazione " + Citazione(valore) +
                " senza l'elemento che prosegue: deve seguire un elemento con lo stesso codice");
    ultimoCodice_.assign(codice);
    return;
  }
  ultimoCodice_.assign(codice);

  if (riga_.Trova(chiave)) {
    Segnala(luogo(), Regola::CampoRipetuto,
            "Il campo " + std::string(codice) + " (" + std::string(campo->descrizione) +
                ") compare più di una volta nello stesso rigo");
    return;
  }
  if (Vuoto(valore)) {
    Segnala(
        luogo(), Regola::ValoreVuoto,
        "Elemento " + std::string(codice) + " senza valore: un campo senza dati non va scritto");
    return;
  }
  std::vector<Difetto> difetti;
  ControllaValore(campo->classe, valore, difetti);
  for (auto& d : difetti) Segnala(luogo(), d.regola, std::move(d.messaggio));
  CampoRiga c{chiave,  {},        numero_,
              modulo_, posizione, !(campo->classe == ClasseFormato::CB && Rifilato(valore) == "0")};
  std::copy(valore.begin(), valore.end(), c.valore.begin());
  riga_.campi.push_back(c);
}

Rilievo Verificatore::LuogoCampo(const CampoRiga& campo) const {
  Rilievo r;
  r.record = campo.record;
  r.tipoRecord = QuadriTracciato()[static_cast<std::size_t>(riga_.quadro)].tipoRecord;
  r.modulo = campo.modulo;
  r.quadro = std::string(QuadriTracciato()[static_cast<std::size_t>(riga_.quadro)].sigla);
  r.rigo = riga_.rigo;
  r.rigaQuadro = riga_.riga;
  r.campo = CodiceElemento(riga_.quadro, riga_.rigo, campo.chiave);
  r.posizione = campo.posizione;
  r.larghezza = kLarghezzaElemento;
  return r;
}

Rilievo Verificatore::LuogoMancante(int chiave) const {
  CampoRiga c{chiave, {}, riga_.record, riga_.modulo, 0, false};
  Rilievo r = LuogoCampo(c);
  r.larghezza = 0;
  return r;
}

void Verificatore::ChiudiRiga() {
  if (riga_.quadro < 0) return;
  const auto q = static_cast<std::size_t>(riga_.quadro);
  const QuadroTracciato& quadro = QuadriTracciato()[q];
  ++righeQuadro_[q];
  const auto totali = TotaliTracciato();
  for (std::size_t i = 0; i < totali.size(); ++i) {
    if (totali[i].quadro != quadro.sigla) continue;
    const CampoRiga* c = chiaviTotali_[i] >= 0 ? riga_.Trova(chiaviTotali_[i]) : nullptr;
    const bool con = c && c->attivo;
    switch (totali[i].misura) {
      case MisuraTA::Righe:
        ++totali_[i];
        break;
      case MisuraTA::RigheConCampo:
        totali_[i] += con;
        break;
      case MisuraTA::RigheSenzaCampo:
        totali_[i] += !con;
        break;
    }
  }
  ControlliRiga(quadro);
  riga_.quadro = -1;
  riga_.campi.clear();
}

void Verificatore::ControlliRiga(const QuadroTracciato& quadro) {
  const int q = riga_.quadro;
  const auto attivo = [&](int chiave) {
    const CampoRiga* c = riga_.Trova(chiave);
    return c && c->attivo ? c : nullptr;
  };

  for (const Vincolo& v : vincoli_[static_cast<std::size_t>(q)]) {
    const CampoRiga* primoSe = nullptr;
    for (const int k : v.se)
      if ((primoSe = attivo(k))) break;
    if (!v.se.empty() && !primoSe) continue;
    switch (v.tipo) {
      case TipoVincolo::Esclusione:
        for (const int k : v.allora)
          if (const CampoRiga* c = attivo(k)) {
            Segnala(LuogoCampo(*c), v.regola, std::string(v.messaggio));
            break;
          }
        break;
      case TipoVincolo::Richiede: {
        bool uno = false;
        for (const int k : v.allora) uno = uno || attivo(k);
        if (!uno)
          Segnala(primoSe ? LuogoCampo(*primoSe) : LuogoMancante(v.allora.front()), v.regola,
                  std::string(v.messaggio));
        break;
      }
      case TipoVincolo::RichiedeTutti: {
        std::string mancano;
        int primoMancante = -1;
        for (const int k : v.allora) {
          if (attivo(k)) continue;
          if (primoMancante < 0) primoMancante = k;
          if (!mancano.empty()) mancano += ", ";
          mancano += std::string(TrovaCampo(q, k)->descrizione);
        }
        if (primoMancante >= 0)
          Segnala(LuogoMancante(primoMancante), v.regola,
                  std::string(v.messaggio) + ": manca " + mancano);
        break;
      }
    }
  }

  // An amount above 999.999 euro is confirmed by its box.
  if (!quadro.campoImporto.empty()) {
    const int kImporto = ChiaveCampo(quadro.campoImporto);
    const int kConferma = ChiaveCampo(quadro.campoConferma);
    const CampoRiga* importo = riga_.Trova(kImporto);
    const CampoRiga* conferma = attivo(kConferma);
    const long long valore = importo ? Numero(importo->Valore()) : -1;
    if (valore > kImportoDaConfermare && !conferma) {
      Segnala(LuogoMancante(kConferma), Regola::ConfermaImporto,
              "Importo " + Citazione(importo->Valore()) +
                  " superiore a 999.999 euro: va barrata la casella di conferma " +
                  CodiceElemento(q, riga_.rigo, kConferma));
    } else if (conferma && valore >= 0 && valore <= kImportoDaConfermare) {
      Segnala(LuogoCampo(*conferma), Regola::ConfermaSuperflua,
              "Casella di conferma barrata per un importo non superiore a 999.999 euro");
    }
  }

  // Registration dates fall in the reference year.
  if (!quadro.campoRegistrazione.empty() && anno_ > 0) {
    const CampoRiga* data = riga_.Trova(ChiaveCampo(quadro.campoRegistrazione));
    if (data) {
      const std::string_view t = Rifilato(data->Valore());
      if (DataValida(t) && Numero(t.substr(4)) != anno_)
        Segnala(LuogoCampo(*data), Regola::DataFuoriAnno,
                "Data di registrazione " + Citazione(t) + " fuori dall'anno di riferimento " +
                    std::to_string(anno_));
    }
  }

  // Purchases from San Marino: the month in record B, and the VAT identification only for them.
  if (quadro.sigla == "SE") {
    const CampoRiga* statoSanMarino = nullptr;
    for (const int k : {6, 9})
      if (const CampoRiga* c = riga_.Trova(k); c && Numero(c->Valore()) == kCodiceSanMarino)
        statoSanMarino = c;
    if (statoSanMarino) {
      sanMarino_ = true;
      if (!b_.empty() && !MeseValido(mese_) && !sanMarinoSegnalato_) {
        Segnala(LuogoCampo(*statoSanMarino), Regola::SanMarino,
                "Acquisto da un operatore di San Marino: nel frontespizio (record B, posizioni "
                "380-381) va indicato il mese di riferimento, da 01 a 12");
        sanMarinoSegnalato_ = true;
      }
    } else if (const CampoRiga* iva = riga_.Trova(11)) {
      Segnala(LuogoCampo(*iva), Regola::IdentificativoIva,
              "Il codice identificativo IVA si indica solo per gli operatori di San Marino "
              "(codice Stato 037)");
    }
  }
}

// ----------------------------------------------------------------------------------------------
// Record E and record Z.

void Verificatore::RecordE() {
  CornicePosizionale('E');
  if (!b_.empty() && invio_ == Invio::Annullamento) {
    if (!annullamentoSegnalato_)
      Segnala(LuogoPosizionale("", 1, 1), Regola::Annullamento,
              "Una comunicazione di annullamento non contiene dati: il record E va tolto");
    annullamentoSegnalato_ = true;
  }
  const int ta = IndiceQuadro("TA");
  const auto totali = TotaliTracciato();
  std::vector<long long> dichiarati(totali.size(), -1);
  std::vector<Rilievo> luoghi(totali.size());
  bool vuotoPrima = false;
  std::vector<Difetto> difetti;
  for (int k = 0; k < kNumeroElementi; ++k) {
    const int posizione = kInizioElementi + k * kLarghezzaElemento;
    const std::string_view slot =
        record_.substr(static_cast<std::size_t>(posizione - 1), kLarghezzaElemento);
    if (Vuoto(slot)) {
      vuotoPrima = true;
      continue;
    }
    const std::string_view codice = slot.substr(0, 8);
    const std::string_view valore = slot.substr(8);
    Rilievo luogo = LuogoPosizionale(Cp1252ToUtf8(Rifilato(codice)), posizione, kLarghezzaElemento);
    luogo.quadro = "TA";
    if (vuotoPrima) {
      Segnala(luogo, Regola::ElementoDopoVuoto,
              "Elemento dopo uno spazio vuoto: gli elementi si scrivono uno dopo l'altro dalla "
              "posizione 90");
      vuotoPrima = false;
    }
    const int chiave = codice.substr(0, 2) == "TA" ? ChiaveCampo(codice.substr(2)) : -1;
    std::size_t i = 0;
    while (i < totali.size() && ChiaveCampo(totali[i].campo) != chiave) ++i;
    if (chiave < 0 || i == totali.size()) {
      Segnala(luogo, Regola::CodiceCampo,
              "Codice " + Citazione(codice) +
                  " inesistente nel record E: i totali sono TA001001 ... "
                  "TA011001");
      continue;
    }
    if (dichiarati[i] != -1) {
      Segnala(luogo, Regola::CampoRipetuto,
              "Il totale " + std::string(codice) + " compare più di una volta");
      continue;
    }
    difetti.clear();
    ControllaValore(TrovaCampo(ta, chiave)->classe, valore, difetti);
    for (auto& d : difetti) Segnala(luogo, d.regola, std::move(d.messaggio));
    const long long n = Numero(valore);
    dichiarati[i] = n >= 0 ? n : -2;  // -2: given but not a number (already reported)
    luoghi[i] = std::move(luogo);
  }
  if (numero_ != lineaE_ || invio_ == Invio::Annullamento) return;
  for (std::size_t i = 0; i < totali.size(); ++i) {
    if (dichiarati[i] == -2) continue;
    const long long dichiarato = dichiarati[i] < 0 ? 0 : dichiarati[i];
    if (dichiarato == totali_[i]) continue;
    const std::string codice = "TA" + std::string(totali[i].campo);
    if (dichiarati[i] < 0) {
      Segnala(LuogoPosizionale(codice, 0, 0), Regola::TotaleTA,
              "Manca il totale " + codice + " (" + std::string(totali[i].descrizione) +
                  "): i record di dettaglio ne contengono " + std::to_string(totali_[i]));
    } else {
      Segnala(luoghi[i], Regola::TotaleTA,
              "Il totale " + codice + " (" + std::string(totali[i].descrizione) + ") vale " +
                  std::to_string(dichiarato) + ", ma i record di dettaglio ne contengono " +
                  std::to_string(totali_[i]));
    }
  }
}

void Verificatore::RecordZ() {
  ControllaPosizionali('Z');
  if (numero_ != lineaZ_) return;
  const struct {
    int pos;
    char tipo;
  } kConteggi[] = {{16, 'B'}, {25, 'C'}, {34, 'D'}, {43, 'E'}};
  for (const auto& c : kConteggi) {
    const long long dichiarato = Numero(record_.substr(static_cast<std::size_t>(c.pos - 1), 9));
    const long long effettivo = conteggio_[static_cast<std::size_t>(IndiceTipo(c.tipo))];
    if (dichiarato >= 0 && dichiarato != effettivo)
      Segnala(LuogoPosizionale("", c.pos, 9), Regola::ConteggioZ,
              "Il record Z indica " + std::to_string(dichiarato) + " record di tipo " +
                  std::string(1, c.tipo) + ", il file ne contiene " + std::to_string(effettivo));
  }
}

// ----------------------------------------------------------------------------------------------
// End of the file.

void Verificatore::Fine() {
  ChiudiRiga();
  record_ = {};
  tipo_ = ' ';
  modulo_ = 0;
  if (numero_ == 0) {
    Segnala(Rilievo{}, Regola::FileVuoto, "Il file è vuoto");
    return;
  }
  if (righeSenzaCrLf_ > 0) {
    // Reported once for the whole file, naming the first line.
    std::string messaggio = "Ogni record termina con CR LF (a capo di Windows): la riga " +
                            std::to_string(primaSenzaCrLf_) + " no";
    if (righeSenzaCrLf_ > 1)
      messaggio += ", come altre " + std::to_string(righeSenzaCrLf_ - 1) + " righe";
    Segnala(Rilievo{}, Regola::FineRiga, messaggio);
  }
  if (fase_ != Fase::DopoZ) {
    if ((fase_ == Fase::DopoB || fase_ == Fase::Dettaglio) && invio_ != Invio::Annullamento)
      Segnala(Rilievo{}, Regola::RecordMancante, "Manca il record E con i totali (quadro TA)");
    Segnala(Rilievo{}, Regola::RecordMancante, "Manca il record Z di chiusura del file");
  }
  if (!b_.empty()) FineFrontespizio();
}

void Verificatore::FineFrontespizio() {
  const auto luogoB = [&](std::string_view nome, int pos, int larg) {
    return LuogoSuRecord(lineaB_, 'B', nome, pos, larg);
  };
  if (invio_ != Invio::Annullamento) {
    for (std::size_t i = 0; i < 11; ++i) {
      const int pos = 118 + static_cast<int>(i);
      const std::string_view casella = CampoB(pos, 1);
      const std::string sigla(QuadriTracciato()[i].sigla);
      const bool presente = righeQuadro_[i] > 0 || recordQuadro_[i];
      if (casella == "1" && !presente) {
        Segnala(luogoB(NomeQuadroBox(i), pos, 1), Regola::QuadroCompilato,
                "Casella del quadro " + sigla +
                    " barrata, ma il file non contiene dati del quadro " + sigla);
      } else if (casella == "0" && presente) {
        Segnala(luogoB(NomeQuadroBox(i), pos, 1), Regola::QuadroCompilato,
                "Il file contiene " + std::to_string(righeQuadro_[i]) + " righi del quadro " +
                    sigla + ", ma la sua casella (posizione " + Pos(pos) + ") non è barrata");
      }
    }
    if (lineaE_ > 0 && CampoB(129, 1) == "0")
      Segnala(luogoB("B26", 129, 1), Regola::QuadroCompilato,
              "Il file contiene il record E dei totali, ma la casella del quadro TA (posizione "
              "129) non è barrata");
  }
  const bool periodo = MeseValido(mese_) ||
                       (mese_.size() == 2 && mese_[0] == 'T' && mese_[1] >= '1' && mese_[1] <= '4');
  if (periodo && !sanMarino_ && righeQuadro_[static_cast<std::size_t>(IndiceQuadro("BL"))] == 0)
    Segnala(luogoB("B40", 380, 2), Regola::MeseTrimestre,
            "Il mese o trimestre di riferimento " + Citazione(mese_) +
                " si indica solo con acquisti da operatori di San Marino (quadro SE) o con "
                "operazioni del quadro BL: per la comunicazione annuale resta vuoto");
}

}  // namespace fcl
