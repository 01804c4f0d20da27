#pragma once

#include <string_view>

namespace fcl {

// The software producer's code, 11 digits, fixed in the program. Records B, C, D and E carry it at
// positions 74-84; every writer of those records takes it from here so that it is the same in all.
inline constexpr std::string_view kCodiceProduttore = "08765432102";

static_assert(kCodiceProduttore.size() == 11);

}  // namespace fcl
