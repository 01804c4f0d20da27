#include "register/RegistroOperatori.h"

#include <string>

#include "common/CodiceOperatore.h"
#include "common/Cp1252.h"
#include "common/RoutineCampi.h"
#include "store/Database.h"
#include "store/RecordImpegno.h"
#include "store/Recordset.h"
#include "store/Registro.h"

namespace fcl {
namespace {

// Every text box of the window, for the normalisation before a save.
template <typename F>
void PerOgniCasella(DatiOperatore& d, F f) {
  for (std::string* s :
       {&d.tocod,      &d.toPIVA,      &d.torag,    &d.vOSCOM,    &d.vOSPRO,    &d.vOCOG,
        &d.vONOME,     &d.vOSEX,       &d.vONDT,    &d.vONCOM,    &d.vONPRO,    &d.vOPOSTA,
        &d.vOTEL,      &d.vOFAX,       &d.vOATT,    &d.vOATTD,    &d.vOSTCCF,   &d.vOSTCCDCARICA,
        &d.vOSTCDTINI, &d.vOSTCDTFINE, &d.vOSTCCOG, &d.vOSTCNOME, &d.vOSTCSEX,  &d.vOSTCNDT,
        &d.vOSTCNCOM,  &d.vOSTCNPRO,   &d.vOSTCRAG, &d.vOSTCSCOM, &d.vOSTCSPRO, &d.vITTCF,
        &d.vITTCAF,    &d.vITTDATA})
    f(*s);
}

bool Vuoto(const std::string& s) { return Rifila(s).empty(); }

Valore Testo(const std::string& s) { return s; }

// The operator's stored rows (COPE and its commitment row) as one text; nullopt when the operator
// is not stored.
std::optional<std::string> VersioneOperatore(Database& db, const std::string& codice) {
  Recordset ope = ApriOperatore(db, codice, Recordset::Modo::SolaLettura);
  if (ope.Eof()) return std::nullopt;
  std::string versione;
  for (std::size_t i = 0; i < ope.NumeroCampi(); ++i) versione += ValoreComeTesto(ope[i]) + '\x1f';
  Recordset itt = ApriImpegno(db, codice, Recordset::Modo::SolaLettura);
  if (!itt.Eof()) versione += ValoreComeTesto(itt["DES"]);
  return versione;
}

// Refuses a save that would overwrite what another workstation saved or deleted since the
// operator was opened.
void ControllaVersione(Database& db, DatiOperatore& d) {
  if (!d.versione) return;
  const auto attuale = VersioneOperatore(db, d.tocod);
  if (!attuale) {
    d.versione.reset();
    throw ErroreConflitto("Il soggetto è stato eliminato da un'altra postazione: le modifiche a " +
                          d.tocod +
                          " non sono state registrate. Salvare di nuovo per registrarlo come "
                          "nuovo soggetto.");
  }
  if (*attuale != *d.versione)
    throw ErroreConflitto("Il soggetto è stato modificato da un'altra postazione: le modifiche a " +
                          d.tocod +
                          " non sono state registrate; ricaricare il soggetto (F5) e ripetere le "
                          "modifiche.");
}

}  // namespace

void NormalizzaOperatore(DatiOperatore& d) {
  PerOgniCasella(d, [](std::string& s) { s = MaiuscoloUtf8(RifilaSinistra(s)); });
  // A pasted code often carries a blank at its end: the code is trimmed on both sides.
  d.tocod = NormalizzaCodice(d.tocod);
}

EsitoControllo ControllaOperatore(DatiOperatore& d) {
  struct Regola {
    const std::string* valore;
    const char* campo;
    const char* messaggio;
  };
  if (d.tocod.empty()) return {"tocod", "Codice Fiscale non indicato."};
  if (!d.personaFisica) {
    const Regola regole[] = {
        {&d.torag, "torag", "Ragione Sociale Soggetto - campo non valido."},
        {&d.vOSCOM, "vOSCOM", "Indicare il comune della sede legale"},
        {&d.vOSPRO, "vOSPRO", "Indicare la provincia della sede legale"},
    };
    for (const Regola& r : regole)
      if (Vuoto(*r.valore)) return {r.campo, r.messaggio};
  } else {
    const Regola regole[] = {
        {&d.vOCOG, "vOCOG", "Indicare il cognome"},
        {&d.vONOME, "vONOME", "Indicare il nome"},
        {&d.vOSEX, "vOSEX", "Indicare il sesso"},
        {&d.vONDT, "vONDT", "Indicare la data di nascita"},
        {&d.vONCOM, "vONCOM", "Indicare il comune di nascita"},
        {&d.vONPRO, "vONPRO", "Indicare la provincia di nascita"},
    };
    for (const Regola& r : regole)
      if (Vuoto(*r.valore)) return {r.campo, r.messaggio};
    // A birth date that is not a date would be stored as date zero: refuse it instead.
    if (AnalizzaData(Rifila(d.vONDT)).esito != DataAnalizzata::Valida)
      return {"vONDT", "Data di nascita non valida"};
  }
  if (!Rifila(d.vITTCF).empty()) {
    if (!d.vITT1 && !d.vITT2) d.vITT1 = true;
    if (Rifila(d.vITTDATA).empty()) return {"vITTDATA", "Indicare la data dell'impegno"};
  }
  // A commitment date that is not a date would reach the communication as no date at all.
  if (!Rifila(d.vITTDATA).empty() &&
      AnalizzaData(Rifila(d.vITTDATA)).esito != DataAnalizzata::Valida)
    return {"vITTDATA", "Data dell'impegno non valida"};
  return {};
}

void CaricaImpegno(Contesto& ctx, std::string_view codice, DatiOperatore& d) {
  d.vITT1 = d.vITT2 = false;
  d.vITTCF.clear();
  d.vITTCAF.clear();
  d.vITTDATA.clear();
  Recordset itt = ApriImpegno(ctx.Db(), NormalizzaCodice(codice), Recordset::Modo::SolaLettura);
  if (itt.Eof()) return;
  const RecordImpegno r = RecordImpegno::Leggi(ValoreComeTesto(itt["DES"]));
  d.vITTCF = r.intermediarioCF;
  d.vITTCAF = r.numeroIscrizioneCaf;
  d.vITTDATA = r.dataImpegno;
  d.vITT1 = r.codicePredisposizione == "1";
  d.vITT2 = r.codicePredisposizione == "2";
  // Without an intermediary nobody is named as having prepared the communication.
  if (d.vITTCF.empty()) d.vITT1 = d.vITT2 = false;
}

void SalvaImpegno(Contesto& ctx, std::string_view codice, DatiOperatore& d) {
  if (Rifila(d.vITTCF).empty()) d.vITT1 = d.vITT2 = false;
  RecordImpegno r;
  r.intermediarioCF = Rifila(d.vITTCF);
  r.numeroIscrizioneCaf = Rifila(d.vITTCAF);
  r.codicePredisposizione = d.vITT1 ? "1" : d.vITT2 ? "2" : " ";
  // The date as the check read it ("1/2/15" is stored 01/02/2015); an empty box stays empty.
  const DataAnalizzata data = AnalizzaData(Rifila(d.vITTDATA));
  r.dataImpegno = data.esito == DataAnalizzata::Valida ? data.normalizzata : d.vITTDATA;
  const std::string cod = NormalizzaCodice(codice);
  Recordset itt = ApriImpegno(ctx.Db(), cod);
  if (itt.Eof()) itt.AddNew();
  itt.Imposta("TIPO", std::string("ITT"));
  itt.Imposta("COD", cod);
  itt.Imposta("DES", r.Costruisci());
  itt.Update();
}

EsitoControllo AggiornaOperatore(Contesto& ctx, DatiOperatore& d) {
  NormalizzaOperatore(d);
  Database& db = ctx.Db();
  // A code is taken only as the register's rules allow it; an operator already stored keeps the
  // code it has (it cannot be changed), whatever an older program let through.
  if (!d.tocod.empty() && !OperatorePresente(db, d.tocod))
    if (const auto difetto = DifettoCodice(d.tocod)) return {"tocod", *difetto};
  EsitoControllo esito = ControllaOperatore(d);
  if (!esito.Superato()) return esito;

  Transazione tr(db);
  ControllaVersione(db, d);
  Recordset ope = ApriOperatore(db, d.tocod);
  const std::string& codice = d.tocod;
  if (ope.Eof()) ope.AddNew();
  ope.Imposta("OCOD", codice);
  ope.Imposta("OPIVA", Testo(d.toPIVA));
  const std::string vuoto;
  if (!d.personaFisica) {
    ope.Imposta("ORAG", Testo(d.torag));
    ope.Imposta("OSCOM", Testo(d.vOSCOM));
    ope.Imposta("OSPRO", Testo(d.vOSPRO));
    ope.Imposta("ODES", Testo(d.torag));
    for (const char* c : {"OCOG", "ONOME", "OSEX", "ONCOM", "ONPRO"}) ope.Imposta(c, vuoto);
    ope.Imposta("ONDT", Valore{});
  } else {
    for (const char* c : {"ORAG", "OSCOM", "OSPRO"}) ope.Imposta(c, vuoto);
    ope.Imposta("OCOG", Testo(d.vOCOG));
    ope.Imposta("ONOME", Testo(d.vONOME));
    ope.Imposta("OSEX", Testo(d.vOSEX));
    // The date the check accepted, from the same routine: never date zero for a typed date.
    ope.Imposta("ONDT", AnalizzaData(Rifila(d.vONDT)).data);
    ope.Imposta("ONCOM", Testo(d.vONCOM));
    ope.Imposta("ONPRO", Testo(d.vONPRO));
    ope.Imposta("ODES", PrimiCaratteriUtf8(d.vOCOG + " " + d.vONOME, 70));
  }
  ope.Imposta("OSTP", std::string(d.personaFisica ? "0" : "1"));
  const std::pair<const char*, const std::string*> colonne[] = {
      {"OPOSTA", &d.vOPOSTA},
      {"OTEL", &d.vOTEL},
      {"OFAX", &d.vOFAX},
      {"OATT", &d.vOATT},
      {"OATTD", &d.vOATTD},
      {"OSTCCF", &d.vOSTCCF},
      {"OSTCCDCARICA", &d.vOSTCCDCARICA},
      {"OSTCDTINI", &d.vOSTCDTINI},
      {"OSTCDTFINE", &d.vOSTCDTFINE},
      {"OSTCCOG", &d.vOSTCCOG},
      {"OSTCNOME", &d.vOSTCNOME},
      {"OSTCSEX", &d.vOSTCSEX},
      {"OSTCNDT", &d.vOSTCNDT},
      {"OSTCNCOM", &d.vOSTCNCOM},
      {"OSTCNPRO", &d.vOSTCNPRO},
      {"OSTCRAG", &d.vOSTCRAG},
      {"OSTCSCOM", &d.vOSTCSCOM},
      {"OSTCSPRO", &d.vOSTCSPRO},
  };
  for (const auto& [colonna, valore] : colonne) ope.Imposta(colonna, Testo(*valore));
  ope.Imposta("OSTCTP", std::string(d.tenutoPersonaFisica ? "" : "1"));
  ope.Update();
  ope.Close();
  SalvaImpegno(ctx, codice, d);
  auto versione = VersioneOperatore(db, codice);
  tr.Conferma();
  d.versione = std::move(versione);
  return esito;
}

bool LeggiOperatore(Contesto& ctx, std::string_view codice, DatiOperatore& d) {
  d = DatiOperatore{};
  Recordset ope =
      ApriOperatore(ctx.Db(), NormalizzaCodice(codice), Recordset::Modo::SolaLettura);
  const bool trovato = !ope.Eof();
  if (trovato) {
    auto t = [&](const char* c) { return CampoTesto(ope[c]); };
    d.torag = t("ORAG");
    d.tocod = t("OCOD");
    d.toPIVA = t("OPIVA");
    d.personaFisica = t("OSTP") == "0";
    if (d.personaFisica) {
      d.vOCOG = t("OCOG");
      d.vONOME = t("ONOME");
      d.vOSEX = t("OSEX");
      d.vONDT = FormatoData(ope["ONDT"]);
      d.vONCOM = t("ONCOM");
      d.vONPRO = t("ONPRO");
    } else {
      d.vOSCOM = t("OSCOM");
      d.vOSPRO = t("OSPRO");
    }
    d.vOPOSTA = t("OPOSTA");
    d.vOTEL = t("OTEL");
    d.vOFAX = t("OFAX");
    d.vOATT = t("OATT");
    d.vOATTD = t("OATTD");
    d.vOSTCCF = t("OSTCCF");
    d.vOSTCCDCARICA = t("OSTCCDCARICA");
    d.vOSTCDTINI = t("OSTCDTINI");
    d.vOSTCDTFINE = t("OSTCDTFINE");
    d.tenutoPersonaFisica = t("OSTCTP").empty();
    if (d.tenutoPersonaFisica) {
      d.vOSTCCOG = t("OSTCCOG");
      d.vOSTCNOME = t("OSTCNOME");
      d.vOSTCSEX = t("OSTCSEX");
      d.vOSTCNDT = t("OSTCNDT");
      d.vOSTCNCOM = t("OSTCNCOM");
      d.vOSTCNPRO = t("OSTCNPRO");
    } else {
      d.vOSTCRAG = t("OSTCRAG");
      d.vOSTCSCOM = t("OSTCSCOM");
      d.vOSTCSPRO = t("OSTCSPRO");
    }
  }
  CaricaImpegno(ctx, codice, d);
  if (trovato) d.versione = VersioneOperatore(ctx.Db(), d.tocod);
  d.vITTCF = Rifila(d.vITTCF);
  d.vITTCAF = Rifila(d.vITTCAF);
  d.vITTDATA = Rifila(d.vITTDATA);
  return trovato;
}

void RiempiOperatoreCorrente(Contesto& ctx, const DatiOperatore& d) {
  OperatoreCorrente& op = ctx.operatoreCorrente;
  const std::string riselezione = op.codiceDaRiselezionare;
  op = OperatoreCorrente{};
  op.codiceDaRiselezionare = riselezione;
  op.codiceFiscale = Rifila(d.tocod);
  const std::string ragione = Rifila(d.torag);
  op.nomeVisualizzato = !ragione.empty() ? ragione : Rifila(d.vOCOG) + Rifila(d.vONOME);
  op.intermediarioCF = d.vITTCF;
  op.numeroIscrizioneCaf = d.vITTCAF;
  op.codicePredisposizione = d.vITT1 ? "1" : d.vITT2 ? "2" : "0";
  op.dataImpegno = d.vITTDATA;
  op.codiceFiscaleDigitato = d.tocod;
  op.partitaIvaDigitata = d.toPIVA;
}

bool EliminaOperatore(Contesto& ctx, std::string_view codice, std::string_view nomeVisualizzato) {
  const Risposta r =
      ctx.Ui().Chiedi("Confermi l'Eliminazione del Soggetto " + Rifila(nomeVisualizzato) + "?",
                      "Richiesta conferma", Pulsanti::SiNo, Icona::Informazione, Risposta::No);
  if (r == Risposta::No) return false;
  EliminaRigheOperatore(ctx.Db(), NormalizzaCodice(codice));
  return true;
}

}  // namespace fcl
