#pragma once

#include "model/Status.h"
#include "resources/GamePalette.h"
#include "resources/IndexedImage.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace morvi {

// A BM texture: a 32-byte header, then the pixels column by column, left column first, each
// column from its bottom pixel up. A BM one pixel wide and not one pixel high is an animated
// texture holding several plain sub-pictures.
inline constexpr std::size_t kBmHeaderSize = 32;
inline constexpr std::size_t kBmSubHeaderSize = 28;
// Offsets of the sub-pictures count from here: the header and two bytes of frame rate.
inline constexpr std::size_t kBmSubOffsetBase = kBmHeaderSize + 2;
inline constexpr int kMaxBmSubPictures = 1024;

enum BmCompression : std::uint16_t {
    kBmPlain = 0,
    kBmRunLength = 1, // runs of any index, each followed by its value
    kBmZeroRuns = 2,  // runs of index 0 only, without a value byte
};

// Decodes a BM member into frames: one picture, or the sub-pictures of an animated texture in
// file order. Pictures are made with palette (multiplier 4) and, when withHeader, a BMP header.
// On failure frames is left empty and the message names the member.
Status DecodeBm(std::span<const std::uint8_t> bytes, std::string_view name, const GamePalette& palette,
                bool withHeader, std::vector<IndexedImage>& frames);

// Appends a single BM of the picture with the given compression to out. Refuses pictures outside
// 1 to 4096 pixels a side, and pictures one pixel wide and several high, which would read back as
// an animated texture.
Status EncodeBm(const IndexedImage& image, BmCompression compression, std::vector<std::uint8_t>& out);

// Appends an animated texture of plain sub-pictures, in the order given, to out.
Status EncodeMultiBm(std::span<const IndexedImage> frames, std::uint8_t frameRate,
                     std::vector<std::uint8_t>& out);

} // namespace morvi
