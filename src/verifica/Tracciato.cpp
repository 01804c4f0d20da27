#include "verifica/Tracciato.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace fcl {
namespace {

using enum ClasseFormato;
using enum TipoVincolo;
using enum MisuraTA;

// ---------------------------------------------------------------------------------------------
// Quadri. Rows per record and first sheet rows are those of our own workbook and writer; the
// amount with its confirmation box and the registration date are named per analytical quadro.
//
// Columns: quadro, record type, fixed codes, rows a record, first sheet row, meaning, amount,
// confirmation box, registration date.
constexpr QuadroTracciato kQuadri[] = {
    {"FA", 'C', false, 3, 4, "Operazioni documentate da fattura (dati aggregati)", "", "", ""},
    {"SA", 'C', false, 10, 3, "Operazioni senza fattura (dati aggregati)", "", "", ""},
    {"BL", 'C', true, 1, 5,
     "Paesi a fiscalità privilegiata, non residenti, servizi da non residenti", "", "", ""},
    {"FE", 'D', false, 6, 4, "Fatture emesse e documenti riepilogativi", "010", "012", "008"},
    {"FR", 'D', false, 6, 4, "Fatture ricevute e documenti riepilogativi", "008", "010", "004"},
    {"NE", 'D', false, 10, 4, "Note di variazione emesse", "006", "008", "004"},
    {"NR", 'D', false, 10, 4, "Note di variazione ricevute", "004", "006", "003"},
    {"DF", 'D', false, 10, 4, "Operazioni senza fattura", "003", "005", ""},
    {"FN", 'D', false, 3, 4, "Operazioni con soggetti non residenti", "015", "017", "012"},
    {"SE", 'D', false, 3, 4, "Acquisti di servizi da non residenti e da San Marino", "015", "017",
     "013"},
    {"TU", 'D', false, 3, 4, "Operazioni legate al turismo", "012", "014", "010"},
    {"TA", 'E', true, 1, 0, "Totali", "", "", ""},
};

// ---------------------------------------------------------------------------------------------
// Element fields: quadro, field, class, sheet column (FR: also the earlier layout), meaning.
constexpr CampoTracciato kCampi[] = {
    // FA - one row per counterpart, 3 rows a module.
    {"FA", "001", PI, 'A', 0, "Partita IVA della controparte"},
    {"FA", "002", CF, 'B', 0, "Codice fiscale della controparte"},
    {"FA", "003", CB, 'C', 0, "Documento riepilogativo"},
    {"FA", "004", NP, 'D', 0, "Numero operazioni attive"},
    {"FA", "005", NP, 'E', 0, "Numero operazioni passive"},
    {"FA", "006", LS, 'F', 0, "Noleggio/leasing"},
    {"FA", "007", NP, 'G', 0, "Attive: imponibile, non imponibile, esente"},
    {"FA", "008", NP, 'H', 0, "Attive: imposta"},
    {"FA", "009", NP, 'I', 0, "Attive: operazioni con IVA non esposta"},
    {"FA", "010", NP, 'J', 0, "Attive: note di variazione a debito"},
    {"FA", "011", NP, 'K', 0, "Attive: imposta sulle note di variazione"},
    {"FA", "012", NP, 'L', 0, "Passive: imponibile, non imponibile, esente"},
    {"FA", "013", NP, 'M', 0, "Passive: imposta"},
    {"FA", "014", NP, 'N', 0, "Passive: operazioni con IVA non esposta"},
    {"FA", "015", NP, 'O', 0, "Passive: note di variazione a credito"},
    {"FA", "016", NP, 'P', 0, "Passive: imposta sulle note di variazione"},
    // SA - 10 rows a module.
    {"SA", "001", CF, 'A', 0, "Codice fiscale della controparte"},
    {"SA", "002", NP, 'B', 0, "Numero operazioni"},
    {"SA", "003", NP, 'C', 0, "Importo complessivo (IVA inclusa)"},
    {"SA", "004", LS, 'D', 0, "Noleggio/leasing"},
    // BL - one counterpart a module; the code is the section and the field.
    {"BL", "001001", AN, 'A', 0, "Persona fisica: cognome"},
    {"BL", "001002", AN, 'B', 0, "Persona fisica: nome"},
    {"BL", "001003", DT, 'C', 0, "Persona fisica: data di nascita"},
    {"BL", "001004", AN, 'D', 0, "Persona fisica: comune o Stato estero di nascita"},
    {"BL", "001005", PN, 'E', 0, "Persona fisica: provincia di nascita"},
    {"BL", "001006", CS, 'F', 0, "Persona fisica: Stato estero del domicilio fiscale"},
    {"BL", "001007", AN, 'G', 0, "Denominazione o ragione sociale"},
    {"BL", "001008", AN, 'H', 0, "Città estera della sede legale"},
    {"BL", "001009", CS, 'I', 0, "Stato estero della sede legale"},
    {"BL", "001010", AN, 'J', 0, "Indirizzo estero della sede legale"},
    {"BL", "002001", AN, 'K', 0, "Codice identificativo IVA"},
    {"BL", "002002", CB, 'L', 0, "Operazioni con paesi a fiscalità privilegiata"},
    {"BL", "002003", CB, 'M', 0, "Operazioni con soggetti non residenti"},
    {"BL", "002004", CB, 'N', 0, "Acquisti di servizi da soggetti non residenti"},
    {"BL", "003001", NP, 'O', 0, "Attive: imponibile, non imponibile, esente"},
    {"BL", "003002", NP, 'P', 0, "Attive: imposta"},
    {"BL", "004001", NP, 'Q', 0, "Attive non soggette a IVA: cessioni di beni"},
    {"BL", "004002", NP, 'R', 0, "Attive non soggette a IVA: prestazioni di servizi"},
    {"BL", "005001", NP, 'S', 0, "Attive: note di variazione"},
    {"BL", "005002", NP, 'T', 0, "Attive: imposta sulle note di variazione"},
    {"BL", "006001", NP, 'U', 0, "Passive: imponibile, non imponibile, esente"},
    {"BL", "006002", NP, 'V', 0, "Passive: imposta"},
    {"BL", "007001", NP, 'W', 0, "Passive non soggette a IVA"},
    {"BL", "008001", NP, 'X', 0, "Passive: note di variazione"},
    {"BL", "008002", NP, 'Y', 0, "Passive: imposta sulle note di variazione"},
    // FE - 6 rows a module.
    {"FE", "001", PI, 'A', 0, "Partita IVA della controparte"},
    {"FE", "002", CF, 'B', 0, "Codice fiscale della controparte"},
    {"FE", "003", CB, 'C', 0, "Documento riepilogativo"},
    {"FE", "004", CB, 'D', 0, "IVA non esposta"},
    {"FE", "005", LS, 'E', 0, "Noleggio/leasing"},
    {"FE", "006", CB, 'F', 0, "Autofattura"},
    {"FE", "007", DT, 'G', 0, "Data del documento"},
    {"FE", "008", DT, 'H', 0, "Data di registrazione"},
    {"FE", "009", AN, 'I', 0, "Numero del documento"},
    {"FE", "010", NP, 'J', 0, "Imponibile o importo"},
    {"FE", "011", NP, 'K', 0, "Imposta"},
    {"FE", "012", CB, 'L', 0, "Importo superiore a 999.999 euro (conferma)"},
    // FR - 6 rows a module; the sheet exists in two layouts.
    {"FR", "001", PI, 'A', 'A', "Partita IVA del fornitore"},
    {"FR", "002", CB, 'B', 'B', "Documento riepilogativo"},
    {"FR", "003", DT, 'C', 'F', "Data del documento"},
    {"FR", "004", DT, 'D', 'G', "Data di registrazione"},
    {"FR", "005", CB, 'E', 'C', "IVA non esposta"},
    {"FR", "006", CB, 'F', 'D', "Reverse charge"},
    {"FR", "007", CB, 'G', 'E', "Autofattura"},
    {"FR", "008", NP, 'H', 'H', "Imponibile o importo"},
    {"FR", "009", NP, 'I', 'I', "Imposta"},
    {"FR", "010", CB, 'J', 'J', "Importo superiore a 999.999 euro (conferma)"},
    // NE - 10 rows a module.
    {"NE", "001", PI, 'A', 0, "Partita IVA della controparte"},
    {"NE", "002", CF, 'B', 0, "Codice fiscale della controparte"},
    {"NE", "003", DT, 'C', 0, "Data di emissione"},
    {"NE", "004", DT, 'D', 0, "Data di registrazione"},
    {"NE", "005", AN, 'E', 0, "Numero della nota"},
    {"NE", "006", NP, 'F', 0, "Imponibile o importo"},
    {"NE", "007", NP, 'G', 0, "Imposta"},
    {"NE", "008", CB, 'H', 0, "Importo superiore a 999.999 euro (conferma)"},
    // NR - 10 rows a module.
    {"NR", "001", PI, 'A', 0, "Partita IVA della controparte"},
    {"NR", "002", DT, 'B', 0, "Data del documento"},
    {"NR", "003", DT, 'C', 0, "Data di registrazione"},
    {"NR", "004", NP, 'D', 0, "Imponibile o importo"},
    {"NR", "005", NP, 'E', 0, "Imposta"},
    {"NR", "006", CB, 'F', 0, "Importo superiore a 999.999 euro (conferma)"},
    // DF - 10 rows a module.
    {"DF", "001", CF, 'A', 0, "Codice fiscale del cliente"},
    {"DF", "002", DT, 'B', 0, "Data dell'operazione"},
    {"DF", "003", NP, 'C', 0, "Importo (IVA inclusa)"},
    {"DF", "004", LS, 'D', 0, "Noleggio/leasing"},
    {"DF", "005", CB, 'E', 0, "Importo superiore a 999.999 euro (conferma)"},
    // FN - 3 rows a module.
    {"FN", "001", AN, 'A', 0, "Persona fisica: cognome"},
    {"FN", "002", AN, 'B', 0, "Persona fisica: nome"},
    {"FN", "003", DT, 'C', 0, "Persona fisica: data di nascita"},
    {"FN", "004", AN, 'D', 0, "Persona fisica: comune o Stato estero di nascita"},
    {"FN", "005", PN, 'E', 0, "Persona fisica: provincia di nascita"},
    {"FN", "006", CS, 'F', 0, "Persona fisica: Stato estero del domicilio fiscale"},
    {"FN", "007", AN, 'G', 0, "Denominazione o ragione sociale"},
    {"FN", "008", AN, 'H', 0, "Città estera della sede legale"},
    {"FN", "009", CS, 'I', 0, "Stato estero della sede legale"},
    {"FN", "010", AN, 'J', 0, "Indirizzo estero della sede legale"},
    {"FN", "011", DT, 'K', 0, "Data di emissione"},
    {"FN", "012", DT, 'L', 0, "Data di registrazione"},
    {"FN", "013", AN, 'M', 0, "Numero della fattura"},
    {"FN", "014", LS, 'N', 0, "Noleggio/leasing"},
    {"FN", "015", NP, 'O', 0, "Imponibile o importo"},
    {"FN", "016", NP, 'P', 0, "Imposta"},
    {"FN", "017", CB, 'Q', 0, "Importo superiore a 999.999 euro (conferma)"},
    // SE - 3 rows a module.
    {"SE", "001", AN, 'A', 0, "Persona fisica: cognome"},
    {"SE", "002", AN, 'B', 0, "Persona fisica: nome"},
    {"SE", "003", DT, 'C', 0, "Persona fisica: data di nascita"},
    {"SE", "004", AN, 'D', 0, "Persona fisica: comune o Stato estero di nascita"},
    {"SE", "005", PN, 'E', 0, "Persona fisica: provincia di nascita"},
    {"SE", "006", CS, 'F', 0, "Persona fisica: Stato estero del domicilio fiscale"},
    {"SE", "007", AN, 'G', 0, "Denominazione o ragione sociale"},
    {"SE", "008", AN, 'H', 0, "Città estera della sede legale"},
    {"SE", "009", CS, 'I', 0, "Stato estero della sede legale"},
    {"SE", "010", AN, 'J', 0, "Indirizzo estero della sede legale"},
    {"SE", "011", AN, 'K', 0, "Codice identificativo IVA (San Marino)"},
    {"SE", "012", DT, 'L', 0, "Data di emissione"},
    {"SE", "013", DT, 'M', 0, "Data di registrazione"},
    {"SE", "014", AN, 'N', 0, "Numero della fattura"},
    {"SE", "015", NP, 'O', 0, "Imponibile o importo"},
    {"SE", "016", NP, 'P', 0, "Imposta"},
    {"SE", "017", CB, 'Q', 0, "Importo superiore a 999.999 euro (conferma)"},
    // TU - 3 rows a module.
    {"TU", "001", AN, 'A', 0, "Cognome"},
    {"TU", "002", AN, 'B', 0, "Nome"},
    {"TU", "003", DT, 'C', 0, "Data di nascita"},
    {"TU", "004", AN, 'D', 0, "Comune o Stato estero di nascita"},
    {"TU", "005", PN, 'E', 0, "Provincia di nascita"},
    {"TU", "006", AN, 'F', 0, "Città estera di residenza"},
    {"TU", "007", CS, 'G', 0, "Stato estero di residenza"},
    {"TU", "008", AN, 'H', 0, "Indirizzo estero di residenza"},
    {"TU", "009", DT, 'I', 0, "Data di emissione"},
    {"TU", "010", DT, 'J', 0, "Data di registrazione"},
    {"TU", "011", AN, 'K', 0, "Numero della fattura o del documento"},
    {"TU", "012", NP, 'L', 0, "Imponibile o importo"},
    {"TU", "013", NP, 'M', 0, "Imposta"},
    {"TU", "014", CB, 'N', 0, "Importo superiore a 999.999 euro (conferma)"},
    // TA - record E.
    {"TA", "001001", NP, 0, 0, "FA: numero delle controparti"},
    {"TA", "002001", NP, 0, 0, "SA: numero delle controparti"},
    {"TA", "003001", NP, 0, 0, "BL: operazioni con paesi a fiscalità privilegiata"},
    {"TA", "003002", NP, 0, 0, "BL: operazioni con soggetti non residenti"},
    {"TA", "003003", NP, 0, 0, "BL: acquisti di servizi da non residenti"},
    {"TA", "004001", NP, 0, 0, "FE: fatture emesse"},
    {"TA", "004002", NP, 0, 0, "FE: documenti riepilogativi"},
    {"TA", "005001", NP, 0, 0, "FR: fatture ricevute"},
    {"TA", "005002", NP, 0, 0, "FR: documenti riepilogativi"},
    {"TA", "006001", NP, 0, 0, "NE: note di variazione emesse"},
    {"TA", "007001", NP, 0, 0, "NR: note di variazione ricevute"},
    {"TA", "008001", NP, 0, 0, "DF: operazioni senza fattura"},
    {"TA", "009001", NP, 0, 0, "FN: operazioni con non residenti"},
    {"TA", "010001", NP, 0, 0, "SE: acquisti da non residenti e da San Marino"},
    {"TA", "011001", NP, 0, 0, "TU: operazioni legate al turismo"},
};

// ---------------------------------------------------------------------------------------------
// Constraints within one row.
constexpr std::string_view kPersona = "001 002 003 004 005 006";
constexpr std::string_view kSoggettoDiverso = "007 008 009 010";
constexpr std::string_view kPersonaBL = "001001 001002 001003 001004 001005 001006";
constexpr std::string_view kSoggettoDiversoBL = "001007 001008 001009 001010";
constexpr std::string_view kImportiBL =
    "003001 003002 004001 004002 005001 005002 006001 006002 007001 008001 008002";

constexpr std::string_view kResidenzaTU = "006 007 008";

constexpr std::string_view kMancaRegistrazione = "Manca la data di registrazione";
constexpr std::string_view kMancaImporto = "Mancano l'imponibile (o importo) e l'imposta";
constexpr std::string_view kPiCfAlternativi =
    "Partita IVA e codice fiscale della controparte sono alternativi: va indicato uno solo dei due";
constexpr std::string_view kRiepilogativoSenzaControparte =
    "Per un documento riepilogativo non si indicano partita IVA né codice fiscale della "
    "controparte";
constexpr std::string_view kMancaControparte =
    "Manca la partita IVA o il codice fiscale della controparte";
constexpr std::string_view kPersonaOSoggetto =
    "I dati della persona fisica e quelli del soggetto diverso dalla persona fisica sono "
    "alternativi: va compilato uno solo dei due gruppi";
constexpr std::string_view kMancaAnagrafica =
    "Mancano i dati della controparte: cognome (persona fisica) o denominazione";
constexpr std::string_view kPersonaIncompleta = "Dati della persona fisica incompleti";
constexpr std::string_view kSoggettoIncompleto =
    "Dati del soggetto diverso dalla persona fisica incompleti";

constexpr VincoloTracciato kVincoli[] = {
    // quadro tipo           se                   allora                   regola
    {"FA", Esclusione, "001", "002", Regola::Alternativi, kPiCfAlternativi},
    {"FA", Esclusione, "003", "001 002", Regola::Alternativi, kRiepilogativoSenzaControparte},
    {"FA", Richiede, "", "001 002 003", Regola::DatoMancante, kMancaControparte},
    {"FA", Richiede, "", "004 005 007 008 009 010 011 012 013 014 015 016", Regola::DatiIncompleti,
     "Nessun numero di operazioni e nessun importo per la controparte"},
    {"SA", Richiede, "", "001", Regola::DatoMancante, "Manca il codice fiscale della controparte"},
    {"SA", Richiede, "", "002 003", Regola::DatiIncompleti,
     "Nessun numero di operazioni e nessun importo per la controparte"},
    {"BL", Esclusione, kPersonaBL, kSoggettoDiversoBL, Regola::Alternativi, kPersonaOSoggetto},
    {"BL", Richiede, "", "001001 001007", Regola::DatoMancante, kMancaAnagrafica},
    {"BL", RichiedeTutti, kPersonaBL, kPersonaBL, Regola::DatiIncompleti, kPersonaIncompleta},
    {"BL", RichiedeTutti, kSoggettoDiversoBL, kSoggettoDiversoBL, Regola::DatiIncompleti,
     kSoggettoIncompleto},
    {"BL", Richiede, "", "002002 002003 002004", Regola::DatoMancante,
     "Indicare il tipo di operazione: paesi a fiscalità privilegiata, soggetti non residenti o "
     "acquisti di servizi da non residenti"},
    // Each kind of operation needs the amounts of its sections: a row flagged without them says
    // nothing the Agenzia can take in.
    {"BL", Richiede, "002002", kImportiBL, Regola::DatoMancante,
     "Operazioni con paesi a fiscalità privilegiata senza alcun importo"},
    {"BL", Richiede, "002003", "003001 003002 006001 006002", Regola::DatoMancante,
     "Operazioni con soggetti non residenti senza importi di operazioni attive o passive"},
    {"BL", Richiede, "002004", "006001 006002", Regola::DatoMancante,
     "Acquisti di servizi da non residenti senza importi di operazioni passive"},
    {"BL", Richiede, "004001 004002 005001 005002 007001 008001 008002", "002002",
     Regola::SezioneBL,
     "Operazioni non soggette a IVA e note di variazione si indicano solo per i paesi a "
     "fiscalità privilegiata"},
    {"BL", Richiede, "003001 003002", "002002 002003", Regola::SezioneBL,
     "Le operazioni attive si indicano solo per i paesi a fiscalità privilegiata o per i "
     "soggetti non residenti"},
    {"FE", Esclusione, "001", "002", Regola::Alternativi, kPiCfAlternativi},
    {"FE", Esclusione, "003", "001 002", Regola::Alternativi, kRiepilogativoSenzaControparte},
    {"FE", Richiede, "", "001 002 003", Regola::DatoMancante, kMancaControparte},
    {"FE", Richiede, "", "007", Regola::DatoMancante, "Manca la data del documento"},
    {"FE", Richiede, "", "008", Regola::DatoMancante, kMancaRegistrazione},
    {"FE", Richiede, "", "009", Regola::DatoMancante, "Manca il numero del documento"},
    {"FE", Richiede, "", "010 011", Regola::DatoMancante, kMancaImporto},
    {"FR", Esclusione, "002", "001", Regola::Alternativi,
     "Per un documento riepilogativo non si indica la partita IVA del fornitore"},
    {"FR", Richiede, "", "001 002", Regola::DatoMancante, "Manca la partita IVA del fornitore"},
    {"FR", Richiede, "", "003", Regola::DatoMancante, "Manca la data del documento"},
    {"FR", Richiede, "", "004", Regola::DatoMancante, kMancaRegistrazione},
    {"FR", Richiede, "", "008 009", Regola::DatoMancante, kMancaImporto},
    {"NE", Esclusione, "001", "002", Regola::Alternativi, kPiCfAlternativi},
    {"NE", Richiede, "", "001 002", Regola::DatoMancante, kMancaControparte},
    {"NE", Richiede, "", "003", Regola::DatoMancante, "Manca la data di emissione della nota"},
    {"NE", Richiede, "", "004", Regola::DatoMancante, kMancaRegistrazione},
    {"NE", Richiede, "", "005", Regola::DatoMancante, "Manca il numero della nota"},
    {"NE", Richiede, "", "006 007", Regola::DatoMancante, kMancaImporto},
    {"NR", Richiede, "", "001", Regola::DatoMancante, "Manca la partita IVA della controparte"},
    {"NR", Richiede, "", "002", Regola::DatoMancante, "Manca la data del documento"},
    {"NR", Richiede, "", "003", Regola::DatoMancante, kMancaRegistrazione},
    {"NR", Richiede, "", "004 005", Regola::DatoMancante, kMancaImporto},
    {"DF", Richiede, "", "001", Regola::DatoMancante, "Manca il codice fiscale del cliente"},
    {"DF", Richiede, "", "002", Regola::DatoMancante, "Manca la data dell'operazione"},
    {"DF", Richiede, "", "003", Regola::DatoMancante, "Manca l'importo dell'operazione"},
    {"FN", Esclusione, kPersona, kSoggettoDiverso, Regola::Alternativi, kPersonaOSoggetto},
    {"FN", Richiede, "", "001 007", Regola::DatoMancante, kMancaAnagrafica},
    {"FN", RichiedeTutti, kPersona, kPersona, Regola::DatiIncompleti, kPersonaIncompleta},
    {"FN", RichiedeTutti, kSoggettoDiverso, kSoggettoDiverso, Regola::DatiIncompleti,
     kSoggettoIncompleto},
    {"FN", Richiede, "", "011", Regola::DatoMancante, "Manca la data di emissione della fattura"},
    {"FN", Richiede, "", "012", Regola::DatoMancante, kMancaRegistrazione},
    {"FN", Richiede, "", "013", Regola::DatoMancante, "Manca il numero della fattura"},
    {"FN", Richiede, "", "015 016", Regola::DatoMancante, kMancaImporto},
    {"SE", Esclusione, kPersona, kSoggettoDiverso, Regola::Alternativi, kPersonaOSoggetto},
    {"SE", Richiede, "", "001 007", Regola::DatoMancante, kMancaAnagrafica},
    {"SE", RichiedeTutti, kPersona, kPersona, Regola::DatiIncompleti, kPersonaIncompleta},
    {"SE", RichiedeTutti, kSoggettoDiverso, kSoggettoDiverso, Regola::DatiIncompleti,
     kSoggettoIncompleto},
    {"SE", Richiede, "", "012", Regola::DatoMancante, "Manca la data di emissione della fattura"},
    {"SE", Richiede, "", "013", Regola::DatoMancante, kMancaRegistrazione},
    {"SE", Richiede, "", "014", Regola::DatoMancante, "Manca il numero della fattura"},
    {"SE", Richiede, "", "015 016", Regola::DatoMancante, kMancaImporto},
    // Tourism: the counterpart is always a person not resident in Italy.
    {"TU", Richiede, "", "001", Regola::DatoMancante, "Manca il cognome della controparte"},
    {"TU", RichiedeTutti, "001", "002 003 004 005", Regola::DatiIncompleti, kPersonaIncompleta},
    {"TU", RichiedeTutti, kResidenzaTU, kResidenzaTU, Regola::DatiIncompleti,
     "Dati della residenza estera incompleti"},
    {"TU", Richiede, "", "009", Regola::DatoMancante, "Manca la data di emissione del documento"},
    {"TU", Richiede, "", "010", Regola::DatoMancante, kMancaRegistrazione},
    {"TU", Richiede, "", "011", Regola::DatoMancante, "Manca il numero del documento"},
    {"TU", Richiede, "", "012 013", Regola::DatoMancante, kMancaImporto},
};

// ---------------------------------------------------------------------------------------------
// Totals of record E and how each is counted.
constexpr TotaleTracciato kTotali[] = {
    {"001001", "FA", Righe, "", "controparti del quadro FA"},
    {"002001", "SA", Righe, "", "controparti del quadro SA"},
    {"003001", "BL", RigheConCampo, "002002", "operazioni con paesi a fiscalità privilegiata"},
    {"003002", "BL", RigheConCampo, "002003", "operazioni con soggetti non residenti"},
    {"003003", "BL", RigheConCampo, "002004", "acquisti di servizi da non residenti"},
    {"004001", "FE", RigheSenzaCampo, "003", "fatture emesse"},
    {"004002", "FE", RigheConCampo, "003", "documenti riepilogativi del quadro FE"},
    {"005001", "FR", RigheSenzaCampo, "002", "fatture ricevute"},
    {"005002", "FR", RigheConCampo, "002", "documenti riepilogativi del quadro FR"},
    {"006001", "NE", Righe, "", "note di variazione emesse"},
    {"007001", "NR", Righe, "", "note di variazione ricevute"},
    {"008001", "DF", Righe, "", "operazioni del quadro DF"},
    {"009001", "FN", Righe, "", "operazioni del quadro FN"},
    {"010001", "SE", Righe, "", "operazioni del quadro SE"},
    {"011001", "TU", Righe, "", "operazioni del quadro TU"},
};

// ---------------------------------------------------------------------------------------------
// Positional fields. Record 'X' is the frame shared by C, D and E (positions 2-25 and 74-89 are
// checked against record B by the check itself).
constexpr CampoPosizionale kPosizionali[] = {
    // Record A, supply header.
    {'A', "", 2, 14, Vuoto, false, "", "Riempitivo"},
    {'A', "", 16, 5, Fisso, true, "NSP00", "Codice fornitura"},
    {'A', "", 21, 2, TipoFornitore, true, "", "Tipo fornitore"},
    {'A', "", 23, 16, CF, true, "", "Codice fiscale del fornitore"},
    {'A', "", 39, 483, Vuoto, false, "", "Riempitivo"},
    {'A', "", 522, 4, Cifre, true, "", "Progressivo dell'invio telematico"},
    {'A', "", 526, 4, Cifre, true, "", "Numero totale degli invii telematici"},
    {'A', "", 530, 100, Libero, false, "", "Spazio a disposizione dell'utente"},
    {'A', "", 630, 1068, Vuoto, false, "", "Riempitivo"},
    {'A', "", 1698, 200, Vuoto, false, "", "Spazio riservato al Servizio Telematico"},
    // Record B, frontispiece.
    {'B', "B2", 2, 16, CF, true, "", "Codice fiscale del contribuente"},
    {'B', "B3", 18, 8, Fisso, true, "00000001", "Progressivo modulo"},
    {'B', "B4", 26, 3, Libero, false, "", "Spazio a disposizione dell'utente"},
    {'B', "B5", 29, 25, Vuoto, false, "", "Riempitivo"},
    {'B', "B6", 54, 20, Libero, false, "", "Spazio a disposizione dell'utente"},
    {'B', "B7", 74, 16, Produttore, false, "", "Identificativo del produttore del software"},
    {'B', "B8", 90, 1, Casella01, true, "", "Comunicazione ordinaria"},
    {'B', "B9", 91, 1, Casella01, true, "", "Comunicazione sostitutiva"},
    {'B', "B10", 92, 1, Casella01, true, "", "Comunicazione di annullamento"},
    {'B', "B11", 93, 17, Cifre, true, "", "Protocollo telematico da sostituire o annullare"},
    {'B', "B12", 110, 6, Cifre, true, "", "Protocollo documento da sostituire o annullare"},
    {'B', "B13", 116, 1, Casella01, true, "", "Dati aggregati"},
    {'B', "B14", 117, 1, Casella01, true, "", "Dati analitici"},
    {'B', "B15", 118, 1, Casella01, true, "", "Quadro FA compilato"},
    {'B', "B16", 119, 1, Casella01, true, "", "Quadro SA compilato"},
    {'B', "B17", 120, 1, Casella01, true, "", "Quadro BL compilato"},
    {'B', "B18", 121, 1, Casella01, true, "", "Quadro FE compilato"},
    {'B', "B19", 122, 1, Casella01, true, "", "Quadro FR compilato"},
    {'B', "B20", 123, 1, Casella01, true, "", "Quadro NE compilato"},
    {'B', "B21", 124, 1, Casella01, true, "", "Quadro NR compilato"},
    {'B', "B22", 125, 1, Casella01, true, "", "Quadro DF compilato"},
    {'B', "B23", 126, 1, Casella01, true, "", "Quadro FN compilato"},
    {'B', "B24", 127, 1, Casella01, true, "", "Quadro SE compilato"},
    {'B', "B25", 128, 1, Casella01, true, "", "Quadro TU compilato"},
    {'B', "B26", 129, 1, Casella01, true, "", "Quadro TA compilato"},
    {'B', "B27", 130, 11, PI, true, "", "Partita IVA del contribuente"},
    {'B', "B28", 141, 6, Attivita, true, "", "Codice attività"},
    {'B', "B29", 147, 12, Telefono, false, "", "Telefono"},
    {'B', "B30", 159, 12, Telefono, false, "", "Fax"},
    {'B', "B31", 171, 50, AN, false, "", "Indirizzo di posta elettronica"},
    {'B', "B32", 221, 24, AN, false, "", "Cognome del contribuente"},
    {'B', "B33", 245, 20, AN, false, "", "Nome del contribuente"},
    {'B', "B34", 265, 1, Sesso, false, "", "Sesso del contribuente"},
    {'B', "B35", 266, 8, Data0, false, "", "Data di nascita del contribuente"},
    {'B', "B36", 274, 40, AN, false, "", "Comune o Stato estero di nascita del contribuente"},
    {'B', "B37", 314, 2, PN, false, "", "Provincia di nascita del contribuente"},
    {'B', "B38", 316, 60, AN, false, "", "Denominazione del contribuente"},
    {'B', "B39", 376, 4, Anno, true, "", "Anno di riferimento"},
    {'B', "B40", 380, 2, MeseTrimestre, false, "", "Mese o trimestre di riferimento"},
    {'B', "B41", 382, 16, CF, false, "", "Codice fiscale del soggetto tenuto alla comunicazione"},
    {'B', "B42", 398, 2, Cifre, true, "", "Codice carica del soggetto tenuto"},
    {'B', "B43", 400, 8, Data0, false, "", "Data inizio procedura"},
    {'B', "B44", 408, 8, Data0, false, "", "Data fine procedura"},
    {'B', "B45", 416, 24, AN, false, "", "Cognome del soggetto tenuto"},
    {'B', "B46", 440, 20, AN, false, "", "Nome del soggetto tenuto"},
    {'B', "B47", 460, 1, Sesso, false, "", "Sesso del soggetto tenuto"},
    {'B', "B48", 461, 8, Data0, false, "", "Data di nascita del soggetto tenuto"},
    {'B', "B49", 469, 40, AN, false, "", "Comune o Stato estero di nascita del soggetto tenuto"},
    {'B', "B50", 509, 2, PN, false, "", "Provincia di nascita del soggetto tenuto"},
    {'B', "B51", 511, 60, AN, false, "", "Denominazione del soggetto tenuto"},
    {'B', "B52", 571, 16, CF, false, "", "Codice fiscale dell'intermediario"},
    {'B', "B53", 587, 5, Cifre, true, "", "Numero di iscrizione all'albo dei C.A.F."},
    {'B', "B54", 592, 1, Impegno, true, "", "Impegno a trasmettere: chi ha predisposto"},
    {'B', "B55", 593, 1, Vuoto, false, "",
     "Riempitivo (la data dell'impegno va alle posizioni 594-601)"},
    {'B', "B56", 594, 8, Data0, true, "", "Data dell'impegno"},
    {'B', "", 602, 1258, Vuoto, false, "", "Riempitivo"},
    {'B', "", 1860, 20, Vuoto, false, "", "Spazio riservato al Servizio Telematico"},
    {'B', "", 1880, 18, Vuoto, false, "", "Riempitivo"},
    // Frame of records C, D and E.
    {'X', "", 26, 3, Libero, false, "", "Spazio a disposizione dell'utente"},
    {'X', "", 29, 25, Vuoto, false, "", "Riempitivo"},
    {'X', "", 54, 20, Libero, false, "", "Spazio a disposizione dell'utente"},
    {'X', "", 1890, 8, Vuoto, false, "", "Riempitivo"},
    {'E', "", 18, 8, Fisso, true, "00000001", "Progressivo modulo"},
    // Record Z, tail.
    {'Z', "", 2, 14, Vuoto, false, "", "Riempitivo"},
    {'Z', "", 16, 9, Cifre, true, "", "Numero dei record di tipo B"},
    {'Z', "", 25, 9, Cifre, true, "", "Numero dei record di tipo C"},
    {'Z', "", 34, 9, Cifre, true, "", "Numero dei record di tipo D"},
    {'Z', "", 43, 9, Cifre, true, "", "Numero dei record di tipo E"},
    {'Z', "", 52, 1846, Vuoto, false, "", "Riempitivo"},
};

// Italian provinces by their two-letter code, the current ones and the former ones that occur in
// places of birth (Fiume, Pola, Zara; Forlì, Pesaro before FC and PU; the Sardinian provinces of
// 2005-2016), and EE for a foreign state.
constexpr std::string_view kProvince[] = {
    "AG", "AL", "AN", "AO", "AP", "AQ", "AR", "AT", "AV", "BA", "BG", "BI", "BL", "BN", "BO",
    "BR", "BS", "BT", "BZ", "CA", "CB", "CE", "CH", "CI", "CL", "CN", "CO", "CR", "CS", "CT",
    "CZ", "EE", "EN", "FC", "FE", "FG", "FI", "FM", "FO", "FR", "FU", "GE", "GO", "GR", "IM",
    "IS", "KR", "LC", "LE", "LI", "LO", "LT", "LU", "MB", "MC", "ME", "MI", "MN", "MO", "MS",
    "MT", "NA", "NO", "NU", "OG", "OR", "OT", "PA", "PC", "PD", "PE", "PG", "PI", "PL", "PN",
    "PO", "PR", "PS", "PT", "PU", "PV", "PZ", "RA", "RC", "RE", "RG", "RI", "RM", "RN", "RO",
    "SA", "SI", "SO", "SP", "SR", "SS", "SU", "SV", "TA", "TE", "TN", "TO", "TP", "TR", "TS",
    "TV", "UD", "VA", "VB", "VC", "VE", "VI", "VR", "VS", "VT", "VV", "ZA",
};

// Fields of each quadro by their key, built once from kCampi.
struct IndiceCampi {
  std::array<std::vector<std::pair<int, const CampoTracciato*>>, std::size(kQuadri)> perQuadro;
  IndiceCampi() {
    for (const auto& c : kCampi) {
      const int q = IndiceQuadro(c.quadro);
      perQuadro[static_cast<std::size_t>(q)].emplace_back(ChiaveCampo(c.campo), &c);
    }
  }
};

const IndiceCampi& Indice() {
  static const IndiceCampi indice;
  return indice;
}

}  // namespace

