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
    return bmp.bytes(rows);
}

// Rows bottom first, padded to four bytes; reading the file back and writing it again gives the
// same bytes.
TEST(IndexedImageTest, WritesTheBmpFileByteForByteAndReadsItBack) {
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
    expected.u8(1).u8(2).u8(3).u8(0).u8(4).u8(5).u8(6).u8(0);
    EXPECT_EQ(out, expected.m_Bytes);

    out.erase(out.begin());
    IndexedImage read;
    ASSERT_TRUE(Succeeded(read.ReadBmp(out, "frame.bmp")));
    Bytes again;
    ASSERT_TRUE(Succeeded(read.WriteBmp(again)));
    EXPECT_EQ(again, out);
    EXPECT_TRUE(std::ranges::equal(read.displayColours(), image.displayColours()));

    // A new palette rewrites the colour table and the display colours.
    GamePalette other;
    other.SetEntry(7, 1, 2, 3);
    read.SetPalette(other, 4);
    EXPECT_EQ(Bytes(read.info().begin() + 40 + 28, read.info().begin() + 40 + 32), (Bytes{12, 8, 4, 0}));
    EXPECT_EQ(read.displayColours()[7], 0x0C0804u);
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
    EXPECT_EQ(std::tuple(image.width(), image.pixel(0, 0), image.pixel(1, 1)), std::tuple(2, 10, 13));
    // The header is rebuilt as a Windows one, with the three-byte colours widened to four.
    EXPECT_EQ(Bytes(image.info().begin(), image.info().begin() + 16),
              RawBytes().u32(40).u32(2).u32(2).u16(1).u16(8).m_Bytes);
    EXPECT_EQ(Bytes(image.info().begin() + 40 + 20, image.info().begin() + 40 + 24),
              (Bytes{5, 0x22, 0x33, 0}));

    // A negative height stores the top row first; the picture keeps its rows bottom-up.
    const RawBytes topDown = WindowsBmp(1, -3, Bytes{7, 0, 0, 0, 8, 0, 0, 0, 9, 0, 0, 0});
    ASSERT_TRUE(Succeeded(image.ReadBmp(topDown.m_Bytes, "top.bmp")));
    EXPECT_EQ(std::tuple(image.height(), image.pixel(0, 0), image.pixel(0, 2), image.info()[8]),
              std::tuple(3, 9, 7, 3));
}

TEST(IndexedImageTest, RefusesWhatItCannotReadAndKeepsThePicture) {
    const Bytes fourRows(16, 1);
    const Bytes good = WindowsBmp(4, 4, fourRows).m_Bytes;
    Bytes notBmp = good, rle = good, headerOnly = good, oddHeader = good;
    notBmp[0] = 'X';
    rle[30] = 1;
    headerOnly.resize(30);
    oddHeader[14] = 20;
    const std::vector<std::pair<Bytes, std::string>> cases{
        {notBmp, "pic.bmp: this is not a BMP file (it does not start with \"BM\")."},
        {WindowsBmp(4, 4, Bytes(48, 1), 24).m_Bytes,
         "pic.bmp: only 256-colour (8-bit) pictures can be read; this one has 24 bits per pixel."},
        {rle, "pic.bmp: compressed BMP pictures cannot be read (compression 1)."},
        {WindowsBmp(5000, 5000, fourRows).m_Bytes,
         "pic.bmp: the picture size 5000 x 5000 is outside 1 to 4096 pixels."},
        {WindowsBmp(4, 5, fourRows).m_Bytes,
         "pic.bmp: the header promises 20 pixel bytes at offset 1078, but the file holds only 1094 bytes."},
        {headerOnly, "pic.bmp: the data ends early (4 bytes needed at offset 30 of 30)."},
        {oddHeader, "pic.bmp: the picture header of 20 bytes is of no known kind."},
    };
    const IndexedImage original = NumberedImage(3, 2);
    for (const auto& [bytes, message] : cases) {
        IndexedImage image = original;
        EXPECT_EQ(image.ReadBmp(bytes, "pic.bmp").message(), message);
        EXPECT_TRUE(std::ranges::equal(image.bits(), original.bits())) << message;
        EXPECT_EQ(image.width(), 3) << message;
    }
    Bytes none;
    EXPECT_EQ(NumberedImage(3, 2, false).WriteBmp(none).message(),
              "BMP: a picture without a colour header cannot be written as a BMP.");
    EXPECT_TRUE(none.empty());
}

} // namespace
} // namespace morvi
