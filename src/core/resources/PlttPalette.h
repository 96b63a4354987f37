#pragma once

#include "model/Status.h"
#include "resources/GamePalette.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace morvi {

// A PLTT member: the first and last colour index it sets, then one red, green, blue triple of
// 6-bit components per index from first to last.
inline constexpr std::size_t kPlttHeaderSize = 2;

struct PlttPalette {
    std::uint8_t m_nFirst = 0;
    std::uint8_t m_nLast = 0;
    // 3 x (last - first + 1) bytes.
    std::vector<std::uint8_t> m_Colours;
};

// Reads a PLTT member. Refuses a first index above the last and a member too short for its
// triples; bytes after the last triple are ignored. On failure out is left as it was.
Status ReadPltt(std::span<const std::uint8_t> bytes, std::string_view name, PlttPalette& out);

// Overwrites entries first to last of the working palette with the PLTT's colours; the other
// entries keep theirs, so a caller wanting a fresh overlay resets the palette first.
void ApplyPltt(const PlttPalette& pltt, GamePalette& palette);

} // namespace morvi
