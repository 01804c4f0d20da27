// Writes the blank workbook the user fills for the communication: an ISTRUZIONI sheet, then one
// sheet per quadro named as the run recognises it, with a title, the field codes and the column
// headings above the first data row, the columns formatted for what they hold (VAT numbers and
// fiscal codes as text so that leading zeros stay, amounts and dates as numbers) and data
// validation that warns about values the encoder would refuse or misread.
//
// Usage: genera-cartella-vuota FILE.xlsx
#include <xlsxwriter.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// What a column holds, which decides its format and its validation.
enum class Classe {
  PartitaIva,  // 11 digits, as text
  Codice,      // fiscal code or VAT number, up to 16 characters, as text
  Testo,
  Leasing,  // a code A-E
  Importo,  // an amount in euro, positive
  Numero,   // a count of operations
  Casella,  // a flag: 1
  Data,
  Paese,  // a foreign country code, 1-999
};

struct Colonna {
  const char* intestazione;
  Classe classe;
};

struct Quadro {
  const char* nome;
  const char* titolo;
  int primaRiga;               // first data row, from 1
  const char* prefissoCodice;  // field codes "FA001" + 3 digits; nullptr for BL (own codes)
  std::vector<Colonna> colonne;
};

using C = Classe;

const std::vector<Colonna> kAnagraficaEstera = {
    {"Cognome", C::Testo},
    {"Nome", C::Testo},
    {"Data di nascita", C::Data},
    {"Comune/Stato estero nascita", C::Testo},
    {"Provincia di nascita", C::Testo},
    {"Stato estero domicilio (cod.)", C::Paese},
    {"Denominazione", C::Testo},
    {"Città estera sede legale", C::Testo},
    {"Stato estero sede (cod.)", C::Paese},
    {"Indirizzo estero sede legale", C::Testo},
};

