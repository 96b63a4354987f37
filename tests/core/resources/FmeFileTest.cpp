#include "resources/FmeFile.h"

#include "support/RawBytes.h"
#include "support/SpriteWriter.h"
#include "support/StatusAssertions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

namespace morvi {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Columns = std::vector<Bytes>;
using testing::Succeeded;

// FME bytes by hand, so that the decoder is checked against the layout and not only our writer.
struct RawFme : testing::RawBytesOf<RawFme> {
    RawFme& frame(std::int32_t x, std::int32_t y, std::uint32_t flip, std::uint32_t cellOffset) {
        return u32(static_cast<std::uint32_t>(x))
            .u32(static_cast<std::uint32_t>(y))
            .u32(flip)
            .u32(cellOffset)
            .zeros(16);
    }
    RawFme& cell(std::uint32_t width, std::uint32_t height, std::uint32_t compressed,
                 std::uint32_t dataSize) {
        return u32(width).u32(height).u32(compressed).u32(dataSize).zeros(8);
    }
};

// The columns of a picture, each from the bottom pixel up.
Columns ColumnsOf(const IndexedImage& image) {
    Columns columns(static_cast<std::size_t>(image.width()));
    for (int c = 0; c < image.width(); ++c)
        for (int r = 0; r < image.height(); ++r)
            columns[static_cast<std::size_t>(c)].push_back(image.pixel(c, r));
    return columns;
}

// Where the frame stands, whether it is mirrored and compressed, how many runs were cut.
using Look = std::tuple<int, int, bool, bool, int>;

// A plain cell stores columns bottom first; flip only tells the caller how to draw, the picture
// stays as stored. A compressed cell has a column table (offsets from the cell) and runs: copies
// up to 128, transparent runs above, filling to the column's end. Runs that pass the end are cut
// and counted.
TEST(FmeFileTest, DecodesPlainAndCompressedCells) {
    const Bytes runs{2, 9, 8, 131, 129, 4, 1, 2, 3, 4};
    const std::vector<std::tuple<Bytes, Look, Columns>> cases{
        {RawFme().frame(-12, 34, 1, 32).cell(2, 3, 0, 0).bytes({1, 2, 3, 4, 5, 6}).m_Bytes,
         Look{-12, 34, true, false, 0},
         {{1, 2, 3}, {4, 5, 6}}},
        {RawFme().frame(0, 0, 0, 32).cell(2, 5, 1, 10).u32(32).u32(36).bytes(runs).m_Bytes,
         Look{0, 0, false, true, 0},
         {{9, 8, 0, 0, 0}, {0, 1, 2, 3, 4}}},
        {RawFme().frame(0, 0, 0, 32).cell(1, 64, 1, 2).u32(28).u8(200).u8(5).m_Bytes,
         Look{0, 0, false, true, 1},
         {Bytes(64, 0)}},
    };
    for (const auto& [bytes, look, columns] : cases) {
        SpriteFrame frame;
        ASSERT_TRUE(Succeeded(DecodeFme(bytes, "ENEMY.FME", GamePalette(), true, frame)));
        EXPECT_EQ(Look(frame.m_nX, frame.m_nY, frame.m_bFlip, frame.m_bCompressed, frame.m_nCutRuns), look);
        EXPECT_EQ(ColumnsOf(frame.m_Image), columns);
        EXPECT_TRUE(frame.m_Image.hasInfo());
    }
}

TEST(FmeFileTest, OurWriterRoundTripsPlainAndCompressed) {
    // Columns longer than one copy or run: one all opaque, one of 130 clear pixels under 170 opaque
    // ones, the others in short runs.
    IndexedImage image;
    image.Create(GamePalette(), kPaletteMultiplier, 7, 300, false);
    for (int c = 0; c < 7; ++c)
        for (int r = 0; r < 300; ++r) {
            const bool clear = c == 0 ? false : c == 1 ? r < 130 : (c * 7 + r * 3) % 5 == 0;
            image.setPixel(c, r, static_cast<std::uint8_t>(clear ? 0 : 1 + (c * 31 + r) % 250));
        }
    for (const bool compressed : {false, true}) {
        SpriteFrame frame;
        ASSERT_TRUE(Succeeded(
            DecodeFme(EncodeFme(image, 5, -6, false, compressed), "A.FME", GamePalette(), false, frame)));
        EXPECT_EQ(Look(frame.m_nX, frame.m_nY, frame.m_bFlip, frame.m_bCompressed, frame.m_nCutRuns),
                  Look(5, -6, false, compressed, 0));
        EXPECT_EQ(ColumnsOf(frame.m_Image), ColumnsOf(image));
    }
}

TEST(FmeFileTest, BadFramesAreRefusedWithTheMemberName) {
    const auto cell = [](std::uint32_t width, std::uint32_t height, std::uint32_t compressed,
                         std::uint32_t size) {
        return RawFme().frame(0, 0, 0, 32).cell(width, height, compressed, size);
    };
    const std::vector<std::pair<Bytes, std::string>> cases{
        {Bytes(20, 0), "the frame header at offset 0 lies outside the 20-byte file."},
        {RawFme().frame(0, 0, 0, 4000).m_Bytes,
         "the cell header at offset 4000 lies outside the 32-byte file."},
        {cell(5000, 5000, 1, 0).m_Bytes, "the cell of 5000 x 5000 pixels is outside 1 to 4096 a side."},
        {cell(0xFFFFFFFF, 2, 0, 0).m_Bytes, "the cell of -1 x 2 pixels is outside 1 to 4096 a side."},
        {cell(4096, 4096, 0, 0).zeros(100).m_Bytes,
         "the cell promises 4096 x 4096 pixels, but only 100 bytes follow its header."},
        // Transparent runs need a control byte per 128 pixels at least.
        {cell(4, 4096, 1, 1000).u32(40).u32(40).u32(40).u32(40).zeros(100).m_Bytes,
         "the cell promises 4 x 4096 pixels, but only 100 bytes of run data follow its column table."},
        {cell(1, 2, 1, 2).u32(4).u8(2).u8(1).m_Bytes,
         "column 0 starts at offset 4, outside the cell's run data."},
        {cell(1, 2, 1, 2).u32(28).u8(2).u8(1).m_Bytes, "column 0 runs past the end of the cell's run data."},
        // A second column 64 high holding only a copy of 3.
        {cell(2, 64, 1, 5).u32(32).u32(33).u8(200).u8(3).u8(7).u8(7).u8(7).m_Bytes,
         "column 1 runs past the end of the cell's run data."},
    };
    for (const auto& [bytes, message] : cases) {
        SpriteFrame frame;
        EXPECT_EQ(DecodeFme(bytes, "ENEMY.FME", GamePalette(), true, frame).message(),
                  "ENEMY.FME: " + message);
        EXPECT_EQ(frame.m_Image.width(), 0) << message;
    }
}

} // namespace
} // namespace morvi
