#pragma once

#include <string>
#include <utility>
#include <vector>

namespace fcl::test {

// A table of a real Access file to be given another name, with some of its columns.
struct Ridenominazione {
  std::string tabella;
  std::string nuovaTabella;
  std::vector<std::pair<std::string, std::string>> colonne;  // old name, new name
};

// Access files that hold tables named like ours can only come from Access, which does not run
// here. So a real Access 97 (Jet 3) file is given our names in place: in the system catalog's rows
// and in the table definitions, each name is overwritten by a new one no longer than it, padded
// with NUL bytes, which readers end the name at. Nothing else changes: every data page, row,
// date, memo and Null stays as Access wrote it. Throws std::runtime_error when a name is not
// found where expected (the file is not the one the caller thinks).
std::string RinominaInAccess97(std::string file, const std::vector<Ridenominazione>& tabelle);

}  // namespace fcl::test
