#include "resources/GamePalette.h"
#include "resources/PlttPalette.h"

#include "support/RawBytes.h"
#include "support/StatusAssertions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace morvi {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::RawBytes;
using testing::Succeeded;

// A PAL is the first 768 bytes of the file; display colours scale each 6-bit component by four
// in 8 bits, wrapping like the game's arithmetic.
TEST(GamePaletteTest, ReadsTheFirst768BytesAndScalesColoursIn8Bits) {
    Bytes bytes(800);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i % 64);
    GamePalette palette;
    ASSERT_TRUE(Succeeded(GamePalette::Read(bytes, "SECBASE.PAL", palette)));
    EXPECT_TRUE(std::equal(palette.m_Bytes.begin(), palette.m_Bytes.end(), bytes.begin()));
    bytes.resize(767);
    GamePalette untouched;
    EXPECT_EQ(GamePalette::Read(bytes, "SECBASE.PAL", untouched).message(),
              "SECBASE.PAL: a palette needs 768 bytes, the file holds 767.");
    EXPECT_EQ(untouched.m_Bytes, GamePalette().m_Bytes);

    palette.SetEntry(1, 63, 0, 1);
    palette.SetEntry(255, 100, 64, 63);
    EXPECT_EQ(palette.DisplayColour(1), 0x0400FCu);   // red 252, green 0, blue 4
    EXPECT_EQ(palette.DisplayColour(255), 0xFC0090u); // 400 -> 144, 256 -> 0
    EXPECT_EQ(palette.AllDisplayColours()[255], 0xFC0090u);
    palette.SetEntry(2, 10, 20, 30);
    EXPECT_EQ(palette.DisplayColour(2, 1), 0x1E140Au);
}

// A working palette whose every byte differs from what the tests' PLTTs write.
GamePalette WorkingPalette() {
    GamePalette palette;
    for (std::size_t i = 0; i < kPaletteSize; ++i)
        palette.m_Bytes[i] = static_cast<std::uint8_t>(i % 7 + 50);
    return palette;
}

// A PLTT sets its range of entries from its first triple on, whatever follows the last; one
// built by hand with fewer or more colours than its range, or upside down, sets no more than both.
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
    for (const auto& [pltt, changed] : std::vector<std::pair<PlttPalette, std::size_t>>{
             {{2, 3, {1, 2, 3, 4}}, 4}, {{2, 3, Bytes(12, 9)}, 6}, {{4, 3, Bytes(12, 9)}, 0}}) {
        GamePalette palette = WorkingPalette(), expected = WorkingPalette();
        ApplyPltt(pltt, palette);
        std::copy_n(pltt.m_Colours.begin(), changed, expected.m_Bytes.begin() + 6);
        EXPECT_EQ(palette.m_Bytes, expected.m_Bytes) << changed;
    }
}

TEST(PlttPaletteTest, RefusesDamagedMembersAndKeepsTheOldOne) {
    const std::vector<std::pair<Bytes, const char*>> cases = {
        {Bytes{0}, "BAD.PLT: a PLTT needs its first and last colour index."},
        {RawBytes().u8(9).u8(8).zeros(6).m_Bytes, "BAD.PLT: the first colour index 9 is above the last 8."},
        {RawBytes().u8(10).u8(12).zeros(8).m_Bytes, "BAD.PLT: colours 10 to 12 need 9 bytes, only 8 follow."},
        {Bytes{0, 255}, "BAD.PLT: colours 0 to 255 need 768 bytes, only 0 follow."},
    };
    for (const auto& [bytes, message] : cases) {
        PlttPalette pltt{1, 1, {1, 2, 3}};
        EXPECT_EQ(ReadPltt(bytes, "BAD.PLT", pltt).message(), message);
        EXPECT_EQ(pltt.m_nFirst, 1) << message;
        EXPECT_EQ(pltt.m_Colours, (Bytes{1, 2, 3})) << message;
    }
}

} // namespace
} // namespace morvi
