#include "resources/IndexedImage.h"

#include "support/RawBytes.h"

#include "support/StatusAssertions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace morvi {
namespace {

using Bytes = std::vector<std::uint8_t>;

using testing::RawBytes;

using testing::Succeeded;

GamePalette TestPalette() {
    GamePalette palette;
    for (std::size_t i = 0; i < kPaletteEntries; ++i)
        palette.SetEntry(i, static_cast<std::uint8_t>(i % 64), static_cast<std::uint8_t>(i / 4),
                         static_cast<std::uint8_t>(63 - i % 64));
    return palette;
}

// A picture whose every pixel differs from its neighbours, so that a swapped row or column shows.
IndexedImage NumberedImage(int width, int height, bool withHeader = true) {
    IndexedImage image;
    image.Create(TestPalette(), kPaletteMultiplier, width, height, withHeader);
    for (int r = 0; r < height; ++r)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, r, static_cast<std::uint8_t>(1 + r * width + x));
    return image;
}

// A Windows header BMP file of an 8-bit picture with the given rows, as stored.
RawBytes WindowsBmp(std::int32_t width, std::int32_t height, const Bytes& rows, std::uint16_t bitCount = 8) {
    RawBytes bmp;
    bmp.u16(0x4D42).u32(static_cast<std::uint32_t>(1078 + rows.size())).u32(0).u32(1078);
    bmp.u32(40).u32(static_cast<std::uint32_t>(width)).u32(static_cast<std::uint32_t>(height));
    bmp.u16(1).u16(bitCount).zeros(24);
    for (int i = 0; i < 256; ++i)
        bmp.u8(static_cast<std::uint8_t>(i)).u8(0x11).u8(static_cast<std::uint8_t>(255 - i)).u8(0);
    bmp.m_Bytes.insert(bmp.m_Bytes.end(), rows.begin(), rows.end());
    return bmp;
}

TEST(IndexedImageTest, CreateSizesRowsToMultiplesOfFourAndBuildsTheHeader) {
    IndexedImage image;
    ASSERT_TRUE(image.Create(TestPalette(), 4, 5, 3, true));
    EXPECT_EQ(image.stride(), 8);
    EXPECT_EQ(image.bits().size(), 24u);
    ASSERT_EQ(image.info().size(), kBmpInfoSize);
    const Bytes header(image.info().begin(), image.info().begin() + 40);
    Bytes expected = RawBytes().u32(40).u32(5).u32(3).u16(1).u16(8).zeros(24).m_Bytes;
    EXPECT_EQ(header, expected);
    // Entry 1 is (1, 0, 62): blue 248, green 0, red 4, then 0.
    EXPECT_EQ(Bytes(image.info().begin() + 44, image.info().begin() + 48), (Bytes{248, 0, 4, 0}));
    EXPECT_EQ(image.displayColours()[1], 0xF80004u);

    IndexedImage bare;
    ASSERT_TRUE(bare.Create(TestPalette(), 4, 4, 2, false));
    EXPECT_EQ(bare.stride(), 4);
    EXPECT_FALSE(bare.hasInfo());
    EXPECT_FALSE(bare.hasDisplayColours());

    EXPECT_FALSE(bare.Create(TestPalette(), 4, 4097, 1, true));
    EXPECT_FALSE(bare.Create(TestPalette(), 4, 1, -1, true));
    EXPECT_EQ(bare.width(), 4);
    EXPECT_EQ(bare.height(), 2);
}

TEST(IndexedImageTest, SetPaletteRewritesTheColourTable) {
    IndexedImage image = NumberedImage(2, 2);
    GamePalette other;
    other.SetEntry(7, 1, 2, 3);
    image.SetPalette(other, 4);
    EXPECT_EQ(Bytes(image.info().begin() + 40 + 28, image.info().begin() + 40 + 32), (Bytes{12, 8, 4, 0}));
    EXPECT_EQ(image.displayColours()[7], 0x0C0804u);
    EXPECT_EQ(image.displayColours()[1], 0u);
}

TEST(IndexedImageTest, WritesTheBmpFileByteForByte) {
    const IndexedImage image = NumberedImage(3, 2);
    Bytes out{0xAA}; // the writer appends
    ASSERT_TRUE(Succeeded(image.WriteBmp(out)));

    RawBytes expected;
    expected.u8(0xAA).u8('B').u8('M').u32(1078 + 8).u32(0).u32(1078);
    expected.u32(40).u32(3).u32(2).u16(1).u16(8).zeros(24);
    for (std::size_t i = 0; i < 256; ++i) {
        const std::uint32_t colour = TestPalette().DisplayColour(i);
        expected.u8(static_cast<std::uint8_t>(colour >> 16))
            .u8(static_cast<std::uint8_t>(colour >> 8))
            .u8(static_cast<std::uint8_t>(colour))
            .u8(0);
    }
    expected.u8(1).u8(2).u8(3).u8(0).u8(4).u8(5).u8(6).u8(0); // bottom row first, padded to 4
    EXPECT_EQ(out, expected.m_Bytes);

    Bytes none;
    const Status bare = NumberedImage(3, 2, false).WriteBmp(none);
    EXPECT_EQ(bare.message(), "BMP: a picture without a colour header cannot be written as a BMP.");
    EXPECT_TRUE(none.empty());
}

