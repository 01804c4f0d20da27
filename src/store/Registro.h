#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/Valore.h"
#include "store/Database.h"
#include "store/Recordset.h"

namespace fcl {

// The register's statements, the same on every engine. Operator codes are compared as every lookup
// compares them: trimmed by the caller, without regard to case (see CodiceOperatore.h).

// The operator's row (COPE), to read or to write back (empty when there is none).
Recordset ApriOperatore(Database& db, std::string_view codice,
                        Recordset::Modo modo = Recordset::Modo::Aggiornabile);
// Its commitment row (CTAB, TIPO "ITT"); the commitment stays when the operator is deleted.
Recordset ApriImpegno(Database& db, std::string_view codice,
                      Recordset::Modo modo = Recordset::Modo::Aggiornabile);
// The rows of table `tabella` (of operators' data: it has the column OCOD) of one operator.
Recordset ApriRigheOperatore(Database& db, std::string_view tabella, std::string_view codice,
                             Recordset::Modo modo = Recordset::Modo::Aggiornabile);
// A row of CTAB by its kind and code; `codiceOperatore` compares the code as an operator's.
Recordset ApriCodice(Database& db, const Valore& tipo, const Valore& cod, bool codiceOperatore);
// Every row of `tabella` where `colonna` = `valore`, for reading (backup files).
Recordset LeggiRighe(Database& db, std::string_view tabella, std::string_view colonna,
                     const Valore& valore, bool codiceOperatore);

bool OperatorePresente(Database& db, std::string_view codice);
std::int64_t NumeroOperatori(Database& db);
// The name the register shows for the operator (ODES); empty when none.
std::string DenominazioneOperatore(Database& db, std::string_view codice);
// Every operator's code, in order of code.
std::vector<std::string> CodiciOperatori(Database& db);
// Every operator's code and VAT number, as stored.
std::vector<std::pair<std::string, std::string>> CodiciEPartiteIva(Database& db);

// Deletes the operator's rows of COPE (its commitment row stays).
void EliminaRigheOperatore(Database& db, std::string_view codice);
// Replaces the operator's commitment row with one holding `des`.
void SostituisciImpegno(Database& db, std::string_view codice, const Valore& des);
// Deletes every commitment row.
void EliminaImpegni(Database& db);

// The engine's own check of a database file: "ok", or what is damaged (a server checks its own).
std::string ControlloIntegrita(Database& db);

// The one-time upgrades that have run on a database: CTAB rows REL/<release>, DES the date.
bool AggiornamentoEseguito(Database& db, std::string_view release);
void SegnaAggiornamento(Database& db, std::string_view release, std::string_view data);

// The municipality (COMUNE, PRO) whose name begins with `prefisso` (the first in alphabetical
// order), or equals `nome`; nullopt when none. The text's wildcards match themselves.
std::optional<std::pair<std::string, std::string>> ComuneCheIniziaCon(Database& db,
                                                                      std::string_view prefisso);
std::optional<std::pair<std::string, std::string>> ComuneEsatto(Database& db,
                                                                std::string_view nome);

}  // namespace fcl