std::span<const QuadroTracciato> QuadriTracciato() { return kQuadri; }
std::span<const CampoTracciato> CampiTracciato() { return kCampi; }
std::span<const VincoloTracciato> VincoliTracciato() { return kVincoli; }
std::span<const TotaleTracciato> TotaliTracciato() { return kTotali; }
std::span<const CampoPosizionale> CampiPosizionali() { return kPosizionali; }

int IndiceQuadro(std::string_view sigla) {
  // Every field code of every record starts with a sigla: two letters compared as such.
  static_assert([] {
    for (const auto& q : kQuadri)
      if (q.sigla.size() != 2) return false;
    return true;
  }());
  if (sigla.size() != 2) return -1;
  for (std::size_t i = 0; i < std::size(kQuadri); ++i)
    if (kQuadri[i].sigla[0] == sigla[0] && kQuadri[i].sigla[1] == sigla[1])
      return static_cast<int>(i);
  return -1;
}

int ChiaveCampo(std::string_view campo) {
  if (campo.empty()) return -1;
  int n = 0;
  for (const char c : campo) {
    if (c < '0' || c > '9') return -1;
    n = n * 10 + (c - '0');
  }
  return n;
}

const CampoTracciato* TrovaCampo(int indice, int chiave) {
  if (indice < 0 || indice >= static_cast<int>(std::size(kQuadri))) return nullptr;
  for (const auto& [k, campo] : Indice().perQuadro[static_cast<std::size_t>(indice)])
    if (k == chiave) return campo;
  return nullptr;
}