TEST(IndexedImageTest, BmpRoundTripKeepsIndicesAndColours) {
    const IndexedImage image = NumberedImage(7, 5);
    Bytes bmp;
    ASSERT_TRUE(Succeeded(image.WriteBmp(bmp)));
    IndexedImage read;
    ASSERT_TRUE(Succeeded(read.ReadBmp(bmp, "frame.bmp")));
    EXPECT_EQ(read.width(), 7);
    EXPECT_EQ(read.height(), 5);
    EXPECT_EQ(read.stride(), 8);
    EXPECT_TRUE(std::ranges::equal(read.bits(), image.bits()));
    EXPECT_TRUE(std::ranges::equal(read.info(), image.info()));
    EXPECT_TRUE(std::ranges::equal(read.displayColours(), image.displayColours()));
}

TEST(IndexedImageTest, ReadsOs2AndTopDownPictures) {
    RawBytes os2;
    os2.u16(0x4D42).u32(0).u32(0).u32(14 + 12 + 768);
    os2.u32(12).u16(2).u16(2).u16(1).u16(8);
    for (int i = 0; i < 256; ++i) // blue, green, red
        os2.u8(static_cast<std::uint8_t>(i)).u8(0x22).u8(0x33);
    os2.u8(10).u8(11).u8(0).u8(0).u8(12).u8(13).u8(0).u8(0);
    IndexedImage image;
    ASSERT_TRUE(Succeeded(image.ReadBmp(os2.m_Bytes, "os2.bmp")));
    EXPECT_EQ(image.width(), 2);
    EXPECT_EQ(image.height(), 2);
    EXPECT_EQ(image.pixel(0, 0), 10);
    EXPECT_EQ(image.pixel(1, 1), 13);
    EXPECT_EQ(Bytes(image.info().begin(), image.info().begin() + 16),
              RawBytes().u32(40).u32(2).u32(2).u16(1).u16(8).m_Bytes);
    EXPECT_EQ(Bytes(image.info().begin() + 40 + 20, image.info().begin() + 40 + 24),
              (Bytes{5, 0x22, 0x33, 0}));
    EXPECT_EQ(image.displayColours()[5], 0x052233u);

    // A negative height stores the top row first; the picture keeps its rows bottom-up.
    const RawBytes topDown = WindowsBmp(1, -3, Bytes{7, 0, 0, 0, 8, 0, 0, 0, 9, 0, 0, 0});
    ASSERT_TRUE(Succeeded(image.ReadBmp(topDown.m_Bytes, "top.bmp")));
    EXPECT_EQ(image.height(), 3);
    EXPECT_EQ(image.pixel(0, 0), 9);
    EXPECT_EQ(image.pixel(0, 2), 7);
    EXPECT_EQ(image.info()[8], 3);
}

TEST(IndexedImageTest, RefusesWhatItCannotReadAndKeepsThePicture) {
    const IndexedImage original = NumberedImage(3, 2);
    const auto refused = [&](const Bytes& bytes) {
        IndexedImage image = original;
        const Status status = image.ReadBmp(bytes, "pic.bmp");
        EXPECT_TRUE(std::ranges::equal(image.bits(), original.bits()));
        EXPECT_EQ(image.width(), 3);
        return status.message();
    };
    const Bytes fourRows(16, 1);
    Bytes notBmp = WindowsBmp(4, 4, fourRows).m_Bytes;
    notBmp[0] = 'X';
    EXPECT_EQ(refused(notBmp), "pic.bmp: this is not a BMP file (it does not start with \"BM\").");
    EXPECT_EQ(refused(WindowsBmp(4, 4, Bytes(48, 1), 24).m_Bytes),
              "pic.bmp: only 256-colour (8-bit) pictures can be read; this one has 24 bits per pixel.");
    Bytes rle = WindowsBmp(4, 4, fourRows).m_Bytes;
    rle[30] = 1;
    EXPECT_EQ(refused(rle), "pic.bmp: compressed BMP pictures cannot be read (compression 1).");
    EXPECT_EQ(refused(WindowsBmp(5000, 5000, fourRows).m_Bytes),
              "pic.bmp: the picture size 5000 x 5000 is outside 1 to 4096 pixels.");
    EXPECT_EQ(
        refused(WindowsBmp(4, 5, fourRows).m_Bytes),
        "pic.bmp: the header promises 20 pixel bytes at offset 1078, but the file holds only 1094 bytes.");
    Bytes headerOnly = WindowsBmp(4, 4, fourRows).m_Bytes;
    headerOnly.resize(30);
    EXPECT_EQ(refused(headerOnly), "pic.bmp: the data ends early (4 bytes needed at offset 30 of 30).");
    Bytes oddHeader = WindowsBmp(4, 4, fourRows).m_Bytes;
    oddHeader[14] = 20;
    EXPECT_EQ(refused(oddHeader), "pic.bmp: the picture header of 20 bytes is of no known kind.");
}

} // namespace
} // namespace morvi
