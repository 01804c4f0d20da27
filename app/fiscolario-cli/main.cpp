#include <unistd.h>

#include <filesystem>
#include <iostream>

#include "Comandi.h"

int main(int argc, char** argv) {
  std::error_code ec;
  auto eseguibile = std::filesystem::read_symlink("/proc/self/exe", ec);
  const auto cartella = ec ? std::filesystem::current_path() : eseguibile.parent_path();
  return fcl::EseguiCli(argc, argv, std::cout, std::cerr, cartella);
}
