#pragma once

// The sample Access databases (public samples of the Jet/ACE formats that nobody on this project
// wrote) are not part of the repository: they sit in the shared data folder beside the clone
// (FCL_SHARED_DIR/data/mdb) on the machines that have it. A clone on its own lacks them, and the
// tests that read them skip with the reason.

#include <gtest/gtest.h>

#include <filesystem>
#include <system_error>

namespace fcl::test {

inline std::filesystem::path CartellaCampioniAccess() {
  return std::filesystem::path(FCL_SHARED_DIR) / "data" / "mdb";
}

inline bool CampioniAccessPresenti() {
  std::error_code ec;
  return std::filesystem::is_regular_file(CartellaCampioniAccess() / "nwind.mdb", ec);
}

}  // namespace fcl::test

// Skips the running test (or fixture set-up) when the sample Access files are not there.
#define FCL_SALTA_SENZA_CAMPIONI_ACCESS()                                                 \
  do {                                                                                    \
    if (!::fcl::test::CampioniAccessPresenti())                                           \
      GTEST_SKIP() << "file Access di esempio assenti in "                                \
                   << ::fcl::test::CartellaCampioniAccess().string()                      \
                   << " (non fanno parte del repository: la cartella dei dati condivisi " \
                      "accanto al clone li porta)";                                       \
  } while (false)
