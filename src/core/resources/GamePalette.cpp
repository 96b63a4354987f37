#include "resources/GamePalette.h"

#include <algorithm>
#include <string>

namespace morvi {

Status GamePalette::Read(std::span<const std::uint8_t> bytes, std::string_view name, GamePalette& out) {
    if (bytes.size() < kPaletteSize)
        return Status::Fail(std::string(name) + ": a palette needs 768 bytes, the file holds " +
                            std::to_string(bytes.size()) + ".");
    std::copy_n(bytes.begin(), kPaletteSize, out.m_Bytes.begin());
    return Status::Ok();
}

std::uint32_t GamePalette::DisplayColour(std::size_t index, int multiplier) const {
    auto scaled = [&](std::size_t component) {
        return std::uint32_t(static_cast<std::uint8_t>(m_Bytes[3 * index + component] * multiplier));
    };
    return scaled(0) | (scaled(1) << 8) | (scaled(2) << 16);
}

DisplayColours GamePalette::AllDisplayColours(int multiplier) const {
    DisplayColours colours;
    for (std::size_t i = 0; i < kPaletteEntries; ++i)
        colours[i] = DisplayColour(i, multiplier);
    return colours;
}

void GamePalette::SetEntry(std::size_t index, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    m_Bytes[3 * index] = red;
    m_Bytes[3 * index + 1] = green;
    m_Bytes[3 * index + 2] = blue;
}

void GamePalette::SetDisplayColour(std::size_t index, int red, int green, int blue) {
    const auto sixBits = [](int component) {
        return static_cast<std::uint8_t>(std::clamp(component, 0, 255) >> 2);
    };
    SetEntry(index, sixBits(red), sixBits(green), sixBits(blue));
}

GamePalette GamePalette::Grey() {
    GamePalette palette;
    for (std::size_t i = 0; i < kPaletteEntries; ++i) {
        const auto level = static_cast<std::uint8_t>((i * 63 + 127) / 255);
        palette.SetEntry(i, level, level, level);
    }
    return palette;
}

std::optional<std::size_t> PaletteGridEntry(int x, int y, int width, int height) {
    if (x < 0 || y < 0 || x >= width || y >= height) return std::nullopt;
    // In 64 bits: x * 16 must not overflow for the widest areas.
    const auto column = static_cast<std::size_t>(std::int64_t{x} * 16 / width);
    const auto row = static_cast<std::size_t>(std::int64_t{y} * 16 / height);
    return row * 16 + column;
}

} // namespace morvi
