#pragma once

#include "model/Status.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace morvi {

// A level's colour map (CMP) starts with 32 rows of 256 palette indices, row 0 the darkest light
// level and row 31 full light; the game's files add a 128-byte headlight table (8320 bytes).
inline constexpr std::size_t kColourMapRowsSize = 32 * 256;
inline constexpr std::size_t kColourMapHeadlightSize = 128;

// Copies the 32 rows of a CMP member into rows. A member shorter than the rows fails with a message
// naming it, and rows is then left as it was.
Status ReadColourMap(std::span<const std::uint8_t> bytes, std::string_view name,
                     std::vector<std::uint8_t>& rows);

} // namespace morvi
