#include "DemoPalette.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace morvi::demo {

namespace {

struct Rgb {
    double r, g, b; // 0..1
};

// The darkest and lightest colour of each ramp; shades between are mixed with a slight curve, so
// that the dark half keeps enough steps for shadows.
constexpr std::array<std::pair<Rgb, Rgb>, kRampCount> kRampEnds{{
    {{0.05, 0.05, 0.06}, {0.86, 0.86, 0.84}}, // Grey
    {{0.04, 0.06, 0.09}, {0.70, 0.78, 0.86}}, // Steel
    {{0.07, 0.04, 0.02}, {0.80, 0.62, 0.42}}, // Brown
    {{0.08, 0.03, 0.01}, {0.92, 0.55, 0.25}}, // Rust
    {{0.10, 0.00, 0.00}, {1.00, 0.45, 0.35}}, // Red
    {{0.04, 0.05, 0.01}, {0.62, 0.68, 0.38}}, // Olive
    {{0.00, 0.02, 0.10}, {0.45, 0.65, 1.00}}, // Blue
    {{0.10, 0.06, 0.00}, {1.00, 0.92, 0.40}}, // Gold
    {{0.12, 0.06, 0.03}, {0.98, 0.80, 0.66}}, // Skin
    {{0.30, 0.31, 0.33}, {1.00, 1.00, 1.00}}, // White
    {{0.10, 0.14, 0.30}, {0.72, 0.84, 1.00}}, // Sky
    {{0.06, 0.02, 0.08}, {0.78, 0.55, 0.92}}, // Purple
    {{0.00, 0.07, 0.07}, {0.40, 1.00, 0.85}}, // Teal
    {{0.12, 0.09, 0.05}, {0.96, 0.88, 0.66}}, // Sand
    {{0.35, 0.25, 0.05}, {1.00, 1.00, 0.90}}, // Glow
}};

// Pure colours for indices 1 to 15.
constexpr std::array<Rgb, 15> kInterfaceColours{{
    {1, 1, 1},
    {1, 0, 0},
    {0, 1, 0},
    {0, 0, 1},
    {1, 1, 0},
    {0, 1, 1},
    {1, 0, 1},
    {0.5, 0.5, 0.5},
    {0.5, 0, 0},
    {0, 0.5, 0},
    {0, 0, 0.5},
    {0.5, 0.5, 0},
    {0, 0.5, 0.5},
    {0.5, 0, 0.5},
    {0.25, 0.25, 0.25},
}};

std::uint8_t Component(double v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0.0, 1.0) * 63.0 + 0.5);
}

// A small tint from the level's name: the same name always gives the same tint.
Rgb TintOf(std::string_view levelName) {
    if (levelName == "DARK") return {1, 1, 1};
    std::uint32_t h = 2166136261u;
    for (char c : levelName)
        h = (h ^ static_cast<std::uint8_t>(c)) * 16777619u;
    auto part = [&](int shift) { return 0.92 + 0.08 * static_cast<double>((h >> shift) & 0xFF) / 255.0; };
    return {part(0), part(8), part(16)};
}

} // namespace

std::uint8_t Shade(Ramp ramp, int shade) {
    return static_cast<std::uint8_t>(kFirstRampIndex + static_cast<int>(ramp) * kShades +
                                     std::clamp(shade, 0, kShades - 1));
}

GamePalette LevelPalette(std::string_view levelName) {
    GamePalette palette;
    const Rgb tint = TintOf(levelName);
    for (std::size_t i = 0; i < kInterfaceColours.size(); ++i)
        palette.SetEntry(i + 1, Component(kInterfaceColours[i].r), Component(kInterfaceColours[i].g),
                         Component(kInterfaceColours[i].b));
    for (int ramp = 0; ramp < kRampCount; ++ramp) {
        const auto& [dark, light] = kRampEnds[static_cast<std::size_t>(ramp)];
        for (int s = 0; s < kShades; ++s) {
            const double t = static_cast<double>(s) / (kShades - 1);
            const double mix = t * (0.7 + 0.3 * t);
            const std::size_t index = static_cast<std::size_t>(kFirstRampIndex + ramp * kShades + s);
            palette.SetEntry(index, Component((dark.r + (light.r - dark.r) * mix) * tint.r),
                             Component((dark.g + (light.g - dark.g) * mix) * tint.g),
                             Component((dark.b + (light.b - dark.b) * mix) * tint.b));
        }
    }
    return palette;
}

std::vector<std::uint8_t> LevelColourMap() {
    constexpr int kRows = 32;
    std::vector<std::uint8_t> map(kRows * kPaletteEntries + 128, 0);
    for (int row = 0; row < kRows; ++row)
        for (int index = 0; index < static_cast<int>(kPaletteEntries); ++index) {
            int mapped = index;
            const int ramp = (index - kFirstRampIndex) / kShades;
            if (index >= kFirstRampIndex && ramp < kRampCount) {
                // The shade's brightness, 1 to 16 steps, scaled down by the row; less than half a
                // step is black.
                const double steps = ((index - kFirstRampIndex) % kShades + 1) * row / (kRows - 1.0);
                mapped = steps < 0.5
                             ? 0
                             : Shade(static_cast<Ramp>(ramp), static_cast<int>(std::lround(steps)) - 1);
            }
            map[static_cast<std::size_t>(row) * kPaletteEntries + static_cast<std::size_t>(index)] =
                static_cast<std::uint8_t>(mapped);
        }
    // The headlight: full light at the player, fading out with distance.
    for (std::size_t d = 0; d < 128; ++d)
        map[kRows * kPaletteEntries + d] = static_cast<std::uint8_t>(d < 124 ? 31 - d / 4 : 0);
    return map;
}

} // namespace morvi::demo
