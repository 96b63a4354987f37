// BMP pictures, PAL palettes and PLTT palette ranges.
#include "resources/IndexedImage.h"
#include "resources/GamePalette.h"
#include "resources/PlttPalette.h"

#include "PictureHelpers.h"

#include <algorithm>

namespace morvi {
namespace {

using namespace testing;

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

// Rows bottom first, padded to four bytes, colours blue first; reading the file back and writing
// it again gives the same bytes and colours.
TEST(IndexedImageTest, WritesTheBmpFileByteForByteAndReadsItBack) {
    const IndexedImage image = NumberedImage(3, 2);
    Bytes out{0xAA}; // the writer appends
    ASSERT_TRUE(Succeeded(image.WriteBmp(out)));
    RawBytes expected;
    expected.u8(0xAA).u8('B').u8('M').u32(1078 + 8).u32(0).u32(1078);
    expected.u32(40).u32(3).u32(2).u16(1).u16(8).zeros(24);
    for (std::size_t i = 0; i < 256; ++i) {
        const std::uint32_t colour = TestPalette().DisplayColour(i);
        expected.u8(std::uint8_t(colour >> 16)).u8(std::uint8_t(colour >> 8)).u8(std::uint8_t(colour)).u8(0);
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
}

TEST(IndexedImageTest, RefusesWhatItCannotReadAndKeepsThePicture) {
    const Bytes fourRows(16, 1);
    Bytes notBmp = WindowsBmp(4, 4, fourRows).m_Bytes, headerOnly = notBmp;
    notBmp[0] = 'X';
    headerOnly.resize(30);
    const std::vector<std::pair<Bytes, std::string>> cases{
        {notBmp, "pic.bmp: this is not a BMP file (it does not start with \"BM\")."},
        {WindowsBmp(4, 4, Bytes(48, 1), 24).m_Bytes,
         "pic.bmp: only 256-colour (8-bit) pictures can be read; this one has 24 bits per pixel."},
        {WindowsBmp(4, 5, fourRows).m_Bytes,
         "pic.bmp: the header promises 20 pixel bytes at offset 1078, but the file holds only 1094 bytes."},
        {headerOnly, "pic.bmp: the data ends early (4 bytes needed at offset 30 of 30)."},
    };
    const IndexedImage original = NumberedImage(3, 2);
    for (const auto& [bytes, message] : cases) {
        IndexedImage image = original;
        EXPECT_EQ(image.ReadBmp(bytes, "pic.bmp").message(), message);
        EXPECT_TRUE(std::ranges::equal(image.bits(), original.bits())) << message;
    }
}

// A PAL is the first 768 bytes of the file.
TEST(GamePaletteTest, ReadsTheFirst768BytesAndRefusesFewer) {
    Bytes bytes = WindowsBmp(1, 1, {0}).m_Bytes;
    GamePalette palette;
    ASSERT_TRUE(Succeeded(GamePalette::Read(bytes, "SECBASE.PAL", palette)));
    EXPECT_TRUE(std::equal(palette.m_Bytes.begin(), palette.m_Bytes.end(), bytes.begin()));
    bytes.resize(767);
    GamePalette untouched;
    EXPECT_EQ(GamePalette::Read(bytes, "SECBASE.PAL", untouched).message(),
              "SECBASE.PAL: a palette needs 768 bytes, the file holds 767.");
    EXPECT_EQ(untouched.m_Bytes, GamePalette().m_Bytes);
}

// A working palette whose every byte differs from what the tests' PLTTs write.
GamePalette WorkingPalette() {
    GamePalette palette;
    for (std::size_t i = 0; i < kPaletteSize; ++i)
        palette.m_Bytes[i] = static_cast<std::uint8_t>(i % 7 + 50);
    return palette;
}

// A PLTT sets its range of entries from its first triple on, whatever follows the last.
TEST(PlttPaletteTest, SetsOnlyItsRangeFromTheFirstTriple) {
    for (const auto& [first, last] : std::vector<std::pair<int, int>>{{0, 255}, {16, 17}, {255, 255}}) {
        SCOPED_TRACE(::testing::Message() << first << " to " << last);
        RawBytes raw;
        raw.u8(static_cast<std::uint8_t>(first)).u8(static_cast<std::uint8_t>(last));
        for (int i = 0; i < 3 * (last - first + 1); ++i)
            raw.u8(static_cast<std::uint8_t>(i % 50));
        PlttPalette pltt;
        ASSERT_TRUE(Succeeded(ReadPltt(raw.u8(61).u8(62).u8(63).m_Bytes, "TEST.PLT", pltt)));
        GamePalette palette = WorkingPalette();
        ApplyPltt(pltt, palette);
        for (std::size_t i = 0; i < kPaletteSize; ++i) {
            const bool inRange = i >= 3u * first && i < 3u * (last + 1);
            ASSERT_EQ(palette.m_Bytes[i], inRange ? (i - 3u * first) % 50 : WorkingPalette().m_Bytes[i]) << i;
        }
    }
}

TEST(PlttPaletteTest, RefusesDamagedMembersAndKeepsTheOldOne) {
    const std::vector<std::pair<Bytes, const char*>> cases = {
        {Bytes{0}, "BAD.PLT: a PLTT needs its first and last colour index."},
        {RawBytes().u8(10).u8(12).zeros(8).m_Bytes, "BAD.PLT: colours 10 to 12 need 9 bytes, only 8 follow."},
    };
    for (const auto& [bytes, message] : cases) {
        PlttPalette pltt{1, 1, {1, 2, 3}};
        EXPECT_EQ(ReadPltt(bytes, "BAD.PLT", pltt).message(), message);
        EXPECT_EQ(pltt.m_Colours, (Bytes{1, 2, 3})) << message;
    }
}

} // namespace
} // namespace morvi
