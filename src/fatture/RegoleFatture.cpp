#include "fatture/RegoleFatture.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace fcl {
namespace {

// The Agenzia's code of a foreign state in the communication (the list of the "Paesi e territori
// esteri"). Only San Marino's is known for certain here (037, the code the San Marino purchases
// of quadro SE are told by); every other state's code is left for the user to complete.
int CodiceStato(std::string_view iso) { return iso == "SM" ? 37 : 0; }

Cella Testo(std::string t) {
  Cella c;
  if (t.empty()) return c;
  c.tipo = Cella::Tipo::Testo;
  c.testo = std::move(t);
  return c;
}

Cella Numero(double n) {
  Cella c;
  c.tipo = Cella::Tipo::Numero;
  c.numero = n;
  return c;
}

Cella Data(int yyyymmdd) {
  Cella c;
  c.tipo = Cella::Tipo::Data;
  c.numero = SerialeData(yyyymmdd);
  return c;
}

Cella Casella(bool barrata) { return barrata ? Numero(1) : Cella(); }

Cella Importo(long long centesimi) { return Numero(static_cast<double>(centesimi) / 100.0); }

bool Uguale(std::string_view a, std::string_view b) {
  if (a.size() != b.size() || a.empty()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

// Whether the party is the operator: its Italian VAT number, or its fiscal code.
bool EOperatore(const SoggettoFattura& s, const OpzioniFatture& o) {
  const bool italiano = s.idPaese.empty() || Uguale(s.idPaese, "IT");
  if (italiano && (Uguale(s.idCodice, o.partitaIva) || Uguale(s.idCodice, o.codiceFiscale)))
    return true;
  return Uguale(s.codiceFiscale, o.codiceFiscale) || Uguale(s.codiceFiscale, o.partitaIva);
}

std::string Paese(const SoggettoFattura& s) {
  std::string p = !s.idPaese.empty() ? s.idPaese : s.nazione;
  for (char& c : p)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return p.empty() ? "IT" : p;
}

int LeggiDataXml(std::string_view t) {
  // xs:date: yyyy-mm-dd, possibly with a time zone after it.
  if (t.size() < 10 || t[4] != '-' || t[7] != '-') return 0;
  const std::string dmy = std::string(t.substr(8, 2)) + "/" + std::string(t.substr(5, 2)) + "/" +
                          std::string(t.substr(0, 4));
  return Registrazioni::LeggiData(dmy);
}

enum class Genere { Fattura, Nota, Altro };

Genere GenereDi(std::string_view td) {
  for (const std::string_view f : {"TD01", "TD02", "TD03", "TD05", "TD06", "TD24", "TD25", "TD16",
                                   "TD17", "TD18", "TD19", "TD20", "TD21", "TD27", "TD28"})
    if (td == f) return Genere::Fattura;
  if (td == "TD04") return Genere::Nota;
  return Genere::Altro;
}

RigaDaFattura Scarta(RigaDaFattura r, MotivoScarto m, std::string dettaglio) {
  r.scarto = m;
  r.dettaglio = std::move(dettaglio);
  r.celle.clear();
  return r;
}

std::string DataTesto(int d) {
  char b[32];
  std::snprintf(b, sizeof b, "%02d/%02d/%04d", d % 100, d / 100 % 100, d / 10000);
  return b;
}

}  // namespace

std::string_view DescrizioneMotivo(MotivoScarto m) {
  switch (m) {
    case MotivoScarto::Nessuno:
      return "presa";
    case MotivoScarto::NonRiguarda:
      return "non riguarda il soggetto";
    case MotivoScarto::TipoDocumento:
      return "tipo di documento non riportato";
    case MotivoScarto::Divisa:
      return "importi in altra divisa";
    case MotivoScarto::DatiErrati:
      return "importi o data non leggibili";
    case MotivoScarto::FuoriAnno:
      return "fuori dall'anno di riferimento";
    case MotivoScarto::Doppia:
      return "già letta";
    case MotivoScarto::NotaEstera:
      return "nota di variazione verso l'estero";
    case MotivoScarto::NonFattura:
      return "file che non è una fattura";
    case MotivoScarto::FileIlleggibile:
      return "file illeggibile o alterato";
    case MotivoScarto::AltroFile:
      return "file di altro tipo";
  }
  return {};
}

double SerialeData(int d) {
  using namespace std::chrono;
  const year_month_day ymd{year(d / 10000), month(static_cast<unsigned>(d / 100 % 100)),
                           day(static_cast<unsigned>(d % 100))};
  const auto giorni = sys_days(ymd) - sys_days(year_month_day{year(1899), month(12), day(30)});
  return static_cast<double>(giorni.count());
}

RigaDaFattura RegoleFattura(const Fattura& f, const OpzioniFatture& o, const Registrazioni& reg) {
  RigaDaFattura r;
  const bool cedente = EOperatore(f.cedente, o);
  const bool cessionario = EOperatore(f.cessionario, o);
  const SoggettoFattura& altro = cedente ? f.cessionario : f.cedente;
  r.emessa = cedente;
  r.controparte = !altro.idCodice.empty()
                      ? (Uguale(Paese(altro), "IT") ? "" : Paese(altro)) + altro.idCodice
                      : altro.codiceFiscale;
  r.dataDocumento = LeggiDataXml(f.data);
  if (!cedente && !cessionario)
    return Scarta(std::move(r), MotivoScarto::NonRiguarda,
                  "non riguarda il soggetto: né cedente né cessionario");

  const std::string& td = f.tipoDocumento;
  Genere genere = GenereDi(td);
  if (genere == Genere::Altro)
    return Scarta(std::move(r), MotivoScarto::TipoDocumento,
                  "tipo di documento " + (td.empty() ? std::string("mancante") : td) +
                      " non riportato nella comunicazione");
  if (!f.divisa.empty() && f.divisa != "EUR")
    return Scarta(std::move(r), MotivoScarto::Divisa,
                  "importi in " + f.divisa + ": solo le fatture in euro sono riportate");
  if (!f.importoErrato.empty())
    return Scarta(std::move(r), MotivoScarto::DatiErrati,
                  "importo \"" + f.importoErrato + "\" non leggibile");
  if (r.dataDocumento == 0)
    return Scarta(std::move(r), MotivoScarto::DatiErrati,
                  "data del documento \"" + f.data + "\" non valida");

  // Documents the buyer writes to integrate an invoice (reverse charge, purchases from abroad,
  // regularisation) are the buyer's: the seller's own invoice stands for the sale.
  const bool integrazione =
      td == "TD16" || td == "TD17" || td == "TD18" || td == "TD19" || td == "TD20";
  const bool autoconsumo = td == "TD21" || td == "TD27";
  if (integrazione && cedente && !cessionario)
    return Scarta(
        std::move(r), MotivoScarto::TipoDocumento,
        "documento " + td + " di integrazione del cliente: la vendita è nella fattura emessa");
  const bool emessa = cedente;  // the operator on both sides: a self-invoice, issued
  const bool autofattura = (cedente && cessionario) || autoconsumo || td == "TD20";

  // Amounts: a negative total turns an invoice into a credit note and back; every field is
  // written positive.
  long long imponibile = f.imponibile;
  long long imposta = f.imposta;
  if (imponibile + imposta < 0) {
    genere = genere == Genere::Nota ? Genere::Fattura : Genere::Nota;
    r.note.push_back(std::string("da confermare: totale negativo, riportato come ") +
                     (genere == Genere::Nota ? "nota di variazione" : "fattura") +
                     " con importi positivi");
  }
  if ((imponibile < 0 && imposta > 0) || (imponibile > 0 && imposta < 0))
    r.note.push_back("da confermare: imponibile e imposta di segno diverso");
  imponibile = std::llabs(imponibile);
  imposta = std::llabs(imposta);
  if (f.righeRiepilogo == 0)
    r.note.push_back("da confermare: nessun riepilogo IVA, importi a zero");
  if (f.naturaEsclusa)
    r.note.push_back(
        "da confermare: comprende operazioni escluse (N1) o non soggette (N2) sommate "
        "all'imponibile");

  // Registration date and year.
  int registrazione = reg.Data(r.controparte, f.numero, r.dataDocumento);
  if (registrazione == 0 && !altro.codiceFiscale.empty())
    registrazione = reg.Data(altro.codiceFiscale, f.numero, r.dataDocumento);
  r.registrazionePresunta = registrazione == 0;
  r.dataRegistrazione = registrazione != 0 ? registrazione : r.dataDocumento;
  if (o.anno != 0 && r.dataRegistrazione / 10000 != o.anno)
    return Scarta(std::move(r), MotivoScarto::FuoriAnno,
                  std::string("registrata ") + (r.registrazionePresunta ? "(data presunta) " : "") +
                      "il " + DataTesto(r.dataRegistrazione) + ", fuori dall'anno " +
                      std::to_string(o.anno));
  if (r.registrazionePresunta)
    r.note.push_back("data di registrazione presunta (quella del documento)");

  const std::string paese = Paese(altro);
  const bool estero = paese != "IT" || td == "TD28";
  const bool sopraSoglia = imponibile / 100 > 999999;
  const bool italiano = Uguale(paese, "IT");
  const std::string pi = italiano ? altro.idCodice : std::string();
  const std::string cf = pi.empty() && italiano ? altro.codiceFiscale : std::string();

  if (estero) {
    if (genere == Genere::Nota)
      return Scarta(std::move(r), MotivoScarto::NotaEstera,
                    "nota di variazione con controparte estera (" + paese +
                        "): i quadri FN e SE non la accolgono");
    r.quadro = emessa ? "FN" : "SE";
    r.celle.resize(17);
    const bool persona =
        altro.denominazione.empty() && (!altro.cognome.empty() || !altro.nome.empty());
    const int stato = CodiceStato(paese);
    if (persona) {
      r.celle[0] = Testo(altro.cognome);
      r.celle[1] = Testo(altro.nome);
      r.celle[5] = stato ? Numero(stato) : Cella();
      r.evidenziate |= 0b11100u | (stato ? 0u : 0b100000u);
      r.note.push_back("da completare: data, comune (o Stato) e provincia di nascita");
      if (!stato) r.note.push_back("da completare: codice dello Stato estero (" + paese + ")");
    } else {
      r.celle[6] = Testo(altro.denominazione);
      r.celle[7] = Testo(altro.comune);
      r.celle[8] = stato ? Numero(stato) : Cella();
      std::string indirizzo = altro.indirizzo;
      if (!altro.numeroCivico.empty()) indirizzo += " " + altro.numeroCivico;
      r.celle[9] = Testo(indirizzo);
      if (!stato) {
        r.evidenziate |= 1u << 8;
        r.note.push_back("da completare: codice dello Stato estero (" + paese + ")");
      }
    }
    if (emessa) {
      r.celle[10] = Data(r.dataDocumento);
      r.celle[11] = Data(r.dataRegistrazione);
      r.celle[12] = Testo(f.numero);
      if (r.registrazionePresunta) r.evidenziate |= 1u << 11;
    } else {
      if (paese == "SM") r.celle[10] = Testo(altro.idCodice);
      r.celle[11] = Data(r.dataDocumento);
      r.celle[12] = Data(r.dataRegistrazione);
      r.celle[13] = Testo(f.numero);
      if (r.registrazionePresunta) r.evidenziate |= 1u << 12;
      // Quadro SE takes the services bought from non-residents and every purchase from San
      // Marino; goods bought from elsewhere abroad are the user's call.
      if (td == "TD18" || td == "TD19" || (paese != "SM" && td != "TD17"))
        r.note.push_back("da confermare: acquisto da soggetto estero (" + paese + ", " + td +
                         "), il quadro SE accoglie i servizi da non residenti e gli acquisti "
                         "da San Marino");
    }
    r.celle[14] = Importo(imponibile);
    r.celle[15] = Importo(imposta);
    r.celle[16] = Casella(sopraSoglia);
    return r;
  }

  if (pi.empty() && cf.empty()) {
    r.note.push_back("da completare: controparte senza partita IVA né codice fiscale");
    r.evidenziate |= 0b11u;
  }
  if (genere == Genere::Fattura && emessa) {
    r.quadro = "FE";
    r.celle.resize(12);
    r.celle[0] = Testo(pi);
    r.celle[1] = Testo(cf);
    r.celle[3] = Casella(f.naturaN5);
    r.celle[5] = Casella(autofattura);
    r.celle[6] = Data(r.dataDocumento);
    r.celle[7] = Data(r.dataRegistrazione);
    r.celle[8] = Testo(f.numero);
    r.celle[9] = Importo(imponibile);
    r.celle[10] = Importo(imposta);
    r.celle[11] = Casella(sopraSoglia);
    if (r.registrazionePresunta) r.evidenziate |= 1u << 7;
  } else if (genere == Genere::Fattura) {
    r.quadro = "FR";
    r.celle.resize(10);
    r.celle[0] = Testo(pi);
    if (pi.empty()) {
      r.evidenziate |= 1u;
      if (!cf.empty())
        r.note.push_back("da completare: fornitore con il solo codice fiscale " + cf +
                         ", il quadro FR chiede la partita IVA");
    }
    r.celle[2] = Data(r.dataDocumento);
    r.celle[3] = Data(r.dataRegistrazione);
    r.celle[4] = Casella(f.naturaN5);
    const bool inversione =
        f.naturaN6 || td == "TD16" || td == "TD17" || td == "TD18" || td == "TD19";
    r.celle[5] = Casella(inversione);
    r.celle[6] = Casella(autofattura);
    r.celle[7] = Importo(imponibile);
    r.celle[8] = Importo(imposta);
    r.celle[9] = Casella(sopraSoglia);
    if (r.registrazionePresunta) r.evidenziate |= 1u << 3;
    if (td == "TD16")
      r.note.push_back(
          "da confermare: integrazione di una fattura in reverse charge (TD16), verificare che "
          "la fattura del fornitore non sia riportata due volte");
    else if (td == "TD19" || td == "TD17" || td == "TD18")
      r.note.push_back("da confermare: documento di integrazione " + td +
                       " con cedente italiano, riportato con la casella reverse charge");
    else if (td == "TD20")
      r.note.push_back("da confermare: autofattura di regolarizzazione (TD20)");
    else if (autoconsumo)
      r.note.push_back("da confermare: documento " + td + " ricevuto");
  } else if (emessa) {
    r.quadro = "NE";
    r.celle.resize(8);
    r.celle[0] = Testo(pi);
    r.celle[1] = Testo(cf);
    r.celle[2] = Data(r.dataDocumento);
    r.celle[3] = Data(r.dataRegistrazione);
    r.celle[4] = Testo(f.numero);
    r.celle[5] = Importo(imponibile);
    r.celle[6] = Importo(imposta);
    r.celle[7] = Casella(sopraSoglia);
    if (r.registrazionePresunta) r.evidenziate |= 1u << 3;
  } else {
    r.quadro = "NR";
    r.celle.resize(6);
    r.celle[0] = Testo(pi);
    if (pi.empty()) r.evidenziate |= 1u;
    r.celle[1] = Data(r.dataDocumento);
    r.celle[2] = Data(r.dataRegistrazione);
    r.celle[3] = Importo(imponibile);
    r.celle[4] = Importo(imposta);
    r.celle[5] = Casella(sopraSoglia);
    if (r.registrazionePresunta) r.evidenziate |= 1u << 2;
  }
  return r;
}

}  // namespace fcl