std::string CodiceElemento(int indice, int rigo, int chiave) {
  const QuadroTracciato& q = kQuadri[static_cast<std::size_t>(indice)];
  const auto cifre = [](int n, std::size_t quante) {
    std::string s = std::to_string(n);
    return s.size() < quante ? std::string(quante - s.size(), '0') + s : s;
  };
  std::string codice(q.sigla);
  if (q.codiciFissi) return codice + cifre(chiave % 1000000, 6);
  return codice + cifre(rigo % 1000, 3) + cifre(chiave % 1000, 3);
}

std::string_view DescrizioneCampo(std::string_view campo) {
  if (campo.size() == 8) {
    const int q = IndiceQuadro(campo.substr(0, 2));
    if (q >= 0) {
      const int chiave = ChiaveCampo(
          kQuadri[static_cast<std::size_t>(q)].codiciFissi ? campo.substr(2) : campo.substr(5));
      if (const CampoTracciato* c = TrovaCampo(q, chiave)) return c->descrizione;
    }
  }
  if (!campo.empty())
    for (const auto& p : kPosizionali)
      if (p.nome == campo) return p.descrizione;
  return {};
}

bool ProvinciaNota(std::string_view sigla) {
  return std::binary_search(std::begin(kProvince), std::end(kProvince), sigla);
}

}  // namespace fcl
