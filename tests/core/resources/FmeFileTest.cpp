#include "resources/FmeFile.h"

#include "support/RawBytes.h"
#include "support/SpriteWriter.h"

#include "support/StatusAssertions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace morvi {
namespace {

using Bytes = std::vector<std::uint8_t>;

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

using testing::Succeeded;

SpriteFrame Decode(const Bytes& bytes, bool withHeader = false) {
    SpriteFrame frame;
    EXPECT_TRUE(Succeeded(DecodeFme(bytes, "ENEMY.FME", GamePalette(), withHeader, frame)));
    return frame;
}

std::string Refusal(const Bytes& bytes) {
    SpriteFrame frame;
    const Status status = DecodeFme(bytes, "ENEMY.FME", GamePalette(), true, frame);
    EXPECT_EQ(frame.m_Image.width(), 0);
    return status.message();
}

// Column c from the bottom pixel up.
Bytes Column(const IndexedImage& image, int c) {
    Bytes column;
    for (int r = 0; r < image.height(); ++r)
        column.push_back(image.pixel(c, r));
    return column;
}

IndexedImage Pattern(int width, int height) {
    IndexedImage image;
    image.Create(GamePalette(), kPaletteMultiplier, width, height, false);
    for (int c = 0; c < width; ++c)
        for (int r = 0; r < height; ++r)
            image.setPixel(c, r,
                           static_cast<std::uint8_t>((c * 7 + r * 3) % 5 == 0 ? 0 : 1 + (c * 31 + r) % 250));
    return image;
}

TEST(FmeFileTest, PlainCellIsReadColumnByColumnFromTheBottomWithAnchorAndFlip) {
    const Bytes bytes =
        RawFme().frame(-12, 34, 1, 32).cell(2, 3, 0, 0).u8(1).u8(2).u8(3).u8(4).u8(5).u8(6).m_Bytes;
    const SpriteFrame frame = Decode(bytes, true);
    EXPECT_EQ(frame.m_nX, -12);
    EXPECT_EQ(frame.m_nY, 34);
    EXPECT_TRUE(frame.m_bFlip);
    EXPECT_FALSE(frame.m_bCompressed);
    EXPECT_TRUE(frame.m_Image.hasInfo());
    ASSERT_EQ(frame.m_Image.width(), 2);
    ASSERT_EQ(frame.m_Image.height(), 3);
    EXPECT_EQ(Column(frame.m_Image, 0), (Bytes{1, 2, 3}));
    // Flip only tells the caller how to draw: the picture itself stays as stored.
    EXPECT_EQ(Column(frame.m_Image, 1), (Bytes{4, 5, 6}));
}

TEST(FmeFileTest, CompressedColumnsExpandCopiesAndTransparentRunsToTheColumnEnd) {
    // Two columns of 5: copy 2 then run of 3; run of 1 then copy 4. Offsets count from the cell.
    const Bytes runs{2, 9, 8, 131, 129, 4, 1, 2, 3, 4};
    const Bytes bytes = RawFme()
                            .frame(0, 0, 0, 32)
                            .cell(2, 5, 1, static_cast<std::uint32_t>(runs.size()))
                            .u32(32)
                            .u32(36)
                            .bytes(runs)
                            .m_Bytes;
    const SpriteFrame frame = Decode(bytes);
    EXPECT_TRUE(frame.m_bCompressed);
    EXPECT_FALSE(frame.m_bFlip);
    EXPECT_EQ(frame.m_nCutRuns, 0);
    EXPECT_EQ(Column(frame.m_Image, 0), (Bytes{9, 8, 0, 0, 0}));
    EXPECT_EQ(Column(frame.m_Image, 1), (Bytes{0, 1, 2, 3, 4}));
}

TEST(FmeFileTest, RunsPassingTheColumnEndAreCutAndCounted) {
    // A run of 72 in a column 64 high, then a copy of 3 in a column 2 high.
    const Bytes bytes =
        RawFme().frame(0, 0, 0, 32).cell(2, 64, 1, 5).u32(32).u32(33).u8(200).u8(3).u8(7).u8(7).u8(7).m_Bytes;
    // The second column is 64 high too but holds only a copy of 3: it runs past its data.
    EXPECT_NE(Refusal(bytes).find("column 1 runs past the end"), std::string::npos);

    const Bytes cut = RawFme().frame(0, 0, 0, 32).cell(1, 64, 1, 2).u32(28).u8(200).u8(5).m_Bytes;
    const SpriteFrame frame = Decode(cut);
    EXPECT_EQ(frame.m_nCutRuns, 1);
    EXPECT_EQ(Column(frame.m_Image, 0), Bytes(64, 0));
}

TEST(FmeFileTest, OurWriterRoundTripsPlainAndCompressed) {
    const IndexedImage image = Pattern(7, 300); // columns longer than one copy or run
    for (const bool compressed : {false, true}) {
        const SpriteFrame frame = Decode(testing::EncodeFme(image, 5, -6, false, compressed));
        EXPECT_EQ(frame.m_bCompressed, compressed);
        EXPECT_EQ(frame.m_nX, 5);
        EXPECT_EQ(frame.m_nY, -6);
        ASSERT_EQ(frame.m_Image.width(), 7);
        for (int c = 0; c < 7; ++c)
            EXPECT_EQ(Column(frame.m_Image, c), Column(image, c)) << "column " << c;
    }
}

TEST(FmeFileTest, BadFramesAreRefusedWithTheMemberName) {
    EXPECT_EQ(Refusal(Bytes(20, 0)),
              "ENEMY.FME: the frame header at offset 0 lies outside the 20-byte file.");
    EXPECT_EQ(Refusal(RawFme().frame(0, 0, 0, 4000).m_Bytes),
              "ENEMY.FME: the cell header at offset 4000 lies outside the 32-byte file.");
    EXPECT_EQ(Refusal(RawFme().frame(0, 0, 0, 32).cell(5000, 5000, 1, 0).m_Bytes),
              "ENEMY.FME: the cell of 5000 x 5000 pixels is outside 1 to 4096 a side.");
    EXPECT_EQ(Refusal(RawFme().frame(0, 0, 0, 32).cell(0xFFFFFFFF, 2, 0, 0).m_Bytes),
              "ENEMY.FME: the cell of -1 x 2 pixels is outside 1 to 4096 a side.");
    EXPECT_EQ(Refusal(RawFme().frame(0, 0, 0, 32).cell(4096, 4096, 0, 0).zeros(100).m_Bytes),
              "ENEMY.FME: the cell promises 4096 x 4096 pixels, but only 100 bytes follow its header.");
    // Transparent runs need a control byte per 128 pixels at least.
    EXPECT_EQ(
        Refusal(RawFme()
                    .frame(0, 0, 0, 32)
                    .cell(4, 4096, 1, 1000)
                    .u32(40)
                    .u32(40)
                    .u32(40)
                    .u32(40)
                    .zeros(100)
                    .m_Bytes),
        "ENEMY.FME: the cell promises 4 x 4096 pixels, but only 100 bytes of run data follow its column "
        "table.");
    EXPECT_EQ(Refusal(RawFme().frame(0, 0, 0, 32).cell(1, 2, 1, 2).u32(4).u8(2).u8(1).m_Bytes),
              "ENEMY.FME: column 0 starts at offset 4, outside the cell's run data.");
    EXPECT_EQ(Refusal(RawFme().frame(0, 0, 0, 32).cell(1, 2, 1, 2).u32(28).u8(2).u8(1).m_Bytes),
              "ENEMY.FME: column 0 runs past the end of the cell's run data.");
}

} // namespace
} // namespace morvi
