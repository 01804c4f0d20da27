#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace fcl {

// Decodes a Flate (zlib) stream of a template: the two header bytes are dropped unexamined and
// the rest is inflated as raw DEFLATE up to its final block; the checksum after it is not read.
// Returns nullopt when the data is not valid DEFLATE, ends before the final block, or would
// decode to more than `limite` bytes (a stream that expands without bound is refused, not read).
std::optional<std::string> InflateFlate(std::string_view dati, std::size_t limite);

}  // namespace fcl