std::vector<Colonna> Unisci(std::vector<Colonna> a, const std::vector<Colonna>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const std::vector<Quadro> kQuadri = {
    {"FA",
     "Quadro FA - Operazioni documentate da fattura esposte in forma aggregata",
     4,
     "FA001",
     {{"Partita IVA", C::PartitaIva},
      {"Codice fiscale", C::Codice},
      {"Documento riepilogativo", C::Casella},
      {"N. operazioni attive", C::Numero},
      {"N. operazioni passive", C::Numero},
      {"Noleggio/leasing (A-E)", C::Leasing},
      {"Attive: imp./non imp./esenti", C::Importo},
      {"Attive: imposta", C::Importo},
      {"Attive: IVA non esposta", C::Importo},
      {"Attive: note var. a debito", C::Importo},
      {"Attive: imposta note debito", C::Importo},
      {"Passive: imp./non imp./esenti", C::Importo},
      {"Passive: imposta", C::Importo},
      {"Passive: IVA non esposta", C::Importo},
      {"Passive: note var. a credito", C::Importo},
      {"Passive: imposta note credito", C::Importo}}},
    {"SA",
     "Quadro SA - Operazioni senza fattura esposte in forma aggregata",
     3,
     "SA001",
     {{"Codice fiscale", C::Codice},
      {"Numero operazioni", C::Numero},
      {"Importo compl. (IVA inclusa)", C::Importo},
      {"Noleggio/leasing (A-E)", C::Leasing}}},
    {"BL",
     "Quadro BL - Operazioni con paesi con fiscalità privilegiata, con non residenti, "
     "acquisti di servizi da non residenti",
     5, nullptr,
     Unisci(kAnagraficaEstera, {{"Codice identificativo IVA", C::Testo},
                                {"Paesi fiscalità privilegiata", C::Casella},
                                {"Operazioni con non residenti", C::Casella},
                                {"Acquisti servizi non resid.", C::Casella},
                                {"Attive: imp./non imp./esenti", C::Importo},
                                {"Attive: imposta", C::Importo},
                                {"Attive non soggette: beni", C::Importo},
                                {"Attive non soggette: servizi", C::Importo},
                                {"Attive: note di variazione", C::Importo},
                                {"Attive: imposta note var.", C::Importo},
                                {"Passive: imp./non imp./esenti", C::Importo},
                                {"Passive: imposta", C::Importo},
                                {"Passive non soggette IVA", C::Importo},
                                {"Passive: note di variazione", C::Importo},
                                {"Passive: imposta note var.", C::Importo}})},
    {"FE",
     "Quadro FE - Fatture emesse e documenti riepilogativi",
     4,
     "FE001",
     {{"Partita IVA", C::PartitaIva},
      {"Codice fiscale", C::Codice},
      {"Documento riepilogativo", C::Casella},
      {"IVA non esposta", C::Casella},
      {"Noleggio/leasing (A-E)", C::Leasing},
      {"Autofattura", C::Casella},
      {"Data documento", C::Data},
      {"Data registrazione", C::Data},
      {"Numero documento", C::Testo},
      {"Imponibile/importo", C::Importo},
      {"Imposta", C::Importo},
      {"Importo > 999.999 (conferma)", C::Casella}}},
    {"FR",
     "Quadro FR - Fatture ricevute e documenti riepilogativi",
     4,
     "FR001",
     {{"Partita IVA", C::PartitaIva},
      {"Documento riepilogativo", C::Casella},
      {"Data documento", C::Data},
      {"Data registrazione", C::Data},
      {"IVA non esposta", C::Casella},
      {"Reverse charge", C::Casella},
      {"Autofattura", C::Casella},
      {"Imponibile/importo", C::Importo},
      {"Imposta", C::Importo},
      {"Importo > 999.999 (conferma)", C::Casella}}},
    {"NE",
     "Quadro NE - Note di variazione emesse",
     4,
     "NE001",
     {{"Partita IVA", C::PartitaIva},
      {"Codice fiscale", C::Codice},
      {"Data emissione", C::Data},
      {"Data registrazione", C::Data},
      {"Numero nota", C::Testo},
      {"Imponibile/importo", C::Importo},
      {"Imposta", C::Importo},
      {"Importo > 999.999 (conferma)", C::Casella}}},
    {"NR",
     "Quadro NR - Note di variazione ricevute",
     4,
     "NR001",
     {{"Partita IVA", C::PartitaIva},
      {"Data documento", C::Data},
      {"Data registrazione", C::Data},
      {"Imponibile/importo", C::Importo},
      {"Imposta", C::Importo},
      {"Importo > 999.999 (conferma)", C::Casella}}},
    {"DF",
     "Quadro DF - Operazioni senza fattura",
     4,
     "DF001",
     {{"Codice fiscale", C::Codice},
      {"Data operazione", C::Data},
      {"Importo (IVA inclusa)", C::Importo},
      {"Noleggio/leasing (A-E)", C::Leasing},
      {"Importo > 999.999 (conferma)", C::Casella}}},
    {"FN", "Quadro FN - Operazioni con soggetti non residenti", 4, "FN001",
     Unisci(kAnagraficaEstera, {{"Data emissione", C::Data},
                                {"Data registrazione", C::Data},
                                {"Numero documento", C::Testo},
                                {"Noleggio/leasing (A-E)", C::Leasing},
                                {"Imponibile/importo", C::Importo},
                                {"Imposta", C::Importo},
                                {"Importo > 999.999 (conferma)", C::Casella}})},
    {"SE", "Quadro SE - Acquisti di servizi da non residenti e acquisti da operatori di San Marino",
     4, "SE001",
     Unisci(kAnagraficaEstera, {{"Codice identificativo IVA", C::Testo},
                                {"Data emissione", C::Data},
                                {"Data registrazione", C::Data},
                                {"Numero documento", C::Testo},
                                {"Imponibile/importo", C::Importo},
                                {"Imposta", C::Importo},
                                {"Importo > 999.999 (conferma)", C::Casella}})},
    {"TU",
     "Quadro TU - Operazioni legate al turismo",
     4,
     "TU001",
     {{"Cognome", C::Testo},
      {"Nome", C::Testo},
      {"Data di nascita", C::Data},
      {"Comune/Stato estero nascita", C::Testo},
      {"Provincia di nascita", C::Testo},
      {"Città estera di residenza", C::Testo},
      {"Stato estero resid. (cod.)", C::Paese},
      {"Indirizzo estero residenza", C::Testo},
      {"Data emissione", C::Data},
      {"Data registrazione", C::Data},
      {"Numero documento", C::Testo},
      {"Imponibile/importo", C::Importo},
      {"Imposta", C::Importo},
      {"Importo > 999.999 (conferma)", C::Casella}}},
};

// The field codes of BL, column by column.
const char* const kCodiciBL[] = {"BL001001", "BL001002", "BL001003", "BL001004", "BL001005",
                                 "BL001006", "BL001007", "BL001008", "BL001009", "BL001010",
                                 "BL002001", "BL002002", "BL002003", "BL002004", "BL003001",
                                 "BL003002", "BL004001", "BL004002", "BL005001", "BL005002",
                                 "BL006001", "BL006002", "BL007001", "BL008001", "BL008002"};

const char* const kIstruzioni[] = {
    "COMUNICAZIONE POLIVALENTE - FOGLIO BASE",
    "",
    "Come compilare questa cartella di lavoro",
    "",
    "1. Ogni quadro ha il suo foglio: FA, SA, BL, FE, FR, NE, NR, DF, FN, SE, TU. I fogli sono "
    "riconosciuti dal nome, scritto esattamente così (maiuscolo, senza spazi): non rinominarli.",
    "2. Questo foglio (il primo) non viene mai letto. Dopo di esso i fogli sono letti in ordine; "
    "la "
    "lettura si ferma al primo foglio con un nome diverso da quelli dei quadri: non inserire altri "
    "fogli tra i quadri, aggiungerli eventualmente in fondo.",
    "3. Le righe in alto di ogni foglio (titolo, codici dei campi, intestazioni) non vanno "
    "toccate. "
    "I dati iniziano alla riga indicata nel titolo: riga 4 per FA, FE, FR, NE, NR, DF, FN, SE, TU; "
    "riga 3 per SA; riga 5 per BL.",
    "4. Una riga per operazione (o per controparte nei quadri aggregati), senza righe vuote in "
    "mezzo: la prima riga con le colonne da A a J tutte vuote chiude il foglio, e le righe "
    "successive non vengono lette.",
    "5. Partita IVA e codice fiscale: scriverli come testo (le colonne sono già impostate così), "
    "in modo che gli zeri iniziali restino. La partita IVA ha 11 cifre.",
    "6. Date: scriverle come date, nella forma gg/mm/aaaa (ad esempio 05/03/2013).",
    "7. Importi: in euro, positivi. I decimali vengono troncati (1234,99 diventa 1234), non "
    "arrotondati. Le note di credito vanno nei quadri NE e NR, non come importi negativi.",
    "8. Caselle (documento riepilogativo, autofattura, reverse charge, conferma importo oltre "
    "999.999 euro, ecc.): scrivere 1 per barrare la casella, lasciare vuoto altrimenti.",
    "9. Noleggio/leasing: una lettera da A a E (A autovettura, B caravan, C altri veicoli, "
    "D unità da diporto, E aeromobili).",
    "10. Codici degli Stati esteri: il codice numerico (fino a 3 cifre) dell'elenco dei Paesi e "
    "territori esteri.",
    "11. Quadro BL: il foglio è preparato per i soggetti diversi dalle persone fisiche, con i dati "
    "dalla riga 5. Per le persone fisiche scrivere PERSONE FISICHE nella cella A5, lasciare vuota "
    "la riga 6 (o usarla per le intestazioni) e scrivere i dati dalla riga 7. Nella stessa riga "
    "compilare le colonne da A a F per una persona fisica, da G a J per un altro soggetto.",
    "12. Quadro FR: il foglio segue la disposizione attuale delle colonne, riconosciuta dalla "
    "cella C3 che inizia con \"Data\". Non cambiare quella cella.",
    "13. I valori delle colonne oltre l'ultima del quadro non vengono letti.",
};

class Scrittore {
 public:
  explicit Scrittore(const char* percorso) {
    lxw_workbook_options opzioni = {};
    opzioni.constant_memory = LXW_FALSE;
    cartella_ = workbook_new_opt(percorso, &opzioni);
    if (cartella_ == nullptr) return;
    titolo_ = Formato();
    format_set_bold(titolo_);
    format_set_font_size(titolo_, 12);
    intestazione_ = Formato();
    format_set_bold(intestazione_);
    format_set_text_wrap(intestazione_);
    format_set_align(intestazione_, LXW_ALIGN_VERTICAL_TOP);
    format_set_bg_color(intestazione_, 0xDDEBF7);
    format_set_border(intestazione_, LXW_BORDER_THIN);
    codice_ = Formato();
    format_set_font_color(codice_, 0x808080);
    format_set_font_size(codice_, 8);
    testo_ = Formato();
    format_set_num_format(testo_, "@");
    data_ = Formato();
    format_set_num_format(data_, "dd/mm/yyyy");
    importo_ = Formato();
    format_set_num_format(importo_, "#,##0.00");
    intero_ = Formato();
    format_set_num_format(intero_, "0");
    istruzione_ = Formato();
    format_set_text_wrap(istruzione_);
    format_set_align(istruzione_, LXW_ALIGN_VERTICAL_TOP);
  }

  bool Aperta() const { return cartella_ != nullptr; }

  void Istruzioni() {
    lxw_worksheet* foglio = workbook_add_worksheet(cartella_, "ISTRUZIONI");
    worksheet_set_column(foglio, 0, 0, 110, istruzione_);
    lxw_row_t riga = 0;
    for (const char* testo : kIstruzioni) {
      worksheet_write_string(foglio, riga, 0, testo, riga == 0 ? titolo_ : nullptr);
      ++riga;
    }
  }

  void Foglio(const Quadro& quadro) {
    lxw_worksheet* foglio = workbook_add_worksheet(cartella_, quadro.nome);
    const auto prima = static_cast<lxw_row_t>(quadro.primaRiga - 1);  // 0-based first data row
    const std::string titolo =
        std::string(quadro.titolo) + " (dati dalla riga " + std::to_string(quadro.primaRiga) + ")";
    worksheet_write_string(foglio, 0, 0, titolo.c_str(), titolo_);
    if (std::string(quadro.nome) == "BL") {
      worksheet_write_string(
          foglio, 1, 0,
          "Persone fisiche: scrivere PERSONE FISICHE in A5 e i dati dalla riga 7 "
          "(vedere il foglio ISTRUZIONI).",
          nullptr);
    }
    worksheet_set_row(foglio, prima - 1, 45, nullptr);
    for (std::size_t i = 0; i < quadro.colonne.size(); ++i) {
      const auto colonna = static_cast<lxw_col_t>(i);
      const Colonna& c = quadro.colonne[i];
      worksheet_set_column(foglio, colonna, colonna, Larghezza(c.classe), FormatoDi(c.classe));
      worksheet_write_string(foglio, prima - 1, colonna, c.intestazione, intestazione_);
      if (prima >= 3) {
        std::string codice = kCodiciBL[i];
        if (quadro.prefissoCodice != nullptr) {
          const std::string numero = std::to_string(i + 1);
          codice = quadro.prefissoCodice + std::string(3 - numero.size(), '0') + numero;
        }
        worksheet_write_string(foglio, prima - 2, colonna, codice.c_str(), codice_);
      }
      Convalida(foglio, prima, colonna, c.classe);
    }
    worksheet_freeze_panes(foglio, prima, 0);
  }

  bool Chiudi() { return workbook_close(cartella_) == LXW_NO_ERROR; }

 private:
  lxw_format* Formato() { return workbook_add_format(cartella_); }

  lxw_format* FormatoDi(Classe classe) const {
    switch (classe) {
      case C::PartitaIva:
      case C::Codice:
      case C::Testo:
      case C::Leasing:
        return testo_;
      case C::Importo:
        return importo_;
      case C::Numero:
      case C::Paese:
      case C::Casella:
        return intero_;
      case C::Data:
        return data_;
    }
    return nullptr;
  }

  static double Larghezza(Classe classe) {
    switch (classe) {
      case C::Testo:
        return 24;
      case C::Codice:
        return 19;
      case C::PartitaIva:
        return 14;
      case C::Importo:
        return 15;
      case C::Data:
        return 12;
      default:
        return 11;
    }
  }

  void Convalida(lxw_worksheet* foglio, lxw_row_t prima, lxw_col_t colonna, Classe classe) {
    lxw_data_validation v = {};
    v.error_type = LXW_VALIDATION_ERROR_TYPE_WARNING;
    v.ignore_blank = LXW_VALIDATION_ON;
    v.show_error = LXW_VALIDATION_ON;
    const char* kLeasing[] = {"A", "B", "C", "D", "E", nullptr};
    const char* kCasella[] = {"1", nullptr};
    switch (classe) {
      case C::PartitaIva:
        v.validate = LXW_VALIDATION_TYPE_LENGTH;
        v.criteria = LXW_VALIDATION_CRITERIA_EQUAL_TO;
        v.value_number = 11;
        v.error_title = const_cast<char*>("Partita IVA");
        v.error_message = const_cast<char*>("La partita IVA ha 11 cifre.");
        break;
      case C::Codice:
        v.validate = LXW_VALIDATION_TYPE_LENGTH;
        v.criteria = LXW_VALIDATION_CRITERIA_LESS_THAN_OR_EQUAL_TO;
        v.value_number = 16;
        v.error_title = const_cast<char*>("Codice fiscale");
        v.error_message = const_cast<char*>("Il codice fiscale ha al massimo 16 caratteri.");
        break;
      case C::Leasing:
        v.validate = LXW_VALIDATION_TYPE_LIST;
        v.value_list = const_cast<char**>(kLeasing);
        v.error_title = const_cast<char*>("Noleggio/leasing");
        v.error_message = const_cast<char*>("Una lettera da A a E.");
        break;
      case C::Casella:
        v.validate = LXW_VALIDATION_TYPE_LIST;
        v.value_list = const_cast<char**>(kCasella);
        v.error_title = const_cast<char*>("Casella");
        v.error_message = const_cast<char*>("Scrivere 1 per barrare la casella.");
        break;
      case C::Importo:
        v.validate = LXW_VALIDATION_TYPE_DECIMAL;
        v.criteria = LXW_VALIDATION_CRITERIA_GREATER_THAN_OR_EQUAL_TO;
        v.value_number = 0;
        v.error_title = const_cast<char*>("Importo");
        v.error_message = const_cast<char*>("Un importo in euro, positivo.");
        break;
      case C::Numero:
        v.validate = LXW_VALIDATION_TYPE_INTEGER;
        v.criteria = LXW_VALIDATION_CRITERIA_GREATER_THAN_OR_EQUAL_TO;
        v.value_number = 0;
        v.error_title = const_cast<char*>("Numero");
        v.error_message = const_cast<char*>("Un numero intero, positivo.");
        break;
      case C::Paese:
        v.validate = LXW_VALIDATION_TYPE_INTEGER;
        v.criteria = LXW_VALIDATION_CRITERIA_BETWEEN;
        v.minimum_number = 1;
        v.maximum_number = 999;
        v.error_title = const_cast<char*>("Codice Stato estero");
        v.error_message = const_cast<char*>("Il codice numerico dello Stato, da 1 a 999.");
        break;
      case C::Data:
        v.validate = LXW_VALIDATION_TYPE_DATE;
        v.criteria = LXW_VALIDATION_CRITERIA_BETWEEN;
        v.minimum_datetime = lxw_datetime{1900, 1, 1, 0, 0, 0};
        v.maximum_datetime = lxw_datetime{2099, 12, 31, 0, 0, 0};
        v.error_title = const_cast<char*>("Data");
        v.error_message = const_cast<char*>("Una data nella forma gg/mm/aaaa.");
        break;
      case C::Testo:
        return;
    }
    worksheet_data_validation_range(foglio, prima, colonna, LXW_ROW_MAX - 1, colonna, &v);
  }

  lxw_workbook* cartella_ = nullptr;
  lxw_format* titolo_ = nullptr;
  lxw_format* intestazione_ = nullptr;
  lxw_format* codice_ = nullptr;
  lxw_format* testo_ = nullptr;
  lxw_format* data_ = nullptr;
  lxw_format* importo_ = nullptr;
  lxw_format* intero_ = nullptr;
  lxw_format* istruzione_ = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "Uso: genera-cartella-vuota FILE.xlsx\n");
    return 2;
  }
  Scrittore scrittore(argv[1]);
  if (!scrittore.Aperta()) {
    std::fprintf(stderr, "Impossibile creare %s\n", argv[1]);
    return 1;
  }
  scrittore.Istruzioni();
  for (const Quadro& quadro : kQuadri) scrittore.Foglio(quadro);
  if (!scrittore.Chiudi()) {
    std::fprintf(stderr, "Impossibile scrivere %s\n", argv[1]);
    return 1;
  }
  return 0;
}
