#include "resources/PlttPalette.h"

#include "support/RawBytes.h"
#include "support/StatusAssertions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace morvi {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::RawBytes;
using testing::Succeeded;

// A working palette whose every byte differs from what the tests' PLTTs write.
GamePalette WorkingPalette() {
    GamePalette palette;
    for (std::size_t i = 0; i < kPaletteSize; ++i)
        palette.m_Bytes[i] = static_cast<std::uint8_t>(i % 7 + 50);
    return palette;
}

// A PLTT for first to last whose colour bytes count 0, 1, 2 ... modulo 50.
Bytes PlttBytes(std::uint8_t first, std::uint8_t last) {
    RawBytes raw;
    raw.u8(first).u8(last);
    for (std::size_t i = 0; i < 3 * (std::size_t(last) - first + 1); ++i)
        raw.u8(static_cast<std::uint8_t>(i % 50));
    return raw.m_Bytes;
}

TEST(PlttPaletteTest, SetsOnlyItsRangeFromTheFirstTriple) {
    const std::vector<std::pair<int, int>> ranges{{0, 255}, {16, 17}, {255, 255}, {0, 0}};
    for (const auto& [first, last] : ranges) {
        SCOPED_TRACE(::testing::Message() << first << " to " << last);
        Bytes bytes = PlttBytes(static_cast<std::uint8_t>(first), static_cast<std::uint8_t>(last));
        bytes.insert(bytes.end(), {61, 62, 63}); // after the last triple: ignored
        PlttPalette pltt;
        ASSERT_TRUE(Succeeded(ReadPltt(bytes, "TEST.PLT", pltt)));
        GamePalette palette = WorkingPalette();
        ApplyPltt(pltt, palette);
        const GamePalette before = WorkingPalette();
        for (std::size_t i = 0; i < kPaletteSize; ++i) {
            const bool inRange = i >= 3u * first && i < 3u * (last + 1);
            ASSERT_EQ(palette.m_Bytes[i], inRange ? (i - 3u * first) % 50 : before.m_Bytes[i]) << i;
        }
    }
}

TEST(PlttPaletteTest, RefusesDamagedMembersAndKeepsTheOldOne) {
    Bytes shortOne = PlttBytes(10, 12);
    shortOne.pop_back();
    const std::vector<std::pair<Bytes, const char*>> cases = {
        {Bytes{}, "BAD.PLT: a PLTT needs its first and last colour index."},
        {Bytes{0}, "BAD.PLT: a PLTT needs its first and last colour index."},
        {RawBytes().u8(9).u8(8).zeros(6).m_Bytes, "BAD.PLT: the first colour index 9 is above the last 8."},
        {shortOne, "BAD.PLT: colours 10 to 12 need 9 bytes, only 8 follow."},
        {Bytes{0, 255}, "BAD.PLT: colours 0 to 255 need 768 bytes, only 0 follow."},
    };
    for (const auto& [bytes, message] : cases) {
        PlttPalette pltt{1, 1, {1, 2, 3}};
        EXPECT_EQ(ReadPltt(bytes, "BAD.PLT", pltt).message(), message);
        EXPECT_EQ(pltt.m_nFirst, 1) << message;
        EXPECT_EQ(pltt.m_Colours, (Bytes{1, 2, 3})) << message;
    }
}

// A PLTT built by hand may hold fewer or more colours than its range, or a range upside down.
TEST(PlttPaletteTest, ApplyCopiesNoMoreThanTheRangeOrTheColoursHeld) {
    struct Case {
        PlttPalette pltt;
        std::size_t changed; // bytes set from entry 2 on
    };
    const std::vector<Case> cases{
        {{2, 3, {1, 2, 3, 4}}, 4}, {{2, 3, Bytes(12, 9)}, 6}, {{4, 3, Bytes(12, 9)}, 0}};
    for (const Case& c : cases) {
        GamePalette palette = WorkingPalette();
        ApplyPltt(c.pltt, palette);
        GamePalette expected = WorkingPalette();
        std::copy_n(c.pltt.m_Colours.begin(), c.changed, expected.m_Bytes.begin() + 6);
        EXPECT_EQ(palette.m_Bytes, expected.m_Bytes) << c.changed;
    }
}

} // namespace
} // namespace morvi
