#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "store/Database.h"

namespace fcl {

// The reference tables of every database. The municipalities (T_COMUNI) and the places of birth
// (T_COMUNICF) are built into the program from resources/dati-riferimento and loaded when a
// database is created; the ATECO 2007 classification has no redistributable source of ours and is
// loaded by the user from ISTAT's published file.

// Replaces the content of T_COMUNI and T_COMUNICF with the built-in data (7896 municipalities with
// an empty CAB; current and former places of birth with their cadastral code, foreign states with
// province "EE"). Runs in its own transaction unless the caller holds one.
void CaricaDatiRiferimento(Database& db);
// The same for one table: T_COMUNI, or T_COMUNICF.
void CaricaTabellaComuni(Database& db);
void CaricaTabellaLuoghiNascita(Database& db);

// Row counts of the built-in data, for checks.
std::size_t RigheComuniIncorporate();
std::size_t RigheComuniCFIncorporate();

struct VoceAteco {
  std::string codice;       // as ISTAT writes it: "A", "01", "01.1", "01.11", "01.11.1", "01.11.10"
  std::string descrizione;  // ISTAT title
};

// The ATECO entries of a table of text rows (a CSV file or a workbook sheet): finds the header row
// among the first ten (a column named CODICE, "Codice Ateco 2007", CODE ... and one named
// DESCRIZIONE, "Titolo Ateco 2007", TITLE, DENOMINAZIONE ...), then reads every row below it,
// skipping blank rows. `origine` names the file in the messages. Throws Errore with an Italian text
// naming the file (and the line) for a table without recognisable columns, a value that is no ATECO
// code, a repeated code, or a table without any code.
std::vector<VoceAteco> VociAteco(const std::vector<std::vector<std::string>>& righe,
                                 std::string_view origine);

// Replaces the content of ATECO2007 with `voci` in one transaction: on failure the table is left as
// it was. Returns the number of codes stored.
std::size_t SostituisciAteco(Database& db, const std::vector<VoceAteco>& voci);

// Loads ATECO2007 from a CSV file (separator comma, semicolon or tab, found from the header; UTF-8
// or Windows-1252), as VociAteco and SostituisciAteco describe. Throws ErroreFile when the file
// cannot be read and Errore for a file that is not a table of codes.
std::size_t ImportaAteco(Database& db, const std::filesystem::path& file);

}  // namespace fcl
