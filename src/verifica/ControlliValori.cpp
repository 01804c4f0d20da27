#include "verifica/ControlliValori.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "common/Cp1252.h"

namespace fcl {
namespace {

// Value of a character in an odd position (1, 3, ... 15) of a codice fiscale: digits 0-9 and
// letters A-J share a column, then K-Z.
constexpr std::array<int, 26> kDispari = {1,  0,  5, 7, 9, 13, 15, 17, 19, 21, 2,  4,  18,
                                          20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};

// Month letters A (January) ... T (December), and days in each month (February with the 29th).
constexpr std::string_view kMesi = "ABCDEHLMPRST";
constexpr std::array<int, 12> kGiorniMese = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Letters that replace digits in an omocodia code: L = 0 ... V = 9.
constexpr std::string_view kOmocodia = "LMNPQRSTUV";

bool Lettera(char c) { return c >= 'A' && c <= 'Z'; }
bool Cifra(char c) { return c >= '0' && c <= '9'; }
bool CifraOmocodia(char c) { return Cifra(c) || kOmocodia.find(c) != std::string_view::npos; }
int ValoreOmocodia(char c) { return Cifra(c) ? c - '0' : static_cast<int>(kOmocodia.find(c)); }

bool HaMinuscole(std::string_view s) {
  for (const char c : s)
    if (c >= 'a' && c <= 'z') return true;
  return false;
}

bool Giorno(int anno, int mese, int giorno) {
  if (anno < 1800 || anno > 2099 || mese < 1 || mese > 12 || giorno < 1) return false;
  int massimo = kGiorniMese[static_cast<std::size_t>(mese - 1)];
  if (mese == 2 && !((anno % 4 == 0 && anno % 100 != 0) || anno % 400 == 0)) massimo = 28;
  return giorno <= massimo;
}

void Aggiungi(std::vector<Difetto>& d, Regola r, std::string messaggio) {
  d.push_back({r, std::move(messaggio)});
}

// A value that must fill the 16 positions from the left (codes): blanks before it are an error.
bool AllineatoASinistra(std::string_view valore, std::string_view nome, std::vector<Difetto>& d) {
  if (!valore.empty() && valore.front() == ' ') {
    Aggiungi(d, Regola::Allineamento,
             std::string(nome) + " " + Citazione(valore) + " non allineato a sinistra nel campo");
    return false;
  }
  return true;
}

// A value that must end at the last position (numbers, dates, boxes).
bool AllineatoADestra(std::string_view valore, std::string_view nome, std::vector<Difetto>& d) {
  if (!valore.empty() && valore.back() == ' ') {
    Aggiungi(d, Regola::Allineamento,
             std::string(nome) + " " + Citazione(valore) + " non allineato a destra nel campo");
    return false;
  }
  return true;
}

void ControllaData(std::string_view testo, bool zeriAmmessi, std::vector<Difetto>& d) {
  if (zeriAmmessi && testo == "00000000") return;
  if (testo.size() != 8 || !SoloCifre(testo)) {
    Aggiungi(d, Regola::Data, "Data " + Citazione(testo) + " non valida: va scritta ggmmaaaa");
    return;
  }
  if (!DataValida(testo)) Aggiungi(d, Regola::Data, "Data " + Citazione(testo) + " inesistente");
}

}  // namespace

// Every element of every record comes here: eight blanks are compared at once.
bool Vuoto(std::string_view testo) {
  constexpr std::uint64_t kOttoSpazi = 0x2020202020202020ull;
  std::size_t i = 0;
  for (; i + 8 <= testo.size(); i += 8) {
    std::uint64_t otto;
    std::memcpy(&otto, testo.data() + i, sizeof otto);
    if (otto != kOttoSpazi) return false;
  }
  for (; i < testo.size(); ++i)
    if (testo[i] != ' ') return false;
  return true;
}

bool SoloCifre(std::string_view testo) {
  if (testo.empty()) return false;
  for (const char c : testo)
    if (!Cifra(c)) return false;
  return true;
}

std::string_view Rifilato(std::string_view testo) {
  while (!testo.empty() && testo.front() == ' ') testo.remove_prefix(1);
  while (!testo.empty() && testo.back() == ' ') testo.remove_suffix(1);
  return testo;
}

std::string Citazione(std::string_view testo) { return "«" + Cp1252ToUtf8(Rifilato(testo)) + "»"; }

char CarattereControlloCF(std::string_view primi15) {
  if (primi15.size() != 15) return '\0';
  int somma = 0;
  for (std::size_t i = 0; i < 15; ++i) {
    const char c = primi15[i];
    int indice;  // 0-9 for digits, 0-25 for letters
    if (Cifra(c)) {
      indice = c - '0';
    } else if (Lettera(c)) {
      indice = c - 'A';
    } else {
      return '\0';
    }
    // Positions are counted from 1: index 0 is the first, odd, position.
    somma += (i % 2 == 0) ? kDispari[static_cast<std::size_t>(indice)] : indice;
  }
  return static_cast<char>('A' + somma % 26);
}

int CifraControlloPI(std::string_view primi10) {
  if (primi10.size() != 10 || !SoloCifre(primi10)) return -1;
  int somma = 0;
  for (std::size_t i = 0; i < 10; ++i) {
    int cifra = primi10[i] - '0';
    if (i % 2 == 1) {  // even positions 2, 4, ... 10
      cifra *= 2;
      if (cifra > 9) cifra -= 9;
    }
    somma += cifra;
  }
  return (10 - somma % 10) % 10;
}

bool DataValida(std::string_view s) {
  if (s.size() != 8 || !SoloCifre(s)) return false;
  const auto n = [&](std::size_t da, std::size_t quanti) {
    int v = 0;
    for (std::size_t i = da; i < da + quanti; ++i) v = v * 10 + (s[i] - '0');
    return v;
  };
  return Giorno(n(4, 4), n(2, 2), n(0, 2));
}

void ControllaCodiceFiscale(std::string_view cf, std::vector<Difetto>& d) {
  // The quotation is made only for a finding.
  const auto c = [cf] { return Citazione(cf); };
  if (HaMinuscole(cf)) {
    Aggiungi(d, Regola::CodiceFiscale, "Codice fiscale " + c() + " da scrivere in lettere maiuscole");
    return;
  }
  if (cf.size() == 11) {
    if (!SoloCifre(cf)) {
      Aggiungi(d, Regola::CodiceFiscale,
               "Codice fiscale " + c() + " non valido: di 11 caratteri deve contenere solo cifre");
      return;
    }
    const int attesa = CifraControlloPI(cf.substr(0, 10));
    if (cf[10] - '0' != attesa)
      Aggiungi(d, Regola::CodiceFiscale,
               "Codice fiscale numerico " + c() + " errato: la cifra di controllo dovrebbe essere " +
                   std::to_string(attesa));
    return;
  }
  if (cf.size() != 16) {
    Aggiungi(d, Regola::CodiceFiscale,
             "Codice fiscale " + c() +
                 " di lunghezza errata: deve avere 16 caratteri (11 cifre per i soggetti diversi "
                 "dalle persone fisiche)");
    return;
  }
  // AAAAAA 99 A 99 A 999 A, where a 9 may be an omocodia letter.
  bool struttura = true;
  for (std::size_t i = 0; i < 16; ++i) {
    const char ch = cf[i];
    switch (i) {
      case 6:
      case 7:
      case 9:
      case 10:
      case 12:
      case 13:
      case 14:
        struttura = struttura && CifraOmocodia(ch);
        break;
      default:
        struttura = struttura && Lettera(ch);
    }
  }
  if (!struttura) {
    Aggiungi(d, Regola::CodiceFiscale,
             "Codice fiscale " + c() + " non valido: non ha la forma di un codice fiscale");
    return;
  }
  const auto mese = kMesi.find(cf[8]);
  int giorno = ValoreOmocodia(cf[9]) * 10 + ValoreOmocodia(cf[10]);
  if (giorno > 40) giorno -= 40;
  if (mese == std::string_view::npos || giorno < 1 || giorno > kGiorniMese[mese]) {
    Aggiungi(d, Regola::CodiceFiscale,
             "Codice fiscale " + c() + " non valido: mese o giorno di nascita inesistenti");
    return;
  }
  const char atteso = CarattereControlloCF(cf.substr(0, 15));
  if (cf[15] != atteso)
    Aggiungi(d, Regola::CodiceFiscale,
             "Codice fiscale " + c() + " errato: il carattere di controllo dovrebbe essere " +
                 std::string(1, atteso));
}

void ControllaPartitaIva(std::string_view pi, std::vector<Difetto>& d) {
  if (pi.size() != 11 || !SoloCifre(pi)) {
    Aggiungi(d, Regola::PartitaIva, "Partita IVA " + Citazione(pi) + " non valida: deve avere 11 cifre");
    return;
  }
  const int attesa = CifraControlloPI(pi.substr(0, 10));
  if (pi[10] - '0' != attesa) {
    Aggiungi(d, Regola::PartitaIva,
             "Partita IVA " + Citazione(pi) + " errata: la cifra di controllo dovrebbe essere " +
                 std::to_string(attesa));
    return;
  }
  const int ufficio = (pi[7] - '0') * 100 + (pi[8] - '0') * 10 + (pi[9] - '0');
  if (!((ufficio >= 1 && ufficio <= 100) || ufficio == 120 || ufficio == 121 || ufficio == 888 ||
        ufficio == 999))
    Aggiungi(d, Regola::UfficioPartitaIva,
             "Partita IVA " + Citazione(pi) + ": il codice dell'ufficio (cifre 8-10) " +
                 std::string(pi.substr(7, 3)) + " non è tra quelli assegnati");
}

void ControllaCaratteriTesto(std::string_view testo, std::vector<Difetto>& d) {
  bool minuscole = false, nonAscii = false;
  for (const char ch : testo) {
    const auto u = static_cast<unsigned char>(ch);
    if (u >= 0x80) nonAscii = true;
    if (ch >= 'a' && ch <= 'z') minuscole = true;
  }
  if (minuscole)
    Aggiungi(d, Regola::Minuscole,
             "Testo " + Citazione(testo) + " con lettere minuscole: va scritto in maiuscolo");
  if (nonAscii)
    Aggiungi(d, Regola::CarattereNonAscii,
             "Testo " + Citazione(testo) +
                 " con lettere accentate o simboli che il controllo dell'Agenzia potrebbe non "
                 "accettare");
}

void ControllaValore(ClasseFormato classe, std::string_view v, std::vector<Difetto>& d) {
  const std::string_view t = Rifilato(v);
  using enum ClasseFormato;
  switch (classe) {
    case AN:
      if (!v.empty() && v.front() == ' ')
        Aggiungi(d, Regola::AllineamentoTesto,
                 "Testo " + Citazione(v) + " non allineato a sinistra nel campo");
      ControllaCaratteriTesto(t, d);
      return;
    case LS:
      if (!v.empty() && v.front() == ' ')
        Aggiungi(d, Regola::AllineamentoTesto,
                 "Codice noleggio/leasing " + Citazione(v) + " non allineato a sinistra nel campo");
      if (t.size() != 1 || t[0] < 'A' || t[0] > 'E')
        Aggiungi(d, Regola::Leasing,
                 "Noleggio/leasing " + Citazione(t) +
                     " non valido: indicare A (autovettura), B (caravan), C (altri veicoli), D "
                     "(unità da diporto) o E (aeromobili)");
      return;
    case CF:
      if (AllineatoASinistra(v, "Codice fiscale", d)) ControllaCodiceFiscale(t, d);
      return;
    case PI:
      if (AllineatoASinistra(v, "Partita IVA", d)) ControllaPartitaIva(t, d);
      return;
    case DT:
      if (AllineatoADestra(v, "Data", d)) ControllaData(t, false, d);
      return;
    case NP: {
      if (!AllineatoADestra(v, "Numero", d)) return;
      if (!t.empty() && t.front() == '-') {
        Aggiungi(d, Regola::Importo,
                 "Importo " + Citazione(t) +
                     " negativo: gli importi sono sempre positivi (le note di credito vanno nei "
                     "quadri delle note di variazione)");
      } else if (!SoloCifre(t)) {
        Aggiungi(d, Regola::Importo,
                 "Valore " + Citazione(t) +
                     " non valido: deve essere un numero intero positivo, senza decimali né "
                     "separatori");
      } else if (t.find_first_not_of('0') == std::string_view::npos) {
        Aggiungi(d, Regola::ValoreZero, "Valore zero: l'elemento non va indicato");
      }
      return;
    }
    case CB:
      if (!AllineatoADestra(v, "Casella", d)) return;
      if (t == "0") {
        Aggiungi(d, Regola::ValoreZero, "Casella a 0: l'elemento non va indicato");
      } else if (t != "1") {
        Aggiungi(d, Regola::Casella,
                 "Casella " + Citazione(t) + " non valida: l'unico valore ammesso è 1");
      }
      return;
    case CS: {
      if (!AllineatoADestra(v, "Codice Stato estero", d)) return;
      const auto significative = t.find_first_not_of('0');
      if (!SoloCifre(t) || significative == std::string_view::npos || t.size() - significative > 3)
        Aggiungi(
            d, Regola::CodiceStato,
            "Codice Stato estero " + Citazione(t) +
                " non valido: è il numero di tre cifre dell'elenco dei Paesi e territori esteri");
      return;
    }
    case PN:
      if (!v.empty() && v.front() == ' ')
        Aggiungi(d, Regola::AllineamentoTesto,
                 "Provincia " + Citazione(v) + " non allineata a sinistra nel campo");
      if (t.size() != 2 || !Lettera(t[0]) || !Lettera(t[1])) {
        Aggiungi(d, Regola::Provincia,
                 "Provincia " + Citazione(t) +
                     " non valida: indicare la sigla di due lettere maiuscole (EE per uno Stato "
                     "estero)");
      } else if (!ProvinciaNota(t)) {
        Aggiungi(d, Regola::ProvinciaSconosciuta, "Provincia " + Citazione(t) + " sconosciuta");
      }
      return;
    default:
      return;  // positional classes do not occur in elements
  }
}

void ControllaPosizionale(const CampoPosizionale& campo, std::string_view testo,
                          std::vector<Difetto>& d) {
  using enum ClasseFormato;
  const std::string_view t = Rifilato(testo);
  if (campo.classe == Vuoto) {
    if (!fcl::Vuoto(testo))
      Aggiungi(d, Regola::Riempitivo,
               "Le posizioni " + std::to_string(campo.posizione) + "-" +
                   std::to_string(campo.posizione + campo.larghezza - 1) +
                   " devono restare vuote (" + std::string(campo.descrizione) + ")");
    return;
  }
  if (campo.classe == Libero) return;
  if (campo.classe == Fisso) {
    if (testo != campo.fisso)
      Aggiungi(d, Regola::ValoreFisso,
               std::string(campo.descrizione) + ": deve valere " + std::string(campo.fisso) +
                   ", vale " + Citazione(testo));
    return;
  }
  if (fcl::Vuoto(testo)) {
    if (campo.obbligatorio)
      Aggiungi(d, Regola::Obbligatorio, std::string(campo.descrizione) + " non indicato");
    else if (campo.classe == Produttore)
      Aggiungi(d, Regola::CodiceProduttore,
               "Manca l'identificativo del produttore del software (posizioni 74-89)");
    return;
  }
  const std::string nome(campo.descrizione);
  switch (campo.classe) {
    case AN:
      if (testo.front() == ' ')
        Aggiungi(d, Regola::AllineamentoTesto, nome + " non allineato a sinistra");
      ControllaCaratteriTesto(t, d);
      return;
    case CF:
      if (AllineatoASinistra(testo, "Codice fiscale", d)) ControllaCodiceFiscale(t, d);
      return;
    case Produttore: {
      std::vector<Difetto> cf;
      if (testo.front() != ' ') ControllaCodiceFiscale(t, cf);
      if (testo.front() == ' ' || !cf.empty())
        Aggiungi(d, Regola::CodiceProduttore,
                 "Identificativo del produttore del software " + Citazione(t) + " non valido: " +
                     (cf.empty() ? "non allineato a sinistra" : cf.front().messaggio));
      return;
    }
    case PI:
      ControllaPartitaIva(testo, d);
      return;
    case PN:
      if (testo.size() != 2 || !Lettera(testo[0]) || !Lettera(testo[1])) {
        Aggiungi(d, Regola::Provincia,
                 nome + " " + Citazione(testo) +
                     " non valida: indicare la sigla di due lettere "
                     "maiuscole (EE per uno Stato estero)");
      } else if (!ProvinciaNota(testo)) {
        Aggiungi(d, Regola::ProvinciaSconosciuta, nome + " " + Citazione(testo) + " sconosciuta");
      }
      return;
    case Cifre:
      if (!SoloCifre(testo))
        Aggiungi(d, Regola::Numerico,
                 nome + " " + Citazione(testo) + " non valido: deve contenere " +
                     std::to_string(campo.larghezza) + " cifre");
      return;
    case Casella01:
      if (testo != "0" && testo != "1")
        Aggiungi(d, Regola::Casella, nome + ": la casella vale 0 o 1, non " + Citazione(testo));
      return;
    case Data0:
      if (testo.size() != 8 || !SoloCifre(testo))
        Aggiungi(d, Regola::Data,
                 nome + " " + Citazione(testo) +
                     " non valida: va scritta ggmmaaaa (00000000 se non c'è)");
      else if (testo != "00000000" && !DataValida(testo))
        Aggiungi(d, Regola::Data, nome + " " + Citazione(testo) + " inesistente");
      return;
    case Anno:
      if (!SoloCifre(testo) || testo < std::string_view("1900"))
        Aggiungi(d, Regola::Numerico, nome + " " + Citazione(testo) + " non valido");
      return;
    case Sesso:
      if (testo != "M" && testo != "F")
        Aggiungi(d, Regola::Sesso, nome + ": indicare M o F, non " + Citazione(testo));
      return;
    case Telefono:
      if (testo.front() == ' ' || !SoloCifre(t))
        Aggiungi(d, Regola::Telefono,
                 nome + " " + Citazione(testo) + ": va scritto con sole cifre, da sinistra");
      return;
    case MeseTrimestre: {
      const bool mese =
          SoloCifre(testo) && testo >= std::string_view("01") && testo <= std::string_view("12");
      const bool trimestre =
          testo.size() == 2 && testo[0] == 'T' && testo[1] >= '1' && testo[1] <= '4';
      if (!mese && !trimestre && testo != "00")
        Aggiungi(d, Regola::MeseTrimestre,
                 nome + " " + Citazione(testo) +
                     " non valido: indicare il mese da 01 a 12, il trimestre da T1 a T4, o "
                     "lasciare vuoto per la comunicazione annuale");
      return;
    }
    case TipoFornitore:
      if (testo != "01" && testo != "10")
        Aggiungi(d, Regola::TipoFornitore,
                 nome + " " + Citazione(testo) +
                     " non valido: 01 per chi invia la propria comunicazione, 10 per gli "
                     "intermediari");
      return;
    case Impegno:
      if (testo != "0" && testo != "1" && testo != "2")
        Aggiungi(d, Regola::Intermediario,
                 nome + " " + Citazione(testo) +
                     " non valido: 1 se predisposta dal contribuente, 2 se da chi la trasmette, 0 "
                     "senza intermediario");
      return;
    case Attivita:
      if (!SoloCifre(testo))
        Aggiungi(d, Regola::Numerico,
                 nome + " " + Citazione(testo) + " non valido: sono 6 cifre senza punti");
      return;
    default:
      return;
  }
}

}  // namespace fcl
