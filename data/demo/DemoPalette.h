#pragma once

#include "resources/GamePalette.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace morvi::demo {

// The colours of the demo data: index 0 is the transparent black every picture leaves empty,
// then ramps of 16 shades from dark to light, so that pictures are drawn in materials ("rust,
// shade 9") rather than in raw indices. Every level palette keeps the ramps at the same indices,
// so one picture reads right under any of them; only the lighting tint differs.
enum class Ramp : std::uint8_t {
    Grey,   // concrete, metal floors
    Steel,  // blue-grey panels, imperial walls
    Brown,  // earth, wood, crates
    Rust,   // old metal, pipes
    Red,    // warning stripes, blood, lamps
    Olive,  // uniforms, moss
    Blue,   // water, screens
    Gold,   // lights, brass, hazard yellow
    Skin,   // faces, hands
    White,  // armour, snow, bright signs
    Sky,    // skies
    Purple, // alien stone, force fields
    Teal,   // computer consoles
    Sand,   // desert, floors
    Glow,   // lamps and light fixtures, brightest at 15
};
inline constexpr int kRampCount = 15;
inline constexpr int kShades = 16;
// The first index of the ramps; 1 to 15 are kept for pure colours of the user interface.
inline constexpr int kFirstRampIndex = 16;

// The palette index of a shade (0 darkest, 15 lightest; values outside are clamped).
std::uint8_t Shade(Ramp ramp, int shade);

// The palette of a level, tinted by its name so that the demo levels look a little different;
// "DARK" gives the untinted palette of the game's own pictures.
GamePalette LevelPalette(std::string_view levelName);

// A level's colour map (CMP, 8320 bytes): 32 light levels of 256 indices, then the 128-byte
// headlight table. Row 31 leaves every index as it is; each lower row takes every ramp colour
// down its ramp, to index 0 in row 0. The interface colours keep full light.
std::vector<std::uint8_t> LevelColourMap();

} // namespace morvi::demo
