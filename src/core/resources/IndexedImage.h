#pragma once

#include "model/Status.h"
#include "resources/GamePalette.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace morvi {

// Largest width or height of any picture the program builds or reads.
inline constexpr int kMaxPictureSide = 4096;

inline constexpr std::size_t kBmpFileHeaderSize = 14;
inline constexpr std::size_t kBmpInfoHeaderSize = 40;
// The 40-byte info header followed by 256 colour entries of blue, green, red, 0.
inline constexpr std::size_t kBmpInfoSize = kBmpInfoHeaderSize + 4 * kPaletteEntries;
inline constexpr std::size_t kBmpPixelOffset = kBmpFileHeaderSize + kBmpInfoSize;

// The one picture type: 8-bit palette indices in bottom-up rows (row 0 is the picture's bottom
// line), each row padded to a multiple of 4 bytes. A picture may carry a 256-colour BMP info
// header and display colours; one made without them serves code that builds its own textures.
class IndexedImage {
public:
    // Sizes the picture (pixels all 0); withHeader adds the info header and sets the palette.
    // False, and the picture unchanged, when a side is negative or larger than kMaxPictureSide.
    bool Create(const GamePalette& palette, int multiplier, int width, int height, bool withHeader);
    // Rebuilds the display colours and, when the info header exists, its colour table.
    void SetPalette(const GamePalette& palette, int multiplier = kPaletteMultiplier);

    // Reads an 8-bit BMP file (Windows or OS/2 header); name is used in messages. On failure the
    // picture is left as it was.
    Status ReadBmp(std::span<const std::uint8_t> bytes, std::string_view name);
    // Appends the BMP file of this picture to out; refuses pictures without an info header.
    Status WriteBmp(std::vector<std::uint8_t>& out) const;

    int width() const { return m_nWidth; }
    int height() const { return m_nHeight; }
    int stride() const { return m_nStride; }
    bool hasInfo() const { return !m_Info.empty(); }
    // The info header and colour table (empty without header).
    std::span<const std::uint8_t> info() const { return m_Info; }
    bool hasDisplayColours() const { return !m_DisplayColours.empty(); }
    // The 256 display colours as 0x00BBGGRR (empty before a palette is set).
    std::span<const std::uint32_t> displayColours() const { return m_DisplayColours; }

    std::span<const std::uint8_t> bits() const { return m_Bits; }
    std::span<std::uint8_t> bits() { return m_Bits; }
    // Row r counted from the bottom, without its padding.
    std::span<const std::uint8_t> row(int r) const;
    std::span<std::uint8_t> row(int r);
    std::uint8_t pixel(int x, int r) const { return row(r)[static_cast<std::size_t>(x)]; }
    void setPixel(int x, int r, std::uint8_t index) { row(r)[static_cast<std::size_t>(x)] = index; }
    // Stores column x from pixels given bottom pixel first, which is how the game's pictures keep
    // them; pixels beyond the picture's height are ignored.
    void SetColumn(int x, std::span<const std::uint8_t> bottomUp);

private:
    void BuildInfo();

    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nStride = 0;
    std::vector<std::uint8_t> m_Info;
    std::vector<std::uint8_t> m_Bits;
    std::vector<std::uint32_t> m_DisplayColours;
};

} // namespace morvi
