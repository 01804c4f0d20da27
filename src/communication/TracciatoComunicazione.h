#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/Contesto.h"
#include "communication/PianoComunicazione.h"
#include "communication/RigaOperatore.h"
#include "communication/SceltaCreazione.h"

namespace fcl {

// The records of the communication file that the creation composes itself (the detail records C
// and D come from the workbook run). Each function returns the 1898 Windows-1252 bytes of one
// record, without the line end; records A and B are already cleaned (PulCar).
//
// The inputs are taken as checked: protocols of digits only (at most 17 and 6) and a centre
// registration number of digits only (at most 5), see CreaComunicazione.

// Record A, the supply header: "10" and the intermediary when there is one, otherwise "01" and the
// bound subject's fiscal code (OSTCCF) or the operator's own.
std::string ComponiRecordA(const OperatoreCorrente& operatore, const RigaOperatore& riga);

// Record B, the frontispiece: the operator row, the year, month and sending chosen, the kind of
// data and the quadro boxes of `piano`, and the intermediary's commitment.
std::string ComponiRecordB(const OperatoreCorrente& operatore, const RigaOperatore& riga,
                           const SceltaCreazione& scelta, const PianoComunicazione& piano);

// Record E, the totals (quadro TA): the fields present, from position 90, 24 positions each.
std::string ComponiRecordE(std::string_view codiceFiscale, const std::vector<CampoTA>& campi);

// Record Z, the tail: one B record, the C and D records copied, and the E records written.
std::string ComponiRecordZ(long long recordC, long long recordD, long long recordE);

// A date for a record: "dd/mm/yyyy" (or another form a date column holds) gives ddmmyyyy; the empty
// text, a text that is no date or a date in 1899 give "00000000".
std::string DataRecord(std::string_view data);

}  // namespace fcl
