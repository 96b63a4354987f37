#pragma once

#include "model/Status.h"
#include "resources/GamePalette.h"
#include "resources/IndexedImage.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace morvi {

// A sprite frame is a 32-byte header (x, y, flip, offset of its cell) naming a cell: a 24-byte
// header (width, height, compressed, data size) and the pixels column by column, left column
// first, each from the bottom pixel up. A compressed cell has a table of column offsets, counted
// from the cell header, then runs: a control byte up to 128 copies that many pixels, above 128 it
// is a run of (control - 128) transparent pixels. An FME is one frame at offset 0.
inline constexpr std::size_t kSpriteFrameHeaderSize = 32;
inline constexpr std::size_t kSpriteCellHeaderSize = 24;

// The fields of a cell header the decoders use.
struct SpriteCellHeader {
    std::int32_t m_nWidth = 0;
    std::int32_t m_nHeight = 0;
    std::int32_t m_nCompressed = 0;
    std::int32_t m_nDataSize = 0;
};

// One decoded frame: the picture and how it is placed against the sprite's anchor. The picture
// itself is never mirrored; m_bFlip tells the caller to mirror it when drawing.
struct SpriteFrame {
    std::int32_t m_nX = 0;
    std::int32_t m_nY = 0;
    bool m_bFlip = false;
    bool m_bCompressed = false;
    // Copies or runs of a compressed cell that passed their column's end and were cut there; the
    // viewer beeps when this is not 0.
    int m_nCutRuns = 0;
    IndexedImage m_Image;
};

// Reads the cell header at offset in a sprite member. Fails when the header lies outside bytes.
Status ReadSpriteCellHeader(std::span<const std::uint8_t> bytes, std::uint64_t offset, std::string_view name,
                            SpriteCellHeader& out);

// Decodes the frame header at offset in a sprite member (FME or WAX) and the cell it names.
// Pictures are made with palette (multiplier 4) and, when withHeader, a BMP header. On failure
// out is left as it was and the message names the member.
Status DecodeSpriteFrame(std::span<const std::uint8_t> bytes, std::uint64_t offset, std::string_view name,
                         const GamePalette& palette, bool withHeader, SpriteFrame& out);

// Decodes an FME member: its one frame, whose header starts the member.
Status DecodeFme(std::span<const std::uint8_t> bytes, std::string_view name, const GamePalette& palette,
                 bool withHeader, SpriteFrame& out);

} // namespace morvi
