#pragma once

// Shared pieces of the fuzz targets: a scratch file per process (the readers take paths), the
// split of an input into named parts, a zip written from parts, a compound file holding one
// stream, and a check that a text is valid UTF-8.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fcl::fuzz {

// A folder of this process under the temporary folder, created on first use and removed at exit.
const std::filesystem::path& CartellaProcesso();

// Writes `byte` to `nome` inside CartellaProcesso() and returns the path.
std::filesystem::path ScriviTemporaneo(std::string_view nome, std::string_view byte);

// The input as (name, content) parts: it is cut at every kSeparatoreParti; in each piece the
// text up to the first line feed is the name, the rest the content. The text before the first
// separator is dropped. Pieces without a line feed or with an empty name are dropped.
inline constexpr std::string_view kSeparatoreParti = "\n=FCL=";
std::vector<std::pair<std::string, std::string>> Parti(std::string_view ingresso);

// Writes a zip archive holding the parts (stored, not compressed, in their order; a name met
// again replaces the earlier part). False when libzip refuses a name.
bool ScriviZip(const std::filesystem::path& percorso,
               const std::vector<std::pair<std::string, std::string>>& parti);

// A compound file (the container of .xls files) whose only stream is `nomeFlusso` with content
// `flusso`, padded with zeros to 4096 bytes so that it sits in regular sectors.
std::string CompostoConFlusso(std::string_view nomeFlusso, std::string_view flusso);

bool Utf8Valido(std::string_view testo);

inline std::string_view Vista(const std::uint8_t* dati, std::size_t dimensione) {
  return {reinterpret_cast<const char*>(dati), dimensione};
}

}  // namespace fcl::fuzz
