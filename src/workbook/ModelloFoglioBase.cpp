#include "workbook/ModelloFoglioBase.h"

#include <string>

namespace fcl {
namespace {

using C = ClasseColonnaBase;

constexpr ColonnaBase kFA[] = {
    {"Partita IVA", C::PartitaIva},
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
    {"Passive: imposta note credito", C::Importo},
};

constexpr ColonnaBase kSA[] = {
    {"Codice fiscale", C::Codice},
    {"Numero operazioni", C::Numero},
    {"Importo compl. (IVA inclusa)", C::Importo},
    {"Noleggio/leasing (A-E)", C::Leasing},
};

constexpr ColonnaBase kBL[] = {
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
    {"Codice identificativo IVA", C::Testo},
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
    {"Passive: imposta note var.", C::Importo},
};

constexpr ColonnaBase kFE[] = {
    {"Partita IVA", C::PartitaIva},
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
    {"Importo > 999.999 (conferma)", C::Casella},
};

constexpr ColonnaBase kFR[] = {
    {"Partita IVA", C::PartitaIva},  {"Documento riepilogativo", C::Casella},
    {"Data documento", C::Data},     {"Data registrazione", C::Data},
    {"IVA non esposta", C::Casella}, {"Reverse charge", C::Casella},
    {"Autofattura", C::Casella},     {"Imponibile/importo", C::Importo},
    {"Imposta", C::Importo},         {"Importo > 999.999 (conferma)", C::Casella},
};

constexpr ColonnaBase kNE[] = {
    {"Partita IVA", C::PartitaIva}, {"Codice fiscale", C::Codice},
    {"Data emissione", C::Data},    {"Data registrazione", C::Data},
    {"Numero nota", C::Testo},      {"Imponibile/importo", C::Importo},
    {"Imposta", C::Importo},        {"Importo > 999.999 (conferma)", C::Casella},
};

constexpr ColonnaBase kNR[] = {
    {"Partita IVA", C::PartitaIva},  {"Data documento", C::Data},
    {"Data registrazione", C::Data}, {"Imponibile/importo", C::Importo},
    {"Imposta", C::Importo},         {"Importo > 999.999 (conferma)", C::Casella},
};

constexpr ColonnaBase kDF[] = {
    {"Codice fiscale", C::Codice},
    {"Data operazione", C::Data},
    {"Importo (IVA inclusa)", C::Importo},
    {"Noleggio/leasing (A-E)", C::Leasing},
    {"Importo > 999.999 (conferma)", C::Casella},
};

constexpr ColonnaBase kFN[] = {
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
    {"Data emissione", C::Data},
    {"Data registrazione", C::Data},
    {"Numero documento", C::Testo},
    {"Noleggio/leasing (A-E)", C::Leasing},
    {"Imponibile/importo", C::Importo},
    {"Imposta", C::Importo},
    {"Importo > 999.999 (conferma)", C::Casella},
};

constexpr ColonnaBase kSE[] = {
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
    {"Codice identificativo IVA", C::Testo},
    {"Data emissione", C::Data},
    {"Data registrazione", C::Data},
    {"Numero documento", C::Testo},
    {"Imponibile/importo", C::Importo},
    {"Imposta", C::Importo},
    {"Importo > 999.999 (conferma)", C::Casella},
};

constexpr ColonnaBase kTU[] = {
    {"Cognome", C::Testo},
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
    {"Importo > 999.999 (conferma)", C::Casella},
};

constexpr QuadroBase kQuadri[] = {
    {"FA", "Quadro FA - Operazioni documentate da fattura esposte in forma aggregata", 4, "FA001",
     kFA},
    {"SA", "Quadro SA - Operazioni senza fattura esposte in forma aggregata", 3, "SA001", kSA},
    {"BL",
     "Quadro BL - Operazioni con paesi con fiscalità privilegiata, con non residenti, acquisti di "
     "servizi da non residenti",
     5,
     {},
     kBL},
    {"FE", "Quadro FE - Fatture emesse e documenti riepilogativi", 4, "FE001", kFE},
    {"FR", "Quadro FR - Fatture ricevute e documenti riepilogativi", 4, "FR001", kFR},
    {"NE", "Quadro NE - Note di variazione emesse", 4, "NE001", kNE},
    {"NR", "Quadro NR - Note di variazione ricevute", 4, "NR001", kNR},
    {"DF", "Quadro DF - Operazioni senza fattura", 4, "DF001", kDF},
    {"FN", "Quadro FN - Operazioni con soggetti non residenti", 4, "FN001", kFN},
    {"SE", "Quadro SE - Acquisti di servizi da non residenti e acquisti da operatori di San Marino",
     4, "SE001", kSE},
    {"TU", "Quadro TU - Operazioni legate al turismo", 4, "TU001", kTU},
};

constexpr std::string_view kIstruzioni[] = {
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

// The field codes of BL, column by column.
constexpr std::string_view kCodiciBL[] = {
    "BL001001", "BL001002", "BL001003", "BL001004", "BL001005", "BL001006", "BL001007",
    "BL001008", "BL001009", "BL001010", "BL002001", "BL002002", "BL002003", "BL002004",
    "BL003001", "BL003002", "BL004001", "BL004002", "BL005001", "BL005002", "BL006001",
    "BL006002", "BL007001", "BL008001", "BL008002"};

}  // namespace

std::span<const QuadroBase> QuadriFoglioBase() { return kQuadri; }

const QuadroBase* QuadroFoglioBase(std::string_view nome) {
  for (const QuadroBase& q : kQuadri)
    if (q.nome == nome) return &q;
  return nullptr;
}

std::string_view CodiceColonnaBase(const QuadroBase& quadro, int colonna, char (&buffer)[9]) {
  if (quadro.prefissoCodice.empty()) return kCodiciBL[colonna];
  const int numero = colonna + 1;
  for (std::size_t i = 0; i < 5; ++i) buffer[i] = quadro.prefissoCodice[i];
  buffer[5] = static_cast<char>('0' + numero / 100);
  buffer[6] = static_cast<char>('0' + numero / 10 % 10);
  buffer[7] = static_cast<char>('0' + numero % 10);
  buffer[8] = '\0';
  return {buffer, 8};
}

std::span<const std::string_view> IstruzioniFoglioBase() { return kIstruzioni; }

std::string TitoloFoglioBase(const QuadroBase& quadro) {
  return std::string(quadro.titolo) + " (dati dalla riga " + std::to_string(quadro.primaRiga) + ")";
}

std::string_view NotaFoglioBase(const QuadroBase& quadro) {
  if (quadro.nome != "BL") return {};
  return "Persone fisiche: scrivere PERSONE FISICHE in A5 e i dati dalla riga 7 "
         "(vedere il foglio ISTRUZIONI).";
}

}  // namespace fcl
