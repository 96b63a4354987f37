#pragma once

#include "model/Status.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace morvi {

inline constexpr std::size_t kPaletteEntries = 256;
inline constexpr std::size_t kPaletteSize = 3 * kPaletteEntries;
// The game's components run 0..63; the display scales them by four (63 shows as 252).
inline constexpr int kPaletteMultiplier = 4;

// Display colours of the 256 palette entries, each 0x00BBGGRR.
using DisplayColours = std::array<std::uint32_t, kPaletteEntries>;

// A game palette (PAL): 256 red, green, blue triples of 6-bit components, always kept whole.
class GamePalette {
public:
    // Reads a PAL member. It must hold at least 768 bytes; anything after them is ignored.
    static Status Read(std::span<const std::uint8_t> bytes, std::string_view name, GamePalette& out);

    // The display colour of an entry: each component times multiplier, wrapped to 8 bits.
    std::uint32_t DisplayColour(std::size_t index, int multiplier = kPaletteMultiplier) const;
    DisplayColours AllDisplayColours(int multiplier = kPaletteMultiplier) const;

    void SetEntry(std::size_t index, std::uint8_t red, std::uint8_t green, std::uint8_t blue);
    // Stores a colour chosen on screen (components 0..255) as the game keeps it: each component
    // shifted right by two, so that 6 bits remain.
    void SetDisplayColour(std::size_t index, int red, int green, int blue);

    // A grey ramp, index i showing as grey level i: pictures stay readable when no palette of the
    // game can be found.
    static GamePalette Grey();

    std::array<std::uint8_t, kPaletteSize> m_Bytes{};
};

// The entry under a point of a palette drawn as 16 x 16 cells over width x height pixels, entry =
// row * 16 + column (row 0 at the top); the point counts from the grid's top-left corner. None
// when the point lies outside the grid.
std::optional<std::size_t> PaletteGridEntry(int x, int y, int width, int height);

} // namespace morvi
