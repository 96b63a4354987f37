#pragma once

// What the resource tests share: byte builders, status checks, and pictures made from a formula
// and compared column by column. Each test file says "using namespace testing;" to use them.
#include "resources/IndexedImage.h"

#include "support/RawBytes.h"
#include "support/StatusAssertions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace morvi::testing {

using Bytes = std::vector<std::uint8_t>;
using Columns = std::vector<Bytes>;
using Names = std::vector<std::string>;

// A picture of the game palette whose pixel at column c, row r (from the bottom) is pixel(c, r).
template <class Pixel> IndexedImage PictureOf(int width, int height, Pixel pixel, bool withHeader = false) {
    IndexedImage image;
    image.Create(GamePalette(), kPaletteMultiplier, width, height, withHeader);
    for (int c = 0; c < width; ++c)
        for (int r = 0; r < height; ++r)
            image.setPixel(c, r, static_cast<std::uint8_t>(pixel(c, r)));
    return image;
}

// A picture every third row of which is clear (index 0), the others differing pixel by pixel.
inline IndexedImage Numbered(int width, int height, int seed, bool withHeader = false) {
    return PictureOf(
        width, height, [seed](int c, int r) { return r % 3 == 0 ? 0 : 1 + (seed + c + 7 * r) % 255; },
        withHeader);
}

// The columns of a picture, each bottom pixel first: equal exactly when size and pixels are.
inline Columns ColumnsOf(const IndexedImage& image) {
    Columns columns(static_cast<std::size_t>(image.width()));
    for (int c = 0; c < image.width(); ++c)
        for (int r = 0; r < image.height(); ++r)
            columns[static_cast<std::size_t>(c)].push_back(image.pixel(c, r));
    return columns;
}

} // namespace morvi::testing
