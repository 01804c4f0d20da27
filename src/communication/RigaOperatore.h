#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace fcl {

class Database;

// The operator row (table COPE) as the communication file and its cover read it: every column as
// text through CampoTesto (Null gives the empty text, the rest trimmed). The birth date ONDT is
// already "dd/mm/yyyy" (empty when there is none); the dates of the bound subject are text columns
// and stay as typed.
struct RigaOperatore {
  std::string ocod;
  std::string orag;
  std::string ocog;
  std::string onome;
  std::string osex;
  std::string ondt;
  std::string oncom;
  std::string onpro;
  std::string ostp;
  std::string opiva;
  std::string oatt;
  std::string otel;
  std::string ofax;
  std::string oposta;
  std::string ostccf;
  std::string ostccdcarica;
  std::string ostcdtini;
  std::string ostcdtfine;
  std::string ostctp;
  std::string ostccog;
  std::string ostcnome;
  std::string ostcsex;
  std::string ostcndt;
  std::string ostcncom;
  std::string ostcnpro;
  std::string ostcrag;
};

// Reads the operator whose OCOD is `codiceFiscale`; nullopt when the register holds no such row.
// A failing statement throws ErroreDatabase.
std::optional<RigaOperatore> LeggiRigaOperatore(Database& db, std::string_view codiceFiscale);

}  // namespace fcl
