#pragma once

#include "model/Status.h"
#include "resources/GamePalette.h"
#include "resources/IndexedImage.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace morvi {

// A DELT picture: an 8-byte header (x and y offsets, largest x, largest y), then line records of
// a size-and-type word, start x and start y, each followed by raw pixels or by runs; a line of no
// pixels ends the picture. Lines are placed from the top-left of the canvas; pixels no line
// covers are index 0, the transparent one.
inline constexpr std::size_t kDeltHeaderSize = 8;
// ANIM pictures this small hold no pixels and are kept as empty frames with their offsets.
inline constexpr std::size_t kAnimEmptyPictureSize = 10;

struct DeltPicture {
    // The pixels; an ANIM's empty frames have none (0 x 0).
    IndexedImage m_Image;
    // Where the game places the picture; carried through unchanged.
    std::int16_t m_nOffsetX = 0;
    std::int16_t m_nOffsetY = 0;
};

// Decodes a DELT member into out, made with palette (multiplier 4) and, when withHeader, a BMP
// header. Refuses canvases over 4096 pixels a side and lines whose pixels run past the member's
// end; pixels falling outside the canvas are dropped. On failure out is left as it was and the
// message names the member.
Status DecodeDelt(std::span<const std::uint8_t> bytes, std::string_view name, const GamePalette& palette,
                  bool withHeader, DeltPicture& out);

// Decodes an ANIM member (a 16-bit count, then each picture as a 32-bit size and a DELT) into
// frames, one per picture in file order. On failure frames is left empty.
Status DecodeAnim(std::span<const std::uint8_t> bytes, std::string_view name, const GamePalette& palette,
                  bool withHeader, std::vector<DeltPicture>& frames);

// Appends the DELT of the picture to out: one run-compressed line per stretch of non-zero pixels
// of a row. Refuses pictures outside 1 to 4096 pixels a side.
Status EncodeDelt(const DeltPicture& picture, std::vector<std::uint8_t>& out);

// Appends an ANIM of the frames, in the order given, to out. A frame without pixels is written as
// a 10-byte picture keeping its offsets; so is a 1 x 1 transparent one, which reads back empty.
Status EncodeAnim(std::span<const DeltPicture> frames, std::vector<std::uint8_t>& out);

} // namespace morvi
